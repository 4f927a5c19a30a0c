#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FileUtils.h"
#include "InvoiceSplit.h"
#include "MemoryGridSurface.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PieceOperations.h"
#include "PieceTestSupport.h"

namespace {

constexpr const char* kFactures = "./Data/BaseDeDonneesFactures.db";
constexpr const char* kHeader = "Num Facture;Date;Code client;Societe;Port;Poids;Total HT;Total TTC\r\n";
constexpr const char* kLinesHeader = "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n";

std::string LinesOf(const std::string& number, const std::vector<std::string>& amounts) {
  std::string text = kLinesHeader;
  int i = 0;
  for (const std::string& amount : amounts) {
    ++i;
    text += number + ";1;34000" + std::to_string(10 + i) + ";ARTICLE " + std::to_string(i) + ";" + amount + ";" +
            amount + "\r\n";
  }
  return text;
}

// The invoice list with one invoice selected, on a memory surface.
struct TListFixture {
  TListFixture() : Surface(4, 3, 1, 1) {
    Grid = std::make_unique<TMyStringGrid>(&Surface);
    Grid->SetFixedRows(1);
    Grid->SetFixedCols(1);
    Grid->setTitles("Num Facture;Date;Total HT");
  }
  void Select(const std::string& number, const std::string& totalHT) {
    Grid->SetCellForced(1, 1, "FA31749");
    Grid->SetCellForced(3, 1, "1,00");
    Grid->SetCellForced(1, 2, number);
    Grid->SetCellForced(3, 2, totalHT);
    Grid->SetRow(2);
  }
  TMemoryGridSurface Surface;
  std::unique_ptr<TMyStringGrid> Grid;
};

}  // namespace

TEST(InvoiceSplit, LinesGoInOrderUntilEachTotalPassesTheStoredTarget) {
  struct Row {
    const char* name;
    std::vector<std::string> amounts;
    const char* totalHT;
    int n;
    std::vector<std::string> previews;  // the nine edits
    std::vector<std::pair<int, int>> runs;  // first, last of invoices 1 .. n
  };
  const Row rows[] = {
      {"the first total above the target", {"100,00", "50,00", "30,00", "20,00"}, "200,00", 2,
       {"150", "50", "0", "0", "0", "0", "0", "0", "0"}, {{0, 1}, {2, 3}}},
      {"five lines of 10 in three", {"10,00", "10,00", "10,00", "10,00", "10,00"}, "50,00", 3,
       {"20", "20", "10", "0", "0", "0", "0", "0", "0"}, {{0, 1}, {2, 3}, {4, 4}}},
      {"more invoices than lines: the middle ones get nothing", {"10,00", "20,00"}, "30,00", 4,
       {"10", "0", "0", "20", "0", "0", "0", "0", "0"}, {{0, 0}, {1, 0}, {1, 0}, {1, 1}}},
      {"the stored total, not the lines, sets the target", {"10,00", "10,00", "10,00"}, "100,00", 2,
       {"20", "10", "0", "0", "0", "0", "0", "0", "0"}, {{0, 1}, {2, 2}}},
      {"one line goes to the last invoice", {"12,34"}, "12,34", 2,
       {"0", "12,34", "0", "0", "0", "0", "0", "0", "0"}, {{0, -1}, {0, 0}}},
      {"n is held to nine", {"1,00", "1,00"}, "2,00", 12, {"1", "0", "0", "0", "0", "0", "0", "0", "1"}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TTraceCapture capture;
    TSplitSource source{"FA31750", row.totalHT, TableOf(LinesOf("FA31750", row.amounts)), ""};
    TSplitPlan plan;
    ASSERT_TRUE(ComputeSplit(source, row.n, plan));
    const auto texts = SplitPreviewTexts(plan);
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.end()), row.previews);
    for (std::size_t k = 1; k <= row.runs.size(); ++k) {
      EXPECT_EQ(plan.First[k], row.runs[k - 1].first) << "invoice " << k;
      EXPECT_EQ(plan.Last[k], row.runs[k - 1].second) << "invoice " << k;
    }
    EXPECT_EQ(plan.Name(1), "FA317501");
    EXPECT_TRUE(capture.Boxes().empty());
  }
}

TEST(InvoiceSplit, AnInvoiceWithoutLinesHasNoSplit) {
  TTempDir dir;
  TScopedCwd cwd(dir.Path());
  WriteFileBytes("./Data/Factures/FA31750.db", kLinesHeader);
  TListFixture list;
  list.Select("FA31750", "0,00");
  TSplitSource source;
  EXPECT_FALSE(StartSplit(*list.Grid, source));
  TSplitPlan plan;
  EXPECT_FALSE(ComputeSplit(source, 2, plan));
  EXPECT_EQ(plan.Count, 0);
}

TEST(InvoiceSplit, PortIsSharedWithTheRemainderLast) {
  struct Row {
    const char* name;
    const char* port;
    int n;
    std::vector<int> ports;  // empty: refused
    const char* message;
  };
  const Row rows[] = {
      {"100 in three", "100", 3, {33, 33, 34}, ""},
      {"7 in two", "7", 2, {3, 4}, ""},
      {"nothing to share", "0", 4, {0, 0, 0, 0}, ""},
      {"a negative port", "-7", 2, {-3, -4}, ""},
      {"decimals are refused", "12,50", 3, {}, "'12,50' n'est pas une valeur enti\xE8re correcte"},
      {"an empty port is refused", "", 2, {}, "'' n'est pas une valeur enti\xE8re correcte"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TSplitPlan plan;
    plan.Count = row.n;
    std::string message;
    EXPECT_EQ(SplitPorts(row.port, plan, message), !row.ports.empty());
    EXPECT_EQ(message, row.message);
    for (std::size_t k = 1; k <= row.ports.size(); ++k) EXPECT_EQ(plan.Port[k], row.ports[k - 1]) << k;
  }
}

// A working folder with the invoice FA31750 (port 100, four lines) selected
// in the invoice list when the split starts.
class SplitCommitTest : public ::testing::Test {
protected:
  SplitCommitTest() : fCwd(fDir.Path()) {
    WriteFileBytes(fDir.File("Data/BaseDeDonneesFactures.db"),
                   std::string(kHeader) + "FA31750;02/03/2026;0102;PHARMACIE DU PLATEAU;100;4;200,00;300\r\n");
    WriteFileBytes(fDir.File("Data/Factures/FA31750.db"),
                   LinesOf("FA31750", {"100,00", "50,00", "30,00", "20,00"}));
    fFactures = std::make_unique<TMyDatabase>(kFactures);
    // Of the four codes only 3400013 (ARTICLE 3) is a valid CIP code: the
    // others weigh nothing.
    fArticles = TableOf("Code;Designation;Poids\r\n3400011;A;0,5\r\n3400013;C;1,5\r\n3400014;D;2\r\n");
    fList.Select("FA31750", "200,00");
    EXPECT_TRUE(StartSplit(*fList.Grid, fSource));
  }

  // The window's part: the copy made by the piece operations, the save and
  // the print only recorded, the save with the header as the split left it.
  TSplitSteps Steps() {
    TSplitSteps steps;
    steps.Duplicate = [this](const std::string& source, const std::string& name) {
      fDone.push_back("copy " + name);
      return DuplicatePiece(PieceKinds::Facture, *fFactures, source, name);
    };
    steps.SaveInEditor = [this](const std::string& name) {
      TMyDatabase stored(kFactures);
      stored.Query("Num Facture", name, Exact);
      fDone.push_back("save " + name + " port " + stored.GetQueryResultString("Port", 0) + " HT " +
                      stored.GetQueryResultString("Total HT", 0) + " TTC " + stored.GetQueryResultString("Total TTC", 0) +
                      " kg " + stored.GetQueryResultString("Poids", 0));
      return name != fRefused;
    };
    steps.Print = [this](const std::string& name) { fDone.push_back("print " + name); };
    return steps;
  }

  TSplitPlan Plan(int n) {
    TSplitPlan plan;
    EXPECT_TRUE(ComputeSplit(fSource, n, plan));
    return plan;
  }

  TTraceCapture fCapture;
  TTempDir fDir;
  TScopedCwd fCwd;
  TListFixture fList;
  std::unique_ptr<TMyDatabase> fFactures;
  std::unique_ptr<TMyDatabase> fArticles;
  TSplitSource fSource;
  std::vector<std::string> fDone;
  std::string fRefused;  // the invoice the editor refuses to save
};

TEST_F(SplitCommitTest, EachNewInvoiceIsCutSavedAndPrintedBeforeTheNext) {
  const std::string sourceLines = ReadFileBytes("./Data/Factures/FA31750.db");
  // The list shows another invoice by the time "Scinder" is clicked.
  fList.Grid->SetRow(1);
  TSplitPlan plan = Plan(3);
  EXPECT_EQ(CommitSplit(*fFactures, *fArticles, fSource, plan, Steps()), TSplitCommit::Done);
  EXPECT_EQ(fDone, (std::vector<std::string>{"copy FA317501", "save FA317501 port 33 HT 100,00 TTC 133 kg 0",
                                             "print FA317501", "copy FA317502",
                                             "save FA317502 port 33 HT 80,00 TTC 113 kg 1,5", "print FA317502",
                                             "copy FA317503", "save FA317503 port 34 HT 20,00 TTC 54 kg 0",
                                             "print FA317503"}));
  // Target 66,67: 100 alone passes it, then 50 and 30, the last line stays last.
  EXPECT_EQ(ReadFileBytes("./Data/Factures/FA317501.db"), LinesOf("FA31750", {"100,00"}));
  EXPECT_EQ(ReadFileBytes("./Data/Factures/FA317502.db"),
            std::string(kLinesHeader) + "FA31750;1;3400012;ARTICLE 2;50,00;50,00\r\n" +
                "FA31750;1;3400013;ARTICLE 3;30,00;30,00\r\n");
  EXPECT_EQ(ReadFileBytes("./Data/Factures/FA317503.db"),
            std::string(kLinesHeader) + "FA31750;1;3400014;ARTICLE 4;20,00;20,00\r\n");
  EXPECT_EQ(ReadFileBytes("./Data/Factures/FA31750.db"), sourceLines) << "the source lines are unchanged";
  EXPECT_NE(ReadFileBytes(kFactures).find("FA31750;02/03/2026;0102;PHARMACIE DU PLATEAU;100;4;200,00;300\r\n"),
            std::string::npos);
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(SplitCommitTest, NothingIsMadeWhenTheInvoiceChangedOrTheSplitCannotBeWhole) {
  struct Row {
    const char* name;
    std::function<void(TMyDatabase& factures)> change;  // after the split started
    int n;
    const char* box;
  };
  auto setSource = [](TMyDatabase& factures, const char* field, const char* value) {
    factures.Query("Num Facture", "FA31750", Exact);
    factures.SetData(field, factures.QueryGetDataIndex(0), value);
  };
  const Row rows[] = {
      {"its total changed", [&](TMyDatabase& f) { setSource(f, "Total HT", "180,00"); }, 2,
       "La facture FA31750 a change depuis le choix de Scinder : scission abandonnee"},
      {"its lines changed",
       [](TMyDatabase&) { WriteFileBytes("./Data/Factures/FA31750.db", LinesOf("FA31750", {"100,00", "100,00"})); }, 2,
       "La facture FA31750 a change depuis le choix de Scinder : scission abandonnee"},
      {"it was deleted", [](TMyDatabase& f) { f.Delete(0); }, 2,
       "La facture FA31750 n'existe plus : scission abandonnee"},
      {"an invoice would get no line", [](TMyDatabase&) {}, 4,
       "Scission de FA31750 en 4 impossible : la facture FA317503 n'aurait aucune ligne"},
      {"a port with decimals", [&](TMyDatabase& f) { setSource(f, "Port", "12,50"); }, 2,
       "'12,50' n'est pas une valeur enti\xE8re correcte"},
      {"a split made before", [](TMyDatabase& f) { f.SetData("Num Facture", f.AddRecord(), "FA317502"); }, 2,
       "La facture FA317502 existe deja : scission de FA31750 abandonnee"},
  };
  const std::string lines = ReadFileBytes("./Data/Factures/FA31750.db");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fCapture.Clear();
    fDone.clear();
    WriteFileBytes("./Data/Factures/FA31750.db", lines);
    fFactures = std::make_unique<TMyDatabase>(kFactures);
    TSplitPlan plan = Plan(row.n);
    row.change(*fFactures);
    EXPECT_EQ(CommitSplit(*fFactures, *fArticles, fSource, plan, Steps()), TSplitCommit::Refused);
    EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{row.box});
    EXPECT_TRUE(fDone.empty());
    EXPECT_FALSE(FileExists("./Data/Factures/FA317501.db"));
  }
}

TEST_F(SplitCommitTest, AFailedCopyCutOrSaveStopsTheSplitLeavingTheInvoicesMadeWhole) {
  struct Row {
    const char* name;
    std::function<void()> spoil;  // run on the second copy
    const char* refused;          // the invoice the editor refuses
    std::vector<std::string> boxes;
    bool secondKept;
  };
  const std::string second = "./Data/Factures/FA317502.db";
  const std::string factures = ReadFileBytes(kFactures);
  const Row rows[] = {
      {"the copy has no lines", [&] { std::filesystem::remove(second); }, "",
       {"*ERROR*TQuorix_Form.ScinderCommit : Copie impossible de ./Data/Factures/FA31750.db vers " + second +
        ", scission arretee"},
       false},
      {"the cut cannot be written", [&] { std::filesystem::permissions(second, std::filesystem::perms::owner_read); },
       "", {"*ERROR*TQuorix_Form.ScinderCommit : Ecriture impossible de " + second + ", scission arretee"}, false},
      {"the editor refuses the second", [] {}, "FA317502",
       {"La facture FA317502 n'a pas ete enregistree : scission de FA31750 arretee"}, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fCapture.Clear();
    fDone.clear();
    fRefused = row.refused;
    for (const char* made : {"FA317501.db", "FA317502.db"}) std::filesystem::remove(std::string("./Data/Factures/") + made);
    WriteFileBytes(kFactures, factures);
    fFactures = std::make_unique<TMyDatabase>(kFactures);
    TSplitSteps steps = Steps();
    steps.Duplicate = [&, copy = steps.Duplicate](const std::string& source, const std::string& name) {
      const bool made = copy(source, name);
      if (name == "FA317502") row.spoil();
      return made;
    };
    TSplitPlan plan = Plan(3);
    EXPECT_EQ(CommitSplit(*fFactures, *fArticles, fSource, plan, steps), TSplitCommit::Stopped);
    EXPECT_EQ(fCapture.Boxes(), row.boxes);
    std::vector<std::string> done = {"copy FA317501", "save FA317501 port 33 HT 100,00 TTC 133 kg 0",
                                     "print FA317501", "copy FA317502"};
    if (row.secondKept) done.push_back("save FA317502 port 33 HT 80,00 TTC 113 kg 1,5");
    EXPECT_EQ(fDone, done) << "never printed, and no third invoice";
    TMyDatabase stored(kFactures);
    stored.Query("Num Facture", "^FA31750[0-9]$", Pattern);
    EXPECT_EQ(stored.QueryResultCount(), row.secondKept ? 2 : 1);
    EXPECT_EQ(FileExists(second), row.secondKept);
    EXPECT_FALSE(FileExists("./Data/Factures/FA317503.db"));
  }
}
