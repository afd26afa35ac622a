#include "tables/moon_tables.h"

#include <cmath>
#include <numbers>

#include "core/angle_constants.h"
#include "core/asteroid_elements.h"
#include "core/column_flags.h"
#include "core/vector_math.h"
#include "engine/table_globals.h"
#include "theories/jupiter_moons.h"
#include "theories/saturn_moons.h"

namespace kvx {

namespace {

namespace cf = column_flag;

// Format slot of every coordinate cell.
constexpr int kCoordinateSlot = 183;

constexpr const char* kJupiterNames[4] = {"I", "II", "III", "IV"};
constexpr const char* kSaturnShortNames[Tsaturnmonde::kMoons] = {"Tethys", "Dione", "Rhea", "Titan", "Japetus"};
constexpr const char* kSaturnNames[TSaturnmondeMeeus::kMoons] = {"Mimas", "Enceladus", "Tethys",   "Dione",
                                                                 "Rhea",  "Titan",     "Hyperion", "Iapetus"};

// Quantity a of moon i in a table of `moons` moons.
constexpr std::size_t Index(int a, int i, int moons) { return static_cast<std::size_t>(a * moons + i); }

double DegToRadians(double degrees) { return degrees * kPi / 180.0; }
double RadiansToDeg(double radians) { return radians * 180.0 / kPi; }

// The base table's records: the tolerance of every table and the level of
// the ephemerides for both theories.
TTableRequest MoonTableBase(const TTableRequest& table) {
  TTableRequest request = table;
  request.Accuracy.IntegrationTolerance = 1e-10L;
  request.Accuracy.VsopLevelB = request.Accuracy.VsopLevelA;
  return request;
}

}  // namespace

TTableRequest MoonTableRequest(std::uint8_t language, TTheorySelection selection, const TTableConfigRecord& config,
                               const TObserverRecord& start, const TObserverRecord& end, const TTableStep& step,
                               std::int32_t level) {
  TTableRequest request = PeriodRequest(language, selection, config, start, end, step);
  request.Accuracy.VsopLevelA = level;
  return request;
}

// --------------------------------------------------------------- Jupiter

TJupiterephfenster::TJupiterephfenster(const TTableRequest& request, TSheet* sheet, std::int32_t optionA,
                                       std::int32_t optionB)
    : TKeplereph(MoonTableBase(request), sheet) {
  initialisieren(request, optionA, optionB);
  Stopped = 0;
  ProgressCaption =
      request.Language != 0 ? "Calculating positions of Jupiters satellites" : "Berechne Positionen der Jupitermonde";
}

void TJupiterephfenster::initialisieren(const TTableRequest& request, std::int32_t optionA, std::int32_t optionB) {
  TakePeriod(request);
  OptionA = optionA;
  OptionB = optionB;
  Rows = 0;
  SetBodySettings(BodySettingsOf(request));
}

bool TJupiterephfenster::ElementsUsable(std::string*, std::string*) const { return true; }

void TJupiterephfenster::rechnen(TComputeSettingsBlock settings) {
  TJupiterMoonsBlock block;
  GalileanMoonsPositions(settings, Accuracy.VsopLevelA, TheorySelection, Observer, block);
  for (int i = 0; i < 4; ++i) {
    const auto m = static_cast<std::size_t>(i);
    Result.MoonTable[Index(0, i, 4)] = block.EarthX[m];
    Result.MoonTable[Index(1, i, 4)] = block.EarthY[m];
    Result.MoonTable[Index(2, i, 4)] = block.EarthZ[m];
    Result.MoonTable[Index(3, i, 4)] = block.SunX[m];
    Result.MoonTable[Index(4, i, 4)] = block.SunY[m];
    Result.MoonTable[Index(5, i, 4)] = block.SunZ[m];
  }
}

std::string TJupiterephfenster::TableTitle() const { return Language != 0 ? "Jupiters moons" : "Jupitermonde"; }

void TJupiterephfenster::CoordinateCell(TCellSink& sink, bool heading, const std::string& title, double value) {
  const int col = OutputColumn++;
  if (heading) {
    WriteHeadingCell(sink, OutputRow, col, kCoordinateSlot, title, true);
  } else {
    sink.Value(TCellFamily::Number, OutputRow, col, kCoordinateSlot, value);
  }
}

void TJupiterephfenster::WriteCoordinateColumns(TCellSink& sink, const TEphemerisResultRecord& r, bool heading) {
  static constexpr const char* kAxes[3] = {":x", ":y", ":z"};
  for (int view = 0; view < 2; ++view) {
    for (int i = 0; i < 4; ++i) {
      for (int a = 0; a < 3; ++a) {
        const std::string title = std::string(view == 0 ? "   " : " S ") + kJupiterNames[i] + kAxes[a];
        CoordinateCell(sink, heading, title, r.MoonTable[Index(view * 3 + a, i, 4)]);
      }
    }
  }
}

void TJupiterephfenster::WriteMoonRow(TCellSink& sink, int k, bool heading) {
  const TEphemerisResultRecord& r = RowStore.Row(k - 1);
  const int row = OutputRow;
  int col = OutputColumn++;
  if (heading) {
    WriteHeadingCell(sink, row, col, 0, TableTitle(), true);
  } else {
    sink.Date(row, col, DateSlot(), r.Year, r.Month, r.Day);
  }
  WriteTimeColumns(sink, row, r, heading);
  WriteCoordinateColumns(sink, r, heading);
}

void TJupiterephfenster::WriteTo(TCellSink& sink) {
  WriteTableFrame(sink, 0, [this](TCellSink& s, int k, bool heading) { WriteMoonRow(s, k, heading); });
}

void TJupiterephfenster::paint(std::uint8_t toSheet) {
  WriteToOutput(toSheet != 0, [this](TCellSink& sink) { WriteTo(sink); });
}

void TJupiterephfenster::paint_grid() { paint(0); }

// ---------------------------------------------------------------- Saturn

Tsaturnmonde::Tsaturnmonde(const TTableRequest& request, TSheet* sheet, long double tenByteReal, std::int32_t optionA,
                           std::int32_t optionB)
    : TJupiterephfenster(request, sheet, optionA, optionB) {
  TenByteReal = tenByteReal;
  ProgressCaption =
      request.Language != 0 ? "Calculating positions of Saturns moons" : "Berechne Position der Saturnmonde";
}

void Tsaturnmonde::rechnen(TComputeSettingsBlock settings) {
  TSaturnShortArray x{}, y{}, u{}, sx{}, sy{}, su{};
  TSaturnMoonsBlock block;
  SaturnMoonsPositions(settings, Accuracy.VsopLevelA, TheorySelection, Observer, x, y, u, sx, sy, su, block);
  // The short theory here already counts X towards the west, like the
  // Jupiter and eight-moon tables: stored as given, so every moon table
  // shares one sign.
  for (int i = 0; i < kMoons; ++i) {
    const auto m = static_cast<std::size_t>(i + kShortTethys);
    Result.MoonTable[Index(0, i, kMoons)] = DegToRadians(Mod360(u[m]));
    Result.MoonTable[Index(1, i, kMoons)] = x[m];
    Result.MoonTable[Index(2, i, kMoons)] = y[m];
    Result.MoonTable[Index(3, i, kMoons)] = DegToRadians(Mod360(su[m]));
    Result.MoonTable[Index(4, i, kMoons)] = sx[m];
    Result.MoonTable[Index(5, i, kMoons)] = sy[m];
  }
}

void Tsaturnmonde::WriteCoordinateColumns(TCellSink& sink, const TEphemerisResultRecord& r, bool heading) {
  for (int i = 0; i < kMoons; ++i) {
    const std::string name = kSaturnShortNames[i];
    const auto& v = r.MoonTable;
    CoordinateCell(sink, heading, name + ": x", v[Index(1, i, kMoons)]);
    CoordinateCell(sink, heading, name + ": y", v[Index(2, i, kMoons)]);
    CoordinateCell(sink, heading, name + ": U", RadiansToDeg(v[Index(0, i, kMoons)]));
    CoordinateCell(sink, heading, name + ": S x", v[Index(4, i, kMoons)]);
    CoordinateCell(sink, heading, name + ": S y", v[Index(5, i, kMoons)]);
    CoordinateCell(sink, heading, name + ":S U", RadiansToDeg(v[Index(3, i, kMoons)]));
  }
}

void TSaturnmondeMeeus::rechnen(TComputeSettingsBlock settings) {
  TSaturnMoonArray x{}, y{}, z{}, sx{}, sy{}, sz{};
  TSaturnMoonsBlock block;
  SaturnMoonPositions(settings, Accuracy.VsopLevelA, TheorySelection, Observer, x, y, z, sx, sy, sz, block);
  for (int i = 0; i < kMoons; ++i) {
    const auto m = static_cast<std::size_t>(i);
    Result.MoonTable[Index(0, i, kMoons)] = x[m];
    Result.MoonTable[Index(1, i, kMoons)] = y[m];
    Result.MoonTable[Index(2, i, kMoons)] = z[m];
    Result.MoonTable[Index(3, i, kMoons)] = sx[m];
    Result.MoonTable[Index(4, i, kMoons)] = sy[m];
    Result.MoonTable[Index(5, i, kMoons)] = sz[m];
  }
}

void TSaturnmondeMeeus::WriteCoordinateColumns(TCellSink& sink, const TEphemerisResultRecord& r, bool heading) {
  static constexpr const char* kSuffixes[6] = {": x", ": y", ": z", ": S x", ": S y", ":S z"};
  for (int i = 0; i < kMoons; ++i) {
    for (int a = 0; a < 6; ++a) {
      CoordinateCell(sink, heading, std::string(kSaturnNames[i]) + kSuffixes[a], r.MoonTable[Index(a, i, kMoons)]);
    }
  }
}

}  // namespace kvx
