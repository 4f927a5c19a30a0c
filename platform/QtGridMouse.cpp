// Mouse routing of a grid surface: presses, releases, double clicks, moves
// and the wheel over the cells and the headers reach the grid's events with
// the widget's own coordinates; the cell under a point.

#include "QtGridSurface.h"

#include <QMouseEvent>
#include <QWheelEvent>

#include "QtGridHeader.h"
#include "QtGridKeys.h"
#include "QtGridModel.h"

namespace {

TMouseButton ButtonOf(Qt::MouseButton b) {
  if (b == Qt::RightButton) return TMouseButton::Right;
  if (b == Qt::MiddleButton) return TMouseButton::Middle;
  return TMouseButton::Left;
}

}  // namespace

void TQtGridSurface::MouseToCell(int x, int y, int& col, int& row) const {
  col = -1;
  row = -1;
  const QPoint p(x, y);
  const QRect titles = fTitles->isVisible() || fFixedRows > 0 ? fTitles->geometry() : QRect();
  const QRect numbers = fNumbers->isVisible() || fFixedCols > 0 ? fNumbers->geometry() : QRect();
  const QRect area = viewport()->geometry();
  int c = -1;
  int r = -1;
  if (fFixedRows > 0 && titles.contains(p)) {
    const int section = fTitles->logicalIndexAt(p.x() - titles.x());
    if (section >= 0) c = section + fFixedCols;
    r = 0;
  } else if (fFixedCols > 0 && numbers.contains(p)) {
    const int section = fNumbers->logicalIndexAt(p.y() - numbers.y());
    if (section >= 0) r = section + fFixedRows;
    c = 0;
  } else if (fFixedRows > 0 && fFixedCols > 0 && p.x() < numbers.right() && p.y() < titles.bottom() &&
             p.x() >= frameWidth() && p.y() >= frameWidth()) {
    c = 0;
    r = 0;
  } else if (area.contains(p)) {
    const QModelIndex index = indexAt(p - area.topLeft());
    if (index.isValid()) {
      c = index.column() + fFixedCols;
      r = index.row() + fFixedRows;
    }
  }
  if (c < 0 || r < 0 || c >= fColCount || r >= fRowCount) return;
  col = c;
  row = r;
}

void TQtGridSurface::GetPointerPos(int& x, int& y) const {
  x = fPointer.x();
  y = fPointer.y();
}

void TQtGridSurface::RecordPointer(const QPoint& widgetPos) { fPointer = widgetPos; }

void TQtGridSurface::MouseEventFrom(QWidget* source, QEvent* event) {
  auto* me = static_cast<QMouseEvent*>(event);
  const QPoint p = source->mapTo(this, me->position().toPoint());
  RecordPointer(p);
  const TShiftState shift = ShiftStateOf(me->modifiers(), me->buttons());
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      fResizedSincePress = false;
      fTitlesPressed = source == fTitles->viewport();
      if (Events.OnMouseDown) Events.OnMouseDown(ButtonOf(me->button()), shift, p.x(), p.y());
      break;
    case QEvent::MouseButtonRelease:
      fTitlesPressed = false;
      if (Events.OnMouseUp) Events.OnMouseUp(ButtonOf(me->button()), shift, p.x(), p.y());
      if (source == viewport() && me->button() == Qt::LeftButton && !fMovedByPress && Events.OnClick) Events.OnClick();
      break;
    case QEvent::MouseButtonDblClick:
      if (Events.OnDblClick) Events.OnDblClick();
      break;
    case QEvent::MouseMove:
      if (Events.OnMouseMove) Events.OnMouseMove(shift, p.x(), p.y());
      break;
    default: break;
  }
}

bool TQtGridSurface::eventFilter(QObject* watched, QEvent* event) {
  if (fEditor != nullptr && watched == fEditor && event->type() == QEvent::KeyPress) {
    return EditorKey(static_cast<QKeyEvent*>(event));
  }
  if (watched == fTitles->viewport() || watched == fNumbers->viewport()) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
        MouseEventFrom(static_cast<QWidget*>(watched), event);
        break;
      default: break;
    }
  }
  return QTableView::eventFilter(watched, event);
}

void TQtGridSurface::mousePressEvent(QMouseEvent* event) {
  fMovedByPress = false;
  setFocus(Qt::MouseFocusReason);
  QTableView::mousePressEvent(event);
  MouseEventFrom(viewport(), event);
}

void TQtGridSurface::mouseReleaseEvent(QMouseEvent* event) {
  QTableView::mouseReleaseEvent(event);
  MouseEventFrom(viewport(), event);
}

void TQtGridSurface::mouseDoubleClickEvent(QMouseEvent* event) {
  MouseEventFrom(viewport(), event);
  int col = -1;
  int row = -1;
  MouseToCell(fPointer.x(), fPointer.y(), col, row);
  if (fEditing && col == fCol && row == fRow) SetEditorMode(true);
  event->accept();
}

void TQtGridSurface::mouseMoveEvent(QMouseEvent* event) {
  MouseEventFrom(viewport(), event);
  // Dragging would make the view extend a selection the grid does not have.
  if (event->buttons() == Qt::NoButton) QTableView::mouseMoveEvent(event);
}

void TQtGridSurface::wheelEvent(QWheelEvent* event) {
  QTableView::wheelEvent(event);
  const QPoint p = viewport()->mapTo(this, event->position().toPoint());
  RecordPointer(p);
  bool handled = false;
  const TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
  if (event->angleDelta().y() < 0) {
    if (Events.OnMouseWheelDown) Events.OnMouseWheelDown(shift, p.x(), p.y(), handled);
  } else if (event->angleDelta().y() > 0) {
    if (Events.OnMouseWheelUp) Events.OnMouseWheelUp(shift, p.x(), p.y(), handled);
  }
}
