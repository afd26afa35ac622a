#include "app/ui/history_menu.h"

#include <QAction>
#include <QMenu>

#include "app/history_list.h"

namespace kvx {

TMyHistoryMenu::TMyHistoryMenu(TMyHistoryList& list, QObject* parent) : QObject(parent), list_(list) {
  list_.OnChanged = [this] { Rebuild(); };
}

TMyHistoryMenu::~TMyHistoryMenu() { list_.OnChanged = nullptr; }

void TMyHistoryMenu::SetMenu(QMenu* menu) {
  Clear();
  menu_ = menu;
  Rebuild();
}

void TMyHistoryMenu::SetSecondMenu(QMenu* menu) {
  Clear();
  second_ = menu;
  Rebuild();
}

void TMyHistoryMenu::Clear() {
  for (QAction* action : added_) {
    if (menu_ != nullptr) menu_->removeAction(action);
    if (second_ != nullptr) second_->removeAction(action);
    action->deleteLater();
  }
  added_.clear();
}

void TMyHistoryMenu::Rebuild() {
  Clear();
  const auto& files = list_.Files();
  if (files.empty()) return;
  auto add = [this](QMenu* menu, const QString& caption) {
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, this, [this, caption] { Chosen(caption); });
    added_.push_back(action);
  };
  if (menu_ != nullptr) added_.push_back(menu_->addSeparator());
  for (std::size_t i = 0; i < files.size(); ++i) {
    const QString caption = QString::fromStdString(TMyHistoryList::EntryCaption(static_cast<int>(i), files[i]));
    if (menu_ != nullptr) add(menu_, caption);
    if (second_ != nullptr) add(second_, caption);
  }
}

void TMyHistoryMenu::Chosen(const QString& caption) {
  const int number = TMyHistoryList::EntryNumberFromCaption(caption.toStdString());
  const auto& files = list_.Files();
  if (number >= 1 && number <= static_cast<int>(files.size()) && OnFileSelected) {
    OnFileSelected(files[static_cast<std::size_t>(number - 1)]);
  }
}

}  // namespace kvx
