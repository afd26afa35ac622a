// The user catalogue from the menus: the start-up load, the picker behind
// Tables | User-catalogue computing kind 72 for the chosen star, the editor
// (switch, add, edit, delete, save and reload, a refused load, no
// catalogue) and the chosen range forgotten when it no longer fits the
// objects (offscreen, pictures in test-output).
#include "app/ui/user_catalogue_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "app/ui/user_catalogue_dialogs.h"
#include "core/name_tables.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;
using test::SavePng;

class UserCatalogueCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 1;
    catalogue_ = home_.Write("data/kandrevoltinex/user.csv",
                             ":VARBO USER\r\nVega;18.3656;38.4701;0.017;0.28;2000;0.03\r\n"
                             "Deneb;20.4125;45.1649;0;0;2000;1.25\r\n:Off;1;2;0;0;2000;5\r\n"
                             "Altair;19.5047;8.5202;0.036;0.39;2000;0.77\r\n");
  }
  test::RecordingFileDialog files_;
  std::string catalogue_;
};

TEST_F(UserCatalogueCommands, PickerComputesTheChosenStarAndEditorSavesAndReloads) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  ScopedFileDialog dialogs(files_);
  TMainFormState& s = form.State();
  TMenuCommands& menu = form.Commands();

  // Read at start-up: three objects, the switched-off line gives none.
  ASSERT_EQ(form.UserObjects().Count(), 3);
  EXPECT_EQ(s.Objects.UserCatalogueFile, catalogue_);
  ASSERT_TRUE(menu.IsEnabled("Benutzerkatalog1"));
  ASSERT_TRUE(menu.IsEnabled("BenutzerdefinierterKatalog1"));

  // The picker: the search selects Altair, OK computes its table.
  test::WhenModalShown<TUserCatFind>([](TUserCatFind& d) {
    EXPECT_EQ(d.windowTitle(), "Select Object in user defined catalogue");
    EXPECT_EQ(d.List()->count(), 3);
    d.SearchEdit()->setText("alt");
    EXPECT_EQ(d.List()->currentRow(), 2);
    SavePng(d, "user_catalogue_picker");
    d.OkButton()->click();
  });
  ASSERT_TRUE(menu.Trigger("Benutzerkatalog1"));
  EXPECT_EQ(s.Objects.UserObjectIndex, 2);
  EXPECT_EQ(s.Table.PreviousTableKind, 72);
  EXPECT_TRUE(messages_.messages.empty());
  // Cancel and a double click.
  s.Table.PreviousTableKind = 20;
  test::WhenModalShown<TUserCatFind>([](TUserCatFind& d) { d.reject(); });
  EXPECT_EQ(FindUserCatalogObject(form.UserObjects(), &form), -1);
  test::WhenModalShown<TUserCatFind>([](TUserCatFind& d) {
    QListWidgetItem* deneb = d.List()->item(1);
    emit d.List()->itemDoubleClicked(deneb);
  });
  EXPECT_EQ(FindUserCatalogObject(form.UserObjects(), &form), 1);
  EXPECT_EQ(FindUserCatalogObject(tuserlist{}, &form), -1);

  // The editor: line 1 never switches; ":Off" on again, Vega deleted, a new
  // entry edited into Polaris; saved and reloaded: four objects of six lines.
  s.Objects.ElementFileRanges.UserCatalogue = {1, 4};  // fits six lines, not four objects
  test::WhenModalShown<TdlgUsercat>([this](TdlgUsercat& d) {
    ASSERT_EQ(d.List()->count(), 5);
    EXPECT_EQ(d.CountLabel()->text(), "3 Objects");
    EXPECT_EQ(d.FileLabel()->text().toStdString(), catalogue_);
    d.ToggleRow(0);
    EXPECT_EQ(d.List()->item(0)->text(), ":VARBO USER");
    d.ToggleRow(3);
    EXPECT_EQ(d.List()->item(3)->text(), "Off;1;2;0;0;2000;5");
    EXPECT_EQ(d.Memo()->text(), "Off;1;2;0;0;2000;5");
    d.List()->setCurrentRow(1);
    d.DeleteItem();
    d.AddItem();
    EXPECT_EQ(d.Memo()->text(), "New object;0;0;0;0;2000;0;0;0;0;0;0;0; ;");
    d.Memo()->setText("Polaris;2.3150;89.1550;0;0;2000;2.0");
    emit d.Memo()->textEdited(d.Memo()->text());
    d.List()->addItem("");  // an empty line is kept and gives no object
    d.SaveCatalogue();
    EXPECT_EQ(d.CountLabel()->text(), "4 Objects");
    EXPECT_EQ(d.List()->count(), 6);
    SavePng(d, "user_catalogue_editor");
    d.accept();
  });
  ASSERT_TRUE(menu.Trigger("BenutzerdefinierterKatalog1"));
  EXPECT_TRUE(messages_.messages.empty());
  ASSERT_EQ(form.UserObjects().Count(), 4);
  EXPECT_EQ(form.UserObjects().Item(3)->Name, "Polaris");
  EXPECT_EQ(form.UserObjects().Item(1)->Name, "Off");
  EXPECT_EQ(s.Objects.ElementFileRanges.UserCatalogue, TFileRange{}) << "range checked against the objects";
  EXPECT_EQ(s.Document.SettingsChanged, 1);

  // A foreign file is refused with its message and the catalogue stays;
  // "use no catalogue" empties everything and disables the table item.
  const std::string foreign = home_.Write("foreign.csv", "Vega;1;2;3;4;2000;1\r\n");
  files_.QueueAnswer(foreign);
  test::WhenModalShown<TdlgUsercat>([this](TdlgUsercat& d) {
    d.LoadCatalogue();
    EXPECT_EQ(d.FileLabel()->text().toStdString(), catalogue_);
    EXPECT_EQ(d.List()->count(), 6);
    d.UseNoCatalogue();
    EXPECT_EQ(d.FileLabel()->text(), "No catalogue");
    EXPECT_EQ(d.List()->count(), 0);
    d.SaveCatalogue();  // nothing to save into
    d.accept();
  });
  ASSERT_TRUE(menu.Trigger("BenutzerdefinierterKatalog1"));
  ASSERT_EQ(files_.requests.size(), 1u);
  EXPECT_EQ(files_.requests[0].request.title, "Load user defined catalogue");
  ASSERT_EQ(messages_.messages.size(), 2u);
  EXPECT_EQ(messages_.messages[0].text, "This is no Kandrevoltinex 4.6 catalogue");
  EXPECT_EQ(messages_.messages[1].text, "No catalogue is loaded; nothing was saved.");
  EXPECT_EQ(form.UserObjects().Count(), 0);
  EXPECT_TRUE(s.Objects.UserCatalogueFile.empty());
  EXPECT_EQ(s.Objects.UserObjectIndex, -1);
  EXPECT_FALSE(menu.IsEnabled("Benutzerkatalog1"));
  EXPECT_TRUE(fs::exists(catalogue_)) << "the file itself stays";
}

}  // namespace
}  // namespace kvx
