#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ListPreparation.h"
#include "ListRows.h"
#include "MemoryGridSurface.h"
#include "MyDatabase.h"
#include "MyDatabaseForm.h"
#include "ArticlePanel.h"
#include "ClientPanel.h"
#include "MyStringGrid.h"
#include "PieceEditor.h"
#include "QtGridSurface.h"
#include "QtGuard.h"
#include "QuorixForm.h"
#include "RemplirGrid.h"
#include "SplashLaunchForm.h"
#include "StringManager.h"
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

std::unique_ptr<TMyDatabase> TableFromText(const std::string& text) {
  std::unique_ptr<TMyDatabase> table(TMyDatabase::CreateEmpty("", "x"));
  table->LoadFromText(text);
  return table;
}

// The column texts of a grid row from the first data column on.
std::vector<std::string> RowTexts(const TMyStringGrid& grid, int row) {
  std::vector<std::string> texts;
  for (int col = grid.GetGrid()->GetFixedCols(); col < grid.GetColCount(); ++col) texts.push_back(grid.GetCell(col, row));
  return texts;
}

// An invoice header table of n invoices, for lists longer than a screen.
std::string ManyInvoices(int n) {
  std::string text = "Num Facture;Date;Code client;Societe;Port;Poids;Total HT;Total TTC\r\n";
  for (int i = 0; i < n; ++i) {
    text += "FA" + std::to_string(31000 + i) + ";01/02/2026;0101;PHARMACIE " + std::to_string(i) +
            ";0;1,5;10,00;10\r\n";
  }
  return text;
}

std::vector<QString> Texts(std::initializer_list<const char16_t*> texts) {
  std::vector<QString> out;
  for (const char16_t* t : texts) out.push_back(QString::fromUtf16(t));
  return out;
}

}  // namespace

// ---------------------------------------------------------------------------
// Filling a grid from a table

class RemplirGridTest : public ::testing::Test {
protected:
  RemplirGridTest() : fSurface(4, 2), fGrid(&fSurface) {}
  TTraceCapture fCapture;
  TMemoryGridSurface fSurface;
  TMyStringGrid fGrid;
};

TEST_F(RemplirGridTest, RefusesAMissingGridTableOrFilterAndLeavesTheGrid) {
  auto table = TableFromText("Code;Societe;Ville\r\n0101;PHARMACIE;DAKAR\r\n");
  fGrid.SetCellForced(1, 1, "avant");
  struct Row {
    const char* name;
    TMyStringGrid* grid;
    std::string filter;
    TMyDatabase* table;
    const char* box;
  };
  const Row rows[] = {
      {"no grid", nullptr, "Code", table.get(), "*ERROR*Quorix_Unit:RemplirGrid:TStringGrid non valide"},
      {"no table", &fGrid, "Code", nullptr, "*ERROR*Quorix_Unit:RemplirGrid:Database non valide"},
      {"empty filter", &fGrid, "", table.get(), "*ERROR*Quorix_Unit:RemplirGrid:Filtre vide"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fCapture.Clear();
    RemplirGrid(row.grid, row.filter, true, row.table);
    EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{row.box});
    EXPECT_EQ(fGrid.GetCell(1, 1), "avant");
    EXPECT_EQ(fGrid.GetRowCount(), 2);
  }
}

TEST_F(RemplirGridTest, ColumnsFollowTheFilterWhateverTheFileOrder) {
  // "Ville" comes before "Societe" in this file; the list does not care.
  auto table = TableFromText("Ville;Code;Societe\r\nDAKAR;0101;PHARMACIE CENTRALE\r\nLOMÉ;0108;PHARMACIE DU GRAND MARCHÉ\r\n");
  RemplirGrid(&fGrid, "Code;Societe;Ville", true, table.get());
  EXPECT_TRUE(fCapture.Boxes().empty());
  EXPECT_EQ(fGrid.GetRowCount(), 3);
  EXPECT_EQ(RowTexts(fGrid, 0), (std::vector<std::string>{"Code", "Societe", "Ville"}));
  EXPECT_EQ(RowTexts(fGrid, 1), (std::vector<std::string>{"0101", "PHARMACIE CENTRALE", "DAKAR"}));
  EXPECT_EQ(RowTexts(fGrid, 2), (std::vector<std::string>{"0108", "PHARMACIE DU GRAND MARCH\xC9", "LOM\xC9"}));
  EXPECT_EQ(fGrid.GetCell(0, 2), "2") << "the fixed column numbers the rows";
}

TEST_F(RemplirGridTest, EmptyOrAllDeletedTableShowsOneEmptyRow) {
  struct Row {
    const char* name;
    std::string text;
    bool deleteAll;
  };
  const Row rows[] = {
      {"no records", "Code;Societe;Ville\r\n", false},
      {"all deleted", "Code;Societe;Ville\r\n0101;A;B\r\n0102;C;D\r\n", true},
      {"no file at all", "", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    // The grid held rows from an earlier fill: none of them may stay.
    auto previous = TableFromText("Code;Societe;Ville\r\n1;2;3\r\n4;5;6\r\n7;8;9\r\n");
    RemplirGrid(&fGrid, "Code;Societe;Ville", true, previous.get());
    auto table = TableFromText(row.text);
    if (row.deleteAll) {
      for (int r = 0; r < table->RecordCount(); ++r) table->Delete(r);
    }
    RemplirGrid(&fGrid, "Code;Societe;Ville", true, table.get());
    EXPECT_EQ(fGrid.GetRowCount(), 2);
    EXPECT_EQ(RowTexts(fGrid, 1), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(RowTexts(fGrid, 0), (std::vector<std::string>{"Code", "Societe", "Ville"}));
  }
}

TEST_F(RemplirGridTest, CurrentRowIsKeptInRange) {
  auto big = TableFromText("Code\r\n1\r\n2\r\n3\r\n4\r\n5\r\n");
  fGrid.SetColCount(2);
  RemplirGrid(&fGrid, "Code", true, big.get());
  fGrid.SetRow(5);
  auto small = TableFromText("Code\r\n1\r\n2\r\n");
  RemplirGrid(&fGrid, "Code", true, small.get());
  EXPECT_EQ(fGrid.GetRow(), 2);
}

// A command that changes a record or two of a shown list (a copy, a
// deletion, a save, a save under a new number) brings them in place: the
// list then shows what filling and sorting it afresh shows, rows, order,
// colours and widths alike. A column with equal texts leaves their order to
// the sort, which is not stable: a record that moves among them makes the
// list sorted again over its rows taken in the fill's order, so the ties
// come out as the sort of a fill leaves them, mixed kinds of values too.
TEST(ListRowsTest, RecordsChangedInPlaceShowWhatARefillShows) {
  struct TCase {
    const char* Name;
    int SortCol;
    bool Ascending;
    std::function<void(TMyDatabase&)> Change;
  };
  const int number = 0;
  const int company = 3;
  const int total = 6;
  const int totalTtc = 7;
  const std::vector<TCase> cases = {
      {"a copy", 1, true,
       [](TMyDatabase& t) {
         const int copy = t.AddRecord();
         t.CopyRecord(7, copy);
         t.SetData(number, copy, "FA100000");
       }},
      {"a copy, sorted downwards", 1, false,
       [](TMyDatabase& t) {
         const int copy = t.AddRecord();
         t.CopyRecord(3, copy);
         t.SetData(number, copy, "FA39990");
         t.SetData(total, copy, "abc");
       }},
      {"a deletion", 1, true, [](TMyDatabase& t) { t.Delete(11); }},
      {"a save, its number kept", 1, true, [](TMyDatabase& t) { t.SetData(total, 5, "123456789,99"); }},
      {"a save under a new number", 1, true,
       [](TMyDatabase& t) {
         const int made = t.AddRecord();
         t.CopyRecord(9, made);
         t.SetData(number, made, "FA10000");
         t.Delete(9);
       }},
      {"a number taken twice", 1, true,
       [](TMyDatabase& t) {
         const int copy = t.AddRecord();
         t.CopyRecord(2, copy);
       }},
      {"equal companies, a total changed", 4, true, [](TMyDatabase& t) { t.SetData(total, 4, "-5"); }},
      {"equal companies, a company changed to one taken", 4, true,
       [](TMyDatabase& t) { t.SetData(company, 4, "PHARMACIE 2"); }},
      {"equal companies, a deletion, sorted downwards", 4, false, [](TMyDatabase& t) { t.Delete(6); }},
      {"equal companies, a deletion", 4, true, [](TMyDatabase& t) { t.Delete(13); }},
      {"equal companies, a new one of a company taken", 4, true,
       [](TMyDatabase& t) {
         const int made = t.AddRecord();
         t.CopyRecord(12, made);
         t.SetData(number, made, "FA50000");
       }},
      {"equal companies, a new one and a rename, sorted downwards", 4, false,
       [](TMyDatabase& t) {
         const int made = t.AddRecord();
         t.CopyRecord(8, made);
         t.SetData(number, made, "FA50001");
         t.SetData(company, 15, "PHARMACIE 0");
       }},
      // "2" < "10" < "1a" < "2": numbers compare by value, the rest by bytes.
      {"equal totals, numbers and texts mixed", 6, true,
       [](TMyDatabase& t) {
         t.SetData(totalTtc, 3, "1a");
         t.SetData(totalTtc, 5, "2");
         t.SetData(totalTtc, 8, "abc");
       }},
  };
  std::string text = "Num Facture;Date;Code client;Societe;Port;Poids;Total HT;Total TTC\r\n";
  for (int i = 0; i < 24; ++i) {
    const int n = 40000 + (i * 7) % 24;
    text += "FA" + std::to_string(n) + ";01/02/2026;0101;PHARMACIE " + std::to_string(i % 5) + ";0;1,5;" +
            std::to_string(10 * i) + ",00;10\r\n";
  }
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTraceCapture capture;
    auto list = [&](TMemoryGridSurface& surface) {
      auto grid = std::make_unique<TMyStringGrid>(&surface);
      grid->SetFixedRows(1);
      grid->SetFixedCols(1);
      grid->SetWidth(700);
      InstallColumnColorRules(grid.get(), ColumnColorRules::Factures());
      grid->fSortCol = c.SortCol;
      grid->fSortAscending = c.Ascending;
      return grid;
    };
    auto table = TableFromText(text);
    TMemoryGridSurface inPlaceSurface(9, 2);
    auto inPlace = list(inPlaceSurface);
    TListRows rows;
    rows.Fill(*inPlace, ListFilters::Factures, table.get());
    rows.Sort(*inPlace);
    const std::uint64_t since = table->ChangeCount();
    c.Change(*table);
    std::vector<int> changed;
    ASSERT_TRUE(table->ChangedRecordsSince(since, changed));
    EXPECT_TRUE(rows.Update(*inPlace, ListFilters::Factures, *table, changed));

    TMemoryGridSurface afreshSurface(9, 2);
    auto afresh = list(afreshSurface);
    TListRows afreshRows;
    afreshRows.Fill(*afresh, ListFilters::Factures, table.get());
    afreshRows.Sort(*afresh);
    ASSERT_EQ(inPlace->GetRowCount(), afresh->GetRowCount());
    for (int col = 0; col < 9; ++col) {
      EXPECT_EQ(inPlaceSurface.GetColWidth(col), afreshSurface.GetColWidth(col)) << col;
      for (int row = 0; row < afresh->GetRowCount(); ++row) {
        EXPECT_EQ(inPlace->GetCell(col, row), afresh->GetCell(col, row)) << col << "," << row;
        EXPECT_EQ(inPlace->GetCellColor(col, row), afresh->GetCellColor(col, row)) << col << "," << row;
      }
    }
    // A second change is brought in place after the first.
    const std::uint64_t then = table->ChangeCount();
    table->SetData(total, table->RecordCount() - 1, "7");
    ASSERT_TRUE(table->ChangedRecordsSince(then, changed));
    EXPECT_TRUE(rows.Update(*inPlace, ListFilters::Factures, *table, changed));
    afreshRows.Fill(*afresh, ListFilters::Factures, table.get());
    afreshRows.Sort(*afresh);
    for (int row = 0; row < afresh->GetRowCount(); ++row) EXPECT_EQ(RowTexts(*inPlace, row), RowTexts(*afresh, row));
  }
}

// A hidden list prepared a few rows and comparisons at a time while the
// program is idle holds what filling and sorting it at once gives: the same
// rows in the same order, ties included, the same colours, widths and
// records; a table changed part-way through is prepared again.
TEST(ListRowsTest, APreparationInSlicesHoldsWhatAFillHolds) {
  std::string text = "Num Facture;Date;Code client;Societe;Port;Poids;Total HT;Total TTC\r\n";
  for (int i = 0; i < 300; ++i) {
    text += "FA" + std::to_string(40000 + (i * 37) % 300) + ";0" + std::to_string(1 + i % 9) + "/02/2026;0101;" +
            (i % 11 == 0 ? "PHARMACIE" : "PHARMACIE " + std::to_string(i % 4)) + ";0;1,5;" +
            (i % 13 == 0 ? "x" : std::to_string(i % 6)) + ",00;10\r\n";
  }
  const int total = 6;
  struct TCase {
    const char* Name;
    int SortCol;
    bool Ascending;
    bool ChangedPartWay;
  };
  const TCase cases[] = {{"by company, equal texts", 4, true, false},
                         {"by company, downwards", 4, false, false},
                         {"by date, equal dates", 2, true, false},
                         {"by number", 1, true, false},
                         {"by company, a record saved part-way", 4, true, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTraceCapture capture;
    auto table = TableFromText(text);
    auto list = [&](TMemoryGridSurface& surface) {
      auto grid = std::make_unique<TMyStringGrid>(&surface);
      grid->SetFixedRows(1);
      grid->SetFixedCols(1);
      grid->SetWidth(700);
      InstallColumnColorRules(grid.get(), ColumnColorRules::Factures());
      grid->fSortCol = c.SortCol;
      grid->fSortAscending = c.Ascending;
      return grid;
    };
    TMemoryGridSurface slicedSurface(9, 2);
    auto sliced = list(slicedSurface);
    TListRows slicedRows;
    TListPreparation preparation(*sliced, ListFilters::Factures, slicedRows, {7, 50, 11, 13});
    int slices = 1;
    while (!preparation.Step(table.get())) {
      if (++slices == 110 && c.ChangedPartWay) table->SetData(3, 17, "PHARMACIE 2");
    }
    EXPECT_GT(slices, 100);

    TMemoryGridSurface atOnceSurface(9, 2);
    auto atOnce = list(atOnceSurface);
    TListRows atOnceRows;
    atOnceRows.Fill(*atOnce, ListFilters::Factures, table.get());
    atOnceRows.Sort(*atOnce);
    auto same = [&] {
      ASSERT_EQ(sliced->GetRowCount(), atOnce->GetRowCount());
      EXPECT_EQ(sliced->GetRow(), atOnce->GetRow());
      EXPECT_EQ(sliced->GetTopRow(), atOnce->GetTopRow());
      for (int col = 0; col < 9; ++col) {
        EXPECT_EQ(slicedSurface.GetColWidth(col), atOnceSurface.GetColWidth(col)) << col;
        for (int row = 0; row < atOnce->GetRowCount(); ++row) {
          ASSERT_EQ(sliced->GetCell(col, row), atOnce->GetCell(col, row)) << col << "," << row;
          EXPECT_EQ(sliced->GetCellColor(col, row), atOnce->GetCellColor(col, row)) << col << "," << row;
        }
      }
    };
    same();
    // The records follow their rows: a change brought in place shows alike.
    const std::uint64_t since = table->ChangeCount();
    table->SetData(total, 40, "-3");
    std::vector<int> changed;
    ASSERT_TRUE(table->ChangedRecordsSince(since, changed));
    EXPECT_TRUE(slicedRows.Update(*sliced, ListFilters::Factures, *table, changed));
    EXPECT_TRUE(atOnceRows.Update(*atOnce, ListFilters::Factures, *table, changed));
    same();
  }
}

// ---------------------------------------------------------------------------
// The lists of the main window

namespace {

class ListsTest : public ::testing::Test {
protected:
  ListsTest() {
    CopyTree(kSample, fDir.File("Data"));
    fCwd = std::make_unique<TScopedCwd>(fDir.Path());
  }
  ~ListsTest() override { Stop(); }

  void Start() {
    fDebug = std::make_unique<TMyDatabase_Form>();
    fMain = std::make_unique<TQuorix_Form>(std::make_unique<TSplashLaunch_Form>());
  }
  void Restart() {
    fMain->close();
    Stop();
    Start();
  }
  void Stop() {
    fMain.reset();
    fDebug.reset();
  }

  std::vector<TQtGridSurface*> ListSurfaces() const {
    std::vector<TQtGridSurface*> surfaces;
    for (const auto& list : fMain->Lists().All()) surfaces.push_back(list->Surface());
    return surfaces;
  }
  int VisibleLists() const {
    int n = 0;
    for (TQtGridSurface* s : ListSurfaces()) n += s->isVisible() ? 1 : 0;
    return n;
  }

  TTempDir fDir;
  std::unique_ptr<TScopedCwd> fCwd;
  TTraceCapture fCapture;
  std::unique_ptr<TMyDatabase_Form> fDebug;
  std::unique_ptr<TQuorix_Form> fMain;
};

}  // namespace

TEST_F(ListsTest, EachButtonShowsItsListAloneAndSetsTheListKind) {
  Start();
  struct Row {
    const char* name;
    const char* button;
    TListId list;
    const char* kind;  // list kind after the click
    int rows;          // data rows of the sample
    std::vector<std::string> titles;
  };
  const Row rows[] = {
      {"devis", "Devis_BitBtn", kDevisList, "Devis", 5,
       {"Num Devis", "Date", "Code client", "Societe", "Total HT", "Total TTC", "Port", "Poids"}},
      {"clients", "Client_BitBtn", kClientsList, "Devis", 15,
       {"Code", "Societe", "Ville", "Pays", "Telephone", "Fax"}},
      {"avoirs", "Avoir_BitBtn", kAvoirsList, "Avoir", 3,
       {"Num Avoir", "Date", "Code client", "Societe", "Total TTC"}},
      {"articles", "Articles_BitBtn", kArticlesList, "Avoir", 40,
       {"Code", "Designation", "Prix Vente", "Prix Achat", "Coef", "Poids"}},
      {"factures", "Factures_BitBtn", kFacturesList, "Facture", 12,
       {"Num Facture", "Date", "Code client", "Societe", "Total HT", "Total TTC", "Port", "Poids"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fMain->findChild<QToolButton*>(row.button)->click();
    TQtGridSurface* surface = fMain->Lists().Of(row.list).Surface();
    EXPECT_TRUE(surface->isVisible());
    EXPECT_EQ(VisibleLists(), 1);
    EXPECT_EQ(fMain->PieceEditor().CurrentListKind(), row.kind);
    EXPECT_EQ(surface->GetRowCount(), row.rows + 1);
    std::vector<std::string> titles;
    for (int col = 1; col < surface->GetColCount(); ++col) titles.push_back(surface->GetCells(col, 0));
    EXPECT_EQ(titles, row.titles);
    EXPECT_TRUE(fMain->findChild<QToolButton*>("Creer_BitBtn")->isEnabled());
  }
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(ListsTest, ListsAreSortedByTheirDefaultColumn) {
  Start();
  fMain->ShowArticles();
  TQtGridSurface* articles = fMain->Lists().Of(kArticlesList).Surface();
  for (int row = 2; row < articles->GetRowCount(); ++row) {
    EXPECT_LE(articles->GetCells(2, row - 1), articles->GetCells(2, row)) << "row " << row;
  }
  fMain->ShowClients();
  EXPECT_EQ(fMain->Lists().Of(kClientsList).Surface()->GetCells(1, 1), "0101");
}

TEST_F(ListsTest, AccentedTextsReadRightOnScreen) {
  Start();
  fMain->ShowArticles();
  TQtGridSurface* articles = fMain->Lists().Of(kArticlesList).Surface();
  const QString expected = QString::fromUtf16(u"BÉPANTHÈNE 5% POMMADE TUBE 100G");
  bool found = false;
  for (int row = 0; row < articles->model()->rowCount(); ++row) {
    if (articles->model()->data(articles->model()->index(row, 1), Qt::DisplayRole).toString() == expected) found = true;
  }
  EXPECT_TRUE(found) << "the designation is shown as its Unicode text";
}

TEST_F(ListsTest, ColumnColourRulesOfEveryGrid) {
  Start();
  struct Row {
    const char* name;
    TMyStringGrid* grid;
    std::vector<int> yellow;
    std::vector<int> red;
    // A text holding ";", a line break or NUL is red before the column's
    // own rules (the lines are typed and stored).
    bool fieldBreakFirst = false;
  };
  const Row rows[] = {
      {"clients", fMain->Lists().Of(kClientsList).Grid(), {42, 4, 4, 4, 43, 43}, {5, 5, 4, 53, 4, 4}},
      {"articles", fMain->Lists().Of(kArticlesList).Grid(), {32, 5, 20, 20, 45, 20}, {31, 4, 37, 37, 37, 37}},
      {"factures", fMain->Lists().Of(kFacturesList).Grid(), {46, 4, 42, 4, 20, 20, 19, 20},
       {5, 50, 5, 5, 37, 37, 37, 37}},
      {"devis", fMain->Lists().Of(kDevisList).Grid(), {47, 4, 42, 4, 20, 20, 20, 20}, {5, 50, 5, 5, 37, 37, 37, 37}},
      {"avoirs", fMain->Lists().Of(kAvoirsList).Grid(), {48, 4, 42, 4, 20}, {5, 50, 5, 5, 37}},
      {"lignes", fMain->PieceEditor().Lines(), {29, 5, 10, 19, 19}, {31, 4, 51, 37, 37}, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_EQ(row.grid->GetColCount(), static_cast<int>(row.yellow.size()) + 1);
    for (std::size_t i = 0; i < row.yellow.size(); ++i) {
      const int col = static_cast<int>(i) + 1;
      std::vector<TColorConstraint> expected = {
          {static_cast<std::uint8_t>(row.yellow[i]), 0x9BF4FF}, {static_cast<std::uint8_t>(row.red[i]), 0x443EFA}};
      if (row.fieldBreakFirst) expected.insert(expected.begin(), TColorConstraint{54, 0x443EFA});
      EXPECT_EQ(row.grid->GetColorConstraints(col, 1), expected) << "column " << col;
    }
  }
}

TEST_F(ListsTest, CellColoursShowWhatTheRulesSay) {
  Start();
  fMain->ShowFactures();
  TMyStringGrid* grid = fMain->Lists().Of(kFacturesList).Grid();
  const int port = grid->GetColIndex("Port");
  ASSERT_GT(port, 0);
  for (int row = 1; row < grid->GetRowCount(); ++row) {
    const TColor expected = grid->GetCell(port, row) == "0" ? 0x9BF4FF : 0xFFFFFF;
    EXPECT_EQ(grid->GetCellColor(port, row), expected) << "row " << row << " port " << grid->GetCell(port, row);
    EXPECT_EQ(grid->GetCellColor(1, row), 0xFFFFFFu) << "a well-formed invoice number";
  }
}

// One client whose country is not a valid expression: the client list opens
// as usual, and that country is simply not in the list of countries.
TEST_F(ListsTest, ACountryWithAParenthesisDoesNotStopTheClientList) {
  std::string clients = ReadFileBytes(fDir.File("Data/BaseDeDonneesClients.db"));
  const std::string from = ";SENEGAL;";
  ASSERT_NE(clients.find(from), std::string::npos);
  clients.replace(clients.find(from), from.size(), ";SENEGAL (DAKAR;");
  WriteFileBytes(fDir.File("Data/BaseDeDonneesClients.db"), clients);
  Start();
  EXPECT_TRUE(RunGuarded([&] { fMain->findChild<QToolButton*>("Client_BitBtn")->click(); }));
  TMyStringGrid* grid = fMain->Lists().Of(kClientsList).Grid();
  EXPECT_TRUE(grid->GetVisible());
  EXPECT_EQ(grid->GetRowCount(), 16);
  const int pays = grid->GetColIndex("Pays");
  int odd = -1;
  int known = -1;
  for (int row = 1; row < grid->GetRowCount(); ++row) {
    if (grid->GetCell(pays, row) == "SENEGAL (DAKAR") odd = row;
    if (grid->GetCell(pays, row) == "GABON") known = row;
  }
  ASSERT_GT(odd, 0);
  ASSERT_GT(known, 0);
  EXPECT_EQ(grid->GetCellColor(pays, odd), clErrorRed) << "not a known country";
  EXPECT_EQ(grid->GetCellColor(pays, known), clValidWhite);
  fMain->Lists().Of(kClientsList).Surface()->repaint();
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes()[0];
}

// A list shown again shows its table as it is now, sorted by the column of
// the user's last title click, whatever was shown before.
TEST_F(ListsTest, AListShownAgainShowsTheTableAsItIsNow) {
  Start();
  TMyStringGrid* grid = fMain->Lists().Of(kFacturesList).Grid();
  TMyDatabase* factures = fMain->Tables().Factures();
  auto column = [grid](const char* name) {
    std::vector<std::string> texts;
    for (int row = 1; row < grid->GetRowCount(); ++row) texts.push_back(grid->GetCellByName(name, row));
    return texts;
  };
  auto again = [this] {
    fMain->findChild<QToolButton*>("Client_BitBtn")->click();
    fMain->findChild<QToolButton*>("Factures_BitBtn")->click();
  };
  // The idle loop fills the hidden lists ahead: shown then, they are what
  // showing them fills, at the remembered rows.
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
  fMain->ShowArticles();
  TMyStringGrid* articles = fMain->Lists().Of(kArticlesList).Grid();
  EXPECT_EQ(articles->GetRowCount(), 41);
  for (int row = 2; row < articles->GetRowCount(); ++row) {
    EXPECT_LE(articles->GetCell(2, row - 1), articles->GetCell(2, row)) << "row " << row;
  }
  EXPECT_EQ(articles->GetRow(), fMain->Lists().Of(kArticlesList).Position().Row);
  again();
  const std::vector<std::string> before = column("Num Facture");
  EXPECT_EQ(before.size(), 12u);

  factures->SetData("Societe", 3, "PHARMACIE NOUVELLE");
  again();
  const std::vector<std::string> societes = column("Societe");
  EXPECT_NE(std::find(societes.begin(), societes.end(), "PHARMACIE NOUVELLE"), societes.end());

  factures->Delete(0);
  again();
  EXPECT_EQ(column("Num Facture").size(), 11u);

  // A title click on "Total TTC": the list comes back sorted by it.
  grid->fSortCol = grid->GetColIndex("Total TTC");
  grid->fSortAscending = false;
  again();
  const std::vector<std::string> totals = column("Total TTC");
  for (std::size_t i = 1; i < totals.size(); ++i) {
    EXPECT_GE(StringManager().Compare(totals[i - 1], totals[i]), 0) << totals[i - 1] << " / " << totals[i];
  }
  EXPECT_TRUE(fCapture.Boxes().empty());
}

// A list shown while the idle time is part-way through preparing it is
// finished at once; when its table changed meanwhile it is filled afresh.
TEST_F(ListsTest, AListShownPartWayThroughItsPreparationIsWhole) {
  Start();
  TRecordLists& lists = fMain->Lists();
  auto texts = [](const TMyStringGrid& grid) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < grid.GetRowCount(); ++row) rows.push_back(RowTexts(grid, row));
    return rows;
  };
  for (int i = 0; i < 100 && !lists.Of(kClientsList).Filled(); ++i) lists.PrepareNextList();
  for (int i = 0; i < 12; ++i) lists.PrepareNextList();
  ASSERT_FALSE(lists.Of(kArticlesList).Filled());
  fMain->Tables().Articles()->SetData("Designation", 5, "AAA NOUVEL ARTICLE");
  fMain->ShowArticles();
  const TMyStringGrid& articles = *lists.Of(kArticlesList).Grid();
  EXPECT_EQ(articles.GetCell(2, 1), "AAA NOUVEL ARTICLE");
  const auto shown = texts(articles);
  lists.Of(kArticlesList).Fill();
  EXPECT_EQ(texts(articles), shown);

  for (int i = 0; i < 100 && !lists.Of(kArticlesList).Filled(); ++i) lists.PrepareNextList();
  for (int i = 0; i < 12; ++i) lists.PrepareNextList();
  ASSERT_FALSE(lists.Of(kDevisList).Filled());
  fMain->ShowDevis();
  const TMyStringGrid& devis = *lists.Of(kDevisList).Grid();
  const auto finished = texts(devis);
  EXPECT_GT(devis.GetRowCount(), 2);
  lists.Of(kDevisList).Fill();
  EXPECT_EQ(texts(devis), finished);
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(ListsTest, SwitchingListsRestoresTheSelectedAndTopRows) {
  WriteFileBytes(fDir.File("Data/BaseDeDonneesFactures.db"), ManyInvoices(120));
  Start();
  TMyStringGrid* factures = fMain->Lists().Of(kFacturesList).Grid();
  factures->SetRow(80);
  factures->SetTopRow(70);
  const int top = factures->GetTopRow();
  ASSERT_GT(top, 1);
  fMain->ShowClients();
  fMain->ShowFactures();
  EXPECT_EQ(factures->GetRow(), 80);
  EXPECT_EQ(factures->GetTopRow(), top);
}

TEST_F(ListsTest, CloseAndStartAgainRestoresEveryList) {
  WriteFileBytes(fDir.File("Data/BaseDeDonneesFactures.db"), ManyInvoices(120));
  Start();
  struct Row {
    const char* name;
    void (TQuorix_Form::*show)();
    TListId list;
    int row;
  };
  const Row rows[] = {
      {"clients", &TQuorix_Form::ShowClients, kClientsList, 9},
      {"articles", &TQuorix_Form::ShowArticles, kArticlesList, 33},
      {"devis", &TQuorix_Form::ShowDevis, kDevisList, 4},
      {"avoirs", &TQuorix_Form::ShowAvoirs, kAvoirsList, 2},
      {"factures", &TQuorix_Form::ShowFactures, kFacturesList, 100},
  };
  std::vector<int> tops;
  for (const Row& row : rows) {
    (fMain.get()->*row.show)();
    TMyStringGrid* grid = fMain->Lists().Of(row.list).Grid();
    grid->SetRow(row.row);
    tops.push_back(grid->GetTopRow());
  }
  // The invoice list stays on screen until the close.
  fMain->Lists().Of(kFacturesList).Grid()->SetRow(110);
  tops.back() = fMain->Lists().Of(kFacturesList).Grid()->GetTopRow();
  Restart();
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes()[0];
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE(row.name);
    (fMain.get()->*row.show)();
    TMyStringGrid* grid = fMain->Lists().Of(row.list).Grid();
    EXPECT_EQ(grid->GetRow(), i + 1 == std::size(rows) ? 110 : row.row);
    EXPECT_EQ(grid->GetTopRow(), tops[i]);
  }
}

TEST_F(ListsTest, RememberedRowOfALongerTableSelectsTheLastRow) {
  std::string ini = ReadFileBytes(fDir.File("Data/parametres.ini"));
  const std::string from = "CurrentFactureListRow = 1";
  ini.replace(ini.find(from), from.size(), "CurrentFactureListRow = 50");
  WriteFileBytes(fDir.File("Data/parametres.ini"), ini);
  Start();
  EXPECT_EQ(fMain->Lists().Of(kFacturesList).Grid()->GetRow(), 12);
}

TEST_F(ListsTest, EnterOpensTheSelectedRecordAndGoesNoFurther) {
  Start();
  struct Row {
    const char* name;
    void (TQuorix_Form::*show)();
    void (TQuorix_Form::*keyPress)(char&);
    const char* panel;
  };
  const Row rows[] = {
      {"clients", &TQuorix_Form::ShowClients, &TQuorix_Form::Liste_Clients_StringGridKeyPress,
       "Client_Panel"},
      {"articles", &TQuorix_Form::ShowArticles, &TQuorix_Form::Liste_Articles_StringGridKeyPress,
       "Article_Panel"},
      {"factures", &TQuorix_Form::ShowFactures, &TQuorix_Form::Liste_Factures_StringGridKeyPress,
       "Facture_Panel"},
      {"devis", &TQuorix_Form::ShowDevis, &TQuorix_Form::Liste_Devis_StringGridKeyPress,
       "Facture_Panel"},
      {"avoirs", &TQuorix_Form::ShowAvoirs, &TQuorix_Form::Liste_Avoirs_StringGridKeyPress,
       "Facture_Panel"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    (fMain.get()->*row.show)();
    char other = 'a';
    (fMain.get()->*row.keyPress)(other);
    EXPECT_EQ(other, 'a');
    EXPECT_FALSE(fMain->findChild<QFrame*>(row.panel)->isVisible());
    char enter = 13;
    (fMain.get()->*row.keyPress)(enter);
    EXPECT_EQ(enter, 0) << "the key is consumed";
    EXPECT_TRUE(fMain->findChild<QFrame*>(row.panel)->isVisible());
    EXPECT_EQ(VisibleLists(), 0);
    EXPECT_FALSE(fMain->findChild<QToolButton*>("Creer_BitBtn")->isEnabled()) << "no action while a record is open";
  }
}

TEST_F(ListsTest, EnterTypedInTheGridOpensTheInvoice) {
  Start();
  fMain->Lists().Of(kFacturesList).Surface()->setFocus();
  QTest::keyClick(fMain->Lists().Of(kFacturesList).Surface(), Qt::Key_Return);
  EXPECT_TRUE(fMain->PieceEditor().Facture_Panel->isVisible());
  EXPECT_TRUE(fMain->PieceEditor().Facture_StringGrid->isVisible());
}

TEST_F(ListsTest, CreerAddsARowToTheVisibleListAndOpensIt) {
  Start();
  fMain->findChild<QToolButton*>("Creer_BitBtn")->click();
  EXPECT_EQ(fMain->Lists().Of(kFacturesList).Grid()->GetRowCount(), 14);
  EXPECT_EQ(fMain->Lists().Of(kFacturesList).Grid()->GetRow(), 13);
  EXPECT_EQ(fMain->Lists().Of(kFacturesList).Grid()->GetCell(1, 13), "") << "a new, empty invoice";
  EXPECT_TRUE(fMain->PieceEditor().Facture_Panel->isVisible());

  fMain->ShowClients();
  fMain->findChild<QToolButton*>("Creer_BitBtn")->click();
  EXPECT_EQ(fMain->Lists().Of(kClientsList).Grid()->GetRow(), 16);
  EXPECT_TRUE(fMain->ClientPanel().Client_Panel->isVisible());
  EXPECT_FALSE(fMain->PieceEditor().Facture_Panel->isVisible());
}

TEST_F(ListsTest, EveryCommandIsAvailableButTheImportWithoutAnOrder) {
  Start();
  // "Importer" waits for an order in the waiting folder.
  EXPECT_FALSE(fMain->findChild<QToolButton*>("Importer_BitBtn")->isEnabled());
  for (const char* name : {"Client_BitBtn", "Articles_BitBtn", "Factures_BitBtn", "Devis_BitBtn", "Avoir_BitBtn",
                           "Creer_BitBtn", "Dupliquer_BitBtn", "Supprimer_BitBtn", "Imprimer_BitBtn",
                           "BonDePreparation_BitBtn"}) {
    QToolButton* b = fMain->findChild<QToolButton*>(name);
    EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
  }
  for (const char* name : {"Apropos1", "Historique1", "Scinder1", "CommandeAlliance1"}) {
    QAction* a = fMain->findChild<QAction*>(name);
    EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
  }
}

TEST_F(ListsTest, ButtonBarAndMainMenuInTheirOrder) {
  Start();
  std::vector<QString> buttons;
  for (QObject* child : fMain->findChild<QFrame*>("Menu_Panel")->children()) {
    if (auto* b = qobject_cast<QToolButton*>(child)) buttons.push_back(b->text());
  }
  const std::vector<QString> expectedButtons = Texts({u"Imprimer", u"Clients", u"Articles", u"Factures",
                                                u"Devis", u"Créer", u"Dupliquer", u"Supprimer",
                                                u"Préparation", u"Avoirs", u"Importer"});
  EXPECT_EQ(buttons, expectedButtons);

  std::vector<QString> menus;
  std::vector<std::vector<QString>> items;
  for (QAction* menu : fMain->menuBar()->actions()) {
    menus.push_back(menu->text());
    items.emplace_back();
    for (QAction* item : menu->menu()->actions()) items.back().push_back(item->text());
  }
  EXPECT_EQ(menus, Texts({u"Fonctions", u"Impression", u"?"}));
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0], Texts({u"Importer", u"Importer Depuis Fichier", u"Devis --> Facture",
                                            u"Facture --> Devis", u"Scinder", u"Historique", u"Nettoyer"}));
  EXPECT_EQ(items[1], Texts({u"Imprimer avec Entete", u"Imprimer Commande", u"Commande Alliance",
                                            u"Aperçu"}));
  EXPECT_EQ(items[2], Texts({u"A propos"}));
}
