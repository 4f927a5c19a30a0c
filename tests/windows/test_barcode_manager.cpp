// The merge of the shared barcode queue into the articles, start after start.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BarCodeManager.h"
#include "MyDatabase.h"
#include "TestSupport.h"

namespace {

// Three articles; the second has no barcode yet.
const char* kArticles =
    "Code;Designation;Prix Achat;Prix Vente;Coef;Poids;Code Barre\r\n"
    "3408919;DOLIPRANE 1000MG CPR B/8;43,62;55,90;1,2815;0,7189;3400934089190\r\n"
    "4674592;DAFALGAN 1G CPR PELL. B/8;1,00;1,50;1,5000;0,1000;\r\n"
    "6713250;B\xC9PANTH\xC8NE 5% POMMADE TUBE 100G;2,00;3,00;1,5000;0,2000;\r\n";

class BarcodeMergeTest : public ::testing::Test {
protected:
  BarcodeMergeTest() {
    WriteFileBytes(Articles(), kArticles);
  }
  std::string Articles() const { return fDir.File("BaseDeDonneeArticles.db"); }
  std::string Queue() const { return fDir.File("BaseDeDonneesCodeBarre.db"); }
  void Queue(const std::string& records) { WriteFileBytes(Queue(), "Code;Code Barre\r\n" + records); }

  // One start of the program: the articles as read from their file, merged.
  void Start() {
    fCapture.Clear();
    fTable = std::make_unique<TMyDatabase>(Articles());
    TBarCodeManager manager(fTable.get(), Queue());
  }
  std::string Barcode(const std::string& code) const {
    for (int r = 0; r < fTable->RecordCount(); ++r) {
      if (fTable->DBGetString(fTable->GetFieldPos("Code"), r) == code)
        return fTable->DBGetString(fTable->GetFieldPos("Code Barre"), r);
    }
    return "?";
  }
  std::string QueueText() const { return ReadFileBytes(Queue()); }

  TTempDir fDir;
  TTraceCapture fCapture;
  std::unique_ptr<TMyDatabase> fTable;
};

}  // namespace

TEST_F(BarcodeMergeTest, NewBarcodeIsCopiedAtTheFirstStartAndLeavesTheQueueAtTheSecond) {
  Queue("4674592;3400946745923\r\n");
  Start();
  EXPECT_EQ(Barcode("4674592"), "3400946745923");
  EXPECT_NE(ReadFileBytes(Articles()).find("DAFALGAN 1G CPR PELL. B/8;1,00;1,50;1,5000;0,1000;3400946745923\r\n"),
            std::string::npos)
      << "the articles are written by the merge";
  EXPECT_EQ(QueueText(), "Code;Code Barre\r\n4674592;3400946745923\r\n");
  EXPECT_TRUE(fCapture.Traced("Code en cours : 4674592"));

  Start();
  EXPECT_EQ(QueueText(), "Code;Code Barre\r\n");
  EXPECT_EQ(Barcode("4674592"), "3400946745923");
  const std::vector<std::string> cycle = {"Cycle complet r\xE9" "alis\xE9 pour :", "  CIP : 4674592",
                                          "  Code Barre 3400946745923",
                                          "  D\xE9signation : DAFALGAN 1G CPR PELL. B/8"};
  for (const std::string& line : cycle) EXPECT_TRUE(fCapture.Traced(line)) << line;
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(BarcodeMergeTest, EntriesThatCannotBeMergedStayInTheQueueUntouched) {
  struct Row {
    const char* name;
    std::string record;
  };
  const Row rows[] = {
      {"wrong check digit", "4674593;3400946745930"},
      {"barcode of exactly 5 characters", "4674592;34009"},
      {"no article with that code", "2661728;3400926617288"},
      {"code of six digits", "467459;3400946745923"},
      {"letters in the code", "46745A2;3400946745923"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Queue(row.record + "\r\n");
    for (int start = 0; start < 2; ++start) {
      Start();
      EXPECT_EQ(QueueText(), "Code;Code Barre\r\n" + row.record + "\r\n");
      EXPECT_EQ(ReadFileBytes(Articles()), kArticles);
    }
    EXPECT_TRUE(fCapture.Boxes().empty());
  }
}

TEST_F(BarcodeMergeTest, SixCharacterBarcodeIsMergedAndACompletedEntryLeavesAtOnce) {
  // The first entry is the shortest barcode merged; the second is one the
  // article already carries, so its cycle completes at this very start.
  Queue("4674592;340094\r\n3408919;3400934089190\r\n");
  Start();
  EXPECT_EQ(Barcode("4674592"), "340094");
  EXPECT_EQ(QueueText(), "Code;Code Barre\r\n4674592;340094\r\n");
}

TEST_F(BarcodeMergeTest, TwoEntriesForOneArticleKeepRewritingIt) {
  Queue("6713250;3400967132504\r\n6713250;3400967132511\r\n");
  for (int start = 0; start < 3; ++start) {
    Start();
    EXPECT_EQ(Barcode("6713250"), "3400967132511");
    EXPECT_EQ(QueueText(), "Code;Code Barre\r\n6713250;3400967132504\r\n6713250;3400967132511\r\n");
  }
}

TEST_F(BarcodeMergeTest, SharedTableThatCannotBeWrittenLeavesBothTablesAsTheyWere) {
  // A new barcode and a completed entry: neither the articles (file and
  // memory) nor the queue may change when the queue cannot be saved.
  std::unique_ptr<TMyDatabase> queue(
      TMyDatabase::CreateEmpty(fDir.File("share-gone/BaseDeDonneesCodeBarre.db"), "Code;Code Barre"));
  for (const char* record : {"4674592;3400946745923", "3408919;3400934089190"}) {
    const int r = queue->AddRecord();
    queue->SetData("Code", r, std::string(record).substr(0, 7));
    queue->SetData("Code Barre", r, std::string(record).substr(8));
  }
  fTable = std::make_unique<TMyDatabase>(Articles());
  TBarCodeManager manager(fTable.get(), std::move(queue));
  EXPECT_EQ(Barcode("4674592"), "");
  EXPECT_EQ(ReadFileBytes(Articles()), kArticles);
  EXPECT_EQ(manager.Copied(), 0);
  EXPECT_EQ(manager.Completed(), 0);
  EXPECT_TRUE(fCapture.Boxes().empty());
  // Closing the program saves the articles as they were read.
  fTable->Save();
  EXPECT_EQ(ReadFileBytes(Articles()), kArticles);
}

TEST_F(BarcodeMergeTest, QueueWithoutTheFieldsIsLeftAlone) {
  WriteFileBytes(Queue(), "CIP;EAN\r\n4674592;3400946745923\r\n");
  Start();
  EXPECT_EQ(ReadFileBytes(Queue()), "CIP;EAN\r\n4674592;3400946745923\r\n");
  EXPECT_EQ(ReadFileBytes(Articles()), kArticles);
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(BarcodeMergeTest, TheQueueIsWrittenOnlyWhenAnEntryLeavesAndKeepsWhatWasQueuedMeanwhile) {
  // Nothing leaves: a queue the desk may not write is only read, and the
  // article gets its barcode all the same.
  Queue("4674592;3400946745923\r\n");
  std::filesystem::permissions(Queue(), std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                            std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  Start();
  EXPECT_EQ(Barcode("4674592"), "3400946745923");
  EXPECT_NE(ReadFileBytes(Articles()).find(";3400946745923\r\n"), std::string::npos);
  std::filesystem::permissions(Queue(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);

  // An entry leaves while the capture station queues another one after the
  // merge read the queue: the new one stays.
  auto read = std::make_unique<TMyDatabase>(Queue());
  WriteFileBytes(Queue(), QueueText() + "6713250;3400967132504\r\n");
  fTable = std::make_unique<TMyDatabase>(Articles());
  TBarCodeManager manager(fTable.get(), std::move(read));
  EXPECT_EQ(manager.Completed(), 1);
  EXPECT_EQ(QueueText(), "Code;Code Barre\r\n6713250;3400967132504\r\n");
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(BarcodeMergeTest, ALineBreakInAQueuedBarcodeReachesTheArticleAsAComma) {
  // The table reader turns the two characters "\n" into a line break.
  Queue("4674592;34009\\n46745923\r\n");
  fTable = std::make_unique<TMyDatabase>(Articles());
  TBarCodeManager first(fTable.get(), Queue());
  EXPECT_EQ(first.Signals(), std::vector<std::string>{"Code barre de l'article 4674592 : ';', retour a la ligne ou "
                                                       "octet nul remplace par ','"});
  EXPECT_EQ(Barcode("4674592"), "34009,46745923");
  fTable = std::make_unique<TMyDatabase>(Articles());
  EXPECT_EQ(Barcode("4674592"), "34009,46745923") << "as saved";
  TBarCodeManager second(fTable.get(), Queue());
  EXPECT_EQ(second.Signals(), std::vector<std::string>{}) << "said once, when the article took it";
  EXPECT_EQ(QueueText(), "Code;Code Barre\r\n") << "its cycle completes";
}
