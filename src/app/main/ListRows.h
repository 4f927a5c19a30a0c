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
  // place, so that the grid shows what filling and sorting it again would
  // show, rows, order, colours and widths alike. False when that cannot be
  // done in place: the grid must then be filled and sorted again (it may have
  // been changed partly).
  bool Update(TMyStringGrid& grid, const std::string& filter, TMyDatabase& table, const std::vector<int>& changed);
  void Forget();

private:
  // Empty when unknown (an empty table shows one empty row, which stands for
  // no record).
  std::vector<std::int32_t> fRecords;
  bool fStrict = false;
  TValueKind fFamily = TValueKind::Text;
};
