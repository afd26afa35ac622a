// Six-byte reals, the Stirling interpolation, the block cache of the
// position files and the start-up opening, on small files written here.
#include "support/recording_message_sink.h"
#include "theories/position_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "platform/globals.h"
#include "platform/messages.h"
#include "position_file_writer.h"
#include "theories/theory_state.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

const char* const kNoPositionsGerman =
    "Zeitraum für Ephemeride überschreitet die Datenbank mit Ephemeriden. Bitte schalten Sie auf die "
    "Newcomb-Theorien oder die VSOP um.";
const char* const kNoPositionsEnglish =
    "No positions for this date in the position-files. Please switch to newcomb-theory or VSOP.";

double CenturiesOfDay(double day) { return (day + kPositionFileEpoch - 2451545.0) / 36525.0; }

TEST(SixByteReal, KnownBitPatterns) {
  std::uint8_t bytes[6];
  DoubleToReal48(1.0, bytes);
  EXPECT_EQ(std::vector<int>(bytes, bytes + 6), (std::vector<int>{0x81, 0, 0, 0, 0, 0}));
  DoubleToReal48(-2.5, bytes);  // 1.25 x 2^1, fraction 2^37, sign bit
  EXPECT_EQ(std::vector<int>(bytes, bytes + 6), (std::vector<int>{0x82, 0, 0, 0, 0, 0xA0}));
  DoubleToReal48(0.0, bytes);
  EXPECT_EQ(std::vector<int>(bytes, bytes + 6), (std::vector<int>{0, 0, 0, 0, 0, 0}));
  const std::uint8_t zeroExponent[6] = {0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(Real48ToDouble(zeroExponent), 0.0);
  const std::uint8_t half[6] = {0x80, 0, 0, 0, 0, 0};
  EXPECT_EQ(Real48ToDouble(half), 0.5);
  const std::uint8_t threeQuarters[6] = {0x80, 0, 0, 0, 0, 0x40};  // (1 + 2^38/2^39) / 2
  EXPECT_EQ(Real48ToDouble(threeQuarters), 0.75);
}

TEST(SixByteReal, RoundTripKeepsThirtyNineBitsAndSaturates) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-100, 100);
  std::uint8_t bytes[6];
  for (int i = 0; i < 2000; ++i) {
    const double x = std::ldexp(mantissa(random), exponent(random));
    DoubleToReal48(x, bytes);
    EXPECT_NEAR(Real48ToDouble(bytes), x, std::fabs(x) * std::ldexp(1.0, -40)) << x;
  }
  for (double day : {0.0, 1.0, 2413017.0, 86000.5}) {  // day numbers and dates are exact
    DoubleToReal48(day, bytes);
    EXPECT_EQ(Real48ToDouble(bytes), day);
  }
  // Rounding up across a power of two.
  DoubleToReal48(std::nextafter(2.0, 0.0), bytes);
  EXPECT_EQ(Real48ToDouble(bytes), 2.0);
  DoubleToReal48(1e300, bytes);
  EXPECT_EQ(bytes[0], 255);
  EXPECT_GT(Real48ToDouble(bytes), 1e38);
  DoubleToReal48(-1e-300, bytes);
  EXPECT_EQ(Real48ToDouble(bytes), 0.0);
  DoubleToReal48(std::nan(""), bytes);
  EXPECT_EQ(Real48ToDouble(bytes), 0.0);
}

TEST(Stirling, ReproducesQuarticsAndTheMiddleValue) {
  auto p = [](double x) { return 3.0 - 2.0 * x + 0.5 * x * x - 0.25 * x * x * x + 0.125 * x * x * x * x; };
  for (double n : {-1.0, -0.6, 0.0, 0.3, 0.999}) {
    EXPECT_NEAR(StirlingInterpolate(p(-2), p(-1), p(0), p(1), p(2), n), p(n), 1e-13) << n;
  }
  EXPECT_EQ(StirlingInterpolate(1.0, 7.0, 3.25, -4.0, 9.0, 0.0), 3.25);
}

class PositionFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/kvx_position_files_XXXXXX";
    folder_ = mkdtemp(name);
    guard_ = std::make_unique<ScopedMessageSink>(sink_);
    AbortRequested = 0;
    LanguageEnglish = 0;
    block_.assign(kVscBlockBytes, 0xCD);
  }
  void TearDown() override {
    if (stream_ != nullptr) std::fclose(stream_);
    guard_.reset();
    fs::remove_all(folder_);
    AbortRequested = 0;
    LanguageEnglish = 0;
  }

  // A ".vsc" file of days first..last with the quartic test signal.
  void MakeVsc(long first, long last, const std::function<double(long)>& dayNumber = [](long d) { return double(d); }) {
    test::WritePositionFile(folder_ / "body.vsc", first, last, 6,
                            [](int f, long d) { return test::QuarticSignal(f, double(d)); }, dayNumber);
    if (stream_ != nullptr) std::fclose(stream_);
    stream_ = std::fopen((folder_ / "body.vsc").c_str(), "rb");
  }
  PositionFileHandle Handle() { return {stream_, block_.data(), start_, end_}; }
  double S() const { return Real48ToDouble(start_); }
  double E() const { return Real48ToDouble(end_); }

  struct Result {
    bool ok;
    double L, B, R, X, Y, Z, VX, VY, VZ;
  };
  Result Read(double day) {
    Result r{};
    r.ok = ReadPositionFile(Handle(), r.L, r.B, CenturiesOfDay(day), r.R, r.X, r.Y, r.Z, r.VX, r.VY, r.VZ);
    return r;
  }
  void ExpectSignal(const Result& r, double day, double tolerance = 1e-10) {
    ASSERT_TRUE(r.ok) << day;
    const double values[6] = {r.X, r.Y, r.Z, r.VX, r.VY, r.VZ};
    for (int f = 1; f <= 6; ++f) EXPECT_NEAR(values[f - 1], test::QuarticSignal(f, day), tolerance) << day << " " << f;
  }
  void ExpectRefused(const Result& r) {
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.X, 0.0);
    EXPECT_EQ(r.R, 0.0);
    EXPECT_EQ(AbortRequested, 1);
    ASSERT_FALSE(sink_.messages.empty());
    EXPECT_EQ(sink_.messages.back().text, kNoPositionsGerman);
    EXPECT_EQ(sink_.messages.back().icon, MessageIcon::Error);
    EXPECT_EQ(S(), 0.0) << "no block may stay loaded after a failure";
  }

  fs::path folder_;
  RecordingMessageSink sink_;
  std::unique_ptr<ScopedMessageSink> guard_;
  std::FILE* stream_ = nullptr;
  std::vector<std::uint8_t> block_;
  std::uint8_t start_[6] = {};
  std::uint8_t end_[6] = {};
};

TEST_F(PositionFileTest, FirstRequestLoadsTheBlockAroundTheDay) {
  MakeVsc(0, 20000);
  const double day = 9000.25;
  const Result r = Read(day);
  ExpectSignal(r, day);
  // Records 9000 - 2002 .. 9000 + 5998: S from block record 3, E from 8000.
  EXPECT_EQ(S(), kPositionFileEpoch + (9000 - 1999) - 2000);
  EXPECT_EQ(E(), kPositionFileEpoch + (9000 + 5998) + 2000);
  EXPECT_TRUE(sink_.messages.empty());
  // Spherical from rectangular.
  EXPECT_NEAR(r.R, std::sqrt(r.X * r.X + r.Y * r.Y + r.Z * r.Z), 1e-12);
  EXPECT_NEAR(r.L, std::atan2(r.Y, r.X) * 180.0 / M_PI + (r.Y < 0 ? 360.0 : 0.0), 1e-9);
  EXPECT_NEAR(r.B, std::asin(r.Z / r.R) * 180.0 / M_PI, 1e-9);
}

TEST_F(PositionFileTest, TheBlockServesFromOneDayBeforeRecordThreeTo7994DaysAfter) {
  MakeVsc(0, 30000);
  ExpectSignal(Read(12000.0), 12000.0);
  const double s = S();
  const double record3Day = s + 2000.0 - kPositionFileEpoch;
  // n = 0 at one day before record 3: served from block records 0..4.
  ExpectSignal(Read(record3Day - 1.0), record3Day - 1.0);
  EXPECT_EQ(S(), s);
  ExpectSignal(Read(record3Day + 7994.0), record3Day + 7994.0);
  EXPECT_EQ(S(), s);
  // Slightly earlier or later: a new block.
  ExpectSignal(Read(record3Day - 1.001), record3Day - 1.001);
  EXPECT_NE(S(), s);
  ExpectSignal(Read(12000.0), 12000.0);
  ExpectSignal(Read(record3Day + 7994.01), record3Day + 7994.01);
  EXPECT_NE(S(), s);
}

TEST_F(PositionFileTest, DatesNearTheStartOfTheFileUseABlockMovedInside) {
  MakeVsc(0, 12000);
  // The block of day 100 would begin 1902 records before the file.
  ExpectSignal(Read(100.5), 100.5);
  EXPECT_EQ(S(), kPositionFileEpoch + 3 - 2000);
  ExpectSignal(Read(2.0), 2.0);  // records 0..4
  ExpectSignal(Read(1.5), 1.5);  // the same records, half a day before day 2
  const Result r = Read(1.0);    // needs day -1
  ExpectRefused(r);
}

TEST_F(PositionFileTest, DatesNearTheEndOfTheFileUseABlockMovedInsideAndRefuseBeyond) {
  MakeVsc(0, 9000);
  ExpectSignal(Read(8990.0), 8990.0);
  // Up to the day before the last one: records 8996..9000 around day 8998.
  ExpectSignal(Read(8997.0), 8997.0);
  ExpectSignal(Read(8998.5), 8998.5);
  const Result r = Read(8999.0);  // would need day 9001
  ExpectRefused(r);
  sink_.messages.clear();
  AbortRequested = 0;
  ExpectSignal(Read(8000.0), 8000.0);  // the file still works afterwards
}

// The block moved inside the file serves the file's first and last days
// without a reload, as every block serves the days inside it: the file
// rewritten behind the loaded block (the same days, another signal) still
// gives the block's values on those days, and the new ones only after a
// date outside the block has reloaded it.
TEST_F(PositionFileTest, TheFilesFirstAndLastDaysKeepTheirBlock) {
  MakeVsc(0, 12000);
  const auto rewrite = [this](double scale) {
    test::WritePositionFile(folder_ / "body.vsc", 0, 12000, 6,
                            [scale](int f, long d) { return scale * test::QuarticSignal(f, double(d)); });
  };
  const auto expectScaled = [this](double day, double scale) {
    const Result r = Read(day);
    ASSERT_TRUE(r.ok) << day;
    EXPECT_NEAR(r.X, scale * test::QuarticSignal(1, day), 1e-10) << day;
    EXPECT_NEAR(r.VZ, scale * test::QuarticSignal(6, day), 1e-10) << day;
  };
  expectScaled(1.25, 1);  // the first day served: records 0..4 around day 2
  const double s = S();
  rewrite(2);
  for (double day : {1.25, 1.5, 1.999, 2.0, 6000.0}) expectScaled(day, 1);
  EXPECT_EQ(S(), s);
  expectScaled(11998.75, 2);  // the last day served: a new block at the end of the file
  const double atEnd = S();
  rewrite(3);
  for (double day : {11998.75, 11998.0, 11997.2, 9000.0}) expectScaled(day, 2);
  EXPECT_EQ(S(), atEnd);
  expectScaled(100.0, 3);
  EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(PositionFileTest, AFileShorterThanABlockServesWhatItHolds) {
  MakeVsc(0, 2999);
  ExpectSignal(Read(1500.0), 1500.0);
  ExpectSignal(Read(2997.5), 2997.5);
  // Beyond the end the cleared part of the buffer is never taken for data.
  ExpectRefused(Read(2998.0));
}

TEST_F(PositionFileTest, RecordsThatAreNotTheExpectedDaysAreRefused) {
  // One record in the middle of the file holds a wrong day number.
  MakeVsc(0, 12000, [](long d) { return d == 5000 ? 4000.0 : double(d); });
  ExpectSignal(Read(3000.0), 3000.0);
  ExpectRefused(Read(4999.0));  // would interpolate over record 5000
  sink_.messages.clear();
  ExpectSignal(Read(5003.0), 5003.0);
  // A day missing: from day 5000 on every record holds the following day.
  // The block's records are then not the days their places promise.
  MakeVsc(0, 12000, [](long d) { return d >= 5000 ? double(d + 1) : double(d); });
  std::fill(start_, start_ + 6, 0);
  ExpectRefused(Read(3000.0));
}

TEST_F(PositionFileTest, AFailedReloadLeavesNoStaleBlock) {
  MakeVsc(0, 20000);
  ExpectSignal(Read(15000.0), 15000.0);
  // The file is replaced by a shorter one: the next reload cannot serve.
  MakeVsc(0, 100);
  ExpectRefused(Read(3000.0));
  // A request inside the old block's range reloads instead of using it.
  sink_.messages.clear();
  ExpectRefused(Read(15000.0));
}

TEST_F(PositionFileTest, NoOpenFileIsReportedInEnglishToo) {
  LanguageEnglish = 1;
  Result r{};
  r.ok = ReadPositionFile(PositionFileHandle{nullptr, block_.data(), start_, end_}, r.L, r.B, 0.0, r.R, r.X, r.Y,
                          r.Z, r.VX, r.VY, r.VZ);
  EXPECT_FALSE(r.ok);
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].text, kNoPositionsEnglish);
  EXPECT_EQ(AbortRequested, 1);
}

TEST_F(PositionFileTest, IntegrationFileFillsFieldsOneTo27AndLeavesFieldZero) {
  test::WritePositionFile(folder_ / "pos.vsp", 0, 12000, 27, [](int f, long d) { return test::QuarticSignal(f, double(d)); });
  std::FILE* vsp = std::fopen((folder_ / "pos.vsp").c_str(), "rb");
  ASSERT_NE(vsp, nullptr);
  std::vector<std::uint8_t> buffer(kVspBlockBytes);
  double S = 0.0, E = 0.0;
  std::uint8_t out[kVspRecordSize];
  std::fill(out, out + 6, 0x5A);
  ASSERT_TRUE(InterpolatePositionFile(S, E, buffer.data(), out, vsp, CenturiesOfDay(6000.75)));
  EXPECT_EQ(S, kPositionFileEpoch + (6000 - 1999) - 2000);
  EXPECT_EQ(E, kPositionFileEpoch + (6000 + 5998) + 2000);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(out[i], 0x5A);
  for (int f = 1; f <= 27; ++f) EXPECT_NEAR(Real48ToDouble(out + 6 * f), test::QuarticSignal(f, 6000.75), 1e-10) << f;
  // Beyond the end: refused, the record untouched, no block kept.
  std::uint8_t before[kVspRecordSize];
  std::copy(out, out + kVspRecordSize, before);
  EXPECT_FALSE(InterpolatePositionFile(S, E, buffer.data(), out, vsp, CenturiesOfDay(12500.0)));
  EXPECT_TRUE(std::equal(out, out + kVspRecordSize, before));
  EXPECT_EQ(S, 0.0);
  EXPECT_EQ(AbortRequested, 1);
  ASSERT_EQ(sink_.messages.size(), 1u);
  std::fclose(vsp);
}

// --- Start-up opening ---

class PositionFileOpeningTest : public PositionFileTest {
 protected:
  void WriteAll(long lastDayOfPluto = 10000) {
    for (std::size_t slot = 0; slot < kPositionFileNames.size(); ++slot)
      test::WritePositionFile(folder_ / kPositionFileNames[slot], 0, slot == 8 ? lastDayOfPluto : 10000, 6,
                              [](int f, long d) { return test::QuarticSignal(f, double(d)); });
    test::WritePositionFile(folder_ / "pos.vsp", 100, 9000, 27, [](int f, long d) { return f + 0.001 * d; });
  }
};

TEST_F(PositionFileOpeningTest, AllFilesPresentOpensThemAndReadsTheirDates) {
  WriteAll(9500);
  TTheoryState state;
  OpenPositionFiles(state, folder_.string());
  EXPECT_TRUE(sink_.messages.empty());
  EXPECT_EQ(state.VscFilesPresent, 1);
  EXPECT_EQ(state.VspFilePresent, 1);
  EXPECT_EQ(state.VscLastJulianDate, kPositionFileEpoch + 9498);  // Pluto's file ends first
  EXPECT_EQ(state.VspFirstJulianDate, kPositionFileEpoch + 100);
  EXPECT_EQ(state.VspLastJulianDate, kPositionFileEpoch + 8998);
  EXPECT_EQ(state.VspBlock.size(), kVspBlockBytes);
  const PositionFileHandles handles = state.Handles();
  for (std::size_t slot = 0; slot < handles.size(); ++slot) {
    EXPECT_NE(handles[slot].stream, nullptr);
    EXPECT_EQ(state.VscBlocks[slot].size(), kVscBlockBytes);
    EXPECT_EQ(Real48ToDouble(handles[slot].blockStart), 0.0);
  }
  // A read through a handle updates the state's bounds.
  double L, B, R, X, Y, Z, VX, VY, VZ;
  ASSERT_TRUE(ReadPositionFile(handles[3], L, B, CenturiesOfDay(5000.0), R, X, Y, Z, VX, VY, VZ));
  EXPECT_NEAR(X, test::QuarticSignal(1, 5000.0), 1e-10);
  // Mars's file ends at day 10000: its block is records 2000..10000.
  EXPECT_EQ(Real48ToDouble(state.VscBlockStart[3].data()), kPositionFileEpoch + 2003 - 2000);
  EXPECT_EQ(Real48ToDouble(state.VscBlockStart[2].data()), 0.0);
}

TEST_F(PositionFileOpeningTest, MissingFilesAreAbsentWithoutAMessage) {
  WriteAll();
  fs::remove(folder_ / "ura.vsc");
  fs::remove(folder_ / "pos.vsp");
  TTheoryState state;
  OpenPositionFiles(state, folder_.string());
  EXPECT_TRUE(sink_.messages.empty());
  EXPECT_EQ(state.VscFilesPresent, 0);
  EXPECT_EQ(state.VspFilePresent, 0);
  EXPECT_TRUE(state.VscBlocks[0].empty());
  EXPECT_EQ(state.Handles()[0].stream, nullptr);
}

TEST_F(PositionFileOpeningTest, UnreadableFilesAreClosedWithTheirMessages) {
  WriteAll();
  test::WritePositionFile(folder_ / "nep.vsc", 0, 1, 6, [](int, long) { return 1.0; });   // two records
  test::WritePositionFile(folder_ / "pos.vsp", 0, 0, 27, [](int, long) { return 1.0; });  // one record
  LanguageEnglish = 1;
  TTheoryState state;
  OpenPositionFiles(state, folder_.string());
  ASSERT_EQ(sink_.messages.size(), 2u);
  EXPECT_EQ(sink_.messages[0].text,
            "Error while opening the files with planetary positions (pos.vsp) for numerical Integrations.");
  EXPECT_EQ(sink_.messages[1].text, "Error while opening the files with planetary positions.");
  EXPECT_EQ(sink_.messages[1].icon, MessageIcon::Error);
  EXPECT_EQ(state.VscFilesPresent, 0);
  EXPECT_EQ(state.VspFilePresent, 0);
  EXPECT_EQ(state.VspStream, nullptr);
  for (std::size_t slot = 0; slot < 9; ++slot) {
    EXPECT_EQ(state.VscStreams[slot], nullptr);
    EXPECT_TRUE(state.VscBlocks[slot].empty());
  }
}

}  // namespace
}  // namespace kvx
