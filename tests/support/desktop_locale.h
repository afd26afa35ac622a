// The locale the test programs run under is the program's: their mains
// take the desktop's locale as the program's start does
// (UseDesktopLocaleWithPlainNumbers, StartApplication for widget tests),
// so that running them under LC_ALL=de_DE.UTF-8 (./test.sh does, see
// tests/CMakeLists.txt) runs what a German desktop runs. The desktop's
// separators, which the program reads at its start, are taken when
// KVX_TEST_DESKTOP_SEPARATORS is set; otherwise the tests start from the
// program's defaults, which their expected texts are written in.
#pragma once

#include <cstdlib>

#include "core/name_tables.h"
#include "platform/locale_reader.h"

namespace kvx::test {

inline void TakeDesktopSeparatorsWhenAsked() {
  if (std::getenv("KVX_TEST_DESKTOP_SEPARATORS") != nullptr) ApplyLocaleSeparators(DesktopSeparators());
}

}  // namespace kvx::test
