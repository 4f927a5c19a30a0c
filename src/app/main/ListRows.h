#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TypedCompare.h"

class TMyDatabase;
class TMyStringGrid;

// What a record list filled from its table and sorted holds: the record of
// each data row, and whether its sorted column leaves one order whatever the
// order of the fill. With it, the few records a command changed are brought
// up to date in place, the rows around them untouched, instead of the whole
// list being filled and sorted again.
class TListRows {
public:
  // RemplirGrid, the record of each row noted.
  void Fill(TMyStringGrid& grid, const std::string& filter, TMyDatabase* table);
  // The sort by the grid's sort column after Fill, the records following
  // their rows.
  void Sort(TMyStringGrid& grid);
  // The same for a fill and a sort done a slice at a time: the records
  // written, one per data row, and the rows the sort took them from (the
  // `from` of TrierColonne).
  void Filled(TMyStringGrid& grid, const std::vector<std::int32_t>& records);
  void Sorted(TMyStringGrid& grid, const std::vector<int>& from);
  // The records changed since the fill (TMyDatabase::ChangedRecordsSince)
  // brought up to date in the grid as it was left by Fill and Sort, or by an
  // earlier Update: each row replaced, removed or inserted at its sorted
  // place, or, when the sorted column has equal texts, the rows written and
  // sorted again in the order a fill would give them, so that the grid shows
  // what filling and sorting it again would show, rows, order, ties, colours
  // and widths alike. False when that cannot be done in place: the grid must
  // then be filled and sorted again (it may have been changed partly).
  bool Update(TMyStringGrid& grid, const std::string& filter, TMyDatabase& table, const std::vector<int>& changed);
  void Forget();

private:
  // A record changed since: its texts when it is live, whether it has a row.
  struct TChange {
    std::int32_t Record;
    bool Shown;
    bool Live;
    std::vector<std::string> Texts;
  };
  // The data row of the record, or -1.
  int RowOf(std::int32_t record, int fixedRows) const;
  // The changes each put at its sorted place, when the column leaves one
  // order. False when a change would leave equal texts (the changes before
  // it are done) or take away the only row.
  bool PlaceInOrder(TMyStringGrid& grid, const std::vector<TChange>& changes, std::size_t sortField);
  // The changes written on their rows, then the list sorted again as a
  // fill in the table's order would be sorted, its rows moved once. False
  // when the only row would go.
  bool Resort(TMyStringGrid& grid, const TMyDatabase& table, const std::vector<TChange>& changes);

  // Empty when unknown (an empty table shows one empty row, which stands for
  // no record).
  std::vector<std::int32_t> fRecords;
  bool fStrict = false;
  TValueKind fFamily = TValueKind::Text;
};
