#include "app/table_file.h"

#include <cstring>
#include <string_view>

#include "core/binary_fields.h"
#include "platform/globals.h"

namespace kvx {

namespace {

constexpr std::size_t kOffRows = 33;
constexpr std::size_t kOffFont = 41;
constexpr std::size_t kOffColors = 313;
constexpr std::size_t kOffFlags = 321;
constexpr std::size_t kOffStartObserver = 324;
constexpr std::size_t kOffEndObserver = 1060;
constexpr std::size_t kOffTableConfig = 1796;
constexpr std::size_t kOffStep = 24472;
constexpr std::size_t kOffEclipse = 24492;
constexpr std::size_t kOffReservedAgain = 24500;
constexpr std::size_t kOffColumnWidths = 24501;

static_assert(kOffFlags == kOffColors + 8 && kOffStartObserver == kOffFlags + 3, "two colours, three flag bytes");
static_assert(kOffEndObserver == kOffStartObserver + kObserverRecordSize);
static_assert(kOffTableConfig == kOffEndObserver + kObserverRecordSize);
static_assert(kOffStep == kOffTableConfig + kTableConfigRecordSize);
static_assert(kOffEclipse == kOffStep + kTableStepSize);
static_assert(kOffReservedAgain == kOffEclipse + 8 && kOffColumnWidths == kOffReservedAgain + 1);
static_assert(kOffColumnWidths + 4 * kQuantityCount == kTableFileFixedSize);
static_assert(kTableFileFixedSize == 25385, "the fixed part of a table file is 25,385 bytes");
static_assert(4 + 4 + 1 + kTableFontFaceCapacity + 4 + 4 == kTableFontRecordSize, "the font record is 272 bytes");
static_assert(4 * 4 + 1 + kTableCellTextLength + 1 == kTableCellRecordSize, "a cell record is 48 bytes");

// The first `count` characters of a UTF-8 text (a broken sequence counts
// its bytes one by one).
std::string FirstCharacters(const std::string& text, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < count && pos < text.size(); ++n) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (pos + len > text.size()) len = text.size() - pos;
    pos += len;
  }
  return text.substr(0, pos);
}

}  // namespace

void EncodeTableFontRecord(const TTableFontRecord& font, std::span<std::uint8_t, kTableFontRecordSize> out) {
  FieldWriter w(out);
  w.I32(font.Size);
  w.I32(font.Height);
  w.ShortString(kTableFontFaceCapacity, FirstCharacters(font.Name, kTableFontFaceUsed));
  w.I32(font.Color);
  w.I32(font.Style & 0xFF);
}

TTableFontRecord DecodeTableFontRecord(std::span<const std::uint8_t, kTableFontRecordSize> in) {
  FieldReader r(in);
  TTableFontRecord font;
  font.Size = r.I32();
  font.Height = r.I32();
  font.Name = r.ShortString(kTableFontFaceCapacity);
  font.Color = r.I32();
  font.Style = r.I32() & 0xFF;
  return font;
}

std::vector<std::uint8_t> EncodeTableFile(const TTableFileImage& image) {
  const std::int64_t rows = image.RowCount < 1 ? 1 : image.RowCount;
  const std::int64_t cols = image.ColCount < 1 ? 1 : image.ColCount;
  const std::size_t cellCount = static_cast<std::size_t>(rows * cols);
  std::vector<std::uint8_t> bytes(kTableFileFixedSize + kTableCellRecordSize * cellCount, 0);
  FieldWriter w(bytes);
  w.ShortString(kTableFileHeaderSize - 1, kTableFileHeader);
  w.I32(static_cast<std::int32_t>(rows - 1));
  w.I32(static_cast<std::int32_t>(cols - 1));
  EncodeTableFontRecord(image.Font,
                        std::span<std::uint8_t, kTableFontRecordSize>(bytes.data() + kOffFont, kTableFontRecordSize));
  w.Seek(kOffColors);
  w.U32(image.GridColor);
  w.U32(image.FixedColor);
  w.U8(image.Reserved);
  w.U8(image.CellLines);
  w.U8(image.FixedLines);
  EncodeObserverRecord(image.StartObserver, std::span<std::uint8_t, kObserverRecordSize>(
                                                bytes.data() + kOffStartObserver, kObserverRecordSize));
  EncodeObserverRecord(image.EndObserver, std::span<std::uint8_t, kObserverRecordSize>(bytes.data() + kOffEndObserver,
                                                                                       kObserverRecordSize));
  EncodeTableConfigRecord(image.TableConfig, std::span<std::uint8_t, kTableConfigRecordSize>(
                                                 bytes.data() + kOffTableConfig, kTableConfigRecordSize));
  EncodeTableStep(image.Step, std::span<std::uint8_t, kTableStepSize>(bytes.data() + kOffStep, kTableStepSize));
  w.Seek(kOffEclipse);
  w.I32(image.EclipseSearchMinutes);
  w.I32(image.EclipseSearchSpanHours);
  w.U8(image.Reserved);
  for (std::int32_t width : image.ColumnWidthTable) w.I32(width);
  for (std::size_t i = 0; i < cellCount; ++i) {
    w.Seek(kTableFileFixedSize + i * kTableCellRecordSize);
    if (i < image.Cells.size()) {
      const TTableFileCell& cell = image.Cells[i];
      w.I32(cell.Row);
      w.I32(cell.Col);
      w.I32(cell.Width);
      w.I32(cell.Height);
      w.ShortString(kTableCellTextLength, FirstCharacters(cell.Text, kTableCellTextLength));
    } else {
      w.I32(static_cast<std::int32_t>(static_cast<std::int64_t>(i) / cols));
      w.I32(static_cast<std::int32_t>(static_cast<std::int64_t>(i) % cols));
    }
  }
  return bytes;
}

TableFileProblem DecodeTableFile(std::span<const std::uint8_t> bytes, TTableFileImage& image) {
  const std::string_view header(kTableFileHeader);
  if (bytes.size() < kTableFileHeaderSize || bytes[0] != header.size() ||
      std::memcmp(bytes.data() + 1, header.data(), header.size()) != 0) {
    return TableFileProblem::Header;
  }
  if (bytes.size() < kTableFileFixedSize) return TableFileProblem::Damaged;
  FieldReader r(bytes);
  r.Seek(kOffRows);
  const std::int64_t rows = static_cast<std::int64_t>(r.I32()) + 1;
  const std::int64_t cols = static_cast<std::int64_t>(r.I32()) + 1;
  if (rows < 1 || cols < 1 || rows > kTableFileMaxRows || cols > kTableFileMaxCols ||
      rows * cols > kTableFileMaxCells) {
    return TableFileProblem::Damaged;
  }
  const std::size_t cellCount = static_cast<std::size_t>(rows * cols);
  if (bytes.size() != kTableFileFixedSize + kTableCellRecordSize * cellCount) return TableFileProblem::Damaged;
  for (std::size_t i = 0; i < cellCount; ++i) {
    r.Seek(kTableFileFixedSize + i * kTableCellRecordSize);
    const std::int32_t row = r.I32();
    const std::int32_t col = r.I32();
    if (row < 0 || col < 0 || row >= rows || col >= cols) return TableFileProblem::Damaged;
  }

  TTableFileImage out;
  out.RowCount = static_cast<std::int32_t>(rows);
  out.ColCount = static_cast<std::int32_t>(cols);
  out.Font = DecodeTableFontRecord(
      std::span<const std::uint8_t, kTableFontRecordSize>(bytes.data() + kOffFont, kTableFontRecordSize));
  r.Seek(kOffColors);
  out.GridColor = r.U32();
  out.FixedColor = r.U32();
  out.Reserved = r.U8();
  out.CellLines = r.U8();
  out.FixedLines = r.U8();
  out.StartObserver = DecodeObserverRecord(
      std::span<const std::uint8_t, kObserverRecordSize>(bytes.data() + kOffStartObserver, kObserverRecordSize));
  out.EndObserver = DecodeObserverRecord(
      std::span<const std::uint8_t, kObserverRecordSize>(bytes.data() + kOffEndObserver, kObserverRecordSize));
  out.TableConfig = DecodeTableConfigRecord(
      std::span<const std::uint8_t, kTableConfigRecordSize>(bytes.data() + kOffTableConfig, kTableConfigRecordSize));
  out.Step = DecodeTableStep(std::span<const std::uint8_t, kTableStepSize>(bytes.data() + kOffStep, kTableStepSize));
  r.Seek(kOffEclipse);
  out.EclipseSearchMinutes = r.I32();
  out.EclipseSearchSpanHours = r.I32();
  out.Reserved = r.U8();  // read last, as the main window takes it
  for (std::int32_t& width : out.ColumnWidthTable) width = r.I32();
  out.Cells.resize(cellCount);
  for (std::size_t i = 0; i < cellCount; ++i) {
    r.Seek(kTableFileFixedSize + i * kTableCellRecordSize);
    TTableFileCell& cell = out.Cells[i];
    cell.Row = r.I32();
    cell.Col = r.I32();
    cell.Width = r.I32();
    cell.Height = r.I32();
    cell.Text = r.ShortString(kTableCellTextLength);
  }
  image = std::move(out);
  return TableFileProblem::None;
}

bool HasTableFileExtension(const std::string& fileName) {
  const std::size_t slash = fileName.find_last_of('/');
  const std::size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  const std::string ext = fileName.substr(dot);
  return ext == ".kvx" || ext == ".KVX";
}

std::string TableFileRefusal(const TTableFileImage& image) {
  for (const TTableFileCell& cell : image.Cells) {
    if (!ShortStringHolds(cell.Text, kTableCellTextLength)) {
      return ByLanguage("Zeile ", "Row ") + std::to_string(cell.Row) + ByLanguage(", Spalte ", ", column ") +
             std::to_string(cell.Col) + ": Text = \"" + cell.Text + "\"";
    }
  }
  for (const TObserverRecord* r : {&image.StartObserver, &image.EndObserver}) {
    if (!ShortStringHolds(r->PlaceName, 255)) return ByLanguage("Ort = \"", "Place = \"") + r->PlaceName + "\"";
  }
  if (const int slot = FirstTitleNotHeld(image.TableConfig); slot >= 0) {
    return ColumnTitleRefusal(image.TableConfig, slot);
  }
  return {};
}

}  // namespace kvx
