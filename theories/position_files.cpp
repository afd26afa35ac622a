#include "theories/position_files.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/time_scales.h"
#include "core/vector_math.h"
#include "platform/globals.h"
#include "platform/messages.h"

namespace kvx {
namespace {

// A loaded block serves the dates with JD - S - 2000 from -1 to 7994; any
// other date reloads the block first, unless the reload would read the
// block that is loaded (ReloadKeepsBlock).
constexpr double kServedBefore = -1.0;
constexpr double kServedAfter = 7994.0;
constexpr int kFieldsVsc = 6;
constexpr int kFieldsVsp = 27;

double Field(const std::uint8_t* buffer, std::size_t recordSize, long record, int field) {
  return Real48ToDouble(buffer + static_cast<std::size_t>(record) * recordSize + static_cast<std::size_t>(field) * 6);
}

void ShowNoPositionsForDate() {
  ShowMessage(
      "Zeitraum für Ephemeride überschreitet die Datenbank mit Ephemeriden. Bitte schalten Sie auf die "
      "Newcomb-Theorien oder die VSOP um.",
      "No positions for this date in the position-files. Please switch to newcomb-theory or VSOP.", MessageIcon::Error);
  AbortRequested = 1;
}

// Reads the block for Julian date `jd` into `buffer`: 8001 records from two
// days before the day 2000 days before the date. The block is moved to lie
// inside the file when it would begin before its start or end after its end;
// a file shorter than a block fills the front of the buffer and the rest is
// cleared. Checks that the records read are the expected days. Sets S and E
// on success. A block that holds the file's last record leaves the stream's
// end-of-file indicator set (until the next load's seek clears it), which
// tells ReloadKeepsBlock so without asking the file again.
bool LoadBlock(std::FILE* stream, std::uint8_t* buffer, std::size_t recordSize, double jd, double& S, double& E) {
  double day = std::trunc(jd - kPositionFileEpoch);
  if (day < 0.0) day = 0.0;
  if (!(day < 1e9)) return false;
  if (std::fseek(stream, 0, SEEK_END) != 0) return false;
  const long size = std::ftell(stream);
  if (size < 0) return false;
  const long records = size / static_cast<long>(recordSize);
  long start = static_cast<long>(day) - 2002;
  if (start > records - kPositionBlockRecords) start = records - kPositionBlockRecords;
  if (start < 0) start = 0;
  const long count = std::min<long>(kPositionBlockRecords, records - start);
  if (count < 5) return false;
  const std::size_t bytes = static_cast<std::size_t>(count) * recordSize;
  if (std::fseek(stream, start * static_cast<long>(recordSize), SEEK_SET) != 0) return false;
  if (std::fread(buffer, 1, bytes, stream) != bytes) return false;
  if (start + count == records) std::fgetc(stream);  // reads nothing: sets the end-of-file indicator
  std::memset(buffer + bytes, 0, recordSize * kPositionBlockRecords - bytes);
  if (Field(buffer, recordSize, 0, 0) != static_cast<double>(start) ||
      Field(buffer, recordSize, count - 1, 0) != static_cast<double>(start + count - 1))
    return false;
  S = Field(buffer, recordSize, 3, 0) + kPositionFileEpoch - 2000.0;
  E = Field(buffer, recordSize, count - 1, 0) + kPositionFileEpoch + 2000.0;
  return true;
}

// Whether a reload for a date `offset` days (JD - S - 2000) outside the
// loaded block's served range would read that same block again: a date
// before the range when the block begins with the file's first record (day
// 0), one after it when the block ends with the file's last record. So the
// first and last days a file serves keep their block like any other day.
bool ReloadKeepsBlock(std::FILE* stream, const std::uint8_t* buffer, std::size_t recordSize, double offset) {
  if (offset < kServedBefore) return Field(buffer, recordSize, 0, 0) == 0.0;
  return std::feof(stream) != 0;
}

// Interpolates the `fields` values after field 0 for `jd` from the loaded
// block: the five records around the date's middle day (block records d + 1
// to d + 5, d = Trunc(JD - S - 2000)), when they lie in the block, are the
// consecutive days their places promise (cleared records never are) and the
// date lies within a day of the middle one.
bool InterpolateFromBlock(const std::uint8_t* buffer, std::size_t recordSize, int fields, double S, double jd,
                          double* values) {
  const double offset = jd * 1.0 - S * 1.0 - 2000.0;
  if (!(offset > -10.0 && offset < kPositionBlockRecords + 10.0)) return false;
  const long d = static_cast<long>(std::trunc(offset));
  const long first = d + 1;
  if (first < 0 || first + 4 >= kPositionBlockRecords) return false;
  const double middleDay = S + 2000.0 - kPositionFileEpoch + static_cast<double>(d);
  for (int k = 0; k < 5; ++k)
    if (Field(buffer, recordSize, first + k, 0) != middleDay - 2.0 + k) return false;
  const double n = jd - (middleDay + kPositionFileEpoch);
  if (!(std::fabs(n) <= 1.0)) return false;
  for (int f = 1; f <= fields; ++f) {
    values[f - 1] =
        StirlingInterpolate(Field(buffer, recordSize, first, f), Field(buffer, recordSize, first + 1, f),
                            Field(buffer, recordSize, first + 2, f), Field(buffer, recordSize, first + 3, f),
                            Field(buffer, recordSize, first + 4, f), n);
  }
  return true;
}

// The steps both readers share: block check, reload (at most once a call)
// and interpolation. On failure S and E are cleared, so that no stale block
// is used afterwards.
bool Serve(std::FILE* stream, std::uint8_t* buffer, std::size_t recordSize, int fields, double& S, double& E, double T,
           double* values) {
  if (stream == nullptr || buffer == nullptr) {
    S = E = 0.0;
    return false;
  }
  const double jd = JdFromJulianCenturies(T);
  if (!std::isfinite(jd)) return false;
  bool reloaded = false;
  const double offset = jd - S - 2000.0;
  if (S == 0.0 ||
      ((offset < kServedBefore || offset > kServedAfter) && !ReloadKeepsBlock(stream, buffer, recordSize, offset))) {
    if (!LoadBlock(stream, buffer, recordSize, jd, S, E)) {
      S = E = 0.0;
      return false;
    }
    reloaded = true;
  }
  if (InterpolateFromBlock(buffer, recordSize, fields, S, jd, values)) return true;
  if (!reloaded && LoadBlock(stream, buffer, recordSize, jd, S, E) &&
      InterpolateFromBlock(buffer, recordSize, fields, S, jd, values))
    return true;
  S = E = 0.0;
  return false;
}

}  // namespace

double StirlingInterpolate(double y1, double y2, double y3, double y4, double y5, double n) {
  constexpr long double kTwelfth = 1.0L / 12.0L;
  constexpr long double kTwentyFourth = 1.0L / 24.0L;
  const double a1 = y2 - y1, a2 = y3 - y2, a3 = y4 - y3, a4 = y5 - y4;
  const double b1 = a2 - a1, b2 = a3 - a2, b3 = a4 - a3;
  const double c1 = b2 - b1, c2 = b3 - b2;
  const double d = c2 - c1;
  const double n2 = n * n;
  return static_cast<double>(y3 + (n / 2.0) * (a2 + a3) + (n2 / 2.0) * b2 + n * (n2 - 1.0) * kTwelfth * (c1 + c2) +
                             n2 * (n2 - 1.0) * kTwentyFourth * d);
}

bool ReadPositionFile(PositionFileHandle handle, double& L, double& B, double T, double& R, double& X, double& Y,
                      double& Z, double& VX, double& VY, double& VZ) {
  bool ok = false;
  double values[kFieldsVsc] = {};
  try {
    if (handle.blockStart != nullptr && handle.blockEnd != nullptr) {
      double S = Real48ToDouble(handle.blockStart);
      double E = Real48ToDouble(handle.blockEnd);
      const double oldS = S, oldE = E;
      ok = Serve(handle.stream, handle.block, kVscRecordSize, kFieldsVsc, S, E, T, values);
      if (S != oldS || E != oldE) {
        DoubleToReal48(S, handle.blockStart);
        DoubleToReal48(E, handle.blockEnd);
      }
    }
  } catch (...) {
    ok = false;
  }
  if (!ok) {
    L = B = R = X = Y = Z = VX = VY = VZ = 0.0;
    ShowNoPositionsForDate();
    return false;
  }
  X = values[0];
  Y = values[1];
  Z = values[2];
  VX = values[3];
  VY = values[4];
  VZ = values[5];
  CartesianToPolar(R, B, L, X, Y, Z);
  return true;
}

bool InterpolatePositionFile(double& S, double& E, std::uint8_t* buffer, std::uint8_t* out, std::FILE* stream,
                             double T) {
  double values[kFieldsVsp] = {};
  bool ok = false;
  try {
    ok = out != nullptr && Serve(stream, buffer, kVspRecordSize, kFieldsVsp, S, E, T, values);
  } catch (...) {
    ok = false;
  }
  if (!ok) {
    ShowNoPositionsForDate();
    return false;
  }
  for (int f = 1; f <= kFieldsVsp; ++f) DoubleToReal48(values[f - 1], out + 6 * f);
  return true;
}

}  // namespace kvx
