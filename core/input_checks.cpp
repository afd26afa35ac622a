#include "core/input_checks.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/text_conversion.h"
#include "platform/globals.h"
#include "platform/messages.h"

namespace kvx {

// --- Message boxes -------------------------------------------------------------

void ShowRowLimitReached() {
  ShowMessage("Maximale Zeilenzahl für Ephemeridentabelle erreicht.", "Maximal numbers of rows exceeded.",
              MessageIcon::Information, MessageButtons::Ok,
              ByLanguage("Die Berechnung wird abgebrochen", "Calculation stopped"));
}

void ShowLatitudeRangeError() {
  ShowMessage("Geogr. Breite: muß >=-90 und <=+90 sein!", "Geogr. Latitude must be >=-90 and <=+90!",
              MessageIcon::Error, MessageButtons::Ok, ByLanguage("Fehler bei Eingabe der geogr. Breite", ""));
}

void ShowLongitudeRangeError() {
  ShowMessage("Geogr. Länge: muß >=-180 und <=+180 sein!", "Geogr. Longitude must be >=-180 and <=+180!",
              MessageIcon::Error, MessageButtons::Ok, ByLanguage("Fehler bei Eingabe der geogr. Länge", ""));
}

void ShowLatitudeNotANumber(const std::string& text) {
  ShowMessage("Geogr. Breite: \"" + text + "\" ist keine Zahl!", "Geogr. Latitude: \"" + text + "\" is not a number!",
              MessageIcon::Error, MessageButtons::Ok, ByLanguage("Fehler bei Eingabe der geogr. Breite", ""));
}

void ShowLongitudeNotANumber(const std::string& text) {
  ShowMessage("Geogr. Länge: \"" + text + "\" ist keine Zahl!", "Geogr. Longitude: \"" + text + "\" is not a number!",
              MessageIcon::Error, MessageButtons::Ok, ByLanguage("Fehler bei Eingabe der geogr. Länge", ""));
}

void ShowImpossibleDate(std::int32_t day, std::int32_t month, std::int32_t year) {
  char date[64];
  std::snprintf(date, sizeof date, "%02d.%02d.%s%04d", static_cast<int>(day), static_cast<int>(month),
                year < 0 ? "-" : "", std::abs(static_cast<int>(year)));
  ShowMessage(std::string("Das Datum ") + date + " gibt es nicht. Bitte ein gültiges Datum eingeben!",
              std::string("The date ") + date + " does not exist. Please enter a valid date!", MessageIcon::Error,
              MessageButtons::Ok, ByLanguage("Ungültiges Datum", "Invalid date"));
}

void ShowImplausibleValues() {
  ShowMessage("Bitte plausible Werte eingeben.", "Please enter realistic values.", MessageIcon::Error);
}

void ShowNoEventFound() {
  ShowMessage("Kein Ereignis während des Ephemeridenzeitraums gefunden.", "No event found in Ephemeris span",
              MessageIcon::Information, MessageButtons::Ok, "Kandrevoltinex 4.6");
}

void ShowIntegrationStartTooNear(std::uint8_t mainWindowLanguageEnglish) {
  if (mainWindowLanguageEnglish != 0) {
    CurrentMessageSink().Show(
        "The starting date for the numerical integration is to short to the epoch of the orbital elements. "
        "Please change the starting date for at least 1 day and retry.",
        "Invalide starting date", MessageIcon::Error, MessageButtons::Ok);
  } else {
    CurrentMessageSink().Show(
        "Das Startdatum für die numerische Integration liegt zu nache bei der Epoche der Bahnelemente. "
        "Bitte das Startdatum um mindestens 1 Tag ändern und erneut versuchen.",
        "", MessageIcon::Error, MessageButtons::Ok);
  }
}

bool CheckMinimalDistanceInput(std::string& editText, double& value) {
  std::uint8_t isDecimal = 1;
  std::string numberText;
  ParseDegreeText(editText, isDecimal, numberText);
  double typed = 0.0;
  const bool ok = ValReal(numberText, typed);
  // The range holds for the angle itself, so a packed D.MMSS text is turned
  // into degrees before the check.
  const double degrees = !ok ? 0.0 : isDecimal != 0 ? typed : DmsPackedToDeg(typed);
  if (!ok || !std::isfinite(degrees) || degrees > 40.0 || degrees < 0.01) {
    ShowMessage(std::string("Minimalabstand muß zwischen 0.01° und <= ") + "40" + "° liegen!",
                std::string("Minimal distance must be >0.01° and <=") + "40" + "°!", MessageIcon::Error);
    editText = DmsArcText(FormatFixed(DegToDmsPackedSec(value), 0, 4));
    return false;
  }
  value = degrees;
  return true;
}

}  // namespace kvx
