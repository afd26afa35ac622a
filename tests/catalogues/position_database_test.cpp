// The position files the database tool writes, read back through the
// readers the theories use: the body files serve planet theory 3 as the
// library does (theory 2) and "pos.vsp" serves the integration with the
// positions precessed to J2000. Stops, a missing library and failed writes
// keep the old file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "catalogues/position_database.h"
#include "core/binary_fields.h"
#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "platform/globals.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "support/theory_selection.h"
#include "theories/planet_series.h"
#include "theories/pluto.h"
#include "theories/sun_position.h"
#include "theories/theory_library_test_support.h"
#include "theories/theory_state.h"
#include "theories/vsop_wrappers.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;
using test::PlanetTheory;

constexpr int kDays = 40;  // 41 records: reports at days 0 and 32

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Day numbers of every record, and that the size is whole records.
std::vector<double> DayNumbers(const std::string& path, std::size_t recordSize) {
  const std::vector<std::uint8_t> bytes = ReadBytes(path);
  EXPECT_EQ(bytes.size() % recordSize, 0U) << path;
  std::vector<double> days;
  for (std::size_t at = 0; at + recordSize <= bytes.size(); at += recordSize) days.push_back(Real48ToDouble(&bytes[at]));
  return days;
}

std::vector<double> Expected(int count) {
  std::vector<double> days(static_cast<std::size_t>(count));
  for (int d = 0; d < count; ++d) days[static_cast<std::size_t>(d)] = d;
  return days;
}

bool NoTemporaryLeft(const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().string().find(".kvxtmp") != std::string::npos) return false;
  return true;
}

double Distance(double x1, double y1, double z1, double x2, double y2, double z2) {
  return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2) + (z1 - z2) * (z1 - z2));
}

// Dates inside the files, off the whole days, as Julian centuries.
std::vector<double> ServedDates() {
  std::vector<double> T;
  for (double day = 3.1; day < kDays - 3; day += 0.77) T.push_back(JulianCenturiesJ2000(kPositionFileEpoch + day));
  return T;
}

class PositionDatabase : public test::Vsop87LibrariesTest {
 protected:
  void SetUp() override {
    test::Vsop87LibrariesTest::SetUp();
    AbortRequested = 0;
  }
  void TearDown() override { AbortRequested = 0; }
  TPositionDatabaseResult Write(TPositionDatabaseKind kind, int body, const TPositionDatabaseProgress& progress = {},
                                bool library = true) {
    return WritePositionDatabase(kind, body, kDays, folder_.Path().string(), progress, library);
  }
  test::TempFolder folder_;
  RecordingMessageSink messages_;
};

// The largest interpolation error of the one-day records over the dates, AU,
// as measured: the Earth 6.2e-10 (about 90 m: the Moon's monthly pull on the
// Earth is the fastest term of its series), Mercury 7.8e-8 (its 88-day orbit),
// Mars 4.9e-12, Pluto 3.2e-11; the Earth's velocity 2.1e-10 AU per day. The
// bounds leave a factor of about three.
constexpr double kEarthBound = 2e-9;
constexpr double kMercuryBound = 2.5e-7;
constexpr double kSlowBodyBound = 1e-10;
constexpr double kEarthVelocityBound = 6e-10;

TEST_F(PositionDatabase, BodyFilesServePlanetTheoryThreeAsTheLibraryDoes) {
  ScopedMessageSink sink(messages_);
  std::vector<double> reports;
  TPositionDatabaseProgress progress;
  progress.Day = [&](double jd) {
    reports.push_back(jd);
    return true;
  };
  for (int body = 0; body < 9; ++body) {
    const TPositionDatabaseResult result = Write(TPositionDatabaseKind::Body, body, progress);
    ASSERT_EQ(result.Outcome, TPositionDatabaseOutcome::Done) << result.Error.Text;
    EXPECT_EQ(result.Records, kDays + 1);
    EXPECT_EQ(result.File, folder_.File(kPositionFileNames[static_cast<std::size_t>(body)]));
    EXPECT_EQ(DayNumbers(result.File, kVscRecordSize), Expected(kDays + 1));
  }
  EXPECT_EQ(reports.size(), 18U);
  EXPECT_EQ(reports[0], 2413017.0);
  EXPECT_EQ(reports[1], 2413017.0 + 32);
  EXPECT_TRUE(NoTemporaryLeft(folder_.Path()));

  TTheoryState state;
  state.Libraries = available_;
  OpenPositionFiles(state, folder_.Path().string());
  ASSERT_EQ(state.VscFilesPresent, 1);
  EXPECT_EQ(state.VscLastJulianDate, 2413017.0 + kDays - 2);
  EXPECT_EQ(ApplyTheorySelection(state, PlanetTheory(kPlanetTheoryPositionFiles)).PlanetTheory(),
            kPlanetTheoryPositionFiles);
  const PositionFileHandles handles = state.Handles();
  const TTheorySelection files = PlanetTheory(kPlanetTheoryPositionFiles);
  const TTheorySelection library = PlanetTheory(kPlanetTheoryVsop87C);
  double worstSun = 0, worstMars = 0, worstPluto = 0;
  for (const double T : ServedDates()) {
    double L, B, R, a[6], b[6];
    SunPosition(handles, files, L, T, B, R, a[0], a[1], a[2], a[3], a[4], a[5], kFullTheory);
    SunPosition(handles, library, L, T, B, R, b[0], b[1], b[2], b[3], b[4], b[5], kFullTheory);
    worstSun = std::max(worstSun, Distance(a[0], a[1], a[2], b[0], b[1], b[2]));
    EXPECT_NEAR(a[3], b[3], kEarthVelocityBound);
    MarsHeliocentric(handles[3], files, T, L, B, R, a[0], a[1], a[2], a[3], a[4], a[5], kFullTheory);
    MarsHeliocentric(handles[3], library, T, L, B, R, b[0], b[1], b[2], b[3], b[4], b[5], kFullTheory);
    worstMars = std::max(worstMars, Distance(a[0], a[1], a[2], b[0], b[1], b[2]));
    PlutoHeliocentric(handles[8], files, T, L, B, R, a[0], a[1], a[2], a[3], a[4], a[5]);
    PlutoHeliocentric(handles[8], library, T, L, B, R, b[0], b[1], b[2], b[3], b[4], b[5]);
    worstPluto = std::max(worstPluto, Distance(a[0], a[1], a[2], b[0], b[1], b[2]));
  }
  EXPECT_EQ(AbortRequested, 0);
  EXPECT_TRUE(messages_.messages.empty());
  EXPECT_LT(worstSun, kEarthBound);
  EXPECT_LT(worstMars, kSlowBodyBound);
  EXPECT_LT(worstPluto, kSlowBodyBound);
}

TEST_F(PositionDatabase, IntegrationFileHoldsThePositionsPrecessedToJ2000) {
  ScopedMessageSink sink(messages_);
  const TPositionDatabaseResult result = Write(TPositionDatabaseKind::Integration, 0);
  ASSERT_EQ(result.Outcome, TPositionDatabaseOutcome::Done) << result.Error.Text;
  EXPECT_EQ(result.File, folder_.File("pos.vsp"));
  EXPECT_EQ(DayNumbers(result.File, kVspRecordSize), Expected(kDays + 1));

  TTheoryState state;
  OpenPositionFiles(state, folder_.Path().string());
  ASSERT_EQ(state.VspFilePresent, 1);
  EXPECT_EQ(state.VspFirstJulianDate, 2413017.0);
  EXPECT_EQ(state.VspLastJulianDate, 2413017.0 + kDays - 2);

  for (const double T : ServedDates()) {
    std::uint8_t record[kVspRecordSize] = {};
    ASSERT_TRUE(InterpolatePositionFile(state.VspBlockStart, state.VspBlockEnd, state.VspBlock.data(), record,
                                        state.VspStream, T));
    TMatrix33 toJ2000{};
    PrecessionMatrixEcliptic(toJ2000, T, 0.0);
    // Groups: Mercury, Venus, the Earth, Mars, ..., Pluto.
    for (const auto& [group, slot] : {std::pair{0, 1}, std::pair{2, 0}, std::pair{3, 3}, std::pair{8, 8}}) {
      double L, B, R, x, y, z, vx, vy, vz;
      switch (slot) {
        case 0: Vsop87CSun(L, B, R, T, x, y, z, vx, vy, vz, kFullTheory); break;
        case 1: Vsop87CMercury(L, B, R, T, x, y, z, vx, vy, vz, kFullTheory); break;
        case 3: Vsop87CMars(L, B, R, T, x, y, z, vx, vy, vz, kFullTheory); break;
        default:
          PlutoHeliocentric(PositionFileHandle{}, PlanetTheory(kPlanetTheoryVsop87C), T, L, B, R, x, y, z, vx, vy,
                            vz);
      }
      MatrixTimesVector(toJ2000, x, y, z);
      const std::uint8_t* p = record + 6 * (1 + 3 * group);
      const double error = Distance(Real48ToDouble(p), Real48ToDouble(p + 6), Real48ToDouble(p + 12), x, y, z);
      EXPECT_LT(error, group == 0 ? kMercuryBound : group == 2 ? kEarthBound : kSlowBodyBound) << "group " << group;
    }
  }
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(PositionDatabase, StopsMissingLibraryAndFailedWritesKeepTheOldFile) {
  ScopedMessageSink sink(messages_);
  const fs::path pluto = folder_.Path() / "plu.vsc";
  std::ofstream(pluto, std::ios::binary) << "old";
  int replaced = 0;
  TPositionDatabaseProgress progress;
  progress.BeforeReplace = [&] { replaced += 1; };
  progress.AfterReplace = [&] { replaced += 10; };

  // A stop at the first report writes nothing: the old file stays.
  progress.Day = [](double) { return false; };
  TPositionDatabaseResult result = Write(TPositionDatabaseKind::Body, 8, progress, false);
  EXPECT_EQ(result.Outcome, TPositionDatabaseOutcome::Stopped);
  EXPECT_EQ(result.Records, 0);
  EXPECT_EQ(folder_.Read(pluto.string()), "old");
  EXPECT_EQ(replaced, 0);

  // A stop at day 32: days 0 .. 31 are the file. Pluto needs no library.
  progress.Day = [](double jd) { return jd < 2413017.0 + 32; };
  result = Write(TPositionDatabaseKind::Body, 8, progress, false);
  EXPECT_EQ(result.Outcome, TPositionDatabaseOutcome::Stopped);
  EXPECT_EQ(result.Records, 32);
  EXPECT_EQ(DayNumbers(pluto.string(), kVscRecordSize), Expected(32));
  EXPECT_EQ(replaced, 11) << "files closed before the rename and reopened after it";

  // Without the VSOP87 C library the other bodies and "pos.vsp" are refused.
  for (const auto kind : {TPositionDatabaseKind::Body, TPositionDatabaseKind::Integration}) {
    result = Write(kind, 3, {}, false);
    EXPECT_EQ(result.Outcome, TPositionDatabaseOutcome::NoLibrary);
  }
  EXPECT_FALSE(fs::exists(folder_.Path() / "mar.vsc"));
  EXPECT_FALSE(fs::exists(folder_.Path() / "pos.vsp"));

  // A folder that cannot hold files.
  result = WritePositionDatabase(TPositionDatabaseKind::Body, 8, kDays, (folder_.Path() / "plu.vsc").string(), {},
                                 true);
  EXPECT_EQ(result.Outcome, TPositionDatabaseOutcome::WriteFailed);
  EXPECT_NE(result.Error.Text.find("plu.vsc"), std::string::npos);

  // A full disk (the file size limit stands in for it), once while writing
  // the records and once when the last buffered bytes are flushed.
  const std::vector<std::uint8_t> before = ReadBytes(pluto.string());
  for (const int days : {400, 40}) {
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 1000;
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    result = WritePositionDatabase(TPositionDatabaseKind::Body, 8, days, folder_.Path().string(), {}, true);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, previous);
    EXPECT_EQ(result.Outcome, TPositionDatabaseOutcome::WriteFailed) << days;
    EXPECT_EQ(result.Records, 0);
  }
  EXPECT_EQ(ReadBytes(pluto.string()), before);
  EXPECT_TRUE(NoTemporaryLeft(folder_.Path()));
  EXPECT_TRUE(messages_.messages.empty()) << "the writer shows nothing itself";
}

}  // namespace
}  // namespace kvx
