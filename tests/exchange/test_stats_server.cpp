// The statistics server of the sample installation: its answers, the file
// shipped with the sample, and the program the run command starts.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "CltStatsSocket.h"
#include "FileUtils.h"
#include "MyDatabase.h"
#include "StatsServerData.h"
#include "StatsTestSupport.h"
#include "TestSupport.h"

void QuorixTestInit(int& argc, char** argv) {
  static QCoreApplication* app = new QCoreApplication(argc, argv);
  (void)app;
}

namespace {

const std::string kSample = std::string(QUORIX_SOURCE_DIR) + "/sample/";

}  // namespace

TEST(StatsServer, AnswersEachRequestFromItsFile) {
  TStatsServerData data;
  const int bad = data.LoadFromText(
      "# commentaire\r\n"
      "\r\n"
      "Doublons;0103;0104   PHARMACIE SAINT-EXUP\xC9RY\r\n"
      "Doublons;0103;0114   PHARMACIE DU VIEUX PORT\n"
      "Notes Publiques;0103;Remise de 3 %; antalgiques\r\n"
      "Article;3408919;12\r\n"
      "Article; 7968532 ;0\r\n"
      "Inconnu;0101;x\r\n"
      "Doublons;0101\r\n");
  EXPECT_EQ(bad, 2);
  struct Row {
    const char* name;
    std::string request;
    std::optional<std::string> reply;
  };
  const Row rows[] = {
      {"duplicates", "Doublons;0103", "Doublons;0104   PHARMACIE SAINT-EXUP\xC9RY;0114   PHARMACIE DU VIEUX PORT"},
      {"no duplicates: the word alone", "Doublons;0102", "Doublons"},
      {"note, its semicolons kept", "Notes Publiques;0103", "Notes Publiques;Remise de 3 %; antalgiques"},
      {"no note: no reply", "Notes Publiques;0102", std::nullopt},
      {"counts in request order, 0 when unknown", "Code;7968532;3408919;;1111111", "Article;0;12;0;0"},
      {"search without rows", "Code", "Article"},
      {"unknown request", "Bonjour", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(data.Answer(row.request), row.reply);
  }
}

TEST(StatsServer, RequestsSentTogetherAreSplitAtTheirWords) {
  EXPECT_EQ(SplitStatsRequests("Doublons;0101Notes Publiques;0101Code;3408919;7968532"),
            (std::vector<std::string>{"Doublons;0101", "Notes Publiques;0101", "Code;3408919;7968532"}));
  EXPECT_EQ(SplitStatsRequests("Notes Publiques;0101Code"),
            (std::vector<std::string>{"Notes Publiques;0101", "Code"}));
  EXPECT_EQ(SplitStatsRequests(""), std::vector<std::string>{});
}

TEST(StatsServer, SampleFileSpeaksOfTheSampleClientsAndArticles) {
  TTraceCapture capture;
  const std::string bytes = ReadFileBytes(kSample + "ServeurStats/ServeurStats.txt");
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.find("\xC3"), std::string::npos) << "Windows-1252, not UTF-8";
  TStatsServerData data;
  EXPECT_EQ(data.LoadFromText(bytes), 0);

  TMyDatabase clients(kSample + "Data/BaseDeDonneesClients.db");
  TMyDatabase articles(kSample + "Data/BaseDeDonneeArticles.db");
  std::set<std::string> clientCodes, articleCodes;
  for (int r = 0; r < clients.RecordCount(); ++r) clientCodes.insert(clients.DBGetString(clients.GetFieldPos("Code"), r));
  for (int r = 0; r < articles.RecordCount(); ++r) articleCodes.insert(articles.DBGetString(articles.GetFieldPos("Code"), r));

  int withDuplicates = 0, withNotes = 0;
  for (const std::string& code : clientCodes) {
    withDuplicates += data.Answer("Doublons;" + code).value_or("Doublons") != "Doublons" ? 1 : 0;
    withNotes += data.Answer("Notes Publiques;" + code).has_value() ? 1 : 0;
  }
  EXPECT_GE(withDuplicates, 2);
  EXPECT_GE(withNotes, 2);
  EXPECT_LT(withNotes, static_cast<int>(clientCodes.size())) << "some clients have no note";
  EXPECT_LE(data.ClientCount(), clientCodes.size());
  // Every line names a sample client or article.
  for (const std::string& line : SplitLines(bytes)) {
    if (line.empty() || line[0] == '#') continue;
    const std::string kind = line.substr(0, line.find(';'));
    const std::string key = line.substr(kind.size() + 1, line.find(';', kind.size() + 1) - kind.size() - 1);
    EXPECT_TRUE(kind == "Article" ? articleCodes.count(key) == 1 : clientCodes.count(key) == 1) << line;
  }
  // The counts of an article search differ, so the rows get different greens.
  std::string search = "Code";
  for (const std::string& code : articleCodes) search += ";" + code;
  const std::string reply = data.Answer(search).value_or("");
  std::set<std::string> counts;
  for (const std::string& field : SplitStatsFields(reply)) counts.insert(field);
  EXPECT_GE(counts.size(), 10u);
  EXPECT_EQ(counts.count("0"), 1u) << "some articles have no sales";
}

TEST(StatsServer, ProgramServesTheSampleFileOnTheSettingsAddress) {
  quint16 port = 0;
  {
    TScriptedServer probe;
    port = probe.Port();
  }
  TTempDir dir;
  WriteFileBytes(dir.File("parametres.ini"), ConnexionSettings(port));
  QProcess server;
  server.setProcessChannelMode(QProcess::MergedChannels);
  server.start(QString::fromStdString(QUORIX_STATS_SERVER),
               {"--data", QString::fromStdString(kSample + "ServeurStats/ServeurStats.txt"), "--settings",
                QString::fromStdString(dir.File("parametres.ini"))});
  QByteArray said;
  ASSERT_TRUE(WaitUntil([&] {
    said += server.readAllStandardOutput();
    return said.contains("ecoute sur 127.0.0.1") || server.state() == QProcess::NotRunning;
  }));
  ASSERT_EQ(server.state(), QProcess::Running);

  TTraceCapture capture;
  TRecordingStatsDisplay display;
  TCltStatsSocket client(display);
  client.ConnectStatsServer(dir.File("parametres.ini"));
  client.DemanderInfosClient("0103");
  ASSERT_TRUE(WaitUntil([&] { return display.Lines.size() >= 3; }));
  EXPECT_EQ(display.Lines.back().second, StatsProtocol::NotesColor);
  client.Close();
  server.kill();
  server.waitForFinished();
}

TEST(StatsServer, ProgramLeavesAnotherMachinesServerAlone) {
  TTempDir dir;
  WriteFileBytes(dir.File("parametres.ini"), "[Connexion]\r\n   InformerIP = 10.1.2.3\r\n   InformerPort = 4590\r\n");
  QProcess server;
  server.setProcessChannelMode(QProcess::MergedChannels);
  server.start(QString::fromStdString(QUORIX_STATS_SERVER),
               {"--data", QString::fromStdString(kSample + "ServeurStats/ServeurStats.txt"), "--settings",
                QString::fromStdString(dir.File("parametres.ini"))});
  ASSERT_TRUE(WaitUntil([&] { return server.state() == QProcess::NotRunning; }));
  EXPECT_EQ(server.exitCode(), 0);
  EXPECT_TRUE(server.readAllStandardOutput().contains("pas sur cette machine"));
}
