#include "setup/location_list.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "core/name_tables.h"
#include "core/observer_record.h"
#include "core/text_conversion.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "setup/edit_rules.h"

namespace kvx {

namespace {

bool ReadPackedNumber(std::string text, double& x) {
  while (!text.empty() && text.front() == ' ') text.erase(text.begin());
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
  if (text.empty() || !IsFloatText(text)) return false;
  for (char& c : text)
    if (c == ',') c = '.';
  return StrToFloatDot(text, x) && std::isfinite(x);
}

// The German name of a location field ("longitude", "latitude", "zone",
// "minutes"); the English note names the field itself.
std::string LocationFieldGerman(const std::string& field) {
  static constexpr struct {
    const char* Key;
    const char* German;
  } kGerman[] = {{"longitude", "Länge"}, {"latitude", "Breite"}, {"zone", "Zeitzone"}, {"minutes", "Minuten"}};
  for (const auto& f : kGerman) {
    if (field == f.Key) return f.German;
  }
  return field;
}

}  // namespace

std::string LocationCoordinateText(double packed) {
  std::string s = FixedPointText(RoundPackedToWholeSeconds(packed), 4);
  if (s == "-0.0000") s.erase(0, 1);
  for (char& c : s)
    if (c == '.') c = IntlSeparators.Decimal;
  return s;
}

bool ParseLocationLine(const std::string& rawLine, std::string& name, TOrtdatens& place, const char** field) {
  static constexpr const char* kFields[] = {"longitude", "latitude", "zone", "minutes"};
  const auto noPlace = [field](std::size_t k) {
    if (field != nullptr) *field = kFields[k];
    return false;
  };
  if (field != nullptr) *field = nullptr;
  std::string line = rawLine;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  if (line.empty() || line.front() == ':') return false;
  // Up to five fields that end in ";"; the rest of the line is the field
  // after them (the postcode after five, else the last field the line has).
  std::vector<std::string> fields;
  std::size_t from = 0;
  while (fields.size() < 5) {
    const auto semi = line.find(';', from);
    if (semi == std::string::npos) break;
    fields.push_back(line.substr(from, semi - from));
    from = semi + 1;
  }
  std::string postcode;
  if (fields.size() == 5) {
    postcode = line.substr(from);
  } else {
    fields.push_back(line.substr(from));
  }
  // Field by field in the line's order, so that the first one at fault is
  // named: a field the line does not reach is blank. Name, longitude,
  // latitude and zone must be there; the minutes may be left out or blank
  // (0). The zone is judged by itself (whole hours within 14: 13 and 14
  // are folded below), then the minutes by themselves, then the two
  // together, whose fault is the minutes'.
  fields.resize(std::max<std::size_t>(fields.size(), 5));
  TOrtdatens p;
  if (!ReadPackedNumber(fields[1], p.Longitude) || !PackedSexagesimalValid(p.Longitude) ||
      std::fabs(p.Longitude) > 180.0) {
    return noPlace(0);
  }
  if (!ReadPackedNumber(fields[2], p.Latitude) || !PackedSexagesimalValid(p.Latitude) || std::fabs(p.Latitude) > 90.0) {
    return noPlace(1);
  }
  if (!ReadWholeNumberText(fields[3], p.Zone) || std::abs(p.Zone) > kMostStoredZoneHours) return noPlace(2);
  if (!TrimBlanks(fields[4]).empty() &&
      (!ReadWholeNumberText(fields[4], p.ExtraMinutes) || std::abs(p.ExtraMinutes) > kMostZoneMinutes)) {
    return noPlace(3);
  }
  FoldZoneHours(p.Zone, p.ExtraMinutes);
  if (std::abs(p.Zone) > kMostZoneHours) return noPlace(3);
  p.Postcode = postcode;
  name = fields[0];
  place = p;
  return true;
}

bool Orttabelle::ReadFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return false;
  ClearLocationTable();
  std::string line, name;
  TOrtdatens place;
  int number = 0;
  while (static_cast<int>(names_.size()) < kMaxLocations && std::getline(in, line)) {
    ++number;
    const char* field = nullptr;
    if (!ParseLocationLine(line, name, place, &field)) {
      if (field != nullptr) skipped_.Add(number, field);
      continue;
    }
    names_.push_back(name);
    places_.push_back(place);
  }
  return true;
}

bool Orttabelle::Neuedateiladen(const std::string& fileName, int index, bool report) {
  ClearLocationTable();
  if (!ReadFile(fileName)) {
    ClearLocationTable();
    if (report) {
      ShowMessage("Datei " + fileName + " nicht gefunden!", "File " + fileName + " not found!", MessageIcon::Error,
                  MessageButtons::Ok, ByLanguage("Fehler beim Dateiöffnen", "Error while opening File"));
    }
    return false;
  }
  file_name_ = fileName;
  if (Count() > 0) SetItemIndex(index >= 0 && index < Count() ? index : 0);
  // "<file>: 1 Zeile übersprungen (Zeile 5, Feld Minuten)", or with more
  // lines "<file>: 3 Zeilen übersprungen (erste: Zeile 5, Feld Minuten)".
  if (skipped_.Count > 0)
    ShowSkippedLinesNote(SkippedLinesNote(skipped_, fileName + ": ", LocationFieldGerman(skipped_.Field)));
  return true;
}

void Orttabelle::ClearLocationTable() {
  names_.clear();
  places_.clear();
  skipped_ = {};
  item_index_ = -1;
}

void Orttabelle::SetItemIndex(int index) {
  if (index < 0 || index >= Count()) {
    item_index_ = -1;
    return;
  }
  item_index_ = index;
  const TOrtdatens& p = Place(index);
  latitude_ = p.Latitude;
  longitude_ = p.Longitude;
  postcode_ = p.Postcode;
  zone_ = p.Zone;
  extra_minutes_ = p.ExtraMinutes;
  place_name_ = Name(index);
  Changed();
}

bool Orttabelle::suchen(const std::string& text) {
  if (text.empty()) return false;
  const std::string needle = LowerText(text);
  for (int i = 0; i < Count(); ++i) {
    const std::string name = LowerText(Name(i));
    const auto found = name.find(needle);
    if (found == std::string::npos) continue;
    if (search_anywhere_ || found == 0) {
      SetItemIndex(i);
      return true;
    }
  }
  return false;
}

bool Orttabelle::plzsuchen(const std::string& text) {
  if (text.empty()) return false;
  const std::string needle = LowerText(text);
  for (int i = 0; i < Count(); ++i) {
    if (LowerText(Place(i).Postcode).find(needle) != std::string::npos) {
      SetItemIndex(i);
      return true;
    }
  }
  return false;
}

void Orttabelle::SetZoneIndex(std::int32_t zone) {
  if (zone < -kMostZoneHours || zone > kMostZoneHours) return;
  zone_ = zone;
  Changed();
}

std::string Orttabelle::ZoneName() const {
  if (ZoneBeyondNames(zone_, extra_minutes_)) return ZoneOffsetName(zone_, extra_minutes_);
  return kvx::ZoneName(zone_);
}

void Orttabelle::SetExtraMinutes(std::int32_t minutes) {
  extra_minutes_ = minutes;
  Changed();
}

void Orttabelle::SetPlaceName(const std::string& name) {
  place_name_ = name.substr(0, 255);
  Changed();
}

void Orttabelle::SetPostcode(const std::string& postcode) {
  postcode_ = postcode;
  Changed();
}

void Orttabelle::SetFileName(const std::string& name) {
  file_name_ = name;
  Changed();
}

void Orttabelle::SetLongitudeText(const std::string& text) {
  double x = 0;
  if (ReadPackedNumber(text, x)) longitude_ = x;
  Changed();
}

void Orttabelle::SetLatitudeText(const std::string& text) {
  double x = 0;
  if (ReadPackedNumber(text, x)) latitude_ = x;
  Changed();
}

std::string Orttabelle::GetLongitudeText() const { return LocationCoordinateText(longitude_); }
std::string Orttabelle::GetLatitudeText() const { return LocationCoordinateText(latitude_); }

void Orttabelle::SetSearchAnywhere(bool anywhere) {
  search_anywhere_ = anywhere;
  Changed();
}

void Orttabelle::SetStoredIndex(std::int32_t index) {
  stored_index_ = index >= 0 && index < Count() ? index : 0;
  Changed();
}

std::int32_t Orttabelle::GetStoredIndex() const {
  return stored_index_ >= 0 && stored_index_ < Count() ? stored_index_ : 0;
}

}  // namespace kvx
