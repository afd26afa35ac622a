// The main window's menus, context menus and tool bars as one table: every
// menu, item, separator and tool-bar button with its German and English
// caption (for buttons: hint), shortcut and the command it runs. The Qt
// builder makes the widgets from it and the language switch re-captions
// them from it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kvx {

enum class TMenuRowKind : std::uint8_t {
  Menu,         // a menu of the menu bar (parent "") or a sub-menu
  ContextMenu,  // a context menu (parent "")
  ToolBar,      // a tool bar (parent ""); its caption names it in the window's tool-bar menu
  Item,         // a menu item
  Separator,    // a separator line (no name); with a command, shown and hidden with that command's items
  Button,       // a tool-bar button; German and English hold its hint
  Widget,       // a tool-bar input box (font, size, zoom); German and English hold its hint
};

struct TMenuRow {
  const char* Name;    // object name, unique; "" for separators
  const char* Parent;  // object name of the menu or tool bar holding it; "" for the roots
  TMenuRowKind Kind;
  const char* German;  // caption (hint for buttons and boxes), '&' before the access key
  const char* English;
  const char* Shortcut;  // portable key text ("Ctrl+Shift+F1"), "" for none
  const char* Command;   // command run by the row; rows of one command share its state
  bool Checkable;
  bool SheetOnly;  // acts on the workbook sheet
  bool Fixed;      // the same caption in both languages; the switch leaves it alone
};

// Every row, in order: the 13 menus of the menu bar with their trees, the
// eight context menus, then the two tool bars.
std::span<const TMenuRow> MenuTable();

// The row of an object name, or nullptr.
const TMenuRow* FindMenuRow(const std::string& name);

// The caption of a row in a language.
inline const char* RowCaption(const TMenuRow& row, bool english) { return english ? row.English : row.German; }

// The anchor of the guide's section of the menu that holds a command's item
// (the innermost menu with a section of its own: "Datei | Dateiwerkzeuge"
// has one, "Format | Spalte" is described under "Format"); "" for a
// command of no menu of the menu bar.
const char* MenuHelpSection(const std::string& command);

// The caption of the daylight-saving item names the switch it offers:
// "&Winterzeit" / "No &Daylight saving" while daylight-saving time is set,
// "&Sommerzeit" / "&Daylight saving" otherwise.
const char* DaylightSavingCaption(bool daylightSaving, bool english);

}  // namespace kvx
