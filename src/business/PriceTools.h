#pragma once

#include <string>

#include "PieceSignals.h"

class TMyStringGrid;

// The three price tools of the piece editor. They change the lines grid (and
// the port) only; the caller recomputes the totals, and the next save stores
// the result. A line whose unit price is empty is left alone; one whose price
// is not a number is left alone too and reported through signal.

// "-50%": every unit price halved (two decimals) with its amount; a port that
// is an integer halved toward zero (15 gives 7, -7 gives -3); a port with
// decimals unchanged.
void HalvePrices(TMyStringGrid& lines, std::string& port, const TSignalProc& signal);

// The up-down arrows: every unit price multiplied by the factor (two
// decimals) with its amount.
inline constexpr double kPriceUpFactor = 1 / 0.99;
inline constexpr double kPriceDownFactor = 0.99;
void MultiplyPrices(TMyStringGrid& lines, double factor, const TSignalProc& signal);

// "-P": the lines whose code is a valid CIP code not beginning with "3"
// (parapharmacy) are removed. The grid always keeps one line: when that last
// line is to go, it is emptied instead, and reported through signal.
void RemoveParapharmacy(TMyStringGrid& lines, const TSignalProc& signal);
