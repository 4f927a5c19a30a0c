// The grid surface itself: construction, dimensions, texts, the current
// cell, scrolling and column widths.

#include "QtGridSurface.h"

#include <QApplication>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

#include "QtGridCellEditor.h"
#include "QtGridHeader.h"
#include "QtGridModel.h"
#include "QtText.h"

TQtGridSurface::TQtGridSurface(QWidget* parent, int colCount, int rowCount) : QTableView(parent) {
  fModel = new TQtGridModel(this);
  fDelegate = new TQtGridDelegate(this);
  fTitles = new TQtGridHeader(Qt::Horizontal, this);
  fNumbers = new TQtGridHeader(Qt::Vertical, this);
  setHorizontalHeader(fTitles);
  setVerticalHeader(fNumbers);
  setItemDelegate(fDelegate);
  Resize(std::max(0, colCount), std::max(0, rowCount));
  fFixedCols = fColCount > 1 ? 1 : 0;
  fFixedRows = fRowCount > 1 ? 1 : 0;
  fCol = fFixedCols;
  fRow = fFixedRows;
  setModel(fModel);

  QFont base = font();
  base.setPointSize(8);
  base.setKerning(false);
  base.setStyleStrategy(QFont::PreferNoShaping);
  setFont(base);
  fTitles->setFont(base);
  fNumbers->setFont(base);

  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::NoSelection);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setCornerButtonEnabled(false);
  setWordWrap(false);
  // Tab leaves the grid for the next control, as in a string grid without
  // tab navigation.
  setTabKeyNavigation(false);
  setMouseTracking(true);
  for (QHeaderView* h : {static_cast<QHeaderView*>(fTitles), static_cast<QHeaderView*>(fNumbers)}) {
    h->setSectionsClickable(false);
    h->setHighlightSections(false);
    h->setMinimumSectionSize(1);
    h->viewport()->installEventFilter(this);
    h->viewport()->setMouseTracking(true);
  }
  fNumbers->setSectionResizeMode(QHeaderView::Fixed);
  fNumbers->setDefaultSectionSize(kRowHeight);
  fTitles->setFixedHeight(kRowHeight);
  fTitles->setDefaultSectionSize(kDefaultColWidth);
  // A column the user widens by dragging its title border keeps that width.
  connect(fTitles, &QHeaderView::sectionResized, this, [this](int section, int, int size) {
    if (fShaping) return;
    // Between a press on the titles and its release this is the user
    // dragging a border, which is not a click on the title.
    if (fTitlesPressed) fResizedSincePress = true;
    const int col = section + fFixedCols;
    if (col >= 0 && col < fColCount) fColWidths[static_cast<std::size_t>(col)] = size;
  });
  ApplyLayout();
  connect(qApp, &QApplication::focusChanged, this, &TQtGridSurface::FocusChanged);
}

TQtGridSurface::~TQtGridSurface() {
  // Nothing may reach the handlers while the widget is being taken apart:
  // QWidget's destructor still moves the focus away.
  disconnect(qApp, nullptr, this, nullptr);
  Events = TGridEvents();
}

void TQtGridSurface::Resize(int cols, int rows) {
  fTexts.Resize(cols, rows);
  fColWidths.resize(static_cast<std::size_t>(cols), kDefaultColWidth);
  fColCount = cols;
  fRowCount = rows;
}

const std::string& TQtGridSurface::GetCells(int col, int row) const { return fTexts.Get(col, row); }

void TQtGridSurface::SetCells(int col, int row, const std::string& text) {
  if (BeforeTextChange && fTexts.Contains(col, row)) BeforeTextChange(col, row);
  if (!fTexts.Set(col, row, text)) return;
  if (fEditor != nullptr && col == fEditCol && row == fEditRow) {
    const QString q = ToQString(text);
    if (fEditor->text() != q) fEditor->setText(q);
  }
  ScheduleRepaint();
}

void TQtGridSurface::SetColumnTexts(int col, int firstRow, int count, const TTextSource& textOf) {
  const int end = std::min(fRowCount, firstRow + count);
  if (BeforeTextChange) {
    for (int row = std::max(0, firstRow); row < end; ++row) BeforeTextChange(col, row);
  }
  fTexts.SetColumn(col, firstRow, count, textOf);
  if (fEditor != nullptr && col == fEditCol && fEditRow >= firstRow && fEditRow < end) {
    const QString q = ToQString(fTexts.Get(col, fEditRow));
    if (fEditor->text() != q) fEditor->setText(q);
  }
  ScheduleRepaint();
}

void TQtGridSurface::PermuteRows(int firstCol, int firstRow, const std::vector<int>& sourceRows) {
  SetEditorMode(false);
  fTexts.PermuteRows(firstCol, firstRow, sourceRows);
  ScheduleRepaint();
}

void TQtGridSurface::ScheduleRepaint() {
  // A fill writes millions of cells; the window is repainted once, after it.
  if (fRepaintPending) return;
  fRepaintPending = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        fRepaintPending = false;
        Repaint();
      },
      Qt::QueuedConnection);
}

void TQtGridSurface::Repaint() {
  viewport()->update();
  fTitles->viewport()->update();
  fNumbers->viewport()->update();
}

void TQtGridSurface::ChangeShape(const std::function<void()>& change) {
  SetEditorMode(false);
  const int top = verticalScrollBar()->value();
  const int left = horizontalScrollBar()->value();
  fShaping = true;
  fModel->Reset(change);
  ApplyLayout();
  fShaping = false;
  updateGeometries();
  verticalScrollBar()->setValue(top);
  horizontalScrollBar()->setValue(left);
  SyncCurrentIndex();
  Repaint();
}

void TQtGridSurface::ApplyLayout() {
  fTitles->setVisible(fFixedRows > 0);
  fNumbers->setVisible(fFixedCols > 0);
  if (fFixedCols > 0 && fColCount > 0) fNumbers->setFixedWidth(fColWidths[0]);
  for (int col = fFixedCols; col < fColCount; ++col)
    fTitles->resizeSection(col - fFixedCols, fColWidths[static_cast<std::size_t>(col)]);
}

void TQtGridSurface::SetColCount(int n) {
  n = std::max(0, n);
  if (n == fColCount) return;
  ChangeShape([&] {
    Resize(n, fRowCount);
    if (fFixedCols >= n) fFixedCols = std::max(0, n - 1);
  });
  ClampCurrentCell();
}

void TQtGridSurface::SetRowCount(int n) {
  n = std::max(0, n);
  if (n == fRowCount) return;
  if (fFixedRows < n && fFixedRows < fRowCount && std::abs(n - fRowCount) <= 64) {
    // A few rows added or removed at the end: the view keeps its state and
    // only learns of those rows. A fill of thousands of rows is cheaper as a
    // reset, which keeps the scroll position too.
    SetEditorMode(false);
    const int oldRows = fRowCount - fFixedRows;
    const int newRows = n - fFixedRows;
    if (newRows > oldRows) {
      fModel->InsertRows(oldRows, newRows - 1, [&] { Resize(fColCount, n); });
    } else {
      fModel->RemoveRows(newRows, oldRows - 1, [&] { Resize(fColCount, n); });
    }
    ClampCurrentCell();
    Repaint();
    return;
  }
  ChangeShape([&] {
    Resize(fColCount, n);
    if (fFixedRows >= n) fFixedRows = std::max(0, n - 1);
  });
  ClampCurrentCell();
}

void TQtGridSurface::InsertRow(int firstCol, int row) {
  if (row < fFixedRows || row > fRowCount) return;
  SetEditorMode(false);
  const int at = row - fFixedRows;
  fModel->InsertRows(at, at, [&] {
    fTexts.InsertRow(firstCol, row);
    ++fRowCount;
  });
  SyncCurrentIndex();
  Repaint();
}

void TQtGridSurface::RemoveRow(int firstCol, int row) {
  if (row < fFixedRows || row >= fRowCount || fRowCount <= fFixedRows + 1) return;
  SetEditorMode(false);
  const int at = row - fFixedRows;
  fModel->RemoveRows(at, at, [&] {
    fTexts.RemoveRow(firstCol, row);
    --fRowCount;
  });
  ClampCurrentCell();
  Repaint();
}

void TQtGridSurface::SetFixedCols(int n) {
  n = std::clamp(n, 0, std::max(0, fColCount - 1));
  if (n != fFixedCols) ChangeShape([&] { fFixedCols = n; });
  if (fCol < fFixedCols) SetCurrentCell(fFixedCols, fRow);
}

void TQtGridSurface::SetFixedRows(int n) {
  n = std::clamp(n, 0, std::max(0, fRowCount - 1));
  if (n != fFixedRows) ChangeShape([&] { fFixedRows = n; });
  if (fRow < fFixedRows) SetCurrentCell(fCol, fFixedRows);
}

void TQtGridSurface::ClampCurrentCell() {
  const int col = std::clamp(fCol, 0, std::max(0, fColCount - 1));
  const int row = std::clamp(fRow, 0, std::max(0, fRowCount - 1));
  if (col != fCol || row != fRow) SetCurrentCell(col, row);
  SyncCurrentIndex();
}

void TQtGridSurface::SetCurrentCell(int col, int row) {
  if (col < 0 || row < 0 || col >= fColCount || row >= fRowCount) return;
  if (col == fCol && row == fRow) return;
  bool canSelect = true;
  if (Events.OnSelectCell) Events.OnSelectCell(col, row, canSelect);
  if (!canSelect) return;
  if (fEditor != nullptr) SetEditorMode(false);
  fCol = col;
  fRow = row;
  SyncCurrentIndex();
  Repaint();
  if (Events.OnClick) Events.OnClick();
}

void TQtGridSurface::SyncCurrentIndex() {
  if (selectionModel() == nullptr) return;
  fSyncing = true;
  if (fCol >= fFixedCols && fRow >= fFixedRows && fCol < fColCount && fRow < fRowCount) {
    const QModelIndex index = fModel->index(fRow - fFixedRows, fCol - fFixedCols);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    scrollTo(index);
  } else {
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  }
  fSyncing = false;
}

void TQtGridSurface::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (fSyncing || !current.isValid()) return;
  const int col = current.column() + fFixedCols;
  const int row = current.row() + fFixedRows;
  if (col == fCol && row == fRow) return;
  bool canSelect = true;
  if (Events.OnSelectCell) Events.OnSelectCell(col, row, canSelect);
  if (canSelect) {
    if (fEditor != nullptr) SetEditorMode(false);
    fCol = col;
    fRow = row;
    fMovedByPress = true;
  }
  // Put the view's current index where the grid's current cell is (back on
  // the old cell when the move was refused).
  SyncCurrentIndex();
  Repaint();
  if (canSelect && Events.OnClick) Events.OnClick();
}

int TQtGridSurface::GetTopRow() const { return verticalScrollBar()->value() + fFixedRows; }

void TQtGridSurface::SetTopRow(int row) {
  const_cast<TQtGridSurface*>(this)->updateGeometries();
  verticalScrollBar()->setValue(row - fFixedRows);
}

// Scrolled to its end, the view lines its last row up with the bottom of the
// window, which leaves the row above half hidden under the titles whenever
// the window does not hold a whole number of rows. A string grid shows its
// top row whole instead, and leaves the odd pixels empty at the bottom.
void TQtGridSurface::AlignTopRow() {
  const QScrollBar* bar = verticalScrollBar();
  if (bar->maximum() <= 0 || bar->value() != bar->maximum()) return;
  const int wanted = fNumbers->sectionPosition(bar->value());
  if (wanted < 0 || fNumbers->offset() == wanted) return;
  fNumbers->setOffset(wanted);
  viewport()->update();
}

void TQtGridSurface::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  AlignTopRow();
}

void TQtGridSurface::updateGeometries() {
  QTableView::updateGeometries();
  AlignTopRow();
}

int TQtGridSurface::GetVisibleRowCount() const {
  int h = viewport()->height();
  if (!isVisible()) {
    h = height() - 2 * frameWidth() - (fFixedRows > 0 ? kRowHeight : 0);
  }
  return std::max(0, h / kRowHeight);
}

int TQtGridSurface::GetColWidth(int col) const {
  if (col < 0 || col >= fColCount) return 0;
  return fColWidths[static_cast<std::size_t>(col)];
}

void TQtGridSurface::SetColWidth(int col, int width) {
  if (col < 0 || col >= fColCount) return;
  fColWidths[static_cast<std::size_t>(col)] = width;
  if (col < fFixedCols) {
    if (col == 0) fNumbers->setFixedWidth(width);
  } else {
    fTitles->resizeSection(col - fFixedCols, width);
  }
}
