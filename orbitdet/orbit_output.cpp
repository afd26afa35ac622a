#include "orbitdet/orbit_output.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "core/angle_constants.h"
#include "core/frames.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/cell_format.h"
#include "orbitdet/gauss.h"
#include "orbitdet/observation_files.h"
#include "orbitdet/state_elements.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/save_failure.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace {

bool English() { return LanguageEnglish != 0; }

std::string Sep() { return std::string(1, IntlSeparators.Decimal); }

void FitColumns(workbook::TWorkbook& sheet) {
  sheet.SetSelection(1, 1, 1, 1);
  const int lastRow = std::max(1, sheet.LastRow());
  const int lastCol = std::max(1, sheet.LastCol());
  sheet.SetColWidthAuto(1, 1, lastRow, lastCol);
}

}  // namespace

void WriteObservationTitles(torbdet& od, workbook::TWorkbook& sheet, const std::string& title,
                            const TTableConfigRecord& /*config*/) {
  const int r = od.OutputRow;
  sheet.SetText(r, 1, title);
  sheet.SetText(r, 2, "Obs.");
  sheet.SetNumber(r, 3, 2000);
  sheet.SetText(r, 4, "Elem.:");
  sheet.SetNumber(r, 5, 2000);
  sheet.SetText(r, 8, English() ? "W: negative" : "W: negativ");
  sheet.SetText(r, 9, English() ? "S: negative" : "S: negativ");
  const char* const german[3] = {"Jahr", "Monat", "Tag"};
  const char* const english[3] = {"Year", "Month", "Day"};
  for (int c = 0; c < 3; ++c) sheet.SetText(r + 1, c + 1, English() ? english[c] : german[c]);
  sheet.SetText(r + 1, 4, "UT (hh,xxx)");
  sheet.SetText(r + 1, 5, "RA hh" + Sep() + "mmssxx");
  sheet.SetText(r + 1, 6, "DEC gg" + Sep() + "mmssxx");
  sheet.SetText(r + 1, 7, "mag xx" + Sep() + "xx");
  sheet.SetText(r + 1, 8, "GL gg" + Sep() + "mmssxx");
  sheet.SetText(r + 1, 9, "GB gg" + Sep() + "mmssxx");
  for (int c = 7; c <= 9; ++c) sheet.SetNumber(r + 2, c, 0);
  FitColumns(sheet);
  od.OutputRow = r + 2;
}

bool WriteObservationRows(torbdet& od, workbook::TWorkbook& sheet, const TTableConfigRecord& /*config*/,
                          bool firstRow) {
  const TObservationList& list = od.Observations();
  if (list.empty()) {
    ShowMessage("Die Datei mit Beobachtungen hat ein unzulässiges Format.",
                "File with observations has an invalid format.", MessageIcon::Error);
    return false;
  }
  if (firstRow) {
    sheet.SetNumber(1, 3, YearFromJulianCenturies(od.ObservationsEquinox));
    sheet.SetNumber(1, 5, YearFromJulianCenturies(od.ElementsEquinox));
  }
  int r = od.OutputRow;
  for (const TObservationEntry& e : list) {
    const tobservation& o = e.Obs;
    sheet.SetNumber(r, 1, o.Year);
    sheet.SetNumber(r, 2, o.Month);
    sheet.SetNumber(r, 3, o.Day);
    sheet.SetNumber(r, 4, o.Hours);
    sheet.SetNumber(r, 5, DegToDmsPacked(o.RA / 15.0));
    sheet.SetNumber(r, 6, DegToDmsPacked(o.Dec));
    sheet.SetNumber(r, 7, o.Magnitude);
    sheet.SetNumber(r, 8, DegToDmsPacked(o.Longitude));
    sheet.SetNumber(r, 9, DegToDmsPacked(std::asin(std::clamp(o.RhoSin, -1.0, 1.0)) * 180.0 / kPi));
    ++r;
  }
  od.OutputRow = r;
  FitColumns(sheet);
  return true;
}

void ShowObservationsInSheet(torbdet& od, workbook::TWorkbook& sheet, const TTableConfigRecord& config, bool table,
                             bool derived) {
  PrepareObservations(od);
  if (table) {
    od.OutputRow = 1;
    WriteObservationTitles(od, sheet, English() ? kObservationTitleEnglish : kObservationTitleGerman, config);
    WriteObservationRows(od, sheet, config, true);
    ++od.OutputRow;
  }
  if (derived) {
    for (const TObservationEntry& e : od.Observations()) {
      const tobservation& o = e.Obs;
      int r = od.OutputRow;
      sheet.SetText(r, 1, config.ColumnTitles[3]);
      WriteNumberToSheet(sheet, r, 2, 3, o.JD);
      sheet.SetText(r + 1, 1, "L sun");
      sheet.SetText(r + 1, 2, config.ColumnTitles[7]);
      sheet.SetText(r + 1, 3, config.ColumnTitles[8]);
      WriteAngleToSheet(sheet, r + 2, 1, 11, o.SunLongitude);
      WriteAngleToSheet(sheet, r + 2, 2, 7, o.EclipticLongitude);
      WriteAngleToSheet(sheet, r + 2, 3, 8, o.EclipticLatitude);
      od.OutputRow = r + 3;
    }
  }
}

int WriteElementRows(torbdet& od, workbook::TWorkbook& sheet, const TTableConfigRecord& config,
                     const TOrbDetOptions& options, double q, double e, double i, double node, double peri,
                     double perihelionTime, double equinox, int status, bool doubleSolution) {
  struct Column {
    int Slot;
    std::function<void(int row, int col)> Write;
  };
  std::vector<Column> columns;
  const double a = e != 1 ? q / (1 - e) : 0;
  if (a > 0) columns.push_back({135, [&](int r, int c) { WriteNumberToSheet(sheet, r, c, 135, a); }});
  columns.push_back({136, [&](int r, int c) { WriteNumberToSheet(sheet, r, c, 136, q); }});
  columns.push_back({137, [&](int r, int c) { WriteNumberToSheet(sheet, r, c, 137, e); }});
  columns.push_back({138, [&](int r, int c) { WriteAngleToSheet(sheet, r, c, 138, i); }});
  columns.push_back({139, [&](int r, int c) { WriteAngleToSheet(sheet, r, c, 139, node); }});
  columns.push_back({140, [&](int r, int c) { WriteAngleToSheet(sheet, r, c, 140, peri); }});
  const double lonPeri = Mod360(node + peri);
  columns.push_back({141, [&](int r, int c) { WriteAngleToSheet(sheet, r, c, 141, lonPeri); }});
  if (e < 1 && a > 0) {
    const double n = MeanDailyMotion(a);
    const double M = Mod360((options.JdForM - perihelionTime) * n);
    columns.push_back({142, [&sheet, M](int r, int c) { WriteAngleToSheet(sheet, r, c, 142, M); }});
    columns.push_back({143, [&sheet, n](int r, int c) { WriteNumberToSheet(sheet, r, c, 143, n); }});
  }
  columns.push_back({144, [&](int r, int c) { WriteNumberToSheet(sheet, r, c, 144, perihelionTime); }});
  const double year = YearFromJulianCenturies(equinox);
  columns.push_back({147, [&](int r, int c) { WriteNumberToSheet(sheet, r, c, 147, year); }});
  int day = 0, month = 0, y = 0;
  double hours = 0;
  JdToCalendarDate(day, month, y, hours, perihelionTime);
  columns.push_back({145, [&](int r, int c) { WriteDateToSheet(sheet, r, c, 145, y, month, day); }});
  columns.push_back({146, [&](int r, int c) { WriteTimeOfDayToSheet(sheet, r, c, 146, hours); }});
  const double jdForM = options.JdForM;
  columns.push_back({3, [&](int r, int c) { WriteNumberToSheet(sheet, r, c, 3, jdForM); }});

  const int r = od.OutputRow;
  int col = 1;
  for (const Column& c : columns) {
    sheet.SetText(r, col, config.ColumnTitles[static_cast<std::size_t>(c.Slot)]);
    c.Write(r + 1, col);
    ++col;
  }
  od.OutputRow = r + 2;
  const std::string verdicts = OrbitVerdicts(status == 1, doubleSolution, q, e, English(), status);
  if (status != 0) {
    sheet.SetText(od.OutputRow, 1, verdicts);
    ++od.OutputRow;
  }
  od.Status = status;
  return status;
}

int WriteOrbitDeterminationResults(torbdet& od, workbook::TWorkbook& sheet, const TTableConfigRecord& config,
                                   const TOrbDetOptions& options) {
  const int n = static_cast<int>(od.Observations().size());
  if (n < 3) return 0;
  AbortRequested = 0;
  ProgressSession session(CurrentProgress(), English() ? "Orbit determination" : "Bahnbestimmung", n - 2);
  bool numericalProblems = false;
  int done = 0;
  for (int k = 0; k + 2 < n; ++k) {
    session.Reporter().ProcessEvents();
    if (AbortRequested != 0) break;
    session.Reporter().Step(k + 1);
    std::array<TVector3Ext, 3> sun, dir;
    std::array<double, 3> jd{};
    od.GetObservationTriple(k, sun, dir, jd);
    const TGaussResult g = GaussTripleOrbit(dir, sun, jd);
    if (options.Log != 0 && !g.RhoLog.empty()) {
      sheet.SetText(od.OutputRow++, 1, "Rho AE");
      for (const auto& rho : g.RhoLog) {
        for (int c = 0; c < 3; ++c) sheet.SetNumber(od.OutputRow, c + 1, rho[static_cast<std::size_t>(c)]);
        ++od.OutputRow;
      }
      if (g.Status != 3) {
        sheet.SetText(od.OutputRow++, 1, "r AE:");
        for (int c = 0; c < 3; ++c) sheet.SetNumber(od.OutputRow, c + 1, g.R[static_cast<std::size_t>(c)]);
        ++od.OutputRow;
      }
    }
    ++done;
    if (g.Status == 3) {
      numericalProblems = true;
      sheet.SetText(od.OutputRow++, 1,
                    English() ? "Numerical problems: no orbit from these three observations. "
                              : "Numerische Probleme: keine Bahn aus diesen drei Beobachtungen. ");
      od.Status = 3;
      continue;
    }
    const bool doubleSolution = DotProductExt(dir[1], sun[1]) > 0;
    WriteElementRows(od, sheet, config, options, g.Q, g.E, g.I, g.Node, g.Peri, JdFromJulianCenturies(g.PerihelionTime),
                     od.ElementsEquinox, g.Status, doubleSolution);
  }
  FitColumns(sheet);
  if (numericalProblems) {
    ShowMessage("Während der Rechnung gab es numerische Probleme. Die Ergebnisse sind vermutlich unzuverlässig.",
                "Numerical problems occured during the computation. The results are probalby invalid.",
                MessageIcon::Error);
  }
  return done;
}

void WriteOrbitImprovementResults(torbdet& od, workbook::TWorkbook& sheet, const TTableConfigRecord& config,
                                  const TOrbDetOptions& options) {
  ProgressSession session(CurrentProgress(), English() ? "Orbit improvement" : "Bahnverbesserung", 1);
  TOrbitElementRecord el;
  if (!OrbitElementsFromState(od.StateVector, od.Epoch, 1.0, el)) {
    sheet.SetText(od.OutputRow++, 1,
                  English() ? "Numerical problems: no orbit from these three observations. "
                            : "Numerische Probleme: keine Bahn aus diesen drei Beobachtungen. ");
    return;
  }
  od.Elements = el;
  double i = el.I, node = el.Node, peri = el.Peri;
  PrecessOrbitalElements(i, node, peri, 0.0, od.ElementsEquinox);
  const double q = el.Kind == 1 ? el.Size : PerihelionDistance(el.E, el.Size);
  const double T = el.Kind == 0 ? el.PerihelionTime : el.TimeElement;
  bool doubleSolution = false;
  std::array<TVector3Ext, 3> sun, dir;
  std::array<double, 3> jd{};
  if (od.GetObservationTriple(0, sun, dir, jd)) doubleSolution = DotProductExt(dir[1], sun[1]) > 0;
  WriteElementRows(od, sheet, config, options, q, el.E, i, node, peri, T, od.ElementsEquinox, 0, doubleSolution);
  static constexpr int kSlots[10] = {98, 99, 100, 101, 102, 103, 105, 106, 107, 3};
  const int r = od.OutputRow;
  for (int c = 0; c < 10; ++c) sheet.SetText(r, c + 1, config.ColumnTitles[static_cast<std::size_t>(kSlots[c])]);
  const TStateVector& s = od.StateVector;
  for (int c = 0; c < 3; ++c) WriteNumberToSheet(sheet, r + 1, c + 1, kSlots[c], s[static_cast<std::size_t>(c)]);
  for (int c = 0; c < 3; ++c) {
    WriteNumberToSheet(sheet, r + 1, c + 4, kSlots[c + 3], s[static_cast<std::size_t>(c + 3)] * kGaussK);
  }
  for (int c = 0; c < 3; ++c)
    WriteNumberToSheet(sheet, r + 1, c + 7, kSlots[c + 6], s[static_cast<std::size_t>(c + 3)]);
  WriteNumberToSheet(sheet, r + 1, 10, 3, od.Epoch);
  od.OutputRow = r + 2;
  // The elements and the state vector share the observations' columns.
  FitColumns(sheet);
}

// ---------------------------------------------------------------------------
// State-vector files.

std::string StateVectorFileText(const TStateVector& v, double epoch) {
  std::string text = "varbo statevector\r\n2000\r\n";
  text += ShortestNumberText(epoch) + "\r\n";
  for (double x : v) text += ShortestNumberText(x) + "\r\n";
  return text;
}

std::string StateVectorRefusal(const TStateVector& v, double epoch) {
  if (!std::isfinite(epoch)) return ByLanguage("Epoche = ", "Epoch = ") + ShortestNumberText(epoch);
  static const char* const kNames[] = {"x", "y", "z", "x'", "y'", "z'"};
  for (std::size_t k = 0; k < v.size(); ++k) {
    if (!std::isfinite(v[k])) return std::string(kNames[k]) + " = " + ShortestNumberText(v[k]);
  }
  if (v[0] == 0 && v[1] == 0 && v[2] == 0) return "x, y, z = 0";
  return {};
}

bool ParseStateVectorFile(const std::string& text, TStateVector& vector, double& epoch, std::string& german,
                          std::string& english) {
  const std::vector<std::string> lines = SplitTextLines(DecodeTextBytes(text));
  const std::string first = lines.empty() ? std::string() : TrimBlanks(lines[0]);
  if (first != "varbo statevector") {
    german.assign(1, '"');
    german.append(first).append("\" ist keine gültige Kennung für Dateien mit Statusvektoren");
    english.assign(1, '"');
    english.append(first).append("\" is no valid extension for files with state-vectors");
    return false;
  }
  if (lines.size() < 9) {
    german = "Die Datei mit dem Statusvektor hat weniger als neun Zeilen.";
    english = "The state-vector file has fewer than nine lines.";
    return false;
  }
  std::array<double, 8> values{};
  for (std::size_t k = 1; k < 9; ++k) {
    std::string t = TrimBlanks(lines[k]);
    const char* begin = t.data();
    const char* end = t.data() + t.size();
    if (begin != end && *begin == '+') ++begin;
    double x = 0;
    auto r = std::from_chars(begin, end, x);
    if (t.empty() || r.ec != std::errc() || r.ptr != end || !std::isfinite(x)) {
      german = "Zeile " + std::to_string(k + 1) + " der Datei mit dem Statusvektor ist keine gültige Zahl.";
      english = "Line " + std::to_string(k + 1) + " of the state-vector file is not a valid number.";
      return false;
    }
    values[k - 1] = x;
  }
  const double year = values[0];
  if (year < 1000 || year > 3000) {
    german = "Zeile 2 der Datei mit dem Statusvektor: das Äquinoktium liegt nicht zwischen 1000 und 3000.";
    english = "Line 2 of the state-vector file: the equinox does not lie between 1000 and 3000.";
    return false;
  }
  TStateVector v{values[2], values[3], values[4], values[5], values[6], values[7]};
  if (v[0] == 0 && v[1] == 0 && v[2] == 0) {
    german = "Zeilen 4-6 der Datei mit dem Statusvektor: die Position ist null.";
    english = "Lines 4-6 of the state-vector file: the position is zero.";
    return false;
  }
  if (year != 2000) {
    TMatrix33 m;
    PrecessionMatrixEquatorial(m, (year - 2000.0) * 0.01, 0.0);
    TStateVector p{};
    for (int row = 0; row < 3; ++row) {
      for (int c = 0; c < 3; ++c) {
        p[static_cast<std::size_t>(row)] += m.m[row][c] * v[static_cast<std::size_t>(c)];
        p[static_cast<std::size_t>(row + 3)] += m.m[row][c] * v[static_cast<std::size_t>(c + 3)];
      }
    }
    v = p;
  }
  vector = v;
  epoch = values[1];
  return true;
}

bool SaveStateVector(torbdet& od, const TStateVector& vector, double epoch, std::string& fileName,
                     FileDialogRequest request) {
  od.StateVector = vector;
  od.Epoch = epoch;
  if (request.start.empty()) request.start = fileName;
  const std::optional<std::string> chosen = AskSaveFileName(request);
  if (!chosen) return false;
  const std::string ext = std::filesystem::path(*chosen).extension().string();
  if (UpperCaseText(ext) != ".STV") {
    ShowMessage("Ungültige Dateierweiterung: erwartet wird .stv!", "Invalid file extension: .stv required!",
                MessageIcon::Error);
    return false;
  }
  fileName = *chosen;
  if (const std::string refused = StateVectorRefusal(vector, epoch); !refused.empty()) {
    ShowDoesNotFitFormat(refused, "*.stv", fileName);
    return false;
  }
  static constexpr TSaveFailureLead kLead = {"Die Datei {} kann nicht geschrieben werden.",
                                             "Cannot write the file {}."};
  return SaveUserFile(fileName, StateVectorFileText(vector, epoch), kLead, &od.StateVectorFile);
}

bool LoadStateVector(torbdet& od, std::string& fileName, FileDialogRequest request) {
  if (request.start.empty()) request.start = fileName;
  const std::optional<std::string> chosen = AskOpenFileName(request);
  if (!chosen) return false;
  fileName = *chosen;
  const TOpenedFile seen = TOpenedFile::Seen(fileName);
  std::string bytes, error;
  if (!ReadFileBytes(fileName, bytes, error)) return false;
  TStateVector v{};
  double epoch = 0;
  std::string german, english;
  if (bytes.size() > 1024 * 1024 || !ParseStateVectorFile(bytes, v, epoch, german, english)) {
    if (german.empty()) {
      german = "Die Datei mit dem Statusvektor ist zu groß.";
      english = "The state-vector file is too large.";
    }
    ShowMessage(german, english, MessageIcon::Error);
    return false;
  }
  od.StateVector = v;
  od.Epoch = epoch;
  od.StateVectorFile = seen;
  return true;
}

}  // namespace kvx
