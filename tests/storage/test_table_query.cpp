// Queries, sorted indexes and the display of a result.

#include <gtest/gtest.h>

#include <set>

#include "MyDatabase.h"
#include "StorageTestUtil.h"
#include "StringManager.h"
#include "TestSupport.h"

namespace {

const char* const kClients =
    "Code;Societe;Ville\r\n"
    "C003;PHARMACIE CENTRALE;DAKAR\r\n"   // 0
    "C001;PHARMACIE DU PORT;ABIDJAN\r\n"  // 1
    "C011;GROSSISTE DU SUD;LOME\r\n"      // 2
    "C001;DOUBLON;ABIDJAN\r\n"            // 3
    ";SANS CODE;BAMAKO\r\n"               // 4
    "C0011;PHARMACIE LONGUE;DAKAR\r\n"    // 5
    "C001\\n;AVEC RETOUR;DAKAR\r\n";      // 6

const char* const kArticles =
    "Code;Designation\r\n"
    "3400001;DOLIPRANE 500MG GELULES\r\n"  // 0
    "3400002;DAFALGAN 1G\r\n"              // 1
    "3400003;DOLI\r\n"                     // 2
    "3400004;DOLIPRANE 1000MG CPR\r\n"     // 3
    "3400005;EFFERALGAN\r\n"               // 4
    "3400006;DOLIPRANE 1000MG SACHETS\r\n"  // 5
    "3400007;ZYRTEC\r\n";                  // 6

class TableQuery : public ::testing::Test {
protected:
  TTempDir fDir;
  TTraceCapture fCapture;
};

}  // namespace

TEST_F(TableQuery, ExactFindsTheRecordsWithThatCode) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Code", "C001", Exact);
  // The pattern "^C001$" also accepts C001 followed by a final line break,
  // which comes after the two equal codes (in either order) in the index.
  const std::vector<int> records = ResultRecords(*db);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(std::set<int>(records.begin(), records.begin() + 2), (std::set<int>{1, 3}));
  EXPECT_EQ(records[2], 6);
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(TableQuery, ExactWithAnEmptyValueFindsNothing) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Code", "", Exact);
  EXPECT_EQ(db->QueryResultCount(), 0);
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(TableQuery, ExactKeepsPatternCharactersOfTheValue) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Code", "C0.1", Exact);
  EXPECT_EQ(ResultValues(*db, "Code"), (std::vector<std::string>{"C001", "C001", "C001\r\n", "C011"}));
  db->Query("Ville", "DAKAR|LOME", Exact);
  // "^DAKAR|LOME$": the alternation splits the anchors.
  EXPECT_EQ(ResultRecords(*db).size(), 4u);
}

TEST_F(TableQuery, PrefixFindsTheBeginningsInIndexOrder) {
  auto db = TableFromBytes(fDir, kArticles);
  db->Query("Designation", "DOLI", Prefix);
  EXPECT_EQ(ResultValues(*db, "Designation"),
            (std::vector<std::string>{"DOLI", "DOLIPRANE 1000MG CPR", "DOLIPRANE 1000MG SACHETS",
                                      "DOLIPRANE 500MG GELULES"}));
}

TEST_F(TableQuery, PrefixAlsoFindsAValueThatBeginsTheKey) {
  auto db = TableFromBytes(fDir, kArticles);
  db->Query("Designation", "DOLIPRANE 1000", Prefix);
  EXPECT_EQ(ResultValues(*db, "Designation"),
            (std::vector<std::string>{"DOLI", "DOLIPRANE 1000MG CPR", "DOLIPRANE 1000MG SACHETS"}));
  // Nothing begins with the key: the longest beginning of it answers.
  db->Query("Designation", "DOLIPRANE 2000", Prefix);
  EXPECT_EQ(ResultValues(*db, "Designation"), std::vector<std::string>{"DOLI"});
  db->Query("Designation", "ASPIRINE", Prefix);
  EXPECT_EQ(db->QueryResultCount(), 0);
  db->Query("Designation", "ZZZ", Prefix);
  EXPECT_EQ(db->QueryResultCount(), 0);
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(TableQuery, PrefixWithAnEmptyKeyFindsOnlyEmptyValues) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Code", "", Prefix);
  EXPECT_EQ(ResultValues(*db, "Societe"), std::vector<std::string>{"SANS CODE"});
}

TEST_F(TableQuery, PrefixOnCodesOfOneLength) {
  auto db = TableFromBytes(fDir, kArticles);
  db->Query("Code", "340000", Prefix);
  EXPECT_EQ(db->QueryResultCount(), 7);
  db->Query("Code", "3400006", Prefix);
  EXPECT_EQ(ResultRecords(*db), std::vector<int>{5});
}

TEST_F(TableQuery, PrefixOnATableWithEveryRecordDeletedReportsTheBounds) {
  auto db = TableFromBytes(fDir, "Code;Designation\r\nA;DOLI\r\nB;DOLIPRANE\r\n");
  db->Delete(0);
  db->Delete(1);
  db->Query("Designation", "DOLI", Prefix);
  EXPECT_EQ(db->QueryResultCount(), 0);
  EXPECT_EQ(fCapture.Boxes(),
            std::vector<std::string>{"*ERROR*TMyDatabase.DichotomicFindFirst:Paire Start / Finish non valide : 0,-1"});
}

TEST_F(TableQuery, DichotomicFindFirstChecksItsArguments) {
  auto db = TableFromBytes(fDir, kArticles);
  EXPECT_EQ(db->DichotomicFindFirst(nullptr, "DOLI", 0, 1), std::make_pair(-1, -1));
  auto other = TableFromBytes(fDir, kClients, "other.db");
  EXPECT_EQ(other->DichotomicFindFirst(&db->GetFieldIndex(1), "DOLI", 0, 1), std::make_pair(-1, -1));
  const TFieldIndex& index = db->GetFieldIndex(1);
  EXPECT_EQ(db->DichotomicFindFirst(&index, "DOLI", 3, 2), std::make_pair(-1, -1));
  EXPECT_EQ(db->DichotomicFindFirst(&index, "DOLI", 0, 7), std::make_pair(-1, -1));
  EXPECT_EQ(fCapture.Boxes(),
            (std::vector<std::string>{"*ERROR*TMyDatabase.DichotomicFindFirst:liste index non assignee",
                                      "*ERROR*TMyDatabase.DichotomicFindFirst:liste index non assignee",
                                      "*ERROR*TMyDatabase.DichotomicFindFirst:Paire Start / Finish non valide : 3,2",
                                      "*ERROR*TMyDatabase.DichotomicFindFirst:Paire Start / Finish non valide : 0,7"}));
  // Positions in the index: DAFALGAN, DOLI, DOLIPRANE 1000 x2, DOLIPRANE 500, ...
  EXPECT_EQ(db->DichotomicFindFirst(&index, "DOLIPRANE", 0, 6), std::make_pair(1, 4));
  EXPECT_EQ(db->DichotomicFindFirst(&index, "DOLIPRANE", 3, 6), std::make_pair(3, 4));
}

// Numbers of unequal length are not in byte order; the search then probes
// the ends and the middle of the range as it halves it.
TEST_F(TableQuery, PrefixOnNumbersOfUnequalLength) {
  auto db = TableFromBytes(fDir, "Poids\r\n5\r\n10\r\n50\r\n100\r\n500\r\n");
  EXPECT_EQ(IndexValues(*db, 0), (std::vector<std::string>{"5", "10", "50", "100", "500"}));
  db->Query("Poids", "50", Prefix);
  EXPECT_EQ(ResultValues(*db, "Poids"), (std::vector<std::string>{"50"}));
  // Probing lands on 50, a beginning of the key, and widens around it only:
  // the neighbours 10 and 100 do not match.
  db->Query("Poids", "500", Prefix);
  EXPECT_EQ(ResultValues(*db, "Poids"), (std::vector<std::string>{"50"}));
  db->Query("Poids", "7", Prefix);
  EXPECT_EQ(db->QueryResultCount(), 0);
}

TEST_F(TableQuery, IndexesUseTheTypedOrder) {
  auto db = TableFromBytes(fDir,
                           "Qte;Num Facture;Date;Num Avoir\r\n"
                           "100;FA31710;15/01/2024;AV1000\r\n"
                           "9;FA31702;01/02/2024;AV999\r\n"
                           "10;FA31709;31/12/2023;AV0998\r\n");
  EXPECT_EQ(IndexValues(*db, 0), (std::vector<std::string>{"9", "10", "100"}));
  EXPECT_EQ(IndexValues(*db, 1), (std::vector<std::string>{"FA31702", "FA31709", "FA31710"}));
  EXPECT_EQ(IndexValues(*db, 2), (std::vector<std::string>{"31/12/2023", "15/01/2024", "01/02/2024"}));
  EXPECT_EQ(IndexValues(*db, 3), (std::vector<std::string>{"AV0998", "AV999", "AV1000"}));
  db->Query("Qte", ".*", Pattern);
  EXPECT_EQ(ResultValues(*db, "Qte"), (std::vector<std::string>{"9", "10", "100"}));
  db->Query("Qte", "10", Exact);
  EXPECT_EQ(ResultRecords(*db), std::vector<int>{2});
  db->Query("Num Avoir", "AV999", Exact);
  EXPECT_EQ(ResultRecords(*db), std::vector<int>{1});
}

TEST_F(TableQuery, PatternRunsTheValueAsAPattern) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Societe", "^PHARMACIE", Pattern);
  EXPECT_EQ(ResultValues(*db, "Societe"),
            (std::vector<std::string>{"PHARMACIE CENTRALE", "PHARMACIE DU PORT", "PHARMACIE LONGUE"}));
  db->Query("Societe", "pharmacie", Pattern);
  EXPECT_EQ(db->QueryResultCount(), 0);
  db->Query("Code", "^$", Pattern);
  EXPECT_EQ(db->QueryResultCount(), 0) << "an empty match does not count";
}

TEST_F(TableQuery, BadPatternAbandonsTheQuery) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Code", "C001", Exact);
  ASSERT_EQ(db->QueryResultCount(), 3);
  try {
    db->Query("Societe", "PHARMA(CIE", Pattern);
    FAIL() << "no exception";
  } catch (const ERegExError& e) {
    EXPECT_EQ(e.Message.rfind("TPerlRegEx.Compile() - Error in regex at offset ", 0), 0u) << e.Message;
  }
  EXPECT_EQ(db->QueryResultCount(), 0);

  db->Query("Code", "C001", Exact);
  EXPECT_THROW(db->QueryAdd("Societe", "", Pattern), ERegExError);
  EXPECT_EQ(db->QueryResultCount(), 3) << "QueryAdd leaves the previous result";
  try {
    db->Query("Code", "", Pattern);
    FAIL() << "no exception";
  } catch (const ERegExError& e) {
    EXPECT_EQ(e.Message, "TPerlRegEx.Compile() - Please specify a regular expression in RegEx first");
  }
  // An Exact value that is no valid pattern fails the same way.
  EXPECT_THROW(db->Query("Code", "C(01", Exact), ERegExError);
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(TableQuery, BadPatternIsReportedEvenOnAnEmptyTable) {
  auto db = TableFromBytes(fDir, "Code;Societe\r\n");
  EXPECT_THROW(db->Query("Societe", "(", Pattern), ERegExError);
}

TEST_F(TableQuery, UnknownFieldAnswersNothing) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Code", "C003", Exact);
  db->QueryAdd("Pays", "X", Exact);
  EXPECT_EQ(ResultRecords(*db), std::vector<int>{0});
  db->Query("Pays", "X", Exact);
  EXPECT_EQ(db->QueryResultCount(), 0);
  EXPECT_EQ(fCapture.Boxes(),
            (std::vector<std::string>{"*ERROR*TMyDatabase.GetFieldPos:impossible de trouver le champ Pays",
                                      "*ERROR*TMyDatabase.GetFieldPos:impossible de trouver le champ Pays"}));
}

TEST_F(TableQuery, QueryAllGivesTheLiveRecordsInRecordOrder) {
  auto db = TableFromBytes(fDir, kClients);
  db->Delete(2);
  db->QueryAll();
  EXPECT_EQ(ResultRecords(*db), (std::vector<int>{0, 1, 3, 4, 5, 6}));
}

TEST_F(TableQuery, QueryAllOnEmptyTables) {
  auto allDeleted = TableFromBytes(fDir, "A\r\nx\r\n", "deleted.db");
  allDeleted->Delete(0);
  allDeleted->QueryAll();
  EXPECT_EQ(allDeleted->QueryResultCount(), 0);
  EXPECT_FALSE(fCapture.Traced("TMyDatabase.QueryAll: Requete sur base vide"));

  auto noRecords = TableFromBytes(fDir, "A;B\r\n", "header.db");
  noRecords->QueryAll();
  EXPECT_EQ(noRecords->QueryResultCount(), 0);
  EXPECT_TRUE(fCapture.Traced("TMyDatabase.QueryAll: Requete sur base vide"));
  TMyDatabase missing(fDir.File("missing.db"));
  fCapture.Clear();
  missing.QueryAll();
  EXPECT_EQ(fCapture.Lines(), std::vector<std::string>{"TMyDatabase.QueryAll: Requete sur base vide"});
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(TableQuery, QueryAddAppendsNewRecordsOnce) {
  auto db = TableFromBytes(fDir,
                           "Num Facture;Code client;Societe\r\n"
                           "FA00001;C002;PHARMACIE B\r\n"  // 0
                           "FA00002;C001;PHARMACIE A\r\n"  // 1
                           "FA00003;C003;PHARMACIE A\r\n"  // 2
                           "FA00004;C001;PHARMACIE C\r\n"  // 3
                           "FA00005;C004;PHARMACIE A\r\n");  // 4
  db->Query("Code client", "C003", Exact);
  EXPECT_EQ(ResultRecords(*db), (std::vector<int>{2}));
  db->QueryAdd("Code client", "C004", Exact);
  EXPECT_EQ(ResultRecords(*db), (std::vector<int>{2, 4}));
  db->QueryAdd("Societe", "PHARMACIE A", Exact);
  // Records 1, 2 and 4 share the name; only 1 is new.
  EXPECT_EQ(ResultRecords(*db), (std::vector<int>{2, 4, 1}));
  db->QueryAdd("Societe", "PHARMACIE", Prefix);
  // B (0) and C (3) follow, in the index order of Societe.
  EXPECT_EQ(ResultRecords(*db), (std::vector<int>{2, 4, 1, 0, 3}));
  db->QueryAdd("Code client", "C00", Prefix);
  EXPECT_EQ(db->QueryResultCount(), 5);
}

TEST_F(TableQuery, QueryAddOnAnEmptyResultTakesTheAnswer) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Code", "nothing", Exact);
  db->QueryAdd("Ville", "DAKAR", Exact);
  EXPECT_EQ(db->QueryResultCount(), 3);
}

TEST_F(TableQuery, ResultsAreASnapshot) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Code", "C003", Exact);
  ASSERT_EQ(ResultRecords(*db), std::vector<int>{0});
  db->Delete(0);
  db->SetData("Ville", 1, "CHANGE");
  db->AddRecord();
  EXPECT_EQ(ResultRecords(*db), std::vector<int>{0});
  EXPECT_EQ(db->GetQueryResultString("Societe", 0), "PHARMACIE CENTRALE");
  EXPECT_TRUE(fCapture.Boxes().empty());
  db->Query("Code", "C003", Exact);
  EXPECT_EQ(db->QueryResultCount(), 0);
}

TEST_F(TableQuery, GetQueryResultStringOutOfRangeOnlyWarns) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Code", "C011", Exact);
  EXPECT_EQ(db->GetQueryResultString("Code", 1), "");
  EXPECT_EQ(db->GetQueryResultString("Pays", 0), "");
  EXPECT_EQ(db->GetQueryResultString("", 0), "");
  EXPECT_TRUE(fCapture.Boxes().empty());
  EXPECT_EQ(fCapture.Lines(),
            (std::vector<std::string>{"Warning : TMyDatabase.GetQueryResultString: impossible de trouver Code position  1",
                                      "Warning : TMyDatabase.GetQueryResultString: impossible de trouver Pays position  0",
                                      "Warning : TMyDatabase.GetQueryResultString: impossible de trouver  position  0"}));
}

TEST_F(TableQuery, QueryGetDataIndexReports) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Code", "C011", Exact);
  EXPECT_EQ(db->QueryGetDataIndex(0), 2);
  EXPECT_EQ(db->QueryGetDataIndex(1), -1);
  EXPECT_EQ(db->QueryGetDataIndex(-1), -1);
  db->Query("Code", "none", Exact);
  EXPECT_EQ(db->QueryGetDataIndex(0), -1);
  EXPECT_EQ(fCapture.Boxes(), (std::vector<std::string>{"*ERROR*TMyDatabase.QueryGetDataIndex : Bad Pos : 1",
                                                        "*ERROR*TMyDatabase.QueryGetDataIndex : Bad Pos : -1",
                                                        "*ERROR*TMyDatabase.QueryGetDataIndex : No Query Results Assigned"}));
}

TEST_F(TableQuery, StaleIndexesAreRebuiltWhenAQueryNeedsThem) {
  auto db = TableFromBytes(fDir, kClients);
  db->SetData("Code", 4, "C000");
  db->SetData("Ville", 4, "ACCRA");
  EXPECT_FALSE(db->GetIndexValid(0));
  EXPECT_FALSE(db->GetIndexValid(2));
  // QueryAdd brings only its own field up to date.
  db->QueryAdd("Code", "C000", Exact);
  EXPECT_EQ(ResultRecords(*db), std::vector<int>{4});
  EXPECT_TRUE(db->GetIndexValid(0));
  EXPECT_FALSE(db->GetIndexValid(2));
  // Query and QueryAll bring every field up to date.
  db->Query("Code", "C000", Exact);
  EXPECT_TRUE(db->GetIndexValid(2));
  EXPECT_EQ(IndexValues(*db, 2).front(), "ABIDJAN");
  db->SetData("Ville", 4, "ZINDER");
  db->QueryAll();
  EXPECT_TRUE(db->GetIndexValid(2));
  EXPECT_EQ(IndexValues(*db, 2).back(), "ZINDER");
}

namespace {
class TCountingSink : public TTraceSink {
public:
  void AddLine(const std::string&) override {}
  void Refresh() override { ++Refreshes; }
  int Refreshes = 0;
};
}  // namespace

// Deleting takes a record out of every index: when SetData on one field
// makes it live again, the other fields must find it too.
TEST_F(TableQuery, RevivedRecordIsFoundByEveryField) {
  auto db = TableFromBytes(fDir, kClients);
  db->Delete(2);
  db->Query("Ville", "LOME", Exact);
  EXPECT_EQ(db->QueryResultCount(), 0);
  db->SetData("Code", 2, "C012");
  db->Query("Ville", "LOME", Exact);
  EXPECT_EQ(ResultRecords(*db), std::vector<int>{2});
  db->Query("Societe", "GROSSISTE", Prefix);
  EXPECT_EQ(ResultRecords(*db), std::vector<int>{2});
}

TEST_F(TableQuery, RebuildIndexesRefreshesTheTraceFirst) {
  TCountingSink sink;
  TTraceSink* previous = SetTraceSink(&sink);
  auto db = TableFromBytes(fDir, kClients);
  EXPECT_EQ(sink.Refreshes, 1) << "once after the load";
  db->SetData(0, 0, "x");
  db->RebuildIndexes();
  EXPECT_EQ(sink.Refreshes, 2);
  EXPECT_TRUE(db->GetIndexValid(0));
  SetTraceSink(previous);
}

TEST_F(TableQuery, BuildIndexLeavesOutDeletedRecords) {
  auto db = TableFromBytes(fDir, kClients);
  db->Delete(1);
  db->BuildIndex(0);
  EXPECT_EQ(db->GetFieldIndex(0).Entries.size(), 6u);
  db->BuildIndex(7);  // no such field: nothing happens
  EXPECT_TRUE(fCapture.Boxes().empty());
}

// ---------------------------------------------------------------------------
// Display

TEST_F(TableQuery, DisplayQueryFillsTheGridBelowItsFixedCells) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Societe", "PHARMACIE", Prefix);
  TFakeQueryGrid grid(1, 1);
  db->DisplayQuery(&grid, "Societe;Code", true);
  EXPECT_EQ(grid.Calls, (std::vector<std::string>{"ClearCells", "SetColCount 3", "SetRowCount 4",
                                                  "setTitles Societe;Code", "UpdateDimensions"}));
  EXPECT_EQ(grid.Cell(1, 1), "PHARMACIE CENTRALE");
  EXPECT_EQ(grid.Cell(2, 1), "C003");
  EXPECT_EQ(grid.Cell(2, 2), "C001");
  EXPECT_EQ(grid.Cell(1, 3), "PHARMACIE LONGUE");
  EXPECT_EQ(grid.Cell(2, 3), "C0011");
  EXPECT_EQ(grid.Cell(0, 1), "<none>");
  EXPECT_EQ(grid.Cells.size(), 6u);
}

TEST_F(TableQuery, DisplayQueryWithoutFilterShowsEveryField) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Code", "none", Exact);
  TFakeQueryGrid grid(0, 1);
  db->DisplayQuery(&grid, "", false);
  EXPECT_EQ(grid.Calls,
            (std::vector<std::string>{"ClearCells", "SetColCount 3", "SetRowCount 2", "UpdateDimensions"}));
  EXPECT_TRUE(grid.Cells.empty());
}

TEST_F(TableQuery, DisplayQueryReportsAnUnknownColumnOnEveryRow) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Code", "C001", Exact);
  TFakeQueryGrid grid(0, 0);
  db->DisplayQuery(&grid, "Code;Pays", true);
  EXPECT_EQ(fCapture.Boxes().size(), 3u);
  EXPECT_EQ(fCapture.Boxes()[0], "*ERROR*TMyDatabase.GetFieldPos:impossible de trouver le champ Pays");
  EXPECT_EQ(grid.Cell(0, 2), "C001\r\n");
  EXPECT_EQ(grid.Cell(1, 0), "<none>");
}

TEST_F(TableQuery, DisplayQueryShowsDeletedResultsToo) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Code", "C003", Exact);
  db->Delete(0);
  TFakeQueryGrid grid(0, 0);
  db->DisplayQuery(&grid, "Societe", false);
  EXPECT_EQ(grid.Cell(0, 0), "PHARMACIE CENTRALE");
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(TableQuery, DisplayQueryWithoutGridUsesTheDebugWindow) {
  TScopedDebugWindow debug;
  auto db = TableFromBytes(fDir, kClients);
  ASSERT_EQ(debug.Window.Grids.size(), 1u);
  db->Query("Code", "C011", Exact);
  db->DisplayQuery(nullptr, "Code;Ville", true);
  EXPECT_EQ(debug.Window.Shown, 1);
  TFakeQueryGrid& grid = *debug.Window.Grids[0];
  EXPECT_EQ(grid.Titles, "Code;Ville");
  EXPECT_EQ(grid.Cell(1, 1), "C011");
  EXPECT_EQ(grid.Cell(2, 1), "LOME");
}

TEST_F(TableQuery, DisplayQueryWithoutAnyGridOnlyWarns) {
  auto db = TableFromBytes(fDir, kClients);
  db->Query("Code", "C011", Exact);
  db->DisplayQuery(nullptr, "", true);
  EXPECT_TRUE(fCapture.Boxes().empty());
  ASSERT_EQ(fCapture.Lines().size(), 1u);
  EXPECT_EQ(fCapture.Lines()[0].rfind("Warning : TMyDatabase.DisplayQuery:", 0), 0u);
}
