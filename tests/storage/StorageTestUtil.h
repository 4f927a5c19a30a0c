#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "MyDatabase.h"
#include "QueryGrid.h"
#include "TestSupport.h"

// A table read from the given file bytes, through a real file.
inline std::unique_ptr<TMyDatabase> TableFromBytes(const TTempDir& dir, const std::string& bytes,
                                                   const std::string& name = "table.db") {
  WriteFileBytes(dir.File(name), bytes);
  return std::make_unique<TMyDatabase>(dir.File(name));
}

// The records of the current query result, as the caller reads them.
inline std::vector<int> ResultRecords(const TMyDatabase& db) {
  std::vector<int> records;
  for (int i = 0; i < db.QueryResultCount(); ++i) records.push_back(db.GetQueryResults()[static_cast<std::size_t>(i)]);
  return records;
}

inline std::vector<std::string> ResultValues(TMyDatabase& db, const std::string& field) {
  std::vector<std::string> values;
  for (int i = 0; i < db.QueryResultCount(); ++i) values.push_back(db.GetQueryResultString(field, i));
  return values;
}

// The values of a field in index order.
inline std::vector<std::string> IndexValues(const TMyDatabase& db, int field) {
  std::vector<std::string> values;
  for (const TIndexEntry& e : db.GetFieldIndex(field).Entries) values.push_back(db.ValueAt(field, e.Record));
  return values;
}

// A grid that records what the table writes into it.
class TFakeQueryGrid : public TQueryGrid {
public:
  TFakeQueryGrid(int fixedCols, int fixedRows) : FixedCols(fixedCols), FixedRows(fixedRows) {}
  int GetFixedCols() override { return FixedCols; }
  int GetFixedRows() override { return FixedRows; }
  void ClearCells() override {
    Calls.push_back("ClearCells");
    Cells.clear();
  }
  void SetColCount(int n) override {
    Calls.push_back("SetColCount " + std::to_string(n));
    ColCount = n;
  }
  void SetRowCount(int n) override {
    Calls.push_back("SetRowCount " + std::to_string(n));
    RowCount = n;
  }
  void setTitles(const std::string& titles) override {
    Calls.push_back("setTitles " + titles);
    Titles = titles;
  }
  void SetCellForced(int col, int row, const std::string& text) override { Cells[{col, row}] = text; }
  void UpdateDimensions() override { Calls.push_back("UpdateDimensions"); }

  std::string Cell(int col, int row) const {
    auto it = Cells.find({col, row});
    return it == Cells.end() ? std::string("<none>") : it->second;
  }

  int FixedCols;
  int FixedRows;
  int ColCount = -1;
  int RowCount = -1;
  std::string Titles;
  std::map<std::pair<int, int>, std::string> Cells;
  std::vector<std::string> Calls;
};

class TFakeDebugWindow : public TTableDebugWindow {
public:
  TQueryGrid* CreateTableGrid() override {
    auto* grid = new TFakeQueryGrid(1, 1);
    Grids.push_back(grid);
    return grid;
  }
  void ShowWindow() override { ++Shown; }
  std::vector<TFakeQueryGrid*> Grids;  // owned by the tables
  int Shown = 0;
};

// Installs a debug window for the life of the object.
class TScopedDebugWindow {
public:
  TScopedDebugWindow() { fPrevious = SetTableDebugWindow(&Window); }
  ~TScopedDebugWindow() { SetTableDebugWindow(fPrevious); }
  TFakeDebugWindow Window;

private:
  TTableDebugWindow* fPrevious;
};
