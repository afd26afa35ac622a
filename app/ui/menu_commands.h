// The menus, context menus and tool bars of the main window, built from the
// menu table, and the commands they run. Every row of the table gets its own
// QAction (so that each keeps its own caption), and all the actions of one
// command share one state: handler, enabled, checked. A command without a
// registered handler is disabled everywhere.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QWidget;

namespace kvx {

struct TMenuItemState;
struct TMenuRow;

class TMenuCommands : public QObject {
  Q_OBJECT

 public:
  using Handler = std::function<void()>;

  // Builds every menu of the menu bar, the context menus and the tool bars
  // of `window` from the table, captioned in the current language.
  explicit TMenuCommands(QMainWindow* window);

  // Registers (or, with an empty handler, removes) the handler of a command
  // by its name and enables or disables its actions accordingly. False when
  // the table has no such command.
  bool RegisterHandler(const std::string& command, Handler handler);
  bool HasHandler(const std::string& command) const;
  // One command's name and handler, for RegisterEnabled.
  struct Entry {
    const char* Command;
    Handler Run;
  };
  // Registers each command's handler and enables it: the commands that are
  // always available once their module is installed.
  void RegisterEnabled(std::initializer_list<Entry> entries);
  // Runs the command's handler; false when there is none.
  bool Trigger(const std::string& command);

  // Enables the command (only when it has a handler) or disables it: the
  // state its module keeps.
  void SetEnabled(const std::string& command, bool enabled);
  // Whether the menus' rules (app/menu_states.h) let the command be used
  // now; it is usable only when both they and its module allow it.
  void SetAllowed(const std::string& command, bool allowed);
  bool IsEnabled(const std::string& command) const;
  void SetChecked(const std::string& command, bool checked);
  bool IsChecked(const std::string& command) const;
  // Shows or hides every item and button of the command.
  void SetShown(const std::string& command, bool shown);
  // Sets what a state gives: for a command whether the rules allow it, its
  // shown and checked state and its items' caption; for a sub-menu whether
  // it opens and shows; for a tool-bar box whether it takes input (its
  // showing is the tool bar's). False for a name that is none of these.
  bool ApplyState(const TMenuItemState& state);

  // The action of a row by its object name (menu items, buttons; for menus
  // their menu action), or nullptr.
  QAction* Action(const std::string& objectName) const;
  // A menu, sub-menu or context menu by object name, or nullptr.
  QMenu* Menu(const std::string& objectName) const;
  QToolBar* ToolBar(const std::string& objectName) const;
  // Moves the items of tool bar `name` from `firstItem` on, in their order,
  // into a new tool bar `secondName` placed right after it in the same area,
  // so that a tool-bar break before the new bar stands them in a second row.
  // The new bar is shown and hidden with the first. Returns it, or nullptr
  // when `firstItem` is not on the bar.
  QToolBar* SplitToolBar(const std::string& name, const std::string& firstItem, const std::string& secondName);
  // The split tool bar in two rows (its second part under the first, after a
  // tool-bar break) or in one (every item back on the first bar, in order,
  // and the second bar hidden), so that one row has one overflow button.
  void SetToolBarRows(bool twoRows);
  // A tool-bar input box (font, size, zoom) by object name, or nullptr.
  QWidget* ToolWidget(const std::string& objectName) const;
  // The names of every command of the table.
  std::vector<std::string> CommandNames() const;

  // Re-captions every menu, item, hint and tool bar from the table.
  void ApplyMenuLanguage(bool english);

  // Run when any menu or context menu of the table is about to open, so that
  // its items show the states of this moment.
  std::function<void()> MenuOpening;
  // Run before every command's handler (once for a command that runs
  // others).
  std::function<void()> CommandStarting;
  // Run after every command's handler has returned (once for a command that
  // runs others): the states follow what the command changed.
  std::function<void()> CommandDone;
  // The caption of the daylight-saving item follows the state.
  void SetDaylightSaving(bool daylightSaving);

 private:
  struct Command {
    std::vector<QAction*> actions;
    std::vector<QAction*> separators;  // shown and hidden with the actions
    Handler handler;
    bool enabled = true;  // wanted by the command's module; shown only with a handler
    bool allowed = true;  // let by the menus' rules
  };
  void Build(QMainWindow* window);
  void Recaption(const TMenuRow& row, bool english);
  void UpdateEnabled(Command& command);

  std::map<std::string, Command> commands_;
  std::map<std::string, QAction*> actions_;
  std::map<std::string, QMenu*> menus_;
  std::map<std::string, QToolBar*> toolbars_;
  std::map<std::string, QWidget*> widgets_;
  // The split tool bar: its two bars and the first item of the second.
  QToolBar* split_first_ = nullptr;
  QToolBar* split_second_ = nullptr;
  QAction* split_from_ = nullptr;
  bool english_ = false;
  bool daylight_saving_ = false;
  int running_ = 0;  // handlers running now (a command may trigger another)
};

}  // namespace kvx
