// The records of a legacy .xls workbook that the reading library leaves
// out: see xls_records.h.
#include "platform/workbook/xls_records.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <set>

#include "platform/text_encoding.h"
#include "platform/workbook/number_format.h"

namespace kvx::workbook {

namespace {

std::uint32_t Get16(std::string_view s, std::size_t at) {
  if (at + 2 > s.size()) return 0;
  return static_cast<unsigned char>(s[at]) | (static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8);
}

std::uint32_t Get32(std::string_view s, std::size_t at) {
  if (at + 4 > s.size()) return 0;
  return Get16(s, at) | (Get16(s, at + 2) << 16);
}

double GetDouble(std::string_view s, std::size_t at) {
  double value = 0.0;
  if (at + 8 <= s.size()) std::memcpy(&value, s.data() + at, 8);
  return value;
}

// Record types of the workbook stream (xls_records.h).
constexpr std::uint32_t kFormulaRecord = 0x0006;
constexpr std::uint32_t kEofRecord = 0x000A;
constexpr std::uint32_t kNameRecord = 0x0018;
constexpr std::uint32_t kNoteRecord = 0x001C;
constexpr std::uint32_t kDateModeRecord = 0x0022;
constexpr std::uint32_t kContinueRecord = 0x003C;
constexpr std::uint32_t kObjectRecord = 0x005D;
constexpr std::uint32_t kBoundSheetRecord = 0x0085;
constexpr std::uint32_t kMulRkRecord = 0x00BD;
constexpr std::uint32_t kXfRecord = 0x00E0;
constexpr std::uint32_t kMergedCellsRecord = 0x00E5;
constexpr std::uint32_t kConditionalFormatRecord = 0x01B0;
constexpr std::uint32_t kHyperlinkRecord = 0x01B8;
constexpr std::uint32_t kDataValidationRecord = 0x01BE;
constexpr std::uint32_t kNumberRecord = 0x0203;
constexpr std::uint32_t kBoolErrRecord = 0x0205;
constexpr std::uint32_t kStringRecord = 0x0207;
constexpr std::uint32_t kBof3Record = 0x0209;
constexpr std::uint32_t kArrayRecord = 0x0221;
constexpr std::uint32_t kTableRecord = 0x0236;
constexpr std::uint32_t kRkRecord = 0x027E;
constexpr std::uint32_t kBof4Record = 0x0409;
constexpr std::uint32_t kFormatRecord = 0x041E;
constexpr std::uint32_t kSharedFormulaRecord = 0x04BC;
constexpr std::uint32_t kBof58Record = 0x0809;
// The version a BIFF8 stream gives in its BOF record (BIFF5: 0x0500).
constexpr std::uint32_t kBiff8Version = 0x0600;

// A record type of charts that readers of cells pass over.
constexpr std::uint32_t kPassedOverRecord = 0x1001;

bool IsBof(std::uint32_t type) { return type == kBof58Record || type == kBof4Record || type == kBof3Record; }

// The object types of an OBJ record's common part (its first subrecord,
// 0x0015) that the workbook does not keep.
constexpr std::uint32_t kCommonObjectData = 0x0015;
constexpr std::uint32_t kChartObject = 0x05;
constexpr std::uint32_t kPictureObject = 0x08;
// Lines, rectangles, ovals, arcs, text boxes, polygons, drawings.
constexpr std::uint32_t kShapeObjects[] = {0x01, 0x02, 0x03, 0x04, 0x06, 0x09, 0x1E};

// A NAME record's flags: a hidden name, a built-in one (print area, ...).
constexpr std::uint32_t kNameHidden = 0x0001;
constexpr std::uint32_t kNameBuiltIn = 0x0020;

// Compound file: the end of a sector chain, and free sectors.
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kLastRegularSector = 0xFFFFFFFA;

// A compound file: its sectors, allocation tables and directory.
class TCompoundFile {
 public:
  explicit TCompoundFile(std::string_view file) : file_(file) {}

  bool Open() {
    if (file_.size() < 512 || file_.substr(0, 8) != std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
      return false;
    }
    const std::uint32_t shift = Get16(file_, 0x1E);
    const std::uint32_t miniShift = Get16(file_, 0x20);
    if ((shift != 9 && shift != 12) || miniShift != 6) return false;
    sector_ = std::size_t{1} << shift;
    cutoff_ = Get32(file_, 0x38);
    // The sectors of the allocation table: 109 in the header, the rest in
    // a chain of further sectors, each ending with the next one's number.
    std::vector<std::uint32_t> fatSectors;
    const std::uint32_t fatCount = Get32(file_, 0x2C);
    const std::size_t maxSectors = file_.size() / sector_ + 1;
    if (fatCount > maxSectors) return false;
    for (std::size_t k = 0; k < 109 && fatSectors.size() < fatCount; ++k)
      fatSectors.push_back(Get32(file_, 0x4C + 4 * k));
    std::uint32_t difat = Get32(file_, 0x44);
    std::set<std::uint32_t> seen;
    while (fatSectors.size() < fatCount && difat <= kLastRegularSector && seen.insert(difat).second) {
      const std::size_t block = SectorPlace(difat);
      if (block == kNowhere) return false;
      const std::string_view sector = file_.substr(block, sector_);
      for (std::size_t k = 0; k + 4 < sector_ && fatSectors.size() < fatCount; k += 4) {
        fatSectors.push_back(Get32(sector, k));
      }
      difat = Get32(sector, sector_ - 4);
    }
    for (const std::uint32_t s : fatSectors) {
      const std::size_t block = SectorPlace(s);
      if (block == kNowhere) return false;
      for (std::size_t k = 0; k < sector_; k += 4) fat_.push_back(Get32(file_, block + k));
    }
    directory_ = Joined(SectorPlaces(Get32(file_, 0x30)), sector_);
    if (directory_.size() < 128) return false;
    // The mini stream (root entry's chain) and its allocation table.
    const std::string miniFat = Joined(SectorPlaces(Get32(file_, 0x3C)), sector_);
    for (std::size_t k = 0; k + 4 <= miniFat.size(); k += 4) miniFat_.push_back(Get32(miniFat, k));
    miniStreamPlaces_ = SectorPlaces(Get32(directory_, 0x74));
    return true;
  }

  // Where the stream of that name (ASCII) stands in the file: the file
  // offset of each of its blocks in order, `block` bytes each (sectors, or
  // 64-byte mini sectors), and its size. False when there is none.
  bool StreamPlaces(std::string_view name, std::vector<std::size_t>& places, std::size_t& block,
                    std::size_t& size) const {
    for (std::size_t at = 0; at + 128 <= directory_.size(); at += 128) {
      const std::string_view entry = std::string_view(directory_).substr(at, 128);
      if (entry[0x42] != 2) continue;  // a stream
      const std::uint32_t nameBytes = Get16(entry, 0x40);
      if (nameBytes != 2 * (name.size() + 1)) continue;
      bool same = true;
      for (std::size_t k = 0; k < name.size() && same; ++k) {
        same = Get16(entry, 2 * k) == static_cast<unsigned char>(name[k]);
      }
      if (!same) continue;
      const std::uint32_t start = Get32(entry, 0x74);
      size = Get32(entry, 0x78);
      block = size < cutoff_ ? kMiniSector : sector_;
      places = size < cutoff_ ? MiniSectorPlaces(start) : SectorPlaces(start);
      return true;
    }
    return false;
  }

  // The stream of that name (ASCII); empty when none.
  std::string Stream(std::string_view name) const {
    std::vector<std::size_t> places;
    std::size_t block = 0, size = 0;
    if (!StreamPlaces(name, places, block, size)) return {};
    std::string data = Joined(places, block);
    if (data.size() > size) data.resize(size);
    return data;
  }

 private:
  static constexpr std::size_t kNowhere = static_cast<std::size_t>(-1);
  static constexpr std::size_t kMiniSector = 64;

  std::size_t SectorPlace(std::uint32_t s) const {
    const std::size_t at = (static_cast<std::size_t>(s) + 1) * sector_;
    if (s > kLastRegularSector || at + sector_ > file_.size()) return kNowhere;
    return at;
  }

  // The places of a chain of the allocation table; a chain that comes back
  // to a sector or leaves the file ends there (so no chain is longer than
  // the file).
  std::vector<std::size_t> SectorPlaces(std::uint32_t start) const {
    std::vector<std::size_t> places;
    std::vector<bool> visited(fat_.size(), false);
    for (std::uint32_t s = start; s != kEndOfChain && s < fat_.size() && !visited[s]; s = fat_[s]) {
      visited[s] = true;
      const std::size_t at = SectorPlace(s);
      if (at == kNowhere) break;
      places.push_back(at);
    }
    return places;
  }

  // The same for a chain of mini sectors, which lie in the mini stream.
  std::vector<std::size_t> MiniSectorPlaces(std::uint32_t start) const {
    std::vector<std::size_t> places;
    std::vector<bool> visited(miniFat_.size(), false);
    const std::size_t perSector = sector_ / kMiniSector;
    for (std::uint32_t s = start; s != kEndOfChain && s < miniFat_.size() && !visited[s]; s = miniFat_[s]) {
      visited[s] = true;
      if (s / perSector >= miniStreamPlaces_.size()) break;
      places.push_back(miniStreamPlaces_[s / perSector] + (s % perSector) * kMiniSector);
    }
    return places;
  }

  std::string Joined(const std::vector<std::size_t>& places, std::size_t block) const {
    std::string out;
    out.reserve(places.size() * block);
    for (const std::size_t at : places) out.append(file_.substr(at, block));
    return out;
  }

  std::string_view file_;
  std::size_t sector_ = 512;
  std::uint32_t cutoff_ = 4096;
  std::vector<std::uint32_t> fat_;
  std::vector<std::uint32_t> miniFat_;
  std::string directory_;
  std::vector<std::size_t> miniStreamPlaces_;  // of the root entry's chain: the mini stream
};

// One record: its type and data.
struct TRecord {
  std::uint32_t Type = 0;
  std::string_view Data;
};

class TRecordReader {
 public:
  TRecordReader(std::string_view stream, std::size_t at) : stream_(stream), at_(at) {}

  // Where the next record starts in the stream.
  std::size_t At() const { return at_; }

  bool Next(TRecord& record) {
    if (at_ + 4 > stream_.size()) return false;
    record.Type = Get16(stream_, at_);
    const std::size_t length = Get16(stream_, at_ + 2);
    if (at_ + 4 + length > stream_.size()) return false;
    record.Data = stream_.substr(at_ + 4, length);
    at_ += 4 + length;
    return true;
  }

  // The data of the CONTINUE record that follows, if one does.
  bool Continuation(std::string_view& data) {
    std::size_t at = at_;
    TRecordReader probe(stream_, at);
    TRecord next;
    if (!probe.Next(next) || next.Type != kContinueRecord) return false;
    data = next.Data;
    at_ = probe.at_;
    return true;
  }

 private:
  std::string_view stream_;
  std::size_t at_;
};

// Latin-1 bytes (BIFF8 strings of one byte a character) or code-page bytes
// (BIFF5) as UTF-8.
std::string OneByteText(std::string_view bytes, bool biff8) {
  if (!biff8) return Cp1252ToUtf8(bytes);
  std::string out;
  for (const char c : bytes) AppendUtf8(out, static_cast<unsigned char>(c));
  return out;
}

std::string Utf16LeText(std::string_view bytes) {
  std::string out;
  for (std::size_t k = 0; k + 1 < bytes.size(); k += 2) {
    char32_t c = Get16(bytes, k);
    if (c >= 0xD800 && c <= 0xDBFF && k + 3 < bytes.size()) {
      const char32_t low = Get16(bytes, k + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        k += 2;
      }
    }
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    AppendUtf8(out, c);
  }
  return out;
}

// A string of `countBytes` (1 or 2) length bytes at `at` of `data`; BIFF8
// strings go on in CONTINUE records when `reader` is given. False when the
// data end before the string does.
bool ReadString(std::string_view data, std::size_t at, int countBytes, bool biff8, TRecordReader* reader,
                std::string& text) {
  text.clear();
  if (at + static_cast<std::size_t>(countBytes) > data.size()) return false;
  std::size_t count = countBytes == 1 ? static_cast<unsigned char>(data[at]) : Get16(data, at);
  at += static_cast<std::size_t>(countBytes);
  if (!biff8) {
    if (at + count > data.size()) return false;
    text = OneByteText(data.substr(at, count), false);
    return true;
  }
  if (at >= data.size()) return count == 0;
  unsigned char flags = static_cast<unsigned char>(data[at++]);
  if ((flags & 0x08) != 0) at += 2;  // rich-text runs: their count
  if ((flags & 0x04) != 0) at += 4;  // East Asian data: its size
  while (true) {
    const std::size_t width = (flags & 0x01) != 0 ? 2 : 1;
    const std::size_t available = at <= data.size() ? (data.size() - at) / width : 0;
    const std::size_t take = std::min(count, available);
    const std::string_view chars = data.substr(std::min(at, data.size()), take * width);
    text += width == 2 ? Utf16LeText(chars) : OneByteText(chars, true);
    count -= take;
    if (count == 0) return true;
    std::string_view next;
    if (reader == nullptr || !reader->Continuation(next) || next.empty()) return false;
    data = next;
    flags = static_cast<unsigned char>(data[0]);
    at = 1;
  }
}

struct TSheetPlace {
  std::size_t Offset = 0;
  std::string Name;
};

}  // namespace

std::string XlsWorkbookStream(std::string_view file) {
  TCompoundFile compound(file);
  if (!compound.Open()) return {};
  std::string stream = compound.Stream("Workbook");
  if (stream.empty()) stream = compound.Stream("Book");
  return stream;
}

std::string XlsWithoutEmbeddedSubstreams(std::string_view file, const std::vector<std::size_t>& marks) {
  std::string out(file);
  TCompoundFile compound(file);
  if (marks.empty() || !compound.Open()) return out;
  std::vector<std::size_t> places;
  std::size_t block = 0, size = 0;
  if (!compound.StreamPlaces("Workbook", places, block, size) && !compound.StreamPlaces("Book", places, block, size)) {
    return out;
  }
  // The record type is two bytes; a block boundary may fall between them.
  const auto put = [&](std::size_t at, char byte) {
    if (at < size && at / block < places.size()) out[places[at / block] + at % block] = byte;
  };
  for (const std::size_t mark : marks) {
    put(mark, static_cast<char>(kPassedOverRecord & 0xFF));
    put(mark + 1, static_cast<char>(kPassedOverRecord >> 8));
  }
  return out;
}

std::string XlsErrorText(int code) {
  switch (code) {
    case 0x00:
      return "#NULL!";
    case 0x07:
      return "#DIV/0!";
    case 0x0F:
      return "#VALUE!";
    case 0x17:
      return "#REF!";
    case 0x1D:
      return "#NAME?";
    case 0x24:
      return "#NUM!";
    case 0x2A:
      return "#N/A";
    default:
      return {};
  }
}

std::string XlsBuiltinFormat(int index) {
  return index <= 0 ? std::string() : BuiltinNumberFormat(static_cast<std::size_t>(index));
}

namespace {

// Counts what an OBJ record (BIFF8) draws that the workbook does not keep:
// a chart, a picture or a shape.
void CountObject(std::string_view data, TReadLosses& losses) {
  if (data.size() < 6 || Get16(data, 0) != kCommonObjectData) return;
  const std::uint32_t type = Get16(data, 4);
  if (type == kChartObject) {
    ++losses[TReadLoss::Charts];
  } else if (type == kPictureObject ||
             std::find(std::begin(kShapeObjects), std::end(kShapeObjects), type) != std::end(kShapeObjects)) {
    ++losses[TReadLoss::Pictures];
  }
}

// The last computed value of a FORMULA record: a double, or when its last
// two bytes are FF FF, byte 0 the kind (0 text in the STRING record that
// follows, 1 boolean, 2 error, 3 empty text) and byte 2 the value.
TXlsValueCell FormulaValue(std::string_view d, bool biff8, TRecordReader& reader) {
  TXlsValueCell cell;
  cell.Formula = true;
  if (Get16(d, 12) != 0xFFFF) {
    cell.Kind = TXlsValueKind::Number;
    cell.Number = GetDouble(d, 6);
    return cell;
  }
  switch (static_cast<unsigned char>(d[6])) {
    case 0: {  // text: in the STRING record that follows
      TRecord next;
      TRecordReader probe = reader;
      while (probe.Next(next) && next.Type != kStringRecord && next.Type != kEofRecord &&
             (next.Type == kSharedFormulaRecord || next.Type == kArrayRecord || next.Type == kTableRecord)) {
        // shared formulas, arrays and tables come between
      }
      if (next.Type == kStringRecord) {
        reader = probe;
        if (ReadString(next.Data, 0, biff8 ? 2 : 1, biff8, &reader, cell.Text)) cell.Kind = TXlsValueKind::Text;
      }
      break;
    }
    case 1:  // a truth value is 0 or 1; anything else is no value
      if (d[8] == 0 || d[8] == 1) {
        cell.Kind = TXlsValueKind::Boolean;
        cell.Number = d[8];
      }
      break;
    case 2:
      cell.Text = XlsErrorText(static_cast<unsigned char>(d[8]));
      if (!cell.Text.empty()) cell.Kind = TXlsValueKind::Error;
      break;
    case 3:
      cell.Kind = TXlsValueKind::Text;
      break;
    default:
      break;
  }
  return cell;
}

}  // namespace

TXlsRecords ReadXlsRecords(std::string_view stream) {
  TXlsRecords out;
  TRecordReader globals(stream, 0);
  TRecord record;
  if (!globals.Next(record) || !IsBof(record.Type)) return out;
  const bool biff8 = record.Type == kBof58Record && Get16(record.Data, 0) == kBiff8Version;
  std::map<int, std::string> formats;
  std::vector<int> xfFormats;
  std::vector<TSheetPlace> places;
  while (globals.Next(record) && record.Type != kEofRecord) {
    switch (record.Type) {
      case kDateModeRecord:
        out.Date1904 = Get16(record.Data, 0) == 1;
        break;
      case kFormatRecord: {
        std::string code;
        if (ReadString(record.Data, 2, biff8 ? 2 : 1, biff8, nullptr, code)) {
          formats[static_cast<int>(Get16(record.Data, 0))] = code;
        }
        break;
      }
      case kXfRecord:
        xfFormats.push_back(static_cast<int>(Get16(record.Data, 2)));
        break;
      case kBoundSheetRecord: {
        // Offset (4), state (1: 0 visible, 1 hidden, 2 very hidden), kind
        // (1: 0 a worksheet, 2 a chart sheet), name.
        if (record.Data.size() < 8) break;
        const unsigned state = static_cast<unsigned char>(record.Data[4]) & 0x03;
        const unsigned kind = static_cast<unsigned char>(record.Data[5]);
        if (state == 1 || state == 2) ++out.Losses[TReadLoss::HiddenSheets];
        if (kind == 2) ++out.Losses[TReadLoss::Charts];
        // Worksheets only, as many as a workbook holds.
        if (kind != 0 || places.size() >= 255) break;
        TSheetPlace place;
        place.Offset = Get32(record.Data, 0);
        ReadString(record.Data, 6, 1, biff8, nullptr, place.Name);
        places.push_back(std::move(place));
        break;
      }
      case kNameRecord:
        if (record.Data.size() >= 2 && (Get16(record.Data, 0) & (kNameHidden | kNameBuiltIn)) == 0) {
          ++out.Losses[TReadLoss::DefinedNames];
        }
        break;
      default:
        break;
    }
  }
  out.Readable = true;
  auto formatOfXf = [&](std::uint32_t xf) -> std::string {
    if (xf >= xfFormats.size()) return {};
    const int index = xfFormats[xf];
    const auto own = formats.find(index);
    std::string code = own != formats.end() ? own->second : XlsBuiltinFormat(index);
    if (code == "General" || code == "GENERAL") code.clear();
    return code;
  };
  for (const TSheetPlace& place : places) {
    TXlsSheetRecords sheet;
    sheet.Name = place.Name;
    TRecordReader reader(stream, place.Offset);
    if (!reader.Next(record) || !IsBof(record.Type)) {
      out.Sheets.push_back(std::move(sheet));
      continue;
    }
    auto addFormat = [&](std::uint32_t row, std::uint32_t col, std::uint32_t xf) {
      std::string code = formatOfXf(xf);
      if (code.empty()) return;
      TXlsValueCell cell;
      cell.Row = static_cast<int>(row) + 1;
      cell.Col = static_cast<int>(col) + 1;
      cell.Format = std::move(code);
      sheet.NumberFormats.push_back(std::move(cell));
    };
    // The sheet's records up to its EOF; a chart embedded in the sheet
    // stands inside as a substream of its own, from its BOF to its EOF.
    int embedded = 0;
    for (std::size_t at = reader.At(); reader.Next(record); at = reader.At()) {
      if (IsBof(record.Type)) {
        ++embedded;
        out.EmbeddedMarks.push_back(at);
        continue;
      }
      if (record.Type == kEofRecord) {
        if (embedded == 0) break;
        --embedded;
        out.EmbeddedMarks.push_back(at);
        continue;
      }
      if (embedded > 0) continue;
      const std::string_view d = record.Data;
      switch (record.Type) {
        case kMergedCellsRecord:  // a count, then the ranges
          out.Losses[TReadLoss::MergedRanges] += static_cast<int>(Get16(d, 0));
          continue;
        case kNoteRecord:  // one per comment
          ++out.Losses[TReadLoss::Comments];
          continue;
        case kObjectRecord:
          if (biff8) CountObject(d, out.Losses);
          continue;
        case kDataValidationRecord:
          ++out.Losses[TReadLoss::DataValidations];
          continue;
        case kConditionalFormatRecord:
          ++out.Losses[TReadLoss::ConditionalFormats];
          continue;
        case kHyperlinkRecord:
          ++out.Losses[TReadLoss::Hyperlinks];
          continue;
        default:
          break;
      }
      // Cell records: row (2), column (2), XF (2), ...
      if (d.size() < 6) continue;
      const std::uint32_t row = Get16(d, 0);
      const std::uint32_t col = Get16(d, 2);
      const std::uint32_t xf = Get16(d, 4);
      switch (record.Type) {
        case kFormulaRecord: {
          if (d.size() < 14) break;
          TXlsValueCell cell = FormulaValue(d, biff8, reader);
          cell.Row = static_cast<int>(row) + 1;
          cell.Col = static_cast<int>(col) + 1;
          cell.Format = formatOfXf(xf);
          sheet.Cells.push_back(std::move(cell));
          break;
        }
        case kBoolErrRecord: {  // value (1), 1 when the value is an error code (1)
          if (d.size() < 8) break;
          TXlsValueCell cell;
          cell.Row = static_cast<int>(row) + 1;
          cell.Col = static_cast<int>(col) + 1;
          if (d[7] != 0) {
            cell.Text = XlsErrorText(static_cast<unsigned char>(d[6]));
            if (!cell.Text.empty()) cell.Kind = TXlsValueKind::Error;
          } else if (d[6] == 0 || d[6] == 1) {
            cell.Kind = TXlsValueKind::Boolean;
            cell.Number = d[6];
          }
          sheet.Cells.push_back(std::move(cell));
          break;
        }
        case kNumberRecord:
        case kRkRecord:
          addFormat(row, col, xf);
          break;
        case kMulRkRecord: {  // row, first column, (XF, RK) each, last column
          for (std::size_t at = 4, c = col; at + 6 <= d.size() - 2; at += 6, ++c) {
            addFormat(row, static_cast<std::uint32_t>(c), Get16(d, at));
          }
          break;
        }
        default:
          break;
      }
    }
    out.Sheets.push_back(std::move(sheet));
  }
  return out;
}

}  // namespace kvx::workbook
