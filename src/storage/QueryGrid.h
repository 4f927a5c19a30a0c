#pragma once

#include <functional>
#include <string>

// What a table needs of a grid to display a query result. The managed grid
// of the grid layer implements it; storage stays below the grids.
class TQueryGrid {
public:
  virtual ~TQueryGrid() = default;
  virtual int GetFixedCols() = 0;
  virtual int GetFixedRows() = 0;
  virtual void ClearCells() = 0;
  virtual void SetColCount(int n) = 0;
  virtual void SetRowCount(int n) = 0;
  virtual void setTitles(const std::string& titles) = 0;
  virtual void SetCellForced(int col, int row, const std::string& text) = 0;
  // count texts written down a column from firstRow as SetCellForced writes
  // them: textOf(k) is the k-th. A grid may write them all at once.
  virtual void SetColumnForced(int col, int firstRow, int count, const std::function<const std::string&(int k)>& textOf) {
    for (int k = 0; k < count; ++k) SetCellForced(col, firstRow + k, textOf(k));
  }
  virtual void UpdateDimensions() = 0;
};

// The table debug window: while it exists, every table created gets its own
// grid over the window's grid, and a query displayed without a target grid is
// shown there.
class TTableDebugWindow {
public:
  virtual ~TTableDebugWindow() = default;
  // A new grid wrapper for one table; owned by the table.
  virtual TQueryGrid* CreateTableGrid() = 0;
  virtual void ShowWindow() = 0;
};

// Installed by the debug window for its lifetime; nullptr otherwise.
TTableDebugWindow* SetTableDebugWindow(TTableDebugWindow* window);
TTableDebugWindow* GetTableDebugWindow();
