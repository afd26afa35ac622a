#include "platform/workbook/xlsx_text.h"

#include <cstdlib>

#include "platform/text_encoding.h"

namespace kvx::workbook {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code unit of an escape "_xHHHH_" at i, or -1.
long EscapeAt(std::string_view text, std::size_t i) {
  if (i + 7 > text.size() || text[i] != '_' || text[i + 1] != 'x' || text[i + 6] != '_') return -1;
  long unit = 0;
  for (std::size_t k = i + 2; k < i + 6; ++k) {
    const int digit = HexDigit(text[k]);
    if (digit < 0) return -1;
    unit = unit * 16 + digit;
  }
  return unit;
}

// True when "_xHHHH" stands at i: the underscore starts an escape in the
// file when an underscore follows, or a character written as an escape
// (which begins with one), so it is escaped itself whatever follows.
bool EscapeStartsAt(std::string_view text, std::size_t i) {
  if (i + 6 > text.size() || text[i] != '_' || text[i + 1] != 'x') return false;
  for (std::size_t k = i + 2; k < i + 6; ++k) {
    if (HexDigit(text[k]) < 0) return false;
  }
  return true;
}

}  // namespace

std::string DecodeXlsxEscapes(std::string_view text) {
  if (text.find("_x") == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const long unit = EscapeAt(text, i);
    if (unit < 0) {
      out += text[i++];
      continue;
    }
    i += 7;
    unsigned long code = static_cast<unsigned long>(unit);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      const long low = EscapeAt(text, i);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        code =
            0x10000 + ((static_cast<unsigned long>(unit) - 0xD800) << 10) + (static_cast<unsigned long>(low) - 0xDC00);
        i += 7;
      } else {
        code = 0xFFFD;
      }
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      code = 0xFFFD;
    }
    AppendUtf8(out, static_cast<char32_t>(code));
  }
  return out;
}

void AppendXlsxCellText(std::string& out, std::string_view text) {
  std::string mended;
  if (!IsValidUtf8(text)) {
    mended = CodePointsToUtf8(Utf8ToCodePoints(text));
    text = mended;
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 && c != '\t' && c != '\n') {
      out += "_x00";
      out += kHex[c >> 4];
      out += kHex[c & 15];
      out += '_';
    } else if (c == '_' && EscapeStartsAt(text, i)) {
      out += "_x005F_";
    } else if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == 0xEF && i + 2 < text.size() && text[i + 1] == '\xBF' &&
               (text[i + 2] == '\xBE' || text[i + 2] == '\xBF')) {
      out += text[i + 2] == '\xBE' ? "_xFFFE_" : "_xFFFF_";
      i += 2;
    } else {
      out += text[i];
    }
  }
}

std::string DecodeXmlEntities(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t end = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
    if (end == std::string_view::npos || end - i > 10) {
      out += text[i];
      continue;
    }
    const std::string_view entity = text.substr(i + 1, end - i - 1);
    long code = -1;
    if (entity == "amp")
      code = '&';
    else if (entity == "lt")
      code = '<';
    else if (entity == "gt")
      code = '>';
    else if (entity == "quot")
      code = '"';
    else if (entity == "apos")
      code = '\'';
    else if (entity.size() > 1 && entity[0] == '#') {
      const bool hex = entity[1] == 'x';
      const std::string digits(entity.substr(hex ? 2 : 1));
      char* stop = nullptr;
      code = digits.empty() ? -1 : std::strtol(digits.c_str(), &stop, hex ? 16 : 10);
      if (stop == nullptr || *stop != 0 || code <= 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = -1;
    }
    if (code < 0) {
      out += text[i];
      continue;
    }
    AppendUtf8(out, static_cast<char32_t>(code));
    i = end;
  }
  return out;
}

std::size_t XmlTagEnd(std::string_view xml, std::size_t from) {
  for (std::size_t i = from; i < xml.size(); ++i) {
    const char c = xml[i];
    if (c == '>') return i;
    if (c == '"' || c == '\'') {
      i = xml.find(c, i + 1);
      if (i == std::string_view::npos) return i;
    }
  }
  return std::string_view::npos;
}

bool HoldsOneLetterValue(std::string_view xml, char letter) {
  for (std::size_t at = xml.find(letter, 1); at != std::string_view::npos && at + 1 < xml.size();
       at = xml.find(letter, at + 1)) {
    const char before = xml[at - 1];
    if ((before == '"' || before == '\'') && xml[at + 1] == before) return true;
  }
  return false;
}

}  // namespace kvx::workbook
