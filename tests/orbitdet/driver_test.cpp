// The orbit-determination run with a scripted chooser and residuals form on
// the reference observation file (mainbelt.obs, ten places over 30 days).
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "orbitdet/observation_files.h"
#include "orbitdet/orbit_driver.h"
#include "orbitdet/reference_set.h"
#include "orbitdet/state_elements.h"
#include "support/recording_message_sink.h"
#include "support/recording_progress.h"

namespace kvx {
namespace {

class ScriptedChooser : public ObservationChooser {
 public:
  bool Choose(std::vector<TChosenObservation>& chosen, const std::string& caption, const std::string& hint) override {
    captions.push_back(caption);
    hints.push_back(hint);
    shown.push_back(chosen.size());
    if (cancel_at >= 0 && static_cast<int>(captions.size()) > cancel_at) return false;
    if (captions.size() > 20) return false;  // a run that keeps failing
    std::vector<TChosenObservation> picked;
    for (std::size_t k : pick) picked.push_back(chosen[k]);
    if (!pick.empty()) chosen = picked;
    return true;
  }
  std::vector<std::size_t> pick;
  int cancel_at = -1;
  std::vector<std::string> captions, hints;
  std::vector<std::size_t> shown;
};

class ScriptedView : public ResidualsView {
 public:
  bool Fill(const TResidualsFill& fill, TOrbitElementRecord& elements) override {
    fills.push_back(fill);
    state_ = fill.State;
    epoch_ = fill.Epoch;
    reload_ = false;
    return OrbitElementsFromState(fill.State, fill.Epoch, 1.0, elements);
  }
  int ShowModal() override {
    ++shows;
    // The form waits for the user: no progress panel stands beside it.
    if (CurrentProgress().Visible()) ++shows_under_progress;
    if (reload_at == shows) {
      reload_ = true;
      return 1;
    }
    const std::size_t k = fills.size();
    if (k >= 2 && fills[k - 1].HasResiduals && fills[k - 2].HasResiduals) {
      double step = 0;
      for (std::size_t p = 0; p < 6; ++p) step = std::max(step, std::fabs(fills[k - 1].State[p] - fills[k - 2].State[p]));
      if (step < 1e-10) return 7;
    }
    return shows > max_continues ? 7 : 6;
  }
  TStateVector State() const override { return state_; }
  double Epoch() const override { return epoch_; }
  std::uint8_t Method() const override { return 2; }
  std::uint8_t Topocentric() const override { return 0; }
  double ChangeRate() const override { return 0.1; }
  bool ReloadRequested() const override { return reload_; }
  int reload_at = -1;
  int shows_under_progress = 0;
  int max_continues = 12;
  int shows = 0;
  std::vector<TResidualsFill> fills;

 private:
  TStateVector state_{};
  double epoch_ = 0;
  bool reload_ = false;
};

class OrbitRun : public ::testing::Test {
 protected:
  void SetUp() override {
    od_.Create("", TTheorySelection{}, &list_, kFullTheory, 10);
    ASSERT_TRUE(OpenObservationFileNamed(od_, std::string(KVX_FIXTURE_DIR) + "/mainbelt.obs"));
    run_.Chooser = &chooser_;
    run_.View = &view_;
    run_.FileName = "mainbelt.obs";
    run_.Options.Topocentric = 0;
    run_.Options.ShowObservations = 0;
    run_.EnableMainWindow = [this](bool on) { enabled_.push_back(on); };
  }
  // A first orbit of the truth with a chosen eccentricity.
  void InjectEccentricity(double e) {
    run_.FirstOrbit = [e, this](const std::vector<TChosenObservation>& chosen, TStateVector& s, double& epoch) {
      firstSizes_.push_back(chosen.size());
      const double v = std::sqrt((1 + e) / 2.0);  // perihelion at 2 AU
      s = {2, 0, 0, 0, v, 0};
      epoch = 2461000.5;
      return TOrbitStatus::Ok;
    };
  }
  TObservationList list_;
  torbdet od_;
  TOrbitRun run_;
  ScriptedChooser chooser_;
  ScriptedView view_;
  RecordingMessageSink sink_;
  ScopedMessageSink guard_{sink_};
  std::vector<bool> enabled_;
  std::vector<std::size_t> firstSizes_;
};

// The list of observations (chooser and residuals form) shows each place in
// J2000; at a pole, where the direction has no right ascension, the one
// written down (it showed one made of rounding noise), at either pole.
TEST_F(OrbitRun, ThePolesKeepTheWrittenRightAscension) {
  TObservationList& list = od_.Observations();
  ASSERT_GE(list.size(), 3u);
  const std::vector<TChosenObservation> before = ChosenRecords(od_);
  list[0].Obs.RA = 112.5;
  list[0].Obs.Dec = 90;
  list[1].Obs.RA = 300;
  list[1].Obs.Dec = -90;
  const std::vector<TChosenObservation> chosen = ChosenRecords(od_);
  ASSERT_EQ(chosen.size(), list.size());
  EXPECT_DOUBLE_EQ(chosen[0].RA, 7.5);
  EXPECT_DOUBLE_EQ(chosen[0].Dec, 90);
  EXPECT_DOUBLE_EQ(chosen[1].RA, 20);
  EXPECT_DOUBLE_EQ(chosen[1].Dec, -90);
  EXPECT_EQ(chosen[2].RA, before[2].RA);
  // The pole of 1950 lies off the pole of J2000, at its own right ascension
  // (12 h plus the precession angle z, 0.32 degrees).
  od_.ObservationsEquinox = -0.5;
  const std::vector<TChosenObservation> b1950 = ChosenRecords(od_);
  EXPECT_NEAR(b1950[0].Dec, 90 - 0.2784, 0.001);
  EXPECT_NEAR(b1950[0].RA, 12 + 0.3203 / 15, 0.001);
}

TEST_F(OrbitRun, LaplaceThenImprovementRecoversTheReferenceOrbit) {
  const test::ReferenceOrbit ref = test::ReadReferenceOrbits().at("mainbelt");
  chooser_.pick = {0, 2, 4, 6, 9};
  RecordingProgress progress;
  ProgressReporter* previous = SetProgressReporter(&progress);
  workbook::TWorkbook sheet;
  run_.Sheet = &sheet;
  const bool ok = RunOrbitDetermination(od_, run_);
  SetProgressReporter(previous);
  ASSERT_TRUE(ok);
  ASSERT_EQ(chooser_.captions.size(), 1u);
  EXPECT_EQ(chooser_.captions[0], "Beobachtungen für erste Näherung auswählen. mainbelt.obs");
  EXPECT_EQ(chooser_.shown[0], 10u);
  EXPECT_GE(view_.fills.size(), 3u);
  // The internal solar series differs from the reference Earth by about
  // 2"; the fit of five places over 30 days lands within 1e-4 AU.
  TStateVector truth{};
  int steps = 0;
  ASSERT_EQ(PropagateUniversal(ref.State, (od_.Epoch - ref.Epoch) * kGaussK, truth, steps), TOrbitStatus::Ok);
  for (std::size_t p = 0; p < 3; ++p) EXPECT_NEAR(od_.StateVector[p], truth[p], 1e-4);
  EXPECT_LT(view_.fills.back().Rms * 3600, 3.0);
  EXPECT_NEAR(od_.Elements.E, 0.1, 1e-4);
  // The window is given back, the progress ended, nothing written.
  ASSERT_FALSE(enabled_.empty());
  EXPECT_TRUE(enabled_.back());
  // The panel speaks the program's language, stands only while the passes
  // compute and is gone when the run ends.
  EXPECT_EQ(progress.captions.front(), "Bahnverbesserung");
  EXPECT_EQ(progress.captions.size(), static_cast<std::size_t>(progress.ends));
  EXPECT_GE(progress.captions.size(), 2u);
  EXPECT_EQ(view_.shows_under_progress, 0);
  ASSERT_FALSE(progress.labels.empty());
  EXPECT_EQ(progress.labels.front().rfind("Beobachtung #", 0), 0u) << progress.labels.front();
  EXPECT_FALSE(progress.visible);
  EXPECT_EQ(od_.OutputRow, 0);
  EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(OrbitRun, ChoiceEccentricityLimitsAndRestarts) {
  // e up to 20 passes, e = 20.5 fails and the choice comes back with the hint.
  InjectEccentricity(20.5);
  chooser_.cancel_at = 1;
  EXPECT_FALSE(RunOrbitDetermination(od_, run_));
  ASSERT_EQ(chooser_.hints.size(), 2u);
  EXPECT_EQ(chooser_.hints[1], " Die Berechnung schlug fehl. Bitte eine andere Auswahl treffen.");
  EXPECT_EQ(view_.shows, 0);

  ScriptedChooser c2;
  run_.Chooser = &c2;
  InjectEccentricity(20.0 - 1e-9);
  ASSERT_TRUE(run_.FirstOrbit);
  view_.max_continues = 0;
  EXPECT_TRUE(RunOrbitDetermination(od_, run_));
  EXPECT_EQ(view_.shows, 1);
  EXPECT_EQ(c2.captions.size(), 1u);

  // Three observations: no chooser; a failure ends the run with one message.
  list_.resize(3);
  ScriptedChooser c3;
  run_.Chooser = &c3;
  InjectEccentricity(25);
  EXPECT_FALSE(RunOrbitDetermination(od_, run_));
  EXPECT_TRUE(c3.captions.empty());
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].text, "Aus diesen drei Beobachtungen ließ sich keine Bahn bestimmen.");
  EXPECT_EQ(firstSizes_.back(), 3u);
}

TEST_F(OrbitRun, ReloadChoosesAgainAndCancelKeepsTheLastCorrection) {
  chooser_.pick = {0, 3, 6, 9};
  view_.reload_at = 2;  // after one correction
  view_.max_continues = 3;
  EXPECT_TRUE(RunOrbitDetermination(od_, run_));
  ASSERT_GE(chooser_.captions.size(), 2u);
  EXPECT_EQ(chooser_.captions[1], "Beobachtungen für Bahnverbesserung wählen. mainbelt.obs");
  // The chosen J2000 places are the same on every pass.
  EXPECT_EQ(view_.fills.front().RA, std::vector<double>(view_.fills[2].RA));

  // Cancel during the partials of the first correction.
  class CancelAt : public RecordingProgress {
   public:
    void SetLabel(const std::string& label) override {
      if (label == "Beobachtung #2/4") AbortRequested = 1;
    }
  } progress;
  ProgressReporter* previous = SetProgressReporter(&progress);
  ScriptedView v2;
  run_.View = &v2;
  enabled_.clear();
  const bool ok = RunOrbitDetermination(od_, run_);
  SetProgressReporter(previous);
  AbortRequested = 0;
  EXPECT_FALSE(ok);
  EXPECT_EQ(od_.StateVector, v2.fills.front().State);
  EXPECT_FALSE(progress.visible);
  ASSERT_FALSE(enabled_.empty());
  EXPECT_TRUE(enabled_.back());

  // An exception inside the correction: the window comes back, the
  // progress ends and no cancel is left over for the next command.
  class Throwing : public ScriptedView {
   public:
    bool Fill(const TResidualsFill& fill, TOrbitElementRecord& elements) override {
      if (fills.size() == 1) {
        AbortRequested = 1;
        throw std::runtime_error("view failed");
      }
      return ScriptedView::Fill(fill, elements);
    }
  } v3;
  run_.View = &v3;
  enabled_.clear();
  RecordingProgress p3;
  previous = SetProgressReporter(&p3);
  EXPECT_THROW(RunOrbitDetermination(od_, run_), std::runtime_error);
  SetProgressReporter(previous);
  EXPECT_EQ(p3.captions, std::vector<std::string>{"Bahnverbesserung"});
  EXPECT_FALSE(p3.visible);
  EXPECT_EQ(enabled_, (std::vector<bool>{false, true}));
  EXPECT_EQ(AbortRequested, 0);
}

}  // namespace
}  // namespace kvx
