// Helpers of the theory-library tests: where the built libraries are.
#pragma once

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
