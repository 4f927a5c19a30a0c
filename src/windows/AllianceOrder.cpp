#include "AllianceOrder.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>
#include <vector>

#include "Catalogue.h"
#include "FileUtils.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

namespace F = Catalogue::Field;

constexpr const char* kQte = "Qte";
constexpr const char* kCIP = "CIP";
// Designations are cut to this many characters: the printed blocks are
// narrow.
constexpr std::size_t kDesignationLength = 8;

// The value of a field of a record, "" when the table has no such field (a
// line file of another shape adds nothing rather than a message per line).
std::string ValueOf(const TMyDatabase& table, int field, int record) {
  return field < 0 ? std::string() : table.DBGetString(field, record);
}

int FieldOf(const TMyDatabase& table, const char* name) { return table.FieldExists(name) ? table.GetFieldPos(name) : -1; }

// The integer of a text of the integer shape, false when the text is none or
// does not fit.
bool ReadInteger(const std::string& text, long long& value) {
  if (!StringManager().IsInteger(text)) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// Titles and columns of a grid, one empty data row.
void ResetGrid(TMyStringGrid& grid, const char* titles) {
  const int fixedCols = grid.GetFixedCols();
  grid.SetColCount(StringManager().CountTokens(titles, ';') + fixedCols);
  grid.setTitles(titles);
  grid.SetRowCount(grid.GetFixedRows() + 1);
  grid.ClearCells();
}

}  // namespace

TAllianceOrder::TAllianceOrder(TMyStringGrid& invoices, TMyStringGrid& chosen, TMyStringGrid& articles,
                               TMyStringGrid& buffer)
    : fInvoices(invoices), fChosen(chosen), fArticles(articles), fBuffer(buffer) {}

void TAllianceOrder::Charger(TMyDatabase* factures, const std::string& lineFolder, TDateTime since) {
  fFactures = factures;
  fLineFolder = lineFolder;
  Recharger(since);
}

void TAllianceOrder::Release() { fFactures = nullptr; }

void TAllianceOrder::Recharger(TDateTime since) {
  ResetGrid(fChosen, kAllianceInvoiceColumns);
  if (fFactures == nullptr) return;
  TMyDatabase& table = *fFactures;
  table.Query(F::Port, "0", Exact);

  // The invoices dated before the picker's moment are left out as the list
  // is written, rather than written and then deleted one row at a time: a
  // large installation has tens of thousands of invoices in progress over
  // the years, and deleting them row by row would take minutes.
  const int date = FieldOf(table, F::Date);
  std::vector<int> kept;
  kept.reserve(static_cast<std::size_t>(table.QueryResultCount()));
  for (int i = 0; i < table.QueryResultCount(); ++i) {
    const int record = table.QueryGetDataIndex(i);
    TDateTime day = 0;
    // A date that cannot be read is kept: the invoice is in progress and the
    // user can still see and choose it.
    if (TryStrToDate(ValueOf(table, date, record), day) && since > day) continue;
    kept.push_back(record);
  }

  const int fixedCols = fInvoices.GetFixedCols();
  const int fixedRows = fInvoices.GetFixedRows();
  const int columns = StringManager().CountTokens(kAllianceInvoiceColumns, ';');
  std::vector<int> fields(static_cast<std::size_t>(columns));
  for (int c = 0; c < columns; ++c) {
    fields[static_cast<std::size_t>(c)] =
        FieldOf(table, StringManager().GetToken(kAllianceInvoiceColumns, c + 1, ';').c_str());
  }
  {
    TAutomaticOff automaticOff(fInvoices);
    fInvoices.SetColCount(columns + fixedCols);
    fInvoices.setTitles(kAllianceInvoiceColumns);
    // The previous list goes at once.
    fInvoices.SetRowCount(fixedRows + 1);
    fInvoices.ClearCells();
    fInvoices.SetRowCount(std::max<int>(static_cast<int>(kept.size()), 1) + fixedRows);
    for (std::size_t k = 0; k < kept.size(); ++k) {
      for (int c = 0; c < columns; ++c) {
        fInvoices.SetCellForced(c + fixedCols, fixedRows + static_cast<int>(k),
                                ValueOf(table, fields[static_cast<std::size_t>(c)], kept[k]));
      }
    }
    fInvoices.SetAutomatic(true);
  }
  fInvoices.UpdateDimensions();
  fInvoices.SetRow(fixedRows);
}

void TAllianceOrder::Choisir() {
  const int row = fInvoices.GetRow();
  if (row < fInvoices.GetFixedRows() || row >= fInvoices.GetRowCount()) return;
  const std::string number = fInvoices.GetCellByName(F::NumFacture, row);
  // The empty row at the end of the chosen ones answers for an empty number:
  // an empty invoice row is never chosen either.
  if (fChosen.FindCell(number, F::NumFacture).second >= 0) return;
  const int last = fChosen.GetRowCount() - 1;
  const int columns = std::min(fInvoices.GetColCount(), fChosen.GetColCount());
  for (int col = fInvoices.GetFixedCols(); col < columns; ++col) {
    fChosen.SetCellForced(col, last, fInvoices.GetCell(col, row));
  }
  fChosen.InsertEmptyLine(fChosen.GetRowCount(), false);
}

void TAllianceOrder::Enlever() {
  const int row = fChosen.GetRow();
  // The empty row at the end is where the next invoice goes: it stays.
  if (row < fChosen.GetFixedRows() || row >= fChosen.GetRowCount() - 1) return;
  fChosen.DeleteLine(row);
}

void TAllianceOrder::ResetArticles() {
  fArticles.SetColCount(4);
  fArticles.setTitles(kAllianceArticleColumns);
  fArticles.SetRowCount(fArticles.GetFixedRows() + 1);
  fArticles.ClearCells();
}

std::string TAllianceOrder::Go() {
  // The list is added up apart from the grid and written to it once: an
  // order of a few hundred lines would otherwise re-measure the grid at
  // every article.
  struct TArticle {
    std::string Qte;
    std::string CIP;
    std::string Designation;
  };
  std::vector<TArticle> articles;
  std::unordered_map<std::string, std::size_t> byCode;
  long long lines = 0;
  for (int row = fChosen.GetFixedRows(); row < fChosen.GetRowCount(); ++row) {
    const std::string number = fChosen.GetCellByName(F::NumFacture, row);
    if (number.empty()) continue;
    const std::string file = fLineFolder + number + Catalogue::TableExtension;
    if (!FileExists(file)) continue;
    TMyDatabase table(file);
    table.QueryAll();
    lines += table.QueryResultCount();
    const int code = FieldOf(table, F::Code);
    const int quantity = FieldOf(table, F::Quantite);
    const int designation = FieldOf(table, F::Designation);
    for (int i = 0; i < table.QueryResultCount(); ++i) {
      const int record = table.QueryGetDataIndex(i);
      const std::string cip = ValueOf(table, code, record);
      const std::string qte = ValueOf(table, quantity, record);
      // A line without code meets the empty row at the end of the list,
      // whose empty quantity adds nothing.
      if (cip.empty()) continue;
      const auto [found, added] = byCode.try_emplace(cip, articles.size());
      if (added) {
        articles.push_back({qte, cip, ValueOf(table, designation, record).substr(0, kDesignationLength)});
        continue;
      }
      // Only whole quantities add up; a quantity such as "2,5" keeps the
      // row as it is and the new quantity is not counted.
      TArticle& article = articles[found->second];
      long long sum = 0;
      long long more = 0;
      if (!ReadInteger(article.Qte, sum) || !ReadInteger(qte, more)) continue;
      if (__builtin_add_overflow(sum, more, &sum)) continue;
      article.Qte = IntToStr(sum);
    }
  }

  ResetArticles();
  const int fixedRows = fArticles.GetFixedRows();
  {
    TAutomaticOff automaticOff(fArticles);
    // A list without any article keeps its empty row: a grid always holds
    // one data row.
    fArticles.SetRowCount(fixedRows + std::max<int>(static_cast<int>(articles.size()), 1));
    const int qte = fArticles.GetColIndex(kQte);
    const int cip = fArticles.GetColIndex(kCIP);
    const int designation = fArticles.GetColIndex(F::Designation);
    for (std::size_t k = 0; k < articles.size(); ++k) {
      const int row = fixedRows + static_cast<int>(k);
      fArticles.SetCellForced(qte, row, articles[k].Qte);
      fArticles.SetCellForced(cip, row, articles[k].CIP);
      fArticles.SetCellForced(designation, row, articles[k].Designation);
    }
    fArticles.SetAutomatic(true);
  }
  fArticles.UpdateDimensions();
  fArticles.SetRow(fixedRows);
  return IntToStr(static_cast<long long>(articles.size())) + " / " + IntToStr(lines);
}

void TAllianceOrder::MettreEnPage() {
  fArticles.fSortAscending = true;
  fArticles.TrierColonne(F::Designation);

  const int n = fArticles.GetRowCount();
  const int qte = fArticles.GetColIndex(kQte);
  const int cip = fArticles.GetColIndex(kCIP);
  const int designation = fArticles.GetColIndex(F::Designation);
  fBuffer.fNumberingOn = false;
  {
    TAutomaticOff automaticOff(fBuffer);
    fBuffer.SetColCount(10);
    // The previous layout goes at once.
    fBuffer.SetRowCount(fBuffer.GetFixedRows() + 1);
    // Titles and row numbers included: column 0 stays empty.
    for (int row = 0; row < fBuffer.GetRowCount(); ++row) {
      for (int col = 0; col < fBuffer.GetColCount(); ++col) fBuffer.SetCellForced(col, row, "");
    }
    fBuffer.SetRowCount((n / kBandRows + 1) * kBlockRows + 2);
    for (int i = 0; i < n; ++i) {
      const int band = i / kBandRows;
      const int block = (i % kBandRows) / kBlockRows;
      const int row = band * kBlockRows + i % kBlockRows;
      fBuffer.SetCellForced(3 * block + 1, row, fArticles.GetCell(cip, i));
      fBuffer.SetCellForced(3 * block + 2, row, fArticles.GetCell(qte, i));
      fBuffer.SetCellForced(3 * block + 3, row, fArticles.GetCell(designation, i));
    }
    fBuffer.SetAutomatic(true);
  }
  fBuffer.UpdateDimensions();
  fBuffer.AutoSizeCols();
}
