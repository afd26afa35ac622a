// State vectors given by hand: elements turned into a state by the comet
// orbit step and back by the universal-variable elements (two independent
// roads), the element edits of the residuals form with their refusals, and
// the capture of a sheet row.
#include <gtest/gtest.h>

#include <cmath>

#include "core/two_body.h"
#include "engine/comet.h"
#include "orbitdet/state_capture.h"
#include "orbitdet/state_elements.h"
#include "support/recording_message_sink.h"

namespace kvx {
namespace {

constexpr double kEpoch = 2461000.5;

TOrbitElementRecord Ellipse(double a, double e, double i, double node, double peri, double M) {
  TOrbitElementRecord el;
  el.Kind = kOrbitEllipse;
  el.Size = a;
  el.E = e;
  el.I = i;
  el.Node = node;
  el.Peri = peri;
  el.TimeElement = M;
  el.PerihelionTime = kEpoch - M / (kGaussDegreesPerDay / (a * std::sqrt(a)));
  return el;
}

TOrbitElementRecord Open(std::uint8_t kind, double size, double e, double i, double node, double peri, double T) {
  TOrbitElementRecord el;
  el.Kind = kind;
  el.Size = size;
  el.E = e;
  el.I = i;
  el.Node = node;
  el.Peri = peri;
  el.TimeElement = T;
  el.PerihelionTime = T;
  return el;
}

// Elements -> state -> elements. Tolerances: sizes 1e-9 relative, e 1e-9,
// angles 1e-7 degrees, perihelion times 1e-5 d (the comet step's Gaussian
// constant in degrees per day differs from k in the 10th digit).
void ExpectRoundTrip(const TOrbitElementRecord& el) {
  TStateVector s{};
  ASSERT_TRUE(StateFromElements(el, kEpoch, s));
  TOrbitElementRecord back;
  ASSERT_TRUE(OrbitElementsFromState(s, kEpoch, 1.0, back));
  const TOrbitElementRecord form = FormElements(back);
  EXPECT_EQ(back.Kind, el.Kind);
  EXPECT_NEAR(back.Size, el.Size, 1e-9 * std::fabs(el.Size));
  EXPECT_NEAR(back.E, el.E, 1e-9);
  EXPECT_NEAR(back.I, el.I, 1e-7);
  EXPECT_NEAR(back.Node, el.Node, 1e-7);
  EXPECT_NEAR(back.Peri, el.Peri, 1e-7);
  if (el.Kind == kOrbitEllipse) {
    EXPECT_NEAR(std::remainder(back.TimeElement - el.TimeElement, 360.0), 0, 1e-7);
  } else {
    EXPECT_NEAR(form.PerihelionTime, el.PerihelionTime, 1e-5);
  }
}

TEST(StateFromElements, EveryConicComesBackFromItsState) {
  {
    SCOPED_TRACE("main belt");
    ExpectRoundTrip(Ellipse(2.7, 0.1, 10.5, 80.25, 73.5, 30.0));
  }
  {
    SCOPED_TRACE("retrograde comet e 0.95");
    ExpectRoundTrip(Ellipse(17.8, 0.95, 162.3, 58.4, 111.3, 350.0));
  }
  {
    SCOPED_TRACE("e 0.9995 near perihelion (near-parabolic routine)");
    ExpectRoundTrip(Open(kOrbitParabola, 0.58, 0.9995, 60, 200, 300, kEpoch - 12.0));
    const TCometOrbitPlace p = CometOrbitPlace(0.58, 0.9995, kEpoch - 12.0, kEpoch);
    EXPECT_EQ(p.Routine, CometOrbitRoutine::NearParabolic);
  }
  {
    SCOPED_TRACE("parabola");
    ExpectRoundTrip(Open(kOrbitParabola, 1.3, 1.0, 45, 10, 20, kEpoch + 40.0));
  }
  {
    SCOPED_TRACE("hyperbola e 1.05");
    ExpectRoundTrip(Open(kOrbitHyperbola, -20.0, 1.05, 120, 300, 15, kEpoch - 200.0));
  }
  TStateVector s{1, 2, 3, 4, 5, 6};
  TOrbitElementRecord bad = Ellipse(2.7, 0.1, 10, 80, 70, 30);
  bad.Node = std::nan("");
  EXPECT_FALSE(StateFromElements(bad, kEpoch, s));
  EXPECT_EQ(s, (TStateVector{1, 2, 3, 4, 5, 6}));
}

TEST(ElementEdits, KindChangesKeepThePerihelionAndBadValuesAreRefused) {
  TOrbitElementRecord el = Ellipse(2.7, 0.1, 10.5, 80.25, 73.5, 30.0);
  const double q = 2.7 * 0.9, T = el.PerihelionTime;
  TStateVector s{};
  std::string german, english;
  // M and T follow each other.
  ASSERT_TRUE(ApplyElementEdit(el, kEpoch, kEditTime, 45.0, s, german, english));
  EXPECT_NEAR(el.PerihelionTime, kEpoch - 45.0 / (kGaussDegreesPerDay / std::pow(2.7, 1.5)), 1e-9);
  ASSERT_TRUE(ApplyElementEdit(el, kEpoch, kEditPerihelionTime, T, s, german, english));
  EXPECT_NEAR(el.TimeElement, 30.0, 1e-9);
  // e = 1: a parabola through the same perihelion at the same time.
  ASSERT_TRUE(ApplyElementEdit(el, kEpoch, kEditEccentricity, 1.0, s, german, english));
  EXPECT_EQ(el.Kind, kOrbitParabola);
  EXPECT_EQ(el.SizeLabel, "Q");
  EXPECT_NEAR(el.Size, q, 1e-12);
  EXPECT_DOUBLE_EQ(el.TimeElement, T);
  TOrbitElementRecord back;
  ASSERT_TRUE(OrbitElementsFromState(s, kEpoch, 1.0, back));
  EXPECT_NEAR(back.Size, q, 1e-9);
  EXPECT_NEAR(back.TimeElement, T, 1e-5);
  // e = 1.2: a = q / (1 - e) < 0.
  ASSERT_TRUE(ApplyElementEdit(el, kEpoch, kEditEccentricity, 1.2, s, german, english));
  EXPECT_EQ(el.Kind, kOrbitHyperbola);
  EXPECT_NEAR(el.Size, q / -0.2, 1e-9);
  // Back to an ellipse: M from T again.
  ASSERT_TRUE(ApplyElementEdit(el, kEpoch, kEditEccentricity, 0.1, s, german, english));
  EXPECT_EQ(el.Kind, kOrbitEllipse);
  EXPECT_NEAR(el.Size, 2.7, 1e-12);
  EXPECT_NEAR(el.TimeElement, 30.0, 1e-9);

  // Refusals leave record and state alone, each with its reason.
  const TStateVector kept = s;
  struct Bad {
    std::uint8_t Kind;
    int Edit;
    double Value;
    const char* English;
  };
  for (const Bad& b : {Bad{kOrbitEllipse, kEditEccentricity, -0.01, "The eccentricity must not be negative."},
                       Bad{kOrbitEllipse, kEditSize, 0.0, "With e < 1 the semi-major axis a must be above 0."},
                       Bad{kOrbitHyperbola, kEditSize, 3.0, "With e > 1 the semi-major axis a must be below 0."},
                       Bad{kOrbitParabola, kEditSize, -1.0, "The perihelion distance q must be above 0."},
                       Bad{kOrbitEllipse, kEditInclination, 180.5, "The inclination i must lie between 0° and 180°."},
                       Bad{kOrbitEllipse, kEditNode, INFINITY, "Please enter a number!"}}) {
    SCOPED_TRACE(b.English);
    TOrbitElementRecord r = b.Kind == kOrbitEllipse ? el
                            : b.Kind == kOrbitHyperbola
                                ? Open(kOrbitHyperbola, -20.0, 1.05, 120, 300, 15, kEpoch)
                                : Open(kOrbitParabola, 1.3, 1.0, 45, 10, 20, kEpoch);
    const TOrbitElementRecord before = r;
    EXPECT_FALSE(ApplyElementEdit(r, kEpoch, b.Edit, b.Value, s, german, english));
    EXPECT_EQ(english, b.English);
    EXPECT_FALSE(german.empty());
    EXPECT_EQ(s, kept);
    EXPECT_EQ(r.Size, before.Size);
    EXPECT_EQ(r.E, before.E);
    EXPECT_EQ(r.I, before.I);
  }
}

TEST(StateCapture, SevenColumnsOfOneRowTakenAsVectorAndJulianDay) {
  workbook::TWorkbook book;
  const double row[7] = {2.1, -1.3, 0.4, 0.004, 0.009, -0.001, 2461000.5};
  for (int c = 0; c < 7; ++c) book.SetNumber(3, 2 + c, row[c]);
  book.SetNumber(4, 2, 99);  // a second row is not read
  TStateVector s{};
  double epoch = 0;
  book.SetSelection(3, 2, 4, 7);
  EXPECT_EQ(CaptureStateVector(book, s, epoch), TStateCapture::NotSevenColumns);
  book.SetSelection(3, 2, 4, 8);
  book.AddSelection(9, 1, 9, 1);
  EXPECT_EQ(CaptureStateVector(book, s, epoch), TStateCapture::NotSevenColumns);
  book.SetSelection(3, 2, 4, 8);
  ASSERT_EQ(CaptureStateVector(book, s, epoch), TStateCapture::Ok);
  // The epoch is the JD itself, the velocities turn into Gaussian units.
  EXPECT_EQ(epoch, 2461000.5);
  EXPECT_EQ(s[0], 2.1);
  EXPECT_NEAR(s[4], 0.009 / kGaussK, 1e-15);

  // Texts that read as numbers and formulas count as numbers.
  book.SetText(3, 3, " -1,3 ");
  book.SetFormula(3, 4, "0.2*2");
  TStateVector t{};
  ASSERT_EQ(CaptureStateVector(book, t, epoch), TStateCapture::Ok);
  EXPECT_EQ(t[1], -1.3);
  EXPECT_NEAR(t[2], 0.4, 1e-15);

  // Anything else is refused and changes nothing.
  struct Bad {
    int Col;
    const char* Text;  // nullptr: the cell is cleared
    double Number;
  };
  for (const Bad& b : {Bad{5, "x", 0}, Bad{6, nullptr, 0}, Bad{8, "1e400", 0}, Bad{8, nullptr, 1e9},
                       Bad{4, "", 0}}) {
    const double kept = book.Number(3, b.Col);
    if (b.Text != nullptr) {
      book.SetText(3, b.Col, b.Text);
    } else if (b.Number != 0) {
      book.SetNumber(3, b.Col, b.Number);
    } else {
      book.ClearRange(3, b.Col, 3, b.Col, 3);
    }
    TStateVector u{7, 7, 7, 7, 7, 7};
    double e = 5;
    EXPECT_EQ(CaptureStateVector(book, u, e), TStateCapture::Invalid) << b.Col;
    EXPECT_EQ(u, (TStateVector{7, 7, 7, 7, 7, 7}));
    EXPECT_EQ(e, 5);
    book.SetNumber(3, b.Col, kept);
  }
  for (int c = 2; c <= 4; ++c) book.SetNumber(3, c, 0);
  EXPECT_EQ(CaptureStateVector(book, s, epoch), TStateCapture::Invalid);

  RecordingMessageSink sink;
  ScopedMessageSink scoped(sink);
  ShowStateCaptureMessage(TStateCapture::NotSevenColumns);
  ShowStateCaptureMessage(TStateCapture::Invalid);
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0].text, "Markieren Sie bitte genau 7 Spalten (x,y,z, vx, vy, vz, JED)");
  EXPECT_EQ(sink.messages[1].text, "Die markierten Zellen enthalten keinen gültigen State-Vektor.");
}

}  // namespace
}  // namespace kvx
