// Opening a record from its list, and deleting it: the client and article
// panels and the piece editor do the work.

#include "ArticlePanel.h"
#include "ClientPanel.h"
#include "CourierPanel.h"
#include "MyStringGrid.h"
#include "PieceCommands.h"
#include "PieceEditor.h"
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

void TQuorix_Form::OpenPiece(const std::string& kind, const std::string& number) { AfficherPieceNumero(kind, number); }

void TQuorix_Form::Supprimer_BitBtnClick() {
  // Only the visible list acts.
  const TRecordList* list = fLists->Visible();
  if (list == nullptr) return;
  switch (list->Descriptor().Opens) {
    case TListRecord::Client: fClientPanel->SupprimerClient(); break;
    case TListRecord::Article: fArticlePanel->SupprimerArticle(); break;
    case TListRecord::Piece: fPieceCommands->SupprimerPiece(*list->Kind()); break;
  }
}

void TQuorix_Form::AfficherChronopost(bool visible) { fCourierPanel->AfficherChronopost(visible); }

void TQuorix_Form::ShowScinderControls(bool visible) { fSplitPanel->ShowScinderControls(visible); }

void TQuorix_Form::Scinder1Click() { fSplitPanel->Scinder1Click(); }
