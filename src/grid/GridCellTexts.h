#pragma once

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "LargeAllocator.h"

// The texts of a grid surface, [col][row], shared by the on-screen and the
// in-memory surfaces. Reads outside the grid give an empty text; writes
// outside it do nothing.
//
// A sort moves whole rows of the data columns, and a list updated in place
// inserts or removes one row in their middle: with 200 000 rows, moving the
// texts themselves would cost more than everything else the step does. So
// the data columns (from the first column a sort or an insertion named)
// keep their texts in slots and a row order says which slot each row shows;
// moving rows then only reorders that list. The columns before keep their
// rows in place (the row numbers of the fixed column stay where they are).
class TGridCellTexts {
public:
  void Resize(int cols, int rows) {
    ++fVersion;
    if (Ordered()) {
      const auto n = static_cast<std::size_t>(std::max(0, rows));
      if (n < fOrder.size() / 2) {
        // Most rows go: the rows kept are put back in place, and the columns
        // cut short, front to back.
        fOrder.resize(n);
        Materialize();
      } else if (n < fOrder.size()) {
        for (std::size_t r = n; r < fOrder.size(); ++r) FreeSlot(fOrder[r]);
        fOrder.resize(n);
        if (fFree.size() > fOrder.size()) Materialize();
      } else {
        while (fOrder.size() < n) fOrder.push_back(NewSlot());
      }
    }
    fCells.resize(static_cast<std::size_t>(std::max(0, cols)));
    for (int col = 0; col < static_cast<int>(fCells.size()); ++col) {
      fCells[static_cast<std::size_t>(col)].resize(InOrder(col) ? fSlots : static_cast<std::size_t>(std::max(0, rows)));
    }
    fCols = cols;
    fRows = rows;
  }

  // Changes with every write, resize and move of rows: what was worked out
  // from the texts (column widths, a list's fill) holds while it is equal.
  std::uint64_t Version() const { return fVersion; }

  bool Contains(int col, int row) const { return col >= 0 && row >= 0 && col < fCols && row < fRows; }

  const std::string& Get(int col, int row) const {
    static const std::string kEmpty;
    return Contains(col, row) ? fCells[static_cast<std::size_t>(col)][Slot(col, row)] : kEmpty;
  }

  bool Set(int col, int row, const std::string& text) {
    if (!Contains(col, row)) return false;
    fCells[static_cast<std::size_t>(col)][Slot(col, row)] = text;
    ++fVersion;
    return true;
  }

  // Rows firstRow, firstRow + 1, ... take the texts of rows sourceRows[0],
  // sourceRows[1], ... (a permutation of them), in the columns from firstCol.
  void PermuteRows(int firstCol, int firstRow, const std::vector<int>& sourceRows) {
    ++fVersion;
    OrderFrom(firstCol);
    std::vector<std::uint32_t> order = fOrder;
    for (std::size_t k = 0; k < sourceRows.size(); ++k) {
      order[static_cast<std::size_t>(firstRow) + k] = fOrder[static_cast<std::size_t>(sourceRows[k])];
    }
    fOrder.swap(order);
  }

  // Calls visit(row, text) for every row from firstRow of the column, in row
  // order. After rows were reordered their texts lie all over the column:
  // each text is fetched a few rows ahead of its turn, and the characters of
  // a long one a few rows later, once its place is known.
  template <class F>
  void VisitColumn(int col, int firstRow, F&& visit) const {
    if (col < 0 || col >= fCols) return;
    firstRow = std::max(0, firstRow);
    const auto& column = fCells[static_cast<std::size_t>(col)];
    if (!InOrder(col)) {
      for (int row = firstRow; row < fRows; ++row) visit(row, column[static_cast<std::size_t>(row)]);
      return;
    }
    constexpr int kAhead = 16;
    for (int row = firstRow; row < fRows; ++row) {
      if (row + kAhead < fRows) __builtin_prefetch(&column[fOrder[static_cast<std::size_t>(row + kAhead)]]);
      if (row + kAhead / 2 < fRows) __builtin_prefetch(column[fOrder[static_cast<std::size_t>(row + kAhead / 2)]].data());
      visit(row, column[fOrder[static_cast<std::size_t>(row)]]);
    }
  }

  // Writes count texts down a column from firstRow: textOf(k) is the k-th.
  template <class F>
  void SetColumn(int col, int firstRow, int count, F&& textOf) {
    if (col < 0 || col >= fCols || firstRow < 0) return;
    ++fVersion;
    auto& column = fCells[static_cast<std::size_t>(col)];
    const int end = std::min(fRows, firstRow + count);
    for (int row = firstRow; row < end; ++row) column[Slot(col, row)] = textOf(row - firstRow);
  }

  // Room for that many rows in every column, the memory touched once now
  // rather than by the first fill that large.
  void Reserve(int rows) {
    for (int col = 0; col < static_cast<int>(fCells.size()); ++col) Reserve(col, rows, rows);
  }

  // The same for one column, its memory touched up to row `touched` only:
  // the memory of a long column is touched a slice at a time.
  void Reserve(int col, int rows, int touched) {
    if (col < 0 || col >= static_cast<int>(fCells.size())) return;
    const auto n = static_cast<std::size_t>(std::max(0, rows));
    auto& column = fCells[static_cast<std::size_t>(col)];
    if (column.capacity() < n) column.reserve(n);
    const std::size_t size = column.size();
    const std::size_t upTo = std::min(n, static_cast<std::size_t>(std::max(0, touched)));
    if (upTo <= size) return;
    column.resize(upTo);
    column.resize(size);
  }

  // Puts every row's texts back where a row of that number keeps them, in
  // one pass: many writes in row order then go front to back through the
  // columns instead of all over them.
  void PutRowsInPlace() { Materialize(); }

  // An empty row at `row` (0 .. row count) in the columns from firstCol, the
  // rows from there on one further down; the columns before get an empty
  // row at their end.
  void InsertRow(int firstCol, int row) {
    if (row < 0 || row > fRows) return;
    ++fVersion;
    OrderFrom(firstCol);
    const std::uint32_t slot = NewSlot();
    for (int col = 0; col < fCols; ++col) {
      auto& column = fCells[static_cast<std::size_t>(col)];
      if (InOrder(col)) {
        column.resize(fSlots);
      } else {
        column.emplace_back();
      }
    }
    fOrder.insert(fOrder.begin() + row, slot);
    ++fRows;
  }

  // Takes row `row` out of the columns from firstCol, the rows after it one
  // further up; the columns before lose their last row.
  void RemoveRow(int firstCol, int row) {
    if (row < 0 || row >= fRows) return;
    ++fVersion;
    OrderFrom(firstCol);
    FreeSlot(fOrder[static_cast<std::size_t>(row)]);
    fOrder.erase(fOrder.begin() + row);
    for (int col = 0; col < fCols; ++col) {
      if (!InOrder(col)) fCells[static_cast<std::size_t>(col)].pop_back();
    }
    --fRows;
    if (fFree.size() > fOrder.size()) Materialize();
  }

private:
  using TColumn = std::vector<std::string, TLargeAllocator<std::string>>;

  bool Ordered() const { return fOrdered; }
  bool InOrder(int col) const { return fOrdered && col >= fOrderedFrom; }
  std::size_t Slot(int col, int row) const {
    return InOrder(col) ? fOrder[static_cast<std::size_t>(row)] : static_cast<std::size_t>(row);
  }

  // The columns from firstCol keep their rows through the row order from
  // now on; the row order starts as every row in its own slot.
  void OrderFrom(int firstCol) {
    firstCol = std::max(0, firstCol);
    if (fOrdered && firstCol == fOrderedFrom) return;
    if (fOrdered) Materialize();
    fOrdered = true;
    fOrderedFrom = firstCol;
    fOrder.resize(static_cast<std::size_t>(fRows));
    std::iota(fOrder.begin(), fOrder.end(), 0u);
    fSlots = static_cast<std::size_t>(fRows);
    fFree.clear();
  }

  std::uint32_t NewSlot() {
    if (!fFree.empty()) {
      const std::uint32_t slot = fFree.back();
      fFree.pop_back();
      return slot;
    }
    return static_cast<std::uint32_t>(fSlots++);
  }

  // A slot no row shows: its texts are dropped, and it is given again to
  // the next row made.
  void FreeSlot(std::uint32_t slot) {
    for (int col = fOrderedFrom; col < static_cast<int>(fCells.size()); ++col) {
      fCells[static_cast<std::size_t>(col)][slot] = std::string();
    }
    fFree.push_back(slot);
  }

  // Puts every row's texts back in the slot of the same number and drops
  // the row order. Each column's texts are gathered in row order into a
  // spare array, fetched a few moves ahead as they lie all over the column,
  // then moved back; the spare array comes from the usual heap, which gives
  // its memory to the next one again instead of fresh memory that would
  // first have to be cleared.
  void Materialize() {
    if (!fOrdered) return;
    const std::size_t n = fOrder.size();
    std::vector<std::string> spare(n);
    constexpr std::size_t kAhead = 16;
    for (int col = fOrderedFrom; col < static_cast<int>(fCells.size()); ++col) {
      auto& column = fCells[static_cast<std::size_t>(col)];
      for (std::size_t r = 0; r < n; ++r) {
        if (r + kAhead < n) __builtin_prefetch(&column[fOrder[r + kAhead]]);
        spare[r] = std::move(column[fOrder[r]]);
      }
      column.resize(n);
      for (std::size_t r = 0; r < n; ++r) column[r] = std::move(spare[r]);
    }
    fOrdered = false;
    fOrder.clear();
    fFree.clear();
    fSlots = 0;
  }

  std::vector<TColumn> fCells;
  // With fOrdered: the slot each row shows in the columns from
  // fOrderedFrom, the slots no row shows, and how many slots those columns
  // hold.
  bool fOrdered = false;
  int fOrderedFrom = 0;
  std::vector<std::uint32_t> fOrder;
  std::vector<std::uint32_t> fFree;
  std::size_t fSlots = 0;
  int fCols = 0;
  int fRows = 0;
  std::uint64_t fVersion = 0;
};
