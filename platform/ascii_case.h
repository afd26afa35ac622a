// Case folding of the program's and the files' own vocabulary: cell
// references, function names, file names and extensions, catalogue, star
// and feature names, keywords of data files. Only the ASCII letters change
// case, whatever the desktop: the C library's toupper and tolower follow
// the locale (on a Turkish desktop 'i' has no upper case 'I', so a
// reference to column I or a file named in lower case would not be found),
// and Qt's case mapping changes letters beyond ASCII ("ß" to "SS"). Every
// other byte stays as it is, so a UTF-8 text keeps its length and its
// characters. Texts in the user's language that are shown folded are the
// only place for the desktop's own case rules.
#pragma once

#include <string>
#include <string_view>

namespace kvx {

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

inline std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

// True when the texts differ at most in the case of ASCII letters.
constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

}  // namespace kvx
