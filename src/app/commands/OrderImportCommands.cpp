#include "OrderImportCommands.h"

#include <QAction>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include <memory>

#include "Catalogue.h"
#include "Desk.h"
#include "DeskTables.h"
#include "FieldText.h"
#include "FileUtils.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "OrderImport.h"
#include "PieceEditor.h"
#include "PieceKinds.h"
#include "PieceSignals.h"
#include "PieceTrash.h"
#include "QtText.h"
#include "RecordLists.h"
#include "RemplirGrid.h"
#include "StringManager.h"
#include "Trace.h"

namespace F = Catalogue::Field;

TOrderImportCommands::TOrderImportCommands(QObject* owner, QToolButton* importer, TDesk& desk, TDeskTables& tables,
                                           TRecordLists& lists, TPieceEditor& editor)
    : fImporter(importer), fDesk(desk), fTables(tables), fLists(lists), fEditor(editor) {
  Importations_Timer = new QTimer(owner);
  Importations_Timer->setObjectName("Importations_Timer");
  Importations_Timer->setInterval(kTimerInterval);
  connect(Importations_Timer, &QTimer::timeout, this, [this] { Importations_TimerTimer(); });
  Importations_Timer->start();

  connect(fImporter, &QToolButton::clicked, this, [this] { Importer_BitBtnClick(); });
}

void TOrderImportCommands::Stop() { Importations_Timer->stop(); }

bool TOrderImportCommands::PieceListShown(bool withCreditNotes) const {
  for (int i = 0; i < PieceKinds::Count; ++i) {
    const TPieceKind& kind = PieceKinds::At(i);
    if (!withCreditNotes && &kind == &PieceKinds::Avoir) continue;
    const TMyStringGrid* grid = fLists.Of(kind).Grid();
    if (grid != nullptr && grid->GetVisible()) return true;
  }
  return false;
}

void TOrderImportCommands::Importations_TimerTimer() {
  fImporter->setEnabled(PieceListShown(false) && !FirstWaitingOrder().empty());
}

void TOrderImportCommands::Importer_BitBtnClick() { ImporterCommande(); }

void TOrderImportCommands::Importer1Click() { ImporterCommande(); }

void TOrderImportCommands::ImporterDepuisFichier1Click() {
  TDialogService* dialogs = GetDialogService();
  if (dialogs == nullptr) return;
  if (!fEditor.MayReplacePiece()) return;
  const std::string path = dialogs->AskOpenFileName(Catalogue::DataFolder);
  if (path.empty()) return;
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    ImporterPiece(".", path);
  } else {
    ImporterPiece(path.substr(0, slash), path.substr(slash + 1));
  }
}

// The editor's lines are complete: amounts stay computed, the totals beside
// the lines follow them (a save right away stores what the lines are worth).
void TOrderImportCommands::FinishImport() {
  TMyStringGrid* lines = fEditor.Lines();
  if (lines->GetColIndex(F::MontantTTC) >= 0) lines->SetColReadOnlyByName(F::MontantTTC, true);
  fEditor.ComputeTotals();
  lines->SetFocus();
}

void TOrderImportCommands::ImporterCommande() {
  if (!PieceListShown(false)) return;
  const std::string name = FirstWaitingOrder();
  if (name.empty()) return;
  if (!fEditor.MayReplacePiece()) return;
  ShowMessage("Importation " + name);

  // A refused order is reported and left waiting: nothing of it is imported.
  const TOrderFile order = ReadWaitingOrder(name);
  if (order.Refusal != TOrderRefusal::None) return;
  // Orders become invoices or quotes, never credit notes.
  for (const TPieceKind* kind : {&PieceKinds::Facture, &PieceKinds::Devis}) {
    TRecordList& list = fLists.Of(*kind);
    if (!list.Grid()->GetVisible()) continue;
    // A row with no number opens as a new piece; the list knows it for its
    // rows, as after "Créer".
    list.AddEmptyRow();
    fEditor.AfficherPiece(kind->Kind());
  }
  if (!fEditor.IsOpen()) return;

  FillOrderLines(*fEditor.Lines(), *fTables.Articles(), order.Lines);
  FinishImport();
  // The order leaves the queue for good only with a saved piece.
  const std::string done = MoveOrderToDone(name);
  if (!done.empty()) {
    NoteOrderHeld(done, name);
    fEditor.HoldUntilSaved([done, name] { if (MoveOrderBackToWaiting(done, name)) ForgetHeldOrder(); },
                           [] { ForgetHeldOrder(); });
  }
  Importations_TimerTimer();
}

void TOrderImportCommands::ImporterPiece(const std::string& folder, const std::string& name) {
  TStringManager& sm = StringManager();
  // The kind the file's name begins with is the kind of the new piece, so a
  // quote restored from the history is a quote whatever list is shown.
  for (int i = 0; i < PieceKinds::Count; ++i) {
    const TPieceKind& kind = PieceKinds::At(i);
    if (!sm.BeginsWith(name, kind.Prefix())) continue;
    if (!fLists.Of(kind).Visible()) fDesk.ShowPieceList(kind);
    break;
  }
  bool opened = false;
  for (int i = 0; i < PieceKinds::Count && !opened; ++i) {
    const TPieceKind& kind = PieceKinds::At(i);
    TRecordList& list = fLists.Of(kind);
    if (!list.Grid()->GetVisible()) continue;
    list.AddEmptyRow();
    fEditor.AfficherPiece(kind.Kind());
    opened = true;
  }
  if (!opened || !fEditor.IsOpen()) return;

  auto table = std::make_unique<TMyDatabase>(folder + "/" + name);
  table->QueryAll();
  TMyStringGrid* lines = fEditor.Lines();
  RemplirGrid(lines, kPieceLinesFilter, true, table.get());
  // A file from elsewhere may carry a NUL or a lone line break in a value;
  // the piece gets a comma instead, and the message panel says so once.
  bool replaced = false;
  auto clean = [&replaced](const std::string& text) {
    if (!HoldsFieldBreak(text)) return text;
    replaced = true;
    return ReplaceFieldBreaks(text);
  };
  for (int row = lines->GetFixedRows(); row < lines->GetRowCount(); ++row) {
    for (int col = lines->GetGrid()->GetFixedCols(); col < lines->GetColCount(); ++col) {
      const std::string text = lines->GetCell(col, row);
      if (HoldsFieldBreak(text)) lines->SetCellForced(col, row, clean(text));
    }
  }
  lines->Refresh();
  // A piece restored from the trash gets back the client and port it had.
  if (const auto kept = KeptHeaderOf(folder, name)) {
    fEditor.FactureCodeClientEdit->setText(ToQString(clean(kept->CodeClient)));
    if (!kept->Port.empty()) fEditor.FacturePortEdit->setText(ToQString(clean(kept->Port)));
  }
  if (replaced) fEditor.AfficherSignal(name + " : ';', retour a la ligne ou octet nul remplace par ','", clSignalRed);
  FinishImport();
}
