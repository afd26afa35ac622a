// Every save keeps what was opened: the files of fixtures/bad_inputs (real
// objects that did not fit the SkyMap columns, values the own files wrote
// as 0, an equinox that ran into the next Guide column, a name cut inside
// a character, a day converted to an int before its check) and seeded
// lists of random elements of real objects' ranges, written in every
// format and read back. A value a format cannot hold refuses the save with
// a message naming the object and the field, and the old file stays; a
// value a format keeps only rounded, or a field it lacks, is asked about
// once before anything is written.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <cfloat>
#include <filesystem>
#include <map>
#include <sstream>

#include "catalogue_test_support.h"
#include "catalogues/asteroid_list.h"
#include "catalogues/comet_list.h"
#include "catalogues/element_editor.h"
#include "catalogues/element_lines.h"
#include "catalogues/foreign_lines.h"
#include "core/text_conversion.h"
#include "core/frames.h"
#include "core/time_scales.h"
#include "core/two_body.h"
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
  // Nothing refused; the one question: SkyMap holds no epoch of a comet.
  ASSERT_EQ(sink.messages.size(), 1u) << Shown();
  EXPECT_NE(sink.messages[0].text.find("epoch fehlt im Format: 1 Objekt"), std::string::npos) << Shown();
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
  const auto single = [&](TAsteroidElements e, const std::string& name) {
    auto list = std::make_unique<Planetoidentabelle>();
    e.Name = name;
    list->AddItem(e.Name, e);
    return list;
  };
  Planetoidentabelle asteroids;
  asteroids.LoadBuiltInList();
  const std::string omegaPath = folder.File("omega.csv");
  refused([&] { return single(asteroids.Data(0), "Ω")->WriteHomePlanetCsvFile(target); },
          "Name = \"Ω\" passt nicht in das Format HomePlanet 3.0");
  ASSERT_TRUE(single(asteroids.Data(0), "Ω")->WriteOwnCsvFile(omegaPath));
  EXPECT_NE(TempFolder::Read(omegaPath).find("\u03A9;"), std::string::npos);

  TAsteroidElements tiny = asteroids.Data(0);
  tiny.SemiMajorAxis = 4e-9;
  refused([&] { return single(tiny, "Tiny")->WriteSkyMapFile(target); },
          "Tiny: a = 4e-09 passt nicht in das Format SkyMap");
  refused([&] { return single(asteroids.Data(0), "A name of thirty-six characters, yes")->WriteSkyMapFile(target); },
          "Name = \"A name of thirty-six characters, yes\"");
  refused([&] { return single(asteroids.Data(0), "Ω")->WriteOplFile(target); },
          "Name = \"Ω\" passt nicht in das Format Kandrevoltinex (*.opl)");
  // Every object refused is named at once, up to ten, then counted.
  Planetoidentabelle foreign;
  for (const char* name : {"Юпитерия", "Ceres", "木星小"}) {
    TAsteroidElements e = asteroids.Data(0);
    e.Name = name;
    foreign.AddItem(e.Name, e);
  }
  refused([&] { return foreign.WriteOplFile(target); },
          "2 Objekte passen nicht in das Format Kandrevoltinex (*.opl):\nЮпитерия: Name = \"Юпитерия\"\n"
          "木星小: Name = \"木星小\"\nDie Datei " +
              target + " wurde nicht geschrieben.");
  for (int k = 0; k < 10; ++k) {
    TAsteroidElements e = asteroids.Data(0);
    e.Name = "Ωmega " + std::to_string(k);
    e.SemiMajorAxis = 4e-9;
    foreign.AddItem(e.Name, e);
  }
  refused([&] { return foreign.WriteSkyMapFile(target); }, "12 Objekte passen nicht in das Format SkyMap:");
  EXPECT_NE(sink.messages[0].text.find("\nund 2 weitere\nDie Datei"), std::string::npos) << Shown();

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

// --- objects of another equinox -------------------------------------------------

// Heliocentric ecliptic position (AU) of an elliptic orbit at `jd`, in the
// frame of the elements' equinox, carried to the ecliptic and equinox
// J2000 with the precession matrix (not with the element precession the
// writers use). n from a (the readers of the foreign formats give n = 0).
struct TOrbit {
  double A, E, I, Node, Per, M0, Jd0, Equinox;
};
std::array<double, 3> J2000Position(const TOrbit& o, double jd) {
  const double M = o.M0 + MeanDailyMotion(o.A) * (jd - o.Jd0);
  double x = 0, y = 0, vx = 0, vy = 0;
  EllipticOrbitPosition(x, y, vx, vy, M, o.A, o.E);
  TMatrix33 orientation;
  GaussVectors(orientation, o.Node, o.I, o.Per);
  std::array<double, 3> r{};
  OrbitPlaneToSpace(orientation, x, y, r[0], r[1], r[2]);
  TMatrix33 precession;
  PrecessionMatrixEcliptic(precession, (o.Equinox - 2000) * 0.01, 0.0);
  MatrixTimesVector(precession, r[0], r[1], r[2]);
  return r;
}
TOrbit OrbitOf(const TAsteroidElements& e) {
  return {e.SemiMajorAxis, e.Eccentricity, e.Inclination, e.Node, e.Perihelion, e.MeanAnomaly, e.Epoch, e.Equinox};
}
TOrbit OrbitOf(const TCometElements& e) {
  return {e.PerihelionDistance / (1 - e.Eccentricity), e.Eccentricity, e.Inclination, e.Node, e.Perihelion, 0,
          e.PerihelionTime, e.Equinox};
}
// The largest distance (AU) between the positions of two orbits over 50
// years either side of `jd`, every 73 days.
double LargestDistance(const TOrbit& a, const TOrbit& b, double jd) {
  double largest = 0;
  for (double t = jd - 50 * 365.25; t <= jd + 50 * 365.25; t += 73) {
    const std::array<double, 3> p = J2000Position(a, t), q = J2000Position(b, t);
    largest = std::max(largest, std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]));
  }
  return largest;
}

// Objects of the equinox 1950 saved in every format whose readers take
// 2000 (HomePlanet, SkyMap) come back as the same orbit of the equinox
// 2000: the positions from the reopened elements agree with those of the
// B1950 elements carried to J2000 within what the format's decimals
// allow (unconverted, the orbit would be turned by about 0.7 degrees:
// 0.03-0.1 AU here). Guide holds the equinox and keeps it. The question
// before a lossy save tells the conversion instead of a lost equinox; a
// save that only converts asks nothing.
TEST_F(SavedLists, ObjectsOfAnotherEquinoxKeepTheirOrbit) {
  TAsteroidElements old;
  old.Name = "Old Equinox(77) 1950";
  old.SemiMajorAxis = 2.7680;
  old.Eccentricity = 0.0784;
  old.Inclination = 10.607;
  old.Node = 80.052;
  old.Perihelion = 71.912;
  old.MeanAnomaly = 287.2650;
  old.MeanMotion = 0;
  old.Equinox = 1950;
  old.Epoch = 2433282.5;
  old.H = 3.3;
  old.G = 0.12;
  TCometElements oldComet;
  oldComet.Name = "Old Equinox Comet 1950";
  oldComet.PerihelionDistance = 1.5432;
  oldComet.Eccentricity = 0.5123;
  oldComet.Inclination = 162.238;
  oldComet.Node = 57.845;
  oldComet.Perihelion = 111.846;
  oldComet.Equinox = 1950;
  oldComet.PerihelionTime = 2446470.9;
  oldComet.H = 5.5;
  oldComet.G = 4.0;
  oldComet.Epoch = oldComet.PerihelionTime - 20;

  using A = Planetoidentabelle;
  using K = Kometentabelle;
  struct Case {
    const char* File;
    bool Comet;
    std::function<bool(A&, K&, const std::string&)> Write;
    double Tolerance;      // AU, from the format's decimals
    const char* Question;  // nullptr: nothing asked
    double Equinox;        // of the reopened object
  };
  // SkyMap: angles and M to 3 decimals, a, q and e to 6, days to 3; over a
  // century the rounded a (or q and e) moves the object along its orbit by
  // up to 1e-4 AU (asteroid) and 1e-3 AU (comet). Guide: 7 decimals, days
  // to 4. HomePlanet keeps every value: there the element precession and
  // the matrix agree to about 0.005 arcseconds (1e-7 AU at 3 AU).
  const Case cases[] = {
      {"a.sky", false, [](A& l, K&, const std::string& p) { return l.WriteSkyMapFile(p); }, 3e-4,
       "i, node, per auf Äquinoktium 2000 umgerechnet: 1 Objekt", 2000},
      {"a.cat", false, [](A& l, K&, const std::string& p) { return l.WriteSkyMapFile(p); }, 3e-4,
       "i, node, per auf Äquinoktium 2000 umgerechnet: 1 Objekt", 2000},
      {"a.csv", false, [](A& l, K&, const std::string& p) { return l.WriteHomePlanetCsvFile(p); }, 1e-7, nullptr,
       2000},
      {"k.sky", true, [](A&, K& l, const std::string& p) { return l.WriteSkyMapFile(p); }, 2e-3,
       "i, node, per auf Äquinoktium 2000 umgerechnet: 1 Objekt", 2000},
      {"k.csv", true, [](A&, K& l, const std::string& p) { return l.WriteHomePlanetCsvFile(p); }, 1e-7,
       "i, node, per auf Äquinoktium 2000 umgerechnet: 1 Objekt", 2000},
      {"k.dat", true, [](A&, K& l, const std::string& p) { return l.WriteGuideFile(p); }, 1e-5,
       "epoch fehlt im Format: 1 Objekt", 1950},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    A asteroids;
    asteroids.AddItem(old.Name, old);
    K comets;
    comets.AddItem(oldComet.Name, oldComet);
    sink.messages.clear();
    const std::string path = folder.File(c.File);
    ASSERT_TRUE(c.Write(asteroids, comets, path)) << Shown();
    if (c.Question == nullptr) {
      EXPECT_TRUE(sink.messages.empty()) << Shown();
    } else {
      ASSERT_EQ(sink.messages.size(), 1u) << Shown();
      EXPECT_NE(sink.messages[0].text.find(c.Question), std::string::npos) << Shown();
      EXPECT_EQ(sink.messages[0].text.find("equinox fehlt"), std::string::npos) << Shown();
    }
    std::uint8_t kind = 0;
    TOrbit before, after;
    double jd = 0;
    if (c.Comet) {
      K back;
      ASSERT_TRUE(back.Neuedateiladen(kind, path, true, 0)) << Shown();
      ASSERT_EQ(back.Count(), 1);
      EXPECT_EQ(back.Data(0).Equinox, c.Equinox);
      before = OrbitOf(oldComet);
      after = OrbitOf(back.Data(0));
      jd = oldComet.PerihelionTime;
    } else {
      A back;
      ASSERT_TRUE(back.Neuedateiladen(kind, path, true, 0)) << Shown();
      ASSERT_EQ(back.Count(), 1);
      EXPECT_EQ(back.Data(0).Equinox, c.Equinox);
      before = OrbitOf(old);
      after = OrbitOf(back.Data(0));
      jd = old.Epoch;
    }
    EXPECT_LE(LargestDistance(before, after, jd), c.Tolerance);
    // The check sees the turn it guards against.
    TOrbit unconverted = before;
    unconverted.Equinox = 2000;
    EXPECT_GT(LargestDistance(before, unconverted, jd), 10 * c.Tolerance);
  }
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

const std::vector<std::string> kAsteroidFieldNames = {"a", "e", "i", "node", "per", "m", "n", "equinox", "epoch", "h", "g"};
const std::vector<std::string> kCometFieldNames = {"q", "e", "i", "node", "per", "equinox", "T", "H", "G", "epoch"};

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
const std::vector<std::string>& FieldNames(const TAsteroidElements&) { return kAsteroidFieldNames; }
const std::vector<std::string>& FieldNames(const TCometElements&) { return kCometFieldNames; }

// The fields a save question names, with the number of objects of each
// ("q auf 6 Dezimalen gerundet: 12 Objekte", "epoch fehlt im Format: 1 Objekt").
std::map<std::string, int> NamedLosses(const std::string& question) {
  std::map<std::string, int> named;
  std::istringstream lines(question);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t colon = line.rfind(": ");
    const std::size_t blank = line.find(' ');
    if (colon == std::string::npos || blank == std::string::npos || line.find("Objekt") == std::string::npos) continue;
    named[line.substr(0, blank)] = std::stoi(line.substr(colon + 2));
  }
  return named;
}

// Runs `save` with every question answered `answer`; the messages shown.
std::vector<RecordedMessage> Answering(MessageResult answer, const std::function<bool()>& save, bool& saved) {
  RecordingMessageSink answers;
  ScopedMessageSink scoped(answers);
  for (int k = 0; k < 4; ++k) answers.QueueReply(answer);
  saved = save();
  return answers.messages;
}

// Saves `list` twice through `write`: answering No to the question (when
// one comes: nothing may be written), then Yes. The saved file, opened
// again, holds every object; the values come back within `tolerance`, and
// exactly except in the fields the question named, which lose values of
// exactly the objects it counted. Without a question every value comes back
// exactly.
template <typename List>
void SaveBothWays(List& list, const std::string& path, const std::function<bool(List&, const std::string&)>& write,
                  const Tolerances& tolerance) {
  bool written = false;
  const std::vector<RecordedMessage> asked =
      Answering(MessageResult::No, [&] { return write(list, path); }, written);
  std::map<std::string, int> named;
  if (!asked.empty()) {
    ASSERT_EQ(asked.size(), 1u) << path << ": " << asked.back().text;
    ASSERT_EQ(asked[0].buttons, MessageButtons::YesNo) << path << ": " << asked[0].text;
    EXPECT_FALSE(written) << path;
    EXPECT_FALSE(std::filesystem::exists(path)) << path << ": No writes nothing";
    named = NamedLosses(asked[0].text);
    EXPECT_FALSE(named.empty()) << asked[0].text;
    ASSERT_EQ(Answering(MessageResult::Yes, [&] { return write(list, path); }, written).size(), 1u) << path;
  }
  ASSERT_TRUE(written) << path;
  List back;
  std::uint8_t kind = 0;
  ASSERT_TRUE(back.Neuedateiladen(kind, path, false, 0)) << path;
  ASSERT_EQ(back.Count(), list.Count()) << path;
  std::map<std::string, int> lost;
  for (int k = 0; k < list.Count(); ++k) {
    const auto& wanted = list.Data(k);
    const auto* got = Find(back, wanted.Name);
    ASSERT_NE(got, nullptr) << path << " " << wanted.Name;
    const std::vector<double> w = Values(wanted), g = Values(*got);
    for (std::size_t f = 0; f < w.size(); ++f) {
      const double difference = std::fabs(g[f] - w[f]);
      if (difference > 4 * DBL_EPSILON * std::fabs(w[f])) ++lost[FieldNames(wanted)[f]];
      if (tolerance[f] >= 0) {
        EXPECT_LE(difference, tolerance[f] + 1e-12 * std::fabs(w[f])) << path << " " << wanted.Name << " field " << f;
      }
    }
  }
  EXPECT_EQ(lost, named) << path;
  std::filesystem::remove(path);
}

TEST_F(SavedLists, RandomListsRoundTripInEveryFormat) {
  ElementDraw draw(20240611);
  using A = Planetoidentabelle;
  using K = Kometentabelle;
  // Names with letters beyond ASCII (each of them a Windows-1252 letter).
  const char* const names[] = {"12P/Pons–Brooks ", "C/2026 Z9 (Šmídová-Côte) ", "Björk ", "Ælfric "};
  A asteroids;
  K comets;
  for (int k = 0; k < 60; ++k) {
    TAsteroidElements a = draw.Asteroid(k);
    a.Name = names[k % 4] + std::to_string(k);
    asteroids.AddItem(a.Name, a);
    TCometElements c = draw.Comet(k);
    c.Name = names[(k + 1) % 4] + std::to_string(k);
    comets.AddItem(c.Name, c);
  }
  const Tolerances exactA(11, 0.0), exactK(10, 0.0);
  SaveBothWays<A>(
      asteroids, folder.File("a.csv"), [](A& l, const std::string& p) { return l.WriteOwnCsvFile(p); }, exactA);
  SaveBothWays<A>(
      asteroids, folder.File("a.opl"), [](A& l, const std::string& p) { return l.WriteOplFile(p); }, exactA);
  // HomePlanet: n is not held; the epoch goes through the MJD.
  SaveBothWays<A>(
      asteroids, folder.File("h.csv"), [](A& l, const std::string& p) { return l.WriteHomePlanetCsvFile(p); },
      {0, 0, 0, 0, 0, 0, -1, 0, 1e-9, 0, 0});
  SaveBothWays<A>(
      asteroids, folder.File("a.sky"), [](A& l, const std::string& p) { return l.WriteSkyMapFile(p); },
      {5e-7, 5e-7, 5e-4, 5e-4, 5e-4, 5e-4, -1, 0, 5e-4, 5e-3, 5e-3});
  SaveBothWays<K>(
      comets, folder.File("k.csv"), [](K& l, const std::string& p) { return l.WriteOwnCsvFile(p); }, exactK);
  SaveBothWays<K>(
      comets, folder.File("k.oko"), [](K& l, const std::string& p) { return l.WriteOkoFile(p); }, exactK);
  // HomePlanet comets hold neither H, G nor the epoch; T whole.
  SaveBothWays<K>(
      comets, folder.File("hk.csv"), [](K& l, const std::string& p) { return l.WriteHomePlanetCsvFile(p); },
      {0, 0, 0, 0, 0, 0, 3e-9, -1, -1, -1});
  SaveBothWays<K>(
      comets, folder.File("k.dat"), [](K& l, const std::string& p) { return l.WriteGuideFile(p); },
      {5e-8, 5e-8, 5e-8, 5e-8, 5e-8, 0.05, 5e-5, 0.05, 0.05, -1});
  SaveBothWays<K>(
      comets, folder.File("k.sky"), [](K& l, const std::string& p) { return l.WriteSkyMapFile(p); },
      {5e-7, 5e-7, 5e-4, 5e-4, 5e-4, 0, 5e-4, 0.05, 0.05, -1});
}

// Comets opened from a UTF-8 list (an en dash, Š, ô) and saved in every
// comet format: the own file stays UTF-8, the foreign ones and the listing
// are Windows-1252, and every name comes back. A format that loses values
// asks first (No writes nothing); H and G survive where the format has
// them, and HomePlanet keeps T whole. A list opened from a format saves
// back into it without a question.
TEST_F(SavedLists, UnicodeCometNamesInEveryFormat) {
  std::uint8_t kind = 0;
  Kometentabelle comets;
  ASSERT_TRUE(comets.Neuedateiladen(kind, Fixture("comets_own_utf8_names_save_in_every_format.csv"), true, 0));
  ASSERT_EQ(comets.Count(), 7);
  const TCometElements encke = *Find(comets, "2P/Encke");
  using K = Kometentabelle;
  struct Case {
    const char* File;
    std::function<bool(K&, const std::string&)> Write;
    const char* Question;  // a line the question holds; nullptr: no question
    bool Windows1252;
  };
  const Case cases[] = {
      {"own.csv", [](K& l, const std::string& p) { return l.WriteOwnCsvFile(p); }, nullptr, false},
      {"own.oko", [](K& l, const std::string& p) { return l.WriteOkoFile(p); }, nullptr, true},
      {"home.csv", [](K& l, const std::string& p) { return l.WriteHomePlanetCsvFile(p); },
       "H fehlt im Format: 7 Objekte", true},
      {"guide.dat", [](K& l, const std::string& p) { return l.WriteGuideFile(p); }, "epoch fehlt im Format: 7 Objekte",
       true},
      {"sky.sky", [](K& l, const std::string& p) { return l.WriteSkyMapFile(p); }, "T auf 3 Dezimalen eines Tages gerundet: 1 Objekt",
       true},
      {"vds.txt", [](K& l, const std::string& p) { return l.WriteTextListing(p); }, "epoch fehlt im Format: 7 Objekte",
       true},
  };
  for (const Case& c : cases) {
    const std::string path = folder.File(c.File);
    bool written = false;
    const std::vector<RecordedMessage> asked =
        Answering(MessageResult::No, [&] { return c.Write(comets, path); }, written);
    if (c.Question != nullptr) {
      ASSERT_EQ(asked.size(), 1u) << c.File;
      EXPECT_NE(asked[0].text.find(c.Question), std::string::npos) << asked[0].text;
      EXPECT_FALSE(written);
      EXPECT_FALSE(std::filesystem::exists(path)) << c.File;
      ASSERT_TRUE(c.Write(comets, path)) << c.File;
    } else {
      EXPECT_TRUE(asked.empty()) << c.File << ": " << asked.front().text;
      EXPECT_TRUE(written) << c.File;
    }
    const std::string bytes = TempFolder::Read(path);
    EXPECT_EQ(bytes.find("\x96") != std::string::npos, c.Windows1252) << c.File;
    EXPECT_EQ(bytes.find("Pons\u2013Brooks") != std::string::npos, !c.Windows1252) << c.File;
    if (std::string(c.File) == "vds.txt") continue;  // nothing reads the listing
    Kometentabelle back;
    ASSERT_TRUE(back.Neuedateiladen(kind, path, false, 0)) << c.File;
    for (int k = 0; k < comets.Count(); ++k) EXPECT_NE(Find(back, comets.Data(k).Name), nullptr) << c.File;
    const TCometElements* again = Find(back, "2P/Encke");
    ASSERT_NE(again, nullptr);
    if (std::string(c.File) == "home.csv") {
      EXPECT_EQ(again->PerihelionTime, encke.PerihelionTime);
    } else {
      EXPECT_EQ(again->H, encke.H) << c.File;
      EXPECT_EQ(again->G, encke.G) << c.File;
    }
    // What a format gave is saved back into it without a question.
    sink.messages.clear();
    EXPECT_TRUE(c.Write(back, path)) << c.File;
    EXPECT_TRUE(sink.messages.empty()) << c.File << ": " << Shown();
  }
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

  // The own lines give each value the text KeptNumberText gives it (their
  // writer takes a shorter way where it may): decimal values of every size
  // and with up to 14 decimals, any double, and 0 and -0.
  std::mt19937_64 random(20261210);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int n = 0; n < 20000; ++n) {
    TAsteroidElements r = a;
    for (const auto& [name, member] : kAsteroidRecordFields) {
      const double scale = std::pow(10.0, static_cast<double>(random() % 15));
      const double size = std::pow(10.0, static_cast<double>(random() % 24) - 10);
      const double decimal = std::round(unit(random) * size * scale) / scale;
      r.*member = n % 3 == 0 ? unit(random) * size : n % 97 == 1 ? -0.0 : decimal;
    }
    std::string expected = WritableName(r.Name, ';');
    for (const TFormatField& f : kOwnAsteroidLineFields) {
      expected += ";" + FloatToTextSep(KeptNumberText(r.*kAsteroidRecordFields[f.Member].second, f.Decimals));
    }
    ASSERT_EQ(OwnAsteroidLine(r, false), expected);
  }
}

}  // namespace
}  // namespace kvx::test
