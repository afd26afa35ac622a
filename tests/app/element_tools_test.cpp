// The seasons table and the element calculators from their menu items in
// the main window: the seasons in the sheet and the grid, the calculators'
// input dialogs (checks on leaving an edit, OK held back while a check
// fails) and their kept result windows. PNGs go to test-output.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/ui/element_tool_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "catalogues/asteroid_list.h"
#include "catalogues/ui/astorb_tool.h"
#include "catalogues/ui/element_calculators.h"
#include "catalogues/ui/element_editor_form.h"
#include "catalogues/ui/position_database_tool.h"
#include "catalogues/variable_star_list.h"
#include "setup/location_list.h"
#include "setup/ui/location_editor_form.h"
#include "support/qt/main_form_test.h"
#include "support/recording_file_dialog.h"
#include "core/column_flags.h"
#include "core/name_tables.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/settings_store.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "support/qt/save_png.h"
#include "support/theory_selection.h"
#include "theories/position_file_writer.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

using test::SavePng;

QLineEdit* Edit(QWidget& w, const char* name) { return w.findChild<QLineEdit*>(QString::fromLatin1(name)); }

void Type(TCalculatorDialog& d, const char* name, const char* text) {
  QLineEdit* edit = Edit(d, name);
  ASSERT_NE(edit, nullptr) << name;
  edit->setText(QString::fromUtf8(text));
  d.CheckEdit(edit);
}

class ElementTools : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 0;
  }
};

TEST_F(ElementTools, SeasonsTableFromItsMenuItem) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.resize(1000, 600);
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  TMenuCommands& commands = form.Commands();
  TMainFormState& s = form.State();
  ASSERT_TRUE(commands.IsEnabled("Jahreszeiten1"));
  TObserverRecord& start = s.Period.Start;
  start.Zone = 0;
  start.ZoneMinutes = 0;
  start.DaylightHours = 0;
  start.AutoDeltaT = 0;
  start.DeltaTSeconds = 34;
  start.Mjd = JdToMjd(2437300.5);  // 1961 January 1
  UTToLocalTime(start);
  s.Period.AutoEnd = 0;
  s.Period.End = start;
  s.Period.End.Mjd = start.Mjd + 2 * 365 + 100;  // into 1963
  UTToLocalTime(s.Period.End);
  s.Period.TableConfig.Flags[column_flag::kJulianDate] = 1;
  s.Document.WorkbookView = 1;
  commands.Trigger("Jahreszeiten1");
  workbook::TWorkbook& sheet = form.Workbook();
  EXPECT_EQ(sheet.LastRow(), 13);
  EXPECT_EQ(sheet.LastCol(), 4);
  EXPECT_EQ(sheet.Text(7, 1), SeasonNames[1]);
  // Meeus 27.a: June 21 1962, 21h25m08s TD less 34 s, within a minute.
  EXPECT_NEAR(sheet.Number(7, 4), 2437837.39245 - 34.0 / 86400, 60.0 / 86400);
  SavePng(form, "main_window_seasons_sheet");
  s.Document.WorkbookView = 0;
  commands.Trigger("Jahreszeiten1");
  for (int row = 1; row <= 13; ++row) {
    for (int col = 1; col <= 3; ++col) EXPECT_EQ(form.Grid().Cells(col, row), sheet.Text(row, col)) << row << "," << col;
  }
  EXPECT_EQ(form.Grid().ColCount(), 5);
  SavePng(form, "main_window_seasons_grid");
  // An end year before the start year: nothing computed, the grid keeps
  // its table. A period command afterwards writes nothing either.
  s.Period.End.Year = start.Year - 1;
  commands.Trigger("Jahreszeiten1");
  EXPECT_EQ(form.Grid().Cells(1, 7), SeasonNames[1]);
  s.Document.WorkbookView = 1;
  sheet.ClearRange(-1, -1, -1, -1, 1);
  commands.Trigger("Systemdatum1");
  EXPECT_EQ(sheet.LastRow(), 0);
}

TEST_F(ElementTools, CalculatorsFromTheirMenuItems) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  TMenuCommands& commands = form.Commands();
  TElementToolValues& values = ElementToolValues(form);

  // Mean motion: 0 and text are refused with the message and the last valid
  // value back; OK stays closed while the check fails.
  test::WhenModalShown<TCalculatorDialog>([this](TCalculatorDialog& d) {
    SavePng(d, "calculator_semimajor_axis_input");
    Type(d, "Edit_a", "0");
    EXPECT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(Edit(d, "Edit_a")->text(), QStringLiteral("1.00000000"));
    Edit(d, "Edit_a")->setText(QStringLiteral("abc"));
    d.accept();
    EXPECT_TRUE(d.isVisible()) << "no close after a failed check";
    Type(d, "Edit_a", "2,5");
    d.accept();
  });
  commands.Trigger("TglicheBewegung1");
  EXPECT_EQ(messages_.messages.size(), 2u);
  EXPECT_NE(messages_.messages.back().text.find(LanguageEnglish != 0 ? "positive number" : "positive Zahl"), std::string::npos) << messages_.messages.back().text;
  EXPECT_EQ(values.SemimajorAxis, 2.5);
  auto* motion = form.findChild<QDialog*>(QStringLiteral("TAusg_taegl"));
  ASSERT_NE(motion, nullptr);
  EXPECT_TRUE(motion->isVisible()) << "non-modal and kept";
  EXPECT_EQ(Edit(*motion, "Wert1")->text().toStdString(), CalculatorValueText(MeanDailyMotion(2.5)));
  motion->findChild<QPushButton*>(QStringLiteral("Kopieren0"))->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("2.50000000"));
  SavePng(*motion, "calculator_mean_motion_result");

  // Perihelion distance: e < 0 refused, a = 2.5 with e = 0.2 gives q = 2.
  test::WhenModalShown<TCalculatorDialog>([this](TCalculatorDialog& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Transformation a->q"));
    SavePng(d, "calculator_aq_input");
    Type(d, "Edit_e", "-0.1");
    EXPECT_NE(messages_.messages.back().text.find(LanguageEnglish != 0 ? "e must be >=0." : "e muß >=0 sein!"), std::string::npos);
    Type(d, "Edit_a", "2.5");
    Type(d, "Edit_e", "0.2");
    d.accept();
  });
  commands.Trigger("Periheldistanz1");
  auto* aq = form.findChild<QDialog*>(QStringLiteral("Tq_a_ausform"));
  ASSERT_NE(aq, nullptr);
  EXPECT_EQ(Edit(*aq, "Wert1")->text(), QStringLiteral("2.00000000"));
  SavePng(*aq, "calculator_aq_result");

  // Orientation: the inclination message names the range its check
  // accepts; the equinox buttons; the result as a longitude of perihelion.
  test::WhenModalShown<TCalculatorDialog>([this](TCalculatorDialog& d) {
    Type(d, "Edit_i", "400");
    EXPECT_NE(messages_.messages.back().text.find(LanguageEnglish != 0 ? "i must be >=-360 and <=360!" : "i muß >=-360 und <=360 sein!"), std::string::npos);
    Type(d, "Edit_alt", "x");
    EXPECT_NE(messages_.messages.back().text.find(LanguageEnglish != 0 ? "Old equinox: invalid value" : "Altes Äquinoktium: ungültiger Wert"), std::string::npos);
    Type(d, "Edit_i", "11.93911");
    Type(d, "Edit_Kn", "334.04096");
    Type(d, "Edit_Per", "160.2854");  // 334.04096 + 186.24444 - 360
    d.findChild<QPushButton*>(QStringLiteral("Knopf1950Alt"))->click();
    d.findChild<QPushButton*>(QStringLiteral("Knopf2000Neu"))->click();
    EXPECT_EQ(Edit(d, "Edit_alt")->text(), QStringLiteral("1950.00"));
    d.findChild<QCheckBox*>(QStringLiteral("Perihellaenge"))->setChecked(true);
    SavePng(d, "calculator_orientation_input");
    d.accept();
  });
  commands.Trigger("TransformationBahnlageelemente1");
  auto* orientation = form.findChild<QDialog*>(QStringLiteral("TBahnlageanzeigeform"));
  ASSERT_NE(orientation, nullptr);
  EXPECT_NEAR(Edit(*orientation, "Wert1")->text().toDouble(), 334.75006, 0.001);
  EXPECT_NEAR(Edit(*orientation, "Wert2")->text().toDouble(), 334.75006 + 186.23352 - 360, 0.001);
  EXPECT_EQ(Edit(*orientation, "Wert3")->text(), QStringLiteral("2000.0"));
  SavePng(*orientation, "calculator_orientation_result");
  EXPECT_EQ(values.Orientation.LongitudeOfPerihelion, 1);
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Types `text` into an editor field and leaves it.
void Leave(QLineEdit* edit, const char* text) {
  edit->setText(QString::fromUtf8(text));
  emit edit->textEdited(edit->text());
  emit edit->editingFinished();
}

TEST_F(ElementTools, ElementFileEditorsFromTheirMenuItems) {
  UseDefaultSeparators();
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  test::RecordingFileDialog files;  // no answer queued: every dialog is cancelled
  ScopedFileDialog dialogs(files);
  const fs::path data = home_.Path() / "daten";
  fs::create_directories(data);
  form.State().DataFolder = data.string();
  TMenuCommands& commands = form.Commands();

  // Neither the registered nor the offered asteroid file exists: the
  // cancelled dialog leaves the offered file with its first line and one entry.
  bool ran = false;
  SetElementEditorDriver([&](TElementEditorForm& editor) {
    ran = true;
    TElementEditorModelBase& model = editor.Model();
    ASSERT_EQ(model.List().Count(), 1);
    EXPECT_EQ(editor.Position(), QStringLiteral("1/1"));
    const std::size_t messagesBefore = messages_.messages.size();
    // Half-typed and refused texts bring the stored value back; only the
    // refused one has a message.
    Leave(editor.FieldEdit(2), "");
    EXPECT_EQ(messages_.messages.size(), messagesBefore);
    Leave(editor.FieldEdit(2), "360");
    ASSERT_EQ(messages_.messages.size(), messagesBefore + 1);
    EXPECT_NE(messages_.messages.back().text.find("360"), std::string::npos);
    EXPECT_EQ(model.Field(2), 0.0);
    Leave(editor.FieldEdit(1), "1.5");  // closed orbits only
    EXPECT_EQ(model.Field(1), 0.0);
    Leave(editor.FieldEdit(2), "359,9");
    EXPECT_EQ(editor.Status(), LanguageEnglish != 0 ? QStringLiteral("Saved") : QStringLiteral("Gespeichert"));
    Planetoidentabelle check;
    std::uint8_t kind = 0;
    ASSERT_TRUE(check.Neuedateiladen(kind, (home_.Path() / "daten" / "asteroids.csv").string(), false, 0));
    EXPECT_NEAR(check.Data(0).Inclination, 359.9, 1e-9) << "written on leaving the field";
    // Undo restores the stored entry and writes the file.
    editor.UndoClick();
    ASSERT_TRUE(check.Neuedateiladen(kind, (home_.Path() / "daten" / "asteroids.csv").string(), false, 0));
    EXPECT_EQ(check.Data(0).Inclination, 0.0);
    // New, rename, delete; the only entry cannot be deleted.
    editor.NewClick();
    EXPECT_EQ(model.List().Count(), 2);
    Leave(editor.NameEdit(), "Aaron;x");
    EXPECT_EQ(model.Name(), "Aaronx");
    EXPECT_EQ(editor.Position(), QStringLiteral("1/2")) << "sorted in by its name";
    SavePng(editor, "editor_asteroids");
    editor.DeleteClick();
    editor.DeleteClick();
    EXPECT_EQ(model.List().Count(), 1);
    EXPECT_NE(messages_.messages.back().text.find(LanguageEnglish != 0 ? "cannot delete" : "nicht gelöscht"),
              std::string::npos);
  });
  commands.Trigger("BahnelementedateienfrPlanetoideneditieren1");
  EXPECT_TRUE(ran);
  const std::string created = ReadAll(data / "asteroids.csv");
  EXPECT_EQ(created.rfind(":BAHNELEMENTE PLANETOIDEN VAMUR!;a;e;i;kn;per;M;n;Equinox;Epoch;H;G\r\n", 0), 0u);
  EXPECT_EQ(store_.ReadString("PlEdit", "File").value_or(""), (data / "asteroids.csv").string());

  // Variable stars: the offered file exists and the dialog is cancelled:
  // it is loaded, not overwritten.
  const std::string stars = ":ELEMENTE VARIABLE VAMUR!**Elemente fuer veraenderliche Sterne**\n"
                            "Delta Cep;22,2910;58,2454;3,48;4,37;2436075,445;5,366249;2000;c\n"
                            "Algol;3,0810;40,5721;2,1;3,4;2445641,554;2,867323;2000;b\n"
                            "Mira;2,1920;-2,5848;2;10,1;2444839;331,96;2000;m\n";
  std::ofstream(data / "variables.csv", std::ios::binary) << stars;
  SetElementEditorDriver([&](TElementEditorForm& editor) {
    ASSERT_EQ(editor.Model().List().Count(), 3);
    EXPECT_EQ(editor.Position(), QStringLiteral("1/3"));
    Leave(editor.FieldEdit(0), "24");
    EXPECT_NEAR(editor.Model().Field(0), 3.0810, 1e-9);
    Leave(editor.FieldEdit(1), "90");
    EXPECT_EQ(editor.Model().Field(1), 90.0);
    // The epoch of Algol (the first entry) as a date with day fraction: the
    // dialog opens on 1983 November 3.05 UT; day 1.5 gives 1983 November 1,
    // 12 h UT, JD 2445640.0 (python3-ephem).
    QPushButton* fraction = editor.DayFractionButton(4);
    ASSERT_NE(fraction, nullptr);
    EXPECT_FALSE(fraction->isHidden());
    test::WhenModalShown<QWidget>([](QWidget& modal) {
      auto* day = modal.findChild<QLineEdit*>("ID103");
      ASSERT_NE(day, nullptr);
      EXPECT_EQ(day->text().left(4), "3.05");
      day->setText("1.5");
      QMetaObject::invokeMethod(&modal, "accept");
    });
    fraction->click();
    EXPECT_NEAR(editor.Model().Field(4), 2445640.0, 1e-6);
    SavePng(editor, "editor_variable_stars");
  });
  commands.Trigger("DateienmitVernderlichenSterneneditieren1");
  variablentabelle list;
  ASSERT_TRUE(list.Neuedateiladen((data / "variables.csv").string(), 0, false));
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Data(0).Dec, 90.0);
  EXPECT_EQ(list.Data(2).Type, "m");
  EXPECT_NEAR(list.Data(0).Epoch, 2445640.0, 1e-5) << "the day-fraction entry is written";
  SetElementEditorDriver({});
}

TEST_F(ElementTools, LocationEditorFromItsMenuItem) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  test::RecordingFileDialog files;  // every dialog is cancelled
  ScopedFileDialog dialogs(files);
  const fs::path data = home_.Path() / "daten";
  fs::create_directories(data);
  form.State().DataFolder = data.string();
  TMenuCommands& commands = form.Commands();
  ASSERT_TRUE(commands.IsEnabled("DateienmitGeogrPositioneneditieren1"));
  IntlSeparators.Decimal = '.';
  LanguageEnglish = 0;

  // No registered file, no offered file: the cancelled dialog leaves the
  // offered file with its two header lines and one place.
  bool ran = false;
  SetLocationEditorDriver([&](Tcsved& editor) {
    ran = true;
    EXPECT_EQ(editor.Model().List.Count(), 1);
    EXPECT_EQ(editor.Position(), QStringLiteral("1/1"));
    editor.DeleteClick();
    EXPECT_EQ(editor.Model().List.Count(), 1);
    EXPECT_NE(messages_.messages.back().text.find("nicht gelöscht"), std::string::npos);
  });
  commands.Trigger("DateienmitGeogrPositioneneditieren1");
  EXPECT_TRUE(ran);
  EXPECT_EQ(ReadAll(data / "Locations.csv"),
            ":ORTDATEI VAMUR!\r\n:Ort;Geographische Länge;Geographische Breite;Zeitzone;Postleitzahl\r\n"
            "Neuer Ort;0.0000;0.0000;0;0\r\n");
  EXPECT_EQ(store_.ReadString("OrteEdit", "File").value_or(""), (data / "Locations.csv").string());

  // A registered file with three header lines, a line the list cannot read
  // and Windows line ends.
  const fs::path places = data / "orte.csv";
  std::ofstream(places, std::ios::binary) << ":ORTDATEI VAMUR!\r\n:zwei\r\n:drei\r\n"
                                             "Berlin;-13,2400;52,3100;1;0;10115\r\n"
                                             "kaputt;abc;50;1;0\r\n"
                                             "Oberhausen;-6.5100;51.2800;1;0\r\n";
  store_.WriteString("OrteEdit", "File", places.string());
  SetLocationEditorDriver([&](Tcsved& editor) {
    TLocationEditorModel& model = editor.Model();
    ASSERT_EQ(model.List.Count(), 2);
    const std::size_t before = messages_.messages.size();
    // Half-typed texts are pending: no message, the stored value back.
    Leave(editor.LatitudeEdit(), "-");
    Leave(editor.LatitudeEdit(), "");
    EXPECT_EQ(messages_.messages.size(), before);
    EXPECT_EQ(editor.LatitudeEdit()->text(), QStringLiteral("52.3100"));
    // Out of range: refused with the range message.
    Leave(editor.LatitudeEdit(), "95");
    ASSERT_EQ(messages_.messages.size(), before + 1);
    EXPECT_NE(messages_.messages.back().text.find("-90"), std::string::npos);
    Leave(editor.LongitudeEdit(), "181");
    ASSERT_EQ(messages_.messages.size(), before + 2);
    EXPECT_NE(messages_.messages.back().text.find("-180"), std::string::npos);
    EXPECT_EQ(model.Working.Latitude, 52.31);
    // Packed D.MMSS with whole seconds: 52,3125 stays, 52.75 (75 minutes)
    // becomes 53°15'.
    Leave(editor.LatitudeEdit(), "52,3125");
    EXPECT_EQ(model.List.Place(0).Latitude, 52.3125);
    EXPECT_EQ(editor.Status(), QStringLiteral("Gespeichert"));
    Leave(editor.LongitudeEdit(), "-13.75");
    EXPECT_NEAR(model.List.Place(0).Longitude, -14.15, 1e-12);
    // Undo restores every field of the place as selected, also the extra
    // minutes and the postcode, and writes the file.
    editor.ZoneEdit()->setValue(2);
    editor.ExtraMinutesEdit()->setValue(30);
    emit editor.ExtraMinutesEdit()->editingFinished();
    Leave(editor.PostcodeEdit(), "99999");
    EXPECT_EQ(model.List.Place(0).ExtraMinutes, 30);
    SavePng(editor, "editor_locations");
    editor.UndoClick();
    EXPECT_EQ(model.List.Place(0).Zone, 1);
    EXPECT_EQ(model.List.Place(0).ExtraMinutes, 0);
    EXPECT_EQ(model.List.Place(0).Postcode, "10115");
    EXPECT_EQ(model.List.Place(0).Latitude, 52.31);
    // A new place, renamed (no ";"), then deleted: the last place is selected.
    editor.NewClick();
    EXPECT_EQ(editor.Position(), QStringLiteral("3/3"));
    Leave(editor.NameEdit(), "Bonn;x");
    EXPECT_EQ(model.List.Name(2), "Bonnx");
    Leave(editor.LatitudeEdit(), "50,4400");
    editor.Search(QStringLiteral("ober"));
    EXPECT_EQ(editor.Position(), QStringLiteral("2/3"));
    editor.DeleteClick();
    EXPECT_EQ(editor.Position(), QStringLiteral("2/2"));
    EXPECT_EQ(model.List.Name(1), "Bonnx");
  });
  commands.Trigger("DateienmitGeogrPositioneneditieren1");
  SetLocationEditorDriver({});
  const std::string saved = ReadAll(places);
  EXPECT_EQ(saved, ":ORTDATEI VAMUR!\r\n:zwei\r\n:drei\r\n"
                   "Berlin;-13.2400;52.3100;1;0;10115\r\n"
                   "Bonnx;0.0000;50.4400;0;0\r\n"
                   "kaputt;abc;50;1;0\r\n");
  // Read back by the location list.
  Orttabelle list;
  ASSERT_TRUE(list.Neuedateiladen(places.string(), 1, false));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Latitude(), 50.44);
  EXPECT_EQ(list.PlaceName(), "Bonnx");
}

TEST_F(ElementTools, ConversionToolFromItsMenuItem) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  test::RecordingFileDialog files;
  ScopedFileDialog dialogs(files);
  LanguageEnglish = 0;
  store_.WriteInteger("Astorbtool", "FileType", 2);
  // An MPCORB file of 30 records after its rule line; an older output beside it.
  const fs::path folder = home_.Path() / "kataloge";
  fs::create_directories(folder);
  const std::string record =
      "00001    3.34  0.12 K2342  60.07860   73.38990   80.25440   10.58680  0.0788000  0.21400000   2.7675000";
  std::string body = "header\n-----------\n";
  for (int k = 1; k <= 30; ++k) {
    std::string l = record;
    l.resize(166, ' ');
    l += "(" + std::to_string(k) + ") Planet" + std::to_string(k);
    body += l + "\n";
  }
  // A 31st record whose G "0 12" the catalogue's reader refuses: not
  // converted, counted and named.
  std::string damaged = record;
  damaged.replace(14, 5, " 0 12");
  damaged.resize(166, ' ');
  body += damaged + "(31) Planet31\n";
  std::ofstream(folder / "MPCORB.DAT", std::ios::binary) << body;
  std::ofstream(folder / "MPCORB.CSV", std::ios::binary) << "old";
  bool ran = false;
  SetAstorbToolDriver([&](TMainform_astorb& tool) {
    ran = true;
    EXPECT_EQ(tool.FormatKind(), 2);
    EXPECT_TRUE(tool.FormatLabel().startsWith(QStringLiteral("Home Planet *.csv Format   Dezimal: <,> Trennzeichen: <;>")));
    tool.SetAstorbFormatKind(1);
    tool.SetAstorbInternational(true);
    EXPECT_EQ(tool.FormatLabel(), QStringLiteral("Kandrevoltinex *.csv Format   Dezimal: <.> Trennzeichen: <,>"));
    // An existing output is replaced only after a Yes.
    messages_.QueueReply(MessageResult::No);
    files.QueueAnswer((folder / "MPCORB.DAT").string());
    tool.OpenClick();
    EXPECT_EQ(ReadAll(folder / "MPCORB.CSV"), "old");
    messages_.QueueReply(MessageResult::Yes);
    files.QueueAnswer((folder / "MPCORB.DAT").string());
    messages_.messages.clear();
    tool.OpenClick();
    EXPECT_EQ(tool.Counter(), QStringLiteral("30. Fertig. 1 übersprungen."));
    EXPECT_NE(ReadAll(folder / "MPCORB.CSV")
                  .find("\r\n(00001) Planet1;   2,767500;   0,078800;  10,586800;  80,254400;  73,389900;  60,078600;"
                        "   0,214000;2000;2460036,5;3,34;0,12\r\n"),
              std::string::npos);
    ASSERT_EQ(messages_.messages.size(), 2u);
    EXPECT_EQ(messages_.messages[1].text, (folder / "MPCORB.DAT").string() +
                                              ": 1 Zeile mit unbrauchbaren Bahnelementen übersprungen (Zeile 33, Feld g)");
    // Stop at the first callback: 24 lines.
    tool.OnCount = [&](long) { tool.StopClick(); };
    tool.Convert((folder / "MPCORB.DAT").string());
    tool.OnCount = {};
    EXPECT_TRUE(tool.Counter().startsWith(QStringLiteral("24. Abgebrochen")));
    SavePng(tool, "conversion_tool");
  });
  form.Commands().Trigger("AstorbDatenbanktool1");
  SetAstorbToolDriver({});
  EXPECT_TRUE(ran);
  Planetoidentabelle list;
  std::uint8_t kind = 9;
  ASSERT_TRUE(list.Neuedateiladen(kind, (folder / "MPCORB.CSV").string(), false, 0));
  EXPECT_EQ(list.Count(), 24);
  EXPECT_EQ(store_.ReadInteger("Astorbtool", "FileType").value_or(0), 1);
  EXPECT_TRUE(store_.ReadBool("Astorbtool", "International").value_or(false));
}

TEST_F(ElementTools, PositionDatabaseToolFromItsMenuItem) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  LanguageEnglish = 0;
  const fs::path data = form.State().DataFolder;
  ASSERT_EQ(form.TheoryState().Libraries.Vsop87C, 1);
  // Eight of the nine body files are there: the files cannot serve yet.
  for (const char* name : {"sun.vsc", "mer.vsc", "ven.vsc", "mar.vsc", "jup.vsc", "sat.vsc", "ura.vsc", "nep.vsc"})
    test::WritePositionFile(data / name, 0, 6000, 6, test::QuarticSignal);
  ASSERT_EQ(form.TheoryState().VscFilesPresent, 0);
  ASSERT_TRUE(form.Commands().IsEnabled("Datenbankenerstellen1"));

  bool ran = false;
  SetPositionDatabaseToolDriver([&](TDatabaseTool& tool) {
    ran = true;
    EXPECT_EQ(tool.windowTitle(), QStringLiteral("Datenbanken mit vorberechneten Positionen"));
    EXPECT_EQ(tool.Days(), 75056);
    EXPECT_EQ(tool.BodyCombo()->currentText(), QStringLiteral("sun"));
    EXPECT_FALSE(tool.IntegrationBox()->isChecked());
    EXPECT_FALSE(tool.StopButton()->isEnabled());

    // Pluto's file over the test period, after the question.
    tool.Periods()->button(2)->click();
    EXPECT_EQ(tool.Days(), 5656);
    tool.BodyCombo()->setCurrentIndex(8);
    messages_.QueueReply(MessageResult::No);
    tool.CreateButton()->click();
    EXPECT_FALSE(fs::exists(data / "plu.vsc"));
    std::vector<double> reports;
    tool.OnDay = [&](double jd) {
      reports.push_back(jd);
      EXPECT_TRUE(tool.StopButton()->isEnabled());
      EXPECT_FALSE(tool.CloseButton()->isEnabled());
    };
    messages_.messages.clear();
    tool.CreateButton()->click();
    ASSERT_EQ(messages_.messages.size(), 1U);
    EXPECT_EQ(messages_.messages[0].text, "Möchten Sie wirklich eine neue Datenbank erzeugen?");
    EXPECT_EQ(messages_.messages[0].caption, "Langwierige Berechnung");
    EXPECT_EQ(tool.Status(), QStringLiteral("Fertig"));
    EXPECT_EQ(fs::file_size(data / "plu.vsc"), 5657U * 42U);
    EXPECT_EQ(reports.size(), 177U);
    EXPECT_EQ(reports.back(), 2413017.0 + 176 * 32);
    // The main window opened the files again: all nine serve now.
    EXPECT_EQ(form.TheoryState().VscFilesPresent, 1);
    EXPECT_FALSE(tool.StopButton()->isEnabled());
    EXPECT_TRUE(tool.CloseButton()->isEnabled());

    // "pos.vsp", stopped at the second report after the stop question; a
    // first "No" lets it run on.
    tool.IntegrationBox()->click();
    EXPECT_FALSE(tool.BodyCombo()->isEnabled());
    int calls = 0;
    tool.OnDay = [&](double) {
      ++calls;
      if (calls == 1) messages_.QueueReply(MessageResult::No);
      if (calls <= 2) tool.StopButton()->click();
    };
    messages_.messages.clear();
    tool.CreateButton()->click();
    ASSERT_EQ(messages_.messages.size(), 3U);
    EXPECT_EQ(messages_.messages[1].text, "Berechnung wirklich abbrechen?");
    EXPECT_EQ(messages_.messages[1].caption, "Kandrevoltinex 4.6");
    EXPECT_EQ(tool.Status(), QStringLiteral("Abgebrochen"));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(fs::file_size(data / "pos.vsp"), 32U * 168U);
    SavePng(tool, "position_database_tool");
    tool.OnDay = {};
  });
  form.Commands().Trigger("Datenbankenerstellen1");
  SetPositionDatabaseToolDriver({});
  ASSERT_TRUE(ran);
  const TTheoryState& theory = form.TheoryState();
  EXPECT_EQ(theory.VspFilePresent, 1);
  EXPECT_EQ(theory.VspFirstJulianDate, 2413017.0);
  EXPECT_EQ(theory.VspLastJulianDate, 2413017.0 + 29);
  EXPECT_EQ(form.State().Period.IntegrationDatabaseLastJd, 2413017.0 + 29);
  EXPECT_EQ(theory.VscLastJulianDate, 2413017.0 + 5654);
  form.SetTheorySelection(test::PlanetTheory(kPlanetTheoryPositionFiles));
  EXPECT_EQ(form.Selection().PlanetTheory(), kPlanetTheoryPositionFiles);
  EXPECT_TRUE(messages_.messages.size() == 3U) << messages_.messages.back().text;
  fs::directory_iterator entries(data);
  EXPECT_TRUE(std::none_of(begin(entries), end(entries), [](const fs::directory_entry& e) {
    return e.path().string().find(".kvxtmp") != std::string::npos;
  }));
}

}  // namespace
}  // namespace kvx
