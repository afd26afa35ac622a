// The table writers of TKeplereph: the ephemeris table (sheet and grid from
// one loop over the column catalogue), the Moon's extra block, the
// osculating-element columns, the element tables and the row export.
#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <sstream>

#include "core/frames.h"
#include "core/observer_record.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/column_catalogue.h"
#include "engine/ephemeris_table.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/progress.h"
#include "platform/safe_file_write.h"

namespace kvx {

namespace {

namespace cf = column_flag;

constexpr double kNoMeanAnomaly = -1000;
constexpr double kNoAzimuth = -360;
constexpr double kJ2000 = 2451545.0;
constexpr double kYearsPerDay = 0.0027378507871321;  // 1 / 365.25
constexpr double kEarthRadiusAU = 4.263523270752e-05;
constexpr int kProgressScale = 100;
// The sheet's default column width before the table is fitted: 800 in the
// 1/256-character units of the control the tables were first laid out in,
// that is 3.125 characters of the default font.
constexpr double kDefaultSheetColumnWidth = 800.0 / 256.0;

const std::string kEmpty;

double Nan() { return std::numeric_limits<double>::quiet_NaN(); }

// The equinox JD of elements referred to the equinox of `year`.
double EquinoxJulianDay(double year) { return (year - 2000.0) * 0.01 * 36525.0 + kJ2000; }

// Elements of a heliocentric state; Unknown() when it gives no orbit (a
// value not finite, no angular momentum).
TOsculatingElements ElementsOfState(TStateVectorExt state, bool ecliptic, double jd, long double mass,
                                    double equinoxJd) {
  for (long double v : state) {
    if (!std::isfinite(static_cast<double>(v))) return TOsculatingElements::Unknown();
  }
  if (!ecliptic) {
    const double T = JulianCenturiesJ2000(equinoxJd);
    EquatorialToEclipticExtended(state[0], state[1], state[2], T);
    EquatorialToEclipticExtended(state[3], state[4], state[5], T);
  }
  const long double hx = state[1] * state[5] - state[2] * state[4];
  const long double hy = state[2] * state[3] - state[0] * state[5];
  const long double hz = state[0] * state[4] - state[1] * state[3];
  if (!(hx * hx + hy * hy + hz * hz > 0) || !std::isfinite(jd)) return TOsculatingElements::Unknown();
  TOsculatingElements el;
  long double p = 0;
  std::uint8_t kind = 0;
  ElementsFromStateVector(state, el.a, el.q, jd, mass, el.e, el.i, el.node, el.argPerihelion, el.lonPerihelion, p, el.M,
                          el.n, el.perihelionTime, kind);
  return el;
}

double D(long double v) { return static_cast<double>(v); }

// The row's heliocentric vectors turned equatorial of the row's date and
// precessed to the equinox of the elements.
void EquatorialVectors(TRowValues& v, double equinoxYear, bool precess) {
  const TEphemerisResultRecord& r = *v.R;
  const double T = JulianCenturiesJ2000(r.JD);
  v.EquatorialPosition = {r.Position.HelioX, r.Position.HelioY, r.Position.HelioZ};
  v.EquatorialVelocity = {r.HelioVX, r.HelioVY, r.HelioVZ};
  auto& p = v.EquatorialPosition;
  auto& w = v.EquatorialVelocity;
  EclipticToEquatorial(p[0], p[1], p[2], T);
  EclipticToEquatorial(w[0], w[1], w[2], T);
  if (!precess) return;
  TMatrix33 m;
  PrecessionMatrixEquatorial(m, T, (equinoxYear - 2000.0) * 0.01);
  v.ElementsPosition = p;
  v.ElementsVelocity = w;
  MatrixTimesVector(m, v.ElementsPosition[0], v.ElementsPosition[1], v.ElementsPosition[2]);
  MatrixTimesVector(m, v.ElementsVelocity[0], v.ElementsVelocity[1], v.ElementsVelocity[2]);
}

// The numbers of the export: fixed, the locale's separator; empty when the
// value is not finite.
std::string ExportNumber(int intDigits, int decimals, double value) {
  if (!std::isfinite(value)) return {};
  std::string text;
  RealToStrFixed(intDigits, decimals, text, value);
  return FloatToTextSep(text);
}

// Progress increment per output row for `rows` rows.
double ProgressIncrement(double rows) {
  if (!(rows < 16383)) rows = 16383;
  if (rows < 1) rows = 1;
  return kProgressScale / std::floor(rows);
}

}  // namespace

// ------------------------------------------------------------------ frame

void TKeplereph::WriteTableFrame(TCellSink& sink, std::uint8_t rowCountFlag,
                                 const std::function<void(TCellSink&, int, bool)>& writeRow) {
  const int rows = std::min<int>(Rows, RowStore.Count());
  if (rows < 1) return;

  double estimate = Rows;
  if (rowCountFlag == 0) {
    estimate = Step.StepDays > 0 ? (PeriodEnd.Mjd - PeriodStart.Mjd) / Step.StepDays + 1 : 1;
  }
  const double increment = ProgressIncrement(estimate);

  // The finishing runs on every way out of the loop, exceptions included
  // (after the progress panel is gone: the session is the inner scope).
  struct TFinisher {
    TKeplereph& self;
    TCellSink& sink;
    ~TFinisher() {
      if (sink.IsGrid()) {
        tmystringgrid& grid = static_cast<TGridSink&>(sink).Grid();
        grid.SetColCount(std::max(2, self.OutputColumn));
        grid.SetRowCount(std::max(2, self.OutputRow));
        return;
      }
      TSheet& sheet = static_cast<TSheetSink&>(sink).Sheet();
      CentreFirstRowAndFit(sheet);
    }
  };

  if (sink.IsGrid()) {
    tmystringgrid& grid = static_cast<TGridSink&>(sink).Grid();
    grid.SetRowCount(std::max(2, rows + 1));
    grid.SetColCount(2);  // grows with what is written
  } else {
    static_cast<TSheetSink&>(sink).Sheet().SetColWidth(-1, -1, kDefaultSheetColumnWidth, true);
  }

  OutputRow = 1;
  OutputColumn = 1;
  TFinisher finisher{*this, sink};
  int k = 1;  // the next data row
  {
    ProgressSession session(CurrentProgress(), Language != 0 ? "Formatting table" : "Tabelle wird formatiert",
                            kProgressScale);
    ProgressReporter& progress = session.Reporter();
    ShowTableProgress(1, "");
    progress.Step(0);
    int last = 0;
    for (int r = 1; r <= rows + 1; ++r) {
      const int position = static_cast<int>(std::trunc(r * increment));
      if (position != last) {
        last = position;
        progress.Step(position);
      }
      progress.ProcessEvents();
      OutputColumn = 1;
      const bool heading = r == 1;
      writeRow(sink, k, heading);
      ++OutputRow;
      if (!heading) ++k;
      if (AbortRequested != 0) break;
    }
  }
  if (AbortRequested != 0) {
    // The rows written stay in the sheet; Rows says how many they are.
    Rows = k - 1;
    Stopped = 1;
  }
  AbortRequested = 0;
}

void TKeplereph::WriteTimeColumns(TCellSink& sink, int row, const TEphemerisResultRecord& r, bool heading) {
  if (TimeOfDayColumnOn()) {
    const int col = OutputColumn++;
    if (heading) {
      WriteHeadingCell(sink, row, col, 1, TableConfig.ColumnTitles[1], true);
    } else {
      sink.Value(TCellFamily::TimeOfDay, row, col, 1, r.LocalHours);
    }
  }
  if (ColumnOn(cf::kJulianDate)) {
    const int col = OutputColumn++;
    if (heading) {
      WriteHeadingCell(sink, row, col, 3, TableConfig.ColumnTitles[3], true);
    } else {
      sink.Value(TCellFamily::Number, row, col, 3, r.JD);
    }
  }
}

void TKeplereph::WriteHeadingCell(TCellSink& sink, int row, int column, int slot, const std::string& text, bool width) {
  if (width) sink.Width(column, slot);
  sink.Text(row, column, text);
}

// -------------------------------------------------------- ephemeris table

void TKeplereph::WriteToOutput(bool toSheet, const std::function<void(TCellSink&)>& write) {
  if (toSheet) {
    if (OutputSheet == nullptr) return;
    TSheetSink sink(*OutputSheet);
    write(sink);
  } else {
    if (OutputGrid == nullptr) return;
    TGridSink sink(*OutputGrid, OutputSettings);
    write(sink);
  }
}

void TKeplereph::WriteRowsToOutput(bool toSheet, std::uint8_t rowCountFlag,
                                   const std::function<void(TCellSink&, int k, bool heading)>& writeRow) {
  WriteToOutput(toSheet, [&](TCellSink& sink) { WriteTableFrame(sink, rowCountFlag, writeRow); });
}

void TKeplereph::paintdms(std::uint8_t rowCountFlag) {
  WriteRowsToOutput(true, rowCountFlag,
                    [this](TCellSink& s, int k, bool heading) { WriteEphemerisRow(s, k, heading); });
}

void TKeplereph::paintdms_grid(std::uint8_t rowCountFlag) {
  WriteRowsToOutput(false, rowCountFlag,
                    [this](TCellSink& s, int k, bool heading) { WriteEphemerisRow(s, k, heading); });
}

void TKeplereph::ChooseLayout(const TEphemerisResultRecord& first) {
  // The layout of the whole table comes from its first row, so that a row
  // without a value (a mean anomaly of -1000) keeps its cells under the
  // right headings.
  layout_.clear();
  nameColumn_ = !first.Name.empty();
  const std::uint16_t body = BodyBit(BodyIndex);
  const bool elementBlock =
      ColumnOn(cf::kSummaryElements) && ((BodyIndex >= 1 && BodyIndex <= 9 && OutputSettings.Vsop82Available != 0) ||
                                         (BodyIndex > kBodyIndexMoon && first.Integrated != 0));
  for (const TColumnDescriptor& d : ColumnCatalogue()) {
    if ((d.Bodies & body) == 0) continue;
    if (d.Hook == TColumnHook::Elements && !elementBlock) continue;
    if (d.Hook == TColumnHook::None) {
      if (d.Group != 0 && !ColumnOn(d.Group)) continue;
      // Flag 4 asks for the date alone: the time column stands while it is
      // off or the rows lie a fraction of a day apart.
      const bool on = d.Flag == cf::kDateOnly ? TimeOfDayColumnOn() : ColumnOn(d.Flag);
      if (!on) continue;
      if (d.Rule == TColumnRule::MeanAnomaly && first.MeanAnomaly == kNoMeanAnomaly) continue;
    }
    layout_.push_back(&d);
  }
}

void TKeplereph::WriteEphemerisRow(TCellSink& sink, int k, bool heading) {
  const TEphemerisResultRecord& R = RowStore.Row(k - 1);
  const bool english = Language != 0;
  const int row = OutputRow;

  if (heading) ChooseLayout(R);

  // Name column and date column.
  if (nameColumn_) {
    const int col = OutputColumn++;
    if (heading) {
      std::string jd;
      if (sink.IsGrid()) {
        RealToStrFixed(1, 4, jd, R.JD);
        jd = FloatToTextSep(TrimLeadingBlanks(jd));
      } else {
        FormatNumberForSlot(3, jd, R.JD);
      }
      WriteHeadingCell(sink, row, col, 0, "JD: " + jd, true);
    } else {
      sink.Text(row, col, R.Name);
    }
  }
  {
    const int col = OutputColumn++;
    if (heading) {
      std::string title;
      if (!nameColumn_) {
        title = Name.empty() ? ObjectName : Name;
      } else {
        if (sink.IsGrid()) title = english ? "Date" : "Datum";
        std::string jd;
        FormatNumberForSlot(3, jd, R.JD);
        ShowTableProgress(0, jd);
      }
      WriteHeadingCell(sink, row, col, 0, title, true);
    } else {
      sink.Date(row, col, 0, R.Year, R.Month, R.Day);
      if (sink.IsGrid()) ShowTableProgress(1, "");
    }
  }

  TRowValues v;
  v.R = &R;
  v.AzimuthOrigin = OutputSettings.AzimuthOrigin;
  v.EventLevel = BodyIndex == kBodyIndexMoon ? TRiseSetBlock::kMoonLevel : TRiseSetBlock::kBodyLevel;
  if (!heading && BodyIndex != 0 && BodyIndex != kBodyIndexMoon) {
    EquatorialVectors(v, Equinox, BodyIndex > kBodyIndexMoon);
  }

  for (const TColumnDescriptor* d : layout_) {
    if (d->Hook == TColumnHook::MoonExtras) {
      if (sink.IsGrid()) {
        paintzusatz_grid(static_cast<TGridSink&>(sink).Grid(), k, OutputSettings.FontScale, heading ? 1 : 0);
      } else {
        paintzusatz(k, heading ? 1 : 0);
      }
      continue;
    }
    if (d->Hook == TColumnHook::Elements) {
      int col = OutputColumn;
      if (BodyIndex <= 9) {
        TOsculatingElements el = TOsculatingElements::Unknown();
        const long double mass = PlanetMassRatio(BodyIndex);
        if (!heading) {
          PlanetPositionsVsop82(settings_, TheorySelection, OutputSettings.Vsop82Available, BodyIndex,
                                R.JD + DeltaT(R.JD) / 86400.0, mass, el);
        }
        WriteOsculatingElements(sink, 0, 0, R, {}, el, mass, kJ2000, row, col, heading);
      } else {
        TStateVectorExt state;
        for (std::size_t j = 0; j < 3; ++j) {
          state[j] = R.Integrated != 0 ? v.ElementsPosition[j] : Nan();
          state[j + 3] = R.Integrated != 0 ? v.ElementsVelocity[j] : Nan();
        }
        WriteOsculatingElements(sink, 1, 0, R, state, {}, 0, EquinoxJulianDay(Equinox), row, col, heading);
      }
      OutputColumn = col;
      continue;
    }

    WriteCatalogueCell(sink, *d, v, heading);
  }
}

void TKeplereph::WriteCatalogueCell(TCellSink& sink, const TColumnDescriptor& d, const TRowValues& v, bool heading) {
  const TEphemerisResultRecord& R = *v.R;
  const int row = OutputRow;
  const bool english = Language != 0;
  const int col = OutputColumn++;
  if (heading) {
    const std::string& title = TableConfig.ColumnTitles[static_cast<std::size_t>(d.HeadingSlot)];
    std::string text;
    switch (d.Heading) {
      case TColumnHeading::Plain:
      case TColumnHeading::DarkFirst:
        text = title;
        break;
      case TColumnHeading::SecondEquinox:
        text = title + OutputSettings.SecondEquinoxText;
        break;
      case TColumnHeading::DarkUntil:
        text = english ? "up to" : "bis";
        break;
      case TColumnHeading::DarkSecond:
        text = (english ? "2nd " : "2. ") + title;
        break;
    }
    WriteHeadingCell(sink, row, col, d.HeadingSlot, text, d.OwnWidth);
    return;
  }

  double value = d.Value(v);
  TCellFamily family = d.Family;
  switch (d.Rule) {
    case TColumnRule::None:
      break;
    case TColumnRule::EventTime:
    case TColumnRule::Twilight:
      if (value == 0) {
        sink.Text(row, col, d.Rule == TColumnRule::Twilight && d.Text ? d.Text(v) : kEmpty);
        return;
      }
      if (OutputSettings.RiseSetAsJulianDate != 0) {
        sink.Value(TCellFamily::Number, row, col, 3, JulianDayFromLocalDate(R.Day, R.Month, R.Year, value, Observer));
        return;
      }
      break;
    case TColumnRule::Darkness:
      if (value < 0) {
        sink.Text(row, col, "----");
        return;
      }
      break;
    case TColumnRule::NonNegative:
      if (value < 0) value = 0;
      break;
    case TColumnRule::Azimuth:
      if (value == kNoAzimuth) {
        sink.Text(row, col, kEmpty);
        return;
      }
      value = Mod360(value + OutputSettings.AzimuthOrigin);
      break;
    case TColumnRule::TransitAltitude:
      if (!R.RiseSet.HasTransit()) {
        sink.Text(row, col, kEmpty);
        return;
      }
      break;
    case TColumnRule::MeanAnomaly:
      if (value == kNoMeanAnomaly) {
        sink.Text(row, col, kEmpty);
        return;
      }
      family = sink.MeanAnomalyFamily();
      break;
  }
  sink.Value(family, row, col, d.Slot, value, d.Text != nullptr ? d.Text(v) : kEmpty);
}

// ---------------------------------------------------- Moon's extra block

void TKeplereph::WriteMoonExtraColumns(TCellSink& sink, const TEphemerisResultRecord& R, bool heading) {
  const int row = OutputRow;
  auto cell = [&](int slot, double value) {
    const int col = OutputColumn++;
    if (heading) {
      WriteHeadingCell(sink, row, col, slot, TableConfig.ColumnTitles[static_cast<std::size_t>(slot)], true);
    } else {
      sink.Value(TCellFamily::Number, row, col, slot, value);
    }
  };
  const auto& c = R.Moon.FurtherCoordinates;
  if (ColumnOn(cf::kMoonEclipticPosition)) {
    for (int j = 0; j < 3; ++j) cell(108 + j, c[static_cast<std::size_t>(3 + j)]);
  }
  if (ColumnOn(cf::kMoonEclipticPositionJ2000)) {
    for (int j = 0; j < 3; ++j) cell(111 + j, c[static_cast<std::size_t>(j)]);
  }
  if (ColumnOn(cf::kMoonDistanceKm)) cell(175, std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]));
  if (ColumnOn(cf::kMoonHeliocentricPosition)) {
    cell(117, R.Position.HelioX * kEarthRadiusAU);
    cell(118, R.Position.HelioY * kEarthRadiusAU);
    cell(119, R.Position.HelioZ * kEarthRadiusAU);
  }
}

void TKeplereph::paintzusatz(int k, std::uint8_t heading) {
  if (OutputSheet == nullptr || k < 1 || k > RowStore.Count()) return;
  TSheetSink sink(*OutputSheet);
  WriteMoonExtraColumns(sink, RowStore.Row(k - 1), heading != 0);
}

void TKeplereph::paintzusatz_grid(tmystringgrid& grid, int k, double widthScale, std::uint8_t heading) {
  if (k < 1 || k > RowStore.Count()) return;
  TTableOutputSettings settings = OutputSettings;
  settings.FontScale = widthScale;
  TGridSink sink(grid, settings);
  WriteMoonExtraColumns(sink, RowStore.Row(k - 1), heading != 0);
}

// ------------------------------------------------ osculating elements

void TKeplereph::WriteOsculatingElements(TCellSink& sink, std::uint8_t stateFlag, std::uint8_t eclipticFlag,
                                         const TEphemerisResultRecord& R, const TStateVectorExt& state,
                                         const TOsculatingElements& elements, long double mass, double equinoxJd,
                                         int row, int& column, bool heading) {
  TOsculatingElements el = elements;
  if (!heading && stateFlag != 0) el = ElementsOfState(state, eclipticFlag != 0, R.JD, mass, equinoxJd);
  auto cell = [&](std::size_t flag, int slot, double value) {
    if (!ColumnOn(flag)) return;
    const int col = column++;
    if (heading) {
      WriteHeadingCell(sink, row, col, slot, TableConfig.ColumnTitles[static_cast<std::size_t>(slot)], true);
    } else {
      sink.Value(TCellFamily::Number, row, col, slot, value);
    }
  };
  cell(cf::kElementSemiMajorAxis, 135, D(el.a));
  cell(cf::kElementPerihelionDistance, 136, D(el.q));
  cell(cf::kElementEccentricity, 137, D(el.e));
  cell(cf::kElementInclination, 138, D(el.i));
  cell(cf::kElementNode, 139, D(el.node));
  cell(cf::kElementArgumentOfPerihelion, 140, D(el.argPerihelion));
  cell(cf::kElementLongitudeOfPerihelion, 141, D(el.lonPerihelion));
  cell(cf::kElementMeanAnomaly, 142, D(el.M));
  cell(cf::kElementMeanMotion, 143, D(el.n));
  if (stateFlag != 0) cell(cf::kElementPerihelionTime, 144, D(el.perihelionTime));
  cell(cf::kElementEquinoxYear, 147, 2000.0 + (equinoxJd - kJ2000) * kYearsPerDay);
  cell(cf::kElementEquinoxJulianDate, 148, equinoxJd);
  if (ColumnOn(cf::kGaussVectors)) {
    TMatrix33 m{};
    const bool known = std::isfinite(D(el.node)) && std::isfinite(D(el.i)) && std::isfinite(D(el.argPerihelion));
    if (known) GaussVectors(m, D(el.node), D(el.i), D(el.argPerihelion));
    for (int j = 0; j < 6; ++j) {
      const double value = known ? m.m[j % 3][j / 3] : Nan();
      cell(cf::kGaussVectors, 169 + j, value);
    }
  }
}

void TKeplereph::WriteOsculatingElementColumns(std::uint8_t stateFlag, std::uint8_t eclipticFlag,
                                               const TEphemerisResultRecord& record, const TStateVectorExt& state,
                                               const TOsculatingElements& elements, long double mass, double equinoxJd,
                                               int row, int& column, std::uint8_t heading, TSheet& sheet) {
  TSheetSink sink(sheet);
  WriteOsculatingElements(sink, stateFlag, eclipticFlag, record, state, elements, mass, equinoxJd, row, column,
                          heading != 0);
}

void TKeplereph::WriteOsculatingElementColumnsToGrid(std::uint8_t stateFlag, std::uint8_t eclipticFlag,
                                                     const TEphemerisResultRecord& record, const TStateVectorExt& state,
                                                     const TOsculatingElements& elements, long double mass,
                                                     double equinoxJd, int row, int& column, std::uint8_t heading,
                                                     tmystringgrid& grid) {
  TGridSink sink(grid, OutputSettings);
  WriteOsculatingElements(sink, stateFlag, eclipticFlag, record, state, elements, mass, equinoxJd, row, column,
                          heading != 0);
}

// ----------------------------------------------------------- element tables

void TKeplereph::WriteElementRow(TCellSink& sink, int row, int& column, bool heading, std::uint8_t stateFlag,
                                 std::uint8_t eclipticFlag, const TEphemerisResultRecord& R,
                                 const TStateVectorExt& state, double equinoxJd, const TOsculatingElements& elements) {
  TOsculatingElements el = elements;
  if (!heading && stateFlag != 0) el = ElementsOfState(state, eclipticFlag != 0, R.JD, 0, equinoxJd);
  auto cell = [&](int slot, double value, TCellFamily family = TCellFamily::Number) {
    const int col = column++;
    if (heading) {
      WriteHeadingCell(sink, row, col, slot, TableConfig.ColumnTitles[static_cast<std::size_t>(slot)], true);
    } else {
      sink.Value(family, row, col, slot, value);
    }
  };
  const bool asteroid = BodyIndex == kBodyIndexAsteroid;
  if (asteroid) {
    cell(135, D(el.a));
  } else {
    cell(136, D(el.q));
  }
  cell(137, D(el.e));
  cell(138, D(el.i));
  cell(139, D(el.node));
  cell(140, D(el.argPerihelion));
  if (asteroid) {
    cell(142, D(el.M));
    cell(143, D(el.n));
  }
  cell(147, 2000.0 + (equinoxJd - kJ2000) * kYearsPerDay);
  if (asteroid) {
    cell(164, R.JD);
  } else {
    cell(144, D(el.perihelionTime));
  }
  cell(165, R.MagnitudeH, TCellFamily::ElementMagnitude);
  cell(166, R.MagnitudeG, TCellFamily::ElementMagnitude);
  if (BodyIndex > kBodyIndexAsteroid) cell(164, R.JD);
}

void TKeplereph::WriteElementRowToSheet(TSheet& sheet, int row, int& column, std::uint8_t heading,
                                        std::uint8_t stateFlag, std::uint8_t eclipticFlag,
                                        const TEphemerisResultRecord& record, const TStateVectorExt& state,
                                        double equinoxJd, const TOsculatingElements& elements) {
  TSheetSink sink(sheet);
  WriteElementRow(sink, row, column, heading != 0, stateFlag, eclipticFlag, record, state, equinoxJd, elements);
}

void TKeplereph::WriteElementRowToGrid(tmystringgrid& grid, int row, int& column, std::uint8_t heading,
                                       std::uint8_t stateFlag, std::uint8_t eclipticFlag,
                                       const TEphemerisResultRecord& record, const TStateVectorExt& state,
                                       double equinoxJd, const TOsculatingElements& elements) {
  TGridSink sink(grid, OutputSettings);
  WriteElementRow(sink, row, column, heading != 0, stateFlag, eclipticFlag, record, state, equinoxJd, elements);
}

void TKeplereph::WriteElementTableRow(TCellSink& sink, int k, bool heading) {
  const TEphemerisResultRecord& R = RowStore.Row(k - 1);
  const int row = OutputRow;
  if (heading) nameColumn_ = !R.Name.empty();
  if (nameColumn_) {
    const int col = OutputColumn++;
    if (heading) {
      const char* magic =
          BodyIndex == kBodyIndexAsteroid ? ":BAHNELEMENTE PLANETOIDEN VAMUR" : ":BAHNELEMENTE KOMETEN VAMUR EXT";
      WriteHeadingCell(sink, row, col, 0, magic, true);
    } else {
      sink.Text(row, col, R.Name);
    }
  }
  if (!heading || nameColumn_) ShowTableProgress(0, R.Name);
  if (BodyIndex <= kBodyIndexMoon) return;
  TRowValues v;
  v.R = &R;
  TStateVectorExt state{};
  if (!heading) {
    EquatorialVectors(v, Equinox, true);
    for (std::size_t j = 0; j < 3; ++j) {
      state[j] = v.ElementsPosition[j];
      state[j + 3] = v.ElementsVelocity[j];
    }
  }
  int col = OutputColumn;
  WriteElementRow(sink, row, col, heading, 1, 0, R, state, EquinoxJulianDay(Equinox), {});
  OutputColumn = col;
}

void TKeplereph::paintelemente(std::uint8_t rowCountFlag, std::uint8_t sheetFlag) {
  if (sheetFlag == 0) {
    paintelemente_grid(rowCountFlag);
    return;
  }
  WriteRowsToOutput(true, rowCountFlag,
                    [this](TCellSink& s, int k, bool heading) { WriteElementTableRow(s, k, heading); });
}

void TKeplereph::paintelemente_grid(std::uint8_t rowCountFlag) {
  WriteRowsToOutput(false, rowCountFlag,
                    [this](TCellSink& s, int k, bool heading) { WriteElementTableRow(s, k, heading); });
}

// ------------------------------------------------------------------- export

void TKeplereph::exportzeile(std::ostream& out) {
  const int rows = std::min<int>(Rows, RowStore.Count());
  std::string line;
  for (int k = 0; k < rows; ++k) {
    const TEphemerisResultRecord& R = RowStore.Row(k);
    std::string name = R.Name.empty() ? Name : R.Name;
    if (name.size() > kResultNameLength) name.resize(kResultNameLength);
    std::string day = std::to_string(R.Day);
    if (day.size() < 5) day.insert(0, 5 - day.size(), ' ');
    line.clear();
    line += ExportNumber(4, 5, R.Position.RightAscension);
    line += ';';
    line += ExportNumber(4, 5, R.Position.Declination);
    line += ';';
    line += name;
    line += ';';
    line += day;
    line += ';';
    line += ExportNumber(10, 5, R.JD);
    line += '\n';
    out << line;
  }
}

bool TKeplereph::ExportRowsToFile(const std::string& path, std::string& error) {
  std::ostringstream text;
  exportzeile(text);
  if (!text) {
    error = "The rows could not be turned into text.";
    return false;
  }
  return WriteFileReplacing(path, text.str(), error);
}

}  // namespace kvx
