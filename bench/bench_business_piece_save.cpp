// The save of a very long piece (an imported order of 200 000 lines) on the
// memory grid: empty lines dropped, identical codes found and reported, the
// line file and the header table written.
//
//   bench_business_piece_save [--lines N] [--reps R]
//
// Every tenth line is an empty one and every code is on two lines (N / 2
// pairs of identical lines). It works in a scratch folder of its own.
//
// Figures on the development machine (RelWithDebInfo, median of the runs):
//   lines      one box per pair, one deletion per empty line   one box, one pass each
//   2 000      102 ms (900 boxes)                               23 ms
//   20 000     12.7 s (9 000 boxes)                             43 ms
//   50 000     88 s (22 500 boxes)                              81 ms
//   200 000    about 23 minutes (quadratic; not run)            209 ms

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "BenchFigures.h"
#include "MemoryGridSurface.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PieceKinds.h"
#include "PieceSave.h"
#include "Trace.h"

namespace {

// Counts the boxes instead of showing them.
class TCountingDialogs : public TDialogService {
public:
  void ShowMessage(const std::string& text) override {
    ++Boxes;
    Bytes += text.size();
  }
  long long Boxes = 0;
  std::size_t Bytes = 0;
};

void Fill(TMyStringGrid& grid, int lines) {
  grid.SetAutomatic(false);
  grid.SetRowCount(lines + 1);
  for (int i = 0; i < lines; ++i) {
    const int row = i + 1;
    if (i % 10 == 9) {
      grid.SetCellForced(3, row, "1");
      grid.SetCellForced(4, row, "0");
      grid.SetCellForced(5, row, "0");
      continue;
    }
    grid.SetCellForced(1, row, std::to_string(1000000 + i % (lines / 2)));
    grid.SetCellForced(2, row, "ARTICLE " + std::to_string(i));
    grid.SetCellForced(3, row, "2");
    grid.SetCellForced(4, row, "1,25");
    grid.SetCellForced(5, row, "2,50");
  }
  grid.SetAutomatic(true);
  grid.UpdateDimensions();
}

}  // namespace

int main(int argc, char** argv) {
  int lines = 200000;
  int reps = 3;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--lines") == 0) lines = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--reps") == 0) reps = std::atoi(argv[i + 1]);
  }
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("bench_piece_save_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "Data" / "Factures");
  std::filesystem::current_path(dir);
  {
    std::unique_ptr<TMyDatabase> header(TMyDatabase::CreateEmpty(
        "./Data/BaseDeDonneesFactures.db", "Num Facture;Date;Code client;Societe;Port;Poids;Total HT;Total TTC"));
    header->Save();
  }
  TCountingDialogs dialogs;
  SetDialogService(&dialogs);

  TFigure save;
  long long boxes = 0;
  for (int r = 0; r < reps; ++r) {
    TMemoryGridSurface surface(6, 2, 1, 1);
    surface.SetEditing(true);
    TMyStringGrid grid(&surface);
    grid.SetFixedRows(1);
    grid.SetFixedCols(1);
    grid.setTitles(kPieceLinesFilter);
    Fill(grid, lines);
    TMyDatabase factures("./Data/BaseDeDonneesFactures.db");
    TPieceToSave piece;
    piece.Kind = &PieceKinds::Facture;
    piece.HeaderTable = &factures;
    piece.Number = "FA31702";
    piece.Date = "25/02/2026";
    piece.CodeClient = "0102";
    piece.Port = "12";
    dialogs.Boxes = 0;
    const TMoment start = Start();
    SavePieceSequence(grid, piece);
    save.Add(start);
    boxes = dialogs.Boxes;
  }
  char what[96];
  std::snprintf(what, sizeof what, "save of %d lines (%lld boxes)", lines, boxes);
  Report(what, save, 50);

  SetDialogService(nullptr);
  std::filesystem::current_path("/");
  std::filesystem::remove_all(dir);
  return 0;
}
