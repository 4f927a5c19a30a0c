#pragma once

#include <string>

#include "PieceKinds.h"

class TMyDatabase;

// The invoice numbering restarts from this base at start-up and after every
// deletion of an invoice, so the first number given is never below FA31701.
inline constexpr int kFactureNumberBase = 31700;

// The first free invoice number above the base ("FA" + n, no padding). The
// base then drops to ten below the number given, so that numbers freed among
// the last ten are given again. Numbers are not reserved: one given and not
// saved is given again by the next call.
std::string NextFactureNumber(TMyDatabase& factures, int& factureNumberBase);

// One more than the highest number of the table: the part after the two
// letters must be an integer (no leading zero); other numbers are ignored.
// An empty table gives number 1 ("DE1", "AV1").
std::string NextDevisNumber(TMyDatabase& devis);
std::string NextAvoirNumber(TMyDatabase& avoirs);

// The next number of a kind word; an empty text for any other word.
std::string NextPieceNumber(const std::string& kind, const TPieceTables& tables, int& factureNumberBase);
