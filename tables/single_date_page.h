// The page model of the single-date page: every caption and value text the
// page shows for one body at one instant, computed without Qt from the
// body's result record. The page (tables/ui/single_date_page_view.h) only
// lays the boxes out.
//
// Body kinds as TBodyIndex: 0 Sun, 1 .. 9 planets, 10 Moon, 11 asteroid,
// 12 comet. Every value is formatted by the data format of its format slot
// (engine/cell_format.h). Angles in degrees; the Moon's distances in Earth
// radii; light time from 0.0057755183 days per AU times the apparent
// geocentric distance, in minutes; azimuth plus the azimuth origin (0 or
// 180 degrees) reduced to [0, 360).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/observer_record.h"
#include "engine/ephemeris_result.h"
#include "engine/kepler.h"

namespace kvx {

// One line of a box: its caption and one or two values (the twilight box
// shows begin and end side by side).
struct TSingleDateLine {
  std::string Caption;
  std::string Value;
  std::string Value2;
};

enum class TSingleDateBoxId : std::uint8_t {
  Heliocentric,
  Ecliptic,
  Equatorial,
  SecondEquinox,
  Topocentric,
  Physical,
  Grid,
  Visibility,
  Twilight,
};
inline constexpr int kSingleDateBoxCount = 9;

struct TSingleDateBox {
  TSingleDateBoxId Id = TSingleDateBoxId::Heliocentric;
  std::string Title;
  bool Visible = true;
  std::vector<TSingleDateLine> Lines;
};

struct TSingleDatePageModel {
  std::string Caption;                // "Ephemeride für " / "Ephemeris for " and the name
  std::vector<TSingleDateBox> Boxes;  // in the order of TSingleDateBoxId
  std::string OkText;
  std::string HelpText;

  const TSingleDateBox& Box(TSingleDateBoxId id) const { return Boxes[static_cast<std::size_t>(id)]; }
  // The value of the line captioned `caption` in box `id`; "" when absent.
  std::string ValueOf(TSingleDateBoxId id, const std::string& caption) const;
};

// What the page needs beside the result record.
struct TSingleDateContext {
  std::uint8_t English = 0;
  double AzimuthOrigin = 0;  // degrees added to the azimuth (0 or 180)
  double SecondEquinoxYear = 2000;
};

// Builds the page. `body` is the object that computed the record (the
// Sun's rotation number is read from it); it may be null.
TSingleDatePageModel BuildSingleDatePage(const TEphemerisResultRecord& result, TBodyIndex kind, const std::string& name,
                                         const TObserverRecord& observer, const TKepler* body,
                                         const TSingleDateContext& context);

// The name the single-date commands pass for a body kind: "die Sonne" /
// "the Sun", "den Mond" / "the Moon", else the planet's name.
std::string SingleDateBodyName(TBodyIndex kind, std::uint8_t english);

}  // namespace kvx
