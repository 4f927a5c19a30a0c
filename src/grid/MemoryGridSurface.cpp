#include "MemoryGridSurface.h"

#include <algorithm>

TMemoryGridSurface::TMemoryGridSurface(int colCount, int rowCount, int fixedCols, int fixedRows) {
  Resize(std::max(0, colCount), std::max(0, rowCount));
  fFixedCols = std::clamp(fixedCols, 0, std::max(0, fColCount - 1));
  fFixedRows = std::clamp(fixedRows, 0, std::max(0, fRowCount - 1));
  fCol = fFixedCols;
  fRow = fFixedRows;
  fTopRow = fFixedRows;
}

const std::string& TMemoryGridSurface::GetCells(int col, int row) const { return fTexts.Get(col, row); }

void TMemoryGridSurface::SetCells(int col, int row, const std::string& text) {
  if (BeforeTextChange && fTexts.Contains(col, row)) BeforeTextChange(col, row);
  fTexts.Set(col, row, text);
}

void TMemoryGridSurface::PermuteRows(int firstCol, int firstRow, const std::vector<int>& sourceRows) {
  fTexts.PermuteRows(firstCol, firstRow, sourceRows);
}

void TMemoryGridSurface::SetColumnTexts(int col, int firstRow, int count, const TTextSource& textOf) {
  if (BeforeTextChange) {
    const int end = std::min(fRowCount, firstRow + count);
    for (int row = std::max(0, firstRow); row < end; ++row) BeforeTextChange(col, row);
  }
  fTexts.SetColumn(col, firstRow, count, textOf);
}

void TMemoryGridSurface::InsertRow(int firstCol, int row) {
  if (row < fFixedRows || row > fRowCount) return;
  fTexts.InsertRow(firstCol, row);
  ++fRowCount;
}

void TMemoryGridSurface::RemoveRow(int firstCol, int row) {
  if (row < fFixedRows || row >= fRowCount || fRowCount <= fFixedRows + 1) return;
  fTexts.RemoveRow(firstCol, row);
  --fRowCount;
  if (fTopRow > MaxTopRow()) fTopRow = MaxTopRow();
  ClampCurrentCell();
}

void TMemoryGridSurface::Resize(int cols, int rows) {
  fTexts.Resize(cols, rows);
  fColWidths.resize(static_cast<std::size_t>(cols), kDefaultColWidth);
  fColCount = cols;
  fRowCount = rows;
}

void TMemoryGridSurface::SetColCount(int n) {
  n = std::max(0, n);
  if (n == fColCount) return;
  Resize(n, fRowCount);
  if (fFixedCols >= n) fFixedCols = std::max(0, n - 1);
  ClampCurrentCell();
}

void TMemoryGridSurface::SetRowCount(int n) {
  n = std::max(0, n);
  if (n == fRowCount) return;
  Resize(fColCount, n);
  if (fFixedRows >= n) fFixedRows = std::max(0, n - 1);
  if (fTopRow > MaxTopRow()) fTopRow = MaxTopRow();
  ClampCurrentCell();
}

void TMemoryGridSurface::SetFixedCols(int n) {
  fFixedCols = std::clamp(n, 0, std::max(0, fColCount - 1));
  if (fCol < fFixedCols) SetCurrentCell(fFixedCols, fRow);
}

void TMemoryGridSurface::SetFixedRows(int n) {
  fFixedRows = std::clamp(n, 0, std::max(0, fRowCount - 1));
  if (fTopRow < fFixedRows) fTopRow = fFixedRows;
  if (fRow < fFixedRows) SetCurrentCell(fCol, fFixedRows);
}

void TMemoryGridSurface::ClampCurrentCell() {
  const int col = std::clamp(fCol, 0, std::max(0, fColCount - 1));
  const int row = std::clamp(fRow, 0, std::max(0, fRowCount - 1));
  if (col != fCol || row != fRow) SetCurrentCell(col, row);
}

void TMemoryGridSurface::SetCurrentCell(int col, int row) {
  if (col < 0 || row < 0 || col >= fColCount || row >= fRowCount) return;
  if (col == fCol && row == fRow) return;
  bool canSelect = true;
  if (Events.OnSelectCell) Events.OnSelectCell(col, row, canSelect);
  if (!canSelect) return;
  if (fEditorMode && (col != fCol || row != fRow)) fEditorMode = false;
  fCol = col;
  fRow = row;
  ScrollIntoView();
  if (Events.OnClick) Events.OnClick();
}

int TMemoryGridSurface::MaxTopRow() const { return std::max(fFixedRows, fRowCount - GetVisibleRowCount()); }

void TMemoryGridSurface::ScrollIntoView() {
  if (fRow < fFixedRows) return;
  if (fRow < fTopRow) fTopRow = fRow;
  const int visible = std::max(1, GetVisibleRowCount());
  if (fRow >= fTopRow + visible) fTopRow = fRow - visible + 1;
  fTopRow = std::clamp(fTopRow, fFixedRows, MaxTopRow());
}

void TMemoryGridSurface::SetTopRow(int row) { fTopRow = std::clamp(row, fFixedRows, MaxTopRow()); }

void TMemoryGridSurface::SetHeight(int h) {
  fHeight = h;
  fTopRow = std::clamp(fTopRow, fFixedRows, MaxTopRow());
}

int TMemoryGridSurface::GetVisibleRowCount() const {
  const int pitch = kRowHeight + kLine;
  return std::max(0, (fHeight - fFixedRows * pitch) / pitch);
}

int TMemoryGridSurface::GetColWidth(int col) const {
  if (col < 0 || col >= fColCount) return 0;
  return fColWidths[static_cast<std::size_t>(col)];
}

void TMemoryGridSurface::SetColWidth(int col, int width) {
  if (col < 0 || col >= fColCount) return;
  fColWidths[static_cast<std::size_t>(col)] = width;
}

void TMemoryGridSurface::FillRect(const TGridRect& rect) {
  TDrawOp op;
  op.Rect = rect;
  op.Color = fBrush;
  DrawOps.push_back(op);
}

void TMemoryGridSurface::TextRect(const TGridRect& rect, int x, int y, const std::string& text) {
  TDrawOp op;
  op.IsText = true;
  op.Rect = rect;
  op.Color = fFont.Color;
  op.Font = fFont;
  op.X = x;
  op.Y = y;
  op.Text = text;
  DrawOps.push_back(op);
}

void TMemoryGridSurface::SetEditing(bool on) {
  fEditing = on;
  if (!on) fEditorMode = false;
}

void TMemoryGridSurface::SetEditorMode(bool on) {
  if (!on) {
    fEditorMode = false;
    return;
  }
  if (fEditorMode || !fEditing) return;
  if (fCol < fFixedCols || fRow < fFixedRows) return;
  std::string value = GetCells(fCol, fRow);
  if (Events.OnGetEditText) Events.OnGetEditText(fCol, fRow, value);
  fEditorMode = true;
  // The editor opens with its whole text selected, as a string grid's does.
  fSelStart = 0;
  fSelLength = static_cast<int>(value.size());
}

void TMemoryGridSurface::SetEditorSelStart(int pos) {
  const int size = static_cast<int>(GetCells(fCol, fRow).size());
  fSelStart = std::clamp(pos, 0, size);
  fSelLength = std::min(fSelLength, size - fSelStart);
}

void TMemoryGridSurface::SetEditorSelLength(int length) {
  const int size = static_cast<int>(GetCells(fCol, fRow).size());
  fSelLength = std::clamp(length, 0, size - fSelStart);
}

TGridRect TMemoryGridSurface::CellRect(int col, int row) const {
  TGridRect r;
  int x = 0;
  for (int c = 0; c < col && c < fColCount; ++c) x += fColWidths[static_cast<std::size_t>(c)] + kLine;
  const int pitch = kRowHeight + kLine;
  const int y = row < fFixedRows ? row * pitch : fFixedRows * pitch + (row - fTopRow) * pitch;
  r.Left = x;
  r.Top = y;
  r.Right = x + GetColWidth(col);
  r.Bottom = y + kRowHeight;
  return r;
}

void TMemoryGridSurface::CellCenter(int col, int row, int& x, int& y) const {
  const TGridRect r = CellRect(col, row);
  x = (r.Left + r.Right) / 2;
  y = (r.Top + r.Bottom) / 2;
}

void TMemoryGridSurface::MouseToCell(int x, int y, int& col, int& row) const {
  col = -1;
  row = -1;
  if (x < 0 || y < 0) return;
  int left = 0;
  int foundCol = -1;
  for (int c = 0; c < fColCount; ++c) {
    const int right = left + fColWidths[static_cast<std::size_t>(c)] + kLine;
    if (x < right) {
      foundCol = c;
      break;
    }
    left = right;
  }
  const int pitch = kRowHeight + kLine;
  int foundRow = -1;
  if (y < fFixedRows * pitch) {
    foundRow = y / pitch;
  } else {
    const int r = fTopRow + (y - fFixedRows * pitch) / pitch;
    if (r < fRowCount && r - fTopRow < GetVisibleRowCount() + 1) foundRow = r;
  }
  if (foundCol < 0 || foundRow < 0) return;
  col = foundCol;
  row = foundRow;
}

void TMemoryGridSurface::PaintCell(int col, int row) {
  TGridDrawState state;
  state.Fixed = col < fFixedCols || row < fFixedRows;
  state.Focused = fFocused && col == fCol && row == fRow;
  state.Selected = !state.Fixed && row == fRow && (fRowSelect || col == fCol);
  if (Events.OnDrawCell) Events.OnDrawCell(col, row, CellRect(col, row), state);
}

void TMemoryGridSurface::PaintVisibleCells() {
  const int lastRow = std::min(fRowCount, fTopRow + GetVisibleRowCount());
  for (int row = 0; row < fFixedRows; ++row)
    for (int col = 0; col < fColCount; ++col) PaintCell(col, row);
  for (int row = fTopRow; row < lastRow; ++row)
    for (int col = 0; col < fColCount; ++col) PaintCell(col, row);
}

void TMemoryGridSurface::SimulateClickCell(int col, int row) {
  int x = 0;
  int y = 0;
  CellCenter(col, row, x, y);
  fPointerX = x;
  fPointerY = y;
  fResizedSincePress = false;
  if (Events.OnMouseDown) Events.OnMouseDown(TMouseButton::Left, ssLeft, x, y);
  const bool data = col >= fFixedCols && row >= fFixedRows;
  const bool moved = data && (col != fCol || row != fRow);
  if (data) SetCurrentCell(col, row);
  if (Events.OnMouseUp) Events.OnMouseUp(TMouseButton::Left, 0, x, y);
  if (data && !moved && Events.OnClick) Events.OnClick();
}

void TMemoryGridSurface::SimulateColumnBorderDrag(int col, int dx) {
  const TGridRect rect = CellRect(col, 0);
  const int y = (rect.Top + rect.Bottom) / 2;
  fPointerX = rect.Right - 1;
  fPointerY = y;
  fResizedSincePress = false;
  if (Events.OnMouseDown) Events.OnMouseDown(TMouseButton::Left, ssLeft, fPointerX, y);
  SetColWidth(col, GetColWidth(col) + dx);
  fResizedSincePress = true;
  fPointerX += dx;
  if (Events.OnMouseUp) Events.OnMouseUp(TMouseButton::Left, 0, fPointerX, y);
}

void TMemoryGridSurface::SimulateMouseUp(int x, int y, TMouseButton button, TShiftState shift) {
  fPointerX = x;
  fPointerY = y;
  if (Events.OnMouseUp) Events.OnMouseUp(button, shift, x, y);
}

void TMemoryGridSurface::SimulateDblClick(int x, int y) {
  fPointerX = x;
  fPointerY = y;
  if (Events.OnDblClick) Events.OnDblClick();
}

void TMemoryGridSurface::InsertTypedChar(char ch) {
  std::string text = GetCells(fCol, fRow);
  const auto start = static_cast<std::size_t>(std::min<int>(fSelStart, static_cast<int>(text.size())));
  const auto length = static_cast<std::size_t>(std::min<int>(fSelLength, static_cast<int>(text.size() - start)));
  text.replace(start, length, 1, ch);
  SetCells(fCol, fRow, text);
  fSelStart = static_cast<int>(start) + 1;
  fSelLength = 0;
  if (Events.OnSetEditText) Events.OnSetEditText(fCol, fRow, text);
}

void TMemoryGridSurface::SimulateKey(std::uint16_t key, char ch, TShiftState shift) {
  if (Events.OnKeyDown) Events.OnKeyDown(key, shift);
  if (key == 0 || ch == 0 || (shift & (ssCtrl | ssAlt)) != 0) return;
  if (Events.OnKeyPress) Events.OnKeyPress(ch);
  if (ch == 0 || static_cast<unsigned char>(ch) < 0x20) return;
  if (!fEditorMode && fEditing) SetEditorMode(true);
  if (fEditorMode) InsertTypedChar(ch);
}

void TMemoryGridSurface::SimulateWheel(bool down, TShiftState shift) {
  SetTopRow(fTopRow + (down ? 3 : -3));
  bool handled = false;
  if (down) {
    if (Events.OnMouseWheelDown) Events.OnMouseWheelDown(shift, fPointerX, fPointerY, handled);
  } else {
    if (Events.OnMouseWheelUp) Events.OnMouseWheelUp(shift, fPointerX, fPointerY, handled);
  }
}

void TMemoryGridSurface::SimulateExit() {
  fFocused = false;
  fEditorMode = false;
  if (Events.OnExit) Events.OnExit();
}
