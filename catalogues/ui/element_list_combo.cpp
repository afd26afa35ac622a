#include "catalogues/ui/element_list_combo.h"

namespace kvx {

ElementListCombo::ElementListCombo(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  setMaxVisibleItems(20);
  connect(this, qOverload<int>(&QComboBox::activated), this, &ElementListCombo::OnActivated);
}

ElementListCombo::~ElementListCombo() { SetList(nullptr); }

void ElementListCombo::SetList(TElementListBase* list) {
  if (list_ != nullptr) list_->OnChange = previousHook_;
  list_ = list;
  previousHook_ = nullptr;
  if (list_ != nullptr) {
    previousHook_ = list_->OnChange;
    list_->OnChange = [this] { OnListChanged(); };
  }
  Reload();
}

void ElementListCombo::Reload() {
  filling_ = true;
  clear();
  if (list_ != nullptr) {
    QStringList texts;
    texts.reserve(list_->Count());
    for (int k = 0; k < list_->Count(); ++k) texts.append(QString::fromStdString(list_->Text(k)));
    addItems(texts);
    setCurrentIndex(list_->ItemIndex);
  }
  filling_ = false;
}

void ElementListCombo::ShowSelection() {
  filling_ = true;
  setCurrentIndex(list_ != nullptr && list_->ItemIndex < count() ? list_->ItemIndex : -1);
  filling_ = false;
}

void ElementListCombo::OnListChanged() {
  if (list_ == nullptr) return;
  // A load replaces the items; a search only moves the selection.
  bool same = count() == list_->Count();
  for (int k = 0; same && k < count() && k < 3; ++k) same = itemText(k).toStdString() == list_->Text(k);
  if (!same) {
    Reload();
  } else {
    filling_ = true;
    setCurrentIndex(list_->ItemIndex);
    filling_ = false;
  }
  if (previousHook_) previousHook_();
  emit selectionChanged(list_->ItemIndex);
}

void ElementListCombo::OnActivated(int index) {
  if (filling_ || list_ == nullptr) return;
  list_->Select(index);
  list_->Changed();
}

}  // namespace kvx
