#include "engine/column_catalogue.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include "core/column_flags.h"
#include "core/vector_math.h"

namespace kvx {

namespace {

namespace cb = column_bodies;
namespace cf = column_flag;
using F = TCellFamily;
using H = TColumnHeading;
using U = TColumnRule;
using V = TRowValues;

// 149.59787 million km per AU.
constexpr double kMillionKmPerAU = 149.59787;

const TRiseSetLevel& Level(const V& v, int level) { return v.R->RiseSet.Levels[static_cast<std::size_t>(level)]; }

constexpr TColumnDescriptor Col(int row, std::size_t flag, std::uint16_t bodies, int group, int slot, F family,
                                TColumnValue value, U rule = U::None, H heading = H::Plain) {
  return {static_cast<std::uint8_t>(row),
          static_cast<std::uint8_t>(flag),
          bodies,
          static_cast<std::uint8_t>(group),
          static_cast<std::int16_t>(slot),
          static_cast<std::int16_t>(slot),
          true,
          heading,
          family,
          rule,
          TColumnHook::None,
          value,
          nullptr};
}

constexpr TColumnDescriptor WithText(TColumnDescriptor d, TColumnText text) {
  d.Text = text;
  return d;
}

constexpr TColumnDescriptor Hook(int row, TColumnHook hook, std::uint16_t bodies) {
  return {
      static_cast<std::uint8_t>(row), 0, bodies, 0, 0, 0, false, H::Plain, F::Number, U::None, hook, nullptr, nullptr};
}

// The four darkness columns: one heading slot, no width of their own.
constexpr TColumnDescriptor Dark(H heading, TColumnValue value) {
  TColumnDescriptor d = Col(63, cf::kDarkness, cb::kNotMoon, 1, 197, F::TimeOfDay, value, U::Darkness, heading);
  d.OwnWidth = false;
  return d;
}

double MoonHorizontalParallax(const V& v) { return ArcSinDeg(1.0 / v.R->Position.GeoDistance); }

const std::vector<TColumnDescriptor>& Build() {
  static const std::vector<TColumnDescriptor> table = {
      // --- time ------------------------------------------------------------
      // Flag 4 asks for the date only: the time column stands while it is off
      // (the writer tests it the other way round, see TKeplereph).
      Col(1, cf::kDateOnly, cb::kAll, 0, 1, F::TimeOfDay, [](const V& v) { return v.R->LocalHours; }),
      Col(2, cf::kJulianDate, cb::kAll, 0, 3, F::Number, [](const V& v) { return v.R->JD; }),
      Col(3, cf::kLocalSiderealTime, cb::kAll, 0, 190, F::TimeOfDay,
          [](const V& v) { return v.R->LocalSiderealHours; }),
      Col(4, cf::kGreenwichSiderealTime, cb::kAll, 0, 191, F::TimeOfDay,
          [](const V& v) { return v.R->GreenwichSiderealHours; }),
      Col(5, cf::kLongitudeOfAries, cb::kAll, 0, 192, F::Angle,
          [](const V& v) { return v.R->GreenwichSiderealDegrees; }),
      Col(6, cf::kSunEquatorialJ2000, cb::kSun, 0, 114, F::Number, [](const V& v) { return v.R->SunJ2000X; }),
      Col(6, cf::kSunEquatorialJ2000, cb::kSun, 0, 115, F::Number, [](const V& v) { return v.R->SunJ2000Y; }),
      Col(6, cf::kSunEquatorialJ2000, cb::kSun, 0, 116, F::Number, [](const V& v) { return v.R->SunJ2000Z; }),
      Col(
          7, cf::kMeanAnomaly, cb::kSmallBodies, 0, 6, F::Number, [](const V& v) { return v.R->MeanAnomaly; },
          U::MeanAnomaly),
      // --- heliocentric ------------------------------------------------------
      Col(8, cf::kHelioLongitude, cb::kNotSunNotMoon, 0, 7, F::Angle,
          [](const V& v) { return v.R->Position.HelioLongitude; }),
      Col(9, cf::kHelioLatitude, cb::kNotSunNotMoon, 0, 8, F::Angle,
          [](const V& v) { return v.R->Position.HelioLatitude; }),
      Col(10, cf::kHelioRadius, cb::kNotSunNotMoon, 0, 9, F::Number,
          [](const V& v) { return v.R->Position.HelioDistance; }),
      Col(11, cf::kHelioRadiusMillionKm, cb::kNotSunNotMoon, 0, 10, F::Number,
          [](const V& v) { return v.R->Position.HelioDistance * kMillionKmPerAU; }),
      Col(12, cf::kHelioEclipticPosition, cb::kNotSunNotMoon, 0, 117, F::Number,
          [](const V& v) { return v.R->Position.HelioX; }),
      Col(12, cf::kHelioEclipticPosition, cb::kNotSunNotMoon, 0, 118, F::Number,
          [](const V& v) { return v.R->Position.HelioY; }),
      Col(12, cf::kHelioEclipticPosition, cb::kNotSunNotMoon, 0, 119, F::Number,
          [](const V& v) { return v.R->Position.HelioZ; }),
      Col(13, cf::kHelioEclipticVelocity, cb::kNotSunNotMoon, 0, 120, F::Number,
          [](const V& v) { return v.R->HelioVX; }),
      Col(13, cf::kHelioEclipticVelocity, cb::kNotSunNotMoon, 0, 121, F::Number,
          [](const V& v) { return v.R->HelioVY; }),
      Col(13, cf::kHelioEclipticVelocity, cb::kNotSunNotMoon, 0, 122, F::Number,
          [](const V& v) { return v.R->HelioVZ; }),
      Col(13, cf::kHelioEclipticVelocity, cb::kNotSunNotMoon, 0, 3, F::Number, [](const V& v) { return v.R->JD; }),
      Col(14, cf::kHelioEquatorialPosition, cb::kNotSunNotMoon, 0, 123, F::Number,
          [](const V& v) { return v.EquatorialPosition[0]; }),
      Col(14, cf::kHelioEquatorialPosition, cb::kNotSunNotMoon, 0, 124, F::Number,
          [](const V& v) { return v.EquatorialPosition[1]; }),
      Col(14, cf::kHelioEquatorialPosition, cb::kNotSunNotMoon, 0, 125, F::Number,
          [](const V& v) { return v.EquatorialPosition[2]; }),
      Col(15, cf::kHelioEquatorialVelocity, cb::kNotSunNotMoon, 0, 126, F::Number,
          [](const V& v) { return v.EquatorialVelocity[0]; }),
      Col(15, cf::kHelioEquatorialVelocity, cb::kNotSunNotMoon, 0, 127, F::Number,
          [](const V& v) { return v.EquatorialVelocity[1]; }),
      Col(15, cf::kHelioEquatorialVelocity, cb::kNotSunNotMoon, 0, 128, F::Number,
          [](const V& v) { return v.EquatorialVelocity[2]; }),
      Col(15, cf::kHelioEquatorialVelocity, cb::kNotSunNotMoon, 0, 3, F::Number, [](const V& v) { return v.R->JD; }),
      Col(16, cf::kElementsEquatorialPosition, cb::kSmallBodies, 0, 129, F::Number,
          [](const V& v) { return v.ElementsPosition[0]; }),
      Col(16, cf::kElementsEquatorialPosition, cb::kSmallBodies, 0, 130, F::Number,
          [](const V& v) { return v.ElementsPosition[1]; }),
      Col(16, cf::kElementsEquatorialPosition, cb::kSmallBodies, 0, 131, F::Number,
          [](const V& v) { return v.ElementsPosition[2]; }),
      Col(17, cf::kElementsEquatorialVelocity, cb::kSmallBodies, 0, 132, F::Number,
          [](const V& v) { return v.ElementsVelocity[0]; }),
      Col(17, cf::kElementsEquatorialVelocity, cb::kSmallBodies, 0, 133, F::Number,
          [](const V& v) { return v.ElementsVelocity[1]; }),
      Col(17, cf::kElementsEquatorialVelocity, cb::kSmallBodies, 0, 134, F::Number,
          [](const V& v) { return v.ElementsVelocity[2]; }),
      Col(17, cf::kElementsEquatorialVelocity, cb::kSmallBodies, 0, 3, F::Number, [](const V& v) { return v.R->JD; }),
      Col(
          18, cf::kHelioLongitudeSecondEquinox, cb::kNotSunNotMoon, 0, 7, F::Angle,
          [](const V& v) { return v.R->SecondHelioLongitude; }, U::None, H::SecondEquinox),
      Col(
          19, cf::kHelioLatitudeSecondEquinox, cb::kNotSunNotMoon, 0, 8, F::Angle,
          [](const V& v) { return v.R->SecondHelioLatitude; }, U::None, H::SecondEquinox),
      Hook(20, TColumnHook::MoonExtras, cb::kMoon),
      // --- geocentric --------------------------------------------------------
      Col(21, cf::kGeoLongitude, cb::kAll, 0, 11, F::Angle, [](const V& v) { return v.R->Position.GeoLongitude; }),
      Col(22, cf::kGeoLatitude, cb::kAll, 0, 12, F::Angle, [](const V& v) { return v.R->Position.GeoLatitude; }),
      Col(23, cf::kGeoDistance, cb::kNotMoon, 0, 13, F::Number, [](const V& v) { return v.R->Position.GeoDistance; }),
      Col(24, cf::kGeoDistance, cb::kMoon, 0, 15, F::Number, [](const V& v) { return v.R->Position.GeoDistance; }),
      Col(25, cf::kGeoDistanceMillionKm, cb::kNotMoon, 0, 14, F::Number,
          [](const V& v) { return v.R->Position.GeoDistance * kMillionKmPerAU; }),
      Col(
          26, cf::kGeoLongitudeSecondEquinox, cb::kAll, 0, 11, F::Angle,
          [](const V& v) { return v.R->SecondGeoLongitude; }, U::None, H::SecondEquinox),
      Col(
          27, cf::kGeoLatitudeSecondEquinox, cb::kAll, 0, 12, F::Angle,
          [](const V& v) { return v.R->SecondGeoLatitude; }, U::None, H::SecondEquinox),
      Col(28, cf::kRightAscension, cb::kAll, 0, 16, F::Angle, [](const V& v) { return v.R->Position.RightAscension; }),
      Col(29, cf::kDeclination, cb::kAll, 0, 17, F::Angle, [](const V& v) { return v.R->Position.Declination; }),
      Col(30, cf::kHourlyMotionRA, cb::kNotMoon, 0, 18, F::SecondsMarked,
          [](const V& v) { return v.R->HourlyRightAscension; }),
      Col(31, cf::kHourlyMotionDec, cb::kNotMoon, 0, 19, F::SecondsMarked,
          [](const V& v) { return v.R->HourlyDeclination; }),
      Col(32, cf::kHourlyMotion, cb::kNotMoon, 0, 20, F::SecondsMarked, [](const V& v) { return v.R->HourlyTotal; }),
      Col(33, cf::kHourlyMotionAngle, cb::kNotMoon, 0, 21, F::DegreeMarked,
          [](const V& v) { return v.R->HourlyDirection; }),
      Col(
          34, cf::kRightAscensionSecondEquinox, cb::kAll, 0, 16, F::Angle,
          [](const V& v) { return v.R->SecondRightAscension; }, U::None, H::SecondEquinox),
      Col(
          35, cf::kDeclinationSecondEquinox, cb::kAll, 0, 17, F::Angle,
          [](const V& v) { return v.R->SecondDeclination; }, U::None, H::SecondEquinox),
      Col(
          36, cf::kAstrometricRightAscension, cb::kAll, 0, 26, F::Angle,
          [](const V& v) { return v.R->TopoSecondRightAscension; }, U::None, H::SecondEquinox),
      Col(
          37, cf::kAstrometricDeclination, cb::kAll, 0, 27, F::Angle,
          [](const V& v) { return v.R->TopoSecondDeclination; }, U::None, H::SecondEquinox),
      Col(38, cf::kLightTime, cb::kNotMoon, 0, 22, F::Minutes, [](const V& v) { return v.R->LightTime * 60.0 * 24.0; }),
      // --- topocentric, horizon, rise and set (group 1) ----------------------
      Col(39, cf::kTopoRightAscension, cb::kAll, 1, 23, F::Angle, [](const V& v) { return v.R->TopoRightAscension; }),
      Col(40, cf::kTopoDeclination, cb::kAll, 1, 24, F::Angle, [](const V& v) { return v.R->TopoDeclination; }),
      Col(41, cf::kTopoDistance, cb::kNotMoon, 1, 25, F::Number, [](const V& v) { return v.R->TopoDistance; }),
      Col(42, cf::kTopoDistance, cb::kMoon, 1, 29, F::Number, [](const V& v) { return v.R->TopoDistance; }),
      Col(43, cf::kTopoDistanceMillionKm, cb::kNotMoon, 1, 28, F::Number,
          [](const V& v) { return v.R->TopoDistance * kMillionKmPerAU; }),
      Col(44, cf::kAzimuth, cb::kAll, 1, 46, F::Angle,
          [](const V& v) { return Mod360(v.R->Azimuth + v.AzimuthOrigin); }),
      Col(45, cf::kAltitude, cb::kAll, 1, 47, F::Angle, [](const V& v) { return v.R->Altitude; }),
      Col(46, cf::kHourAngle, cb::kAll, 1, 48, F::Angle, [](const V& v) { return HourAngleDegrees(v.R->HourAngle); }),
      Col(47, cf::kMoonGeoAzimuth, cb::kMoon, 1, 49, F::Angle,
          [](const V& v) { return Mod360(v.R->Moon.GeoAzimuth + v.AzimuthOrigin); }),
      Col(48, cf::kMoonGeoAltitude, cb::kMoon, 1, 50, F::Angle, [](const V& v) { return v.R->Moon.GeoAltitude; }),
      Col(49, cf::kMoonGeoHourAngle, cb::kMoon, 1, 51, F::Angle,
          [](const V& v) { return HourAngleDegrees(v.R->Moon.GeoHourAngle); }),
      Col(
          50, cf::kRise, cb::kAll, 1, 30, F::TimeOfDay, [](const V& v) { return Level(v, v.EventLevel).Rise; },
          U::EventTime),
      Col(
          51, cf::kTransit, cb::kAll, 1, 31, F::TimeOfDay, [](const V& v) { return v.R->RiseSet.TransitTime; },
          U::EventTime),
      Col(
          52, cf::kSet, cb::kAll, 1, 32, F::TimeOfDay, [](const V& v) { return Level(v, v.EventLevel).Set; },
          U::EventTime),
      Col(
          53, cf::kTransitAltitude, cb::kAll, 1, 33, F::Angle, [](const V& v) { return v.R->RiseSet.TransitAltitude; },
          U::TransitAltitude),
      Col(
          54, cf::kRiseAzimuth, cb::kAll, 1, 34, F::Angle, [](const V& v) { return v.R->RiseSet.RiseAzimuth; },
          U::Azimuth),
      Col(
          55, cf::kSetAzimuth, cb::kAll, 1, 35, F::Angle, [](const V& v) { return v.R->RiseSet.SetAzimuth; },
          U::Azimuth),
      Col(56, cf::kTimeAboveHorizon, cb::kAll, 1, 36, F::TimeOfDay,
          [](const V& v) { return Level(v, v.EventLevel).Duration; }),
      WithText(Col(
                   57, cf::kTwilight, cb::kSun, 1, 37, F::TimeOfDay, [](const V& v) { return Level(v, 3).Rise; },
                   U::Twilight),
               [](const V& v) -> const std::string& { return Level(v, 3).RiseMarker; }),
      WithText(Col(
                   57, cf::kTwilight, cb::kSun, 1, 38, F::TimeOfDay, [](const V& v) { return Level(v, 3).Set; },
                   U::Twilight),
               [](const V& v) -> const std::string& { return Level(v, 3).SetMarker; }),
      Col(58, cf::kNightLengths, cb::kSun, 1, 43, F::TimeOfDay, [](const V& v) { return Level(v, 3).Duration; }),
      WithText(Col(
                   59, cf::kTwilight, cb::kSun, 1, 39, F::TimeOfDay, [](const V& v) { return Level(v, 4).Rise; },
                   U::Twilight),
               [](const V& v) -> const std::string& { return Level(v, 4).RiseMarker; }),
      WithText(Col(
                   59, cf::kTwilight, cb::kSun, 1, 40, F::TimeOfDay, [](const V& v) { return Level(v, 4).Set; },
                   U::Twilight),
               [](const V& v) -> const std::string& { return Level(v, 4).SetMarker; }),
      Col(60, cf::kNightLengths, cb::kSun, 1, 44, F::TimeOfDay, [](const V& v) { return Level(v, 4).Duration; }),
      WithText(Col(
                   61, cf::kTwilight, cb::kSun, 1, 41, F::TimeOfDay, [](const V& v) { return Level(v, 5).Rise; },
                   U::Twilight),
               [](const V& v) -> const std::string& { return Level(v, 5).RiseMarker; }),
      WithText(Col(
                   61, cf::kTwilight, cb::kSun, 1, 42, F::TimeOfDay, [](const V& v) { return Level(v, 5).Set; },
                   U::Twilight),
               [](const V& v) -> const std::string& { return Level(v, 5).SetMarker; }),
      Col(62, cf::kNightLengths, cb::kSun, 1, 45, F::TimeOfDay, [](const V& v) { return Level(v, 5).Duration; }),
      Dark(H::DarkFirst, [](const V& v) { return v.R->Darkness.FirstStart; }),
      Dark(H::DarkUntil, [](const V& v) { return v.R->Darkness.FirstEnd; }),
      Dark(H::DarkSecond, [](const V& v) { return v.R->Darkness.SecondStart; }),
      Dark(H::DarkUntil, [](const V& v) { return v.R->Darkness.SecondEnd; }),
      [] {
        // Written in the format of slot 197, headed by slot 198.
        TColumnDescriptor d = Col(
            64, cf::kDarknessSum, cb::kNotMoon, 1, 197, F::TimeOfDay, [](const V& v) { return v.R->Darkness.Total; },
            U::NonNegative);
        d.HeadingSlot = 198;
        return d;
      }(),
      // --- physical ephemeris (group 2) --------------------------------------
      WithText(Col(65, cf::kElongation, cb::kNotSun, 2, 52, F::Longitude,
                   [](const V& v) { return v.R->Physical.elongation; }),
               [](const V& v) -> const std::string& { return v.R->Physical.sideText; }),
      WithText(Col(66, cf::kMoonTopoElongation, cb::kMoon, 2, 53, F::Longitude,
                   [](const V& v) { return v.R->Moon.TopoElongation; }),
               [](const V& v) -> const std::string& { return v.R->Moon.TopoSideText; }),
      Col(67, cf::kSunLongitudeDifference, cb::kNotSun, 2, 56, F::Angle,
          [](const V& v) { return v.R->Physical.sideAngle; }),
      Col(68, cf::kMoonTopoSunLongitudeDifference, cb::kMoon, 2, 57, F::Angle,
          [](const V& v) { return v.R->Moon.TopoSideAngle; }),
      Col(69, cf::kPhaseAngle, cb::kNotSun, 2, 58, F::Angle, [](const V& v) { return v.R->Physical.phaseAngle; }),
      Col(70, cf::kMoonTopoPhaseAngle, cb::kMoon, 2, 59, F::Angle, [](const V& v) { return v.R->Moon.TopoPhaseAngle; }),
      Col(71, cf::kBrightLimbAngle, cb::kNotSun, 2, 54, F::Angle,
          [](const V& v) { return v.R->Physical.brightLimbAngle; }),
      Col(72, cf::kMoonTopoBrightLimbAngle, cb::kMoon, 2, 55, F::Angle,
          [](const V& v) { return v.R->Moon.TopoBrightLimbAngle; }),
      Col(73, cf::kIlluminatedFraction, cb::kNotSun, 2, 60, F::Number,
          [](const V& v) { return v.R->Physical.illuminatedFraction; }),
      Col(74, cf::kMoonTopoIlluminatedFraction, cb::kMoon, 2, 61, F::Number,
          [](const V& v) { return v.R->Moon.TopoIlluminatedFraction; }),
      Col(75, cf::kMagnitude, cb::kAll, 2, 62, F::Magnitude, [](const V& v) { return v.R->Physical.magnitude; }),
      Col(76, cf::kAxisPositionAngle, cb::kMoon, 2, 63, F::Angle, [](const V& v) { return v.R->Physical.axisAngle; }),
      Col(77, cf::kCentreLatitude, cb::kMoon, 2, 64, F::Angle, [](const V& v) { return v.R->Physical.subEarthLatC; }),
      Col(78, cf::kCentralMeridian, cb::kMoon, 2, 66, F::Angle,
          [](const V& v) { return v.R->Physical.centralMeridian1; }),
      Col(79, cf::kMoonTopoAxisPositionAngle, cb::kMoon, 2, 67, F::Angle,
          [](const V& v) { return v.R->Moon.TopoAxisAngle; }),
      Col(80, cf::kMoonTopoCentreLatitude, cb::kMoon, 2, 68, F::Angle,
          [](const V& v) { return v.R->Moon.TopoCentreLatitude; }),
      Col(81, cf::kMoonTopoCentralMeridian, cb::kMoon, 2, 69, F::Angle,
          [](const V& v) { return v.R->Moon.TopoCentralMeridian; }),
      Col(82, cf::kMoonColongitude, cb::kMoon, 2, 84, F::Angle,
          [](const V& v) { return v.R->Physical.SunColongitude; }),
      Col(83, cf::kMoonSunLatitude, cb::kMoon, 2, 85, F::Angle,
          [](const V& v) { return v.R->Physical.SunSelenographicLatitude; }),
      Col(84, cf::kDiameter, cb::kMoon, 2, 79, F::Arcminutes, [](const V& v) { return v.R->Physical.Semidiameter; }),
      Col(85, cf::kMoonTopoSemidiameter, cb::kMoon, 2, 81, F::Arcminutes,
          [](const V& v) { return v.R->Physical.TopoSemidiameter; }),
      Col(86, cf::kMoonAge, cb::kMoon, 2, 86, F::Number, [](const V& v) { return v.R->Physical.MoonAge; }),
      Col(87, cf::kHorizontalParallax, cb::kMoon, 2, 87, F::Arcminutes, MoonHorizontalParallax),
      Col(88, cf::kCrescentVisibility, cb::kMoon, 2, 193, F::Angle,
          [](const V& v) { return v.R->Moon.RelativeAzimuth; }),
      Col(88, cf::kCrescentVisibility, cb::kMoon, 2, 194, F::Angle,
          [](const V& v) { return v.R->Moon.ElongationValue; }),
      Col(88, cf::kCrescentVisibility, cb::kMoon, 2, 195, F::Angle,
          [](const V& v) { return v.R->Moon.AltitudeDifference; }),
      Col(88, cf::kCrescentVisibility, cb::kMoon, 2, 196, F::Angle,
          [](const V& v) { return v.R->Moon.LimbAltitudeDifference; }),
      Col(88, cf::kCrescentVisibility, cb::kMoon, 2, 88, F::Arcminutes,
          [](const V& v) { return ArcSinDeg(SinDeg(MoonHorizontalParallax(v)) * CosDeg(v.R->Moon.GeoAltitude)); }),
      Col(89, cf::kAxisPositionAngle, cb::kSun | cb::kPlanets, 2, 63, F::Angle,
          [](const V& v) { return v.R->Physical.axisAngle; }),
      Col(90, cf::kCentreLatitude, cb::kSun | cb::kPlanets, 2, 64, F::Angle,
          [](const V& v) { return v.R->Physical.subEarthLatC; }),
      Col(91, cf::kCentreLatitudePlanetographic, cb::kSun | cb::kPlanets, 2, 65, F::Angle,
          [](const V& v) { return v.R->Physical.subEarthLatG; }),
      Col(92, cf::kCentralMeridian, cb::kSun | cb::kPlanets, 2, 66, F::Angle,
          [](const V& v) { return v.R->Physical.centralMeridian1; }),
      Col(93, cf::kCentralMeridianSystem2, cb::kJupiter, 2, 70, F::Angle,
          [](const V& v) { return v.R->Physical.centralMeridian2; }),
      Col(94, cf::kCentralMeridianSystem2, cb::kJupiter | cb::kSaturn, 2, 71, F::Angle,
          [](const V& v) { return v.R->Physical.centralMeridian3; }),
      Col(95, cf::kDiameter, cb::kSun, 2, 79, F::Arcminutes, [](const V& v) { return v.R->Physical.diameter; }),
      Col(96, cf::kHorizontalParallax, cb::kSun, 2, 87, F::Arcseconds,
          [](const V& v) { return ArcSinDeg(6378137.0 / (149597870000.0 * v.R->Position.GeoDistance)) * 3600.0; }),
      // Equation of time: mean minus apparent solar time (Meeus's E with the
      // opposite sign; +13m42.6s apparent minus mean shows as -13:42.6).
      Col(97, cf::kEquationOfTime, cb::kSun, 2, 89, F::HoursAsMinutes,
          [](const V& v) { return v.R->Physical.EquationOfTime; }),
      Col(98, cf::kRotationNumber, cb::kSun, 2, 90, F::Number, [](const V& v) { return v.R->Physical.RotationNumber; }),
      Col(99, cf::kDiameter, cb::kPlanets, 2, 79, F::Arcseconds, [](const V& v) { return v.R->Physical.diameter; }),
      Col(100, cf::kPolarDiameter, cb::kPlanets, 2, 80, F::Arcseconds,
          [](const V& v) { return v.R->Physical.polarDiameter; }),
      Col(101, cf::kSunPositionAngle, cb::kPlanets, 2, 72, F::Angle,
          [](const V& v) { return v.R->Physical.brightLimbAngle2; }),
      Col(102, cf::kSubsolarLatitude, cb::kPlanets, 2, 73, F::Angle,
          [](const V& v) { return v.R->Physical.subSolarLatC; }),
      Col(103, cf::kSubsolarLatitudePlanetographic, cb::kPlanets, 2, 74, F::Angle,
          [](const V& v) { return v.R->Physical.subSolarLatG; }),
      Col(104, cf::kSubsolarLongitude, cb::kPlanets, 2, 75, F::Angle,
          [](const V& v) { return v.R->Physical.subSolarLon1; }),
      Col(105, cf::kSubsolarLongitude, cb::kJupiter, 2, 76, F::Angle,
          [](const V& v) { return v.R->Physical.subSolarLon2; }),
      Col(106, cf::kSubsolarLongitude, cb::kJupiter | cb::kSaturn, 2, 77, F::Angle,
          [](const V& v) { return v.R->Physical.subSolarLon3; }),
      Col(107, cf::kDefectOfIllumination, cb::kPlanets, 2, 78, F::Arcseconds,
          [](const V& v) { return v.R->Physical.defect; }),
      Col(108, cf::kRingMajorAxis, cb::kSaturn, 2, 82, F::Arcseconds,
          [](const V& v) { return v.R->Physical.ringMajor; }),
      Col(109, cf::kRingMinorAxis, cb::kSaturn, 2, 83, F::Arcseconds,
          [](const V& v) { return v.R->Physical.ringMinor; }),
      Hook(110, TColumnHook::Elements, cb::kPlanets | cb::kSmallBodies),
  };
  return table;
}

}  // namespace

std::uint16_t BodyBit(std::int32_t bodyIndex) {
  if (bodyIndex < 0 || bodyIndex > 12) return column_bodies::kOther;
  return static_cast<std::uint16_t>(1u << bodyIndex);
}

std::span<const TColumnDescriptor> ColumnCatalogue() {
  const auto& table = Build();
  return {table.data(), table.size()};
}

const TColumnDescriptor& CatalogueColumn(int row) {
  for (const TColumnDescriptor& d : Build()) {
    if (d.Row == row && d.Hook == TColumnHook::None) return d;
  }
  throw std::out_of_range("no column in catalogue row " + std::to_string(row));
}

}  // namespace kvx
