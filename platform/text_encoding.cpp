#include "platform/text_encoding.h"

#include <algorithm>
#include <array>
#include <exception>
#include <fstream>
#include <iterator>

namespace kvx {

namespace {

// Code points of the bytes 0x80 .. 0x9F; the rest of Windows-1252 equals
// Latin-1. Undefined bytes keep their C1 code point.
constexpr std::array<char32_t, 32> kHighControls = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Decodes one UTF-8 character at `i`; returns false (and advances by one
// byte) on a malformed sequence.
bool DecodeOne(std::string_view s, std::size_t& i, char32_t& c) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char b0 = byte(i);
  if (b0 < 0x80) {
    c = b0;
    ++i;
    return true;
  }
  int extra;
  char32_t minimum;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1, c = b0 & 0x1F, minimum = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, c = b0 & 0x0F, minimum = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, c = b0 & 0x07, minimum = 0x10000;
  } else {
    ++i;
    return false;
  }
  if (i + static_cast<std::size_t>(extra) >= s.size()) {
    ++i;
    return false;
  }
  for (int k = 1; k <= extra; ++k) {
    unsigned char b = byte(i + static_cast<std::size_t>(k));
    if ((b & 0xC0) != 0x80) {
      ++i;
      return false;
    }
    c = (c << 6) | (b & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return false;
  }
  i += static_cast<std::size_t>(extra) + 1;
  return true;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char ch : bytes) {
    auto b = static_cast<unsigned char>(ch);
    char32_t c = (b >= 0x80 && b < 0xA0) ? kHighControls[b - 0x80] : b;
    AppendUtf8(out, c);
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t c;
    if (!DecodeOne(utf8, i, c)) {
      out += '?';
      continue;
    }
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    char mapped = '?';
    for (std::size_t k = 0; k < kHighControls.size(); ++k) {
      if (kHighControls[k] == c) {
        mapped = static_cast<char>(0x80 + k);
        break;
      }
    }
    out += mapped;
  }
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  char32_t c;
  while (i < bytes.size()) {
    if (!DecodeOne(bytes, i, c)) return false;
  }
  return true;
}

namespace {

// UTF-8 file bytes lead by the byte-order mark, which tells other programs
// the encoding (the program's readers drop it).
std::string WithUtf8Mark(std::string_view utf8) {
  std::string out = "\xEF\xBB\xBF";
  out.append(utf8);
  return out;
}

}  // namespace

std::string TextFileBytes(std::string_view utf8) {
  // Plain ASCII is the same in both encodings.
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return std::string(utf8);
  }
  std::string cp1252 = Utf8ToCp1252(utf8);
  if (Cp1252ToUtf8(cp1252) != utf8) return WithUtf8Mark(utf8);
  // The five bytes Windows-1252 leaves undefined would make the file read
  // as no text at all.
  if (cp1252.find_first_of("\x81\x8D\x8F\x90\x9D") != std::string::npos) return WithUtf8Mark(utf8);
  // Windows-1252 bytes that happen to form UTF-8 ("Ã©") would be read as
  // UTF-8, by the whole file or by a line: such a text stays UTF-8.
  // Likewise "ï»¿" at the start, which a reader drops as a byte-order mark,
  // and "þÿ" or "ÿþ", which a reader takes for the mark of UTF-16.
  if (IsValidUtf8(cp1252) || cp1252.starts_with("\xEF\xBB\xBF") || cp1252.starts_with("\xFE\xFF") ||
      cp1252.starts_with("\xFF\xFE")) {
    return WithUtf8Mark(utf8);
  }
  std::size_t start = 0;
  while (start < cp1252.size()) {
    std::size_t end = cp1252.find_first_of("\r\n", start);
    if (end == std::string::npos) end = cp1252.size();
    const std::string_view line(cp1252.data() + start, end - start);
    const bool wide =
        std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (wide && IsValidUtf8(line)) return WithUtf8Mark(utf8);
    start = end + 1;
  }
  return cp1252;
}

bool DecodeUtf16Text(std::string_view bytes, std::string& utf8, std::size_t* damagedAt) {
  utf8.clear();
  if (damagedAt != nullptr) *damagedAt = std::string_view::npos;
  bool bigEndian = false;
  if (bytes.starts_with("\xFF\xFE")) {
    bigEndian = false;
  } else if (bytes.starts_with("\xFE\xFF")) {
    bigEndian = true;
  } else {
    return false;
  }
  constexpr std::size_t kMark = 2;
  const std::string_view units = bytes.substr(kMark);
  const auto unit = [&](std::size_t at) {
    const auto first = static_cast<unsigned char>(units[at]);
    const auto second = static_cast<unsigned char>(units[at + 1]);
    return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  };
  const auto damaged = [&](std::size_t at) {
    if (damagedAt != nullptr && *damagedAt == std::string_view::npos) *damagedAt = kMark + at;
    AppendUtf8(utf8, 0xFFFD);
  };
  utf8.reserve(units.size());
  const std::size_t whole = units.size() - units.size() % 2;
  for (std::size_t i = 0; i < whole; i += 2) {
    char32_t c = unit(i);
    if (c >= 0xDC00 && c <= 0xDFFF) {  // a low surrogate without its high one
      damaged(i);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF) {
      const char32_t low = i + 3 < whole ? unit(i + 2) : 0;
      if (low < 0xDC00 || low > 0xDFFF) {  // a high surrogate without its low one
        damaged(i);
        continue;
      }
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    AppendUtf8(utf8, c);
  }
  if (whole < units.size()) damaged(whole);  // half a unit at the end
  return true;
}

bool Utf16TextToUtf8(std::string_view bytes, std::string& utf8) {
  std::size_t damagedAt = 0;
  return DecodeUtf16Text(bytes, utf8, &damagedAt) && damagedAt == std::string_view::npos;
}

std::string DecodeTextBytes(std::string_view bytes) {
  if (std::string utf8; DecodeUtf16Text(bytes, utf8)) return utf8;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return Cp1252ToUtf8(bytes);
}

TTextEncoding TextBytesEncoding(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return TTextEncoding::Utf16;
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return IsValidUtf8(bytes) ? TTextEncoding::Utf8 : TTextEncoding::Windows1252;
}

TTextFileForm TextBytesForm(std::string_view bytes) {
  return {TextBytesEncoding(bytes), bytes.starts_with("\xEF\xBB\xBF"), bytes.starts_with("\xFE\xFF")};
}

namespace {

// UTF-8 (valid) as UTF-16 after its byte-order mark.
std::string Utf16Bytes(std::string_view utf8, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  out.reserve(2 + 2 * utf8.size());
  const auto unit = [&](char32_t u) {
    const char high = static_cast<char>(u >> 8);
    const char low = static_cast<char>(u & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  };
  std::size_t i = 0;
  char32_t c = 0;
  while (i < utf8.size()) {
    if (!DecodeOne(utf8, i, c)) c = 0xFFFD;
    if (c >= 0x10000) {
      unit(0xD800 + ((c - 0x10000) >> 10));
      unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      unit(c);
    }
  }
  return out;
}

}  // namespace

bool TextFileBytesInForm(std::string_view utf8, const TTextFileForm& form, std::string& bytes) {
  if (IsValidUtf8(utf8)) {
    switch (form.Encoding) {
      case TTextEncoding::Utf8:
        if (form.Utf8Mark) {
          bytes = WithUtf8Mark(utf8);
          return true;
        }
        // A text starting with U+FEFF needs the mark, or a reader drops it.
        if (!utf8.starts_with("\xEF\xBB\xBF")) {
          bytes.assign(utf8);
          return true;
        }
        break;
      case TTextEncoding::Windows1252: {
        // The five bytes Windows-1252 leaves undefined would make the file
        // read as no text at all.
        // A UTF-8 mark before Windows-1252 text (which the reader drops)
        // stays.
        std::string cp1252 = Utf8ToCp1252(utf8);
        if (form.Utf8Mark) cp1252.insert(0, "\xEF\xBB\xBF");
        if (cp1252.find_first_of("\x81\x8D\x8F\x90\x9D") == std::string::npos && DecodeTextBytes(cp1252) == utf8) {
          bytes = std::move(cp1252);
          return true;
        }
        break;
      }
      case TTextEncoding::Utf16:
        bytes = Utf16Bytes(utf8, form.BigEndian);
        return true;
    }
  }
  bytes = TextFileBytes(utf8);
  return false;
}

std::string TextFileBytesKeeping(std::string_view utf8, const TTextFileForm& form) {
  std::string bytes;
  TextFileBytesInForm(utf8, form, bytes);
  return bytes;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    char ch = text[i];
    if (ch == '\r' || ch == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
    ++i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error) {
  bytes.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  // The stream buffer throws when the path names a folder: that is a read
  // failure like any other.
  try {
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::exception&) {
    in.setstate(std::ios::badbit);
  }
  if (in.bad()) {
    bytes.clear();
    error = "cannot read " + path;
    return false;
  }
  return true;
}

bool ReadTextFileLines(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  std::string bytes, error;
  if (!ReadFileBytes(path, bytes, error)) return false;
  lines = SplitTextLines(DecodeTextBytes(bytes));
  return true;
}

std::size_t Utf8Length(std::string_view utf8) {
  std::size_t n = 0;
  for (char ch : utf8) {
    if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++n;
  }
  return n;
}

std::string Utf8Prefix(std::string_view utf8, std::size_t maxChars) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
      if (count == maxChars) return std::string(utf8.substr(0, i));
      ++count;
    }
  }
  return std::string(utf8);
}

std::u32string Utf8ToCodePoints(std::string_view utf8) {
  std::u32string out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t c;
    out += DecodeOne(utf8, i, c) ? c : char32_t{0xFFFD};
  }
  return out;
}

std::string CodePointsToUtf8(std::u32string_view codePoints) {
  std::string out;
  for (char32_t c : codePoints) AppendUtf8(out, c);
  return out;
}

namespace {

char32_t UpperCodePoint(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  switch (c) {
    case 0xFF:
      return 0x178;
    case 0x161:
      return 0x160;
    case 0x153:
      return 0x152;
    case 0x17E:
      return 0x17D;
    default:
      return c;
  }
}

}  // namespace

std::u32string UpperCaseCodePoints(std::string_view utf8) {
  std::u32string s = Utf8ToCodePoints(utf8);
  for (char32_t& c : s) c = UpperCodePoint(c);
  return s;
}

std::string UpperCaseText(const std::string& text) { return CodePointsToUtf8(UpperCaseCodePoints(text)); }

std::string LowerCaseLatinText(std::string_view utf8) {
  std::string out(utf8);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c - 'A' + 'a');
    } else if (c == 0xC3 && i + 1 < out.size()) {
      const auto next = static_cast<unsigned char>(out[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) out[i + 1] = static_cast<char>(next + 0x20);
      ++i;
    }
  }
  return out;
}

}  // namespace kvx
