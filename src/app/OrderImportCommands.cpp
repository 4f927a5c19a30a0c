#include "OrderImportCommands.h"

#include <QAction>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include <memory>

#include "Catalogue.h"
#include "FileUtils.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "OrderImport.h"
#include "PieceEditorPanel.h"
#include "PieceKinds.h"
#include "PieceLists.h"
#include "PieceTrash.h"
#include "QtText.h"
#include "QuorixForm.h"
#include "RecordLists.h"
#include "StringManager.h"
#include "Trace.h"

namespace F = Catalogue::Field;

TOrderImportCommands::TOrderImportCommands(TQuorix_Form& form) : fForm(form) {
  Importations_Timer = new QTimer(&fForm);
  Importations_Timer->setObjectName("Importations_Timer");
  Importations_Timer->setInterval(kTimerInterval);
  connect(Importations_Timer, &QTimer::timeout, this, [this] { Importations_TimerTimer(); });
  Importations_Timer->start();

  connect(fForm.Importer_BitBtn, &QToolButton::clicked, this, [this] { Importer_BitBtnClick(); });
  connect(fForm.Importer1, &QAction::triggered, this, [this] { Importer1Click(); });
  connect(fForm.ImporterDepuisFichier1, &QAction::triggered, this, [this] { ImporterDepuisFichier1Click(); });
}

void TOrderImportCommands::Stop() { Importations_Timer->stop(); }

bool TOrderImportCommands::PieceListShown(bool withCreditNotes) const {
  for (int i = 0; i < PieceKinds::Count; ++i) {
    const TPieceKind& kind = PieceKinds::At(i);
    if (!withCreditNotes && &kind == &PieceKinds::Avoir) continue;
    const TMyStringGrid* grid = PieceListGrid(fForm, kind);
    if (grid != nullptr && grid->GetVisible()) return true;
  }
  return false;
}

void TOrderImportCommands::Importations_TimerTimer() {
  fForm.Importer_BitBtn->setEnabled(PieceListShown(false) && !FirstWaitingOrder().empty());
}

void TOrderImportCommands::Importer_BitBtnClick() { ImporterCommande(); }

void TOrderImportCommands::Importer1Click() { ImporterCommande(); }

void TOrderImportCommands::ImporterDepuisFichier1Click() {
  TDialogService* dialogs = GetDialogService();
  if (dialogs == nullptr) return;
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
  TMyStringGrid* lines = fForm.fLignesGrid.get();
  if (lines->GetColIndex(F::MontantTTC) >= 0) lines->SetColReadOnlyByName(F::MontantTTC, true);
  fForm.fPieceEditor->ComputeTotals();
  lines->SetFocus();
}

void TOrderImportCommands::ImporterCommande() {
  if (!PieceListShown(false)) return;
  const std::string name = FirstWaitingOrder();
  if (name.empty()) return;
  ShowMessage("Importation " + name);

  // A refused order is reported and left waiting: nothing of it is imported.
  const TOrderFile order = ReadWaitingOrder(name);
  if (order.Refusal != TOrderRefusal::None) return;
  // Orders become invoices or quotes, never credit notes.
  for (const TPieceKind* kind : {&PieceKinds::Facture, &PieceKinds::Devis}) {
    TMyStringGrid* list = PieceListGrid(fForm, *kind);
    if (!list->GetVisible()) continue;
    // A row with no number opens as a new piece.
    list->SetRowCount(list->GetRowCount() + 1);
    list->SetRow(list->GetRowCount() - 1);
    fForm.AfficherPiece(kind->Kind());
  }
  if (!fForm.fPieceEditor->IsOpen()) return;

  FillOrderLines(*fForm.fLignesGrid, *fForm.ArticlesDB(), order.Lines);
  FinishImport();
  MoveOrderToDone(name);
  Importations_TimerTimer();
}

void TOrderImportCommands::ImporterPiece(const std::string& folder, const std::string& name) {
  TStringManager& sm = StringManager();
  // The kind the file's name begins with is the kind of the new piece, so a
  // quote restored from the history is a quote whatever list is shown.
  for (int i = 0; i < PieceKinds::Count; ++i) {
    const TPieceKind& kind = PieceKinds::At(i);
    if (!sm.BeginsWith(name, kind.Prefix())) continue;
    if (!PieceListGrid(fForm, kind)->GetVisible()) ShowPieceList(fForm, kind);
    break;
  }
  bool opened = false;
  for (int i = 0; i < PieceKinds::Count && !opened; ++i) {
    const TPieceKind& kind = PieceKinds::At(i);
    TMyStringGrid* list = PieceListGrid(fForm, kind);
    if (!list->GetVisible()) continue;
    list->SetRowCount(list->GetRowCount() + 1);
    list->SetRow(list->GetRowCount() - 1);
    fForm.AfficherPiece(kind.Kind());
    opened = true;
  }
  if (!opened || !fForm.fPieceEditor->IsOpen()) return;

  auto table = std::make_unique<TMyDatabase>(folder + "/" + name);
  table->QueryAll();
  TMyStringGrid* lines = fForm.fLignesGrid.get();
  RemplirGrid(lines, kPieceLinesFilter, true, table.get());
  lines->Refresh();
  // A piece restored from the trash gets back the client and port it had.
  if (const auto kept = KeptHeaderOf(folder, name)) {
    fForm.fPieceEditor->FactureCodeClientEdit->setText(ToQString(kept->CodeClient));
    if (!kept->Port.empty()) fForm.fPieceEditor->FacturePortEdit->setText(ToQString(kept->Port));
  }
  FinishImport();
}
