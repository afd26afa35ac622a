#include "platform/workbook/xlsx_checks.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <orcus/sax_ns_parser.hpp>
#include <orcus/xml_namespace.hpp>
#include <string_view>
#include <vector>

#include "platform/text_encoding.h"
#include "platform/workbook/cell_reference.h"
#include "platform/workbook/formula_engine.h"
#include "platform/workbook/read_failure.h"
#include "platform/workbook/workbook_internal.h"
#include "platform/workbook/xlsx_text.h"

namespace kvx::workbook {

namespace {

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kCentralHeader = 0x02014b50;
constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kZip64Locator = 0x07064b50;
constexpr std::uint32_t kZip64EndOfDirectory = 0x06064b50;
// Deflate cannot expand more than about 1032 to 1.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

// Little-endian fields at an offset; zero past the end (callers check the
// lengths first).
std::uint64_t Field(const std::string& bytes, std::uint64_t at, int size) {
  std::uint64_t value = 0;
  for (int k = size - 1; k >= 0; --k) {
    const std::uint64_t i = at + static_cast<std::uint64_t>(k);
    value = (value << 8) | (i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u);
  }
  return value;
}

bool Fits(const std::string& bytes, std::uint64_t at, std::uint64_t length) {
  return at <= bytes.size() && length <= bytes.size() - at;
}

struct Entry {
  std::string Name;
  int Method = 0;
  std::uint64_t Compressed = 0;
  std::uint64_t Uncompressed = 0;
  std::uint64_t LocalOffset = 0;
  std::uint64_t DataOffset = 0;
  std::uint32_t Crc = 0;
};

// Replaces sizes and offset marked 0xFFFFFFFF by those of the zip64 extra
// field (id 1); false when the field is missing or short.
bool ApplyZip64(const std::string& bytes, std::uint64_t extra, std::uint64_t extraLength, bool wantOffset,
                Entry& entry) {
  const bool wantUncompressed = entry.Uncompressed == 0xFFFFFFFFu;
  const bool wantCompressed = entry.Compressed == 0xFFFFFFFFu;
  wantOffset = wantOffset && entry.LocalOffset == 0xFFFFFFFFu;
  if (!wantUncompressed && !wantCompressed && !wantOffset) return true;
  std::uint64_t at = extra;
  const std::uint64_t end = extra + extraLength;
  while (at + 4 <= end) {
    const std::uint64_t id = Field(bytes, at, 2);
    const std::uint64_t size = Field(bytes, at + 2, 2);
    if (at + 4 + size > end) return false;
    if (id == 1) {
      std::uint64_t field = at + 4;
      const std::uint64_t stop = field + size;
      auto take = [&](bool want, std::uint64_t& value) {
        if (!want) return true;
        if (field + 8 > stop) return false;
        value = Field(bytes, field, 8);
        field += 8;
        return true;
      };
      return take(wantUncompressed, entry.Uncompressed) && take(wantCompressed, entry.Compressed) &&
             take(wantOffset, entry.LocalOffset);
    }
    at += 4 + size;
  }
  return false;
}

bool ReadDirectory(const std::string& bytes, std::vector<Entry>& entries, std::string& error) {
  // A file that starts as a zip but lacks its end was cut short.
  const bool zipStart = bytes.size() >= 4 && Field(bytes, 0, 4) == kLocalHeader;
  if (bytes.empty()) {
    error = ReadFailure(TReadFailure::Empty);
    return false;
  }
  if (bytes.size() < 22) {
    error = ReadFailure(zipStart ? TReadFailure::Truncated : TReadFailure::NotAZip);
    return false;
  }
  // The end record, searched backwards over a possible comment.
  std::uint64_t end = bytes.size() - 22;
  const std::uint64_t lowest = bytes.size() > 22 + 65535 ? bytes.size() - 22 - 65535 : 0;
  while (Field(bytes, end, 4) != kEndOfDirectory) {
    if (end == lowest) {
      error = ReadFailure(zipStart ? TReadFailure::Truncated : TReadFailure::NotAZip);
      return false;
    }
    --end;
  }
  std::uint64_t count = Field(bytes, end + 10, 2);
  std::uint64_t directory = Field(bytes, end + 16, 4);
  std::uint64_t directorySize = Field(bytes, end + 12, 4);
  if ((count == 0xFFFF || directory == 0xFFFFFFFFu || directorySize == 0xFFFFFFFFu) && end >= 20 &&
      Field(bytes, end - 20, 4) == kZip64Locator) {
    const std::uint64_t record = Field(bytes, end - 20 + 8, 8);
    if (!Fits(bytes, record, 56) || Field(bytes, record, 4) != kZip64EndOfDirectory) {
      error = ReadFailure(TReadFailure::DamagedZip);
      return false;
    }
    count = Field(bytes, record + 32, 8);
    directorySize = Field(bytes, record + 40, 8);
    directory = Field(bytes, record + 48, 8);
  }
  if (!Fits(bytes, directory, directorySize) || count > directorySize / 46) {
    error = ReadFailure(TReadFailure::DamagedZip);
    return false;
  }
  std::uint64_t at = directory;
  std::uint64_t total = 0;
  for (std::uint64_t k = 0; k < count; ++k) {
    if (!Fits(bytes, at, 46) || Field(bytes, at, 4) != kCentralHeader) {
      error = ReadFailure(TReadFailure::DamagedZip);
      return false;
    }
    Entry entry;
    entry.Method = static_cast<int>(Field(bytes, at + 10, 2));
    entry.Compressed = Field(bytes, at + 20, 4);
    entry.Uncompressed = Field(bytes, at + 24, 4);
    const std::uint64_t nameLength = Field(bytes, at + 28, 2);
    const std::uint64_t extraLength = Field(bytes, at + 30, 2);
    const std::uint64_t commentLength = Field(bytes, at + 32, 2);
    entry.LocalOffset = Field(bytes, at + 42, 4);
    entry.Crc = static_cast<std::uint32_t>(Field(bytes, at + 16, 4));
    if (!Fits(bytes, at + 46, nameLength + extraLength + commentLength)) {
      error = ReadFailure(TReadFailure::DamagedZip);
      return false;
    }
    entry.Name = bytes.substr(at + 46, nameLength);
    if (!ApplyZip64(bytes, at + 46 + nameLength, extraLength, true, entry)) {
      error = ReadFailure(TReadFailure::DamagedPart, entry.Name);
      return false;
    }
    at += 46 + nameLength + extraLength + commentLength;

    // The local header must agree with the directory.
    const std::uint64_t local = entry.LocalOffset;
    if (!Fits(bytes, local, 30) || Field(bytes, local, 4) != kLocalHeader ||
        static_cast<int>(Field(bytes, local + 8, 2)) != entry.Method) {
      error = ReadFailure(TReadFailure::DamagedPart, entry.Name);
      return false;
    }
    const std::uint64_t flags = Field(bytes, local + 6, 2);
    const std::uint64_t localName = Field(bytes, local + 26, 2);
    const std::uint64_t localExtra = Field(bytes, local + 28, 2);
    if (!Fits(bytes, local + 30, localName + localExtra) || bytes.compare(local + 30, localName, entry.Name) != 0) {
      error = ReadFailure(TReadFailure::DamagedPart, entry.Name);
      return false;
    }
    if ((flags & 8u) == 0) {
      Entry declared;
      declared.Compressed = Field(bytes, local + 18, 4);
      declared.Uncompressed = Field(bytes, local + 22, 4);
      if (!ApplyZip64(bytes, local + 30 + localName, localExtra, false, declared) ||
          declared.Compressed != entry.Compressed || declared.Uncompressed != entry.Uncompressed) {
        error = ReadFailure(TReadFailure::DamagedPart, entry.Name);
        return false;
      }
    }
    entry.DataOffset = local + 30 + localName + localExtra;
    if (!Fits(bytes, entry.DataOffset, entry.Compressed)) {
      error = ReadFailure(zipStart ? TReadFailure::Truncated : TReadFailure::DamagedPart, entry.Name);
      return false;
    }
    // The declared sizes against the limits (the inflated bytes are
    // counted again when the parts are unpacked).
    if (entry.Uncompressed > kMaxXlsxPartBytes) {
      error = ReadFailure(TReadFailure::PartTooLarge, entry.Name);
      return false;
    }
    total += entry.Uncompressed;
    if (total > kMaxXlsxBytes) {
      error = ReadFailure(TReadFailure::TooLarge);
      return false;
    }
    const bool plausible = entry.Method == 0   ? entry.Uncompressed == entry.Compressed
                           : entry.Method == 8 ? entry.Uncompressed <= entry.Compressed * kMaxDeflateRatio + 1024
                                               : false;
    if (!plausible) {
      error = ReadFailure(TReadFailure::DamagedPart, entry.Name);
      return false;
    }
    entries.push_back(std::move(entry));
  }
  return true;
}

// Unpacks the part in pieces, counting the bytes it gives, and keeps them
// in `text` when that is given. False with the reason when the part gives
// more than the limit of one part or, with the `total` of the parts
// unpacked before it, of the file; or when its data is damaged: cannot be
// inflated, or gives another size or checksum than the directory says.
bool InflateChecked(const std::string& bytes, const Entry& entry, std::string* text, std::uint64_t& total,
                    std::string& error) {
  if (text != nullptr) text->clear();
  auto damaged = [&] {
    error = ReadFailure(TReadFailure::DamagedPart, entry.Name);
    return false;
  };
  std::uint64_t produced = 0;
  uLong crc = crc32(0L, Z_NULL, 0);
  auto take = [&](const char* data, std::size_t size) {
    produced += size;
    if (produced > kMaxXlsxPartBytes) {
      error = ReadFailure(TReadFailure::PartTooLarge, entry.Name);
      return false;
    }
    if (total + produced > kMaxXlsxBytes) {
      error = ReadFailure(TReadFailure::TooLarge);
      return false;
    }
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(size));
    if (text != nullptr) text->append(data, size);
    return true;
  };
  if (entry.Method == 0) {
    for (std::uint64_t at = 0; at < entry.Compressed;) {
      const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(entry.Compressed - at, 1u << 20));
      if (!take(bytes.data() + entry.DataOffset + at, piece)) return false;
      at += piece;
    }
  } else {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return damaged();
    struct End {
      z_stream* Stream;
      ~End() { inflateEnd(Stream); }
    } end{&stream};
    std::vector<char> out(1u << 16);
    std::uint64_t fed = 0;
    int result = Z_OK;
    while (result != Z_STREAM_END) {
      if (stream.avail_in == 0 && fed < entry.Compressed) {
        const std::uint64_t piece = std::min<std::uint64_t>(entry.Compressed - fed, 1u << 20);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + entry.DataOffset + fed));
        stream.avail_in = static_cast<uInt>(piece);
        fed += piece;
      }
      stream.next_out = reinterpret_cast<Bytef*>(out.data());
      stream.avail_out = static_cast<uInt>(out.size());
      result = inflate(&stream, Z_NO_FLUSH);
      const std::size_t got = out.size() - stream.avail_out;
      if (got > 0 && !take(out.data(), got)) return false;
      if (result == Z_STREAM_END) break;
      // No progress with all input given: the data ends before the stream.
      if (result != Z_OK && !(result == Z_BUF_ERROR && got == 0 && stream.avail_in == 0 && fed < entry.Compressed)) {
        return damaged();
      }
    }
  }
  if (produced != entry.Uncompressed || static_cast<std::uint32_t>(crc) != entry.Crc) return damaged();
  total += produced;
  return true;
}

// A part that was checked before (InflateChecked), unpacked again.
std::string Unpacked(const std::string& bytes, const Entry& entry) {
  std::string text;
  std::uint64_t total = 0;
  std::string error;
  InflateChecked(bytes, entry, &text, total, error);
  return text;
}

bool AllDigits(std::string_view s) {
  return !s.empty() && s.size() <= 9 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view LocalName(std::string_view name) {
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// Every <col> element of the text has 1 <= min <= max <= 16384.
bool ColumnsHaveRanges(std::string_view text) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    std::size_t i = at + 1;
    std::size_t nameEnd = i;
    while (nameEnd < text.size() && !space(text[nameEnd]) && text[nameEnd] != '/' && text[nameEnd] != '>') ++nameEnd;
    if (LocalName(text.substr(i, nameEnd - i)) != "col") continue;
    std::string_view min;
    std::string_view max;
    i = nameEnd;
    while (true) {
      while (i < text.size() && space(text[i])) ++i;
      if (i >= text.size()) return false;
      if (text[i] == '/' || text[i] == '>') break;
      const std::size_t attrStart = i;
      while (i < text.size() && text[i] != '=' && !space(text[i]) && text[i] != '>') ++i;
      const std::string_view attr = LocalName(text.substr(attrStart, i - attrStart));
      while (i < text.size() && space(text[i])) ++i;
      if (i >= text.size() || text[i] != '=') return false;
      ++i;
      while (i < text.size() && space(text[i])) ++i;
      if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) return false;
      const std::size_t close = text.find(text[i], i + 1);
      if (close == std::string_view::npos) return false;
      const std::string_view value = text.substr(i + 1, close - i - 1);
      if (attr == "min") min = value;
      if (attr == "max") max = value;
      i = close + 1;
    }
    if (!AllDigits(min) || !AllDigits(max) || min.size() > 9 || max.size() > 9) return false;
    const long first = std::stol(std::string(min));
    const long last = std::stol(std::string(max));
    if (first < 1 || first > last || last > 16384) return false;
  }
  return true;
}

// ------------------------------------------------------ formula fallback

// An element found in the XML text: its qualified name, where it starts,
// where its start tag ends (after '>'), where it ends (after its end tag or
// the self-closing tag) and where its content ends.
struct Element {
  std::string_view QName;
  std::size_t Start = 0;
  std::size_t TagEnd = 0;
  std::size_t ContentEnd = 0;
  std::size_t End = 0;
  bool Empty = false;
};

// The next element of local name `local` from `from` on (before `limit`).
bool FindElement(std::string_view text, std::string_view local, std::size_t from, std::size_t limit, Element& e) {
  for (std::size_t at = text.find('<', from); at != std::string_view::npos && at < limit; at = text.find('<', at + 1)) {
    std::size_t nameEnd = at + 1;
    while (nameEnd < limit && text[nameEnd] != ' ' && text[nameEnd] != '>' && text[nameEnd] != '/' &&
           text[nameEnd] != '\t' && text[nameEnd] != '\r' && text[nameEnd] != '\n') {
      ++nameEnd;
    }
    const std::string_view qname = text.substr(at + 1, nameEnd - at - 1);
    if (LocalName(qname) != local || qname.empty() || qname[0] == '/') continue;
    const std::size_t close = text.find('>', nameEnd);
    if (close == std::string_view::npos || close >= limit) return false;
    e.QName = qname;
    e.Start = at;
    e.TagEnd = close + 1;
    e.Empty = text[close - 1] == '/';
    if (e.Empty) {
      e.ContentEnd = e.End = e.TagEnd;
      return true;
    }
    const std::string endTag = "</" + std::string(qname) + ">";
    const std::size_t endAt = text.find(endTag, e.TagEnd);
    if (endAt == std::string_view::npos || endAt + endTag.size() > limit) return false;
    e.ContentEnd = endAt;
    e.End = endAt + endTag.size();
    return true;
  }
  return false;
}

// The value of an attribute (by local name) of a start tag; empty if none.
std::string_view Attribute(std::string_view tag, std::string_view local) {
  std::size_t i = tag.find_first_of(" \t\r\n");
  while (i != std::string_view::npos && i < tag.size()) {
    while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t' || tag[i] == '\r' || tag[i] == '\n')) ++i;
    const std::size_t eq = tag.find('=', i);
    if (eq == std::string_view::npos || eq + 1 >= tag.size()) return {};
    const std::string_view name = tag.substr(i, eq - i);
    const char quote = tag[eq + 1];
    const std::size_t close = tag.find(quote, eq + 2);
    if (close == std::string_view::npos) return {};
    if (LocalName(name) == local) return tag.substr(eq + 2, close - eq - 2);
    i = close + 1;
  }
  return {};
}

// The start tag without its attribute `local` and without the closing '>'.
std::string WithoutAttribute(std::string_view tag, std::string_view local) {
  std::string out;
  std::size_t i = 0;
  while (i < tag.size()) {
    const std::size_t eq = tag.find('=', i);
    if (eq == std::string_view::npos || eq + 1 >= tag.size()) break;
    std::size_t nameStart = eq;
    while (nameStart > i && tag[nameStart - 1] != ' ' && tag[nameStart - 1] != '\t' && tag[nameStart - 1] != '\n' &&
           tag[nameStart - 1] != '\r') {
      --nameStart;
    }
    const char quote = tag[eq + 1];
    const std::size_t close = tag.find(quote, eq + 2);
    if (close == std::string_view::npos) break;
    out += tag.substr(i, nameStart - i);
    if (LocalName(tag.substr(nameStart, eq - nameStart)) != local) out += tag.substr(nameStart, close + 1 - nameStart);
    i = close + 1;
  }
  out += tag.substr(i);
  while (!out.empty() && (out.back() == '>' || out.back() == '/')) out.pop_back();
  return out;
}

// A formula the workbook's scan refuses, or the formula engine cannot
// parse with the file's sheet names (the reading library refuses the whole
// file for some, and loses the text and the stored value of the others).
bool BadFormula(std::string_view escapedText, const TFormulaChecker& checker) {
  const std::string text = DecodeXmlEntities(escapedText);
  return !text.empty() && !checker.Accepts(text);
}

// Replaces every cell whose formula is bad by the value the file stored
// for it (a number, a truth value, a text) or, without one, by the
// formula's text. Shared formulas whose first cell is bad go with it.
// True when the part changed.
bool ReplaceBadFormulas(std::string& part, int sheet, const TFormulaChecker& checker,
                        std::vector<TXlsxTextCell>& texts) {
  if (part.find("<f") == std::string::npos && part.find(":f") == std::string::npos) return false;
  const std::string_view text(part);
  std::vector<std::string> badShared;
  Element f;
  for (std::size_t at = 0; FindElement(text, "f", at, text.size(), f); at = f.End) {
    const std::string_view tag = text.substr(f.Start, f.TagEnd - f.Start);
    if (!f.Empty && Attribute(tag, "t") == "shared" &&
        BadFormula(text.substr(f.TagEnd, f.ContentEnd - f.TagEnd), checker)) {
      badShared.emplace_back(Attribute(tag, "si"));
    }
  }
  std::string out;
  std::size_t copied = 0;
  bool changed = false;
  Element c;
  for (std::size_t at = 0; FindElement(text, "c", at, text.size(), c); at = c.End) {
    if (c.Empty || !FindElement(text, "f", c.TagEnd, c.ContentEnd, f)) continue;
    const std::string_view formulaTag = text.substr(f.Start, f.TagEnd - f.Start);
    const std::string_view formula = text.substr(f.TagEnd, f.ContentEnd - f.TagEnd);
    bool bad = !f.Empty && BadFormula(formula, checker);
    if (Attribute(formulaTag, "t") == "shared") {
      for (const std::string& si : badShared) bad = bad || Attribute(formulaTag, "si") == si;
    }
    if (!bad) continue;
    const std::string_view cellTag = text.substr(c.Start, c.TagEnd - c.Start);
    const std::string_view type = Attribute(cellTag, "t");
    const std::string prefix(c.QName.substr(0, c.QName.size() - 1));  // "" or "x:"
    Element v;
    const bool hasValue = FindElement(text, "v", c.TagEnd, c.ContentEnd, v) && !v.Empty;
    const std::string_view value = hasValue ? text.substr(v.TagEnd, v.ContentEnd - v.TagEnd) : std::string_view();
    std::string cell = WithoutAttribute(cellTag, "t");
    if (hasValue && (type.empty() || type == "n" || type == "b")) {
      if (type == "b") cell += " t=\"b\"";
      for (const std::string_view piece :
           {std::string_view("><"), std::string_view(prefix), std::string_view("v>"), value, std::string_view("</"),
            std::string_view(prefix), std::string_view("v></"), c.QName, std::string_view(">")}) {
        cell.append(piece);
      }
    } else {
      // The reading library takes no texts but shared ones: the cell stays
      // empty here and gets its text after the reading.
      std::string shown = hasValue && type == "str" ? std::string() : std::string("=");
      shown.append(hasValue && type == "str" ? value : formula);
      if (const auto at = ParseRange(Attribute(cellTag, "r")); at && at->IsSingleCell() && sheet >= 0) {
        texts.push_back(TXlsxTextCell{sheet, at->Row1, at->Col1, DecodeXmlEntities(shown)});
      }
      cell += "/>";
    }
    out.append(part, copied, c.Start - copied);
    out += cell;
    copied = c.End;
    changed = true;
  }
  if (!changed) return false;
  out.append(part, copied, std::string::npos);
  part = std::move(out);
  return true;
}

// Replaces every cell holding an inline string (t="inlineStr", as some
// programs write all their texts) by an empty cell of its style, and puts
// its text into `texts`: the reading library takes no texts but shared
// ones. The text is that of the <t> elements of its <is>, phonetic runs
// left out. True when the part changed.
bool ReplaceInlineStrings(std::string& part, int sheet, std::vector<TXlsxTextCell>& texts) {
  if (part.find("inlineStr") == std::string::npos) return false;
  const std::string_view text(part);
  std::string out;
  std::size_t copied = 0;
  bool changed = false;
  Element c;
  for (std::size_t at = 0; FindElement(text, "c", at, text.size(), c); at = c.End) {
    const std::string_view cellTag = text.substr(c.Start, c.TagEnd - c.Start);
    if (Attribute(cellTag, "t") != "inlineStr") continue;
    const auto where = ParseRange(Attribute(cellTag, "r"));
    if (!where || !where->IsSingleCell() || sheet < 0) continue;
    std::string value;
    Element is;
    if (!c.Empty && FindElement(text, "is", c.TagEnd, c.ContentEnd, is) && !is.Empty) {
      std::vector<std::pair<std::size_t, std::size_t>> phonetic;
      Element r;
      for (std::size_t from = is.TagEnd; FindElement(text, "rPh", from, is.ContentEnd, r); from = r.End) {
        phonetic.emplace_back(r.Start, r.End);
      }
      Element t;
      for (std::size_t from = is.TagEnd; FindElement(text, "t", from, is.ContentEnd, t); from = t.End) {
        const bool inPhonetic = std::any_of(phonetic.begin(), phonetic.end(), [&](const auto& range) {
          return t.Start > range.first && t.End <= range.second;
        });
        if (!inPhonetic && !t.Empty) value.append(text.substr(t.TagEnd, t.ContentEnd - t.TagEnd));
      }
    }
    if (!value.empty()) texts.push_back(TXlsxTextCell{sheet, where->Row1, where->Col1, DecodeXmlEntities(value)});
    out.append(part, copied, c.Start - copied);
    out += WithoutAttribute(cellTag, "t") + "/>";
    copied = c.End;
    changed = true;
  }
  if (!changed) return false;
  out.append(part, copied, std::string::npos);
  part = std::move(out);
  return true;
}

// The entry of a part name: the same name, else one that differs only in
// the case of its letters (part names compare without case); null if none.
const Entry* FindPart(const std::vector<Entry>& entries, const std::string& name) {
  const Entry* folded = nullptr;
  for (const Entry& entry : entries) {
    if (entry.Name == name) return &entry;
    if (folded == nullptr && entry.Name.size() == name.size() &&
        std::equal(name.begin(), name.end(), entry.Name.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        })) {
      folded = &entry;
    }
  }
  return folded;
}

struct Relationship {
  std::string Id;
  std::string Type;
  std::string Target;  // as written (entities decoded)
  bool External = false;
  std::size_t TargetStart = 0;  // where the attribute's value stands in the part
  std::size_t TargetLength = 0;
};

std::vector<Relationship> Relationships(std::string_view part) {
  std::vector<Relationship> relationships;
  Element e;
  for (std::size_t at = 0; FindElement(part, "Relationship", at, part.size(), e); at = e.End) {
    const std::string_view tag = part.substr(e.Start, e.TagEnd - e.Start);
    Relationship r;
    r.Id = DecodeXmlEntities(Attribute(tag, "Id"));
    r.Type = DecodeXmlEntities(Attribute(tag, "Type"));
    const std::string_view target = Attribute(tag, "Target");
    r.Target = DecodeXmlEntities(target);
    r.External = Attribute(tag, "TargetMode") == "External";
    r.TargetStart = static_cast<std::size_t>(target.data() - part.data());
    r.TargetLength = target.size();
    relationships.push_back(std::move(r));
  }
  return relationships;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The local name of the first element of an XML text.
std::string_view RootElement(std::string_view xml) {
  for (std::size_t at = xml.find('<'); at != std::string_view::npos; at = xml.find('<', at + 1)) {
    if (at + 1 < xml.size() && (xml[at + 1] == '?' || xml[at + 1] == '!')) continue;
    std::size_t end = at + 1;
    while (end < xml.size() && xml[end] != ' ' && xml[end] != '>' && xml[end] != '/' && xml[end] != '\t' &&
           xml[end] != '\r' && xml[end] != '\n') {
      ++end;
    }
    return LocalName(xml.substr(at + 1, end - at - 1));
  }
  return {};
}

// The target that names `part` from the folder of `source` with relative
// steps only ("../" to go up): the form the reading library follows.
std::string RelativeTarget(const std::string& source, const std::string& part) {
  const std::size_t folderEnd = source.rfind('/');
  std::vector<std::string_view> from;
  if (folderEnd != std::string::npos) {
    for (const auto piece : internal::SplitAt(std::string_view(source).substr(0, folderEnd), '/'))
      from.push_back(piece);
  }
  const std::vector<std::string_view> to = internal::SplitAt(part, '/');
  std::size_t common = 0;
  while (common < from.size() && common + 1 < to.size() && from[common] == to[common]) ++common;
  std::string target;
  for (std::size_t k = common; k < from.size(); ++k) target += "../";
  for (std::size_t k = common; k < to.size(); ++k) {
    if (k > common) target += '/';
    target += to[k];
  }
  return target;
}

std::string EscapeAttribute(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

// The package as the reading library will walk it: the workbook part and,
// in the workbook's order, the names of the sheets and their worksheet
// parts ("" for a sheet of another kind, a chart sheet). Relationship parts
// whose targets the library would not find (a target from the package
// root, "./", other letter case) are rewritten into `replaced` with the
// relative targets it follows.
struct Package {
  std::string Workbook;
  std::vector<std::string> SheetNames;
  std::vector<std::string> SheetParts;
};

bool ReadPackage(const std::string& bytes, const std::vector<Entry>& entries, Package& package,
                 std::vector<std::pair<std::size_t, std::string>>& replaced, std::string& error) {
  std::map<std::string, std::vector<Relationship>> relationsOf;  // by source part
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const std::string& name = entries[k].Name;
    const std::size_t folder = name.rfind("_rels/");
    if (!EndsWith(name, ".rels") || folder == std::string::npos || name.find('/', folder + 6) != std::string::npos ||
        (folder > 0 && name[folder - 1] != '/')) {
      continue;
    }
    const std::string source = name.substr(0, folder) + name.substr(folder + 6, name.size() - folder - 6 - 5);
    std::string part = Unpacked(bytes, entries[k]);
    std::vector<Relationship> relations = Relationships(part);
    std::string rewritten;
    std::size_t copied = 0;
    for (Relationship& r : relations) {
      if (r.External || r.TargetLength == 0) continue;
      const Entry* found = FindPart(entries, ResolvePartName(source, r.Target));
      if (found == nullptr) continue;
      const std::string target = RelativeTarget(source, found->Name);
      if (target != r.Target) {
        rewritten.append(part, copied, r.TargetStart - copied);
        rewritten += EscapeAttribute(target);
        copied = r.TargetStart + r.TargetLength;
      }
      r.Target = found->Name;  // from here on: the part's name
    }
    if (copied > 0) {
      rewritten.append(part, copied, std::string::npos);
      replaced.emplace_back(k, std::move(rewritten));
    }
    relationsOf[source] = std::move(relations);
  }
  // The workbook: the package's office document, whose root is <workbook>.
  for (const Relationship& r : relationsOf[""]) {
    if (!r.External && EndsWith(r.Type, "/officeDocument") && FindPart(entries, r.Target) != nullptr) {
      package.Workbook = r.Target;
    }
  }
  const Entry* workbookEntry = package.Workbook.empty() ? nullptr : FindPart(entries, package.Workbook);
  const std::string workbook = workbookEntry != nullptr ? Unpacked(bytes, *workbookEntry) : std::string();
  if (workbookEntry == nullptr || RootElement(workbook) != "workbook") {
    error = ReadFailure(TReadFailure::NoWorkbookPart);
    return false;
  }
  const std::vector<Relationship>& sheets = relationsOf[package.Workbook];
  bool anyWorksheet = false;
  Element e;
  for (std::size_t at = 0; FindElement(workbook, "sheet", at, workbook.size(), e); at = e.End) {
    const std::string_view tag = std::string_view(workbook).substr(e.Start, e.TagEnd - e.Start);
    const std::string id = DecodeXmlEntities(Attribute(tag, "id"));
    const std::string name = DecodeXmlEntities(Attribute(tag, "name"));
    std::string part;
    bool worksheet = true;
    for (const Relationship& r : sheets) {
      if (r.Id != id) continue;
      worksheet = EndsWith(r.Type, "/worksheet");
      if (FindPart(entries, r.Target) != nullptr) part = r.Target;
    }
    if (worksheet && part.empty()) {
      error = ReadFailure(TReadFailure::MissingSheetPart, name);
      return false;
    }
    anyWorksheet = anyWorksheet || worksheet;
    package.SheetNames.push_back(name);
    package.SheetParts.push_back(worksheet ? part : std::string());
  }
  if (!anyWorksheet) {
    error = ReadFailure(TReadFailure::NoSheets);
    return false;
  }
  return true;
}

void Put(std::string& out, std::uint64_t value, int size) {
  for (int k = 0; k < size; ++k) out += static_cast<char>((value >> (8 * k)) & 0xFF);
}

// A new zip of the entries: the replaced parts stored, the others copied
// as they were compressed.
std::string RebuildZip(const std::string& bytes, const std::vector<Entry>& entries,
                       const std::vector<std::pair<std::size_t, std::string>>& replaced) {
  std::string out;
  std::string directory;
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const Entry& e = entries[k];
    const std::string* data = nullptr;
    for (const auto& [index, text] : replaced) {
      if (index == k) data = &text;
    }
    const int method = data ? 0 : e.Method;
    const std::uint64_t compressed = data ? data->size() : e.Compressed;
    const std::uint64_t uncompressed = data ? data->size() : e.Uncompressed;
    const std::uint32_t crc = data ? static_cast<std::uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(data->data()),
                                                                      static_cast<uInt>(data->size())))
                                   : e.Crc;
    const std::uint64_t offset = out.size();
    Put(out, kLocalHeader, 4);
    Put(out, 20, 2);
    Put(out, 0, 2);  // flags: sizes in the header
    Put(out, static_cast<std::uint64_t>(method), 2);
    Put(out, 0, 4);  // time and date
    Put(out, crc, 4);
    Put(out, compressed, 4);
    Put(out, uncompressed, 4);
    Put(out, e.Name.size(), 2);
    Put(out, 0, 2);
    out += e.Name;
    if (data)
      out += *data;
    else
      out.append(bytes, e.DataOffset, e.Compressed);

    Put(directory, kCentralHeader, 4);
    Put(directory, 20, 2);
    Put(directory, 20, 2);
    Put(directory, 0, 2);
    Put(directory, static_cast<std::uint64_t>(method), 2);
    Put(directory, 0, 4);
    Put(directory, crc, 4);
    Put(directory, compressed, 4);
    Put(directory, uncompressed, 4);
    Put(directory, e.Name.size(), 2);
    Put(directory, 0, 2);
    Put(directory, 0, 2);
    Put(directory, 0, 2);
    Put(directory, 0, 2);
    Put(directory, 0, 4);
    Put(directory, offset, 4);
    directory += e.Name;
  }
  const std::uint64_t directoryOffset = out.size();
  out += directory;
  Put(out, kEndOfDirectory, 4);
  Put(out, 0, 4);
  Put(out, entries.size(), 2);
  Put(out, entries.size(), 2);
  Put(out, directory.size(), 4);
  Put(out, directoryOffset, 4);
  Put(out, 0, 2);
  return out;
}

// Counts the open elements: a document cut short ends with some open,
// which the parser itself lets pass.
struct DepthHandler : orcus::sax_ns_handler {
  long Depth = 0;
  void start_element(const orcus::sax_ns_parser_element&) { ++Depth; }
  void end_element(const orcus::sax_ns_parser_element&) { --Depth; }
};

// True for a part that is no XML (by its name) or well-formed XML.
bool WellFormedXml(const std::string& name, const std::string& text) {
  if (!EndsWith(name, ".xml") && !EndsWith(name, ".rels")) return true;
  try {
    orcus::xmlns_repository repository;
    orcus::xmlns_context context = repository.create_context();
    DepthHandler handler;
    orcus::sax_ns_parser<DepthHandler> parser(text.data(), text.size(), context, handler);
    parser.parse();
    return handler.Depth == 0;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

std::string ResolvePartName(const std::string& sourcePart, const std::string& target) {
  // %XX escapes stand for their byte.
  std::string decoded;
  for (std::size_t i = 0; i < target.size(); ++i) {
    if (target[i] == '%' && i + 2 < target.size() && std::isxdigit(static_cast<unsigned char>(target[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(target[i + 2]))) {
      decoded += static_cast<char>(std::stoi(target.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      decoded += target[i] == '\\' ? '/' : target[i];
    }
  }
  std::string path = decoded;
  if (path.empty() || path[0] != '/') {
    const std::size_t folderEnd = sourcePart.rfind('/');
    path = (folderEnd == std::string::npos ? std::string() : sourcePart.substr(0, folderEnd + 1)) + path;
  }
  std::vector<std::string_view> kept;
  for (const std::string_view piece : internal::SplitAt(path, '/')) {
    if (piece.empty() || piece == ".") continue;
    if (piece == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(piece);
  }
  std::string name;
  for (const std::string_view piece : kept) {
    if (!name.empty()) name += '/';
    name += piece;
  }
  return name;
}

bool PrepareXlsxBytes(std::string& bytes, std::vector<TXlsxTextCell>& texts, std::string& error) {
  std::vector<Entry> entries;
  if (!ReadDirectory(bytes, entries, error)) return false;
  // Every part is unpacked once, counting what it really gives.
  std::uint64_t total = 0;
  for (const Entry& entry : entries) {
    if (!InflateChecked(bytes, entry, nullptr, total, error)) return false;
  }
  // The reading library lets an XML part that is cut short pass as far as
  // it goes, and names no part when one does not parse.
  for (const Entry& entry : entries) {
    if (!WellFormedXml(entry.Name, Unpacked(bytes, entry))) {
      error = ReadFailure(TReadFailure::BadXml, entry.Name);
      return false;
    }
  }
  std::vector<std::pair<std::size_t, std::string>> replaced;
  Package package;
  if (!ReadPackage(bytes, entries, package, replaced, error)) return false;
  std::unique_ptr<TFormulaChecker> checker;
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const Entry& entry = entries[k];
    const auto found = std::find(package.SheetParts.begin(), package.SheetParts.end(), entry.Name);
    if (found == package.SheetParts.end()) continue;
    const int sheet = static_cast<int>(found - package.SheetParts.begin());
    std::string part = Unpacked(bytes, entry);
    // The <col> elements stand before the cell data.
    if (!ColumnsHaveRanges(std::string_view(part).substr(0, part.find("sheetData")))) {
      error = ReadFailure(TReadFailure::DamagedPart, entry.Name);
      return false;
    }
    if (!checker && part.find("<f") != std::string::npos) {
      checker = std::make_unique<TFormulaChecker>(package.SheetNames);
    }
    bool changed = ReplaceInlineStrings(part, sheet, texts);
    changed = (checker && ReplaceBadFormulas(part, sheet, *checker, texts)) || changed;
    if (changed) replaced.emplace_back(k, std::move(part));
  }
  if (!replaced.empty()) {
    // Offsets and sizes of the new file must fit the plain zip fields.
    std::uint64_t size = 0;
    for (const Entry& entry : entries) size += entry.Compressed + entry.Uncompressed + 100 + entry.Name.size();
    if (size >= 0xFFFFFFFFu) {
      error = ReadFailure(TReadFailure::TooLarge);
      return false;
    }
    bytes = RebuildZip(bytes, entries, replaced);
  }
  return true;
}

std::string MalformedXmlPart(const std::string& bytes) {
  std::vector<Entry> entries;
  std::string error;
  if (!ReadDirectory(bytes, entries, error)) return {};
  for (const Entry& entry : entries) {
    if (!WellFormedXml(entry.Name, Unpacked(bytes, entry))) return entry.Name;
  }
  return {};
}

bool CheckXlsxBytes(const std::string& bytes, std::string& error) {
  std::string copy = bytes;
  std::vector<TXlsxTextCell> texts;
  return PrepareXlsxBytes(copy, texts, error);
}

bool ReadPreparedXlsx(const std::string& path, std::string& bytes, std::vector<TXlsxTextCell>& texts,
                      std::string& error) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec && size > kMaxXlsxBytes) {
    error = ReadFailure(TReadFailure::FileTooLarge);
    return false;
  }
  if (!ReadFileBytes(path, bytes, error)) return false;
  return PrepareXlsxBytes(bytes, texts, error);
}

}  // namespace kvx::workbook
