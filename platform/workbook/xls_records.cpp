// The records of a legacy .xls workbook that the reading library leaves
// out: see xls_records.h.
#include "platform/workbook/xls_records.h"

#include <cstring>
#include <map>
#include <set>

#include "platform/text_encoding.h"

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
      const std::string_view block = Sector(difat);
      if (block.empty()) return false;
      for (std::size_t k = 0; k + 4 < sector_ && fatSectors.size() < fatCount; k += 4) {
        fatSectors.push_back(Get32(block, k));
      }
      difat = Get32(block, sector_ - 4);
    }
    for (const std::uint32_t s : fatSectors) {
      const std::string_view block = Sector(s);
      if (block.empty()) return false;
      for (std::size_t k = 0; k < sector_; k += 4) fat_.push_back(Get32(block, k));
    }
    directory_ = Chain(
        Get32(file_, 0x30), fat_, [this](std::uint32_t s) { return Sector(s); }, sector_);
    if (directory_.size() < 128) return false;
    // The mini stream (root entry's chain) and its allocation table.
    const std::string miniFat = Chain(
        Get32(file_, 0x3C), fat_, [this](std::uint32_t s) { return Sector(s); }, sector_);
    for (std::size_t k = 0; k + 4 <= miniFat.size(); k += 4) miniFat_.push_back(Get32(miniFat, k));
    miniStream_ = Chain(
        Get32(directory_, 0x74), fat_, [this](std::uint32_t s) { return Sector(s); }, sector_);
    return true;
  }

  // The stream of that name (ASCII) in the directory; empty when none.
  std::string Stream(std::string_view name) const {
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
      const std::uint64_t size = Get32(entry, 0x78);
      std::string data;
      if (size < cutoff_) {
        data = Chain(
            start, miniFat_, [this](std::uint32_t s) { return MiniSector(s); }, 64);
      } else {
        data = Chain(
            start, fat_, [this](std::uint32_t s) { return Sector(s); }, sector_);
      }
      if (data.size() > size) data.resize(size);
      return data;
    }
    return {};
  }

 private:
  std::string_view Sector(std::uint32_t s) const {
    const std::size_t at = (static_cast<std::size_t>(s) + 1) * sector_;
    if (s > kLastRegularSector || at + sector_ > file_.size()) return {};
    return file_.substr(at, sector_);
  }

  std::string_view MiniSector(std::uint32_t s) const {
    const std::size_t at = static_cast<std::size_t>(s) * 64;
    if (s > kLastRegularSector || at + 64 > miniStream_.size()) return {};
    return std::string_view(miniStream_).substr(at, 64);
  }

  // The sectors of a chain joined; a chain that comes back to a sector or
  // leaves the file ends there (so no chain is longer than the file).
  template <typename SectorOf>
  static std::string Chain(std::uint32_t start, const std::vector<std::uint32_t>& table, SectorOf sectorOf,
                           std::size_t size) {
    std::string out;
    std::vector<bool> visited(table.size(), false);
    std::uint32_t s = start;
    while (s != kEndOfChain && s < table.size() && !visited[s]) {
      visited[s] = true;
      const std::string_view block = sectorOf(s);
      if (block.size() != size) break;
      out.append(block);
      s = table[s];
    }
    return out;
  }

  std::string_view file_;
  std::size_t sector_ = 512;
  std::uint32_t cutoff_ = 4096;
  std::vector<std::uint32_t> fat_;
  std::vector<std::uint32_t> miniFat_;
  std::string directory_;
  std::string miniStream_;
};

// One record: its type and data.
struct TRecord {
  std::uint32_t Type = 0;
  std::string_view Data;
};

class TRecordReader {
 public:
  TRecordReader(std::string_view stream, std::size_t at) : stream_(stream), at_(at) {}

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
    if (!probe.Next(next) || next.Type != 0x003C) return false;
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
    default:
      return "#N/A";
  }
}

std::string XlsBuiltinFormat(int index) {
  return index <= 0 ? std::string() : BuiltinNumberFormat(static_cast<std::size_t>(index));
}

TXlsRecords ReadXlsRecords(std::string_view stream) {
  TXlsRecords out;
  TRecordReader globals(stream, 0);
  TRecord record;
  if (!globals.Next(record) || (record.Type != 0x0809 && record.Type != 0x0409 && record.Type != 0x0209)) return out;
  // BIFF8 says so in its BOF record (0x0600); BIFF5 has 0x0500.
  const bool biff8 = record.Type == 0x0809 && Get16(record.Data, 0) == 0x0600;
  std::map<int, std::string> formats;
  std::vector<int> xfFormats;
  std::vector<TSheetPlace> places;
  while (globals.Next(record) && record.Type != 0x000A) {
    switch (record.Type) {
      case 0x0022:
        out.Date1904 = Get16(record.Data, 0) == 1;
        break;
      case 0x041E: {
        std::string code;
        if (ReadString(record.Data, 2, biff8 ? 2 : 1, biff8, nullptr, code)) {
          formats[static_cast<int>(Get16(record.Data, 0))] = code;
        }
        break;
      }
      case 0x00E0:
        xfFormats.push_back(static_cast<int>(Get16(record.Data, 2)));
        break;
      case 0x0085: {
        // Worksheets only, as many as a workbook holds.
        if (record.Data.size() < 8 || static_cast<unsigned char>(record.Data[5]) != 0 || places.size() >= 255) break;
        TSheetPlace place;
        place.Offset = Get32(record.Data, 0);
        ReadString(record.Data, 6, 1, biff8, nullptr, place.Name);
        places.push_back(std::move(place));
        break;
      }
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
    if (!reader.Next(record) || (record.Type != 0x0809 && record.Type != 0x0409)) {
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
    while (reader.Next(record) && record.Type != 0x000A) {
      const std::string_view d = record.Data;
      if (d.size() < 6) continue;
      const std::uint32_t row = Get16(d, 0);
      const std::uint32_t col = Get16(d, 2);
      const std::uint32_t xf = Get16(d, 4);
      switch (record.Type) {
        case 0x0006: {  // FORMULA
          if (d.size() < 14) break;
          TXlsValueCell cell;
          cell.Row = static_cast<int>(row) + 1;
          cell.Col = static_cast<int>(col) + 1;
          cell.Formula = true;
          cell.Format = formatOfXf(xf);
          if (Get16(d, 12) != 0xFFFF) {
            cell.Kind = TXlsValueKind::Number;
            cell.Number = GetDouble(d, 6);
          } else {
            switch (static_cast<unsigned char>(d[6])) {
              case 0: {  // text: in the STRING record that follows
                TRecord next;
                TRecordReader probe = reader;
                while (probe.Next(next) && next.Type != 0x0207 && next.Type != 0x000A &&
                       (next.Type == 0x04BC || next.Type == 0x0221 || next.Type == 0x0236)) {
                  // shared formulas, arrays and tables come between
                }
                if (next.Type == 0x0207) {
                  reader = probe;
                  if (ReadString(next.Data, 0, biff8 ? 2 : 1, biff8, &reader, cell.Text))
                    cell.Kind = TXlsValueKind::Text;
                }
                break;
              }
              case 1:
                cell.Kind = TXlsValueKind::Boolean;
                cell.Number = d[8] != 0 ? 1.0 : 0.0;
                break;
              case 2:
                cell.Kind = TXlsValueKind::Error;
                cell.Text = XlsErrorText(static_cast<unsigned char>(d[8]));
                break;
              case 3:
                cell.Kind = TXlsValueKind::Text;
                break;
              default:
                break;
            }
          }
          sheet.Cells.push_back(std::move(cell));
          break;
        }
        case 0x0205: {  // BOOLERR
          if (d.size() < 8) break;
          TXlsValueCell cell;
          cell.Row = static_cast<int>(row) + 1;
          cell.Col = static_cast<int>(col) + 1;
          if (d[7] != 0) {
            cell.Kind = TXlsValueKind::Error;
            cell.Text = XlsErrorText(static_cast<unsigned char>(d[6]));
          } else {
            cell.Kind = TXlsValueKind::Boolean;
            cell.Number = d[6] != 0 ? 1.0 : 0.0;
          }
          sheet.Cells.push_back(std::move(cell));
          break;
        }
        case 0x0203:  // NUMBER
        case 0x027E:  // RK
          addFormat(row, col, xf);
          break;
        case 0x00BD: {  // MULRK: row, first column, (XF, RK) each, last column
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
