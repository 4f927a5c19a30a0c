#pragma once

#include <string>

#include "CellTypes.h"
#include "GridSurface.h"

class TMyDatabase;
class TMyStringGrid;

// Column filters of the record lists: the fields shown, which are also the
// column titles.
namespace ListFilters {
inline constexpr const char* Clients = "Code;Societe;Ville;Pays;Telephone;Fax";
inline constexpr const char* Articles = "Code;Designation;Prix Vente;Prix Achat;Coef;Poids";
inline constexpr const char* Factures = "Num Facture;Date;Code client;Societe;Total HT;Total TTC;Port;Poids";
inline constexpr const char* Devis = "Num Devis;Date;Code client;Societe;Total HT;Total TTC;Port;Poids";
inline constexpr const char* Avoirs = "Num Avoir;Date;Code client;Societe;Total TTC";
}  // namespace ListFilters

// Fills a grid with every live record of a table: one row per record (one
// empty row when there is none), the columns of the filter, the titles from
// the filter when asked. A missing grid or table, or an empty filter, is
// reported and leaves the grid as it was.
void RemplirGrid(TMyStringGrid* grid, const std::string& filter, bool withTitles, TMyDatabase* table);

// Empties every cell of the title row, as a grid shows before its first fill.
void EmptyTitleRow(TMyStringGrid* grid);

// The cell types whose test colours each data column of a grid light yellow
// (warning) and red (error), column 1 first.
struct TColumnColorRules {
  const TCellType* Yellow;
  const TCellType* Red;
  int Count;
};

namespace ColumnColorRules {
TColumnColorRules Clients();
TColumnColorRules Articles();
TColumnColorRules Factures();
TColumnColorRules Devis();
TColumnColorRules Avoirs();
TColumnColorRules Lignes();
}  // namespace ColumnColorRules

// Installs the rules on the grid's data columns: every yellow constraint
// first, then the red ones, column by column.
void InstallColumnColorRules(TMyStringGrid* grid, const TColumnColorRules& rules);
