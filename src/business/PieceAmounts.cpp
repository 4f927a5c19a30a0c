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
  const double portValue = sm.IsReal(port) ? sm.MyStrToFloat(port) : 0.0;
  TPieceTotals totals;
  totals.TotalHT = sm.FormatRealStringStrict(sm.RealToText(sum), ',', 2);
  totals.TotalTTC = sm.FormatRealString(sm.RealToText(sum + portValue), ',', 2);
  return totals;
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
  TStringManager& sm = StringManager();
  const int codeCol = lines.GetColIndex(F::Code);
  const int quantiteCol = lines.GetColIndex(F::Quantite);
  double weight = 0;
  if (codeCol >= 0 && quantiteCol >= 0) {
    for (int row = lines.GetGrid()->GetFixedRows(); row < lines.GetRowCount(); ++row) {
      const std::string code = lines.GetCell(codeCol, row);
      if (!lines.CheckType(code, 26)) continue;
      const std::string quantite = lines.GetCell(quantiteCol, row);
      if (!sm.IsInteger(quantite)) continue;
      articles.Query(F::Code, code, Exact);
      if (articles.QueryResultCount() != 1) continue;
      const std::string poids = articles.GetQueryResultString(F::Poids, 0);
      if (!sm.IsReal(poids)) {
        // The article record is wrong, not the piece: the line weighs
        // nothing and the desk is told which article to correct.
        if (signal) signal("Poids non valide pour l'article " + code + " : \"" + poids + "\", compte pour 0", clSignalRed);
        continue;
      }
      weight += sm.MyStrToInt(quantite) * sm.MyStrToFloat(poids);
    }
  }
  return sm.RealToText(weight);
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
