#include "engine/kepler.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/element_records.h"
#include "core/frames.h"
#include "core/rise_set_search.h"
#include "core/sun_longitude.h"
#include "core/tabulated_constants.h"
#include "core/time_scales.h"
#include "core/two_body.h"
#include "core/vector_math.h"
#include "platform/messages.h"

namespace kvx {

namespace {

bool AllFinite(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

}  // namespace

TKepler::TKepler(const TBodySettings& body, std::int32_t creatorWord, const TTableConfigRecord& config,
                 const TAsteroidElements& elements, const TObserverRecord& observer, const TAccuracySettings& accuracy)
    : Language(body.Language),
      SecondEquinoxT(body.SecondEquinoxT),
      RiseSet(body.RiseSet),
      Accuracy(accuracy),
      TableConfig(config),
      Observer(observer),
      CreatorWord(creatorWord) {
  SetElements(elements);
}

void TKepler::initialisieren_objekt(const TBodySettings& body, const TTableConfigRecord& config,
                                    const TAsteroidElements& elements, const TObserverRecord& observer,
                                    const TAccuracySettings& accuracy, std::uint8_t databaseFlag,
                                    const std::string& name) {
  TakeRecords(body, config, observer, accuracy);
  DatabaseFlag = databaseFlag;
  ObjectName = name;
  BodyIndex = kBodyIndexAsteroid;
  FullComputation = 1;
  Stopped = 0;
  refusalShown_ = false;
  SetElements(elements);
}

void TKepler::SetBodySettings(const TBodySettings& body) {
  Language = body.Language;
  SecondEquinoxT = body.SecondEquinoxT;
  RiseSet = body.RiseSet;
}

void TKepler::TakeRecords(const TBodySettings& body, const TTableConfigRecord& config, const TObserverRecord& observer,
                          const TAccuracySettings& accuracy) {
  SetBodySettings(body);
  TableConfig = config;
  Observer = observer;
  Accuracy = accuracy;
}

void TKepler::SetElements(const TAsteroidElements& e) {
  SemiMajorAxis = e.SemiMajorAxis;
  Eccentricity = e.Eccentricity;
  Inclination = e.Inclination;
  Node = e.Node;
  Perihelion = e.Perihelion;
  MeanAnomaly = e.MeanAnomaly;
  MeanMotion = e.MeanMotion;
  Equinox = e.Equinox;
  Epoch = e.Epoch;
  H = e.H;
  G = e.G;
  PerihelionDistance = 0;
  Name = ElementRecordName(e.Name);
  if (MeanMotion == 0 && SemiMajorAxis > 0) MeanMotion = MeanDailyMotion(SemiMajorAxis);
}

TAsteroidElements TKepler::Elements() const {
  TAsteroidElements e;
  e.SemiMajorAxis = SemiMajorAxis;
  e.Eccentricity = Eccentricity;
  e.Inclination = Inclination;
  e.Node = Node;
  e.Perihelion = Perihelion;
  e.MeanAnomaly = MeanAnomaly;
  e.MeanMotion = MeanMotion;
  e.Equinox = Equinox;
  e.Epoch = Epoch;
  e.H = H;
  e.G = G;
  e.Name = Name;
  return e;
}

bool TKepler::ElementsUsable(std::string* german, std::string* english) const {
  const bool finite = AllFinite(
      {SemiMajorAxis, Eccentricity, Inclination, Node, Perihelion, MeanAnomaly, MeanMotion, Equinox, Epoch, H, G});
  std::string de, en;
  if (!finite) {
    de = "enthalten einen Wert, der keine Zahl ist";
    en = "contain a value that is not a number";
  } else if (!(SemiMajorAxis > 0)) {
    de = "haben eine große Halbachse a <= 0";
    en = "have a semi-major axis a <= 0";
  } else if (!(Eccentricity >= 0 && Eccentricity < 1)) {
    de = "beschreiben keine Ellipse (e >= 1 oder e < 0)";
    en = "do not describe an ellipse (e >= 1 or e < 0)";
  } else {
    return true;
  }
  if (german != nullptr) *german = "Die Bahnelemente von " + Name + " " + de + ". Es wird nichts berechnet.";
  if (english != nullptr) *english = "The orbital elements of " + Name + " " + en + ". Nothing is computed.";
  return false;
}

bool TKepler::CheckElements() {
  std::string german, english;
  if (ElementsUsable(&german, &english)) return true;
  if (!refusalShown_) {
    refusalShown_ = true;
    ShowMessage(german, english, MessageIcon::Error);
  }
  return false;
}

const TKepler::TInstantFrames& TKepler::Frames() {
  const double T = Observer.Centuries;
  if (frames_.T != T) {
    frames_.T = T;
    const double obliquity = MeanObliquity(T);
    frames_.SinObliquity = SinCosDeg(frames_.CosObliquity, obliquity);
    // As NutationEquatorial: the obliquity in radians with its own factor.
    const double eps = obliquity * kPiAsTabulated / 180.0;
    double dpsi = 0, deps = 0;
    NutationAngles(dpsi, deps, T);
    frames_.NutationA = deps;
    frames_.NutationB = dpsi * std::sin(eps);
    frames_.NutationC = dpsi * std::cos(eps);
    double depsDegrees = 0;
    frames_.NutationLongitude = NutationAnglesToDegrees(depsDegrees, dpsi, deps);
    frames_.SecondT = std::numeric_limits<double>::quiet_NaN();
  }
  return frames_;
}

void TKepler::AdoptFrames(const TInstantFrames& frames) {
  if (!(frames.T == Observer.Centuries)) return;
  frames_ = frames;
  frames_.SecondT = std::numeric_limits<double>::quiet_NaN();
}

const TKepler::TInstantFrames& TKepler::SecondEquinoxFrames() {
  const TInstantFrames& f = Frames();
  if (!(f.SecondT == SecondEquinoxT)) {
    frames_.SecondT = SecondEquinoxT;
    PrecessionMatrixEquatorial(frames_.SecondEquatorial, f.T, SecondEquinoxT);
    PrecessionMatrixEcliptic(frames_.SecondEcliptic, f.T, SecondEquinoxT);
  }
  return frames_;
}

void TKepler::EclipticToEquatorialOfDate(double& x, double& y, double& z) {
  const TInstantFrames& f = Frames();
  const double oy = y, oz = z;
  y = oy * f.CosObliquity - oz * f.SinObliquity;
  z = oy * f.SinObliquity + oz * f.CosObliquity;
  (void)x;
}

void TKepler::NutateOfDate(double& x, double& y, double& z) {
  const TInstantFrames& f = Frames();
  SmallRotateVector(x, y, z, f.NutationA, f.NutationB, f.NutationC);
}

void TKepler::bahnlageelemente() {
  const std::array<double, 5> from = {Inclination, Node, Perihelion, Equinox, Observer.Centuries};
  if (!precessedValid_ || from != precessedFrom_) {
    // The pole of the elements is kept for the next dates.
    if (!precessionSourceValid_ ||
        std::bit_cast<std::uint64_t>(precessionSource_.Inclination) != std::bit_cast<std::uint64_t>(Inclination) ||
        std::bit_cast<std::uint64_t>(precessionSource_.Node) != std::bit_cast<std::uint64_t>(Node)) {
      precessionSource_ = ElementPrecessionSource(Inclination, Node);
      precessionSourceValid_ = true;
    }
    precessedTo_ = {Inclination, Node, Perihelion};
    PrecessOrbitalElements(precessionSource_, precessedTo_[0], precessedTo_[1], precessedTo_[2],
                           (Equinox - 2000.0) * 0.01, Observer.Centuries);
    precessedFrom_ = from;
    precessedValid_ = true;
  }
  InclinationOfDate = precessedTo_[0];
  NodeOfDate = precessedTo_[1];
  PerihelionOfDate = precessedTo_[2];
}

void TKepler::Bahn2heliozentrisch(TComputeSettingsBlock /*settings*/, double mjdTT) {
  const double jd = MjdToJd(mjdTT);
  const double M = Mod360((jd - Epoch) * MeanMotion + MeanAnomaly);
  Result.MeanAnomaly = M;
  double x = 0, y = 0, vx = 0, vy = 0;
  EllipticOrbitPosition(x, y, vx, vy, M, SemiMajorAxis, Eccentricity);
  heliozentrisch(x, y, vx, vy);
}

void TKepler::heliozentrisch(double x, double y, double vx, double vy) {
  const std::array<double, 3> angles = {NodeOfDate, InclinationOfDate, PerihelionOfDate};
  if (!orientationValid_ || angles != orientationFor_) {
    GaussVectors(orientation_, NodeOfDate, InclinationOfDate, PerihelionOfDate);
    orientationFor_ = angles;
    orientationValid_ = true;
  }
  const TMatrix33& m = orientation_;
  TKeplerPosition& p = Result.Position;
  OrbitPlaneToSpace(m, x, y, p.HelioX, p.HelioY, p.HelioZ);
  OrbitPlaneToSpace(m, vx, vy, Result.HelioVX, Result.HelioVY, Result.HelioVZ);
  CartesianToPolar(p.HelioDistance, p.HelioLatitude, p.HelioLongitude, p.HelioX, p.HelioY, p.HelioZ);
}

void TKepler::geozentrischekliptikalgeometrisch() {
  const TKeplerPosition& p = Result.Position;
  Result.GeometricX = p.HelioX + Observer.SunX;
  Result.GeometricY = p.HelioY + Observer.SunY;
  Result.GeometricZ = p.HelioZ + Observer.SunZ;
  if (BodyIndex > kBodyIndexMoon) {
    Result.GeometricDistance = std::sqrt(Result.GeometricX * Result.GeometricX + Result.GeometricY * Result.GeometricY +
                                         Result.GeometricZ * Result.GeometricZ);
  }
}

void TKepler::Geozentrischekliptikalastrometrisch() {
  // The heliocentric values of the instant itself are kept; the iteration
  // evaluates the orbit at the retarded times only.
  const TKeplerPosition savedPosition = Result.Position;
  const double savedVX = Result.HelioVX, savedVY = Result.HelioVY, savedVZ = Result.HelioVZ;
  const double savedMeanAnomaly = Result.MeanAnomaly;

  const double tt = DynamicalTimeMjd();
  double t = tt - kLightTimePerAU * Result.GeometricDistance;
  double gx = Result.GeometricX, gy = Result.GeometricY, gz = Result.GeometricZ;
  double distance = Result.GeometricDistance;
  for (int pass = 0; pass < kLightTimeMaxPasses; ++pass) {
    Bahn2heliozentrisch(settings_, t);
    const TKeplerPosition& p = Result.Position;
    const double x = p.HelioX + Observer.SunX, y = p.HelioY + Observer.SunY, z = p.HelioZ + Observer.SunZ;
    const double d = std::sqrt(x * x + y * y + z * z);
    if (!std::isfinite(d)) break;  // keep the last finite pass
    gx = x;
    gy = y;
    gz = z;
    distance = d;
    const double next = tt - kLightTimePerAU * d;
    if (std::fabs(t - next) < kLightTimeTolerance) break;
    t = next;
  }

  Result.Position = savedPosition;
  Result.HelioVX = savedVX;
  Result.HelioVY = savedVY;
  Result.HelioVZ = savedVZ;
  Result.MeanAnomaly = savedMeanAnomaly;
  StoreAstrometric(gx, gy, gz, distance);
}

void TKepler::geozentrischastrometrisch_linear() {
  const double distance = Result.GeometricDistance;
  double x = Result.GeometricX - kLightTimePerAU * distance * Result.HelioVX;
  double y = Result.GeometricY - kLightTimePerAU * distance * Result.HelioVY;
  double z = Result.GeometricZ - kLightTimePerAU * distance * Result.HelioVZ;
  StoreAstrometric(x, y, z, distance);
}

void TKepler::StoreAstrometric(double x, double y, double z, double distance) {
  if (FullComputation != 0) {
    double dx = 0, dy = 0, dz = 0;
    LightTimeDisplacement(dx, dy, dz, Observer.Centuries, Observer.SunLongitude, Observer.SunLatitude,
                          Observer.SunDistance, distance);
    x -= dx;
    y -= dy;
    z -= dz;
  }
  Result.AstrometricX = x;
  Result.AstrometricY = y;
  Result.AstrometricZ = z;
  TKeplerPosition& p = Result.Position;
  CartesianToPolar(p.GeoDistance, p.GeoLatitude, p.GeoLongitude, x, y, z);
}

void TKepler::Ekliptik_aequator() {
  TKeplerPosition& p = Result.Position;

  double x = Result.AstrometricX, y = Result.AstrometricY, z = Result.AstrometricZ;
  EclipticToEquatorialOfDate(x, y, z);
  if (FullComputation != 0) NutateOfDate(x, y, z);
  p.EquatorialX = x;
  p.EquatorialY = y;
  p.EquatorialZ = z;
  CartesianToPolar(Result.EquatorialDistance, p.Declination, p.RightAscension, x, y, z);

  if (GeometricPlaces) {
    x = Result.GeometricX;
    y = Result.GeometricY;
    z = Result.GeometricZ;
    EclipticToEquatorialOfDate(x, y, z);
    if (FullComputation != 0) NutateOfDate(x, y, z);
    CartesianToPolar(Result.GeometricEquatorialDistance, Result.GeometricDeclination, Result.GeometricRightAscension, x,
                     y, z);
    CartesianToPolar(Result.GeometricDistance, Result.GeometricLatitude, Result.GeometricLongitude, Result.GeometricX,
                     Result.GeometricY, Result.GeometricZ);
  }

  if (FullComputation != 0) p.GeoLongitude = Mod360(p.GeoLongitude + Frames().NutationLongitude);
  stuendlich_aequatorial();
}

void TKepler::aequinoktium_reduktion() {
  const TInstantFrames& frames = SecondEquinoxFrames();
  // Astrometric places referred to a fixed equinox carry no nutation: the
  // mean equatorial vector of date is precessed.
  double x = Result.AstrometricX, y = Result.AstrometricY, z = Result.AstrometricZ;
  EclipticToEquatorialOfDate(x, y, z);
  MatrixTimesVector(frames.SecondEquatorial, x, y, z);
  CartesianToPolar(Result.SecondDistance, Result.SecondDeclination, Result.SecondRightAscension, x, y, z);

  const TMatrix33& ecliptic = frames.SecondEcliptic;
  const TKeplerPosition& p = Result.Position;
  double r = 0;
  PolarToCartesian(x, y, z, 1.0, p.HelioLatitude, p.HelioLongitude);
  MatrixTimesVector(ecliptic, x, y, z);
  CartesianToPolar(r, Result.SecondHelioLatitude, Result.SecondHelioLongitude, x, y, z);
  Result.SecondHelioLongitude = Mod360(Result.SecondHelioLongitude);

  x = Result.AstrometricX;
  y = Result.AstrometricY;
  z = Result.AstrometricZ;
  MatrixTimesVector(ecliptic, x, y, z);
  CartesianToPolar(Result.SecondGeoDistance, Result.SecondGeoLatitude, Result.SecondGeoLongitude, x, y, z);
  Result.SecondGeoLongitude = Mod360(Result.SecondGeoLongitude);

  Result.LightTime = kLightTimePerAU * p.GeoDistance;
}

void TKepler::topozentr() {
  // The observer's distance from the Earth's centre in the unit of the
  // body's distance (AU here; the Moon's classes work in Earth radii).
  constexpr double kEarthRadiusAU = 4.263523270752e-05;
  const double lst = Observer.SiderealHours;
  const double phiC = Observer.GeocentricLatitude;
  const double rho = Observer.GeocentricRadius;
  const TKeplerPosition& p = Result.Position;
  TopocentricFromGeocentric(Result.TopoRightAscension, Result.TopoDeclination, Result.TopoDistance, p.RightAscension,
                            p.Declination, Result.EquatorialDistance, phiC, lst, rho, kEarthRadiusAU);
  TopocentricFromGeocentric(Result.TopoSecondRightAscension, Result.TopoSecondDeclination, Result.TopoSecondDistance,
                            Result.SecondRightAscension, Result.SecondDeclination, Result.SecondDistance, phiC, lst,
                            rho, kEarthRadiusAU);
}

void TKepler::horizont() {
  EquatorialToHorizontal(Observer.RefractionOn != 0, Result.HourAngle, Result.Altitude, Observer.SiderealHours,
                         Observer.Latitude, Result.TopoRightAscension, Result.TopoDeclination, Observer.Pressure,
                         Observer.Temperature, Result.Azimuth);
}

void TKepler::Aufgang_untergang(int mode) {
  const int level = mode >= 1 && mode <= TRiseSetBlock::kLevels ? mode : TRiseSetBlock::kBodyLevel;
  TRiseSetLevel& out = Result.RiseSet.Levels[static_cast<std::size_t>(level)];
  const char* status = kRiseSetBlank;
  const char* riseMarker = kRiseSetBlank;
  const char* setMarker = kRiseSetBlank;
  TRiseSetBlock& block = Result.RiseSet;
  RiseSetFixedPosition(RiseSet.Altitudes, Language, nullptr, -Observer.Longitude, Observer.Latitude,
                       Result.Position.RightAscension, Result.Position.Declination, MjdToJd(Observer.Mjd),
                       ZoneOffsetHours(Observer), out.Rise, out.Set, out.Duration, block.TransitTime,
                       block.TransitAltitude, block.RiseAzimuth, block.SetAzimuth, status, riseMarker, setMarker);
  out.Status = status != nullptr ? status : "";
  out.RiseMarker = riseMarker != nullptr ? riseMarker : "";
  out.SetMarker = setMarker != nullptr ? setMarker : "";
}

void TKepler::physischeEphemeride() {
  AsteroidMagnitudeHG(BodyIndex, Observer, Result.Position, H, G, Result.Physical);
}

void TKepler::OrbitPlaces(TComputeSettingsBlock settings) {
  bahnlageelemente();
  Bahn2heliozentrisch(settings, DynamicalTimeMjd());
  geozentrischekliptikalgeometrisch();
  Geozentrischekliptikalastrometrisch();
  Ekliptik_aequator();
  aequinoktium_reduktion();
}

void TKepler::rechnen(TComputeSettingsBlock settings) {
  settings_ = settings;
  if (!CheckElements()) return;
  OrbitPlaces(settings);
  topozentr();
  if (FullComputation != 0) {
    horizont();
    Aufgang_untergang(TRiseSetBlock::kBodyLevel);
    physischeEphemeride();
  }
}

void TKepler::stuendlich_aequatorial() {
  if (AnyOfFourColumns(TableConfig) == 0) {
    Result.HourlyRightAscension = Result.HourlyDeclination = Result.HourlyTotal = Result.HourlyDirection = 0;
    return;
  }
  // Now and one hour later, both from the geometric vector so that the light
  // time and aberration of the place cancel in the difference.
  auto equatorialPlace = [&](double x, double y, double z, double& ra, double& dec) {
    EclipticToEquatorialOfDate(x, y, z);
    if (FullComputation != 0) NutateOfDate(x, y, z);
    double r = 0;
    CartesianToPolar(r, dec, ra, x, y, z);
  };
  double ra0 = 0, dec0 = 0, ra1 = 0, dec1 = 0;
  equatorialPlace(Result.GeometricX, Result.GeometricY, Result.GeometricZ, ra0, dec0);
  constexpr double kHour = 1.0 / 24.0;
  equatorialPlace(Result.GeometricX + kHour * Result.HelioVX + (Observer.SunX1h - Observer.SunX),
                  Result.GeometricY + kHour * Result.HelioVY + (Observer.SunY1h - Observer.SunY),
                  Result.GeometricZ + kHour * Result.HelioVZ + (Observer.SunZ1h - Observer.SunZ), ra1, dec1);
  const double dRa = AngleToPlusMinus180(Mod360(ra1 - ra0));
  const double dDec = dec1 - dec0;
  Result.HourlyRightAscension = dRa * 3600.0;
  Result.HourlyDeclination = dDec * 3600.0;
  const double cosTotal = SinDeg(dec0) * SinDeg(dec1) + CosDeg(dec0) * CosDeg(dec1) * CosDeg(dRa);
  Result.HourlyTotal = ArcCosDeg(cosTotal) * 3600.0;
  const double angle = ArcTan2Deg(dDec, dRa * CosDeg(0.5 * (dec0 + dec1)));
  Result.HourlyDirection = Mod360(90.0 - angle);
}

}  // namespace kvx
