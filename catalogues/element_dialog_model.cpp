#include "catalogues/element_dialog_model.h"

#include <cctype>
#include <cmath>
#include <span>

#include "catalogues/element_lines.h"
#include "core/text_conversion.h"
#include "platform/ascii_case.h"
#include "platform/globals.h"
#include "platform/messages.h"

namespace kvx {

namespace {

struct FieldText {
  int Field;
  const char* German;
  const char* English;
};

constexpr const char* kAngleI[2] = {"i muß >=-360 und <= 360 sein!", "i must be >=-360 and <= 360!"};
constexpr const char* kAngleNode[2] = {"kn  muß >=-360 und <= 360 sein!", "must be >=-360 and <= 360!"};
constexpr const char* kAnglePer[2] = {"per  muß >=-360 und <= 360 sein!", "per  must be >=-360 and <= 360!"};

const FieldText kAsteroidTexts[] = {
    {1, "a muß >0 sein!", "a must be >0!"},
    {2, "e muß positiv und <1 sein!", "e must be positive and <1!"},
    {3, kAngleI[0], kAngleI[1]},
    {4, kAngleNode[0], kAngleNode[1]},
    {5, kAnglePer[0], kAnglePer[1]},
    {6, "Ungültiger Wert für M.", "Invalid value for M."},
    {7, "Ungültiger Wert für n.", "Invalid value for n."},
    {8, "Ungültiger Wert für Aequinoktium.", "Invalid value for equinox."},
    {9, "Ungültiger Wert für Epoche.", "Invalid value for epoch."},
    {10, "Ungültiger Wert für Helligkeitsparameter H.", "Invalid value for H."},
    {11, "Ungültiger Wert für Helligkeitsparameter G.", "Invalid value for G."},
};

const FieldText kCometTexts[] = {
    {1, "q muß größer als 0 sein!", "q must be greater than 0!"},
    {2, "e muß >= 0 sein!", "e must be >= 0!"},
    {3, kAngleI[0], kAngleI[1]},
    {4, kAngleNode[0], kAngleNode[1]},
    {5, kAnglePer[0], kAnglePer[1]},
    {8, "Ungültiger Wert für Aequinoktium.", "Invalid value for equinox."},
    {9, "Ungültiger Wert für Perihelzeit.", "Invalid value for time of perihelion."},
    {10, "Ungültiger Wert für Helligkeitsparameter H.", "Invalid value for H."},
    {11, "Ungültiger Wert für Helligkeitsparameter G.", "Invalid value for G."},
    {12, "Ungültiger Wert für Epoche.", "Invalid value for epoch."},
};

bool ReadNumberCells(const std::vector<TSheetCellValue>& cells, std::size_t count, std::vector<double>& out) {
  if (cells.size() < count + 1) return false;
  if (cells[0].IsNumber) return false;
  for (std::size_t k = 1; k <= count; ++k) {
    if (!cells[k].IsNumber || !std::isfinite(cells[k].Number)) return false;
    out.push_back(cells[k].Number);
  }
  return true;
}

std::string CutName(const std::string& text) { return text.size() > 40 ? text.substr(0, 40) : text; }

// The fields both element records have under the same number: 2 the
// eccentricity, 3 the inclination, 4 the node, 5 the argument of
// perihelion, 8 the equinox; nullptr for every other field.
template <class Elements>
double* SharedField(Elements& r, int field) {
  switch (field) {
    case 2:
      return &r.Eccentricity;
    case 3:
      return &r.Inclination;
    case 4:
      return &r.Node;
    case 5:
      return &r.Perihelion;
    case 8:
      return &r.Equinox;
    default:
      return nullptr;
  }
}

// The first field, in the order of the checks, whose value the dialog
// refuses; 0 when every field is accepted.
template <class Elements>
int FirstRefused(TElementDialogKind kind, const Elements& record, double& (*field)(Elements&, int)) {
  Elements r = record;
  for (int f : ElementCheckOrder(kind)) {
    if (!ElementFieldAccepts(kind, f, field(r, f))) return f;
  }
  return 0;
}

}  // namespace

std::optional<double> ParseElementEntry(const std::string& text) {
  double x = 0;
  if (!ReadNumberField(text, x)) return std::nullopt;
  return x;
}

const std::vector<int>& ElementCheckOrder(TElementDialogKind kind) {
  static const std::vector<int> asteroid = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  static const std::vector<int> comet = {1, 2, 3, 9, 4, 5, 8, 10, 11, 12};
  return kind == TElementDialogKind::Asteroid ? asteroid : comet;
}

bool ElementFieldAccepts(TElementDialogKind kind, int field, double value) {
  if (!std::isfinite(value)) return false;
  switch (field) {
    case 1:
      return value > 0;
    case 2:
      return kind == TElementDialogKind::Asteroid ? value >= 0 && value < 1 : value >= 0;
    case 3:
    case 4:
    case 5:
      return std::fabs(value) <= 360;
    default:
      return true;
  }
}

std::string ElementFieldMessage(TElementDialogKind kind, int field, bool english) {
  const bool asteroid = kind == TElementDialogKind::Asteroid;
  for (const FieldText& t :
       asteroid ? std::span<const FieldText>(kAsteroidTexts) : std::span<const FieldText>(kCometTexts)) {
    if (t.Field == field) return english ? t.English : t.German;
  }
  return english ? "Invalid value" : "Ungültiger Wert";
}

void ShowElementEntryError(TElementDialogKind kind, int field) {
  ShowMessage(ElementFieldMessage(kind, field, false), ElementFieldMessage(kind, field, true), MessageIcon::Error,
              MessageButtons::Ok, ByLanguage("Zahlenwert oder Eingabeformat ungültig", "Invalid value"));
}

int ElementFieldDecimals(TElementDialogKind kind, int field) {
  if (field <= 5) return 8;
  if (kind == TElementDialogKind::Asteroid) {
    if (field <= 7) return 8;
    if (field == 9) return 5;
    return 2;
  }
  return field == 9 || field == 12 ? 5 : 2;
}

double& AsteroidField(TAsteroidElements& r, int field) {
  if (double* shared = SharedField(r, field)) return *shared;
  switch (field) {
    case 1:
      return r.SemiMajorAxis;
    case 6:
      return r.MeanAnomaly;
    case 7:
      return r.MeanMotion;
    case 9:
      return r.Epoch;
    case 10:
      return r.H;
    default:
      return r.G;
  }
}

double& CometField(TCometElements& r, int field) {
  if (double* shared = SharedField(r, field)) return *shared;
  switch (field) {
    case 1:
      return r.PerihelionDistance;
    case 9:
      return r.PerihelionTime;
    case 10:
      return r.H;
    case 11:
      return r.G;
    default:
      return r.Epoch;
  }
}

int FirstRefusedField(const TAsteroidElements& record) {
  return FirstRefused(TElementDialogKind::Asteroid, record, AsteroidField);
}

int FirstRefusedField(const TCometElements& record) {
  return FirstRefused(TElementDialogKind::Comet, record, CometField);
}

std::string NoObjectName(TElementDialogKind kind, bool english) {
  if (kind == TElementDialogKind::Asteroid) return english ? "No asteroid" : "Kein Planetoid";
  return english ? "No comet" : "Kein Komet";
}

bool IsNoObjectName(TElementDialogKind kind, const std::string& name, bool english) {
  return name == NoObjectName(kind, english);
}

std::string ShownElementName(TElementDialogKind kind, const std::string& name, bool english) {
  if (english && name == NoObjectName(kind, false)) return NoObjectName(kind, true);
  return name;
}

std::string KeptElementName(TElementDialogKind kind, const std::string& shown, bool english) {
  if (english && shown == NoObjectName(kind, true)) return NoObjectName(kind, false);
  return shown;
}

std::optional<TAsteroidElements> AsteroidSetFromCells(const std::vector<TSheetCellValue>& cells) {
  std::vector<double> v;
  if (!ReadNumberCells(cells, 11, v)) return std::nullopt;
  TAsteroidElements r;
  r.Name = CutName(cells[0].Text);
  for (int f = 1; f <= 11; ++f) AsteroidField(r, f) = v[static_cast<std::size_t>(f - 1)];
  if (!(r.SemiMajorAxis > 0) || !(r.Eccentricity >= 0 && r.Eccentricity < 1)) return std::nullopt;
  return r;
}

std::optional<TCometElements> CometSetFromCells(const std::vector<TSheetCellValue>& cells) {
  std::vector<double> v;
  if (!ReadNumberCells(cells, 10, v)) return std::nullopt;
  TCometElements r;
  r.Name = CutName(cells[0].Text);
  // Sheet order: q, e, i, node, perihelion, equinox, T, H, G, epoch.
  static const int kOrder[10] = {1, 2, 3, 4, 5, 8, 9, 10, 11, 12};
  for (int k = 0; k < 10; ++k) CometField(r, kOrder[k]) = v[static_cast<std::size_t>(k)];
  if (!(r.PerihelionDistance > 0) || !(r.Eccentricity >= 0)) return std::nullopt;
  return r;
}

bool IsWebAddress(const std::string& text) {
  const std::string lower = AsciiLower(text.substr(0, 8));
  const bool scheme = lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0;
  if (!scheme) return false;
  for (unsigned char c : text) {
    if (c <= ' ' || c == 0x7F) return false;
  }
  return text.size() > (lower.rfind("https://", 0) == 0 ? 8u : 7u);
}

const char* DefaultElementFileName(TElementDialogKind kind) {
  return kind == TElementDialogKind::Asteroid ? "planeten.csv" : "kometen.csv";
}

}  // namespace kvx
