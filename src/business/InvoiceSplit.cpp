#include "InvoiceSplit.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "Catalogue.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PieceKinds.h"
#include "StringManager.h"
#include "Trace.h"

namespace F = Catalogue::Field;

namespace {

constexpr const char* kUnit = "TQuorix_Form.ScinderCommit : ";

}  // namespace

std::string TSplitPlan::Name(int k) const { return Number + IntToStr(k); }

bool ComputeSplit(TMyDatabase& splitLines, const TMyStringGrid& factureList, int n, TSplitPlan& plan) {
  plan = TSplitPlan();
  splitLines.QueryAll();
  const int lineCount = splitLines.QueryResultCount();
  if (lineCount == 0) return false;

  TStringManager& sm = StringManager();
  plan.Count = std::clamp(n, kSplitMin, kSplitMax);
  plan.LineCount = lineCount;
  const int row = factureList.GetRow();
  plan.Number = factureList.GetCellByName(F::NumFacture, row);
  // The stored header total, not a sum of the lines.
  const double target = sm.MyStrToFloat(factureList.GetCellByName(F::TotalHT, row)) / plan.Count;

  auto amount = [&](int i) { return sm.MyStrToFloat(splitLines.GetQueryResultString(F::MontantTTC, i)); };
  int i = 0;
  for (int k = 1; k <= plan.Count - 1; ++k) {
    plan.First[k] = i;
    // The last line is always left for the last invoice.
    while (i < lineCount - 1 && plan.Total[k] <= target) {
      plan.Total[k] += amount(i);
      ++i;
    }
    plan.Last[k] = i - 1;
  }
  const int last = plan.Count;
  plan.First[last] = i;
  plan.Last[last] = lineCount - 1;
  for (int j = i; j < lineCount; ++j) plan.Total[last] += amount(j);
  return true;
}

std::array<std::string, kSplitMax> SplitPreviewTexts(const TSplitPlan& plan) {
  std::array<std::string, kSplitMax> texts;
  for (int k = 1; k <= kSplitMax; ++k) texts[k - 1] = StringManager().RealToText(plan.Total[k]);
  return texts;
}

bool SplitPorts(const std::string& portText, TSplitPlan& plan, std::string& message) {
  TStringManager& sm = StringManager();
  if (!sm.IsInteger(portText)) {
    message = "'" + portText + "' n'est pas une valeur enti\xE8re correcte";
    return false;
  }
  const int n = plan.Count;
  if (n < kSplitMin) return false;
  const long long p = sm.MyStrToInt(portText);
  const long long share = p / n;
  for (int k = 1; k <= kSplitMax; ++k) plan.Port[k] = 0;
  for (int k = 1; k <= n - 1; ++k) plan.Port[k] = static_cast<int>(share);
  plan.Port[n] = static_cast<int>(p - share * (n - 1));
  return true;
}

bool CutLineFile(const std::string& fileName, int first, int last) {
  auto lines = std::make_unique<TMyDatabase>(fileName);
  if (lines->FieldCount() == 0) {
    Error(std::string(kUnit) + "Lignes illisibles : " + fileName);
    return false;
  }
  lines->QueryAll();
  // The positions are read once: deleting does not move the others.
  std::vector<int> records;
  for (int i = 0; i < lines->QueryResultCount(); ++i) records.push_back(lines->QueryGetDataIndex(i));
  for (int i = 0; i < static_cast<int>(records.size()); ++i) {
    if (i < first || i > last) lines->Delete(records[static_cast<std::size_t>(i)]);
  }
  if (!lines->Save()) {
    Error(std::string(kUnit) + "Ecriture impossible de " + fileName);
    return false;
  }
  return true;
}

TSplitCommit CommitSplit(TMyDatabase& factures, TSplitPlan& plan, const TSplitSteps& steps) {
  if (plan.Count < kSplitMin || plan.LineCount == 0) return TSplitCommit::NoLines;
  try {
    factures.Query(F::NumFacture, plan.Number, Exact);
    if (factures.QueryResultCount() == 0) {
      Error(std::string(kUnit) + "Facture introuvable : " + plan.Number);
      return TSplitCommit::Refused;
    }
    std::string message;
    if (!SplitPorts(factures.GetQueryResultString(F::Port, 0), plan, message)) {
      ShowMessage(message);
      return TSplitCommit::Refused;
    }
    // A second split of the same invoice would give two header records to
    // one number: the invoices of the first one are left as they are.
    for (int k = 1; k <= plan.Count; ++k) {
      factures.Query(F::NumFacture, plan.Name(k), Exact);
      if (factures.QueryResultCount() > 0) {
        ShowMessage("La facture " + plan.Name(k) + " existe deja : scission de " + plan.Number + " abandonnee");
        return TSplitCommit::Refused;
      }
    }
  } catch (const ERegExError& e) {
    ShowMessage(e.Message);
    return TSplitCommit::Refused;
  }

  for (int k = 1; k <= plan.Count; ++k) {
    const std::string name = plan.Name(k);
    if (!steps.Duplicate || !steps.Duplicate(plan.Number, name)) return TSplitCommit::Stopped;
    CutLineFile(PieceKinds::Facture.LineFile(name), plan.First[k], plan.Last[k]);
    factures.Query(F::NumFacture, name, Exact);
    if (factures.QueryResultCount() > 0) {
      factures.SetData(F::Port, factures.QueryGetDataIndex(0), IntToStr(plan.Port[k]));
    }
    if (steps.SaveInEditor) steps.SaveInEditor(name);
    if (steps.Print) steps.Print(name);
  }
  return TSplitCommit::Done;
}
