#include "PriceTools.h"

#include "Catalogue.h"
#include "MyStringGrid.h"
#include "PieceAmounts.h"
#include "StringManager.h"
#include "Trace.h"

namespace F = Catalogue::Field;

namespace {

void MultiplyPrice(TMyStringGrid& lines, int row, double factor, const TSignalProc& signal) {
  TStringManager& sm = StringManager();
  const std::string price = lines.GetCellByName(F::PrixUniTTC, row);
  if (price.empty()) return;
  if (!sm.IsReal(price)) {
    if (signal) {
      signal("Ligne " + IntToStr(row) + " : prix \"" + price + "\" non numerique, ligne laissee telle quelle",
             clSignalRed);
    }
    return;
  }
  const std::string newPrice = sm.FormatRealStringStrict(sm.RealToText(factor * sm.MyStrToFloat(price)), ',', 2);
  lines.SetCellByName(F::PrixUniTTC, row, newPrice);
  const std::string quantite = lines.GetCellByName(F::Quantite, row);
  if (sm.IsInteger(quantite) && sm.IsReal(newPrice)) {
    lines.SetCellForcedByName(F::MontantTTC, row, LineAmount(quantite, newPrice));
  }
}

}  // namespace

void HalvePrices(TMyStringGrid& lines, std::string& port, const TSignalProc& signal) {
  for (int row = 1; row < lines.GetRowCount(); ++row) MultiplyPrice(lines, row, 0.5, signal);
  TStringManager& sm = StringManager();
  if (sm.IsInteger(port)) port = IntToStr(sm.MyStrToInt(port) / 2);
}

void MultiplyPrices(TMyStringGrid& lines, double factor, const TSignalProc& signal) {
  for (int row = 1; row < lines.GetRowCount(); ++row) MultiplyPrice(lines, row, factor, signal);
}

void RemoveParapharmacy(TMyStringGrid& lines, const TSignalProc& signal) {
  const int fixedRows = lines.GetGrid()->GetFixedRows();
  int row = fixedRows;
  while (row < lines.GetRowCount()) {
    const std::string code = lines.GetCellByName(F::Code, row);
    if (!lines.CheckType(code, ctParapharmacy)) {
      ++row;
      continue;
    }
    if (lines.GetRowCount() - fixedRows > 1) {
      lines.DeleteLine(row);
      lines.NumberRows();
      continue;
    }
    // The grid refuses to lose its last line: that line is emptied, which
    // leaves the piece as it would be had the line gone.
    const std::string designation = lines.GetCellByName(F::Designation, row);
    for (int col = lines.GetGrid()->GetFixedCols(); col < lines.GetColCount(); ++col) lines.SetCellForced(col, row, "");
    if (signal) signal("Derniere ligne videe : " + code + " " + designation, clSignalRed);
    break;
  }
}
