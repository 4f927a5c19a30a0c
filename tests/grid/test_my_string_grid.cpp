#include <gtest/gtest.h>

#include <functional>

#include "GridTestSupport.h"

using Texts = std::vector<std::string>;

TEST(MyStringGridTitles, NamesTheDataColumnsAndWritesRowZero) {
  TGridFixture f(2);
  f.Grid->setTitles("Code;Societe");
  EXPECT_EQ(f.Grid->GetColName(1), "Code");
  EXPECT_EQ(f.Grid->GetColName(2), "Societe");
  EXPECT_EQ(f.Surface.GetCells(1, 0), "Code");
  EXPECT_EQ(f.Surface.GetCells(2, 0), "Societe");
  EXPECT_EQ(f.Grid->GetColName(0), "");
  EXPECT_EQ(f.Grid->GetColIndex("Societe"), 2);
  EXPECT_TRUE(f.Capture.Boxes().empty());
}

TEST(MyStringGridTitles, WrongCountReportsAndNamesNothing) {
  TGridFixture f(3);
  f.Grid->setTitles("Code;Societe");
  ASSERT_EQ(f.Capture.Boxes().size(), 1u);
  EXPECT_EQ(f.Capture.Boxes()[0], "*ERROR*TMyStringGrid.setTitles : donnees de titre pas a la bonne taille");
  EXPECT_EQ(f.Surface.GetCells(1, 0), "");
  EXPECT_EQ(f.Grid->GetColName(1), "");
}

TEST(MyStringGridIndexes, UnknownNameIsReportedThenReadAsEmpty) {
  TGridFixture f(2);
  f.Grid->setTitles("Code;Societe");
  EXPECT_EQ(f.Grid->GetColIndex("code"), -1);
  ASSERT_EQ(f.Capture.Boxes().size(), 1u);
  EXPECT_EQ(f.Capture.Boxes()[0], "*ERROR*TMyStringGrid.GetColIndex : colonne n'existe pas : code");
  f.Capture.Clear();
  EXPECT_EQ(f.Grid->GetCellByName("Ville", 1), "");
  EXPECT_TRUE(f.Capture.Traced("TMyStringGrid.GetCell: bad col row : -1 1"));
  EXPECT_EQ(f.Capture.Boxes().size(), 1u);
}

TEST(MyStringGridIndexes, BadColumnNamesAreErrors) {
  TGridFixture f(2);
  EXPECT_EQ(f.Grid->GetColName(3), "");
  f.Grid->SetColName(-1, "X");
  EXPECT_EQ(f.Capture.Boxes(), (Texts{"*ERROR*TMyStringGrid.GetColName: trying to access a bad col",
                                      "*ERROR*TMyStringGrid.SetColName: trying to access a bad col"}));
}

TEST(MyStringGridIndexes, SetRowWarnsAndClamps) {
  TGridFixture f(2);
  f.Fill({{"a", "b"}, {"c", "d"}, {"e", "f"}});
  f.Grid->SetRow(-3);
  EXPECT_EQ(f.Grid->GetRow(), 0);
  EXPECT_TRUE(f.Capture.Traced("Warning : TMyStringGrid.SetRow : Bad new Row :  -3"));
  f.Grid->SetRow(f.Grid->GetRowCount() + 5);
  EXPECT_EQ(f.Grid->GetRow(), 3);
  f.Grid->SetCol(7);
  EXPECT_EQ(f.Grid->GetCol(), 2);
  EXPECT_TRUE(f.Capture.Traced("Warning : TMyStringGrid.SetCol : Bad new Col :  7"));
  EXPECT_TRUE(f.Capture.Boxes().empty());
}

TEST(MyStringGridRows, TheLastDataRowIsNeverRemoved) {
  TGridFixture f(2);
  f.Fill({{"FA00001", "x"}});
  f.Grid->SetRowCount(1);
  EXPECT_EQ(f.Grid->GetRowCount(), 2);
  f.Grid->DeleteLine(1);
  EXPECT_EQ(f.Grid->GetRowCount(), 2);
  EXPECT_EQ(f.Surface.GetCells(1, 1), "FA00001");
  EXPECT_EQ(f.Capture.Boxes(), (Texts{"*ERROR*TMyStringGrid.SetRowCount : impossible de supprimer la premiere ligne",
                                      "*ERROR*TMyStringGrid.SetRowCount : impossible de supprimer la premiere ligne"}));
}

TEST(MyStringGridRows, BadPositionsAreReported) {
  TGridFixture f(2);
  f.Fill({{"a", "b"}});
  f.Grid->InsertEmptyLine(0, false);
  f.Grid->InsertEmptyLine(3, false);
  f.Grid->DeleteLine(2);
  EXPECT_EQ(f.Capture.Boxes(), (Texts{"*ERROR*TMyStringGrid.InsertEmptyLine: bad Row Position 0",
                                      "*ERROR*TMyStringGrid.InsertEmptyLine: bad Row Position 3",
                                      "*ERROR*TMyStringGrid.DeleteLine: bad Row Position 2"}));
  EXPECT_EQ(f.Grid->GetRowCount(), 2);
}

TEST(MyStringGridRows, InsertAtTheEndAppendsSelectsAndRenumbers) {
  TGridFixture f(2);
  f.Fill({{"a", "b"}, {"c", "d"}});
  f.Grid->InsertEmptyLine(f.Grid->GetRowCount(), false);
  EXPECT_EQ(f.Grid->GetRowCount(), 4);
  EXPECT_EQ(f.Grid->GetRow(), 3);
  EXPECT_EQ(f.Grid->GetCol(), 1);
  EXPECT_EQ(f.Column(0), (Texts{"1", "2", "3"}));
  EXPECT_EQ(f.Column(1), (Texts{"a", "c", ""}));
}

TEST(MyStringGridRows, InsertMovesTextsAndAttributesDown) {
  TGridFixture f(2);  // a list grid: no editing, so every cell starts read-only
  f.Fill({{"a", "b"}, {"c", "d"}});
  f.Grid->AddRowColorConstraint(2, 3, kRed);
  ASSERT_EQ(f.Grid->GetCellColor(1, 2), kRed);
  f.Grid->InsertEmptyLine(2, false);
  EXPECT_EQ(f.Column(1), (Texts{"a", "", "c"}));
  EXPECT_EQ(f.Column(2), (Texts{"b", "", "d"}));
  // The pushed-down row keeps its constraint; the new row is writable and
  // holds a copy of the pushed-down row's constraints.
  EXPECT_EQ(f.Grid->GetCellColor(1, 3), kRed);
  EXPECT_EQ(f.Grid->GetColorConstraints(1, 2).size(), 1u);
  EXPECT_FALSE(f.Grid->GetReadOnly(1, 2));
  EXPECT_TRUE(f.Grid->GetReadOnly(1, 3));
  f.Grid->SetCell(1, 2, "new");
  EXPECT_EQ(f.Surface.GetCells(1, 2), "new");
  EXPECT_TRUE(f.Capture.Boxes().empty());
}

TEST(MyStringGridRows, InsertKeepingAttributesCopiesThePushedDownRow) {
  TGridFixture f(2);
  f.Fill({{"a", "b"}, {"c", "d"}});
  f.Grid->InsertEmptyLine(2, true);
  EXPECT_TRUE(f.Grid->GetReadOnly(1, 2));
  f.Grid->SetCell(1, 2, "x");
  EXPECT_EQ(f.Capture.Boxes(), (Texts{"*ERROR*TMyStringGrid.SetCell:Trying to write in a read-only cell 1 2"}));
}

TEST(MyStringGridRows, DeleteMovesTextsAndAttributesUp) {
  TGridFixture f(2);
  f.Fill({{"a", "b"}, {"c", "d"}, {"e", "f"}});
  f.Grid->InsertEmptyLine(3, false);  // row 3 writable, "e" pushed to row 4
  f.Grid->AddRowColorConstraint(4, 7, kYellow);
  f.Grid->DeleteLine(3);
  EXPECT_EQ(f.Grid->GetRowCount(), 4);
  EXPECT_EQ(f.Column(1), (Texts{"a", "c", "e"}));
  EXPECT_EQ(f.Column(0), (Texts{"1", "2", "3"}));
  EXPECT_TRUE(f.Grid->GetReadOnly(1, 3));
  EXPECT_EQ(f.Grid->GetCellColor(1, 3), kYellow);
  EXPECT_EQ(f.Grid->GetCellColor(1, 2), kWhite);
}

TEST(MyStringGridRows, DeleteLinesMovesTheOthersUpWithTheirAttributes) {
  TGridFixture f(2);
  f.Fill({{"a", "b"}, {"c", "d"}, {"e", "f"}, {"g", "h"}});
  f.Grid->AddRowColorConstraint(4, 7, kYellow);
  f.Grid->DeleteLines({1, 6});
  EXPECT_EQ(f.Capture.Boxes(), (Texts{"*ERROR*TMyStringGrid.DeleteLines: bad Row Position 6"}));
  EXPECT_EQ(f.Grid->GetRowCount(), 5) << "nothing deleted";
  f.Grid->DeleteLines({3, 1});
  EXPECT_EQ(f.Column(1), (Texts{"c", "g"}));
  EXPECT_EQ(f.Column(2), (Texts{"d", "h"}));
  EXPECT_EQ(f.Column(0), (Texts{"1", "2"}));
  EXPECT_EQ(f.Grid->GetCellColor(1, 2), kYellow);
  EXPECT_EQ(f.Grid->GetCellColor(1, 1), kWhite);
}

TEST(MyStringGridCells, FixedColumnsRefuseGuardedWrites) {
  TGridFixture f(2, true);
  f.Fill({{"a", "b"}});
  f.Grid->SetCell(0, 1, "x");
  EXPECT_EQ(f.Capture.Boxes(), (Texts{"*ERROR*TMyStringGrid.SetCell:Trying to write in a read-only cell 0 1"}));
  EXPECT_EQ(f.Surface.GetCells(0, 1), "1");
  f.Grid->SetCellForced(0, 1, "x");
  EXPECT_EQ(f.Surface.GetCells(0, 1), "x");
  f.Grid->SetCell(1, 1, "y");
  EXPECT_EQ(f.Surface.GetCells(1, 1), "y");
}

TEST(MyStringGridCells, FindCellSearchesColumnByColumn) {
  TGridFixture f(2);
  f.Fill({{"x", "a"}, {"a", "x"}});
  f.Grid->setTitles("Code;Nom");
  EXPECT_EQ(f.Grid->FindCell("x", ""), std::make_pair(1, 1));
  EXPECT_EQ(f.Grid->FindCell("x", "Nom"), std::make_pair(2, 2));
  EXPECT_EQ(f.Grid->FindCell("X", ""), std::make_pair(-1, -1));
  EXPECT_EQ(f.Grid->FindCell("x", "Ville"), std::make_pair(-1, -1));
  EXPECT_EQ(f.Capture.Boxes().size(), 1u);
}

TEST(MyStringGridDimensions, NewRowsTakeTheColumnRulesOfRowZero) {
  TGridFixture f(1, true);
  f.Grid->AddColColorConstraint(1, 5, kRed);
  f.Fill({{""}, {"x"}, {""}});
  EXPECT_EQ(f.Grid->GetCellColor(1, 1), kRed);
  EXPECT_EQ(f.Grid->GetCellColor(1, 2), kWhite);
  EXPECT_EQ(f.Grid->GetCellColor(1, 3), kRed);
  EXPECT_EQ(f.Grid->GetColorConstraints(1, 3).size(), 1u);
  EXPECT_FALSE(f.Grid->GetReadOnly(1, 3));
  EXPECT_TRUE(f.Grid->GetReadOnly(0, 3));
}

TEST(MyStringGridDimensions, ColumnsAddedToAListGridAreReadOnly) {
  TGridFixture f(1, false);
  f.Grid->SetColCount(3);
  EXPECT_TRUE(f.Grid->GetReadOnly(2, 1));
  EXPECT_EQ(f.Grid->GetCellFont(2, 1), (TGridFont{0, 8, 0}));
}

// ---------------------------------------------------------------------------
// Sorting

TEST(MyStringGridSort, NumbersCompareAsNumbers) {
  TGridFixture f(1);
  f.Fill({{"10"}, {"9"}, {"2,5"}});
  f.Grid->fSortAscending = true;
  f.Grid->TrierColonne(1);
  EXPECT_EQ(f.Column(1), (Texts{"2,5", "9", "10"}));
  f.Grid->fSortAscending = false;
  f.Grid->TrierColonne(1);
  EXPECT_EQ(f.Column(1), (Texts{"10", "9", "2,5"}));
  EXPECT_EQ(f.Column(0), (Texts{"1", "2", "3"}));
}

TEST(MyStringGridSort, CreditNoteNumbersCompareByTheirNumber) {
  TGridFixture f(1);
  f.Fill({{"AV1000"}, {"AV999"}, {"AV010"}});
  f.Grid->fSortAscending = true;
  f.Grid->TrierColonne(1);
  EXPECT_EQ(f.Column(1), (Texts{"AV010", "AV999", "AV1000"}));
}

TEST(MyStringGridSort, WholeRowsMoveAndEqualKeysKeepTheQuicksortOrder) {
  TGridFixture f(2);
  f.Fill({{"1", "a"}, {"1", "b"}, {"0", "c"}});
  f.Grid->fSortAscending = true;
  f.Grid->TrierColonne(1);
  EXPECT_EQ(f.Column(1), (Texts{"0", "1", "1"}));
  EXPECT_EQ(f.Column(2), (Texts{"c", "b", "a"}));
}

TEST(MyStringGridSort, BadColumnIsReported) {
  TGridFixture f(1);
  f.Grid->TrierColonne(5);
  f.Grid->TrierColonne("Nope");
  EXPECT_EQ(f.Capture.Boxes(), (Texts{"*ERROR*TMyStringGrid.TrierColonne: bad col : 5",
                                      "*ERROR*TMyStringGrid.GetColIndex : colonne n'existe pas : Nope",
                                      "*ERROR*TMyStringGrid.TrierColonne: bad col : -1"}));
}

TEST(MyStringGridSort, TheSelectedRecordStaysSelectedAtTheSameDistanceFromTheTop) {
  TGridFixture f(2);
  std::vector<std::vector<std::string>> rows;
  for (int i = 1; i <= 20; ++i) rows.push_back({std::to_string(i), "r" + std::to_string(i)});
  f.Fill(rows);
  ASSERT_EQ(f.Surface.GetVisibleRowCount(), 5);
  f.Grid->SetRow(10);  // the record "10"
  f.Grid->SetTopRow(8);
  f.Grid->fSortAscending = false;
  f.Grid->TrierColonne(1);
  EXPECT_EQ(f.Grid->GetRow(), 11);
  EXPECT_EQ(f.Surface.GetCells(2, 11), "r10");
  EXPECT_EQ(f.Grid->GetTopRow(), 9);
  // Near the end the top row stops where the last page starts.
  f.Grid->SetRow(20);
  f.Grid->SetTopRow(16);
  f.Grid->fSortAscending = true;
  f.Grid->TrierColonne(1);  // "r1" goes from row 20 to row 1
  EXPECT_EQ(f.Grid->GetRow(), 1);
  EXPECT_EQ(f.Grid->GetTopRow(), 1);
}

TEST(MyStringGridSort, ResortUsesTheSortColumnOrColumnZero) {
  TGridFixture f(2);
  f.Fill({{"b", "2"}, {"a", "1"}});
  f.Grid->fSortCol = 1;
  f.Grid->fSortAscending = true;
  f.Grid->Resort();
  EXPECT_EQ(f.Column(1), (Texts{"a", "b"}));
  f.Grid->fSortCol = 9;
  f.Grid->fSortAscending = false;
  f.Grid->Resort();  // by the row numbers of column 0, which stay in place
  EXPECT_EQ(f.Column(0), (Texts{"1", "2"}));
  EXPECT_TRUE(f.Capture.Boxes().empty());
}

// ---------------------------------------------------------------------------
// Column widths: the memory surface measures 7 pixels per character.

TEST(MyStringGridWidths, SpareWidthIsSharedInProportion) {
  TGridFixture f(2);
  f.Fill({{"ABCDEFGHIJ", ""}});
  f.Grid->setTitles("Code;Nom");
  f.Grid->SetWidth(400);
  // Text widths 25, 70, 25; spare 400 - (120 + 12 + 3) = 265.
  EXPECT_EQ(f.Surface.GetColWidth(0), 80);
  EXPECT_EQ(f.Surface.GetColWidth(1), 225);
  EXPECT_EQ(f.Surface.GetColWidth(2), 80);
  EXPECT_EQ(f.Grid->GetNeededWidth(), 120 + 3 + 12);
}

TEST(MyStringGridWidths, HalvesRoundToEvenAndTheLastColumnTakesTheRest) {
  TTraceCapture capture;
  TMemoryGridSurface surface(2, 2, 0, 1);
  TMyStringGrid grid(&surface);
  grid.SetWidth(69);  // spare 69 - (50 + 12 + 2) = 5: each column gets 2.5, rounded to 2
  EXPECT_EQ(surface.GetColWidth(0), 27);
  EXPECT_EQ(surface.GetColWidth(1), 28);  // 69 - (54 + 14) = 1 more for the last column
  grid.SetWidth(71);  // 3.5 rounds to 4
  EXPECT_EQ(surface.GetColWidth(0), 29);
  EXPECT_EQ(surface.GetColWidth(1), 29);
}

TEST(MyStringGridWidths, AScrollBarTakesFifteenPixels) {
  TGridFixture f(1);
  std::vector<std::vector<std::string>> rows(10, std::vector<std::string>{"x"});
  f.Fill(rows);
  EXPECT_EQ(f.Grid->GetNeededWidth(), 25 + 25 + 2 + 15 + 12);
}

// Widths kept through single writes and row count changes must be the widths a
// full measure gives: a row removed or a text replaced may have been the widest.
TEST(MyStringGridWidths, KeptWidthsEqualAFullMeasure) {
  struct TCase {
    const char* Name;
    std::function<void(TMyStringGrid&)> Change;
  };
  const std::vector<TCase> cases = {
      {"wider text written", [](TMyStringGrid& g) { g.SetCellForced(1, 2, "ABCDEFGHIJKLMNOP"); }},
      {"widest text shortened", [](TMyStringGrid& g) { g.SetCellForced(1, 1, "A"); }},
      {"widest text emptied", [](TMyStringGrid& g) { g.SetCell(1, 1, ""); }},
      {"narrow text replaced", [](TMyStringGrid& g) { g.SetCell(2, 2, "xyz"); }},
      {"empty row added", [](TMyStringGrid& g) { g.SetRowCount(g.GetRowCount() + 1); }},
      {"row added then removed",
       [](TMyStringGrid& g) {
         g.SetRowCount(g.GetRowCount() + 1);
         g.SetRowCount(g.GetRowCount() - 1);
       }},
      {"row removed, as wide a text kept", [](TMyStringGrid& g) { g.SetRowCount(g.GetRowCount() - 1); }},
      {"rows holding the widest texts removed", [](TMyStringGrid& g) { g.SetRowCount(g.GetRowCount() - 2); }},
      {"rows up to a two-digit number", [](TMyStringGrid& g) { g.SetRowCount(12); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TGridFixture f(2, true);
    f.Fill({{"ABCDEFGHIJ", "abc"}, {"AB", "abcdefghiz"}, {"ABC", "abcdefghij"}});
    (void)f.Grid->GetNeededWidth();
    c.Change(*f.Grid);
    const int kept = f.Grid->GetNeededWidth();
    f.Grid->AutoSizeCols();
    const std::vector<int> keptCols = {f.Surface.GetColWidth(0), f.Surface.GetColWidth(1), f.Surface.GetColWidth(2)};
    // A write straight to the surface makes the grid measure every text again.
    f.Surface.SetCells(0, 0, f.Surface.GetCells(0, 0));
    EXPECT_EQ(kept, f.Grid->GetNeededWidth());
    f.Grid->AutoSizeCols();
    EXPECT_EQ(keptCols, (std::vector<int>{f.Surface.GetColWidth(0), f.Surface.GetColWidth(1), f.Surface.GetColWidth(2)}));
  }
}

// A list kept sorted takes or loses one record in place: it then shows what
// the same records filled and sorted afresh show, texts, colours and widths
// alike, and the selection stays on its record.
TEST(MyStringGridRows, OneRecordInPlaceShowsWhatARefillAndSortShow) {
  using Rows = std::vector<std::vector<std::string>>;
  struct TCase {
    const char* Name;
    bool Ascending;
    Rows Insert;
    std::vector<std::string> Remove;
  };
  const std::vector<TCase> cases = {
      {"ascending, in the middle", true, {{"FA31705", "-3,5"}}, {}},
      {"ascending, first and last", true, {{"FA00001", "1"}, {"FA99999", "2"}}, {}},
      {"descending, a wider text", false, {{"FA31706", "-1234567890,12"}}, {}},
      {"the widest text removed", true, {}, {"FA31703"}},
      {"the selected record removed", true, {}, {"FA31702"}},
      {"most records removed, then one added", false, {{"FA31700", ""}}, {"FA31701", "FA31703", "FA31704", "FA31709"}},
  };
  const Rows start = {{"FA31709", "12"}, {"FA31701", "0"}, {"FA31704", "-5"}, {"FA31703", "123456789,99"}, {"FA31702", ""}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto fixture = [&](const Rows& rows) {
      auto f = std::make_unique<TGridFixture>(2);
      f->Grid->AddColColorConstraint(2, 20, kRed);
      f->Grid->AddColColorConstraint(2, 5, kYellow);
      f->Fill(rows);
      f->Grid->setTitles("Num Facture;Total");
      f->Grid->SetWidth(300);
      f->Grid->fSortCol = 1;
      f->Grid->fSortAscending = c.Ascending;
      f->Grid->Resort();
      return f;
    };
    auto inPlace = fixture(start);
    inPlace->Grid->SetRow(inPlace->Grid->FindCell("FA31702", "Num Facture").second);
    Rows records = start;
    for (const auto& texts : c.Insert) {
      inPlace->Grid->InsertRowAt(inPlace->Grid->SortedRowFor(texts[0]), texts);
      records.push_back(texts);
    }
    for (const std::string& number : c.Remove) {
      inPlace->Grid->RemoveRowAt(inPlace->Grid->FindCell(number, "Num Facture").second);
      std::erase_if(records, [&](const auto& r) { return r[0] == number; });
    }
    auto afresh = fixture(records);
    for (int col = 0; col < 3; ++col) {
      EXPECT_EQ(inPlace->Column(col), afresh->Column(col)) << col;
      EXPECT_EQ(inPlace->Surface.GetColWidth(col), afresh->Surface.GetColWidth(col)) << col;
      for (int row = 1; row < afresh->Grid->GetRowCount(); ++row) {
        EXPECT_EQ(inPlace->Grid->GetCellColor(col, row), afresh->Grid->GetCellColor(col, row)) << col << "," << row;
      }
    }
    const std::string selected = inPlace->Surface.GetCells(1, inPlace->Grid->GetRow());
    EXPECT_EQ(selected, c.Remove.empty() || c.Remove[0] != "FA31702" ? "FA31702" : "FA31703");
    EXPECT_TRUE(inPlace->Capture.Boxes().empty());
  }
}
