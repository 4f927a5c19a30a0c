// The main window's five record lists: their one-time layout, filling,
// switching, remembered positions, and opening a record from a list.

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "QtGridSurface.h"
#include "QuorixForm.h"
#include "RecordLists.h"

namespace {

constexpr char kEnter = 13;

int FieldCount(const char* filter) {
  const std::string f(filter);
  return static_cast<int>(std::count(f.begin(), f.end(), ';')) + 1;
}

void EmptyTitleRow(TMyStringGrid* grid) {
  for (int col = 0; col < grid->GetColCount(); ++col) grid->SetCellForced(col, 0, "");
}

}  // namespace

void TQuorix_Form::InitGrids() {
  PlacePiecePanel();

  struct List {
    TMyStringGrid* grid;
    const char* filter;
    int sortCol;
  };
  const List lists[] = {
      {fClientsGrid.get(), ListFilters::Clients, 1},   {fArticlesGrid.get(), ListFilters::Articles, 2},
      {fFacturesGrid.get(), ListFilters::Factures, 1}, {fDevisGrid.get(), ListFilters::Devis, 1},
      {fAvoirsGrid.get(), ListFilters::Avoirs, 1},
  };
  for (const List& list : lists) {
    PlaceListGrid(list.grid);
    list.grid->SetRowCount(2);
    list.grid->SetColCount(FieldCount(list.filter) + 1);
    list.grid->SetFixedRows(1);
    list.grid->SetFixedCols(1);
    list.grid->fSortCol = list.sortCol;
    list.grid->fSortAscending = true;
    list.grid->fDefaultColor = clValidWhite;
    EmptyTitleRow(list.grid);
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

  InstallColumnColorRules(fClientsGrid.get(), ColumnColorRules::Clients());
  InstallColumnColorRules(fArticlesGrid.get(), ColumnColorRules::Articles());
  InstallColumnColorRules(fFacturesGrid.get(), ColumnColorRules::Factures());
  InstallColumnColorRules(fDevisGrid.get(), ColumnColorRules::Devis());
  InstallColumnColorRules(fAvoirsGrid.get(), ColumnColorRules::Avoirs());
  InstallColumnColorRules(fLignesGrid.get(), ColumnColorRules::Lignes());
}

// ---------------------------------------------------------------------------
// Showing a list

bool TQuorix_Form::WasFilled(const TMyStringGrid* grid) const {
  return std::find(fFilledGrids.begin(), fFilledGrids.end(), grid) != fFilledGrids.end();
}

// A list that has never been filled still shows its start-up rows, which say
// nothing about where the user was: the positions read from the settings are
// kept for it until it is first shown.
void TQuorix_Form::StorePositions(TMyStringGrid* grid, int* row, int& topRow) {
  if (!WasFilled(grid)) return;
  if (row != nullptr) *row = grid->GetRow();
  topRow = grid->GetTopRow();
}

void TQuorix_Form::ShowList(TMyStringGrid* grid, const char* filter, TMyDatabase* table, int row, int topRow) {
  HideAll();
  SetActionButtons(true);
  RemplirGrid(grid, filter, true, table);
  if (std::find(fFilledGrids.begin(), fFilledGrids.end(), grid) == fFilledGrids.end()) fFilledGrids.push_back(grid);
  grid->GetGrid()->Repaint();
  grid->SetVisible(true);
  grid->SetFocus();
  grid->Resort();
  grid->SetRow(row);
  grid->SetTopRow(topRow);
}

void TQuorix_Form::ShowClients() {
  ShowList(fClientsGrid.get(), ListFilters::Clients, fClients.get(), Positions.ClientRow, Positions.ClientTopRow);
}

void TQuorix_Form::ShowArticles() {
  // The article row is taken here rather than by HideAll, so that it is the
  // row the list had before an article was opened and saved.
  if (WasFilled(fArticlesGrid.get())) Positions.ArticleRow = fArticlesGrid->GetRow();
  ShowList(fArticlesGrid.get(), ListFilters::Articles, fArticles.get(), Positions.ArticleRow,
           Positions.ArticleTopRow);
}

void TQuorix_Form::ShowFactures() {
  ShowList(fFacturesGrid.get(), ListFilters::Factures, fFactures.get(), Positions.FactureRow,
           Positions.FactureTopRow);
  currentListKind = "Facture";
}

void TQuorix_Form::ShowDevis() {
  ShowList(fDevisGrid.get(), ListFilters::Devis, fDevis.get(), Positions.DevisRow, Positions.DevisTopRow);
  currentListKind = "Devis";
}

void TQuorix_Form::ShowAvoirs() {
  ShowList(fAvoirsGrid.get(), ListFilters::Avoirs, fAvoirs.get(), Positions.AvoirRow, Positions.AvoirTopRow);
  currentListKind = "Avoir";
}

void TQuorix_Form::HideAll() {
  StorePositions(fClientsGrid.get(), &Positions.ClientRow, Positions.ClientTopRow);
  StorePositions(fFacturesGrid.get(), &Positions.FactureRow, Positions.FactureTopRow);
  StorePositions(fDevisGrid.get(), &Positions.DevisRow, Positions.DevisTopRow);
  StorePositions(fAvoirsGrid.get(), &Positions.AvoirRow, Positions.AvoirTopRow);
  StorePositions(fArticlesGrid.get(), nullptr, Positions.ArticleTopRow);

  for (TMyStringGrid* grid : {fClientsGrid.get(), fArticlesGrid.get(), fFacturesGrid.get(), fDevisGrid.get(),
                              fAvoirsGrid.get(), fLignesGrid.get(), fRechercheGrid.get()}) {
    grid->SetVisible(false);
  }
  Client_Panel->hide();
  Article_Panel->hide();
  Facture_Panel->hide();
  Label15->hide();
}

void TQuorix_Form::StoreAllPositions() {
  StorePositions(fClientsGrid.get(), &Positions.ClientRow, Positions.ClientTopRow);
  StorePositions(fArticlesGrid.get(), &Positions.ArticleRow, Positions.ArticleTopRow);
  StorePositions(fFacturesGrid.get(), &Positions.FactureRow, Positions.FactureTopRow);
  StorePositions(fDevisGrid.get(), &Positions.DevisRow, Positions.DevisTopRow);
  StorePositions(fAvoirsGrid.get(), &Positions.AvoirRow, Positions.AvoirTopRow);
}

void TQuorix_Form::SetActionButtons(bool enabled) {
  for (QToolButton* button :
       {Creer_BitBtn, Supprimer_BitBtn, Dupliquer_BitBtn, Imprimer_BitBtn, BonDePreparation_BitBtn}) {
    const bool available =
        std::find(fAvailableActions.begin(), fAvailableActions.end(), button) != fAvailableActions.end();
    button->setEnabled(enabled && available);
  }
}

void TQuorix_Form::AfficherChronopost(bool visible) { Chronopost_Panel->setVisible(visible); }

void TQuorix_Form::ShowCurrentPieceList() {
  AfficherChronopost(false);
  if (currentListKind == "Devis") {
    ShowDevis();
  } else if (currentListKind == "Avoir") {
    ShowAvoirs();
  } else {
    ShowFactures();
  }
}

// ---------------------------------------------------------------------------
// Opening a record

void TQuorix_Form::OpenOnEnter(char& key, void (TQuorix_Form::*open)()) {
  if (key != kEnter) return;
  // The key opens the record and goes no further.
  key = 0;
  (this->*open)();
}

void TQuorix_Form::Liste_Clients_StringGridDblClick() { AfficherFicheClient(); }
void TQuorix_Form::Liste_Clients_StringGridKeyPress(char& key) {
  OpenOnEnter(key, &TQuorix_Form::Liste_Clients_StringGridDblClick);
}
void TQuorix_Form::Liste_Articles_StringGridDblClick() { AfficherFicheArticle(); }
void TQuorix_Form::Liste_Articles_StringGridKeyPress(char& key) {
  OpenOnEnter(key, &TQuorix_Form::Liste_Articles_StringGridDblClick);
}
void TQuorix_Form::Liste_Factures_StringGridDblClick() { AfficherPiece("Facture"); }
void TQuorix_Form::Liste_Factures_StringGridKeyPress(char& key) {
  OpenOnEnter(key, &TQuorix_Form::Liste_Factures_StringGridDblClick);
}
void TQuorix_Form::Liste_Devis_StringGridDblClick() { AfficherPiece("Devis"); }
void TQuorix_Form::Liste_Devis_StringGridKeyPress(char& key) {
  OpenOnEnter(key, &TQuorix_Form::Liste_Devis_StringGridDblClick);
}
void TQuorix_Form::Liste_Avoirs_StringGridDblClick() { AfficherPiece("Avoir"); }
void TQuorix_Form::Liste_Avoirs_StringGridKeyPress(char& key) {
  OpenOnEnter(key, &TQuorix_Form::Liste_Avoirs_StringGridDblClick);
}

void TQuorix_Form::Creer_BitBtnClick() {
  struct Target {
    TMyStringGrid* grid;
    void (TQuorix_Form::*open)();
  };
  const Target targets[] = {
      {fFacturesGrid.get(), &TQuorix_Form::Liste_Factures_StringGridDblClick},
      {fDevisGrid.get(), &TQuorix_Form::Liste_Devis_StringGridDblClick},
      {fAvoirsGrid.get(), &TQuorix_Form::Liste_Avoirs_StringGridDblClick},
      {fArticlesGrid.get(), &TQuorix_Form::Liste_Articles_StringGridDblClick},
      {fClientsGrid.get(), &TQuorix_Form::Liste_Clients_StringGridDblClick},
  };
  for (const Target& t : targets) {
    if (!t.grid->GetVisible()) continue;
    // An empty row at the end opens as a new record or a new piece.
    t.grid->SetRowCount(t.grid->GetRowCount() + 1);
    t.grid->SetRow(t.grid->GetRowCount() - 1);
    (this->*t.open)();
  }
}
