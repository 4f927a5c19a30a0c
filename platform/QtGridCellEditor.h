#pragma once

#include <QStyledItemDelegate>

class TQtGridSurface;

// Paints every data cell through the grid's OnDrawCell and makes the
// in-place editor.
class TQtGridDelegate : public QStyledItemDelegate {
  Q_OBJECT
public:
  explicit TQtGridDelegate(TQtGridSurface* surface);
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  // What is typed is written into the cell as it is typed.
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
  TQtGridSurface* fSurface;
};
