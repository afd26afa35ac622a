// The surface features of Mars, Jupiter and Saturn whose central-meridian
// transits are tabulated, and their file.
//
// File (text, Windows-1252 or UTF-8): line 1 is ":LONGITUDES" up to its
// first "!" (the rest free); every further line "KEY;longitude;name" with
// the longitude in degrees ("." as decimal point) in the feature's rotation
// system and the name everything after the second ";". Keys, in any case:
// MARS, JUPITER1 (System I), JUPITER2 (System II), SATURN1 (System I);
// any other key is Saturn System III. Empty lines and lines beginning with
// ":" are skipped, as is a line whose longitude is not a number; at most
// kSurfaceFeatureLimit features are read.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kvx {

// The rotation systems: 0 Mars, 1 Jupiter I, 2 Jupiter II, 3 Saturn I,
// 4 Saturn III.
inline constexpr int kFeatureSystemCount = 5;
inline constexpr std::size_t kSurfaceFeatureLimit = 30000;

// One feature of the file: its system key as written and its longitude
// (degrees, west, in the key's system).
struct ttopo_eintrag {
  std::string key;
  double longitude = 0;
};

// A feature with its name (the list's item text).
struct TSurfaceFeature {
  std::string Name;
  ttopo_eintrag Entry;
};
using TSurfaceFeatureList = std::vector<TSurfaceFeature>;

// The system (0..4) of a file key.
int SurfaceFeatureSystem(const std::string& key);

// Reads the features of `fileName` into `list`. Result: the number read.
// A file that cannot be read or whose first line does not match leaves the
// list as it was and gives 0; a file without a feature empties the list.
// With `showMessages` each of these cases shows the file-format message.
int LoadSurfaceFeatureFile(const std::string& fileName, TSurfaceFeatureList& list, bool showMessages);

}  // namespace kvx
