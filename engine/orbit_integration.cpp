#include "engine/orbit_integration.h"

#include "engine/ephemeris_table.h"
#include "platform/messages.h"

namespace kvx {

// The multistep integration of the orbit is not part of this build yet: the
// table stays empty and the user is told so.
void IntegrateOrbitNumerically(TComputeSettingsBlock /*settings*/, std::uint8_t /*siderealFlag*/,
                               TTheorySelection /*selection*/, TKeplereph& object, long double /*tolerance*/,
                               std::uint8_t /*show*/, long double /*spanDays*/, std::int32_t /*vsopLevelA*/,
                               std::int32_t /*vsopLevelB*/, std::uint8_t /*nameFlag*/) {
  object.Rows = 0;
  ShowMessage("Die numerische Integration ist in dieser Version nicht verfügbar.",
              "The numerical integration is not available in this version.", MessageIcon::Information);
}

}  // namespace kvx
