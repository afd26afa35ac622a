// An element list shown in a drop-down box: the items' texts in list order,
// the list's selection shown, and a choice in the box selecting the item in
// the list (and raising its change hook). The element dialogs and editors
// put one on their forms.
#pragma once

#include <QComboBox>
#include <functional>

#include "catalogues/element_list.h"

namespace kvx {

class ElementListCombo : public QComboBox {
  Q_OBJECT

 public:
  explicit ElementListCombo(QWidget* parent = nullptr);
  ~ElementListCombo() override;

  // Binds the box to `list` (nullptr unbinds). The box chains itself into
  // the list's change hook: whatever hook the list had keeps being called.
  void SetList(TElementListBase* list);
  TElementListBase* List() const { return list_; }

  // Refills the items from the list and shows its selection.
  void Reload();
  // Shows the list's selection (none: an empty box) without refilling.
  void ShowSelection();

 signals:
  // The list's selected item after a change (by the user or by the list).
  void selectionChanged(int index);

 private:
  void OnListChanged();
  void OnActivated(int index);

  TElementListBase* list_ = nullptr;
  std::function<void()> previousHook_;
  bool filling_ = false;
};

}  // namespace kvx
