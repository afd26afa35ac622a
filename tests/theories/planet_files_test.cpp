// The position-file road of the planet routines, of Pluto and of the
// geocentric dispatch, on small files written here.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "core/vector_math.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "position_file_writer.h"
#include "support/recording_message_sink.h"
#include "support/theory_selection.h"
#include "theories/planet_positions.h"
#include "theories/planet_series.h"
#include "theories/pluto.h"

namespace kvx {
namespace {

using test::PlanetTheory;

double CenturiesOfDay(double day) { return (day + kPositionFileEpoch - 2451545.0) / 36525.0; }

// One open ".vsc" file with its block buffer and bounds.
class OpenFile {
 public:
  explicit OpenFile(const std::filesystem::path& path)
      : stream_(std::fopen(path.c_str(), "rb")), block_(kVscBlockBytes) {}
  ~OpenFile() {
    if (stream_) std::fclose(stream_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  PositionFileHandle Handle() { return PositionFileHandle{stream_, block_.data(), start_, end_}; }
  bool IsOpen() const { return stream_ != nullptr; }

 private:
  std::FILE* stream_;
  std::vector<std::uint8_t> block_;
  std::uint8_t start_[6] = {};
  std::uint8_t end_[6] = {};
};

class PlanetFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/kvx-planet-files-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder_ = name;
    AbortRequested = 0;
  }
  void TearDown() override {
    std::filesystem::remove_all(folder_);
    AbortRequested = 0;
  }
  std::filesystem::path folder_;
  RecordingMessageSink sink_;
  ScopedMessageSink guard_{sink_};
};

TEST_F(PlanetFilesTest, PlanetRoutinesReturnWhatTheFileSays) {
  test::WritePositionFile(folder_ / "mar.vsc", 0, 12000, 6,
                          [](int f, long d) { return test::QuarticSignal(f, double(d)); });
  OpenFile file(folder_ / "mar.vsc");
  ASSERT_TRUE(file.IsOpen());
  const double day = 6000.25;
  double L, B, R, X, Y, Z, VX, VY, VZ;
  MarsHeliocentric(file.Handle(), PlanetTheory(3), CenturiesOfDay(day), L, B, R, X, Y, Z, VX, VY, VZ, kFullTheory);
  const std::array<double, 6> got = {X, Y, Z, VX, VY, VZ};
  for (int f = 1; f <= 6; ++f) EXPECT_NEAR(got[static_cast<std::size_t>(f - 1)], test::QuarticSignal(f, day), 1e-10);
  double r, b, l;
  CartesianToPolar(r, b, l, X, Y, Z);
  EXPECT_EQ(L, l);
  EXPECT_EQ(B, b);
  EXPECT_EQ(R, r);
  EXPECT_TRUE(sink_.messages.empty());

  // A date the file cannot serve: the reader's message and abort flag; the
  // routine hands on what the reader left.
  MarsHeliocentric(file.Handle(), PlanetTheory(3), CenturiesOfDay(20000.0), L, B, R, X, Y, Z, VX, VY, VZ, kFullTheory);
  EXPECT_EQ(AbortRequested, 1);
  EXPECT_EQ(sink_.messages.size(), 1u);
}

// Pluto's file holds equatorial coordinates of J2000. A file written from
// the table-driven series must give, after the routine's turn to the
// ecliptic of date, what the table-driven road gives.
TEST_F(PlanetFilesTest, PlutosFileIsTurnedToTheEclipticOfDate) {
  test::WritePositionFile(folder_ / "plu.vsc", 0, 12000, 6, [](int f, long d) {
    std::array<double, 6> v{};
    std::int32_t status = 0;
    TableDrivenSeries(v[0], v[1], v[2], double(d) + kPositionFileEpoch, v[3], v[4], v[5], status);
    return v[static_cast<std::size_t>(f - 1)];
  });
  OpenFile file(folder_ / "plu.vsc");
  ASSERT_TRUE(file.IsOpen());
  const double T = CenturiesOfDay(6000.4);
  double L, B, R, X, Y, Z, VX, VY, VZ;
  PlutoHeliocentric(file.Handle(), PlanetTheory(3), T, L, B, R, X, Y, Z, VX, VY, VZ);
  double l, b, r, x, y, z, vx, vy, vz;
  PlutoHeliocentric(PositionFileHandle{}, PlanetTheory(1), T, l, b, r, x, y, z, vx, vy, vz);
  EXPECT_NEAR(L, l, 1e-8);
  EXPECT_NEAR(B, b, 1e-8);
  EXPECT_NEAR(R, r, 1e-9);
  EXPECT_NEAR(X, x, 1e-9);
  EXPECT_NEAR(Y, y, 1e-9);
  EXPECT_NEAR(Z, z, 1e-9);
  EXPECT_NEAR(VX, vx, 1e-11);
  EXPECT_NEAR(VY, vy, 1e-11);
  EXPECT_NEAR(VZ, vz, 1e-11);

  // The dispatch's branch B reads the file at the retarded instant (slot 8).
  PositionFileHandles handles{};
  handles[8] = file.Handle();
  double sx, sy, sz;
  PolarToCartesian(sx, sy, sz, 0.983, 0.0, 280.0);
  TDispatchPlanet d;
  d.X = X, d.Y = Y, d.Z = Z;
  PlanetPositionDispatch(handles, kFullTheory, PlanetTheory(3), T, kDispatchPluto, 1,
                         TDispatchSun{0, 0, 0, sx, sy, sz, 0.0172, 0.0, 0.0}, d);
  const double mx = d.AstrometricX, my = d.AstrometricY, mz = d.AstrometricZ, pvx = d.VX;
  const double retarded = T - 0.005775518310186843 * std::hypot(mx, my, mz) * 2.7378507871321012e-05;
  PlutoHeliocentric(PositionFileHandle{}, PlanetTheory(1), retarded, l, b, r, x, y, z, vx, vy, vz);
  EXPECT_NEAR(mx, x + sx, 1e-9);
  EXPECT_NEAR(my, y + sy, 1e-9);
  EXPECT_NEAR(mz, z + sz, 1e-9);
  EXPECT_NEAR(pvx, vx, 1e-11);
  EXPECT_TRUE(sink_.messages.empty());
}

}  // namespace
}  // namespace kvx
