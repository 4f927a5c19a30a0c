// The split panel and the courier panel driven as the user does, on a copy of
// the sample installation with the invoice FA31750 (port 100, lines of 100,
// 50, 30 and 20) and a temporary share folder for the courier station.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CourierPanel.h"
#include "MemoryPrintSurfaces.h"
#include "MyDatabase.h"
#include "MyDatabaseForm.h"
#include "MyStringGrid.h"
#include "PieceEditor.h"
#include "PrintManager.h"
#include "QtGridSurface.h"
#include "QtGuard.h"
#include "QtText.h"
#include "RecordEditTools.h"
#include "QuorixForm.h"
#include "SampleWindow.h"
#include "SplashLaunchForm.h"
#include "SplitPanel.h"
#include "TestSupport.h"
#include "UpDownArrows.h"

void QuorixTestInit(int& argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static TQuorixApplication* app = new TQuorixApplication(argc, argv);
  (void)app;
}

namespace {

constexpr const char* kLinesHeader = "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n";
const std::string kSource =
    "FA31750;2;3408919;DOLIPRANE 1000MG CPR B/8;50,00;100,00\r\n"
    "FA31750;1;7968532;DOLIPRANE 500MG GELULES B/16;50,00;50,00\r\n"
    "FA31750;1;2661728;EFFERALGAN 500MG CPR EFFERV. B/16;30,00;30,00\r\n"
    "FA31750;1;3236460;SPASFON LYOC 80MG B/10;20,00;20,00\r\n";

std::string Str(const QString& q) { return FromQString(q); }

// A printer that keeps a line per document printed: the piece number and the
// copies.
struct TRecordingPrinter : TMemoryPrinter {
  TRecordingPrinter() : TMemoryPrinter(2480, 3508, 300) {}
  void EndDoc() override {
    TMemoryPrinter::EndDoc();
    Printed.push_back(Title.substr(0, Title.find('-')) + " x" + std::to_string(Copies));
  }
  std::vector<std::string> Printed;
};

struct TRecordingView : TMemoryPrintView {
  explicit TRecordingView(const char* printer) : TMemoryPrintView(2480, 3508) { Recorder.Name = printer; }
  TPrinterDevice& Printer() override { return Recorder; }
  TRecordingPrinter Recorder;
};

class SplitCourierTest : public ::testing::Test {
protected:
  SplitCourierTest() {
    CopyTree(std::string(QUORIX_SOURCE_DIR) + "/sample/Data", fDir.File("Data"));
    fShare = fDir.File("station/C$/Chronopost-Tampon/");
    std::filesystem::create_directories(fShare);
    SetStation(fDir.File("station"));
    const std::string table = fDir.File("Data/BaseDeDonneesFactures.db");
    WriteFileBytes(table, ReadFileBytes(table) + "FA31750;02/03/2026;0102;PHARMACIE DU PLATEAU;100;4;200,00;300\r\n");
    WriteFileBytes(fDir.File("Data/Factures/FA31750.db"), kLinesHeader + kSource);
    fCwd = std::make_unique<TScopedCwd>(fDir.Path());
  }
  ~SplitCourierTest() override {
    if (TPrintManager* manager = GetPrintManager()) manager->SetView(nullptr);
    fMain.reset();
    fDebug.reset();
  }

  // The station's folder in the settings ("" leaves the key out).
  void SetStation(const std::string& host) {
    const std::string file = fDir.File("Data/parametres.ini");
    std::string ini = ReadFileBytes(file);
    const std::string key = "   StationChronopost = ";
    const std::size_t at = ini.find(key);
    ASSERT_NE(at, std::string::npos);
    const std::size_t end = ini.find("\r\n", at) + 2;
    ini.replace(at, end - at, host.empty() ? "" : key + host + "\r\n");
    WriteFileBytes(file, ini);
  }

  void Start() {
    fDebug = std::make_unique<TMyDatabase_Form>();
    fMain = StartSampleWindow();
    fCapture.Clear();
  }

  TSplitPanel& Split() { return fMain->SplitPanel(); }
  TCourierPanel& Courier() { return fMain->CourierPanel(); }
  TPieceEditor& Editor() { return fMain->PieceEditor(); }

  static void Click(QWidget* w, Qt::KeyboardModifiers mods = {}, QPoint at = QPoint()) {
    QTest::mouseClick(w, Qt::LeftButton, mods, at.isNull() ? w->rect().center() : at);
    QApplication::processEvents();
  }
  // A click on the upper or the lower arrow of an up-down.
  static void Arrow(QWidget* upDown, bool up) {
    Click(upDown, {}, QPoint(upDown->width() / 2, up ? 4 : upDown->height() - 4));
  }
  static void Type(QLineEdit* edit, const char* text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(text));
    QApplication::processEvents();
  }
  static void Enter(QWidget* w) {
    QTest::keyClick(w, Qt::Key_Return);
    QApplication::processEvents();
  }

  // Selects an invoice in the invoice list by a click on its row.
  void SelectInvoice(const std::string& number) {
    fMain->ShowFactures();
    TQtGridSurface* grid = fMain->Lists().Of(kFacturesList).Surface();
    const int row = fMain->Lists().Of(kFacturesList).Grid()->FindCell(number, "Num Facture").second;
    ASSERT_GT(row, 0) << number;
    grid->SetTopRow(std::max(1, row - 2));
    QApplication::processEvents();
    const QPoint at = grid->CellRectInWidget(1, row).center();
    QWidget* w = grid->childAt(at);
    if (w == nullptr) w = grid;
    QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(grid, at));
    QApplication::processEvents();
    ASSERT_EQ(fMain->Lists().Of(kFacturesList).Grid()->GetRow(), row);
  }
  void OpenInvoice(const std::string& number) {
    SelectInvoice(number);
    QTest::keyClick(fMain->Lists().Of(kFacturesList).Surface(), Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_TRUE(fMain->PieceEditor().Facture_Panel->isVisible());
  }
  // Ctrl+Shift+click on "Poids (kg)".
  void OpenCourier() {
    Click(Editor().Label23, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(fMain->PieceEditor().Chronopost_Panel->isVisible());
  }
  void Parcel(const char* weight) {
    Type(Courier().PoidsChronopost_Edit, weight);
    Enter(Courier().PoidsChronopost_Edit);
  }
  std::vector<std::string> ShareFiles() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(fShare)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::string> Previews() {
    std::vector<std::string> texts;
    for (QLineEdit* e : Split().Scinder_Fact_Edits) texts.push_back(e->isVisible() ? Str(e->text()) : "-");
    return texts;
  }

  TTempDir fDir;
  std::string fShare;
  std::unique_ptr<TScopedCwd> fCwd;
  TTraceCapture fCapture;
  std::unique_ptr<TMyDatabase_Form> fDebug;
  std::unique_ptr<TQuorix_Form> fMain;
  std::unique_ptr<TRecordingView> fView;
};

}  // namespace

TEST_F(SplitCourierTest, SplitPanelShowsTheTotalsAndFollowsItsUpDown) {
  Start();
  EXPECT_FALSE(Split().Scinder_Panel->isVisible()) << "hidden at start-up";
  SelectInvoice("FA31750");
  fMain->findChild<QAction*>("Scinder1")->trigger();
  QApplication::processEvents();
  ASSERT_TRUE(Split().Scinder_Panel->isVisible());
  EXPECT_EQ(Str(Split().Label11->text()), "Nb Factures");
  EXPECT_EQ(Str(Split().Scinder_Button->text()), "Scinder");
  EXPECT_EQ(Str(Split().Scinder_nbFact_Edit->text()), "2");
  EXPECT_EQ(Previews(), (std::vector<std::string>{"150", "50", "-", "-", "-", "-", "-", "-", "-"}));

  for (int i = 0; i < 3; ++i) Arrow(Split().Scinder_NbFact_UpDown, true);
  EXPECT_EQ(Str(Split().Scinder_nbFact_Edit->text()), "5");
  // Target 40: 100, 50, 30 each pass it alone, the fourth gets nothing, the
  // last line stays for the fifth.
  EXPECT_EQ(Previews(), (std::vector<std::string>{"100", "50", "30", "0", "20", "-", "-", "-", "-"}));
  EXPECT_TRUE(Split().Scinder_Fact_Updowns[4]->isVisible());
  Arrow(Split().Scinder_NbFact_UpDown, false);
  EXPECT_EQ(Previews(), (std::vector<std::string>{"100", "80", "0", "20", "-", "-", "-", "-", "-"}));
  EXPECT_FALSE(Split().Scinder_Fact_Updowns[4]->isVisible());

  // Up to nine, never beyond.
  for (int i = 0; i < 8; ++i) Arrow(Split().Scinder_NbFact_UpDown, true);
  EXPECT_EQ(Str(Split().Scinder_nbFact_Edit->text()), "9");
  EXPECT_TRUE(Split().Scinder_Fact_Edits[8]->isVisible());
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(SplitCourierTest, CourierPanelCountsParcelsAndLeavesTheirFiles) {
  Start();
  OpenInvoice("FA31750");
  EXPECT_FALSE(fMain->PieceEditor().Chronopost_Panel->isVisible());
  Click(Editor().Label23);
  EXPECT_FALSE(fMain->PieceEditor().Chronopost_Panel->isVisible()) << "a plain click does not open it";
  OpenCourier();
  TCourierPanel& c = Courier();
  EXPECT_EQ(Str(c.Label27->text()), "ABIDJAN");
  EXPECT_FALSE(c.FA0_RadioButton->isChecked()) << "a total of 200 makes no second invoice";
  EXPECT_FALSE(c.Scission_RadioButton->isEnabled());
  EXPECT_EQ(Str(c.NbFa_Edit->text()), "2");
  EXPECT_EQ(Str(c.NbFa0_Edit->text()), "0");
  EXPECT_EQ(QApplication::focusWidget(), c.PoidsChronopost_Edit);

  Parcel("30");
  EXPECT_EQ(Str(c.PoidsChronopost_Edit->text()), "");
  Parcel("30,1");
  EXPECT_EQ(Str(c.PoidsChronopost_Edit->text()), "30,1") << "refused: nothing happens";
  Parcel("0,2");
  // The sample tariff: 30 kg for 159, 0,5 kg for 20.
  EXPECT_EQ(Str(c.Label25->text()), "179");
  EXPECT_EQ(Str(c.NbFa_Edit->text()), "8");
  EXPECT_EQ(c.Parcels(), 2);
  const std::vector<std::string> files = ShareFiles();
  ASSERT_EQ(files.size(), 2u);
  std::vector<std::string> contents;
  for (const std::string& f : files) {
    EXPECT_EQ(f.rfind("0102-", 0), 0u) << f;
    contents.push_back(ReadFileBytes(fShare + f));
  }
  std::sort(contents.begin(), contents.end());
  EXPECT_EQ(contents, (std::vector<std::string>{"0102\r\n0,2\r\n", "0102\r\n30\r\n"}));

  Click(c.SpeedButton1);
  EXPECT_EQ(Str(Editor().FacturePortEdit->text()), "179");
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(SplitCourierTest, AFieldSeparatorTypedInTheCourierOrSplitInputsIsRedAndStopsThem) {
  struct Row {
    const char* name;
    bool courier;  // in the courier panel of FA31750, else in the split panel
    std::function<QLineEdit*()> edit;
    const char* typed;
    std::function<QWidget*()> action;  // clicked, or Enter in the edit when none
  };
  const Row rows[] = {
      {"parcel weight", true, [this] { return Courier().PoidsChronopost_Edit; }, "1;5", nullptr},
      {"copies", true, [this] { return Courier().NbFa_Edit; }, "2;",
       [this]() -> QWidget* { return Courier().Chronopost_Proceed_Button; }},
      {"invoices of the split", false, [this] { return Split().Scinder_nbFact_Edit; }, "3;",
       [this]() -> QWidget* { return Split().Scinder_Button; }},
  };
  Start();
  const std::string factures = ReadFileBytes("./Data/BaseDeDonneesFactures.db");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.courier) {
      OpenInvoice("FA31750");
      OpenCourier();
      Type(Editor().FacturePortEdit, "12");
    } else {
      SelectInvoice("FA31750");
      fMain->findChild<QAction*>("Scinder1")->trigger();
    }
    QLineEdit* edit = row.edit();
    Type(edit, row.typed);
    EXPECT_EQ(GetEditColor(edit), 0x443EFAu);
    fCapture.Clear();
    if (!row.action) {
      Enter(edit);
    } else {
      Click(row.action());
    }
    EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{"Veuillez corriger les champs en rouge"});
    EXPECT_TRUE(ShareFiles().empty());
    EXPECT_EQ(ReadFileBytes("./Data/BaseDeDonneesFactures.db"), factures);
    if (row.courier) Click(Editor().FactureAnnuler_Button);
  }
}

TEST_F(SplitCourierTest, InDoualaTheSplitIsOfferedFromTheSecondParcel) {
  Start();
  OpenInvoice("FA31750");
  Type(Editor().FactureCodeClientEdit, "0105");
  OpenCourier();
  TCourierPanel& c = Courier();
  EXPECT_EQ(Str(c.Label27->text()), "DOUALA");
  const char* captions[] = {"Scission", "scission en 2", "scission en 3"};
  for (int i = 0; i < 3; ++i) {
    Parcel("1");
    EXPECT_EQ(Str(c.Scission_RadioButton->text()), captions[i]);
    EXPECT_EQ(c.Scission_RadioButton->isEnabled(), i > 0);
    EXPECT_EQ(c.Scission_RadioButton->isChecked(), i > 0);
  }
}

TEST_F(SplitCourierTest, ParcelsThatCannotBeHandedOffAreNotCounted) {
  SetStation("");
  Start();
  OpenInvoice("FA31750");
  OpenCourier();
  Parcel("2");
  ASSERT_EQ(fCapture.Boxes().size(), 1u);
  EXPECT_NE(fCapture.Boxes()[0].find("StationChronopost"), std::string::npos) << fCapture.Boxes()[0];
  EXPECT_EQ(Str(Courier().Label25->text()), "0");
  EXPECT_EQ(Str(Courier().NbFa_Edit->text()), "2");
  EXPECT_EQ(Courier().Parcels(), 0);
}

TEST_F(SplitCourierTest, ProceedWithoutPortDoesNothing) {
  Start();
  OpenInvoice("FA31750");
  Type(Editor().FacturePortEdit, "0");
  OpenCourier();
  const std::string header = ReadFileBytes("./Data/BaseDeDonneesFactures.db");
  Click(Courier().Chronopost_Proceed_Button);
  EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{"Port a zero"});
  EXPECT_TRUE(fMain->PieceEditor().Facture_Panel->isVisible());
  EXPECT_EQ(ReadFileBytes("./Data/BaseDeDonneesFactures.db"), header);
}

TEST_F(SplitCourierTest, AnInvalidClientCodeIsSignalledAndThePanelNotReset) {
  Start();
  OpenInvoice("FA31750");
  Type(Editor().FactureCodeClientEdit, "12");
  OpenCourier();
  EXPECT_NE(Str(Editor().Signaling_RichEdit->toPlainText()).find("Verifier Code Client"), std::string::npos);
  EXPECT_EQ(Str(Courier().Label27->text()), "ville");
}

// Pictures of both panels for a person to look at, written only when
// QUORIX_SCREENSHOT_DIR names a folder.
TEST_F(SplitCourierTest, Screenshots) {
  const char* out = std::getenv("QUORIX_SCREENSHOT_DIR");
  if (out == nullptr || *out == '\0') GTEST_SKIP() << "QUORIX_SCREENSHOT_DIR is not set";
  const std::string dir = out;
  Start();
  SelectInvoice("FA31750");
  fMain->findChild<QAction*>("Scinder1")->trigger();
  for (int i = 0; i < 4; ++i) Arrow(Split().Scinder_NbFact_UpDown, true);
  EXPECT_TRUE(fMain->grab().save(QString::fromStdString(dir + "/split_panel.png")));
  fMain->ShowScinderControls(false);
  OpenInvoice("FA31750");
  Type(Editor().FactureCodeClientEdit, "0105");
  OpenCourier();
  Parcel("1,2");
  Parcel("3");
  EXPECT_TRUE(fMain->grab().save(QString::fromStdString(dir + "/courier_panel.png")));
}

TEST_F(SplitCourierTest, ScinderMakesTheNewInvoicesAndLeavesTheSourceAsItWas) {
  Start();
  const std::string sourceLines = ReadFileBytes("./Data/Factures/FA31750.db");
  SelectInvoice("FA31750");
  fMain->findChild<QAction*>("Scinder1")->trigger();
  Arrow(Split().Scinder_NbFact_UpDown, true);
  // Another invoice clicked in the list meanwhile: FA31750 is split all the same.
  SelectInvoice("FA31690");
  Click(Split().Scinder_Button);
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes().front();
  EXPECT_FALSE(Split().Scinder_Panel->isVisible());
  EXPECT_TRUE(fMain->Lists().Of(kFacturesList).Surface()->isVisible());

  TMyDatabase factures("./Data/BaseDeDonneesFactures.db");
  struct Row {
    const char* number;
    const char* port;
    const char* totalHT;
    const char* totalTTC;
    std::vector<std::string> codes;
  };
  // Target 66,67: 100 alone, then 50 and 30, the last line for the third.
  const Row rows[] = {
      {"FA317501", "33", "100,00", "133", {"3408919"}},
      {"FA317502", "33", "80,00", "113", {"7968532", "2661728"}},
      {"FA317503", "34", "20,00", "54", {"3236460"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.number);
    factures.Query("Num Facture", row.number, Exact);
    ASSERT_EQ(factures.QueryResultCount(), 1);
    EXPECT_EQ(factures.GetQueryResultString("Port", 0), row.port);
    EXPECT_EQ(factures.GetQueryResultString("Total HT", 0), row.totalHT);
    EXPECT_EQ(factures.GetQueryResultString("Total TTC", 0), row.totalTTC);
    EXPECT_EQ(factures.GetQueryResultString("Code client", 0), "0102");
    TMyDatabase lines(std::string("./Data/Factures/") + row.number + ".db");
    lines.QueryAll();
    std::vector<std::string> codes;
    for (int i = 0; i < lines.QueryResultCount(); ++i) {
      codes.push_back(lines.GetQueryResultString("Code", i));
      EXPECT_EQ(lines.GetQueryResultString("Num Facture", i), row.number) << "saved from the editor";
    }
    EXPECT_EQ(codes, row.codes);
    EXPECT_GT(fMain->Lists().Of(kFacturesList).Grid()->FindCell(row.number, "Num Facture").second, 0);
  }
  factures.Query("Num Facture", "FA31750", Exact);
  ASSERT_EQ(factures.QueryResultCount(), 1);
  EXPECT_EQ(factures.GetQueryResultString("Port", 0), "100");
  EXPECT_EQ(factures.GetQueryResultString("Total HT", 0), "200,00");
  EXPECT_EQ(factures.GetQueryResultString("Date", 0), "02/03/2026");
  EXPECT_EQ(ReadFileBytes("./Data/Factures/FA31750.db"), sourceLines);
}

TEST_F(SplitCourierTest, APortWithDecimalsStopsTheSplitBeforeAnyInvoice) {
  Start();
  TMyDatabase& factures = *fMain->Tables().Factures();
  factures.Query("Num Facture", "FA31750", Exact);
  factures.SetData("Port", factures.QueryGetDataIndex(0), "12,50");
  SelectInvoice("FA31750");
  fMain->findChild<QAction*>("Scinder1")->trigger();
  Click(Split().Scinder_Button);
  EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{"'12,50' n'est pas une valeur enti\xE8re correcte"});
  EXPECT_TRUE(Split().Scinder_Panel->isVisible());
  factures.Query("Num Facture", "^FA31750.$", Pattern);
  EXPECT_EQ(factures.QueryResultCount(), 0);
  EXPECT_FALSE(std::filesystem::exists("./Data/Factures/FA317501.db"));
}

TEST_F(SplitCourierTest, ProceedInDoualaPrintsTheInvoiceThenSplitsItsHalfPerParcel) {
  Start();
  fView = std::make_unique<TRecordingView>("HP Entete 2eme etage");
  GetPrintManager()->SetView(fView.get());
  OpenInvoice("FA31750");
  Type(Editor().FactureCodeClientEdit, "0105");
  OpenCourier();
  Parcel("1");
  Parcel("2,3");
  EXPECT_EQ(Str(Courier().Label25->text()), "51");
  Click(Courier().SpeedButton1);
  ASSERT_TRUE(Courier().Scission_RadioButton->isChecked());
  EXPECT_EQ(Str(Courier().NbFa_Edit->text()), "8");
  Click(Courier().Chronopost_Proceed_Button);
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes().front();

  // The invoice in its copies, then each half of the second invoice in 4.
  EXPECT_EQ(fView->Recorder.Printed, (std::vector<std::string>{"FA31750 x8", "FA0317501 x4", "FA0317502 x4"}));
  TMyDatabase& factures = *fMain->Tables().Factures();
  struct Row {
    const char* number;
    const char* port;
    const char* totalHT;
  };
  // The second invoice: prices halved (50, 25, 15, 10), port 51 halved and
  // truncated; its halves split at the target 50.
  const Row rows[] = {{"FA31750", "51", "200,00"},
                      {"FA031750", "25", "100,00"},
                      {"FA0317501", "12", "75,00"},
                      {"FA0317502", "13", "25,00"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.number);
    factures.Query("Num Facture", row.number, Exact);
    ASSERT_EQ(factures.QueryResultCount(), 1);
    EXPECT_EQ(factures.GetQueryResultString("Port", 0), row.port);
    EXPECT_EQ(factures.GetQueryResultString("Total HT", 0), row.totalHT);
    EXPECT_EQ(factures.GetQueryResultString("Code client", 0), "0105");
  }
  fMain->Tables().Dupli()->Query("Code", "0105", Exact);
  EXPECT_EQ(fMain->Tables().Dupli()->QueryResultCount(), 1) << "the client is recorded as having had a second invoice";
  EXPECT_FALSE(fMain->SplitPanel().PrintAfterSplit());
  EXPECT_FALSE(GetPrintManager()->AutoPrint);
}

TEST_F(SplitCourierTest, ProceedMakesTheSecondInvoiceForADuplicateClient) {
  // Ten of the first article make a total before tax of 600, which makes the
  // second invoice.
  std::string lines = kLinesHeader + kSource;
  lines.replace(lines.find("FA31750;2;"), 10, "FA31750;10;");
  lines.replace(lines.find(";100,00"), 7, ";500,00");
  WriteFileBytes(fDir.File("Data/Factures/FA31750.db"), lines);
  Start();
  fView = std::make_unique<TRecordingView>("Entete");
  GetPrintManager()->SetView(fView.get());
  OpenInvoice("FA31750");
  OpenCourier();
  ASSERT_TRUE(Courier().FA0_RadioButton->isChecked());
  Parcel("4");
  EXPECT_EQ(Str(Courier().NbFa_Edit->text()), "4");
  EXPECT_EQ(Str(Courier().NbFa0_Edit->text()), "4");
  Click(Courier().Chronopost_Proceed_Button);
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes().front();
  EXPECT_EQ(fView->Recorder.Printed, (std::vector<std::string>{"FA31750 x4", "FA031750 x4"}));
  TMyDatabase second("./Data/Factures/FA031750.db");
  second.QueryAll();
  ASSERT_EQ(second.QueryResultCount(), 4);
  EXPECT_EQ(second.GetQueryResultString("Prix Uni. TTC", 0), "25,00");
  EXPECT_EQ(second.GetQueryResultString("Montant TTC", 0), "250,00");

  // The same hand-off again finds its second invoice made.
  fCapture.Clear();
  fView->Recorder.Printed.clear();
  OpenInvoice("FA31750");
  OpenCourier();
  Click(Courier().Chronopost_Proceed_Button);
  EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{"La facture FA031750 existe deja"});
  EXPECT_EQ(fView->Recorder.Printed, std::vector<std::string>{"FA31750 x4"});
}

TEST_F(SplitCourierTest, AutomaticPrintIsRefusedOnPlainPaper) {
  Start();
  fView = std::make_unique<TRecordingView>("HP LaserJet");
  GetPrintManager()->SetView(fView.get());
  OpenInvoice("FA31750");
  OpenCourier();
  Parcel("1");
  Click(Courier().Chronopost_Proceed_Button);
  EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{"auto print sur feuille blanche"});
  EXPECT_TRUE(fView->Recorder.Printed.empty());
  EXPECT_TRUE(fView->DialogsShown.empty());
  EXPECT_TRUE(fMain->Lists().Of(kFacturesList).Surface()->isVisible()) << "the invoice was saved";
}
