#include "OrderImport.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "Catalogue.h"
#include "Cp1252.h"
#include "FileUtils.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "Trace.h"

namespace F = Catalogue::Field;

namespace {

std::string Without(std::string text, const char* characters) {
  text.erase(std::remove_if(text.begin(), text.end(),
                            [characters](char c) { return std::string_view(characters).find(c) != std::string_view::npos; }),
             text.end());
  return text;
}

void WriteAmount(TMyStringGrid& lines, int row) {
  lines.SetCellForcedByName(F::MontantTTC, row,
                            OrderLineAmount(lines.GetCellByName(F::PrixUniTTC, row), lines.GetCellByName(F::Quantite, row)));
}

bool QuantityIsInteger(TMyStringGrid& lines, int row) {
  return lines.CheckType(lines.GetCellByName(F::Quantite, row), ctInteger);
}

// One line of the order into one row of the grid, in the order that makes
// each line's amount right: a code brings its price before the quantity is
// written (the amount is computed then), a name comes after the quantity
// (the amount is computed with the article's price).
void FillRow(TMyStringGrid& lines, TMyDatabase& articles, TOrderLineReader& reader, const std::string& line, int row) {
  const TOrderLineMatch match = reader.Read(NormaliseOrderLine(line));
  if (match.HasCode) {
    lines.SetCellByName(F::Code, row, match.Code);
    articles.Query(F::Code, match.Code, Exact);
    if (articles.QueryResultCount() > 0) {
      lines.SetCellByName(F::Designation, row, articles.GetQueryResultString(F::Designation, 0));
      lines.SetCellByName(F::PrixUniTTC, row, articles.GetQueryResultString(F::PrixVente, 0));
      if (QuantityIsInteger(lines, row)) WriteAmount(lines, row);
    }
  }
  if (match.HasQuantity) {
    lines.SetCellByName(F::Quantite, row, match.Quantite);
    if (lines.CheckType(lines.GetCellByName(F::PrixUniTTC, row), ctNonNegativeReal)) WriteAmount(lines, row);
  }
  if (!match.HasCode && match.HasName) {
    lines.SetCellByName(F::Designation, row, match.Name);
    articles.Query(F::Designation, match.Name, Prefix);
    if (articles.QueryResultCount() == 1) {
      lines.SetCellByName(F::Code, row, articles.GetQueryResultString(F::Code, 0));
      lines.SetCellByName(F::Designation, row, articles.GetQueryResultString(F::Designation, 0));
      lines.SetCellByName(F::PrixUniTTC, row, articles.GetQueryResultString(F::PrixVente, 0));
      if (QuantityIsInteger(lines, row)) WriteAmount(lines, row);
    }
  }
}

}  // namespace

std::string NormaliseOrderLine(const std::string& line) {
  TStringManager& sm = StringManager();
  std::string text = line;
  std::replace(text.begin(), text.end(), '\t', ' ');
  text = sm.ReplaceAll(text, "  ", " ");
  return sm.TrimChar(text, ' ');
}

TOrderLineReader::TOrderLineReader()
    : fCode(OrderPatterns::Code),
      fQuantityAtEnd(OrderPatterns::QuantityAtEnd),
      fQuantityAtStart(OrderPatterns::QuantityAtStart),
      fNameAtStart(OrderPatterns::NameAtStart),
      fNameAfterNumbers(OrderPatterns::NameAfterNumbers) {}

TOrderLineMatch TOrderLineReader::Read(const std::string& normalisedLine) {
  TOrderLineMatch match;
  if (fCode.Match(normalisedLine)) {
    match.HasCode = true;
    match.Code = Without(fCode.Group(1), ". ");
  }
  const bool atEnd = fQuantityAtEnd.Match(normalisedLine);
  const bool atStart = fQuantityAtStart.Match(normalisedLine);
  if (atEnd || atStart) {
    std::string quantite = Without(atStart ? fQuantityAtStart.Group(1) : fQuantityAtEnd.Group(1), " ");
    while (quantite.size() > 1 && quantite[0] == '0') quantite.erase(0, 1);
    match.HasQuantity = true;
    match.Quantite = quantite;
  }
  if (!match.HasCode) {
    const bool atStartName = fNameAtStart.Match(normalisedLine);
    const bool afterNumbers = fNameAfterNumbers.Match(normalisedLine);
    if (atStartName || afterNumbers) {
      match.HasName = true;
      match.Name = StringManager().TrimChar(
          UpperCaseAToZ(afterNumbers ? fNameAfterNumbers.Group(1) : fNameAtStart.Group(1)), ' ');
    }
  }
  return match;
}

void FillOrderLines(TMyStringGrid& lines, TMyDatabase& articles, const std::vector<std::string>& orderLines) {
  TOrderLineReader reader;
  const int fixedRows = lines.GetFixedRows();
  // An empty order still leaves the editor its one empty line.
  lines.SetRowCount(fixedRows + std::max<int>(1, static_cast<int>(orderLines.size())));
  for (std::size_t i = 0; i < orderLines.size(); ++i) {
    FillRow(lines, articles, reader, orderLines[i], fixedRows + static_cast<int>(i));
  }
  lines.Refresh();
}

std::string OrderLineAmount(const std::string& prix, const std::string& quantite) {
  TStringManager& sm = StringManager();
  const long double amount =
      static_cast<long double>(sm.MyStrToFloat(prix)) * static_cast<long double>(sm.MyStrToInt(quantite));
  return sm.FormatRealStringStrict(sm.RealToText(amount), ',', 2);
}

std::vector<std::string> OrderFileLines(const std::string& bytes) { return SplitLines(bytes); }

std::vector<std::string> WaitingOrders() {
  return ListFiles(Catalogue::Importation::TodoFolderLocal, Catalogue::Importation::OrderWildcard);
}

std::string FirstWaitingOrder() {
  const std::vector<std::string> names = WaitingOrders();
  return names.empty() ? std::string() : names.front();
}

std::string MoveOrderToDone(const std::string& name) {
  const std::string done = Catalogue::Importation::DoneFolderLocal;
  std::error_code ec;
  std::filesystem::create_directories(done, ec);
  const std::string source = std::string(Catalogue::Importation::TodoFolderLocal) + name;
  // A name taken meanwhile is simply tried again with the next counter.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string target = FreeFileName(done, name);
    if (MoveFileNoReplace(source, done + target)) return target;
    if (!FileExists(done + target)) break;
  }
  Error("Importation : impossible de deplacer " + source + " vers " + done);
  return std::string();
}
