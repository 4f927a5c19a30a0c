#pragma once

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "PieceKinds.h"

class QLineEdit;
class QToolButton;
class QWidget;
class TDesk;
class TDeskTables;
class TMyDatabase;
class TMyStringGrid;
class TQtGridSurface;
class TRecordLists;
struct TSearchList;
enum class TListRecord;

// The floating results grid `Recherche_StringGrid`: its columns and colours
// for whatever is on screen, where it is shown, and what Enter, Escape, a
// double click and the loss of the focus do with it. The search edit and its
// button search the list on screen; the piece editor shows its article
// candidates there.
class TSearchResults {
public:
  // Makes the results grid, hidden, on the window's client area and attaches
  // the handlers of the grid, the edit and the button. The grid is placed
  // under the button bar and above the search edit.
  TSearchResults(QWidget* parent, QLineEdit* edit, QToolButton* button, const QWidget* buttonBar, TDesk& desk,
                 TDeskTables& tables, TRecordLists& lists);
  ~TSearchResults();
  TSearchResults(const TSearchResults&) = delete;
  TSearchResults& operator=(const TSearchResults&) = delete;

  // The managed grid, made once the tables are loaded, and its first layout.
  void CreateGrid();
  void ReleaseGrid();
  void InitGrid();
  TMyStringGrid* Grid() const { return fGrid.get(); }

  // Searches the visible list for the first word of `Recherche_Edit` and
  // shows what it finds; the edit is emptied.
  void RunSearch();
  void Recherche_BitBtnClick();
  void Recherche_EditKeyPress(char& key);

  // Columns and colour rules for the visible list, or for the piece editor.
  void SetupSearchGrid();
  // Places the grid over the right of the window, never right of maxLeft
  // (the editor's side panel, which the candidates cover), sizes it to its
  // texts, shows and focuses it on its first result.
  void ShowSearchGrid(int maxLeft = std::numeric_limits<int>::max());
  void HideSearchGrid();
  // Shows the articles of the table's query result as the editor's
  // candidates and gives their codes in the order shown.
  std::vector<std::string> ShowArticleCandidates(TMyDatabase& articles, int maxLeft);

  void Recherche_StringGridKeyPress(char& key);
  void Recherche_StringGridDblClick();
  void Recherche_StringGridExit();

  // The piece editor's side: whether it is open, what it does with the row
  // of the results chosen by Enter or a double click, and the keyboard given
  // back to its lines once the results are hidden.
  std::function<bool()> EditorOpen;
  std::function<void(const TMyStringGrid& results, int row)> ChooseCandidate;
  std::function<void()> FocusEditor;
  // Opens the client or the article of that code in its panel.
  std::function<void(TListRecord record, const std::string& code)> OpenRecord;

  TQtGridSurface* Recherche_StringGrid;

private:
  bool IsEditorOpen() const { return EditorOpen && EditorOpen(); }
  TPieceTables Tables() const;
  // The list searched, and the list whose columns the results grid shows.
  const TSearchList* SearchedList() const;
  const TSearchList* ShownList() const;

  QLineEdit* fEdit;
  const QWidget* fButtonBar;
  TDesk& fDesk;
  TDeskTables& fTables;
  TRecordLists& fLists;
  std::unique_ptr<TMyStringGrid> fGrid;
};
