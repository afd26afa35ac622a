// The table set-up around the main window's table configuration, from the
// menu and the table tool bar: the ten column-set buttons, the
// configuration dialog's preview kept between openings with the planets'
// element columns (present with the VSOP82 library), those columns in a
// Mars table, the Julian-date switch reaching the tables, and the legend
// with the configured headings; OK in the set-up computes the table on the
// sheet again while the user has not written into it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QToolBar>

#include "app/ui/legend_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/column_flags.h"
#include "setup/column_sets.h"
#include "setup/ui/table_config_dialog.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"

namespace kvx {
namespace {

using test::SavePng;
using test::WhenModalShown;

class TableSetupCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 0;
  }
  void TearDown() override { LanguageEnglish = 1; }
};

bool PreviewShows(const QTableWidget& preview, const QString& heading) {
  for (int r = 0; r < preview.rowCount(); ++r) {
    for (int c = 0; c < preview.columnCount(); ++c) {
      if (preview.item(r, c) != nullptr && preview.item(r, c)->text() == heading) return true;
    }
  }
  return false;
}

TEST_F(TableSetupCommands, ToolBarPresetsPreviewPlanetElementsAndLegend) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  InstallLegendCommand(form);
  ScopedMessageSink sink(messages_);
  TMenuCommands& c = form.Commands();
  TMainFormState& s = form.State();
  TColumnFlags& flags = s.Period.TableConfig.Flags;
  c.Action("TabellengrenWerkzeug1")->trigger();
  QApplication::processEvents();
  ASSERT_TRUE(c.ToolBar("TabellenToolbar")->isVisible());
  SavePng(*c.ToolBar("TabellenToolbar"), "table_toolbar");

  // Each button puts its set into the main window's configuration with the
  // group summaries; "Standard" and "Alles wählen" their own sets.
  const std::pair<const char*, void (*)(TColumnFlags&)> buttons[] = {
      {"SpeedButton34", ColumnPresetE},   {"SpeedButton35", ColumnPresetF}, {"SpeedButton36", ColumnPresetA},
      {"SpeedButton37", ColumnPresetB},   {"SpeedButton38", ColumnPresetG}, {"SpeedButton39", ColumnPresetC},
      {"SpeedButton40", ColumnPresetH},   {"SpeedButton41", ColumnPresetD}, {"SpeedButton42", SetDefaultColumns},
      {"SpeedButton43", SelectAllColumns}};
  for (const auto& [button, set] : buttons) {
    flags.fill(0);
    TColumnFlags expected{};
    set(expected);
    RecomputeColumnSummaries(expected);
    ASSERT_TRUE(c.IsEnabled(button)) << button;
    c.Action(button)->trigger();
    EXPECT_EQ(flags, expected) << button;
    EXPECT_EQ(s.Table.TableChanged, 1) << button;
  }
  EXPECT_EQ(flags[4], 0) << "select all: date and time";
  c.Action("SpeedButton41")->trigger();  // the asteroids' orbital elements
  EXPECT_EQ(flags[column_flag::kSummaryElements], 1);
  EXPECT_EQ(flags[column_flag::kSummaryPhysical], 0);

  // The dialog: Mars shows the element columns (the VSOP82 library is
  // present); the preview entry and the Julian-date switch stay after OK.
  ASSERT_EQ(form.TheoryState().Libraries.Vsop82, 1);
  int marsEntry = -1;
  WhenModalShown<Ttabconfig>([&](Ttabconfig& d) {
    auto* entry = d.findChild<QComboBox*>(QStringLiteral("previewFor"));
    EXPECT_EQ(entry->currentIndex(), 0);
    marsEntry = entry->findText(QStringLiteral("Mars"));
    entry->setCurrentIndex(marsEntry);
    EXPECT_TRUE(PreviewShows(*d.findChild<QTableWidget*>(QStringLiteral("preview")), QStringLiteral("a")));
    d.findChild<QCheckBox*>(QStringLiteral("julianSwitch"))->setChecked(true);
    SavePng(d, "table_config_mars_elements");
    d.findChild<QPushButton*>(QStringLiteral("ok"))->click();
  });
  c.Action("Tabellenkonfigurieren1")->trigger();
  ASSERT_GT(marsEntry, 0);
  EXPECT_EQ(s.Table.TableConfigPreview, marsEntry);
  EXPECT_EQ(s.Table.RiseSetAsJulianDate, 1);
  WhenModalShown<Ttabconfig>([&](Ttabconfig& d) {
    EXPECT_EQ(d.findChild<QComboBox*>(QStringLiteral("previewFor"))->currentIndex(), marsEntry);
    d.reject();
  });
  c.Action("SpeedButton45")->trigger();

  // A Mars table writes the element block: its heading and a semi-major
  // axis near 1.52 AU.
  s.Table.PlaceConfirmed = 1;
  c.Action("Mars1")->trigger();
  workbook::TWorkbook& book = form.Workbook();
  int aColumn = 0;
  for (int col = 1; col <= 40 && aColumn == 0; ++col) {
    for (int row = 1; row <= 3; ++row) {
      if (book.Text(row, col) == "a") aColumn = col;
    }
  }
  ASSERT_GT(aColumn, 0) << "no element column in the Mars table";
  EXPECT_NEAR(book.Number(book.LastRow(), aColumn), 1.5237, 0.001);

  // The legend lists the configured headings.
  s.Period.TableConfig.ColumnTitles[16] = "Rekt.";
  WhenModalShown<TLegendendlg>([](TLegendendlg& legend) {
    EXPECT_TRUE(legend.List()->item(16)->text().startsWith(QStringLiteral("Rekt.: ")));
    legend.SearchEdit()->setText(QStringLiteral("rekt"));
    EXPECT_EQ(legend.List()->currentRow(), 16);
    SavePng(legend, "legend_configured_headings");
    legend.accept();
  });
  c.Action("Legende1")->trigger();

  // OK in the set-up (F8) computes the table on the sheet again: a Mars
  // table of rise and set with the Julian-date switch on, then off; once the
  // user has written into the sheet, OK leaves the sheet as it is.
  c.Action("SpeedButton37")->trigger();
  c.Action("Mars1")->trigger();
  int riseColumn = 0;
  for (int col = 1; col <= book.LastCol() && riseColumn == 0; ++col) {
    if (book.Text(1, col) == "Aufgang" || book.Text(1, col) == "Rise") riseColumn = col;
  }
  ASSERT_GT(riseColumn, 0);
  const std::string riseAsJulianDate = book.Text(2, riseColumn);
  auto julianSwitch = [&c](bool on) {
    WhenModalShown<Ttabconfig>([on](Ttabconfig& d) {
      d.findChild<QCheckBox*>(QStringLiteral("julianSwitch"))->setChecked(on);
      d.findChild<QPushButton*>(QStringLiteral("ok"))->click();
    });
    c.Action("Tabellenkonfigurieren1")->trigger();
  };
  julianSwitch(false);
  const std::string riseAsTime = book.Text(2, riseColumn);
  EXPECT_NE(riseAsTime, riseAsJulianDate) << "the Mars table computed again";
  EXPECT_EQ(s.Table.PreviousTableKind, 71);
  book.SetText(book.LastRow() + 2, 1, "Notiz");
  julianSwitch(true);
  EXPECT_EQ(book.Text(2, riseColumn), riseAsTime) << "a sheet the user changed is kept";
  EXPECT_EQ(book.Text(book.LastRow(), 1), "Notiz");
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
}

}  // namespace
}  // namespace kvx
