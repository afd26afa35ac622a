// How far the tables on the internal (Newcomb) series lie from those on
// VSOP87 D: the Sun and the planets' apparent geocentric places of the
// tables' "RA" and "DK" columns, 1895 to 2100 every 9 days, as the guides'
// accuracy section states them per body. The test measures the figures
// again (it prints them) and checks the guides' table against them: each
// figure is the measured worst case rounded up to a tenth of an arc second.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/name_tables.h"
#include "engine/planet.h"
#include "engine/sun.h"
#include "engine/table_globals.h"
#include "engine/chain_test_support.h"
#include "support/table_request.h"
#include "support/theory_selection.h"
#include "theories/theory_library_test_support.h"

namespace kvx {
namespace {

constexpr double kStepDays = 9;

TObserverRecord MidnightUt(int year) {
  TObserverRecord r;
  r.Day = 1;
  r.Month = 1;
  r.Year = year;
  r.Latitude = 50;
  r.AutoDeltaT = 1;
  return r;
}

// The apparent places of one body's table over the period (body 0: the Sun).
std::vector<TEphemerisResultRecord> TableRows(int body, std::uint8_t theory) {
  TTableConfigRecord config;
  config.Flags[column_flag::kRightAscension] = 1;
  config.Flags[column_flag::kDeclination] = 1;
  TTableStep step;
  step.StepDays = kStepDays;
  const TTableRequest request =
      test::TableRequest(0, test::PlanetTheory(theory), config, MidnightUt(1895), MidnightUt(2100), step);
  std::vector<TEphemerisResultRecord> rows;
  auto keep = [&rows](TKeplereph& table) {
    table.schleife(TComputeSettingsBlock{}, 0, 1);
    for (int k = 0; k < table.Rows; ++k) rows.push_back(RowStore.Row(k));
  };
  if (body == 0) {
    TSonnetab sun(request, nullptr);
    sun.initialisieren(request);
    keep(sun);
  } else {
    Tplatab planet(request, nullptr, body);
    planet.initialisieren(request, body);
    keep(planet);
  }
  return rows;
}

struct TWorst {
  double Whole = 0;    // 1895-2100, arc seconds
  double Central = 0;  // 1950-2050
  double Jd = 0;       // of the whole period's worst
  int AboveFive = 0;   // rows more than 5" apart
  int Rows = 0;
};

TWorst Measure(int body) {
  const std::vector<TEphemerisResultRecord> newcomb = TableRows(body, 0), vsop = TableRows(body, 1);
  TWorst worst;
  worst.Rows = static_cast<int>(newcomb.size());
  EXPECT_EQ(newcomb.size(), vsop.size());
  for (std::size_t k = 0; k < newcomb.size() && k < vsop.size(); ++k) {
    EXPECT_EQ(newcomb[k].JD, vsop[k].JD);
    const double apart = test::SeparationArcsec(newcomb[k].Position.RightAscension, newcomb[k].Position.Declination,
                                                vsop[k].Position.RightAscension, vsop[k].Position.Declination);
    if (apart > worst.Whole) {
      worst.Whole = apart;
      worst.Jd = newcomb[k].JD;
    }
    if (newcomb[k].JD >= 2433282.5 && newcomb[k].JD < 2469807.5) worst.Central = std::max(worst.Central, apart);
    worst.AboveFive += apart > 5 ? 1 : 0;
  }
  return worst;
}

// The guide's table of the Newcomb series against VSOP87 D: per body (by
// its row's name) the figures of 1895-2100 and of 1950-2050, arc seconds.
std::map<std::string, std::pair<double, double>> GuideTable(bool english) {
  std::ifstream in(std::string(KVX_FIXTURE_DIR) + "/../../../data/help/guide-" + (english ? "en" : "de") + ".md");
  const std::string head = english ? "| body | 1895–2100 | 1950–2050 |" : "| Körper | 1895–2100 | 1950–2050 |";
  std::map<std::string, std::pair<double, double>> table;
  bool inTable = false;
  for (std::string line; std::getline(in, line);) {
    if (line == head) {
      inTable = true;
      continue;
    }
    if (!inTable || line.rfind("|---", 0) == 0) continue;
    if (line.rfind("| ", 0) != 0) break;
    std::vector<std::string> cells;
    std::stringstream row(line.substr(2));
    for (std::string cell; std::getline(row, cell, '|');) {
      cell.erase(cell.find_last_not_of(' ') + 1);
      cell.erase(0, cell.find_first_not_of(' '));
      for (char& c : cell) c = c == ',' ? '.' : c;  // the German decimal comma
      cells.push_back(cell);
    }
    if (cells.size() >= 3) table[cells[0]] = {std::stod(cells[1]), std::stod(cells[2])};
  }
  return table;
}

TEST(NewcombAgainstVsop, TheGuidesStateTheMeasuredWorstCasePerBody) {
  InitAstroNameTables();
  const TLibraryAvailability libraries = test::OpenBuiltLibraries();
  ASSERT_TRUE(libraries.Vsop87D) << "VSOP87 D library not built";
  const std::map<std::string, std::pair<double, double>> tables[] = {GuideTable(false), GuideTable(true)};
  const char* const names[][2] = {{"Sonne", "Sun"},     {"Merkur", "Mercury"}, {"Venus", "Venus"},
                                  {"", ""},             {"Mars", "Mars"},      {"Jupiter", "Jupiter"},
                                  {"Saturn", "Saturn"}, {"Uranus", "Uranus"},  {"Neptun", "Neptune"},
                                  {"Pluto", "Pluto"}};
  for (const auto& table : tables) EXPECT_EQ(table.size(), 9u);
  for (int body = 0; body <= 9; ++body) {
    if (body == 3) continue;  // the Earth
    const TWorst w = Measure(body);
    std::printf("%s: %d rows, worst %.2f\" at JD %.1f, 1950-2050 %.2f\", %d rows above 5\"\n", names[body][1],
                w.Rows, w.Whole, w.Jd, w.Central, w.AboveFive);
    EXPECT_EQ(w.Rows, 8320);
    // The guides' figures: rounded to a tenth of an arc second.
    for (int english : {0, 1}) {
      const auto row = tables[english].find(names[body][english]);
      ASSERT_NE(row, tables[english].end()) << names[body][english];
      EXPECT_NEAR(row->second.first, w.Whole, 0.051) << names[body][english];
      EXPECT_NEAR(row->second.second, w.Central, 0.051) << names[body][english];
    }
  }
  CloseTheoryLibraries();
}

}  // namespace
}  // namespace kvx
