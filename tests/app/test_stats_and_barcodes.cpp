// What the main window's loading and close do with the statistics server and
// the shared barcode queue, on a copy of the sample installation.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "BarCodeManager.h"
#include "CltStatsSocket.h"
#include "MyDatabase.h"
#include "MyDatabaseForm.h"
#include "MyStringGrid.h"
#include "QtGuard.h"
#include "QuorixForm.h"
#include "Search.h"
#include "SearchResults.h"
#include "SplashLaunchForm.h"
#include "StatsServer.h"
#include "TestSupport.h"

void QuorixTestInit(int& argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static TQuorixApplication* app = new TQuorixApplication(argc, argv);
  (void)app;
}

namespace {

const std::string kSample = std::string(QUORIX_SOURCE_DIR) + "/sample/";

bool WaitUntil(const std::function<bool()>& condition) {
  QDeadlineTimer deadline(20000);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

// A working folder made as the run command makes it: the sample's data, its
// server share beside it, and the share named in the settings.
class SampleStartTest : public ::testing::Test {
protected:
  SampleStartTest() {
    CopyTree(kSample + "Data", fDir.File("Data"));
    CopyTree(kSample + "Serveur", fDir.File("Serveur"));
    fCwd = std::make_unique<TScopedCwd>(fDir.Path());
  }
  ~SampleStartTest() override {
    fMain.reset();
    fDebug.reset();
  }
  void Settings(int statsPort) {
    const std::string sample = ReadFileBytes(kSample + "Data/parametres.ini");
    WriteFileBytes("./Data/parametres.ini", "[Connexion]\r\n   InformerIP = 127.0.0.1\r\n   InformerPort = " +
                                                std::to_string(statsPort) +
                                                "\r\n[Partages]\r\n   ServeurQuorix = ./Serveur\r\n" +
                                                sample.substr(sample.find("[Positions]")));
  }
  void Start() {
    fDebug = std::make_unique<TMyDatabase_Form>();
    fMain = std::make_unique<TQuorix_Form>(nullptr);
  }
  void CloseAndStartAgain() {
    fMain->close();
    fMain.reset();
    fDebug.reset();
    Start();
  }
  std::string Barcode(const std::string& code) const {
    TMyDatabase* articles = fMain->Tables().Articles();
    articles->Query("Code", code, Exact);
    return articles->QueryResultCount() == 1 ? articles->GetQueryResultString("Code Barre", 0) : "?";
  }

  TTempDir fDir;
  std::unique_ptr<TScopedCwd> fCwd;
  TTraceCapture fCapture;
  std::unique_ptr<TMyDatabase_Form> fDebug;
  std::unique_ptr<TQuorix_Form> fMain;
};

}  // namespace

TEST_F(SampleStartTest, SampleBarcodeQueueCompletesItsCycleOverTwoStarts) {
  Settings(4590);
  const std::string queue = "./Serveur/C$/Quorix Server/Data/BaseDeDonneesCodeBarre.db";
  ASSERT_EQ(ReadFileBytes(queue),
            "Code;Code Barre\r\n3408919;3400934089190\r\n7968532;3400979685326\r\n4674593;3400946745930\r\n"
            "4674592;34009\r\n");
  Start();
  ASSERT_NE(fMain->BarCodeManager(), nullptr);
  EXPECT_EQ(Barcode("3408919"), "3400934089190") << "copied at the first start";
  EXPECT_EQ(ReadFileBytes(queue),
            "Code;Code Barre\r\n3408919;3400934089190\r\n4674593;3400946745930\r\n4674592;34009\r\n")
      << "the entry the article already carried has left";

  CloseAndStartAgain();
  EXPECT_EQ(Barcode("3408919"), "3400934089190");
  EXPECT_EQ(Barcode("4674592"), "") << "a 5-character barcode is never merged";
  EXPECT_EQ(ReadFileBytes(queue), "Code;Code Barre\r\n4674593;3400946745930\r\n4674592;34009\r\n");
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(SampleStartTest, WithoutTheShareNoMergeTakesPlace) {
  WriteFileBytes("./Data/parametres.ini", ReadFileBytes(kSample + "Data/parametres.ini"));
  Start();
  EXPECT_EQ(fMain->BarCodeManager(), nullptr);
  EXPECT_EQ(Barcode("3408919"), "");
}

TEST_F(SampleStartTest, ConnectionOpensAtTheEndOfLoadingShadesTheSearchGridAndClosesAtClose) {
  TStatsServerData data;
  data.LoadFromText(ReadFileBytes(kSample + "ServeurStats/ServeurStats.txt"));
  TStatsServer server(std::move(data));
  ASSERT_TRUE(server.Listen(QHostAddress::LocalHost, 0));
  int connections = 0, disconnections = 0;
  std::string said;
  server.Log = [&](const std::string& line) {
    said += line + "\n";
    connections += line.rfind("connexion", 0) == 0 ? 1 : 0;
    disconnections += line == "deconnexion" ? 1 : 0;
  };
  Settings(server.Port());
  Start();
  ASSERT_NE(fMain->StatsSocket(), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return fCapture.Traced("Connexion au Serveur Stats OK"); }));
  EXPECT_EQ(connections, 1);
  auto* socket = fMain->findChild<QTcpSocket*>("CltStatsSocket");
  ASSERT_NE(socket, nullptr);
  EXPECT_EQ(socket->peerPort(), server.Port());

  // The article candidates of a lookup, their codes sent as the editor does.
  TMyDatabase* articles = fMain->Tables().Articles();
  articles->Query("Designation", "^.*DOLIPRANE.*$", Pattern);
  articles->QueryAdd("Designation", "^.*DAFALGAN.*$", Pattern);
  articles->DisplayQuery(fMain->SearchResults().Grid(), "Code;Designation;Prix Achat;Prix Vente", true);
  TMyStringGrid& grid = *fMain->SearchResults().Grid();
  ASSERT_EQ(grid.GetRowCount(), 4);
  std::string codes;
  for (int row = 0; row < grid.GetRowCount(); ++row) codes += (row ? ";" : "") + grid.GetCellByName("Code", row);
  fMain->StatsSocket()->DemanderStatsArticles(codes);
  ASSERT_TRUE(WaitUntil([&] { return grid.GetCellColor(1, 1) != 0xFFFFFF; }));
  // DOLIPRANE 1000 sold once, DOLIPRANE 500 30 times, DAFALGAN has no line.
  EXPECT_EQ(grid.GetCellColor(1, 1), 0xE3FFE3u);
  EXPECT_EQ(grid.GetCellColor(1, 2), 0x82FF82u);
  EXPECT_EQ(grid.GetCellColor(1, 3), 0xE6FFE6u);

  fMain->close();
  EXPECT_EQ(fMain->StatsSocket(), nullptr);
  EXPECT_EQ(fMain->findChild<QTcpSocket*>("CltStatsSocket"), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return disconnections == 1; })) << said;
  EXPECT_TRUE(fCapture.Boxes().empty());
}

// A server that floods: 5 000 duplicates and a note for one client code, and
// counts again and again for one search. The signal panel is written once
// for the flood and keeps its last 100 lines; the rows keep one shade each.
TEST_F(SampleStartTest, AFloodingServerWritesThePanelOnceAndShadesEachRowOnce) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  int articleReplies = 0;
  QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
    QTcpSocket* socket = server.nextPendingConnection();
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, &articleReplies] {
      const std::string asked = socket->readAll().toStdString();
      std::string reply;
      if (asked.find("Doublons;") != std::string::npos) {
        reply += "Doublons";
        for (int i = 0; i < 5000; ++i) reply += ";" + std::to_string(i);
      }
      if (asked.find("Notes Publiques;") != std::string::npos) reply += "Notes Publiques;Paiement comptant";
      if (asked.rfind("Code;", 0) == 0) reply += ++articleReplies % 2 ? "Article;4;2" : "Article;2;4";
      socket->write(reply.data(), static_cast<qint64>(reply.size()));
    });
  });
  Settings(server.serverPort());
  Start();
  ASSERT_TRUE(WaitUntil([&] { return fCapture.Traced("Connexion au Serveur Stats OK"); }));

  QTextEdit* panel = fMain->findChild<QTextEdit*>("Signaling_RichEdit");
  int writes = 0;
  QObject::connect(panel->document(), &QTextDocument::contentsChanged, panel, [&writes] { ++writes; });
  fMain->StatsSocket()->DemanderInfosClient("0101");
  ASSERT_TRUE(WaitUntil([&] { return panel->toPlainText().endsWith(QStringLiteral("Paiement comptant")); }));
  QApplication::processEvents();
  // Once, or twice should the reply come in two reads far apart.
  EXPECT_LE(writes, 2);
  EXPECT_EQ(panel->document()->blockCount(), 100);
  EXPECT_EQ(panel->document()->firstBlock().text().toStdString(), "4901");

  // The candidates of a lookup, shaded by one reply after another, once the
  // idle preparation has made room in the results grid.
  ASSERT_TRUE(WaitUntil([&] { return fMain->IdlePreparationDone(); }));
  TMyStringGrid& grid = *fMain->SearchResults().Grid();
  TMyDatabase* articles = fMain->Tables().Articles();
  articles->Query("Designation", "^.*DOLIPRANE.*$", Pattern);
  FillSearchResults(grid, *articles, SearchLists::Articles);
  SetupSearchColumns(grid, &SearchLists::Articles);
  std::size_t rules = 0;
  std::size_t bytes = 0;
  for (int round = 1; round <= 6; ++round) {
    SCOPED_TRACE(round);
    fMain->StatsSocket()->DemanderStatsArticles("Code;3408919;7968532");
    const TColor strongest = 0x82FF82;
    ASSERT_TRUE(WaitUntil([&] { return grid.GetCellColor(0, round % 2 ? 1 : 2) == strongest; }));
    std::size_t now = 0;
    for (int col = 0; col < grid.GetColCount(); ++col) now += grid.GetColorConstraints(col, 1).size();
    if (round == 1) {
      rules = now;
      bytes = grid.AttributeBytes();
    }
    EXPECT_EQ(now, rules);
    EXPECT_EQ(grid.AttributeBytes(), bytes);
  }
  EXPECT_TRUE(fCapture.Boxes().empty());
}

// A picture of the article candidates shaded by the sample server's counts,
// written only when QUORIX_SCREENSHOT_DIR names a folder.
TEST_F(SampleStartTest, ScreenshotOfTheShadedSearchRows) {
  const char* out = std::getenv("QUORIX_SCREENSHOT_DIR");
  if (out == nullptr || *out == '\0') GTEST_SKIP() << "QUORIX_SCREENSHOT_DIR is not set";
  TStatsServerData data;
  data.LoadFromText(ReadFileBytes(kSample + "ServeurStats/ServeurStats.txt"));
  TStatsServer server(std::move(data));
  ASSERT_TRUE(server.Listen(QHostAddress::LocalHost, 0));
  Settings(server.Port());
  Start();
  fMain->setWindowState(Qt::WindowNoState);
  fMain->resize(1100, 700);
  TMyDatabase* articles = fMain->Tables().Articles();
  articles->Query("Designation", "^.*M.*$", Pattern);
  articles->DisplayQuery(fMain->SearchResults().Grid(), "Code;Designation;Prix Achat;Prix Vente", true);
  TMyStringGrid& grid = *fMain->SearchResults().Grid();
  std::string codes;
  for (int row = 0; row < grid.GetRowCount(); ++row) codes += (row ? ";" : "") + grid.GetCellByName("Code", row);
  grid.SetTop(70);
  grid.SetLeft(300);
  grid.SetHeight(480);
  grid.AutoSizeCols();
  grid.SetWidth(grid.GetNeededWidth());
  grid.SetVisible(true);
  fMain->StatsSocket()->DemanderStatsArticles(codes);
  ASSERT_TRUE(WaitUntil([&] { return grid.GetCellColor(1, 1) != 0xFFFFFF; }));
  QApplication::processEvents();
  EXPECT_TRUE(fMain->grab().save(QString::fromStdString(std::string(out) + "/search_shaded.png")));
  fMain->close();
}
