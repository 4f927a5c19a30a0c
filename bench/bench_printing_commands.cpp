// The print command of a piece on a large installation, without the Qt
// printer: finding the invoice and its client among the loaded tables, the
// due date, the distributor table, reading the line file, the keys, the
// archive copy, and the document laid out on the memory print window
// (preview, and print with the dialog answered). Also the search results
// grid of 1 000 rows printed as a table. Medians of several runs, after the
// tables were queried once as showing the lists does.
//
//   bench_printing_commands --data DIR [--reps N]     (DIR holds Data/; the run writes in it)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "FileUtils.h"
#include "MemoryGridSurface.h"
#include "MemoryPrintSurfaces.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PrintCommands.h"
#include "PrintManager.h"
#include "StringManager.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::string data;
  int reps = 9;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--data") == 0) data = argv[i + 1];
    if (std::strcmp(argv[i], "--reps") == 0) reps = std::max(1, std::atoi(argv[i + 1]));
  }
  if (data.empty()) {
    std::fprintf(stderr, "usage: bench_printing_commands --data DIR [--reps N]\n");
    return 2;
  }
  std::filesystem::current_path(data);
  TStringManager strings;

  auto t = Clock::now();
  TMyDatabase articles(Catalogue::Articles::File), clients(Catalogue::Clients::File),
      factures(Catalogue::Factures::File), devis(Catalogue::Devis::File), avoirs(Catalogue::Avoirs::File),
      ubipharm(Catalogue::Ubipharm::File);
  // The lists were shown: every table has its indexes.
  for (TMyDatabase* table : {&articles, &clients, &factures, &devis, &avoirs, &ubipharm}) table->QueryAll();
  std::printf("tables loaded and indexed in %.0f ms: %d articles, %d clients, %d invoices\n", Ms(t),
              articles.RecordCount(), clients.RecordCount(), factures.RecordCount());

  // The invoice with the longest line file among the first ones.
  std::string number;
  int longest = -1;
  for (int r = 0; r < factures.RecordCount() && r < 1000; ++r) {
    const std::string n = factures.DBGetString(factures.GetFieldPos("Num Facture"), r);
    const std::string file = std::string(Catalogue::FactureLines::Folder) + n + ".db";
    if (!FileExists(file)) continue;
    const int size = static_cast<int>(std::filesystem::file_size(file));
    if (size > longest) {
      longest = size;
      number = n;
    }
  }
  if (number.empty()) {
    std::fprintf(stderr, "no invoice line file under %s\n", Catalogue::FactureLines::Folder);
    return 1;
  }

  TMemoryGridSurface listSurface(4, 2, 1, 1);
  TMyStringGrid list(&listSurface);
  list.setTitles("Num Facture;Date;Code client");
  list.SetCellForced(1, 1, number);
  list.SetRow(1);
  TMemoryGridSurface searchSurface(4, 1001, 0, 1);
  TMyStringGrid search(&searchSurface);
  search.setTitles("Num Facture;Code client;Societe;Total TTC");
  for (int r = 1; r <= 1000; ++r)
    for (int c = 0; c < 4; ++c) search.SetCellForced(c, r, factures.DBGetString(c, r % factures.RecordCount()));
  search.SetVisible(false);

  TPrintScreen screen;
  screen.Recherche = &search;
  screen.Pieces[0] = &list;
  TPrintTables tables;
  tables.Pieces = {&articles, &clients, &factures, &devis, &avoirs};
  tables.Ubipharm = &ubipharm;
  TPrintManager manager;
  TMemoryPrintView view(2480, 3508);
  manager.SetView(&view);

  std::vector<double> preview, print, grid;
  std::size_t pages = 0, gridPages = 0;
  for (int r = 0; r < reps; ++r) {
    t = Clock::now();
    ImprimerOuApercu(manager, screen, tables, true, false, TPieceDocumentKind::Piece);
    preview.push_back(Ms(t));
    t = Clock::now();
    ImprimerOuApercu(manager, screen, tables, false, true, TPieceDocumentKind::Piece);
    print.push_back(Ms(t));
    pages = view.MemoryPrinter.Pages.size();
    search.SetVisible(true);
    t = Clock::now();
    ImprimerOuApercu(manager, screen, tables, false, false, TPieceDocumentKind::Piece);
    grid.push_back(Ms(t));
    gridPages = view.MemoryPrinter.Pages.size();
  }
  std::printf("invoice %s (%d bytes of lines, %zu pages): preview %.1f ms, print %.1f ms (memory printer)\n",
              number.c_str(), longest, pages, Median(preview), Median(print));
  std::printf("search results of 1000 rows printed as a grid (%zu pages): %.1f ms (memory printer)\n", gridPages,
              Median(grid));
  return 0;
}
