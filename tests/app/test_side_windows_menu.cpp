// The history and wholesaler order windows opened from the main window's
// menu, on a copy of the sample installation.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <string>

#include "CommandeAllianceForm.h"
#include "FileUtils.h"
#include "HistoriqueForm.h"
#include "MyDatabaseForm.h"
#include "MyStringGrid.h"
#include "PieceEditorPanel.h"
#include "QtGridSurface.h"
#include "QtGuard.h"
#include "QtText.h"
#include "QuorixForm.h"
#include "SplashLaunchForm.h"
#include "StatsRequests.h"
#include "TestSupport.h"

void QuorixTestInit(int& argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static TQuorixApplication* app = new TQuorixApplication(argc, argv);
  (void)app;
}

namespace {

class SideWindowsMenuTest : public ::testing::Test {
protected:
  SideWindowsMenuTest() {
    CopyTree(std::string(QUORIX_SOURCE_DIR) + "/sample/Data", fDir.File("Data"));
    fCwd = std::make_unique<TScopedCwd>(fDir.Path());
    // A printed copy of FA31699 (two lines) and a deleted quote.
    WriteFileBytes("Data/Elements imprimes/FA31699_20261208_101500.db", ReadFileBytes("Data/Factures/FA31699.db"));
    WriteFileBytes("Data/Poubelle Officielle/DE00012.db", "Num Devis;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n");
    fDebug = std::make_unique<TMyDatabase_Form>();
    fMain = std::make_unique<TQuorix_Form>(std::make_unique<TSplashLaunch_Form>());
    fMain->SetStatsRequests(std::make_unique<TStatsRequests>());
    fMain->setWindowState(Qt::WindowNoState);
    fMain->resize(1280, 800);
    QApplication::processEvents();
    fCapture.Clear();
  }
  ~SideWindowsMenuTest() override {
    fMain.reset();
    fDebug.reset();
  }

  static void DoubleClick(TQtGridSurface* grid, int row) {
    const QPoint at = grid->CellRectInWidget(1, row).center();
    QWidget* w = grid->childAt(at);
    if (w == nullptr) w = grid;
    QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(grid, at));
    QTest::mouseDClick(w, Qt::LeftButton, {}, w->mapFrom(grid, at));
    QApplication::processEvents();
  }

  TTempDir fDir;
  std::unique_ptr<TScopedCwd> fCwd;
  TTraceCapture fCapture;
  std::unique_ptr<TMyDatabase_Form> fDebug;
  std::unique_ptr<TQuorix_Form> fMain;
};

TEST_F(SideWindowsMenuTest, PrintedCopyRestoresAsANewInvoice) {
  // The quote list is shown: the name's "FA" decides the kind all the same.
  fMain->ShowDevis();
  ASSERT_TRUE(fMain->Historique1->isEnabled());
  fMain->Historique1->trigger();
  THistorique_Form& history = *fMain->fHistorique;
  ASSERT_TRUE(history.isVisible());
  history.Historique_PageControl->setCurrentWidget(history.Imprimes_TabSheet);
  ASSERT_EQ(history.fImprimesGrid->GetCell(1, 1), "FA31699_20261208_101500.db");
  history.fImprimesGrid->SetRow(1);
  QTest::mouseClick(history.Historique_Restaurer_Button, Qt::LeftButton);

  EXPECT_FALSE(history.isVisible());
  ASSERT_TRUE(fMain->fPieceEditor->IsOpen());
  const std::string number = FromQString(fMain->fPieceEditor->FactureNumFactureEdit->text());
  EXPECT_EQ(number.rfind("FA", 0), 0u) << number;
  EXPECT_NE(number, "FA31699");
  EXPECT_EQ(fMain->fLignesGrid->GetCellByName("Code", 1), "2320750");
  EXPECT_TRUE(FileExists("Data/Elements imprimes/FA31699_20261208_101500.db"));
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes().front();
}

TEST_F(SideWindowsMenuTest, DeletedInvoiceRestoresWithItsClientAndPort) {
  fMain->ShowFactures();
  TMyStringGrid& list = *fMain->fFacturesGrid;
  list.SetRow(list.FindCell("FA31692", "Num Facture").second);
  fMain->Supprimer_BitBtn->click();
  fMain->Historique1->trigger();
  THistorique_Form& history = *fMain->fHistorique;
  ASSERT_EQ(history.fSupprimesGrid->GetCell(1, 2), "FA31692.db") << "the folder of the headers is not listed";
  history.fSupprimesGrid->SetRow(2);
  QTest::mouseClick(history.Historique_Restaurer_Button, Qt::LeftButton);

  TPieceEditor& editor = *fMain->fPieceEditor;
  ASSERT_TRUE(editor.IsOpen());
  EXPECT_NE(FromQString(editor.FactureNumFactureEdit->text()), "FA31692");
  EXPECT_EQ(FromQString(editor.FactureCodeClientEdit->text()), "0110");
  EXPECT_EQ(FromQString(editor.Label20->text()), "PHARMACIE ACHRAFIEH");
  EXPECT_EQ(FromQString(editor.FacturePortEdit->text()), "15");
  EXPECT_EQ(FromQString(editor.Label35->text()), "4172,56");
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes().front();
}

TEST_F(SideWindowsMenuTest, CommandeAllianceLoadsTheInvoicesInProgress) {
  ASSERT_TRUE(fMain->CommandeAlliance1->isEnabled());
  fMain->CommandeAlliance1->trigger();
  TCommandeAlliance_Form& order = *fMain->fCommandeAlliance;
  ASSERT_TRUE(order.isVisible());
  // The sample's invoices are older than thirty days.
  EXPECT_EQ(order.fTotalGrid->GetCell(1, 1), "");
  order.CommandeAlliance_DateTimePicker->setDate(QDate(2025, 7, 1));
  EXPECT_EQ(order.fTotalGrid->GetCell(1, 1), "FA31694");
  EXPECT_EQ(order.fTotalGrid->GetCell(1, 2), "FA31699");
  DoubleClick(order.CommandeAlliance_Total_StringGrid, 2);
  QTest::mouseClick(order.CommandeAlliance_Go_Button, Qt::LeftButton);
  EXPECT_EQ(FromQString(order.reduction_lignes_Label->text()), "6 / 6");
  EXPECT_TRUE(fCapture.Boxes().empty());
}

}  // namespace
