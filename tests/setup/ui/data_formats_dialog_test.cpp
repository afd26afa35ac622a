#include "setup/ui/data_formats_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include "core/name_tables.h"
#include "dialog_test_support.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::Child;

class DataFormatsDialogTest : public ::testing::Test {
 protected:
  DataFormatsDialogTest() : messagesGuard_(messages), settingsGuard_(settings), filesGuard_(files) {
    InitAstroNameTables();
  }
  ~DataFormatsDialogTest() override { InitAstroNameTables(); }

  RecordingMessageSink messages;
  MemorySettingsStore settings;
  test::RecordingFileDialog files;
  test::TempFolder folder;

 private:
  ScopedMessageSink messagesGuard_;
  ScopedSettingsStore settingsGuard_;
  ScopedFileDialog filesGuard_;
};

TEST_F(DataFormatsDialogTest, EditsTheLiveTablesAndKeepsThemOnClose) {
  settings.WriteInteger("Window", "FormatsSheet", 2);
  std::string fileName = "start.epf";
  bool checked = false;
  test::WhenModalShown([&](QDialog& dialog) {
    auto* pages = Child<QTabWidget>(dialog, "pages");
    EXPECT_EQ(pages->currentIndex(), 1);  // the remembered second page
    pages->setCurrentIndex(0);

    auto* list = Child<QListWidget>(dialog, "quantities");
    EXPECT_EQ(list->count(), kUsedFormatSlotCount);  // the free slots are not listed
    auto* search = Child<QLineEdit>(dialog, "search");
    search->setText("klination");  // inside a word
    EXPECT_EQ(list->currentItem()->text(), "Deklination");
    auto* wordStart = Child<QCheckBox>(dialog, "wordStart");
    wordStart->setChecked(true);  // no word starts so: the first entry
    EXPECT_EQ(list->currentRow(), 0);
    search->setText("dek");
    EXPECT_EQ(list->currentItem()->text(), "Deklination");
    wordStart->setChecked(false);

    auto* decimals = Child<QSpinBox>(dialog, "decimals");
    EXPECT_TRUE(decimals->isEnabled());
    EXPECT_EQ(decimals->maximum(), 8);
    decimals->setValue(2);
    Child<QRadioButton>(dialog, "format0")->click();
    EXPECT_EQ(DataFormatDecimals[17], 2);
    EXPECT_EQ(DataFormatKind[17], 0);
    EXPECT_FALSE(Child<QLabel>(dialog, "example")->text().isEmpty());

    // A time of day steps by two from 2.
    search->setText("Aufgang eines");
    EXPECT_EQ(decimals->minimum(), 2);
    EXPECT_EQ(decimals->singleStep(), 2);
    decimals->setValue(3);  // typed: kept even
    EXPECT_EQ(decimals->value(), 2);
    EXPECT_EQ(DataFormatDecimals[30], 2);
    // A text quantity has neither decimals nor formats.
    search->setText("Ein/Austritt");
    EXPECT_EQ(list->currentItem()->text(), "Ein/Austritt eines Sterns");
    EXPECT_FALSE(decimals->isEnabled());
    EXPECT_FALSE(Child<QGroupBox>(dialog, "formatBox")->isEnabled());
    // The filter shows one category only.
    Child<QComboBox>(dialog, "filter")->setCurrentIndex(7);  // occultations, eclipses
    int inCategory = 0;
    for (const TDataFormatSlot& s : DataFormatSlots) inCategory += s.category == 7 ? 1 : 0;
    EXPECT_EQ(list->count(), inCategory);
    EXPECT_EQ(list->item(0)->text(), "Positionswinkel");
    Child<QCheckBox>(dialog, "sorted")->setChecked(true);
    EXPECT_EQ(list->item(0)->text(), "Austrittszeit eines Sterns (Sternbedeckungen)");
    test::SavePicture(dialog, "data_formats_filtered");
    Child<QCheckBox>(dialog, "sorted")->setChecked(false);
    Child<QComboBox>(dialog, "filter")->setCurrentIndex(11);
    test::SavePicture(dialog, "data_formats_individual");

    // Group page: decimals and format of all right ascensions.
    pages->setCurrentIndex(1);
    Child<QListWidget>(dialog, "groups")->setCurrentRow(0);
    auto* applyFormat = Child<QPushButton>(dialog, "applyFormat");
    EXPECT_FALSE(applyFormat->isEnabled());
    Child<QRadioButton>(dialog, "groupFormat2")->click();
    EXPECT_TRUE(applyFormat->isEnabled());
    applyFormat->click();
    EXPECT_FALSE(applyFormat->isEnabled());
    EXPECT_EQ(DataFormatKind[16], 2);
    EXPECT_EQ(DataFormatKind[48], 2);
    Child<QSpinBox>(dialog, "groupDecimals")->setValue(3);
    Child<QPushButton>(dialog, "applyDecimals")->click();
    EXPECT_EQ(DataFormatDecimals[23], 3);
    test::SavePicture(dialog, "data_formats_global");
    pages->setCurrentIndex(0);
    checked = true;
    Child<QPushButton>(dialog, "close")->click();
  });
  EXPECT_EQ(ShowDataFormatsDialog(fileName, nullptr), QDialog::Accepted);
  EXPECT_TRUE(checked);
  EXPECT_EQ(fileName, "start.epf");
  EXPECT_EQ(DataFormatKind[16], 2);  // kept after "Close"
  EXPECT_EQ(DataFormatDecimals[17], 2);
  EXPECT_EQ(settings.ReadInteger("Window", "FormatsSheet"), 1);
}

TEST_F(DataFormatsDialogTest, UndoDefaultsAndCancelBringBackTheOpeningState) {
  DataFormatDecimals[17] = 1;  // the state at opening differs from the defaults
  const auto openingDecimals = DataFormatDecimals;
  const auto openingKinds = DataFormatKind;
  {
    TDatenformatDlg dialog("", nullptr);
    dialog.show();
    dialog.SelectSlot(17);
    Child<QSpinBox>(dialog, "decimals")->setValue(5);
    Child<QPushButton>(dialog, "default")->click();
    EXPECT_EQ(DataFormatDecimals[17], 4);
    Child<QPushButton>(dialog, "defaultAll")->click();
    EXPECT_EQ(DataFormatDecimals[17], 4);
    Child<QPushButton>(dialog, "undo")->click();
    EXPECT_EQ(DataFormatDecimals, openingDecimals);
    EXPECT_EQ(DataFormatKind, openingKinds);
    EXPECT_EQ(Child<QSpinBox>(dialog, "decimals")->value(), 1);

    Child<QPushButton>(dialog, "defaultAll")->click();
    dialog.reject();  // closing without "Close"
  }
  EXPECT_EQ(DataFormatDecimals, openingDecimals);
  EXPECT_EQ(DataFormatKind, openingKinds);
}

TEST_F(DataFormatsDialogTest, SavesAndLoadsThroughTheFileDialog) {
  const std::string path = folder.File("meine.epf");
  std::string fileName;
  test::WhenModalShown([&](QDialog& dialog) {
    auto& formats = static_cast<TDatenformatDlg&>(dialog);
    formats.SelectSlot(9);
    Child<QSpinBox>(dialog, "decimals")->setValue(7);
    files.QueueAnswer(std::nullopt);  // cancelled: nothing written
    Child<QPushButton>(dialog, "save")->click();
    files.QueueAnswer(path);
    Child<QPushButton>(dialog, "save")->click();
    EXPECT_EQ(test::TempFolder::Read(path).size(), 483u);

    Child<QSpinBox>(dialog, "decimals")->setValue(2);
    files.QueueAnswer(folder.Write("bad.epf", "kaputt"));
    Child<QPushButton>(dialog, "load")->click();
    EXPECT_EQ(DataFormatDecimals[9], 2);  // refused: unchanged
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.messages[0].text.find("bad.epf"), std::string::npos);
    files.QueueAnswer(path);
    Child<QPushButton>(dialog, "load")->click();
    EXPECT_EQ(DataFormatDecimals[9], 7);
    EXPECT_EQ(Child<QSpinBox>(dialog, "decimals")->value(), 7);
    dialog.accept();
  });
  EXPECT_EQ(ShowDataFormatsDialog(fileName, nullptr), QDialog::Accepted);
  EXPECT_EQ(fileName, path);
  ASSERT_EQ(files.requests.size(), 4u);
  EXPECT_TRUE(files.requests[0].save);
  EXPECT_EQ(files.requests[0].request.title, "Ephemeridenformate speichern");
  EXPECT_EQ(files.requests[0].request.filters, std::vector<std::string>{"Ephemeridenformate (*.epf)"});
  EXPECT_EQ(files.requests[3].request.title, "Ephemeridenformate laden");
}

TEST_F(DataFormatsDialogTest, ShowsEverythingInEnglish) {
  LanguageEnglish = 1;
  {
    TDatenformatDlg dialog("", nullptr);
    dialog.show();
    dialog.SelectSlot(16);
    EXPECT_EQ(dialog.windowTitle(), "Format and Decimals");
    EXPECT_EQ(Child<QTabWidget>(dialog, "pages")->tabText(1), "Global Changes");
    EXPECT_EQ(Child<QListWidget>(dialog, "quantities")->currentItem()->text(), "Right ascension");
    EXPECT_EQ(Child<QRadioButton>(dialog, "format3")->text(), "Layout 0-24h");
    EXPECT_TRUE(Child<QRadioButton>(dialog, "format3")->isChecked());
    EXPECT_EQ(Child<QComboBox>(dialog, "filter")->currentText(), "No Filter");
    test::SavePicture(dialog, "data_formats_english");
  }
  LanguageEnglish = 0;
}

}  // namespace
}  // namespace kvx
