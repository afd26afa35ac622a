#include <filesystem>
#include <fstream>

#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"
#include "platform/workbook/isolated_read.h"
#include "platform/workbook/workbook_files.h"

namespace kvx::workbook {

namespace {

// The file's lines as UTF-8, without line ends (CR/LF, LF or CR).
std::vector<std::string> TextLines(const std::string& data) { return SplitTextLines(DecodeTextBytes(data)); }

std::vector<std::string> SplitFields(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t pos = line.find(separator, start);
    if (pos == std::string::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, pos - start));
    start = pos + 1;
  }
}

bool ReadTabText(TWorkbook& book, const std::string& path, std::string& error) {
  std::string data;
  if (!ReadFileBytes(path, data, error)) return false;
  TWorkbook fresh(1);
  const auto lines = TextLines(data);
  if (lines.size() > static_cast<std::size_t>(kMaxRows)) {
    error = "too many lines in " + path;
    return false;
  }
  for (std::size_t r = 0; r < lines.size(); ++r) {
    const auto fields = SplitFields(lines[r], '\t');
    for (std::size_t c = 0; c < fields.size() && c < static_cast<std::size_t>(kMaxCols); ++c) {
      if (!fields[c].empty()) fresh.SetEntry(static_cast<int>(r) + 1, static_cast<int>(c) + 1, fields[c]);
    }
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
  book.AdoptContents(std::move(fresh));
  return true;
}

bool WriteTabText(const TWorkbook& book, const std::string& path, bool valuesOnly, std::string& error) {
  std::string out;
  book.EnsureCalculated();
  const int sheet = book.Sheet();
  const TSheetData& data = book.SheetData(sheet);
  const int lastRow = data.LastRow();
  for (int r = 1; r <= lastRow; ++r) {
    const int lastCol = data.LastColForRow(r);
    for (int c = 1; c <= lastCol; ++c) {
      if (c > 1) out += '\t';
      if (valuesOnly) {
        const TCell* cell = data.CellAt(r, c);
        if (cell != nullptr && (cell->Kind == TCellKind::Number ||
                                (cell->Kind == TCellKind::Formula && cell->Result == TFormulaResult::Number))) {
          out += FormatGeneral(cell->Number, book.Locale(), 15);
          continue;
        }
      }
      out += book.TextOn(sheet, r, c);
    }
    out += "\r\n";
  }
  return WriteFileReplacing(path, Utf8ToCp1252(out), error);
}

}  // namespace

bool ReadSeparatedIntoSheet(TWorkbook& book, const std::string& path, char separator, std::string& error) {
  std::string data;
  if (!ReadFileBytes(path, data, error)) return false;
  const auto lines = TextLines(data);
  const int rows = static_cast<int>(std::min<std::size_t>(lines.size(), kMaxRows));
  for (int r = 0; r < rows; ++r) {
    const auto fields = SplitFields(lines[r], separator);
    for (std::size_t c = 0; c < fields.size() && c < static_cast<std::size_t>(kMaxCols); ++c) {
      book.SetText(r + 1, static_cast<int>(c) + 1, fields[c]);
    }
  }
  return true;
}

bool WriteSheetSeparated(const TWorkbook& book, const std::string& path, char separator, std::string& error) {
  std::string out;
  const int lastRow = book.LastRow();
  for (int r = 1; r <= lastRow; ++r) {
    const int lastCol = book.LastColForRow(r);
    for (int c = 1; c <= lastCol; ++c) {
      out += book.Entry(r, c);
      if (c < lastCol) out += separator;
    }
    out += "\r\n";
  }
  return WriteFileReplacing(path, Utf8ToCp1252(out), error);
}

bool ReadWorkbookFile(TWorkbook& book, const std::string& path, int& fileType, std::string& error) {
  std::ifstream probe(path, std::ios::binary);
  if (!probe) {
    error = "cannot open " + path;
    return false;
  }
  unsigned char head[8] = {};
  probe.read(reinterpret_cast<char*>(head), sizeof head);
  probe.close();
  bool ok = false;
  int type = 0;
  // The libraries reading workbooks run in a child process: a damaged file
  // cannot take the program down with them.
  if (head[0] == 'P' && head[1] == 'K' && head[2] == 3 && head[3] == 4) {
    ok = ReadInChildProcess(book, [&](TWorkbook& b, std::string& e) { return ReadXlsx(b, path, e); }, error);
    type = kFileTypeWorkbook;
  } else if (head[0] == 0xD0 && head[1] == 0xCF && head[2] == 0x11 && head[3] == 0xE0) {
    ok = ReadInChildProcess(book, [&](TWorkbook& b, std::string& e) { return ReadLegacyXls(b, path, e); }, error);
    type = kFileTypeLegacyWorkbook;
  } else {
    ok = ReadTabText(book, path, error);
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
