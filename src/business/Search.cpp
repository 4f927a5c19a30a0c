#include "Search.h"

#include "ArticleCode.h"
#include "Catalogue.h"
#include "Cp1252.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

namespace F = Catalogue::Field;

constexpr TSearchField kFacturesFields[] = {{F::NumFacture, false}, {F::Societe, false}, {F::CodeClient, false}};
constexpr TSearchField kDevisFields[] = {{F::NumDevis, false}, {F::Societe, false}, {F::CodeClient, false}};
constexpr TSearchField kAvoirsFields[] = {{F::NumAvoir, false}, {F::Societe, false}, {F::CodeClient, false}};
constexpr TSearchField kArticlesFields[] = {{F::Code, false}, {F::Designation, false}};
// The order matters: the clients come out field by field in this order.
constexpr TSearchField kClientsFields[] = {
    {F::Societe, false},    {F::Code, false},     {F::Adresse1, false}, {F::Adresse2, false}, {F::Adresse3, false},
    {F::CodePostal, false}, {F::Contact, false},  {F::Email, true},     {F::Pays, false},     {F::Ville, false},
    {F::Telephone, false},  {F::Fax, false},      {F::ImmTVA, false},   {F::Portable, false}};

template <std::size_t N>
constexpr int Count(const TSearchField (&)[N]) {
  return static_cast<int>(N);
}

}  // namespace

namespace SearchLists {

const TSearchList Factures{"Facture",
                           &TPieceTables::Factures,
                           kFacturesFields,
                           Count(kFacturesFields),
                           "Num Facture;Code client;Societe;Total TTC;Date",
                           {ctNotFactureNumberNorEmpty, ctNotClientCodeNorEmpty, ctNoText, ctNegativeReal, ctNoText},
                           {ctEmpty, ctEmpty, ctEmpty, ctNotReal, ctNotDate},
                           F::Date,
                           false};
const TSearchList Devis{"Devis",
                        &TPieceTables::Devis,
                        kDevisFields,
                        Count(kDevisFields),
                        "Num Devis;Code client;Societe;Total TTC",
                        {ctNotDevisNumberNorEmpty, ctNotClientCodeNorEmpty, ctNoText, ctNegativeReal},
                        {ctEmpty, ctEmpty, ctEmpty, ctNotReal},
                        F::NumDevis,
                        false};
const TSearchList Avoirs{"Avoir",
                         &TPieceTables::Avoirs,
                         kAvoirsFields,
                         Count(kAvoirsFields),
                         "Num Avoir;Code client;Societe;Total TTC",
                         {ctNotAvoirNumberNorEmpty, ctNotClientCodeNorEmpty, ctNoText, ctNegativeReal},
                         {ctEmpty, ctEmpty, ctEmpty, ctNotReal},
                         F::NumAvoir,
                         false};
const TSearchList Articles{"Articles",
                           &TPieceTables::Articles,
                           kArticlesFields,
                           Count(kArticlesFields),
                           kArticleCandidatesFilter,
                           {ctPsychotropeIfCIP, ctEmpty, ctNonPositiveReal, ctNonPositiveReal},
                           {ctStupefiant, ctNoText, ctNotReal, ctNotReal},
                           nullptr,
                           true};
const TSearchList Clients{"Clients",
                          &TPieceTables::Clients,
                          kClientsFields,
                          Count(kClientsFields),
                          "Code;Societe",
                          {ctNotClientCodeNorEmpty, ctNoText},
                          {ctEmpty, ctEmpty},
                          nullptr,
                          false};

}  // namespace SearchLists

std::string SearchWord(const std::string& text) {
  TStringManager& sm = StringManager();
  return sm.GetToken(sm.TrimChar(text, ' '), 1, ' ');
}

std::string SearchPattern(const std::string& word) { return "^.*" + word + ".*$"; }

bool QuerySearch(TMyDatabase& table, const TSearchList& list, const std::string& text) {
  std::string word = SearchWord(text);
  if (list.ReadsArticleCode) {
    const TArticleCode read = ReadArticleCode(text);
    if (!read.Code.empty()) word = read.Code;
  }
  const std::string upper = SearchPattern(UpperCase1252(word));
  const std::string asTyped = SearchPattern(word);
  try {
    for (int i = 0; i < list.FieldCount; ++i) {
      const TSearchField& field = list.Fields[i];
      const std::string& pattern = field.AsTyped ? asTyped : upper;
      if (i == 0) {
        table.Query(field.Name, pattern, Pattern);
      } else {
        table.QueryAdd(field.Name, pattern, Pattern);
      }
    }
  } catch (const ERegExError& e) {
    // A word such as "(" is no pattern: the search stops there and the user
    // is told why.
    ShowMessage(e.Message);
    return false;
  }
  return true;
}

void SetupSearchColumns(TMyStringGrid& grid, const TSearchList* list) {
  grid.ClearColorConstraints();
  if (list == nullptr) return;
  const int columns = StringManager().CountTokens(list->Columns, ';');
  grid.SetColCount(columns);
  // The constraints go on every row; the colours are worked out once, at the
  // end, rather than after each constraint.
  TAutomaticOff automaticOff(grid);
  for (int col = 0; col < columns && col < 5; ++col) {
    grid.AddColColorConstraint(col, list->Yellow[col], clWarningYellow);
    grid.AddColColorConstraint(col, list->Red[col], clErrorRed);
  }
  grid.SetAutomatic(true);
  grid.UpdateDimensions();
}

bool FillSearchResults(TMyStringGrid& grid, TMyDatabase& table, const TSearchList& list) {
  if (table.QueryResultCount() == 0) return false;
  grid.SetColCount(StringManager().CountTokens(list.Columns, ';'));
  // The previous results go at once rather than cell by cell.
  grid.SetRowCount(grid.GetFixedRows() + 1);
  {
    // Written cell by cell, every result would be recoloured as it arrives:
    // the colours are worked out once, at the end.
    TAutomaticOff automaticOff(grid);
    table.DisplayQuery(&grid, list.Columns, true);
    grid.SetAutomatic(true);
  }
  // In the results grid's own direction: descending (the latest invoice,
  // the highest number first) until a title click on the results turns it.
  if (list.SortedBy != nullptr) grid.TrierColonne(list.SortedBy);
  grid.UpdateDimensions();
  return true;
}

std::vector<std::string> ClientSearchLines(TMyDatabase& clients, const std::string& text) {
  try {
    clients.Query(Catalogue::Clients::Societe, SearchPattern(UpperCase1252(SearchWord(text))), Pattern);
  } catch (const ERegExError& e) {
    ShowMessage(e.Message);
    return {};
  }
  std::vector<std::string> lines{"Recherche Client"};
  if (clients.QueryResultCount() == 0) lines.emplace_back("Pas de reponses");
  for (int i = 0; i < clients.QueryResultCount(); ++i) {
    lines.push_back(clients.GetQueryResultString(Catalogue::Clients::Code, i) + "   " +
                    clients.GetQueryResultString(Catalogue::Clients::Societe, i));
  }
  return lines;
}
