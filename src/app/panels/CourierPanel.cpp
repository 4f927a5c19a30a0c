#include "CourierPanel.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>

#include "Catalogue.h"
#include "DeskTables.h"
#include "MyDatabase.h"
#include "NamedWidgets.h"
#include "NetworkShares.h"
#include "PieceEditor.h"
#include "PieceKinds.h"
#include "QtText.h"
#include "RecordEditTools.h"
#include "InvoiceCalls.h"
#include "StringManager.h"
#include "Trace.h"
#include "UpDownArrows.h"

namespace {

constexpr char kEnter = 13;
constexpr int kMaxCopies = 999;

QLineEdit* NumberEdit(QWidget* parent, const char* name, const char* text, QRect geometry) {
  QLineEdit* edit = NewEdit(parent, name, geometry, text);
  edit->setAlignment(Qt::AlignRight);
  return edit;
}

std::string Text(const QLineEdit* edit) { return FromQString(edit->text()); }

int CopiesOf(const QLineEdit* edit) {
  TStringManager& sm = StringManager();
  const std::string text = Text(edit);
  return sm.IsInteger(text) ? sm.MyStrToInt(text) : 0;
}

}  // namespace

TCourierPanel::TCourierPanel(TPieceEditor& editor, TDesk& desk, TDeskTables& tables)
    : fEditor(editor), fDesk(desk), fTables(tables) {
  BuildDesign();
}

TCourierPanel::~TCourierPanel() = default;

void TCourierPanel::BuildDesign() {
  QFrame* panel = fEditor.Chronopost_Panel;
  Label24 = NewLabel(panel, "Label24", "Poids", QRect(6, 8, 40, 20));
  PoidsChronopost_Edit = NumberEdit(panel, "PoidsChronopost_Edit", "0", QRect(46, 6, 58, 24));
  PoidsChronopost_Edit->setToolTip(ToQString("Poids du colis en kg, puis Entr\xE9" "e"));
  Label25 = NewLabel(panel, "Label25", "0", QRect(108, 8, 52, 20));
  Label25->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Label25->setToolTip(ToQString("Total des tarifs des colis"));
  SpeedButton1 = new QToolButton(panel);
  SpeedButton1->setObjectName("SpeedButton1");
  SpeedButton1->setGeometry(164, 6, 28, 24);
  SpeedButton1->setIcon(QApplication::style()->standardIcon(QStyle::SP_ArrowUp));
  SpeedButton1->setToolTip(ToQString("Copier le total dans le port"));

  Label26 = NewLabel(panel, "Label26", "Fa", QRect(6, 40, 20, 20));
  NbFa_Edit = NumberEdit(panel, "NbFa_Edit", "0", QRect(28, 38, 36, 24));
  NbFa_UpDown = new TUpDownArrows(panel, 0, kMaxCopies, 0);
  NbFa_UpDown->setObjectName("NbFa_UpDown");
  NbFa_UpDown->setGeometry(64, 38, 17, 24);
  NbFa_UpDown->Associate(NbFa_Edit);
  FA0_RadioButton = new QRadioButton(ToQString("Fa0"), panel);
  FA0_RadioButton->setObjectName("FA0_RadioButton");
  FA0_RadioButton->setGeometry(92, 40, 50, 20);
  NbFa0_Edit = NumberEdit(panel, "NbFa0_Edit", "0", QRect(140, 38, 36, 24));
  NbFa0_UpDown = new TUpDownArrows(panel, 0, kMaxCopies, 0);
  NbFa0_UpDown->setObjectName("NbFa0_UpDown");
  NbFa0_UpDown->setGeometry(176, 38, 17, 24);
  NbFa0_UpDown->Associate(NbFa0_Edit);

  Scission_RadioButton = new QRadioButton(ToQString("Scission"), panel);
  Scission_RadioButton->setObjectName("Scission_RadioButton");
  Scission_RadioButton->setGeometry(6, 70, 110, 20);
  Scission_RadioButton->setEnabled(false);
  Label27 = NewLabel(panel, "Label27", "ville", QRect(118, 70, 76, 20));
  Label27->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  Chronopost_Proceed_Button = new QPushButton(ToQString("Proceed"), panel);
  Chronopost_Proceed_Button->setObjectName("Chronopost_Proceed_Button");
  Chronopost_Proceed_Button->setGeometry(6, 100, 188, 30);
  Chronopost_Proceed_Button->setAutoDefault(false);

  connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
  connect(Chronopost_Proceed_Button, &QPushButton::clicked, this, [this] {
    try {
      Chronopost_Proceed_ButtonClick();
    } catch (const ERegExError& e) {
      ShowMessage(e.Message);
    }
  });
  PoidsChronopost_Edit->installEventFilter(this);
  fEditor.Label23->installEventFilter(this);
  // Like every edit of the desk, these show red what no stored text may hold.
  for (QLineEdit* edit : {PoidsChronopost_Edit, NbFa_Edit, NbFa0_Edit}) {
    connect(edit, &QLineEdit::textChanged, this, [this, edit] {
      if (fEditor.Lines() != nullptr) ColorEdit(edit, *fEditor.Lines(), ctAnyText, ctNoText, ctNoText);
    });
  }
}

bool TCourierPanel::RefuseRedInputs() const {
  for (const QLineEdit* edit : {PoidsChronopost_Edit, NbFa_Edit, NbFa0_Edit}) {
    if (GetEditColor(edit) != clErrorRed) continue;
    ShowMessage("Veuillez corriger les champs en rouge");
    return true;
  }
  return false;
}

bool TCourierPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == PoidsChronopost_Edit && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      char c = kEnter;
      PoidsChronopost_EditKeyPress(c);
      return true;
    }
  } else if (watched == fEditor.Label23 && event->type() == QEvent::MouseButtonRelease) {
    Label23MouseUp(static_cast<QMouseEvent*>(event)->modifiers());
  }
  return QObject::eventFilter(watched, event);
}

void TCourierPanel::SetChecked(QRadioButton* button, bool checked) {
  // Both options may be unchecked, which exclusive radio buttons refuse.
  button->setAutoExclusive(false);
  button->setChecked(checked);
  button->setAutoExclusive(true);
}

void TCourierPanel::Label23MouseUp(Qt::KeyboardModifiers modifiers) {
  if ((modifiers & Qt::ShiftModifier) != 0 && (modifiers & Qt::ControlModifier) != 0) AfficherChronopost(true);
}

void TCourierPanel::AfficherChronopost(bool visible) {
  fEditor.Chronopost_Panel->setVisible(visible);
  TPieceEditor& editor = fEditor;
  const std::string code = Text(editor.FactureCodeClientEdit);
  if (!IsCourierClientCode(code)) {
    // A plain line, in the panel's own colour.
    QTextCursor cursor(editor.Signaling_RichEdit->document());
    cursor.movePosition(QTextCursor::End);
    if (!editor.Signaling_RichEdit->document()->isEmpty()) cursor.insertBlock();
    cursor.insertText(ToQString("Verifier Code Client"), QTextCharFormat());
    return;
  }
  if (!visible) return;
  PoidsChronopost_Edit->setFocus();
  fState = OpenCourierState(*fTables.Dupli(), *fTables.NoFa(), *fTables.Clients(), code,
                            FromQString(editor.Label34->text()));
  SetChecked(Scission_RadioButton, false);
  Scission_RadioButton->setEnabled(false);
  Scission_RadioButton->setText(ToQString(fState.ScissionCaption));
  SetChecked(FA0_RadioButton, fState.SecondInvoice);
  Label27->setText(ToQString(fState.City));
  ShowCounts();
}

void TCourierPanel::ShowCounts() {
  Label25->setText(ToQString(IntToStr(fState.Total)));
  NbFa_UpDown->SetPosition(fState.NbFa);
  NbFa_Edit->setText(ToQString(IntToStr(fState.NbFa)));
  NbFa0_UpDown->SetPosition(fState.NbFa0);
  NbFa0_Edit->setText(ToQString(IntToStr(fState.NbFa0)));
  if (fState.Scission) {
    Scission_RadioButton->setEnabled(true);
    // Checking it unchecks "Fa0", the other option.
    Scission_RadioButton->setChecked(true);
    Scission_RadioButton->setText(ToQString(fState.ScissionCaption));
  }
}

void TCourierPanel::ReadCopies() {
  fState.NbFa = CopiesOf(NbFa_Edit);
  fState.NbFa0 = CopiesOf(NbFa0_Edit);
}

void TCourierPanel::PoidsChronopost_EditKeyPress(char& key) {
  if (key != kEnter) return;
  key = 0;
  Launch_Chronopost();
}

void TCourierPanel::Launch_Chronopost() {
  if (RefuseRedInputs()) return;
  ReadCopies();
  const TParcelResult result =
      RegisterParcel(fState, Text(fEditor.FactureCodeClientEdit), Text(PoidsChronopost_Edit),
                     NetworkShares::ChronopostFolder(Catalogue::Settings::File), *fTables.TarifsChronopost(), Random);
  // A parcel that was not handed off keeps its weight, to try again.
  if (result == TParcelResult::Ignored || result == TParcelResult::NotWritten) return;
  ShowCounts();
  PoidsChronopost_Edit->clear();
}

void TCourierPanel::SpeedButton1Click() { fEditor.FacturePortEdit->setText(Label25->text()); }

void TCourierPanel::Chronopost_Proceed_ButtonClick() {
  TPieceEditor& editor = fEditor;
  if (Text(editor.FacturePortEdit) == "0") {
    ShowMessage("Port a zero");
    return;
  }
  if (RefuseRedInputs()) return;
  ReadCopies();
  const bool scission = Scission_RadioButton->isChecked();
  const int nbFa = fState.NbFa;
  const int nbFa0 = FA0_RadioButton->isChecked() ? fState.NbFa0 : 0;
  const std::string number = Text(editor.FactureNumFactureEdit);
  const std::string code = Text(editor.FactureCodeClientEdit);
  const int parcels = fState.Parcels;

  // Nothing is printed or copied from an invoice the editor would not save.
  if (!editor.SavePiece()) return;
  if (nbFa > 0 && PrintInvoice) PrintInvoice(number, nbFa);
  if (nbFa0 <= 0 && !scission) return;

  const std::string second = SecondInvoiceNumber(number);
  // A second copy would give two header records to one number, and halve
  // the prices of the first one again.
  fTables.Factures()->Query(Catalogue::Field::NumFacture, second, Exact);
  if (fTables.Factures()->QueryResultCount() > 0) {
    ShowMessage("La facture " + second + " existe deja");
    return;
  }
  if (!DuplicateInvoice(fTables.Pieces(), number, second)) return;
  fDesk.ShowList(kFacturesList);
  fDesk.OpenPiece(PieceKinds::Facture.Kind(), second);
  RecordSecondInvoiceClient(fTables.Dupli(), code);
  editor.moins50_ButtonClick();
  if (!editor.SavePiece()) return;

  if (scission) {
    if (ScinderParColis) ScinderParColis(second, parcels);
  } else if (PrintInvoice) {
    PrintInvoice(second, nbFa0);
  }
}
