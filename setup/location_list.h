// The list of places read from a location file, with the place currently
// chosen. One line per place: name;longitude;latitude;zone;extra minutes
// [;postcode], longitude (east negative) and latitude as packed D.MMSS
// with "." or "," as decimal mark; lines starting with ":" are headers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/messages.h"

namespace kvx {

inline constexpr int kMaxLocations = 32000;

// One place of the list.
struct TOrtdatens {
  double Latitude = 0;            // packed D.MMSS, north positive
  double Longitude = 0;           // packed D.MMSS, east negative
  std::int32_t Zone = 0;          // whole hours, -12..12, index + 12 into ZoneNames
  std::int32_t ExtraMinutes = 0;  // -720..720
  std::string Postcode;
};

// One line of a location file. False for headers, empty lines and lines
// that are no place: a longitude or latitude that is no number, minutes or
// seconds of 60 or more, |latitude| > 90, |longitude| > 180, a zone that is
// no whole number in -12..12, extra minutes that are no whole number in
// -720..720 (a word or a lone decimal mark is never read as 0), or a line
// without its zone. A whole number may carry its sign ("+1"). Extra minutes
// left out or blank are 0; a zone of 13 or 14 hours (files written before
// zones were held within 12 h) is read as 12 h with 60 or 120 minutes more
// (FoldZoneHours), and when that carries the minutes past 720 the minutes
// are at fault. For a line that is no place `field` (when given) names the
// first field at fault in the line's order, a field the line ends before
// counting as blank: "longitude", "latitude", "zone" or "minutes"; headers
// and empty lines name none.
bool ParseLocationLine(const std::string& line, std::string& name, TOrtdatens& place, const char** field = nullptr);

// A packed D.MMSS coordinate as the file and the edits show it: rounded in
// sexagesimal to whole seconds (59.6 seconds become the next minute, never
// 60 seconds), four decimals, the configured decimal separator.
std::string LocationCoordinateText(double packed);

class Orttabelle {
 public:
  // The reader: false when the file cannot be opened (the list is then
  // empty); otherwise the accepted lines, at most kMaxLocations, with the
  // lines that are no place counted (Skipped).
  virtual bool ReadFile(const std::string& fileName);
  virtual ~Orttabelle() = default;

  // Loads the file and selects `index` (0 when outside the list). False
  // when the file cannot be opened; with `report` a message says so. The
  // lines that were no place are named in any case, so that no place is
  // dropped unseen ("<file>: 1 Zeile übersprungen (Zeile k, Feld
  // Minuten)", "<file>: n Zeilen übersprungen (erste: Zeile k, Feld f)"),
  // the field in the program's language.
  bool Neuedateiladen(const std::string& fileName, int index, bool report);
  // The lines of the last file read that were no place.
  const TSkippedLines& Skipped() const { return skipped_; }
  // Empties the list.
  void ClearLocationTable();

  // Selects the first place whose name starts with (or, in match-anywhere
  // mode, holds) the text, case ignored. False for an empty text or no hit.
  bool suchen(const std::string& text);
  // Selects the first place whose postcode holds the text.
  bool plzsuchen(const std::string& text);

  int Count() const { return static_cast<int>(names_.size()); }
  const std::string& Name(int i) const { return names_[static_cast<std::size_t>(i)]; }
  const TOrtdatens& Place(int i) const { return places_[static_cast<std::size_t>(i)]; }
  const std::vector<std::string>& Names() const { return names_; }
  int ItemIndex() const { return item_index_; }
  // Chooses an item: the current place takes its values; -1 chooses none.
  void SetItemIndex(int index);

  // --- the current place ----------------------------------------------------
  void SetZoneIndex(std::int32_t zone);
  void SetExtraMinutes(std::int32_t minutes);
  void SetPlaceName(const std::string& name);
  void SetPostcode(const std::string& postcode);
  void SetFileName(const std::string& name);
  // The text is read with "," as "."; a text that is no number is ignored.
  void SetLongitudeText(const std::string& text);
  void SetLatitudeText(const std::string& text);
  // Four decimals with the configured decimal separator.
  std::string GetLongitudeText() const;
  std::string GetLatitudeText() const;
  const std::string& GetPostcode() const { return postcode_; }
  void SetSearchAnywhere(bool anywhere);
  bool SearchAnywhere() const { return search_anywhere_; }
  void SetStoredIndex(std::int32_t index);
  std::int32_t GetStoredIndex() const;

  // The zone's name, or its offset ("UTC+14") when the extra minutes carry
  // it more than 12 h from UT.
  std::string ZoneName() const;
  const std::string& FileName() const { return file_name_; }
  const std::string& PlaceName() const { return place_name_; }
  double Longitude() const { return longitude_; }  // packed D.MMSS
  double Latitude() const { return latitude_; }    // packed D.MMSS
  std::int32_t ExtraMinutes() const { return extra_minutes_; }
  std::int32_t Zone() const { return zone_; }

  // Runs after every change of the current place (the owning dialog's
  // refresh).
  std::function<void()> OnChange;

 protected:
  void Changed() {
    if (OnChange) OnChange();
  }
  std::vector<std::string> names_;
  std::vector<TOrtdatens> places_;
  TSkippedLines skipped_;

 private:
  std::string file_name_;
  std::string place_name_ = "Kein Ortname";
  std::string postcode_;
  double longitude_ = 10.0;
  double latitude_ = 50.0;
  std::int32_t extra_minutes_ = 0;
  std::int32_t zone_ = 1;
  std::int32_t stored_index_ = 0;
  int item_index_ = -1;
  bool search_anywhere_ = false;
};

}  // namespace kvx
