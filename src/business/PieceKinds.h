#pragma once

#include <string>

#include "Catalogue.h"
#include "CellTypes.h"

class TMyDatabase;

// The tables the piece rules read and write. The main window owns them for
// its whole life; the rules only borrow them.
struct TPieceTables {
  TMyDatabase* Articles = nullptr;
  TMyDatabase* Clients = nullptr;
  TMyDatabase* Factures = nullptr;
  TMyDatabase* Devis = nullptr;
  TMyDatabase* Avoirs = nullptr;
};

// How a kind gives the number of a new piece.
enum class TPieceNumbering {
  // Probe upwards from a base kept by the window (invoices).
  AfterBase,
  // One more than the highest number of the header table (quotes, credit notes).
  AfterHighest
};

// Everything that differs between invoices, quotes and credit notes. Code
// that works on "a piece" looks its kind up here and never tests the kind
// word itself.
struct TPieceKind {
  // Word, key field, number prefix, header table file, line folder and line
  // file header, as the catalogue names them.
  const Catalogue::TPieceKindFiles& Files;
  // The header fields the kind's list shows, key field first.
  const char* HeaderFilter;
  // Cell types that judge a typed number: well formed, and neither well
  // formed nor empty.
  TCellType NumberType;
  TCellType WrongNumberType;
  TPieceNumbering Numbering;
  TMyDatabase* TPieceTables::*HeaderTable;
  // Whether "Dupliquer" copies a piece of this kind (credit notes are not
  // copied).
  bool Duplicable;
  // What a conversion from this kind says when no piece of it is selected;
  // null for a kind that is never converted.
  const char* SelectPrompt;

  const char* Kind() const { return Files.Kind; }
  const char* KeyField() const { return Files.KeyField; }
  const char* Prefix() const { return Files.Prefix; }
  const char* LineFolder() const { return Files.LineFolder; }
  const char* LineFields() const { return Files.LineHeader; }
  TMyDatabase* HeaderTableOf(const TPieceTables& tables) const { return tables.*HeaderTable; }
  // The line file of a piece of this kind: folder + number + ".db".
  std::string LineFile(const std::string& number) const;
};

namespace PieceKinds {
extern const TPieceKind Facture;
extern const TPieceKind Devis;
extern const TPieceKind Avoir;
inline constexpr int Count = 3;
// The three kinds in their order: invoices, quotes, credit notes.
const TPieceKind& At(int i);
// The kind of a word ("Facture", "Devis", "Avoir"); nullptr for any other.
const TPieceKind* Find(const std::string& kind);
}  // namespace PieceKinds

// The columns of the piece-lines grid, which are also the fields a line file
// holds after its key column, in the grid's order.
inline constexpr const char* kPieceLinesFilter = "Code;Designation;Quantite;Prix Uni. TTC;Montant TTC";

// The article columns shown in the search grid when a line looks an article up.
inline constexpr const char* kArticleCandidatesFilter = "Code;Designation;Prix Achat;Prix Vente";
