#pragma once

#include <functional>
#include <string>

#include "ListDescriptors.h"

struct TPieceKind;

// What the panels and commands ask of the main window, and nothing more: the
// window implements it, the panels' tests give a small one of their own.
class TDesk {
public:
  virtual ~TDesk() = default;

  // Shows one record list alone, with the list commands enabled.
  virtual void ShowList(TListId list) = 0;
  // Closes the courier panel and shows the list of the editor's current
  // piece kind.
  virtual void ShowCurrentPieceList() = 0;
  // Makes the kind the current one, then as ShowCurrentPieceList.
  virtual void ShowPieceList(const TPieceKind& kind) = 0;
  // Opens the piece of that kind and number in the editor, its row selected
  // in its list first (a number the list lacks opens the selected row).
  virtual void OpenPiece(const std::string& kind, const std::string& number) = 0;
  // Hides every list and panel, taking the positions the lists leave.
  virtual void HideAll() = 0;
  // Enables or disables the list commands of the button bar.
  virtual void SetActionButtons(bool enabled) = 0;
};

// Prints an invoice of the invoice list straight to the letterhead printer
// in that many copies (the split and the courier hand-off ask for it).
using TPrintInvoice = std::function<void(const std::string& number, int copies)>;
