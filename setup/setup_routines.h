// Small set-up routines shared by the main window, the settings loader and
// the option dialogs: defaults of the horizon altitudes and the central-
// meridian features, the accuracy names of the status line, two standard
// messages, the colour picker and two text helpers. The date check against
// the position files and the integration database is CheckTheoryDateSpan
// (theories/theory_state.h); blanks are removed by RemoveBlanks
// (core/text_conversion.h).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/rise_set_search.h"

namespace kvx {

// The six reference altitudes of rise, set and twilight, in this order:
// planets and stars, Moon, Sun (arc minutes), civil, nautical and
// astronomical twilight (degrees, negative below the horizon).
using THorizonAltitudes = TRiseSetAltitudes;

// Sets -34', +8', -50', -6°, -12°, -18°.
void DefaultHorizonAltitudes(TRiseSetAltitudes& altitudes);

// The surface features whose central-meridian transits are tabulated: the
// chosen longitude system in Mode (0 Mars, 1 Jupiter System I, 2 Jupiter
// System II, 3 Saturn System I, 4 Saturn System III) and per system the
// feature's longitude and name. A new record holds the defaults.
inline constexpr std::size_t kMeridianFeatureCount = 5;
inline constexpr std::size_t kMeridianFeatureNameLength = 50;
struct TMeridianFeatures {
  std::int32_t Mode = 2;
  std::array<double, kMeridianFeatureCount> Longitudes{292.0, 0.0, 64.0, 0.0, 0.0};  // degrees
  // At most 50 characters each.
  std::array<std::string, kMeridianFeatureCount> Names{"Syrtis major", "Zero meridian", "GRF", "Zero meridian",
                                                       "Zero meridian"};
};

// The defaults: mode 2 and the features (292, "Syrtis major"), (0, "Zero
// meridian"), (64, "GRF"), (0, "Zero meridian"), (0, "Zero meridian"); when
// `keepMask` is 0 also sets `mask` to `folder` + "/*.csv".
void DefaultMeridianFeatures(TMeridianFeatures& features, std::uint8_t keepMask, std::string& mask,
                             const std::string& folder);

// The status-line name of an accuracy level: -1 "Full", 4 "High", 6 "Medium",
// 8 "Low", any other "Very low" (the same in both languages).
std::string AccuracyLevelName(std::int32_t level);
// name1 + "/" + name2.
std::string AccuracyPairText(std::int32_t first, std::int32_t second);

// Asks (Yes/No, error icon) whether the period shall be changed because its
// end lies before its start; on Yes runs the period hook. True on Yes.
bool AskFixEndBeforeStart();
// The routine AskFixEndBeforeStart runs on Yes (the main window's period
// command); returns the previous one. Empty: nothing runs.
std::function<void()> SetPeriodDialogHook(std::function<void()> hook);

// Message (error icon): the date lies outside the range valid for Pluto.
void ShowPlutoDateInvalid();

// Runs the installed colour dialog on `color` (0x00BBGGRR). On OK stores the
// chosen colour and returns 1, else returns 0 and leaves `color`.
int PickColor(std::int32_t& color);

// The text after its second double quote and one more character ("ab";x
// gives x); empty when the text holds fewer than two double quotes.
std::string TextAfterQuotedName(const std::string& text);

}  // namespace kvx
