// How a managed grid takes over the events of its surface: its own work
// first (sorting, recolouring, the cell-change notification, clearing a cell
// when typing starts), then the handler the form had attached.

#include <algorithm>

#include "MyStringGrid.h"

void TMyStringGrid::InstallHandlers() {
  fFormEvents = fGrid->Events;
  TGridEvents& e = fGrid->Events;
  e.OnClick = [this] {
    if (fFormEvents.OnClick) fFormEvents.OnClick();
  };
  e.OnDblClick = [this] { DoubleClick(); };
  e.OnDrawCell = [this](int col, int row, const TGridRect& rect, TGridDrawState state) {
    OnDrawCell(col, row, rect, state);
  };
  // Entering the grid needs no work of its own, and no window attaches a
  // handler here.
  e.OnEnter = [] {};
  e.OnExit = [this] { ExitHandler(); };
  e.OnGetEditText = [this](int col, int row, std::string& value) {
    if (fFormEvents.OnGetEditText) fFormEvents.OnGetEditText(col, row, value);
  };
  e.OnKeyPress = [this](char& key) {
    if (fFormEvents.OnKeyPress) fFormEvents.OnKeyPress(key);
  };
  e.OnMouseDown = [this](TMouseButton button, TShiftState shift, int x, int y) {
    TitlePress(x, y);
    if (fFormEvents.OnMouseDown) fFormEvents.OnMouseDown(button, shift, x, y);
  };
  e.OnMouseMove = [this](TShiftState shift, int x, int y) {
    if (fFormEvents.OnMouseMove) fFormEvents.OnMouseMove(shift, x, y);
  };
  e.OnSetEditText = [this](int col, int row, const std::string& value) {
    if (fFormEvents.OnSetEditText) fFormEvents.OnSetEditText(col, row, value);
  };
  e.OnKeyUp = [this](std::uint16_t& key, TShiftState shift) {
    if (fFormEvents.OnKeyUp) fFormEvents.OnKeyUp(key, shift);
  };
  e.OnKeyDown = [this](std::uint16_t& key, TShiftState shift) {
    TypingHandler(key, shift);
    if (fFormEvents.OnKeyDown) fFormEvents.OnKeyDown(key, shift);
  };
  e.OnMouseUp = [this](TMouseButton button, TShiftState shift, int x, int y) {
    TitleClick(x, y);
    if (fFormEvents.OnMouseUp) fFormEvents.OnMouseUp(button, shift, x, y);
  };
  e.OnMouseWheelDown = [this](TShiftState shift, int x, int y, bool& handled) {
    WheelHandler();
    if (fFormEvents.OnMouseWheelDown) fFormEvents.OnMouseWheelDown(shift, x, y, handled);
  };
  e.OnMouseWheelUp = [this](TShiftState shift, int x, int y, bool& handled) {
    WheelHandler();
    if (fFormEvents.OnMouseWheelUp) fFormEvents.OnMouseWheelUp(shift, x, y, handled);
  };
  e.OnSelectCell = [this](int col, int row, bool& canSelect) { SelectCellHandler(col, row, canSelect); };
  // A cell whose colour waits to be worked out gets it from the text it has
  // now, before that text is replaced: the new text is recoloured when the
  // program writes it, or when the user leaves the cell, as always.
  fGrid->BeforeTextChange = [this](int col, int row) {
    if (!fColorsOn || fMovingTexts || !InArrays(col, row)) return;
    if (fGridBackColor[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)] == kColorPending) ColorAt(col, row);
  };
}

void TMyStringGrid::TitlePress(int x, int y) {
  fGrid->MouseToCell(x, y, fPressCol, fPressRow);
  fPressSeen = true;
}

// A title click is a press and a release on the same title cell, with no
// column border dragged in between: dragging a border to widen a column is
// not a request to sort. A release without a press seen (the press went to
// another control) still counts as a click on the cell it is over.
void TMyStringGrid::TitleClick(int x, int y) {
  int col = -1;
  int row = -1;
  fGrid->MouseToCell(x, y, col, row);
  const bool pressSeen = fPressSeen;
  const int pressCol = fPressCol;
  const int pressRow = fPressRow;
  fPressSeen = false;
  if (row < 0 || row >= fGrid->GetFixedRows()) return;
  if (col < fGrid->GetFixedCols() || col >= fGrid->GetColCount()) return;
  if (fGrid->ColumnResizedSincePress()) return;
  if (pressSeen && (pressCol != col || pressRow != row)) return;
  if (col == fSortCol) {
    fSortAscending = !fSortAscending;
  } else {
    fSortAscending = true;
  }
  fSortCol = col;
  TrierColonne(col);
}

void TMyStringGrid::DoubleClick() {
  int x = 0;
  int y = 0;
  fGrid->GetPointerPos(x, y);
  int col = -1;
  int row = -1;
  fGrid->MouseToCell(x, y, col, row);
  const bool inData = col >= fGrid->GetFixedCols() && col < fGrid->GetColCount() && row >= fGrid->GetFixedRows() &&
                      row < fGrid->GetRowCount();
  if (inData && fFormEvents.OnDblClick) fFormEvents.OnDblClick();
}

void TMyStringGrid::ExitHandler() {
  // Every cell is recoloured, as each is painted or read.
  RecolourAllLater();
  if (fFormEvents.OnExit) fFormEvents.OnExit();
}

void TMyStringGrid::WheelHandler() {
  SetRow(std::max(GetRow(), GetTopRow()));
  SetRow(std::min(GetRow(), GetTopRow() + fGrid->GetVisibleRowCount() - 1));
}

void TMyStringGrid::SelectCellHandler(int col, int row, bool& canSelect) {
  if (!fSelectOn) return;
  if (fGrid->GetRowSelect()) col = fGrid->GetFixedCols();
  const int currentCol = fGrid->GetCol();
  const int currentRow = fGrid->GetRow();
  if (col != currentCol || row != currentRow) {
    InitColors(col, row);
    ExecuteColorconstraints(col, row);
    if (fNotifyOn) {
      if (fOnCellChange) fOnCellChange(currentCol, currentRow, fEnteredText);
      InitColors(currentCol, currentRow);
      ExecuteColorconstraints(currentCol, currentRow);
    }
    fGrid->SetEditorMode(false);
    if (GetReadOnly(col, row)) {
      fGrid->SetEditing(false);
    } else {
      fGrid->SetEditing(true);
      fGrid->SetEditorMode(false);
    }
    if (fRememberOn) fEnteredText = GetCell(col, row);
  }
  if (fFormEvents.OnSelectCell) fFormEvents.OnSelectCell(col, row, canSelect);
}

namespace {

bool IsTypingKey(std::uint16_t key) {
  return key == 0x20 || (key >= 0x30 && key <= 0x39) || (key >= 0x41 && key <= 0x5A) || (key >= 0x61 && key <= 0x7A);
}

}  // namespace

void TMyStringGrid::TypingHandler(std::uint16_t key, TShiftState shift) {
  if (!IsTypingKey(key) || (shift & (ssAlt | ssCtrl)) != 0) return;
  const int col = fGrid->GetCol();
  const int row = fGrid->GetRow();
  if (fGrid->GetEditing() && !fGrid->GetEditorMode()) {
    SetCell(col, row, "");
    fGrid->SetEditorMode(true);
  }
  if (fGrid->HasEditor() && fGrid->GetEditorSelLength() > 0) {
    const std::string text = GetCell(col, row);
    const auto start = static_cast<std::size_t>(std::clamp(fGrid->GetEditorSelStart(), 0, static_cast<int>(text.size())));
    const auto end = std::min(text.size(), start + static_cast<std::size_t>(fGrid->GetEditorSelLength()));
    SetCell(col, row, text.substr(0, start) + text.substr(end));
    fGrid->SetEditorSelLength(0);
    fGrid->SetEditorSelStart(static_cast<int>(start));
  }
}
