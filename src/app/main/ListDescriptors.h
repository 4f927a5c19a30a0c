#pragma once

#include <array>
#include <memory>

#include "DeskTables.h"
#include "QuorixForm.h"
#include "RemplirGrid.h"

class QToolButton;

// The five record lists of the main window, in the order the window lays them
// out: clients, articles, invoices, quotes, credit notes.
enum TListId { kClientsList, kArticlesList, kFacturesList, kDevisList, kAvoirsList, kListCount };

// What a list opens when the user chooses a row.
enum class TListRecord { Client, Article, Piece };

// Everything that differs from one record list to another, written once: the
// functions that lay the lists out, fill and switch them, remember their
// positions and open their records read it from here.
struct TListDescriptor {
  // The platform grid (its object name is the component name), the managed
  // grid over it and the button that shows the list.
  const char* SurfaceName;
  TQtGridSurface* TQuorix_Form::*Surface;
  std::unique_ptr<TMyStringGrid> TQuorix_Form::*Grid;
  QToolButton* TQuorix_Form::*Button;
  // The table shown, its column filter (also the titles) and the column the
  // list is sorted by until the user clicks a title.
  TDeskTable Table;
  const char* Filter;
  int DefaultSortCol;
  TColumnColorRules (*ColorRules)();
  // The remembered selected row and top row, their keys in the "Positions"
  // section, and the place of the list in the order of those keys.
  int TListPositions::*Row;
  int TListPositions::*TopRow;
  const char* RowKey;
  const char* TopRowKey;
  int PositionRank;
  // Whether hiding the list takes its selected row; the article list's is
  // taken when it is shown again, after a record was opened and saved.
  bool RowTakenOnHide;
  // The list kind the list sets when shown ("Facture", "Devis", "Avoir"), or
  // nullptr for the client and article lists, which leave it.
  const char* Kind;
  // What a chosen row opens, through the list's named handlers.
  TListRecord Opens;
  void (TQuorix_Form::*DblClick)();
  void (TQuorix_Form::*KeyPress)(char& key);
  // The place of the list in the order "Créer" looks for the visible list.
  int CreerRank;
};

const std::array<TListDescriptor, kListCount>& ListDescriptors();
const TListDescriptor& ListDescriptor(TListId id);
