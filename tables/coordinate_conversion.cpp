#include "tables/coordinate_conversion.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/frames.h"
#include "core/rise_set_search.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "platform/globals.h"

namespace kvx {

namespace {

constexpr double kT1950 = -0.5;

void ToVector(double& x, double& y, double& z, double lat, double lon) { PolarToCartesian(x, y, z, 1.0, lat, lon); }

void ToPair(double& lon, double& lat, double x, double y, double z) {
  double r = 0;
  CartesianToPolar(r, lat, lon, x, y, z);
}

void Rotated(const TMatrix33& m, double x, double y, double z, double& lon, double& lat) {
  MatrixTimesVector(m, x, y, z);
  ToPair(lon, lat, x, y, z);
}

bool Finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

}  // namespace

const char* CoordinateSystemName(int system) {
  static const char* const kGerman[8] = {
      "Äquatorsystem (aktuell)", "Äquatorsystem (J2000)", "Äquatorsystem (B1950.0)", "Ekliptik",
      "Ekliptik (J2000)",        "Ekliptik (B1950.0)",    "Galaktisches System",     "Horizontsystem"};
  static const char* const kEnglish[8] = {
      "Equatorial (date)",  "Equatorial (J2000)",   "Equatorial (B1950.0)", "Ecliptical",
      "Ecliptical (J2000)", "Ecliptical (B1950.0)", "Galactical",           "Horizon"};
  if (system < 0 || system > 7) return "";
  return LanguageEnglish != 0 ? kEnglish[system] : kGerman[system];
}

bool ConvertPositionFrames(TObserverRecord r, TCoordinateBlock& block) {
  TCoordinateBlock b = block;
  const double t = (r.Mjd + r.DeltaTSeconds / 86400.0 - 51544.5) / 36525.0;
  const double lst = LocalSiderealTime(0, r.Mjd, r.Longitude);
  TMatrix33 eqDateToJ2000{}, eqDateTo1950{}, eqJ2000ToDate{}, eq1950ToDate{};
  TMatrix33 ecDateToJ2000{}, ecDateTo1950{}, ecJ2000ToDate{}, ec1950ToDate{};
  PrecessionMatrixEquatorial(eqDateToJ2000, t, 0.0);
  PrecessionMatrixEquatorial(eqDateTo1950, t, kT1950);
  PrecessionMatrixEquatorial(eqJ2000ToDate, 0.0, t);
  PrecessionMatrixEquatorial(eq1950ToDate, kT1950, t);
  PrecessionMatrixEcliptic(ecDateToJ2000, t, 0.0);
  PrecessionMatrixEcliptic(ecDateTo1950, t, kT1950);
  PrecessionMatrixEcliptic(ecJ2000ToDate, 0.0, t);
  PrecessionMatrixEcliptic(ec1950ToDate, kT1950, t);

  // The input as the equatorial unit vector of date.
  double x = 0, y = 0, z = 0;
  auto equatorialFrom = [&](double ra, double dec, const TMatrix33* m) {
    ToVector(x, y, z, dec, ra);
    if (m != nullptr) MatrixTimesVector(*m, x, y, z);
  };
  auto eclipticFrom = [&](double lon, double lat, const TMatrix33* m) {
    ToVector(x, y, z, lat, lon);
    if (m != nullptr) MatrixTimesVector(*m, x, y, z);
    EclipticToEquatorial(x, y, z, t);
  };
  // The input pair of each system, in the order of CoordinateSystemName.
  using B = TCoordinateBlock;
  static constexpr std::pair<double B::*, double B::*> kInputPairs[8] = {
      {&B::raDate, &B::decDate},  {&B::raJ2000, &B::decJ2000},  {&B::raB1950, &B::decB1950},
      {&B::lonDate, &B::latDate}, {&B::lonJ2000, &B::latJ2000}, {&B::lonB1950, &B::latB1950},
      {&B::galLon, &B::galLat},   {&B::azimuth, &B::altitude}};
  const int in = b.inputSystem;
  if (in > 7) return false;
  const double inLon = b.*kInputPairs[in].first, inLat = b.*kInputPairs[in].second;
  if (!Finite(inLon, inLat) || std::fabs(inLat) > 90.0 || !std::isfinite(t) || !std::isfinite(r.Latitude)) return false;
  // The precession from each system's equinox to the date.
  const TMatrix33* const toDate[6] = {nullptr, &eqJ2000ToDate, &eq1950ToDate, nullptr, &ecJ2000ToDate, &ec1950ToDate};
  if (in < 3) {
    equatorialFrom(inLon, inLat, toDate[in]);
  } else if (in < 6) {
    eclipticFrom(inLon, inLat, toDate[in]);
  } else if (in == 6) {
    double ra = 0, dec = 0;
    GalacticToEquatorial(ra, dec, inLon, inLat);
    equatorialFrom(ra, dec, &eq1950ToDate);
  } else {
    double ra = 0, dec = 0;
    RotateHourAngleFrame(ra, dec, 90.0 - r.Latitude, inLat, 180.0 - inLon, lst);
    equatorialFrom(ra, dec, nullptr);
  }
  // Every pair but the input.
  double ra = 0, dec = 0;
  ToPair(ra, dec, x, y, z);
  if (in != 0) b.raDate = ra, b.decDate = dec;
  if (in != 1) Rotated(eqDateToJ2000, x, y, z, b.raJ2000, b.decJ2000);
  double ra1950 = 0, dec1950 = 0;
  Rotated(eqDateTo1950, x, y, z, ra1950, dec1950);
  if (in != 2) b.raB1950 = ra1950, b.decB1950 = dec1950;
  if (in != 6) EquatorialToGalactic(b.galLon, b.galLat, ra1950, dec1950);
  double ex = x, ey = y, ez = z;
  EquatorialToEcliptic(ex, ey, ez, t);
  if (in != 3) ToPair(b.lonDate, b.latDate, ex, ey, ez);
  if (in != 4) Rotated(ecDateToJ2000, ex, ey, ez, b.lonJ2000, b.latJ2000);
  if (in != 5) Rotated(ecDateTo1950, ex, ey, ez, b.lonB1950, b.latB1950);
  double hourAngle = 0, alt = 0, az = 0;
  EquatorialToHorizontal(false, hourAngle, alt, lst, r.Latitude, ra, dec, r.Pressure, r.Temperature, az);
  if (in != 7) b.altitude = alt, b.azimuth = az;
  b.hourAngle = hourAngle;
  RiseSetTime(b.rise, b.culmination, b.set, r.LocalHours, lst, r.Latitude, ra, dec, b.risesAndSets);
  block = b;
  return true;
}

void CoordinateConversionTable(TSheet* sheet, tmystringgrid* grid, std::uint8_t toSheet,
                               const TTableConfigRecord& config, const TCoordinateBlock& block,
                               const TTableOutputSettings& settings) {
  auto write = [&](TCellSink& sink) {
    const bool english = LanguageEnglish != 0;
    sink.Text(1, 1, english ? "Equinox" : "Äquinoktium");
    sink.Text(1, 2, english ? "of the day" : "des Datums");
    sink.Text(1, 3, "J2000");
    sink.Text(1, 4, "B1950.0");
    struct Row {
      int slot;
      double values[3];
      int count;
    };
    const Row rows[] = {
        {16, {block.raDate, block.raJ2000, block.raB1950}, 3},
        {17, {block.decDate, block.decJ2000, block.decB1950}, 3},
        {11, {block.lonDate, block.lonJ2000, block.lonB1950}, 3},
        {12, {block.latDate, block.latJ2000, block.latB1950}, 3},
        {149, {block.galLon, 0, 0}, 1},
        {150, {block.galLat, 0, 0}, 1},
        {46, {block.azimuth + settings.AzimuthOrigin, 0, 0}, 1},
        {47, {block.altitude, 0, 0}, 1},
        {48, {HourAngleDegrees(block.hourAngle), 0, 0}, 1},
    };
    int row = 2;
    for (const Row& r : rows) {
      sink.Text(row, 1, config.ColumnTitles[static_cast<std::size_t>(r.slot)]);
      for (int i = 0; i < r.count; ++i) {
        double v = r.values[i];
        if (r.slot == 46) v = std::fmod(v + 360.0, 360.0);
        sink.Value(TCellFamily::Angle, row, 2 + i, r.slot, v);
      }
      ++row;
    }
    const int slots[3] = {30, 31, 32};
    const double times[3] = {block.rise, block.culmination, block.set};
    for (int i = 0; i < 3; ++i, ++row) {
      sink.Text(row, 1, config.ColumnTitles[static_cast<std::size_t>(slots[i])]);
      if (block.risesAndSets == 1)
        sink.Value(TCellFamily::TimeOfDay, row, 2, slots[i], times[i]);
      else
        sink.Text(row, 2, "---");
    }
  };
  if (toSheet == 0) {
    if (grid == nullptr) return;
    grid->SetRowCount(14);
    grid->SetColCount(5);
    for (int r = 1; r < 14; ++r) {
      for (int c = 1; c < 5; ++c) grid->SetCells(c, r, std::string());
    }
    TGridSink sink(*grid, settings);
    write(sink);
    return;
  }
  if (sheet == nullptr) return;
  TSheetSink sink(*sheet);
  write(sink);
  sheet->SetSelectionText("A1:A1");
  sheet->SetRowHeightAuto(1, 1, 13, 4);
  sheet->SetColWidthAuto(1, 1, 13, 4);
  sheet->SetSelectionText("A1:A1");
}

}  // namespace kvx
