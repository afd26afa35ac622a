// Settings that outlive a command, each from its menu item: the csv and
// clipboard separator of the worksheet options (csv export and import, the
// result grid's copy, a saved and reloaded configuration), the default
// folder where the document dialogs start (kept in the settings), the
// location file (kept by a saved and reloaded configuration) and the file
// browser's bounds (applied and kept in the settings).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/worksheet_options_dialog.h"
#include "engine/ui/mystringgrid_view.h"
#include "orbitdet/ui/file_browser.h"
#include "platform/file_dialog.h"
#include "platform/folder_chooser.h"
#include "setup/ui/location_dialog.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_file_dialog.h"
#include "support/recording_folder_chooser.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;
using test::WhenModalShown;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class OptionsAndFolders : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 0;
  }
  void TearDown() override { LanguageEnglish = 1; }
  test::RecordingFileDialog files_;
};

TEST_F(OptionsAndFolders, SeparatorFromTheWorksheetOptionsInFilesClipboardAndConfiguration) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  ScopedFileDialog dialogs(files_);
  TMenuCommands& c = form.Commands();
  TMainFormState& s = form.State();

  WhenModalShown<TTabellenOptionen>([](TTabellenOptionen& d) {
    EXPECT_EQ(d.ComboBox1->currentIndex(), 0);
    d.ComboBox1->setCurrentIndex(1);  // ","
    d.accept();
  });
  c.Action("Optionen1")->trigger();
  EXPECT_EQ(s.Document.CsvSeparatorIndex, 1);

  // The sheet as csv, and a csv file read into the sheet.
  workbook::TWorkbook& book = form.Workbook();
  book.SetText(1, 1, "Mars");
  book.SetText(1, 2, "12h");
  const fs::path exported = home_.Path() / "sheet.csv";
  files_.QueueAnswer(exported.string());
  c.Action("AlscsvDateispeichern1")->trigger();
  EXPECT_EQ(ReadAll(exported).substr(0, 8), "Mars,12h");
  messages_.messages.clear();  // "only the active sheet"
  s.Document.DocumentSaved = 1;
  const fs::path imported = home_.Path() / "in.csv";
  std::ofstream(imported) << "Venus,3;4,x\n";
  files_.QueueAnswer(imported.string());
  c.Action("ffnen1")->trigger();
  EXPECT_EQ(book.Text(1, 1), "Venus");
  EXPECT_EQ(book.Text(1, 2), "3;4");
  EXPECT_EQ(book.Text(1, 3), "x");

  // The result grid's copy joins the cells with it.
  s.Document.WorkbookView = 0;
  tmystringgrid& grid = form.Grid();
  grid.SetColCount(4);
  grid.SetRowCount(4);
  grid.SetCells(1, 1, "a");
  grid.SetCells(2, 1, "b");
  grid.SetCells(1, 2, "c");
  grid.SetCells(2, 2, "d");
  TMyStringGridView* view = form.GridView();
  QAbstractItemModel* model = view->model();
  view->selectionModel()->select(QItemSelection(model->index(0, 0), model->index(1, 1)),
                                 QItemSelectionModel::ClearAndSelect);
  c.Action("Kopieren1")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "a,b\nc,d\n");
  s.Document.WorkbookView = 1;

  // A saved configuration keeps it; New forgets it, Open brings it back.
  const fs::path saved = home_.Path() / "sep.ocf";
  files_.QueueAnswer(saved.string());
  c.Action("Dateispeichernunter1")->trigger();
  c.Action("Dateineu1")->trigger();
  EXPECT_EQ(s.Document.CsvSeparatorIndex, 0);
  files_.QueueAnswer(saved.string());
  c.Action("Dateiffnen1")->trigger();
  EXPECT_EQ(s.Document.CsvSeparatorIndex, 1);
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
}

TEST_F(OptionsAndFolders, DefaultFolderLocationFileAndBrowserBoundsOutliveTheRun) {
  const fs::path folder = home_.Path() / "tables";
  fs::create_directories(folder);
  const fs::path places = home_.Path() / "places" / "mine.csv";
  fs::create_directories(places.parent_path());
  std::ofstream(places) << ":ORTDATEI VAMUR!\n:Ort;Geographische Länge;Geographische Breite;Zeitzone;Postleitzahl\n"
                        << "Bergheim;-6.3900;50.5700;1;0\nTalstadt;-7.1200;49.1000;1;0\n";
  store_.WriteInteger("Window", "Browser x", 30);
  store_.WriteInteger("Window", "Browser y", 40);
  store_.WriteInteger("Window", "Browser w", 500);
  store_.WriteInteger("Window", "Browser h", 300);
  ScopedSettingsStore settings(store_);
  const fs::path saved = home_.Path() / "places.ocf";
  {
    TMainForm form;
    ShowForm(form);
    ScopedMessageSink sink(messages_);
    ScopedFileDialog dialogs(files_);
    RecordingFolderChooser folders;
    FolderChooser* previousChooser = SetFolderChooser(&folders);
    TMenuCommands& c = form.Commands();

    // The default folder: where Open and Save as start, in both views.
    folders.QueueAnswer(folder.string() + "//");
    c.Action("Standardverzeichnisfestlegen1")->trigger();
    files_.QueueAnswer(std::nullopt);
    c.Action("ffnen1")->trigger();
    files_.QueueAnswer(std::nullopt);
    c.Action("Speichernunter1")->trigger();
    form.State().Document.WorkbookView = 0;
    files_.QueueAnswer(std::nullopt);
    c.Action("ffnen1")->trigger();
    form.State().Document.WorkbookView = 1;
    ASSERT_EQ(files_.requests.size(), 3u);
    EXPECT_EQ(files_.requests[0].request.start, folder.string() + "/");
    EXPECT_EQ(files_.requests[1].request.start.rfind(folder.string() + "/", 0), 0u) << files_.requests[1].request.start;
    EXPECT_EQ(files_.requests[2].request.start, folder.string() + "/");

    // The location file chosen in the place dialog; the browser at its bounds.
    WhenModalShown<TOrtwahldialog>([&](TOrtwahldialog& d) {
      files_.QueueAnswer(places.string());
      d.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
      EXPECT_EQ(d.List().Count(), 2);
      d.accept();  // Cancel would put the earlier file back
    });
    c.Action("Ortwhlen1")->trigger();
    EXPECT_EQ(LocationDialog().LocationFileName, places.string());
    WhenModalShown<TBrowserForm>([](TBrowserForm& b) {
      EXPECT_EQ(b.geometry().topLeft(), QPoint(30, 40));
      b.setGeometry(QRect(QPoint(60, 70), b.geometry().size()));
      b.reject();
    });
    c.Action("Browser1")->trigger();
    files_.QueueAnswer(saved.string());
    c.Action("Dateispeichernunter1")->trigger();
    SetFolderChooser(previousChooser);
    EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
  }
  EXPECT_EQ(store_.StringOr("Data", "DefaultFolder", ""), folder.string() + "/");
  EXPECT_EQ(store_.ReadInteger("Window", "Browser x"), 60);
  EXPECT_EQ(store_.ReadInteger("Window", "Browser y"), 70);

  // The next run: another location file meanwhile; the saved configuration
  // brings the chosen one back, and the place dialog shows its places.
  TMainForm form;
  ShowForm(form);
  ScopedFileDialog dialogs(files_);
  EXPECT_EQ(form.StoredSettings().DefaultFolder, folder.string() + "/");
  LocationDialog().SetLocationFile((home_.Path() / "data" / "kandrevoltinex" / "orte.csv").string());
  files_.QueueAnswer(saved.string());
  form.Commands().Action("Dateiffnen1")->trigger();
  EXPECT_EQ(LocationDialog().LocationFileName, places.string());
  int listed = 0;
  WhenModalShown<TOrtwahldialog>([&listed](TOrtwahldialog& d) {
    listed = d.List().Count();
    d.reject();
  });
  form.Commands().Action("Ortwhlen1")->trigger();
  EXPECT_EQ(listed, 2);
  EXPECT_EQ(LocationDialog().List().FileName(), places.string());
}

}  // namespace
}  // namespace kvx
