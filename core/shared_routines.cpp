#include "core/shared_routines.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "core/text_conversion.h"
#include "platform/folder_chooser.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace fs = std::filesystem;

// --- Conjunction kinds -------------------------------------------------------

namespace {
std::uint8_t OptionByte(std::span<const std::uint8_t> options, std::size_t index) {
  return index < options.size() ? options[index] : 0;
}
}  // namespace

int ConjunctionKindOf(std::span<const std::uint8_t> options) {
  if (OptionByte(options, 2) != 0) return 3;
  if (OptionByte(options, 1) != 0) return 2;
  return 1;
}

std::string ConjunctionKindText(int kind) {
  switch (kind) {
    case 3:
      return ByLanguage("Winkelabstand minimal", "Smallest angular separation");
    case 2:
      return ByLanguage("Konjunktion in Länge", "Conjunction in Longitude");
    default:
      return ByLanguage("Konjunktion in RA", "Conjunction in RA");
  }
}

std::string ConjunctionKindAbbrev(std::span<const std::uint8_t> options) {
  switch (ConjunctionKindOf(options)) {
    case 3:
      return "A.S.";
    case 2:
      return "K.L.";
    default:
      return "K.RA";
  }
}

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
  bool ok = ValReal(numberText, typed);
  if (!ok || std::fabs(typed) > 40.0 || typed < 0.01) {
    ShowMessage(std::string("Minimalabstand muß zwischen 0.01° und <= ") + "40" + "° liegen!",
                std::string("Minimal distance must be >0.01° and <=") + "40" + "°!", MessageIcon::Error);
    editText = DmsArcText(FormatFixed(DegToDmsPackedSec(value), 0, 4));
    return false;
  }
  value = isDecimal != 0 ? typed : DmsPackedToDeg(typed);
  return true;
}

// --- Matchers -----------------------------------------------------------------

namespace {

char32_t UpperCodePoint(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  switch (c) {
    case 0xFF:
      return 0x178;
    case 0x161:
      return 0x160;
    case 0x153:
      return 0x152;
    case 0x17E:
      return 0x17D;
    default:
      return c;
  }
}

std::u32string UpperCodePoints(const std::string& text) {
  std::u32string s = Utf8ToCodePoints(text);
  for (char32_t& c : s) c = UpperCodePoint(c);
  return s;
}

bool FindPart(const std::u32string& searched, const std::u32string& cell, int& position) {
  position = 0;
  if (searched.empty()) return false;
  std::size_t i = cell.find(searched);
  if (i == std::u32string::npos) return false;
  position = static_cast<int>(i) + 1;
  return true;
}

}  // namespace

std::string UpperCaseText(const std::string& text) { return CodePointsToUtf8(UpperCodePoints(text)); }

bool MatchWholeCase(const std::string& searched, const std::string& cell, int& position) {
  position = 1;
  return cell == searched;
}

bool MatchWholeNoCase(const std::string& searched, const std::string& cell, int& position) {
  position = 1;
  return UpperCodePoints(cell) == UpperCodePoints(searched);
}

bool MatchPartCase(const std::string& searched, const std::string& cell, int& position) {
  return FindPart(Utf8ToCodePoints(searched), Utf8ToCodePoints(cell), position);
}

bool MatchPartNoCase(const std::string& searched, const std::string& cell, int& position) {
  return FindPart(UpperCodePoints(searched), UpperCodePoints(cell), position);
}

// --- Paths and folders -------------------------------------------------------

void LongPathName(const std::string& path, std::string& result) {
  std::error_code error;
  fs::path absolute = fs::absolute(fs::path(path), error);
  if (error) {
    result = path;
    return;
  }
  absolute = absolute.lexically_normal();
  fs::path built = absolute.root_path();
  fs::path relative = absolute.relative_path();
  bool found = true;
  for (const fs::path& component : relative) {
    if (component.empty()) continue;
    if (!found) {
      built /= component;
      continue;
    }
    fs::path candidate = built / component;
    if (fs::exists(fs::symlink_status(candidate, error))) {
      built = candidate;
      continue;
    }
    // Look for the entry under another spelling (case ignored).
    std::string wanted = UpperCaseText(component.string());
    fs::path match;
    int matches = 0;
    fs::directory_iterator it(built, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
      if (UpperCaseText(it->path().filename().string()) == wanted) {
        match = it->path().filename();
        ++matches;
      }
    }
    if (matches == 1) {
      built /= match;
    } else {
      found = false;
      built /= component;
    }
    error.clear();
  }
  std::string text = built.string();
  // Keep a trailing separator the caller wrote.
  if (!path.empty() && path.back() == '/' && (text.empty() || text.back() != '/')) text += '/';
  result = text;
}

std::string StripTrailingBackslash(std::string& path) {
  if (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) {
    // "C:\" and "/" are roots and keep their separator.
    bool driveRoot = path.size() == 3 && path[1] == ':';
    if (!driveRoot) path.pop_back();
  }
  return path;
}

std::string RemoveFirstDot(const std::string& text) {
  std::string s = text;
  std::size_t i = s.find('.');
  if (i != std::string::npos) s.erase(i, 1);
  return s;
}

bool SelectFolder(std::string& folder, int helpContext, unsigned options) {
  FolderChooser* chooser = CurrentFolderChooser();
  if (chooser == nullptr) return false;
  std::string chosen = folder;
  if (!chooser->Choose(chosen, helpContext, options)) return false;
  folder = chosen;
  return true;
}

bool WildcardMatch(const std::string& mask, const std::string& name) {
  const std::u32string m = UpperCodePoints(mask);
  const std::u32string n = UpperCodePoints(name);
  // Iterative matching with one backtrack point: linear in practice, bounded
  // by |m| x |n| steps.
  std::size_t mi = 0, ni = 0, star = std::u32string::npos, resume = 0;
  while (ni < n.size()) {
    if (mi < m.size() && (m[mi] == U'?' || m[mi] == n[ni])) {
      ++mi, ++ni;
    } else if (mi < m.size() && m[mi] == U'*') {
      star = mi++;
      resume = ni;
    } else if (star != std::u32string::npos) {
      mi = star + 1;
      ni = ++resume;
    } else {
      return false;
    }
  }
  while (mi < m.size() && m[mi] == U'*') ++mi;
  return mi == m.size();
}

void SearchFilesRecursive(const std::string& folder, const std::string& mask,
                          const std::function<void(const std::string&)>& found) {
  std::vector<std::string> paths;
  std::error_code error;
  fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    std::error_code statusError;
    if (it->is_regular_file(statusError) && WildcardMatch(mask, it->path().filename().string())) {
      paths.push_back(it->path().string());
    }
  }
  std::sort(paths.begin(), paths.end());
  for (const std::string& p : paths) found(p);
}

// --- Small utilities ----------------------------------------------------------

void ParseColumnRowRef(const std::string& text, std::int32_t& row, std::int32_t& column) {
  row = 1;
  column = 1;
  std::string s = UpperCaseText(text);
  std::size_t colon = s.find(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == s.size()) return;
  double number = 0.0;
  std::string rowText = s.substr(colon + 1);
  if (rowText.find_first_not_of("0123456789") != std::string::npos || rowText.size() > 9 ||
      !ValReal(rowText, number)) {
    return;
  }
  char letter = s[0];
  if (letter < 'A' || letter > 'Z') return;
  row = static_cast<std::int32_t>(number);
  column = letter - 'A' + 1;
}

std::string RoundedHourText(double hours) {
  if (!(std::fabs(hours) < 1e15)) return "--";
  double rounded = hours + 0.5 < 24.0 ? std::floor(hours + 0.5) : std::trunc(hours);
  return std::to_string(static_cast<long long>(rounded));
}

std::string NorthSouthText(double x) {
  return x >= 0 ? ByLanguage(" nördlich", " northern") : ByLanguage(" südlich", " southern");
}

std::string ObjectNameByIndex(const std::vector<std::string>& objectNames, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= objectNames.size()) return {};
  return objectNames[static_cast<std::size_t>(index)];
}

std::int32_t LargerInt(std::int32_t a, std::int32_t b) { return a > b ? a : b; }

double SmallerDouble(double a, double b) { return a < b ? a : b; }

}  // namespace kvx
