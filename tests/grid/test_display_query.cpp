#include <gtest/gtest.h>

#include "GridTestSupport.h"
#include "MyDatabase.h"

namespace {

TEST(DisplayQuery, FillsTheGridWithTheResultAndItsTitles) {
  TGridFixture f(1);
  f.Grid->AddColColorConstraint(1, 5, kRed);
  TMyDatabase table("");
  table.LoadFromText("Code;Societe;Ville\r\nC2;BETA;Dakar\r\nC1;ALPHA;Lome\r\nC3;;Conakry\r\n");
  table.Query("Code", "C[13]", Pattern);
  table.DisplayQuery(f.Grid.get(), "Code;Societe", true);

  EXPECT_EQ(f.Grid->GetColCount(), 3);
  EXPECT_EQ(f.Grid->GetRowCount(), 3);
  EXPECT_EQ(f.Grid->GetColName(1), "Code");
  EXPECT_EQ(f.Surface.GetCells(2, 0), "Societe");
  EXPECT_EQ(f.Column(1), (std::vector<std::string>{"C1", "C3"}));
  EXPECT_EQ(f.Column(2), (std::vector<std::string>{"ALPHA", ""}));
  EXPECT_EQ(f.Column(0), (std::vector<std::string>{"1", "2"}));
  // The new column takes the rules of nothing; the first keeps its own.
  EXPECT_EQ(f.Grid->GetCellColor(1, 2), kWhite);
  EXPECT_EQ(f.Grid->GetColorConstraints(2, 2).size(), 0u);
  EXPECT_TRUE(f.Capture.Boxes().empty());
}

TEST(DisplayQuery, AnEmptyResultLeavesOneEmptyRow) {
  TGridFixture f(2);
  f.Fill({{"old", "old"}, {"old", "old"}});
  TMyDatabase table("");
  table.LoadFromText("Code;Societe\r\nC1;ALPHA\r\n");
  table.Query("Code", "C9", Exact);
  table.DisplayQuery(f.Grid.get(), "", true);
  EXPECT_EQ(f.Grid->GetRowCount(), 2);
  EXPECT_EQ(f.Column(1), (std::vector<std::string>{""}));
  EXPECT_EQ(f.Surface.GetCells(2, 0), "Societe");
}

}  // namespace
