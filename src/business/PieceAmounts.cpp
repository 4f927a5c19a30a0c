#include "PieceAmounts.h"

#include "Catalogue.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "StringManager.h"

namespace F = Catalogue::Field;

std::string LineAmount(const std::string& quantite, const std::string& prix) {
  // A line being typed has no quantity or no price yet: that is no amount
  // yet, not a number that cannot be read.
  if (quantite.empty() || prix.empty()) return std::string();
  TStringManager& sm = StringManager();
  const int q = sm.MyStrToInt(quantite);
  const double p = sm.MyStrToFloat(prix);
  const long double amount = static_cast<long double>(q) * static_cast<long double>(p);
  return sm.FormatRealStringStrict(sm.RealToText(amount), ',', 2);
}

namespace {

TPieceTotals TotalsOf(double sum, const std::string& port) {
  TStringManager& sm = StringManager();
  const double portValue = sm.IsReal(port) ? sm.MyStrToFloat(port) : 0.0;
  TPieceTotals totals;
  totals.TotalHT = sm.FormatRealStringStrict(sm.RealToText(sum), ',', 2);
  totals.TotalTTC = sm.FormatRealString(sm.RealToText(sum + portValue), ',', 2);
  return totals;
}

// The weight of one line: quantity x the article's "Poids" when the code is a
// CIP code of exactly one article and the quantity an integer, else 0.
double LineWeight(const std::string& code, bool cip, const std::string& quantite, TMyDatabase& articles,
                  const TSignalProc& signal) {
  TStringManager& sm = StringManager();
  if (!cip || !sm.IsInteger(quantite)) return 0;
  articles.Query(F::Code, code, Exact);
  if (articles.QueryResultCount() != 1) return 0;
  const std::string poids = articles.GetQueryResultString(F::Poids, 0);
  if (!sm.IsReal(poids)) {
    // The article record is wrong, not the piece: the line weighs nothing
    // and the desk is told which article to correct.
    if (signal) signal("Poids non valide pour l'article " + code + " : \"" + poids + "\", compte pour 0", clSignalRed);
    return 0;
  }
  return sm.MyStrToInt(quantite) * sm.MyStrToFloat(poids);
}

}  // namespace

TPieceTotals ComputeTotals(const TMyStringGrid& lines, const std::string& port) {
  TStringManager& sm = StringManager();
  double sum = 0;
  const int col = lines.GetColIndex(F::MontantTTC);
  if (col >= 0) {
    for (int row = lines.GetGrid()->GetFixedRows(); row < lines.GetRowCount(); ++row) {
      const std::string amount = lines.GetCell(col, row);
      if (sm.IsReal(amount)) sum += sm.MyStrToFloat(amount);
    }
  }
  return TotalsOf(sum, port);
}

std::optional<std::string> TotalTTCForPort(const std::string& totalHT, const std::string& port, bool portRed) {
  if (port.empty()) return totalHT;
  TStringManager& sm = StringManager();
  if (portRed || !sm.IsReal(totalHT)) return std::nullopt;
  // A port shown white or yellow is a number, with "." or ",".
  if (!sm.IsReal(port)) return std::nullopt;
  return sm.FormatRealString(sm.RealToText(sm.MyStrToFloat(totalHT) + sm.MyStrToFloat(port)), ',', 2);
}

std::string ComputeWeight(TMyStringGrid& lines, TMyDatabase& articles, const TSignalProc& signal) {
  const int codeCol = lines.GetColIndex(F::Code);
  const int quantiteCol = lines.GetColIndex(F::Quantite);
  double weight = 0;
  if (codeCol >= 0 && quantiteCol >= 0) {
    for (int row = lines.GetGrid()->GetFixedRows(); row < lines.GetRowCount(); ++row) {
      const std::string code = lines.GetCell(codeCol, row);
      weight += LineWeight(code, lines.CheckType(code, 26), lines.GetCell(quantiteCol, row), articles, signal);
    }
  }
  return StringManager().RealToText(weight);
}

THeaderAmounts ComputeLineFileAmounts(TMyDatabase& lines, TMyDatabase& articles, const std::string& port) {
  TStringManager& sm = StringManager();
  const int amountField = lines.FieldExists(F::MontantTTC) ? lines.GetFieldPos(F::MontantTTC) : -1;
  const int codeField = lines.FieldExists(F::Code) ? lines.GetFieldPos(F::Code) : -1;
  const int quantiteField = lines.FieldExists(F::Quantite) ? lines.GetFieldPos(F::Quantite) : -1;
  double sum = 0;
  double weight = 0;
  lines.QueryAll();
  for (int i = 0; i < lines.QueryResultCount(); ++i) {
    const int record = lines.QueryGetDataIndex(i);
    if (amountField >= 0) {
      const std::string amount = lines.DBGetString(amountField, record);
      if (sm.IsReal(amount)) sum += sm.MyStrToFloat(amount);
    }
    if (codeField >= 0 && quantiteField >= 0) {
      const std::string code = lines.DBGetString(codeField, record);
      weight += LineWeight(code, sm.IsCIP(code), lines.DBGetString(quantiteField, record), articles, nullptr);
    }
  }
  const TPieceTotals totals = TotalsOf(sum, port);
  return THeaderAmounts{totals.TotalHT, totals.TotalTTC, sm.RealToText(weight)};
}

std::string GetClientPays(TMyDatabase& clients, const std::string& code) {
  clients.Query(Catalogue::Clients::Code, code, Exact);
  if (clients.QueryResultCount() != 1) return std::string();
  return clients.GetQueryResultString(Catalogue::Clients::Pays, 0);
}

bool IsFirstOrder(TMyDatabase& factures, const std::string& code) {
  factures.Query(Catalogue::Factures::CodeClient, code, Exact);
  return factures.QueryResultCount() == 0;
}
