// The standard message boxes of the input checks of the main window, the
// dialogs and the event lists, and the check of a typed minimal distance.
// Every box goes through the message seam (platform/messages.h).
#pragma once

#include <cstdint>
#include <string>

namespace kvx {

// --- Standard message boxes ------------------------------------------------
void ShowRowLimitReached();
void ShowLatitudeRangeError();
void ShowLongitudeRangeError();
// A latitude or longitude text that is no number at all (the range message
// would mislead): the text is named.
void ShowLatitudeNotANumber(const std::string& text);
void ShowLongitudeNotANumber(const std::string& text);
// A typed date that does not exist in its month and year (31.02.2026,
// 29.02.2025, 10.10.1582): the date is named as dd.mm.yyyy.
void ShowImpossibleDate(std::int32_t day, std::int32_t month, std::int32_t year);
void ShowImplausibleValues();
void ShowNoEventFound();
// Chooses the language by the main window's own language byte
// (0 German, non-zero English), not by LanguageEnglish.
void ShowIntegrationStartTooNear(std::uint8_t mainWindowLanguageEnglish);

// Checks the minimal distance typed into an edit (degrees, decimal or with
// degree and minute marks). Accepted when it is a number from 0.01 to 40 as
// typed: `value` becomes it in decimal degrees and the result is true.
// Otherwise a stop box names the range, `editText` is set back to `value`
// written as degrees, minutes and seconds, and the result is false.
bool CheckMinimalDistanceInput(std::string& editText, double& value);

}  // namespace kvx
