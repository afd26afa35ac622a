// Helpers of the theory-library tests: where the built libraries are.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "theories/theory_libraries.h"

namespace kvx::test {

// The folder the build puts the theory libraries in.
inline std::string BuiltLibraryFolder() { return std::string(KVX_BINARY_DIR) + "/lib"; }

inline TLibraryAvailability OpenBuiltLibraries() { return OpenTheoryLibraries(BuiltLibraryFolder()); }

}  // namespace kvx::test

namespace kvx::test {

// The stand-in library that defines every probe and entry point.
inline std::string FakeLibraryPath() { return BuiltLibraryFolder() + "/libkvx_fake_theory_library.so"; }

}  // namespace kvx::test

namespace kvx::test {

// A suite that opens the built libraries once, closes them at its end and
// needs the VSOP87 D and C libraries for every test.
class Vsop87LibrariesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { available_ = OpenBuiltLibraries(); }
  static void TearDownTestSuite() { CloseTheoryLibraries(); }
  void SetUp() override {
    ASSERT_TRUE(available_.Vsop87D) << "VSOP87 D library not built";
    ASSERT_TRUE(available_.Vsop87C) << "VSOP87 C library not built";
  }
  static inline TLibraryAvailability available_{};
};

}  // namespace kvx::test
