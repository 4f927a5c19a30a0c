// Opening, scrolling and sorting the invoice list with 200 000 headers on the
// Qt grid surface (run with QT_QPA_PLATFORM=offscreen), and the same fill on
// the memory surface to tell the model's share from the toolkit's.
//
//   bench_grid_fill [rows]

#include <QApplication>
#include <QImage>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "MemoryGridSurface.h"
#include "MyStringGrid.h"
#include "QtGridSurface.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

const char* const kFields = "Num Facture;Date;Code client;Societe;Total HT;Total TTC;Port;Poids";

// Invoice headers shaped like the real table: numbers, dates, four-digit
// client codes, a few hundred company names, amounts with a comma.
std::vector<std::vector<std::string>> MakeHeaders(int count) {
  std::mt19937 rng(42);
  const char* const words[] = {"PHARMACIE", "DEPOT", "CENTRALE", "SAINT", "DU", "CENTRE", "GABON", "CONAKRY", "DAKAR",
                               "LOME", "ABIDJAN", "MEDICAL", "DISTRIBUTION", "NOUVELLE", "GRANDE", "PLATEAU"};
  std::vector<std::string> names;
  for (int i = 0; i < 400; ++i) {
    std::string n = words[rng() % 16];
    for (int w = 0; w < 2 + static_cast<int>(rng() % 3); ++w) n += std::string(" ") + words[rng() % 16];
    names.push_back(n);
  }
  auto amount = [&rng](int max) {
    const int cents = static_cast<int>(rng() % static_cast<unsigned>(max * 100));
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d,%02d", cents / 100, cents % 100);
    return std::string(buf);
  };
  std::vector<std::vector<std::string>> columns(8);
  for (auto& c : columns) c.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    char buf[64];
    // Numbers rise with the records, as pieces are created; past 100 000
    // headers each number comes twice.
    std::snprintf(buf, sizeof buf, "FA%05d", count > 100000 ? i / 2 : i);
    columns[0].push_back(buf);
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", 1 + static_cast<int>(rng() % 28), 1 + static_cast<int>(rng() % 12),
                  2015 + static_cast<int>(rng() % 11));
    columns[1].push_back(buf);
    std::snprintf(buf, sizeof buf, "%04d", static_cast<int>(rng() % 1500));
    columns[2].push_back(buf);
    columns[3].push_back(names[rng() % names.size()]);
    const std::string ht = amount(5000);
    columns[4].push_back(ht);
    columns[5].push_back(amount(5000));
    columns[6].push_back(rng() % 4 == 0 ? "0" : "35");
    std::snprintf(buf, sizeof buf, "%d,%04d", static_cast<int>(rng() % 60), static_cast<int>(rng() % 10000));
    columns[7].push_back(buf);
  }
  return columns;
}

// The list set up as the main window sets up its invoice list.
void Configure(TMyStringGrid& grid) {
  grid.SetRowCount(2);
  grid.SetColCount(9);
  grid.SetFixedRows(1);
  grid.SetFixedCols(1);
  grid.fSortCol = 1;
  grid.fSortAscending = true;
  const int yellow[] = {46, 4, 42, 4, 20, 20, 19, 20};
  const int red[] = {5, 50, 5, 5, 37, 37, 37, 37};
  for (int c = 0; c < 8; ++c) grid.AddColColorConstraint(c + 1, yellow[c], 0x9BF4FF);
  for (int c = 0; c < 8; ++c) grid.AddColColorConstraint(c + 1, red[c], 0x443EFA);
}

struct TFillTimes {
  double Writes = 0;
  double Update = 0;
  double Total = 0;
};

// The fill of the list display: automatic work off, forced writes field by
// field, automatic work on, one UpdateDimensions.
TFillTimes Fill(TMyStringGrid& grid, const std::vector<std::vector<std::string>>& columns) {
  TFillTimes t;
  const auto start = Clock::now();
  const int count = static_cast<int>(columns[0].size());
  grid.SetAutomatic(false);
  grid.ClearCells();
  grid.SetRowCount(std::max(count, 1) + grid.GetFixedRows());
  grid.setTitles(kFields);
  for (int field = 0; field < 8; ++field) {
    const auto& values = columns[static_cast<std::size_t>(field)];
    for (int j = 0; j < count; ++j) grid.SetCellForced(field + 1, j + 1, values[static_cast<std::size_t>(j)]);
  }
  t.Writes = Ms(start);
  const auto update = Clock::now();
  grid.SetAutomatic(true);
  grid.UpdateDimensions();
  grid.SetRow(grid.GetRow());
  t.Update = Ms(update);
  t.Total = Ms(start);
  return t;
}

long RssKb() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int rows = argc > 1 ? std::atoi(argv[1]) : 200000;
  TStringManager strings;
  const auto columns = MakeHeaders(rows);
  const double cells = 9.0 * (rows + 1);
  std::printf("invoice list: %d rows x 9 columns (%.0f cells)\n", rows, cells);

  {
    TMemoryGridSurface surface(9, 2, 1, 1);
    TMyStringGrid grid(&surface);
    Configure(grid);
    const TFillTimes t = Fill(grid, columns);
    std::printf("memory surface: fill %.0f ms (writes %.0f, UpdateDimensions %.0f)\n", t.Total, t.Writes, t.Update);
  }

  const long rssBefore = RssKb();
  auto surface = std::make_unique<TQtGridSurface>(nullptr, 9, 2);
  surface->resize(1200, 700);
  surface->show();
  QApplication::processEvents();
  auto grid = std::make_unique<TMyStringGrid>(surface.get());
  Configure(*grid);

  const TFillTimes t = Fill(*grid, columns);
  std::printf("Qt surface: fill %.0f ms (writes %.0f, UpdateDimensions with numbering, colours and widths %.0f)\n",
              t.Total, t.Writes, t.Update);

  const TFillTimes again = Fill(*grid, columns);
  std::printf("Qt surface, showing the list again over its 200 000 rows: %.0f ms\n", again.Total);

  auto start = Clock::now();
  grid->InitColors();
  grid->ExecuteColorconstraints();
  std::printf("  colours of every cell again: %.0f ms\n", Ms(start));
  start = Clock::now();
  grid->AutoSizeCols();
  std::printf("  AutoSizeCols again: %.0f ms\n", Ms(start));
  start = Clock::now();
  const int needed = grid->GetNeededWidth();
  std::printf("  GetNeededWidth %d: %.0f ms\n", needed, Ms(start));

  start = Clock::now();
  QImage first = surface->grab().toImage();
  std::printf("first paint: %.1f ms\n", Ms(start));

  start = Clock::now();
  const int pages = 50;
  for (int i = 0; i < pages; ++i) {
    grid->SetTopRow(1 + (i * 3989) % (rows - 40));
    surface->grab();
  }
  std::printf("scrolling: %.2f ms per page (%d jumps)\n", Ms(start) / pages, pages);

  start = Clock::now();
  grid->InsertEmptyLine(grid->GetRowCount(), false);
  std::printf("a row added at the end: %.0f ms\n", Ms(start));
  start = Clock::now();
  grid->DeleteLine(grid->GetRowCount() - 1);
  std::printf("the row deleted again: %.0f ms\n", Ms(start));

  for (const char* column : {"Num Facture", "Societe", "Total TTC", "Date"}) {
    grid->SetRow(rows / 3);
    grid->fSortAscending = !grid->fSortAscending;
    start = Clock::now();
    grid->TrierColonne(column);
    std::printf("sort by %s (%s): %.0f ms\n", column, grid->fSortAscending ? "ascending" : "descending", Ms(start));
  }

  const std::size_t bytes = grid->AttributeBytes();
  std::printf("per-cell attributes: %.2f bytes per cell (%zu bytes)\n", static_cast<double>(bytes) / cells, bytes);
  std::printf("resident memory of the Qt grid with its texts: %.0f MB\n", static_cast<double>(RssKb() - rssBefore) / 1024.0);

  if (argc > 2) first.save(QString::fromLocal8Bit(argv[2]), "PNG");
  grid.reset();
  surface.reset();
  return 0;
}
