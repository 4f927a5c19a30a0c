#pragma once

#include <string>

#include "PieceKinds.h"

class TQuorix_Form;
class TMyStringGrid;
struct TSearchList;

// The floating results grid `Recherche_StringGrid`: its columns and colours
// for whatever is on screen, where it is shown, and what Enter, Escape, a
// double click and the loss of the focus do with it. The piece editor shows
// its article candidates there.
class TSearchResults {
public:
  // Attaches the handlers to the form's results grid; call before the grid is
  // wrapped in its managed grid.
  explicit TSearchResults(TQuorix_Form& form);
  ~TSearchResults();
  TSearchResults(const TSearchResults&) = delete;
  TSearchResults& operator=(const TSearchResults&) = delete;

  // Searches the visible list for the first word of `Recherche_Edit` and
  // shows what it finds; the edit is emptied.
  void RunSearch();
  void Recherche_BitBtnClick();
  void Recherche_EditKeyPress(char& key);

  // Columns and colour rules for the visible list, or for the piece editor.
  void SetupSearchGrid();
  // Places the grid over the right of the window (over the editor's side
  // panel when the editor is open), sizes it to its texts, shows and focuses
  // it on its first result.
  void ShowSearchGrid();
  void HideSearchGrid();

  void Recherche_StringGridKeyPress(char& key);
  void Recherche_StringGridDblClick();
  void Recherche_StringGridExit();

private:
  TMyStringGrid* Grid() const;
  bool EditorOpen() const;
  TPieceTables Tables() const;
  // The list searched, and the list whose columns the results grid shows.
  const TSearchList* SearchedList() const;
  const TSearchList* ShownList() const;

  TQuorix_Form& fForm;
};
