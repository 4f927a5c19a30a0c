#include "RemplirGrid.h"

#include <algorithm>
#include <vector>

#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "StringManager.h"
#include "Trace.h"

void RemplirGrid(TMyStringGrid* grid, const std::string& filter, bool withTitles, TMyDatabase* table) {
  if (!TGridFill::Accepts(grid, filter, table)) return;
  // The grid's own work (colours, sizes, notifications) is done once, at the
  // end, instead of for every cell written; it comes back on whatever ends
  // the fill.
  TAutomaticOff automaticOff(*grid);
  TGridFill fill;
  fill.Begin(grid, filter, withTitles, table);
  fill.Step(grid->GetRowCount());
  fill.End();
}

bool TGridFill::Accepts(TMyStringGrid* grid, const std::string& filter, TMyDatabase* table) {
  if (grid == nullptr) {
    Error("Quorix_Unit:RemplirGrid:TStringGrid non valide");
    return false;
  }
  if (table == nullptr) {
    Error("Quorix_Unit:RemplirGrid:Database non valide");
    return false;
  }
  if (filter.empty()) {
    Error("Quorix_Unit:RemplirGrid:Filtre vide");
    return false;
  }
  return true;
}

bool TGridFill::Begin(TMyStringGrid* grid, const std::string& filter, bool withTitles, TMyDatabase* table) {
  if (!Accepts(grid, filter, table)) return false;
  fGrid = grid;
  fTable = table;
  table->QueryAll();
  // The results of QueryAll are live records: their values are read in
  // place rather than copied out one by one. They are kept here, as other
  // queries may run on the table between two steps.
  fRecords = table->GetQueryResults();
  fFields.clear();
  fNames.clear();
  TStringManager& sm = StringManager();
  const int fields = static_cast<int>(std::count(filter.begin(), filter.end(), ';')) + 1;
  for (int i = 1; i <= fields; ++i) {
    fNames.push_back(sm.GetToken(filter, i, ';'));
    fFields.push_back(table->FieldExists(fNames.back()) ? table->GetFieldPos(fNames.back()) : -1);
  }
  fNext = 0;

  grid->SetAutomatic(false);
  const int count = static_cast<int>(fRecords.size());
  const int fixedCols = grid->GetFixedCols();
  const int fixedRows = grid->GetFixedRows();
  const int rows = std::max(count, 1) + fixedRows;
  // Every data row is emptied, except the cells the fill writes next, which
  // take their new text at once, and the rows the new row count drops.
  const int lastWritten = std::min(grid->GetColCount(), fixedCols + fields);
  for (int row = fixedRows; row < std::min(grid->GetRowCount(), rows); ++row) {
    const bool written = row < fixedRows + count;
    for (int col = 0; col < grid->GetColCount(); ++col) {
      if (written && col >= fixedCols && col < lastWritten) continue;
      grid->SetCellForced(col, row, "");
    }
  }
  grid->SetRowCount(rows);
  if (withTitles) grid->setTitles(filter);
  return true;
}

bool TGridFill::Step(int rows) {
  const int count = static_cast<int>(fRecords.size());
  const int end = fNext + std::min(count - fNext, std::max(1, rows));
  const int fixedCols = fGrid->GetFixedCols();
  const int fixedRows = fGrid->GetFixedRows();
  for (std::size_t i = 0; i < fFields.size(); ++i) {
    const int col = fixedCols + static_cast<int>(i);
    const int f = fFields[i];
    if (f < 0) {
      // Each cell of a field the table lacks is empty, with its warning.
      for (int j = fNext; j < end; ++j) fGrid->SetCellForced(col, fixedRows + j, fTable->GetQueryResultString(fNames[i], j));
      continue;
    }
    for (int j = fNext; j < end; ++j) {
      fGrid->SetCellForced(col, fixedRows + j, fTable->ValueAt(f, fRecords[static_cast<std::size_t>(j)]));
    }
  }
  fNext = end;
  return fNext >= count;
}

void TGridFill::End() {
  fGrid->SetAutomatic(true);
  fGrid->UpdateDimensions();
  fGrid->SetRow(fGrid->GetRow());
}

void EmptyTitleRow(TMyStringGrid* grid) {
  for (int col = 0; col < grid->GetColCount(); ++col) grid->SetCellForced(col, 0, "");
}

namespace ColumnColorRules {

namespace {
constexpr TCellType kClientsYellow[] = {
    ctNotClientCodeNorEmpty, ctNoText, ctNoText, ctNoText, ctNotPhoneNorEmpty, ctNotPhoneNorEmpty};
constexpr TCellType kClientsRed[] = {ctEmpty, ctEmpty, ctNoText, ctNotListedCountryNorEmpty, ctNoText, ctNoText};
constexpr TCellType kArticlesYellow[] = {
    ctPsychotropeIfCIPOrEmpty, ctEmpty, ctNegativeReal, ctNegativeReal, ctNotRealOfAtLeastOne, ctNegativeReal};
constexpr TCellType kArticlesRed[] = {ctStupefiant, ctNoText, ctNotReal, ctNotReal, ctNotReal, ctNotReal};
constexpr TCellType kFacturesYellow[] = {
    ctNotFactureNumberNorEmpty, ctNoText, ctNotClientCodeNorEmpty, ctNoText, ctNegativeReal, ctNegativeReal,
    ctNonPositiveReal, ctNegativeReal};
constexpr TCellType kFacturesRed[] = {ctEmpty, ctNotDate, ctEmpty, ctEmpty, ctNotReal, ctNotReal, ctNotReal, ctNotReal};
constexpr TCellType kDevisYellow[] = {
    ctNotDevisNumberNorEmpty, ctNoText, ctNotClientCodeNorEmpty, ctNoText, ctNegativeReal, ctNegativeReal,
    ctNegativeReal, ctNegativeReal};
constexpr TCellType kDevisRed[] = {ctEmpty, ctNotDate, ctEmpty, ctEmpty, ctNotReal, ctNotReal, ctNotReal, ctNotReal};
constexpr TCellType kAvoirsYellow[] = {
    ctNotAvoirNumberNorEmpty, ctNoText, ctNotClientCodeNorEmpty, ctNoText, ctNegativeReal};
constexpr TCellType kAvoirsRed[] = {ctEmpty, ctNotDate, ctEmpty, ctEmpty, ctNotReal};
constexpr TCellType kLignesYellow[] = {
    ctPsychotropeIfCIP, ctEmpty, ctNonPositiveInteger, ctNonPositiveReal, ctNonPositiveReal};
constexpr TCellType kLignesRed[] = {ctStupefiant, ctNoText, ctNotInteger, ctNotReal, ctNotReal};

template <std::size_t N>
TColumnColorRules Rules(const TCellType (&yellow)[N], const TCellType (&red)[N]) {
  return TColumnColorRules{yellow, red, static_cast<int>(N)};
}
}  // namespace

TColumnColorRules Clients() { return Rules(kClientsYellow, kClientsRed); }
TColumnColorRules Articles() { return Rules(kArticlesYellow, kArticlesRed); }
TColumnColorRules Factures() { return Rules(kFacturesYellow, kFacturesRed); }
TColumnColorRules Devis() { return Rules(kDevisYellow, kDevisRed); }
TColumnColorRules Avoirs() { return Rules(kAvoirsYellow, kAvoirsRed); }
TColumnColorRules Lignes() { return Rules(kLignesYellow, kLignesRed); }

}  // namespace ColumnColorRules

void InstallColumnColorRules(TMyStringGrid* grid, const TColumnColorRules& rules) {
  if (grid == nullptr) return;
  for (int i = 0; i < rules.Count; ++i) grid->AddColColorConstraint(i + 1, rules.Yellow[i], clWarningYellow);
  for (int i = 0; i < rules.Count; ++i) grid->AddColColorConstraint(i + 1, rules.Red[i], clErrorRed);
}
