#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ListDescriptors.h"
#include "ListPreparation.h"
#include "ListRows.h"

class QWidget;
class TMyDatabase;
class TMyStringGrid;
class TQtGridSurface;

// The remembered place of a list: its selected row and its first visible
// row, kept between runs in the "Positions" section.
struct TListPosition {
  int Row = 0;
  int TopRow = 0;
};

// One record list of the main window: its platform grid, the managed grid
// over it, its descriptor, what it holds since it was last filled and its
// remembered position.
class TRecordList {
public:
  // Makes the platform grid, hidden; the managed grid comes with CreateGrid,
  // once the handlers are on the platform grid.
  TRecordList(TListId id, TDeskTables& tables, QWidget* parent);
  ~TRecordList();
  TRecordList(const TRecordList&) = delete;
  TRecordList& operator=(const TRecordList&) = delete;

  void CreateGrid();
  void ReleaseGrid();
  // Rows, columns, sort column, default colour, empty titles and colour
  // rules of a list that was never filled.
  void Init();

  TListId Id() const { return fId; }
  const TListDescriptor& Descriptor() const { return ListDescriptor(fId); }
  // The piece kind of a piece list, or null.
  const TPieceKind* Kind() const { return Descriptor().Kind; }
  TQtGridSurface* Surface() const { return fSurface; }
  TMyStringGrid* Grid() const { return fGrid.get(); }
  TMyDatabase* Table() const;
  bool Visible() const;
  TListPosition& Position() { return fPosition; }

  // Fills the list from its table and sorts it, as showing it does, and notes
  // what it now holds.
  void Fill();
  bool Filled() const { return fState.Filled; }
  // Fill a slice at a time, while the list is hidden and the program idle:
  // one slice of it. Filled() tells when the list is done.
  void PrepareSlice();
  // The part of showing the list that comes before the window hides
  // everything: the article list takes its row here.
  void TakeRowBeforeShow();
  // Shows the list (the window has hidden everything): filled and sorted
  // again only when its table or its rows changed, and then only the records
  // changed since brought in place when the table knows them and the list
  // allows it; focused, at its remembered position.
  void Show();
  // Takes the present row (when asked) and top row of a list that has been
  // shown; a list never filled keeps the positions read from the settings.
  void StorePosition(bool withRow);
  void Hide();
  // Adds the empty row "Créer" opens as a new record, and selects it.
  void AddEmptyRow();

  // The key field of the selected row, and the selection of the first row
  // with that key (none: the row stays).
  std::string SelectedKey() const;
  void Select(const std::string& key);

private:
  void NoteFilled();
  // Gives up a preparation under way, the list left to be filled again.
  void DropPreparation();

  // What the list holds since it was last filled: a list shown again over an
  // unchanged table, with its rows and sort as they were, is not filled and
  // sorted again.
  struct TListState {
    bool Filled = false;
    bool Shown = false;
    const TMyDatabase* Table = nullptr;
    std::uint64_t TableChanges = 0;
    std::uint64_t TextsVersion = 0;
    int SortCol = 0;
    bool SortAscending = false;
    // "Créer" put one empty row at the end of the list as it was filled;
    // TextsVersion is then the version just after that row was added.
    bool EmptyRowAdded = false;
  };

  TListId fId;
  TDeskTables& fTables;
  TQtGridSurface* fSurface;
  std::unique_ptr<TMyStringGrid> fGrid;
  TListState fState;
  TListRows fRows;
  std::unique_ptr<TListPreparation> fPreparation;
  TListPosition fPosition;
};
