#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "LargeAllocator.h"

// The texts of a grid surface, [col][row], shared by the on-screen and the
// in-memory surfaces. Reads outside the grid give an empty text; writes
// outside it do nothing.
class TGridCellTexts {
public:
  void Resize(int cols, int rows) {
    fCells.resize(static_cast<std::size_t>(cols));
    for (auto& column : fCells) column.resize(static_cast<std::size_t>(rows));
    fCols = cols;
    fRows = rows;
    ++fVersion;
  }

  // Changes with every write, resize and move of rows: what was worked out
  // from the texts (column widths, a list's fill) holds while it is equal.
  std::uint64_t Version() const { return fVersion; }

  bool Contains(int col, int row) const { return col >= 0 && row >= 0 && col < fCols && row < fRows; }

  const std::string& Get(int col, int row) const {
    static const std::string kEmpty;
    return Contains(col, row) ? fCells[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)] : kEmpty;
  }

  bool Set(int col, int row, const std::string& text) {
    if (!Contains(col, row)) return false;
    fCells[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)] = text;
    ++fVersion;
    return true;
  }

  // Rows firstRow, firstRow + 1, ... take the texts of rows sourceRows[0],
  // sourceRows[1], ... (a permutation of them), in the columns from firstCol.
  // Texts are moved, not copied: each column is rebuilt in a spare array,
  // which then takes the place of the column, whose array becomes the spare
  // one of the next column.
  void PermuteRows(int firstCol, int firstRow, const std::vector<int>& sourceRows) {
    ++fVersion;
    const auto n = sourceRows.size();
    const auto first = static_cast<std::size_t>(firstRow);
    TColumn spare;
    for (int col = std::max(0, firstCol); col < fCols; ++col) {
      auto& column = fCells[static_cast<std::size_t>(col)];
      spare.resize(column.size());
      for (std::size_t r = 0; r < first; ++r) spare[r] = std::move(column[r]);
      for (std::size_t k = 0; k < n; ++k) spare[first + k] = std::move(column[static_cast<std::size_t>(sourceRows[k])]);
      for (std::size_t r = first + n; r < column.size(); ++r) spare[r] = std::move(column[r]);
      column.swap(spare);
    }
  }

private:
  using TColumn = std::vector<std::string, TLargeAllocator<std::string>>;
  std::vector<TColumn> fCells;
  int fCols = 0;
  int fRows = 0;
  std::uint64_t fVersion = 0;
};
