#include "setup/setup_routines.h"

#include <utility>

#include "platform/color_chooser.h"
#include "platform/messages.h"
#include "platform/paths.h"

namespace kvx {

namespace {
std::function<void()> period_dialog_hook;
}

void DefaultHorizonAltitudes(TRiseSetAltitudes& altitudes) { altitudes = {-34.0, 8.0, -50.0, -6.0, -12.0, -18.0}; }

void DefaultMeridianFeatures(TMeridianFeatures& features, std::uint8_t keepMask, std::string& mask,
                             const std::string& folder) {
  features = TMeridianFeatures{};
  if (keepMask == 0) {
    std::string base = folder;
    mask = StripTrailingBackslash(base) + "/*.csv";
  }
}

std::string AccuracyLevelName(std::int32_t level) {
  switch (level) {
    case -1:
      return "Full";
    case 4:
      return "High";
    case 6:
      return "Medium";
    case 8:
      return "Low";
    default:
      return "Very low";
  }
}

std::string AccuracyPairText(std::int32_t first, std::int32_t second) {
  return AccuracyLevelName(first) + "/" + AccuracyLevelName(second);
}

std::function<void()> SetPeriodDialogHook(std::function<void()> hook) {
  return std::exchange(period_dialog_hook, std::move(hook));
}

bool AskFixEndBeforeStart() {
  const MessageResult answer =
      ShowMessage("Enddatum für die Ephemeride liegt vor Anfangsdatum! Möchten Sie den Zeitraum nun ändern?",
                  "Last date for ephemeris is earlier then the first date! Do you want to change the ephemeris-period?",
                  MessageIcon::Error, MessageButtons::YesNo);
  if (answer != MessageResult::Yes) return false;
  if (period_dialog_hook) period_dialog_hook();
  return true;
}

void ShowPlutoDateInvalid() {
  ShowMessage("Datum liegt außerhalb des für Pluto gültigen Bereichs", "No valid date for a Pluto ephemeris",
              MessageIcon::Error);
}

int PickColor(std::int32_t& color) {
  ColorChooser* chooser = CurrentColorChooser();
  if (chooser == nullptr) return 0;
  std::int32_t chosen = color;
  if (!chooser->Choose(chosen)) return 0;
  color = chosen;
  return 1;
}

std::string TextAfterQuotedName(const std::string& text) {
  const std::size_t first = text.find('"');
  if (first == std::string::npos) return {};
  const std::size_t second = text.find('"', first + 1);
  if (second == std::string::npos) return {};
  const std::size_t start = second + 2;  // the quote and one more character
  return start < text.size() ? text.substr(start) : std::string();
}

}  // namespace kvx
