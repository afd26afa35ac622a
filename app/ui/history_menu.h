// The recent-files list in a menu: after the menu's own items a separator
// and one item "&<n> <file>" per entry; the optional second menu gets the
// same items without separator. Choosing an item fires OnFileSelected.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace kvx {

class TMyHistoryList;

class TMyHistoryMenu : public QObject {
  Q_OBJECT

 public:
  TMyHistoryMenu(TMyHistoryList& list, QObject* parent = nullptr);
  ~TMyHistoryMenu() override;

  // Detaches from the previous menu (removing the items added there),
  // remembers how many items `menu` has and adds the entries.
  void SetMenu(QMenu* menu);
  void SetSecondMenu(QMenu* menu);
  void Rebuild();

  std::function<void(const std::string& fileName)> OnFileSelected;

 private:
  void Clear();
  void Chosen(const QString& caption);

  TMyHistoryList& list_;
  QMenu* menu_ = nullptr;
  QMenu* second_ = nullptr;
  std::vector<QAction*> added_;
};

}  // namespace kvx
