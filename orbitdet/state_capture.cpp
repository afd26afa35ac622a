#include "orbitdet/state_capture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/angle_constants.h"
#include "core/text_conversion.h"
#include "core/two_body.h"
#include "core/vector_math.h"
#include "engine/comet.h"
#include "orbitdet/state_elements.h"
#include "platform/messages.h"

namespace kvx {

namespace {

double PerihelionDistanceOf(const TOrbitElementRecord& el) {
  return el.Kind == kOrbitParabola ? el.Size : PerihelionDistance(el.E, el.Size);
}

double PerihelionTimeOf(const TOrbitElementRecord& el) {
  return el.Kind == kOrbitEllipse ? el.PerihelionTime : el.TimeElement;
}

// Degrees per day, as the comet orbit step takes it.
double EllipseMeanMotion(double a) { return kGaussDegreesPerDay / (a * std::sqrt(a)); }

void SetLabels(TOrbitElementRecord& el) {
  el.SizeLabel.assign(1, el.Kind == kOrbitParabola ? 'Q' : 'A');
  el.TimeLabel.assign(2, el.Kind == kOrbitEllipse ? 'M' : 'T');
}

// Keeps T and sets M from it (ellipse) or T into the time element.
void TimeFromPerihelion(TOrbitElementRecord& el, double epoch, double T) {
  el.PerihelionTime = T;
  el.TimeElement = el.Kind == kOrbitEllipse ? Mod360((epoch - T) * EllipseMeanMotion(el.Size)) : T;
}

bool Refuse(std::string& german, std::string& english, const char* g, const char* e) {
  german = g;
  english = e;
  return false;
}

}  // namespace

std::uint8_t OrbitKindOfEccentricity(double e) {
  if (e < 1) return kOrbitEllipse;
  return e == 1 ? kOrbitParabola : kOrbitHyperbola;
}

bool StateFromElements(const TOrbitElementRecord& el, double epoch, TStateVector& state) {
  const double q = PerihelionDistanceOf(el), T = PerihelionTimeOf(el);
  for (double v : {q, el.E, T, el.I, el.Node, el.Peri, epoch}) {
    if (!std::isfinite(v)) return false;
  }
  if (!(q > 0) || el.E < 0) return false;
  const TCometOrbitPlace p = CometOrbitPlace(q, el.E, T, epoch);
  TMatrix33Ext orientation;
  RotationMatrixFromAngles(orientation, el.Node, el.I, el.Peri);
  long double s[6];
  OrbitPlaneToEcliptic(orientation, s[0], s[1], s[2], p.X, p.Y);
  OrbitPlaneToEcliptic(orientation, s[3], s[4], s[5], p.VX, p.VY);
  const long double c = std::cos(kOrbitObliquityJ2000 * kDegToRad), sn = std::sin(kOrbitObliquityJ2000 * kDegToRad);
  TStateVector out{};
  for (std::size_t k = 0; k < 6; k += 3) {
    const double scale = k == 0 ? 1.0 : 1.0 / kGaussK;
    out[k] = static_cast<double>(s[k] * scale);
    out[k + 1] = static_cast<double>((s[k + 1] * c - s[k + 2] * sn) * scale);
    out[k + 2] = static_cast<double>((s[k + 1] * sn + s[k + 2] * c) * scale);
  }
  for (double v : out) {
    if (!std::isfinite(v)) return false;
  }
  if (out[0] == 0 && out[1] == 0 && out[2] == 0) return false;
  state = out;
  return true;
}

double ElementEditValue(const TOrbitElementRecord& el, int edit) {
  switch (edit) {
    case kEditSize:
      return el.Size;
    case kEditEccentricity:
      return el.E;
    case kEditTime:
      return el.TimeElement;
    case kEditInclination:
      return el.I;
    case kEditNode:
      return el.Node;
    case kEditPerihelion:
      return el.Peri;
    default:
      return PerihelionTimeOf(el);
  }
}

TOrbitElementRecord FormElements(const TOrbitElementRecord& elements) {
  TOrbitElementRecord el = elements;
  if (el.Kind != kOrbitEllipse) el.PerihelionTime = el.TimeElement;
  return el;
}

bool ApplyElementEdit(TOrbitElementRecord& elements, double epoch, int edit, double value, TStateVector& state,
                      std::string& german, std::string& english) {
  if (!std::isfinite(value)) return Refuse(german, english, "Bitte eine Zahl eingeben!", "Please enter a number!");
  TOrbitElementRecord el = elements;
  const double T = PerihelionTimeOf(el);
  switch (edit) {
    case kEditSize:
      if (el.Kind == kOrbitParabola && !(value > 0)) {
        return Refuse(german, english, "Die Periheldistanz q muss größer als 0 sein.",
                      "The perihelion distance q must be above 0.");
      }
      if (el.Kind == kOrbitEllipse && !(value > 0)) {
        return Refuse(german, english, "Bei e < 1 muss die große Halbachse a größer als 0 sein.",
                      "With e < 1 the semi-major axis a must be above 0.");
      }
      if (el.Kind == kOrbitHyperbola && !(value < 0)) {
        return Refuse(german, english, "Bei e > 1 muss die große Halbachse a kleiner als 0 sein.",
                      "With e > 1 the semi-major axis a must be below 0.");
      }
      el.Size = value;
      TimeFromPerihelion(el, epoch, T);
      break;
    case kEditEccentricity: {
      if (value < 0) {
        return Refuse(german, english, "Die Exzentrizität darf nicht negativ sein.",
                      "The eccentricity must not be negative.");
      }
      const std::uint8_t kind = OrbitKindOfEccentricity(value);
      if (kind != el.Kind) {
        // Another conic through the same perihelion.
        const double q = PerihelionDistanceOf(el);
        el.Kind = kind;
        el.Size = kind == kOrbitParabola ? q : q / (1 - value);
      }
      el.E = value;
      TimeFromPerihelion(el, epoch, T);
      break;
    }
    case kEditTime:
      if (el.Kind == kOrbitEllipse) {
        el.TimeElement = value;
        el.PerihelionTime = epoch - value / EllipseMeanMotion(el.Size);
      } else {
        TimeFromPerihelion(el, epoch, value);
      }
      break;
    case kEditInclination:
      if (!(value >= 0 && value <= 180)) {
        return Refuse(german, english, "Die Neigung i muss zwischen 0° und 180° liegen.",
                      "The inclination i must lie between 0° and 180°.");
      }
      el.I = value;
      break;
    case kEditNode:
      el.Node = value;
      break;
    case kEditPerihelion:
      el.Peri = value;
      break;
    default:
      TimeFromPerihelion(el, epoch, value);
      break;
  }
  SetLabels(el);
  el.LonPerihelion = std::fmod(el.Node + el.Peri + 720.0, 360.0);
  TStateVector s{};
  if (!StateFromElements(el, epoch, s)) {
    return Refuse(german, english, "Aus diesen Bahnelementen lässt sich kein State-Vektor berechnen.",
                  "No state vector can be computed from these elements.");
  }
  elements = el;
  state = s;
  return true;
}

bool CellNumber(const workbook::TWorkbook& book, int row, int col, double& value) {
  double x = 0;
  switch (book.CellKind(row, col)) {
    case workbook::TCellKind::Number:
      x = book.Number(row, col);
      break;
    case workbook::TCellKind::Formula: {
      x = book.Number(row, col);  // computes the formula when needed
      const workbook::TCell* cell = book.Cell(row, col);
      if (cell == nullptr || cell->Result != workbook::TFormulaResult::Number) return false;
      break;
    }
    case workbook::TCellKind::Text: {
      std::string text = TrimBlanks(book.Text(row, col));
      const std::size_t comma = text.find(',');
      if (comma != std::string::npos) text[comma] = '.';
      if (text.empty() || !ValReal(text, x)) return false;
      break;
    }
    default:
      return false;
  }
  if (!std::isfinite(x)) return false;
  value = x;
  return true;
}

TStateCapture CaptureStateVector(const workbook::TWorkbook& book, TStateVector& state, double& epoch) {
  if (book.SelectionCount() != 1) return TStateCapture::NotSevenColumns;
  const workbook::TRange range = book.SelectionRange(0);
  if (std::abs(range.Col2 - range.Col1) + 1 != 7) return TStateCapture::NotSevenColumns;
  const int row = std::min(range.Row1, range.Row2), first = std::min(range.Col1, range.Col2);
  std::array<double, 7> v{};
  for (int k = 0; k < 7; ++k) {
    if (!CellNumber(book, row, first + k, v[static_cast<std::size_t>(k)])) return TStateCapture::Invalid;
  }
  if (v[0] == 0 && v[1] == 0 && v[2] == 0) return TStateCapture::Invalid;
  if (!(v[6] >= 0 && v[6] <= kLastStateEpochJd)) return TStateCapture::Invalid;
  TStateVector s{v[0], v[1], v[2], v[3], v[4], v[5]};
  VelocityToGaussianUnits(s);
  for (double x : s) {
    if (!std::isfinite(x)) return TStateCapture::Invalid;
  }
  state = s;
  epoch = v[6];
  return TStateCapture::Ok;
}

void ShowStateCaptureMessage(TStateCapture result) {
  if (result == TStateCapture::NotSevenColumns) {
    ShowMessage("Markieren Sie bitte genau 7 Spalten (x,y,z, vx, vy, vz, JED)",
                "Exactly 7 colummns (x,y,z, vx, vy, vz, JED) must be selected", MessageIcon::Error);
  } else if (result == TStateCapture::Invalid) {
    ShowMessage("Die markierten Zellen enthalten keinen gültigen State-Vektor.",
                "The selected cells hold no valid state vector.", MessageIcon::Error);
  }
}

}  // namespace kvx
