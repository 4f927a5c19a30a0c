#pragma once

#include <array>

#include "DeskTables.h"
#include "RemplirGrid.h"

struct TPieceKind;
struct TSearchList;

// The five record lists of the main window, in the order the window lays them
// out and looks for the one on screen: clients, articles, invoices, quotes,
// credit notes.
enum TListId { kClientsList, kArticlesList, kFacturesList, kDevisList, kAvoirsList, kListCount };

// What a list opens when the user chooses a row.
enum class TListRecord { Client, Article, Piece };

// Everything that differs from one record list to another, written once: the
// record lists, the window and the panels read it from here.
struct TListDescriptor {
  // The platform grid's object name (the component name).
  const char* SurfaceName;
  // The table shown, its column filter (also the titles), the field that
  // identifies a row's record, and the column the list is sorted by until
  // the user clicks a title.
  TDeskTable Table;
  const char* Filter;
  const char* KeyField;
  int DefaultSortCol;
  TColumnColorRules (*ColorRules)();
  // The remembered selected row and top row's keys in the "Positions"
  // section, and the place of the list in the order of those keys.
  const char* RowKey;
  const char* TopRowKey;
  int PositionRank;
  // Whether hiding the list takes its selected row; the article list's is
  // taken when it is shown again, after a record was opened and saved.
  bool RowTakenOnHide;
  // The piece kind of a piece list, which becomes the current kind when the
  // list is shown; null for the client and article lists.
  const TPieceKind* Kind;
  // What a chosen row opens.
  TListRecord Opens;
  // The place of the list in the order "Créer" looks for the visible list.
  int CreerRank;
  // What the search edit searches while the list is shown.
  const TSearchList* Search;
};

const std::array<TListDescriptor, kListCount>& ListDescriptors();
const TListDescriptor& ListDescriptor(TListId id);
