// Opening a record from its list, and deleting it: the client and article
// panels and the piece editor do the work.

#include "ArticlePanel.h"
#include "ClientPanel.h"
#include "CourierPanel.h"
#include "MyStringGrid.h"
#include "PieceCommands.h"
#include "PieceEditor.h"
#include "PieceLists.h"
#include "QuorixForm.h"
#include "SplitPanel.h"

void TQuorix_Form::AfficherFicheClient() { fClientPanel->AfficherFicheClient(); }

void TQuorix_Form::AfficherFicheArticle() { fArticlePanel->AfficherFicheArticle(); }

void TQuorix_Form::AfficherClientCode(const std::string& code) { fClientPanel->AfficherClientCode(code); }

void TQuorix_Form::AfficherArticleCode(const std::string& code) { fArticlePanel->AfficherArticleCode(code); }

void TQuorix_Form::AfficherPiece(const std::string& kind) { fPieceEditor->AfficherPiece(kind); }

void TQuorix_Form::AfficherPieceNumero(const std::string& kind, const std::string& number) {
  fPieceEditor->AfficherPieceNumero(kind, number);
}

void TQuorix_Form::Supprimer_BitBtnClick() {
  // Only the visible list acts: clients, articles, then the piece lists in
  // the order invoices, quotes, credit notes.
  if (fClientsGrid->GetVisible()) {
    fClientPanel->SupprimerClient();
    return;
  }
  if (fArticlesGrid->GetVisible()) {
    fArticlePanel->SupprimerArticle();
    return;
  }
  for (int i = 0; i < PieceKinds::Count; ++i) {
    if (!PieceListGrid(*this, PieceKinds::At(i))->GetVisible()) continue;
    fPieceCommands->SupprimerPiece(PieceKinds::At(i));
    return;
  }
}

void TQuorix_Form::AfficherChronopost(bool visible) { fCourierPanel->AfficherChronopost(visible); }

void TQuorix_Form::ShowScinderControls(bool visible) { fSplitPanel->ShowScinderControls(visible); }

void TQuorix_Form::Scinder1Click() { fSplitPanel->Scinder1Click(); }
