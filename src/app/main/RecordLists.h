#pragma once

#include <array>
#include <memory>

#include "RecordList.h"

// The five record lists of the main window, made on its client area in their
// order: which one is on screen, the list of a piece kind, their remembered
// positions, and the filling of the lists not shown yet.
class TRecordLists {
public:
  TRecordLists(TDeskTables& tables, QWidget* parent);
  ~TRecordLists();
  TRecordLists(const TRecordLists&) = delete;
  TRecordLists& operator=(const TRecordLists&) = delete;

  TRecordList& Of(TListId id) const { return *fLists[static_cast<std::size_t>(id)]; }
  // The list of a piece kind (the invoice list for an unknown kind).
  TRecordList& Of(const TPieceKind& kind) const;
  // The list on screen, the first in the lists' order; null when none is.
  TRecordList* Visible() const;
  const std::array<std::unique_ptr<TRecordList>, kListCount>& All() const { return fLists; }

  // The managed grids, once every handler is on the platform grids.
  void CreateGrids();
  void ReleaseGrids();
  void Init();

  // The positions of "./Data/parametres.ini", section "Positions".
  void ReadPositions();
  void SavePositions() const;
  // Takes the present row and top row of every list that has been shown.
  void StoreAllPositions();
  // Takes the positions the lists leave behind and hides the five lists.
  void HideAll();
  // Fills a slice of the next list that has not been filled yet, while it is
  // hidden; false when every list is filled.
  bool PrepareNextList();

private:
  std::array<std::unique_ptr<TRecordList>, kListCount> fLists;
};
