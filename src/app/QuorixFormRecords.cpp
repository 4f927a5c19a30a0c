// Opening a record from its list. The record panels fill these panels; here
// they are only brought on screen. The piece editor opens its pieces itself.

#include <QFrame>

#include "MyStringGrid.h"
#include "PieceCommands.h"
#include "PieceEditorPanel.h"
#include "PieceLists.h"
#include "QuorixForm.h"

void TQuorix_Form::AfficherFicheClient() {
  HideAll();
  SetActionButtons(false);
  Client_Panel->setGeometry(8, 72, 600, 350);
  Client_Panel->show();
}

void TQuorix_Form::AfficherFicheArticle() {
  HideAll();
  SetActionButtons(false);
  Article_Panel->setGeometry(8, 72, 393, 273);
  Article_Panel->show();
}

void TQuorix_Form::AfficherPiece(const std::string& kind) { fPieceEditor->AfficherPiece(kind); }

void TQuorix_Form::AfficherPieceNumero(const std::string& kind, const std::string& number) {
  fPieceEditor->AfficherPieceNumero(kind, number);
}

void TQuorix_Form::Supprimer_BitBtnClick() {
  // Only the visible list acts, tested in the order invoices, quotes, credit
  // notes.
  for (int i = 0; i < PieceKinds::Count; ++i) {
    if (!PieceListGrid(*this, PieceKinds::At(i))->GetVisible()) continue;
    fPieceCommands->SupprimerPiece(PieceKinds::At(i));
    return;
  }
}
