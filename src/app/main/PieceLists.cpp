#include "PieceLists.h"

#include <cstring>
#include <string>

#include "MyStringGrid.h"
#include "QuorixForm.h"

const TListDescriptor& PieceList(const TPieceKind& kind) {
  for (const TListDescriptor& list : ListDescriptors()) {
    if (list.Kind != nullptr && std::strcmp(list.Kind, kind.Kind()) == 0) return list;
  }
  return ListDescriptor(kFacturesList);
}

TMyStringGrid* PieceListGrid(const TQuorix_Form& form, const TPieceKind& kind) {
  return (form.*PieceList(kind).Grid).get();
}

TQtGridSurface* PieceListSurface(const TQuorix_Form& form, const TPieceKind& kind) {
  return form.*PieceList(kind).Surface;
}

void ShowPieceList(TQuorix_Form& form, const TPieceKind& kind) {
  form.currentListKind = kind.Kind();
  form.ShowCurrentPieceList();
}

std::string SelectedPieceNumber(const TQuorix_Form& form, const TPieceKind& kind) {
  const TMyStringGrid* list = PieceListGrid(form, kind);
  return list->GetCellByName(kind.KeyField(), list->GetRow());
}
