#include "SearchResults.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>

#include <algorithm>

#include "Catalogue.h"
#include "MyStringGrid.h"
#include "PieceEditorPanel.h"
#include "QtGridSurface.h"
#include "QuorixForm.h"
#include "StringManager.h"

namespace {

constexpr char kEnter = 13;
constexpr char kEscape = 27;

// What the results grid shows for each list: its columns and, per column,
// the cell types that colour it light yellow and red. The piece editor's
// article candidates use the articles' row.
struct TSearchColumns {
  const char* Columns;
  int Yellow[5];
  int Red[5];
  // The column the piece lists sort their results by (empty: not sorted).
  const char* SortedBy;
};

constexpr TSearchColumns kFactures{"Num Facture;Code client;Societe;Total TTC;Date", {46, 42, 4, 20, 4},
                                   {5, 5, 5, 37, 50}, "Date"};
constexpr TSearchColumns kClients{"Code;Societe", {42, 4}, {5, 5}, ""};
constexpr TSearchColumns kArticles{"Code;Designation;Prix Achat;Prix Vente", {29, 5, 19, 19}, {31, 4, 37, 37}, ""};
constexpr TSearchColumns kDevis{"Num Devis;Code client;Societe;Total TTC", {47, 42, 4, 20}, {5, 5, 5, 37},
                                Catalogue::Field::NumDevis};
constexpr TSearchColumns kAvoirs{"Num Avoir;Code client;Societe;Total TTC", {48, 42, 4, 20}, {5, 5, 5, 37},
                                 Catalogue::Field::NumAvoir};

}  // namespace

TSearchResults::TSearchResults(TQuorix_Form& form) : fForm(form) {
  TGridEvents& e = fForm.Recherche_StringGrid->Events;
  e.OnKeyPress = [this](char& key) { Recherche_StringGridKeyPress(key); };
  e.OnDblClick = [this] { Recherche_StringGridDblClick(); };
  e.OnExit = [this] { Recherche_StringGridExit(); };
}

// The grid outlives this object: it must not call back into it.
TSearchResults::~TSearchResults() { fForm.Recherche_StringGrid->Events = TGridEvents(); }

TMyStringGrid* TSearchResults::Grid() const { return fForm.fRechercheGrid.get(); }

bool TSearchResults::EditorOpen() const { return fForm.fPieceEditor != nullptr && fForm.fPieceEditor->IsOpen(); }

void TSearchResults::SetupSearchGrid() {
  TMyStringGrid* grid = Grid();
  if (grid == nullptr) return;
  const TSearchColumns* config = nullptr;
  if (fForm.fFacturesGrid->GetVisible()) {
    config = &kFactures;
  } else if (fForm.fClientsGrid->GetVisible()) {
    config = &kClients;
  } else if (fForm.fArticlesGrid->GetVisible() || EditorOpen()) {
    config = &kArticles;
  } else if (fForm.fDevisGrid->GetVisible()) {
    config = &kDevis;
  } else if (fForm.fAvoirsGrid->GetVisible()) {
    config = &kAvoirs;
  }
  grid->ClearColorConstraints();
  if (config == nullptr) return;
  const int columns = StringManager().CountTokens(config->Columns, ';');
  grid->SetColCount(columns);
  // The constraints go on every row; the colours are worked out once, at the
  // end, rather than after each constraint.
  grid->SetAutomatic(false);
  for (int col = 0; col < columns; ++col) {
    grid->AddColColorConstraint(col, config->Yellow[col], clWarningYellow);
    grid->AddColColorConstraint(col, config->Red[col], clErrorRed);
  }
  grid->SetAutomatic(true);
  grid->UpdateDimensions();
}

void TSearchResults::ShowSearchGrid() {
  TMyStringGrid* grid = Grid();
  if (grid == nullptr) return;
  SetupSearchGrid();
  const int top = fForm.Menu_Panel->y() + fForm.Menu_Panel->height() + 5;
  const int width = grid->GetNeededWidth();
  int left = fForm.centralWidget()->width() - width - 5;
  if (fForm.fLignesGrid->GetVisible()) {
    left = std::min(left, fForm.Facture_Panel->x() + fForm.Facture_ExtraData_Panel->x());
  }
  grid->SetLeft(left);
  grid->SetTop(top);
  grid->SetWidth(width);
  grid->SetHeight(fForm.Recherche_Edit->y() - top - 2);
  grid->AutoSizeCols();
  grid->GetGrid()->Repaint();
  // It floats above the panels, which come later in the window.
  fForm.Recherche_StringGrid->raise();
  grid->SetVisible(true);
  grid->SetFocus();
  grid->SetRow(1);
}

void TSearchResults::HideSearchGrid() {
  if (Grid() != nullptr) Grid()->SetVisible(false);
}

void TSearchResults::Recherche_StringGridKeyPress(char& key) {
  if (key != kEnter && key != kEscape) return;
  TMyStringGrid* grid = Grid();
  if (EditorOpen()) {
    if (key == kEnter) fForm.fPieceEditor->ValidateSearchChoice(grid->GetRow());
    HideSearchGrid();
    fForm.fLignesGrid->SetFocus();
  }
  HideSearchGrid();
  for (TMyStringGrid* list : {fForm.fFacturesGrid.get(), fForm.fArticlesGrid.get(), fForm.fClientsGrid.get()}) {
    if (list->GetVisible()) list->SetFocus();
  }
  // Enter goes no further; Escape is left to the grid.
  if (key == kEnter) key = 0;
}

void TSearchResults::Recherche_StringGridDblClick() {
  TMyStringGrid* grid = Grid();
  HideSearchGrid();
  const int row = grid->GetRow();
  if (EditorOpen()) {
    fForm.fPieceEditor->ValidateSearchChoice(row);
    fForm.fLignesGrid->SetFocus();
    return;
  }
  struct PieceList {
    TMyStringGrid* list;
    const char* kind;
    const char* key;
  };
  const PieceList lists[] = {{fForm.fFacturesGrid.get(), Catalogue::Pieces::Facture, Catalogue::Field::NumFacture},
                             {fForm.fDevisGrid.get(), Catalogue::Pieces::Devis, Catalogue::Field::NumDevis},
                             {fForm.fAvoirsGrid.get(), Catalogue::Pieces::Avoir, Catalogue::Field::NumAvoir}};
  for (const PieceList& l : lists) {
    if (!l.list->GetVisible()) continue;
    l.list->SetFocus();
    fForm.AfficherPieceNumero(l.kind, grid->GetCellByName(l.key, row));
    return;
  }
}

void TSearchResults::Recherche_StringGridExit() {
  // Holding Shift, Ctrl and Alt while leaving keeps the results in view.
  const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
  if ((QApplication::keyboardModifiers() & all) == all) return;
  HideSearchGrid();
}
