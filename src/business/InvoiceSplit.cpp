#include "InvoiceSplit.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "Catalogue.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PieceAmounts.h"
#include "PieceKinds.h"
#include "StringManager.h"
#include "Trace.h"

namespace F = Catalogue::Field;

namespace {

constexpr const char* kUnit = "TQuorix_Form.ScinderCommit : ";

}  // namespace

std::string TSplitPlan::Name(int k) const { return Number + IntToStr(k); }

bool StartSplit(const TMyStringGrid& factureList, TSplitSource& source) {
  const int row = factureList.GetRow();
  source.Number = factureList.GetCellByName(F::NumFacture, row);
  // The stored header total, not a sum of the lines.
  source.TotalHT = factureList.GetCellByName(F::TotalHT, row);
  source.Lines = std::make_unique<TMyDatabase>(PieceKinds::Facture.LineFile(source.Number));
  source.LinesText = source.Lines->SaveToText();
  source.Lines->QueryAll();
  return source.Lines->QueryResultCount() > 0;
}

bool ComputeSplit(const TSplitSource& source, int n, TSplitPlan& plan) {
  plan = TSplitPlan();
  if (!source.Lines) return false;
  TMyDatabase& lines = *source.Lines;
  lines.QueryAll();
  const int lineCount = lines.QueryResultCount();
  if (lineCount == 0) return false;

  TStringManager& sm = StringManager();
  plan.Count = std::clamp(n, kSplitMin, kSplitMax);
  plan.LineCount = lineCount;
  plan.Number = source.Number;
  const double target = sm.MyStrToFloat(source.TotalHT) / plan.Count;

  auto amount = [&](int i) { return sm.MyStrToFloat(lines.GetQueryResultString(F::MontantTTC, i)); };
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
    Error(std::string(kUnit) + "Ecriture impossible de " + fileName + ", scission arretee");
    return false;
  }
  return true;
}

namespace {

// Why the recorded invoice can no longer be split as shown, or an empty text
// when it is as it was: its header record and its stored lines are read
// again.
std::string SourceChange(TMyDatabase& factures, const TSplitSource& source) {
  factures.Query(F::NumFacture, source.Number, Exact);
  if (factures.QueryResultCount() == 0) return "La facture " + source.Number + " n'existe plus : scission abandonnee";
  const std::string changed = "La facture " + source.Number + " a change depuis le choix de Scinder : scission abandonnee";
  if (factures.GetQueryResultString(F::TotalHT, 0) != source.TotalHT) return changed;
  const TMyDatabase stored(PieceKinds::Facture.LineFile(source.Number));
  if (stored.SaveToText() != source.LinesText) return changed;
  return std::string();
}

// Takes away a new invoice that could not be made whole: its header record
// (the table saved) and its line file, a copy of the source's lines.
void AbandonInvoice(TMyDatabase& factures, const std::string& name) {
  factures.Query(F::NumFacture, name, Exact);
  if (factures.QueryResultCount() > 0) {
    factures.Delete(factures.QueryGetDataIndex(0));
    factures.Save();
  }
  std::error_code ec;
  std::filesystem::remove(PieceKinds::Facture.LineFile(name), ec);
}

// The header of new invoice k, from its own cut lines: port, totals, weight.
bool WriteNewHeader(TMyDatabase& factures, TMyDatabase& articles, const TSplitPlan& plan, int k) {
  const std::string name = plan.Name(k);
  const std::string port = IntToStr(plan.Port[k]);
  TMyDatabase lines(PieceKinds::Facture.LineFile(name));
  const THeaderAmounts amounts = ComputeLineFileAmounts(lines, articles, port);
  factures.Query(F::NumFacture, name, Exact);
  if (factures.QueryResultCount() == 0) return false;
  const int record = factures.QueryGetDataIndex(0);
  factures.SetData(F::Port, record, port);
  factures.SetData(F::TotalHT, record, amounts.TotalHT);
  factures.SetData(F::TotalTTC, record, amounts.TotalTTC);
  factures.SetData(F::Poids, record, amounts.Poids);
  return factures.Save();
}

}  // namespace

TSplitCommit CommitSplit(TMyDatabase& factures, TMyDatabase& articles, const TSplitSource& source, TSplitPlan& plan,
                         const TSplitSteps& steps) {
  if (plan.Count < kSplitMin || plan.LineCount == 0) return TSplitCommit::NoLines;
  try {
    const std::string change = SourceChange(factures, source);
    if (!change.empty()) {
      ShowMessage(change);
      return TSplitCommit::Refused;
    }
    // An invoice without a line would be an empty invoice with its share of
    // the port.
    for (int k = 1; k <= plan.Count; ++k) {
      if (plan.Last[k] >= plan.First[k]) continue;
      ShowMessage("Scission de " + plan.Number + " en " + IntToStr(plan.Count) + " impossible : la facture " +
                  plan.Name(k) + " n'aurait aucune ligne");
      return TSplitCommit::Refused;
    }
    factures.Query(F::NumFacture, plan.Number, Exact);
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

  const std::string sourceFile = PieceKinds::Facture.LineFile(plan.Number);
  for (int k = 1; k <= plan.Count; ++k) {
    const std::string name = plan.Name(k);
    const std::string file = PieceKinds::Facture.LineFile(name);
    // The copy must hold the lines the plan was made on, or its cut would
    // keep other lines.
    const bool copied = steps.Duplicate && steps.Duplicate(plan.Number, name) &&
                        TMyDatabase(file).SaveToText() == source.LinesText;
    if (!copied) {
      AbandonInvoice(factures, name);
      Error(std::string(kUnit) + "Copie impossible de " + sourceFile + " vers " + file + ", scission arretee");
      return TSplitCommit::Stopped;
    }
    if (!CutLineFile(file, plan.First[k], plan.Last[k])) {
      AbandonInvoice(factures, name);
      return TSplitCommit::Stopped;
    }
    if (!WriteNewHeader(factures, articles, plan, k)) {
      Error(std::string(kUnit) + "Ecriture impossible de " + factures.GetFileName() + ", scission arretee");
      return TSplitCommit::Stopped;
    }
    if (steps.SaveInEditor && !steps.SaveInEditor(name)) {
      ShowMessage("La facture " + name + " n'a pas ete enregistree : scission de " + plan.Number + " arretee");
      return TSplitCommit::Stopped;
    }
    if (steps.Print) steps.Print(name);
  }
  return TSplitCommit::Done;
}
