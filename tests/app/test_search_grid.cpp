#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <memory>
#include <string>
#include <vector>

#include "MyDatabaseForm.h"
#include "MyStringGrid.h"
#include "PieceEditor.h"
#include "QtGridSurface.h"
#include "QtGuard.h"
#include "QtText.h"
#include "QuorixForm.h"
#include "SampleWindow.h"
#include "SearchResults.h"
#include "SplashLaunchForm.h"
#include "TestSupport.h"

void QuorixTestInit(int& argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static TQuorixApplication* app = new TQuorixApplication(argc, argv);
  (void)app;
}

namespace {

// The search edit under the lists and its results grid, on the main window
// over a copy of the sample installation, with the user's keyboard and mouse.
class SearchGridTest : public ::testing::Test {
protected:
  SearchGridTest() {
    CopyTree(std::string(QUORIX_SOURCE_DIR) + "/sample/Data", fDir.File("Data"));
    fCwd = std::make_unique<TScopedCwd>(fDir.Path());
    fDebug = std::make_unique<TMyDatabase_Form>();
    fMain = StartSampleWindow();
    fCapture.Clear();
  }
  ~SearchGridTest() override {
    fMain.reset();
    fDebug.reset();
  }

  TQtGridSurface* Results() { return fMain->SearchResults().Recherche_StringGrid; }
  static QWidget* Focus() { return QApplication::focusWidget(); }
  bool ResultsFocused() { return Focus() == Results() || Results()->isAncestorOf(Focus()); }

  // Types a text into the search edit and presses Enter, or clicks the button.
  void Search(const char* text, bool button = false) {
    fMain->findChild<QLineEdit*>("Recherche_Edit")->setFocus();
    fMain->findChild<QLineEdit*>("Recherche_Edit")->clear();
    QTest::keyClicks(fMain->findChild<QLineEdit*>("Recherche_Edit"), QString::fromLatin1(text));
    if (button) {
      QTest::mouseClick(fMain->findChild<QToolButton*>("Recherche_BitBtn"), Qt::LeftButton);
    } else {
      QTest::keyClick(fMain->findChild<QLineEdit*>("Recherche_Edit"), Qt::Key_Return);
    }
    QApplication::processEvents();
  }

  std::vector<std::string> Column(int col) {
    std::vector<std::string> out;
    for (int row = 1; row < Results()->GetRowCount(); ++row) out.push_back(Results()->GetCells(col, row));
    return out;
  }

  void DoubleClickResult(int row) {
    const QPoint at = Results()->CellRectInWidget(0, row).center();
    QWidget* w = Results()->childAt(at);
    if (w == nullptr) w = Results();
    QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(Results(), at));
    QTest::mouseDClick(w, Qt::LeftButton, {}, w->mapFrom(Results(), at));
    QApplication::processEvents();
  }

  TTempDir fDir;
  std::unique_ptr<TScopedCwd> fCwd;
  TTraceCapture fCapture;
  std::unique_ptr<TMyDatabase_Form> fDebug;
  std::unique_ptr<TQuorix_Form> fMain;
};

}  // namespace

TEST_F(SearchGridTest, EachListShowsItsColumnsOverTheRightOfTheWindow) {
  struct Row {
    const char* name;
    void (TQuorix_Form::*show)();
    const char* typed;
    std::vector<std::string> titles;
    int sortedCol;  // -1: query order
    std::vector<std::string> sorted;
  };
  const Row rows[] = {
      // The queries answer in company-name order; the grid, never clicked,
      // shows the latest date and the highest number first.
      {"invoices, by date", &TQuorix_Form::ShowFactures, "pharmacie",
       {"Num Facture", "Code client", "Societe", "Total TTC", "Date"}, 4,
       {"11/08/2025", "09/08/2025", "07/08/2025", "05/08/2025", "03/08/2025", "01/08/2025", "30/07/2025",
        "26/07/2025", "24/07/2025", "22/07/2025", "20/07/2025"}},
      {"quotes, by number", &TQuorix_Form::ShowDevis, "pharmacie",
       {"Num Devis", "Code client", "Societe", "Total TTC"}, 0, {"DE1238", "DE1237", "DE1236", "DE1235", "DE1234"}},
      {"credit notes", &TQuorix_Form::ShowAvoirs, "pharmacie", {"Num Avoir", "Code client", "Societe", "Total TTC"},
       -1, {}},
      {"articles", &TQuorix_Form::ShowArticles, "doliprane", {"Code", "Designation", "Prix Achat", "Prix Vente"}, -1,
       {}},
      {"clients, through a lower-case e-mail", &TQuorix_Form::ShowClients, "contact@pharmacieduplateau",
       {"Code", "Societe"}, 0, {"0102"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    (fMain.get()->*row.show)();
    Search(row.typed);
    ASSERT_TRUE(Results()->isVisible());
    EXPECT_TRUE(ResultsFocused());
    EXPECT_EQ(Results()->GetRow(), 1);
    EXPECT_EQ(FromQString(fMain->findChild<QLineEdit*>("Recherche_Edit")->text()), "") << "the edit is emptied";
    std::vector<std::string> titles;
    for (int col = 0; col < Results()->GetColCount(); ++col) titles.push_back(Results()->GetCells(col, 0));
    EXPECT_EQ(titles, row.titles);
    if (row.sortedCol >= 0) {
      EXPECT_EQ(Column(row.sortedCol), row.sorted);
    }
    // Right-aligned 5 pixels from the window's edge, from under the button
    // bar to just above the search edit.
    const QRect g = Results()->geometry();
    EXPECT_EQ(g.right() + 1, fMain->centralWidget()->width() - 5);
    EXPECT_EQ(g.top(), 65 + 5);
    EXPECT_EQ(g.bottom() + 1, 568 - 2);
    QTest::keyClick(Focus(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(Results()->isVisible());
  }
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes()[0];
}

TEST_F(SearchGridTest, NoMatchLeavesTheGridHiddenAndEmptiesTheEdit) {
  fMain->ShowClients();
  for (bool button : {false, true}) {
    SCOPED_TRACE(button ? "button" : "Enter");
    Search("zzzz", button);
    EXPECT_FALSE(Results()->isVisible());
    EXPECT_EQ(FromQString(fMain->findChild<QLineEdit*>("Recherche_Edit")->text()), "");
  }
  // A word that is no pattern: its message, and the word stays to be mended.
  Search("dup(ont");
  EXPECT_FALSE(Results()->isVisible());
  ASSERT_EQ(fCapture.Boxes().size(), 1u);
  EXPECT_EQ(fCapture.Boxes()[0].rfind("TPerlRegEx.Compile() - Error in regex at offset", 0), 0u);
  EXPECT_EQ(FromQString(fMain->findChild<QLineEdit*>("Recherche_Edit")->text()), "dup(ont");
}

TEST_F(SearchGridTest, EnterReturnsToTheListDoubleClickOpensTheInvoice) {
  fMain->ShowFactures();
  Search("achrafieh");
  QTest::keyClick(Focus(), Qt::Key_Down);
  QTest::keyClick(Focus(), Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_FALSE(Results()->isVisible());
  EXPECT_FALSE(fMain->PieceEditor().IsOpen()) << "Enter does not open the invoice";
  EXPECT_TRUE(fMain->Lists().Of(kFacturesList).Grid()->GetVisible());
  EXPECT_EQ(Focus(), fMain->Lists().Of(kFacturesList).Surface());

  Search("achrafieh");
  DoubleClickResult(2);
  EXPECT_FALSE(Results()->isVisible());
  ASSERT_TRUE(fMain->PieceEditor().IsOpen());
  EXPECT_EQ(FromQString(fMain->PieceEditor().FactureNumFactureEdit->text()), "FA31699");
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes()[0];
}

TEST_F(SearchGridTest, DoubleClickOnAClientOrArticleResultOpensItsPanel) {
  struct Row {
    const char* name;
    void (TQuorix_Form::*show)();
    const char* typed;
    const char* panel;
    const char* codeEdit;
  };
  const Row rows[] = {
      {"client", &TQuorix_Form::ShowClients, "pharmacie", "Client_Panel", "ClientCodeClientEdit"},
      {"article", &TQuorix_Form::ShowArticles, "doli", "Article_Panel", "ArticleCodeCIPEdit"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    (fMain.get()->*row.show)();
    Search(row.typed);
    ASSERT_GE(Results()->GetRowCount(), 3) << "two results at least";
    // The last result, which is not the list's selected row.
    const int last = Results()->GetRowCount() - 1;
    const std::string code = Results()->GetCells(0, last);
    DoubleClickResult(last);
    EXPECT_FALSE(Results()->isVisible());
    ASSERT_TRUE(fMain->findChild<QWidget*>(row.panel)->isVisible());
    EXPECT_EQ(FromQString(fMain->findChild<QLineEdit*>(row.codeEdit)->text()), code);
  }
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes()[0];
}

// Client results have two columns, article candidates four: whatever filled
// the grid before, the candidates come with their own columns and titles.
TEST_F(SearchGridTest, CandidatesAfterAClientSearchHaveTheirOwnColumns) {
  fMain->ShowClients();
  Search("dakar");
  ASSERT_TRUE(Results()->isVisible());
  ASSERT_EQ(Results()->GetColCount(), 2);
  QTest::keyClick(Focus(), Qt::Key_Escape);
  QApplication::processEvents();

  fMain->ShowFactures();
  QTest::mouseClick(fMain->findChild<QToolButton*>("Creer_BitBtn"), Qt::LeftButton);
  QApplication::processEvents();
  TMyStringGrid& lines = *fMain->PieceEditor().Lines();
  TQtGridSurface* surface = fMain->PieceEditor().Facture_StringGrid;
  lines.SetCol(2);
  lines.SetRow(1);
  surface->setFocus();
  QTest::keyClicks(Focus(), QStringLiteral("doli"));
  QTest::keyClick(Focus(), Qt::Key_Return);
  QApplication::processEvents();
  ASSERT_TRUE(Results()->isVisible());
  std::vector<std::string> titles;
  for (int col = 0; col < Results()->GetColCount(); ++col) titles.push_back(Results()->GetCells(col, 0));
  EXPECT_EQ(titles, (std::vector<std::string>{"Code", "Designation", "Prix Achat", "Prix Vente"}));
  EXPECT_EQ(Column(1), (std::vector<std::string>{"DOLIPRANE 1000MG CPR B/8", "DOLIPRANE 500MG GELULES B/16"}));
  QTest::keyClick(Focus(), Qt::Key_Down);
  QTest::keyClick(Focus(), Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(lines.GetCell(1, 1), "7968532");
  EXPECT_EQ(lines.GetCell(4, 1), "26,96") << "the chosen candidate's price";
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes()[0];
}

TEST_F(SearchGridTest, LeavingTheResultsHidesThemUnlessShiftCtrlAltAreHeld) {
  fMain->ShowArticles();
  const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
  struct Row {
    const char* name;
    Qt::KeyboardModifiers held;
    bool kept;
  };
  const Row rows[] = {
      {"nothing held", {}, false},
      {"Shift and Ctrl only", Qt::ShiftModifier | Qt::ControlModifier, false},
      {"Shift, Ctrl and Alt", all, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Search("doli");
    ASSERT_TRUE(Results()->isVisible());
    // The click that takes the focus away is made with the keys held.
    QTest::mouseClick(fMain->findChild<QLineEdit*>("Recherche_Edit"), Qt::LeftButton, row.held);
    QApplication::processEvents();
    EXPECT_EQ(Results()->isVisible(), row.kept);
    Results()->hide();
  }
}

TEST_F(SearchGridTest, ClientSearchOfTheEditorWritesInItsMessagePanel) {
  fMain->ShowFactures();
  QTest::mouseClick(fMain->findChild<QToolButton*>("Creer_BitBtn"), Qt::LeftButton);
  TPieceEditor& editor = fMain->PieceEditor();
  struct Row {
    const char* name;
    const char* typed;
    bool button;
    const char* panel;
  };
  const Row rows[] = {
      {"no answer, Enter", "zzz", false, "Recherche Client\nPas de reponses"},
      {"two words, the button", "plateau zzz", true, "Recherche Client\n0102   PHARMACIE DU PLATEAU"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    editor.Signaling_RichEdit->clear();
    editor.FactureRechercherClientEdit->setFocus();
    editor.FactureRechercherClientEdit->clear();
    QTest::keyClicks(editor.FactureRechercherClientEdit, QString::fromLatin1(row.typed));
    if (row.button) {
      QTest::mouseClick(editor.FactureRechercherClientSpeedButton, Qt::LeftButton);
    } else {
      QTest::keyClick(editor.FactureRechercherClientEdit, Qt::Key_Return);
    }
    QApplication::processEvents();
    EXPECT_EQ(FromQString(editor.Signaling_RichEdit->toPlainText()), row.panel);
    EXPECT_EQ(Focus(), editor.FactureRechercherClientEdit);
    EXPECT_EQ(FromQString(editor.FactureCodeClientEdit->text()), "") << "the search does not fill the editor";
  }
}
