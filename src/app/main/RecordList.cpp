#include "RecordList.h"

#include <algorithm>
#include <vector>

#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "QtGridSurface.h"
#include "NamedWidgets.h"

namespace {

int FieldCount(const char* filter) {
  const std::string f(filter);
  return static_cast<int>(std::count(f.begin(), f.end(), ';')) + 1;
}

}  // namespace

TRecordList::TRecordList(TListId id, TDeskTables& tables, QWidget* parent)
    : fId(id), fTables(tables), fSurface(NewGrid(parent, Descriptor().SurfaceName)) {
  fSurface->SetRowSelect(true);
  fSurface->hide();
}

// The managed grid goes before its surface.
TRecordList::~TRecordList() {
  fPreparation.reset();
  fGrid.reset();
}

void TRecordList::CreateGrid() {
  fPreparation.reset();
  fGrid = std::make_unique<TMyStringGrid>(fSurface);
}

void TRecordList::ReleaseGrid() {
  fPreparation.reset();
  fGrid.reset();
}

TMyDatabase* TRecordList::Table() const { return fTables.Get(Descriptor().Table); }

bool TRecordList::Visible() const { return fGrid != nullptr && fGrid->GetVisible(); }

void TRecordList::Init() {
  const TListDescriptor& list = Descriptor();
  TMyStringGrid* grid = fGrid.get();
  grid->SetRowCount(2);
  grid->SetColCount(FieldCount(list.Filter) + 1);
  grid->SetFixedRows(1);
  grid->SetFixedCols(1);
  grid->fSortCol = list.DefaultSortCol;
  grid->fSortAscending = true;
  grid->fDefaultColor = clValidWhite;
  EmptyTitleRow(grid);
}

void TRecordList::Fill() {
  DropPreparation();
  fRows.Fill(*fGrid, Descriptor().Filter, Table());
  fRows.Sort(*fGrid);
  NoteFilled();
}

void TRecordList::PrepareSlice() {
  if (fPreparation == nullptr) fPreparation = std::make_unique<TListPreparation>(*fGrid, Descriptor().Filter, fRows);
  if (!fPreparation->Step(Table())) return;
  fPreparation.reset();
  NoteFilled();
}

void TRecordList::DropPreparation() {
  if (fPreparation == nullptr) return;
  fPreparation->Abandon();
  fPreparation.reset();
}

void TRecordList::NoteFilled() {
  TListState& state = fState;
  const TMyStringGrid* grid = fGrid.get();
  const TMyDatabase* table = Table();
  state.Filled = true;
  state.Table = table;
  state.TableChanges = table != nullptr ? table->ChangeCount() : 0;
  state.TextsVersion = grid->GetGrid()->GetTextsVersion();
  state.SortCol = grid->fSortCol;
  state.SortAscending = grid->fSortAscending;
  state.EmptyRowAdded = false;
}

void TRecordList::TakeRowBeforeShow() {
  // The article row is taken here rather than on hiding, so that it is the
  // row the list had before an article was opened and saved.
  if (!Descriptor().RowTakenOnHide && fState.Shown) fPosition.Row = fGrid->GetRow();
}

void TRecordList::Show() {
  const TListDescriptor& list = Descriptor();
  TListState& state = fState;
  TMyStringGrid* grid = fGrid.get();
  TMyDatabase* table = Table();
  // A list the idle time was preparing is finished at once when what it
  // did still holds; otherwise it is filled below as usual.
  if (fPreparation != nullptr && fPreparation->Current(table)) {
    fPreparation->Step(table, true);
    fPreparation.reset();
    NoteFilled();
  }
  DropPreparation();
  // Filling and sorting a list of 200 000 rows again would give back exactly
  // the rows it holds when neither the table nor the list has changed since
  // it was last filled, and it is sorted by the same column in the same
  // direction.
  const std::uint64_t texts = grid->GetGrid()->GetTextsVersion();
  const bool sameRows = state.Filled && table != nullptr && state.Table == table && texts != 0 &&
                        state.TextsVersion == texts && state.SortCol == grid->fSortCol &&
                        state.SortAscending == grid->fSortAscending;
  const bool unchanged = sameRows && state.TableChanges == table->ChangeCount();
  // The empty row "Créer" added, with nothing written since, is all that
  // differs from the fill: taking it away gives back the filled rows.
  if (sameRows && state.EmptyRowAdded) grid->SetRowCount(grid->GetRowCount() - 1);
  // A command that changed a record or two (a save, a copy, a deletion)
  // leaves the other rows as they are.
  std::vector<int> changed;
  const bool inPlace = sameRows && !unchanged && table->ChangedRecordsSince(state.TableChanges, changed) &&
                       fRows.Update(*grid, list.Filter, *table, changed);
  const bool refill = !unchanged && !inPlace;
  if (refill) fRows.Fill(*grid, list.Filter, table);
  grid->GetGrid()->Repaint();
  grid->SetVisible(true);
  grid->SetFocus();
  if (refill) fRows.Sort(*grid);
  state.Shown = true;
  grid->SetRow(fPosition.Row);
  grid->SetTopRow(fPosition.TopRow);
  NoteFilled();
}

// A list that has never been filled still shows its start-up rows, which say
// nothing about where the user was: the positions read from the settings are
// kept for it until it is first shown.
void TRecordList::StorePosition(bool withRow) {
  if (!fState.Shown) return;
  if (withRow) fPosition.Row = fGrid->GetRow();
  fPosition.TopRow = fGrid->GetTopRow();
}

void TRecordList::Hide() { fGrid->SetVisible(false); }

void TRecordList::AddEmptyRow() {
  TMyStringGrid* grid = fGrid.get();
  TListState& state = fState;
  const bool filledRows = state.Filled && !state.EmptyRowAdded && state.TextsVersion != 0 &&
                          state.TextsVersion == grid->GetGrid()->GetTextsVersion();
  grid->SetRowCount(grid->GetRowCount() + 1);
  if (filledRows) {
    state.TextsVersion = grid->GetGrid()->GetTextsVersion();
    state.EmptyRowAdded = true;
  }
  grid->SetRow(grid->GetRowCount() - 1);
}

std::string TRecordList::SelectedKey() const { return fGrid->GetCellByName(Descriptor().KeyField, fGrid->GetRow()); }

void TRecordList::Select(const std::string& key) {
  const int row = fGrid->FindCell(key, Descriptor().KeyField).second;
  if (row >= fGrid->GetFixedRows() && row < fGrid->GetRowCount()) fGrid->SetRow(row);
}
