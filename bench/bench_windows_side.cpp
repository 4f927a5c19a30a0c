// The wholesaler order and history windows on a large installation (run it
// through bench/run_search_bench.sh, which makes the data), offscreen:
// opening the order window over every invoice in progress, a change of
// date, choosing invoices, "Go", the printed layout; the history window
// shown over a full trash.
//
//   bench_windows_side --data INSTALLATION [--reps N]

#include <QApplication>
#include <QLabel>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CommandeAllianceForm.h"
#include "HistoriqueForm.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "StringManager.h"
#include "TraceRecorder.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

struct TFigure {
  std::vector<double> Runs;
  void Add(double ms) { Runs.push_back(ms); }
  double Median() const {
    std::vector<double> v = Runs;
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
  }
  double Max() const { return Runs.empty() ? 0 : *std::max_element(Runs.begin(), Runs.end()); }
};

void Report(const std::string& what, const TFigure& f, double target) {
  std::printf("%-62s median %7.2f ms  max %7.2f ms  (%zu runs, target %.0f ms)%s\n", what.c_str(), f.Median(), f.Max(),
              f.Runs.size(), target, f.Median() <= target ? "" : "  OVER");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::string data;
  int reps = 7;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--data") data = argv[i + 1];
    if (arg == "--reps") reps = std::max(1, std::atoi(argv[i + 1]));
  }
  if (data.empty() || !std::filesystem::exists(data + "/Data")) {
    std::fprintf(stderr, "usage: bench_windows_side --data INSTALLATION [--reps N]\n");
    return 2;
  }
  std::filesystem::current_path(data);
  TRecordingDialogService dialogs;
  SetDialogService(&dialogs);
  TStringManager strings;

  TMyDatabase factures("./Data/BaseDeDonneesFactures.db");
  factures.Query("Port", "0", Exact);
  std::printf("%d invoices, %d in progress\n\n", factures.RecordCount(), factures.QueryResultCount());

  TCommandeAlliance_Form order;
  order.show();
  QApplication::processEvents();
  TFigure open, change, choose, go, layout;
  std::string label;
  for (int rep = 0; rep < reps; ++rep) {
    // Every invoice in progress since 2000 is listed.
    order.SetPickerValue(EncodeDate(2000, 1, 1) + 0.5);
    auto t = Clock::now();
    order.Charger(&factures, "./Data/Factures/");
    QApplication::processEvents();
    open.Add(Ms(t));
    // The date moved to the last months: most of them drop out.
    t = Clock::now();
    order.SetPickerValue(EncodeDate(2028, 1, 1) + 0.5);
    order.CommandeAlliance_DateTimePickerChange();
    QApplication::processEvents();
    change.Add(Ms(t));
    // Back to every invoice; the 40 first ones that have line files chosen.
    order.SetPickerValue(EncodeDate(2000, 1, 1) + 0.5);
    order.CommandeAlliance_DateTimePickerChange();
    t = Clock::now();
    int chosen = 0;
    for (int row = 1; row < order.fTotalGrid->GetRowCount() && chosen < 40; ++row) {
      const std::string number = order.fTotalGrid->GetCellByName("Num Facture", row);
      if (!std::filesystem::exists("./Data/Factures/" + number + ".db")) continue;
      order.fTotalGrid->SetRow(row);
      order.CommandeAlliance_Total_StringGridDblClick();
      ++chosen;
    }
    QApplication::processEvents();
    choose.Add(Ms(t) / std::max(chosen, 1));
    t = Clock::now();
    order.CommandeAlliance_Go_ButtonClick();
    QApplication::processEvents();
    go.Add(Ms(t));
    label = order.reduction_lignes_Label->text().toStdString();
    t = Clock::now();
    order.CommandeAlliance_Print_ButtonClick();  // no print manager: the layout only
    QApplication::processEvents();
    layout.Add(Ms(t));
  }
  Report("order window: Charger over every invoice in progress", open, 100);
  Report("order window: a change of date", change, 100);
  Report("order window: one invoice chosen (double click)", choose, 16);
  Report("order window: Go over 40 invoices (" + label + ")", go, 100);
  Report("order window: the printed layout", layout, 100);

  // The history over a trash of 5 000 files.
  std::filesystem::create_directories("./Data/Poubelle Officielle");
  for (int k = 0; k < 5000; ++k) {
    const std::string name = "./Data/Poubelle Officielle/FA" + std::to_string(100000 + k) + ".db";
    if (std::filesystem::exists(name)) continue;
    if (std::FILE* f = std::fopen(name.c_str(), "w")) std::fclose(f);
  }
  THistorique_Form history;
  TFigure show;
  for (int rep = 0; rep < reps; ++rep) {
    const auto t = Clock::now();
    history.show();
    QApplication::processEvents();
    show.Add(Ms(t));
    history.hide();
  }
  Report("history window shown over 5 000 files", show, 100);
  for (const std::string& m : dialogs.Messages) std::printf("message: %s\n", m.c_str());
  SetDialogService(nullptr);
  return 0;
}
