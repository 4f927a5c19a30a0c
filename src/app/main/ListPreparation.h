#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "MyStringGrid.h"
#include "RemplirGrid.h"

class TListRows;
class TMyDatabase;

// What one slice of a list preparation does at most. Each is a few milliseconds on the large
// installation: rows written (every column of them), rows of texts whose
// fresh memory is touched (two megabytes), rows measured, and rows keyed
// or comparisons made by the sort.
struct TPreparationSlices {
  int FillRows = 8192;
  int TouchRows = 65536;
  int MeasureRows = 4096;
  std::size_t SortWork = 65536;
};

// The filling and sorting of a hidden list a slice at a time, while the
// program is idle after start-up: 100 000 articles filled and sorted in one
// go keep a key or a click waiting for a tenth of a second, a slice for a
// few milliseconds. The slices write the rows (the automatic work off
// throughout, as in any fill), measure the column widths, size and recolour
// the grid, key the sorted column, sort it and move the rows; the list then
// holds exactly what TListRows::Fill and Sort give: the same rows in the same
// order, ties included, the same colours, widths and records.
//
// A table that changes between two slices (a save, a deletion), or texts
// written to the grid by anyone else, start the preparation again: it never
// leaves rows of a table as it was.
class TListPreparation {
public:
  TListPreparation(TMyStringGrid& grid, std::string filter, TListRows& rows, TPreparationSlices slices = TPreparationSlices());
  TListPreparation(const TListPreparation&) = delete;
  TListPreparation& operator=(const TListPreparation&) = delete;

  // One slice over the table (whole: every slice left at once); true once
  // the list is filled and sorted.
  bool Step(TMyDatabase* table, bool whole = false);
  // Whether what is done so far still holds for the table and the grid.
  bool Current(const TMyDatabase* table) const;
  // Gives the grid its automatic work back, the list left part-way; it must
  // then be filled again.
  void Abandon();

private:
  enum class TPhase { Start, Reserve, Begin, Fill, Measure, Size, Sort, Place, Done };

  bool Run(TMyDatabase* table, bool whole);
  void Restart();

  TMyStringGrid& fGrid;
  std::string fFilter;
  TListRows& fRows;
  TPreparationSlices fSlices;
  TPhase fPhase = TPhase::Start;
  const TMyDatabase* fTable = nullptr;
  std::uint64_t fTableChanges = 0;
  std::uint64_t fTexts = 0;
  int fRestarts = 0;
  int fReservedCols = 0;
  int fTouched = 0;
  TGridFill fFill;
  int fFilled = 0;
  TMyStringGrid::TWidthsMeasure fMeasure;
  std::unique_ptr<TColumnSort> fSort;
};
