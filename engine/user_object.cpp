#include "engine/user_object.h"

#include <cmath>
#include <limits>

#include "core/column_flags.h"
#include "core/element_records.h"
#include "core/frames.h"
#include "core/rise_set_search.h"
#include "core/sun_longitude.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/table_globals.h"
#include "engine/table_sink.h"

namespace kvx {

namespace {
namespace cf = column_flag;
}  // namespace

void FixedObjectApparentPlace(double raHours, double decDeg, double pmRaSeconds, double pmDecArcsec, double epochYear,
                              double T, double obliquity, double sinObliquity, double cosObliquity, double& ra,
                              double& dec) {
  TFixedObjectFrame frame;
  PrepareFixedObjectFrame(epochYear, T, obliquity, frame);
  FixedObjectApparentPlace(frame, raHours, decDeg, pmRaSeconds, pmDecArcsec, sinObliquity, cosObliquity, ra, dec);
}

void PrepareFixedObjectFrame(double epochYear, double T, double obliquity, TFixedObjectFrame& frame) {
  frame.EpochYear = epochYear;
  frame.T = T;
  frame.Obliquity = obliquity;
  PrecessionMatrixEquatorial(frame.Precession, (epochYear - 2000.0) * 0.01, T);
  double dpsi = 0, deps = 0;
  NutationAngles(dpsi, deps, T);
  double cosEps = 0;
  const double sinEps = SinCosDeg(cosEps, obliquity);
  frame.Deps = deps;
  frame.DpsiSinEps = dpsi * sinEps;
  frame.DpsiCosEps = dpsi * cosEps;
  double L = 0, e = 0;
  SunTrueLongitude(L, e, T);
  frame.SinL = SinDeg(L);
  frame.CosL = CosDeg(L);
  frame.SinMeanObliquity = SinCosDeg(frame.CosMeanObliquity, MeanObliquity(T));
}

void FixedObjectApparentPlace(const TFixedObjectFrame& frame, double raHours, double decDeg, double pmRaSeconds,
                              double pmDecArcsec, double sinObliquity, double cosObliquity, double& ra, double& dec) {
  // Proper motion over the years since the epoch.
  const double years = YearFromJulianCenturies(frame.T) - frame.EpochYear;
  ra = raHours * 15.0 + years * pmRaSeconds / 3600.0 * 15.0;
  dec = decDeg + years * pmDecArcsec / 3600.0;
  // Precession from the mean equinox of the epoch to that of the date, then
  // nutation, on the direction vector.
  double x = 0, y = 0, z = 0, r = 0;
  PolarToCartesian(x, y, z, 1.0, dec, ra);
  MatrixTimesVector(frame.Precession, x, y, z);
  SmallRotateVector(x, y, z, frame.Deps, frame.DpsiSinEps, frame.DpsiCosEps);
  CartesianToPolar(r, dec, ra, x, y, z);
  // Annual aberration, with the sines and cosines of the place taken from
  // the vector (off the celestial poles, where the right ascension has none).
  const double rho = std::sqrt(x * x + y * y);
  if (rho > 0 && r > 0) {
    AddAberrationOfDirection(ra, dec, y / rho, x / rho, z / r, rho / r, sinObliquity, cosObliquity, frame.SinL,
                             frame.CosL);
  } else {
    AberrationFromSunTerms(ra, dec, frame.T, sinObliquity, cosObliquity, frame.SinL, frame.CosL, 0.0);
  }
  ra = Mod360(ra);
}

bool UserObjectUsable(const tuserobject& o, std::string* german, std::string* english) {
  std::string de, en;
  bool finite = true;
  for (float v : {o.Angle1, o.Angle2, o.Value3, o.Value4, o.Value5, o.Value6}) finite = finite && std::isfinite(v);
  if (!finite) {
    de = "enthält einen Wert, der keine Zahl ist";
    en = "contains a value that is not a number";
  } else if (!(o.Angle1 >= 0 && o.Angle1 <= 24)) {
    de = "hat eine Rektaszension außerhalb von 0 bis 24 h";
    en = "has a right ascension outside 0 to 24 h";
  } else if (!(std::fabs(o.Angle2) <= 90)) {
    de = "hat eine Deklination über 90°";
    en = "has a declination beyond 90°";
  } else {
    return true;
  }
  const std::string name = ElementRecordName(o.Name);
  if (german != nullptr) *german = "Das Objekt " + name + " " + de + ". Es wird nichts berechnet.";
  if (english != nullptr) *english = "The object " + name + " " + en + ". Nothing is computed.";
  return false;
}

Tusertab::Tusertab(const tuserobject* object, const TTableRequest& request, TSheet* outputSheet, TBodyIndex body)
    : Tplatab(request, outputSheet, body) {
  Tusertab::initialisieren(object, request, body);
}

void Tusertab::initialisieren(const tuserobject* object, const TTableRequest& request, TBodyIndex body) {
  TakeRequest(request);
  UserObject = object;
  DispatchMode = kSunPlanetDispatchMode;
  FullComputation = 1;
  BodyIndex = body;
  H = 1.0;
  Stopped = 0;
  ProgressCaption = request.Language != 0 ? "Compute Object" : "Berechne Objekt";
  Name = object != nullptr ? ElementRecordName(object->Name) : std::string();
  refusalShown_ = false;
}

bool Tusertab::ElementsUsable(std::string* german, std::string* english) const {
  if (UserObject == nullptr) {
    if (german != nullptr) *german = "Das gewählte Objekt steht nicht im Benutzerkatalog. Es wird nichts berechnet.";
    if (english != nullptr) *english = "The chosen object is not in the user catalogue. Nothing is computed.";
    return false;
  }
  return UserObjectUsable(*UserObject, german, english);
}

void Tusertab::rechnen(TComputeSettingsBlock /*settings*/) {
  if (!CheckElements()) return;
  const tuserobject& o = *UserObject;
  const double T = Observer.Centuries;
  TKeplerPosition& p = Result.Position;
  Result.Physical.magnitude = o.Value6;

  double ra = 0, dec = 0;
  FixedObjectApparentPlace(o.Angle1, o.Angle2, o.Value3, o.Value4, o.Value5, T, Observer.Obliquity,
                           Observer.SinObliquity, Observer.CosObliquity, ra, dec);
  p.RightAscension = ra;
  p.Declination = dec;
  p.HelioLongitude = p.HelioLatitude = 0;
  p.HelioDistance = p.GeoDistance = 1.0;
  Result.EquatorialDistance = 1.0;

  // Ecliptic place of date.
  double x = 0, y = 0, z = 0, r = 0;
  PolarToCartesian(x, y, z, 1.0, dec, ra);
  const double ex = x, ey = y, ez = z;
  EquatorialToEcliptic(x, y, z, T);
  CartesianToPolar(r, p.GeoLatitude, p.GeoLongitude, x, y, z);
  // The places referred to the second equinox.
  TMatrix33 m;
  PrecessionMatrixEcliptic(m, T, SecondEquinoxT);
  MatrixTimesVector(m, x, y, z);
  CartesianToPolar(r, Result.SecondGeoLatitude, Result.SecondGeoLongitude, x, y, z);
  x = ex;
  y = ey;
  z = ez;
  PrecessionMatrixEquatorial(m, T, SecondEquinoxT);
  MatrixTimesVector(m, x, y, z);
  CartesianToPolar(r, Result.SecondDeclination, Result.SecondRightAscension, x, y, z);

  EquatorialToHorizontal(Observer.RefractionOn != 0, Result.HourAngle, Result.Altitude, Observer.SiderealHours,
                         Observer.Latitude, ra, dec, Observer.Pressure, Observer.Temperature, Result.Azimuth);
  TKepler::Aufgang_untergang(TRiseSetBlock::kBodyLevel);
}

// ------------------------------------------------------------------ writers

void Tusertab::WriteEphemerisRow(TCellSink& sink, int k, bool heading) {
  const TEphemerisResultRecord& R = RowStore.Row(k - 1);
  const bool english = Language != 0;
  const int row = OutputRow;
  const std::string& second = OutputSettings.SecondEquinoxText;
  auto title = [&](int slot) { return TableConfig.ColumnTitles[static_cast<std::size_t>(slot)]; };
  // One cell: its heading, or its value (NaN: an empty cell).
  auto cell = [&](TCellFamily family, int slot, double value, const std::string& headingText) {
    const int col = OutputColumn++;
    if (heading) {
      WriteHeadingCell(sink, row, col, slot, headingText, true);
    } else {
      sink.Value(family, row, col, slot, value);
    }
  };
  auto column = [&](std::size_t flag, TCellFamily family, int slot, double value, bool secondEquinox = false) {
    if (ColumnOn(flag)) cell(family, slot, value, secondEquinox ? title(slot) + second : title(slot));
  };
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  // An event time: empty without the event; a Julian date in the sheet when
  // asked for.
  auto event = [&](std::size_t flag, int slot, double hours) {
    if (!ColumnOn(flag)) return;
    if (!heading && hours != 0 && !sink.IsGrid() && OutputSettings.RiseSetAsJulianDate != 0) {
      cell(TCellFamily::Number, 3, JulianDayFromLocalDate(R.Day, R.Month, R.Year, hours, Observer), title(slot));
      return;
    }
    cell(TCellFamily::TimeOfDay, slot, hours != 0 ? hours : kNone, title(slot));
  };

  {
    const int col = OutputColumn++;
    if (heading) {
      WriteHeadingCell(sink, row, col, 0, sink.IsGrid() ? (english ? "Date" : "Datum") : Name, true);
    } else {
      sink.Date(row, col, 0, R.Year, R.Month, R.Day);
    }
  }
  if (TimeOfDayColumnOn()) cell(TCellFamily::TimeOfDay, 1, R.LocalHours, title(1));
  column(cf::kJulianDate, TCellFamily::Number, 3, R.JD);
  column(cf::kGeoLongitude, TCellFamily::Angle, 11, R.Position.GeoLongitude);
  column(cf::kGeoLatitude, TCellFamily::Angle, 12, R.Position.GeoLatitude);
  column(cf::kGeoLongitudeSecondEquinox, TCellFamily::Angle, 11, R.SecondGeoLongitude, true);
  column(cf::kGeoLatitudeSecondEquinox, TCellFamily::Angle, 12, R.SecondGeoLatitude, true);
  column(cf::kRightAscension, TCellFamily::Angle, 16, R.Position.RightAscension);
  column(cf::kDeclination, TCellFamily::Angle, 17, R.Position.Declination);
  column(cf::kRightAscensionSecondEquinox, TCellFamily::Angle, 16, R.SecondRightAscension, true);
  column(cf::kDeclinationSecondEquinox, TCellFamily::Angle, 17, R.SecondDeclination, true);
  column(cf::kAzimuth, TCellFamily::Angle, 46, Mod360(R.Azimuth + OutputSettings.AzimuthOrigin));
  column(cf::kAltitude, TCellFamily::Angle, 47, R.Altitude);
  column(cf::kHourAngle, TCellFamily::Angle, 48, R.HourAngle * 15.0);
  const TRiseSetLevel& level = R.RiseSet.Levels[TRiseSetBlock::kBodyLevel];
  event(cf::kRise, 30, level.Rise);
  event(cf::kTransit, 31, R.RiseSet.TransitTime);
  event(cf::kSet, 32, level.Set);
  column(cf::kTransitAltitude, TCellFamily::Angle, 33, R.RiseSet.HasTransit() ? R.RiseSet.TransitAltitude : kNone);
  column(cf::kMagnitude, TCellFamily::Magnitude, 62, R.Physical.magnitude);
  if (OutputColumn == 2) sink.Text(row, OutputColumn++, "");
}

}  // namespace kvx
