#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "FakeDesk.h"
#include "MyDatabase.h"
#include "MyDatabaseForm.h"
#include "MyStringGrid.h"
#include "PieceEditor.h"
#include "QtGridSurface.h"
#include "QtGuard.h"
#include "QtText.h"
#include "NamedWidgets.h"
#include "RecordEditTools.h"
#include "SearchResults.h"
#include "StatsReplies.h"
#include "StatsRequests.h"
#include "TestSupport.h"

void QuorixTestInit(int& argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static TQuorixApplication* app = new TQuorixApplication(argc, argv);
  (void)app;
}

namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kYellow = 0x9BF4FF;
constexpr TColor kRed = 0x443EFA;
constexpr const char* kRedFields = "Veuillez corriger les champs en rouge";

// Columns of the lines grid.
constexpr int kCode = 1;
constexpr int kDesignation = 2;
constexpr int kQuantite = 3;
constexpr int kPrix = 4;
constexpr int kMontant = 5;

// Records what the editor asks of the statistics server.
struct TStatsRecorder : TStatsRequests {
  std::vector<std::string>* Sent;
  explicit TStatsRecorder(std::vector<std::string>* sent) : Sent(sent) {}
  void DemanderInfosClient(const std::string& code) override { Sent->push_back("client " + code); }
  void DemanderStatsArticles(const std::string& codes) override { Sent->push_back("articles " + codes); }
};

std::string Str(const QString& q) { return FromQString(q); }

// The piece editor and the results grid on a small desk, wired as the main
// window wires them, with the search edit and the button bar that place the
// results.
class TEditorDesk {
public:
  TEditorDesk()
      : Bar(NewPanel(Desk.Window(), "Menu_Panel")),
        SearchEdit(NewEdit(Desk.Window(), "Recherche_Edit", QRect(16, 568, 177, 21))),
        SearchButton(new QToolButton(Desk.Window())),
        Editor(Desk.Window(), Desk, Desk.Tables(), Desk.Lists()),
        Search(Desk.Window(), SearchEdit, SearchButton, Bar, Desk, Desk.Tables(), Desk.Lists()) {
    Bar->setGeometry(8, 0, 817, 65);
    Editor.ShowCandidates = [this](TMyDatabase& articles) {
      return Search.ShowArticleCandidates(articles, Editor.Facture_Panel->x() + Editor.Facture_ExtraData_Panel->x());
    };
    Search.EditorOpen = [this] { return Editor.IsOpen(); };
    Search.ChooseCandidate = [this](const TMyStringGrid& results, int row) {
      Editor.ValidateSearchChoice(results, row);
    };
    Search.FocusEditor = [this] { Editor.Lines()->SetFocus(); };
    Desk.SetEditor(&Editor);
    Desk.AddPanel([this] { Search.HideSearchGrid(); });
    for (TListId list : {kFacturesList, kDevisList, kAvoirsList}) {
      const char* kind = ListDescriptor(list).Kind->Kind();
      Desk.SetOpener(list, [this, kind] { Editor.AfficherPiece(kind); });
    }
    Editor.CreateGrid();
    Search.CreateGrid();
    Editor.InitGrid();
    Search.InitGrid();
    Desk.Start();
    Desk.ShowCurrentPieceList();
  }

  TRecordLists& Lists() { return Desk.Lists(); }
  TPieceEditor& PieceEditor() { return Editor; }
  TSearchResults& SearchResults() { return Search; }
  void ShowFactures() { Desk.ShowList(kFacturesList); }
  void ShowDevis() { Desk.ShowList(kDevisList); }
  void ShowAvoirs() { Desk.ShowList(kAvoirsList); }

  TFakeDesk Desk;
  QFrame* Bar;
  QLineEdit* SearchEdit;
  QToolButton* SearchButton;
  TPieceEditor Editor;
  TSearchResults Search;
};

// The piece editor on a copy of the sample installation, with the user's
// keyboard and mouse.
class PieceEditorTest : public ::testing::Test {
protected:
  PieceEditorTest() {
    CopyTree(std::string(QUORIX_SOURCE_DIR) + "/sample/Data", fDir.File("Data"));
    fCwd = std::make_unique<TScopedCwd>(fDir.Path());
  }
  ~PieceEditorTest() override {
    fMain.reset();
    fDebug.reset();
  }

  void Start() {
    fDebug = std::make_unique<TMyDatabase_Form>();
    fMain = std::make_unique<TEditorDesk>();
    fMain->Editor.SetStatsRequests(std::make_unique<TStatsRecorder>(&fSent));
    QApplication::processEvents();
    fCapture.Clear();
  }

  TPieceEditor& E() { return fMain->PieceEditor(); }
  TMyStringGrid& Lines() { return *fMain->PieceEditor().Lines(); }
  TQtGridSurface* LinesSurface() { return fMain->PieceEditor().Facture_StringGrid; }

  static QWidget* Focus() { return QApplication::focusWidget(); }
  static void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QTest::keyClick(Focus(), key, mods);
    QApplication::processEvents();
  }
  // Windows-1252 text as typed; an accented letter comes as its key's text.
  static void Type(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
      if (static_cast<unsigned char>(*c) < 0x80) {
        QTest::keyClick(Focus(), *c);
      } else {
        QTest::sendKeyEvent(QTest::Click, Focus(), Qt::Key_unknown, ToQString(std::string(1, *c)), {});
      }
    }
    QApplication::processEvents();
  }

  static void Click(QWidget* w, Qt::KeyboardModifiers mods = {}, QPoint at = QPoint()) {
    QTest::mouseClick(w, Qt::LeftButton, mods, at.isNull() ? w->rect().center() : at);
    QApplication::processEvents();
  }

  // A click on a cell of a grid on screen.
  static void ClickCell(TQtGridSurface* grid, int col, int row, bool twice = false) {
    const QPoint inGrid = grid->CellRectInWidget(col, row).center();
    QWidget* w = grid->childAt(inGrid);
    if (w == nullptr) w = grid;
    // A double click is a click followed by the double-click event.
    QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(grid, inGrid));
    if (twice) QTest::mouseDClick(w, Qt::LeftButton, {}, w->mapFrom(grid, inGrid));
    QApplication::processEvents();
  }

  // Types into a cell of the lines grid, then presses Enter.
  void Enter(int col, int row, const char* text) {
    ClickCell(LinesSurface(), col, row);
    Type(text);
    Key(Qt::Key_Return);
  }

  // Replaces an edit's text as the user does.
  void Retype(QLineEdit* edit, const char* text) {
    edit->setFocus();
    edit->selectAll();
    if (*text == '\0') {
      Key(Qt::Key_Delete);
    } else {
      Type(text);
    }
  }

  // "Créer" in the list of a kind.
  void Create(void (TEditorDesk::*show)() = &TEditorDesk::ShowFactures) {
    (fMain.get()->*show)();
    fMain->Desk.Creer();
    QApplication::processEvents();
  }

  // Opens a piece from its list with Enter on its row.
  void Open(const std::string& number, void (TEditorDesk::*show)() = &TEditorDesk::ShowFactures) {
    (fMain.get()->*show)();
    const std::string kind = fMain->PieceEditor().CurrentListKind();
    TMyStringGrid* list = kind == "Devis"   ? fMain->Lists().Of(kDevisList).Grid()
                          : kind == "Avoir" ? fMain->Lists().Of(kAvoirsList).Grid()
                                            : fMain->Lists().Of(kFacturesList).Grid();
    list->SetRow(list->FindCell(number, "").second);
    list->SetFocus();
    Key(Qt::Key_Return);
  }

  // A line looked up by its code, the candidate chosen with Enter and the
  // quantity typed.
  void AddLine(int row, const char* code, const char* quantite) {
    Enter(kCode, row, code);
    Key(Qt::Key_Return);
    Enter(kQuantite, row, quantite);
  }

  std::vector<std::string> LineOf(int row) {
    std::vector<std::string> out;
    for (int col = kCode; col <= kMontant; ++col) out.push_back(Lines().GetCell(col, row));
    return out;
  }

  TTempDir fDir;
  std::unique_ptr<TScopedCwd> fCwd;
  TTraceCapture fCapture;
  std::vector<std::string> fSent;
  std::unique_ptr<TMyDatabase_Form> fDebug;
  std::unique_ptr<TEditorDesk> fMain;
};

}  // namespace

TEST_F(PieceEditorTest, EveryControlOfTheSidePanelWithItsCaption) {
  Start();
  Create();
  struct Row {
    const char* name;
    const char16_t* caption;
  };
  const Row rows[] = {
      {"NumPiece_Label", u"Num Facture"},       {"FactAjouterLigne_Button", u"&Ajouter"},
      {"FactInsertLigne_Button", u"&Inserer"},  {"FactSupprLigne_Button", u"&Supprimer"},
      {"FactureOK_Button", u"&Ok"},             {"FactureAnnuler_Button", u"A&nnuler"},
      {"moins50_Button", u"-50%"},              {"Para_Button", u"-P"},
      {"Label23", u"Poids (kg)"},               {"Label15", u"1ere COMMANDE"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QWidget* w = fMain->PieceEditor().Facture_ExtraData_Panel->findChild<QWidget*>(row.name);
    ASSERT_NE(w, nullptr);
    const QString text = qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text() : qobject_cast<QPushButton*>(w)->text();
    EXPECT_EQ(text, QString::fromUtf16(row.caption));
  }
  for (const char* name : {"FactureNumFactureEdit", "FactureDateTimePicker", "FactureCodeClientEdit", "Label20",
                           "FactureRechercherClientEdit", "FactureRechercherClientSpeedButton", "Label34", "Label35",
                           "Label33", "FacturePortEdit", "Label28", "UpDown1"}) {
    EXPECT_NE(fMain->PieceEditor().Facture_ExtraData_Panel->findChild<QWidget*>(name), nullptr) << name;
  }
  EXPECT_EQ(fMain->PieceEditor().Facture_Panel->findChild<QTextEdit*>("Signaling_RichEdit")->isReadOnly(), true);
  EXPECT_EQ(E().UpDown1->minimum(), 0);
  EXPECT_EQ(E().UpDown1->maximum(), 1000);
  EXPECT_EQ(E().UpDown1->value(), 500);
  EXPECT_FALSE(E().moins50_Button->isVisible()) << "the price tools are hidden at each opening";
}

TEST_F(PieceEditorTest, NewPieceNumbersAfterStartAndAfterACancel) {
  // An empty quote table gives DE1.
  WriteFileBytes("Data/BaseDeDonneesDevis.db", "Num Devis;Date;Code client;Societe;Port;Poids;Total HT;Total TTC\r\n");
  Start();
  Create();
  EXPECT_TRUE(fMain->PieceEditor().Facture_Panel->isVisible());
  EXPECT_EQ(Str(E().FactureNumFactureEdit->text()), "FA31702");
  EXPECT_EQ(GetEditColor(E().FactureNumFactureEdit), kWhite);
  EXPECT_EQ(E().FactureDateTimePicker->date(), QDate::currentDate());
  EXPECT_EQ(Lines().GetRowCount(), 2) << "one empty line";
  EXPECT_EQ(Focus(), LinesSurface());
  Click(E().FactureAnnuler_Button);
  EXPECT_TRUE(fMain->Lists().Of(kFacturesList).Surface()->isVisible());
  EXPECT_EQ(fMain->Lists().Of(kFacturesList).Grid()->GetRowCount(), 13) << "nothing was saved";
  Create();
  EXPECT_EQ(Str(E().FactureNumFactureEdit->text()), "FA31702") << "a cancelled number is given again";

  Create(&TEditorDesk::ShowDevis);
  EXPECT_EQ(Str(E().FactureNumFactureEdit->text()), "DE1");
  EXPECT_EQ(Str(E().NumPiece_Label->text()), "Num Devis");
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(PieceEditorTest, ClientCodeColourCompanyAndFirstOrderMark) {
  Start();
  Create();
  EXPECT_EQ(GetEditColor(E().FactureCodeClientEdit), kRed) << "a new piece has no client";
  struct Row {
    const char* typed;
    TColor color;
    const char* company;  // Label20 afterwards
    bool firstOrder;      // Label15 shown
    bool asked;           // the statistics server asked for the client
  };
  const Row rows[] = {
      {"12", kYellow, "", false, false},
      {"0101", kWhite, "PHARMACIE CENTRALE DE DAKAR", true, true},
      // A code of no single client forgets the company and the mark.
      {"", kRed, "", false, false},
      {"0110", kWhite, "PHARMACIE ACHRAFIEH", false, true},
      {"9999", kWhite, "", false, false},
      {"0101", kWhite, "PHARMACIE CENTRALE DE DAKAR", true, true},
      {"01(1", kYellow, "", false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed);
    fSent.clear();
    Retype(E().FactureCodeClientEdit, row.typed);
    EXPECT_EQ(GetEditColor(E().FactureCodeClientEdit), row.color);
    EXPECT_EQ(Str(E().Label20->text()), row.company);
    EXPECT_EQ(fMain->PieceEditor().Label15->isVisible(), row.firstOrder);
    EXPECT_EQ(!fSent.empty() && fSent.back() == std::string("client ") + row.typed, row.asked);
  }
  // The courier hint follows the port of a client in Guinea.
  Retype(E().FactureCodeClientEdit, "0115");
  Retype(E().FacturePortEdit, "5");
  EXPECT_EQ(Str(E().Label28->text()), "GUINEE = UPS");
  Retype(E().FactureCodeClientEdit, "0101");
  Retype(E().FacturePortEdit, "6");
  EXPECT_EQ(Str(E().Label28->text()), "");
}

TEST_F(PieceEditorTest, MessagePanelKeepsTheLastHundredLinesAndTheFocus) {
  Start();
  Create();
  E().FactureRechercherClientEdit->setFocus();
  Type("zzz");
  Key(Qt::Key_Return);
  EXPECT_EQ(Str(E().Signaling_RichEdit->toPlainText()), "Recherche Client\nPas de reponses");
  for (int i = 1; i <= 150; ++i) E().AfficherSignal("ligne " + std::to_string(i), 0x0000FF);
  const QStringList lines = E().Signaling_RichEdit->toPlainText().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 100);
  EXPECT_EQ(lines.front(), QStringLiteral("ligne 51"));
  EXPECT_EQ(lines.back(), QStringLiteral("ligne 150"));
  EXPECT_EQ(Focus(), E().FactureRechercherClientEdit);
  Open("FA31701");
  EXPECT_TRUE(E().Signaling_RichEdit->toPlainText().isEmpty()) << "cleared at each opening";
}

TEST_F(PieceEditorTest, PriceTypedWithAPointQuantityAndPort) {
  Start();
  Create();
  Enter(kPrix, 1, "2.5");
  EXPECT_EQ(Lines().GetCell(kPrix, 1), "2,50");
  EXPECT_EQ(Lines().GetCell(kMontant, 1), "") << "no amount without a quantity";
  Enter(kQuantite, 1, "3");
  EXPECT_EQ(LineOf(1), (std::vector<std::string>{"", "", "3", "2,50", "7,50"}));
  EXPECT_EQ(Lines().GetRowCount(), 3) << "Enter on the last quantity appends a line";
  EXPECT_EQ(Lines().GetRow(), 2);
  EXPECT_EQ(Lines().GetCol(), kCode) << "in the column of the last lookup";
  EXPECT_EQ(Str(E().Label34->text()), "7,50");
  Retype(E().FacturePortEdit, "12");
  EXPECT_EQ(Str(E().Label35->text()), "19,5");
  Retype(E().FacturePortEdit, "12.556");
  EXPECT_EQ(Str(E().FacturePortEdit->text()), "12,56") << "the port is normalised as it is typed";
  EXPECT_EQ(Str(E().Label35->text()), "20,06");
  Retype(E().FacturePortEdit, "abc");
  EXPECT_EQ(GetEditColor(E().FacturePortEdit), kRed);
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes()[0];
}

TEST_F(PieceEditorTest, DesignationLookupKeepsTheFocusUntilAChoice) {
  struct Row {
    const char* name;
    Qt::Key key;        // pressed in the results; Key_unknown: double click on the second row
    bool chosen;
  };
  const Row rows[] = {
      {"Enter", Qt::Key_Return, true},
      {"double click", Qt::Key_unknown, true},
      {"Escape", Qt::Key_Escape, false},
  };
  Start();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Create();
    Enter(kPrix, 1, "1");
    Enter(kQuantite, 1, "0");
    fSent.clear();
    Enter(kDesignation, 1, "doli");
    TQtGridSurface* results = fMain->SearchResults().Recherche_StringGrid;
    ASSERT_TRUE(results->isVisible());
    EXPECT_TRUE(Focus() == results || results->isAncestorOf(Focus())) << "the results keep the focus after Enter";
    std::vector<std::string> found;
    for (int r = 1; r < results->GetRowCount(); ++r) found.push_back(results->GetCells(1, r));
    EXPECT_EQ(found, (std::vector<std::string>{"DOLIPRANE 1000MG CPR B/8", "DOLIPRANE 500MG GELULES B/16"}));
    EXPECT_EQ(fSent, std::vector<std::string>{"articles Code;3408919;7968532"});
    if (row.key == Qt::Key_unknown) {
      ClickCell(results, 1, 2, true);
    } else {
      Key(Qt::Key_Down);
      Key(row.key);
    }
    EXPECT_FALSE(results->isVisible());
    EXPECT_EQ(Focus(), LinesSurface());
    if (row.chosen) {
      EXPECT_EQ(LineOf(1), (std::vector<std::string>{"7968532", "DOLIPRANE 500MG GELULES B/16", "1", "26,96", "26,96"}));
      EXPECT_EQ(Lines().GetCol(), kQuantite);
      EXPECT_EQ(Str(E().Label34->text()), "26,96");
    } else {
      EXPECT_EQ(LineOf(1), (std::vector<std::string>{"", "doli", "0", "1,00", "0,00"}));
    }
    Click(E().FactureAnnuler_Button);
  }
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes()[0];
}

TEST_F(PieceEditorTest, LookupFindsWhatTheListSearchFinds) {
  struct Row {
    const char* name;
    int col;
    const char* typed;
    std::vector<std::string> found;  // designations of the candidates
  };
  const Row rows[] = {
      {"code prefix", kCode, "34089", {"DOLIPRANE 1000MG CPR B/8"}},
      {"accented word", kDesignation, "cr\xE8me", {"CR\xC8ME DE CALENDULA BOIRON 20G"}},
      // A box scanned into the code cell, read as an order line's code.
      {"box's CIP13", kCode, "3400934089190", {"DOLIPRANE 1000MG CPR B/8"}},
      {"box's Data Matrix string", kCode, "010340093408919017270131", {"DOLIPRANE 1000MG CPR B/8"}},
      {"box code with a wrong check digit", kCode, "3400934089199", {}},
      // Enter on an empty cell looks nothing up and asks the server nothing.
      {"empty code", kCode, "", {}},
      {"blank designation", kDesignation, " ", {}},
  };
  Start();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Create();
    fSent.clear();
    Enter(row.col, 1, row.typed);
    TQtGridSurface* results = fMain->SearchResults().Recherche_StringGrid;
    if (row.found.empty()) {
      EXPECT_FALSE(results->isVisible());
      EXPECT_TRUE(fSent.empty()) << fSent[0].substr(0, 80);
      Click(E().FactureAnnuler_Button);
      continue;
    }
    ASSERT_TRUE(results->isVisible());
    std::vector<std::string> found;
    for (int r = 1; r < results->GetRowCount(); ++r) found.push_back(results->GetCells(1, r));
    EXPECT_EQ(found, row.found);
    EXPECT_EQ(fSent.size(), 1u);
    Key(Qt::Key_Escape);
    Click(E().FactureAnnuler_Button);
  }
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes()[0];
}

TEST_F(PieceEditorTest, KeyboardInvoiceIsSavedWithItsExactLineFileAndReopened) {
  Start();
  Create();
  Retype(E().FactureCodeClientEdit, "0101");
  AddLine(1, "3408919", "2");
  AddLine(2, "7968532", "3");
  AddLine(3, "3408919", "1");
  EXPECT_EQ(Lines().GetRowCount(), 5);
  Click(E().FactureOK_Button);
  EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{"Lignes 1 et 3 identiques : DOLIPRANE 1000MG CPR B/8"});
  EXPECT_TRUE(fMain->Lists().Of(kFacturesList).Surface()->isVisible()) << "saved despite the duplicate";
  EXPECT_EQ(ReadFileBytes("Data/Factures/FA31702.db"),
            "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n"
            "FA31702;2;3408919;DOLIPRANE 1000MG CPR B/8;55,90;111,80\r\n"
            "FA31702;3;7968532;DOLIPRANE 500MG GELULES B/16;26,96;80,88\r\n"
            "FA31702;1;3408919;DOLIPRANE 1000MG CPR B/8;55,90;55,90\r\n");
  const std::string table = ReadFileBytes("Data/BaseDeDonneesFactures.db");
  const std::string date = Str(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
  EXPECT_NE(table.find("FA31702;" + date + ";0101;PHARMACIE CENTRALE DE DAKAR;0;3,2958;248,58;248,58\r\n"),
            std::string::npos)
      << table.substr(table.rfind("FA317"));

  fCapture.Clear();
  Open("FA31702");
  EXPECT_EQ(Str(E().FactureNumFactureEdit->text()), "FA31702");
  EXPECT_EQ(LineOf(2), (std::vector<std::string>{"7968532", "DOLIPRANE 500MG GELULES B/16", "3", "26,96", "80,88"}));
  EXPECT_EQ(Str(E().Label34->text()), "248,58");
  EXPECT_EQ(Str(E().Label33->text()), "3,2958");
  EXPECT_FALSE(fMain->PieceEditor().Label15->isVisible()) << "the client has an invoice now";
  Click(E().FactureAnnuler_Button);
  Create();
  EXPECT_EQ(Str(E().FactureNumFactureEdit->text()), "FA31703");
}

TEST_F(PieceEditorTest, RedCellsAndRedEditsRefuseTheSave) {
  struct Row {
    const char* name;
    const char* code;       // looked up and chosen in line 1
    const char* number;     // typed over the number
  };
  const Row rows[] = {
      {"narcotic code", "9611113", "FA31702"},
      {"number of another invoice", "3408919", "FA31690"},
  };
  Start();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fCapture.Clear();
    Create();
    Retype(E().FactureCodeClientEdit, "0101");
    Retype(E().FactureNumFactureEdit, row.number);
    AddLine(1, row.code, "1");
    Click(E().FactureOK_Button);
    EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{kRedFields});
    EXPECT_TRUE(fMain->PieceEditor().Facture_Panel->isVisible()) << "the editor stays open";
    EXPECT_FALSE(std::filesystem::exists("Data/Factures/FA31702.db"));
    Click(E().FactureAnnuler_Button);
  }
  EXPECT_EQ(ReadFileBytes("Data/BaseDeDonneesFactures.db"), ReadFileBytes(std::string(QUORIX_SOURCE_DIR) + "/sample/Data/BaseDeDonneesFactures.db"));
}

TEST_F(PieceEditorTest, FieldSeparatorTypedTurnsItsFieldRedAndRefusesTheSave) {
  struct Row {
    const char* name;
    int col;           // the cell of line 1 typed over; 0: the edit
    QLineEdit* TPieceEditor::*edit;
    const char* typed;
  };
  const Row rows[] = {
      {"designation", kDesignation, nullptr, "DOLIPRANE 1000MG; BTE 8"},
      {"code", kCode, nullptr, "3408919;"},
      {"number", 0, &TPieceEditor::FactureNumFactureEdit, "FA31702;"},
      {"client code", 0, &TPieceEditor::FactureCodeClientEdit, "12;3"},
  };
  Start();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Create();
    Retype(E().FactureCodeClientEdit, "0101");
    AddLine(1, "3408919", "1");
    if (row.col > 0) {
      ClickCell(LinesSurface(), row.col, 1);
      Type(row.typed);
      ClickCell(LinesSurface(), kQuantite, 1);
      if (fMain->SearchResults().Recherche_StringGrid->isVisible()) Key(Qt::Key_Escape);
      EXPECT_EQ(Lines().GetCell(row.col, 1), row.typed);
      EXPECT_EQ(Lines().GetCellColor(row.col, 1), kRed);
    } else {
      Retype(E().*row.edit, row.typed);
      EXPECT_EQ(GetEditColor(E().*row.edit), kRed);
    }
    fCapture.Clear();
    Click(E().FactureOK_Button);
    EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{kRedFields});
    EXPECT_TRUE(fMain->PieceEditor().Facture_Panel->isVisible());
    EXPECT_FALSE(std::filesystem::exists("Data/Factures/FA31702.db"));
    Click(E().FactureAnnuler_Button);
  }
}

TEST_F(PieceEditorTest, AmountIsReadOnlyOnEveryNewLine) {
  struct Row {
    const char* name;
    QPushButton* TPieceEditor::*button;  // nullptr: Enter on the last quantity
    int newRow;
  };
  const Row rows[] = {
      {"Ajouter", &TPieceEditor::FactAjouterLigne_Button, 2},
      {"Inserer", &TPieceEditor::FactInsertLigne_Button, 1},
      {"Enter on the last line", nullptr, 2},
  };
  Start();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Create();
    Enter(kPrix, 1, "2");
    if (row.button != nullptr) {
      Click(E().*row.button);
    } else {
      Enter(kQuantite, 1, "3");
    }
    ASSERT_EQ(Lines().GetRowCount(), 3);
    const std::string before = Lines().GetCell(kMontant, row.newRow);
    ClickCell(LinesSurface(), kMontant, row.newRow);
    Type("99");
    ClickCell(LinesSurface(), kCode, row.newRow);
    EXPECT_EQ(Lines().GetCell(kMontant, row.newRow), before);
    EXPECT_TRUE(Lines().GetReadOnly(kMontant, row.newRow));
    Click(E().FactureAnnuler_Button);
  }
}

TEST_F(PieceEditorTest, ACodeTypedAndNotLookedUpStopsTheSave) {
  Start();
  Create();
  Retype(E().FactureCodeClientEdit, "0101");
  AddLine(1, "3408919", "1");
  ClickCell(LinesSurface(), kCode, 2);
  Type("7968532");
  fCapture.Clear();
  Click(E().FactureOK_Button);
  EXPECT_EQ(fCapture.Boxes(),
            std::vector<std::string>{
                "Ligne 2 : le code 7968532 n'a pas de designation (article non recherche), rien n'est enregistre"});
  EXPECT_TRUE(fMain->PieceEditor().Facture_Panel->isVisible());
  EXPECT_EQ(Lines().GetCell(kCode, 2), "7968532") << "the line is kept";
  EXPECT_FALSE(std::filesystem::exists("Data/Factures/FA31702.db"));
}

TEST_F(PieceEditorTest, SavedUnderANewNumberTheOldLineFileGoesToTheTrash) {
  Start();
  Open("FA31701");
  Retype(E().FactureNumFactureEdit, "FA31800");
  EXPECT_EQ(GetEditColor(E().FactureNumFactureEdit), kWhite);
  Click(E().FactureOK_Button);
  EXPECT_TRUE(fMain->Lists().Of(kFacturesList).Surface()->isVisible());
  EXPECT_FALSE(std::filesystem::exists("Data/Factures/FA31701.db"));
  EXPECT_TRUE(std::filesystem::exists("Data/Poubelle Officielle/FA31701.db"));
  EXPECT_TRUE(std::filesystem::exists("Data/Factures/FA31800.db"));
  TMyDatabase table("Data/BaseDeDonneesFactures.db");
  table.Query("Num Facture", "FA31701", Exact);
  EXPECT_EQ(table.QueryResultCount(), 0);
  table.Query("Num Facture", "FA31800", Exact);
  EXPECT_EQ(table.QueryResultCount(), 1);
}

TEST_F(PieceEditorTest, PriceToolsShownByCtrlShiftClickOnTheNumber) {
  Start();
  Open("FA31701");
  Click(E().FactureNumFactureEdit, Qt::ControlModifier);
  EXPECT_FALSE(E().moins50_Button->isVisible());
  Click(E().FactureNumFactureEdit, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(E().moins50_Button->isVisible());
  EXPECT_TRUE(E().Para_Button->isVisible());
  EXPECT_TRUE(E().UpDown1->isVisible());

  struct Port {
    const char* before;
    const char* after;
  };
  for (const Port& port : {Port{"15", "7"}, Port{"15,50", "15,50"}}) {
    SCOPED_TRACE(port.before);
    Retype(E().FacturePortEdit, port.before);
    Click(E().moins50_Button);
    EXPECT_EQ(Str(E().FacturePortEdit->text()), port.after);
  }

  // Line 1 at 100,00: two clicks on the down arrow.
  Enter(kPrix, 1, "100");
  ASSERT_EQ(Lines().GetCell(kQuantite, 1), "11");
  QStyleOptionSpinBox option;
  option.initFrom(E().UpDown1);
  option.subControls = QStyle::SC_SpinBoxDown;
  const QPoint down = E().UpDown1->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxDown, E().UpDown1).center();
  Click(E().UpDown1, {}, down);
  EXPECT_EQ(Lines().GetCell(kPrix, 1), "99,00");
  Click(E().UpDown1, {}, down);
  EXPECT_EQ(Lines().GetCell(kPrix, 1), "98,01");
  EXPECT_EQ(Lines().GetCell(kMontant, 1), "1078,11") << "11 x 98,01";
  // Paging and the wheel do nothing there; an arrow key is one step.
  E().UpDown1->setFocus();
  Key(Qt::Key_PageUp);
  Key(Qt::Key_PageDown);
  const QPoint centre = E().UpDown1->rect().center();
  QWheelEvent wheel(centre, E().UpDown1->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(E().UpDown1, &wheel);
  EXPECT_EQ(Lines().GetCell(kPrix, 1), "98,01");
  Key(Qt::Key_Up);
  EXPECT_EQ(Lines().GetCell(kPrix, 1), "99,00");

  Click(E().FactureAnnuler_Button);
  Open("FA31701");
  EXPECT_FALSE(E().moins50_Button->isVisible()) << "hidden again at the next opening";
}

TEST_F(PieceEditorTest, OpeningPiecesAsTheirFilesAre) {
  std::filesystem::remove("Data/Factures/FA31700.db");
  Start();
  struct Row {
    const char* name;
    const char* number;
    void (TEditorDesk::*show)();
    int lines;
    const char* ht;
    const char* port;
    const char* poids;
  };
  const Row rows[] = {
      {"missing line file", "FA31700", &TEditorDesk::ShowFactures, 1, "0,00", "48,9", "56,0838"},
      {"credit note table without port and weight", "AV123", &TEditorDesk::ShowAvoirs, 2, "225,61", "0", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Open(row.number, row.show);
    EXPECT_EQ(Lines().GetRowCount() - 1, row.lines);
    EXPECT_EQ(Str(E().Label34->text()), row.ht);
    EXPECT_EQ(Str(E().FacturePortEdit->text()), row.port);
    EXPECT_EQ(Str(E().Label33->text()), row.poids);
    EXPECT_TRUE(Lines().GetReadOnly(kMontant, 1)) << "the amounts are computed, never typed";
    Click(E().FactureAnnuler_Button);
  }
}

TEST_F(PieceEditorTest, TabGoesFromTheLinesThroughTheHeader) {
  Start();
  Create();
  ClickCell(LinesSurface(), kCode, 1);
  Type("34");
  ASSERT_NE(LinesSurface()->Editor(), nullptr) << "typing opened the cell editor";
  const QWidget* order[] = {E().FactureNumFactureEdit, E().FactureDateTimePicker, E().FactureCodeClientEdit,
                            E().FactureRechercherClientEdit};
  for (const QWidget* expected : order) {
    Key(Qt::Key_Tab);
    EXPECT_EQ(Focus() == expected || expected->isAncestorOf(Focus()), true) << expected->objectName().toStdString();
  }
  EXPECT_EQ(Lines().GetCell(kCode, 1), "34") << "what was typed stays in its cell";
  E().FactureNumFactureEdit->setFocus();
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Focus(), LinesSurface());
}

TEST_F(PieceEditorTest, WhatCannotBeOpenedOrLookedUpIsReported) {
  // Two header records for FA31701.
  std::string table = ReadFileBytes("Data/BaseDeDonneesFactures.db");
  table += table.substr(table.find("FA31701;"));
  WriteFileBytes("Data/BaseDeDonneesFactures.db", table);
  // A client whose code makes the pattern "(a+)+" run out of steps.
  std::string clients = ReadFileBytes("Data/BaseDeDonneesClients.db");
  const std::string header = clients.substr(0, clients.find('\n'));
  clients += std::string(40, 'a') + "!" + std::string(std::count(header.begin(), header.end(), ';'), ';') + "\r\n";
  WriteFileBytes("Data/BaseDeDonneesClients.db", clients);
  const std::string headers = ReadFileBytes("Data/BaseDeDonneesFactures.db");
  Start();
  Open("FA31700");
  Click(E().FactureAnnuler_Button);
  fCapture.Clear();
  Open("FA31701");
  EXPECT_EQ(fCapture.Boxes(),
            std::vector<std::string>{"*ERROR*TQuorix_Form.AfficherPiece:Plus d'un enregistrement de la piece FA31701"});
  EXPECT_TRUE(fMain->PieceEditor().Facture_Panel->isVisible()) << "the panel stays, unfilled";
  EXPECT_EQ(Str(E().FactureNumFactureEdit->text()), "") << "nothing of the piece opened before";
  EXPECT_EQ(Str(E().FactureCodeClientEdit->text()), "");
  EXPECT_EQ(LineOf(1), (std::vector<std::string>{"", "", "", "", ""}));
  // Even with a number typed, "Ok" saves nothing and trashes nothing.
  Retype(E().FactureNumFactureEdit, "FA31800");
  Retype(E().FactureCodeClientEdit, "0101");
  fCapture.Clear();
  Click(E().FactureOK_Button);
  EXPECT_EQ(fCapture.Boxes(),
            std::vector<std::string>{"*ERROR*TQuorix_Form.FactureOK_ButtonClick:Piece non chargee : FA31701"});
  EXPECT_TRUE(fMain->PieceEditor().Facture_Panel->isVisible());
  EXPECT_EQ(ReadFileBytes("Data/BaseDeDonneesFactures.db"), headers);
  EXPECT_TRUE(std::filesystem::exists("Data/Factures/FA31701.db"));
  EXPECT_FALSE(std::filesystem::exists("Data/Poubelle Officielle/FA31701.db"));
  EXPECT_FALSE(std::filesystem::exists("Data/Factures/FA31800.db"));
  Click(E().FactureAnnuler_Button);

  fCapture.Clear();
  E().AfficherPiece("Bon");
  EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{"*ERROR*TQuorix_Form.AfficherPiece : Piece non reconnue : Bon"});

  // A code typed with a pattern character: the lookup is abandoned with the
  // pattern's message, and the editor goes on.
  fCapture.Clear();
  Create();
  Enter(kCode, 1, "34(");
  ASSERT_EQ(fCapture.Boxes().size(), 1u);
  EXPECT_EQ(fCapture.Boxes()[0].rfind("TPerlRegEx.Compile() - Error in regex at offset", 0), 0u) << fCapture.Boxes()[0];
  EXPECT_FALSE(fMain->SearchResults().Recherche_StringGrid->isVisible());
  EXPECT_TRUE(fMain->PieceEditor().Facture_Panel->isVisible());

  // A client code whose search stops on the pattern library's limit is
  // said, not taken for an unknown client; pattern characters alone are not.
  fCapture.Clear();
  Retype(E().FactureCodeClientEdit, "(a+)+");
  ASSERT_EQ(fCapture.Boxes().size(), 1u);
  EXPECT_EQ(fCapture.Boxes()[0].rfind("TPerlRegEx.Match() - match limit", 0), 0u) << fCapture.Boxes()[0];
}
