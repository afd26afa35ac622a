// The result grid on screen: a table view of a tmystringgrid whose row 0
// and column 0 are shown as the column and row headers. The view follows
// every change of the grid; it does not own the grid.
#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include "engine/mystringgrid.h"

namespace kvx {

class TMyStringGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TMyStringGridModel(tmystringgrid& grid, QObject* parent = nullptr);
  ~TMyStringGridModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Tells the views that the grid changed (called by the grid's listener,
  // at most once per pass of the event loop).
  void Refresh();

 signals:
  // After every refresh: the views take the grid's column widths.
  void Refreshed();

 private:
  tmystringgrid& grid_;
  int rows_ = 0;
  int cols_ = 0;
  bool refreshQueued_ = false;
};

class TMyStringGridView : public QTableView {
  Q_OBJECT

 public:
  explicit TMyStringGridView(tmystringgrid& grid, QWidget* parent = nullptr);
  TMyStringGridModel* Model() const { return model_; }

 private:
  // Column j of the view shows grid column j + 1, at its width.
  void ApplyColumnWidths();

  tmystringgrid& grid_;
  TMyStringGridModel* model_;
};

}  // namespace kvx
