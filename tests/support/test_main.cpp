#include <gtest/gtest.h>

#include "platform/locale_reader.h"
#include "support/desktop_locale.h"

// The main of the test programs without widgets: the C library's locale as
// the program takes it at its start (desktop_locale.h).
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  kvx::UseDesktopLocaleWithPlainNumbers();
  kvx::test::TakeDesktopSeparatorsWhenAsked();
  return RUN_ALL_TESTS();
}
