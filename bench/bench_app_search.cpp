// The search under the lists of the real main window, offscreen, on a large
// installation (run it through bench/run_search_bench.sh, which makes the
// data): Enter in the search edit until the results grid is shown.
//
//   bench_app_search --data INSTALLATION [--reps N]

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchIdle.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "QtGridSurface.h"
#include "QtGuard.h"
#include "QuorixForm.h"
#include "SearchResults.h"
#include "Search.h"
#include "SplashLaunchForm.h"
#include "TraceRecorder.h"

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
    std::fprintf(stderr, "usage: bench_app_search --data INSTALLATION [--reps N]\n");
    return 2;
  }
  std::filesystem::current_path(data);
  TRecordingDialogService dialogs;
  SetDialogService(&dialogs);

  auto form = std::make_unique<TQuorix_Form>(nullptr);
  TQuorix_Form& main = *form;
  main.setWindowState(Qt::WindowNoState);
  main.resize(1280, 800);
  main.activateWindow();
  QApplication::processEvents();
  WaitForIdlePreparation(main);
  std::printf("%d articles, %d clients, %d invoices\n", main.Tables().Articles()->RecordCount(),
              main.Tables().Clients()->RecordCount(), main.Tables().Factures()->RecordCount());

  // Enter in the search edit until the results are on screen; the number of
  // results of the last run is reported with the figure.
  auto search = [&](TFigure& figure, const char* word, int& found) {
    main.findChild<QLineEdit*>("Recherche_Edit")->setText(QString::fromLatin1(word));
    main.findChild<QLineEdit*>("Recherche_Edit")->setFocus();
    QApplication::processEvents();
    auto t = Start();
    QTest::keyClick(main.findChild<QLineEdit*>("Recherche_Edit"), Qt::Key_Return);
    QApplication::processEvents();
    figure.Add(t);
    TQtGridSurface* results = main.SearchResults().Recherche_StringGrid;
    found = results->isVisible() ? results->GetRowCount() - 1 : 0;
    QTest::keyClick(results, Qt::Key_Escape);
    QApplication::processEvents();
  };

  struct Case {
    void (TQuorix_Form::*show)();
    const char* list;
    const char* word;
    double target;
  };
  const Case cases[] = {
      {&TQuorix_Form::ShowClients, "clients (14 fields)", "dupont", 100},
      {&TQuorix_Form::ShowClients, "clients (14 fields)", "pharmacie", 100},
      {&TQuorix_Form::ShowFactures, "invoices (3 fields)", "achrafieh", 300},
      {&TQuorix_Form::ShowFactures, "invoices (3 fields)", "fa3170", 300},
      {&TQuorix_Form::ShowFactures, "invoices (3 fields)", "pharmacie", 300},
      {&TQuorix_Form::ShowArticles, "articles (2 fields)", "doli", 300},
  };
  std::printf("\n");
  for (const Case& c : cases) {
    (main.*c.show)();
    QApplication::processEvents();
    TFigure figure;
    int found = 0;
    for (int rep = 0; rep < reps; ++rep) search(figure, c.word, found);
    Report(std::string(c.list) + " \"" + c.word + "\", " + std::to_string(found) + " results", figure, c.target);
  }

  // The queries alone, for comparison.
  const TPieceTables tables = main.Tables().Pieces();
  for (const auto& [list, word] : {std::pair{&SearchLists::Clients, "dupont"}, std::pair{&SearchLists::Factures, "pharmacie"}}) {
    TFigure figure;
    for (int rep = 0; rep < reps; ++rep) {
      auto t = Start();
      QuerySearch(*(tables.*(list->Table)), *list, word);
      figure.Add(t);
    }
    Report(std::string("  the queries alone, ") + list->Name + " \"" + word + "\"", figure, list == &SearchLists::Clients ? 100 : 300);
  }
  // Where the time of the widest search goes: every invoice found.
  {
    main.ShowFactures();
    QApplication::processEvents();
    main.SearchResults().SetupSearchGrid();
    TMyStringGrid& grid = *main.SearchResults().Grid();
    TMyDatabase& factures = *main.Tables().Factures();
    TFigure query, display, sort, update, show;
    for (int rep = 0; rep < reps; ++rep) {
      auto t = Start();
      QuerySearch(factures, SearchLists::Factures, "pharmacie");
      query.Add(t);
      t = Start();
      grid.SetRowCount(2);
      grid.SetAutomatic(false);
      factures.DisplayQuery(&grid, SearchLists::Factures.Columns, true);
      grid.SetAutomatic(true);
      display.Add(t);
      t = Start();
      grid.fSortAscending = true;
      grid.TrierColonne(SearchLists::Factures.SortedBy);
      sort.Add(t);
      t = Start();
      grid.UpdateDimensions();
      update.Add(t);
      t = Start();
      main.SearchResults().ShowSearchGrid();
      QApplication::processEvents();
      show.Add(t);
      main.SearchResults().HideSearchGrid();
    }
    Report("  every invoice: the queries", query, 300);
    Report("  every invoice: DisplayQuery", display, 300);
    Report("  every invoice: sort by date", sort, 300);
    Report("  every invoice: UpdateDimensions", update, 300);
    Report("  every invoice: ShowSearchGrid", show, 300);
  }
  for (const std::string& m : dialogs.Messages) std::printf("message: %s\n", m.c_str());
  form->close();
  form.reset();
  SetDialogService(nullptr);
  return 0;
}
