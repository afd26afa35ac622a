// The occultations of stars by planets from the menu: the options dialog
// (the asteroid box, the bar's end, the name search, its refusals, cancel)
// and the table of Jupiter and Saturn over a year in the sheet.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTimer>
#include <functional>
#include <string>

#include "app/ui/occultation_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/name_tables.h"
#include "engine/ui/mystringgrid_view.h"
#include "platform/qt/workbook_view.h"
#include "eclipses/ui/planet_occultation_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::WhenModalShown;
using test::SetDate;
using test::SavePng;

class PlanetStarOccultationCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 1;
  }
};

TEST_F(PlanetStarOccultationCommands, DialogAndTableFromTheMenu) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMainFormState& state = form.State();
  state.DataFolder = std::string(KVX_FIXTURE_DIR) + "/../../../data";
  state.StarCatalogue.Setting = 1;
  state.StarCatalogue.SelectedStar = -1;
  form.PublishStarCatalogue(nullptr);
  ASSERT_TRUE(form.Commands().IsEnabled("OccultationsofStarsbyPlanets1"));

  TStarCatalogueAccess access;
  int loads = 0;
  access.Current = [&form] { return form.StarCatalogue(); };
  access.Ensure = [&form, &loads](const std::function<void(int)>& progress) {
    ++loads;
    form.EnsureStarCatalogue(progress);
    return form.StarCatalogue();
  };
  TPlanetOccultationChoice choice;
  choice.Bodies = {0, 0, 0, 1, 0, 0, 0, 0, 1};
  choice.AsteroidDiameter = 500;
  {
    // No asteroid: the box and the diameter stay hidden.
    TPloccultform none(choice, 2, "Kein Planetoid", access);
    none.show();
    EXPECT_TRUE(none.findChild<QCheckBox*>("CheckBox12")->isHidden());
    EXPECT_TRUE(none.findChild<QLineEdit*>("IntegerEdit1")->isHidden());
    EXPECT_EQ(none.findChild<QScrollBar*>("ScrollBar1")->maximum(), 1000);
    EXPECT_EQ(none.Choice().Bodies[8], 0);
  }
  TPloccultform dialog(choice, 1, "Vesta", access);
  dialog.show();
  EXPECT_EQ(dialog.findChild<QCheckBox*>("CheckBox12")->text(), "Vesta");
  EXPECT_FALSE(dialog.findChild<QLineEdit*>("IntegerEdit1")->isHidden());
  EXPECT_EQ(dialog.findChild<QScrollBar*>("ScrollBar1")->maximum(), 800);
  EXPECT_EQ(dialog.findChild<QLabel*>("floatedit1")->text(), QString("8") + QChar(IntlSeparators.Decimal) + "0 mag");
  dialog.findChild<QCheckBox*>("CheckBox2")->click();
  ASSERT_TRUE(form.StarCatalogue()) << "loaded from the dialog";
  dialog.findChild<QLineEdit*>("Edit1")->setText("a");
  const auto& catalogue = *form.StarCatalogue();
  std::int32_t first = 0;
  for (std::int32_t i = 1; i <= catalogue.Count() && first == 0; ++i) {
    std::string name = catalogue.Star(i).Name;
    if (catalogue.Star(i).Magnitude100 <= 800.f && name.find_first_of("aA") != std::string::npos) first = i;
  }
  EXPECT_EQ(dialog.Choice().SelectedStar, first);
  EXPECT_EQ(dialog.findChild<QLabel*>("Label4")->text().toStdString(), catalogue.Star(first).Name);
  SavePng(dialog, "planet_occultation_dialog");
  // Refusals keep the dialog open: a diameter of 2001 km (the old value
  // comes back), an unmatched name, no body.
  dialog.findChild<QLineEdit*>("IntegerEdit1")->setText("2001");
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  ASSERT_FALSE(messages_.messages.empty());
  EXPECT_EQ(messages_.messages.back().text, "Please enter a realistic value (km) for the diameter of an asteroid!");
  EXPECT_EQ(dialog.findChild<QLineEdit*>("IntegerEdit1")->text(), "500");
  EXPECT_EQ(dialog.Choice().AsteroidDiameter, 500);
  {
    // Leaving the edit with 3000 km: one message, 500 back; an OK pressed
    // by the same event does not close the dialog; 1200 km is taken.
    auto* diameter = dialog.findChild<QLineEdit*>("IntegerEdit1");
    const std::size_t before = messages_.messages.size();
    diameter->setText("3000");
    emit diameter->editingFinished();
    dialog.accept();
    ASSERT_EQ(messages_.messages.size(), before + 1);
    EXPECT_EQ(messages_.messages.back().text, "Please enter a realistic value (km) for the diameter of an asteroid!");
    EXPECT_EQ(diameter->text(), "500");
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    QApplication::processEvents();
    diameter->setText("1200");
    emit diameter->editingFinished();
    EXPECT_EQ(messages_.messages.size(), before + 1);
    EXPECT_EQ(dialog.Choice().AsteroidDiameter, 1200);
  }
  dialog.findChild<QLineEdit*>("Edit1")->setText("zzzz");
  dialog.accept();
  EXPECT_EQ(messages_.messages.back().text, "No star with this name found.");
  dialog.findChild<QCheckBox*>("CheckBox2")->click();
  dialog.findChild<QCheckBox*>("CheckBox7")->setChecked(false);
  dialog.findChild<QCheckBox*>("CheckBox12")->setChecked(false);
  dialog.accept();
  EXPECT_EQ(messages_.messages.back().text, "Please choose at least one body.");
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  dialog.reject();
  EXPECT_EQ(loads, 1) << "the catalogue is loaded at most once";

  // Cancel in the dialog keeps every setting.
  TConfigSettings& held = form.HeldConfiguration();
  held.PlanetOccultationBodies = {0, 0, 0, 1, 1, 0, 0, 0, 0};
  held.PlanetOccultationMagnitude = 8.0f;
  held.ConjunctionsOnly = 0;
  WhenModalShown([](QDialog& d) {
    d.findChild<QScrollBar*>("ScrollBar1")->setValue(300);
    d.findChild<QCheckBox*>("CheckBox1")->setChecked(true);
    d.findChild<QPushButton*>("Abbruch")->click();
  });
  form.Commands().Trigger("OccultationsofStarsbyPlanets1");
  EXPECT_EQ(held.PlanetOccultationMagnitude, 8.0f);
  EXPECT_EQ(held.ConjunctionsOnly, 0);
  EXPECT_NE(state.Table.TableKind, 145);

  // Jupiter and Saturn over 2026 from Berlin.
  TObserverRecord& start = state.Period.Start;
  start.Longitude = -13.40;
  start.Latitude = 52.52;
  start.Zone = 1;
  start.DaylightHours = 0;
  start.AutoDeltaT = 0;
  start.DeltaTSeconds = 69;
  SetDate(start, 1, 1, 2026);
  state.Period.AutoEnd = 0;
  TObserverRecord& end = state.Period.End;
  end = start;
  SetDate(end, 1, 1, 2027);
  state.Table.PlaceConfirmed = 1;
  WhenModalShown([](QDialog& d) { d.findChild<QPushButton*>("OK")->click(); });
  form.Commands().Trigger("OccultationsofStarsbyPlanets1");
  EXPECT_EQ(state.Table.PreviousTableKind, 145);
  workbook::TWorkbook& book = form.Workbook();
  const int jd = state.Period.TableConfig.Flags[column_flag::kJulianDate] != 0 ? 1 : 0;
  EXPECT_FALSE(book.Text(2, 1).empty());
  const std::string label = book.Text(2, 9 + jd);
  EXPECT_TRUE(label.find('/') != std::string::npos || book.Text(3, 9 + jd) == "Jupiter" ||
              book.Text(3, 9 + jd) == "Saturn")
      << label;
  SavePng(form, "planet_star_occultation_sheet");
  EXPECT_EQ(form.HourglassDepth(), 0);

  // The same into the grid: the sheet's cells, 13 + c columns.
  state.Document.WorkbookView = 0;
  WhenModalShown([](QDialog& d) { d.findChild<QPushButton*>("OK")->click(); });
  form.Commands().Trigger("OccultationsofStarsbyPlanets1");
  const tmystringgrid& grid = form.Grid();
  EXPECT_EQ(grid.ColCount(), 13 + jd);
  EXPECT_EQ(grid.RowCount(), book.LastRow() + 1) << "every line of the sheet, below the fixed row";
  EXPECT_EQ(grid.Cells(9 + jd, 2), label);
  EXPECT_EQ(grid.Cells(3 + jd, 2), book.Text(2, 3 + jd));
  form.CentralStack()->setCurrentWidget(form.GridView());
  QApplication::processEvents();
  SavePng(form, "planet_star_occultation_grid");
  form.CentralStack()->setCurrentWidget(form.WorkbookView());
  state.Document.WorkbookView = 1;
}

}  // namespace
}  // namespace kvx
