#pragma once

#include <string>

#include "PieceKinds.h"

class TMyDatabase;

// What the invoice split and the courier hand-off ask of the piece
// operations, in one place.

// Copies the invoice source under the new number: a header record with
// today's date (the invoice table saved) and the line file. False when
// nothing was made (reported).
bool DuplicateInvoice(const TPieceTables& tables, const std::string& source, const std::string& name);

// The number of the half-value second invoice: "0" after the two letters
// (FA12345 gives FA012345).
std::string SecondInvoiceNumber(const std::string& number);

// Records that the client had a second invoice, in the duplicate list (kept
// in memory, saved at close), unless it is there already.
void RecordSecondInvoiceClient(TMyDatabase* dupli, const std::string& clientCode);
