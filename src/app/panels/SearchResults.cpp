#include "SearchResults.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

#include "Catalogue.h"
#include "Desk.h"
#include "DeskTables.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "NamedWidgets.h"
#include "QtGridSurface.h"
#include "QtText.h"
#include "RecordLists.h"
#include "Search.h"

namespace {

constexpr char kEnter = 13;
constexpr char kEscape = 27;

}  // namespace

TSearchResults::TSearchResults(QWidget* parent, QLineEdit* edit, QToolButton* button, const QWidget* buttonBar,
                               TDesk& desk, TDeskTables& tables, TRecordLists& lists)
    : fEdit(edit), fButtonBar(buttonBar), fDesk(desk), fTables(tables), fLists(lists) {
  Recherche_StringGrid = NewGrid(parent, "Recherche_StringGrid");
  Recherche_StringGrid->SetRowSelect(true);
  Recherche_StringGrid->hide();
  TGridEvents& e = Recherche_StringGrid->Events;
  e.OnKeyPress = [this](char& key) { Recherche_StringGridKeyPress(key); };
  e.OnDblClick = [this] { Recherche_StringGridDblClick(); };
  e.OnExit = [this] { Recherche_StringGridExit(); };
  QObject::connect(button, &QToolButton::clicked, Recherche_StringGrid, [this] { Recherche_BitBtnClick(); });
  QObject::connect(fEdit, &QLineEdit::returnPressed, Recherche_StringGrid, [this] {
    char key = kEnter;
    Recherche_EditKeyPress(key);
  });
}

// The grid outlives this object: it must not call back into it.
TSearchResults::~TSearchResults() {
  fGrid.reset();
  Recherche_StringGrid->Events = TGridEvents();
}

void TSearchResults::CreateGrid() { fGrid = std::make_unique<TMyStringGrid>(Recherche_StringGrid); }

void TSearchResults::ReleaseGrid() { fGrid.reset(); }

void TSearchResults::InitGrid() {
  fGrid->SetFixedRows(1);
  fGrid->SetFixedCols(0);
  fGrid->fNumberingOn = false;
  fGrid->fDefaultColor = clValidWhite;
  fGrid->UpdateDimensions();
}

TPieceTables TSearchResults::Tables() const { return fTables.Pieces(); }

const TSearchList* TSearchResults::SearchedList() const {
  const TRecordList* list = fLists.Visible();
  return list != nullptr ? list->Descriptor().Search : nullptr;
}

// The editor's candidates are articles.
const TSearchList* TSearchResults::ShownList() const {
  if (const TSearchList* list = SearchedList()) return list;
  return IsEditorOpen() ? &SearchLists::Articles : nullptr;
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
      if (!QuerySearch(*table, *list, FromQString(fEdit->text()))) return;
      if (FillSearchResults(*grid, *table, *list)) ShowSearchGrid();
    }
  }
  fEdit->clear();
}

void TSearchResults::Recherche_BitBtnClick() { RunSearch(); }

void TSearchResults::Recherche_EditKeyPress(char& key) {
  if (key != kEnter) return;
  key = 0;
  RunSearch();
}

void TSearchResults::ShowSearchGrid(int maxLeft) {
  TMyStringGrid* grid = Grid();
  if (grid == nullptr) return;
  SetupSearchGrid();
  const int top = fButtonBar->y() + fButtonBar->height() + 5;
  const int width = grid->GetNeededWidth();
  const int left = std::min(Recherche_StringGrid->parentWidget()->width() - width - 5, maxLeft);
  grid->SetLeft(left);
  grid->SetTop(top);
  grid->SetWidth(width);
  grid->SetHeight(fEdit->y() - top - 2);
  grid->AutoSizeCols();
  grid->GetGrid()->Repaint();
  // It floats above the panels, which come later in the window.
  Recherche_StringGrid->raise();
  grid->SetVisible(true);
  grid->SetFocus();
  grid->SetRow(1);
}

std::vector<std::string> TSearchResults::ShowArticleCandidates(TMyDatabase& articles, int maxLeft) {
  TMyStringGrid* search = Grid();
  // The fill of a list search: the four columns and their titles first,
  // whatever the grid showed before (a client search leaves two).
  FillSearchResults(*search, articles, SearchLists::Articles);
  const TGridStrings codes = search->GetColStringsByName(Catalogue::Field::Code);
  std::vector<std::string> list;
  list.reserve(static_cast<std::size_t>(codes.Count()));
  for (int i = 0; i < codes.Count(); ++i) list.push_back(codes.Get(i));
  ShowSearchGrid(maxLeft);
  return list;
}

void TSearchResults::HideSearchGrid() {
  if (Grid() != nullptr) Grid()->SetVisible(false);
}

void TSearchResults::Recherche_StringGridKeyPress(char& key) {
  if (key != kEnter && key != kEscape) return;
  TMyStringGrid* grid = Grid();
  if (IsEditorOpen()) {
    if (key == kEnter && ChooseCandidate) ChooseCandidate(*grid, grid->GetRow());
    HideSearchGrid();
    if (FocusEditor) FocusEditor();
  }
  HideSearchGrid();
  for (TListId id : {kFacturesList, kArticlesList, kClientsList}) {
    if (fLists.Of(id).Visible()) fLists.Of(id).Grid()->SetFocus();
  }
  // Enter goes no further; Escape is left to the grid.
  if (key == kEnter) key = 0;
}

void TSearchResults::Recherche_StringGridDblClick() {
  TMyStringGrid* grid = Grid();
  HideSearchGrid();
  const int row = grid->GetRow();
  if (IsEditorOpen()) {
    if (ChooseCandidate) ChooseCandidate(*grid, row);
    if (FocusEditor) FocusEditor();
    return;
  }
  TRecordList* list = fLists.Visible();
  if (list == nullptr) return;
  list->Grid()->SetFocus();
  const std::string key = grid->GetCellByName(list->Descriptor().KeyField, row);
  if (list->Kind() != nullptr) {
    fDesk.OpenPiece(list->Kind()->Kind(), key);
  } else if (OpenRecord) {
    OpenRecord(list->Descriptor().Opens, key);
  }
}

void TSearchResults::Recherche_StringGridExit() {
  // Holding Shift, Ctrl and Alt while leaving keeps the results in view.
  const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
  if ((QApplication::keyboardModifiers() & all) == all) return;
  HideSearchGrid();
}
