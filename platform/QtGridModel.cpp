// The Qt item model over a grid surface's texts.

#include "QtGridModel.h"

#include <algorithm>

#include "QtGridSurface.h"
#include "QtText.h"

TQtGridModel::TQtGridModel(TQtGridSurface* surface) : QAbstractTableModel(surface), fSurface(surface) {}

int TQtGridModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return std::max(0, fSurface->fRowCount - fSurface->fFixedRows);
}

int TQtGridModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return std::max(0, fSurface->fColCount - fSurface->fFixedCols);
}

QVariant TQtGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return QVariant();
  return ToQDrawnString(fSurface->GetCells(index.column() + fSurface->fFixedCols, index.row() + fSurface->fFixedRows));
}

QVariant TQtGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QVariant();
  if (orientation == Qt::Horizontal) return ToQDrawnString(fSurface->GetCells(section + fSurface->fFixedCols, 0));
  return ToQDrawnString(fSurface->GetCells(0, section + fSurface->fFixedRows));
}

Qt::ItemFlags TQtGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (fSurface->fEditing) f |= Qt::ItemIsEditable;
  return f;
}

void TQtGridModel::Reset(const std::function<void()>& change) {
  beginResetModel();
  change();
  endResetModel();
}

void TQtGridModel::InsertRows(int first, int last, const std::function<void()>& change) {
  beginInsertRows(QModelIndex(), first, last);
  change();
  endInsertRows();
}

void TQtGridModel::RemoveRows(int first, int last, const std::function<void()>& change) {
  beginRemoveRows(QModelIndex(), first, last);
  change();
  endRemoveRows();
}
