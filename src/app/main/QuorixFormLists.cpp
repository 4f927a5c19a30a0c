// The main window's five record lists: their one-time layout, filling,
// switching, remembered positions, and opening a record from a list. What
// differs from list to list comes from the list descriptors.

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <vector>

#include "IniManager.h"
#include "Catalogue.h"
#include "ListDescriptors.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "QtGridSurface.h"
#include "QuorixForm.h"
#include "RemplirGrid.h"
#include "Trace.h"

namespace {

constexpr char kEnter = 13;

int FieldCount(const char* filter) {
  const std::string f(filter);
  return static_cast<int>(std::count(f.begin(), f.end(), ';')) + 1;
}

void EmptyTitleRow(TMyStringGrid* grid) {
  for (int col = 0; col < grid->GetColCount(); ++col) grid->SetCellForced(col, 0, "");
}

// The lists in the order of one of their ranks.
std::vector<const TListDescriptor*> ByRank(int TListDescriptor::*rank) {
  std::vector<const TListDescriptor*> lists;
  for (const TListDescriptor& list : ListDescriptors()) lists.push_back(&list);
  std::sort(lists.begin(), lists.end(),
            [rank](const TListDescriptor* a, const TListDescriptor* b) { return a->*rank < b->*rank; });
  return lists;
}

}  // namespace

void TQuorix_Form::InitGrids() {
  PlacePiecePanel();

  for (const TListDescriptor& list : ListDescriptors()) {
    TMyStringGrid* grid = (this->*list.Grid).get();
    PlaceListGrid(grid);
    grid->SetRowCount(2);
    grid->SetColCount(FieldCount(list.Filter) + 1);
    grid->SetFixedRows(1);
    grid->SetFixedCols(1);
    grid->fSortCol = list.DefaultSortCol;
    grid->fSortAscending = true;
    grid->fDefaultColor = clValidWhite;
    EmptyTitleRow(grid);
  }

  TMyStringGrid* lines = fLignesGrid.get();
  lines->SetLeft(0);
  lines->SetTop(0);
  lines->SetWidth(Menu_Panel->width() - Facture_ExtraData_Panel->width() - 3);
  lines->SetHeight(Recherche_Edit->y() - Menu_Panel->height() - 6);
  lines->SetRowCount(2);
  lines->SetColCount(5 + 1);
  lines->SetFixedRows(1);
  lines->SetFixedCols(1);
  lines->fSortCol = 2;
  lines->fSortAscending = true;
  lines->fDefaultColor = clValidWhite;
  Facture_ExtraData_Panel->setGeometry(lines->GetLeft() + lines->GetWidth() + 3, lines->GetTop(),
                                       Facture_ExtraData_Panel->width(), lines->GetHeight());
  Chronopost_Panel->setGeometry(Facture_ExtraData_Panel->x(),
                                Facture_ExtraData_Panel->y() + Facture_ExtraData_Panel->height() + 1,
                                Facture_ExtraData_Panel->width(), Chronopost_Panel->height());
  EmptyTitleRow(lines);
  lines->UpdateDimensions();

  fRechercheGrid->SetFixedRows(1);
  fRechercheGrid->SetFixedCols(0);
  fRechercheGrid->fNumberingOn = false;
  fRechercheGrid->fDefaultColor = clValidWhite;
  fRechercheGrid->UpdateDimensions();

  ReadPositions();

  for (const TListDescriptor& list : ListDescriptors()) InstallColumnColorRules((this->*list.Grid).get(), list.ColorRules());
  InstallColumnColorRules(fLignesGrid.get(), ColumnColorRules::Lignes());
}

// ---------------------------------------------------------------------------
// Positions

void TQuorix_Form::ReadPositions() {
  TIniManager ini;
  ini.LoadFromFile(Catalogue::Settings::File);
  const char* s = "Positions";
  for (const TListDescriptor* list : ByRank(&TListDescriptor::PositionRank)) {
    Positions.*list->Row = ini.GetInt(s, list->RowKey);
    Positions.*list->TopRow = ini.GetInt(s, list->TopRowKey);
  }
}

void TQuorix_Form::SavePositions() {
  TIniManager ini(Catalogue::Settings::File);
  const char* s = "Positions";
  const std::vector<const TListDescriptor*> lists = ByRank(&TListDescriptor::PositionRank);
  for (const TListDescriptor* list : lists) ini.Set(s, list->RowKey, IntToStr(Positions.*list->Row));
  for (const TListDescriptor* list : lists) ini.Set(s, list->TopRowKey, IntToStr(Positions.*list->TopRow));
  ini.SaveToFile(Catalogue::Settings::File);
}

// A list that has never been filled still shows its start-up rows, which say
// nothing about where the user was: the positions read from the settings are
// kept for it until it is first shown.
void TQuorix_Form::StorePositions(int id, bool withRow) {
  if (!fListStates[static_cast<std::size_t>(id)].Shown) return;
  const TListDescriptor& list = ListDescriptor(static_cast<TListId>(id));
  const TMyStringGrid* grid = (this->*list.Grid).get();
  if (withRow) Positions.*list.Row = grid->GetRow();
  Positions.*list.TopRow = grid->GetTopRow();
}

void TQuorix_Form::StoreAllPositions() {
  for (int id = 0; id < kListCount; ++id) StorePositions(id, true);
}

// ---------------------------------------------------------------------------
// Showing a list

void TQuorix_Form::FillList(int id) {
  const TListDescriptor& list = ListDescriptor(static_cast<TListId>(id));
  TMyStringGrid* grid = (this->*list.Grid).get();
  RemplirGrid(grid, list.Filter, true, fTables.Get(list.Table));
  grid->Resort();
  NoteFilled(id);
}

void TQuorix_Form::NoteFilled(int id) {
  const TListDescriptor& list = ListDescriptor(static_cast<TListId>(id));
  TListState& state = fListStates[static_cast<std::size_t>(id)];
  const TMyStringGrid* grid = (this->*list.Grid).get();
  const TMyDatabase* table = fTables.Get(list.Table);
  state.Filled = true;
  state.Table = table;
  state.TableChanges = table != nullptr ? table->ChangeCount() : 0;
  state.TextsVersion = grid->GetGrid()->GetTextsVersion();
  state.SortCol = grid->fSortCol;
  state.SortAscending = grid->fSortAscending;
  state.EmptyRowAdded = false;
}

bool TQuorix_Form::PrepareNextList() {
  for (int id = 0; id < kListCount; ++id) {
    const TListDescriptor& list = ListDescriptor(static_cast<TListId>(id));
    if (fListStates[static_cast<std::size_t>(id)].Filled || (this->*list.Grid)->GetVisible()) continue;
    FillList(id);
    return true;
  }
  return false;
}

void TQuorix_Form::ShowList(int id) {
  const TListDescriptor& list = ListDescriptor(static_cast<TListId>(id));
  TListState& state = fListStates[static_cast<std::size_t>(id)];
  TMyStringGrid* grid = (this->*list.Grid).get();
  TMyDatabase* table = fTables.Get(list.Table);
  // The article row is taken here rather than by HideAll, so that it is the
  // row the list had before an article was opened and saved.
  if (!list.RowTakenOnHide && state.Shown) Positions.*list.Row = grid->GetRow();
  HideAll();
  SetActionButtons(true);
  // Filling and sorting a list of 200 000 rows again would give back exactly
  // the rows it holds when neither the table nor the list has changed since
  // it was last filled, and it is sorted by the same column in the same
  // direction.
  const std::uint64_t texts = grid->GetGrid()->GetTextsVersion();
  const bool unchanged = state.Filled && table != nullptr && state.Table == table &&
                         state.TableChanges == table->ChangeCount() && texts != 0 && state.TextsVersion == texts &&
                         state.SortCol == grid->fSortCol && state.SortAscending == grid->fSortAscending;
  // The empty row "Créer" added, with nothing written since, is all that
  // differs from the fill: taking it away gives back the filled rows.
  if (unchanged && state.EmptyRowAdded) grid->SetRowCount(grid->GetRowCount() - 1);
  if (!unchanged) RemplirGrid(grid, list.Filter, true, table);
  grid->GetGrid()->Repaint();
  grid->SetVisible(true);
  grid->SetFocus();
  if (!unchanged) grid->Resort();
  state.Shown = true;
  grid->SetRow(Positions.*list.Row);
  grid->SetTopRow(Positions.*list.TopRow);
  NoteFilled(id);
  if (list.Kind != nullptr) currentListKind = list.Kind;
}

void TQuorix_Form::ShowClients() { ShowList(kClientsList); }
void TQuorix_Form::ShowArticles() { ShowList(kArticlesList); }
void TQuorix_Form::ShowFactures() { ShowList(kFacturesList); }
void TQuorix_Form::ShowDevis() { ShowList(kDevisList); }
void TQuorix_Form::ShowAvoirs() { ShowList(kAvoirsList); }

void TQuorix_Form::HideAll() {
  for (int id = 0; id < kListCount; ++id) StorePositions(id, ListDescriptor(static_cast<TListId>(id)).RowTakenOnHide);

  for (const TListDescriptor& list : ListDescriptors()) (this->*list.Grid)->SetVisible(false);
  fLignesGrid->SetVisible(false);
  fRechercheGrid->SetVisible(false);
  Client_Panel->hide();
  Article_Panel->hide();
  Facture_Panel->hide();
  Label15->hide();
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
  for (int id = 0; id < kListCount; ++id) {
    const char* kind = ListDescriptor(static_cast<TListId>(id)).Kind;
    if (kind != nullptr && currentListKind == kind) {
      ShowList(id);
      return;
    }
  }
  ShowList(kFacturesList);
}

// ---------------------------------------------------------------------------
// Opening a record

void TQuorix_Form::OpenFromList(int id) {
  const TListDescriptor& list = ListDescriptor(static_cast<TListId>(id));
  switch (list.Opens) {
    case TListRecord::Client: AfficherFicheClient(); break;
    case TListRecord::Article: AfficherFicheArticle(); break;
    case TListRecord::Piece: AfficherPiece(list.Kind); break;
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
  for (const TListDescriptor* list : ByRank(&TListDescriptor::CreerRank)) {
    TMyStringGrid* grid = (this->*list->Grid).get();
    if (!grid->GetVisible()) continue;
    // An empty row at the end opens as a new record or a new piece.
    const std::size_t id = static_cast<std::size_t>(list - ListDescriptors().data());
    TListState& state = fListStates[id];
    const bool filledRows = state.Filled && !state.EmptyRowAdded && state.TextsVersion != 0 &&
                            state.TextsVersion == grid->GetGrid()->GetTextsVersion();
    grid->SetRowCount(grid->GetRowCount() + 1);
    if (filledRows) {
      state.TextsVersion = grid->GetGrid()->GetTextsVersion();
      state.EmptyRowAdded = true;
    }
    grid->SetRow(grid->GetRowCount() - 1);
    (this->*list->DblClick)();
  }
}
