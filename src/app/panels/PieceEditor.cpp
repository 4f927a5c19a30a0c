#include "PieceEditor.h"

#include <QDateEdit>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>
#include <memory>

#include "ArticleCandidates.h"
#include "Catalogue.h"
#include "Desk.h"
#include "DeskTables.h"
#include "DateTime.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "NamedWidgets.h"
#include "PieceAmounts.h"
#include "PieceNumbers.h"
#include "PieceSave.h"
#include "PriceTools.h"
#include "QtGridSurface.h"
#include "QtText.h"
#include "RecordEditTools.h"
#include "RecordLists.h"
#include "RemplirGrid.h"
#include "Search.h"
#include "SignalPanel.h"
#include "StatsRequests.h"
#include "StringManager.h"
#include "Trace.h"

namespace F = Catalogue::Field;

namespace {

constexpr char kEnter = 13;

// The side panel is laid out in rows: a caption on the left, its edit or
// value on the right.
constexpr int kLeft = 5;
constexpr int kCaptionWidth = 76;
constexpr int kValueLeft = 82;
constexpr int kValueWidth = 112;
constexpr int kFullWidth = kValueLeft + kValueWidth - kLeft;
constexpr int kEditHeight = 22;
// The message panel starts at the left of the lines and stops short of their
// right end, where the courier panel can sit.
constexpr int kSignalsLeft = 0;

QLabel* MakeValue(QWidget* parent, const char* name, int top) {
  QLabel* label = NewLabel(parent, name, "0", QRect(kValueLeft, top, kValueWidth, 18));
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

// A new line comes editable in every column; its amount is computed, never
// typed, as on the other lines.
void InsertLine(TMyStringGrid& lines, int row) {
  lines.InsertEmptyLine(row, false);
  lines.SetColReadOnlyByName(F::MontantTTC, true);
}

QDate ToQDate(TDateTime value) {
  int y = 0;
  int m = 0;
  int d = 0;
  DecodeDate(value, y, m, d);
  return QDate(y, m, d);
}

}  // namespace

// ---------------------------------------------------------------------------
// Design

TPieceEditor::TPieceEditor(QWidget* parent, TDesk& desk, TDeskTables& tables, TRecordLists& lists)
    : fDesk(desk), fTables(tables), fLists(lists), fStatsRequests(std::make_unique<TStatsRequests>()) {
  Facture_Panel = NewPanel(parent, "Facture_Panel");
  Facture_Panel->setGeometry(4, 66, 880, 540);
  Facture_StringGrid = NewGrid(Facture_Panel, "Facture_StringGrid");
  Facture_StringGrid->setGeometry(0, 0, 614, 497);
  Facture_StringGrid->SetEditing(true);
  Facture_ExtraData_Panel = NewPanel(Facture_Panel, "Facture_ExtraData_Panel");
  Facture_ExtraData_Panel->setGeometry(617, 0, 200, 497);
  Chronopost_Panel = NewPanel(Facture_Panel, "Chronopost_Panel");
  Chronopost_Panel->setGeometry(617, 498, 200, 150);
  Chronopost_Panel->hide();
  Facture_Panel->hide();
  BuildDesign();
}

// The grid outlives the editor: it must not call back into it.
TPieceEditor::~TPieceEditor() {
  fLines.reset();
  Facture_StringGrid->Events = TGridEvents();
}

// Leaving a cell of the lines validates it.
void TPieceEditor::CreateGrid() {
  fLines = std::make_unique<TMyStringGrid>(Facture_StringGrid, [this](int col, int row, const std::string& text) {
    OnCellLeave(col, row, text);
  });
}

void TPieceEditor::ReleaseGrid() { fLines.reset(); }

void TPieceEditor::InitGrid() {
  TMyStringGrid* lines = fLines.get();
  lines->SetRowCount(2);
  lines->SetColCount(5 + 1);
  lines->SetFixedRows(1);
  lines->SetFixedCols(1);
  lines->fSortCol = 2;
  lines->fSortAscending = true;
  lines->fDefaultColor = clValidWhite;
  EmptyTitleRow(lines);
  lines->UpdateDimensions();
  // A text that would cut its line in the line file is red before any other
  // rule of its column can colour it.
  for (int col = lines->GetGrid()->GetFixedCols(); col < lines->GetColCount(); ++col) {
    lines->AddColColorConstraint(col, ctFieldBreak, clErrorRed);
  }
  InstallColumnColorRules(lines, ColumnColorRules::Lignes());
}

void TPieceEditor::Hide() {
  Facture_Panel->hide();
  Label15->hide();
}

void TPieceEditor::SetStatsRequests(std::unique_ptr<TStatsRequests> requests) {
  if (requests) fStatsRequests = std::move(requests);
}

void TPieceEditor::BuildDesign() {
  QFrame* side = Facture_ExtraData_Panel;

  NumPiece_Label = NewLabel(side, "NumPiece_Label", F::NumFacture, QRect(kLeft, 9, kCaptionWidth, 18));
  FactureNumFactureEdit = NewEdit(side, "FactureNumFactureEdit", QRect(kValueLeft, 7, kValueWidth, kEditHeight));
  NewLabel(side, "FactureDate_Label", "Date", QRect(kLeft, 35, kCaptionWidth, 18));
  FactureDateTimePicker = new TDatePicker(QDate::currentDate(), side);
  FactureDateTimePicker->setObjectName("FactureDateTimePicker");
  FactureDateTimePicker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  FactureDateTimePicker->setCalendarPopup(true);
  FactureDateTimePicker->setGeometry(kValueLeft, 33, kValueWidth, kEditHeight);
  NewLabel(side, "FactureCodeClient_Label", F::CodeClient, QRect(kLeft, 61, kCaptionWidth, 18));
  FactureCodeClientEdit = NewEdit(side, "FactureCodeClientEdit", QRect(kValueLeft, 59, kValueWidth, kEditHeight));
  Label20 = NewLabel(side, "Label20", "Désignation Client", QRect(kLeft, 84, kFullWidth, 34));
  Label20->setWordWrap(true);
  Label20->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The first-order mark belongs with the client it is about.
  Label15 = NewLabel(side, "Label15", "1ere COMMANDE", QRect(kLeft, 118, kFullWidth, 18));
  Label15->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
  Label15->hide();
  FactureRechercherClientEdit =
      NewEdit(side, "FactureRechercherClientEdit", QRect(kLeft, 140, kFullWidth - 28, kEditHeight));
  FactureRechercherClientEdit->setPlaceholderText(ToQString("Rechercher un client"));
  FactureRechercherClientSpeedButton = new QToolButton(side);
  FactureRechercherClientSpeedButton->setObjectName("FactureRechercherClientSpeedButton");
  FactureRechercherClientSpeedButton->setText(QStringLiteral("..."));
  FactureRechercherClientSpeedButton->setGeometry(kValueLeft + kValueWidth - 24, 139, 24, 24);

  NewLabel(side, "FactureTotalHT_Label", "Total H.T", QRect(kLeft, 174, kCaptionWidth, 18));
  Label34 = MakeValue(side, "Label34", 174);
  NewLabel(side, "FactureTotalTTC_Label", F::TotalTTC, QRect(kLeft, 194, kCaptionWidth, 18));
  Label35 = MakeValue(side, "Label35", 194);
  Label23 = NewLabel(side, "Label23", "Poids (kg)", QRect(kLeft, 214, kCaptionWidth, 18));
  Label33 = MakeValue(side, "Label33", 214);
  NewLabel(side, "FacturePort_Label", "Port", QRect(kLeft, 240, kCaptionWidth, 18));
  FacturePortEdit = NewEdit(side, "FacturePortEdit", QRect(kValueLeft, 238, kValueWidth, kEditHeight));
  FacturePortEdit->setAlignment(Qt::AlignRight);
  Label28 = NewLabel(side, "Label28", "", QRect(kLeft, 263, kFullWidth, 18));
  Label28->setStyleSheet(QStringLiteral("color: purple; font-weight: bold;"));

  FactAjouterLigne_Button = NewButton(side, "FactAjouterLigne_Button", "&Ajouter", QRect(kLeft, 288, 58, 26));
  FactInsertLigne_Button = NewButton(side, "FactInsertLigne_Button", "&Inserer", QRect(kLeft + 61, 288, 55, 26));
  FactSupprLigne_Button = NewButton(side, "FactSupprLigne_Button", "&Supprimer", QRect(kLeft + 119, 288, 75, 26));
  FactureOK_Button = NewButton(side, "FactureOK_Button", "&Ok", QRect(kLeft, 324, 94, 30));
  FactureAnnuler_Button = NewButton(side, "FactureAnnuler_Button", "A&nnuler", QRect(kLeft + 100, 324, 94, 30));
  moins50_Button = NewButton(side, "moins50_Button", "-50%", QRect(kLeft, 366, 56, 26));
  Para_Button = NewButton(side, "Para_Button", "-P", QRect(kLeft + 60, 366, 40, 26));
  UpDown1 = new TUpDown(side);
  UpDown1->setObjectName("UpDown1");
  UpDown1->setGeometry(kLeft + 104, 366, 64, 26);
  UpDown1->setToolTip(ToQString("Prix x 1/0,99 ou x 0,99"));
  ShowPieceTools(false);

  Signaling_RichEdit = new QTextEdit(Facture_Panel);
  Signaling_RichEdit->setObjectName("Signaling_RichEdit");
  Signaling_RichEdit->setReadOnly(true);
  Signaling_RichEdit->setFocusPolicy(Qt::ClickFocus);

  SetTabOrder();

  // The lines grid's own handlers, in place before the managed grid takes
  // the grid's events over.
  TGridEvents& lines = Facture_StringGrid->Events;
  lines.OnKeyPress = [this](char& key) { Facture_StringGridKeyPress(key); };
  lines.OnSelectCell = [this](int col, int row, bool& canSelect) { Facture_StringGridSelectCell(col, row, canSelect); };

  auto guarded = [this](void (TPieceEditor::*handler)()) {
    return [this, handler] {
      try {
        (this->*handler)();
      } catch (const ERegExError& e) {
        ShowMessage(e.Message);
      }
    };
  };
  connect(FactureNumFactureEdit, &QLineEdit::textChanged, this, guarded(&TPieceEditor::FactureNumFactureEditChange));
  connect(FactureCodeClientEdit, &QLineEdit::textChanged, this, guarded(&TPieceEditor::FactureCodeClientEditChange));
  connect(FacturePortEdit, &QLineEdit::textChanged, this, guarded(&TPieceEditor::FacturePortEditChange));
  connect(FactureRechercherClientEdit, &QLineEdit::returnPressed, this, guarded(&TPieceEditor::SearchClientInEditor));
  connect(FactureRechercherClientSpeedButton, &QToolButton::clicked, this,
          guarded(&TPieceEditor::FactureRechercherClientSpeedButtonClick));
  connect(FactAjouterLigne_Button, &QPushButton::clicked, this, guarded(&TPieceEditor::FactAjouterLigne_ButtonClick));
  connect(FactInsertLigne_Button, &QPushButton::clicked, this, guarded(&TPieceEditor::FactInsertLigne_ButtonClick));
  connect(FactSupprLigne_Button, &QPushButton::clicked, this, guarded(&TPieceEditor::FactSupprLigne_ButtonClick));
  connect(FactureOK_Button, &QPushButton::clicked, this, guarded(&TPieceEditor::FactureOK_ButtonClick));
  connect(FactureAnnuler_Button, &QPushButton::clicked, this, guarded(&TPieceEditor::FactureAnnuler_ButtonClick));
  connect(moins50_Button, &QPushButton::clicked, this, guarded(&TPieceEditor::moins50_ButtonClick));
  connect(Para_Button, &QPushButton::clicked, this, guarded(&TPieceEditor::Para_ButtonClick));
  UpDown1->OnClick = [this](bool up) { UpDown1Click(up); };

  FactureNumFactureEdit->installEventFilter(this);
  FacturePortEdit->installEventFilter(this);
  Facture_Panel->installEventFilter(this);
}

// Tab goes from the lines to the header in reading order, then to the
// buttons, the save first.
void TPieceEditor::SetTabOrder() {
  QWidget* const order[] = {Facture_StringGrid,
                            FactureNumFactureEdit,
                            FactureDateTimePicker,
                            FactureCodeClientEdit,
                            FactureRechercherClientEdit,
                            FactureRechercherClientSpeedButton,
                            FacturePortEdit,
                            FactAjouterLigne_Button,
                            FactInsertLigne_Button,
                            FactSupprLigne_Button,
                            FactureOK_Button,
                            FactureAnnuler_Button,
                            moins50_Button,
                            Para_Button,
                            UpDown1};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

bool TPieceEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Facture_Panel && event->type() == QEvent::Resize) {
    PlaceSignals();
  } else if (watched == FactureNumFactureEdit && event->type() == QEvent::MouseButtonRelease) {
    FactureNumFactureEditMouseUp(static_cast<QMouseEvent*>(event)->modifiers());
  } else if (watched == FacturePortEdit && event->type() == QEvent::FocusOut) {
    FacturePortEditExit();
  }
  return QObject::eventFilter(watched, event);
}

// Below the lines, as wide as the lines less a tenth.
void TPieceEditor::PlaceSignals() {
  TMyStringGrid* lines = Lines();
  const int gridBottom = lines != nullptr ? lines->GetTop() + lines->GetHeight()
                                          : Facture_StringGrid->y() + Facture_StringGrid->height();
  const int gridWidth = lines != nullptr ? lines->GetWidth() : Facture_StringGrid->width();
  const int top = gridBottom + 3;
  const int height = std::max(24, Facture_Panel->height() - top - 3);
  const int width = static_cast<int>((gridWidth - kSignalsLeft) / 1.1);
  Signaling_RichEdit->setGeometry(kSignalsLeft, top, std::max(0, width), height);
}

// ---------------------------------------------------------------------------
// Helpers

TPieceTables TPieceEditor::Tables() const { return fTables.Pieces(); }

const TPieceKind* TPieceEditor::CurrentKind() const { return PieceKinds::Find(fCurrentListKind); }

TMyStringGrid* TPieceEditor::ListOf(const TPieceKind& kind) const {
  return fLists.Of(kind).Grid();
}

bool TPieceEditor::IsOpen() const { return Facture_Panel->isVisibleTo(Facture_Panel->window()); }

std::string TPieceEditor::Text(const QLineEdit* edit) const { return FromQString(edit->text()); }

std::string TPieceEditor::Text(const QLabel* label) const { return FromQString(label->text()); }

void TPieceEditor::SetLabel(QLabel* label, const std::string& text) { label->setText(ToQString(text)); }

void TPieceEditor::SetEditText(QLineEdit* edit, const std::string& text, void (TPieceEditor::*change)()) {
  {
    const QSignalBlocker blocker(edit);
    edit->setText(ToQString(text));
  }
  try {
    (this->*change)();
  } catch (const ERegExError& e) {
    ShowMessage(e.Message);
  }
}

TDateTime TPieceEditor::PieceDate() const {
  const QDate d = FactureDateTimePicker->date();
  return EncodeDate(d.year(), d.month(), d.day());
}

void TPieceEditor::AfficherSignal(const std::string& text, TColor color) { AppendSignal(Signaling_RichEdit, text, color); }

void TPieceEditor::ShowPieceTools(bool visible) {
  UpDown1->setVisible(visible);
  Para_Button->setVisible(visible);
  moins50_Button->setVisible(visible);
}

void TPieceEditor::FactureNumFactureEditMouseUp(Qt::KeyboardModifiers modifiers) {
  if ((modifiers & Qt::ControlModifier) != 0 && (modifiers & Qt::ShiftModifier) != 0) ShowPieceTools(true);
}

// ---------------------------------------------------------------------------
// Opening a piece

void TPieceEditor::AfficherPiece(const std::string& kind) {
  ShowPieceTools(false);
  Signaling_RichEdit->clear();
  const TPieceKind* k = PieceKinds::Find(kind);
  if (k == nullptr) {
    Error("TQuorix_Form.AfficherPiece : Piece non reconnue : " + kind);
    return;
  }
  // The piece being replaced was not saved.
  AbandonPiece();
  fOpenFailed = false;
  fCurrentListKind = kind;
  fDesk.SetActionButtons(false);
  fDesk.HideAll();

  TMyStringGrid* list = ListOf(*k);
  TMyDatabase* header = k->HeaderTableOf(Tables());
  SetLabel(NumPiece_Label, k->KeyField());
  fLoadedPieceNumber = list->GetCellByName(k->KeyField(), list->GetRow());
  Trace("piece courante : " + fLoadedPieceNumber);

  Facture_Panel->show();
  PlaceSignals();

  // A piece that cannot be opened leaves the panel empty, not showing the
  // piece opened before under this one's number, and unable to save.
  auto openFailed = [this] {
    fOpenFailed = true;
    SetEditText(FactureNumFactureEdit, "", &TPieceEditor::FactureNumFactureEditChange);
    SetEditText(FactureCodeClientEdit, "", &TPieceEditor::FactureCodeClientEditChange);
    SetEditText(FacturePortEdit, "", &TPieceEditor::FacturePortEditChange);
    for (QLabel* label : {Label20, Label33, Label34, Label35}) SetLabel(label, "");
    TMyStringGrid* lines = Lines();
    lines->ClearCells();
    lines->setTitles(kPieceLinesFilter);
    lines->SetRowCount(lines->GetFixedRows() + 1);
  };
  try {
    header->Query(k->KeyField(), fLoadedPieceNumber, Exact);
  } catch (const ERegExError& e) {
    ShowMessage(e.Message);
    openFailed();
    return;
  }
  if (header->QueryResultCount() >= 2) {
    Error("TQuorix_Form.AfficherPiece:Plus d'un enregistrement de la piece " + fLoadedPieceNumber);
    openFailed();
    return;
  }
  if (header->QueryResultCount() == 1) {
    OpenExistingPiece(*k, *header);
  } else {
    OpenNewPiece(*k);
  }

  TMyStringGrid* lines = Lines();
  for (int col = 0; col < lines->GetColCount(); ++col) {
    if (lines->GetColName(col) == F::MontantTTC) lines->SetColReadOnly(col, true);
  }
  ComputeTotals();
  lines->GetGrid()->Repaint();
  lines->SetVisible(true);
  lines->SetFocus();
  fHeld = true;
  fOpenedState = StateDigest();
}

void TPieceEditor::OpenExistingPiece(const TPieceKind& kind, TMyDatabase& header) {
  TStringManager& sm = StringManager();
  // Read before the handlers run queries of their own on the table.
  const std::string number = header.GetQueryResultString(kind.KeyField(), 0);
  const std::string date = header.GetQueryResultString(F::Date, 0);
  const std::string client = header.GetQueryResultString(F::CodeClient, 0);
  SetEditText(FactureNumFactureEdit, number, &TPieceEditor::FactureNumFactureEditChange);
  // A date the table cannot give as a calendar date leaves the picker on the
  // date it had.
  TDateTime value = 0;
  if (sm.IsDate(date) && TryStrToDate(date, value)) {
    FactureDateTimePicker->setDate(ToQDate(value));
  } else {
    Trace("Date de piece illisible : " + date);
  }
  SetEditText(FactureCodeClientEdit, client, &TPieceEditor::FactureCodeClientEditChange);

  // The client handler ran queries of its own.
  header.Query(kind.KeyField(), fLoadedPieceNumber, Exact);
  SetLabel(Label20, header.GetQueryResultString(F::Societe, 0));
  SetLabel(Label33, header.GetQueryResultString(F::Poids, 0));
  SetLabel(Label34, header.GetQueryResultString(F::TotalHT, 0));
  SetLabel(Label35, header.GetQueryResultString(F::TotalTTC, 0));
  std::string port = header.GetQueryResultString(F::Port, 0);
  if (port.empty()) port = "0";
  SetEditText(FacturePortEdit, port, &TPieceEditor::FacturePortEditChange);

  const std::string& loaded = fLoadedPieceNumber;
  auto lineTable = std::make_unique<TMyDatabase>(kind.LineFile(loaded));
  Trace("Loading du coup : " + loaded + Catalogue::TableExtension);
  RemplirGrid(Lines(), kPieceLinesFilter, true, lineTable.get());
  lineTable.reset();
  SelectFirstCell();
}

void TPieceEditor::OpenNewPiece(const TPieceKind& kind) {
  TPieceTables tables = Tables();
  SetEditText(FactureNumFactureEdit, NextPieceNumber(kind.Kind(), tables, fTables.FactureNumberBase()),
              &TPieceEditor::FactureNumFactureEditChange);
  FactureDateTimePicker->setDate(ToQDate(Date()));
  SetEditText(FactureCodeClientEdit, "0", &TPieceEditor::FactureCodeClientEditChange);
  SetEditText(FactureCodeClientEdit, "", &TPieceEditor::FactureCodeClientEditChange);
  SetLabel(Label20, "");
  SetLabel(Label33, "0");
  SetLabel(Label34, "0");
  SetLabel(Label35, "0");
  SetEditText(FacturePortEdit, "0", &TPieceEditor::FacturePortEditChange);

  TMyStringGrid* lines = Lines();
  lines->ClearCells();
  lines->setTitles(kPieceLinesFilter);
  lines->SetRowCount(lines->GetFixedRows() + 1);
  SelectFirstCell();
}

void TPieceEditor::SelectFirstCell() {
  TMyStringGrid* lines = Lines();
  lines->SetCol(lines->GetFixedCols());
  lines->SetRow(lines->GetFixedRows());
}

void TPieceEditor::AfficherPieceNumero(const std::string& kind, const std::string& number) {
  Trace("affiche " + kind + " : " + number);
  const TPieceKind* k = PieceKinds::Find(kind);
  if (k == nullptr) {
    Error("TQuorix_Form.AfficherPiece: bad param");
    return;
  }
  TMyStringGrid* list = ListOf(*k);
  const int row = list->FindCell(number, "Num " + kind).second;
  if (row >= 1 && row <= list->GetRowCount() - 1) list->SetRow(row);
  AfficherPiece(kind);
}

// ---------------------------------------------------------------------------
// The lines

void TPieceEditor::FactAjouterLigne_ButtonClick() {
  TMyStringGrid* lines = Lines();
  InsertLine(*lines, lines->GetRowCount());
  const int row = lines->GetRow();
  lines->SetCellByName(F::Quantite, row, "1");
  lines->SetCellByName(F::PrixUniTTC, row, "0");
  lines->SetCellForcedByName(F::MontantTTC, row, "0");
  lines->SetFocus();
}

void TPieceEditor::FactInsertLigne_ButtonClick() {
  TMyStringGrid* lines = Lines();
  InsertLine(*lines, lines->GetRow());
  const int row = lines->GetRow();
  lines->SetCellByName(F::Quantite, row, "1");
  lines->SetCellByName(F::PrixUniTTC, row, "0");
  lines->SetCellForcedByName(F::MontantTTC, row, "0");
  lines->SetFocus();
}

void TPieceEditor::FactSupprLigne_ButtonClick() {
  TMyStringGrid* lines = Lines();
  lines->DeleteLine(lines->GetRow());
  ComputeTotals();
  lines->NumberRows();
  lines->SetFocus();
}

void TPieceEditor::Facture_StringGridKeyPress(char& key) {
  if (key != kEnter) return;
  TMyStringGrid* lines = Lines();
  ValidateCell(lines->GetCol(), lines->GetRow());
  const std::string column = lines->GetColName(lines->GetCol());
  if (column == F::PrixUniTTC) {
    lines->SetRow(lines->GetRow() + 1);
  } else if (column == F::Quantite) {
    // After a quantity the cursor goes to the next line, in the column where
    // the last article was looked up.
    const int row = lines->GetRow();
    if (row == lines->GetRowCount() - 1) InsertLine(*lines, lines->GetRowCount());
    lines->SetRow(row + 1);
    lines->SetCol(fPendingLookupCol);
  }
  key = 0;
}

void TPieceEditor::Facture_StringGridSelectCell(int, int, bool&) {}

void TPieceEditor::OnCellLeave(int col, int row, const std::string& enteredText) {
  Trace("On Change " + IntToStr(col) + " " + IntToStr(row));
  TMyStringGrid* lines = Lines();
  if (lines == nullptr || col < 0 || col >= lines->GetColCount() || row < 0 || row >= lines->GetRowCount()) return;
  const std::string column = lines->GetColName(col);
  const std::string text = lines->GetCell(col, row);
  if (column == F::Code) {
    if (text == enteredText) return;
  } else if (column != F::Quantite && column != F::PrixUniTTC) {
    return;
  }
  if (StringManager().TrimChar(text, ' ').empty()) return;
  ValidateCell(col, row);
}

void TPieceEditor::ValidateCell(int col, int row) {
  Trace("Validation Cellule");
  TMyStringGrid* lines = Lines();
  if (!(0 < col && col < lines->GetColCount() && 0 < row && row < lines->GetRowCount())) {
    Error("Validation Cellule : Coordonnees hors StringGrid : " + IntToStr(col) + " " + IntToStr(row));
    return;
  }
  TStringManager& sm = StringManager();
  TMyDatabase* articles = fTables.Articles();
  const std::string text = lines->GetCell(col, row);
  const std::string column = lines->GetColName(col);

  // A code or a designation looks the article up: those that begin with the
  // word, then those that contain it after their first character.
  bool lookedUp = false;
  if (column == F::Code || column == F::Designation) {
    const TArticleLookup lookup = QueryArticleCandidates(*articles, column, text);
    if (lookup == TArticleLookup::Failed) return;
    lookedUp = lookup == TArticleLookup::Queried;
  }
  if (column == F::PrixUniTTC) lines->SetCell(col, row, sm.FormatRealStringStrict(text, ',', 2));
  if (column == F::Quantite) {
    lines->SetCellForcedByName(F::MontantTTC, row,
                               LineAmount(lines->GetCellByName(F::Quantite, row), lines->GetCellByName(F::PrixUniTTC, row)));
  } else if (column == F::PrixUniTTC) {
    const std::string quantite = lines->GetCellByName(F::Quantite, row);
    const std::string prix = lines->GetCellByName(F::PrixUniTTC, row);
    if (sm.IsInteger(quantite) && sm.IsReal(prix)) lines->SetCellForcedByName(F::MontantTTC, row, LineAmount(quantite, prix));
  }

  if (lookedUp && articles->QueryResultCount() > 0) {
    fPendingLookupRow = row;
    fPendingLookupCol = col;
    if (ShowCandidates) fStatsRequests->DemanderStatsArticles(sm.JoinStrings(ShowCandidates(*articles), ";"));
  }
  lines->UpdateDimensions();
  ComputeTotals();
}

void TPieceEditor::ValidateSearchChoice(const TMyStringGrid& results, int searchRow) {
  Trace("Validation Recherche");
  TMyStringGrid* lines = Lines();
  const TMyStringGrid* search = &results;
  const int r = fPendingLookupRow;
  if (r < lines->GetFixedRows() || r >= lines->GetRowCount()) return;
  TStringManager& sm = StringManager();
  const std::string quantite = lines->GetCellByName(F::Quantite, r);
  if (quantite == "0" || !sm.IsInteger(quantite)) lines->SetCellByName(F::Quantite, r, "1");
  lines->SetCellByName(F::Code, r, search->GetCellByName(F::Code, searchRow));
  lines->SetCellByName(F::Designation, r, search->GetCellByName(F::Designation, searchRow));
  // The article's selling price as it is stored.
  lines->SetCellByName(F::PrixUniTTC, r, search->GetCellByName(F::PrixVente, searchRow));
  lines->SetCellForcedByName(F::MontantTTC, r,
                             LineAmount(lines->GetCellByName(F::Quantite, r), lines->GetCellByName(F::PrixUniTTC, r)));
  // The row first: it takes the filled code as the text the cell was entered
  // with, so moving on to the quantity does not look the article up again.
  lines->SetRow(r);
  lines->SetCol(lines->GetColIndex(F::Quantite));
  ComputeTotals();
  lines->UpdateRowColors(r);
  // The article's designation is usually longer than what was typed.
  lines->AutoSizeCols();
}

void TPieceEditor::ComputeTotals() {
  const TPieceTotals totals = ::ComputeTotals(*Lines(), Text(FacturePortEdit));
  SetLabel(Label34, totals.TotalHT);
  SetLabel(Label35, totals.TotalTTC);
}

void TPieceEditor::ComputeWeight() {
  SetLabel(Label33, ::ComputeWeight(*Lines(), *fTables.Articles(),
                                    [this](const std::string& text, TColor color) { AfficherSignal(text, color); }));
}

// ---------------------------------------------------------------------------
// The header

void TPieceEditor::FactureNumFactureEditChange() {
  const TPieceKind* kind = CurrentKind();
  if (kind == nullptr || Lines() == nullptr) return;
  ColorEdit(FactureNumFactureEdit, *Lines(), kind->NumberType, ctEmpty, kind->WrongNumberType);
  try {
    MarkDuplicateKey(FactureNumFactureEdit, fLoadedPieceNumber, *kind->HeaderTableOf(Tables()), kind->KeyField());
  } catch (const ERegExError& e) {
    // A number with pattern characters cannot be looked for; the save will
    // say so. A search stopped on a limit is said now.
    ShowIfLimitReached(e);
  }
}

void TPieceEditor::FactureCodeClientEditChange() {
  if (Lines() == nullptr) return;
  ColorEdit(FactureCodeClientEdit, *Lines(), ctClientCode, ctEmpty, ctNotClientCodeNorEmpty);
  const std::string code = Text(FactureCodeClientEdit);
  TMyDatabase* clients = fTables.Clients();
  // A code that designates no single client keeps no company of another: the
  // save would store the two together.
  auto forgetClient = [this] {
    SetLabel(Label20, "");
    Label15->hide();
  };
  try {
    clients->Query(Catalogue::Clients::Code, code, Exact);
    if (clients->QueryResultCount() != 1) {
      forgetClient();
      return;
    }
    SetLabel(Label20, clients->GetQueryResultString(Catalogue::Clients::Societe, 0));
    Label15->setVisible(IsFirstOrder(*fTables.Factures(), code));
  } catch (const ERegExError& e) {
    // A code with pattern characters designates no client; one whose search
    // stopped on a limit is not known to, and the user is told.
    ShowIfLimitReached(e);
    forgetClient();
    return;
  }
  fStatsRequests->DemanderInfosClient(code);
}

void TPieceEditor::FacturePortEditChange() {
  if (Lines() == nullptr) return;
  ColorEdit(FacturePortEdit, *Lines(), ctPositiveReal, ctNotReal, ctNonPositiveReal);
  TStringManager& sm = StringManager();
  const std::string port = Text(FacturePortEdit);
  if (const auto total = TotalTTCForPort(Text(Label34), port, GetEditColor(FacturePortEdit) == clErrorRed)) {
    SetLabel(Label35, *total);
  }
  // Points become commas and more than two decimals are rounded as the port
  // is typed; the caret stays where it was.
  const std::string normalised = sm.FormatRealString(port, ',', 2);
  if (normalised != port) {
    const int caret = FacturePortEdit->cursorPosition();
    FacturePortEdit->setText(ToQString(normalised));
    FacturePortEdit->setCursorPosition(std::min(caret, static_cast<int>(FacturePortEdit->text().size())));
  }
  SetLabel(Label28, GetClientPays(*fTables.Clients(), Text(FactureCodeClientEdit)) == "GUINEE" ? "GUINEE = UPS" : "");
}

void TPieceEditor::FacturePortEditExit() {
  TStringManager& sm = StringManager();
  const std::string port = sm.FormatRealString(sm.TrimChar(Text(FacturePortEdit), sm.DecimalSeparator()), ',', 2);
  if (port != Text(FacturePortEdit)) FacturePortEdit->setText(ToQString(port));
}

void TPieceEditor::SearchClientInEditor() {
  for (const std::string& line : ClientSearchLines(*fTables.Clients(), Text(FactureRechercherClientEdit))) {
    AfficherSignal(line, clSignalGreen);
  }
}

void TPieceEditor::FactureRechercherClientSpeedButtonClick() {
  SearchClientInEditor();
  FactureRechercherClientEdit->setFocus();
}

// ---------------------------------------------------------------------------
// Price tools

void TPieceEditor::moins50_ButtonClick() {
  std::string port = Text(FacturePortEdit);
  HalvePrices(*Lines(), port, [this](const std::string& text, TColor color) { AfficherSignal(text, color); });
  if (port != Text(FacturePortEdit)) FacturePortEdit->setText(ToQString(port));
  ComputeTotals();
}

void TPieceEditor::Para_ButtonClick() {
  RemoveParapharmacy(*Lines(), [this](const std::string& text, TColor color) { AfficherSignal(text, color); });
  ComputeTotals();
}

void TPieceEditor::UpDown1Click(bool up) {
  MultiplyPrices(*Lines(), up ? kPriceUpFactor : kPriceDownFactor,
                 [this](const std::string& text, TColor color) { AfficherSignal(text, color); });
  ComputeTotals();
}

// ---------------------------------------------------------------------------
// Saving

bool TPieceEditor::SavePiece() {
  if (!StorePiece()) return false;
  fDesk.ShowCurrentPieceList();
  return true;
}

bool TPieceEditor::StorePiece() {
  if (fOpenFailed) {
    Error("TQuorix_Form.FactureOK_ButtonClick:Piece non chargee : " + fLoadedPieceNumber);
    return false;
  }
  const TPieceKind* kind = CurrentKind();
  if (kind == nullptr) {
    Error("TQuorix_Form.FactureOK_ButtonClick:Piece non reconnue : " + fCurrentListKind);
    return false;
  }
  TMyStringGrid* lines = Lines();
  const std::string column = lines->GetColName(lines->GetCol());
  if (column == F::Quantite || column == F::PrixUniTTC) ValidateCell(lines->GetCol(), lines->GetRow());
  ComputeWeight();
  // A cell being typed into is recoloured only when it is left: the colours
  // the save checks are those of the texts as they stand.
  lines->InitColors();
  lines->ExecuteColorconstraints();

  TPieceToSave piece;
  piece.Kind = kind;
  piece.HeaderTable = kind->HeaderTableOf(Tables());
  piece.LoadedNumber = fLoadedPieceNumber;
  piece.Number = Text(FactureNumFactureEdit);
  piece.PieceDate = PieceDate();
  piece.Date = DateToStr(piece.PieceDate);
  piece.CodeClient = Text(FactureCodeClientEdit);
  piece.Societe = Text(Label20);
  piece.Port = Text(FacturePortEdit);
  piece.Poids = Text(Label33);
  piece.TotalHT = Text(Label34);
  piece.TotalTTC = Text(Label35);
  for (QWidget* edit : {static_cast<QWidget*>(FactureNumFactureEdit), static_cast<QWidget*>(FactureCodeClientEdit),
                        static_cast<QWidget*>(FactureDateTimePicker), static_cast<QWidget*>(FacturePortEdit)}) {
    if (GetEditColor(edit) == clErrorRed) piece.RedEdit = true;
  }
  if (SavePieceSequence(*lines, piece) != TPieceSaveResult::Saved) return false;
  // What is on screen is now what is stored.
  fOpenedState = StateDigest();
  fGiveBack = nullptr;
  if (fKept) {
    std::function<void()> kept = std::move(fKept);
    fKept = nullptr;
    kept();
  }
  return true;
}

void TPieceEditor::FactureOK_ButtonClick() { SavePiece(); }

void TPieceEditor::FactureAnnuler_ButtonClick() {
  AbandonPiece();
  fDesk.ShowCurrentPieceList();
}

// ---------------------------------------------------------------------------
// Unsaved work

std::uint64_t TPieceEditor::StateDigest() const {
  // FNV-1a over the texts, each closed by a NUL (which no text holds).
  std::uint64_t digest = 14695981039346656037ULL;
  auto add = [&digest](const std::string& text) {
    for (const char c : text) digest = (digest ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    digest *= 1099511628211ULL;
  };
  add(Text(FactureNumFactureEdit));
  add(Text(FactureCodeClientEdit));
  add(Text(FacturePortEdit));
  add(IntToStr(FactureDateTimePicker->date().toJulianDay()));
  const TMyStringGrid* lines = Lines();
  if (lines == nullptr) return digest;
  add(IntToStr(lines->GetRowCount()));
  for (int row = lines->GetGrid()->GetFixedRows(); row < lines->GetRowCount(); ++row) {
    for (int col = lines->GetGrid()->GetFixedCols(); col < lines->GetColCount(); ++col) add(lines->GetCell(col, row));
  }
  return digest;
}

bool TPieceEditor::HasUnsavedChanges() const { return fHeld && !fOpenFailed && StateDigest() != fOpenedState; }

bool TPieceEditor::MayReplacePiece() {
  if (!HasUnsavedChanges()) return true;
  TDialogService* dialogs = GetDialogService();
  return dialogs != nullptr && dialogs->AskYesNo("La piece " + Text(FactureNumFactureEdit) +
                                                 " n'est pas enregistree : l'abandonner ?");
}

void TPieceEditor::HoldUntilSaved(std::function<void()> giveBack, std::function<void()> kept) {
  fGiveBack = std::move(giveBack);
  fKept = std::move(kept);
}

void TPieceEditor::AbandonPiece() {
  fHeld = false;
  if (!fGiveBack) return;
  std::function<void()> giveBack = std::move(fGiveBack);
  fGiveBack = nullptr;
  fKept = nullptr;
  giveBack();
}
