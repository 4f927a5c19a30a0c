// The print commands through the main window's own buttons and menu items,
// on a copy of the sample installation: documents printed to PDF files
// through the print dialog (answered here as a user would), the preview, the
// printed archive, the automatic print on letterhead paper only, and the
// search results printed as a grid. With QUORIX_SCREENSHOT_DIR set, a 40-line
// invoice's PDF and pictures of its preview are written there to be looked at.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "FileUtils.h"
#include "MemoryPrintSurfaces.h"
#include "MyDatabase.h"
#include "MyDatabaseForm.h"
#include "MyStringGrid.h"
#include "PrintManager.h"
#include "PrinterForm.h"
#include "QtGuard.h"
#include "QtText.h"
#include "QuorixForm.h"
#include "SearchResults.h"
#include "SplashLaunchForm.h"
#include "StringManager.h"
#include "TestSupport.h"

void QuorixTestInit(int& argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static TQuorixApplication* app = new TQuorixApplication(argc, argv);
  (void)app;
}

namespace {

std::string Amount(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", v);
  return StringManager().PointToComma(buffer);
}

class PrintCommandsTest : public ::testing::Test {
protected:
  PrintCommandsTest() {
    // No "data" link beside "Data": the preparation sheet's barcode picture,
    // named under "./data/", is found all the same.
    CopyTree(std::string(QUORIX_SOURCE_DIR) + "/sample/Data", fDir.File("Data"));
    fCwd = std::make_unique<TScopedCwd>(fDir.Path());
  }
  ~PrintCommandsTest() override {
    if (TPrintManager* manager = GetPrintManager()) manager->SetView(fPrinter.get());
    fPrinter.reset();
    fMain.reset();
    fDebug.reset();
  }

  void Start() {
    fDebug = std::make_unique<TMyDatabase_Form>();
    fMain = std::make_unique<TQuorix_Form>(nullptr);
    fPrinter = std::make_unique<TPrinter_Form>();
    fMain->setWindowState(Qt::WindowNoState);
    fMain->resize(1280, 800);
    // The print dialog prints to a PDF file named after the document.
    fPrinter->RunDialog = [this](QPrintDialog& dialog) {
      ++fDialogs;
      fPdf = fDir.File("print" + std::to_string(fDialogs) + ".pdf");
      dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
      dialog.printer()->setOutputFileName(QString::fromStdString(fPdf));
      return true;
    };
    QApplication::processEvents();
    fCapture.Clear();
  }

  // Selects the row of the list that shows the text in the column.
  static void Select(TMyStringGrid& list, const std::string& column, const std::string& text) {
    list.SetRow(list.FindCell(text, column).second);
  }

  static void Click(QToolButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
  }

  static std::vector<std::string> Archived() {
    return ListFiles(Catalogue::ElementsImprimes::Folder, "*.*");
  }

  TTempDir fDir;
  std::unique_ptr<TScopedCwd> fCwd;
  TTraceCapture fCapture;
  std::unique_ptr<TMyDatabase_Form> fDebug;
  std::unique_ptr<TQuorix_Form> fMain;
  std::unique_ptr<TPrinter_Form> fPrinter;
  int fDialogs = 0;
  std::string fPdf;
};

TEST_F(PrintCommandsTest, ButtonsAndMenuItemsPrintWhatTheListShows) {
  Start();
  struct Row {
    const char* name;
    void (TQuorix_Form::*show)();
    const char* column;
    const char* selected;
    std::function<void(TQuorix_Form&)> command;
    int pages;              // of the PDF; 0 = previewed, nothing printed
    const char* title;      // of the printed document
    const char* archived;   // prefix of the archive file, "" for none
  };
  const auto button = [](const char* b) {
    return [b](TQuorix_Form& f) { Click(f.findChild<QToolButton*>(b)); };
  };
  const auto item = [](const char* a) { return [a](TQuorix_Form& f) { f.findChild<QAction*>(a)->trigger(); }; };
  const std::vector<Row> rows = {
      // A client served through the distributor is invoiced to it.
      {"imprimer_invoice", &TQuorix_Form::ShowFactures, "Num Facture", "FA31691", button("Imprimer_BitBtn"),
       1, "FA31691-LABOREX C.I.", "FA31691"},
      {"preparation_keeps_the_client_name", &TQuorix_Form::ShowFactures, "Num Facture", "FA31691",
       button("BonDePreparation_BitBtn"), 1, "FA31691-PHARMACIE DE LA BOURSE", "FA31691"},
      {"quote_with_letterhead", &TQuorix_Form::ShowDevis, "Num Devis", "DE1235",
       item("ImprimeravecEntete1"), 1, "DE1235-", "DE1235"},
      {"credit_note_order_form", &TQuorix_Form::ShowAvoirs, "Num Avoir", "AV124",
       item("ImprimerCommande1"), 1, "AV124-", "AV124"},
      {"invoice_preview", &TQuorix_Form::ShowFactures, "Num Facture", "FA31690", item("ImprimerApercu"),
       0, "", "FA31690"},
      {"client_sheet", &TQuorix_Form::ShowClients, "Code", "0103", button("Imprimer_BitBtn"), 1, "-", ""},
      {"article_sheet_from_preparation", &TQuorix_Form::ShowArticles, "Code", "7968532",
       button("BonDePreparation_BitBtn"), 1, "-", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    for (const std::string& file : Archived()) std::filesystem::remove(Catalogue::ElementsImprimes::Folder + file);
    fPrinter->hide();
    const int dialogsBefore = fDialogs;
    (fMain.get()->*row.show)();
    TMyStringGrid* list = row.show == &TQuorix_Form::ShowFactures  ? fMain->Lists().Of(kFacturesList).Grid()
                          : row.show == &TQuorix_Form::ShowDevis   ? fMain->Lists().Of(kDevisList).Grid()
                          : row.show == &TQuorix_Form::ShowAvoirs  ? fMain->Lists().Of(kAvoirsList).Grid()
                          : row.show == &TQuorix_Form::ShowClients ? fMain->Lists().Of(kClientsList).Grid()
                                                                   : fMain->Lists().Of(kArticlesList).Grid();
    Select(*list, row.column, row.selected);
    row.command(*fMain);

    if (row.pages > 0) {
      ASSERT_EQ(fDialogs, dialogsBefore + 1);
      EXPECT_EQ(PdfPages(fPdf), row.pages);
      EXPECT_EQ(FromQString(fPrinter->GetQPrinter().docName()).rfind(row.title, 0), 0u)
          << FromQString(fPrinter->GetQPrinter().docName());
      EXPECT_FALSE(fPrinter->isVisible());
    } else {
      EXPECT_EQ(fDialogs, dialogsBefore);
      EXPECT_TRUE(fPrinter->isVisible());
      EXPECT_EQ(fPrinter->PageControl1->currentIndex(), 0);
    }
    const std::vector<std::string> archived = Archived();
    if (*row.archived == '\0') {
      EXPECT_TRUE(archived.empty());
    } else {
      ASSERT_EQ(archived.size(), 1u);
      EXPECT_EQ(archived[0].rfind(row.archived, 0), 0u) << archived[0];
    }
    EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes().front();
  }
}

TEST_F(PrintCommandsTest, PrintButtonsFollowTheListsAndTheEditor) {
  Start();
  const auto enabled = [this] {
    return std::vector<bool>{fMain->findChild<QToolButton*>("Imprimer_BitBtn")->isEnabled(),
                             fMain->findChild<QToolButton*>("BonDePreparation_BitBtn")->isEnabled(),
                             fMain->findChild<QAction*>("ImprimeravecEntete1")->isEnabled(),
                             fMain->findChild<QAction*>("ImprimerCommande1")->isEnabled(),
                             fMain->findChild<QAction*>("ImprimerApercu")->isEnabled()};
  };
  EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, true, true})) << "the invoice list at start";
  Click(fMain->findChild<QToolButton*>("Creer_BitBtn"));
  EXPECT_EQ(enabled(), (std::vector<bool>{false, false, true, true, true})) << "a piece open in the editor";
  // The menu items find no list in view: nothing is printed, nothing archived.
  fMain->findChild<QAction*>("ImprimerApercu")->trigger();
  fMain->findChild<QAction*>("ImprimeravecEntete1")->trigger();
  EXPECT_EQ(fDialogs, 0);
  EXPECT_FALSE(fPrinter->isVisible());
  EXPECT_TRUE(Archived().empty());
  fMain->ShowClients();
  EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, true, true}));
}

TEST_F(PrintCommandsTest, AutomaticPrintGoesOnlyToALetterheadPrinter) {
  Start();
  struct Row {
    const char* name;
    const char* printer;
    // Empty: the flags are set by hand and "Imprimer" clicked on FA31692;
    // else the invoice is printed through AutoPrintFacture from the client list.
    const char* helperNumber;
    int printedCopies;  // 0: nothing printed
    const char* title;
    std::vector<std::string> boxes;
    int copiesAfter;
  };
  const std::vector<Row> rows = {
      {"plain_paper_refused", "HP LaserJet", "", 0, "", {"auto print sur feuille blanche"}, 4},
      {"letterhead_printer", "HP Entete 2eme etage", "", 4, "FA31692-PHARMACIE ACHRAFIEH", {}, 1},
      {"helper_selects_its_invoice", "Entete", "FA31690", 4, "FA31690-PHARMACIE SAINT-EXUP\xC9RY", {}, 1},
      {"helper_on_plain_paper_refused", "Bureau", "FA31690", 0, "", {"auto print sur feuille blanche"}, 4},
      {"helper_unknown_invoice_prints_nothing", "Entete", "FA99999", 0, "", {}, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TMemoryPrintView view(2480, 3508);
    view.MemoryPrinter.Name = row.printer;
    TPrintManager& manager = *GetPrintManager();
    manager.SetView(&view);
    manager.NbCopies = 1;
    manager.AutoPrint = false;
    fCapture.Clear();
    if (*row.helperNumber == '\0') {
      fMain->ShowFactures();
      Select(*fMain->Lists().Of(kFacturesList).Grid(), "Num Facture", "FA31692");
      manager.NbCopies = 4;
      manager.AutoPrint = true;
      Click(fMain->findChild<QToolButton*>("Imprimer_BitBtn"));
    } else {
      fMain->ShowClients();
      EXPECT_EQ(fMain->AutoPrintFacture(row.helperNumber, 4), row.printedCopies > 0 || !row.boxes.empty());
      EXPECT_TRUE(fMain->Lists().Of(kFacturesList).Grid()->GetVisible());
    }
    EXPECT_TRUE(view.DialogsShown.empty());
    EXPECT_EQ(view.MemoryPrinter.Ended, row.printedCopies > 0 ? 1 : 0);
    if (row.printedCopies > 0) {
      EXPECT_EQ(view.MemoryPrinter.Copies, row.printedCopies);
      EXPECT_EQ(view.MemoryPrinter.Title, row.title);
    }
    EXPECT_EQ(fCapture.Boxes(), row.boxes);
    EXPECT_FALSE(manager.AutoPrint);
    EXPECT_EQ(manager.NbCopies, row.copiesAfter);
    manager.SetView(fPrinter.get());
  }
}

TEST_F(PrintCommandsTest, SearchResultsArePrintedAsAGridAndHidden) {
  Start();
  fMain->ShowFactures();
  TMyDatabase& factures = *fMain->Tables().Factures();
  factures.Query("Societe", "^.*ACHRAFIEH.*$", Pattern);
  factures.DisplayQuery(fMain->SearchResults().Grid(), "Num Facture;Code client;Societe;Total TTC;Date", true);
  fMain->SearchResults().ShowSearchGrid();
  QApplication::processEvents();
  ASSERT_TRUE(fMain->SearchResults().Grid()->GetVisible());
  // Opening the menu does not take the results away.
  QMenuBar* bar = fMain->menuBar();
  QMenu* impression = fMain->findChild<QMenu*>("Impression1");
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(impression->menuAction()).center());
  QApplication::processEvents();
  ASSERT_TRUE(impression->isVisible());
  QTest::mouseClick(impression, Qt::LeftButton, {},
                    impression->actionGeometry(fMain->findChild<QAction*>("ImprimeravecEntete1")).center());
  QApplication::processEvents();
  EXPECT_EQ(fDialogs, 1);
  EXPECT_EQ(PdfPages(fPdf), 1);
  EXPECT_EQ(fPrinter->GetQPrinter().docName(), QStringLiteral("Recherche"));
  EXPECT_FALSE(fMain->SearchResults().Grid()->GetVisible());
  EXPECT_TRUE(fMain->Lists().Of(kFacturesList).Grid()->GetVisible());
  EXPECT_TRUE(Archived().empty());
  EXPECT_TRUE(fCapture.Boxes().empty());
}

// An invoice of 40 lines for the distributor's client 0101, with the
// sample's articles (accented designations among them).
void WriteFortyLineInvoice() {
  TMyDatabase articles(Catalogue::Articles::File);
  std::string lines = std::string(Catalogue::FactureLines::Header) + "\r\n";
  double total = 0;
  for (int i = 0; i < 40; ++i) {
    const int record = i % articles.RecordCount();
    const int quantity = 1 + (i * 7) % 12;
    const double price =
        StringManager().MyStrToFloat(articles.DBGetString(articles.GetFieldPos("Prix Vente"), record));
    total += quantity * price;
    lines += "FA31702;" + IntToStr(quantity) + ";" + articles.DBGetString(articles.GetFieldPos("Code"), record) + ";" +
             articles.DBGetString(articles.GetFieldPos("Designation"), record) + ";" + Amount(price) + ";" +
             Amount(quantity * price) + "\r\n";
  }
  WriteFileBytes("./Data/Factures/FA31702.db", lines);
  std::string header = ReadFileBytes(Catalogue::Factures::File);
  header += "FA31702;12/08/2025;0101;PHARMACIE CENTRALE DE DAKAR;35;31,5;" + Amount(total) + ";" +
            Amount(total + 35) + "\r\n";
  WriteFileBytes(Catalogue::Factures::File, header);
}

TEST_F(PrintCommandsTest, FortyLineInvoicePrintedAndPreviewed) {
  WriteFortyLineInvoice();
  Start();
  const char* out = std::getenv("QUORIX_SCREENSHOT_DIR");
  const std::string shots = out != nullptr ? out : "";
  fMain->ShowFactures();
  Select(*fMain->Lists().Of(kFacturesList).Grid(), "Num Facture", "FA31702");
  Click(fMain->findChild<QToolButton*>("Imprimer_BitBtn"));
  EXPECT_EQ(PdfPages(fPdf), 2);
  EXPECT_EQ(fPrinter->GetQPrinter().docName(), QStringLiteral("FA31702-LABOREX C.I."));

  fMain->findChild<QAction*>("ImprimerApercu")->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(fPrinter->isVisible());
  EXPECT_TRUE(fCapture.Boxes().empty());
  if (shots.empty()) return;
  std::filesystem::copy_file(fPdf, shots + "/facture40.pdf", std::filesystem::copy_options::overwrite_existing);
  for (int page = 0; page < 2; ++page) {
    fPrinter->PageControl1->setCurrentIndex(page);
    QApplication::processEvents();
    fPrinter->grab().save(QString::fromStdString(shots + "/facture40_preview_" + std::to_string(page + 1) + ".png"));
  }
  // Under a real display (xvfb-run with QT_QPA_PLATFORM=xcb) the whole screen too.
  if (QGuiApplication::platformName() == "xcb") {
    fPrinter->PageControl1->setCurrentIndex(1);
    QTest::qWait(300);
    QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(shots + "/facture40_screen.png"));
  }
}

}  // namespace
