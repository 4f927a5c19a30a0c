#include "SearchResults.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

#include "Catalogue.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PieceEditor.h"
#include "QtGridSurface.h"
#include "QtText.h"
#include "QuorixForm.h"
#include "Search.h"

namespace {

constexpr char kEnter = 13;
constexpr char kEscape = 27;

}  // namespace

TSearchResults::TSearchResults(TQuorix_Form& form) : fForm(form) {
  TGridEvents& e = fForm.Recherche_StringGrid->Events;
  e.OnKeyPress = [this](char& key) { Recherche_StringGridKeyPress(key); };
  e.OnDblClick = [this] { Recherche_StringGridDblClick(); };
  e.OnExit = [this] { Recherche_StringGridExit(); };
  QObject::connect(fForm.Recherche_BitBtn, &QToolButton::clicked, &fForm, [this] { Recherche_BitBtnClick(); });
  QObject::connect(fForm.Recherche_Edit, &QLineEdit::returnPressed, &fForm, [this] {
    char key = kEnter;
    Recherche_EditKeyPress(key);
  });
}

// The grid outlives this object: it must not call back into it.
TSearchResults::~TSearchResults() { fForm.Recherche_StringGrid->Events = TGridEvents(); }

TMyStringGrid* TSearchResults::Grid() const { return fForm.fRechercheGrid.get(); }

bool TSearchResults::EditorOpen() const { return fForm.fPieceEditor != nullptr && fForm.fPieceEditor->IsOpen(); }

TPieceTables TSearchResults::Tables() const {
  return TPieceTables{fForm.Tables().Articles(), fForm.Tables().Clients(), fForm.Tables().Factures(), fForm.Tables().Devis(), fForm.Tables().Avoirs()};
}

const TSearchList* TSearchResults::SearchedList() const {
  const TRecordList* list = fForm.Lists().Visible();
  return list != nullptr ? list->Descriptor().Search : nullptr;
}

// The editor's candidates are articles.
const TSearchList* TSearchResults::ShownList() const {
  if (const TSearchList* list = SearchedList()) return list;
  return EditorOpen() ? &SearchLists::Articles : nullptr;
}

void TSearchResults::SetupSearchGrid() {
  if (Grid() != nullptr) SetupSearchColumns(*Grid(), ShownList());
}

void TSearchResults::RunSearch() {
  TMyStringGrid* grid = Grid();
  if (grid == nullptr) return;
  SetupSearchGrid();
  if (const TSearchList* list = SearchedList()) {
    if (TMyDatabase* table = Tables().*(list->Table)) {
      // A word that is no pattern stops the search with its message; the
      // text stays in the edit to be corrected.
      if (!QuerySearch(*table, *list, FromQString(fForm.Recherche_Edit->text()))) return;
      if (FillSearchResults(*grid, *table, *list)) ShowSearchGrid();
    }
  }
  fForm.Recherche_Edit->clear();
}

void TSearchResults::Recherche_BitBtnClick() { RunSearch(); }

void TSearchResults::Recherche_EditKeyPress(char& key) {
  if (key != kEnter) return;
  key = 0;
  RunSearch();
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
  for (TListId id : {kFacturesList, kArticlesList, kClientsList}) {
    if (fForm.Lists().Of(id).Visible()) fForm.Lists().Of(id).Grid()->SetFocus();
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
  TRecordList* list = fForm.Lists().Visible();
  if (list == nullptr || list->Kind() == nullptr) return;
  list->Grid()->SetFocus();
  fForm.AfficherPieceNumero(list->Kind()->Kind(), grid->GetCellByName(list->Descriptor().KeyField, row));
}

void TSearchResults::Recherche_StringGridExit() {
  // Holding Shift, Ctrl and Alt while leaving keeps the results in view.
  const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
  if ((QApplication::keyboardModifiers() & all) == all) return;
  HideSearchGrid();
}
