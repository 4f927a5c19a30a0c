#include "SplitPanel.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Catalogue.h"
#include "InvoiceCalls.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PieceEditorPanel.h"
#include "PieceKinds.h"
#include "QtText.h"
#include "QuorixForm.h"
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

QLineEdit* MakeEdit(QWidget* parent, const std::string& name, QRect geometry, const char* text) {
  auto* edit = new QLineEdit(ToQString(text), parent);
  edit->setObjectName(QString::fromStdString(name));
  edit->setGeometry(geometry);
  return edit;
}

}  // namespace

TSplitPanel::TSplitPanel(TQuorix_Form& form) : fForm(form) { BuildDesign(); }

TSplitPanel::~TSplitPanel() = default;

void TSplitPanel::BuildDesign() {
  QWidget* client = fForm.centralWidget();
  Scinder_Panel = new QFrame(client);
  Scinder_Panel->setObjectName("Scinder_Panel");
  Scinder_Panel->setFrameShape(QFrame::StyledPanel);
  Scinder_Panel->setGeometry(230, 563, kFirstTotalLeft + 4 * kStep, 2 * kRowHeight + 12);
  // The piece editor, opened by the commit, covers the panel.
  Scinder_Panel->stackUnder(fForm.Facture_Panel);

  Label11 = new QLabel(ToQString("Nb Factures"), Scinder_Panel);
  Label11->setObjectName("Label11");
  Label11->setGeometry(4, 4, 70, kRowHeight);
  Scinder_nbFact_Edit = MakeEdit(Scinder_Panel, "Scinder_nbFact_Edit", QRect(76, 4, 26, kRowHeight), "2");
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
    QLineEdit* edit = MakeEdit(Scinder_Panel, "Scinder_Fact" + std::to_string(k) + "_Edit",
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

void TSplitPanel::Scinder1Click() {
  ShowScinderControls(true);
  // The invoice is fixed here: the commit splits it whatever row the list
  // shows by then.
  if (StartSplit(*fForm.fFacturesGrid, splitLines)) ScinderPreview();
}

void TSplitPanel::Scinder_NbFact_UpDownMouseUp() {
  ShowScinderControls(true);
  ScinderPreview();
}

void TSplitPanel::Scinder_ButtonClick() {
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
  const bool print = fForm.printAfterSplit;
  fForm.printAfterSplit = false;
  if (!Compute(plan)) return true;

  TSplitSteps steps;
  steps.Duplicate = [this](const std::string& source, const std::string& name) {
    return DuplicateInvoice(fForm, source, name);
  };
  steps.SaveInEditor = [this](const std::string& name) {
    fForm.ShowFactures();
    fForm.AfficherPieceNumero(PieceKinds::Facture.Kind(), name);
    fForm.fPieceEditor->ComputeTotals();
    return fForm.fPieceEditor->SavePiece();
  };
  if (print) steps.Print = [this](const std::string& name) { PrintInvoiceAutomatically(fForm, name, 4); };
  if (CommitSplit(*fForm.FacturesDB(), *fForm.ArticlesDB(), splitLines, plan, steps) == TSplitCommit::Refused) return false;
  ShowScinderControls(false);
  return true;
}
