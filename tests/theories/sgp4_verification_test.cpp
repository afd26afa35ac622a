// The standard SGP4/SDP4 verification: every element set of SGP4-VER.TLE
// propagated to every time listed in tcppver.out (both files as shipped with
// the Debian package python3-sgp4 2.15, see fixtures/README.md), compared
// component by component. Rows where the reference propagator stops with an
// error are listed in fixtures/sgp4_ver_errors.tsv (made by
// make_satellite_fixtures.py); the models must report an error there too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/fixtures.h"
#include "support/temp_folder.h"
#include "theories/sgp4.h"
#include "theories/tle.h"

namespace kvx {
namespace {

struct VerificationSet {
  TTleEntry entry;
};

std::string StripLineEnd(std::string line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  return line;
}

// The sets of the verification file. Its lines carry the start, stop and
// step of the test run after column 69; they are cut as the loader cuts them.
// The file has comment lines in place of name lines, so it is read pair-wise
// here rather than through LoadTleFile.
std::map<int, std::vector<TTleEntry>> ReadVerificationSets() {
  std::ifstream in(std::string(KVX_FIXTURE_DIR) + "/SGP4-VER.TLE");
  std::map<int, std::vector<TTleEntry>> sets;
  std::string line, next;
  while (std::getline(in, line)) {
    line = StripLineEnd(line);
    if (line.rfind("1 ", 0) != 0) continue;
    std::getline(in, next);
    next = StripLineEnd(next);
    TTleEntry entry{line.substr(0, kTleLineLength), next.substr(0, kTleLineLength)};
    sets[std::stoi(next.substr(2, 5))].push_back(entry);
  }
  return sets;
}

struct ExpectedRow {
  double minutes;
  double r[3];
  double v[3];
};

struct ExpectedSatellite {
  int number;
  int occurrence;  // the same set number can occur twice
  std::vector<ExpectedRow> rows;
};

std::vector<ExpectedSatellite> ReadExpected() {
  std::ifstream in(std::string(KVX_FIXTURE_DIR) + "/tcppver.out");
  std::vector<ExpectedSatellite> satellites;
  std::map<int, int> seen;
  std::string line;
  while (std::getline(in, line)) {
    line = StripLineEnd(line);
    if (line.find("xx") != std::string::npos) {
      int number = std::stoi(line);
      satellites.push_back({number, seen[number]++, {}});
      continue;
    }
    std::istringstream fields(line);
    ExpectedRow row{};
    fields >> row.minutes >> row.r[0] >> row.r[1] >> row.r[2] >> row.v[0] >> row.v[1] >> row.v[2];
    if (fields) satellites.back().rows.push_back(row);
  }
  return satellites;
}

// Loads the set into slot 1 and propagates it to `minutes` since epoch with
// the model the loader chose; the state in km and km/s.
TSatelliteError Propagate(double minutes, TVectorXYZR& r, TVectorXYZR& v) {
  TSatelliteError error = SgpElements.deepSpace != 0
                              ? Sdp4Propagate(SgpElements.newElements, r, v, minutes)
                              : Sgp4Propagate(SgpElements.newElements, r, v, minutes);
  if (error == kSatOk) SatStateToKilometres(r, v);
  return error;
}

TEST(Sgp4Verification, EveryRowOfTheStandardSetWithinTolerance) {
  auto sets = ReadVerificationSets();
  auto expected = ReadExpected();
  ASSERT_EQ(expected.size(), 33u);
  // The reference driver also prints a state for a row where the propagator
  // failed (set 33334 at 0 minutes repeats the state before it): such rows
  // are checked by the error test below, not here.
  test::FixtureTable errors = test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/sgp4_ver_errors.tsv");
  auto isErrorRow = [&](int number, double minutes) {
    for (std::size_t i = 0; i < errors.Rows(); ++i)
      if (errors.Number(i, "set") == number && errors.Number(i, "minutes") == minutes) return true;
    return false;
  };

  // Measured against tcppver.out: near-earth at most 0.25 m (set 5) and
  // 1.6e-7 km/s; deep space at most 0.85 m (set 20413) and 1.1e-7 km/s.
  constexpr double kNearEarthLimitKm = 0.010;
  constexpr double kDeepSpaceLimitKm = 1.0;
  double worstNear = 0, worstDeep = 0, worstNearVelocity = 0, worstDeepVelocity = 0;
  int worstNearSet = 0, worstDeepSet = 0;
  std::size_t rows = 0;
  for (const ExpectedSatellite& sat : expected) {
    ASSERT_TRUE(sets.count(sat.number)) << sat.number;
    SatelliteTable[1] = sets[sat.number].at(static_cast<std::size_t>(sat.occurrence));
    ASSERT_EQ(LoadTwoLineElements(1), kSatOk) << sat.number;
    bool deep = SgpElements.deepSpace != 0;
    // Set 33333 is made up to drive the model into an error: eccentricity
    // 0.995 with the perigee 84 km from the earth's centre. Its J2 term
    // delta0 is -0.78 instead of about 1e-3, where the report's semi-major
    // axis a0 / (1 - delta0) and the reference's (XKE / N)^(2/3) part ways
    // (both are the same to second order in delta0 for real orbits). Its
    // rows before the error are only held to this loose bound; the error
    // itself is checked below.
    double limit = sat.number == 33333 ? 3000.0 : deep ? kDeepSpaceLimitKm : kNearEarthLimitKm;
    for (const ExpectedRow& row : sat.rows) {
      if (isErrorRow(sat.number, row.minutes)) continue;
      TVectorXYZR r, v;
      ASSERT_EQ(Propagate(row.minutes, r, v), kSatOk) << sat.number << " at " << row.minutes;
      double dr = std::max({std::fabs(r.x - row.r[0]), std::fabs(r.y - row.r[1]), std::fabs(r.z - row.r[2])});
      double dv = std::max({std::fabs(v.x - row.v[0]), std::fabs(v.y - row.v[1]), std::fabs(v.z - row.v[2])});
      EXPECT_LT(dr, limit) << sat.number << " at " << row.minutes;
      ++rows;
      if (sat.number == 33333) continue;
      double& worst = deep ? worstDeep : worstNear;
      double& worstVelocity = deep ? worstDeepVelocity : worstNearVelocity;
      if (dr > worst) {
        worst = dr;
        (deep ? worstDeepSet : worstNearSet) = sat.number;
      }
      worstVelocity = std::max(worstVelocity, dv);
    }
  }
  EXPECT_EQ(rows, 700u - 33u - 1u);
  std::printf("near-earth: %.6f km (set %d), %.9f km/s; deep space: %.6f km (set %d), %.9f km/s\n", worstNear,
              worstNearSet, worstNearVelocity, worstDeep, worstDeepSet, worstDeepVelocity);
}

TEST(Sgp4Verification, ErrorCasesOfTheStandardSetReportTheirErrors) {
  auto sets = ReadVerificationSets();
  test::FixtureTable errors = test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/sgp4_ver_errors.tsv");
  ASSERT_EQ(errors.Rows(), 7u);
  std::map<int, int> occurrence;
  for (std::size_t i = 0; i < errors.Rows(); ++i) {
    int number = static_cast<int>(errors.Number(i, "set"));
    int index = static_cast<int>(errors.Number(i, "occurrence"));
    double minutes = errors.Number(i, "minutes");
    auto code = static_cast<TSatelliteError>(errors.Number(i, "error"));
    SatelliteTable[1] = sets[number].at(static_cast<std::size_t>(index));
    ASSERT_EQ(LoadTwoLineElements(1), kSatOk) << number;
    TVectorXYZR r, v;
    EXPECT_EQ(Propagate(minutes, r, v), code) << number << " at " << minutes;
    EXPECT_EQ(r.x, 0.0);
    EXPECT_FALSE(std::isnan(r.r));
  }
}

TEST(Sgp4Verification, LoaderTreatsTheVerificationSetsAsItsOwnTestsSay) {
  auto sets = ReadVerificationSets();
  // Set 11801 (the report's own deep-space example) has a correct checksum
  // but blanks instead of " 0 " in columns 62-64 of line 1: the loader skips
  // it like any damaged set (the next set takes its slot, no message). The
  // verification above still runs it by writing the lines straight into a
  // slot, which LoadTwoLineElements accepts as they stand.
  EXPECT_TRUE(TleLineChecksumOk(sets[11801].at(0).line1));
  EXPECT_FALSE(TleEntryValid(sets[11801].at(0)));
  std::string lines;
  for (int number : {11801, 5})
    lines += "SET " + std::to_string(number) + "\r\n" + sets[number][0].line1 + "\r\n" + sets[number][0].line2 + "\r\n";
  const kvx::test::TempFolder folder;
  ASSERT_EQ(LoadTleFile(folder.Write("sgp4_ver_11801.tle", lines), false), 1);
  EXPECT_EQ(SatelliteNames[1], "SET 5");
  // The sets made up to trigger errors carry wrong checksums.
  EXPECT_FALSE(TleEntryValid(sets[33333].at(0)));
  EXPECT_FALSE(TleEntryValid(sets[33334].at(0)));
  EXPECT_FALSE(TleEntryValid(sets[33335].at(0)));
  // All other sets pass.
  for (auto& [number, list] : sets)
    if (number != 11801 && number < 33333) {
      for (auto& entry : list) EXPECT_TRUE(TleEntryValid(entry)) << number;
    }
}

}  // namespace
}  // namespace kvx
