#include "SplitPanel.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Catalogue.h"
#include "DeskTables.h"
#include "InvoiceCalls.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "NamedWidgets.h"
#include "PieceEditor.h"
#include "PieceKinds.h"
#include "QtText.h"
#include "RecordEditTools.h"
#include "RecordList.h"
#include "StringManager.h"
#include "Trace.h"
#include "UpDownArrows.h"

namespace {

// Two rows under the lists, beside the search edit: the number of invoices
// and the button, then the nine totals.
constexpr int kEditWidth = 70;
constexpr int kArrowsWidth = 17;
constexpr int kStep = kEditWidth + kArrowsWidth + 8;
constexpr int kRowHeight = 22;
constexpr int kFirstTotalLeft = 202;

}  // namespace

TSplitPanel::TSplitPanel(QWidget* parent, TDesk& desk, TDeskTables& tables, TRecordList& factures,
                         TPieceEditor& editor)
    : fDesk(desk), fTables(tables), fFactures(factures), fEditor(editor) {
  BuildDesign(parent);
}

TSplitPanel::~TSplitPanel() = default;

void TSplitPanel::BuildDesign(QWidget* client) {
  Scinder_Panel = new QFrame(client);
  Scinder_Panel->setObjectName("Scinder_Panel");
  Scinder_Panel->setFrameShape(QFrame::StyledPanel);
  Scinder_Panel->setGeometry(230, 563, kFirstTotalLeft + 4 * kStep, 2 * kRowHeight + 12);
  // The piece editor, opened by the commit, covers the panel.
  Scinder_Panel->stackUnder(fEditor.Facture_Panel);

  Label11 = new QLabel(ToQString("Nb Factures"), Scinder_Panel);
  Label11->setObjectName("Label11");
  Label11->setGeometry(4, 4, 70, kRowHeight);
  Scinder_nbFact_Edit = NewEdit(Scinder_Panel, "Scinder_nbFact_Edit", QRect(76, 4, 26, kRowHeight), "2");
  Scinder_nbFact_Edit->setAlignment(Qt::AlignRight);
  Scinder_NbFact_UpDown = new TUpDownArrows(Scinder_Panel, kSplitMin, kSplitMax, kSplitMin);
  Scinder_NbFact_UpDown->setObjectName("Scinder_NbFact_UpDown");
  Scinder_NbFact_UpDown->setGeometry(102, 4, kArrowsWidth, kRowHeight);
  Scinder_NbFact_UpDown->Associate(Scinder_nbFact_Edit);
  Scinder_Button = new QPushButton(ToQString("Scinder"), Scinder_Panel);
  Scinder_Button->setObjectName("Scinder_Button");
  Scinder_Button->setGeometry(124, 3, 70, kRowHeight + 2);
  Scinder_Button->setAutoDefault(false);

  // Invoices 1 to 4 beside the button, 5 to 9 on the second row.
  for (int k = 1; k <= kSplitMax; ++k) {
    const int top = k <= 4 ? 4 : 8 + kRowHeight;
    const int left = k <= 4 ? kFirstTotalLeft + (k - 1) * kStep : 4 + (k - 5) * kStep;
    QLineEdit* edit = NewEdit(Scinder_Panel, "Scinder_Fact" + std::to_string(k) + "_Edit",
                              QRect(left, top, kEditWidth, kRowHeight), "0");
    edit->setAlignment(Qt::AlignRight);
    edit->setToolTip(ToQString("Facture " + std::to_string(k)));
    auto* arrows = new TUpDownArrows(Scinder_Panel, 0, 0, 0);
    arrows->setObjectName(QString::fromStdString("Scinder_Fact" + std::to_string(k) + "_Updown"));
    arrows->setGeometry(left + kEditWidth, top, kArrowsWidth, kRowHeight);
    Scinder_Fact_Edits[static_cast<std::size_t>(k - 1)] = edit;
    Scinder_Fact_Updowns[static_cast<std::size_t>(k - 1)] = arrows;
  }

  Scinder_NbFact_UpDown->installEventFilter(this);
  Scinder_nbFact_Edit->installEventFilter(this);
  // Like every edit of the desk, the count shows red what no stored text may
  // hold.
  connect(Scinder_nbFact_Edit, &QLineEdit::textChanged, this, [this] {
    if (fEditor.Lines() != nullptr) {
      ColorEdit(Scinder_nbFact_Edit, *fEditor.Lines(), ctAnyText, ctNoText, ctNoText);
    }
  });
  connect(Scinder_Button, &QPushButton::clicked, this, [this] { Scinder_ButtonClick(); });
}

bool TSplitPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Scinder_NbFact_UpDown && event->type() == QEvent::MouseButtonRelease) {
    Scinder_NbFact_UpDownMouseUp();
  } else if (event->type() == QEvent::KeyRelease) {
    // The keys that move the position, or Enter once a number is typed,
    // refresh the totals as the mouse does.
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool arrows = watched == Scinder_NbFact_UpDown && (key == Qt::Key_Up || key == Qt::Key_Down);
    const bool typed = watched == Scinder_nbFact_Edit && (key == Qt::Key_Return || key == Qt::Key_Enter);
    if (arrows || typed) Scinder_NbFact_UpDownMouseUp();
  }
  return QObject::eventFilter(watched, event);
}

void TSplitPanel::ShowScinderControls(bool visible) {
  const int n = Scinder_NbFact_UpDown->Position();
  Scinder_Button->setVisible(visible);
  Label11->setVisible(visible);
  Scinder_Panel->setVisible(visible);
  for (int k = 1; k <= kSplitMax; ++k) {
    const bool shown = visible && (k <= 2 || n >= k);
    Scinder_Fact_Edits[static_cast<std::size_t>(k - 1)]->setVisible(shown);
    Scinder_Fact_Updowns[static_cast<std::size_t>(k - 1)]->setVisible(shown);
  }
}

void TSplitPanel::SetInvoiceCount(int n) { Scinder_NbFact_UpDown->SetPosition(n); }

void TSplitPanel::ScinderParColis(const std::string& number, int parcels) {
  fFactures.Select(number);
  Scinder1Click();
  SetInvoiceCount(parcels);
  fPrintAfterSplit = true;
  Scinder_ButtonClick();
}

void TSplitPanel::Scinder1Click() {
  ShowScinderControls(true);
  // The invoice is fixed here: the commit splits it whatever row the list
  // shows by then.
  if (StartSplit(*fFactures.Grid(), splitLines)) ScinderPreview();
}

void TSplitPanel::Scinder_NbFact_UpDownMouseUp() {
  ShowScinderControls(true);
  ScinderPreview();
}

void TSplitPanel::Scinder_ButtonClick() {
  if (GetEditColor(Scinder_nbFact_Edit) == clErrorRed) {
    ShowMessage("Veuillez corriger les champs en rouge");
    return;
  }
  // A refused split leaves the panel as it was, so the user sees why.
  if (ScinderCommit()) ShowScinderControls(false);
}

bool TSplitPanel::Compute(TSplitPlan& plan) {
  if (!ComputeSplit(splitLines, Scinder_NbFact_UpDown->Position(), plan)) return false;
  const auto texts = SplitPreviewTexts(plan);
  for (std::size_t k = 0; k < texts.size(); ++k) Scinder_Fact_Edits[k]->setText(ToQString(texts[k]));
  return true;
}

void TSplitPanel::ScinderPreview() {
  TSplitPlan plan;
  Compute(plan);
}

bool TSplitPanel::ScinderCommit() {
  TSplitPlan plan;
  // A courier split prints its invoices once; a later split from the menu
  // must not print again, whatever became of this one.
  const bool print = fPrintAfterSplit;
  fPrintAfterSplit = false;
  if (!Compute(plan)) return true;

  TSplitSteps steps;
  steps.Duplicate = [this](const std::string& source, const std::string& name) {
    return DuplicateInvoice(fTables.Pieces(), source, name);
  };
  steps.SaveInEditor = [this](const std::string& name) {
    fDesk.ShowList(kFacturesList);
    fDesk.OpenPiece(PieceKinds::Facture.Kind(), name);
    fEditor.ComputeTotals();
    return fEditor.SavePiece();
  };
  if (print) steps.Print = [this](const std::string& name) {
    if (PrintInvoice) PrintInvoice(name, 4);
  };
  if (CommitSplit(*fTables.Factures(), *fTables.Articles(), splitLines, plan, steps) == TSplitCommit::Refused) {
    return false;
  }
  ShowScinderControls(false);
  return true;
}
