// The history and wholesaler order windows as a user drives them, offscreen,
// in a fresh working folder.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "CommandeAllianceForm.h"
#include "FileUtils.h"
#include "HistoriqueForm.h"
#include "MemoryPrintSurfaces.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PrintManager.h"
#include "QtGridSurface.h"
#include "QtText.h"
#include "TestSupport.h"

void QuorixTestInit(int& argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

namespace {

const std::string kTrash = "./Data/Poubelle Officielle/";
const std::string kPrinted = "./Data/Elements imprimes/";

class SideWindowsTest : public ::testing::Test {
protected:
  SideWindowsTest() : fCwd(fDir.Path()) {}

  static std::vector<std::string> Column(const TMyStringGrid& grid) {
    std::vector<std::string> out;
    for (int row = 1; row < grid.GetRowCount(); ++row) out.push_back(grid.GetCell(1, row));
    return out;
  }
  static void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  static void DoubleClick(TQtGridSurface* grid, int row) {
    const QPoint at = grid->CellRectInWidget(1, row).center();
    QWidget* w = grid->childAt(at);
    if (w == nullptr) w = grid;
    QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(grid, at));
    QTest::mouseDClick(w, Qt::LeftButton, {}, w->mapFrom(grid, at));
    QApplication::processEvents();
  }

  TTempDir fDir;
  TScopedCwd fCwd;
  TTraceCapture fCapture;
};

TEST_F(SideWindowsTest, HistoryListsBothFoldersAgainAtEachShowing) {
  WriteFileBytes(kTrash + "FA31700.db", "x");
  WriteFileBytes(kPrinted + "FA31701_20261208_101500.db", "x");
  THistorique_Form window;
  EXPECT_EQ(window.windowTitle(), "Historique");
  EXPECT_EQ(window.Historique_PageControl->tabText(0), "Supprimes");
  EXPECT_EQ(window.Historique_PageControl->tabText(1), "Imprimes");

  window.show();
  EXPECT_EQ(ReadFileBytes("./Data/BaseDeDonneesSupprimes.db"), "Fichier\r\nFA31700.db\r\n");
  EXPECT_EQ(ReadFileBytes("./Data/BaseDeDonneesImprimes.db"), "Fichier\r\nFA31701_20261208_101500.db\r\n");
  EXPECT_EQ(window.fSupprimesGrid->GetColName(1), "Fichier");
  EXPECT_EQ(Column(*window.fSupprimesGrid), std::vector<std::string>{"FA31700.db"});

  // "Fermer", new files, shown again: both listings are written anew.
  Click(window.Historique_Fermer_Button);
  EXPECT_FALSE(window.isVisible());
  WriteFileBytes(kTrash + "DE00012.db", "x");
  std::remove((kPrinted + "FA31701_20261208_101500.db").c_str());
  window.show();
  EXPECT_EQ(ReadFileBytes("./Data/BaseDeDonneesSupprimes.db"), "Fichier\r\nDE00012.db\r\nFA31700.db\r\n");
  EXPECT_EQ(ReadFileBytes("./Data/BaseDeDonneesImprimes.db"), "Fichier\r\n");
  EXPECT_EQ(Column(*window.fSupprimesGrid), (std::vector<std::string>{"DE00012.db", "FA31700.db"}));
  EXPECT_EQ(Column(*window.fImprimesGrid), std::vector<std::string>{""});
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(SideWindowsTest, PurgingOneTabLeavesTheOtherFolder) {
  struct Row {
    const char* name;
    int tab;
    bool trashKept;
    bool printedKept;
  };
  const Row rows[] = {{"Supprimes", 0, false, true}, {"Imprimes", 1, true, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    WriteFileBytes(kTrash + "FA1.db", "x");
    WriteFileBytes(kTrash + "Entetes/FA1.db", "its header");
    WriteFileBytes(kPrinted + "FA2.db", "x");
    // A folder inside is not a file of the folder: it stays.
    WriteFileBytes(kPrinted + "sous-dossier/FA3.db", "x");
    THistorique_Form window;
    window.show();
    window.Historique_PageControl->setCurrentIndex(row.tab);
    Click(window.Historique_Purge_Button);
    EXPECT_EQ(FileExists(kTrash + "FA1.db"), row.trashKept);
    EXPECT_EQ(FileExists(kTrash + "Entetes/FA1.db"), row.trashKept);
    EXPECT_EQ(FileExists(kPrinted + "FA2.db"), row.printedKept);
    EXPECT_TRUE(FileExists(kPrinted + "sous-dossier/FA3.db"));
    // The listing shows what is left.
    const TMyStringGrid& grid = row.tab == 0 ? *window.fSupprimesGrid : *window.fImprimesGrid;
    EXPECT_EQ(Column(grid), std::vector<std::string>{""});
    EXPECT_TRUE(window.isVisible());
  }
}

TEST_F(SideWindowsTest, RestaurerGivesTheSelectedFileToTheCallbackAndHides) {
  WriteFileBytes(kTrash + "DE00012.db", "x");
  WriteFileBytes(kPrinted + "FA31701_20261208_101500.db", "x");
  WriteFileBytes(kPrinted + "FA31702_20261208_101600.db", "x");
  THistorique_Form window;
  std::vector<std::string> restored;
  window.SetCallbackRestaurer([&](const std::string& folder, const std::string& name) { restored.push_back(folder + "|" + name); });

  window.show();
  window.Historique_PageControl->setCurrentIndex(1);
  window.fImprimesGrid->SetRow(2);
  Click(window.Historique_Restaurer_Button);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(restored, std::vector<std::string>{"./Data/Elements imprimes/|FA31702_20261208_101600.db"});
  // The file stays where it was.
  EXPECT_TRUE(FileExists(kPrinted + "FA31702_20261208_101600.db"));

  // A file gone since the listing, or an empty listing: nothing restored,
  // the window hidden all the same.
  window.show();
  window.Historique_PageControl->setCurrentIndex(0);
  std::remove((kTrash + "DE00012.db").c_str());
  Click(window.Historique_Restaurer_Button);
  EXPECT_FALSE(window.isVisible());
  window.show();
  Click(window.Historique_Restaurer_Button);
  EXPECT_EQ(restored.size(), 1u);
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(SideWindowsTest, WholesalerOrderFromTheDoubleClicksToThePrintedPage) {
  WriteFileBytes("./Data/Factures/FA10.db",
                 "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n"
                 "FA10;3;3408919;DOLIPRANE 1000MG;1,00;3,00\r\nFA10;2;4674592;DAFALGAN 1G;1,00;2,00\r\n");
  WriteFileBytes("./Data/Factures/FA11.db",
                 "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n"
                 "FA11;3;3408919;DOLIPRANE 1000MG;1,00;3,00\r\n");
  TMyDatabase factures("");
  factures.LoadFromText(
      "Num Facture;Date;Code client;Societe;Port;Poids;Total HT;Total TTC\r\n"
      "FA10;02/03/2026;0104;PHARMACIE A;0;1;5,00;5,00\r\n"
      "FA11;03/03/2026;0105;PHARMACIE B;0;1;3,00;3,00\r\n"
      "FA12;04/03/2026;0106;PHARMACIE C;15;1;3,00;18,00\r\n");
  TCommandeAlliance_Form window;
  EXPECT_EQ(window.windowTitle(), "CommandeAlliance_Form");
  // Thirty days back, with the time of day of now.
  EXPECT_NEAR(window.PickerValue(), Now() - 30, 1.0 / 24);
  EXPECT_EQ(window.reduction_lignes_Label->text(), "0/0");

  window.Charger(&factures, "./Data/Factures/");
  window.show();
  // Changing the date reloads the invoices in progress.
  window.CommandeAlliance_DateTimePicker->setDateTime(QDateTime(QDate(2026, 3, 1), QTime(12, 0)));
  EXPECT_EQ(Column(*window.fTotalGrid), (std::vector<std::string>{"FA10", "FA11"}));
  for (int row : {1, 2, 2}) DoubleClick(window.CommandeAlliance_Total_StringGrid, row);
  EXPECT_EQ(Column(*window.fChoosenGrid), (std::vector<std::string>{"FA10", "FA11", ""}));
  DoubleClick(window.CommandeAlliance_Choosen_StringGrid, 1);
  DoubleClick(window.CommandeAlliance_Total_StringGrid, 1);
  EXPECT_EQ(Column(*window.fChoosenGrid), (std::vector<std::string>{"FA11", "FA10", ""}));
  Click(window.CommandeAlliance_Go_Button);
  EXPECT_EQ(window.reduction_lignes_Label->text(), "2 / 3");
  EXPECT_EQ(window.fArticlesGrid->GetCell(1, 1), "6");

  TMemoryPrintView view(2100, 2970);
  TPrintManager printing;
  printing.SetView(&view);
  Click(window.CommandeAlliance_Print_Button);
  ASSERT_FALSE(view.MemoryPrinter.Pages.empty());
  EXPECT_EQ(view.MemoryPrinter.Title, "Commande");
  // Sorted by designation: DAFALGAN before DOLIPRANE, 12-point columns.
  EXPECT_EQ(window.fBufferGrid->GetCell(3, 1), "DAFALGAN");
  EXPECT_EQ(window.fBufferGrid->GetCell(3, 2), "DOLIPRAN");
  EXPECT_EQ(window.fBufferGrid->GetFontSize(), 12);
  EXPECT_EQ(window.Buffer_StringGrid->font().pointSize(), 12);
  EXPECT_TRUE(fCapture.Boxes().empty());
}

}  // namespace
