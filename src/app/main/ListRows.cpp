#include "ListRows.h"

#include <algorithm>

#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "RemplirGrid.h"
#include "StringManager.h"

void TListRows::Forget() {
  fRecords.clear();
  fStrict = false;
}

void TListRows::Fill(TMyStringGrid& grid, const std::string& filter, TMyDatabase* table) {
  Forget();
  // Room for the rows of the records added later ("Créer", a copy, an
  // import), taken before the fill: the first row added after start-up then
  // moves none of the grid's arrays.
  if (table != nullptr) grid.ReserveRows(static_cast<int>(WithRoomToGrow(table->RecordCount())) + grid.GetFixedRows());
  RemplirGrid(&grid, filter, true, table);
  if (table == nullptr || filter.empty()) return;
  // RemplirGrid writes the records of QueryAll in their order, one per row.
  Filled(grid, table->GetQueryResults());
}

void TListRows::Filled(TMyStringGrid& grid, const std::vector<std::int32_t>& records) {
  Forget();
  if (static_cast<int>(records.size()) == grid.GetRowCount() - grid.GetFixedRows()) fRecords = records;
}

void TListRows::Sort(TMyStringGrid& grid) {
  std::vector<int> from;
  grid.Resort(&from);
  Sorted(grid, from);
}

void TListRows::Sorted(TMyStringGrid& grid, const std::vector<int>& from) {
  const TMyStringGrid::TSortOrder& order = grid.LastSortOrder();
  fStrict = order.Strict && order.Version == grid.GetGrid()->GetTextsVersion() && order.Col == grid.fSortCol &&
            order.Ascending == grid.fSortAscending;
  fFamily = order.Family;
  if (fRecords.size() != from.size()) {
    Forget();
    return;
  }
  const int fixedRows = grid.GetFixedRows();
  std::vector<std::int32_t> sorted(from.size());
  for (std::size_t k = 0; k < from.size(); ++k) sorted[k] = fRecords[static_cast<std::size_t>(from[k] - fixedRows)];
  fRecords = std::move(sorted);
}

bool TListRows::Update(TMyStringGrid& grid, const std::string& filter, TMyDatabase& table,
                       const std::vector<int>& changed) {
  const int fixedRows = grid.GetFixedRows();
  const int fixedCols = grid.GetFixedCols();
  if (fRecords.empty() || static_cast<int>(fRecords.size()) != grid.GetRowCount() - fixedRows) return false;
  // The columns as RemplirGrid writes them: a field the table lacks is left
  // to it.
  TStringManager& sm = StringManager();
  std::vector<int> fields;
  const int count = static_cast<int>(std::count(filter.begin(), filter.end(), ';')) + 1;
  for (int i = 1; i <= count; ++i) {
    const std::string name = sm.GetToken(filter, i, ';');
    if (!table.FieldExists(name)) return false;
    fields.push_back(table.GetFieldPos(name));
  }
  const int sortCol = grid.fSortCol;
  if (fixedCols + count != grid.GetColCount() || sortCol < fixedCols || sortCol >= grid.GetColCount()) return false;
  const auto sortField = static_cast<std::size_t>(sortCol - fixedCols);

  // A record whose text in the sorted column stayed keeps its row: the fill
  // gives the sort the same texts in the same order. Any other change moves
  // rows: to their sorted places when the column leaves one order, else by
  // sorting the list again over the texts it holds.
  std::vector<TChange> changes;
  bool rowsStay = true;
  for (const int record : changed) {
    TChange change{record, false, false, {}};
    const int row = RowOf(record, fixedRows);
    change.Shown = row >= 0;
    change.Live = record >= 0 && record < table.RecordCount() && !table.IsDeleted(record);
    if (change.Live) {
      for (const int f : fields) change.Texts.push_back(table.ValueAt(f, record));
    }
    if (!change.Shown && !change.Live) continue;
    if (!change.Shown || !change.Live || grid.GetCell(sortCol, row) != change.Texts[sortField]) rowsStay = false;
    changes.push_back(std::move(change));
  }
  if ((rowsStay || fStrict) && PlaceInOrder(grid, changes, sortField)) return true;
  return Resort(grid, table, changes);
}

int TListRows::RowOf(std::int32_t record, int fixedRows) const {
  const auto at = std::find(fRecords.begin(), fRecords.end(), record);
  return at == fRecords.end() ? -1 : fixedRows + static_cast<int>(at - fRecords.begin());
}

bool TListRows::PlaceInOrder(TMyStringGrid& grid, const std::vector<TChange>& changes, std::size_t sortField) {
  const int fixedRows = grid.GetFixedRows();
  const int sortCol = grid.fSortCol;
  for (const TChange& change : changes) {
    const int row = RowOf(change.Record, fixedRows);
    if (row >= 0 && change.Live && grid.GetCell(sortCol, row) == change.Texts[sortField]) {
      grid.ReplaceRowTexts(row, change.Texts);
      continue;
    }
    if (row >= 0) {
      // The only data row stays: an empty list shows one empty row.
      if (grid.GetRowCount() - 1 <= fixedRows) return false;
      grid.RemoveRowAt(row);
      fRecords.erase(fRecords.begin() + (row - fixedRows));
    }
    if (!change.Live) continue;
    const std::string& text = change.Texts[sortField];
    const int at = grid.SortedRowFor(text);
    // Equal texts: their order is the sort's; the changes done so far are
    // taken again by Resort as they stand.
    if (!grid.KeepsStrictOrder(fFamily, at, text)) return false;
    grid.InsertRowAt(at, change.Texts);
    fRecords.insert(fRecords.begin() + (at - fixedRows), change.Record);
  }
  return true;
}

bool TListRows::Resort(TMyStringGrid& grid, const TMyDatabase& table, const std::vector<TChange>& changes) {
  const int fixedRows = grid.GetFixedRows();
  // Each change on its row: texts written over, the row removed, or a row
  // added at the end. A change already in place is left as it is.
  std::vector<std::int32_t> written;
  for (const TChange& change : changes) {
    if (change.Live) written.push_back(change.Record);
    const int row = RowOf(change.Record, fixedRows);
    if (row >= 0 && change.Live) {
      grid.ReplaceRowTexts(row, change.Texts);
    } else if (row >= 0) {
      if (grid.GetRowCount() - 1 <= fixedRows) return false;
      grid.RemoveRowAt(row);
      fRecords.erase(fRecords.begin() + (row - fixedRows));
    } else if (change.Live) {
      grid.InsertRowAt(grid.GetRowCount(), change.Texts);
      fRecords.push_back(change.Record);
    }
  }
  // A fill writes the records in their order in the table (QueryAll); the
  // sort of the rows taken in that order gives what filling and sorting
  // gives.
  std::vector<int> rowOfRecord(static_cast<std::size_t>(table.RecordCount()), -1);
  for (std::size_t k = 0; k < fRecords.size(); ++k) {
    const std::int32_t record = fRecords[k];
    if (record < 0 || record >= table.RecordCount()) return false;
    rowOfRecord[static_cast<std::size_t>(record)] = fixedRows + static_cast<int>(k);
  }
  std::vector<int> fillOrder;
  fillOrder.reserve(fRecords.size());
  for (const int row : rowOfRecord) {
    if (row >= 0) fillOrder.push_back(row);
  }
  if (fillOrder.size() != fRecords.size()) return false;
  // The other rows are still in the order of the last sort.
  std::vector<int> moved;
  for (const std::int32_t record : written) moved.push_back(rowOfRecord[static_cast<std::size_t>(record)]);
  std::vector<int> from;
  grid.ResortAsFilled(fillOrder, moved, &from);
  Sorted(grid, from);
  return !fRecords.empty();
}
