#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QTextEdit>
#include <QTableWidget>
#include <QToolButton>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "MyDatabase.h"
#include "MyDatabaseForm.h"
#include "NetworkShares.h"
#include "QtGridSurface.h"
#include "QtGuard.h"
#include "CltStatsSocket.h"
#include "PieceEditor.h"
#include "QuorixForm.h"
#include "QuorixStartup.h"
#include "SplashLaunchForm.h"
#include "SplitPanel.h"
#include "TestSupport.h"

void QuorixTestInit(int& argc, char** argv) {
  // The build lists the tests by running this program without a display.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // Never destroyed: at exit the toolkit's own statics may already be gone.
  static TQuorixApplication* app = new TQuorixApplication(argc, argv);
  (void)app;
}

namespace {

const std::string kSample = std::string(QUORIX_SOURCE_DIR) + "/sample/Data";

TQuorix_Form* FormUnderConstruction() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == "Quorix_Form") return dynamic_cast<TQuorix_Form*>(w);
  }
  return nullptr;
}

// A working folder holding a copy of the sample installation (or an empty
// ./Data), made the current directory for the test.
class MainWindowTest : public ::testing::Test {
protected:
  explicit MainWindowTest(bool withSample = true) {
    if (withSample) {
      CopyTree(kSample, fDir.File("Data"));
    } else {
      std::filesystem::create_directories(fDir.File("Data"));
    }
    fCwd = std::make_unique<TScopedCwd>(fDir.Path());
  }
  ~MainWindowTest() override {
    fMain.reset();
    fDebug.reset();
    fCwd.reset();
  }

  // The windows in the program's order, recording the progress shown and,
  // at each step, which tables the main window had loaded.
  void Start() {
    auto splash = std::make_unique<TSplashLaunch_Form>();
    fSplash = splash.get();
    QObject::connect(splash->ProgressBar1, &QProgressBar::valueChanged, [this](int value) {
      fProgress.push_back(value);
      TQuorix_Form* form = FormUnderConstruction();
      std::string loaded;
      if (form != nullptr) {
        for (int t = 0; t < kDeskTableCount; ++t) {
          loaded += form->Tables().Get(static_cast<TDeskTable>(t)) != nullptr ? '1' : '0';
        }
      }
      fLoadedAt.push_back(loaded);
    });
    fLabelAtStart = fSplash->Label1->text();
    fDebug = std::make_unique<TMyDatabase_Form>();
    fMain = std::make_unique<TQuorix_Form>(std::move(splash));
  }

  std::string DataFile(const std::string& name) const { return fDir.File("Data/" + name); }

  TTempDir fDir;
  std::unique_ptr<TScopedCwd> fCwd;
  TTraceCapture fCapture;
  QPointer<TSplashLaunch_Form> fSplash;
  QString fLabelAtStart;
  std::vector<int> fProgress;
  std::vector<std::string> fLoadedAt;
  std::unique_ptr<TMyDatabase_Form> fDebug;
  std::unique_ptr<TQuorix_Form> fMain;
};

class EmptyDataTest : public MainWindowTest {
protected:
  EmptyDataTest() : MainWindowTest(false) {}
};

}  // namespace

TEST_F(MainWindowTest, SplashShowsTheFourProgressStepsAfterTheRightTablesAndIsDestroyed) {
  Start();
  EXPECT_EQ(fLabelAtStart, QStringLiteral("Chargement en cours..."));
  EXPECT_EQ(fProgress, (std::vector<int>{25, 50, 75, 100}));
  ASSERT_EQ(fLoadedAt.size(), 4u);
  EXPECT_EQ(fLoadedAt[0], "100000000") << "25 right after the articles";
  EXPECT_EQ(fLoadedAt[1], "111100000") << "50 right after the quote headers";
  EXPECT_EQ(fLoadedAt[2], "111111111");
  EXPECT_TRUE(fSplash.isNull()) << "the splash window is destroyed at the end of the loading";
  EXPECT_TRUE(fCapture.Boxes().empty()) << (fCapture.Boxes().empty() ? "" : fCapture.Boxes()[0]);
}

TEST_F(MainWindowTest, SplashWindowDesign) {
  TSplashLaunch_Form splash;
  EXPECT_EQ(splash.windowTitle(), QStringLiteral("Chargement Quorix"));
  EXPECT_TRUE(splash.isVisible()) << "the splash shows itself when created";
  EXPECT_EQ(splash.size(), QSize(350, 85));
  EXPECT_EQ(splash.ProgressBar1->geometry(), QRect(24, 24, 313, 17));
  EXPECT_EQ(splash.ProgressBar1->maximum(), 100);
  // Right-aligned at its design place, and never cut whatever the font.
  EXPECT_EQ(splash.Label1->y(), 56);
  EXPECT_EQ(splash.Label1->geometry().right() + 1, 112 + 110);
  EXPECT_GE(splash.Label1->width(), 110);
  EXPECT_GE(splash.Label1->width(), splash.Label1->sizeHint().width());
  EXPECT_TRUE(splash.Label1->alignment() & Qt::AlignRight);
  splash.SetLabel("Chargement en cours");
  EXPECT_EQ(splash.Label1->text(), QStringLiteral("Chargement en cours"));
  EXPECT_EQ(splash.Label1->geometry().right() + 1, 112 + 110);
}

TEST_F(MainWindowTest, LoadingFillsTheNineTablesAndTheInitialState) {
  Start();
  EXPECT_EQ(fMain->Tables().Articles()->RecordCount(), 40);
  EXPECT_EQ(fMain->Tables().Clients()->RecordCount(), 15);
  EXPECT_EQ(fMain->Tables().Factures()->RecordCount(), 12);
  EXPECT_EQ(fMain->Tables().Devis()->RecordCount(), 5);
  EXPECT_EQ(fMain->Tables().Avoirs()->RecordCount(), 3);
  EXPECT_EQ(fMain->Tables().TarifsChronopost()->RecordCount(), 60);
  EXPECT_EQ(fMain->PieceEditor().CurrentListKind(), "Facture");
  EXPECT_EQ(fMain->Tables().FactureNumberBase(), 31700);
  EXPECT_EQ(fMain->PieceEditor().PendingLookupCol(), 1);
  EXPECT_FALSE(fMain->SplitPanel().PrintAfterSplit());
  EXPECT_TRUE(fMain->isVisible());
  EXPECT_FALSE(fDebug->isVisible()) << "the table debug window stays hidden";
  EXPECT_TRUE(fMain->Lists().Of(kFacturesList).Surface()->isVisible()) << "the program opens on the invoice list";
  EXPECT_FALSE(fMain->PieceEditor().Facture_Panel->isVisible());
  EXPECT_FALSE(fMain->PieceEditor().Chronopost_Panel->isVisible());
  EXPECT_TRUE(fMain->RemoteBarcodeTable().empty());
}

TEST_F(MainWindowTest, MainWindowDesignAndSingleByteCaptions) {
  Start();
  EXPECT_EQ(fMain->windowTitle(), QStringLiteral(" "));
  EXPECT_EQ(fMain->findChild<QFrame*>("Menu_Panel")->geometry(), QRect(8, 0, 817, 65));
  EXPECT_EQ(fMain->findChild<QLineEdit*>("Recherche_Edit")->geometry(), QRect(16, 568, 177, 21));
  EXPECT_EQ(fMain->PieceEditor().Facture_ExtraData_Panel->width(), 200);
  EXPECT_EQ(fMain->findChild<QWidget*>("Facture_StringGrid")->parentWidget(), fMain->PieceEditor().Facture_Panel);
  EXPECT_EQ(fMain->findChild<QWidget*>("Chronopost_Panel")->parentWidget(), fMain->PieceEditor().Facture_Panel);
  // What the user reads is the Unicode text of the Windows-1252 captions.
  EXPECT_EQ(fMain->findChild<QToolButton*>("Creer_BitBtn")->text(), QString::fromUtf16(u"Créer"));
  EXPECT_EQ(fMain->findChild<QToolButton*>("BonDePreparation_BitBtn")->text(), QString::fromUtf16(u"Préparation"));
  EXPECT_EQ(fMain->findChild<QAction*>("ImprimerApercu")->text(), QString::fromUtf16(u"Aperçu"));
  EXPECT_EQ(fMain->findChild<QMenuBar*>("Quorix_MainMenu"), fMain->menuBar());
}

TEST_F(MainWindowTest, ResizingMovesOnlyThePiecePanel) {
  Start();
  for (QSize size : {QSize(1280, 800), QSize(892, 638), QSize(1024, 700)}) {
    fMain->setWindowState(Qt::WindowNoState);
    fMain->resize(size);
    QApplication::processEvents();
    SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
    for (const char* name : {"Liste_Clients_StringGrid", "Liste_Articles_StringGrid", "Liste_Factures_StringGrid",
                             "Liste_Devis_StringGrid", "Liste_Avoirs_StringGrid"}) {
      EXPECT_EQ(fMain->findChild<QWidget*>(name)->geometry(), QRect(8, 70, 817, 493)) << name;
    }
    const QWidget* client = fMain->centralWidget();
    EXPECT_EQ(fMain->PieceEditor().Facture_Panel->geometry(),
              QRect(4, 66, client->width() - 6, client->height() - 66 - 2));
    EXPECT_EQ(fMain->PieceEditor().Facture_StringGrid->geometry(), QRect(0, 0, 817 - 200 - 3, 568 - 65 - 6));
    EXPECT_EQ(fMain->PieceEditor().Facture_ExtraData_Panel->geometry(), QRect(617, 0, 200, 497));
    EXPECT_EQ(fMain->findChild<QFrame*>("Menu_Panel")->geometry(), QRect(8, 0, 817, 65));
    EXPECT_EQ(fMain->findChild<QLineEdit*>("Recherche_Edit")->geometry(), QRect(16, 568, 177, 21));
  }
}

TEST_F(MainWindowTest, CloseSavesTheFiveTablesAndLeavesTheOthers) {
  Start();
  const std::string devisBefore = ReadFileBytes(DataFile("BaseDeDonneesDevis.db"));
  const std::string articlesBefore = ReadFileBytes(DataFile("BaseDeDonneeArticles.db"));
  // A change to a table saved at close, and one to a table that is not.
  fMain->Tables().Clients()->SetData("Ville", 0, "SAINT-LOUIS DU SÉNÉGAL");
  fMain->Tables().Devis()->SetData("Societe", 0, "CHANGÉ EN MÉMOIRE");
  fMain->Tables().TarifsChronopost()->SetData("Tarif", 0, "999");
  fMain->close();

  EXPECT_NE(ReadFileBytes(DataFile("BaseDeDonneesClients.db")).find("SAINT-LOUIS DU S\xC9N\xC9GAL;"),
            std::string::npos);
  EXPECT_EQ(ReadFileBytes(DataFile("BaseDeDonneesDevis.db")), devisBefore);
  EXPECT_EQ(ReadFileBytes(DataFile("BaseDeDonneesTarifsChronopost.db")),
            ReadFileBytes(kSample + "/BaseDeDonneesTarifsChronopost.db"));
  // Accented designations come back byte for byte after a load and a save.
  EXPECT_EQ(ReadFileBytes(DataFile("BaseDeDonneeArticles.db")), articlesBefore);
  EXPECT_NE(articlesBefore.find("B\xC9PANTH\xC8NE 5% POMMADE TUBE 100G"), std::string::npos);
  for (const char* name : {"BaseDeDonneesFactures.db", "BaseDeDonneesDupli.db", "BaseDeDonneesUbipharm.db"}) {
    EXPECT_EQ(ReadFileBytes(DataFile(name)), ReadFileBytes(kSample + "/" + name)) << name;
  }
  EXPECT_FALSE(std::filesystem::exists("C:\\Trace.txt"));
  EXPECT_FALSE(std::filesystem::exists(fDir.File("C:\\Trace.txt")));
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(MainWindowTest, CloseWritesThePositionsAndKeepsTheOtherSections) {
  Start();
  fMain->Lists().Of(kClientsList).Position().Row = 7;
  fMain->Lists().Of(kAvoirsList).Position().TopRow = 3;
  fMain->close();
  // The writer's layout: sections sorted by name, keys sorted in each.
  const std::string expected =
      "[Connexion]\r\n"
      "   InformerIP = 127.0.0.1\r\n"
      "   InformerPort = 4590\r\n"
      "[Entreprise]\r\n"
      "   NIdCEE = FR12812345678\r\n"
      "[Partages]\r\n"
      "   StationChronopost = ./StationChronopost\r\n"
      "[Positions]\r\n"
      "   CurrentArticleListRow = 1\r\n"
      "   CurrentArticleListTopRow = 1\r\n"
      "   CurrentAvoirListRow = 1\r\n"
      "   CurrentAvoirListTopRow = 3\r\n"
      "   CurrentClientListRow = 7\r\n"
      "   CurrentClientListTopRow = 1\r\n"
      "   CurrentDevisListRow = 1\r\n"
      "   CurrentDevisListTopRow = 1\r\n"
      "   CurrentFactureListRow = 1\r\n"
      "   CurrentFactureListTopRow = 1\r\n";
  EXPECT_EQ(ReadFileBytes(DataFile("parametres.ini")), expected);
}

TEST_F(MainWindowTest, MissingPositionKeyGivesTwoBoxesAndZero) {
  WriteFileBytes(DataFile("parametres.ini"),
                 "[Connexion]\r\n   InformerIP = 127.0.0.1\r\n   InformerPort = 4590\r\n[Positions]\r\n"
                 "   CurrentArticleListRow = 4\r\n   CurrentArticleListTopRow = 2\r\n"
                 "   CurrentClientListTopRow = 1\r\n   CurrentFactureListRow = 1\r\n"
                 "   CurrentFactureListTopRow = 1\r\n   CurrentDevisListRow = 1\r\n   CurrentDevisListTopRow = 1\r\n"
                 "   CurrentAvoirListRow = 1\r\n   CurrentAvoirListTopRow = 1\r\n");
  Start();
  const std::vector<std::string> expected = {
      "*ERROR*TIniManager.Get : [Positions]/CurrentClientListRow n'existe pas",
      "*ERROR*Ini_Manager_Unit:TIniManager:GetInt:Can't Find Positions CurrentClientListRow",
  };
  EXPECT_EQ(fCapture.Boxes(), expected);
  EXPECT_EQ(fMain->Lists().Of(kClientsList).Position().Row, 0);
  EXPECT_EQ(fMain->Lists().Of(kArticlesList).Position().Row, 4);
  EXPECT_EQ(fMain->Lists().Of(kArticlesList).Position().TopRow, 2);
}

TEST_F(EmptyDataTest, EmptyDataFolderOpensOnTheEmptyInvoiceList) {
  Start();
  EXPECT_EQ(fProgress, (std::vector<int>{25, 50, 75, 100}));
  EXPECT_TRUE(fMain->Lists().Of(kFacturesList).Surface()->isVisible());
  // Titles and one empty row.
  EXPECT_EQ(fMain->Lists().Of(kFacturesList).Surface()->GetRowCount(), 2);
  EXPECT_EQ(fMain->Lists().Of(kFacturesList).Surface()->GetCells(1, 0), "Num Facture");
  EXPECT_EQ(fMain->Lists().Of(kFacturesList).Surface()->GetCells(1, 1), "");
  EXPECT_EQ(fMain->Tables().Articles()->FieldCount(), 0);
  EXPECT_EQ(fMain->Tables().Factures()->RecordCount(), 0);
  // The settings reader reports the missing file, then every position.
  ASSERT_FALSE(fCapture.Boxes().empty());
  EXPECT_EQ(fCapture.Boxes()[0], "*ERROR*Ini_Manager_Unit:LoadFromFile:Bad filename : ./Data/parametres.ini");
  EXPECT_EQ(fMain->Lists().Of(kFacturesList).Position().Row, 0);

  fCapture.Clear();
  fMain->close();
  // The tables without a file are not written; the positions are.
  EXPECT_FALSE(std::filesystem::exists(DataFile("BaseDeDonneesClients.db")));
  EXPECT_NE(ReadFileBytes(DataFile("parametres.ini")).find("[Positions]\r\n   CurrentArticleListRow = 0\r\n"),
            std::string::npos);
}

TEST_F(MainWindowTest, AboutBoxNamesTheProductAndItsVersion) {
  Start();
  fCapture.Clear();
  fMain->findChild<QAction*>("Apropos1")->trigger();
  ASSERT_EQ(fCapture.Boxes().size(), 1u);
  EXPECT_NE(fCapture.Boxes()[0].find("Quorix"), std::string::npos);
  EXPECT_NE(fCapture.Boxes()[0].find("version"), std::string::npos);
}

// The statistics server's answers are written in the editor's message panel.
TEST_F(MainWindowTest, StatisticsAnswersAreWrittenInTheEditorsMessagePanel) {
  Start();
  fMain->ShowFactures();
  fMain->AfficherPiece("Facture");
  fMain->StatsDisplay().AfficherSignal("DOUBLON POSSIBLE : 0113", 0x008000);
  EXPECT_EQ(fMain->PieceEditor().Signaling_RichEdit->toPlainText(), QStringLiteral("DOUBLON POSSIBLE : 0113"));
}

TEST_F(MainWindowTest, WindowsAreCreatedInTheirOrder) {
  // The debug window must exist before the first table is read, and goes
  // after the main window, whose tables hold grids over it.
  TQuorixWindows windows;
  EXPECT_EQ(GetTableDebugWindow(), windows.DebugWindow.get());
  EXPECT_TRUE(windows.MainWindow->isVisible());
  EXPECT_FALSE(windows.DebugWindow->isVisible());
  windows.MainWindow->close();
}

TEST_F(MainWindowTest, SharedBarcodeTableIsFoundThroughTheConfiguredShare) {
  const std::string host = fDir.File("serveur");
  WriteFileBytes(host + "/C$/Quorix Server/Data/BaseDeDonneesCodeBarre.db", "Code;Code Barre\r\n");
  std::string ini = ReadFileBytes(DataFile("parametres.ini"));
  ini.replace(ini.find("[Partages]"), ini.find("[Positions]") - ini.find("[Partages]"),
              "[Partages]\r\n   ServeurQuorix = " + host + "/\r\n   StationChronopost = /mnt/station\r\n");
  WriteFileBytes(DataFile("parametres.ini"), ini);
  Start();
  EXPECT_EQ(fMain->RemoteBarcodeTable(), host + "/C$/Quorix Server/Data/BaseDeDonneesCodeBarre.db");
  EXPECT_EQ(NetworkShares::ChronopostFolder("./Data/parametres.ini"), "/mnt/station/C$/Chronopost-Tampon/");
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST(NetworkShares, AbsentSettingsNeverShowAMessage) {
  TTraceCapture capture;
  TTempDir dir;
  struct Row {
    const char* name;
    const char* contents;  // nullptr: no file
  };
  const Row rows[] = {
      {"no file", nullptr},
      {"empty file", ""},
      {"no section", "[Connexion]\r\n   InformerIP = 127.0.0.1\r\n"},
      {"no key", "[Partages]\r\n   Autre = x\r\n"},
      {"empty value", "[Partages]\r\n   ServeurQuorix = \r\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string file = dir.File(std::string(row.name) + ".ini");
    if (row.contents != nullptr) WriteFileBytes(file, row.contents);
    EXPECT_EQ(NetworkShares::RemoteBarcodeTable(file), "");
    EXPECT_EQ(NetworkShares::ChronopostFolder(file), "");
  }
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(NetworkShares, ConfiguredServerWithoutTheFileMeansNoBarcodeTable) {
  TTraceCapture capture;
  TTempDir dir;
  WriteFileBytes(dir.File("p.ini"), "[Partages]\r\n   ServeurQuorix = " + dir.File("absent") + "\r\n");
  EXPECT_EQ(NetworkShares::RemoteBarcodeTable(dir.File("p.ini")), "");
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST_F(MainWindowTest, QueryShownWithoutAGridOpensTheTableDebugWindow) {
  TMyDatabase_Form debug;
  EXPECT_EQ(debug.windowTitle(), QStringLiteral("MyDatabase_Form"));
  EXPECT_EQ(debug.size(), QSize(841, 434));
  EXPECT_EQ(debug.DBStringGrid->geometry(), QRect(8, 8, 689, 385));
  EXPECT_FALSE(debug.isVisible());

  TMyDatabase clients("./Data/BaseDeDonneesClients.db");
  clients.Query("Code", "0104", Exact);
  clients.DisplayQuery(nullptr, "Code;Societe", true);
  EXPECT_TRUE(debug.isVisible());
  ASSERT_NE(debug.DBStringGrid->item(0, 2), nullptr);
  EXPECT_EQ(debug.DBStringGrid->item(0, 2)->text(), QStringLiteral("Societe"));
  ASSERT_NE(debug.DBStringGrid->item(1, 2), nullptr);
  EXPECT_EQ(debug.DBStringGrid->item(1, 2)->text(), QString::fromUtf16(u"PHARMACIE SAINT-EXUPÉRY"));
  EXPECT_TRUE(fCapture.Boxes().empty());
}
