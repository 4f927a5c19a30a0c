#include "RemplirGrid.h"

#include <algorithm>
#include <vector>

#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "StringManager.h"
#include "Trace.h"

void RemplirGrid(TMyStringGrid* grid, const std::string& filter, bool withTitles, TMyDatabase* table) {
  if (grid == nullptr) {
    Error("Quorix_Unit:RemplirGrid:TStringGrid non valide");
    return;
  }
  if (table == nullptr) {
    Error("Quorix_Unit:RemplirGrid:Database non valide");
    return;
  }
  if (filter.empty()) {
    Error("Quorix_Unit:RemplirGrid:Filtre vide");
    return;
  }
  table->QueryAll();
  const int count = table->QueryResultCount();

  // The grid's own work (colours, sizes, notifications) is done once, at the
  // end, instead of for every cell written; it comes back on whatever ends
  // the fill.
  TAutomaticOff automaticOff(*grid);
  TStringManager& sm = StringManager();
  const int fields = static_cast<int>(std::count(filter.begin(), filter.end(), ';')) + 1;
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

  const std::vector<std::int32_t>& results = table->GetQueryResults();
  for (int i = 1; i <= fields; ++i) {
    const std::string field = sm.GetToken(filter, i, ';');
    const int col = fixedCols + i - 1;
    if (!table->FieldExists(field)) {
      // Each cell of a field the table lacks is empty, with its warning.
      for (int j = 0; j < count; ++j) grid->SetCellForced(col, fixedRows + j, table->GetQueryResultString(field, j));
      continue;
    }
    // The results of QueryAll are live records: their values are read in
    // place rather than copied out one by one.
    const int f = table->GetFieldPos(field);
    for (int j = 0; j < count; ++j) {
      grid->SetCellForced(col, fixedRows + j, table->ValueAt(f, results[static_cast<std::size_t>(j)]));
    }
  }
  grid->SetAutomatic(true);
  grid->UpdateDimensions();
  grid->SetRow(grid->GetRow());
}

void EmptyTitleRow(TMyStringGrid* grid) {
  for (int col = 0; col < grid->GetColCount(); ++col) grid->SetCellForced(col, 0, "");
}

namespace ColumnColorRules {

namespace {
constexpr int kClientsYellow[] = {42, 4, 4, 4, 43, 43};
constexpr int kClientsRed[] = {5, 5, 4, 53, 4, 4};
constexpr int kArticlesYellow[] = {32, 5, 20, 20, 45, 20};
constexpr int kArticlesRed[] = {31, 4, 37, 37, 37, 37};
constexpr int kFacturesYellow[] = {46, 4, 42, 4, 20, 20, 19, 20};
constexpr int kFacturesRed[] = {5, 50, 5, 5, 37, 37, 37, 37};
constexpr int kDevisYellow[] = {47, 4, 42, 4, 20, 20, 20, 20};
constexpr int kDevisRed[] = {5, 50, 5, 5, 37, 37, 37, 37};
constexpr int kAvoirsYellow[] = {48, 4, 42, 4, 20};
constexpr int kAvoirsRed[] = {5, 50, 5, 5, 37};
constexpr int kLignesYellow[] = {29, 5, 10, 19, 19};
constexpr int kLignesRed[] = {31, 4, 51, 37, 37};

template <std::size_t N>
TColumnColorRules Rules(const int (&yellow)[N], const int (&red)[N]) {
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
