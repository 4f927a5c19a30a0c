// The large installation at the desk's pace: the sorts of the indexes and of
// the lists on adversarial orders, the index upkeep of edits, and the main
// window driven offscreen over the generated installation (start-up, list
// switches, a title-click sort, the focus leaving a list, resizes).
//
//   QT_QPA_PLATFORM=offscreen bench_app_lists DIR [reps] [sorts] [edits] [window]
//
// DIR holds Data/ as written by
//   python3 scripts/generate_data.py --out DIR --articles 100000 --factures 200000 --clients 2000 --max-line-files 1000
// (bench/run_lists_bench.sh makes it once). Every figure is printed with its
// target; the window figures are medians over the repetitions. Times are the
// processor time of the one thread that does all the work.

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QToolButton>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "FileUtils.h"
#include "MemoryGridSurface.h"
#include "MyDatabase.h"
#include "MyDatabaseForm.h"
#include "MyStringGrid.h"
#include "QtGridSurface.h"
#include "QuorixForm.h"
#include "SplashLaunchForm.h"
#include "StringManager.h"
#include "Trace.h"
#include "TraceRecorder.h"

namespace {

// The work of one step, on both clocks.
TFigure Time(const std::function<void()>& action) { return TimeOnce(action); }

// One more run of a step.
void TimeInto(TFigure& figure, const std::function<void()>& action) {
  const TMoment t = Start();
  action();
  figure.Add(t);
}

// The lines of a table file: the header, then the records.
std::vector<std::string> Lines(const std::string& file) {
  std::string text;
  if (ReadWholeFile(file, text) != TReadResult::Ok) {
    std::fprintf(stderr, "cannot read %s\n", file.c_str());
    std::exit(1);
  }
  return SplitLines(text);
}

std::string Join(const std::string& header, const std::vector<std::string>& records) {
  std::string text = header + "\r\n";
  for (const auto& r : records) text += r + "\r\n";
  return text;
}

// Index building at start-up: the articles sorted by code, then the same run
// again, against the same records shuffled.
void IndexSorts(const std::string& data) {
  std::vector<std::string> lines = Lines(data + "/BaseDeDonneeArticles.db");
  const std::string header = lines.front();
  std::vector<std::string> records(lines.begin() + 1, lines.end());
  std::sort(records.begin(), records.end());
  std::vector<std::string> twice = records;
  twice.insert(twice.end(), records.begin(), records.end());
  std::vector<std::string> shuffled = twice;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
  {
    TMyDatabase factures(data + "/BaseDeDonneesFactures.db");
    const TFigure ms = Time([&] {
      factures.RebuildIndexes();
      for (int f = 0; f < factures.FieldCount(); ++f) factures.GetFieldIndex(f);
    });
    char what[128];
    std::snprintf(what, sizeof what, "indexes of the %d invoice headers as stored", factures.RecordCount());
    Report(what, ms, 0);
  }
  for (const auto& [name, set] : {std::pair<const char*, const std::vector<std::string>*>{"sorted by code, the same run again", &twice},
                                  {"the same records shuffled", &shuffled}}) {
    std::unique_ptr<TMyDatabase> table(TMyDatabase::CreateEmpty("", "x"));
    table->LoadFromText(Join(header, *set));
    // Indexes are sorted at their first use: each is used here.
    const TFigure ms = Time([&] {
      table->RebuildIndexes();
      for (int f = 0; f < table->FieldCount(); ++f) table->GetFieldIndex(f);
    });
    char what[128];
    std::snprintf(what, sizeof what, "indexes of %zu articles, %s", set->size(), name);
    Report(what, ms, 0);
  }
}

// A title click on 200 000 rows holding two ascending runs of repeated
// values, against the same values shuffled.
void ColumnSorts() {
  const int rows = 200000;
  std::vector<std::string> runs;
  for (int k = 0; k < rows; ++k) {
    const int i = k % (rows / 2);
    char buf[32];
    std::snprintf(buf, sizeof buf, "FA%05d", 10000 + i / 2);
    runs.emplace_back(buf);
  }
  std::vector<std::string> shuffled = runs;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
  for (const auto& [name, values] : {std::pair<const char*, const std::vector<std::string>*>{"two ascending runs of repeated values", &runs},
                                     {"the same values shuffled", &shuffled}}) {
    TMemoryGridSurface surface(3, 2, 1, 1);
    TMyStringGrid grid(&surface);
    grid.SetAutomatic(false);
    grid.SetRowCount(rows + 1);
    for (int r = 0; r < rows; ++r) {
      grid.SetCellForced(1, r + 1, (*values)[static_cast<std::size_t>(r)]);
      grid.SetCellForced(2, r + 1, std::to_string(r));
    }
    grid.SetAutomatic(true);
    grid.UpdateDimensions();
    grid.fSortAscending = true;
    const TFigure ms = Time([&] { grid.TrierColonne(1); });
    char what[128];
    std::snprintf(what, sizeof what, "title click on %d rows, %s", rows, name);
    Report(what, ms, 0);
  }
}

// A piece saved into the invoice headers (a record added, its eight values
// set, then a query), and the barcode merge's query and write per article.
void Edits(const std::string& data) {
  TMyDatabase factures(data + "/BaseDeDonneesFactures.db");
  // The indexes as the idle start-up leaves them: sorted.
  for (int f = 0; f < factures.FieldCount(); ++f) factures.GetFieldIndex(f);
  const int rounds = 20;
  TFigure save;
  const TMoment saving = Start();
  {
    for (int i = 0; i < rounds; ++i) {
      const int r = factures.AddRecord();
      const std::string number = "FA" + std::to_string(900000 + i);
      factures.SetData("Num Facture", r, number);
      factures.SetData("Date", r, "08/12/2025");
      factures.SetData("Code client", r, "0101");
      factures.SetData("Societe", r, "PHARMACIE CENTRALE DE DAKAR");
      factures.SetData("Port", r, "35");
      factures.SetData("Poids", r, "1,5");
      factures.SetData("Total HT", r, "120,00");
      factures.SetData("Total TTC", r, "120,00");
      factures.Query("Num Facture", number, Exact);
    }
  }
  save.Add(saving, rounds);
  char what[128];
  std::snprintf(what, sizeof what, "piece header saved into %d invoices (add, 8 writes, query)", factures.RecordCount());
  Report(what, save, 100);

  TMyDatabase articles(data + "/BaseDeDonneeArticles.db");
  for (int f = 0; f < articles.FieldCount(); ++f) articles.GetFieldIndex(f);
  std::vector<std::string> codes;
  for (int r = 0; r < articles.RecordCount(); r += 997) codes.push_back(articles.DBGetString(0, r));
  TFigure merge;
  const TMoment merging = Start();
  for (std::size_t i = 0; i < codes.size(); ++i) {
    articles.Query("Code", codes[i], Exact);
    if (articles.QueryResultCount() > 0)
      articles.SetData("Code Barre", articles.QueryGetDataIndex(0), "340093" + std::to_string(1000000 + i));
  }
  merge.Add(merging, static_cast<double>(codes.size()));
  std::snprintf(what, sizeof what, "barcode merge round on %d articles (query, write)", articles.RecordCount());
  Report(what, merge, 1);
}

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// Shows the widget's pixels as the user would see them.
void Paint(QWidget* w) {
  Settle();
  w->repaint();
}

void ClickTitle(TQtGridSurface* surface, int col) {
  const QRect cell = surface->CellRectInWidget(col, 0);
  QWidget* header = surface->horizontalHeader()->viewport();
  const QPoint at = header->mapFrom(surface, cell.center());
  const QPoint global = header->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(header, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(header, &release);
}

void Window(const std::string& dir, int reps) {
  if (::chdir(dir.c_str()) != 0) {
    std::fprintf(stderr, "cannot enter %s\n", dir.c_str());
    std::exit(1);
  }
  std::unique_ptr<TMyDatabase_Form> debug;
  std::unique_ptr<TQuorix_Form> main;
  const TFigure start = Time([&] {
    auto splash = std::make_unique<TSplashLaunch_Form>();
    debug = std::make_unique<TMyDatabase_Form>();
    main = std::make_unique<TQuorix_Form>(std::move(splash));
    Paint(main.get());
  });
  Report("start-up to the invoice list on screen", start, 1000);
  if (reps == 0) return;

  // At once, before the idle loop has prepared anything: the article list is
  // filled and sorted when it is asked for.
  const TFigure cold = Time([&] {
    main->findChild<QToolButton*>("Articles_BitBtn")->click();
    main->repaint();
  });
  Report("switch to the articles (100 000) at once, filled and sorted", cold, 150);
  {
    // What the idle event loop then does, one step at a time: the lists not
    // shown yet are filled, the table indexes sorted. The longest step is the
    // longest the desk may wait for an event.
    TFigure steps;
    TFigure total;
    for (int i = 0; i < 400; ++i) {
      TimeInto(steps, [] { QApplication::processEvents(); });
      ::usleep(2000);
    }
    double cpu = 0;
    double wall = 0;
    for (std::size_t i = 0; i < steps.Runs.size(); ++i) {
      cpu += steps.Runs[i];
      wall += steps.WallRuns[i];
    }
    total.AddMs(cpu, wall);
    Report("then, while idle: other lists filled, every index sorted", total, 0);
    Report("  each step of it (the worst: the longest wait for an event)", steps, 16);
  }

  struct Switch {
    const char* name;
    QToolButton* button;
  };
  const Switch switches[] = {
      {"the clients (2 000)", main->findChild<QToolButton*>("Client_BitBtn")},
      {"the articles (100 000)", main->findChild<QToolButton*>("Articles_BitBtn")},
      {"the quotes", main->findChild<QToolButton*>("Devis_BitBtn")},
      {"the invoices (200 000)", main->findChild<QToolButton*>("Factures_BitBtn")},
  };
  // Shown again over an unchanged table, a list is only brought back.
  for (const Switch& s : switches) {
    TFigure times;
    for (int i = 0; i < reps; ++i) {
      main->findChild<QToolButton*>("Avoir_BitBtn")->click();
      Paint(main.get());
      TimeInto(times, [&] {
        s.button->click();
        Paint(main.get());
      });
    }
    char what[128];
    std::snprintf(what, sizeof what, "switch to %s", s.name);
    Report(what, times, 150);
  }

  main->findChild<QToolButton*>("Articles_BitBtn")->click();
  Paint(main.get());
  TQtGridSurface* articles = main->Lists().Of(kArticlesList).Surface();
  TFigure sorts;
  for (int i = 0; i < reps; ++i) {
    TimeInto(sorts, [&] {
      ClickTitle(articles, 1 + i % 2);
      Paint(main.get());
    });
  }
  Report("title-click sort of the articles", sorts, 150);
  {
    main->findChild<QToolButton*>("Factures_BitBtn")->click();
    Paint(main.get());
    TQtGridSurface* factures = main->Lists().Of(kFacturesList).Surface();
    TFigure clicks;
    for (int i = 0; i < reps; ++i) {
      TimeInto(clicks, [&] {
        ClickTitle(factures, 1 + i % 4);
        Paint(main.get());
      });
    }
    Report("title-click sort of the invoices (200 000)", clicks, 100);
  }
  {
    main->findChild<QToolButton*>("Client_BitBtn")->click();
    Paint(main.get());
    const TFigure back = Time([&] {
      main->findChild<QToolButton*>("Articles_BitBtn")->click();
      Paint(main.get());
    });
    Report("switch back to the articles after a title click (filled again)", back, 150);
  }

  TFigure moves;
  for (int i = 0; i < reps; ++i) {
    articles->setFocus();
    Settle();
    TimeInto(moves, [&] {
      QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
      QApplication::sendEvent(articles, &down);
      Paint(main.get());
    });
  }
  Report("leaving a cell of the articles (Down)", moves, 16);

  TFigure exits;
  for (int i = 0; i < reps; ++i) {
    articles->setFocus();
    Settle();
    TimeInto(exits, [&] {
      main->findChild<QLineEdit*>("Recherche_Edit")->setFocus();
      Paint(main.get());
    });
  }
  Report("the focus leaving the article list", exits, 16);

  TFigure resizes;
  const QSize size = main->size();
  for (int i = 0; i < reps; ++i) {
    const QSize next(size.width() - 10 * (i % 2 + 1), size.height() - 7 * (i % 2 + 1));
    TimeInto(resizes, [&] {
      main->resize(next);
      QResizeEvent event(next, main->size());
      QApplication::sendEvent(main.get(), &event);
      Paint(main.get());
    });
  }
  Report("a window resize", resizes, 30);

  main.reset();
  debug.reset();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s DIR [reps]   (DIR/Data is the generated installation)\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  const std::string dir = argv[1];
  // 0 repetitions: the start-up alone.
  const int reps = argc > 2 ? std::max(0, std::atoi(argv[2])) : 5;
  TStringManager strings;
  TMemoryTraceSink sink;
  SetTraceSink(&sink);
  TRecordingDialogService dialogs;
  SetDialogService(&dialogs);

  // The parts named after the repetitions, or all of them.
  auto wanted = [&](const char* part) {
    if (argc <= 3) return true;
    for (int i = 3; i < argc; ++i) {
      if (std::string(argv[i]) == part) return true;
    }
    return false;
  };
  if (wanted("sorts")) {
    std::printf("sorts: none is quadratic\n");
    IndexSorts(dir + "/Data");
    ColumnSorts();
  }
  if (wanted("edits")) {
    std::printf("edits keep the indexes up to date\n");
    Edits(dir + "/Data");
  }
  if (wanted("window")) {
    std::printf("the main window over the installation (medians of %d)\n", reps);
    Window(dir, reps);
  }

  for (const std::string& m : dialogs.Messages) std::printf("message box: %s\n", m.c_str());
  SetDialogService(nullptr);
  SetTraceSink(nullptr);
  return 0;
}
