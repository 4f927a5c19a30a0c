#include "PieceNumbers.h"

#include <algorithm>

#include "MyDatabase.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

std::string NextAfterHighest(TMyDatabase& table, const TPieceKind& kind) {
  TStringManager& sm = StringManager();
  table.QueryAll();
  long long highest = 0;
  for (int i = 0; i < table.QueryResultCount(); ++i) {
    const std::string number = table.GetQueryResultString(kind.KeyField(), i);
    const std::string digits = sm.MyStrCopy(number, 3, static_cast<int>(number.size()));
    if (sm.IsInteger(digits)) highest = std::max(highest, std::stoll(digits));
  }
  return std::string(kind.Prefix()) + IntToStr(highest + 1);
}

}  // namespace

std::string NextFactureNumber(TMyDatabase& factures, int& factureNumberBase) {
  const TPieceKind& kind = PieceKinds::Facture;
  // The first number above the base that an Exact query finds in no record,
  // found from the sorted index rather than by a query per number taken.
  long long n = factures.FirstFreeNumber(kind.KeyField(), kind.Prefix(), factureNumberBase);
  // The query of the number given, as the probe ends: it leaves the table's
  // query result as it always did, and a number found after all is passed.
  std::string number = std::string(kind.Prefix()) + IntToStr(n);
  factures.Query(kind.KeyField(), number, Exact);
  while (factures.QueryResultCount() > 0) {
    number = std::string(kind.Prefix()) + IntToStr(++n);
    factures.Query(kind.KeyField(), number, Exact);
  }
  factureNumberBase = static_cast<int>(n) - 10;
  return number;
}

std::string NextDevisNumber(TMyDatabase& devis) { return NextAfterHighest(devis, PieceKinds::Devis); }

std::string NextAvoirNumber(TMyDatabase& avoirs) { return NextAfterHighest(avoirs, PieceKinds::Avoir); }

std::string NextPieceNumber(const std::string& kind, const TPieceTables& tables, int& factureNumberBase) {
  const TPieceKind* k = PieceKinds::Find(kind);
  if (k == nullptr) return std::string();
  TMyDatabase* table = k->HeaderTableOf(tables);
  if (table == nullptr) return std::string();
  switch (k->Numbering) {
    case TPieceNumbering::AfterBase: return NextFactureNumber(*table, factureNumberBase);
    case TPieceNumbering::AfterHighest: return NextAfterHighest(*table, *k);
  }
  return std::string();
}
