// Keyboard and focus routing of a grid surface: key presses reach the
// grid's OnKeyDown and OnKeyPress (which may swallow or change them) before
// the view; leaving the grid is its OnExit.

#include "QtGridSurface.h"

#include <QApplication>
#include <QKeyEvent>

#include <memory>

#include "QtGridKeys.h"
#include "QtGridModel.h"
#include "QtText.h"

namespace {

bool IsNavigationKey(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: return true;
    default: return false;
  }
}


}  // namespace

bool TQtGridSurface::IsInside(const QWidget* w) const { return w != nullptr && (w == this || isAncestorOf(w)); }

void TQtGridSurface::FocusChanged(QWidget* old, QWidget* now) {
  const bool wasInside = IsInside(old);
  const bool isInside = IsInside(now);
  if (wasInside && !isInside) {
    SetEditorMode(false);
    if (Events.OnExit) Events.OnExit();
  } else if (!wasInside && isInside) {
    if (Events.OnEnter) Events.OnEnter();
  }
  Repaint();
}

bool TQtGridSurface::DeliverKeyDown(QKeyEvent* event) {
  std::uint16_t key = VirtualKeyOf(event);
  if (key == 0) return true;
  if (Events.OnKeyDown) Events.OnKeyDown(key, ShiftStateOf(event->modifiers()));
  return key != 0;
}

// The character of a key event goes to OnKeyPress, which may swallow it (0)
// or change it; a changed character is delivered as a new event.
bool TQtGridSurface::DeliverChar(QKeyEvent* event, QKeyEvent** replacement) {
  *replacement = nullptr;
  const QString text = event->text();
  if (text.isEmpty()) return true;
  const std::string bytes = FromQString(text.left(1));
  if (bytes.empty()) return true;
  char ch = bytes[0];
  const char before = ch;
  if (Events.OnKeyPress) Events.OnKeyPress(ch);
  if (ch == 0) return false;
  if (ch != before) {
    *replacement = new QKeyEvent(QEvent::KeyPress, event->key(), event->modifiers(), ToQString(std::string(1, ch)));
  }
  return true;
}

void TQtGridSurface::keyPressEvent(QKeyEvent* event) {
  if (!DeliverKeyDown(event)) {
    event->accept();
    return;
  }
  QKeyEvent* replacement = nullptr;
  if (!DeliverChar(event, &replacement)) {
    event->accept();
    return;
  }
  std::unique_ptr<QKeyEvent> owned(replacement);
  QKeyEvent* forwarded = replacement != nullptr ? replacement : event;
  const QString text = forwarded->text();
  const bool printable = !text.isEmpty() && text[0].isPrint() &&
                         (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
  if (printable && fEditor == nullptr && fEditing) {
    // Typing into a cell that is not being edited opens the editor on it.
    SetEditorMode(true);
  }
  if (printable && fEditor != nullptr) {
    QApplication::sendEvent(fEditor, forwarded);
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_F2 && fEditing) {
    SetEditorMode(true);
    event->accept();
    return;
  }
  // Only navigation is left to the view: its keyboard search would move the
  // current row on a typed letter.
  if (IsNavigationKey(event->key())) {
    QTableView::keyPressEvent(event);
  } else {
    event->accept();
  }
}

void TQtGridSurface::keyReleaseEvent(QKeyEvent* event) {
  std::uint16_t key = VirtualKeyOf(event);
  if (key != 0 && Events.OnKeyUp) Events.OnKeyUp(key, ShiftStateOf(event->modifiers()));
  event->accept();
}

