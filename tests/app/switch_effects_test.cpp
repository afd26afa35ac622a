// Every switch of the Options dialog and every stored byte with an effect,
// flipped once as a user flips it (the dialog, or a configuration file
// loaded as at a restart): the readers it feeds show something else, every
// other reader shows what it showed, and flipped back all of them show the
// first state again. A switch that changes nothing fails by its name.
//
// The readers are what a user looks at: a one-row Sun and Moon table with
// every column and fifteen decimals, the asteroid list of a file of numbered
// asteroids, the check boxes of the event and conjunction searches, the
// source of the conjunction lists, the period dialog's automatic length, two
// days of phenomena of Jupiter's moons, a month of the Moon's central-meridian
// passages and, for the rows that need them, the lunar occultations of one
// evening, the occultation dialog's magnitude bar and the result grid.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/config_file.h"
#include "app/ui/catalogue_loader.h"
#include "app/ui/element_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "catalogues/ui/element_dialogs.h"
#include "core/column_flags.h"
#include "core/data_format_slots.h"
#include "core/name_tables.h"
#include "eclipses/ui/lunar_occultation_dialog.h"
#include "engine/ui/mystringgrid_view.h"
#include "events/ui/conjunction_dialog.h"
#include "events/ui/conjunction_list_dialog.h"
#include "events/ui/event_search_dialog.h"
#include "setup/column_sets.h"
#include "setup/data_formats.h"
#include "setup/ui/column_titles_dialog.h"
#include "setup/ui/numeric_options_dialog.h"
#include "support/qt/main_form_test.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;
using test::SetBerlinDate;

using TReading = std::map<std::string, std::string>;

// --- the readers ----------------------------------------------------------------------------

std::string SheetText(const workbook::TWorkbook& book) {
  std::string text;
  for (int row = 1; row <= book.LastRow(); ++row) {
    for (int col = 1; col <= book.LastCol(); ++col) text += book.Text(row, col) + "|";
    text += "\n";
  }
  return text;
}

// Berlin, 29 March 2026 from `startHours` local time for `days`.
void SetPeriod(TMainForm& form, double startHours, double days) {
  TEphemerisPeriodState& p = form.State().Period;
  SetBerlinDate(p.Start, 29, 3, 2026);
  p.Start.AutoDeltaT = 0;
  p.Start.DeltaTSeconds = 69;
  p.Start.LocalHours = startHours;
  LocalTimeToUT(p.Start);
  const std::int32_t lengthDays = p.End.PeriodDays;
  const double lengthHours = p.End.PeriodHours;
  p.End = p.Start;
  p.End.Mjd = p.Start.Mjd + days;
  UTToLocalTime(p.End);
  p.End.PeriodDays = lengthDays;
  p.End.PeriodHours = lengthHours;
  p.AutoEnd = 0;
  SetAutoEndSwitch(p.End, 0);
}

std::string TableOf(TMainForm& form, const char* command) {
  SetPeriod(form, 18.0, 0.5);
  form.Commands().Action(command)->trigger();
  return SheetText(form.Workbook());
}

std::string AsteroidNames(TMainForm& form) {
  const Planetoidentabelle& list = ElementDialogCommandsOf(form)->AsteroidDialog().Planetoidentabelle1;
  std::string names;
  for (int k = 0; k < list.Count(); ++k) names += list.Text(k) + ";";
  return names;
}

std::string Checks(std::initializer_list<const QAbstractButton*> boxes) {
  std::string text;
  for (const QAbstractButton* box : boxes) text += box != nullptr && box->isChecked() ? "1" : "0";
  return text;
}

std::string EventSearchChecks(TMainForm& form) {
  std::string text;
  test::WhenModalAppears<TExtremumsuchen>([&text](TExtremumsuchen& d) {
    text = Checks({d.KeplerCheck, d.TableCheck, d.UsePeriodCheck});
    d.reject();
  });
  form.Commands().Trigger("Ereignissuchen1");
  return text;
}

std::string ConjunctionSearchChecks(TMainForm& form) {
  std::string text;
  test::WhenModalAppears<TKonjunktionsuchen>([&text](TKonjunktionsuchen& d) {
    text = Checks({d.findChild<QCheckBox*>("TopocentricCheck"), d.findChild<QCheckBox*>("PeriodCheck"),
                   d.findChild<QCheckBox*>("TableCheck"), d.KeplerCheck()});
    d.reject();
  });
  form.Commands().Trigger("Kionjunktionen1");
  return text;
}

std::string ConjunctionListSource(TMainForm& form) {
  int source = -1;
  test::WhenModalAppears<TKonjlistdlg>([&source](TKonjlistdlg& d) {
    source = d.Source();
    d.reject();
  });
  form.Commands().Trigger("KonjunktionenfrObjektlisten1");
  return std::to_string(source);
}

std::string PeriodLength(TMainForm& form) {
  const TObserverRecord& end = form.State().Period.End;
  return std::to_string(end.PeriodDays) + " d " + std::to_string(AutomaticPeriodHours(end)) + " h";
}

std::string JupiterPhenomena(TMainForm& form) {
  SetPeriod(form, 0.0, 2.0);
  form.Commands().Trigger("Jupitermondereignisse1");
  return SheetText(form.Workbook());
}

// The Moon's passages of the central meridian over a month, into the sheet
// (the search's own settings are put back). The Moon's interpolation cache
// is fitted anew at the period start, where the window's idle keeper fits
// it: the search then starts from the same fit whether or not the keeper's
// timer runs before it.
std::string MoonMeridianPassages(TMainForm& form) {
  TSearchSettings kept = form.State().Searches;
  SetPeriod(form, 0.0, 30.0);
  TMoonCacheState& cache = form.MoonCache();
  cache.SetSpanDays(cache.SpanDays);
  const TComputingSettings& computing = form.State().Computing;
  const TObserverRecord& start = form.State().Period.Start;
  if (computing.MoonCacheFlag != 0 && cache.Cache) {
    cache.Cache->MoonChebEnsure(computing.MoonOption, form.Selection(), computing.Accuracy.VsopLevelA,
                                (start.Mjd + start.DeltaTSeconds / 86400.0 - 51544.5) / 36525.0);
  }
  test::WhenModalAppears<TExtremumsuchen>([](TExtremumsuchen& d) {
    d.ObjectRadios[9]->click();
    d.KindRadios[22]->click();
    d.UsePeriodCheck->setChecked(true);
    d.TableCheck->setChecked(true);
    d.SearchButton->click();
    d.CloseButton->click();
  });
  form.Commands().Trigger("Ereignissuchen1");
  form.State().Searches = kept;
  return SheetText(form.Workbook());
}

// The Moon's interpolation cache fitted anew from the table's instant, so
// that the table does not depend on the instants of earlier fits.
std::string MoonTable(TMainForm& form) {
  form.MoonCache().SetSpanDays(form.MoonCache().SpanDays);
  return TableOf(form, "Mond1");
}

// The readers every row is checked against.
TReading Read(TMainForm& form) {
  TReading r;
  r["Sun table"] = TableOf(form, "Sonne1");
  r["Moon table"] = MoonTable(form);
  r["asteroid list"] = AsteroidNames(form);
  r["event search"] = EventSearchChecks(form);
  r["conjunction search"] = ConjunctionSearchChecks(form);
  r["conjunction lists"] = ConjunctionListSource(form);
  r["period length"] = PeriodLength(form);
  r["Jupiter's moons"] = JupiterPhenomena(form);
  r["Moon's meridian passages"] = MoonMeridianPassages(form);
  return r;
}

// Readers for one row each.

// Regulus behind the Moon on the evening of 29 March 2026.
std::string LunarOccultations(TMainForm& form) {
  SetPeriod(form, 12.0, 1.0);
  test::WhenModalAppears<QDialog>([](QDialog& d) { d.findChild<QPushButton*>("OKBtn")->click(); });
  form.Commands().Trigger("Sternbedeckungen1");
  return SheetText(form.Workbook());
}

// The catalogue the setting asks for, loaded in the background, in use.
void WaitForCatalogue(TMainForm& form) {
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 60000) {
    const auto catalogue = form.StarCatalogue();
    if (form.StarCatalogueState().Loading == 0 && catalogue &&
        catalogue->Choice() == form.StarCatalogueState().Setting) {
      return;
    }
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
}

std::string OccultationMagnitudeBar(TMainForm& form) {
  WaitForCatalogue(form);
  int maximum = 0;
  test::WhenModalAppears<TSternBedMondFrm>([&maximum](TSternBedMondFrm& d) {
    maximum = d.findChild<QScrollBar*>("ScrollBar1")->maximum();
    d.reject();
  });
  form.Commands().Trigger("Sternbedeckungen1");
  return std::to_string(maximum);
}

// A Sun table in the result grid: its cells, the width of each column and
// whether the cell lines show.
std::string SunGrid(TMainForm& form) {
  TDocumentState& document = form.State().Document;
  document.WorkbookView = 0;
  SetPeriod(form, 18.0, 0.5);
  form.Commands().Action("Sonne1")->trigger();
  const tmystringgrid& grid = form.Grid();
  std::string text;
  for (int col = 1; col < grid.ColCount(); ++col)
    text += grid.Cells(col, 1) + ":" + std::to_string(grid.ColWidths(col)) + " ";
  text += form.GridView()->showGrid() ? "lines" : "no lines";
  document.WorkbookView = 1;
  return text;
}

// --- the flips ---------------------------------------------------------------------------------

void TickOption(TMainForm& form, const char* box) {
  test::WhenModalAppears<TNumOptions>([box](TNumOptions& d) {
    QCheckBox* check = d.findChild<QCheckBox*>(box);
    ASSERT_NE(check, nullptr) << box;
    check->click();
    d.accept();
  });
  form.Commands().Trigger("Optionen2");
}

// Writes the running configuration with one field changed and loads it.
void LoadChanged(TMainForm& form, const fs::path& file, const std::function<void(TConfigSettings&)>& change) {
  TConfigSettings s = form.GatherConfiguration();
  change(s);
  TConfigRecordImage image = form.Configuration().Record();
  GatherConfigRecord(s, image);
  const std::vector<std::uint8_t> bytes = ConfigFileBytes(image);
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(form.LoadConfiguration(file.string()));
  QApplication::processEvents();
}

void FlipByte(TMainForm& form, const fs::path& file, std::uint8_t TConfigSettings::*field) {
  LoadChanged(form, file, [field](TConfigSettings& s) { s.*field = s.*field != 0 ? 0 : 1; });
}

// A row's flip, run twice: on, then back.
using TFlip = std::function<void(TMainForm&, const fs::path&)>;

// Ticks the Options dialog's box `box`.
TFlip Tick(const char* box) {
  return [box](TMainForm& form, const fs::path&) { TickOption(form, box); };
}

// Flips a stored byte through a loaded configuration.
TFlip Byte(std::uint8_t TConfigSettings::*field) {
  return [field](TMainForm& form, const fs::path& file) { FlipByte(form, file, field); };
}

// Loads a configuration with `change` made to the running one.
TFlip Changed(void (*change)(TConfigSettings&)) {
  return [change](TMainForm& form, const fs::path& file) { LoadChanged(form, file, change); };
}

void SetRaWidth(TMainForm& form, int width) {
  test::WhenModalAppears<TSpaltenueberschriften>([width](TSpaltenueberschriften& d) {
    auto* list = d.findChild<QListWidget*>("list");
    ASSERT_NE(list, nullptr);
    list->setCurrentRow(15);  // entry 15 is format slot 16, the right ascension
    auto* spin = d.findChild<QSpinBox*>("width");
    ASSERT_NE(spin, nullptr);
    spin->setValue(width);
    d.accept();
  });
  form.Commands().Trigger("Spaltenberschriften1");
}

struct TSwitchRow {
  std::string Name;
  TFlip Flip;
  std::set<std::string> Changes;                          // the readers that must change
  std::function<std::string(TMainForm&)> OwnReader = {};  // read only for this row
};

class SwitchEffects : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 1;
    formats_ = CurrentDataFormats();
  }
  void TearDown() override { ApplyDataFormats(formats_); }
  TDataFormats formats_;
};

TEST_F(SwitchEffects, EachSwitchChangesItsReaderAndNothingElse) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  InstallBackgroundLoading(form);
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMainFormState& s = form.State();
  s.Computing.WarningsOption = 0;  // no questions about slow theories
  s.Table.PlaceConfirmed = 1;
  SelectAllColumns(s.Period.TableConfig.Flags);
  RecomputeColumnSummaries(s.Period.TableConfig.Flags);
  // Every quantity with all the decimals it can show.
  for (std::size_t slot = 0; slot < DataFormatDecimals.size(); ++slot) {
    if (HasDecimals(DataFormatSlots[slot].valueType)) DataFormatDecimals[slot] = kLargestDecimals;
  }
  ASSERT_NE(form.Selection().MoonTheory(), 0) << "the Moon from the ELP library: its distance option acts";

  // Numbered asteroids in the asteroid dialog's list.
  const fs::path numbered = home_.Path() / "numbered.csv";
  std::ofstream(numbered) << ":a;e;i;node;per;m;n;equinox;epoch;h;g\n"
                          << "(10) Hygiea;3,14;0,11;3,83;283,2;312,3;0,1;2000;2459800,5;5,43;0,15\n"
                          << "(2) Pallas;2,77;0,23;34,93;172,9;310,8;0,2;2000;2459800,5;4,13;0,11\n";
  TElementeplform& asteroids = ElementDialogCommandsOf(form)->AsteroidDialog();
  asteroids.State.FileName = numbered.string();
  form.Commands().Trigger("Planetoiden1");
  asteroids.hide();
  ASSERT_EQ(AsteroidNames(form), "(2) Pallas;(10) Hygiea;");

  const fs::path file = home_.Path() / "flipped.ocf";
  // Not rows here: the fast-search ("Newcomb") and never-slow-ELP switches,
  // which the searches and the rise and set of the Moon read, and the values
  // that are no switch (altitudes, limits, the separator, the integrator).
  const std::vector<TSwitchRow> rows = {
      // The Options dialog.
      {"Umfassende Berechnung", Tick("fullCalculation"), {}, OccultationMagnitudeBar},
      {"FK4-Positionen", Tick("fk4"), {}, LunarOccultations},
      {"Azimut von Nord", Tick("azimuthNorth"), {"Sun table", "Moon table"}},
      {"Genaue Rechenmethoden", Tick("exactSunMoon"), {"Sun table", "Moon table"}},
      {"Genaue Parallaxe", Tick("exactParallax"), {"Moon table"}},
      {"Führende Nullen", Tick("leadingZeros"), {"asteroid list"}},
      {"Abkürzungen", Tick("abbreviations"), {"Jupiter's moons"}},
      {"Geometrische Distanz", Tick("geometricDistance"), {"Moon table", "Moon's meridian passages"}},
      {"Mondkoordinaten interpolieren", Tick("interpolateMoon"), {"Moon table", "Moon's meridian passages"}},
      // Stored bytes, through a loaded configuration.
      {"30533 leading zeros", Byte(&TConfigSettings::LeadingZeros), {"asteroid list"}},
      {"30556 apparent sidereal time",
       Byte(&TConfigSettings::ApparentTime),
       {"Sun table", "Moon table", "Jupiter's moons"}},
      {"30867 topocentric",
       Changed([](TConfigSettings& c) { c.ConjunctionOptions.Topocentric ^= 1; }),
       {"conjunction search"}},
      {"30923 results into a table", Byte(&TConfigSettings::ResultsIntoTable), {"event search", "conjunction search"}},
      {"30952 occultation catalogue",
       Changed([](TConfigSettings& c) { c.OccultationCatalogue = c.OccultationCatalogue == 2 ? 1 : 2; }),
       {},
       OccultationMagnitudeBar},
      {"30968 FK4 positions", Byte(&TConfigSettings::Fk4Positions), {}, LunarOccultations},
      {"31024 azimuth from north", Byte(&TConfigSettings::AzimuthFromNorth), {"Sun table", "Moon table"}},
      {"31026 conjunction search over the period",
       Byte(&TConfigSettings::ConjunctionUsesPeriod),
       {"conjunction search"}},
      {"31027 event search over the period", Byte(&TConfigSettings::EventUsesPeriod), {"event search"}},
      {"31028 exact parallax", Byte(&TConfigSettings::ExactMoonParallax), {"Moon table"}},
      {"31029 exact methods", Byte(&TConfigSettings::ExactSunMoon), {"Sun table", "Moon table"}},
      {"31056 lists over the comets", Byte(&TConfigSettings::ConjunctionListComets), {"conjunction lists"}},
      {"31057 Keplerelemente verwenden",
       Byte(&TConfigSettings::KeplerElementsInverted),
       {"event search", "conjunction search"}},
      {"31058 lists over the database", Byte(&TConfigSettings::ConjunctionListDatabase), {"conjunction lists"}},
      {"31059 abbreviations", Byte(&TConfigSettings::PhenomenaAbbreviations), {"Jupiter's moons"}},
      {"31060 Moon option", Byte(&TConfigSettings::MoonOption), {"Moon table", "Moon's meridian passages"}},
      {"31061 Moon cache", Byte(&TConfigSettings::MoonCacheFlag), {"Moon table", "Moon's meridian passages"}},
      {"31619 cell lines", Byte(&TConfigSettings::CellLines), {}, SunGrid},
      {"32567 period length",
       Changed([](TConfigSettings& c) { c.PeriodDays = c.PeriodDays == 10 ? 3 : 10; }),
       {"period length"}},
      {"33086 rise and set as Julian dates", Byte(&TConfigSettings::RiseSetAsJulianDate), {"Sun table", "Moon table"}},
      // The column widths, edited in the column-titles dialog.
      {"column width of the right ascension",
       [](TMainForm& f, const fs::path&) {
         static bool wide = false;
         wide = !wide;
         SetRaWidth(f, wide ? 200 : 80);
       },
       {},
       SunGrid},
  };

  // Names the readers that changed against those that should have.
  auto compare = [](const TReading& now, const TReading& before, const std::set<std::string>& changes,
                    const std::string& what) {
    for (const auto& [reader, value] : before) {
      const bool expected = changes.count(reader) != 0;
      EXPECT_EQ(now.at(reader) != value, expected) << what << (expected ? " leaves " : " changes ") << reader;
    }
  };
  const TReading first = Read(form);
  ASSERT_EQ(first.at("asteroid list"), "(2) Pallas;(10) Hygiea;");
  for (const TSwitchRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const std::string ownBefore = row.OwnReader ? row.OwnReader(form) : std::string();
    row.Flip(form, file);
    compare(Read(form), first, row.Changes, row.Name);
    if (row.OwnReader) {
      EXPECT_NE(row.OwnReader(form), ownBefore) << row.Name << " changes nothing it feeds";
    }
    row.Flip(form, file);
    compare(Read(form), first, {}, row.Name + " flipped back");
    if (row.OwnReader) {
      EXPECT_EQ(row.OwnReader(form), ownBefore) << row.Name << " flipped back";
    }
  }
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
}

}  // namespace
}  // namespace kvx
