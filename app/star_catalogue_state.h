// The occultation star catalogue as the window keeps it: which catalogue
// file the data folder offers, which one the user chose, the star chosen
// from it and whether a load is running. The occultation commands, the
// background loader and the menu states receive it.
#pragma once

#include <cstdint>

namespace kvx {

struct TStarCatalogueState {
  std::uint8_t Level = 2;          // 2 large file present, 1 small only, 0 none
  std::uint8_t Setting = 1;        // 1 small, 2 large, 0 none; never above the level
  std::int32_t SelectedStar = -1;  // index into the catalogue, -1 all stars
  std::uint8_t Loading = 0;        // 1 while a load runs
};

}  // namespace kvx
