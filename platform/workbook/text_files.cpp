#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/safe_file_write.h"
#include "platform/workbook/workbook_files.h"

namespace kvx::workbook {

namespace {

// Unicode code points of the bytes 0x80..0x9F of Windows-1252 (0 where the
// byte is unassigned); 0xA0..0xFF are the same as in Latin-1.
constexpr unsigned kHighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                        0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool ReadWholeFile(const std::string& path, std::string& data, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "cannot read " + path;
    return false;
  }
  return true;
}

// The file's lines as UTF-8, without line ends (CR/LF, LF or CR).
std::vector<std::string> TextLines(std::string data) {
  if (data.size() >= 3 && static_cast<unsigned char>(data[0]) == 0xEF && static_cast<unsigned char>(data[1]) == 0xBB &&
      static_cast<unsigned char>(data[2]) == 0xBF) {
    data.erase(0, 3);
  }
  if (!IsValidUtf8(data)) data = Windows1252ToUtf8(data);
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < data.size(); ++i) {
    const char c = data[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

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
  if (!ReadWholeFile(path, data, error)) return false;
  TWorkbook fresh(1);
  const auto lines = TextLines(std::move(data));
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
  return WriteFileReplacing(path, Utf8ToWindows1252(out), error);
}

}  // namespace

bool IsValidUtf8(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    int extra = 0;
    if (c < 0x80) extra = 0;
    else if ((c & 0xE0) == 0xC0 && c >= 0xC2) extra = 1;
    else if ((c & 0xF0) == 0xE0) extra = 2;
    else if ((c & 0xF8) == 0xF0 && c <= 0xF4) extra = 3;
    else return false;
    if (extra > 0 && i + extra >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

std::string Windows1252ToUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else if (c < 0xA0) {
      const unsigned code = kHighControls[c - 0x80];
      AppendUtf8(out, code != 0 ? code : 0xFFFD);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::string Utf8ToWindows1252(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    unsigned code = c;
    int extra = 0;
    if (c >= 0xF0) {
      code = c & 0x07;
      extra = 3;
    } else if (c >= 0xE0) {
      code = c & 0x0F;
      extra = 2;
    } else if (c >= 0xC0) {
      code = c & 0x1F;
      extra = 1;
    } else if (c >= 0x80) {
      out += '?';  // a stray continuation byte
      ++i;
      continue;
    }
    for (int k = 1; k <= extra && i + k < text.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    i += extra + 1;
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
      out += static_cast<char>(code);
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k) {
      if (kHighControls[k] == code && code != 0) mapped = static_cast<char>(0x80 + k);
    }
    out += mapped;
  }
  return out;
}

bool ReadSeparatedIntoSheet(TWorkbook& book, const std::string& path, char separator, std::string& error) {
  std::string data;
  if (!ReadWholeFile(path, data, error)) return false;
  const auto lines = TextLines(std::move(data));
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
  return WriteFileReplacing(path, Utf8ToWindows1252(out), error);
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
  if (head[0] == 'P' && head[1] == 'K' && head[2] == 3 && head[3] == 4) {
    ok = ReadXlsx(book, path, error);
    type = kFileTypeWorkbook;
  } else if (head[0] == 0xD0 && head[1] == 0xCF && head[2] == 0x11 && head[3] == 0xE0) {
    ok = ReadLegacyXls(book, path, error);
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
