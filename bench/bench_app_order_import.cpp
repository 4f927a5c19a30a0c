// The order import and the piece operations of the real main window,
// offscreen, on a large installation (run it through
// bench/run_operations_bench.sh, which makes the data): what a user waits for
// after "Importer", "Importer Depuis Fichier", "Supprimer" and "Dupliquer",
// and the polling of the waiting folder.
//
//   bench_app_order_import --data INSTALLATION [--reps N]
//
// INSTALLATION holds Data/; the benchmark writes into it (orders, the invoice
// table, the trash), so give it a scratch copy.

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchIdle.h"
#include "Catalogue.h"
#include "FileUtils.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "OrderImport.h"
#include "OrderImportCommands.h"
#include "PieceCommands.h"
#include "PieceEditor.h"
#include "QtGuard.h"
#include "QuorixForm.h"
#include "SplashLaunchForm.h"
#include "TraceRecorder.h"

namespace {

// An order of 50 lines: 40 by code with a quantity, 10 by the first word of
// a designation after a quantity.
std::string FiftyLineOrder(TMyDatabase& articles) {
  const int code = articles.GetFieldPos(Catalogue::Field::Code);
  const int designation = articles.GetFieldPos(Catalogue::Field::Designation);
  std::string order;
  for (int i = 0; i < 50; ++i) {
    const int a = 1000 + 97 * i;
    if (i < 40) {
      order += articles.DBGetString(code, a) + " x " + std::to_string(1 + i % 9) + "\r\n";
    } else {
      const std::string name = articles.DBGetString(designation, a);
      order += std::to_string(1 + i % 9) + " " + name.substr(0, name.find(' ')) + "\r\n";
    }
  }
  return order;
}

}  // namespace

int main(int argc, char** argv) {
  TQuorixApplication app(argc, argv);
  std::string data;
  int reps = 7;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--data") data = argv[i + 1];
    if (arg == "--reps") reps = std::max(1, std::atoi(argv[i + 1]));
  }
  if (data.empty() || !std::filesystem::exists(data + "/Data")) {
    std::fprintf(stderr, "usage: bench_app_order_import --data INSTALLATION [--reps N]\n");
    return 2;
  }
  std::filesystem::current_path(data);
  // Message boxes are recorded, never shown.
  TRecordingDialogService dialogs;
  SetDialogService(&dialogs);

  auto form = std::make_unique<TQuorix_Form>(nullptr);
  TQuorix_Form& main = *form;
  main.setWindowState(Qt::WindowNoState);
  main.resize(1280, 800);
  QApplication::processEvents();
  WaitForIdlePreparation(main);
  TOrderImportCommands& import = main.OrderImport();
  std::printf("%d articles, %d invoices\n", main.Tables().Articles()->RecordCount(),
              main.Tables().Factures()->RecordCount());
  const std::string order = FiftyLineOrder(*main.Tables().Articles());
  std::filesystem::create_directories(Catalogue::Importation::TodoFolderLocal);

  TFigure creating;
  TFigure filling;
  TFigure showing;
  TFigure polling;
  TFigure importing;
  TFigure restoring;
  TFigure deleting;
  TFigure duplicating;
  for (int rep = 0; rep < reps; ++rep) {
    main.ShowFactures();
    WriteFileAtomically(std::string(Catalogue::Importation::TodoFolderLocal) + "commande.txt", order);
    auto t = Start();
    import.Importations_TimerTimer();
    polling.Add(t);

    t = Start();
    import.ImporterCommande();
    QApplication::processEvents();
    importing.Add(t);
    const int imported = main.PieceEditor().Lines()->GetRowCount() - 1;
    if (imported != 50) std::fprintf(stderr, "%d lines imported\n", imported);
    main.PieceEditor().FactureAnnuler_ButtonClick();

    // Its parts: the new piece opened from the list, the lines filled, the
    // list shown again.
    t = Start();
    main.Creer_BitBtnClick();
    QApplication::processEvents();
    creating.Add(t);
    t = Start();
    FillOrderLines(*main.PieceEditor().Lines(), *main.Tables().Articles(), OrderFileLines(order));
    QApplication::processEvents();
    filling.Add(t);
    t = Start();
    main.PieceEditor().FactureAnnuler_ButtonClick();
    QApplication::processEvents();
    showing.Add(t);

    // A piece of the installation restored as a new one.
    const std::string source = ListFiles(Catalogue::FactureLines::Folder, "*.db").front();
    t = Start();
    import.ImporterPiece("./Data/Factures", source);
    QApplication::processEvents();
    restoring.Add(t);
    main.PieceEditor().FactureAnnuler_ButtonClick();

    // The invoice of the first row duplicated, then deleted: each saves the
    // invoice table and shows the list again.
    main.ShowFactures();
    main.Lists().Of(kFacturesList).Grid()->SetRow(1);
    t = Start();
    main.PieceCommands().Dupliquer_BitBtnMouseDown(Qt::LeftButton, {});
    QApplication::processEvents();
    duplicating.Add(t);
    t = Start();
    main.Supprimer_BitBtnClick();
    QApplication::processEvents();
    deleting.Add(t);
  }

  std::printf("\n");
  Report("Importations_Timer: the waiting folder polled", polling, 16);
  Report("Importer: an order of 50 lines into a new invoice", importing, 50);
  Report("  of which \"Créer\": a new invoice opened from the list", creating, 16);
  Report("  of which the 50 lines filled", filling, 16);
  Report("Annuler: the invoice list shown again", showing, 100);
  Report("Importer Depuis Fichier: an invoice's lines as a new one", restoring, 100);
  Report("Dupliquer: an invoice copied, the list shown again", duplicating, 50);
  Report("Supprimer: an invoice deleted, the list shown again", deleting, 50);
  std::size_t shown = 0;
  for (const std::string& m : dialogs.Messages) {
    if (m.rfind("Importation ", 0) != 0 && shown++ < 5) std::printf("message: %s\n", m.c_str());
  }
  form->close();
  form.reset();
  SetDialogService(nullptr);
  return 0;
}
