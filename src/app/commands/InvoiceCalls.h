#pragma once

#include <string>

class TQuorix_Form;

// What the invoice split and the courier hand-off ask of the piece
// operations and of the print commands, in one place.

// Selects the invoice of that number in the invoice list (the row stays as
// it was when the list has no such invoice).
void SelectInvoice(TQuorix_Form& form, const std::string& number);

// Copies the invoice source under the new number: a header record with
// today's date (the invoice table saved) and the line file. False when
// nothing was made (reported).
bool DuplicateInvoice(TQuorix_Form& form, const std::string& source, const std::string& name);

// The number of the half-value second invoice: "0" after the two letters
// (FA12345 gives FA012345).
std::string SecondInvoiceNumber(const std::string& number);

// Records that the client had a second invoice, in the duplicate list (kept
// in memory, saved at close), unless it is there already.
void RecordSecondInvoiceClient(TQuorix_Form& form, const std::string& clientCode);

// Prints an invoice of the invoice list straight to the current printer, in
// that many copies: the invoice is selected in the list and printed without
// dialog, which only a letterhead printer (its name holds "Entete") accepts.
void PrintInvoiceAutomatically(TQuorix_Form& form, const std::string& number, int copies);
