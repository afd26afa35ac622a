// The help from the Help menu (contents, search, using help) and from the
// help buttons of the two satellite dialogs, shown inside the program in
// the program's language.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QKeyEvent>
#include <QLabel>
#include <QTextDocument>
#include <QTextEdit>
#include <QUrl>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "platform/desktop_opener.h"
#include "platform/qt/qt_help_viewer.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_desktop_opener.h"
#include "tables/ui/satellite_dialogs.h"

namespace kvx {
namespace {

using test::SavePng;
using test::WhenModalAppears;
using test::WhenModalShown;

class HelpCommands : public test::MainFormTest {
 protected:
  void TearDown() override { LanguageEnglish = 1; }
};

// Presses the dialog's help button and returns the anchor of the section
// the help showed on top of it (closing that help), then closes the dialog.
template <typename Dialog>
std::string HelpOfDialog(TMenuCommands& commands, const char* command, const std::string& picture) {
  std::string shown = "(no help)";
  WhenModalAppears<Dialog>([&shown, picture](Dialog& dialog) {
    WhenModalShown<THelpForm>([&shown, picture](THelpForm& help) {
      shown = help.ShownAnchor();
      SavePng(help, picture);
      help.accept();
    });
    if (auto* button = dialog.template findChild<QPushButton*>(QStringLiteral("Help"))) button->click();
    dialog.reject();
  });
  commands.Action(command)->trigger();
  return shown;
}

TEST_F(HelpCommands, ContentsSearchUsingHelpAndTheSatelliteDialogs) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  form.SetLanguage(0);
  ScopedMessageSink sink(messages_);
  RecordingDesktopOpener desktop;
  ScopedDesktopOpener opener(desktop);
  TMenuCommands& c = form.Commands();
  for (const char* item : {"HelpContentsItem", "HelpSearchItem", "HelpHowToUseItem"}) {
    EXPECT_TRUE(c.IsEnabled(item)) << item;
  }
  QMenu* menu = c.Menu("HelpMenu");
  menu->popup(form.mapToGlobal(QPoint(900, 20)));
  QApplication::processEvents();
  SavePng(*menu, "help_menu");
  menu->hide();

  // Contents: the German guide's sections, the first one shown.
  c.Action("HelpContentsItem")->trigger();
  auto* window = form.findChild<THelpForm*>(QStringLiteral("HelpForm"));
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->isModal());
  EXPECT_EQ(window->ShownTitle(), "Benutzerhandbuch Kandrevoltinex 4.6");
  EXPECT_GT(window->Topics()->count(), 40);
  EXPECT_TRUE(window->Viewer()->toPlainText().contains(QStringLiteral("Beobachtungsort")));
  // A link to another section shows it.
  window->FollowLink(QStringLiteral("#saving"));
  EXPECT_EQ(window->ShownAnchor(), "saving");
  EXPECT_TRUE(window->Viewer()->toPlainText().contains(QStringLiteral("Konfiguration speichern")));
  window->Topics()->setCurrentRow(2);
  EXPECT_EQ(window->ShownTitle(), window->Sections()[2].Title);
  EXPECT_EQ(window->ShownAnchor(), "first-start");
  EXPECT_FALSE(window->Viewer()->document()->resource(QTextDocument::ImageResource, QUrl("main-de.png")).isNull());
  SavePng(*window, "help_contents");

  // Search: every title for the empty key, then those holding all words.
  int listedAtFirst = -1;
  WhenModalShown<THelpSearchDialog>([&](THelpSearchDialog& search) {
    listedAtFirst = search.Matches()->count();
    search.KeyEdit()->setText(QStringLiteral("SICHTBARKEIT dämmerungsgrenzen"));
    const auto found = search.Matches()->findItems(QStringLiteral("Satellitensichtbarkeit"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    search.Matches()->setCurrentItem(found.front());
    SavePng(search, "help_search");
    search.findChild<QPushButton*>(QStringLiteral("HelpShow"))->click();
  });
  c.Action("HelpSearchItem")->trigger();
  EXPECT_EQ(listedAtFirst, window->Topics()->count());
  EXPECT_EQ(window->ShownAnchor(), "satellite-visibility");
  EXPECT_TRUE(window->Viewer()->toPlainText().contains(QStringLiteral("10 Sekunden")));
  // A key that no section holds: the dialog says so and lists the contents
  // instead, from which a section can be shown.
  WhenModalShown<THelpSearchDialog>([window](THelpSearchDialog& search) {
    search.KeyEdit()->setText(QStringLiteral("xyzzy"));
    EXPECT_EQ(search.Matches()->count(), window->Topics()->count());
    EXPECT_EQ(search.Matches()->item(2)->text(), window->Topics()->item(2)->text());
    EXPECT_EQ(search.findChild<QLabel*>(QStringLiteral("HelpMatchesCaption"))->text(),
              QStringLiteral("Kein Abschnitt enthält \"xyzzy\". Das &Inhaltsverzeichnis:"));
    SavePng(search, "help_search_nothing_found");
    search.Matches()->setCurrentRow(2);
    search.findChild<QPushButton*>(QStringLiteral("HelpShow"))->click();
  });
  c.Action("HelpSearchItem")->trigger();
  EXPECT_EQ(window->ShownAnchor(), "first-start");
  // A word an observer types that the text does not use: the section's
  // keywords find it; a word held nowhere beside found ones is named.
  WhenModalShown<THelpSearchDialog>([](THelpSearchDialog& search) {
    search.KeyEdit()->setText(QStringLiteral("ISS xyzzy"));
    ASSERT_GT(search.Matches()->count(), 0);
    EXPECT_EQ(search.Matches()->item(0)->text(), QStringLiteral("Satelliten"));
    EXPECT_EQ(search.findChild<QLabel*>(QStringLiteral("HelpMatchesCaption"))->text(),
              QStringLiteral("Kein Abschnitt enthält \"xyzzy\"; &gefunden für die übrigen Wörter:"));
    search.reject();
  });
  c.Action("HelpSearchItem")->trigger();

  // Using help: its own page in the language of the program.
  c.Action("HelpHowToUseItem")->trigger();
  EXPECT_EQ(window->ShownTitle(), "");
  EXPECT_TRUE(window->Viewer()->toPlainText().startsWith(QStringLiteral("Hilfe benutzen")));
  SavePng(*window, "help_using_help");
  window->close();

  // The satellite dialogs' help buttons open their sections on top of the
  // dialog.
  EXPECT_EQ(HelpOfDialog<TSatellitenwahlform>(c, "Satelliten1", "help_from_satellite_selection"), "satellites");
  EXPECT_EQ(HelpOfDialog<TSatellitensuche>(c, "Erdsatelliten1", "help_from_satellite_visibility"),
            "satellite-visibility");

  // English: the English guide from F1 and its own search; F1 in a dialog
  // opens the dialog's section though the dialog has no help button.
  form.SetLanguage(1);
  c.Action("HelpContentsItem")->trigger();
  EXPECT_EQ(window->ShownTitle(), "Kandrevoltinex 4.6 User's Guide");
  EXPECT_TRUE(window->Viewer()->toPlainText().contains(QStringLiteral("observer's place")));
  WhenModalShown<THelpSearchDialog>([](THelpSearchDialog& search) {
    search.KeyEdit()->setText(QStringLiteral("horoscope"));
    EXPECT_EQ(search.findChild<QLabel*>(QStringLiteral("HelpMatchesCaption"))->text(),
              QStringLiteral("No section contains \"horoscope\". The &contents:"));
    search.KeyEdit()->setText(QStringLiteral("eclipses"));
    EXPECT_GT(search.Matches()->count(), 2);
    EXPECT_EQ(search.findChild<QLabel*>(QStringLiteral("HelpMatchesCaption"))->text(),
              QStringLiteral("Sections &found:"));
    search.reject();
  });
  c.Action("HelpSearchItem")->trigger();
  window->close();
  std::string fromKey = "(no help)";
  WhenModalAppears<TSatellitenwahlform>([&fromKey](TSatellitenwahlform& dialog) {
    WhenModalShown<THelpForm>([&fromKey](THelpForm& help) {
      fromKey = help.ShownAnchor() + " " + help.ShownTitle();
      help.accept();
    });
    EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("Help"))->isVisible());
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog, &press);
    dialog.reject();
  });
  c.Action("Satelliten1")->trigger();
  EXPECT_EQ(fromKey, "satellites Satellites");
  EXPECT_TRUE(desktop.opened.empty());
  EXPECT_TRUE(messages_.messages.empty());
}

}  // namespace
}  // namespace kvx
