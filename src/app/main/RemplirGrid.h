#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// RemplirGrid a slice of rows at a time, for a list filled while the
// program is idle; RemplirGrid is the same done at once. Begin runs the
// query, keeps its records, switches the grid's automatic work off and sets
// the row count and the titles (false, reported, for what RemplirGrid
// refuses); each Step writes the next rows, every column of them, and
// answers true once every record is written; End switches the automatic
// work back on, which sizes and recolours the grid. The table must not
// change in between.
class TGridFill {
public:
  // Whether RemplirGrid fills the grid from the table; what it refuses is
  // reported.
  static bool Accepts(TMyStringGrid* grid, const std::string& filter, TMyDatabase* table);
  bool Begin(TMyStringGrid* grid, const std::string& filter, bool withTitles, TMyDatabase* table);
  bool Step(int rows);
  void End();
  // The records to write, one per data row, in row order, and how many of
  // them are written.
  const std::vector<std::int32_t>& Records() const { return fRecords; }
  int Written() const { return fNext; }

private:
  TMyStringGrid* fGrid = nullptr;
  TMyDatabase* fTable = nullptr;
  std::vector<std::int32_t> fRecords;
  std::vector<std::string> fNames;
  // The field of each column, -1 for a field the table lacks.
  std::vector<int> fFields;
  int fNext = 0;
};

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
