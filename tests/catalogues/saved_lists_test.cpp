// Every save keeps what was opened: the files of fixtures/bad_inputs (real
// objects that did not fit the SkyMap columns, values the own files wrote
// as 0, an equinox that ran into the next Guide column, a name cut inside
// a character, a day converted to an int before its check) and seeded
// lists of random elements of real objects' ranges, written in every
// format and read back. A value a format cannot hold refuses the save with
// a message naming the object and the field, and the old file stays.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>

#include "catalogue_test_support.h"
#include "catalogues/asteroid_list.h"
#include "catalogues/comet_list.h"
#include "catalogues/element_editor.h"
#include "catalogues/element_lines.h"
#include "core/time_scales.h"
#include "platform/text_encoding.h"

namespace kvx::test {
namespace {

using SavedLists = CatalogueTest;

std::string Fixture(const std::string& name) { return std::string(KVX_FIXTURE_DIR) + "/bad_inputs/" + name; }

template <typename List>
auto Find(List& list, const std::string& name) -> decltype(&list.Data(0)) {
  for (int k = 0; k < list.Count(); ++k) {
    if (list.Data(k).Name == name) return &list.Data(k);
  }
  return nullptr;
}

// Sedna (a = 506.8 AU) and C/2014 UN271 (q = 10.95 AU) in SkyMap, an
// equinox of five digits in Guide, a = 4e-9 AU in the own and HomePlanet
// files: every object comes back with its values (to the decimals of the
// format's columns; exactly in the own files).
TEST_F(SavedLists, ObjectsOpenedComeBackAfterSaving) {
  std::uint8_t kind = 0;
  Planetoidentabelle asteroids;
  ASSERT_TRUE(asteroids.Neuedateiladen(kind, Fixture("asteroids_own_sedna_save_as_skymap.csv"), true, 0));
  for (const char* name : {"out.sky", "out.cat"}) {
    ASSERT_TRUE(asteroids.WriteSkyMapFile(folder.File(name))) << Shown();
    Planetoidentabelle back;
    ASSERT_TRUE(back.Neuedateiladen(kind, folder.File(name), true, 0)) << Shown();
    ASSERT_EQ(back.Count(), 2);
    const TAsteroidElements* sedna = Find(back, "(90377) Sedna");
    ASSERT_NE(sedna, nullptr);
    EXPECT_NEAR(sedna->SemiMajorAxis, 506.8, 5e-7);
    EXPECT_NEAR(sedna->MeanAnomaly, 358.16, 5e-4);
  }

  Kometentabelle comets;
  ASSERT_TRUE(comets.Neuedateiladen(kind, Fixture("comets_own_far_q_save_as_skymap.csv"), true, 0));
  ASSERT_TRUE(comets.WriteSkyMapFile(folder.File("far.sky"))) << Shown();
  Kometentabelle farBack;
  ASSERT_TRUE(farBack.Neuedateiladen(kind, folder.File("far.sky"), true, 0)) << Shown();
  ASSERT_EQ(farBack.Count(), 2);
  const TCometElements* far = Find(farBack, "C/2014 UN271 (Bernardinelli-Bernstein)");
  ASSERT_NE(far, nullptr);
  EXPECT_NEAR(far->PerihelionDistance, 10.95, 5e-7);
  EXPECT_NEAR(far->PerihelionTime, 2462000.5, 5e-4);

  ASSERT_TRUE(comets.Neuedateiladen(kind, Fixture("comets_own_equinox_12000_save_as_guide.csv"), true, 0));
  ASSERT_TRUE(comets.WriteGuideFile(folder.File("guide.dat"))) << Shown();
  ASSERT_TRUE(farBack.Neuedateiladen(kind, folder.File("guide.dat"), true, 0)) << Shown();
  ASSERT_EQ(farBack.Count(), 2);
  EXPECT_EQ(Find(farBack, "1P/Halley")->Equinox, 12000);

  ASSERT_TRUE(asteroids.Neuedateiladen(kind, Fixture("asteroids_own_tiny_a_save_as_own_csv.csv"), true, 0));
  for (bool homePlanet : {false, true}) {
    const std::string path = folder.File(homePlanet ? "home.csv" : "own.csv");
    ASSERT_TRUE(homePlanet ? asteroids.WriteHomePlanetCsvFile(path) : asteroids.WriteOwnCsvFile(path));
    Planetoidentabelle back;
    ASSERT_TRUE(back.Neuedateiladen(kind, path, true, 0)) << Shown();
    ASSERT_EQ(back.Count(), 2) << (homePlanet ? "HomePlanet" : "own");
    EXPECT_EQ(Find(back, "Tiny")->SemiMajorAxis, 4e-9);
  }
  EXPECT_TRUE(sink.messages.empty()) << Shown();
}

// What a format cannot hold refuses the save before anything is written:
// the message names the object, the field and the format, and the old
// file stays as it was.
TEST_F(SavedLists, ValuesAFormatCannotHoldRefuseTheSave) {
  const std::string target = folder.Write("keep.sky", "old contents");
  const auto refused = [&](const std::function<bool()>& write, const std::string& expected) {
    sink.messages.clear();
    EXPECT_FALSE(write()) << expected;
    EXPECT_EQ(TempFolder::Read(target), "old contents") << expected;
    ASSERT_EQ(sink.messages.size(), 1u) << expected;
    EXPECT_NE(sink.messages[0].text.find(expected), std::string::npos) << sink.messages[0].text;
  };
  Planetoidentabelle asteroids;
  asteroids.LoadBuiltInList();  // Thetis holds elements of the equinox 1950
  refused([&] { return asteroids.WriteSkyMapFile(target); },
          "Thetis(17) 1985: equinox = 1950 passt nicht in das Format SkyMap. Die Datei " + target);
  refused([&] { return asteroids.WriteHomePlanetCsvFile(target); },
          "equinox = 1950 passt nicht in das Format HomePlanet");

  const auto single = [&](TAsteroidElements e, const std::string& name) {
    auto list = std::make_unique<Planetoidentabelle>();
    e.Name = name;
    list->AddItem(e.Name, e);
    return list;
  };
  TAsteroidElements tiny = asteroids.Data(0);
  tiny.SemiMajorAxis = 4e-9;
  refused([&] { return single(tiny, "Tiny")->WriteSkyMapFile(target); },
          "Tiny: a = 4e-09 passt nicht in das Format SkyMap");
  refused([&] { return single(asteroids.Data(0), "A name of thirty-six characters, yes")->WriteSkyMapFile(target); },
          "Name = \"A name of thirty-six characters, yes\"");
  refused([&] { return single(asteroids.Data(0), "Ω")->WriteOplFile(target); },
          "Name = \"Ω\" passt nicht in das Format Kandrevoltinex (*.opl)");

  LanguageEnglish = 1;
  Kometentabelle comets;
  comets.LoadBuiltInList();
  TCometElements nameless = comets.Data(0);
  nameless.Name = "   ";
  comets.AddItem(nameless.Name, nameless);
  refused([&] { return comets.WriteGuideFile(target); }, ": Name = \"   \" does not fit the format Guide 6.0");
  TCometElements distant = comets.Data(1);
  distant.PerihelionTime = CalendarDateToJd(1, 1, 12000, 0);
  Kometentabelle late;
  late.AddItem(distant.Name, distant);
  refused([&] { return late.WriteTextListing(target); }, "1P/Halley: T = ");
  EXPECT_EQ(sink.messages[0].caption, "File not saved");
}

// The comet readers: a HomePlanet day of 8E11 is refused as a number
// before it becomes a whole day (no undefined conversion), and the name of
// an MPC line is taken from the decoded line, so the Windows-1252 letters
// stay whole through a save and a reopening.
TEST_F(SavedLists, CometReadersCheckAndDecodeBeforeCutting) {
  std::uint8_t kind = 0;
  Kometentabelle comets;
  EXPECT_FALSE(comets.Neuedateiladen(kind, Fixture("comets_homeplanet_day_8e11.csv"), false, 0));
  EXPECT_EQ(comets.BuiltInListShown, 1);
  double jd = 0;
  EXPECT_FALSE(ParsePerihelionDateText("9-8-8E11", jd));
  EXPECT_FALSE(ParsePerihelionDateText("9-8-32", jd));
  EXPECT_TRUE(ParsePerihelionDateText("9-8-31.999", jd));

  ASSERT_TRUE(comets.Neuedateiladen(kind, Fixture("comets_mpc_cp1252_name.txt"), true, 0)) << Shown();
  EXPECT_EQ(kind, 5);
  ASSERT_EQ(comets.Count(), 2);
  ASSERT_TRUE(comets.suchen("1P/Halley"));
  const TCometElements* read = &comets.Data(comets.ItemIndex);
  EXPECT_TRUE(IsValidUtf8(read->Name));
  EXPECT_EQ(Utf8Length(read->Name), 40u);
  EXPECT_NE(read->Name.find("\u00B4 \u0160\u0160"), std::string::npos) << read->Name;
  ASSERT_TRUE(comets.WriteOwnCsvFile(folder.File("own.csv")));
  Kometentabelle back;
  ASSERT_TRUE(back.Neuedateiladen(kind, folder.File("own.csv"), true, 0));
  EXPECT_NE((Find(back, read->Name)), nullptr);
}

// --- seeded round trips ---------------------------------------------------------

// Random elements of the ranges real objects have: a 0.1-1000 AU, q
// 0.001-100 AU (both evenly in their logarithm), e 0-0.99 (asteroids) or
// 0-1.2 (comets), angles 0-360, epochs and T 1800-2200, H -1 to 30, G -1
// to 1; the equinox 2000, which the foreign formats hold.
class ElementDraw {
 public:
  explicit ElementDraw(unsigned seed) : random_(seed) {}
  double Uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random_); }
  double LogUniform(double low, double high) { return std::exp(Uniform(std::log(low), std::log(high))); }
  double Jd() { return Uniform(CalendarDateToJd(1, 1, 1800, 0), CalendarDateToJd(1, 1, 2200, 0)); }

  TAsteroidElements Asteroid(int k) {
    TAsteroidElements e;
    e.Name = "Random asteroid " + std::to_string(k);
    e.SemiMajorAxis = LogUniform(0.1, 1000);
    e.Eccentricity = Uniform(0, 0.99);
    e.Inclination = Uniform(0, 180);
    e.Node = Uniform(0, 360);
    e.Perihelion = Uniform(0, 360);
    e.MeanAnomaly = Uniform(0, 360);
    e.MeanMotion = Uniform(0, 1);
    e.Equinox = 2000;
    e.Epoch = Jd();
    e.H = Uniform(-1, 30);
    e.G = Uniform(-1, 1);
    return e;
  }
  TCometElements Comet(int k) {
    TCometElements e;
    e.Name = "Random comet " + std::to_string(k);
    e.PerihelionDistance = LogUniform(0.001, 100);
    e.Eccentricity = Uniform(0, 1.2);
    e.Inclination = Uniform(0, 180);
    e.Node = Uniform(0, 360);
    e.Perihelion = Uniform(0, 360);
    e.Equinox = 2000;
    e.PerihelionTime = Jd();
    e.H = Uniform(-1, 30);
    e.G = Uniform(-1, 1);
    e.Epoch = Jd();
    return e;
  }

 private:
  std::mt19937 random_;
};

// Largest differences per field a format's columns allow (-1: not held;
// 0: kept exactly). Asteroids a e i node per m n equinox epoch h g; comets
// q e i node per equinox T H G epoch.
using Tolerances = std::vector<double>;

void ExpectWithin(const std::vector<double>& wanted, const std::vector<double>& got, const Tolerances& tolerance,
                  const std::string& what) {
  for (std::size_t f = 0; f < wanted.size(); ++f) {
    if (tolerance[f] < 0) continue;
    EXPECT_LE(std::fabs(got[f] - wanted[f]), tolerance[f] + 1e-12 * std::fabs(wanted[f])) << what << " field " << f;
  }
}

std::vector<double> Values(const TAsteroidElements& e) {
  return {e.SemiMajorAxis, e.Eccentricity, e.Inclination, e.Node, e.Perihelion, e.MeanAnomaly,
          e.MeanMotion,    e.Equinox,      e.Epoch,       e.H,    e.G};
}
std::vector<double> Values(const TCometElements& e) {
  return {e.PerihelionDistance,
          e.Eccentricity,
          e.Inclination,
          e.Node,
          e.Perihelion,
          e.Equinox,
          e.PerihelionTime,
          e.H,
          e.G,
          e.Epoch};
}

template <typename List, typename Draw>
void RoundTrip(const std::string& path, const std::function<bool(List&, const std::string&)>& write,
               const Tolerances& tolerance, Draw draw, const std::string& shown) {
  List list;
  for (int k = 0; k < 60; ++k) {
    const auto e = draw(k);
    list.AddItem(e.Name, e);
  }
  ASSERT_TRUE(write(list, path)) << path << "\n" << shown;
  List back;
  std::uint8_t kind = 0;
  ASSERT_TRUE(back.Neuedateiladen(kind, path, true, 0)) << path;
  ASSERT_EQ(back.Count(), list.Count()) << path;
  for (int k = 0; k < list.Count(); ++k) {
    ASSERT_TRUE(back.suchen(list.Data(k).Name)) << path << " " << list.Data(k).Name;
    ExpectWithin(Values(list.Data(k)), Values(back.Data(back.ItemIndex)), tolerance, path + " " + list.Data(k).Name);
  }
}

TEST_F(SavedLists, RandomListsRoundTripInEveryFormat) {
  ElementDraw draw(20240611);
  using A = Planetoidentabelle;
  using K = Kometentabelle;
  const Tolerances exactA(11, 0.0), exactK(10, 0.0);
  const auto asteroid = [&](int k) { return draw.Asteroid(k); };
  const auto comet = [&](int k) { return draw.Comet(k); };
  RoundTrip<A>(
      folder.File("a.csv"), [](A& l, const std::string& p) { return l.WriteOwnCsvFile(p); }, exactA, asteroid, Shown());
  RoundTrip<A>(
      folder.File("a.opl"), [](A& l, const std::string& p) { return l.WriteOplFile(p); }, exactA, asteroid, Shown());
  // HomePlanet: n is not held; the epoch goes through the MJD.
  RoundTrip<A>(
      folder.File("h.csv"), [](A& l, const std::string& p) { return l.WriteHomePlanetCsvFile(p); },
      {0, 0, 0, 0, 0, 0, -1, 0, 1e-9, 0, 0}, asteroid, Shown());
  RoundTrip<A>(
      folder.File("a.sky"), [](A& l, const std::string& p) { return l.WriteSkyMapFile(p); },
      {5e-7, 5e-7, 5e-4, 5e-4, 5e-4, 5e-4, -1, 0, 5e-4, 5e-3, 5e-3}, asteroid, Shown());
  RoundTrip<K>(
      folder.File("k.csv"), [](K& l, const std::string& p) { return l.WriteOwnCsvFile(p); }, exactK, comet, Shown());
  RoundTrip<K>(
      folder.File("k.oko"), [](K& l, const std::string& p) { return l.WriteOkoFile(p); }, exactK, comet, Shown());
  // HomePlanet comets hold neither H, G nor the epoch; T to 0.001 d.
  RoundTrip<K>(
      folder.File("hk.csv"), [](K& l, const std::string& p) { return l.WriteHomePlanetCsvFile(p); },
      {0, 0, 0, 0, 0, 0, 5e-4, -1, -1, -1}, comet, Shown());
  RoundTrip<K>(
      folder.File("k.dat"), [](K& l, const std::string& p) { return l.WriteGuideFile(p); },
      {5e-8, 5e-8, 5e-8, 5e-8, 5e-8, 0.05, 5e-5, 0.05, 0.05, -1}, comet, Shown());
  RoundTrip<K>(
      folder.File("k.sky"), [](K& l, const std::string& p) { return l.WriteSkyMapFile(p); },
      {5e-7, 5e-7, 5e-4, 5e-4, 5e-4, 0, 5e-4, 0.05, 0.05, -1}, comet, Shown());
}

// The editors' entry lines keep every value, however small or large.
TEST_F(SavedLists, EditorLinesKeepEveryValue) {
  TAsteroidElements a = NewAsteroidEditorRecord(2460000.5);
  a.SemiMajorAxis = 4e-9;
  a.Node = 1e30;
  a.Epoch = 2460000.123456789;
  TAsteroidElements back;
  ASSERT_EQ(ParseAsteroidCsvLine(EditorRecordToLine(a), false, back), TLineParse::Parsed);
  EXPECT_EQ(Values(back), Values(a));
  TCometElements k = NewCometEditorRecord(2460000.5);
  k.PerihelionDistance = 3e-12;
  k.Epoch = 2460000.987654321;
  TCometElements kBack;
  ASSERT_EQ(ParseCometCsvLine(EditorRecordToLine(k), kBack), TLineParse::Parsed);
  EXPECT_EQ(Values(kBack), Values(k));
}

}  // namespace
}  // namespace kvx::test
