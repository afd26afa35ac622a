// A text as one word of a POSIX shell command, whatever it holds (blanks,
// quotes, letters beyond ASCII: a checkout's path may hold any of them): in
// single quotes, each single quote in it closed, escaped and opened again.
#pragma once

#include <string>

namespace kvx::test {

inline std::string ShellWord(const std::string& text) {
  std::string word = "'";
  for (const char c : text) {
    if (c == '\'') {
      word += "'\\''";
    } else {
      word += c;
    }
  }
  return word + "'";
}

}  // namespace kvx::test
