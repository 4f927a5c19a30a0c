// The piece editor of the real main window, offscreen, on a large
// installation (run it through bench/run_editor_bench.sh, which makes the
// data): the interactive steps a user waits for, and the save.
//
//   bench_app_piece_editor --data INSTALLATION [--reps N] [--number FA99999]
//
// INSTALLATION holds Data/; the benchmark writes into it (one line file and
// the invoice table), so give it a scratch copy.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchIdle.h"
#include "Catalogue.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "OrderImport.h"
#include "PieceEditor.h"
#include "QtGridSurface.h"
#include "QtGuard.h"
#include "QuorixForm.h"
#include "SearchResults.h"
#include "SplashLaunchForm.h"
#include "TraceRecorder.h"

namespace {

// A line file of 50 articles for the invoice, so that opening and saving it
// handle a long piece.
void WriteFiftyLines(const std::string& number) {
  TMyDatabase articles(Catalogue::Articles::File);
  std::unique_ptr<TMyDatabase> lines(
      TMyDatabase::CreateEmpty(std::string(Catalogue::FactureLines::Folder) + number + ".db", Catalogue::FactureLines::Header));
  lines->SetRecordCount(50);
  for (int i = 0; i < 50; ++i) {
    const int a = 1000 + 37 * i;
    lines->SetData(Catalogue::Field::NumFacture, i, number);
    lines->SetData(Catalogue::Field::Quantite, i, std::to_string(1 + i % 9));
    lines->SetData(Catalogue::Field::Code, i, articles.DBGetString(articles.GetFieldPos(Catalogue::Field::Code), a));
    lines->SetData(Catalogue::Field::Designation, i,
                   articles.DBGetString(articles.GetFieldPos(Catalogue::Field::Designation), a));
    lines->SetData(Catalogue::Field::PrixUniTTC, i,
                   articles.DBGetString(articles.GetFieldPos(Catalogue::Field::PrixVente), a));
    lines->SetData(Catalogue::Field::MontantTTC, i, "0");
  }
  lines->Save();
}

}  // namespace

int main(int argc, char** argv) {
  TQuorixApplication app(argc, argv);
  std::string data;
  int reps = 7;
  std::string number = "FA99999";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--data") data = argv[i + 1];
    if (arg == "--reps") reps = std::max(1, std::atoi(argv[i + 1]));
    if (arg == "--number") number = argv[i + 1];
  }
  if (data.empty() || !std::filesystem::exists(data + "/Data")) {
    std::fprintf(stderr, "usage: bench_app_piece_editor --data INSTALLATION [--reps N] [--number FA99999]\n");
    return 2;
  }
  std::filesystem::current_path(data);
  // Message boxes are recorded, never shown.
  TRecordingDialogService dialogs;
  SetDialogService(&dialogs);

  WriteFiftyLines(number);
  TFigure startup;
  const TMoment start = Start();
  auto form = std::make_unique<TQuorix_Form>(nullptr);
  startup.Add(start);
  TQuorix_Form& main = *form;
  main.setWindowState(Qt::WindowNoState);
  main.resize(1280, 800);
  main.activateWindow();
  QApplication::processEvents();
  WaitForIdlePreparation(main);
  TPieceEditor& editor = main.PieceEditor();
  TMyStringGrid& lines = *main.PieceEditor().Lines();
  std::printf("%d articles, %d clients, %d invoices\n", main.Tables().Articles()->RecordCount(),
              main.Tables().Clients()->RecordCount(), main.Tables().Factures()->RecordCount());

  main.ShowFactures();
  const int row = main.Lists().Of(kFacturesList).Grid()->FindCell(number, Catalogue::Field::NumFacture).second;
  if (row < 0) {
    std::fprintf(stderr, "no invoice %s in the installation\n", number.c_str());
    return 1;
  }
  // The invoice's row moves as new invoices are saved.
  auto open = [&](TFigure& figure) {
    main.ShowFactures();
    main.Lists().Of(kFacturesList).Grid()->SetRow(row);
    const TMoment t = Start();
    main.AfficherPiece("Facture");
    QApplication::processEvents();
    figure.Add(t);
  };

  // The two article queries of a designation lookup on their own.
  TFigure queries;
  for (int rep = 0; rep < reps; ++rep) {
    const auto t = Start();
    main.Tables().Articles()->Query(Catalogue::Field::Designation, "DOLI", Prefix);
    main.Tables().Articles()->QueryAdd(Catalogue::Field::Designation, "^.+DOLI.*$", Pattern);
    queries.Add(t);
  }

  TFigure opening;
  TFigure lookup;
  TFigure keystroke;
  TFigure leaving;
  TFigure saving;
  TFigure tableSave;
  TFigure list;
  TFigure okNew;
  const std::string newLine = main.Tables().Articles()->DBGetString(main.Tables().Articles()->GetFieldPos(Catalogue::Field::Code), 500) +
                              " x 1\r\n";
  for (int rep = 0; rep < reps; ++rep) {
    open(opening);
    if (lines.GetRowCount() != 51) std::fprintf(stderr, "the invoice opened with %d lines\n", lines.GetRowCount() - 1);

    // A designation looked up on a new line: Enter until the candidates show.
    editor.FactAjouterLigne_ButtonClick();
    const int last = lines.GetRowCount() - 1;
    lines.SetCellByName(Catalogue::Field::Designation, last, "DOLI");
    lines.SetCol(lines.GetColIndex(Catalogue::Field::Designation));
    lines.SetRow(last);
    QApplication::processEvents();
    auto t = Start();
    QTest::keyClick(main.PieceEditor().Facture_StringGrid, Qt::Key_Return);
    QApplication::processEvents();
    lookup.Add(t);
    if (!main.SearchResults().Recherche_StringGrid->isVisible()) std::fprintf(stderr, "no candidates shown\n");
    QTest::keyClick(main.SearchResults().Recherche_StringGrid, Qt::Key_Escape);
    editor.FactSupprLigne_ButtonClick();

    // The last digit of a client code, typed and taken back.
    editor.FactureCodeClientEdit->setText(QStringLiteral("010"));
    editor.FactureCodeClientEdit->setFocus();
    editor.FactureCodeClientEdit->end(false);
    QApplication::processEvents();
    t = Start();
    QTest::keyClick(editor.FactureCodeClientEdit, Qt::Key_1);
    QApplication::processEvents();
    keystroke.Add(t);
    t = Start();
    QTest::keyClick(editor.FactureCodeClientEdit, Qt::Key_Backspace);
    QApplication::processEvents();
    keystroke.Add(t);
    QTest::keyClick(editor.FactureCodeClientEdit, Qt::Key_1);

    // A quantity changed, then left with the down arrow.
    const int r = 10 + rep;
    lines.SetCol(lines.GetColIndex(Catalogue::Field::Quantite));
    lines.SetRow(r);
    lines.SetCell(lines.GetCol(), r, std::to_string(2 + rep));
    main.PieceEditor().Facture_StringGrid->setFocus();
    QApplication::processEvents();
    t = Start();
    QTest::keyClick(main.PieceEditor().Facture_StringGrid, Qt::Key_Down);
    QApplication::processEvents();
    leaving.Add(t);

    // The save, header table included; then the list shown again.
    t = Start();
    const bool saved = editor.StorePiece();
    saving.Add(t);
    if (!saved) std::fprintf(stderr, "not saved\n");
    t = Start();
    main.Tables().Factures()->Save();
    tableSave.Add(t);
    t = Start();
    main.ShowCurrentPieceList();
    QApplication::processEvents();
    list.Add(t);

    // "Créer", one line, "Ok": timed from the click until the invoice list
    // is shown again.
    main.ShowFactures();
    main.Creer_BitBtnClick();
    QApplication::processEvents();
    editor.FactureCodeClientEdit->setText(QStringLiteral("0101"));
    FillOrderLines(lines, *main.Tables().Articles(), OrderFileLines(newLine));
    QApplication::processEvents();
    t = Start();
    QTest::mouseClick(editor.FactureOK_Button, Qt::LeftButton);
    QApplication::processEvents();
    okNew.Add(t);
    if (!main.Lists().Of(kFacturesList).Grid()->GetVisible()) std::fprintf(stderr, "the new invoice was not saved\n");
  }

  std::printf("\n");
  Report("start-up with the whole installation", startup, 1000);
  Report("opening an invoice of 50 lines", opening, 16);
  Report("Enter on the designation \"DOLI\" until the candidates show", lookup, 16);
  Report("  of which the Prefix and Pattern queries on the articles", queries, 16);
  Report("a keystroke in the client code", keystroke, 16);
  Report("leaving a quantity cell", leaving, 16);
  Report("SavePiece of 50 lines, header table saved", saving, 50);
  Report("  the header table written alone, for comparison", tableSave, 25);
  Report("then the invoice list shown again", list, 50);
  Report("\"Ok\" on a new invoice of one line, list shown again", okNew, 50);
  for (const std::string& m : dialogs.Messages) std::printf("message: %s\n", m.c_str());
  form->close();
  form.reset();
  SetDialogService(nullptr);
  return 0;
}
