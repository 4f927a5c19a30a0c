#pragma once

#include <QHeaderView>

class TQtGridSurface;

// The fixed title row (horizontal) and the fixed row-number column
// (vertical), painted through OnDrawCell like the other cells.
class TQtGridHeader : public QHeaderView {
  Q_OBJECT
public:
  TQtGridHeader(Qt::Orientation orientation, TQtGridSurface* surface);

protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
  TQtGridSurface* fSurface;
};
