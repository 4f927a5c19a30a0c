// The title row and the row-number column of a grid surface.

#include "QtGridHeader.h"

#include "QtGridSurface.h"

TQtGridHeader::TQtGridHeader(Qt::Orientation orientation, TQtGridSurface* surface)
    : QHeaderView(orientation, surface), fSurface(surface) {}

void TQtGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  if (orientation() == Qt::Horizontal) {
    fSurface->PaintCell(painter, logicalIndex + fSurface->GetFixedCols(), 0, rect);
  } else {
    fSurface->PaintCell(painter, 0, logicalIndex + fSurface->GetFixedRows(), rect);
  }
}
