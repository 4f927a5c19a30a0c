#include <gtest/gtest.h>

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QDateEdit>
#include <QPixmap>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QTest>

#include <cstdlib>
#include <memory>
#include <string>

#include "ArticlePanel.h"
#include "ClientPanel.h"
#include "CommandeAllianceForm.h"
#include "HistoriqueForm.h"
#include "MyDatabaseForm.h"
#include "MyStringGrid.h"
#include "PieceEditor.h"
#include "PrinterForm.h"
#include <QToolButton>
#include "QtGridSurface.h"
#include "QtGuard.h"
#include "QtText.h"
#include "QuorixForm.h"
#include "SearchResults.h"
#include "SplashLaunchForm.h"
#include "TestSupport.h"

// Pictures of the windows for a person to look at, written only when
// QUORIX_SCREENSHOT_DIR names a folder (run it under xvfb-run with
// QT_QPA_PLATFORM=xcb for the real window decorations' absence to matter
// little: the grabs are of the windows themselves).

void QuorixTestInit(int& argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static TQuorixApplication* app = new TQuorixApplication(argc, argv);
  (void)app;
}

TEST(Screenshots, SplashAndEveryListAtTwoSizes) {
  const char* out = std::getenv("QUORIX_SCREENSHOT_DIR");
  if (out == nullptr || *out == '\0') GTEST_SKIP() << "QUORIX_SCREENSHOT_DIR is not set";
  const std::string dir = out;

  TTempDir work;
  CopyTree(std::string(QUORIX_SOURCE_DIR) + "/sample/Data", work.File("Data"));
  TScopedCwd cwd(work.Path());
  TTraceCapture capture;

  auto splash = std::make_unique<TSplashLaunch_Form>();
  splash->SetLabel("Chargement en cours");
  splash->SetProgress(50);
  EXPECT_TRUE(splash->grab().save(QString::fromStdString(dir + "/splash.png")));

  TMyDatabase_Form debug;
  TQuorix_Form main(std::move(splash));
  struct Shot {
    const char* name;
    void (TQuorix_Form::*show)();
  };
  const Shot shots[] = {
      {"factures", &TQuorix_Form::ShowFactures}, {"devis", &TQuorix_Form::ShowDevis},
      {"avoirs", &TQuorix_Form::ShowAvoirs},     {"clients", &TQuorix_Form::ShowClients},
      {"articles", &TQuorix_Form::ShowArticles},
  };
  for (QSize size : {QSize(1280, 800), QSize(892, 638)}) {
    main.setWindowState(Qt::WindowNoState);
    main.resize(size);
    for (const Shot& shot : shots) {
      (main.*shot.show)();
      QApplication::processEvents();
      const std::string file =
          dir + "/" + shot.name + "_" + std::to_string(size.width()) + "x" + std::to_string(size.height()) + ".png";
      EXPECT_TRUE(main.grab().save(QString::fromStdString(file))) << file;
    }
  }
  main.close();
}

TEST(Screenshots, PieceEditorNewAndOpenedWithCandidates) {
  const char* out = std::getenv("QUORIX_SCREENSHOT_DIR");
  if (out == nullptr || *out == '\0') GTEST_SKIP() << "QUORIX_SCREENSHOT_DIR is not set";
  const std::string dir = out;

  TTempDir work;
  CopyTree(std::string(QUORIX_SOURCE_DIR) + "/sample/Data", work.File("Data"));
  TScopedCwd cwd(work.Path());
  TTraceCapture capture;
  TMyDatabase_Form debug;
  TQuorix_Form main(nullptr);
  for (QSize size : {QSize(1280, 800), QSize(892, 638)}) {
    const std::string suffix = "_" + std::to_string(size.width()) + "x" + std::to_string(size.height()) + ".png";
    main.setWindowState(Qt::WindowNoState);
    main.resize(size);
    main.ShowFactures();
    main.findChild<QToolButton*>("Creer_BitBtn")->click();
    QApplication::processEvents();
    EXPECT_TRUE(main.grab().save(QString::fromStdString(dir + "/editor_new" + suffix)));
    main.ShowFactures();
    main.Lists().Of(kFacturesList).Grid()->SetRow(1);
    main.AfficherPiece("Facture");
    main.PieceEditor().ShowPieceTools(true);
    main.PieceEditor().AfficherSignal("Recherche Client", 0x008000);
    main.PieceEditor().AfficherSignal("0101   PHARMACIE CENTRALE DE DAKAR", 0x008000);
    main.PieceEditor().Lines()->SetCellByName("Designation", 1, "doli");
    main.PieceEditor().ValidateCell(2, 1);
    QApplication::processEvents();
    EXPECT_TRUE(main.grab().save(QString::fromStdString(dir + "/editor_lookup" + suffix)));
  }
  main.close();
}

TEST(Screenshots, ClientAndArticlePanelsWithTheirColours) {
  const char* out = std::getenv("QUORIX_SCREENSHOT_DIR");
  if (out == nullptr || *out == '\0') GTEST_SKIP() << "QUORIX_SCREENSHOT_DIR is not set";
  const std::string dir = out;

  TTempDir work;
  CopyTree(std::string(QUORIX_SOURCE_DIR) + "/sample/Data", work.File("Data"));
  TScopedCwd cwd(work.Path());
  TTraceCapture capture;
  TMyDatabase_Form debug;
  TQuorix_Form main(nullptr);
  main.setWindowState(Qt::WindowNoState);
  main.resize(1280, 800);
  auto set = [&main](const char* name, const char* text) {
    main.findChild<QLineEdit*>(name)->setText(ToQString(text));
  };
  // One client with a warning and an error, one article with a warning.
  main.ShowClients();
  main.Lists().Of(kClientsList).Grid()->SetRow(4);
  main.AfficherFicheClient();
  set("ClientFaxEdit", "12-34");
  set("ClientCodeClientEdit", "0101");
  QApplication::processEvents();
  EXPECT_TRUE(main.ClientPanel().Client_Panel->grab().save(QString::fromStdString(dir + "/client_panel.png")));
  EXPECT_TRUE(main.grab().save(QString::fromStdString(dir + "/client_1280x800.png")));
  main.ShowArticles();
  main.Lists().Of(kArticlesList).Grid()->SetRow(1);
  main.AfficherFicheArticle();
  set("ArticleCoeffMargeEdit", "0,8");
  set("ArticlePoidsEdit", "");
  QApplication::processEvents();
  EXPECT_TRUE(main.ArticlePanel().Article_Panel->grab().save(QString::fromStdString(dir + "/article_panel.png")));
  EXPECT_TRUE(main.grab().save(QString::fromStdString(dir + "/article_1280x800.png")));
  main.close();
}

TEST(Screenshots, SearchResultsHistoryAndWholesalerOrder) {
  const char* out = std::getenv("QUORIX_SCREENSHOT_DIR");
  if (out == nullptr || *out == '\0') GTEST_SKIP() << "QUORIX_SCREENSHOT_DIR is not set";
  const std::string dir = out;

  TTempDir work;
  CopyTree(std::string(QUORIX_SOURCE_DIR) + "/sample/Data", work.File("Data"));
  TScopedCwd cwd(work.Path());
  TTraceCapture capture;
  for (const char* name : {"FA31694.db", "FA31699.db"}) {
    WriteFileBytes(std::string("./Data/Elements imprimes/") + name, ReadFileBytes(std::string("./Data/Factures/") + name));
  }
  WriteFileBytes("./Data/Poubelle Officielle/DE00012.db", "Num Devis;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n");
  TMyDatabase_Form debug;
  TQuorix_Form main(nullptr);
  main.setWindowState(Qt::WindowNoState);
  main.resize(1280, 800);
  main.ShowFactures();
  main.findChild<QLineEdit*>("Recherche_Edit")->setText(QStringLiteral("pharmacie"));
  main.SearchResults().RunSearch();
  QApplication::processEvents();
  EXPECT_TRUE(main.grab().save(QString::fromStdString(dir + "/search_factures_1280x800.png")));
  main.SearchResults().HideSearchGrid();

  main.findChild<QAction*>("Historique1")->trigger();
  main.Historique().Historique_PageControl->setCurrentIndex(1);
  QApplication::processEvents();
  EXPECT_TRUE(main.Historique().grab().save(QString::fromStdString(dir + "/historique.png")));
  main.Historique().hide();

  main.findChild<QAction*>("CommandeAlliance1")->trigger();
  TCommandeAlliance_Form& order = main.CommandeAlliance();
  order.CommandeAlliance_DateTimePicker->setDateTime(QDateTime(QDate(2025, 7, 1), QTime(9, 0)));
  for (int row : {1, 2}) {
    order.fTotalGrid->SetRow(row);
    order.CommandeAlliance_Total_StringGridDblClick();
  }
  order.CommandeAlliance_Go_ButtonClick();
  QApplication::processEvents();
  EXPECT_TRUE(order.grab().save(QString::fromStdString(dir + "/commande_alliance.png")));
  // The printed order, to a PDF file.
  TPrinter_Form printer;
  printer.RunDialog = [&dir](QPrintDialog& dialog) {
    dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
    dialog.printer()->setOutputFileName(QString::fromStdString(dir + "/commande_alliance.pdf"));
    return true;
  };
  order.CommandeAlliance_Print_ButtonClick();
  main.close();
}

// The user's steps of a client search, Escape, a new invoice and a lookup of
// "doli" typed and chosen with the keyboard: the candidates with their four
// titles, then the chosen line with its price. Under xvfb-run with
// QT_QPA_PLATFORM=xcb the whole screen is grabbed as well.
TEST(Screenshots, CandidatesAfterAClientSearch) {
  const char* out = std::getenv("QUORIX_SCREENSHOT_DIR");
  if (out == nullptr || *out == '\0') GTEST_SKIP() << "QUORIX_SCREENSHOT_DIR is not set";
  const std::string dir = out;

  TTempDir work;
  CopyTree(std::string(QUORIX_SOURCE_DIR) + "/sample/Data", work.File("Data"));
  TScopedCwd cwd(work.Path());
  TTraceCapture capture;
  TMyDatabase_Form debug;
  TQuorix_Form main(nullptr);
  main.setWindowState(Qt::WindowNoState);
  main.resize(1280, 800);
  main.show();
  main.activateWindow();
  QApplication::processEvents();
  auto focus = [] { return QApplication::focusWidget(); };
  auto shot = [&](const char* name) {
    QApplication::processEvents();
    EXPECT_TRUE(main.grab().save(QString::fromStdString(dir + "/" + name + ".png")));
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
      QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(dir + "/" + name + "_screen.png"));
    }
  };
  main.findChild<QToolButton*>("Client_BitBtn")->click();
  QLineEdit* edit = main.findChild<QLineEdit*>("Recherche_Edit");
  edit->setFocus();
  QTest::keyClicks(edit, QStringLiteral("dakar"));
  QTest::keyClick(edit, Qt::Key_Return);
  shot("candidates_1_client_search");
  QTest::keyClick(focus(), Qt::Key_Escape);
  main.findChild<QToolButton*>("Factures_BitBtn")->click();
  main.findChild<QToolButton*>("Creer_BitBtn")->click();
  QApplication::processEvents();
  main.PieceEditor().Lines()->SetCol(2);
  main.PieceEditor().Facture_StringGrid->setFocus();
  QTest::keyClicks(focus(), QStringLiteral("doli"));
  QTest::keyClick(focus(), Qt::Key_Return);
  shot("candidates_2_doli");
  QTest::keyClick(focus(), Qt::Key_Down);
  QTest::keyClick(focus(), Qt::Key_Return);
  shot("candidates_3_chosen");
  EXPECT_TRUE(capture.Boxes().empty()) << capture.Boxes()[0];
  main.close();
}
