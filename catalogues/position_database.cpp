#include "catalogues/position_database.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/binary_fields.h"
#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "platform/safe_output_file.h"
#include "theories/pluto.h"
#include "theories/position_files.h"
#include "theories/vsop_wrappers.h"

namespace kvx {
namespace {

using TVsopWrapper = void (*)(double&, double&, double&, double, double&, double&, double&, double&, double&, double&,
                              TTruncationLevel);

// The wrapper of each body slot but Pluto's.
constexpr std::array<TVsopWrapper, 8> kVsopBySlot = {Vsop87CSun,     Vsop87CMercury, Vsop87CVenus,  Vsop87CMars,
                                                     Vsop87CJupiter, Vsop87CSaturn,  Vsop87CUranus, Vsop87CNeptune};

// Body slots in the order of the "pos.vsp" groups.
constexpr std::array<int, 9> kIntegrationOrder = {1, 2, 0, 3, 4, 5, 6, 7, kPositionDatabasePlutoSlot};

double DayJd(long day) { return kPositionFileEpoch + static_cast<double>(day); }

struct TState {
  double X = 0, Y = 0, Z = 0, VX = 0, VY = 0, VZ = 0;
};

// The six values a body's ".vsc" record holds on the day.
TState BodyFileState(int body, double jd) {
  TState s;
  if (body == kPositionDatabasePlutoSlot) {
    std::int32_t status = 0;
    TableDrivenSeries(s.X, s.Y, s.Z, jd, s.VX, s.VY, s.VZ, status);
    return s;
  }
  double L = 0, B = 0, R = 0;
  kVsopBySlot[static_cast<std::size_t>(body)](L, B, R, JulianCenturiesJ2000(jd), s.X, s.Y, s.Z, s.VX, s.VY, s.VZ,
                                              kFullTheory);
  return s;
}

// The body's heliocentric position of date, ecliptic of date.
TState PositionOfDate(int body, double T) {
  TState s;
  double L = 0, B = 0, R = 0;
  if (body == kPositionDatabasePlutoSlot) {
    TTheorySelection tableDriven;
    tableDriven.bytes[0] = kPlanetTheoryVsop87C;
    PlutoHeliocentric(PositionFileHandle{}, tableDriven, T, L, B, R, s.X, s.Y, s.Z, s.VX, s.VY, s.VZ);
  } else {
    kVsopBySlot[static_cast<std::size_t>(body)](L, B, R, T, s.X, s.Y, s.Z, s.VX, s.VY, s.VZ, kFullTheory);
  }
  return s;
}

}  // namespace

std::string PositionDatabaseFileName(TPositionDatabaseKind kind, int body) {
  if (kind == TPositionDatabaseKind::Integration) return "pos.vsp";
  return std::string(kPositionDatabaseBodies[static_cast<std::size_t>(body)]) + ".vsc";
}

void IntegrationDatabaseRecord(long day, std::uint8_t* record) {
  const double T = JulianCenturiesJ2000(DayJd(day));
  TMatrix33 toJ2000{};
  PrecessionMatrixEcliptic(toJ2000, T, 0.0);
  DoubleToReal48(static_cast<double>(day), record);
  std::uint8_t* field = record + kReal48Size;
  for (const int body : kIntegrationOrder) {
    TState s = PositionOfDate(body, T);
    MatrixTimesVector(toJ2000, s.X, s.Y, s.Z);
    for (const double value : {s.X, s.Y, s.Z}) {
      DoubleToReal48(value, field);
      field += kReal48Size;
    }
  }
}

void BodyDatabaseRecord(int body, long day, std::uint8_t* record) {
  const TState s = BodyFileState(body, DayJd(day));
  DoubleToReal48(static_cast<double>(day), record);
  std::uint8_t* field = record + kReal48Size;
  for (const double value : {s.X, s.Y, s.Z, s.VX, s.VY, s.VZ}) {
    DoubleToReal48(value, field);
    field += kReal48Size;
  }
}

TPositionDatabaseResult WritePositionDatabase(TPositionDatabaseKind kind, int body, int days, const std::string& folder,
                                              const TPositionDatabaseProgress& progress, bool vsop87c) {
  TPositionDatabaseResult result;
  const bool integration = kind == TPositionDatabaseKind::Integration;
  if (!integration && (body < 0 || body >= static_cast<int>(kPositionDatabaseBodies.size()))) body = 0;
  result.File = (std::filesystem::path(folder) / PositionDatabaseFileName(kind, body)).string();
  if (!vsop87c && (integration || body != kPositionDatabasePlutoSlot)) {
    result.Outcome = TPositionDatabaseOutcome::NoLibrary;
    return result;
  }

  TSafeOutputFile out(result.File);
  if (!out.Open(result.Error)) return result;
  const std::size_t size = integration ? kVspRecordSize : kVscRecordSize;
  std::uint8_t record[kVspRecordSize] = {};
  bool stopped = false, failed = false;
  for (long day = 0; day <= days && !failed; ++day) {
    if (day % kPositionDatabaseReportEvery == 0 && progress.Day && !progress.Day(DayJd(day))) {
      stopped = true;
      break;
    }
    if (integration) {
      IntegrationDatabaseRecord(day, record);
    } else {
      BodyDatabaseRecord(body, day, record);
    }
    failed = !out.Write(std::string_view(reinterpret_cast<const char*>(record), size));
    if (!failed) ++result.Records;
  }
  if (failed) {
    // The write's cause; the old file stays.
    out.Commit(result.Error);
    result.Records = 0;
    return result;
  }
  if (result.Records == 0) {
    // Stopped before the first record: the old file stays.
    out.Discard();
    result.Outcome = TPositionDatabaseOutcome::Stopped;
    return result;
  }
  if (progress.BeforeReplace) progress.BeforeReplace();
  const bool replaced = out.Commit(result.Error);
  if (progress.AfterReplace) progress.AfterReplace();
  if (!replaced) {
    result.Records = 0;
    return result;
  }
  result.Outcome = stopped ? TPositionDatabaseOutcome::Stopped : TPositionDatabaseOutcome::Done;
  return result;
}

}  // namespace kvx
