#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/globals.h"
#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"
#include "platform/workbook/cell_reference.h"
#include "platform/workbook/isolated_read.h"
#include "platform/workbook/read_failure.h"
#include "platform/workbook/text_and_range_helpers.h"
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

// The note on what of a text file the sheet does not hold as the file has
// it (interface language; empty when nothing): the fields of its lines
// beyond the sheet's last column, its lines beyond the last row, UTF-16
// that is not whole, and an encoding other than the one a text save
// writes (TextFileBytesKeeping) for the same text: UTF-16.
std::string TextReadNote(const std::string& path, std::size_t fields, std::size_t lines, const TDecodedText& decoded) {
  const bool english = LanguageEnglish != 0;
  std::string note;
  const auto add = [&](const std::string& german, const std::string& englishText) {
    note += (note.empty() ? "" : " ") + (english ? englishText : german);
  };
  if (lines > 0) {
    const std::string rows = std::to_string(kMaxRows);
    const std::string count = std::to_string(lines);
    add("Die Datei " + path + " hat mehr Zeilen, als das Tabellenblatt Zeilen hat (" + rows + "). " + count +
            (lines == 1 ? " Zeile wurde" : " Zeilen wurden") + " weggelassen.",
        "The file " + path + " has more lines than the sheet has rows (" + rows + "). " + count +
            (lines == 1 ? " line was" : " lines were") + " left out.");
  }
  if (fields > 0) {
    const std::string columns = std::to_string(kMaxCols);
    const std::string count = std::to_string(fields);
    add("Die Datei " + path + " hat Zeilen mit mehr Feldern, als das Tabellenblatt Spalten hat (" + columns + "). " +
            count + (fields == 1 ? " Feld wurde" : " Felder wurden") + " weggelassen.",
        "The file " + path + " has lines with more fields than the sheet has columns (" + columns + "). " + count +
            (fields == 1 ? " field was" : " fields were") + " left out.");
  }
  if (decoded.DamagedAt != std::string_view::npos) {
    const std::string at = std::to_string(decoded.DamagedAt);
    add("Der UTF-16-Text der Datei " + path + " ist beschädigt (zuerst bei Byte " + at +
            ", von 0 an gezählt): Zeichen, die nicht ganz sind, stehen als �.",
        "The UTF-16 text of the file " + path + " is damaged (first at byte " + at +
            ", counted from 0): characters that are not whole show as �.");
  }
  const TTextEncoding written = TextBytesEncoding(TextFileBytesKeeping(decoded.Text, decoded.Form));
  if (written != decoded.Form.Encoding) {
    const std::string from = EncodingName(decoded.Form.Encoding);
    const std::string to = EncodingName(written);
    add("Die Datei ist in " + from + " geschrieben, das Programm schreibt ihren Text in " + to +
            ": Speichern fragt deshalb nach einem neuen Namen, damit die Datei bleibt, wie sie ist.",
        "The file is written in " + from + ", the program writes its text in " + to +
            ": Save therefore asks for a new name, so that the file stays as it is.");
  }
  return note;
}

// A number as spreadsheet programs with a decimal comma write it into
// files separated by ';' or tabs: a sign, digits, the comma and digits, an
// exponent ("1,5", "-2,25e-3"); nothing when the field is not wholly such a
// number.
std::optional<double> DecimalCommaNumber(std::string_view field) {
  std::string plain;
  std::size_t i = 0;
  const auto digits = [&] {
    const std::size_t first = i;
    while (i < field.size() && field[i] >= '0' && field[i] <= '9') plain += field[i++];
    return i > first;
  };
  if (i < field.size() && (field[i] == '-' || field[i] == '+')) plain += field[i++];
  if (!digits() || i >= field.size() || field[i] != ',') return std::nullopt;
  plain += '.';
  ++i;
  if (!digits()) return std::nullopt;
  if (i < field.size() && (field[i] == 'e' || field[i] == 'E')) {
    plain += field[i++];
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) plain += field[i++];
    if (!digits()) return std::nullopt;
  }
  if (i != field.size()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(plain.c_str(), &end);
  if (end == nullptr || *end != 0 || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::vector<std::string> SplitFields(const std::string& line, char separator) {
  const std::vector<std::string_view> parts = internal::SplitAt(line, separator);
  return {parts.begin(), parts.end()};
}

// Comma-separated records. Unquoted fields end at the separator or the line
// end. A field that starts with a double quote runs to its closing quote
// (a doubled quote inside stands for one, separators and line breaks are
// part of it), then on to the next separator; a quote that is never closed
// makes the rest of its line the field.
std::vector<std::vector<std::string>> SplitSeparatedRecords(const std::string& text, char separator) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row;
  std::string field;
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto endOfLine = [&](std::size_t at) { return at < n && (text[at] == '\n' || text[at] == '\r'); };
  auto skipLineEnd = [&](std::size_t at) {
    if (at < n && text[at] == '\r' && at + 1 < n && text[at + 1] == '\n') return at + 2;
    return at + 1;
  };
  bool fieldStart = true;
  while (i < n) {
    const char ch = text[i];
    if (fieldStart && ch == '"') {
      std::string quoted;
      std::size_t j = i + 1;
      bool closed = false;
      while (j < n) {
        if (text[j] == '"') {
          if (j + 1 < n && text[j + 1] == '"') {
            quoted += '"';
            j += 2;
            continue;
          }
          closed = true;
          ++j;
          break;
        }
        quoted += text[j++];
      }
      if (closed) {
        field += quoted;
        i = j;
      } else {
        std::size_t end = i + 1;
        while (end < n && !endOfLine(end)) ++end;
        field += text.substr(i + 1, end - i - 1);
        i = end;
      }
      fieldStart = false;
      continue;
    }
    fieldStart = false;
    if (ch == separator) {
      row.push_back(std::move(field));
      field.clear();
      fieldStart = true;
      ++i;
    } else if (endOfLine(i)) {
      row.push_back(std::move(field));
      field.clear();
      rows.push_back(std::move(row));
      row.clear();
      fieldStart = true;
      i = skipLineEnd(i);
    } else {
      field += ch;
      ++i;
    }
  }
  if (!fieldStart || !field.empty() || !row.empty()) {
    row.push_back(std::move(field));
    rows.push_back(std::move(row));
  }
  return rows;
}

bool ReadTabText(TWorkbook& book, const std::string& path, std::string& error, std::string& note) {
  std::string data;
  if (!ReadTextBytes(path, data, error)) return false;
  TWorkbook fresh(1);
  const TDecodedText decoded = DecodeText(data);
  data.clear();
  const auto lines = SplitTextLines(decoded.Text);
  const std::size_t rows = std::min<std::size_t>(lines.size(), kMaxRows);
  std::size_t dropped = 0;
  for (std::size_t r = 0; r < rows; ++r) {
    const auto fields = SplitFields(lines[r], '\t');
    for (std::size_t c = 0; c < fields.size() && c < static_cast<std::size_t>(kMaxCols); ++c) {
      if (fields[c].empty()) continue;
      const int row = static_cast<int>(r) + 1;
      const int col = static_cast<int>(c) + 1;
      if (const auto number = DecimalCommaNumber(fields[c])) {
        fresh.SetNumber(row, col, *number);
      } else {
        fresh.SetEntry(row, col, fields[c]);
      }
    }
    if (fields.size() > static_cast<std::size_t>(kMaxCols)) dropped += fields.size() - kMaxCols;
  }
  const std::string stem = std::filesystem::path(path).stem().string();
  if (!stem.empty()) {
    std::string name = stem.substr(0, 31);
    for (char& ch : name) {
      if (std::string(":\\/?*[]").find(ch) != std::string::npos) ch = '_';
    }
    fresh.SetSheetName(1, name);
  }
  fresh.SetSelection(1, 1, 1, 1);
  fresh.SetTextForm(decoded.Form);
  book.AdoptContents(std::move(fresh));
  note = TextReadNote(path, dropped, lines.size() - rows, decoded);
  return true;
}

// The cell texts of a text file as they are joined, with the first cell
// that holds a zero character.
struct TTextOut {
  std::string Text;
  int ZeroRow = 0;
  int ZeroCol = 0;

  void Add(std::string_view cell, int row, int col) {
    if (ZeroRow == 0 && cell.find('\0') != std::string_view::npos) {
      ZeroRow = row;
      ZeroCol = col;
    }
    Text += cell;
  }
};

// Writes the text unless its file would not open again as text (zero
// characters in a run or in bulk read as binary data): then `error` names
// the first cell with a zero character.
bool WriteTextThatOpensAgain(const TTextOut& out, const TTextFileForm& form, const std::string& path,
                             std::string& error) {
  const std::string bytes = TextFileBytesKeeping(out.Text, form);
  if (!NotTextReason(bytes).empty()) {
    error = TextSaveRefusal(CellName(std::max(out.ZeroRow, 1), std::max(out.ZeroCol, 1)));
    return false;
  }
  return WriteFileReplacing(path, bytes, error);
}

bool WriteTabText(const TWorkbook& book, const std::string& path, bool valuesOnly, std::string& error) {
  TTextOut out;
  book.EnsureCalculated();
  const int sheet = book.Sheet();
  const TSheetData& data = book.SheetData(sheet);
  const int lastRow = data.LastRow();
  for (int r = 1; r <= lastRow; ++r) {
    const int lastCol = data.LastColForRow(r);
    for (int c = 1; c <= lastCol; ++c) {
      if (c > 1) out.Text += '\t';
      if (valuesOnly) {
        const TCell* cell = data.CellAt(r, c);
        if (cell != nullptr && (cell->Kind == TCellKind::Number ||
                                (cell->Kind == TCellKind::Formula && cell->Result == TFormulaResult::Number))) {
          // The shortest text that reads back as the same number.
          out.Text += EntryTextForNumber(cell->Number, std::string_view(), book.Locale());
          continue;
        }
      }
      out.Add(book.TextOn(sheet, r, c), r, c);
    }
    out.Text += "\r\n";
  }
  return WriteTextThatOpensAgain(out, book.TextForm(), path, error);
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
                            std::string* note) {
  if (note != nullptr) note->clear();
  std::string data;
  if (!ReadTextBytes(path, data, error)) return false;
  const TDecodedText decoded = DecodeText(data);
  data.clear();
  const auto records = SplitSeparatedRecords(decoded.Text, separator);
  const int rows = static_cast<int>(std::min<std::size_t>(records.size(), kMaxRows));
  const TFormatLocale locale = book.Locale();
  // With ';' or tabs between the fields a comma is a decimal comma.
  const bool decimalComma = separator == ';' || separator == '\t';
  std::size_t dropped = 0;
  for (int r = 0; r < rows; ++r) {
    const auto& fields = records[static_cast<std::size_t>(r)];
    for (std::size_t c = 0; c < fields.size() && c < static_cast<std::size_t>(kMaxCols); ++c) {
      // A field that reads as a number is entered as if typed; every other
      // one (a formula too) is its text.
      const int col = static_cast<int>(c) + 1;
      if (const auto number = decimalComma ? DecimalCommaNumber(fields[c]) : std::nullopt) {
        book.SetNumber(r + 1, col, *number);
      } else if (ParseTypedEntry(fields[c], locale).Kind == TTypedEntry::TKind::Number) {
        book.SetEntry(r + 1, col, fields[c]);
      } else {
        book.SetText(r + 1, col, fields[c]);
      }
    }
    if (fields.size() > static_cast<std::size_t>(kMaxCols)) dropped += fields.size() - kMaxCols;
  }
  book.SetTextForm(decoded.Form);
  const std::string told = TextReadNote(path, dropped, records.size() - static_cast<std::size_t>(rows), decoded);
  if (note != nullptr) note->assign(told);
  return true;
}

bool WriteSheetSeparated(const TWorkbook& book, const std::string& path, char separator, std::string& error) {
  TTextOut out;
  const int lastRow = book.LastRow();
  for (int r = 1; r <= lastRow; ++r) {
    const int lastCol = book.LastColForRow(r);
    for (int c = 1; c <= lastCol; ++c) {
      out.Add(SeparatedField(book.Entry(r, c), separator), r, c);
      if (c < lastCol) out.Text += separator;
    }
    out.Text += "\r\n";
  }
  return WriteTextThatOpensAgain(out, book.TextForm(), path, error);
}

bool IsWorkbookFileName(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
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
      return WriteTabText(book, path, false, error);
    case kFileTypeTextValues:
      return WriteTabText(book, path, true, error);
    default:
      error = "unknown file type " + std::to_string(fileType);
      return false;
  }
}

}  // namespace kvx::workbook
