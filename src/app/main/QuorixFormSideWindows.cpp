#include "QuorixForm.h"

#include "Catalogue.h"
#include "CommandeAllianceForm.h"
#include "HistoriqueForm.h"
#include "OrderImportCommands.h"
#include "PieceEditor.h"

void TQuorix_Form::CreateSideWindows() {
  fHistorique = std::make_unique<THistorique_Form>();
  fCommandeAlliance = std::make_unique<TCommandeAlliance_Form>();
}

void TQuorix_Form::ReleaseSideWindows() {
  if (fHistorique) fHistorique->hide();
  if (fCommandeAlliance) {
    fCommandeAlliance->hide();
    fCommandeAlliance->Release();
  }
}

void TQuorix_Form::Historique1Click() {
  if (!fHistorique) return;
  // "Restaurer" makes a new piece of the chosen file's lines.
  fHistorique->SetCallbackRestaurer([this](const std::string& folder, const std::string& name) {
    if (fOrderImport && fPieceEditor->MayReplacePiece()) fOrderImport->ImporterPiece(folder, name);
  });
  fHistorique->show();
  fHistorique->raise();
  fHistorique->activateWindow();
}

void TQuorix_Form::CommandeAlliance1Click() {
  if (!fCommandeAlliance || !fTables.Factures()) return;
  fCommandeAlliance->Charger(fTables.Factures(), Catalogue::FactureLines::Folder);
  fCommandeAlliance->show();
  fCommandeAlliance->raise();
  fCommandeAlliance->activateWindow();
}
