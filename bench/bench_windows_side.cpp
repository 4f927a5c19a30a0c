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
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "CommandeAllianceForm.h"
#include "HistoriqueForm.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "StringManager.h"
#include "TraceRecorder.h"

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
    auto t = Start();
    order.Charger(&factures, "./Data/Factures/");
    QApplication::processEvents();
    open.Add(t);
    // The date moved to the last months: most of them drop out.
    t = Start();
    order.SetPickerValue(EncodeDate(2028, 1, 1) + 0.5);
    order.CommandeAlliance_DateTimePickerChange();
    QApplication::processEvents();
    change.Add(t);
    // Back to every invoice; the 40 first ones that have line files chosen.
    order.SetPickerValue(EncodeDate(2000, 1, 1) + 0.5);
    order.CommandeAlliance_DateTimePickerChange();
    t = Start();
    int chosen = 0;
    for (int row = 1; row < order.fTotalGrid->GetRowCount() && chosen < 40; ++row) {
      const std::string number = order.fTotalGrid->GetCellByName("Num Facture", row);
      if (!std::filesystem::exists("./Data/Factures/" + number + ".db")) continue;
      order.fTotalGrid->SetRow(row);
      order.CommandeAlliance_Total_StringGridDblClick();
      ++chosen;
    }
    QApplication::processEvents();
    choose.Add(t, std::max(chosen, 1));
    t = Start();
    order.CommandeAlliance_Go_ButtonClick();
    QApplication::processEvents();
    go.Add(t);
    label = order.reduction_lignes_Label->text().toStdString();
    t = Start();
    order.CommandeAlliance_Print_ButtonClick();  // no print manager: the layout only
    QApplication::processEvents();
    layout.Add(t);
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
    auto t = Start();
    history.show();
    QApplication::processEvents();
    show.Add(t);
    history.hide();
  }
  Report("history window shown over 5 000 files", show, 100);
  for (const std::string& m : dialogs.Messages) std::printf("message: %s\n", m.c_str());
  SetDialogService(nullptr);
  return 0;
}
