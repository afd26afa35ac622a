// The run over many objects on Ceres, Pallas, Juno, Vesta (elements from
// Swiss Ephemeris) and a distant object, 2025, internal series, Delta T
// fixed at 69.2 s (fixtures/multi_object_events.tsv, made by
// make_multi_object_events.sh): each object's events equal the
// single-object period run; oppositions against PyEphem's two-body roots
// and Vesta's perihelion against mean anomaly 0; ranges clamped, one object
// with the bar at 0 %, an empty range; a cancel between objects ends the
// run; the event limit; refused elements and unreadable database files.
#include "events/multi_object_event_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/asteroid_database.h"
#include "core/name_tables.h"
#include "core/time_scales.h"
#include "engine/sun_planet_support.h"
#include "events/event_search.h"
#include "platform/globals.h"
#include "support/recording_message_sink.h"
#include "support/recording_progress.h"
#include "support/temp_folder.h"
#include "support/theory_selection.h"

namespace kvx {
namespace {

constexpr double kDeltaT = 69.2;
constexpr double kStartMjd = 60676;  // 2025 Jan 1 0h UT
constexpr double kEndMjd = 61041;    // 2026 Jan 1 0h UT

struct TReference {
  std::vector<TAsteroidElements> Objects;
  // name -> kind -> JD (TT)
  std::map<std::string, std::map<int, std::vector<double>>> Events;
};

TReference ReadReference() {
  TReference r;
  std::ifstream in(KVX_SOURCE_TESTS "/events/fixtures/multi_object_events.tsv");
  EXPECT_TRUE(in.good());
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string tag, name;
    fields >> tag >> name;
    if (tag == "E") {
      TAsteroidElements e;
      e.Name = name;
      fields >> e.SemiMajorAxis >> e.Eccentricity >> e.Inclination >> e.Node >> e.Perihelion >> e.MeanAnomaly >>
          e.MeanMotion >> e.Epoch;
      e.Equinox = 2000;
      e.H = 5;
      e.G = 0.15;
      r.Objects.push_back(e);
    } else if (tag == "V") {
      int kind = 0;
      double jd = 0;
      fields >> kind >> jd;
      r.Events[name][kind].push_back(jd);
    }
  }
  return r;
}

double JdTT(const tEvent& e) { return e.Mjd() + 2400000.5 + kDeltaT / 86400; }

class MultiObjectEventRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAstroNameTables();
    AbortRequested = 0;
    context_.Selection = test::PlanetAndMoonTheory(0, 0);
    context_.FastSearch = 1;
    reference_ = ReadReference();
    ASSERT_EQ(reference_.Objects.size(), 5u);
  }
  void TearDown() override {
    AbortRequested = 0;
    SetProgressReporter(previous_);
  }
  static TObserverRecord At(double mjdUT) {
    return test::ObserverAtPlace(MjdToJd(mjdUT), kDeltaT, test::Place{50, 10, 0}, test::PlanetAndMoonTheory(0, 0));
  }
  TMultiObjectEventRun MakeRun(TEventList& list, int kind) {
    TMultiObjectEventRun run(context_, list);
    run.Options.ObjectCode = search_kind::kAsteroid;
    run.Options.EventKind = static_cast<std::uint8_t>(kind);
    run.Period = At(kStartMjd);
    run.End = At(kEndMjd);
    run.Source.AsteroidCount = static_cast<std::int32_t>(reference_.Objects.size());
    run.Source.AsteroidAt = [this](std::int32_t i) { return reference_.Objects.at(static_cast<std::size_t>(i)); };
    return run;
  }
  TSearchContext context_;
  TReference reference_;
  RecordingMessageSink messages_;
  ScopedMessageSink guard_{messages_};
  RecordingProgress progress_;
  ProgressReporter* previous_ = SetProgressReporter(&progress_);
};

// Oppositions and perihelia of all five: per object exactly the events of
// the single-object period run with the same elements; the oppositions
// (TT) within 0.01 d of PyEphem (measured 0.0054 d), Vesta's perihelion
// within 0.001 d of mean anomaly 0 (measured 1e-6 d); the distant object
// has no perihelion, and nothing lies outside the period.
TEST_F(MultiObjectEventRunTest, EachObjectAsTheSingleRunAndAgainstReferences) {
  for (int kind : {6, 0}) {
    TEventList list;
    TMultiObjectEventRun run = MakeRun(list, kind);
    ASSERT_EQ(run.Run(true, "5", "300"), TMultiObjectRunEnd::Finished) << kind;
    EXPECT_EQ(run.ObjectsSearched, 5);
    EXPECT_TRUE(messages_.messages.empty());
    EXPECT_EQ(run.ListLines.size(), static_cast<std::size_t>(list.Count()));
    std::map<std::string, std::vector<double>> found;
    for (const tEvent* e : list.ByInstant()) {
      EXPECT_GE(e->Mjd(), kStartMjd);
      EXPECT_LE(e->Mjd(), kEndMjd);
      found[e->ObjectName()].push_back(JdTT(*e));
    }
    for (const TAsteroidElements& object : reference_.Objects) {
      TEventList single;
      TEventSearchRun one(context_, single);
      one.Options = run.Options;
      one.UsePeriod = one.ResultsIntoTable = true;
      one.Period = run.Period;
      one.End = run.End;
      one.Asteroid = object;
      one.AsteroidName = object.Name;
      one.Run("5", "300");
      std::vector<double> expected;
      for (const tEvent* e : single.ByInstant()) expected.push_back(JdTT(*e));
      EXPECT_EQ(found[object.Name], expected) << object.Name << " kind " << kind;
      const std::vector<double>& ref = reference_.Events[object.Name][kind];
      ASSERT_EQ(found[object.Name].size(), ref.size()) << object.Name << " kind " << kind;
      for (std::size_t k = 0; k < ref.size(); ++k) {
        EXPECT_NEAR(found[object.Name][k], ref[k], kind == 6 ? 0.01 : 0.001) << object.Name << " kind " << kind;
      }
    }
    EXPECT_TRUE(found["Distant"].empty() || kind == 6);
    messages_.messages.clear();
  }
}

// Ranges are clamped to the list: first = last searches one object with
// the bar at 0 %; a stale range past the end reads up to the last entry;
// a range with last below first searches nothing and says so; no object
// kind gives its message.
TEST_F(MultiObjectEventRunTest, RangesProgressAndEmptyRuns) {
  TEventList list;
  TMultiObjectEventRun run = MakeRun(list, 6);
  run.Ranges.AsteroidFile = {3, 3};
  EXPECT_EQ(run.Run(true, "5", "300"), TMultiObjectRunEnd::Finished);
  EXPECT_EQ(run.ObjectsSearched, 1);
  EXPECT_EQ(progress_.positions, std::vector<int>{0});
  EXPECT_EQ(progress_.labels, std::vector<std::string>{"3"});
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.At(0).ObjectName(), "Vesta");

  progress_.positions.clear();
  run.Ranges.AsteroidFile = {3, 40};
  EXPECT_EQ(run.Run(true, "5", "300"), TMultiObjectRunEnd::Finished);
  EXPECT_EQ(run.ObjectsSearched, 2);
  EXPECT_EQ(progress_.positions, (std::vector<int>{0, 100}));
  EXPECT_TRUE(messages_.messages.empty());

  list.Clear();
  run.Ranges.AsteroidFile = {3, 1};
  EXPECT_EQ(run.Run(true, "5", "300"), TMultiObjectRunEnd::Finished);
  EXPECT_EQ(run.ObjectsSearched, 0);
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].text, "Kein Ereignis während des Ephemeridenzeitraums gefunden.");

  run.Options.ObjectCode = 3;
  EXPECT_EQ(run.Run(false, "5", "300"), TMultiObjectRunEnd::BadInput);
  ASSERT_EQ(messages_.messages.size(), 2u);
  EXPECT_EQ(messages_.messages[1].text, "Bitte ein Objekt auswählen");
}

// A cancel ends the whole run (the engine clears the flag when a pass
// starts, so it is taken between objects): cancelled at object 2 of 5 the
// events of object 1 stay and nothing else is searched. A small limit
// stops the run with the row-limit message and the list at the limit.
TEST_F(MultiObjectEventRunTest, CancelAndEventLimitEndTheRun) {
  TEventList list;
  TMultiObjectEventRun run = MakeRun(list, 6);
  progress_.abort_at_step = 25;
  EXPECT_EQ(run.Run(true, "5", "300"), TMultiObjectRunEnd::Cancelled);
  EXPECT_EQ(run.ObjectsSearched, 1);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.At(0).ObjectName(), "Ceres");
  EXPECT_TRUE(messages_.messages.empty());
  EXPECT_EQ(AbortRequested, 0);

  progress_.abort_at_step = -1;
  list.Clear();
  run.EventLimit = 3;
  EXPECT_EQ(run.Run(true, "5", "300"), TMultiObjectRunEnd::LimitReached);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(run.ObjectsSearched, 3);
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].text, "Maximale Zeilenzahl für Ephemeridentabelle erreicht.");
}

// Elements the engine refuses are skipped and reported once at the end;
// database files: each searched through the engine's own reading (within
// 0.001 d of the element run, measured 3e-5 d: the records hold floats),
// two unreadable files skipped with one message.
TEST_F(MultiObjectEventRunTest, RefusedElementsAndDatabaseFiles) {
  reference_.Objects[1].Eccentricity = 1.5;
  reference_.Objects[2].SemiMajorAxis = -1;
  TEventList list;
  TMultiObjectEventRun run = MakeRun(list, 6);
  EXPECT_EQ(run.Run(true, "5", "300"), TMultiObjectRunEnd::Finished);
  EXPECT_EQ(run.ObjectsSearched, 3);
  EXPECT_EQ(run.RefusedObjects, 2);
  EXPECT_EQ(list.Count(), 3);
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].text, "2 Objekt(e) mit ungültigen Bahnelementen übersprungen.");
  std::map<std::string, double> byElements;
  for (const tEvent* e : list.ByInstant()) byElements[e->ObjectName()] = e->Mjd();

  test::TempFolder folder;
  std::vector<std::string> files;
  for (std::size_t k : {std::size_t{0}, std::size_t{3}}) {
    const TAsteroidElements& e = reference_.Objects[k];
    TEelHeader header;
    header.First = 2460600.5;
    header.Step = 100;
    header.Last = header.First + 5 * header.Step;
    header.Equinox = 2000;
    header.H100 = 500;
    header.G100 = 15;
    header.Name = e.Name;
    std::vector<TEelRecord> records;
    for (int r = 0; r <= 5; ++r) {
      const double epoch = header.First + r * header.Step;
      const double m = std::fmod(e.MeanAnomaly + e.MeanMotion * (epoch - e.Epoch), 360.0);
      records.push_back({static_cast<float>(e.SemiMajorAxis), static_cast<float>(e.Eccentricity),
                         static_cast<float>(e.Inclination), static_cast<float>(e.MeanMotion),
                         static_cast<float>(e.Node), static_cast<float>(e.Perihelion), static_cast<float>(m),
                         static_cast<std::int32_t>(epoch * 10)});
    }
    files.push_back(folder.File(e.Name + ".eel"));
    ASSERT_TRUE(WriteEelFile(files.back(), header, records));
  }
  files.insert(files.begin() + 1, folder.Write("broken.eel", "short"));
  files.push_back(folder.File("missing.eel"));
  messages_.messages.clear();
  list.Clear();
  run.AsteroidDatabase = true;
  run.Source.DatabaseFiles = files;
  EXPECT_EQ(run.Run(true, "5", "300"), TMultiObjectRunEnd::Finished);
  EXPECT_EQ(run.ObjectsSearched, 2);
  EXPECT_EQ(run.UnreadableObjects, 2);
  EXPECT_EQ(messages_.messages.size(), 1u);
  ASSERT_EQ(list.Count(), 2);
  for (const tEvent* e : list.ByInstant()) {
    ASSERT_TRUE(byElements.count(e->ObjectName())) << e->ObjectName();
    EXPECT_NEAR(e->Mjd(), byElements[e->ObjectName()], 0.001) << e->ObjectName();
  }
}

}  // namespace
}  // namespace kvx
