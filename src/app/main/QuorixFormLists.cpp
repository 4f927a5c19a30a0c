// The main window's side of the five record lists: their one-time layout,
// showing one, and opening a record from a list. The lists themselves are
// TRecordLists; what differs from list to list comes from their descriptors.

#include <QFrame>
#include <QToolButton>

#include <algorithm>
#include <vector>

#include "ArticlePanel.h"
#include "ClientPanel.h"
#include "ListDescriptors.h"
#include "MyStringGrid.h"
#include "PieceEditor.h"
#include "PieceKinds.h"
#include "QtGridSurface.h"
#include "QuorixForm.h"
#include "RemplirGrid.h"
#include "SearchResults.h"

namespace {

constexpr char kEnter = 13;

// The named handlers of each list's platform grid, in the lists' order.
struct TListHandlers {
  void (TQuorix_Form::*DblClick)();
  void (TQuorix_Form::*KeyPress)(char& key);
};
constexpr TListHandlers kListHandlers[kListCount] = {
    {&TQuorix_Form::Liste_Clients_StringGridDblClick, &TQuorix_Form::Liste_Clients_StringGridKeyPress},
    {&TQuorix_Form::Liste_Articles_StringGridDblClick, &TQuorix_Form::Liste_Articles_StringGridKeyPress},
    {&TQuorix_Form::Liste_Factures_StringGridDblClick, &TQuorix_Form::Liste_Factures_StringGridKeyPress},
    {&TQuorix_Form::Liste_Devis_StringGridDblClick, &TQuorix_Form::Liste_Devis_StringGridKeyPress},
    {&TQuorix_Form::Liste_Avoirs_StringGridDblClick, &TQuorix_Form::Liste_Avoirs_StringGridKeyPress},
};

const TListHandlers& HandlersOf(const TRecordList& list) { return kListHandlers[list.Id()]; }

}  // namespace

void TQuorix_Form::ConnectLists() {
  for (const auto& list : fLists->All()) {
    const TListHandlers& handlers = HandlersOf(*list);
    list->Surface()->Events.OnDblClick = [this, &handlers] { (this->*handlers.DblClick)(); };
    list->Surface()->Events.OnKeyPress = [this, &handlers](char& key) { (this->*handlers.KeyPress)(key); };
  }
}

void TQuorix_Form::InitGrids() {
  PlacePiecePanel();

  for (const auto& list : fLists->All()) {
    PlaceListGrid(list->Grid());
    list->Init();
  }

  PlacePieceLines();
  // The courier panel sits under the side panel.
  QFrame* side = fPieceEditor->Facture_ExtraData_Panel;
  QFrame* courier = fPieceEditor->Chronopost_Panel;
  courier->setGeometry(side->x(), side->y() + side->height() + 1, side->width(), courier->height());
  fPieceEditor->InitGrid();
  fSearch->InitGrid();

  fLists->ReadPositions();

  for (const auto& list : fLists->All()) InstallColumnColorRules(list->Grid(), list->Descriptor().ColorRules());
}

// ---------------------------------------------------------------------------
// Showing a list

void TQuorix_Form::ShowList(TListId id) {
  TRecordList& list = fLists->Of(id);
  list.TakeRowBeforeShow();
  HideAll();
  SetActionButtons(true);
  list.Show();
  if (list.Kind() != nullptr) fPieceEditor->SetCurrentListKind(list.Kind()->Kind());
}

void TQuorix_Form::ShowClients() { ShowList(kClientsList); }
void TQuorix_Form::ShowArticles() { ShowList(kArticlesList); }
void TQuorix_Form::ShowFactures() { ShowList(kFacturesList); }
void TQuorix_Form::ShowDevis() { ShowList(kDevisList); }
void TQuorix_Form::ShowAvoirs() { ShowList(kAvoirsList); }

void TQuorix_Form::HideAll() {
  fLists->HideAll();
  fPieceEditor->Lines()->SetVisible(false);
  fSearch->HideSearchGrid();
  fClientPanel->Hide();
  fArticlePanel->Hide();
  fPieceEditor->Hide();
}

void TQuorix_Form::SetActionButtons(bool enabled) {
  for (QToolButton* button :
       {Creer_BitBtn, Supprimer_BitBtn, Dupliquer_BitBtn, Imprimer_BitBtn, BonDePreparation_BitBtn}) {
    const bool available =
        std::find(fAvailableActions.begin(), fAvailableActions.end(), button) != fAvailableActions.end();
    button->setEnabled(enabled && available);
  }
}

void TQuorix_Form::ShowCurrentPieceList() {
  AfficherChronopost(false);
  const TPieceKind* kind = PieceKinds::Find(fPieceEditor->CurrentListKind());
  ShowList(fLists->Of(kind != nullptr ? *kind : PieceKinds::Facture).Id());
}

void TQuorix_Form::ShowPieceList(const TPieceKind& kind) {
  fPieceEditor->SetCurrentListKind(kind.Kind());
  ShowCurrentPieceList();
}

// ---------------------------------------------------------------------------
// Opening a record

void TQuorix_Form::OpenFromList(TListId id) {
  const TRecordList& list = fLists->Of(id);
  switch (list.Descriptor().Opens) {
    case TListRecord::Client: AfficherFicheClient(); break;
    case TListRecord::Article: AfficherFicheArticle(); break;
    case TListRecord::Piece: AfficherPiece(list.Kind()->Kind()); break;
  }
}

void TQuorix_Form::OpenOnEnter(char& key, void (TQuorix_Form::*open)()) {
  if (key != kEnter) return;
  // The key opens the record and goes no further.
  key = 0;
  (this->*open)();
}

void TQuorix_Form::Liste_Clients_StringGridDblClick() { OpenFromList(kClientsList); }
void TQuorix_Form::Liste_Clients_StringGridKeyPress(char& key) {
  OpenOnEnter(key, &TQuorix_Form::Liste_Clients_StringGridDblClick);
}
void TQuorix_Form::Liste_Articles_StringGridDblClick() { OpenFromList(kArticlesList); }
void TQuorix_Form::Liste_Articles_StringGridKeyPress(char& key) {
  OpenOnEnter(key, &TQuorix_Form::Liste_Articles_StringGridDblClick);
}
void TQuorix_Form::Liste_Factures_StringGridDblClick() { OpenFromList(kFacturesList); }
void TQuorix_Form::Liste_Factures_StringGridKeyPress(char& key) {
  OpenOnEnter(key, &TQuorix_Form::Liste_Factures_StringGridDblClick);
}
void TQuorix_Form::Liste_Devis_StringGridDblClick() { OpenFromList(kDevisList); }
void TQuorix_Form::Liste_Devis_StringGridKeyPress(char& key) {
  OpenOnEnter(key, &TQuorix_Form::Liste_Devis_StringGridDblClick);
}
void TQuorix_Form::Liste_Avoirs_StringGridDblClick() { OpenFromList(kAvoirsList); }
void TQuorix_Form::Liste_Avoirs_StringGridKeyPress(char& key) {
  OpenOnEnter(key, &TQuorix_Form::Liste_Avoirs_StringGridDblClick);
}

void TQuorix_Form::Creer_BitBtnClick() {
  std::vector<TRecordList*> lists;
  for (const auto& list : fLists->All()) lists.push_back(list.get());
  std::sort(lists.begin(), lists.end(), [](const TRecordList* a, const TRecordList* b) {
    return a->Descriptor().CreerRank < b->Descriptor().CreerRank;
  });
  for (TRecordList* list : lists) {
    if (!list->Visible()) continue;
    // An empty row at the end opens as a new record or a new piece.
    list->AddEmptyRow();
    (this->*HandlersOf(*list).DblClick)();
  }
}
