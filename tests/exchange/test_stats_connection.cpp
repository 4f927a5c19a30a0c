// The statistics connection against servers on 127.0.0.1: the sample server
// run in-process, and scripted servers that answer oddly or not at all.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTcpSocket>
#include <QTimer>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CltStatsSocket.h"
#include "StatsServer.h"
#include "StatsServerData.h"
#include "StatsTestSupport.h"
#include "TestSupport.h"

void QuorixTestInit(int& argc, char** argv) {
  static QCoreApplication* app = new QCoreApplication(argc, argv);
  (void)app;
}

namespace {

constexpr TColor kGreen = 0x008000;
constexpr TColor kBlue = 0xFF0000;
using TLines = std::vector<std::pair<std::string, TColor>>;

const char* kServerData =
    "Doublons;0103;0104   PHARMACIE SAINT-EXUP\xC9RY (LYON, m\xEAme pays)\r\n"
    "Doublons;0103;0114   PHARMACIE DU VIEUX PORT (MARSEILLE, m\xEAme pays)\r\n"
    "Notes Publiques;0103;Client historique : remise de 3 %; sur les antalgiques\r\n"
    "Article;3408919;10\r\n"
    "Article;7968532;40\r\n";

class StatsConnectionTest : public ::testing::Test {
protected:
  // A client connected to a server on the given port, through a settings file.
  void Connect(int port) {
    WriteFileBytes(fDir.File("parametres.ini"), ConnexionSettings(port));
    fClient = std::make_unique<TCltStatsSocket>(fDisplay);
    fClient->ConnectStatsServer(fDir.File("parametres.ini"));
  }
  bool Traced(const std::string& line) const { return fCapture.Traced(line); }

  TTempDir fDir;
  TTraceCapture fCapture;
  TRecordingStatsDisplay fDisplay;
  std::unique_ptr<TCltStatsSocket> fClient;
};

}  // namespace

TEST_F(StatsConnectionTest, ClientHintsAndArticleCountsFromTheSampleServer) {
  TStatsServerData data;
  ASSERT_EQ(data.LoadFromText(kServerData), 0);
  TStatsServer server(std::move(data));
  ASSERT_TRUE(server.Listen(QHostAddress::LocalHost, 0));
  Connect(server.Port());
  ASSERT_TRUE(WaitUntil([&] { return Traced("Connexion au Serveur Stats OK"); }));

  // Entering a client code sends both requests back to back; their replies
  // may come in one read or two.
  fClient->DemanderInfosClient("0103");
  ASSERT_TRUE(WaitUntil([&] { return fDisplay.Lines.size() >= 3; }));
  const TLines expected = {{"0104   PHARMACIE SAINT-EXUP\xC9RY (LYON, m\xEAme pays)", kGreen},
                           {"0114   PHARMACIE DU VIEUX PORT (MARSEILLE, m\xEAme pays)", kGreen},
                           {"Client historique : remise de 3 %", kBlue}};
  EXPECT_EQ(fDisplay.Lines, expected);

  // An article search: the "Code" column from the title down; an article the
  // server has no count for takes field 0.
  fClient->DemanderStatsArticles("Code;3408919;7968532;2661728");
  ASSERT_TRUE(WaitUntil([&] { return fDisplay.RowColors()[1] != 0xFFFFFF; }));
  EXPECT_EQ(fDisplay.RowColors(), (std::vector<TColor>{0xCDFFCD, 0x82FF82, 0xE6FFE6}));
  EXPECT_FALSE(Traced("Socket Stats ERROR"));
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(StatsConnectionTest, RequestsAreSentBackToBackWithoutTerminator) {
  TScriptedServer server;
  Connect(server.Port());
  fClient->DemanderInfosClient("0101");
  fClient->DemanderStatsArticles("Code;3408919;");
  const std::string expected = "Doublons;0101Notes Publiques;0101Code;3408919;";
  ASSERT_TRUE(WaitUntil([&] { return server.AllReceived().size() >= expected.size(); }));
  EXPECT_EQ(server.AllReceived(), expected);
  EXPECT_EQ(server.Connections, 1) << "requests written while connecting wait for the connection";
}

TEST_F(StatsConnectionTest, TwoRepliesArrivingInOneReadAreBothShown) {
  TScriptedServer server;
  server.OnReceived = [](QTcpSocket& socket, const std::string& all) {
    if (all.find("Notes Publiques;0101") == std::string::npos) return;
    socket.write("Doublons;0105   LABOREX;0106   PHARMACIE DU FLEUVENotes Publiques;Paiement comptant");
  };
  Connect(server.Port());
  fClient->DemanderInfosClient("0101");
  ASSERT_TRUE(WaitUntil([&] { return fDisplay.Lines.size() >= 3; }));
  const TLines expected = {
      {"0105   LABOREX", kGreen}, {"0106   PHARMACIE DU FLEUVE", kGreen}, {"Paiement comptant", kBlue}};
  EXPECT_EQ(fDisplay.Lines, expected);
}

TEST_F(StatsConnectionTest, AReplyCutOverSeveralReadsIsHandledWhole) {
  TScriptedServer server;
  Connect(server.Port());
  fClient->DemanderStatsArticles("Code;3408919;7968532;2661728");
  fClient->Receive("Arti");
  fClient->Receive("cle;1;4");
  fClient->Receive("0;20");
  ASSERT_TRUE(WaitUntil([&] { return fDisplay.RowColors()[0] != 0xFFFFFF; }));
  EXPECT_EQ(fDisplay.RowColors(), (std::vector<TColor>{0xE4FFE4, 0x82FF82, 0xB4FFB4}));
}

TEST_F(StatsConnectionTest, AServerThatFloodsIsClosedPastItsAllowanceAndShowsOnlyWhatWasAsked) {
  // After one client code, the server answers with one duplicate line and
  // then sends duplicates without end.
  TScriptedServer server;
  std::string flood;
  for (int i = 0; i < 20000; ++i) flood += "Doublons;0105   LABOREX";
  server.OnReceived = [&flood](QTcpSocket& socket, const std::string& all) {
    if (all.find("Notes Publiques;0101") == std::string::npos) return;
    socket.write("Doublons;0105   LABOREX");
    QTimer::singleShot(200, &socket, [&socket, &flood] {
      for (int i = 0; i < 3; ++i) socket.write(flood.data(), static_cast<qint64>(flood.size()));
    });
  };
  Connect(server.Port());
  fClient->DemanderInfosClient("0101");
  ASSERT_TRUE(WaitUntil([&] { return server.Disconnections == 1; }));
  EXPECT_TRUE(Traced("Serveur Stats : plus de 262164 octets recus pour une demande, connexion fermee"));
  EXPECT_EQ(fDisplay.Lines, (TLines{{"0105   LABOREX", kGreen}})) << "only the reply that was asked for";
  EXPECT_FALSE(fClient->Active());
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(StatsConnectionTest, ServerThatNeverAnswersLeavesEverythingQuiet) {
  TScriptedServer server;
  Connect(server.Port());
  fClient->DemanderInfosClient("0101");
  ASSERT_TRUE(WaitUntil([&] { return server.AllReceived().find("Notes Publiques;0101") != std::string::npos; }));
  LetEventsSettle(5 * TCltStatsSocket::kQuietMs);
  EXPECT_TRUE(fDisplay.Lines.empty());
  EXPECT_TRUE(fClient->Active());
  EXPECT_FALSE(Traced("Socket Stats ERROR"));
  EXPECT_TRUE(fCapture.Boxes().empty());
  // Closing does not wait for the server.
  fClient->Close();
  EXPECT_FALSE(fClient->Active());
  ASSERT_TRUE(WaitUntil([&] { return server.Disconnections == 1; }));
}

TEST_F(StatsConnectionTest, ServerThatClosesAtOnceIsTracedAndTheNextRequestReconnects) {
  TScriptedServer server;
  server.CloseAtOnce = true;
  Connect(server.Port());
  ASSERT_TRUE(WaitUntil([&] { return Traced("Socket Stats ERROR"); }));
  EXPECT_TRUE(fCapture.Boxes().empty()) << "socket errors show no box";
  ASSERT_TRUE(WaitUntil([&] { return !fClient->Active(); }));

  fCapture.Clear();
  fClient->DemanderInfosClient("0101");
  ASSERT_TRUE(WaitUntil([&] { return server.Connections == 2 && Traced("Socket Stats ERROR"); }));
  EXPECT_TRUE(fDisplay.Lines.empty());
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(StatsConnectionTest, NoServerListeningIsTracedSilently) {
  quint16 port = 0;
  {
    TScriptedServer probe;  // a port that was free a moment ago
    port = probe.Port();
  }
  Connect(port);
  ASSERT_TRUE(WaitUntil([&] { return Traced("Socket Stats ERROR"); }));
  fClient->DemanderStatsArticles("Code;3408919");
  EXPECT_TRUE(fCapture.Boxes().empty());
  EXPECT_FALSE(Traced("Connexion au Serveur Stats OK"));
}

TEST_F(StatsConnectionTest, MissingConnexionSettingsShowTheReaderBoxesThenFailQuietly) {
  WriteFileBytes(fDir.File("parametres.ini"), "[Positions]\r\n   CurrentClientListRow = 1\r\n");
  fClient = std::make_unique<TCltStatsSocket>(fDisplay);
  fClient->ConnectStatsServer(fDir.File("parametres.ini"));
  const std::vector<std::string> boxes = {
      "*ERROR*TIniManager.Get : [Connexion]/InformerPort n'existe pas",
      "*ERROR*Ini_Manager_Unit:TIniManager:GetInt:Can't Find Connexion InformerPort",
      "*ERROR*TIniManager.Get : [Connexion]/InformerIP n'existe pas",
  };
  EXPECT_EQ(fCapture.Boxes(), boxes);
  EXPECT_EQ(fClient->Port(), 0);
  EXPECT_EQ(fClient->Host(), "");
  EXPECT_TRUE(Traced("Socket Stats ERROR"));
  fCapture.Clear();
  fClient->DemanderInfosClient("0101");
  EXPECT_TRUE(fCapture.Boxes().empty());
  EXPECT_FALSE(fClient->Active());
}

TEST_F(StatsConnectionTest, NothingIsHandledAfterClose) {
  TScriptedServer server;
  QTcpSocket* peer = nullptr;
  server.OnReceived = [&peer](QTcpSocket& socket, const std::string&) { peer = &socket; };
  Connect(server.Port());
  fClient->DemanderInfosClient("0101");
  ASSERT_TRUE(WaitUntil([&] { return peer != nullptr; }));
  fClient->Close();
  peer->write("Doublons;0105   LABOREX");
  ASSERT_TRUE(WaitUntil([&] { return server.Disconnections == 1; }));
  LetEventsSettle(3 * TCltStatsSocket::kQuietMs);
  EXPECT_TRUE(fDisplay.Lines.empty());
  fClient->DemanderInfosClient("0101");
  LetEventsSettle(3 * TCltStatsSocket::kQuietMs);
  EXPECT_EQ(server.Connections, 1) << "a closed connection is not opened again";
}
