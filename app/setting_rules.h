// The settings that are more than a field: each setter keeps the rule that
// goes with its value (the Moon cache made again, the equinox's table
// changed, a menu item's check mark), and the position files closed and
// opened again. The main window implements it.
#pragma once

#include <cstdint>

namespace kvx {

class TSettingRules {
 public:
  virtual void SetMoonCacheSpan(std::int32_t span) = 0;
  virtual void SetMoonCacheOrder(std::int32_t order) = 0;
  virtual void SetTableEquinox(double t) = 0;
  virtual void SetTipsFlag(std::uint8_t flag) = 0;
  virtual void SetSatellitesEnabled(std::uint8_t flag) = 0;
  virtual void SetOccultationCatalogueSetting(std::uint8_t value) = 0;
  // Closes the position files (while a new one replaces an old one), and
  // opens them again from the data folder, installing the theory selection
  // anew so that a new file serves at once.
  virtual void ReleasePositionFiles() = 0;
  virtual void ReopenPositionFiles() = 0;

 protected:
  ~TSettingRules() = default;
};

}  // namespace kvx
