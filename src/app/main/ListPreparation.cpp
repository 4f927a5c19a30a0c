#include "ListPreparation.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "ListRows.h"
#include "MyDatabase.h"
#include "StringManager.h"

namespace {

// A preparation started again and again (the table changing under it at
// every slice) fills the list at once instead.
constexpr int kMostRestarts = 3;

bool TableHasEveryField(const TMyDatabase& table, const std::string& filter) {
  TStringManager& sm = StringManager();
  const int fields = static_cast<int>(std::count(filter.begin(), filter.end(), ';')) + 1;
  for (int i = 1; i <= fields; ++i) {
    if (!table.FieldExists(sm.GetToken(filter, i, ';'))) return false;
  }
  return true;
}

}  // namespace

TListPreparation::TListPreparation(TMyStringGrid& grid, std::string filter, TListRows& rows, TPreparationSlices slices)
    : fGrid(grid), fFilter(std::move(filter)), fRows(rows), fSlices(slices) {}

bool TListPreparation::Current(const TMyDatabase* table) const {
  return fPhase != TPhase::Start && table != nullptr && table == fTable && table->ChangeCount() == fTableChanges &&
         fGrid.GetGrid()->GetTextsVersion() == fTexts;
}

void TListPreparation::Abandon() {
  fSort.reset();
  fGrid.SetAutomatic(true);
}

void TListPreparation::Restart() {
  ++fRestarts;
  fSort.reset();
  fMeasure = TMyStringGrid::TWidthsMeasure();
  fPhase = TPhase::Start;
}

bool TListPreparation::Step(TMyDatabase* table, bool whole) {
  if (fPhase != TPhase::Start && fPhase != TPhase::Done && !Current(table)) Restart();
  bool done = Run(table, whole);
  while (whole && !done) done = Run(table, whole);
  fTexts = fGrid.GetGrid()->GetTextsVersion();
  return done;
}

bool TListPreparation::Run(TMyDatabase* table, bool whole) {
  const int fixedRows = fGrid.GetFixedRows();
  switch (fPhase) {
    case TPhase::Start:
      // What a slice could not do alike (no table, a field the table lacks,
      // which a fill reports cell by cell) is filled and sorted at once.
      if (table == nullptr || fRestarts > kMostRestarts || !TableHasEveryField(*table, fFilter)) {
        fRows.Fill(fGrid, fFilter, table);
        fRows.Sort(fGrid);
        fPhase = TPhase::Done;
        return true;
      }
      fTable = table;
      fTableChanges = table->ChangeCount();
      fRows.Forget();
      fReservedCols = 0;
      fTouched = 0;
      fPhase = TPhase::Reserve;
      return false;
    case TPhase::Reserve: {
      // The room TListRows::Fill takes, a column and a few megabytes at a
      // time: the memory of 100 000 rows is fresh, and touching it all at
      // once is most of what that fill waits for.
      const int rows = static_cast<int>(WithRoomToGrow(table->RecordCount())) + fixedRows;
      fTouched = whole ? rows : fTouched + fSlices.TouchRows;
      fGrid.ReserveColumnRows(fReservedCols, rows, fTouched);
      if (fTouched >= rows) {
        fTouched = 0;
        ++fReservedCols;
      }
      if (fReservedCols >= fGrid.GetColCount()) {
        fGrid.ReserveRows(rows);
        fPhase = TPhase::Begin;
      }
      return false;
    }
    case TPhase::Begin:
      fFill.Begin(&fGrid, fFilter, true, table);
      fPhase = TPhase::Fill;
      return false;
    case TPhase::Fill: {
      // The row numbers go in with their rows, while the automatic work is
      // off: sizing the grid then finds them in place.
      const int before = fFill.Written();
      const bool all = fFill.Step(whole ? INT_MAX : fSlices.FillRows);
      fGrid.NumberRows(fixedRows + before, fixedRows + fFill.Written());
      if (all) fPhase = TPhase::Measure;
      return false;
    }
    case TPhase::Measure:
      if (fGrid.MeasureWidthsStep(fMeasure, whole ? INT_MAX : fSlices.MeasureRows)) fPhase = TPhase::Size;
      return false;
    case TPhase::Size: {
      fFill.End();
      // The column Resort sorts by.
      const int col = fGrid.fSortCol >= 0 && fGrid.fSortCol < fGrid.GetColCount() ? fGrid.fSortCol : 0;
      fSort = fGrid.BeginSort(col);
      fPhase = TPhase::Sort;
      return false;
    }
    case TPhase::Sort:
      if (fGrid.SortStep(*fSort, whole ? static_cast<std::size_t>(-1) : fSlices.SortWork)) fPhase = TPhase::Place;
      return false;
    case TPhase::Place: {
      std::vector<int> from;
      fGrid.FinishSort(*fSort, &from);
      fSort.reset();
      fRows.Filled(fGrid, fFill.Records());
      fRows.Sorted(fGrid, from);
      fPhase = TPhase::Done;
      return true;
    }
    case TPhase::Done:
      break;
  }
  return true;
}
