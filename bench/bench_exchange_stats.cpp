// Handling one "Article" reply of the statistics server: shading the search
// results grid row by row on the Qt grid surface (run with
// QT_QPA_PLATFORM=offscreen), with the article columns' colour rules
// installed as the piece editor installs them. The handling blocks the
// screen while it runs, so it should stay well under a frame.
//
//   bench_exchange_stats [rows ...]

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "MyStringGrid.h"
#include "QtGridSurface.h"
#include "StatsReplies.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

std::string Cip(int n) {
  std::string six = std::to_string(200000 + n % 800000);
  int sum = 0;
  for (int i = 0; i < 6; ++i) sum += (six[static_cast<std::size_t>(i)] - '0') * (i + 2);
  return six + std::to_string((sum % 11) % 10);
}

class TGridDisplay : public TStatsDisplay {
public:
  explicit TGridDisplay(TMyStringGrid& grid) : fGrid(grid) {}
  void AfficherSignal(const std::string&, TColor) override {}
  TMyStringGrid* SearchGrid() override { return &fGrid; }

private:
  TMyStringGrid& fGrid;
};

double ShadeOnce(int rows) {
  TQtGridSurface surface;
  surface.resize(600, 500);
  TMyStringGrid grid(&surface);
  grid.SetFixedCols(0);
  grid.SetFixedRows(1);
  grid.SetAutomatic(false);
  grid.SetColCount(4);
  grid.SetRowCount(rows + 1);
  grid.setTitles("Code;Designation;Prix Achat;Prix Vente");
  std::string reply = "Article";
  for (int r = 1; r <= rows; ++r) {
    grid.SetCellForced(0, r, Cip(r * 7919));
    grid.SetCellForced(1, r, "PARACETAMOL 500MG CPR B/" + std::to_string(r % 60));
    grid.SetCellForced(2, r, "12,50");
    grid.SetCellForced(3, r, "15,90");
    reply += ";" + std::to_string((r * 37) % 400);
  }
  grid.SetAutomatic(true);
  grid.UpdateDimensions();
  // The article columns' rules (yellow then red per column), as the search
  // grid has them when it shows article candidates.
  const int yellow[] = {29, 5, 19, 19};
  const int red[] = {31, 4, 37, 37};
  for (int c = 0; c < 4; ++c) {
    grid.AddColColorConstraint(c, yellow[c], clWarningYellow);
    grid.AddColColorConstraint(c, red[c], clErrorRed);
  }
  TGridDisplay display(grid);
  const auto start = Clock::now();
  HandleStatsReply(reply, display);
  return Ms(start);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  TStringManager strings;
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {100, 1000, 10000};
  std::printf("shading the search grid from one Article reply (Qt surface, column rules installed)\n");
  for (int rows : sizes) {
    double best = 1e30;
    for (int rep = 0; rep < 5; ++rep) best = std::min(best, ShadeOnce(rows));
    std::printf("  %6d rows: %8.2f ms (best of 5)\n", rows, best);
  }
  return 0;
}
