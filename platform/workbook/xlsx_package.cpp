#include "platform/workbook/xlsx_package.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "platform/number_text.h"
#include "platform/workbook/cell_reference.h"
#include "platform/workbook/formula_engine.h"
#include "platform/workbook/xlsx_text.h"

namespace kvx::workbook {

namespace {

constexpr std::size_t kMaxCellTextUnits = 32767;  // the characters (UTF-16 code units) the format allows in a cell
constexpr std::size_t kFlushBytes = 1u << 20;     // generated XML handed to the compressor in pieces of this size
constexpr double kLibraryRowHeight = 15.0;        // the row height the library leaves unwritten

// A text as the file can hold it: at most 32767 characters (counted in
// UTF-16 code units, as the format counts them), cut at a character
// boundary.
std::string_view FileText(std::string_view text) {
  if (text.size() <= kMaxCellTextUnits) return text;
  std::size_t units = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) == 0x80) continue;  // inside a character
    units += byte >= 0xF0 ? 2 : 1;
    if (units > kMaxCellTextUnits) return text.substr(0, i);
  }
  return text;
}

void AppendInt(std::string& out, long long value) {
  char digits[24];
  out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// The shortest text that reads back as the same double; 0 for a value that
// is not finite (the format has no such number).
void AppendNumber(std::string& out, double value) {
  if (!std::isfinite(value)) value = 0.0;
  char digits[32];
  out.append(digits, ShortestNumberChars(value, '.', digits));
}

void AppendColumnName(std::string& out, int col) {
  char letters[4];
  int n = 0;
  for (; col > 0 && n < 4; col = (col - 1) / 26) letters[n++] = static_cast<char>('A' + (col - 1) % 26);
  while (n > 0) out += letters[--n];
}

void AppendCellName(std::string& out, int row, int col) {
  AppendColumnName(out, col);
  AppendInt(out, row);
}

// The texts of the cells, each once, numbered in the order of their first
// cell.
class TSharedStrings {
 public:
  std::size_t Add(std::string_view text) {
    ++count_;
    const auto [it, added] = index_.try_emplace(std::string(text), texts_.size());
    if (added) texts_.push_back(&it->first);
    return it->second;
  }
  std::size_t Count() const { return count_; }
  const std::vector<const std::string*>& Texts() const { return texts_; }

 private:
  std::unordered_map<std::string, std::size_t> index_;
  std::vector<const std::string*> texts_;  // keys of index_, which never move
  std::size_t count_ = 0;
};

// One part being written into the package: its XML is gathered and handed
// to the compressor a megabyte at a time.
class TPartWriter {
 public:
  TPartWriter(zipFile zip, const char* name, const zip_fileinfo& info, std::uint64_t sizeBound) : zip_(zip) {
    const int zip64 = sizeBound >= 0xFFFFFFFFull ? 1 : 0;
    ok_ = zipOpenNewFileInZip64(zip_, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION,
                                zip64) == ZIP_OK;
    open_ = ok_;
    buffer_.reserve(kFlushBytes + 4096);
  }
  ~TPartWriter() {
    if (open_) zipCloseFileInZip(zip_);
  }
  std::string& Buffer() { return buffer_; }
  void FlushWhenFull() {
    if (buffer_.size() >= kFlushBytes) Flush();
  }
  bool Close() {
    Flush();
    if (open_ && zipCloseFileInZip(zip_) != ZIP_OK) ok_ = false;
    open_ = false;
    return ok_;
  }

 private:
  void Flush() {
    if (ok_ && !buffer_.empty()) {
      ok_ = zipWriteInFileInZip(zip_, buffer_.data(), static_cast<unsigned>(buffer_.size())) == ZIP_OK;
    }
    buffer_.clear();
  }
  zipFile zip_;
  std::string buffer_;
  bool ok_ = false;
  bool open_ = false;
};

// Appends the cells of one sheet, row by row, as the <sheetData> element,
// and finds the used range for the <dimension> element.
struct TSheetCells {
  const TSheetData& Sheet;
  const std::vector<int>& XfOfStyle;
  const TFormulaChecker& Checker;
  TSharedStrings& Strings;
  // The styles that show dates, of a workbook whose file counts its dates
  // from 1904 (empty otherwise): their numbers are written from that day.
  const std::vector<bool>& DateStyles;
  int FirstRow = 0, LastRow = 0, FirstCol = 0, LastCol = 0;  // of the cells
  int LastLine = 0;                                          // the last row written, cells or not

  bool Written(const TCell& cell) const { return cell.Kind != TCellKind::Empty || cell.Style != 0; }

  // The used range, as the library writes it ("A1" for an empty sheet).
  std::string Dimension() {
    int lastOptionRow = 0;
    int firstOptionRow = 0;
    for (const auto& [row, height] : Sheet.RowHeights) {
      if (firstOptionRow == 0 || row < firstOptionRow) firstOptionRow = row;
      lastOptionRow = std::max(lastOptionRow, row);
    }
    for (int row : Sheet.HiddenRows) {
      if (firstOptionRow == 0 || row < firstOptionRow) firstOptionRow = row;
      lastOptionRow = std::max(lastOptionRow, row);
    }
    for (std::size_t r = 0; r < Sheet.Rows.size(); ++r) {
      const auto& cells = Sheet.Rows[r];
      for (std::size_t c = 0; c < cells.size(); ++c) {
        if (!Written(cells[c])) continue;
        const int row = static_cast<int>(r) + 1, col = static_cast<int>(c) + 1;
        if (FirstRow == 0) FirstRow = row;
        LastRow = row;
        if (FirstCol == 0 || col < FirstCol) FirstCol = col;
        LastCol = std::max(LastCol, col);
      }
    }
    int first = FirstRow, last = LastRow;
    if (firstOptionRow != 0) {
      first = first == 0 ? firstOptionRow : std::min(first, firstOptionRow);
      last = std::max(last, lastOptionRow);
    }
    std::string ref;
    if (first == 0) return "A1";
    const int firstCol = FirstCol == 0 ? 1 : FirstCol, lastCol = LastCol == 0 ? 1 : LastCol;
    AppendCellName(ref, first, firstCol);
    if (first != last || firstCol != lastCol) {
      ref += ':';
      AppendCellName(ref, last, lastCol);
    }
    LastLine = std::max(LastRow, lastOptionRow);
    return ref;
  }

  void AppendRowStart(std::string& out, int row, bool withCells) const {
    const auto height = Sheet.RowHeights.find(row);
    const double h = height != Sheet.RowHeights.end() ? height->second : Sheet.DefaultRowHeight;
    out += "<row r=\"";
    AppendInt(out, row);
    out += '"';
    if (h != kLibraryRowHeight) {
      out += " ht=\"";
      AppendNumber(out, h);
      out += '"';
    }
    if (Sheet.HiddenRows.count(row) != 0) out += " hidden=\"1\"";
    if (h != kLibraryRowHeight) out += " customHeight=\"1\"";
    out += withCells ? ">" : "/>";
  }

  // A number as the file counts it.
  double FileNumber(const TCell& cell) const {
    const bool date = cell.Style < DateStyles.size() && DateStyles[cell.Style];
    return date ? cell.Number - kDays1900To1904 : cell.Number;
  }

  void AppendCell(std::string& out, int row, int col, const TCell& cell) {
    out += "<c r=\"";
    AppendCellName(out, row, col);
    out += '"';
    const int xf = cell.Style < XfOfStyle.size() ? XfOfStyle[cell.Style] : 0;
    if (xf > 0) {
      out += " s=\"";
      AppendInt(out, xf);
      out += '"';
    }
    auto text = [&](std::string_view value) {
      if (value.empty()) {
        out += "/>";
        return;
      }
      out += " t=\"s\"><v>";
      AppendInt(out, static_cast<long long>(Strings.Add(FileText(value))));
      out += "</v></c>";
    };
    switch (cell.Kind) {
      case TCellKind::Empty:
        out += "/>";
        return;
      case TCellKind::Number:
        out += "><v>";
        AppendNumber(out, FileNumber(cell));
        out += "</v></c>";
        return;
      case TCellKind::Text:
        text(cell.Text);
        return;
      case TCellKind::Formula:
        break;
    }
    const std::string formula = Checker.Written(cell.Formula);
    if (!Checker.Accepts(formula)) {
      // The reading side would refuse the whole file for it: the formula
      // is kept as its text.
      text("=" + cell.Formula);
      return;
    }
    const bool number = cell.Result == TFormulaResult::Number;
    out += number ? "><f>" : " t=\"str\"><f>";
    // Characters XML cannot hold are escaped as in texts.
    AppendXlsxCellText(out, formula);
    out += "</f><v>";
    if (number) {
      // The stored result of a formula keeps the 16 digits other programs
      // show it by (they round the shown value from these, the program
      // computes the formula again when it reads the file).
      char digits[32];
      const double value = FileNumber(cell);
      char* const end = std::to_chars(digits, digits + sizeof digits, std::isfinite(value) ? value : 0.0,
                                      std::chars_format::general, 16)
                            .ptr;
      std::replace(digits, end, 'e', 'E');
      out.append(digits, end);
    } else {
      AppendXlsxCellText(out, FileText(cell.Text));
    }
    out += "</v></c>";
  }

  void Append(TPartWriter& part) {
    std::string& out = part.Buffer();
    if (LastLine == 0) {
      out += "<sheetData/>";
      return;
    }
    out += "<sheetData>";
    for (int row = 1; row <= LastLine; ++row) {
      const bool inRows = static_cast<std::size_t>(row) <= Sheet.Rows.size();
      bool any = false;
      if (inRows) {
        for (const TCell& cell : Sheet.Rows[static_cast<std::size_t>(row) - 1]) {
          if (Written(cell)) {
            any = true;
            break;
          }
        }
      }
      if (!any && Sheet.RowHeights.count(row) == 0 && Sheet.HiddenRows.count(row) == 0) continue;
      AppendRowStart(out, row, any);
      if (!any) continue;
      const auto& cells = Sheet.Rows[static_cast<std::size_t>(row) - 1];
      for (std::size_t c = 0; c < cells.size(); ++c) {
        if (Written(cells[c])) AppendCell(out, row, static_cast<int>(c) + 1, cells[c]);
      }
      out += "</row>";
      part.FlushWhenFull();
    }
    out += "</sheetData>";
  }
};

// A bound of the bytes a sheet's cells take in the file, to know whether
// the part needs the large-file form of the zip format.
std::uint64_t SheetSizeBound(const TSheetData& sheet, std::size_t libraryPart) {
  std::uint64_t bound = libraryPart + 64ull * (sheet.Rows.size() + sheet.RowHeights.size() + sheet.HiddenRows.size());
  for (const auto& cells : sheet.Rows) {
    for (const TCell& cell : cells) {
      bound += 64;
      if (cell.Kind == TCellKind::Formula) bound += 7ull * (cell.Formula.size() + cell.Text.size());
    }
  }
  return bound;
}

bool ReadEntry(unzFile in, std::string& data) {
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(in, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
  if (unzOpenCurrentFile(in) != UNZ_OK) return false;
  data.clear();
  data.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(info.uncompressed_size, 1u << 26)));
  std::vector<char> buffer(1 << 16);
  int got = 0;
  while ((got = unzReadCurrentFile(in, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0) {
    data.append(buffer.data(), static_cast<std::size_t>(got));
  }
  return unzCloseCurrentFile(in) == UNZ_OK && got == 0;
}

// Copies the current entry as it is compressed, without inflating it.
bool CopyEntryRaw(unzFile in, zipFile out, const char* name, const zip_fileinfo& file, const unz_file_info64& info) {
  int method = 0;
  int level = 0;
  if (unzOpenCurrentFile2(in, &method, &level, 1) != UNZ_OK) return false;
  const int zip64 = info.uncompressed_size >= 0xFFFFFFFFull ? 1 : 0;
  bool ok =
      zipOpenNewFileInZip2_64(out, name, &file, nullptr, 0, nullptr, 0, nullptr, method, level, 1, zip64) == ZIP_OK;
  std::vector<char> buffer(1 << 16);
  int got = 0;
  while (ok && (got = unzReadCurrentFile(in, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0) {
    ok = zipWriteInFileInZip(out, buffer.data(), static_cast<unsigned>(got)) == ZIP_OK;
  }
  ok = ok && got == 0;
  if (zipCloseFileInZipRaw64(out, info.uncompressed_size, info.crc) != ZIP_OK) ok = false;
  unzCloseCurrentFile(in);
  return ok;
}

// "xl/worksheets/sheetN.xml" -> N, else 0.
int WorksheetNumber(std::string_view name) {
  constexpr std::string_view kPrefix = "xl/worksheets/sheet";
  constexpr std::string_view kSuffix = ".xml";
  if (name.size() <= kPrefix.size() + kSuffix.size() || name.substr(0, kPrefix.size()) != kPrefix ||
      name.substr(name.size() - kSuffix.size()) != kSuffix) {
    return 0;
  }
  const std::string_view digits = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
  int n = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  return ec == std::errc() && end == digits.data() + digits.size() ? n : 0;
}

// The library's worksheet part with its <dimension> and <sheetData> taken
// out: the text before, between and after them.
struct TSheetFrame {
  std::string_view Head, Middle, Tail;
};

bool SplitSheetPart(std::string_view xml, TSheetFrame& frame) {
  const std::size_t dimension = xml.find("<dimension");
  const std::size_t dimensionEnd = dimension == std::string_view::npos ? dimension : xml.find("/>", dimension);
  const std::size_t data = xml.find("<sheetData");
  if (dimensionEnd == std::string_view::npos || data == std::string_view::npos || data < dimensionEnd) return false;
  std::size_t dataEnd = std::string_view::npos;
  if (xml.substr(data, 12) == "<sheetData/>") {
    dataEnd = data + 12;
  } else if (const std::size_t close = xml.find("</sheetData>", data); close != std::string_view::npos) {
    dataEnd = close + 12;
  }
  if (dataEnd == std::string_view::npos) return false;
  frame.Head = xml.substr(0, dimension);
  frame.Middle = xml.substr(dimensionEnd + 2, data - dimensionEnd - 2);
  frame.Tail = xml.substr(dataEnd);
  return true;
}

zip_fileinfo FileInfoOf(const unz_file_info64& info) {
  zip_fileinfo file{};
  file.dosDate = info.dosDate;
  file.internal_fa = info.internal_fa;
  file.external_fa = info.external_fa;
  return file;
}

bool WriteSheetPart(zipFile out, const char* name, const unz_file_info64& info, const std::string& libraryXml,
                    TSheetCells& cells) {
  TSheetFrame frame;
  if (!SplitSheetPart(libraryXml, frame)) return false;
  TPartWriter part(out, name, FileInfoOf(info), SheetSizeBound(cells.Sheet, libraryXml.size()));
  std::string& xml = part.Buffer();
  xml += frame.Head;
  xml += "<dimension ref=\"";
  xml += cells.Dimension();
  xml += "\"/>";
  xml += frame.Middle;
  cells.Append(part);
  part.Buffer() += frame.Tail;
  return part.Close();
}

bool WriteSharedStrings(zipFile out, const char* name, const unz_file_info64& info, const TSharedStrings& strings) {
  std::uint64_t bound = 256;
  for (const std::string* text : strings.Texts()) bound += 64 + 7ull * text->size();
  TPartWriter part(out, name, FileInfoOf(info), bound);
  std::string& xml = part.Buffer();
  xml +=
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"";
  AppendInt(xml, static_cast<long long>(strings.Count()));
  xml += "\" uniqueCount=\"";
  AppendInt(xml, static_cast<long long>(strings.Texts().size()));
  xml += "\">";
  auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r'; };
  for (const std::string* text : strings.Texts()) {
    const bool keepBlanks = !text->empty() && (blank(text->front()) || blank(text->back()));
    xml += keepBlanks ? "<si><t xml:space=\"preserve\">" : "<si><t>";
    AppendXlsxCellText(xml, *text);
    xml += "</t></si>";
    part.FlushWhenFull();
  }
  xml += "</sst>";
  return part.Close();
}

// The library's workbook part with the flag of a workbook that counts its
// dates from 1904.
bool WriteWorkbookPart1904(zipFile out, const char* name, const unz_file_info64& info, std::string xml) {
  const std::size_t properties = xml.find("<workbookPr");
  if (properties == std::string::npos) return false;
  xml.insert(properties + 11, " date1904=\"1\"");
  TPartWriter part(out, name, FileInfoOf(info), xml.size());
  part.Buffer() = std::move(xml);
  return part.Close();
}

}  // namespace

bool XlsxHoldsText(std::string_view text) { return FileText(text).size() == text.size(); }

namespace {

// Calls `visit` with each text cell of `sheet` whose text a cell of the
// file cannot hold whole, and its row and column.
template <class Sheet, class Visit>
void ForEachLongText(Sheet& sheet, Visit visit) {
  for (std::size_t r = 0; r < sheet.Rows.size(); ++r) {
    for (std::size_t c = 0; c < sheet.Rows[r].size(); ++c) {
      auto& cell = sheet.Rows[r][c];
      if (cell.Kind == TCellKind::Text && !XlsxHoldsText(cell.Text)) {
        visit(cell, static_cast<int>(r) + 1, static_cast<int>(c) + 1);
      }
    }
  }
}

}  // namespace

TLongTexts XlsxLongTexts(const TWorkbook& book) {
  TLongTexts found;
  for (int s = 1; s <= book.NumSheets(); ++s) {
    const TSheetData& sheet = book.SheetData(s);
    ForEachLongText(sheet, [&](const TCell&, int row, int col) {
      if (found.Count++ == 0) found.FirstCell = sheet.Name + "!" + CellName(row, col);
    });
  }
  return found;
}

void CutXlsxLongTexts(TWorkbook& book) {
  bool cut = false;
  for (int s = 1; s <= book.NumSheets(); ++s) {
    bool any = false;
    ForEachLongText(book.SheetData(s), [&](const TCell&, int, int) { any = true; });
    if (!any) continue;
    ForEachLongText(book.MutableSheetData(s), [](TCell& cell, int, int) {
      cell.Text = std::string(FileText(cell.Text));
      cell.Source = 0;
    });
    cut = true;
  }
  if (cut) book.FinishBulkChange();
}

bool WriteXlsxPackage(const TWorkbook& book, const std::vector<int>& xfOfStyle, const std::string& from,
                      const std::string& to, std::string& error) {
  unzFile in = unzOpen64(from.c_str());
  if (in == nullptr) {
    error = "cannot read the package " + from;
    return false;
  }
  zipFile out = zipOpen64(to.c_str(), APPEND_STATUS_CREATE);
  if (out == nullptr) {
    unzClose(in);
    error = "cannot create " + to;
    return false;
  }
  std::vector<std::string> sheetNames;
  for (int s = 1; s <= book.NumSheets(); ++s) sheetNames.push_back(book.SheetName(s));
  const TFormulaChecker checker(sheetNames);
  const bool date1904 = book.FileProperties().Date1904;
  std::vector<bool> dateStyles;
  for (std::size_t style = 0; date1904 && style < book.StyleCount(); ++style) {
    const TFormatClass kind = ClassifyFormat(book.Style(static_cast<std::uint32_t>(style)).NumberFormat);
    dateStyles.push_back(kind == TFormatClass::Date || kind == TFormatClass::DateTime);
  }
  TSharedStrings strings;
  constexpr std::string_view kSharedStrings = "xl/sharedStrings.xml";
  bool ok = true;
  std::string data;
  // The worksheets first, which gather the shared strings; then the other
  // parts, in the library's order.
  for (int pass = 0; ok && pass < 2; ++pass) {
    for (int rc = unzGoToFirstFile(in); ok && rc == UNZ_OK; rc = unzGoToNextFile(in)) {
      unz_file_info64 info{};
      char name[1024];
      if (unzGetCurrentFileInfo64(in, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) {
        ok = false;
        break;
      }
      const int sheet = WorksheetNumber(name);
      const bool cellPart = sheet >= 1 && sheet <= book.NumSheets();
      if (cellPart != (pass == 0)) continue;
      if (cellPart) {
        TSheetCells cells{book.SheetData(sheet), xfOfStyle, checker, strings, dateStyles};
        ok = ReadEntry(in, data) && WriteSheetPart(out, name, info, data, cells);
      } else if (date1904 && std::string_view(name) == "xl/workbook.xml") {
        ok = ReadEntry(in, data) && WriteWorkbookPart1904(out, name, info, std::move(data));
      } else if (std::string_view(name) == kSharedStrings) {
        ok = WriteSharedStrings(out, name, info, strings);
      } else {
        ok = CopyEntryRaw(in, out, name, FileInfoOf(info), info);
      }
    }
  }
  unzClose(in);
  if (zipClose(out, nullptr) != ZIP_OK) ok = false;
  if (!ok) error = "cannot write the package " + to + " from " + from;
  return ok;
}

}  // namespace kvx::workbook
