// The texts a window shows its user (captions, labels, buttons, group
// titles, edits, list and table cells and headings, tab names, menu items
// and tool tips) and the words among them that belong to the other
// interface language: a German window must not say "Cancel", "Yes" or
// "Open", an English one not "Abbrechen", "Datum" or "Sonne".
#pragma once

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextEdit>
#include <QWidget>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace kvx::test {

struct TShownText {
  std::string where;  // object name or class of the widget
  std::string text;
};

namespace shown_texts_detail {

inline std::string Where(const QObject& object) {
  const QString name = object.objectName();
  return name.isEmpty() ? std::string(object.metaObject()->className()) : name.toStdString();
}

inline void Add(std::vector<TShownText>& out, const QObject& from, const QString& text) {
  if (!text.trimmed().isEmpty()) out.push_back({Where(from), text.toStdString()});
}

// Captions and tool tips of the items of a menu and its submenus.
inline void AddMenu(std::vector<TShownText>& out, const QMenu& menu, std::set<const QMenu*>& seen) {
  if (!seen.insert(&menu).second) return;
  Add(out, menu, menu.title());
  for (const QAction* action : menu.actions()) {
    if (!action->isVisible()) continue;
    Add(out, *action, action->text());
    if (action->toolTip() != action->text().remove(QLatin1Char('&'))) Add(out, *action, action->toolTip());
    if (const QMenu* sub = action->menu()) AddMenu(out, *sub, seen);
  }
}

// Item cells and header captions of a model, at most a few hundred rows.
inline void AddModel(std::vector<TShownText>& out, const QAbstractItemView& view) {
  const QAbstractItemModel* model = view.model();
  if (model == nullptr) return;
  const int rows = std::min(model->rowCount(), 300);
  const int cols = std::min(model->columnCount(), 300);
  for (int c = 0; c < cols; ++c) Add(out, view, model->headerData(c, Qt::Horizontal).toString());
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) Add(out, view, model->data(model->index(r, c)).toString());
  }
}

}  // namespace shown_texts_detail

// Every text of the visible widgets of `window` (hidden ones are left out:
// the user cannot read them), the window's own title first.
inline std::vector<TShownText> ShownTexts(const QWidget& window) {
  using namespace shown_texts_detail;
  std::vector<TShownText> out;
  Add(out, window, window.windowTitle());
  auto visible = [&window](const QWidget* w) { return w->isVisibleTo(&window) || w == &window; };
  for (const QWidget* w : window.findChildren<QWidget*>()) {
    if (!visible(w)) continue;
    if (!w->toolTip().isEmpty()) Add(out, *w, w->toolTip());
    if (auto* label = qobject_cast<const QLabel*>(w))
      Add(out, *w, label->text());
    else if (auto* button = qobject_cast<const QAbstractButton*>(w))
      Add(out, *w, button->text());
    else if (auto* group = qobject_cast<const QGroupBox*>(w))
      Add(out, *w, group->title());
    else if (auto* edit = qobject_cast<const QLineEdit*>(w)) {
      Add(out, *w, edit->text());
      Add(out, *w, edit->placeholderText());
    } else if (auto* plain = qobject_cast<const QPlainTextEdit*>(w))
      Add(out, *w, plain->toPlainText());
    else if (auto* rich = qobject_cast<const QTextEdit*>(w))
      Add(out, *w, rich->toPlainText());
    else if (auto* box = qobject_cast<const QComboBox*>(w)) {
      for (int i = 0; i < std::min(box->count(), 300); ++i) Add(out, *w, box->itemText(i));
    } else if (auto* tabs = qobject_cast<const QTabBar*>(w)) {
      for (int i = 0; i < tabs->count(); ++i) Add(out, *w, tabs->tabText(i));
    } else if (auto* view = qobject_cast<const QAbstractItemView*>(w)) {
      AddModel(out, *view);
    }
  }
  std::set<const QMenu*> seen;
  for (const QMenu* menu : window.findChildren<QMenu*>()) {
    // Menus of hidden children (a kept dialog) wait until those show; a
    // submenu is reached through its parent menu.
    const QWidget* owner = menu->parentWidget();
    if (owner != nullptr && owner != &window && !owner->isVisibleTo(&window)) continue;
    AddMenu(out, *menu, seen);
  }
  return out;
}

// The whole words of `text` that only the other language uses: with
// `english` set the German ones, else the English ones. A word is a run of
// letters (umlauts and "ß" included); accelerator marks "&" are dropped
// first, so "&Abbrechen" gives "Abbrechen".
inline std::vector<std::string> WordsOfOtherLanguage(const std::string& text, bool english) {
  static const std::set<std::string> kGerman = {
      "Abbrechen",  "Abbruch",      "Hilfe",      "Schließen",       "Öffnen",   "Speichern",  "Datei",
      "Dateien",    "wählen",       "auswählen",  "abwählen",        "Alle",     "Datum",      "Uhrzeit",
      "Objekt",     "Ereignis",     "Ereignisse", "Sonne",           "Merkur",   "Erde",       "Neptun",
      "Mond",       "Tabelle",      "Dezimal",    "Zentralmeridian", "Ja",       "Nein",       "und",
      "oder",       "für",          "mit",        "nicht",           "der",      "die",        "das",
      "Zeitraum",   "Planetoid",    "Komet",      "Suchen",          "Fehler",   "Sonnenhöhe", "Aufgang",
      "Unterg",     "Kulm",         "Distanz",    "Galaktische",     "Stdw",     "Ordner",     "Zurück",
      "Rückgängig", "Ausschneiden", "Kopieren",   "Einfügen",        "Löschen",  "Schriftart", "Farbe",
      "Bitte",      "Geduld",       "wird",       "berechnet",       "Ergebnis", "Anzahl",     "Werte",
      "Länge",      "Breite",       "Katalog",    "Jetzt",           "laden",    "lesen",      "Zurücksetzen",
      "Julianische"};
  static const std::set<std::string> kEnglish = {
      "Cancel",  "Yes",   "No",     "Open",    "Save",      "Close",    "Help",    "Sheet",       "Select",
      "Date",    "File",  "Files",  "Folder",  "Directory", "Back",     "Forward", "Apply",       "Reset",
      "Discard", "Abort", "Retry",  "Ignore",  "the",       "and",      "of",      "with",        "for",
      "Sun",     "Moon",  "Earth",  "Mercury", "Neptune",   "Asteroid", "Comet",   "Decimal",     "Settings",
      "Error",   "Undo",  "Redo",   "Cut",     "Copy",      "Paste",    "Delete",  "Object",      "Event",
      "Type",    "Size",  "Please", "wait",    "Look",      "All",      "Clear",   "Calculating", "Result",
      "Number",  "Load",  "Now",    "Values",  "Catalogue", "Show",     "Read"};
  const std::set<std::string>& other = english ? kGerman : kEnglish;
  std::vector<std::string> found;
  std::string word;
  auto flush = [&] {
    if (!word.empty() && other.count(word) != 0) found.push_back(word);
    word.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '&') continue;
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0x80;  // UTF-8 bytes of ä, ß ...
    if (letter) {
      word += static_cast<char>(c);
    } else {
      flush();
    }
  }
  flush();
  return found;
}

}  // namespace kvx::test
