#pragma once

#include <QAbstractTableModel>

#include <functional>

class TQtGridSurface;

// The texts of a grid surface, Windows-1252, held as the program writes
// them; a QString is made only when a cell is shown or edited. Row 0 and
// column 0 (the fixed ones) are the view's headers, so the model's rows and
// columns are the grid's data rows and columns.
class TQtGridModel : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit TQtGridModel(TQtGridSurface* surface);
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  void Reset(const std::function<void()>& change);
  void InsertRows(int first, int last, const std::function<void()>& change);
  void RemoveRows(int first, int last, const std::function<void()>& change);

private:
  TQtGridSurface* fSurface;
};
