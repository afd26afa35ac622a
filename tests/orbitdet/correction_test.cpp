// The differential correction against the reference observations of
// make_observation_fixtures.py (truth orbits, places from an independent
// two-body solver with the ERFA Earth).
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "orbitdet/differential_correction.h"
#include "orbitdet/reference_set.h"
#include "orbitdet/state_elements.h"
#include "support/recording_message_sink.h"
#include "support/recording_progress.h"

namespace kvx {
namespace {

constexpr double kArcsec = 1.0 / 3600.0;

const std::map<std::string, test::ReferenceOrbit>& Reference() {
  static const auto orbits = test::ReadReferenceOrbits();
  return orbits;
}

// A residuals form that presses "continue" until the vector stops moving
// (or `continues` runs out), then answers `last`; it may edit the vector on
// the first continue.
class ScriptedView : public ResidualsView {
 public:
  bool Fill(const TResidualsFill& fill, TOrbitElementRecord& elements) override {
    fills.push_back(fill);
    state_ = fill.State;
    epoch_ = fill.Epoch;
    method_ = fill.Method;
    topo_ = fill.Topocentric;
    rate_ = fill.ChangeRate;
    return OrbitElementsFromState(fill.State, fill.Epoch, 1.0, elements);
  }
  int ShowModal() override {
    const std::size_t k = fills.size();
    if (k >= 2) {
      double step = 0;
      for (std::size_t p = 0; p < 6; ++p) step = std::max(step, std::fabs(fills[k - 1].State[p] - fills[k - 2].State[p]));
      if (step < 1e-10 && stop_when_converged) return last;
    }
    if (continues-- <= 0) return last;
    if (edit) {
      state_ = *edit;
      edit.reset();
    }
    return 6;
  }
  TStateVector State() const override { return state_; }
  double Epoch() const override { return epoch_; }
  std::uint8_t Method() const override { return method_; }
  std::uint8_t Topocentric() const override { return topo_; }
  double ChangeRate() const override { return rate_; }
  bool ReloadRequested() const override { return false; }

  int continues = 12;
  int last = 7;
  bool stop_when_converged = true;
  std::optional<TStateVector> edit;
  std::vector<TResidualsFill> fills;

 private:
  TStateVector state_{};
  double epoch_ = 0;
  std::uint8_t method_ = 2, topo_ = 0;
  double rate_ = 0.1;
};

struct CorrectionRun {
  std::vector<TChosenObservation> chosen;
  std::vector<TObserverPlace> observers;
  TStateVector state{};
  double epoch = 0;
  TCorrectionOutcome Correct(ScriptedView& view) {
    TCorrectionInput in;
    in.Chosen = chosen;
    in.Observers = observers;
    in.State = &state;
    in.Epoch = &epoch;
    in.Method = 2;
    in.Topocentric = 0;
    in.View = &view;
    return DifferentialCorrection(in);
  }
};

// Observations of a reference set, optionally turned about the pole by
// `turn` degrees (object and Sun alike, so the places move by turn/15 h).
CorrectionRun MakeRun(const test::ReferenceOrbit& ref, const std::string& set, double turn = 0) {
  const double c = std::cos(turn * std::numbers::pi / 180), s = std::sin(turn * std::numbers::pi / 180);
  CorrectionRun run;
  for (const test::ReferencePlace& p : ref.Set(set)) {
    run.chosen.push_back({p.Ut, 0, 0, std::fmod(p.Ra + turn / 15 + 24, 24.0), p.Dec, p.Tt});
    run.observers.push_back({p.Ut, c * p.Sun[0] - s * p.Sun[1], s * p.Sun[0] + c * p.Sun[1], p.Sun[2]});
  }
  run.epoch = ref.Epoch;
  const TStateVector& t = ref.State;
  run.state = {c * t[0] - s * t[1], s * t[0] + c * t[1], t[2], c * t[3] - s * t[4], s * t[3] + c * t[4], t[5]};
  return run;
}

void Perturb(TStateVector& state, double relative) {
  const std::array<double, 6> pattern{1, -0.7, 0.4, -1, 0.6, 0.9};
  for (std::size_t p = 0; p < 6; ++p) state[p] += relative * pattern[p] * (std::fabs(state[p]) + 0.05);
}

TEST(DifferentialCorrection, RecoversEveryReferenceOrbitFromAPerturbedStart) {
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  for (const auto& [name, ref] : Reference()) {
    if (ref.Observations.empty()) continue;
    for (const char* set : {"arc10", "arc5"}) {
      SCOPED_TRACE(name + " " + set);
      CorrectionRun run = MakeRun(ref, set);
      Perturb(run.state, 1e-4);
      ScriptedView view;
      const TCorrectionOutcome out = run.Correct(view);
      EXPECT_EQ(out.Result, TCorrectionResult::Finished);
      EXPECT_TRUE(out.Success);
      // Converged (|dx| < 1e-10) within eight cycles.
      EXPECT_LE(out.Cycles, 8);
      EXPECT_LT(out.LastStep, 1e-10);
      for (std::size_t p = 0; p < 3; ++p) EXPECT_NEAR(run.state[p], ref.State[p], 1e-7);
      for (std::size_t p = 3; p < 6; ++p) EXPECT_NEAR(run.state[p], ref.State[p], 1e-6);
      // Places of the independent solver to well under a milliarcsecond.
      EXPECT_LT(out.Rms, 1e-3 * kArcsec);
      TOrbitElementRecord got, truth;
      ASSERT_TRUE(OrbitElementsFromState(run.state, run.epoch, 1.0, got));
      ASSERT_TRUE(OrbitElementsFromState(ref.State, ref.Epoch, 1.0, truth));
      EXPECT_NEAR(got.E, truth.E, 1e-6);
      EXPECT_NEAR(got.I, truth.I, 1e-4);
      if (truth.I > 1e-3) {
        EXPECT_NEAR(std::remainder(got.Node - truth.Node, 360.0), 0, 1e-4);
      }
    }
  }
  EXPECT_TRUE(sink.messages.empty());
}

TEST(DifferentialCorrection, ThreeObservationsAndASeriesAcrossZeroHoursConverge) {
  const test::ReferenceOrbit& ref = Reference().at("mainbelt");
  // Turn the sky so the series runs through RA 0 h.
  CorrectionRun probe = MakeRun(ref, "arc10");
  const double turn = -15 * probe.chosen[4].RA;
  CorrectionRun run = MakeRun(ref, "arc10", turn);
  bool before = false, after = false;
  for (const auto& c : run.chosen) {
    before |= c.RA > 23;
    after |= c.RA < 1;
  }
  ASSERT_TRUE(before && after);
  const TStateVector truth = run.state;
  Perturb(run.state, 1e-4);
  ScriptedView view;
  const TCorrectionOutcome out = run.Correct(view);
  EXPECT_LT(out.LastStep, 1e-10);
  for (std::size_t p = 0; p < 3; ++p) EXPECT_NEAR(run.state[p], truth[p], 1e-7);
  // The first residuals are small numbers, never close to 24 h.
  for (double d : view.fills.front().DRA) EXPECT_LT(std::fabs(d), 0.01);
  EXPECT_NEAR(ReduceHours(23.99 - 0.01), -0.02, 1e-12);
  EXPECT_DOUBLE_EQ(ReduceHours(-12.0), 12.0);

  // Three observations: six equations in six unknowns, RMS near 0.
  CorrectionRun three = MakeRun(Reference().at("neo"), "arc3");
  Perturb(three.state, 1e-5);
  ScriptedView view3;
  const TCorrectionOutcome out3 = three.Correct(view3);
  EXPECT_EQ(out3.Result, TCorrectionResult::Finished);
  EXPECT_LT(out3.Rms, 1e-4 * kArcsec);
}

TEST(DifferentialCorrection, StepsNeverVanishAndTheNormalEquationsPickTheLargestPivot) {
  const TStateVector s{1.5, 0, -0.2, 0, 0.9, 0};
  for (int j = 0; j < 6; ++j) EXPECT_GT(PartialStep(s, j, 0.1), 0) << j;
  EXPECT_DOUBLE_EQ(PartialStep(s, 1, 0.1), 1e-6 * std::hypot(1.5, 0.2));
  EXPECT_DOUBLE_EQ(PartialStep(s, 0, 0.1), 1.5e-3);

  // A system whose first column has a tiny leading entry: the first-smaller
  // scan would divide by it; the solution is known.
  const std::array<double, 6> x{1, -2, 3, 0.5, -1, 2};
  std::vector<std::array<double, 7>> rows;
  for (int r = 0; r < 9; ++r) {
    std::array<double, 7> row{};
    for (int q = 0; q < 6; ++q) row[static_cast<std::size_t>(q)] = std::sin(1.3 * r + 0.7 * q * q + 0.1) + (r == q ? 2 : 0);
    if (r == 0) row[0] = 1e-12;
    for (std::size_t q = 0; q < 6; ++q) row[6] += row[q] * x[q];
    rows.push_back(row);
  }
  std::array<double, 6> dx{};
  std::vector<double> remaining;
  ASSERT_EQ(SolveNormalEquations(rows, dx, &remaining), TOrbitStatus::Ok);
  for (std::size_t q = 0; q < 6; ++q) EXPECT_NEAR(dx[q], x[q], 1e-9);
  for (double r : remaining) EXPECT_NEAR(r, 0, 1e-9);
  // Two equal columns: singular.
  for (auto& row : rows) row[5] = row[4];
  EXPECT_EQ(SolveNormalEquations(rows, dx), TOrbitStatus::Singular);
}

TEST(DifferentialCorrection, DegenerateDataCancelAndTheUsersDecisions) {
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  const test::ReferenceOrbit& ref = Reference().at("mainbelt");

  // Observations at one instant: the singular stop, vector as shown, no NaN.
  CorrectionRun one = MakeRun(ref, "arc5");
  for (auto& c : one.chosen) c = one.chosen[0];
  for (auto& o : one.observers) o = one.observers[0];
  Perturb(one.state, 1e-4);
  const TStateVector shown = one.state;
  ScriptedView view;
  EXPECT_EQ(one.Correct(view).Result, TCorrectionResult::Failed);
  EXPECT_EQ(one.state, shown);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].text.find("singul"), std::string::npos);

  // Cancel during the partials of the second cycle: the caller holds the
  // vector of the first correction; labels carry the component.
  class CancelAt : public RecordingProgress {
   public:
    void SetLabel(const std::string& label) override {
      RecordingProgress::SetLabel(label);
      if (label == "Beobachtung #4/3" && ++seen == 2) AbortRequested = 1;
    }
    int seen = 0;
  } progress;
  ProgressReporter* previous = SetProgressReporter(&progress);
  CorrectionRun run = MakeRun(ref, "arc10");
  Perturb(run.state, 1e-4);
  ScriptedView v2;
  v2.stop_when_converged = false;
  const TCorrectionOutcome cancelled = run.Correct(v2);
  SetProgressReporter(previous);
  AbortRequested = 0;
  EXPECT_EQ(cancelled.Result, TCorrectionResult::Cancelled);
  EXPECT_EQ(cancelled.Cycles, 1);
  ASSERT_EQ(v2.fills.size(), 2u);
  EXPECT_EQ(run.state, v2.fills[1].State);

  // "Previous result" after two corrections gives back the vector shown
  // before the last one.
  CorrectionRun back = MakeRun(ref, "arc10");
  Perturb(back.state, 1e-3);
  ScriptedView v3;
  v3.continues = 2;
  v3.last = 5;
  v3.stop_when_converged = false;
  back.Correct(v3);
  ASSERT_EQ(v3.fills.size(), 3u);
  EXPECT_EQ(back.state, v3.fills[1].State);

  // An edited vector is taken over before the partials.
  CorrectionRun edited = MakeRun(ref, "arc10");
  TStateVector start = edited.state;
  Perturb(start, 1e-3);
  ScriptedView v4;
  v4.edit = start;
  edited.Correct(v4);
  EXPECT_LT(v4.fills.back().Rms, 1e-3 * kArcsec);

  // Eccentricity above 40000: stop before the form is shown, success false.
  CorrectionRun wild = MakeRun(ref, "arc5");
  wild.state = {1, 0, 0, 0, 300, 0};
  ScriptedView v5;
  const TCorrectionOutcome w = wild.Correct(v5);
  EXPECT_FALSE(w.Success);
  EXPECT_EQ(w.Result, TCorrectionResult::Finished);
  EXPECT_EQ(v5.continues, 12);

  // More than 1000 observations are refused.
  CorrectionRun many = MakeRun(ref, "arc10");
  many.chosen.resize(1001, many.chosen[0]);
  many.observers.resize(1001, many.observers[0]);
  sink.messages.clear();
  ScriptedView v6;
  EXPECT_EQ(many.Correct(v6).Result, TCorrectionResult::TooMany);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_TRUE(v6.fills.empty());
}

}  // namespace
}  // namespace kvx
