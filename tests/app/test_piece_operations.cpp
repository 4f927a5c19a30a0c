#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "HistoriqueForm.h"
#include "MyDatabase.h"
#include "MyDatabaseForm.h"
#include "MyStringGrid.h"
#include "OrderImport.h"
#include "OrderImportCommands.h"
#include "PieceCommands.h"
#include "PieceEditor.h"
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

namespace fs = std::filesystem;

namespace {

constexpr const char* kSample = QUORIX_SOURCE_DIR "/sample/Data";
constexpr const char* kTodo = "Data/Importation/Todo/";
constexpr const char* kDone = "Data/Importation/Done/";
constexpr const char* kHeldOrder = "Data/Importation/Commande en cours.txt";
constexpr const char* kTrash = "Data/Poubelle Officielle/";
constexpr const char* kInvoiceLinesHeader = "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n";

std::string Str(const QString& q) { return FromQString(q); }

std::string Today() { return Str(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))); }

// The header record of a number in a table file as saved, fields joined
// with ";" in the file's order; empty when the file has no such record.
std::string Record(const std::string& file, const std::string& key, const std::string& number) {
  TMyDatabase table(file);
  table.Query(key, number, Exact);
  if (table.QueryResultCount() != 1) return table.QueryResultCount() == 0 ? "" : "several";
  std::string out;
  for (int f = 0; f < table.FieldCount(); ++f) {
    out += (f > 0 ? ";" : "") + table.DBGetString(f, table.QueryGetDataIndex(0));
  }
  return out;
}

std::vector<std::string> Files(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The main window on a copy of the sample installation.
class PieceOperationsTest : public ::testing::Test {
protected:
  PieceOperationsTest() {
    CopyTree(kSample, fDir.File("Data"));
    fCwd = std::make_unique<TScopedCwd>(fDir.Path());
  }
  ~PieceOperationsTest() override {
    fMain.reset();
    fDebug.reset();
  }

  void Start() {
    fDebug = std::make_unique<TMyDatabase_Form>();
    fMain = std::make_unique<TQuorix_Form>(std::make_unique<TSplashLaunch_Form>());
    // No statistics server here: its questions go nowhere.
    fMain->SetStatsRequests(std::make_unique<TStatsRequests>());
    fMain->setWindowState(Qt::WindowNoState);
    fMain->resize(1280, 800);
    fMain->activateWindow();
    QApplication::setActiveWindow(fMain.get());
    QApplication::processEvents();
    fCapture.Clear();
  }

  // An invoice of one line, appended to the sample's before the start.
  static void AddInvoice(const std::string& number, const std::string& client) {
    std::string table = ReadFileBytes("Data/BaseDeDonneesFactures.db");
    table += number + ";01/09/2025;" + client + ";PHARMACIE TEST;0;0,7189;55,90;55,90\r\n";
    WriteFileBytes("Data/BaseDeDonneesFactures.db", table);
    WriteFileBytes("Data/Factures/" + number + ".db",
                   std::string(kInvoiceLinesHeader) + number + ";1;3408919;DOLIPRANE 1000MG CPR B/8;55,90;55,90\r\n");
  }

  TPieceEditor& E() { return fMain->PieceEditor(); }
  TMyStringGrid& Lines() { return *fMain->PieceEditor().Lines(); }
  bool EditorOpen() { return fMain->PieceEditor().Facture_Panel->isVisible(); }

  static void Click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    QApplication::processEvents();
  }

  // Selects the row of a number in a shown list, with a click as the user.
  void Select(TMyStringGrid& list, const std::string& number) {
    auto* surface = static_cast<TQtGridSurface*>(list.GetGrid());
    const int row = list.FindCell(number, "").second;
    ASSERT_GT(row, 0) << number;
    const QPoint at = surface->CellRectInWidget(1, row).center();
    QWidget* w = surface->childAt(at);
    if (w == nullptr) w = surface;
    QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(surface, at));
    QApplication::processEvents();
    ASSERT_EQ(list.GetRow(), row);
  }

  void PressDupliquer(Qt::KeyboardModifiers mods) {
    QTest::mousePress(fMain->findChild<QToolButton*>("Dupliquer_BitBtn"), Qt::LeftButton, mods, QPoint(10, 10));
    QTest::mouseRelease(fMain->findChild<QToolButton*>("Dupliquer_BitBtn"), Qt::LeftButton, mods, QPoint(10, 10));
    QApplication::processEvents();
  }

  void ImportTick() { fMain->OrderImport().Importations_TimerTimer(); }

  std::vector<std::string> LineOf(int row) {
    std::vector<std::string> out;
    for (int col = 1; col <= 5; ++col) out.push_back(Lines().GetCell(col, row));
    return out;
  }

  TTempDir fDir;
  std::unique_ptr<TScopedCwd> fCwd;
  TTraceCapture fCapture;
  std::unique_ptr<TMyDatabase_Form> fDebug;
  std::unique_ptr<TQuorix_Form> fMain;
};

}  // namespace

// ---------------------------------------------------------------------------
// Order import

TEST_F(PieceOperationsTest, OrderLinesAsTheEditorShowsThem) {
  struct Row {
    const char* name;
    const char* line;
    std::vector<std::string> editor;  // Code, Designation, Quantite, Prix Uni. TTC, Montant TTC
  };
  const Row rows[] = {
      {"seven digits, one blank, a quantity", "3400936 12", {"0093612", "", "12", "", ""}},
      {"three blanks", "3400936   12", {"3400936", "", "12", "", ""}},
      {"points inside the code", "3.400.936 x 5", {"3400936", "", "5", "", ""}},
      {"known code, amount with the quantity", "3408919 x 2",
       {"3408919", "DOLIPRANE 1000MG CPR B/8", "2", "55,90", "111,80"}},
      {"quantity at the start, two articles of that name", "12 DOLIPRANE 500", {"", "DOLIPRANE", "12", "", ""}},
      {"one article of that name, 007", "SMECTA 007", {"7195018", "SMECTA 3G POUDRE SACHETS B/30", "7", "59,88", "419,16"}},
      {"lower case name, 000", "efferalgan 000",
       {"2661728", "EFFERALGAN 500MG CPR EFFERV. B/16", "0", "50,88", "0,00"}},
      {"letters only: found but no amount", "Doliprane", {"", "DOLIPRANE", "", "", ""}},
      {"tabs", "DAFALGAN\t\t3", {"4674592", "DAFALGAN 1G CPR PELL. B/8", "3", "10,76", "32,28"}},
      {"nothing recognised", "-- merci --", {"", "", "", "", ""}},
  };
  std::string order;
  for (const Row& row : rows) order += std::string(row.line) + "\r\n";
  WriteFileBytes(std::string(kTodo) + "commande 0101.txt", order);

  Start();
  ImportTick();
  ASSERT_TRUE(fMain->findChild<QToolButton*>("Importer_BitBtn")->isEnabled());
  Click(fMain->findChild<QToolButton*>("Importer_BitBtn"));
  EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{"Importation commande 0101.txt"});
  ASSERT_TRUE(EditorOpen());
  EXPECT_EQ(Str(E().FactureNumFactureEdit->text()), "FA31702");
  ASSERT_EQ(Lines().GetRowCount(), 1 + static_cast<int>(std::size(rows))) << "one row per line of the order";
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(rows[i].name);
    EXPECT_EQ(LineOf(static_cast<int>(i) + 1), rows[i].editor);
  }
  EXPECT_TRUE(Lines().GetReadOnly(5, 4)) << "imported amounts stay computed";
  EXPECT_EQ(Str(E().Label34->text()), "563,24") << "the totals follow the imported lines";
  EXPECT_EQ(Files(kTodo), std::vector<std::string>{});
  EXPECT_EQ(ReadFileBytes(std::string(kDone) + "commande 0101.txt"), order);
  EXPECT_FALSE(fMain->findChild<QToolButton*>("Importer_BitBtn")->isEnabled());
}

TEST_F(PieceOperationsTest, ARefusedOrderOpensNoPieceAndStaysWaiting) {
  std::string lines2001;
  for (int i = 0; i < 2001; ++i) lines2001 += "3408919 2\r\n";
  struct Row {
    const char* name;
    std::string bytes;
    const char* reason;
  };
  const Row rows[] = {
      {"a NUL byte", std::string("3408919 2\r\n\0\r\n7195018 1\r\n", 25),
       "un octet nul, ce n'est pas un texte Windows-1252 (UTF-16 ?)"},
      {"2001 lines", lines2001, "plus de 2000 lignes"},
  };
  Start();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    WriteFileBytes(std::string(kTodo) + "commande.txt", row.bytes);
    fCapture.Clear();
    fMain->findChild<QAction*>("Importer1")->trigger();
    EXPECT_EQ(fCapture.Boxes(),
              (std::vector<std::string>{"Importation commande.txt",
                                        "*ERROR*Importation : ./Data/Importation/Todo/commande.txt : " +
                                            std::string(row.reason) + ", commande laissee en attente"}));
    EXPECT_FALSE(EditorOpen());
    EXPECT_EQ(ReadFileBytes(std::string(kTodo) + "commande.txt"), row.bytes);
    EXPECT_EQ(Files(kDone), std::vector<std::string>{});
  }
}

TEST_F(PieceOperationsTest, ImporterFollowsTheWaitingFolderAndTheListShown) {
  Start();
  auto* timer = fMain->findChild<QTimer*>("Importations_Timer");
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->interval(), 5000);
  EXPECT_TRUE(timer->isActive());

  struct Row {
    const char* name;
    const char* waiting;  // file in the waiting folder, nullptr for none
    void (TQuorix_Form::*show)();
    bool enabled;
  };
  const Row rows[] = {
      {"order, invoices", "a.txt", &TQuorix_Form::ShowFactures, true},
      {"order in capitals, quotes", "B.TXT", &TQuorix_Form::ShowDevis, true},
      {"order, credit notes", "a.txt", &TQuorix_Form::ShowAvoirs, false},
      {"order, clients", "a.txt", &TQuorix_Form::ShowClients, false},
      {"no order, invoices", nullptr, &TQuorix_Form::ShowFactures, false},
      {"another kind of file, invoices", "a.csv", &TQuorix_Form::ShowFactures, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fs::remove_all("Data/Importation");
    if (row.waiting != nullptr) WriteFileBytes(std::string(kTodo) + row.waiting, "3408919 1\r\n");
    (fMain.get()->*row.show)();
    ImportTick();
    EXPECT_EQ(fMain->findChild<QToolButton*>("Importer_BitBtn")->isEnabled(), row.enabled);
  }

  // The editor open: no import into it, and the button goes off.
  fs::remove_all("Data/Importation");
  WriteFileBytes(std::string(kTodo) + "a.txt", "3408919 1\r\n");
  fMain->ShowFactures();
  Click(fMain->findChild<QToolButton*>("Creer_BitBtn"));
  ImportTick();
  EXPECT_FALSE(fMain->findChild<QToolButton*>("Importer_BitBtn")->isEnabled());
  fCapture.Clear();
  fMain->findChild<QAction*>("Importer1")->trigger();
  EXPECT_TRUE(fCapture.Boxes().empty());
  EXPECT_EQ(Files(kTodo), std::vector<std::string>{"a.txt"});
}

TEST_F(PieceOperationsTest, AnOrderIsImportedOnceAndSavedWithItsTotals) {
  WriteFileBytes(std::string(kDone) + "commande.txt", "older order\r\n");
  WriteFileBytes(std::string(kTodo) + "commande.txt", "3408919 x 4\r\n");
  Start();
  fMain->ShowDevis();
  fMain->findChild<QAction*>("Importer1")->trigger();
  ASSERT_TRUE(EditorOpen());
  EXPECT_EQ(Str(E().FactureNumFactureEdit->text()), "DE1239") << "a new quote from the quote list";
  EXPECT_EQ(LineOf(1), (std::vector<std::string>{"3408919", "DOLIPRANE 1000MG CPR B/8", "4", "55,90", "223,60"}));
  EXPECT_EQ(Files(kTodo), std::vector<std::string>{});
  EXPECT_EQ(Files(kDone), (std::vector<std::string>{"commande.txt", "commande_1.txt"}));
  EXPECT_EQ(ReadFileBytes(std::string(kDone) + "commande.txt"), "older order\r\n");
  EXPECT_TRUE(fs::exists(kHeldOrder)) << "held while its piece is open";

  EXPECT_EQ(Str(E().Label34->text()), "223,60");

  // Saved right away, the header holds what the lines are worth.
  E().FactureCodeClientEdit->setText(QStringLiteral("0101"));
  fCapture.Clear();
  Click(E().FactureOK_Button);
  ASSERT_FALSE(EditorOpen()) << (fCapture.Boxes().empty() ? "" : fCapture.Boxes()[0]);
  EXPECT_EQ(Record("Data/BaseDeDonneesDevis.db", "Num Devis", "DE1239"),
            "DE1239;" + Today() + ";0101;PHARMACIE CENTRALE DE DAKAR;0;2,8756;223,60;223,6");
  EXPECT_FALSE(fs::exists(kHeldOrder));

  fCapture.Clear();
  fMain->findChild<QAction*>("Importer1")->trigger();
  EXPECT_TRUE(fCapture.Boxes().empty()) << "nothing waits any more";
  EXPECT_FALSE(EditorOpen());
}

TEST_F(PieceOperationsTest, AnImportedOrderLeftUnsavedWaitsAgain) {
  struct Row {
    const char* name;
    std::function<void()> leave;
  };
  const Row rows[] = {
      {"Annuler", [this] { Click(E().FactureAnnuler_Button); }},
      {"replaced by a piece from a file",
       [this] {
         fCapture.Dialogs.NextFileName = "Data/Factures/FA31690.db";
         fMain->findChild<QAction*>("ImporterDepuisFichier1")->trigger();
         EXPECT_EQ(fCapture.Dialogs.Questions,
                   std::vector<std::string>{"La piece FA31702 n'est pas enregistree : l'abandonner ?"});
         EXPECT_EQ(Str(E().FactureNumFactureEdit->text()), "FA31702") << "the new piece";
         EXPECT_EQ(Lines().GetCellByName("Code", 1), "6670227");
       }},
      // Last: the window is gone afterwards.
      {"program closed", [this] { fMain->close(); }},
  };
  Start();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    WriteFileBytes(std::string(kTodo) + "commande.txt", "3408919 x 4\r\n");
    fMain->ShowFactures();
    fMain->findChild<QAction*>("Importer1")->trigger();
    ASSERT_TRUE(EditorOpen());
    ASSERT_EQ(Files(kDone), std::vector<std::string>{"commande.txt"});
    fCapture.Clear();
    row.leave();
    EXPECT_EQ(Files(kTodo), std::vector<std::string>{"commande.txt"});
    EXPECT_EQ(Files(kDone), std::vector<std::string>{});
    EXPECT_EQ(ReadFileBytes(std::string(kTodo) + "commande.txt"), "3408919 x 4\r\n");
    EXPECT_FALSE(fs::exists(kHeldOrder));
  }
}

// Killed, or the power cut, with an imported order open: the order was
// neither waiting nor made into a piece.
TEST_F(PieceOperationsTest, AnOrderHeldWhenTheProgramDiedWaitsAgainAtTheNextStart) {
  WriteFileBytes(std::string(kDone) + "commande_1.txt", "3408919 x 4\r\n");
  WriteFileBytes(std::string(kDone) + "commande.txt", "older order\r\n");
  NoteOrderHeld("commande_1.txt", "commande.txt");
  Start();
  EXPECT_EQ(Files(kTodo), std::vector<std::string>{"commande.txt"});
  EXPECT_EQ(ReadFileBytes(std::string(kTodo) + "commande.txt"), "3408919 x 4\r\n");
  EXPECT_EQ(Files(kDone), std::vector<std::string>{"commande.txt"});
  EXPECT_FALSE(fs::exists(kHeldOrder));
  EXPECT_NE(Str(E().Signaling_RichEdit->toPlainText())
                .find("Commande commande.txt remise en attente : sa piece n'avait pas ete enregistree"),
            std::string::npos);
}

TEST_F(PieceOperationsTest, ImportAndRestoreAskBeforeReplacingUnsavedWork) {
  WriteFileBytes(std::string(kTodo) + "commande.txt", "3408919 x 4\r\n");
  fs::create_directories(kTrash);
  fs::copy_file("Data/Factures/FA31690.db", std::string(kTrash) + "FA31690.db");
  Start();
  fMain->ShowFactures();
  fMain->findChild<QAction*>("Importer1")->trigger();
  ASSERT_TRUE(EditorOpen());
  const std::string question = "La piece FA31702 n'est pas enregistree : l'abandonner ?";
  struct Row {
    const char* name;
    std::function<void()> run;
  };
  const Row rows[] = {
      {"Importer Depuis Fichier",
       [this] {
         fCapture.Dialogs.NextFileName = "Data/Factures/FA31690.db";
         fMain->findChild<QAction*>("ImporterDepuisFichier1")->trigger();
         EXPECT_TRUE(fCapture.Dialogs.FileQuestions.empty()) << "asked before the file is chosen";
       }},
      {"Restaurer",
       [this] {
         fMain->findChild<QAction*>("Historique1")->trigger();
         THistorique_Form& history = fMain->Historique();
         history.Historique_PageControl->setCurrentWidget(history.Supprimes_TabSheet);
         ASSERT_GT(history.fSupprimesGrid->FindCell("FA31690.db", "").second, 0);
         history.fSupprimesGrid->SetRow(history.fSupprimesGrid->FindCell("FA31690.db", "").second);
         QTest::mouseClick(history.Historique_Restaurer_Button, Qt::LeftButton);
         history.hide();
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fCapture.Clear();
    fCapture.Dialogs.NextAnswer = false;
    row.run();
    EXPECT_EQ(fCapture.Dialogs.Questions, std::vector<std::string>{question});
    ASSERT_TRUE(EditorOpen());
    EXPECT_EQ(LineOf(1), (std::vector<std::string>{"3408919", "DOLIPRANE 1000MG CPR B/8", "4", "55,90", "223,60"}))
        << "the import stays as it was";
    EXPECT_EQ(Files(kDone), std::vector<std::string>{"commande.txt"});
  }
  // Gone back to the list, the import is still held: "Importer" asks too.
  fMain->ShowFactures();
  WriteFileBytes(std::string(kTodo) + "autre.txt", "7968532 x 1\r\n");
  fCapture.Clear();
  fCapture.Dialogs.NextAnswer = false;
  fMain->findChild<QAction*>("Importer1")->trigger();
  EXPECT_EQ(fCapture.Dialogs.Questions, std::vector<std::string>{question});
  EXPECT_EQ(Files(kTodo), std::vector<std::string>{"autre.txt"});
  EXPECT_EQ(Files(kDone), std::vector<std::string>{"commande.txt"});

  // A piece opened and left as it was is replaced without a question.
  E().FactureAnnuler_ButtonClick();
  fCapture.Clear();
  fCapture.Dialogs.NextAnswer = false;
  fCapture.Dialogs.NextFileName = "Data/Factures/FA31690.db";
  Click(fMain->findChild<QToolButton*>("Creer_BitBtn"));
  fMain->findChild<QAction*>("ImporterDepuisFichier1")->trigger();
  EXPECT_TRUE(fCapture.Dialogs.Questions.empty());
  EXPECT_EQ(fCapture.Dialogs.FileQuestions, std::vector<std::string>{"./Data"});
}

TEST_F(PieceOperationsTest, ALineBreakInAPieceFromAFileBecomesACommaSaidOnce) {
  // A stored backslash-n reads back as a line break.
  WriteFileBytes("Data/FA99999.db", std::string(kInvoiceLinesHeader) +
                                        "FA99999;1;3408919;DOLIPRANE\\n1000MG;55,90;55,90\r\n"
                                        "FA99999;2;7968532;DOLIPRANE\\n500MG;26,96;53,92\r\n");
  Start();
  fMain->ShowFactures();
  fCapture.Dialogs.NextFileName = "Data/FA99999.db";
  fMain->findChild<QAction*>("ImporterDepuisFichier1")->trigger();
  ASSERT_TRUE(EditorOpen());
  EXPECT_EQ(Lines().GetCellByName("Designation", 1), "DOLIPRANE,1000MG");
  EXPECT_EQ(Lines().GetCellByName("Designation", 2), "DOLIPRANE,500MG");
  EXPECT_EQ(Str(E().Signaling_RichEdit->toPlainText()),
            "FA99999.db : ';', retour a la ligne ou octet nul remplace par ','");
}

TEST_F(PieceOperationsTest, ImporterDepuisFichierMakesAPieceOfTheKindTheNameGives) {
  fs::create_directories(kTrash);
  fs::copy_file("Data/Devis/DE1234.db", std::string(kTrash) + "DE1234_1.db");
  struct Row {
    const char* name;
    void (TQuorix_Form::*shown)();
    std::string chosen;  // empty: the dialog is cancelled
    const char* number;  // of the new piece, nullptr when none opens
    const char* source;  // the line file the lines come from
    const char* ht;      // its total
  };
  const Row rows[] = {
      {"quote from the trash, invoice list shown", &TQuorix_Form::ShowFactures,
       fs::absolute(std::string(kTrash) + "DE1234_1.db").string(), "DE1239", "Data/Devis/DE1234.db", "2796,59"},
      {"invoice, quote list shown", &TQuorix_Form::ShowDevis, "Data/Factures/FA31690.db", "FA31702",
       "Data/Factures/FA31690.db", "1914,03"},
      {"cancelled", &TQuorix_Form::ShowFactures, "", nullptr, nullptr, nullptr},
  };
  Start();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    (fMain.get()->*row.shown)();
    fCapture.Dialogs.NextFileName = row.chosen;
    fCapture.Clear();
    fMain->findChild<QAction*>("ImporterDepuisFichier1")->trigger();
    EXPECT_EQ(fCapture.Dialogs.FileQuestions, std::vector<std::string>{"./Data"});
    if (row.number == nullptr) {
      EXPECT_FALSE(EditorOpen());
      continue;
    }
    ASSERT_TRUE(EditorOpen());
    EXPECT_EQ(Str(E().FactureNumFactureEdit->text()), row.number);
    TMyDatabase source(row.source);
    source.QueryAll();
    ASSERT_EQ(Lines().GetRowCount() - 1, source.QueryResultCount());
    for (int i = 0; i < source.QueryResultCount(); ++i) {
      EXPECT_EQ(LineOf(i + 1), (std::vector<std::string>{source.GetQueryResultString("Code", i),
                                                         source.GetQueryResultString("Designation", i),
                                                         source.GetQueryResultString("Quantite", i),
                                                         source.GetQueryResultString("Prix Uni. TTC", i),
                                                         source.GetQueryResultString("Montant TTC", i)}));
    }
    EXPECT_EQ(Str(E().Label34->text()), row.ht) << "the totals follow the lines";
    EXPECT_TRUE(fs::exists(row.chosen)) << "the file stays where it is";
    EXPECT_TRUE(fCapture.Boxes().empty());
    Click(E().FactureAnnuler_Button);
  }
}

// ---------------------------------------------------------------------------
// Deleting

TEST_F(PieceOperationsTest, DeletedPiecesGoToTheTrashBesideOlderCopies) {
  for (int n = 31702; n <= 31710; ++n) AddInvoice("FA" + std::to_string(n), "0110");
  WriteFileBytes(std::string(kTrash) + "FA31704.db", "older copy");
  struct Row {
    const char* name;
    void (TQuorix_Form::*show)();
    const char* number;
    const char* header;
    const char* key;
    const char* folder;
    const char* trashName;
    const char* nextInvoice;  // given to a new invoice afterwards
  };
  const Row rows[] = {
      {"invoice", &TQuorix_Form::ShowFactures, "FA31705", "Data/BaseDeDonneesFactures.db", "Num Facture",
       "Data/Factures/", "FA31705.db", "FA31705"},
      {"invoice already in the trash", &TQuorix_Form::ShowFactures, "FA31704",
       "Data/BaseDeDonneesFactures.db", "Num Facture", "Data/Factures/", "FA31704_1.db", "FA31704"},
      {"quote", &TQuorix_Form::ShowDevis, "DE1235", "Data/BaseDeDonneesDevis.db", "Num Devis", "Data/Devis/",
       "DE1235.db", nullptr},
      {"credit note", &TQuorix_Form::ShowAvoirs, "AV124", "Data/BaseDeDonneesAvoirs.db", "Num Avoir",
       "Data/Avoirs/", "AV124.db", nullptr},
  };
  Start();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string lineFile = std::string(row.folder) + row.number + ".db";
    const std::string lines = ReadFileBytes(lineFile);
    (fMain.get()->*row.show)();
    TMyStringGrid* list = fMain->PieceEditor().CurrentListKind() == "Devis"   ? fMain->Lists().Of(kDevisList).Grid()
                          : fMain->PieceEditor().CurrentListKind() == "Avoir" ? fMain->Lists().Of(kAvoirsList).Grid()
                                                               : fMain->Lists().Of(kFacturesList).Grid();
    const int before = list->GetRowCount();
    Select(*list, row.number);
    Click(fMain->findChild<QToolButton*>("Supprimer_BitBtn"));
    EXPECT_EQ(Record(row.header, row.key, row.number), "") << "the record is gone from the saved table";
    EXPECT_EQ(list->GetRowCount(), before - 1);
    EXPECT_FALSE(fs::exists(lineFile));
    EXPECT_EQ(ReadFileBytes(std::string(kTrash) + row.trashName), lines);
    if (row.nextInvoice != nullptr) {
      Click(fMain->findChild<QToolButton*>("Creer_BitBtn"));
      EXPECT_EQ(Str(E().FactureNumFactureEdit->text()), row.nextInvoice) << "the deleted number is given again";
      Click(E().FactureAnnuler_Button);
    }
  }
  EXPECT_EQ(ReadFileBytes(std::string(kTrash) + "FA31704.db"), "older copy");
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes()[0];

  // The empty row of an empty list deletes nothing.
  WriteFileBytes("Data/BaseDeDonneesAvoirs.db", "Num Avoir;Date;Code client;Societe;Total TTC\r\n");
  fMain.reset();
  fDebug.reset();
  Start();
  fMain->ShowAvoirs();
  Click(fMain->findChild<QToolButton*>("Supprimer_BitBtn"));
  EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{"*ERROR*TMyDatabase.QueryGetDataIndex : No Query Results Assigned"});
}

// ---------------------------------------------------------------------------
// Duplicating

TEST_F(PieceOperationsTest, PlainDuplicatesTakeTheNextNumberAndToday) {
  struct Row {
    const char* name;
    void (TQuorix_Form::*show)();
    const char* source;
    const char* copy;
    const char* header;
    const char* key;
    const char* folder;
  };
  const Row rows[] = {
      {"invoice", &TQuorix_Form::ShowFactures, "FA31695", "FA31702", "Data/BaseDeDonneesFactures.db", "Num Facture",
       "Data/Factures/"},
      {"quote", &TQuorix_Form::ShowDevis, "DE1234", "DE1239", "Data/BaseDeDonneesDevis.db", "Num Devis", "Data/Devis/"},
  };
  Start();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    (fMain.get()->*row.show)();
    const bool devis = fMain->PieceEditor().CurrentListKind() == "Devis";
    TMyStringGrid* list = fMain->Lists().Of(devis ? kDevisList : kFacturesList).Grid();
    Select(*list, row.source);
    PressDupliquer({});
    EXPECT_FALSE(EditorOpen()) << "the copy is not opened";
    std::string expected = Record(row.header, row.key, row.source);
    expected.replace(0, expected.find(';'), row.copy);
    expected.replace(expected.find(';') + 1, 10, Today());
    EXPECT_EQ(Record(row.header, row.key, row.copy), expected);
    EXPECT_EQ(ReadFileBytes(std::string(row.folder) + row.copy + ".db"),
              ReadFileBytes(std::string(row.folder) + row.source + ".db"))
        << "the copied lines keep the source number until saved";
    EXPECT_GT(list->FindCell(row.copy, "").second, 0) << "the list shows the copy";
  }
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes()[0];
}

TEST_F(PieceOperationsTest, SpecialDuplicateOpensTheCopyAndMarksItsClient) {
  AddInvoice("FA31750", "0110");
  Start();
  fMain->ShowFactures();
  TMyStringGrid& list = *fMain->Lists().Of(kFacturesList).Grid();
  auto dotOn = [this] {
    return fMain->PieceCommands().DotShown() &&
           fMain->findChild<QToolButton*>("Dupliquer_BitBtn")->grab().toImage().pixelColor(54, 45) == QColor(Qt::black);
  };
  Select(list, "FA31692");  // client 0110
  EXPECT_FALSE(dotOn());

  Select(list, "FA31750");
  PressDupliquer(Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(EditorOpen()) << "the copy opens in the editor";
  EXPECT_EQ(Str(E().FactureNumFactureEdit->text()), "FA031750");
  EXPECT_EQ(Lines().GetCell(1, 1), "3408919");
  EXPECT_EQ(Record("Data/BaseDeDonneesFactures.db", "Num Facture", "FA031750"),
            "FA031750;" + Today() + ";0110;PHARMACIE TEST;0;0,7189;55,90;55,90");
  fMain->Tables().Dupli()->Query("Code", "0110", Exact);
  EXPECT_EQ(fMain->Tables().Dupli()->QueryResultCount(), 1);
  Click(E().FactureAnnuler_Button);

  struct Mark {
    const char* number;
    bool dot;
  };
  for (const Mark& m : {Mark{"FA31692", true}, Mark{"FA31694", false}, Mark{"FA31693", true}, Mark{"FA31699", true}}) {
    SCOPED_TRACE(m.number);
    Select(list, m.number);
    EXPECT_EQ(dotOn(), m.dot);
  }

  // Again on the same invoice: the copy already there is opened, not doubled.
  Select(list, "FA31750");
  PressDupliquer(Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Str(E().FactureNumFactureEdit->text()), "FA031750");
  EXPECT_EQ(Record("Data/BaseDeDonneesFactures.db", "Num Facture", "FA031750").substr(0, 9), "FA031750;");
  Click(E().FactureAnnuler_Button);

  // A client of the no-duplicate table gets no special duplicate.
  Select(list, "FA31690");  // client 0104
  PressDupliquer(Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_FALSE(EditorOpen());
  EXPECT_EQ(Record("Data/BaseDeDonneesFactures.db", "Num Facture", "FA031690"), "");
  EXPECT_FALSE(fs::exists("Data/Factures/FA031690.db"));
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes()[0];
}

// ---------------------------------------------------------------------------
// Conversions

TEST_F(PieceOperationsTest, ConversionsCarryTheLinesUnderTheRenamedKey) {
  struct Row {
    const char* name;
    void (TQuorix_Form::*show)();
    const char* action;
    const char* source;
    const char* sourceHeader;
    const char* sourceKey;
    const char* sourceFolder;
    const char* made;
    const char* header;
    const char* key;
    const char* folder;
  };
  const Row rows[] = {
      {"Devis --> Facture", &TQuorix_Form::ShowDevis, "DevisFacture1", "DE1236",
       "Data/BaseDeDonneesDevis.db", "Num Devis", "Data/Devis/", "FA31702", "Data/BaseDeDonneesFactures.db",
       "Num Facture", "Data/Factures/"},
      {"Facture --> Devis", &TQuorix_Form::ShowFactures, "FactureDevis1", "FA31697",
       "Data/BaseDeDonneesFactures.db", "Num Facture", "Data/Factures/", "DE1239", "Data/BaseDeDonneesDevis.db",
       "Num Devis", "Data/Devis/"},
  };
  Start();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    (fMain.get()->*row.show)();
    const bool devis = fMain->PieceEditor().CurrentListKind() == "Devis";
    TMyStringGrid* list = fMain->Lists().Of(devis ? kDevisList : kFacturesList).Grid();
    Select(*list, row.source);
    fMain->findChild<QAction*>(row.action)->trigger();

    TMyDatabase from(row.sourceHeader);
    from.Query(row.sourceKey, row.source, Exact);
    ASSERT_EQ(from.QueryResultCount(), 1) << "the source is kept";
    TMyDatabase to(row.header);
    to.Query(row.key, row.made, Exact);
    ASSERT_EQ(to.QueryResultCount(), 1);
    EXPECT_EQ(to.GetQueryResultString("Date", 0), Today());
    for (const char* field : {"Code client", "Societe", "Total HT", "Total TTC", "Port", "Poids"}) {
      EXPECT_EQ(to.GetQueryResultString(field, 0), from.GetQueryResultString(field, 0)) << field;
    }

    TMyDatabase sourceLines(std::string(row.sourceFolder) + row.source + ".db");
    TMyDatabase lines(std::string(row.folder) + row.made + ".db");
    ASSERT_EQ(lines.GetFieldName(0), row.key);
    ASSERT_EQ(lines.RecordCount(), sourceLines.RecordCount());
    ASSERT_GT(lines.RecordCount(), 1);
    for (int r = 0; r < lines.RecordCount(); ++r) {
      EXPECT_EQ(lines.DBGetString(0, r), row.made);
      for (int f = 1; f < lines.FieldCount(); ++f) EXPECT_EQ(lines.DBGetString(f, r), sourceLines.DBGetString(f, r));
    }
    EXPECT_EQ(fMain->PieceEditor().CurrentListKind(), std::string(row.key).substr(4))
        << "the new piece's list is shown";
  }
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes()[0];
}

TEST_F(PieceOperationsTest, ConversionsWantTheirListShownAndFocused) {
  Start();
  const std::string factures = ReadFileBytes("Data/BaseDeDonneesFactures.db");
  const std::string devis = ReadFileBytes("Data/BaseDeDonneesDevis.db");
  fMain->ShowDevis();
  fMain->findChild<QLineEdit*>("Recherche_Edit")->setFocus();
  fMain->findChild<QAction*>("DevisFacture1")->trigger();
  fMain->ShowClients();
  fMain->findChild<QAction*>("FactureDevis1")->trigger();
  fMain->ShowDevis();
  fMain->findChild<QAction*>("FactureDevis1")->trigger();
  EXPECT_EQ(fCapture.Boxes(), (std::vector<std::string>{"Veuillez selectionner un devis",
                                                        "Veuillez selectionner une facture",
                                                        "Veuillez selectionner une facture"}));
  EXPECT_EQ(ReadFileBytes("Data/BaseDeDonneesFactures.db"), factures);
  EXPECT_EQ(ReadFileBytes("Data/BaseDeDonneesDevis.db"), devis);
}

// ---------------------------------------------------------------------------
// Nettoyer

TEST_F(PieceOperationsTest, NettoyerRemovesStrayFilesTheHistoryAndTheSpecialDuplicates) {
  AddInvoice("FA031700", "0113");
  AddInvoice("FA031701", "0110");
  WriteFileBytes("Data/Factures/FA99999.db", std::string(kInvoiceLinesHeader));
  WriteFileBytes(std::string(kTrash) + "FA31650.db", "deleted long ago");
  WriteFileBytes(std::string(kTrash) + "Entetes/FA31650.db", "its header");
  WriteFileBytes(std::string(kTrash) + "notes", "a name without a dot");
  WriteFileBytes("Data/Elements imprimes/FA31690_0101.db", "printed");
  fs::create_directories(std::string(kTrash) + "sous-dossier");
  const std::string lines700 = ReadFileBytes("Data/Factures/FA031700.db");
  Start();
  fMain->findChild<QAction*>("Nettoyer1")->trigger();
  EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{"*ERROR*FA99999.db en trop"});
  EXPECT_FALSE(fs::exists("Data/Factures/FA99999.db"));
  EXPECT_EQ(Files(kTrash), (std::vector<std::string>{"Entetes", "FA031700.db", "FA031701.db", "sous-dossier"}));
  EXPECT_EQ(ReadFileBytes(std::string(kTrash) + "FA031700.db"), lines700);
  EXPECT_EQ(Files(std::string(kTrash) + "Entetes"), (std::vector<std::string>{"FA031700.db", "FA031701.db"}));
  EXPECT_EQ(Files("Data/Elements imprimes"), std::vector<std::string>{});
  for (const char* number : {"FA031700", "FA031701"}) {
    EXPECT_EQ(Record("Data/BaseDeDonneesFactures.db", "Num Facture", number), "") << number;
  }
  EXPECT_EQ(fMain->Lists().Of(kFacturesList).Grid()->GetRowCount(), 1 + 12) << "the sample's invoices stay";
  EXPECT_EQ(Files("Data/Factures").size(), 12u);
}
