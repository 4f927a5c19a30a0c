#pragma once

#include <optional>
#include <string>

#include "PieceSignals.h"

class TMyDatabase;
class TMyStringGrid;

// Amounts of a piece. They are texts, as the grid and the tables hold them:
// unit prices and line amounts with exactly two decimals and ",", totals
// with at most two; arithmetic in double precision, rounded only when the
// result is written.

// Quantity x unit price, exactly two decimals ("3" and "2,50" give "7,50").
// Empty while the quantity or the price is empty; a quantity or price that
// is not a number counts as 0, with the string manager's report.
std::string LineAmount(const std::string& quantite, const std::string& prix);

// "Total HT" (sum of the line amounts that are numbers, exactly two
// decimals) and "Total TTC" (Total HT + the port when it is a number, at
// most two decimals: "19,5").
struct TPieceTotals {
  std::string TotalHT;
  std::string TotalTTC;
};
TPieceTotals ComputeTotals(const TMyStringGrid& lines, const std::string& port);

// Total TTC after the port was changed: Total HT alone for an empty port;
// Total HT + port when the port is usable (not shown red) and Total HT a
// number; otherwise nothing changes (no value).
std::optional<std::string> TotalTTCForPort(const std::string& totalHT, const std::string& port, bool portRed);

// The weight of the lines in kg, as plain text (no rounding): quantity x the
// article's "Poids" over the lines whose code is a valid CIP code of exactly
// one article and whose quantity is an integer. An article weight that is not
// a number counts as 0 for its line and is reported through signal.
std::string ComputeWeight(TMyStringGrid& lines, TMyDatabase& articles, const TSignalProc& signal);

// The header values of a piece worked out from its line file (field "Montant
// TTC", "Code", "Quantite"), as the editor's save works them out from its
// grid: Total HT and Total TTC as ComputeTotals, the weight as ComputeWeight
// (an article weight that is not a number counts as 0, unreported).
struct THeaderAmounts {
  std::string TotalHT;
  std::string TotalTTC;
  std::string Poids;
};
THeaderAmounts ComputeLineFileAmounts(TMyDatabase& lines, TMyDatabase& articles, const std::string& port);

// The client's "Pays" when exactly one client has the code, else empty.
std::string GetClientPays(TMyDatabase& clients, const std::string& code);

// True when no invoice has that client code: the client's first order.
bool IsFirstOrder(TMyDatabase& factures, const std::string& code);
