// Two-line elements: the ".tle" loader on the input as a file, then the first
// two lines of the input as element lines 1 and 2 (without the loader's
// checks) through LoadTwoLineElements and the propagation to dates around the
// epoch. A propagation either succeeds with finite vectors or reports an
// error with zero vectors, and never hangs.
#include <cmath>

#include "fuzz/fuzz_support.h"
#include "platform/text_encoding.h"
#include "theories/sgp4.h"
#include "theories/tle.h"

using namespace kvx;

namespace {

bool Finite(const TVectorXYZR& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
bool Zero(const TVectorXYZR& v) { return v.x == 0 && v.y == 0 && v.z == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  std::string text(reinterpret_cast<const char*>(data), size);

  std::uint16_t count = LoadTleFile(fuzz::WriteScratch(text, ".tle"), true);
  fuzz::Require(count <= kSatelliteSlots, "set count");
  for (std::uint16_t slot = 1; slot <= count; ++slot) {
    fuzz::Require(TleEntryValid(SatelliteTable[slot]), "loaded set valid");
  }

  // Lines 2 and 3 (after the name) as the element lines, whatever they hold.
  std::vector<std::string> lines = SplitTextLines(text);
  TTleEntry entry;
  if (lines.size() > 1) entry.line1 = lines[1].substr(0, kTleLineLength);
  if (lines.size() > 2) entry.line2 = lines[2].substr(0, kTleLineLength);
  SatelliteTable[1] = entry;
  if (LoadTwoLineElements(1) != kSatOk) return 0;
  fuzz::Require(std::isfinite(SgpElements.epochJulianDate), "epoch finite");
  // Forwards, then backwards, so that the resonance integration continues
  // where it stopped as far as it can.
  for (double days : {0.0, 0.5, 30.0, 3650.0, 36526.0, 1.0e6, -3.0, -3650.0, -1.0e7}) {
    TVectorXYZR position, velocity;
    TSatelliteError error = SatellitePropagate(position, velocity, SgpElements.epochJulianDate + days);
    if (error == kSatOk) {
      fuzz::Require(Finite(position) && Finite(velocity), "state finite");
    } else {
      fuzz::Require(Zero(position) && Zero(velocity), "state cleared on error");
    }
  }
  return 0;
}
