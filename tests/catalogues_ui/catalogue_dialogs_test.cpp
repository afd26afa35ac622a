// The data-file dialog and the element save dialog through the recording
// file dialog, the format choice and the element list in its drop-down box
// (offscreen, pictures in test-output).
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <fstream>

#include "catalogues/asteroid_list.h"
#include "catalogues/data_file_kinds.h"
#include "catalogues/element_file_formats.h"
#include "catalogues/ui/csv_format_dialog.h"
#include "catalogues/ui/data_file_dialog.h"
#include "catalogues/ui/element_dialogs.h"
#include "catalogues/ui/element_list_combo.h"
#include "catalogues/ui/position_database_tool.h"
#include "platform/globals.h"
#include "support/qt/answer_modal.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx::test {
namespace {

bool SavePicture(QWidget& widget, const std::string& name) {
  const QString folder = QString(KVX_BINARY_DIR) + "/test-output";
  QDir().mkpath(folder);
  widget.adjustSize();
  return widget.grab().save(folder + "/" + QString::fromStdString(name) + ".png");
}

// The check table: capital "CSV" accepted unread for asteroids, both
// asteroid first lines, a variable-star first line without "!" refused,
// both location first lines, the configuration kind's extension.
TEST(DataFileKinds, CheckTable) {
  TempFolder folder;
  const TDataFileKind& asteroids = DataFileKindFor("PLANETOIDEN");
  EXPECT_TRUE(DataFileAccepted(asteroids, folder.File("missing.CSV")));
  EXPECT_TRUE(DataFileAccepted(asteroids,
                               folder.Write("a.lst", ":BAHNELEMENTE PLANETOIDEN VAMUR!**Bahnelemente fuer Planetoiden\n")));
  EXPECT_TRUE(DataFileAccepted(asteroids, folder.Write("b.lst", ":a;e;i;node;per;m;n;equinox;epoch;h;g\r\n")));
  EXPECT_FALSE(DataFileAccepted(asteroids, folder.Write("c.lst", ":a;e;i;node;per;m;n;equinox;epoch;h;g;x\n")));
  const TDataFileKind& variables = DataFileKindFor("variable");
  EXPECT_FALSE(DataFileAccepted(variables, folder.Write("v.lst", ":ELEMENTE VARIABLE VAMUR\n")));
  EXPECT_TRUE(DataFileAccepted(variables, folder.Write("w.lst", ":ELEMENTE VARIABLE VAMUR!**x\n")));
  EXPECT_FALSE(DataFileAccepted(variables, folder.File("gone.csv")));
  const TDataFileKind& places = DataFileKindFor("orte");
  EXPECT_EQ(&places, &DataFileKindFor("whatever"));
  EXPECT_TRUE(DataFileAccepted(places, folder.Write("o.csv", ":ORTDATEI VAMUR!\n")));
  EXPECT_TRUE(DataFileAccepted(places, folder.Write("p.csv", ":ORTDATEI AD!\n")));
  EXPECT_EQ(DataFileKindFor("konfig").DefaultExtension, "ocf");
  for (const char* keyword : {"ortebin", "planetoiden", "kometen", "variable", "konfig", "orte"}) {
    for (const std::string& filter : {DataFileKindFor(keyword).FilterGerman, DataFileKindFor(keyword).FilterEnglish}) {
      for (const std::string& entry : DialogFilters(filter)) {
        EXPECT_NE(entry.find("(*."), std::string::npos) << entry;
        EXPECT_EQ(entry.find("))"), std::string::npos) << entry;
      }
    }
  }
}

// Execute: filters in Qt form, refusal restores the previous name with the
// kind's message; a folder is refused too; "nil" checks nothing.
TEST(DataFileDialog, ExecuteThroughTheSeam) {
  TempFolder folder;
  RecordingFileDialog files;
  ScopedFileDialog scopedFiles(files);
  RecordingMessageSink sink;
  ScopedMessageSink scopedSink(sink);
  VamurDateien dialog;
  dialog.SetFileDialogLanguage("english");
  dialog.SetFileDialogKind("Planetoiden");
  dialog.FileName = "previous.csv";
  const std::string good = folder.Write("good.csv", "anything");
  files.QueueAnswer(good);
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, good);
  ASSERT_EQ(files.requests.size(), 1u);
  EXPECT_EQ(files.requests[0].request.title, "Open file with orbital elements for asteroids");
  EXPECT_EQ(files.requests[0].request.filters.front(), "Asteroids (*.csv)");
  EXPECT_EQ(files.requests[0].request.filters.size(), 6u);
  EXPECT_EQ(files.requests[0].request.defaultExtension, "csv");

  dialog.SetFileDialogKind("variable");
  dialog.SetFileDialogLanguage("deutsch");
  files.QueueAnswer(folder.Write("bad.lst", "no header\n"));
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, good);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text,
            "Dies ist keine Datei mit Veränderlichen Sternen. Bitte noch einmal mit anderem Dateinamen versuchen.");
  EXPECT_EQ(sink.messages[0].caption, "Fehler beim Dateiöffnen");
  files.QueueAnswer(folder.Path().string());
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(sink.messages.size(), 2u);

  dialog.SetFileDialogKind("nil");
  files.QueueAnswer(folder.Path().string() + "/bad.lst");
  EXPECT_TRUE(dialog.Execute());
  EXPECT_FALSE(dialog.Execute());  // cancelled
}

TEST(CsvFormatDialog, RadioGroupSizedToTheNames) {
  LanguageEnglish = 1;
  int choice = 1;
  int shownButtons = -1;
  test::WhenModalShown<TCSVFormateDlg>([&](TCSVFormateDlg& dialog) {
    shownButtons = static_cast<int>(dialog.findChildren<QRadioButton*>().size());
    EXPECT_EQ(dialog.windowTitle(), "Enter file format");
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("Format1")->isChecked());
    EXPECT_TRUE(SavePicture(dialog, "csv_format_dialog"));
    dialog.findChild<QRadioButton*>("Format2")->click();
    dialog.accept();
  });
  EXPECT_EQ(ShowCsvFormatDialog(choice, {"Kandrevoltinex", "HomePlanet 3.0", "Other program"}, "CSV format"), 1);
  EXPECT_EQ(shownButtons, 3);
  EXPECT_EQ(choice, 2);
  test::WhenModalShown<QWidget>([](QWidget& dialog) { dialog.close(); });
  EXPECT_EQ(ShowCsvFormatDialog(choice, {"A", "B", "C"}, "x"), 0);
  EXPECT_EQ(choice, 2);
  LanguageEnglish = 0;
}

// The box follows loads and searches of the list; a choice in the box
// selects the list's item and raises its hook (the owner's hook kept).
TEST(ElementListComboTest, LoadSearchAndSelection) {
  Planetoidentabelle list;
  int ownerHook = 0;
  list.OnChange = [&] { ++ownerHook; };
  ElementListCombo combo;
  int signalled = -2;
  QObject::connect(&combo, &ElementListCombo::selectionChanged, [&](int index) { signalled = index; });
  combo.SetList(&list);
  EXPECT_EQ(combo.count(), 0);
  std::uint8_t kind = 0;
  list.Neuedateiladen(kind, "nothing.xyz", false, 0);
  EXPECT_EQ(combo.count(), 20);
  EXPECT_EQ(combo.currentIndex(), 0);
  EXPECT_EQ(ownerHook, 1);
  ASSERT_TRUE(list.suchen("Vesta"));
  EXPECT_EQ(combo.currentText().toStdString(), "Vesta(4) 1997");
  EXPECT_EQ(signalled, list.ItemIndex);
  emit combo.activated(3);
  EXPECT_EQ(list.ItemIndex, 3);
  EXPECT_EQ(signalled, 3);
  EXPECT_EQ(ownerHook, 3);
  combo.resize(260, combo.sizeHint().height());
  EXPECT_TRUE(SavePicture(combo, "element_list_combo"));
  combo.SetList(nullptr);
  list.Changed();
  EXPECT_EQ(ownerHook, 4);
}

// Without the VSOP87 C library the tool builds Pluto's file only; the other
// bodies and the integration database are refused before anything is
// written or closed. English captions.
TEST(PositionDatabaseToolTest, WithoutTheLibraryOnlyPluto) {
  TempFolder folder;
  RecordingMessageSink sink;
  ScopedMessageSink scopedSink(sink);
  LanguageEnglish = 1;
  int closed = 0;
  TPositionDatabaseHost host;
  host.DataFolder = folder.Path().string();
  host.ClosePositionFiles = [&] { ++closed; };
  TDatabaseTool tool(host);
  tool.show();
  EXPECT_EQ(tool.windowTitle(), QStringLiteral("Databases with computed positions"));
  tool.Periods()->button(2)->click();
  for (const bool integration : {false, true}) {
    tool.IntegrationBox()->setChecked(integration);
    tool.CheckBox1Click();
    sink.messages.clear();
    tool.CreateButton()->click();
    ASSERT_EQ(sink.messages.size(), 2U);
    EXPECT_EQ(sink.messages[0].caption, "Slow computation");
    EXPECT_EQ(sink.messages[1].text, "The VSOP87 C library is not available.");
  }
  EXPECT_TRUE(QDir(QString::fromStdString(folder.Path().string())).isEmpty());
  EXPECT_EQ(closed, 0);
  tool.IntegrationBox()->setChecked(false);
  tool.CheckBox1Click();
  tool.BodyCombo()->setCurrentIndex(8);
  tool.CreateButton()->click();
  EXPECT_EQ(tool.Status(), QStringLiteral("Done"));
  EXPECT_EQ(closed, 1);
  EXPECT_TRUE(QFile::exists(QString::fromStdString(folder.File("plu.vsc"))));
  LanguageEnglish = 0;
}

// The save dialog writes by the format table: the ".csv" choice picks the
// writer in the order offered, each list gets its own code for the format
// (HomePlanet 3 for asteroids, 2 for comets); a comet SkyMap file keeps the
// code the list had.
TEST(ElementSaveDialog, WritesByTheFormatTable) {
  TempFolder folder;
  RecordingFileDialog files;
  ScopedFileDialog scopedFiles(files);
  RecordingMessageSink sink;
  ScopedMessageSink scopedSink(sink);
  auto firstLine = [](const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
  };
  auto chooseSecond = [] {
    test::WhenModalShown<TCSVFormateDlg>([](TCSVFormateDlg& dialog) {
      dialog.findChild<QRadioButton*>("Format1")->click();  // the second name
      dialog.accept();
    });
  };

  TElementekoform comets;
  comets.Kometentabelle1.LoadBuiltInList();
  comets.State.ElementFileKind = 0;
  files.QueueAnswer(folder.File("home.csv"));
  chooseSecond();
  comets.SaveList();
  EXPECT_EQ(firstLine(folder.File("home.csv")).rfind("Name,Perihelion time", 0), 0u);
  EXPECT_EQ(comets.State.ElementFileKind, 2);
  files.QueueAnswer(folder.File("list.DAT"));
  comets.SaveList();
  EXPECT_EQ(firstLine(folder.File("list.DAT")), "20\r");
  EXPECT_EQ(comets.State.ElementFileKind, 3);
  files.QueueAnswer(folder.File("list.sky"));
  comets.SaveList();
  EXPECT_TRUE(std::filesystem::exists(folder.File("list.sky")));
  EXPECT_EQ(comets.State.ElementFileKind, 3);
  ASSERT_EQ(files.requests.size(), 3u);
  EXPECT_EQ(files.requests[0].request.filters, ElementSaveFilters(TElementDialogKind::Comet, false));

  TElementeplform asteroids;
  asteroids.Planetoidentabelle1.LoadBuiltInList();
  files.QueueAnswer(folder.File("home2.csv"));
  chooseSecond();
  asteroids.SaveList();
  EXPECT_EQ(firstLine(folder.File("home2.csv")).rfind("Name,Magnitude H", 0), 0u);
  EXPECT_EQ(asteroids.State.ElementFileKind, 3);
  files.QueueAnswer(folder.File("list.opl"));
  asteroids.SaveList();
  EXPECT_EQ(std::filesystem::file_size(folder.File("list.opl")), 20u * 132u);
  EXPECT_EQ(asteroids.State.ElementFileKind, 1);
  // The lossy writers name themselves in their notes, in the order saved.
  ASSERT_EQ(sink.messages.size(), 4u);
  const char* writers[4] = {"HomePlanet 3.0", "Guide 6.0", "SkyMap", "HomePlanet 3.0"};
  for (std::size_t k = 0; k < 4; ++k) EXPECT_NE(sink.messages[k].text.find(writers[k]), std::string::npos) << k;
}

}  // namespace
}  // namespace kvx::test
