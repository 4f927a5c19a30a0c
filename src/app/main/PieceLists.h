#pragma once

#include "ListDescriptors.h"
#include "PieceKinds.h"

class TMyStringGrid;
class TQtGridSurface;
class TQuorix_Form;

// The record list of each piece kind, as the list descriptors give it, for
// the commands that act on the piece lists (in the order invoices, quotes,
// credit notes: PieceKinds::At).
const TListDescriptor& PieceList(const TPieceKind& kind);
TMyStringGrid* PieceListGrid(const TQuorix_Form& form, const TPieceKind& kind);
TQtGridSurface* PieceListSurface(const TQuorix_Form& form, const TPieceKind& kind);
// Shows the list of the kind, which becomes the current list kind.
void ShowPieceList(TQuorix_Form& form, const TPieceKind& kind);
// The key cell of the list's selected row.
std::string SelectedPieceNumber(const TQuorix_Form& form, const TPieceKind& kind);
