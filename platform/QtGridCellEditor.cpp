// The in-place cell editor of a grid surface: the delegate that makes it,
// edit mode, the editor's selection, and the keys typed into it.

#include "QtGridCellEditor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <memory>

#include "QtGridKeys.h"
#include "QtGridModel.h"
#include "QtGridSurface.h"
#include "QtText.h"

TQtGridDelegate::TQtGridDelegate(TQtGridSurface* surface) : QStyledItemDelegate(surface), fSurface(surface) {}

void TQtGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  fSurface->PaintCell(painter, index.column() + fSurface->GetFixedCols(), index.row() + fSurface->GetFixedRows(),
                      option.rect);
}

QWidget* TQtGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
  auto* editor = new QLineEdit(parent);
  editor->setFrame(false);
  fSurface->EditorCreated(editor, index.column() + fSurface->GetFixedCols(), index.row() + fSurface->GetFixedRows());
  return editor;
}

void TQtGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  auto* line = qobject_cast<QLineEdit*>(editor);
  if (line == nullptr) return;
  // The editor is filled once, when it opens; afterwards the cell follows
  // the editor, not the other way round.
  if (line->property("quorixFilled").toBool()) return;
  line->setProperty("quorixFilled", true);
  // The view has put the delegate's key filter on the editor by now; the
  // grid's goes on last so that it sees the keys first.
  line->installEventFilter(fSurface);
  line->setText(ToQString(
      fSurface->EditTextFor(index.column() + fSurface->GetFixedCols(), index.row() + fSurface->GetFixedRows())));
  line->selectAll();
}

void TQtGridDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const {}

void TQtGridSurface::SetEditing(bool on) {
  if (on == fEditing) return;
  if (!on) SetEditorMode(false);
  fEditing = on;
}

void TQtGridSurface::SetRowSelect(bool on) {
  fRowSelect = on;
  setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
  Repaint();
}

void TQtGridSurface::SetEditorMode(bool on) {
  if (!on) {
    if (fEditor == nullptr) return;
    QWidget* editor = fEditor;
    fEditor = nullptr;
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return;
  }
  if (fEditor != nullptr || !fEditing) return;
  if (fCol < fFixedCols || fRow < fFixedRows || fCol >= fColCount || fRow >= fRowCount) return;
  const QModelIndex index = fModel->index(fRow - fFixedRows, fCol - fFixedCols);
  SyncCurrentIndex();
  edit(index, QAbstractItemView::AllEditTriggers, nullptr);
}

void TQtGridSurface::EditorCreated(QLineEdit* editor, int col, int row) {
  fEditor = editor;
  fEditCol = col;
  fEditRow = row;
  fEditOriginal = GetCells(col, row);
  connect(editor, &QLineEdit::textEdited, this, [this, editor](const QString& text) {
    if (editor != fEditor) return;
    const std::string value = FromQString(text);
    if (BeforeTextChange && fTexts.Contains(fEditCol, fEditRow)) BeforeTextChange(fEditCol, fEditRow);
    fTexts.Set(fEditCol, fEditRow, value);
    if (Events.OnSetEditText) Events.OnSetEditText(fEditCol, fEditRow, value);
  });
}

std::string TQtGridSurface::EditTextFor(int col, int row) {
  std::string value = GetCells(col, row);
  if (Events.OnGetEditText) Events.OnGetEditText(col, row, value);
  return value;
}

void TQtGridSurface::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  if (editor == fEditor) {
    fEditor = nullptr;
    // Abandoning the edit gives the cell back the text it had.
    if (hint == QAbstractItemDelegate::RevertModelCache) SetCells(fEditCol, fEditRow, fEditOriginal);
  }
  QTableView::closeEditor(editor, hint);
  Repaint();
}

int TQtGridSurface::GetEditorSelStart() const {
  if (fEditor == nullptr) return 0;
  return fEditor->hasSelectedText() ? fEditor->selectionStart() : fEditor->cursorPosition();
}

void TQtGridSurface::SetEditorSelStart(int pos) {
  if (fEditor == nullptr) return;
  const int length = GetEditorSelLength();
  pos = std::clamp(pos, 0, static_cast<int>(fEditor->text().size()));
  if (length > 0) {
    fEditor->setSelection(pos, std::min<int>(length, static_cast<int>(fEditor->text().size()) - pos));
  } else {
    fEditor->setCursorPosition(pos);
  }
}

int TQtGridSurface::GetEditorSelLength() const {
  if (fEditor == nullptr || !fEditor->hasSelectedText()) return 0;
  return static_cast<int>(fEditor->selectedText().size());
}

void TQtGridSurface::SetEditorSelLength(int length) {
  if (fEditor == nullptr) return;
  const int start = GetEditorSelStart();
  length = std::clamp(length, 0, static_cast<int>(fEditor->text().size()) - start);
  if (length == 0) {
    fEditor->deselect();
    fEditor->setCursorPosition(start);
  } else {
    fEditor->setSelection(start, length);
  }
}

// Keys typed into the in-place editor reach the grid's handlers first, as a
// string grid's editor passes them to its grid.
bool TQtGridSurface::EditorKey(QKeyEvent* event) {
  if (!DeliverKeyDown(event)) return true;
  if (event->key() == Qt::Key_Escape) {
    const int col = fEditCol;
    const int row = fEditRow;
    const std::string original = fEditOriginal;
    SetEditorMode(false);
    SetCells(col, row, original);
    setFocus(Qt::OtherFocusReason);
    return true;
  }
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down || event->key() == Qt::Key_PageUp ||
      event->key() == Qt::Key_PageDown) {
    SetEditorMode(false);
    setFocus(Qt::OtherFocusReason);
    QTableView::keyPressEvent(event);
    return true;
  }
  if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
    // Tab leaves the grid for the next control, from the editor as from the
    // grid itself: the grid has no tab navigation between its cells.
    const bool forward = event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ShiftModifier) == 0;
    SetEditorMode(false);
    setFocus(Qt::TabFocusReason);
    focusNextPrevChild(forward);
    return true;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    char ch = 13;
    if (Events.OnKeyPress) Events.OnKeyPress(ch);
    // A handler that gave the focus to another control (a list of choices
    // for the cell) leaves it there; otherwise the grid takes the focus back
    // from the editor it closes.
    QWidget* focus = QApplication::focusWidget();
    const bool keepFocus = focus == nullptr || IsInside(focus);
    SetEditorMode(false);
    if (keepFocus) setFocus(Qt::OtherFocusReason);
    return true;
  }
  QKeyEvent* replacement = nullptr;
  if (!DeliverChar(event, &replacement)) return true;
  if (replacement != nullptr) {
    std::unique_ptr<QKeyEvent> owned(replacement);
    if (fEditor != nullptr) {
      fEditor->removeEventFilter(this);
      QApplication::sendEvent(fEditor, replacement);
      fEditor->installEventFilter(this);
    }
    return true;
  }
  return false;
}
