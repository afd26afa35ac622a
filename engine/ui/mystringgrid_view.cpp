#include "engine/ui/mystringgrid_view.h"

#include <QHeaderView>
#include <QTimer>

namespace kvx {

TMyStringGridModel::TMyStringGridModel(tmystringgrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), rows_(grid.RowCount() - 1), cols_(grid.ColCount() - 1) {
  grid_.SetChangeListener([this] {
    if (refreshQueued_) return;
    refreshQueued_ = true;
    QTimer::singleShot(0, this, [this] { Refresh(); });
  });
}

TMyStringGridModel::~TMyStringGridModel() { grid_.SetChangeListener({}); }

void TMyStringGridModel::Refresh() {
  refreshQueued_ = false;
  const int rows = grid_.RowCount() - 1;
  const int cols = grid_.ColCount() - 1;
  if (rows != rows_ || cols != cols_) {
    beginResetModel();
    rows_ = rows;
    cols_ = cols;
    endResetModel();
    emit Refreshed();
    return;
  }
  if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
  emit headerDataChanged(Qt::Horizontal, 0, std::max(0, cols_ - 1));
  emit headerDataChanged(Qt::Vertical, 0, std::max(0, rows_ - 1));
  emit Refreshed();
}

int TMyStringGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int TMyStringGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

QVariant TMyStringGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return QString::fromStdString(grid_.Cells(index.column() + 1, index.row() + 1));
}

QVariant TMyStringGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) return QString::fromStdString(grid_.Cells(section + 1, 0));
  return QString::fromStdString(grid_.Cells(0, section + 1));
}

bool TMyStringGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  grid_.SetCells(index.column() + 1, index.row() + 1, value.toString().toStdString());
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags TMyStringGridModel::flags(const QModelIndex& index) const {
  return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

TMyStringGridView::TMyStringGridView(tmystringgrid& grid, QWidget* parent)
    : QTableView(parent), grid_(grid), model_(new TMyStringGridModel(grid, this)) {
  setModel(model_);
  connect(model_, &TMyStringGridModel::Refreshed, this, &TMyStringGridView::ApplyColumnWidths);
  ApplyColumnWidths();
  horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

void TMyStringGridView::ApplyColumnWidths() {
  for (int column = 0; column < model_->columnCount(); ++column) setColumnWidth(column, grid_.ColWidths(column + 1));
}

}  // namespace kvx
