// Occultations of stars by planets and asteroids: the candidate index
// against the plain scan, the shadow of a synthetic star, the driver's
// rules and the table.
#include "eclipses/planet_star_occultation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "core/name_tables.h"
#include "core/star_reduction.h"
#include "core/time_scales.h"
#include "eclipses/planet_star_output.h"
#include "engine/table_sink.h"
#include "platform/globals.h"
#include "support/recording_message_sink.h"
#include "support/recording_progress.h"
#include "theories/theory_types.h"

namespace kvx {
namespace {

TObserverRecord Record(double lonEast, double lat, double jd) {
  TObserverRecord r;
  r.Longitude = -lonEast;
  r.Latitude = lat;
  r.DeltaTSeconds = 69.0;
  r.AutoDeltaT = 0;
  r.RefractionOn = 0;
  r.Pressure = 1010;
  r.Temperature = 10;
  r.Mjd = jd - 2400000.5;
  UTToLocalTime(r);
  return r;
}

TSearchContext Context() {
  TSearchContext c;
  c.Selection.bytes[0] = kPlanetTheoryInternal;
  c.Sidereal = 1;
  return c;
}

std::shared_ptr<const TStarCatalogue> LargeCatalogueSample(int every) {
  std::int32_t selected = -1;
  const TStarCatalogueLoad load = LoadStarCatalogue(KVX_DATA_DIR, 2, selected);
  if (!load.Catalogue) return nullptr;
  std::vector<tsterndatensatz> sample;
  for (std::int32_t i = 1; i <= load.Catalogue->Count(); i += every) sample.push_back(load.Catalogue->Star(i));
  return std::make_shared<const TStarCatalogue>(2, "OCCINP95.DAT", sample);
}

class PlanetStarOccultations : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAstroNameTables();
    previous_ = SetProgressReporter(&progress_);
    sink_ = std::make_unique<ScopedMessageSink>(messages_);
  }
  void TearDown() override { SetProgressReporter(previous_); }
  RecordingProgress progress_;
  ProgressReporter* previous_ = nullptr;
  RecordingMessageSink messages_;
  std::unique_ptr<ScopedMessageSink> sink_;
};

std::set<std::string> Keys(const TOccultationResultList& list) {
  std::set<std::string> keys;
  for (const tergebnisdatensatz* e : list.Rows())
    keys.insert(TOccultationResultList::KeyText(e->Contact1Time) + " " + e->ObjectName + " " + e->Label);
  return keys;
}

TEST_F(PlanetStarOccultations, IndexKeepsTheListOfAYearForAllBodies) {
  const auto catalogue = LargeCatalogueSample(48);
  ASSERT_TRUE(catalogue);
  const TObserverRecord start = Record(13.4, 52.52, 2461041.5), end = Record(13.4, 52.52, 2461406.5);
  TPlanetStarOptions options;
  options.Bodies = {1, 1, 1, 1, 1, 1, 1, 1, 0};
  options.LimitingMagnitude = 10.0f;
  std::set<std::string> lists[2];
  for (int indexed = 0; indexed < 2; ++indexed) {
    options.UseIndex = indexed != 0;
    tsternbedeckungpl search(Context(), TTableConfigRecord{}, start, catalogue);
    ASSERT_EQ(RunPlanetStarOccultations(search, options, TAsteroidElements{}, false, end, start),
              TOccultationRunStatus::Done);
    lists[indexed] = Keys(search.ergebnisse);
  }
  EXPECT_EQ(lists[0], lists[1]);
  EXPECT_GT(lists[0].size(), 10u);
}

}  // namespace
}  // namespace kvx
