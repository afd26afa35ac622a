#include "platform/workbook/xlsx_numbers.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <charconv>
#include <cmath>
#include <functional>
#include <vector>

#include "platform/workbook/cell_reference.h"

namespace kvx::workbook {

namespace {

// The value of attribute `name` in one start tag, or nothing.
std::string_view Attribute(std::string_view tag, std::string_view name) {
  std::size_t at = 0;
  while ((at = tag.find(name, at)) != std::string_view::npos) {
    const std::size_t equals = at + name.size();
    const bool starts =
        at > 0 && (tag[at - 1] == ' ' || tag[at - 1] == '\t' || tag[at - 1] == '\n' || tag[at - 1] == '\r');
    if (starts && equals + 1 < tag.size() && tag[equals] == '=' &&
        (tag[equals + 1] == '"' || tag[equals + 1] == '\'')) {
      const char quote = tag[equals + 1];
      const std::size_t end = tag.find(quote, equals + 2);
      if (end == std::string_view::npos) return {};
      return tag.substr(equals + 2, end - equals - 2);
    }
    at = equals;
  }
  return {};
}

// Calls `visit` with the row, column and the bounds of the value text of
// every plain number cell of a worksheet part, in the order of the file.
void ForEachNumberCell(std::string_view xml,
                       const std::function<void(int row, int col, std::size_t begin, std::size_t end)>& visit) {
  std::size_t pos = xml.find("<sheetData");
  while (pos != std::string_view::npos && (pos = xml.find("<c", pos)) != std::string_view::npos) {
    const std::size_t after = pos + 2;
    if (after >= xml.size()) break;
    const char next = xml[after];
    if (next != ' ' && next != '>' && next != '\t' && next != '\n' && next != '\r') {
      pos = after;  // <col>, <cfRule> ...
      continue;
    }
    const std::size_t tagEnd = xml.find('>', after);
    if (tagEnd == std::string_view::npos) break;
    pos = tagEnd + 1;
    if (xml[tagEnd - 1] == '/') continue;  // a cell with a style only
    const std::size_t close = xml.find("</c>", tagEnd);
    if (close == std::string_view::npos) break;
    pos = close + 4;
    const std::string_view tag = xml.substr(after, tagEnd - after);
    const std::string_view type = Attribute(tag, "t");
    if (!type.empty() && type != "n") continue;
    const std::string_view body = xml.substr(tagEnd + 1, close - tagEnd - 1);
    if (body.find("<f") != std::string_view::npos) continue;  // a formula's cached result
    const std::size_t open = body.find("<v>");
    const std::size_t end = body.find("</v>");
    if (open == std::string_view::npos || end == std::string_view::npos || end < open) continue;
    const auto range = ParseRange(Attribute(tag, "r"));
    if (!range || !range->IsSingleCell()) continue;
    visit(range->Row1, range->Col1, tagEnd + 1 + open + 3, tagEnd + 1 + end);
  }
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

// The sheet part with every plain number cell's value as the model holds it.
std::string PatchedSheet(const std::string& xml, const TSheetData& sheet) {
  std::string out;
  out.reserve(xml.size() + xml.size() / 8);
  std::size_t copied = 0;
  ForEachNumberCell(xml, [&](int row, int col, std::size_t begin, std::size_t end) {
    const TCell* cell = sheet.CellAt(row, col);
    if (cell == nullptr || cell->Kind != TCellKind::Number) return;
    out.append(xml, copied, begin - copied);
    out += ExactNumberText(cell->Number);
    copied = end;
  });
  out.append(xml, copied, std::string::npos);
  return out;
}

bool ReadEntry(unzFile in, std::string& data) {
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(in, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
  if (unzOpenCurrentFile(in) != UNZ_OK) return false;
  data.clear();
  data.reserve(static_cast<std::size_t>(info.uncompressed_size));
  std::vector<char> buffer(1 << 16);
  int got = 0;
  while ((got = unzReadCurrentFile(in, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0) {
    data.append(buffer.data(), static_cast<std::size_t>(got));
  }
  return unzCloseCurrentFile(in) == UNZ_OK && got == 0;
}

bool WriteEntry(zipFile out, const std::string& name, const unz_file_info64& info, const std::string& data) {
  zip_fileinfo file{};
  file.dosDate = info.dosDate;
  file.internal_fa = info.internal_fa;
  file.external_fa = info.external_fa;
  const int zip64 = data.size() >= 0xFFFFFFFFu ? 1 : 0;
  if (zipOpenNewFileInZip64(out, name.c_str(), &file, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                            Z_DEFAULT_COMPRESSION, zip64) != ZIP_OK) {
    return false;
  }
  bool ok = true;
  for (std::size_t at = 0; ok && at < data.size(); at += 1u << 30) {
    const std::size_t chunk = std::min<std::size_t>(data.size() - at, 1u << 30);
    ok = zipWriteInFileInZip(out, data.data() + at, static_cast<unsigned>(chunk)) == ZIP_OK;
  }
  return zipCloseFileInZip(out) == ZIP_OK && ok;
}

}  // namespace

std::string ExactNumberText(double value) {
  if (!std::isfinite(value)) return "0";
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::uint64_t CellKey(int row, int col) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32) | static_cast<std::uint32_t>(col);
}

std::unordered_map<std::uint64_t, double> ExactSheetNumbers(std::string_view sheetXml) {
  std::unordered_map<std::uint64_t, double> numbers;
  ForEachNumberCell(sheetXml, [&](int row, int col, std::size_t begin, std::size_t end) {
    std::string_view text = sheetXml.substr(begin, end - begin);
    // from_chars takes no leading '+'; a sign of the file is allowed.
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [stop, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc() && stop == text.data() + text.size() && std::isfinite(value)) {
      numbers[CellKey(row, col)] = value;
    }
  });
  return numbers;
}

bool WriteExactXlsxNumbers(const TWorkbook& book, const std::string& from, const std::string& to, std::string& error) {
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
  bool ok = true;
  std::string data;
  for (int rc = unzGoToFirstFile(in); ok && rc == UNZ_OK; rc = unzGoToNextFile(in)) {
    unz_file_info64 info{};
    char name[1024];
    ok = unzGetCurrentFileInfo64(in, &info, name, sizeof name, nullptr, 0, nullptr, 0) == UNZ_OK && ReadEntry(in, data);
    if (!ok) break;
    const int sheet = WorksheetNumber(name);
    if (sheet >= 1 && sheet <= book.NumSheets()) data = PatchedSheet(data, book.SheetData(sheet));
    ok = WriteEntry(out, name, info, data);
  }
  unzClose(in);
  if (zipClose(out, nullptr) != ZIP_OK) ok = false;
  if (!ok) error = "cannot copy the package " + from + " to " + to;
  return ok;
}

}  // namespace kvx::workbook
