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

  struct TChange {
    std::int32_t Record;
    bool Shown;
    bool Live;
    std::vector<std::string> Texts;
  };
  auto rowOf = [&](std::int32_t record) {
    const auto at = std::find(fRecords.begin(), fRecords.end(), record);
    return at == fRecords.end() ? -1 : fixedRows + static_cast<int>(at - fRecords.begin());
  };
  // A record whose text in the sorted column stayed keeps its row: the fill
  // gives the sort the same texts in the same order. Any other change moves
  // rows, which gives what a sort gives only when the column leaves one
  // order.
  std::vector<TChange> changes;
  bool rowsStay = true;
  for (const int record : changed) {
    TChange change{record, false, false, {}};
    const int row = rowOf(record);
    change.Shown = row >= 0;
    change.Live = record >= 0 && record < table.RecordCount() && !table.IsDeleted(record);
    if (change.Live) {
      for (const int f : fields) change.Texts.push_back(table.ValueAt(f, record));
    }
    if (!change.Shown && !change.Live) continue;
    if (!change.Shown || !change.Live || grid.GetCell(sortCol, row) != change.Texts[sortField]) rowsStay = false;
    changes.push_back(std::move(change));
  }
  if (!rowsStay && !fStrict) return false;

  for (const TChange& change : changes) {
    const int row = rowOf(change.Record);
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
    if (!grid.KeepsStrictOrder(fFamily, at, text)) return false;
    grid.InsertRowAt(at, change.Texts);
    fRecords.insert(fRecords.begin() + (at - fixedRows), change.Record);
  }
  return true;
}
