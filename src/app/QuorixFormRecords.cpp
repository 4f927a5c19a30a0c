// Opening a record from its list. The record panels and the piece editor
// fill these panels; here they are only brought on screen.

#include <QFrame>

#include "MyStringGrid.h"
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

void TQuorix_Form::AfficherPiece(const std::string& kind) {
  (void)kind;
  HideAll();
  SetActionButtons(false);
  Facture_Panel->show();
  fLignesGrid->SetVisible(true);
}
