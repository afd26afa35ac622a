#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>

#include "app/ui/event_found.h"
#include "app/ui/legend_dialog.h"
#include "platform/globals.h"
#include "support/qt/answer_modal.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

void SavePng(QWidget& widget, const std::string& name) {
  const fs::path folder = fs::path(KVX_BINARY_DIR) / "test-output";
  fs::create_directories(folder);
  widget.grab().save(QString::fromStdString((folder / name).string()));
}

// Clicks the named button of the next modal event-found window.
int ShowAndClick(bool offerDate, const std::function<QPushButton*(TEreignisgefundenForm&)>& button) {
  test::WhenModalShown<TEreignisgefundenForm>([button](TEreignisgefundenForm& form) { button(form)->click(); });
  return ShowEventFound("Opposition", "Mars", "2027-02-19 15:00 UT", offerDate, "19.02.2027", "elongation 180°");
}

TEST(EventFoundWindow, MapsTextsToLabelsAndReturnsTheButtonsResults) {
  LanguageEnglish = 1;
  TEreignisgefundenForm form({"Opposition", "Mars", "2027-02-19 15:00 UT", "elongation 180°", "19.02.2027"}, true);
  form.show();
  EXPECT_EQ(form.windowTitle(), "Event found");
  EXPECT_EQ(form.Label(100)->text(), "Mars");
  EXPECT_EQ(form.Label(101)->text(), "Opposition");
  EXPECT_EQ(form.Label(102)->text(), "2027-02-19 15:00 UT");
  EXPECT_EQ(form.Label(103)->text(), "elongation 180°");
  EXPECT_EQ(form.Label(104)->text(), "19.02.2027");
  // Top to bottom: the heading, the second text, the date, the details.
  EXPECT_LT(form.Label(101)->y(), form.Label(100)->y());
  EXPECT_LT(form.Label(100)->y(), form.Label(102)->y());
  EXPECT_LT(form.Label(102)->y(), form.Label(103)->y());
  EXPECT_TRUE(form.UseDateButton()->isVisible());
  EXPECT_FALSE(form.HelpButton()->isVisible()) << "no English help";
  SavePng(form, "event_found_with_date.png");

  LanguageEnglish = 0;
  TEreignisgefundenForm plain({"", "", "", "", ""}, false);
  plain.show();
  EXPECT_EQ(plain.windowTitle(), "Ereignis gefunden");
  EXPECT_EQ(plain.CloseButton()->text(), "&Schließen");
  EXPECT_FALSE(plain.UseDateButton()->isVisible());
  EXPECT_FALSE(plain.Label(104)->isVisible());
  EXPECT_TRUE(plain.HelpButton()->isVisible());
  EXPECT_TRUE(plain.Label(100)->text().isEmpty());
  SavePng(plain, "event_found_plain_german.png");
  LanguageEnglish = 1;

  EXPECT_EQ(ShowAndClick(false, [](auto& f) { return f.AgainButton(); }), kEventAgain);
  EXPECT_EQ(ShowAndClick(false, [](auto& f) { return f.CloseButton(); }), kEventClose);
  EXPECT_EQ(ShowAndClick(true, [](auto& f) { return f.UseDateButton(); }), kEventUseDate);
  test::WhenModalShown<QWidget>([](QWidget& window) { window.close(); });
  EXPECT_EQ(ShowEventFound("", "", "", false, "", ""), kEventClose);
}

TEST(LegendWindow, ListsEveryQuantityAndSearchesTheLineBeginnings) {
  LanguageEnglish = 1;
  TQuantityTexts headings;
  TQuantityTexts descriptions;
  for (int i = 0; i < kQuantityCount; ++i) {
    headings[static_cast<std::size_t>(i)] = "Col" + std::to_string(i);
    descriptions[static_cast<std::size_t>(i)] = "quantity " + std::to_string(i);
  }
  headings[57] = "Äquator-Höhe";
  headings[200] = "Col2";  // a second line with the same beginning as line 2
  TLegendendlg dialog(headings, descriptions);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "Legend");
  ASSERT_EQ(dialog.List()->count(), 221);
  EXPECT_EQ(dialog.List()->item(57)->text(), "Äquator-Höhe: quantity 57");

  const auto search = [&](const QString& text) {
    dialog.SearchEdit()->setText(text);
    return dialog.List()->currentRow();
  };
  EXPECT_EQ(search("äQUATOR"), 57);             // case ignored, also beyond ASCII
  EXPECT_EQ(search("col2"), 2);                 // the first of several matches
  EXPECT_EQ(search("col20: quantity 20"), 20);  // across the separator
  EXPECT_EQ(search("nothing like it"), 0);
  EXPECT_EQ(search(QString(500, 'x')), 0);      // longer than every line
  EXPECT_EQ(search("col3"), 3);
  EXPECT_EQ(search(""), 0);
  search("äq");
  SavePng(dialog, "legend.png");
}

}  // namespace
}  // namespace kvx
