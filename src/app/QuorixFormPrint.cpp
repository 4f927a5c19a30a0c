// The main window's print commands: the "Imprimer" and "Préparation" buttons
// and the items of the "Impression" menu. What they print is decided by the
// print commands of the printing layer from what the window shows.

#include <QAction>
#include <QToolButton>

#include <algorithm>

#include "MyStringGrid.h"
#include "PieceEditorPanel.h"
#include "PrintCommands.h"
#include "PrintManager.h"
#include "QuorixForm.h"
#include "Trace.h"

void TQuorix_Form::ConnectPrintCommands() {
  // The two buttons follow the other action buttons: enabled with the lists,
  // disabled while a record is open.
  for (QToolButton* button : {Imprimer_BitBtn, BonDePreparation_BitBtn}) {
    if (std::find(fAvailableActions.begin(), fAvailableActions.end(), button) == fAvailableActions.end())
      fAvailableActions.push_back(button);
  }
  connect(Imprimer_BitBtn, &QToolButton::clicked, this, [this] { Imprimer_BitBtnClick(); });
  connect(BonDePreparation_BitBtn, &QToolButton::clicked, this, [this] { BonDePreparation_BitBtnClick(); });
  connect(ImprimeravecEntete1, &QAction::triggered, this, [this] { ImprimeravecEntete1Click(); });
  connect(ImprimerCommande1, &QAction::triggered, this, [this] { ImprimerCommande1Click(); });
  connect(ImprimerApercu, &QAction::triggered, this, [this] { ImprimerApercuClick(); });
}

void TQuorix_Form::Imprimer_BitBtnClick() { ImprimerOuApercu(false, false, 0); }
void TQuorix_Form::BonDePreparation_BitBtnClick() { ImprimerOuApercu(false, false, 2); }
void TQuorix_Form::ImprimeravecEntete1Click() { ImprimerOuApercu(false, true, 0); }
void TQuorix_Form::ImprimerCommande1Click() { ImprimerOuApercu(false, false, 1); }
void TQuorix_Form::ImprimerApercuClick() { ImprimerOuApercu(true, false, 0); }

void TQuorix_Form::ImprimerOuApercu(bool preview, bool letterhead, int kind) {
  TPrintManager* manager = GetPrintManager();
  if (manager == nullptr || !gridsCreated) return;
  TPrintScreen screen;
  screen.Recherche = fRechercheGrid.get();
  screen.Articles = fArticlesGrid.get();
  screen.Clients = fClientsGrid.get();
  screen.Pieces[0] = fFacturesGrid.get();
  screen.Pieces[1] = fDevisGrid.get();
  screen.Pieces[2] = fAvoirsGrid.get();
  screen.Signal = [this](const std::string& text, TColor color) {
    if (fPieceEditor) fPieceEditor->AfficherSignal(text, color);
  };
  TPrintTables tables;
  tables.Pieces = {fArticles.get(), fClients.get(), fFactures.get(), fDevis.get(), fAvoirs.get()};
  tables.Ubipharm = fUbipharm.get();
  const auto document = kind == 1   ? TPieceDocumentKind::Commande
                        : kind == 2 ? TPieceDocumentKind::Preparation
                                    : TPieceDocumentKind::Piece;
  ::ImprimerOuApercu(*manager, screen, tables, preview, letterhead, document);
}

bool TQuorix_Form::AutoPrintFacture(const std::string& number, int copies) {
  TPrintManager* manager = GetPrintManager();
  if (manager == nullptr || !gridsCreated) return false;
  ShowFactures();
  const TPieceKind& kind = PieceKinds::Facture;
  const int row = fFacturesGrid->FindCell(number, kind.KeyField()).second;
  if (number.empty() || row < fFacturesGrid->GetFixedRows()) {
    Warning("TQuorix_Form.AutoPrintFacture : facture absente de la liste : " + number);
    return false;
  }
  fFacturesGrid->SetRow(row);
  manager->NbCopies = copies;
  manager->AutoPrint = true;
  ImprimerOuApercu(false, false, 0);
  return true;
}
