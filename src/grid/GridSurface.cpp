#include "GridSurface.h"

#include <algorithm>

void TGridSurface::PermuteRows(int firstCol, int firstRow, const std::vector<int>& sourceRows) {
  const int cols = GetColCount();
  if (firstCol < 0 || firstRow < 0 || cols <= firstCol) return;
  const auto width = static_cast<std::size_t>(cols - firstCol);
  std::vector<std::string> scratch(sourceRows.size() * width);
  for (std::size_t k = 0; k < sourceRows.size(); ++k)
    for (std::size_t c = 0; c < width; ++c) scratch[k * width + c] = GetCells(firstCol + static_cast<int>(c), sourceRows[k]);
  for (std::size_t k = 0; k < sourceRows.size(); ++k)
    for (std::size_t c = 0; c < width; ++c)
      SetCells(firstCol + static_cast<int>(c), firstRow + static_cast<int>(k), scratch[k * width + c]);
}

void TGridSurface::VisitColumn(int col, int firstRow, const TTextVisitor& visit) const {
  const int rows = GetRowCount();
  for (int row = std::max(0, firstRow); row < rows; ++row) visit(row, GetCells(col, row));
}

void TGridSurface::InsertRow(int firstCol, int row) {
  const int rows = GetRowCount();
  if (row < GetFixedRows() || row > rows) return;
  SetRowCount(rows + 1);
  const int cols = GetColCount();
  for (int r = rows; r > row; --r) {
    for (int col = std::max(0, firstCol); col < cols; ++col) SetCells(col, r, GetCells(col, r - 1));
  }
  for (int col = std::max(0, firstCol); col < cols; ++col) SetCells(col, row, std::string());
}

void TGridSurface::RemoveRow(int firstCol, int row) {
  const int rows = GetRowCount();
  if (row < GetFixedRows() || row >= rows) return;
  const int cols = GetColCount();
  for (int r = row; r + 1 < rows; ++r) {
    for (int col = std::max(0, firstCol); col < cols; ++col) SetCells(col, r, GetCells(col, r + 1));
  }
  SetRowCount(rows - 1);
}

void TGridSurface::SetColumnTexts(int col, int firstRow, int count, const TTextSource& textOf) {
  for (int k = 0; k < count; ++k) SetCells(col, firstRow + k, textOf(k));
}

int TGridSurface::WidestText(int col) {
  int widest = 0;
  VisitColumn(col, 0, [this, &widest](int, const std::string& text) { widest = std::max(widest, TextWidth(text)); });
  return widest;
}
