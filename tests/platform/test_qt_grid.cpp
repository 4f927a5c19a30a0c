#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <cstdlib>
#include <functional>
#include <memory>

#include "MyStringGrid.h"
#include "QtGridSurface.h"
#include "QtText.h"
#include "TestSupport.h"

void QuorixTestInit(int& argc, char** argv) {
  // The build lists the tests by running this program without a display.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // Never destroyed: at exit the toolkit's own statics may already be gone.
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

namespace {

using Texts = std::vector<std::string>;

constexpr TColor kYellow = 0x9BF4FF;
constexpr TColor kRed = 0x443EFA;

// An invoice-like list on screen: a fixed title row and row-number column.
struct TQtGridFixture {
  explicit TQtGridFixture(bool editing, TCellChangeProc onCellChange = nullptr) {
    Surface = std::make_unique<TQtGridSurface>(nullptr, 4, 2);
    Surface->setObjectName("Liste_Factures_StringGrid");
    Surface->SetEditing(editing);
    Surface->SetRowSelect(!editing);
    Surface->Events.OnDblClick = [this] { ++DblClicks; };
    Surface->Events.OnClick = [this] { ++Clicks; };
    Surface->resize(420, 260);
    Grid = std::make_unique<TMyStringGrid>(Surface.get(), std::move(onCellChange));
    Grid->SetFixedRows(1);
    Grid->SetFixedCols(1);
    Surface->show();
    Surface->activateWindow();
    QApplication::setActiveWindow(Surface.get());
    Surface->setFocus();
    QApplication::processEvents();
  }
  ~TQtGridFixture() {
    Grid.reset();
    Surface.reset();
  }

  void Fill(const std::vector<std::vector<std::string>>& rows) {
    Grid->SetAutomatic(false);
    Grid->SetRowCount(static_cast<int>(rows.size()) + 1);
    Grid->setTitles("Num Facture;Societe;Total TTC");
    for (std::size_t r = 0; r < rows.size(); ++r)
      for (std::size_t c = 0; c < rows[r].size(); ++c)
        Grid->SetCellForced(static_cast<int>(c) + 1, static_cast<int>(r) + 1, rows[r][c]);
    Grid->SetAutomatic(true);
    Grid->UpdateDimensions();
    Grid->SetRow(Grid->GetRow());
    QApplication::processEvents();
  }

  Texts Column(int col) const {
    Texts out;
    for (int row = 1; row < Surface->GetRowCount(); ++row) out.push_back(Surface->GetCells(col, row));
    return out;
  }

  // The widget under a cell's centre and the point in its coordinates.
  std::pair<QWidget*, QPoint> Target(int col, int row) const {
    const QPoint inGrid = Surface->CellRectInWidget(col, row).center();
    QWidget* w = Surface->childAt(inGrid);
    if (w == nullptr) w = Surface.get();
    return {w, w->mapFrom(Surface.get(), inGrid)};
  }

  void Click(int col, int row, Qt::KeyboardModifiers mods = {}) {
    auto [w, p] = Target(col, row);
    QTest::mouseClick(w, Qt::LeftButton, mods, p);
    QApplication::processEvents();
  }

  void DoubleClick(int col, int row) {
    auto [w, p] = Target(col, row);
    QTest::mouseDClick(w, Qt::LeftButton, {}, p);
    QApplication::processEvents();
  }

  QWidget* KeyTarget() const { return Surface->Editor() != nullptr ? static_cast<QWidget*>(Surface->Editor()) : Surface.get(); }

  TTraceCapture Capture;
  std::unique_ptr<TQtGridSurface> Surface;
  std::unique_ptr<TMyStringGrid> Grid;
  int DblClicks = 0;
  int Clicks = 0;
};

TEST(QtText, RoundTripsWindows1252) {
  const std::string text = "Créer € Œuvre";
  const QString q = ToQString(text);
  EXPECT_EQ(q, QString::fromUtf8("Cr\xC3\xA9" "er \xE2\x82\xAC \xC5\x92uvre"));
  EXPECT_EQ(FromQString(q), text);
  EXPECT_EQ(FromQString(QString::fromUtf8("\xE2\x98\x83")), "?");
}

TEST(QtText, AHugeValueIsDrawnAndMeasuredByItsBeginningOnly) {
  // An article value of many megabytes (accented, so that the toolkit lays it
  // out itself) in a list: the list shows it, sizes its column and paints
  // without handing the toolkit more than its first characters.
  TQtGridFixture f(false);
  std::string huge;
  while (huge.size() < 8 * 1024 * 1024) huge += "CR\xC8ME HYDRATANTE \xC9T\xC9 ";
  const std::string shown = huge.substr(0, kMaxDrawnChars);
  f.Fill({{"FA00001", huge, "10"}});
  f.Grid->AutoSizeCols();
  QApplication::processEvents();
  EXPECT_FALSE(f.Surface->grab().isNull());
  const QModelIndex cell = f.Surface->model()->index(0, 1);
  EXPECT_EQ(f.Surface->model()->data(cell, Qt::DisplayRole).toString(), ToQString(shown));
  f.Surface->SetFont(TGridFont{});
  EXPECT_EQ(f.Surface->TextWidth(huge), f.Surface->TextWidth(shown));
  EXPECT_EQ(f.Surface->GetCells(2, 1), huge);  // the value itself stays whole
}

TEST(QtGridKeys, QtKeysMapToVirtualKeys) {
  const QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  const QKeyEvent digit(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, "7");
  const QKeyEvent keypad(QEvent::KeyPress, Qt::Key_7, Qt::KeypadModifier, "7");
  const QKeyEvent f11(QEvent::KeyPress, Qt::Key_F11, Qt::NoModifier);
  const QKeyEvent comma(QEvent::KeyPress, Qt::Key_Comma, Qt::NoModifier, ",");
  EXPECT_EQ(VirtualKeyOf(&letter), 0x41);
  EXPECT_EQ(VirtualKeyOf(&digit), 0x37);
  EXPECT_EQ(VirtualKeyOf(&keypad), 0x67);
  EXPECT_EQ(VirtualKeyOf(&f11), 0x7A);
  EXPECT_EQ(VirtualKeyOf(&comma), 0xBC);
  EXPECT_EQ(ShiftStateOf(Qt::ControlModifier | Qt::ShiftModifier), ssCtrl | ssShift);
}

TEST(QtGridSurface, MeasuresTextsAsTheFontMetricsDo) {
  TQtGridFixture f(false);
  const QFontMetrics fm(f.Surface->font());
  f.Surface->SetFont(TGridFont{});
  for (const std::string& text : Texts{"FA00001", "Total TTC", "12 345,67", "DOLIPRANE 1000MG", "Société",
                                       "WWW.iii", "AV1000", "Poids", "0,0000", "fi ffl"}) {
    EXPECT_EQ(f.Surface->TextWidth(text), QFontMetrics(f.Surface->font()).horizontalAdvance(ToQString(text))) << text;
  }
  EXPECT_EQ(f.Surface->TextHeight("x"), fm.height());
}

TEST(QtGridSurface, AddedUpWidthsAgreeWithTheToolkitOnAnyAsciiText) {
  TQtGridFixture f(false);
  for (std::uint8_t style : {std::uint8_t{0}, std::uint8_t{fsBold}}) {
    const TGridFont font{0, 8, style};
    f.Surface->SetFont(font);
    QFont q = f.Surface->font();
    q.setBold(style != 0);
    const QFontMetrics fm(q);
    unsigned seed = 7;
    for (int n = 0; n < 300; ++n) {
      std::string text;
      const int length = 1 + static_cast<int>((seed = seed * 1103515245u + 12345u) >> 16) % 30;
      for (int i = 0; i < length; ++i) text += static_cast<char>(0x20 + ((seed = seed * 1103515245u + 12345u) >> 16) % 95);
      ASSERT_EQ(f.Surface->TextWidth(text), fm.horizontalAdvance(ToQString(text))) << text;
    }
  }
}

TEST(QtGridSurface, FixedCellsAreTheHeaders) {
  TQtGridFixture f(false);
  f.Fill({{"FA00002", "B", "10"}, {"FA00001", "A", "5"}});
  EXPECT_EQ(f.Surface->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Num Facture");
  EXPECT_EQ(f.Surface->model()->headerData(1, Qt::Vertical, Qt::DisplayRole).toString(), "2");
  EXPECT_EQ(f.Surface->model()->rowCount(), 2);
  EXPECT_EQ(f.Surface->model()->columnCount(), 3);
  int col = -1;
  int row = -1;
  const QPoint title = f.Surface->CellRectInWidget(2, 0).center();
  f.Surface->MouseToCell(title.x(), title.y(), col, row);
  EXPECT_EQ(std::make_pair(col, row), std::make_pair(2, 0));
  const QPoint number = f.Surface->CellRectInWidget(0, 2).center();
  f.Surface->MouseToCell(number.x(), number.y(), col, row);
  EXPECT_EQ(std::make_pair(col, row), std::make_pair(0, 2));
  f.Surface->MouseToCell(200, 250, col, row);  // below the last row
  EXPECT_EQ(std::make_pair(col, row), std::make_pair(-1, -1));
}

TEST(QtGridEvents, ATitleClickSortsThenReverses) {
  TQtGridFixture f(false);
  f.Fill({{"FA00010", "B", "10"}, {"FA00002", "C", "9"}, {"FA00001", "A", "2,5"}});
  f.Grid->fSortCol = 1;
  f.Grid->fSortAscending = true;
  f.Click(3, 0);
  EXPECT_EQ(f.Column(3), (Texts{"2,5", "9", "10"}));
  f.Click(3, 0);
  EXPECT_EQ(f.Column(3), (Texts{"10", "9", "2,5"}));
  EXPECT_EQ(f.Column(1), (Texts{"FA00010", "FA00002", "FA00001"}));
  EXPECT_EQ(f.Column(0), (Texts{"1", "2", "3"}));
}

TEST(QtGridEvents, ADoubleClickOnTheTitleRowReachesNoHandler) {
  TQtGridFixture f(false);
  f.Fill({{"FA00001", "A", "1"}, {"FA00002", "B", "2"}});
  f.DoubleClick(2, 0);
  f.DoubleClick(0, 1);
  EXPECT_EQ(f.DblClicks, 0);
  f.Click(2, 2);
  f.DoubleClick(2, 2);
  EXPECT_EQ(f.DblClicks, 1);
  EXPECT_EQ(f.Grid->GetRow(), 2);
}

TEST(QtGridEvents, EveryMoveOfTheCurrentCellIsAClick) {
  TQtGridFixture f(false);
  f.Fill({{"FA00001", "A", "1"}, {"FA00002", "B", "2"}, {"FA00003", "C", "3"}});
  f.Clicks = 0;
  f.Click(2, 2);
  EXPECT_EQ(f.Clicks, 1);
  f.Click(2, 2);
  EXPECT_EQ(f.Clicks, 2);
  QTest::keyClick(f.Surface.get(), Qt::Key_Down);
  EXPECT_EQ(f.Grid->GetRow(), 3);
  EXPECT_EQ(f.Clicks, 3);
  f.Click(2, 0);  // a title click sorts; the sort re-selects the row
  EXPECT_EQ(f.Surface->GetCells(1, f.Grid->GetRow()), "FA00003");
}

TEST(QtGridEvents, TypingALetterReplacesTheCell) {
  TQtGridFixture f(true);
  f.Fill({{"1234562", "DOLIPRANE", "2"}, {"", "", ""}});
  f.Click(2, 1);
  ASSERT_EQ(f.Grid->GetCol(), 2);
  QTest::keyClick(f.KeyTarget(), Qt::Key_E);
  ASSERT_NE(f.Surface->Editor(), nullptr);
  QTest::keyClicks(f.KeyTarget(), "fferalgan");
  EXPECT_EQ(f.Surface->GetCells(2, 1), "efferalgan");
}

TEST(QtGridEvents, TypingOverASelectionInTheEditorCutsIt) {
  TQtGridFixture f(true);
  f.Fill({{"1234562", "DOLIPRANE", "2"}});
  f.Click(2, 1);
  f.DoubleClick(2, 1);
  ASSERT_NE(f.Surface->Editor(), nullptr);
  EXPECT_EQ(f.Surface->Editor()->text(), "DOLIPRANE");
  f.Surface->Editor()->setSelection(4, 4);  // "PRAN"
  QTest::keyClick(f.Surface->Editor(), Qt::Key_X);
  EXPECT_EQ(f.Surface->GetCells(2, 1), "DOLIxE");
  QTest::keyClick(f.Surface->Editor(), Qt::Key_Escape);
  EXPECT_EQ(f.Surface->Editor(), nullptr);
  EXPECT_EQ(f.Surface->GetCells(2, 1), "DOLIPRANE");
}

TEST(QtGridEvents, CtrlWithALetterClearsNothing) {
  TQtGridFixture f(true);
  f.Fill({{"1234562", "DOLIPRANE", "2"}});
  f.Click(2, 1);
  QTest::keyClick(f.KeyTarget(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(f.Surface->GetCells(2, 1), "DOLIPRANE");
  EXPECT_EQ(f.Surface->Editor(), nullptr);
}

TEST(QtGridEvents, LeavingAChangedCellNotifiesOnce) {
  std::vector<std::tuple<int, int, std::string>> notes;
  TQtGridFixture f(true, [&](int col, int row, const std::string& previous) { notes.emplace_back(col, row, previous); });
  f.Fill({{"1234562", "DOLIPRANE", "2"}, {"", "", ""}});
  f.Click(3, 1);
  notes.clear();
  QTest::keyClick(f.KeyTarget(), Qt::Key_5);
  QTest::keyClick(f.KeyTarget(), Qt::Key_0);
  EXPECT_EQ(f.Surface->GetCells(3, 1), "50");
  f.Click(2, 2);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0], std::make_tuple(3, 1, std::string("2")));
  EXPECT_EQ(f.Grid->GetRow(), 2);
  EXPECT_EQ(f.Grid->GetCol(), 2);
}

TEST(QtGridEvents, TheWheelKeepsTheCurrentRowVisible) {
  TQtGridFixture f(false);
  std::vector<std::vector<std::string>> rows;
  for (int i = 1; i <= 60; ++i) rows.push_back({"FA" + std::to_string(10000 + i), "S", std::to_string(i)});
  f.Fill(rows);
  f.Click(1, 1);
  QPoint p = f.Surface->viewport()->rect().center();
  QWheelEvent wheel(p, f.Surface->viewport()->mapToGlobal(p), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(f.Surface->viewport(), &wheel);
  QApplication::sendEvent(f.Surface->viewport(), &wheel);
  EXPECT_GT(f.Grid->GetTopRow(), 1);
  EXPECT_GE(f.Grid->GetRow(), f.Grid->GetTopRow());
  EXPECT_LT(f.Grid->GetRow(), f.Grid->GetTopRow() + f.Surface->GetVisibleRowCount());
}

TEST(QtGridSurface, AddingARowKeepsTheScrollPositionAndTheWidths) {
  TQtGridFixture f(false);
  std::vector<std::vector<std::string>> rows;
  for (int i = 1; i <= 60; ++i) rows.push_back({"FA" + std::to_string(10000 + i), "S", std::to_string(i)});
  f.Fill(rows);
  f.Grid->SetRow(30);
  f.Grid->SetTopRow(25);
  const int width = f.Surface->columnWidth(1);
  f.Grid->SetRowCount(f.Grid->GetRowCount() + 1);
  EXPECT_EQ(f.Grid->GetTopRow(), 25);
  EXPECT_EQ(f.Surface->columnWidth(1), width);
  EXPECT_EQ(f.Surface->model()->rowCount(), 61);
  f.Grid->DeleteLine(61);
  EXPECT_EQ(f.Surface->model()->rowCount(), 60);
  EXPECT_EQ(f.Grid->GetTopRow(), 25);
  // A record sorted into place above the view, then taken out again: the
  // view keeps showing the same records.
  f.Grid->fSortCol = 1;
  f.Grid->fSortAscending = false;
  f.Grid->Resort();
  f.Grid->SetRow(30);
  f.Grid->SetTopRow(25);
  const std::string selected = f.Surface->GetCells(1, 30);
  const int at = f.Grid->SortedRowFor("FA10050 bis");
  f.Grid->InsertRowAt(at, {"FA10050 bis", "T", "1"});
  EXPECT_EQ(at, 11);
  EXPECT_EQ(f.Surface->model()->rowCount(), 61);
  EXPECT_EQ(f.Surface->model()->data(f.Surface->model()->index(at - 1, 0), Qt::DisplayRole).toString(), "FA10050 bis");
  EXPECT_EQ(f.Surface->model()->headerData(60, Qt::Vertical, Qt::DisplayRole).toString(), "61");
  EXPECT_EQ(f.Surface->GetCells(1, f.Grid->GetRow()), selected);
  EXPECT_EQ(f.Grid->GetTopRow(), 26);
  EXPECT_EQ(f.Surface->columnWidth(1), width);
  f.Grid->RemoveRowAt(at);
  EXPECT_EQ(f.Surface->model()->rowCount(), 60);
  EXPECT_EQ(f.Surface->GetCells(1, f.Grid->GetRow()), selected);
  EXPECT_EQ(f.Grid->GetTopRow(), 25);
}

// Widening a column by dragging the border of its title is no request to
// sort; nor is a press on one title released over another.
TEST(QtGridEvents, DraggingATitleBorderDoesNotSort) {
  TQtGridFixture f(false);
  f.Fill({{"FA00010", "B", "10"}, {"FA00002", "C", "9"}, {"FA00001", "A", "2,5"}});
  f.Grid->fSortCol = 1;
  f.Grid->fSortAscending = true;
  QWidget* titles = f.Surface->horizontalHeader()->viewport();
  const QRect cell = f.Surface->CellRectInWidget(2, 0);
  for (int drag = 0; drag < 2; ++drag) {
    SCOPED_TRACE(drag);
    const int width = f.Surface->GetColWidth(2);
    const QPoint border = titles->mapFrom(f.Surface.get(), QPoint(f.Surface->CellRectInWidget(2, 0).right(), cell.center().y()));
    QTest::mousePress(titles, Qt::LeftButton, {}, border);
    QTest::mouseMove(titles, border + QPoint(15, 0));
    QTest::mouseMove(titles, border + QPoint(30, 0));
    QTest::mouseRelease(titles, Qt::LeftButton, {}, border + QPoint(30, 0));
    QApplication::processEvents();
    EXPECT_GT(f.Surface->GetColWidth(2), width) << "the column was widened";
    EXPECT_EQ(f.Column(2), (Texts{"B", "C", "A"}));
  }
  const QPoint first = titles->mapFrom(f.Surface.get(), f.Surface->CellRectInWidget(1, 0).center());
  const QPoint other = titles->mapFrom(f.Surface.get(), f.Surface->CellRectInWidget(3, 0).center());
  QTest::mousePress(titles, Qt::LeftButton, {}, first);
  QTest::mouseRelease(titles, Qt::LeftButton, {}, other);
  EXPECT_EQ(f.Column(2), (Texts{"B", "C", "A"}));
  f.Click(2, 0);
  EXPECT_EQ(f.Column(2), (Texts{"A", "B", "C"})) << "a click still sorts";
}

// The top row is the first data row shown, and it is shown whole, also at the
// end of a list whose window does not hold a whole number of rows.
TEST(QtGridSurface, TheTopRowIsShownWholeUnderTheTitles) {
  TQtGridFixture f(false);
  f.Surface->resize(420, 251);
  std::vector<std::vector<std::string>> rows;
  for (int i = 1; i <= 60; ++i) rows.push_back({"FA" + std::to_string(10000 + i), "S", std::to_string(i)});
  f.Fill(rows);
  auto firstShownWhole = [&f] {
    const int top = f.Grid->GetTopRow();
    return f.Surface->rowViewportPosition(top - 1) == 0;
  };
  ASSERT_NE(f.Surface->viewport()->height() % TQtGridSurface::kRowHeight, 0);
  struct Step {
    const char* name;
    std::function<void()> action;
  };
  const Step steps[] = {
      {"top row restored near the end", [&f] { f.Grid->SetTopRow(55); }},
      {"End", [&f] { QTest::keyClick(f.Surface.get(), Qt::Key_End, Qt::ControlModifier); }},
      {"Page Down", [&f] {
         f.Grid->SetRow(1);
         for (int i = 0; i < 8; ++i) QTest::keyClick(f.Surface.get(), Qt::Key_PageDown);
       }},
      {"last row restored", [&f] { f.Grid->SetTopRow(60); }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.action();
    QApplication::processEvents();
    EXPECT_GT(f.Grid->GetTopRow(), 40);
    EXPECT_TRUE(firstShownWhole()) << "top row " << f.Grid->GetTopRow() << " at "
                                   << f.Surface->rowViewportPosition(f.Grid->GetTopRow() - 1);
    EXPECT_LT(f.Surface->rowViewportPosition(f.Grid->GetTopRow() - 2), 0) << "the row above is out of sight";
    const int last = f.Grid->GetRowCount() - 1;
    EXPECT_LE(f.Surface->rowViewportPosition(last - 1) + TQtGridSurface::kRowHeight, f.Surface->viewport()->height())
        << "the last row is whole too";
  }
}

// With QUORIX_GRID_SCREENSHOT set to a file name, the coloured grid is saved
// there as a PNG for a person to look at.
TEST(QtGridPainting, ColoursAndTheSelectionArePainted) {
  TQtGridFixture f(true);
  f.Grid->AddColColorConstraint(1, 46, kYellow);
  f.Grid->AddColColorConstraint(1, 5, kRed);
  f.Grid->AddColColorConstraint(3, 20, kYellow);
  f.Grid->AddColColorConstraint(3, 37, kRed);
  f.Fill({{"FA00001", "PHARMACIE DU CENTRE", "120,50"},
          {"XY1", "Société Générale", "-3"},
          {"", "DROGUERIE", "abc"},
          {"FA00004", "GABON MEDICAL", "15"}});
  f.Grid->SetCol(2);
  f.Grid->SetRow(4);
  f.Surface->SetFocus();
  QApplication::processEvents();
  const QImage image = f.Surface->grab().toImage();
  auto pixel = [&](int col, int row) {
    const QRect r = f.Surface->CellRectInWidget(col, row);
    return image.pixelColor(r.left() + 3, r.top() + 3);
  };
  EXPECT_EQ(pixel(1, 1), QColor(255, 255, 255));
  EXPECT_EQ(pixel(1, 2), QColor(255, 244, 155));
  EXPECT_EQ(pixel(1, 3), QColor(250, 62, 68));
  EXPECT_EQ(pixel(3, 2), QColor(255, 244, 155));
  EXPECT_EQ(pixel(3, 3), QColor(250, 62, 68));
  EXPECT_EQ(pixel(2, 4), QColor(0, 0, 128));
  EXPECT_EQ(pixel(1, 0), f.Surface->palette().color(QPalette::Button));
  if (const char* file = std::getenv("QUORIX_GRID_SCREENSHOT")) image.save(QString::fromLocal8Bit(file), "PNG");
}

}  // namespace
