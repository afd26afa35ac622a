#include "platform/workbook/text_layout.h"

#include <algorithm>
#include <cmath>
#include <optional>

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

// The text a field reads back as, entered as the readers enter a field of a
// file whose separators are `locale`'s: none when it reads as a number, a
// date, a formula or empty. A number only with the other decimal mark stays
// its text; a date field (text_dates.h) is taken for a date when it is one
// in either order, which the file decides; in a comma-separated file a
// field is typed only where that makes it a number.
std::optional<std::string> FieldReadText(std::string_view field, const TFormatLocale& locale, bool csv) {
  if (FieldNumber(field, locale.Decimal, true)) return std::nullopt;
  if (FieldNumber(field, GroupingMark(locale.Decimal), true)) return std::string(field);
  if (const auto date = DateFieldOf(field, locale.Date)) {
    const bool either = DateFieldSerial(*date, TShortDateOrder::DayMonthYear).has_value() ||
                        DateFieldSerial(*date, TShortDateOrder::MonthDayYear).has_value();
    return either ? std::nullopt : std::optional(std::string(field));
  }
  const TTypedEntry entry = ParseTypedEntry(field, locale);
  if (csv) return entry.Kind == TTypedEntry::TKind::Number ? std::nullopt : std::optional(std::string(field));
  if (entry.Kind != TTypedEntry::TKind::Text) return std::nullopt;
  return entry.Text;
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

TTextSheetWriter::TTextSheetWriter(const TWorkbook& book, int sheet, const TTextDialect& dialect, char decimal,
                                   const TDateForm* dates)
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
  if (keeps_ || decimal != 0) {
    locale_.Decimal = keeps_ ? source_.Decimal : decimal;
    locale_.Thousands = GroupingMark(locale_.Decimal);
  }
  if (keeps_) {
    // A file without dates of its own takes its first ones in the form
    // every desktop reads alike.
    dates_ = source_.Dates.Separator != 0 ? source_.Dates : kYearFirstDates;
  } else if (dates != nullptr) {
    dates_ = *dates;
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

std::string TTextSheetWriter::CellText(int row, int col, TWrittenField& field) const {
  const TCell* cell = data_.CellAt(row, col);
  if (cell == nullptr) return {};
  std::string_view own;
  if (sourceDialect_ && source_.Of(*cell, own)) {
    field.FromFile = true;
    field.ShortestNumber =
        cell->Source == kSourceInContents && cell->Kind == TCellKind::Number && source_.Decimal == locale_.Decimal;
    return std::string(own);
  }
  if (cell->Kind == TCellKind::Empty) return {};
  if (dialect_.Quoting) {
    std::string entry = book_.EntryOn(sheet_, row, col, locale_);
    if (NumericValue(*cell)) entry = NumberField(std::move(entry), *cell);
    return SeparatedField(entry, dialect_.Separator);
  }
  // The shortest text that reads back as the same number.
  if (dialect_.ValuesOnly && NumericValue(*cell)) return EntryTextForNumber(cell->Number, std::string_view(), locale_);
  // A file that held formulas as their text keeps a changed one so too.
  if (keeps_ && cell->Kind == TCellKind::Formula) return book_.EntryOn(sheet_, row, col, locale_);
  if (NumericValue(*cell)) return NumberField(book_.TextOn(sheet_, row, col, locale_), *cell);
  return TextField(book_.TextOn(sheet_, row, col, locale_));
}

std::string TTextSheetWriter::NumberField(std::string text, const TCell& cell) const {
  if (dates_.Separator != 0) text = InDateForm(std::move(text), cell.Number, dates_, locale_.Date);
  if (locale_.Thousands != ' ' || text.find(' ') == std::string::npos) return text;
  // A date's or a time's blanks stand between its parts.
  const TFormatClass shown = ClassifyFormat(book_.Style(cell.Style).NumberFormat);
  if (shown == TFormatClass::Date || shown == TFormatClass::Time || shown == TFormatClass::DateTime) return text;
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool grouping = text[i] == ' ' && i > 0 && i + 1 < text.size() && text[i - 1] >= '0' && text[i - 1] <= '9' &&
                          text[i + 1] >= '0' && text[i + 1] <= '9';
    out += grouping ? std::string_view("\xC2\xA0") : std::string_view(&text[i], 1);
  }
  return out;
}

std::string TTextSheetWriter::TextField(std::string text) const {
  // Marked where it would read otherwise, or tell the reader the file's
  // decimal mark ("7,5" as a version beside numbers with points) or date
  // order ("12/31/2026" beside day-first dates).
  if (text.empty() || (!FieldNumber(text, '.', true) && !FieldNumber(text, ',', true) &&
                       !DateFieldOf(text, locale_.Date) && FieldReadText(text, locale_, false) == text)) {
    return text;
  }
  return "'" + text;
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
      const std::string cell = CellText(r, c, field);
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
         DecimalTo != 0 || DateCells > 0 || ReadBack.Any();
}

namespace {

// A field as written, as the text it stands for.
std::string FieldValue(std::string_view written, const TTextDialect& dialect) {
  return dialect.Quoting && written.starts_with('"') ? UnquotedField(written) : std::string(written);
}

// The cells whose fields read otherwise with the decimal mark `to` than
// with the file's (blanks grouping as `check` says), and the first of them
// (the decimal mark the file written would be read with is not the file's).
void CountDecimalChange(const TWrittenText& written, const TTextDialect& dialect, char from, char to,
                        TTextSaveCheck& check) {
  check.DecimalTo = to;
  for (const TWrittenField& field : written.Fields) {
    const std::string value = FieldValue(written.Field(field), dialect);
    const auto before = FieldNumber(value, from, check.BlankGroups);
    const auto after = FieldNumber(value, to, check.BlankGroups);
    if (before.has_value() == after.has_value() && (!before || before->Number == after->Number)) continue;
    if (check.DecimalCells++ == 0) check.DecimalCell = value;
  }
}

// Counts a cell of the file the sheet was read from that the user did not
// change and that is written otherwise than the file had it.
void JudgeFileCell(const TTextSource& source, const TCell* cell, std::string_view written, bool fromFile,
                   TTextSaveCheck& check) {
  std::string_view own;
  if (fromFile || cell == nullptr || !source.Of(*cell, own) || written == own) return;
  if (cell->Kind == TCellKind::Number) {
    if (check.Numbers++ == 0) check.NumberFrom.assign(own), check.NumberTo.assign(written);
  } else if (cell->Kind == TCellKind::Formula && !written.starts_with("=")) {
    ++check.Formulas;
  } else if (check.Others++ == 0) {
    check.OtherFrom.assign(own), check.OtherTo.assign(written);
  }
}

// Counts the number cells whose written dates read otherwise than they
// stand for (DateCells): in the order `dates` decides; in a new file
// (`settle`) also those a reader's desktop would decide where the fields
// leave the order open, and those with a two-digit year. Only dates that
// stand for their cell's day in some order count: those InDateForm writes
// in another form.
void CountDateChanges(const TWorkbook& book, const TTextDialect& dialect, const TWrittenText& written,
                      const TDateEvidence& dates, bool settle, TTextSaveCheck& check) {
  const TSheetData& data = book.CurrentSheetData();
  const TFormatLocale session = book.Locale();
  const TShortDateOrder decided = dates.YearLast(session.DateOrder);
  const TShortDateOrder other =
      decided == TShortDateOrder::DayMonthYear ? TShortDateOrder::MonthDayYear : TShortDateOrder::DayMonthYear;
  const bool open = settle && dates.Unsettled();
  for (std::size_t r = 0; r < written.Lines.size(); ++r) {
    const TWrittenLine& line = written.Lines[r];
    for (std::uint32_t c = 0; c < line.Fields; ++c) {
      const TWrittenField& field = written.Fields[line.FirstField + c];
      const TCell* cell = data.CellAt(static_cast<int>(r) + 1, static_cast<int>(c) + 1);
      if (field.FromFile || cell == nullptr || !NumericValue(*cell)) continue;
      const std::string value = FieldValue(written.Field(field), dialect);
      const auto date = DateFieldOf(value, session.Date);
      if (!date || date->YearFirst) continue;
      const double day = std::floor(cell->Number);
      const auto read = DateFieldSerial(*date, decided);
      const auto otherRead = DateFieldSerial(*date, other);
      const bool readRight = read && std::floor(*read) == day;
      const bool otherRight = otherRead && std::floor(*otherRead) == day;
      const bool leftOpen = open && date->First != date->Second && date->First <= 12 && date->Second <= 12;
      const bool counts = readRight ? leftOpen || (settle && date->TwoDigitYear) : otherRight;
      if (counts && check.DateCells++ == 0) check.DateCell = value;
    }
  }
}

// Judges the text written field by field: what any text must carry to read
// back as the sheet (CheckTextForm) and, with `overFile`, what of the file
// the sheet was read from it would not give back.
TTextSaveCheck JudgeWritten(const TWorkbook& book, const TTextDialect& dialect, const TTextSheetWriter& writer,
                            const TWrittenText& written, bool overFile) {
  TTextSaveCheck check;
  const TTextSource& source = book.TextSource();
  const TSheetData& data = book.CurrentSheetData();
  const std::vector<TTextLine>& lines = data.TextLines;
  const TFormatLocale& locale = writer.Locale();
  const std::string splitters{dialect.Separator, '\r', '\n'};
  TNumberEvidence evidence;
  TDateEvidence dates(book.Locale().Date);
  const auto rows = static_cast<int>(written.Lines.size());
  for (int r = 1; r <= rows; ++r) {
    const TWrittenLine& line = written.Lines[static_cast<std::size_t>(r) - 1];
    const bool fileLine = overFile && r <= static_cast<int>(lines.size());
    for (int c = 1; c <= static_cast<int>(line.Fields); ++c) {
      const TWrittenField& field = written.Fields[line.FirstField + static_cast<std::size_t>(c) - 1];
      const std::string_view text = written.Field(field);
      if (field.ShortestNumber) {
        // An unchanged number as its shortest text: its marks tell the
        // reader what they tell from its digits alone; it holds no date
        // (one mark at most), no separator, and is the file's own.
        evidence.AddShortest(text, locale.Decimal);
        continue;
      }
      const TCell* cell = data.CellAt(r, c);
      if (!field.FromFile && !dialect.Quoting && text.find_first_of(splitters) != std::string_view::npos) {
        ++check.SplitCells;
      }
      // What the file's numbers would be read with, and a changed text
      // that would read back otherwise.
      const std::string value = FieldValue(text, dialect);
      evidence.Add(value);
      dates.Add(value);
      if (!field.FromFile && cell != nullptr && cell->Kind == TCellKind::Text) {
        const std::string meant = dialect.Quoting ? cell->Text : book.TextOn(book.Sheet(), r, c, locale);
        if (FieldReadText(value, locale, dialect.Quoting) != meant && check.NumberTexts++ == 0) {
          check.NumberText = meant;
        }
      }
      if (fileLine) JudgeFileCell(source, cell, text, field.FromFile, check);
    }
    if (fileLine) {
      const TLineEnd had = lines[static_cast<std::size_t>(r) - 1].End;
      // The file's last line gets an end when rows follow it.
      if (line.End != had && !(had == TLineEnd::None && r < rows)) check.LineEnds = true;
    }
  }
  // Whether blanks group, before the decimal change is counted by it.
  check.BlankGroups = evidence.BlankGroups();
  const char mark = locale.Decimal == ',' ? ',' : '.';
  if (const char next = evidence.Decimal(book.Locale().Decimal); next != mark) {
    CountDecimalChange(written, dialect, mark, next, check);
  }
  check.Dates = dates.Form(book.Locale().DateOrder);
  if (check.Dates.Separator != 0) CountDateChanges(book, dialect, written, dates, !writer.KeepsFileForm(), check);
  return check;
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
  const TTextSource& source = book.TextSource();
  if (source.SheetId == 0) return CheckTextForm(book, dialect, writer, written);
  if (book.CurrentSheetData().Id != source.SheetId) {
    TTextSaveCheck check;
    check.OtherSheet = book.SheetName(book.Sheet());
    check.LinesLeftOut = source.LinesLeftOut;
    check.FieldsLeftOut = source.FieldsLeftOut;
    check.DamagedAt = source.DamagedAt;
    return check;
  }
  TTextSaveCheck check = JudgeWritten(book, dialect, writer, written, true);
  check.LinesLeftOut = source.LinesLeftOut;
  check.FieldsLeftOut = source.FieldsLeftOut;
  check.DamagedAt = source.DamagedAt;
  std::string bytes;
  if (!TextFileBytesInForm(written.Text, book.TextForm(), bytes)) {
    check.Encoding = true;
    check.EncodingFrom = book.TextForm().Encoding;
    check.EncodingTo = TextBytesEncoding(bytes);
  }
  return check;
}

TTextSaveCheck CheckTextForm(const TWorkbook& book, const TTextDialect& dialect, const TTextSheetWriter& writer,
                             const TWrittenText& written) {
  return JudgeWritten(book, dialect, writer, written, false);
}

TCheckedText WriteCheckedText(const TWorkbook& book, const TTextDialect& dialect, bool overFile) {
  const auto checked = [&](char decimal, const TDateForm* dates) {
    TCheckedText text{TTextSheetWriter(book, book.Sheet(), dialect, decimal, dates), {}, {}};
    text.Written = text.Writer.Write();
    text.Check = overFile ? CheckTextSave(book, dialect, text.Writer, text.Written)
                          : CheckTextForm(book, dialect, text.Writer, text.Written);
    return text;
  };
  // The dates as shown, or year first where some desktop would read them
  // otherwise.
  const auto withDates = [&](const TDateForm* dates) {
    TCheckedText first = checked(0, dates);
    if (first.Writer.KeepsFileForm() || !first.Check.Any()) return first;
    TCheckedText other = checked(GroupingMark(first.Writer.Locale().Decimal), dates);
    return other.Check.Any() ? first : other;
  };
  TCheckedText shown = withDates(nullptr);
  if (shown.Writer.KeepsFileForm() || shown.Check.DateCells == 0) return shown;
  return withDates(&kYearFirstDates);
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

// The example after a count: ": a" after one, ", such as a" after more.
std::string Example(std::uint64_t n, bool english, const std::string& text) {
  return (n == 1 ? ": " : (english ? ", such as " : ", etwa ")) + ShownInReason(text);
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
    clause += ShownInReason(from) + " → " + ShownInReason(to);
  }
  return clause;
}

}  // namespace

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
  if (check.DateCells > 0) {
    clauses.push_back(Counted(check.DateCells, english, "Datum würde als ein anderes Datum oder als Text gelesen",
                              "Daten würden als andere Daten oder als Texte gelesen",
                              "date would read as another date or a text", "dates would read as other dates or texts") +
                      Example(check.DateCells, english, check.DateCell));
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

TWorkbookOnly WorkbookOnly(const TWorkbook& book, int sheet) {
  TWorkbookOnly only;
  for (int s = 1; s <= book.NumSheets(); ++s) {
    if (s != sheet && book.SheetData(s).LastRow() > 0) ++only.OtherSheets;
  }
  const TCellStyle plain;
  const TSheetData& data = book.SheetData(sheet);
  const TTextSource& source = book.TextSource();
  for (const std::vector<TCell>& row : data.Rows) {
    for (const TCell& cell : row) {
      // A tab text that holds the formula's text gives it back as typed.
      std::string_view own;
      if (cell.Kind == TCellKind::Formula &&
          !(source.SheetId == data.Id && !source.Quoting && source.Of(cell, own) && own.starts_with('='))) {
        ++only.Formulas;
      }
      if (cell.Style == 0) continue;
      // The number format shows in the text; the rest of the format does not.
      const TCellStyle& style = book.Style(cell.Style);
      if (style.Alignment != plain.Alignment || style.Font != plain.Font || style.Borders != plain.Borders ||
          style.Pattern != plain.Pattern) {
        ++only.FormattedCells;
      }
    }
  }
  return only;
}

std::string WorkbookOnlyList(const TWorkbookOnly& only, bool english) {
  std::vector<std::string> parts;
  if (only.Formulas > 0) {
    parts.push_back(Counted(only.Formulas, english, "Formel", "Formeln", "formula", "formulas"));
  }
  if (only.FormattedCells > 0) {
    parts.push_back((english ? "the formats of " : "die Formate von ") +
                    Counted(only.FormattedCells, english, "Zelle", "Zellen", "cell", "cells"));
  }
  if (only.OtherSheets > 0) {
    parts.push_back(Counted(only.OtherSheets, english, "weiteres Tabellenblatt mit Zellen",
                            "weitere Tabellenblätter mit Zellen", "other sheet with cells", "other sheets with cells"));
  }
  std::string list;
  for (std::size_t k = 0; k < parts.size(); ++k) {
    if (k > 0) list += k + 1 == parts.size() ? (english ? " and " : " und ") : ", ";
    list += parts[k];
  }
  return list;
}

}  // namespace kvx::workbook
