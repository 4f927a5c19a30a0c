#pragma once

#include <string>
#include <string_view>

// The article code a text carries, as a desk meets it: typed or copied from
// an order ("3408919"), or given by a scanner from the box, as the CIP13
// barcode ("3400934089190") or the Data Matrix's GS1 string
// ("0103400934089190" followed by the box's expiry, lot and serial).
struct TArticleCode {
  // The seven digits of the CIP, "" when the text carries none.
  std::string Code;
  // A box code (CIP13 or GS1 string) came first but its EAN-13 check digit
  // is wrong: a misread scan, which names no article at all.
  bool WrongCheck = false;
};

// Reads the runs of digits from left to right; the first that is one of
// these decides:
// - exactly seven digits forming a valid CIP (its check digit right, as
//   TStringManager::IsCIP checks it); seven digits with a wrong check digit
//   are passed over;
// - exactly thirteen digits "34009" + seven digits + the EAN-13 check digit:
//   the article of those seven digits;
// - a GS1 string: "01" + "0" + such a CIP13 at the start of a run, the rest
//   of the run being the string's further elements. A symbology prefix
//   glued before it ("]d2", "]C1", "]Q3") is skipped.
// A run touching another digit is not a shorter run: "34089190" holds no
// seven-digit code.
TArticleCode ReadArticleCode(std::string_view text);
