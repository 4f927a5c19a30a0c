#include <gtest/gtest.h>

#include "GridTestSupport.h"
#include "StringManager.h"

namespace {

using Texts = std::vector<std::string>;

// A grid whose form attached handlers before the managed grid took over.
struct TEventsFixture {
  explicit TEventsFixture(bool editing, TCellChangeProc onCellChange = nullptr) : Surface(3, 2, 1, 1) {
    Surface.SetEditing(editing);
    Surface.Events.OnDblClick = [this] { ++DblClicks; };
    Surface.Events.OnMouseUp = [this](TMouseButton, TShiftState, int, int) { ++MouseUps; };
    Surface.Events.OnKeyDown = [this](std::uint16_t& key, TShiftState) { Keys.push_back(key); };
    Surface.Events.OnSelectCell = [this](int col, int row, bool&) { Selected.emplace_back(col, row); };
    Surface.Events.OnExit = [this] { ++Exits; };
    Surface.Events.OnMouseWheelDown = [this](TShiftState, int, int, bool&) { ++Wheels; };
    Grid = std::make_unique<TMyStringGrid>(&Surface, std::move(onCellChange));
    Grid->SetFixedRows(1);
    Grid->SetFixedCols(1);
    Grid->setTitles("Code;Nom");
  }

  void Fill(const std::vector<std::vector<std::string>>& rows) {
    Grid->SetAutomatic(false);
    Grid->SetRowCount(static_cast<int>(rows.size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r)
      for (std::size_t c = 0; c < rows[r].size(); ++c)
        Grid->SetCellForced(static_cast<int>(c) + 1, static_cast<int>(r) + 1, rows[r][c]);
    Grid->SetAutomatic(true);
    Grid->UpdateDimensions();
    Grid->SetRow(Grid->GetRow());
  }

  void ClickTitle(int col) {
    int x = 0;
    int y = 0;
    Surface.CellCenter(col, 0, x, y);
    Surface.SimulateMouseUp(x, y);
  }

  void DoubleClick(int col, int row) {
    int x = 0;
    int y = 0;
    Surface.CellCenter(col, row, x, y);
    Surface.SimulateDblClick(x, y);
  }

  Texts Column(int col) const {
    Texts out;
    for (int row = 1; row < Surface.GetRowCount(); ++row) out.push_back(Surface.GetCells(col, row));
    return out;
  }

  TTraceCapture Capture;
  TMemoryGridSurface Surface;
  std::unique_ptr<TMyStringGrid> Grid;
  int DblClicks = 0;
  int MouseUps = 0;
  int Exits = 0;
  int Wheels = 0;
  std::vector<std::uint16_t> Keys;
  std::vector<std::pair<int, int>> Selected;
};

TEST(TitleClick, SortsAscendingThenDescendingThenAnotherColumnAscending) {
  TEventsFixture f(false);
  f.Fill({{"2", "b"}, {"10", "c"}, {"1", "a"}});
  f.Grid->fSortCol = 0;
  f.ClickTitle(1);
  EXPECT_EQ(f.Column(1), (Texts{"1", "2", "10"}));
  EXPECT_TRUE(f.Grid->fSortAscending);
  f.ClickTitle(1);
  EXPECT_EQ(f.Column(1), (Texts{"10", "2", "1"}));
  EXPECT_FALSE(f.Grid->fSortAscending);
  f.ClickTitle(2);
  EXPECT_EQ(f.Column(2), (Texts{"a", "b", "c"}));
  EXPECT_EQ(f.Grid->fSortCol, 2);
  EXPECT_EQ(f.MouseUps, 3);
}

TEST(TitleClick, RowNumbersAndDataCellsDoNotSort) {
  TEventsFixture f(false);
  f.Fill({{"2", "b"}, {"1", "a"}});
  f.ClickTitle(0);
  int x = 0;
  int y = 0;
  f.Surface.CellCenter(1, 1, x, y);
  f.Surface.SimulateMouseUp(x, y, TMouseButton::Right);
  EXPECT_EQ(f.Column(1), (Texts{"2", "1"}));
  EXPECT_EQ(f.MouseUps, 2);
}

TEST(TitleClick, DraggingATitleBorderIsNoClick) {
  TEventsFixture f(false);
  f.Fill({{"2", "b"}, {"1", "a"}});
  f.Surface.SimulateColumnBorderDrag(1, 20);
  f.Surface.SimulateColumnBorderDrag(1, -10);
  EXPECT_EQ(f.Column(1), (Texts{"2", "1"}));
  f.Surface.SimulateClickCell(1, 0);
  EXPECT_EQ(f.Column(1), (Texts{"1", "2"}));
  EXPECT_EQ(f.MouseUps, 3) << "every release still reaches the form";
}

TEST(DoubleClick, OnlyTheDataAreaReachesTheForm) {
  TEventsFixture f(false);
  f.Fill({{"a", "b"}});
  f.DoubleClick(1, 0);  // title
  f.DoubleClick(0, 1);  // row number
  f.DoubleClick(1, 3);  // below the last row
  EXPECT_EQ(f.DblClicks, 0);
  f.DoubleClick(2, 1);
  EXPECT_EQ(f.DblClicks, 1);
}

TEST(Selection, LeavingACellNotifiesOnceWithTheTextItHadWhenEntered) {
  std::vector<std::tuple<int, int, std::string>> notes;
  TEventsFixture f(true, [&](int col, int row, const std::string& previous) { notes.emplace_back(col, row, previous); });
  f.Fill({{"old", "x"}, {"y", "z"}});
  f.Surface.SimulateClickCell(1, 1);
  notes.clear();
  f.Surface.SimulateKey('N', 'N');
  EXPECT_EQ(f.Surface.GetCells(1, 1), "N");
  f.Surface.SimulateClickCell(2, 2);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0], std::make_tuple(1, 1, std::string("old")));
  EXPECT_EQ(f.Grid->GetEnteredText(), "z");
}

TEST(Selection, LeavingRecoloursTheLeftCell) {
  TEventsFixture f(true);
  f.Grid->AddColColorConstraint(1, 5, kRed);
  f.Fill({{"abc", ""}, {"y", ""}});
  f.Surface.SimulateClickCell(1, 1);
  f.Surface.SimulateKey(vk::Back, 0);
  f.Surface.SetCells(1, 1, "");  // the editor emptied the cell
  EXPECT_EQ(f.Grid->GetCellColor(1, 1), kWhite);
  f.Surface.SimulateClickCell(1, 2);
  EXPECT_EQ(f.Grid->GetCellColor(1, 1), kRed);
}

TEST(Selection, RowSelectGivesTheFormTheFirstDataColumn) {
  TEventsFixture f(false);
  f.Surface.SetRowSelect(true);
  f.Fill({{"a", "b"}, {"c", "d"}});
  f.Selected.clear();
  f.Surface.SimulateClickCell(2, 2);
  ASSERT_EQ(f.Selected.size(), 1u);
  EXPECT_EQ(f.Selected[0], std::make_pair(1, 2));
}

TEST(Selection, NothingHappensDuringABulkUpdate) {
  int notes = 0;
  TEventsFixture f(true, [&](int, int, const std::string&) { ++notes; });
  f.Fill({{"a", "b"}, {"c", "d"}});
  f.Selected.clear();
  f.Grid->SetAutomatic(false);
  f.Surface.SimulateClickCell(2, 2);
  EXPECT_TRUE(f.Selected.empty());
  EXPECT_EQ(notes, 0);
}

TEST(Selection, AReadOnlyCellSwitchesEditingOff) {
  TEventsFixture f(true);
  f.Fill({{"a", "b"}, {"c", "d"}});
  f.Grid->SetColReadOnly(2, true);
  f.Surface.SimulateClickCell(2, 1);
  EXPECT_FALSE(f.Surface.GetEditing());
  f.Surface.SimulateClickCell(1, 2);
  EXPECT_TRUE(f.Surface.GetEditing());
}

TEST(Typing, ALetterReplacesTheContent) {
  TEventsFixture f(true);
  f.Fill({{"1234562", "x"}});
  f.Surface.SimulateClickCell(1, 1);
  f.Surface.SimulateKey('7', '7');
  f.Surface.SimulateKey('A', 'a');
  EXPECT_EQ(f.Surface.GetCells(1, 1), "7a");
  EXPECT_EQ(f.Keys, (std::vector<std::uint16_t>{'7', 'A'}));
}

TEST(Typing, CtrlOrAltClearNothing) {
  TEventsFixture f(true);
  f.Fill({{"keep", "x"}});
  f.Surface.SimulateClickCell(1, 1);
  f.Surface.SimulateKey('C', 0, ssCtrl);
  f.Surface.SimulateKey('V', 0, ssAlt);
  EXPECT_EQ(f.Surface.GetCells(1, 1), "keep");
  EXPECT_EQ(f.Keys.size(), 2u);
}

TEST(Typing, KeysOutsideTheSetDoNotClear) {
  TEventsFixture f(true);
  f.Fill({{"keep", "x"}});
  f.Surface.SimulateClickCell(1, 1);
  f.Surface.SimulateKey(vk::Left, 0);
  f.Surface.SimulateKey(vk::F12, 0);
  EXPECT_EQ(f.Surface.GetCells(1, 1), "keep");
  EXPECT_FALSE(f.Surface.GetEditorMode());
}

TEST(Typing, AListGridNeverClearsACell) {
  TEventsFixture f(false);
  f.Fill({{"FA00001", "x"}});
  f.Surface.SimulateClickCell(1, 1);
  f.Surface.SimulateKey('A', 'a');
  EXPECT_EQ(f.Surface.GetCells(1, 1), "FA00001");
  EXPECT_TRUE(f.Capture.Boxes().empty());
}

TEST(Typing, ASelectionInTheEditorIsCut) {
  TEventsFixture f(true);
  f.Fill({{"abcdef", "x"}});
  f.Surface.SimulateClickCell(1, 1);
  f.Surface.SetEditorMode(true);
  f.Surface.SetEditorSelStart(1);
  f.Surface.SetEditorSelLength(3);
  f.Surface.SimulateKey('Z', 'Z');
  EXPECT_EQ(f.Surface.GetCells(1, 1), "aZef");
}

TEST(Wheel, KeepsTheCurrentRowVisible) {
  TEventsFixture f(false);
  std::vector<std::vector<std::string>> rows;
  for (int i = 0; i < 20; ++i) rows.push_back({std::to_string(i), "x"});
  f.Fill(rows);
  f.Surface.SimulateClickCell(1, 2);
  f.Surface.SimulateWheel(true);
  f.Surface.SimulateWheel(true);
  EXPECT_EQ(f.Grid->GetTopRow(), 7);
  EXPECT_EQ(f.Grid->GetRow(), 7);
  f.Grid->SetRow(11);
  f.Surface.SimulateWheel(false);
  EXPECT_EQ(f.Grid->GetTopRow(), 4);
  EXPECT_EQ(f.Grid->GetRow(), 8);
  EXPECT_EQ(f.Wheels, 2);
}

TEST(Exit, RecoloursEveryCellThenCallsTheForm) {
  TEventsFixture f(true);
  f.Grid->AddColColorConstraint(2, 5, kRed);
  f.Fill({{"a", "b"}, {"c", "d"}});
  f.Surface.SetCells(2, 2, "");  // typed into the editor, not yet recoloured
  EXPECT_EQ(f.Grid->GetCellColor(2, 2), kWhite);
  f.Surface.SimulateExit();
  EXPECT_EQ(f.Grid->GetCellColor(2, 2), kRed);
  EXPECT_EQ(f.Exits, 1);
}

TEST(TakeOver, ClicksReachTheFormOnEveryMove) {
  TTraceCapture capture;
  TMemoryGridSurface surface(3, 4, 1, 1);
  int clicks = 0;
  surface.Events.OnClick = [&] { ++clicks; };
  TMyStringGrid grid(&surface);
  grid.SetRow(3);
  EXPECT_EQ(clicks, 1);
  surface.SimulateClickCell(2, 3);  // moves the column: one click
  surface.SimulateClickCell(2, 3);  // stays: the click itself
  EXPECT_EQ(clicks, 3);
}

TEST(TakeOver, DestroyingTheGridGivesTheFormItsHandlersBack) {
  TEventsFixture f(false);
  f.Fill({{"a", "b"}});
  f.Grid.reset();
  f.DoubleClick(1, 0);
  EXPECT_EQ(f.DblClicks, 1);
}

// A form's click handler that raises the pattern error while a sort moves
// the current row: the sort is abandoned, and the grid works again at once.
TEST(BulkUpdate, AnExceptionInTheMiddleLeavesTheAutomaticWorkOn) {
  TTraceCapture capture;
  TMemoryGridSurface surface(2, 3, 1, 1);
  bool armed = false;
  surface.Events.OnClick = [&armed] {
    if (armed) StringManager().RegExMatch("(", "");
  };
  TMyStringGrid grid(&surface);
  grid.AddColColorConstraint(1, 5, kRed);
  grid.SetAutomatic(false);
  grid.SetCellForced(1, 1, "b");
  grid.SetCellForced(1, 2, "a");
  grid.SetAutomatic(true);
  grid.UpdateDimensions();
  grid.SetRow(1);
  grid.fSortAscending = true;
  armed = true;
  EXPECT_THROW(grid.TrierColonne(1), ERegExError);
  armed = false;
  grid.SetCellForced(1, 2, "");
  EXPECT_EQ(grid.GetCellColor(1, 2), kRed) << "colours are worked out again";
  grid.SetRowCount(4);
  EXPECT_EQ(grid.GetCell(0, 3), "3") << "rows are numbered again";
}

}  // namespace
