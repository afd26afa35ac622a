#include "app/ui/menu_commands.h"

#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QIcon>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

#include "app/menu_states.h"
#include "app/menu_table.h"
#include "platform/globals.h"
#include "platform/help.h"

namespace kvx {

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// The picture of a tool-bar button: a symbol or a few letters.
const std::map<std::string, const char*>& ButtonGlyphs() {
  static const std::map<std::string, const char*> glyphs = {
      {"SpeedButton26", "\u25A1"},  {"SpeedButton1", "\u21E9"},     {"SpeedButton3", "\u21E7"},
      {"SpeedButton30", "\u25A4"},  {"SpeedButton5", "K\u2193"},    {"SpeedButton29", "K\u2191"},
      {"SpeedButton4", "\u25F7"},   {"SpeedButton8", "\u21BB"},     {"SpeedButton6", "\u2295"},
      {"SpeedButton7", "\u2630"},   {"SpeedButton9", "\u21A6"},     {"SpeedButton21", "Ab"},
      {"SpeedButton33", "\u25A6"},  {"SpeedButton28", "\u2609"},    {"SpeedButton10", "\u263F"},
      {"SpeedButton11", "\u2640"},  {"SpeedButton12", "\u2642"},    {"SpeedButton13", "\u2643"},
      {"SpeedButton14", "\u2644"},  {"SpeedButton15", "\u2645"},    {"SpeedButton16", "\u2646"},
      {"SpeedButton17", "\u2647"},  {"SpeedButton20", "\u263E"},    {"SpeedButton18", "\u2604"},
      {"SpeedButton19", "\u2217"},  {"SpeedButton23", "\u2735"},    {"SpeedButton24", "\u25D0"},
      {"SpeedButton25", "\u25C9"},  {"SpeedButton25a", "\u25CF"},   {"SpeedButton27", "\u222B"},
      {"SpeedButton31", "\u222Ba"}, {"SpeedButton32", "\u222Bc"},   {"BoldButton", "B"},
      {"ItalicButton", "I"},        {"UnderlineButton", "U"},       {"LeftAlign", "\u2261\u2190"},
      {"CenterAlign", "\u2261"},    {"RightAlign", "\u2192\u2261"}, {"sbcalign", "\u2194"},
      {"SpeedButton34", "Pd"},      {"SpeedButton35", "P2"},        {"SpeedButton36", "Ph"},
      {"SpeedButton37", "\u2195"},  {"SpeedButton38", "As"},        {"SpeedButton39", "Co"},
      {"SpeedButton40", "Ec"},      {"SpeedButton41", "Ea"},        {"SpeedButton42", "St"},
      {"SpeedButton43", "All"},     {"SpeedButton44", "\u21E9"},    {"SpeedButton45", "\u2630"}};
  return glyphs;
}

QIcon GlyphIcon(const char* glyph) {
  QPixmap pixmap(24, 24);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QFont font = painter.font();
  const QString text = QString::fromUtf8(glyph);
  font.setPixelSize(text.size() > 2 ? 11 : (text.size() > 1 ? 13 : 18));
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(QColor(30, 50, 110));
  painter.drawText(pixmap.rect(), Qt::AlignCenter, text);
  return QIcon(pixmap);
}

// A hint without the access-key ampersand, for the status line.
QString HintOf(const char* caption) {
  QString text = Text(caption);
  text.remove(QLatin1Char('&'));
  return text;
}

}  // namespace

TMenuCommands::TMenuCommands(QMainWindow* window) : QObject(window), english_(LanguageEnglish != 0) {
  Build(window);
  ApplyMenuLanguage(english_);
}

void TMenuCommands::Build(QMainWindow* window) {
  QMenuBar* bar = window->menuBar();
  for (const TMenuRow& row : MenuTable()) {
    const std::string name = row.Name;
    const std::string parent = row.Parent;
    QMenu* parentMenu = parent.empty() ? nullptr : Menu(parent);
    QToolBar* parentBar = parent.empty() ? nullptr : ToolBar(parent);
    switch (row.Kind) {
      case TMenuRowKind::Menu: {
        auto* menu = new QMenu(window);
        menu->setObjectName(Text(row.Name));
        if (parentMenu != nullptr) {
          parentMenu->addMenu(menu);
        } else {
          bar->addMenu(menu);
        }
        menu->menuAction()->setObjectName(Text(row.Name));
        connect(menu, &QMenu::aboutToShow, this, [this] {
          if (MenuOpening) MenuOpening();
        });
        menus_[name] = menu;
        actions_[name] = menu->menuAction();
        break;
      }
      case TMenuRowKind::ContextMenu: {
        auto* menu = new QMenu(window);
        menu->setObjectName(Text(row.Name));
        connect(menu, &QMenu::aboutToShow, this, [this] {
          if (MenuOpening) MenuOpening();
        });
        menus_[name] = menu;
        break;
      }
      case TMenuRowKind::ToolBar: {
        auto* toolbar = new QToolBar(window);
        toolbar->setObjectName(Text(row.Name));
        toolbar->setMovable(false);
        window->addToolBar(Qt::TopToolBarArea, toolbar);
        toolbars_[name] = toolbar;
        break;
      }
      case TMenuRowKind::Separator: {
        QAction* line = nullptr;
        if (parentMenu != nullptr) line = parentMenu->addSeparator();
        if (parentBar != nullptr) line = parentBar->addSeparator();
        if (line != nullptr && *row.Command != '\0') commands_[row.Command].separators.push_back(line);
        break;
      }
      case TMenuRowKind::Item:
      case TMenuRowKind::Button: {
        auto* action = new QAction(window);
        action->setObjectName(Text(row.Name));
        if (row.Kind == TMenuRowKind::Button) {
          auto glyph = ButtonGlyphs().find(name);
          action->setIcon(GlyphIcon(glyph != ButtonGlyphs().end() ? glyph->second : "?"));
        }
        action->setCheckable(row.Checkable);
        if (*row.Shortcut != '\0') {
          action->setShortcut(QKeySequence(Text(row.Shortcut), QKeySequence::PortableText));
          action->setShortcutContext(Qt::WindowShortcut);
          window->addAction(action);  // shortcuts work with the menu bar hidden too
        }
        if (parentMenu != nullptr) parentMenu->addAction(action);
        if (parentBar != nullptr) {
          parentBar->addAction(action);
          if (auto* button = qobject_cast<QToolButton*>(parentBar->widgetForAction(action))) {
            button->setObjectName(Text(row.Name));
          }
        }
        const std::string command = row.Command;
        connect(action, &QAction::triggered, this, [this, command](bool checked) {
          Command& c = commands_[command];
          if (c.actions.front()->isCheckable()) {
            for (QAction* other : c.actions) {
              if (other->isCheckable()) other->setChecked(checked);
            }
          }
          Trigger(command);
        });
        commands_[command].actions.push_back(action);
        actions_[name] = action;
        break;
      }
      case TMenuRowKind::Widget: {
        QWidget* widget = nullptr;
        if (name == "edViewScale") {
          auto* zoom = new QSpinBox(parentBar);
          zoom->setRange(10, 400);
          zoom->setValue(100);
          zoom->setSuffix(QStringLiteral(" %"));
          widget = zoom;
        } else {
          auto* box = new QComboBox(parentBar);
          box->setEditable(true);
          if (name == "Fontsize") {
            for (int size : {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72}) {
              box->addItem(QString::number(size));
            }
            box->setCurrentText(QStringLiteral("10"));
          } else {
            box->setMinimumContentsLength(16);
          }
          widget = box;
        }
        widget->setObjectName(Text(row.Name));
        widget->setEnabled(false);  // the sheet-formatting commands enable them
        if (parentBar != nullptr) parentBar->addWidget(widget);
        widgets_[name] = widget;
        break;
      }
    }
  }
  for (auto& [name, command] : commands_) UpdateEnabled(command);
}

void TMenuCommands::Recaption(const TMenuRow& row, bool english) {
  const std::string name = row.Name;
  const char* caption = RowCaption(row, english);
  switch (row.Kind) {
    case TMenuRowKind::Menu:
    case TMenuRowKind::ContextMenu:
      if (QMenu* menu = Menu(name)) menu->setTitle(Text(caption));
      break;
    case TMenuRowKind::ToolBar:
      if (QToolBar* bar = ToolBar(name)) bar->setWindowTitle(Text(caption));
      break;
    case TMenuRowKind::Item:
      if (QAction* action = Action(name)) {
        if (name == "Sommerzeit1") caption = DaylightSavingCaption(daylight_saving_, english);
        action->setText(Text(caption));
        action->setStatusTip(HintOf(caption));
      }
      break;
    case TMenuRowKind::Button:
      if (QAction* action = Action(name)) {
        // The button shows its hint as tool tip and in the status line.
        action->setIconText(Text(caption));
        action->setToolTip(Text(caption));
        action->setStatusTip(Text(caption));
      }
      break;
    case TMenuRowKind::Widget:
      if (QWidget* widget = ToolWidget(name)) {
        widget->setToolTip(Text(caption));
        widget->setStatusTip(Text(caption));
      }
      break;
    case TMenuRowKind::Separator:
      break;
  }
}

void TMenuCommands::ApplyMenuLanguage(bool english) {
  english_ = english;
  // Rows with the same caption in both languages come out unchanged.
  for (const TMenuRow& row : MenuTable()) Recaption(row, english);
}

void TMenuCommands::SetDaylightSaving(bool daylightSaving) {
  daylight_saving_ = daylightSaving;
  if (const TMenuRow* row = FindMenuRow("Sommerzeit1")) Recaption(*row, english_);
}

void TMenuCommands::UpdateEnabled(Command& command) {
  const bool on = command.enabled && command.allowed && static_cast<bool>(command.handler);
  for (QAction* action : command.actions) action->setEnabled(on);
}

bool TMenuCommands::RegisterHandler(const std::string& name, Handler handler) {
  auto it = commands_.find(name);
  if (it == commands_.end()) return false;
  it->second.handler = std::move(handler);
  UpdateEnabled(it->second);
  return true;
}

void TMenuCommands::RegisterEnabled(std::initializer_list<Entry> entries) {
  for (const Entry& entry : entries) {
    RegisterHandler(entry.Command, entry.Run);
    SetEnabled(entry.Command, true);
  }
}

bool TMenuCommands::HasHandler(const std::string& name) const {
  auto it = commands_.find(name);
  return it != commands_.end() && static_cast<bool>(it->second.handler);
}

bool TMenuCommands::Trigger(const std::string& name) {
  auto it = commands_.find(name);
  if (it == commands_.end() || !it->second.handler) return false;
  Handler handler = it->second.handler;  // a handler may re-register itself
  struct Running {
    TMenuCommands& commands;
    explicit Running(TMenuCommands& c) : commands(c) {
      if (commands.running_ == 0 && commands.CommandStarting) commands.CommandStarting();
      ++commands.running_;
    }
    ~Running() {
      if (--commands.running_ != 0 || !commands.CommandDone) return;
      try {
        commands.CommandDone();
      } catch (...) {
        // The states are set again on the next opening of a menu.
      }
    }
  } running(*this);
  // F1 in a dialog of the command that names no help of its own opens the
  // section of the command's menu.
  const ScopedHelpFallback help(MenuHelpSection(name));
  handler();
  return true;
}

void TMenuCommands::SetEnabled(const std::string& name, bool enabled) {
  auto it = commands_.find(name);
  if (it == commands_.end()) return;
  it->second.enabled = enabled;
  UpdateEnabled(it->second);
}

void TMenuCommands::SetAllowed(const std::string& name, bool allowed) {
  auto it = commands_.find(name);
  if (it == commands_.end()) return;
  it->second.allowed = allowed;
  UpdateEnabled(it->second);
}

bool TMenuCommands::IsEnabled(const std::string& name) const {
  auto it = commands_.find(name);
  return it != commands_.end() && !it->second.actions.empty() && it->second.actions.front()->isEnabled();
}

void TMenuCommands::SetChecked(const std::string& name, bool checked) {
  auto it = commands_.find(name);
  if (it == commands_.end()) return;
  for (QAction* action : it->second.actions) {
    if (action->isCheckable()) action->setChecked(checked);
  }
}

bool TMenuCommands::IsChecked(const std::string& name) const {
  auto it = commands_.find(name);
  return it != commands_.end() && !it->second.actions.empty() && it->second.actions.front()->isChecked();
}

void TMenuCommands::SetShown(const std::string& name, bool shown) {
  auto it = commands_.find(name);
  if (it == commands_.end()) return;
  for (QAction* action : it->second.actions) action->setVisible(shown);
  for (QAction* line : it->second.separators) line->setVisible(shown);
}

bool TMenuCommands::ApplyState(const TMenuItemState& state) {
  const std::string& name = state.Item;
  if (commands_.count(name) != 0) {
    if (state.Enabled) SetAllowed(name, *state.Enabled);
    if (state.Shown) SetShown(name, *state.Shown);
    if (state.Checked) SetChecked(name, *state.Checked);
    if (state.Caption != nullptr) {
      for (QAction* action : commands_[name].actions) {
        const TMenuRow* row = FindMenuRow(action->objectName().toStdString());
        if (row == nullptr || row->Kind != TMenuRowKind::Item) continue;  // a button keeps its hint
        action->setText(Text(state.Caption));
        action->setStatusTip(HintOf(state.Caption));
      }
    }
    return true;
  }
  if (QMenu* menu = Menu(name)) {
    if (state.Enabled) menu->menuAction()->setEnabled(*state.Enabled);
    if (state.Shown) menu->menuAction()->setVisible(*state.Shown);
    return true;
  }
  if (QWidget* box = ToolWidget(name)) {
    if (state.Enabled) box->setEnabled(*state.Enabled);
    return true;
  }
  return false;
}

QAction* TMenuCommands::Action(const std::string& objectName) const {
  auto it = actions_.find(objectName);
  return it == actions_.end() ? nullptr : it->second;
}

QMenu* TMenuCommands::Menu(const std::string& objectName) const {
  auto it = menus_.find(objectName);
  return it == menus_.end() ? nullptr : it->second;
}

QToolBar* TMenuCommands::ToolBar(const std::string& objectName) const {
  auto it = toolbars_.find(objectName);
  return it == toolbars_.end() ? nullptr : it->second;
}

namespace {

// Shows and hides `follower` whenever its tool bar is shown or hidden on
// purpose (not when the whole window is); an empty follower stays hidden.
class TFollowVisibility : public QObject {
 public:
  TFollowVisibility(QToolBar* leader, QToolBar* follower) : QObject(follower), follower_(follower) {
    leader->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ShowToParent && !follower_->actions().isEmpty()) follower_->show();
    if (event->type() == QEvent::HideToParent) follower_->hide();
    return QObject::eventFilter(watched, event);
  }

 private:
  QToolBar* follower_;
};

}  // namespace

QToolBar* TMenuCommands::SplitToolBar(const std::string& name, const std::string& firstItem,
                                      const std::string& secondName) {
  QToolBar* first = ToolBar(name);
  QAction* from = Action(firstItem);
  auto* window = first != nullptr ? qobject_cast<QMainWindow*>(first->parentWidget()) : nullptr;
  if (window == nullptr || from == nullptr) return nullptr;
  const QList<QAction*> items = first->actions();
  const qsizetype start = items.indexOf(from);
  if (start < 0) return nullptr;
  auto* second = new QToolBar(window);
  second->setObjectName(QString::fromStdString(secondName));
  second->setWindowTitle(first->windowTitle());
  second->setMovable(first->isMovable());
  // Right after the first bar: before the next bar of the area, if any.
  QToolBar* next = nullptr;
  bool passed = false;
  for (QToolBar* bar : window->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly)) {
    if (passed && next == nullptr && window->toolBarArea(bar) == window->toolBarArea(first)) next = bar;
    if (bar == first) passed = true;
  }
  if (next != nullptr) {
    window->insertToolBar(next, second);
  } else {
    window->addToolBar(window->toolBarArea(first), second);
  }
  split_first_ = first;
  split_second_ = second;
  split_from_ = from;
  toolbars_[secondName] = second;
  new TFollowVisibility(first, second);
  SetToolBarRows(true);
  return second;
}

namespace {

// Moves `items` to the end of `to`, in their order; an input box goes along
// with its action, a button keeps the action's name.
void MoveToolBarItems(const QList<QAction*>& items, QToolBar* from, QToolBar* to) {
  for (QAction* item : items) {
    from->removeAction(item);
    to->addAction(item);
    if (auto* button = qobject_cast<QToolButton*>(to->widgetForAction(item))) {
      button->setObjectName(item->objectName());
    }
  }
}

}  // namespace

void TMenuCommands::SetToolBarRows(bool twoRows) {
  if (split_first_ == nullptr) return;
  auto* window = qobject_cast<QMainWindow*>(split_first_->parentWidget());
  if (twoRows && split_second_->actions().isEmpty()) {
    const QList<QAction*> items = split_first_->actions();
    const qsizetype start = items.indexOf(split_from_);
    if (start < 0) return;
    MoveToolBarItems(items.mid(start), split_first_, split_second_);
    split_second_->setVisible(split_first_->isVisibleTo(window));
  } else if (!twoRows && !split_second_->actions().isEmpty()) {
    MoveToolBarItems(split_second_->actions(), split_second_, split_first_);
    split_second_->hide();
  }
  if (window != nullptr && window->toolBarBreak(split_second_) != twoRows) {
    if (twoRows) {
      window->insertToolBarBreak(split_second_);
    } else {
      window->removeToolBarBreak(split_second_);
    }
  }
}

QWidget* TMenuCommands::ToolWidget(const std::string& objectName) const {
  auto it = widgets_.find(objectName);
  return it == widgets_.end() ? nullptr : it->second;
}

std::vector<std::string> TMenuCommands::CommandNames() const {
  std::vector<std::string> names;
  for (const auto& [name, command] : commands_) names.push_back(name);
  return names;
}

}  // namespace kvx
