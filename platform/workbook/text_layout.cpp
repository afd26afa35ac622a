#include "platform/workbook/text_layout.h"

#include <algorithm>

#include "platform/workbook/number_format.h"
#include "platform/workbook/text_numbers.h"
#include "platform/workbook/workbook.h"

namespace kvx::workbook {

namespace {

// The characters of a line end, by TLineEnd.
std::string_view EndText(TLineEnd end) {
  static constexpr std::string_view kEnds[] = {"", "\r\n", "\n", "\r"};
  return kEnds[static_cast<std::size_t>(end)];
}

bool NumericValue(const TCell& cell) {
  return cell.Kind == TCellKind::Number || (cell.Kind == TCellKind::Formula && cell.Result == TFormulaResult::Number);
}

}  // namespace

std::string SeparatedField(const std::string& text, char separator) {
  if (text.find_first_of(std::string{separator, '"', '\n', '\r'}) == std::string::npos) return text;
  std::string out = "\"";
  for (char ch : text) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
  return out;
}

// ------------------------------------------------------------------ writer

TTextSheetWriter::TTextSheetWriter(const TWorkbook& book, int sheet, const TTextDialect& dialect)
    : book_(book),
      sheet_(sheet),
      data_(book.SheetData(sheet)),
      dialect_(dialect),
      source_(book.TextSource()),
      sourceDialect_(source_.SheetId != 0 && source_.Separator == dialect.Separator &&
                     source_.Quoting == dialect.Quoting),
      keeps_(sourceDialect_ && data_.Id == source_.SheetId),
      locale_(book.Locale()) {
  book.EnsureCalculated();
  if (keeps_) {
    locale_.Decimal = source_.Decimal;
    locale_.Thousands = GroupingMark(source_.Decimal);
  }
}

int TTextSheetWriter::Rows() const {
  const int used = data_.LastRow();
  return keeps_ ? std::max(used, static_cast<int>(data_.TextLines.size())) : used;
}

int TTextSheetWriter::Fields(int row) const {
  const int used = data_.LastColForRow(row);
  if (!keeps_ || row > static_cast<int>(data_.TextLines.size())) return used;
  return std::max(used, static_cast<int>(data_.TextLines[static_cast<std::size_t>(row) - 1].Fields));
}

std::string TTextSheetWriter::CellText(int row, int col, bool& fromFile) const {
  fromFile = false;
  const TCell* cell = data_.CellAt(row, col);
  if (cell == nullptr) return {};
  std::string_view own;
  if (sourceDialect_ && source_.Of(*cell, own)) {
    fromFile = true;
    return std::string(own);
  }
  if (cell->Kind == TCellKind::Empty) return {};
  if (dialect_.Quoting) return SeparatedField(book_.EntryOn(sheet_, row, col, locale_), dialect_.Separator);
  // The shortest text that reads back as the same number.
  if (dialect_.ValuesOnly && NumericValue(*cell)) return EntryTextForNumber(cell->Number, std::string_view(), locale_);
  // A file that held formulas as their text keeps a changed one so too.
  if (keeps_ && cell->Kind == TCellKind::Formula) return book_.EntryOn(sheet_, row, col, locale_);
  return book_.TextOn(sheet_, row, col, locale_);
}

TLineEnd TTextSheetWriter::End(int row) const {
  if (!keeps_) return TLineEnd::CrLf;
  const auto& lines = data_.TextLines;
  const bool last = row == Rows();
  if (row <= static_cast<int>(lines.size())) {
    const TLineEnd end = lines[static_cast<std::size_t>(row) - 1].End;
    return end == TLineEnd::None && !last ? source_.NewLineEnd : end;
  }
  // A row after the file's lines; the last one ends as the file's last did.
  return last && !lines.empty() && lines.back().End == TLineEnd::None ? TLineEnd::None : source_.NewLineEnd;
}

TWrittenText TTextSheetWriter::Write() const {
  TWrittenText written;
  const int rows = Rows();
  written.Lines.reserve(static_cast<std::size_t>(rows));
  for (int r = 1; r <= rows; ++r) {
    const int fields = Fields(r);
    written.Lines.push_back(TWrittenLine{written.Fields.size(), static_cast<std::uint32_t>(fields), End(r)});
    for (int c = 1; c <= fields; ++c) {
      if (c > 1) written.Text += dialect_.Separator;
      TWrittenField field;
      const std::string cell = CellText(r, c, field.FromFile);
      if (written.ZeroRow == 0 && cell.find('\0') != std::string::npos) {
        written.ZeroRow = r;
        written.ZeroCol = c;
      }
      field.Offset = written.Text.size();
      field.Length = static_cast<std::uint32_t>(cell.size());
      written.Text += cell;
      written.Fields.push_back(field);
    }
    written.Text += EndText(written.Lines.back().End);
  }
  return written;
}

// ------------------------------------------------------------------- check

bool TTextSaveCheck::Any() const {
  return !OtherSheet.empty() || Numbers > 0 || Formulas > 0 || Others > 0 || LineEnds || Encoding || LinesLeftOut > 0 ||
         FieldsLeftOut > 0 || DamagedAt != std::string_view::npos || SplitCells > 0 || NumberTexts > 0 ||
         DecimalTo != 0 || ReadBack.Any();
}

namespace {

// A field as written, as the text it stands for.
std::string FieldValue(std::string_view written, const TTextDialect& dialect) {
  return dialect.Quoting && written.starts_with('"') ? UnquotedField(written) : std::string(written);
}

// The cells whose fields read otherwise with the decimal mark `to` than
// with the file's, and the first of them (the decimal mark the file written
// would be read with is not the file's).
void CountDecimalChange(const TWrittenText& written, const TTextDialect& dialect, char from, char to,
                        TTextSaveCheck& check) {
  check.DecimalTo = to;
  for (const TWrittenField& field : written.Fields) {
    const std::string value = FieldValue(written.Field(field), dialect);
    const auto before = FieldNumber(value, from);
    const auto after = FieldNumber(value, to);
    if (before.has_value() == after.has_value() && (!before || before->Number == after->Number)) continue;
    if (check.DecimalCells++ == 0) check.DecimalCell = value;
  }
}

// Counts a field of the file's form: a changed cell that would make more
// cells, a changed text that would read back as a number, a cell of the
// file the user did not change written otherwise.
void JudgeField(const TWorkbook& book, const TTextDialect& dialect, bool keepsForm, bool fileLine, const TCell* cell,
                std::string_view written, bool fromFile, TNumberEvidence& evidence, TTextSaveCheck& check) {
  const TTextSource& source = book.TextSource();
  if (!fromFile && !dialect.Quoting &&
      written.find_first_of(std::string{dialect.Separator, '\r', '\n'}) != std::string_view::npos) {
    ++check.SplitCells;
  }
  // Written in the file's form: what its numbers would be read with, and
  // a changed text that would read back as a number.
  if (keepsForm) {
    const std::string value = FieldValue(written, dialect);
    evidence.Add(value);
    if (!fromFile && cell != nullptr && cell->Kind == TCellKind::Text && FieldNumber(value, source.Decimal)) {
      if (check.NumberTexts++ == 0) check.NumberText = value;
    }
  }
  std::string_view own;
  if (fromFile || !fileLine || cell == nullptr || !source.Of(*cell, own) || written == own) return;
  if (cell->Kind == TCellKind::Number) {
    if (check.Numbers++ == 0) check.NumberFrom.assign(own), check.NumberTo.assign(written);
  } else if (cell->Kind == TCellKind::Formula && !written.starts_with("=")) {
    ++check.Formulas;
  } else if (check.Others++ == 0) {
    check.OtherFrom.assign(own), check.OtherTo.assign(written);
  }
}

}  // namespace

TTextSaveCheck CheckTextSave(const TWorkbook& book, const TTextDialect& dialect) {
  if (book.TextSource().SheetId == 0 || book.CurrentSheetData().Id != book.TextSource().SheetId) {
    return CheckTextSave(book, dialect, TTextSheetWriter(book, book.Sheet(), dialect), TWrittenText{});
  }
  const TTextSheetWriter writer(book, book.Sheet(), dialect);
  return CheckTextSave(book, dialect, writer, writer.Write());
}

TTextSaveCheck CheckTextSave(const TWorkbook& book, const TTextDialect& dialect, const TTextSheetWriter& writer,
                             const TWrittenText& written) {
  TTextSaveCheck check;
  const TTextSource& source = book.TextSource();
  if (source.SheetId == 0) return check;
  check.LinesLeftOut = source.LinesLeftOut;
  check.FieldsLeftOut = source.FieldsLeftOut;
  check.DamagedAt = source.DamagedAt;
  if (book.CurrentSheetData().Id != source.SheetId) {
    check.OtherSheet = book.SheetName(book.Sheet());
    return check;
  }
  const TSheetData& data = book.CurrentSheetData();
  const std::vector<TTextLine>& lines = data.TextLines;
  TNumberEvidence evidence;
  const auto rows = static_cast<int>(written.Lines.size());
  for (int r = 1; r <= rows; ++r) {
    const TWrittenLine& line = written.Lines[static_cast<std::size_t>(r) - 1];
    const bool fileLine = r <= static_cast<int>(lines.size());
    for (int c = 1; c <= static_cast<int>(line.Fields); ++c) {
      const TWrittenField& field = written.Fields[line.FirstField + static_cast<std::size_t>(c) - 1];
      JudgeField(book, dialect, writer.KeepsFileForm(), fileLine, data.CellAt(r, c), written.Field(field),
                 field.FromFile, evidence, check);
    }
    if (fileLine) {
      const TLineEnd had = lines[static_cast<std::size_t>(r) - 1].End;
      // The file's last line gets an end when rows follow it.
      if (line.End != had && !(had == TLineEnd::None && r < rows)) check.LineEnds = true;
    }
  }
  if (const char next = evidence.Decimal(book.Locale().Decimal); writer.KeepsFileForm() && next != source.Decimal) {
    CountDecimalChange(written, dialect, source.Decimal, next, check);
  }
  std::string bytes;
  if (!TextFileBytesInForm(written.Text, book.TextForm(), bytes)) {
    check.Encoding = true;
    check.EncodingFrom = book.TextForm().Encoding;
    check.EncodingTo = TextBytesEncoding(bytes);
  }
  return check;
}

// ----------------------------------------------------------------- reasons

namespace {

const char* EncodingName(TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::Utf16:
      return "UTF-16";
    case TTextEncoding::Windows1252:
      return "Windows-1252";
    case TTextEncoding::Utf8:
      break;
  }
  return "UTF-8";
}

// A cell's text in a reason: at most 40 characters.
std::string Shown(const std::string& text) { return Utf8Length(text) <= 40 ? text : Utf8Prefix(text, 40) + "…"; }

// The example after a count: ": a" after one, ", such as a" after more.
std::string Example(std::uint64_t n, bool english, const std::string& text) {
  return (n == 1 ? ": " : (english ? ", such as " : ", etwa ")) + Shown(text);
}

// "n things would ...": the singular or plural clause after the count, with
// an example after it ("such as a → b") when given.
std::string Counted(std::uint64_t n, bool english, const char* germanOne, const char* germanMany,
                    const char* englishOne, const char* englishMany, const std::string& from = {},
                    const std::string& to = {}, bool example = false) {
  std::string clause =
      std::to_string(n) + " " + (english ? (n == 1 ? englishOne : englishMany) : (n == 1 ? germanOne : germanMany));
  if (example) {
    clause += n == 1 ? ": " : (english ? ", such as " : ", etwa ");
    clause += Shown(from) + " → " + Shown(to);
  }
  return clause;
}

}  // namespace

std::string ReadBackClause(const TReadBack& found, bool english) {
  const auto quoted = [&](const std::string& text) {
    std::string out(english ? "\"" : "„");
    out += Shown(text);
    out += english ? "\"" : "“";
    return out;
  };
  const std::string& as = found.As;
  const std::string& from = found.From;
  // Two texts that look alike as shown: how long each is and where they
  // part, in characters.
  std::string apart;
  if (!as.empty() && !from.empty() && as != from && Shown(as) == Shown(from)) {
    const std::size_t common = std::mismatch(as.begin(), as.end(), from.begin(), from.end()).first - as.begin();
    std::size_t at = common;
    while (at > 0 && (static_cast<unsigned char>(as[at]) & 0xC0) == 0x80) --at;  // the character's first byte
    const std::string first = std::to_string(Utf8Length(as.substr(0, at)) + 1);
    const std::string asLength = std::to_string(Utf8Length(as));
    const std::string fromLength = std::to_string(Utf8Length(from));
    apart = english ? " (" + asLength + " characters instead of " + fromLength +
                          ", the first difference at character " + first + ")"
                    : " (" + asLength + " statt " + fromLength + " Zeichen, der erste Unterschied beim " + first +
                          ". Zeichen)";
  }
  if (english) {
    return "cell " + found.Cell + " would read back " + (as.empty() ? "empty" : "as " + quoted(as)) + " instead of " +
           (from.empty() ? "empty" : quoted(from)) + apart;
  }
  return "die Zelle " + found.Cell + " würde " + (as.empty() ? "leer" : "als " + quoted(as)) + " statt " +
         (from.empty() ? "leer" : (as.empty() ? "als " : "") + quoted(from)) + " zurückgelesen" + apart;
}

std::string TextSaveReason(const TTextSaveCheck& check, bool english) {
  std::vector<std::string> clauses;
  if (!check.OtherSheet.empty()) {
    clauses.push_back(english ? "the sheet \"" + check.OtherSheet +
                                    "\" would be written instead of the sheet read from "
                                    "the file"
                              : "das Blatt „" + check.OtherSheet +
                                    "“ würde anstelle des aus der Datei gelesenen Blatts geschrieben");
  }
  if (check.Numbers > 0) {
    clauses.push_back(Counted(check.Numbers, english, "Zahl würde anders geschrieben",
                              "Zahlen würden anders geschrieben", "number would be written differently",
                              "numbers would be written differently", check.NumberFrom, check.NumberTo, true));
  }
  if (check.Formulas > 0) {
    clauses.push_back(Counted(check.Formulas, english, "Formel würde als ihr Wert geschrieben",
                              "Formeln würden als ihre Werte geschrieben", "formula would be written as its value",
                              "formulas would be written as their values"));
  }
  if (check.Others > 0) {
    clauses.push_back(Counted(check.Others, english, "Zelle würde anders geschrieben",
                              "Zellen würden anders geschrieben", "cell would be written differently",
                              "cells would be written differently", check.OtherFrom, check.OtherTo, true));
  }
  if (check.SplitCells > 0) {
    clauses.push_back(Counted(check.SplitCells, english,
                              "Zelle enthält einen Tabulator oder Zeilenumbruch und würde als mehrere Zellen "
                              "zurückgelesen",
                              "Zellen enthalten Tabulatoren oder Zeilenumbrüche und würden als mehrere Zellen "
                              "zurückgelesen",
                              "cell holds a tab or a line break and would read back as more than one cell",
                              "cells hold tabs or line breaks and would read back as more than one cell each"));
  }
  if (check.NumberTexts > 0) {
    clauses.push_back(Counted(check.NumberTexts, english, "Text würde als Zahl zurückgelesen",
                              "Texte würden als Zahlen zurückgelesen", "text would read back as a number",
                              "texts would read back as numbers") +
                      Example(check.NumberTexts, english, check.NumberText));
  }
  if (check.DecimalTo != 0) {
    const bool commas = check.DecimalTo == ',';
    std::string clause =
        english ? std::string("the file's numbers would read with ") + (commas ? "decimal commas" : "decimal points")
                : std::string("die Zahlen der Datei würden mit ") + (commas ? "Dezimalkommas" : "Dezimalpunkten") +
                      " gelesen";
    if (check.DecimalCells > 0) {
      clause += (english ? ", which changes " : ", was ") +
                Counted(check.DecimalCells, english, "Zelle ändert", "Zellen ändert", "cell", "cells") +
                Example(check.DecimalCells, english, check.DecimalCell);
    }
    clauses.push_back(clause);
  }
  if (check.ReadBack.Any()) clauses.push_back(ReadBackClause(check.ReadBack, english));
  if (check.LineEnds) clauses.push_back(english ? "the line ends would change" : "die Zeilenenden würden sich ändern");
  if (check.Encoding) {
    const std::string to = EncodingName(check.EncodingTo);
    const std::string from = EncodingName(check.EncodingFrom);
    clauses.push_back(english ? "the text would be written in " + to + " instead of " + from
                              : "der Text würde in " + to + " statt in " + from + " geschrieben");
  }
  if (check.LinesLeftOut > 0) {
    clauses.push_back(
        Counted(check.LinesLeftOut, english, "Zeile jenseits der letzten Zeile des Tabellenblatts ginge verloren",
                "Zeilen jenseits der letzten Zeile des Tabellenblatts gingen verloren",
                "line beyond the sheet's last row would be lost", "lines beyond the sheet's last row would be lost"));
  }
  if (check.FieldsLeftOut > 0) {
    clauses.push_back(Counted(
        check.FieldsLeftOut, english, "Feld jenseits der letzten Spalte des Tabellenblatts ginge verloren",
        "Felder jenseits der letzten Spalte des Tabellenblatts gingen verloren",
        "field beyond the sheet's last column would be lost", "fields beyond the sheet's last column would be lost"));
  }
  if (check.DamagedAt != std::string_view::npos) {
    const std::string at = std::to_string(check.DamagedAt);
    clauses.push_back(english ? "the UTF-16 text, damaged from byte " + at +
                                    " on, would be written with � where it "
                                    "is not whole"
                              : "der ab Byte " + at +
                                    " beschädigte UTF-16-Text würde mit � geschrieben, wo er nicht "
                                    "ganz ist");
  }
  std::string reason;
  for (std::size_t k = 0; k < clauses.size(); ++k) {
    if (k > 0) reason += k + 1 == clauses.size() ? (english ? " and " : " und ") : ", ";
    reason += clauses[k];
  }
  return reason;
}

}  // namespace kvx::workbook
