#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ArticlePanel.h"
#include "ClientPanel.h"
#include "FakeDesk.h"
#include "MyDatabase.h"
#include "MyDatabaseForm.h"
#include "MyStringGrid.h"
#include "QtGridSurface.h"
#include "QtGuard.h"
#include "QtText.h"
#include "QuorixForm.h"
#include "SampleWindow.h"
#include "RecordEditTools.h"
#include "SplashLaunchForm.h"
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
constexpr const char* kClients = "Data/BaseDeDonneesClients.db";
constexpr const char* kArticles = "Data/BaseDeDonneeArticles.db";
constexpr const char* kUbipharm = "Data/BaseDeDonneesUbipharm.db";

using Strings = std::vector<std::string>;

std::string Str(const QString& q) { return FromQString(q); }

// The colour an edit shows on screen, in the platform's 0x00BBGGRR order.
TColor Shown(const QLineEdit* edit) {
  const QColor c = edit->palette().color(QPalette::Base);
  return static_cast<TColor>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

void Click(QWidget* w) {
  QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
  QApplication::processEvents();
}

// The values of a field in the records of a code, as the file now holds them.
Strings Stored(const char* file, const std::string& code, const std::string& field) {
  TMyDatabase reread(file);
  reread.Query("Code", code, Exact);
  Strings out;
  for (int i = 0; i < reread.QueryResultCount(); ++i) out.push_back(reread.GetQueryResultString(field, i));
  return out;
}

// The client and article panels on a small desk: the tables, the lists and
// the two panels, as the main window builds them.
class TRecordPanelsDesk {
public:
  TRecordPanelsDesk()
      : Client(Desk.Window(), Desk, Desk.Tables(), Desk.Lists().Of(kClientsList)),
        Article(Desk.Window(), Desk, Desk.Tables(), Desk.Lists().Of(kArticlesList)) {
    Desk.AddPanel([this] { Client.Hide(); });
    Desk.AddPanel([this] { Article.Hide(); });
    Desk.SetOpener(kClientsList, [this] { Client.AfficherFicheClient(); });
    Desk.SetOpener(kArticlesList, [this] { Article.AfficherFicheArticle(); });
    Desk.Start();
  }

  TRecordLists& Lists() { return Desk.Lists(); }
  TClientPanel& ClientPanel() { return Client; }
  TArticlePanel& ArticlePanel() { return Article; }
  void ShowClients() { Desk.ShowList(kClientsList); }
  void ShowArticles() { Desk.ShowList(kArticlesList); }
  template <class T>
  T findChild(const char* name) const {
    return Desk.Window()->findChild<T>(name);
  }

  TFakeDesk Desk;
  TClientPanel Client;
  TArticlePanel Article;
};

// The record panels on a copy of the sample installation, with the user's
// keyboard and mouse.
class RecordPanelsTest : public ::testing::Test {
public:
  void OpenClient(const std::string& code) {
    Open(&TRecordPanelsDesk::ShowClients, fMain->Lists().Of(kClientsList).Grid(), code);
  }
  void OpenArticle(const std::string& code) {
    Open(&TRecordPanelsDesk::ShowArticles, fMain->Lists().Of(kArticlesList).Grid(), code);
  }

protected:
  RecordPanelsTest() {
    CopyTree(std::string(QUORIX_SOURCE_DIR) + "/sample/Data", fDir.File("Data"));
    fCwd = std::make_unique<TScopedCwd>(fDir.Path());
    fDebug = std::make_unique<TMyDatabase_Form>();
    fMain = std::make_unique<TRecordPanelsDesk>();
    fCapture.Clear();
  }
  ~RecordPanelsTest() override {
    fMain.reset();
    fDebug.reset();
  }

  static QWidget* Focus() { return QApplication::focusWidget(); }
  static void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QTest::keyClick(Focus(), key, mods);
    QApplication::processEvents();
  }
  static void Type(const char* text) {
    QTest::keyClicks(Focus(), QString::fromLatin1(text));
    QApplication::processEvents();
  }

  QLineEdit* Edit(const char* name) const {
    auto* edit = fMain->findChild<QLineEdit*>(name);
    EXPECT_NE(edit, nullptr) << name;
    return edit;
  }
  std::string TextOf(const char* name) const { return Str(Edit(name)->text()); }

  // Replaces an edit's text as the user does: click into it, select all,
  // type.
  void Retype(const char* name, const char* text) {
    QLineEdit* edit = Edit(name);
    Click(edit);
    edit->selectAll();
    if (*text == '\0') {
      Key(Qt::Key_Delete);
    } else {
      Type(text);
    }
  }

  // Opens a record with Enter on its row of the list.
  void Open(void (TRecordPanelsDesk::*show)(), TMyStringGrid* list, const std::string& code) {
    (fMain.get()->*show)();
    list->SetRow(list->FindCell(code, "Code").second);
    list->SetFocus();
    Key(Qt::Key_Return);
  }

  TTempDir fDir;
  std::unique_ptr<TScopedCwd> fCwd;
  TTraceCapture fCapture;
  std::unique_ptr<TMyDatabase_Form> fDebug;
  std::unique_ptr<TRecordPanelsDesk> fMain;
};

// Each edit has its caption on its left, on the same line; Tab walks through
// the controls in the order a reader meets them.
TEST_F(RecordPanelsTest, CaptionsBesideTheEditsAndTabInReadingOrder) {
  struct Panel {
    const char* name;
    void (RecordPanelsTest::*open)(const std::string&);
    const char* code;
    std::vector<std::pair<const char*, const char16_t*>> edits;  // in Tab order
    Strings rest;                                                // after the edits
  };
  const Panel panels[] = {
      {"client",
       &RecordPanelsTest::OpenClient,
       "0103",
       {{"ClientCodeClientEdit", u"Code client"},
        {"ClientNomPharmacieEdit", u"Nom Pharmacie"},
        {"ClientTelEdit", u"Téléphone"},
        {"ClientFaxEdit", u"Fax"},
        {"ClientPortableEdit", u"Portable"},
        {"ClientEmailEdit", u"E-mail"},
        {"ClientIdCEEEdit", u"Id CEE"},
        {"ClientFacturationAdd1Edit", u"Adresse 1"},
        {"ClientFacturationAdd2Edit", u"Adresse 2"},
        {"ClientFacturationAdd3Edit", u"Adresse 3"},
        {"ClientFacturationCodeEdit", u"Code postal"},
        {"ClientFacturationVilleEdit", u"Ville"},
        {"ClientFacturationPaysEdit", u"Pays"},
        {"ClientLivraisonPharmacienEdit", u"Pharmacien"},
        {"ClientLivraisonAdd1Edit", u"Adresse 1"},
        {"ClientLivraisonAdd2Edit", u"Adresse 2"},
        {"ClientLivraisonAdd3Edit", u"Adresse 3"},
        {"ClientLivraisonCodeEdit", u"Code postal"},
        {"ClientLivraisonVilleEdit", u"Ville"},
        {"ClientLivraisonPaysEdit", u"Pays"}},
       {"TrenteJ_RadioButton", "Ubipharm_CheckBox", "ClientEnregistrer_Button", "ClientAnnuler_Button"}},
      {"article",
       &RecordPanelsTest::OpenArticle,
       "3408919",
       {{"ArticleCodeCIPEdit", u"Code CIP"},
        {"ArticleDesignationEdit", u"Désignation"},
        {"ArticlePrixAchatEdit", u"Prix d'Achat"},
        {"ArticlePrixVenteEdit", u"Prix de Vente"},
        {"ArticleCoeffMargeEdit", u"Coeff Marge"},
        {"ArticlePoidsEdit", u"Poids"},
        {"ArticleCodeBarreEdit", u"Code Barre"}},
       {"ArticleEnregistrer_Button", "ArticleAnnuler_Button"}},
  };
  for (const Panel& p : panels) {
    SCOPED_TRACE(p.name);
    (this->*p.open)(p.code);
    Strings walked;
    Strings expected;
    Edit(p.edits.front().first)->setFocus();
    for (const auto& [name, caption] : p.edits) {
      SCOPED_TRACE(name);
      QLineEdit* edit = Edit(name);
      QLabel* label = nullptr;
      for (QLabel* l : edit->parentWidget()->findChildren<QLabel*>()) {
        if (l->buddy() == edit) label = l;
      }
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->text(), QString::fromUtf16(caption));
      EXPECT_TRUE(label->isVisible());
      EXPECT_LE(label->geometry().right(), edit->x()) << "on the left";
      EXPECT_EQ(label->geometry().center().y(), edit->geometry().center().y()) << "on the same line";
      EXPECT_GE(label->width(), label->sizeHint().width()) << "not clipped";
      expected.push_back(name);
      walked.push_back(Focus()->objectName().toStdString());
      Key(Qt::Key_Tab);
    }
    for (const std::string& name : p.rest) {
      expected.push_back(name);
      walked.push_back(Focus()->objectName().toStdString());
      Key(Qt::Key_Tab);
    }
    EXPECT_EQ(walked, expected);
  }
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(RecordPanelsTest, ClientOpenedWithEveryControlFilled) {
  OpenClient("0104");
  EXPECT_TRUE(fMain->ClientPanel().Client_Panel->isVisible());
  EXPECT_EQ(fMain->ClientPanel().Client_Panel->geometry(), QRect(8, 72, 600, 350));
  EXPECT_FALSE(fMain->Desk.ActionButtons) << "no action while a record is open";
  EXPECT_EQ(TextOf("ClientCodeClientEdit"), "0104");
  EXPECT_EQ(TextOf("ClientNomPharmacieEdit"), "PHARMACIE SAINT-EXUP\xC9RY");
  EXPECT_EQ(TextOf("ClientFacturationPharmacienEdit"), "PHARMACIE SAINT-EXUP\xC9RY");
  EXPECT_EQ(TextOf("ClientFacturationCodeEdit"), "69002");
  EXPECT_EQ(TextOf("ClientIdCEEEdit"), "FR85628134991");
  EXPECT_EQ(TextOf("ClientLivraisonVilleEdit"), "LYON");
  EXPECT_TRUE(fMain->findChild<QRadioButton*>("Quinzaine_RadioButton")->isChecked());
  EXPECT_FALSE(fMain->findChild<QCheckBox*>("Ubipharm_CheckBox")->isChecked());
  EXPECT_EQ(fMain->findChild<QCheckBox*>("Ubipharm_CheckBox")->text(), QStringLiteral("par Ubipharm"));
  for (const char* name : {"ClientCodeClientEdit", "ClientNomPharmacieEdit", "ClientFacturationPaysEdit"}) {
    EXPECT_EQ(GetEditColor(Edit(name)), kWhite) << name;
  }
  OpenClient("0105");
  EXPECT_TRUE(fMain->findChild<QCheckBox*>("Ubipharm_CheckBox")->isChecked()) << "0105 is par Ubipharm";
  EXPECT_TRUE(fCapture.Boxes().empty());
}

// What is typed colours the edit at once, in the colours the screen shows.
TEST_F(RecordPanelsTest, ChecksWhileTyping) {
  struct Row {
    const char* name;
    const char* edit;
    const char* typed;
    TColor color;
  };
  const Row clientRows[] = {
      {"phone with plus and points", "ClientTelEdit", "+33 1.23.45.67", kWhite},
      {"short phone", "ClientFaxEdit", "12-34", kYellow},
      {"empty phone", "ClientPortableEdit", "", kWhite},
      {"e-mail", "ClientEmailEdit", "a@b.fr", kWhite},
      {"not an e-mail", "ClientEmailEdit", "a.b.fr", kYellow},
      {"listed country in lower case", "ClientFacturationPaysEdit", "belgique", kWhite},
      {"unknown country", "ClientLivraisonPaysEdit", "NARNIA", kYellow},
      {"country that is no pattern", "ClientFacturationPaysEdit", "FRANCE(", kYellow},
      {"empty company name", "ClientNomPharmacieEdit", "", kRed},
      {"field separator in a company name", "ClientNomPharmacieEdit", "PHARMACIE; X", kRed},
      {"company name", "ClientNomPharmacieEdit", "PHARMACIE", kWhite},
      {"code of another client", "ClientCodeClientEdit", "0104", kRed},
      {"the client's own code", "ClientCodeClientEdit", "0103", kWhite},
      {"three digits", "ClientCodeClientEdit", "999", kYellow},
      {"empty code", "ClientCodeClientEdit", "", kRed},
      {"code with pattern characters", "ClientCodeClientEdit", "01(3", kYellow},
      {"field separator in a code", "ClientCodeClientEdit", "01;3", kRed},
      {"field separator in an address", "ClientLivraisonAdd1Edit", "RUE 1; BP 2", kRed},
      {"address", "ClientLivraisonAdd1Edit", "RUE 1, BP 2", kWhite},
  };
  OpenClient("0103");
  for (const Row& row : clientRows) {
    SCOPED_TRACE(row.name);
    Retype(row.edit, row.typed);
    EXPECT_EQ(Shown(Edit(row.edit)), row.color);
  }
  EXPECT_EQ(TextOf("ClientFacturationPharmacienEdit"), "PHARMACIE") << "the company name is shown again";

  const Row articleRows[] = {
      {"CIP with its check digit", "ArticleCodeCIPEdit", "1234562", kWhite},
      {"CIP with a wrong check digit", "ArticleCodeCIPEdit", "1234567", kYellow},
      {"code of another article", "ArticleCodeCIPEdit", "7968532", kRed},
      {"the article's own code", "ArticleCodeCIPEdit", "3408919", kWhite},
      {"empty designation", "ArticleDesignationEdit", "", kYellow},
      {"coefficient below one", "ArticleCoeffMargeEdit", "0,8", kYellow},
      {"negative purchase price", "ArticlePrixAchatEdit", "-2", kYellow},
      {"price that is no number", "ArticlePrixVenteEdit", "abc", kRed},
      {"empty weight", "ArticlePoidsEdit", "", kRed},
      {"field separator in a designation", "ArticleDesignationEdit", "DOLIPRANE 1000MG; BTE 8", kRed},
      {"field separator in a barcode", "ArticleCodeBarreEdit", "3400;1", kRed},
      {"barcode", "ArticleCodeBarreEdit", "34001", kWhite},
  };
  OpenArticle("3408919");
  for (const Row& row : articleRows) {
    SCOPED_TRACE(row.name);
    Retype(row.edit, row.typed);
    EXPECT_EQ(Shown(Edit(row.edit)), row.color);
  }
}

// Only the edit typed in drives the others; numbers keep their decimals while
// typed and get all of them when left.
TEST_F(RecordPanelsTest, PricesTypedAndLeft) {
  struct Step {
    const char* edit;
    const char* typed;
  };
  struct Row {
    const char* name;
    std::vector<Step> steps;
    Strings typing;   // Prix Achat, Prix Vente, Coef, Poids after the steps
    const char* left; // the edit left afterwards with Tab
    Strings leaving;  // the four after leaving it
  };
  const Row rows[] = {
      {"coefficient typed with a point",
       {{"ArticlePrixAchatEdit", "10"}, {"ArticleCoeffMargeEdit", "1.5"}},
       {"10,00", "15,00", "1,5", "0,7189"},
       "ArticleCoeffMargeEdit",
       {"10,00", "15,00", "1,5000", "0,7189"}},
      {"sale price gives the coefficient",
       {{"ArticlePrixAchatEdit", "3"}, {"ArticlePrixVenteEdit", "10"}},
       {"3,00", "10", "3,3333", "0,7189"},
       "ArticlePrixVenteEdit",
       {"3,00", "10,00", "3,3333", "0,7189"}},
      {"a computed price keeps two decimals",
       {{"ArticlePrixAchatEdit", "2,40"}, {"ArticleCoeffMargeEdit", "1,5"}},
       {"2,40", "3,60", "1,5", "0,7189"},
       "ArticleCoeffMargeEdit",
       {"2,40", "3,60", "1,5000", "0,7189"}},
      {"a computed coefficient keeps four decimals",
       {{"ArticlePrixAchatEdit", "2,40"}, {"ArticlePrixVenteEdit", "4,8"}},
       {"2,40", "4,8", "2,0000", "0,7189"},
       "ArticlePrixVenteEdit",
       {"2,40", "4,80", "2,0000", "0,7189"}},
      {"purchase price rounded at its third decimal",
       {{"ArticlePrixAchatEdit", "12,346"}},
       {"12,35", "15,83", "1,2815", "0,7189"},
       "ArticlePrixAchatEdit",
       {"12,35", "15,83", "1,2815", "0,7189"}},
      {"weight keeps three decimals while typed, four when left",
       {{"ArticlePoidsEdit", "0,1234"}},
       {"43,62", "55,90", "1,2815", "0,123"},
       "ArticlePoidsEdit",
       {"43,62", "55,90", "1,2815", "0,1230"}},
      {"no purchase price, no coefficient",
       {{"ArticlePrixAchatEdit", "0"}, {"ArticlePrixVenteEdit", "20"}},
       {"0,00", "20", "1,2815", "0,7189"},
       "ArticlePrixVenteEdit",
       {"0,00", "20,00", "1,2815", "0,7189"}},
      {"a red price drives nothing, and is emptied when left",
       {{"ArticlePrixAchatEdit", "x"}},
       {"x", "55,90", "1,2815", "0,7189"},
       "ArticlePrixAchatEdit",
       {"", "55,90", "1,2815", "0,7189"}},
  };
  const char* numbers[] = {"ArticlePrixAchatEdit", "ArticlePrixVenteEdit", "ArticleCoeffMargeEdit",
                           "ArticlePoidsEdit"};
  auto four = [&] {
    Strings out;
    for (const char* n : numbers) out.push_back(TextOf(n));
    return out;
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    OpenArticle("3408919");
    for (const Step& s : row.steps) Retype(s.edit, s.typed);
    EXPECT_EQ(four(), row.typing);
    Edit(row.left)->setFocus();
    Key(Qt::Key_Tab);
    EXPECT_EQ(four(), row.leaving);
  }
  // Only leaving a price that is no number is an error.
  EXPECT_EQ(fCapture.Boxes(), Strings{"*ERROR*TStringManager.FormatRealStringStrict:Parametre n'est pas un reel : x"});
  EXPECT_EQ(Shown(Edit("ArticlePrixAchatEdit")), kRed);
}

TEST_F(RecordPanelsTest, ArticleSavedAsShownWithAWarningAndRefusedWithARedEdit) {
  OpenArticle("3408919");
  Retype("ArticleCoeffMargeEdit", "0,8");
  Retype("ArticlePoidsEdit", "0,1234");
  Click(fMain->findChild<QPushButton*>("ArticleEnregistrer_Button"));
  EXPECT_TRUE(fMain->Lists().Of(kArticlesList).Surface()->isVisible());
  EXPECT_EQ(Stored(kArticles, "3408919", "Coef"), Strings{"0,8000"});
  EXPECT_EQ(Stored(kArticles, "3408919", "Prix Vente"), Strings{"34,90"}) << "computed: two decimals, never left";
  EXPECT_EQ(Stored(kArticles, "3408919", "Poids"), Strings{"0,1230"});
  EXPECT_TRUE(fCapture.Boxes().empty());

  // "Créer": an empty code, red; the save is refused and nothing written.
  const std::string before = ReadFileBytes(kArticles);
  fMain->Desk.Creer();
  EXPECT_TRUE(fMain->ArticlePanel().Article_Panel->isVisible());
  EXPECT_EQ(TextOf("ArticleCodeCIPEdit"), "");
  EXPECT_EQ(Shown(Edit("ArticleCodeCIPEdit")), kRed);
  EXPECT_EQ(TextOf("ArticlePrixVenteEdit"), "0");
  Click(fMain->findChild<QPushButton*>("ArticleEnregistrer_Button"));
  EXPECT_EQ(fCapture.Boxes(), Strings{kRedFields});
  EXPECT_TRUE(fMain->ArticlePanel().Article_Panel->isVisible());
  EXPECT_EQ(ReadFileBytes(kArticles), before);
}

TEST_F(RecordPanelsTest, NewClientGetsTheNextCodeAndMustBeNamed) {
  fMain->ShowClients();
  fMain->Desk.Creer();
  EXPECT_TRUE(fMain->ClientPanel().Client_Panel->isVisible());
  EXPECT_EQ(TextOf("ClientCodeClientEdit"), "0116");
  EXPECT_EQ(Shown(Edit("ClientCodeClientEdit")), kWhite);
  EXPECT_EQ(TextOf("ClientNomPharmacieEdit"), "");
  EXPECT_EQ(Shown(Edit("ClientNomPharmacieEdit")), kRed);
  EXPECT_TRUE(fMain->findChild<QRadioButton*>("TrenteJ_RadioButton")->isChecked());
  EXPECT_EQ(Focus(), Edit("ClientNomPharmacieEdit"));
  const std::string before = ReadFileBytes(kClients);
  Click(fMain->findChild<QPushButton*>("ClientEnregistrer_Button"));
  EXPECT_EQ(fCapture.Boxes(), Strings{kRedFields});
  EXPECT_EQ(ReadFileBytes(kClients), before);

  Retype("ClientNomPharmacieEdit", "PHARMACIE NOUVELLE");
  Retype("ClientTelEdit", "12-34");
  Click(fMain->findChild<QRadioButton*>("Comptant_RadioButton"));
  Click(fMain->findChild<QPushButton*>("ClientEnregistrer_Button"));
  EXPECT_TRUE(fMain->Lists().Of(kClientsList).Surface()->isVisible()) << "a warning does not stop the save";
  EXPECT_EQ(Stored(kClients, "0116", "Societe"), Strings{"PHARMACIE NOUVELLE"});
  EXPECT_EQ(Stored(kClients, "0116", "Telephone"), Strings{"12-34"});
  EXPECT_EQ(Stored(kClients, "0116", "Echeance"), Strings{"Comptant"});
  EXPECT_EQ(fMain->Lists().Of(kClientsList).Grid()->FindCell("0116", "Code").second, 16);
}

TEST_F(RecordPanelsTest, ClientRenamedKeepsItsContactAndUbipharmFollowsTheBox) {
  struct Row {
    const char* name;
    bool check;       // the box as left before the save
    Strings listed;   // the distributor codes of 0102 afterwards
  };
  const Row rows[] = {
      {"checked adds the code", true, {"0102"}},
      {"checked again keeps it once", true, {"0102"}},
      {"unchecked removes it", false, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    OpenClient("0102");
    auto* box = fMain->findChild<QCheckBox*>("Ubipharm_CheckBox");
    if (box->isChecked() != row.check) Click(box);
    Click(fMain->findChild<QPushButton*>("ClientEnregistrer_Button"));
    EXPECT_EQ(Stored(kUbipharm, "0102", "Code"), row.listed);
  }
  OpenClient("0102");
  Retype("ClientCodeClientEdit", "0120");
  Click(fMain->findChild<QPushButton*>("ClientEnregistrer_Button"));
  EXPECT_EQ(Stored(kClients, "0102", "Code"), Strings{});
  EXPECT_EQ(Stored(kClients, "0120", "Contact"), Strings{"KOUASSI N'GUESSAN"});
  EXPECT_EQ(Stored(kClients, "0120", "Societe"), Strings{"PHARMACIE DU PLATEAU"});
  EXPECT_TRUE(fCapture.Boxes().empty());
}


// "Supprimer" on the button bar acts on the list on screen: the whole main
// window on a copy of the sample installation.
class RecordPanelsWindowTest : public ::testing::Test {
protected:
  RecordPanelsWindowTest() {
    CopyTree(std::string(QUORIX_SOURCE_DIR) + "/sample/Data", fDir.File("Data"));
    fCwd = std::make_unique<TScopedCwd>(fDir.Path());
    fDebug = std::make_unique<TMyDatabase_Form>();
    fMain = StartSampleWindow();
    fCapture.Clear();
  }
  ~RecordPanelsWindowTest() override {
    fMain.reset();
    fDebug.reset();
  }

  TTempDir fDir;
  std::unique_ptr<TScopedCwd> fCwd;
  TTraceCapture fCapture;
  std::unique_ptr<TMyDatabase_Form> fDebug;
  std::unique_ptr<TQuorix_Form> fMain;
};


TEST_F(RecordPanelsWindowTest, SupprimerOnTheClientAndArticleLists) {
  fMain->ShowClients();
  EXPECT_TRUE(fMain->findChild<QToolButton*>("Supprimer_BitBtn")->isEnabled());
  struct Row {
    const char* name;
    const char* code;
    Strings boxes;
    bool kept;
  };
  const Row rows[] = {
      {"client with one invoice",
       "0102",
       {"La suppression de ce client est impossible, il est present dans 1 Factures"},
       true},
      {"client with quotes only", "0103", {}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fCapture.Clear();
    fMain->ShowClients();
    TMyStringGrid* list = fMain->Lists().Of(kClientsList).Grid();
    list->SetRow(list->FindCell(row.code, "Code").second);
    Click(fMain->findChild<QToolButton*>("Supprimer_BitBtn"));
    EXPECT_EQ(fCapture.Boxes(), row.boxes);
    EXPECT_EQ(Stored(kClients, row.code, "Code").size(), row.kept ? 1U : 0U);
    EXPECT_EQ(list->FindCell(row.code, "Code").second >= 0, row.kept);
    EXPECT_TRUE(fMain->Lists().Of(kClientsList).Surface()->isVisible());
  }

  fMain->ShowArticles();
  EXPECT_TRUE(fMain->findChild<QToolButton*>("Supprimer_BitBtn")->isEnabled());
  TMyStringGrid* articles = fMain->Lists().Of(kArticlesList).Grid();
  articles->SetRow(articles->FindCell("3408919", "Code").second);
  Click(fMain->findChild<QToolButton*>("Supprimer_BitBtn"));
  EXPECT_EQ(Stored(kArticles, "3408919", "Code"), Strings{});
  EXPECT_LT(articles->FindCell("3408919", "Code").second, 0);
  EXPECT_TRUE(fMain->Lists().Of(kArticlesList).Surface()->isVisible());
}

}  // namespace
