#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <utility>

#include "platform/ascii_case.h"
#include "platform/globals.h"
#include "platform/number_text.h"
#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"
#include "platform/workbook/cell_reference.h"
#include "platform/workbook/isolated_read.h"
#include "platform/workbook/read_failure.h"
#include "platform/workbook/text_and_range_helpers.h"
#include "platform/workbook/text_dates.h"
#include "platform/workbook/text_numbers.h"
#include "platform/workbook/workbook_files.h"

namespace kvx::workbook {

namespace {

// A text file's characters as UTF-8, and what of its bytes they do not
// give back as they stand.
struct TDecodedText {
  std::string Text;
  std::size_t DamagedAt = std::string_view::npos;  // the first byte of UTF-16 that is no whole character
  TTextFileForm Form;                              // the file's
};

TDecodedText DecodeText(std::string_view data) {
  TDecodedText decoded;
  decoded.Form = TextBytesForm(data);
  if (!DecodeUtf16Text(data, decoded.Text, &decoded.DamagedAt)) decoded.Text = DecodeTextBytes(data);
  return decoded;
}

// Reads a file that must be text: false with the reason (NotTextReason)
// when it is not.
bool ReadTextBytes(const std::string& path, std::string& data, std::string& error) {
  if (!ReadFileBytes(path, data, error)) return false;
  error = NotTextReason(data);
  return error.empty();
}

// ------------------------------------------------------------- the records

// A field of a text file: its text as the file holds it (quotes included)
// and, for a quoted field of a comma-separated file, the text it stands for.
struct TTextField {
  std::string_view Raw;
  std::string Unquoted;
  bool Quoted = false;

  std::string_view Value() const { return Quoted ? std::string_view(Unquoted) : Raw; }
};

struct TTextRecord {
  std::vector<TTextField> Fields;  // none for an empty line
  TLineEnd End = TLineEnd::None;
};

bool EndOfLine(char ch) { return ch == '\n' || ch == '\r'; }

// The line end at `at` (a CR, LF or CR/LF) and the position after it.
TLineEnd LineEndAt(std::string_view text, std::size_t& at) {
  if (text[at] == '\r') {
    if (at + 1 < text.size() && text[at + 1] == '\n') {
      at += 2;
      return TLineEnd::CrLf;
    }
    ++at;
    return TLineEnd::Cr;
  }
  ++at;
  return TLineEnd::Lf;
}

// Tab-separated lines: fields end at a tab or the line end; quotes are
// characters like any other. Hands each record to `take` in turn; the
// record is reused, so that a file is walked without holding its records.
template <class TTake>
void WalkTabRecords(std::string_view text, TTake&& take) {
  TTextRecord record;
  std::size_t at = 0;
  while (at < text.size()) {
    record.Fields.clear();
    record.End = TLineEnd::None;
    std::size_t start = at;
    while (at < text.size() && !EndOfLine(text[at])) {
      if (text[at] == '\t') {
        record.Fields.push_back(TTextField{text.substr(start, at - start), {}, false});
        start = at + 1;
      }
      ++at;
    }
    if (at > start || !record.Fields.empty())
      record.Fields.push_back(TTextField{text.substr(start, at - start), {}, false});
    if (at < text.size()) record.End = LineEndAt(text, at);
    take(std::as_const(record));
  }
}

// Comma-separated records, handed to `take` in turn as WalkTabRecords
// does. Unquoted fields end at the separator or the line end; a field that
// starts with a double quote runs to its closing quote (QuotedFieldText,
// text_numbers.h), then on to the next separator.
template <class TTake>
void WalkSeparatedRecords(std::string_view text, char separator, TTake&& take) {
  TTextRecord record;
  const std::size_t n = text.size();
  std::size_t i = 0;
  std::size_t fieldStart = 0;
  TTextField field;
  std::string quoted;
  bool atFieldStart = true;
  const auto endField = [&](std::size_t end) {
    field.Raw = text.substr(fieldStart, end - fieldStart);
    record.Fields.push_back(std::move(field));
    field = TTextField{};
  };
  const auto endRecord = [&] {
    take(std::as_const(record));
    record.Fields.clear();
    record.End = TLineEnd::None;
  };
  while (i < n) {
    const char ch = text[i];
    if (atFieldStart && ch == '"') {
      i = QuotedFieldText(text, i, quoted);
      field.Quoted = true;
      field.Unquoted += quoted;
      atFieldStart = false;
      continue;
    }
    atFieldStart = false;
    if (ch == separator) {
      endField(i);
      ++i;
      fieldStart = i;
      atFieldStart = true;
    } else if (EndOfLine(ch)) {
      const std::size_t end = i;
      if (end > fieldStart || !record.Fields.empty()) endField(end);
      record.End = LineEndAt(text, i);
      endRecord();
      fieldStart = i;
      atFieldStart = true;
    } else {
      if (field.Quoted) field.Unquoted += ch;
      ++i;
    }
  }
  if (n > fieldStart || !record.Fields.empty()) {
    endField(n);
    endRecord();
  }
}

// --------------------------------------------------------------- numbers

// How a file's numbers were read: with its decimal mark (TNumberEvidence),
// whether the file left the mark to the session, and the fields that are
// numbers only with the other mark, kept as texts.
struct TNumberReading {
  char Decimal = '.';
  bool Blanks = false;  // an ASCII blank groups thousands too
  bool Unsettled = false;
  std::string Example;                     // the first field the other mark reads otherwise ("1,234")
  std::string PointExample, CommaExample;  // the first field counting for each mark
  std::uint64_t KeptAsText = 0;
  std::string KeptExample;
};

// How the numbers were read, where the file leaves it to the session, and
// the fields kept as texts (interface language; empty when nothing is to
// say).
std::string NumberNote(const TNumberReading& reading) {
  const bool english = LanguageEnglish != 0;
  const bool commas = reading.Decimal == ',';
  std::string note;
  if (reading.Unsettled) {
    const bool tie = !reading.PointExample.empty();
    const std::string example = tie ? " (" + reading.PointExample + ", " + reading.CommaExample + ")"
                                : reading.Example.empty() ? std::string()
                                                          : " (" + reading.Example + ")";
    const std::string shows =
        english ? (tie ? "The file shows decimal points and decimal commas in as many fields"
                       : "The file does not show whether its numbers have decimal points or decimal commas")
                : (tie ? "Die Datei zeigt Dezimalpunkte und Dezimalkommas in gleich vielen Feldern"
                       : "Die Datei zeigt nicht, ob ihre Zahlen Dezimalpunkte oder Dezimalkommas haben");
    note = english ? shows + example + ": they were read with " +
                         (commas ? "decimal commas" : "decimal points and commas grouping thousands") +
                         ", as the session's decimal separator has it."
                   : shows + example + ": sie wurden wie das Dezimalzeichen der Sitzung " +
                         (commas ? "mit Dezimalkommas" : "mit Dezimalpunkten und Kommas als Tausendertrennzeichen") +
                         " gelesen.";
  }
  if (const std::uint64_t kept = reading.KeptAsText; kept > 0) {
    const std::string count = WholeNumberText(static_cast<std::int64_t>(kept));
    const std::string example = KeptExampleText(kept, reading.KeptExample, english);
    if (!note.empty()) note += " ";
    if (english) {
      note +=
          count + (kept == 1 ? " field that is a number only" : " fields that are numbers only") + " with " +
          (commas ? "decimal points" : "decimal commas") + (kept == 1 ? " was kept as a text" : " were kept as texts") +
          (reading.Unsettled
               ? std::string()
               : std::string(", as more of the file's fields show ") + (commas ? "decimal commas" : "decimal points")) +
          example;
    } else {
      note += count + (kept == 1 ? " Feld, das nur mit " : " Felder, die nur mit ") +
              (commas ? "Dezimalpunkten" : "Dezimalkommas") +
              (kept == 1 ? " eine Zahl ist, blieb Text" : " Zahlen sind, blieben Texte") +
              (reading.Unsettled ? std::string()
                                 : std::string(", da mehr Felder der Datei ") +
                                       (commas ? "Dezimalkommas" : "Dezimalpunkte") + " zeigen") +
              example;
    }
  }
  return note;
}

// The separator the lines of `text` show where none holds `separator`: the
// one of ';', ',' and the tab that every line holds that is neither empty
// nor a number (a decimal comma separates nothing), the most frequent where
// more do; 0 when a line holds `separator`, or none does.
char SeparatorTheLinesShow(std::string_view text, char separator) {
  static constexpr char kCandidates[] = {';', ',', '\t'};
  std::size_t lines = 0, holding[3] = {}, count[3] = {};
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = at;
    while (end < text.size() && !EndOfLine(text[end])) ++end;
    const std::string_view line = text.substr(at, end - at);
    at = end < text.size() ? end + 1 : end;
    if (line.find(separator) != std::string_view::npos) return 0;
    if (line.empty() || FieldNumber(line, ',', true) || FieldNumber(line, '.', true)) continue;
    ++lines;
    for (int k = 0; k < 3; ++k) {
      const auto n = static_cast<std::size_t>(std::count(line.begin(), line.end(), kCandidates[k]));
      holding[k] += n > 0 ? 1 : 0;
      count[k] += n;
    }
  }
  char shown = 0;
  std::size_t most = 0;
  for (int k = 0; k < 3; ++k) {
    if (kCandidates[k] == separator || lines == 0 || holding[k] != lines || count[k] <= most) continue;
    most = count[k];
    shown = kCandidates[k];
  }
  return shown;
}

// --------------------------------------------------------------- reading

// The note on what of a text file the sheet does not hold as the file has
// it (interface language; empty when nothing): the fields of its lines
// beyond the sheet's last column, its lines beyond the last row, UTF-16
// that is not whole; how its numbers were read where the file does not
// settle it, and the fields kept as texts.
std::string TextReadNote(const std::string& path, const TTextSource& source, const TNumberReading& numbers,
                         const TDateReading& dates) {
  const bool english = LanguageEnglish != 0;
  std::string note;
  const auto add = [&](const std::string& german, const std::string& englishText) {
    note += (note.empty() ? "" : " ") + (english ? englishText : german);
  };
  if (const std::uint64_t lines = source.LinesLeftOut; lines > 0) {
    const std::string rows = std::to_string(kMaxRows);
    const std::string count = std::to_string(lines);
    add("Die Datei " + path + " hat mehr Zeilen, als das Tabellenblatt Zeilen hat (" + rows + "). " + count +
            (lines == 1 ? " Zeile wurde" : " Zeilen wurden") + " weggelassen.",
        "The file " + path + " has more lines than the sheet has rows (" + rows + "). " + count +
            (lines == 1 ? " line was" : " lines were") + " left out.");
  }
  if (const std::uint64_t fields = source.FieldsLeftOut; fields > 0) {
    const std::string columns = std::to_string(kMaxCols);
    const std::string count = std::to_string(fields);
    add("Die Datei " + path + " hat Zeilen mit mehr Feldern, als das Tabellenblatt Spalten hat (" + columns + "). " +
            count + (fields == 1 ? " Feld wurde" : " Felder wurden") + " weggelassen.",
        "The file " + path + " has lines with more fields than the sheet has columns (" + columns + "). " + count +
            (fields == 1 ? " field was" : " fields were") + " left out.");
  }
  if (source.DamagedAt != std::string_view::npos) {
    const std::string at = std::to_string(source.DamagedAt);
    add("Der UTF-16-Text der Datei " + path + " ist beschädigt (zuerst bei Byte " + at +
            ", von 0 an gezählt): Zeichen, die nicht ganz sind, stehen als �.",
        "The UTF-16 text of the file " + path + " is damaged (first at byte " + at +
            ", counted from 0): characters that are not whole show as �.");
  }
  const std::string told = NumberNote(numbers);
  if (!told.empty()) add(told, told);
  const std::string datesTold = DateNote(dates);
  if (!datesTold.empty()) add(datesTold, datesTold);
  return note;
}

// Enters one field as the text readers read it: a number with the file's
// decimal mark and grouping (`locale`) as that number in any session; a
// number only with the other mark as its text, counted in `numbers`; a
// date field (text_dates.h) as the date it is in the file's order, under
// the session's short date, or, when it is none in that order, as its
// text, counted in `dates`; in tab text every other field as if typed (a
// time, a formula in the syntax of the file's decimal mark), in a
// comma-separated file a field as if typed when that makes it a number,
// else its text. True when the cell's contents are known to give the
// field back (a number written as its shortest text).
bool EnterField(TWorkbook& book, int row, int col, std::string_view field, bool csv, const TFormatLocale& locale,
                TNumberReading& numbers, TDateReading& dates) {
  if (const auto number = FieldNumber(field, locale.Decimal, numbers.Blanks)) {
    if (number->Percent) {
      book.SetEntry(row, col, NumberEntry(field, *number, locale.Decimal), locale.Decimal);
    } else {
      book.SetNumber(row, col, number->Number);
    }
    return number->Shortest;
  }
  if (FieldNumber(field, GroupingMark(locale.Decimal), numbers.Blanks)) {
    if (numbers.KeptAsText++ == 0) numbers.KeptExample.assign(field);
    book.SetText(row, col, field);
    return false;
  }
  if (const auto date = DateFieldOf(field, locale.Date)) {
    if (const auto serial = DateFieldSerial(*date, dates.Form.YearLast)) {
      TTypedEntry entry;
      entry.Kind = TTypedEntry::TKind::Number;
      entry.Number = *serial;
      entry.SuggestedFormat = DateFieldFormat(*date, locale);
      book.SetEntry(row, col, entry, locale.Decimal);
    } else {
      if (dates.KeptAsText++ == 0) dates.KeptExample.assign(field);
      book.SetText(row, col, field);
    }
    return false;
  }
  if (!csv) {
    book.SetEntry(row, col, field, locale);
    return false;
  }
  const TTypedEntry entry = ParseTypedEntry(field, locale);
  if (entry.Kind == TTypedEntry::TKind::Number) {
    book.SetEntry(row, col, entry, locale.Decimal);
  } else {
    book.SetText(row, col, field);
  }
  return false;
}

// The lines of the file and how its numbers are written: the first walk
// over its records.
struct TRecordsSeen {
  std::size_t Lines = 0;
  TNumberReading Numbers;
  TDateReading Dates;
};

template <class TWalk>
TRecordsSeen SeeRecords(TWalk&& walk, const TFormatLocale& session) {
  TRecordsSeen seen;
  TNumberEvidence evidence;
  TDateEvidence dates(session.Date);
  walk([&](const TTextRecord& record) {
    if (seen.Lines++ >= static_cast<std::size_t>(kMaxRows)) return;
    for (const TTextField& field : record.Fields) {
      evidence.Add(field.Value());
      dates.Add(field.Value());
    }
  });
  seen.Dates = DateReadingOf(dates, session.DateOrder, session.Date);
  seen.Numbers.Decimal = evidence.Decimal(session.Decimal);
  seen.Numbers.Blanks = evidence.BlankGroups();
  seen.Numbers.Unsettled = evidence.Unsettled();
  seen.Numbers.Example = evidence.Example();
  seen.Numbers.PointExample = evidence.PointExample();
  seen.Numbers.CommaExample = evidence.CommaExample();
  return seen;
}

// Makes the book's text source that of a file with `separator` read into
// `data`: a new one, or more texts of the same kind of file.
TTextSource& SourceFor(TWorkbook& book, const TSheetData& data, char separator, bool csv, const TRecordsSeen& seen) {
  TTextSource& source = book.MutableTextSource();
  if (source.SheetId == 0 || source.Separator != separator || source.Quoting != csv) source = TTextSource{};
  source.SheetId = data.Id;
  source.Separator = separator;
  source.Quoting = csv;
  source.Decimal = seen.Numbers.Decimal;
  source.BlankGroups = seen.Numbers.Blanks;
  source.Dates = seen.Dates.Form;
  return source;
}

// The most frequent of the line ends counted by TLineEnd (CR/LF when none).
TLineEnd MostFrequentEnd(const std::array<std::size_t, 4>& ends) {
  TLineEnd most = TLineEnd::CrLf;
  std::size_t count = 0;
  for (const TLineEnd end : {TLineEnd::CrLf, TLineEnd::Lf, TLineEnd::Cr}) {
    if (ends[static_cast<std::size_t>(end)] > count) {
      count = ends[static_cast<std::size_t>(end)];
      most = end;
    }
  }
  return most;
}

// Enters the records into the book's current sheet from row 1 and column 1
// and keeps the file's form (TTextSource, TSheetData::TextLines; the
// cells' file texts only with `keepTexts`): a first
// walk decides the decimal mark of its numbers (TNumberEvidence), the
// second enters each line as it comes, its row sized once. With `decided`
// (the read-back of a text whose decimal mark the save's check decided
// with the same evidence, and the lines it wrote) the one walk enters the
// lines with that mark. The note for the user.
template <class TWalk>
std::string EnterRecords(TWorkbook& book, const std::string& path, TWalk&& walk, const TDecodedText& decoded,
                         char separator, bool csv, bool keepTexts = true, const TRecordsSeen* decided = nullptr) {
  TFormatLocale locale = book.Locale();
  TRecordsSeen seen = decided != nullptr ? *decided : SeeRecords(walk, locale);
  TNumberReading& numbers = seen.Numbers;
  const std::size_t expected = std::min<std::size_t>(seen.Lines, kMaxRows);
  const std::size_t rows = decided != nullptr ? kMaxRows : expected;
  locale.Decimal = numbers.Decimal;
  locale.Thousands = GroupingMark(numbers.Decimal);
  TSheetData& data = book.MutableSheetData(book.Sheet());
  TTextSource& source = SourceFor(book, data, separator, csv, seen);
  std::uint64_t dropped = 0;
  std::array<std::size_t, 4> ends{};
  data.TextLines.assign(expected, TTextLine{});
  if (data.Rows.size() < expected) data.Rows.reserve(expected);
  std::size_t r = 0, lines = 0;
  walk([&](const TTextRecord& record) {
    ++lines;
    if (r >= rows) return;
    const std::size_t fields = std::min<std::size_t>(record.Fields.size(), kMaxCols);
    dropped += record.Fields.size() - fields;
    ++ends[static_cast<std::size_t>(record.End)];
    if (r >= data.TextLines.size()) data.TextLines.resize(r + 1);
    data.TextLines[r] = TTextLine{static_cast<std::uint32_t>(fields), record.End};
    for (std::size_t c = 0; c < fields; ++c) {
      const TTextField& field = record.Fields[c];
      const std::string_view value = field.Value();
      if (value.empty() && !csv) continue;  // in tab text the field is its raw text
      // The row's cells sized once, for all its fields.
      if (data.Rows.size() <= r) data.Rows.resize(r + 1);
      auto& cells = data.Rows[r];
      if (cells.capacity() < fields) cells.reserve(fields);
      const bool given =
          EnterField(book, static_cast<int>(r) + 1, static_cast<int>(c) + 1, value, csv, locale, numbers, seen.Dates);
      if (field.Raw.empty() || !keepTexts) continue;
      if (cells.size() <= c) cells.resize(c + 1);
      source.Keep(cells[c], field.Raw, given && !field.Quoted);
    }
    ++r;
  });
  source.LinesLeftOut = lines - r;
  source.FieldsLeftOut = dropped;
  source.DamagedAt = decoded.DamagedAt;
  source.NewLineEnd = MostFrequentEnd(ends);
  source.Texts.shrink_to_fit();
  source.Cells.shrink_to_fit();
  book.SetTextForm(decoded.Form);
  return TextReadNote(path, source, numbers, seen.Dates);
}

bool ReadTabText(TWorkbook& book, const std::string& path, std::string& error, std::string& note) {
  std::string data;
  if (!ReadTextBytes(path, data, error)) return false;
  TWorkbook fresh(1);
  const TDecodedText decoded = DecodeText(data);
  std::string().swap(data);  // the file's bytes are done with
  const std::string stem = std::filesystem::path(path).stem().string();
  if (!stem.empty()) {
    std::string name = stem.substr(0, 31);
    for (char& ch : name) {
      if (std::string(":\\/?*[]").find(ch) != std::string::npos) ch = '_';
    }
    fresh.SetSheetName(1, name);
  }
  const auto walk = [&](auto&& take) { WalkTabRecords(decoded.Text, take); };
  note = EnterRecords(fresh, path, walk, decoded, '\t', false);
  fresh.SetSelection(1, 1, 1, 1);
  book.AdoptContents(std::move(fresh));
  return true;
}

// The bytes of the sheet's text `written`, unless its file would not open
// again as text (zero characters in a run or in bulk read as binary data):
// then `error` names the first cell with a zero character. `inForm` tells
// whether the bytes are in the workbook's text form.
bool SheetTextBytes(const TWrittenText& written, const TWorkbook& book, std::string& bytes, bool& inForm,
                    TWriteError& error) {
  inForm = TextFileBytesInForm(written.Text, book.TextForm(), bytes);
  if (!NotTextReason(bytes).empty()) {
    return error.Fail(TWriteFailure::Refused,
                      TextSaveRefusal(CellName(std::max(written.ZeroRow, 1), std::max(written.ZeroCol, 1))));
  }
  return true;
}

// Why a text is not written, as `error` (interface language): it would not
// read back as the sheet holds it.
bool NotReadBackAsHeld(const TTextSaveCheck& check, std::string& error) {
  const bool english = LanguageEnglish != 0;
  error = (english ? "The file would not read back as the sheet holds it: "
                   : "Die Datei würde nicht so zurückgelesen, wie das Tabellenblatt sie hält: ") +
          TextSaveReason(check, english) +
          (english ? ". The file was not saved." : ". Die Datei wurde nicht gespeichert.");
  return false;
}

bool WriteSheetText(const TWorkbook& book, const TTextDialect& dialect, const std::string& path, std::string& error) {
  const TCheckedText text = WriteCheckedText(book, dialect, false);
  std::string bytes;
  bool inForm = false;
  return WithErrorText(error, [&](TWriteError& failure) {
    if (!SheetTextBytes(text.Written, book, bytes, inForm, failure)) return false;
    if (text.Check.Any()) {
      std::string reason;
      NotReadBackAsHeld(text.Check, reason);
      return failure.Fail(TWriteFailure::Refused, reason);
    }
    return WriteFileReplacing(path, bytes, failure, THardLinks::Keep);
  });
}

// Reads the text file `path` as the text readers read a file of `dialect`
// (in this session) whose `written` text the check judged, with the decimal
// mark the check found the reader decides (that of `writer`), and names in
// `check` the first cell, row by row, that reads otherwise than the book's
// current sheet holds it (a text holds values, not how they are shown).
// False with `error` when the file cannot be read.
bool ReadBackText(const TWorkbook& book, const std::string& path, const TTextDialect& dialect,
                  const TTextSheetWriter& writer, const TWrittenText& written, TTextSaveCheck& check,
                  std::string& error) {
  std::string data;
  if (!ReadTextBytes(path, data, error)) return false;
  const TDecodedText decoded = DecodeText(data);
  data = std::string();
  TWorkbook back(1);
  // The cells alone: the file's texts are kept by the save, not here.
  const char separator = dialect.Quoting ? dialect.Separator : '\t';
  const auto walk = [&](auto&& take) {
    if (dialect.Quoting) {
      WalkSeparatedRecords(decoded.Text, separator, take);
    } else {
      WalkTabRecords(decoded.Text, take);
    }
  };
  TRecordsSeen decided;
  decided.Lines = written.Lines.size();
  decided.Numbers.Decimal = writer.Locale().Decimal == ',' ? ',' : '.';
  decided.Numbers.Blanks = check.BlankGroups;
  decided.Dates.Form = check.Dates;
  EnterRecords(back, path, walk, decoded, separator, dialect.Quoting, false, &decided);
  SheetReadsOtherwise(book, book.Sheet(), back, 1, false, std::string(), check.ReadBack);
  return true;
}

// Makes the text written (`text`) the workbook's text form: its lines, its
// cells' texts, how its reader reads its numbers and dates (the check's
// judgement), its encoding (the one it had, or the one `bytes` needed).
void KeepWrittenForm(TWorkbook& book, const TTextDialect& dialect, const TCheckedText& text, const std::string& bytes,
                     bool inForm) {
  const TTextSheetWriter& writer = text.Writer;
  const TWrittenText& written = text.Written;
  const TLineEnd newLineEnd = writer.KeepsFileForm() ? book.TextSource().NewLineEnd : TLineEnd::CrLf;
  TSheetData& data = book.MutableSheetData(book.Sheet());
  TTextSource& source = book.MutableTextSource();
  source = TTextSource{};
  source.SheetId = data.Id;
  source.Separator = dialect.Separator;
  source.Quoting = dialect.Quoting;
  source.Decimal = writer.Locale().Decimal == ',' ? ',' : '.';
  source.BlankGroups = text.Check.BlankGroups;
  source.Dates = text.Check.Dates;
  source.NewLineEnd = newLineEnd;
  data.TextLines.assign(written.Lines.size(), TTextLine{});
  for (std::size_t r = 0; r < written.Lines.size(); ++r) {
    const TWrittenLine& line = written.Lines[r];
    data.TextLines[r] = TTextLine{line.Fields, line.End};
    for (std::uint32_t c = 0; c < line.Fields; ++c) {
      const TWrittenField& field = written.Fields[line.FirstField + c];
      if (field.Length == 0) continue;
      TCell& cell = data.Rows[r][c];
      source.Keep(cell, written.Field(field), field.ShortestNumber);
    }
  }
  if (!inForm) book.SetTextForm(TextBytesForm(bytes));
}

}  // namespace

std::string TextSaveRefusal(const std::string& cell) {
  if (LanguageEnglish != 0) {
    return "Cell " + cell +
           " holds zero characters with which the text file would not open again. The file was not "
           "saved.";
  }
  return "Die Zelle " + cell +
         " enthält Nullzeichen, mit denen sich die Textdatei nicht wieder öffnen ließe. Die Datei wurde nicht "
         "gespeichert.";
}

bool IsTextSaveRefusal(const std::string& error) {
  for (const std::string lead : {"Cell ", "Die Zelle "}) {
    if (!error.starts_with(lead)) continue;
    const std::size_t end = error.find(' ', lead.size());
    if (end != std::string::npos && error == TextSaveRefusal(error.substr(lead.size(), end - lead.size()))) return true;
  }
  return false;
}

TTextDialect TabTextDialect(int fileType) {
  TTextDialect dialect;
  dialect.ValuesOnly = fileType == kFileTypeTextValues;
  return dialect;
}

std::string NotTextReason(std::string_view bytes) {
  // UTF-16 text with its byte-order mark: its characters count.
  std::string utf16;
  if (DecodeUtf16Text(bytes, utf16)) bytes = utf16;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  // Zero bytes in runs (padding, numbers in binary) or in bulk (UTF-16)
  // mark binary data; a stray one in a line of text is a character.
  const auto zeros = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\0'));
  if (zeros > 0 && (zeros * 4 > bytes.size() || bytes.find(std::string_view("\0\0", 2)) != std::string_view::npos)) {
    return ByLanguage("Die Datei enthält Binärdaten (Nullbytes), keinen Text.",
                      "The file holds binary data (zero bytes), not text.");
  }
  // Windows-1252 leaves five byte values undefined.
  if (!IsValidUtf8(bytes) && bytes.find_first_of("\x81\x8D\x8F\x90\x9D") != std::string_view::npos) {
    return ByLanguage("Die Datei ist weder UTF-8- noch Windows-1252-Text.",
                      "The file is neither UTF-8 nor Windows-1252 text.");
  }
  return {};
}

bool ReadSeparatedIntoSheet(TWorkbook& book, const std::string& path, char separator, std::string& error,
                            std::string* note, char* linesShow) {
  if (note != nullptr) note->clear();
  if (linesShow != nullptr) *linesShow = 0;
  std::string data;
  if (!ReadTextBytes(path, data, error)) return false;
  const TDecodedText decoded = DecodeText(data);
  std::string().swap(data);  // the file's bytes are done with
  const auto walk = [&](auto&& take) { WalkSeparatedRecords(decoded.Text, separator, take); };
  const std::string told = EnterRecords(book, path, walk, decoded, separator, true);
  if (note != nullptr) note->assign(told);
  if (linesShow != nullptr) *linesShow = SeparatorTheLinesShow(decoded.Text, separator);
  return true;
}

bool SaveSheetText(TWorkbook& book, const std::string& path, const TTextDialect& dialect, TWriteError& error,
                   TTextSaveCheck* proof, bool overFile) {
  overFile = overFile && proof != nullptr;
  const TCheckedText text = WriteCheckedText(book, dialect, overFile);
  const TTextSheetWriter& writer = text.Writer;
  const TWrittenText& written = text.Written;
  std::string bytes;
  bool inForm = false;
  if (!SheetTextBytes(written, book, bytes, inForm, error)) return false;
  if (text.Check.Any()) {
    if (proof == nullptr) {
      std::string reason;
      NotReadBackAsHeld(text.Check, reason);
      return error.Fail(TWriteFailure::Refused, reason);
    }
    *proof = text.Check;
    return false;
  }
  if (!overFile) {
    if (!WriteFileReplacing(path, bytes, error, THardLinks::Keep)) return false;
  } else {
    // The file is replaced only when the text written gives back all the
    // file held and, read back as its reader reads it, every cell.
    *proof = text.Check;
    const std::string temporary = WriteTemporaryBeside(path, bytes, error);
    if (temporary.empty()) return false;
    std::error_code ignored;
    std::string readError;
    if (!ReadBackText(book, temporary, dialect, writer, written, *proof, readError) || proof->Any()) {
      std::filesystem::remove(temporary, ignored);
      if (!readError.empty()) error.Fail(TWriteFailure::Other, readError);
      return false;
    }
    if (!ReplaceWithTemporary(temporary, path, error, THardLinks::Keep)) return false;
  }
  KeepWrittenForm(book, dialect, text, bytes, inForm);
  return true;
}

bool SaveSheetText(TWorkbook& book, const std::string& path, const TTextDialect& dialect, std::string& error,
                   TTextSaveCheck* proof, bool overFile) {
  return WithErrorText(
      error, [&](TWriteError& failure) { return SaveSheetText(book, path, dialect, failure, proof, overFile); });
}

bool WriteSheetSeparated(const TWorkbook& book, const std::string& path, char separator, std::string& error) {
  TTextDialect dialect;
  dialect.Separator = separator;
  dialect.Quoting = true;
  return WriteSheetText(book, dialect, path, error);
}

bool IsWorkbookFileName(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& ch : ext) ch = AsciiLower(ch);
  return ext == ".xlsx" || ext == ".xlsm" || ext == ".xls";
}

bool ReadWorkbookFile(TWorkbook& book, const std::string& path, int& fileType, std::string& error, std::string* note) {
  if (note != nullptr) note->clear();
  std::ifstream probe(path, std::ios::binary);
  if (!probe) {
    error = "cannot open " + path;
    return false;
  }
  unsigned char head[8] = {};
  probe.read(reinterpret_cast<char*>(head), sizeof head);
  const std::streamsize headLength = probe.gcount();
  probe.close();
  bool ok = false;
  int type = 0;
  // A zip package starts with the four bytes "PK\3\4"; a text may start
  // with "PK" ("PKW-Bestand"). A file named as a workbook goes to the zip
  // reader on "PK" alone, which names what is wrong with the package.
  const bool zip = headLength >= 4 && head[0] == 'P' && head[1] == 'K' &&
                   ((head[2] == 3 && head[3] == 4) || IsWorkbookFileName(path));
  const bool legacy = headLength >= 4 && head[0] == 0xD0 && head[1] == 0xCF && head[2] == 0x11 && head[3] == 0xE0;
  // A file named as a workbook is read as one or refused, never as text.
  if (!zip && !legacy && IsWorkbookFileName(path)) {
    error = ReadFailure(headLength == 0 ? TReadFailure::Empty : TReadFailure::NotAWorkbook);
    return false;
  }
  // The libraries reading workbooks run in a child process: a damaged file
  // cannot take the program down with them.
  if (zip) {
    ok = ReadInChildProcess(
        book, [&](TWorkbook& b, std::string& e) { return ReadXlsx(b, path, e); }, error);
    type = kFileTypeWorkbook;
  } else if (legacy) {
    ok = ReadInChildProcess(
        book, [&](TWorkbook& b, std::string& e) { return ReadLegacyXls(b, path, e); }, error, note);
    type = kFileTypeLegacyWorkbook;
  } else {
    std::string told;
    ok = ReadTabText(book, path, error, told);
    if (note != nullptr) *note = told;
    type = kFileTypeText;
  }
  if (!ok) return false;
  fileType = type;
  book.SetFileName(path);
  book.SetModified(false);
  return true;
}

bool WriteWorkbookFile(const TWorkbook& book, const std::string& path, int fileType, std::string& error) {
  switch (fileType) {
    case 1:
    case 2:
    case 4:
      return WriteXlsx(book, path, error);
    case kFileTypeText:
    case kFileTypeTextValues:
      return WriteSheetText(book, TabTextDialect(fileType), path, error);
    default:
      error = "unknown file type " + std::to_string(fileType);
      return false;
  }
}

}  // namespace kvx::workbook
