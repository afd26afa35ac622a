#include "engine/nbody_setup.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>
#include <vector>

#include "core/binary_fields.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace kvx {
namespace {

// The default bodies, each value the extended value of the decimal shown;
// the mass as the extended quotient 1 / reciprocal.
struct TDefaultBody {
  const char* name;
  long double reciprocalMass;
  TBodyState state;
};
constexpr TDefaultBody kDefaultBodies[10] = {
    {"Sonne", 1.0L, {0, 0, 0, 0, 0, 0}},
    {"Merkur", 6023600.0L, {0.3248448L, -0.1955917L, -0.1381693L, 0.01092312L, 0.02174481L, 0.01048215L}},
    {"Venus", 408523.5L, {-0.2269746L, 0.6165027L, 0.291714L, -0.01925866L, -0.00637398L, -0.00164858L}},
    {"Erde", 332946.038L, {-0.337021L, -0.8775146L, -0.3804565L, 0.01594801L, -0.00531094L, -0.00230191L}},
    {"Mars", 3098710.0L, {-1.3621457L, -0.7680238L, -0.3154331L, 0.00780698L, -0.00970091L, -0.00466058L}},
    {"Jupiter", 1047.35L, {3.3333999L, -3.4995557L, -1.5812856L, 0.0056032L, 0.0049258L, 0.0019749L}},
    {"Saturn", 3498.0L, {9.1982966L, 2.0180565L, 0.4378786L, -0.00149457L, 0.00500824L, 0.00213287L}},
    {"Uranus", 22960.0L, {11.6698222L, -14.6100108L, -6.5639269L, 0.00315516L, 0.00197639L, 0.00082085L}},
    {"Neptun", 19314.0L, {14.2936013L, -24.4432349L, -10.3607307L, 0.00274899L, 0.00142515L, 0.000515L}},
    {"Pluto", 130000000.0L, {-12.6894818L, -26.7818045L, -4.5332013L, 0.00292325L, -0.00140938L, -0.00131842L}},
};

constexpr std::size_t kOffsetN = 32;
constexpr std::size_t kOffsetStart = 50;
constexpr std::size_t kOffsetNames = 1870;
constexpr std::size_t kOffsetInterval = 2584;
constexpr std::size_t kStateArraySize = kMaxIntegrationBodies * 6 * kExtendedSize;
static_assert(kOffsetStart + 2 * kStateArraySize + kMaxIntegrationBodies * kExtendedSize == kOffsetNames);
static_assert(kOffsetNames + kMaxIntegrationBodies * (kBodyNameLength + 1) == kOffsetInterval);
static_assert(kOffsetInterval + 2 + 2 + 4 + 1 + 14 + 7 + 2 == kIntegrationSetupSize,
              "the integration set-up record is 2,616 bytes");

void PutState(FieldWriter& w, const TNBodyState& state) {
  for (const TBodyState& body : state)
    for (long double v : body) w.ExtendedLong(v);
}
void GetState(FieldReader& r, TNBodyState& state) {
  for (TBodyState& body : state)
    for (long double& v : body) v = r.ExtendedLong();
}

bool AllFinite(const TBodyState& s) {
  for (long double v : s)
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

std::string CutBodyName(const std::string& utf8) { return Utf8Prefix(utf8, kBodyNameLength); }

TIntegrationSetup DefaultIntegrationSetup() {
  TIntegrationSetup s;
  s.JD = 2450600.5L;
  s.StartJD = 2450600.5L;
  s.EquinoxJD = 2451545.0L;
  s.N = 10;
  s.Reserved = 4;
  s.H = 0.5L;
  for (int i = 0; i < 10; ++i) {
    s.StartValues[i] = kDefaultBodies[i].state;
    s.Masses[i] = 1.0L / kDefaultBodies[i].reciprocalMass;
    s.Names[i] = kDefaultBodies[i].name;
  }
  s.WorkingState = s.StartValues;
  s.OutputInterval = 10;
  s.Repetitions = 400;
  s.CentreBody = 4;
  s.OutputFlags.fill(1);
  s.OutputFlags[0] = 0;
  s.OutputFlags[3] = 0;
  s.DateTimeColumns = 0;
  s.Cartesian = 1;
  s.Ecliptic = 1;
  s.Heliocentric = 1;
  s.Elements = 0;
  s.ReduceToFirstBody = 1;
  s.WriteStateVectors = 1;
  return s;
}

TIntegrationSetupBytes EncodeIntegrationSetup(const TIntegrationSetup& s) {
  TIntegrationSetupBytes bytes{};
  FieldWriter w(bytes);
  w.ExtendedLong(s.JD);
  w.ExtendedLong(s.StartJD);
  w.ExtendedLong(s.EquinoxJD);
  w.Bytes(std::span(s.Padding).subspan(0, 2));
  w.I32(s.N);
  w.I32(s.Reserved);
  w.ExtendedLong(s.H);
  PutState(w, s.StartValues);
  PutState(w, s.WorkingState);
  for (long double m : s.Masses) w.ExtendedLong(m);
  for (const std::string& name : s.Names) w.ShortString(kBodyNameLength, name);
  w.I16(static_cast<std::int16_t>(s.OutputInterval));
  w.Bytes(std::span(s.Padding).subspan(2, 2));
  w.I32(s.Repetitions);
  w.U8(s.CentreBody);
  for (std::uint8_t f : s.OutputFlags) w.U8(f);
  for (std::uint8_t b : {s.DateTimeColumns, s.Cartesian, s.Ecliptic, s.Heliocentric, s.Elements, s.ReduceToFirstBody,
                         s.WriteStateVectors})
    w.U8(b);
  w.Bytes(std::span(s.Padding).subspan(4, 2));
  return bytes;
}

bool DecodeIntegrationSetup(std::span<const std::uint8_t> bytes, TIntegrationSetup& out) {
  if (bytes.size() != kIntegrationSetupSize) return false;
  TIntegrationSetup s;
  FieldReader r(bytes);
  s.JD = r.ExtendedLong();
  s.StartJD = r.ExtendedLong();
  s.EquinoxJD = r.ExtendedLong();
  r.Bytes(std::span(s.Padding).subspan(0, 2));
  s.N = r.I32();
  s.Reserved = r.I32();
  s.H = r.ExtendedLong();
  GetState(r, s.StartValues);
  GetState(r, s.WorkingState);
  for (long double& m : s.Masses) m = r.ExtendedLong();
  for (std::string& name : s.Names) name = r.ShortString(kBodyNameLength);
  s.OutputInterval = static_cast<std::uint16_t>(r.I16());
  r.Bytes(std::span(s.Padding).subspan(2, 2));
  s.Repetitions = r.I32();
  s.CentreBody = r.U8();
  for (std::uint8_t& f : s.OutputFlags) f = r.U8();
  for (std::uint8_t* b : {&s.DateTimeColumns, &s.Cartesian, &s.Ecliptic, &s.Heliocentric, &s.Elements,
                          &s.ReduceToFirstBody, &s.WriteStateVectors})
    *b = r.U8();
  r.Bytes(std::span(s.Padding).subspan(4, 2));
  if (!r.ok() || r.Remaining() != 0) return false;
  out = std::move(s);
  return true;
}

std::string IntegrationSetupProblem(const TIntegrationSetup& s) {
  const bool en = LanguageEnglish != 0;
  if (s.N < 1 || s.N > kMaxIntegrationBodies)
    return en ? "The number of bodies must lie between 1 and 14."
              : "Die Anzahl der Körper muss zwischen 1 und 14 liegen.";
  if (s.CentreBody < 1 || s.CentreBody > kMaxIntegrationBodies)
    return en ? "The centre body must lie between 1 and 14." : "Der Zentralkörper muss zwischen 1 und 14 liegen.";
  if (s.OutputInterval < 1)
    return en ? "The output interval must be at least 1 step." : "Das Ausgabeintervall muss mindestens 1 Schritt sein.";
  if (s.Repetitions < 1)
    return en ? "The number of steps must be at least 1." : "Die Anzahl der Schritte muss mindestens 1 sein.";
  if (!std::isfinite(s.H) || s.H == 0)
    return en ? "The step size must be a finite number other than 0."
              : "Die Schrittweite muss eine endliche Zahl ungleich 0 sein.";
  if (!std::isfinite(s.JD) || !std::isfinite(s.StartJD) || !std::isfinite(s.EquinoxJD))
    return en ? "The epoch or the equinox is not a valid number." : "Epoche oder Äquinoktium ist keine gültige Zahl.";
  for (int i = 0; i < s.N; ++i) {
    if (!std::isfinite(s.Masses[i]) || s.Masses[i] < 0)
      return (en ? "Invalid mass of body " : "Ungültige Masse von Körper ") + std::to_string(i + 1) + ".";
    if (!AllFinite(s.WorkingState[i]) || !AllFinite(s.StartValues[i]))
      return (en ? "Invalid state vector of body " : "Ungültiger Zustandsvektor von Körper ") + std::to_string(i + 1) +
             ".";
  }
  return {};
}

bool ValidateIntegrationSetup(const TIntegrationSetup& setup) {
  const std::string problem = IntegrationSetupProblem(setup);
  if (problem.empty()) return true;
  ShowMessage(problem, problem, MessageIcon::Error);
  return false;
}

}  // namespace kvx
