#pragma once

#include <string>
#include <vector>

#include "PieceKinds.h"
#include "PieceTrash.h"

class TMyDatabase;

// The operations on whole pieces that the lists and the "Fonctions" menu
// offer: deleting, duplicating, converting a quote into an invoice and back,
// and the clean-up. They work on the header tables and the line files; the
// main window shows the lists again afterwards. None asks for confirmation.
//
// The queries they run take the piece numbers as patterns, as every Exact
// query does: a number that is no valid pattern lets ERegExError through to
// the screen's handler, before anything is changed.

// Deletes the piece of that number. Its line file goes to the trash first,
// with its header record beside it (PieceTrash.h); only then is the header
// record deleted and the table saved. A line file that cannot go to the trash
// leaves the piece as it was, with one box naming the file. A number without
// a record is reported by the query reading ("No Query Results Assigned").
// False when nothing was deleted.
bool DeletePiece(const TPieceKind& kind, TMyDatabase& header, const std::string& number);

// DeletePiece for an invoice.
bool DeleteFacture(TMyDatabase& factures, const std::string& number);

// Copies a piece under a new number: a new header record with every field
// of the source, the new number and today's date (the table is saved), and
// the line file copied over any file of the new number. The copied lines keep
// the source number in their key column until the copy is saved from the
// editor. A source without a record is reported and nothing is made.
bool DuplicatePiece(const TPieceKind& kind, TMyDatabase& header, const std::string& source,
                    const std::string& newNumber);
bool DuplicatePiece(const TPieceTables& tables, const std::string& source, const std::string& newNumber,
                    bool isInvoice);

// The number of the special duplicate of a piece: "0" after its two letters
// (FA31750 gives FA031750).
std::string SpecialDuplicateNumber(const std::string& source);

enum class TSpecialDuplicate {
  // The client is in the no-duplicate table: nothing was made.
  Refused,
  // The copy was made.
  Created,
  // A piece of the special number already exists and is left as it is: a
  // second copy would give two header records to one number.
  AlreadyThere,
  // The source could not be read (reported).
  Failed
};

// The special duplicate (Ctrl+Shift on "Dupliquer"): refused for a client of
// the no-duplicate table ("Client"); otherwise the piece is copied under
// SpecialDuplicateNumber and the client is recorded in the duplicate table
// ("Code", kept in memory; the window saves it at close). newNumber receives
// the special number.
TSpecialDuplicate SpecialDuplicate(const TPieceKind& kind, TMyDatabase& header, TMyDatabase& noFa,
                                   TMyDatabase& dupli, const std::string& source, const std::string& client,
                                   std::string& newNumber);

// True when the client has had a special duplicate (duplicate table, "Code").
bool HasSpecialDuplicate(TMyDatabase& dupli, const std::string& client);

// Makes a piece of kind to from the piece number of kind from, which is
// kept: a header record with the client, company, totals, port and weight of
// the source, the new number and today's date (the table is saved), and the
// line file copied, its key field renamed and set to the new number on every
// line. A source without a record is reported and nothing is made; a missing
// line file leaves the new piece without one.
bool ConvertPiece(const TPieceKind& from, const TPieceKind& to, const TPieceTables& tables, const std::string& number,
                  const std::string& newNumber);

// The clean-up, first step: every file of "./Data/Factures/" whose name less
// its last three characters is no invoice number of the table is reported
// (name + " en trop") and deleted. The names of the files deleted.
std::vector<std::string> RemoveOrphanLineFiles(TMyDatabase& factures);

// The clean-up, last step: every invoice whose number begins with "FA0" (the
// special duplicates) is deleted as DeleteFacture does, the table being
// saved once; those whose files could not go to the trash stay, named in one
// box. The number of invoices deleted.
int DeleteSpecialDuplicates(TMyDatabase& factures);
