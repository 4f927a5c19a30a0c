#pragma once

#include <string>
#include <vector>

#include "GridCellTexts.h"
#include "GridSurface.h"

// A grid surface held in memory, for tests of everything that works on a
// managed grid. Text metrics are fixed (7 pixels per character, 13 high),
// columns start 64 pixels wide and rows are 24 high plus a one-pixel line,
// so positions and widths are predictable. Painting is recorded, and the
// Simulate operations play the user's part as the on-screen grid would.
class TMemoryGridSurface : public TGridSurface {
public:
  static constexpr int kCharWidth = 7;
  static constexpr int kTextHeight = 13;
  static constexpr int kRowHeight = 24;
  static constexpr int kDefaultColWidth = 64;
  static constexpr int kLine = 1;

  TMemoryGridSurface(int colCount = 5, int rowCount = 5, int fixedCols = 1, int fixedRows = 1);

  const std::string& GetCells(int col, int row) const override;
  void SetCells(int col, int row, const std::string& text) override;

  void PermuteRows(int firstCol, int firstRow, const std::vector<int>& sourceRows) override;
  void VisitColumn(int col, int firstRow, const TTextVisitor& visit) const override {
    fTexts.VisitColumn(col, firstRow, visit);
  }
  void PutRowsInPlace() override { fTexts.PutRowsInPlace(); }
  void ReserveRows(int rows) override { fTexts.Reserve(rows); }
  void ReserveColumnRows(int col, int rows, int touched) override { fTexts.Reserve(col, rows, touched); }
  void SetColumnTexts(int col, int firstRow, int count, const TTextSource& textOf) override;
  void InsertRow(int firstCol, int row) override;
  void RemoveRow(int firstCol, int row) override;
  // Offset so that it never answers 0 ("cannot tell").
  std::uint64_t GetTextsVersion() const override { return fTexts.Version() + 1; }
  bool ColumnResizedSincePress() const override { return fResizedSincePress; }

  int GetColCount() const override { return fColCount; }
  void SetColCount(int n) override;
  int GetRowCount() const override { return fRowCount; }
  void SetRowCount(int n) override;
  int GetFixedCols() const override { return fFixedCols; }
  void SetFixedCols(int n) override;
  int GetFixedRows() const override { return fFixedRows; }
  void SetFixedRows(int n) override;

  int GetCol() const override { return fCol; }
  int GetRow() const override { return fRow; }
  void SetCol(int col) override { SetCurrentCell(col, fRow); }
  void SetRow(int row) override { SetCurrentCell(fCol, row); }
  void SetCurrentCell(int col, int row) override;
  int GetTopRow() const override { return fTopRow; }
  void SetTopRow(int row) override;
  int GetVisibleRowCount() const override;
  int GetColWidth(int col) const override;
  void SetColWidth(int col, int width) override;

  int TextWidth(const std::string& text) override { return kCharWidth * static_cast<int>(text.size()); }
  int WidestText(int col) override {
    std::size_t longest = 0;
    fTexts.VisitColumn(col, 0, [&longest](int, const std::string& text) { longest = std::max(longest, text.size()); });
    return kCharWidth * static_cast<int>(longest);
  }
  int TextHeight(const std::string&) override { return kTextHeight; }
  void SetBrushColor(TColor color) override { fBrush = color; }
  void FillRect(const TGridRect& rect) override;
  void SetFont(const TGridFont& font) override { fFont = font; }
  void TextRect(const TGridRect& rect, int x, int y, const std::string& text) override;

  bool GetEditing() const override { return fEditing; }
  void SetEditing(bool on) override;
  bool GetRowSelect() const override { return fRowSelect; }
  void SetRowSelect(bool on) override { fRowSelect = on; }

  bool GetEditorMode() const override { return fEditorMode; }
  void SetEditorMode(bool on) override;
  bool HasEditor() const override { return fEditorMode; }
  int GetEditorSelStart() const override { return fSelStart; }
  void SetEditorSelStart(int pos) override;
  int GetEditorSelLength() const override { return fSelLength; }
  void SetEditorSelLength(int length) override;

  void MouseToCell(int x, int y, int& col, int& row) const override;
  void GetPointerPos(int& x, int& y) const override {
    x = fPointerX;
    y = fPointerY;
  }

  int GetLeft() const override { return fLeft; }
  void SetLeft(int x) override { fLeft = x; }
  int GetTop() const override { return fTop; }
  void SetTop(int y) override { fTop = y; }
  int GetWidth() const override { return fWidth; }
  void SetWidth(int w) override { fWidth = w; }
  int GetHeight() const override { return fHeight; }
  void SetHeight(int h) override;
  bool GetVisible() const override { return fVisible; }
  void SetVisible(bool visible) override { fVisible = visible; }
  void SetFocus() override { fFocused = true; }
  void Repaint() override { ++fRepaints; }

  // What painting recorded: one entry per FillRect and per TextRect.
  struct TDrawOp {
    bool IsText = false;
    TGridRect Rect;
    TColor Color = 0;  // brush colour of a fill, font colour of a text
    TGridFont Font;
    int X = 0;
    int Y = 0;
    std::string Text;
  };
  std::vector<TDrawOp> DrawOps;
  int Repaints() const { return fRepaints; }
  bool Focused() const { return fFocused; }

  // Paints the visible cells through OnDrawCell, as the window would.
  void PaintVisibleCells();
  // Paints one cell with the state the window would give it.
  void PaintCell(int col, int row);
  TGridRect CellRect(int col, int row) const;
  // Centre of a cell in grid coordinates.
  void CellCenter(int col, int row, int& x, int& y) const;

  // The user's actions, delivered through the events in the window's order.
  void SimulateClickCell(int col, int row);
  void SimulateMouseUp(int x, int y, TMouseButton button = TMouseButton::Left, TShiftState shift = 0);
  void SimulateDblClick(int x, int y);
  // A key going down: OnKeyDown, then for a character OnKeyPress and the
  // character into the editor (opening it as the window does when editing is
  // allowed). ch 0 means the key produces no character.
  void SimulateKey(std::uint16_t key, char ch, TShiftState shift = 0);
  // The wheel scrolls three rows, then the wheel event is delivered.
  void SimulateWheel(bool down, TShiftState shift = 0);
  void SimulateExit();
  // A press on the border at the right of a title cell, a drag that widens
  // the column by dx, and the release, where the border now is.
  void SimulateColumnBorderDrag(int col, int dx);

private:
  void Resize(int cols, int rows);
  void ClampCurrentCell();
  void ScrollIntoView();
  void InsertTypedChar(char ch);
  int MaxTopRow() const;

  TGridCellTexts fTexts;
  std::vector<int> fColWidths;
  int fColCount = 0;
  int fRowCount = 0;
  int fFixedCols = 0;
  int fFixedRows = 0;
  int fCol = 0;
  int fRow = 0;
  int fTopRow = 0;
  bool fEditing = false;
  bool fRowSelect = false;
  bool fEditorMode = false;
  int fSelStart = 0;
  int fSelLength = 0;
  int fPointerX = 0;
  int fPointerY = 0;
  int fLeft = 0;
  int fTop = 0;
  int fWidth = 400;
  int fHeight = 150;
  bool fVisible = true;
  bool fFocused = false;
  int fRepaints = 0;
  TColor fBrush = 0xFFFFFF;
  TGridFont fFont;
  bool fResizedSincePress = false;
};
