#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "MemoryGridSurface.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PieceTestSupport.h"
#include "Search.h"
#include "StringManager.h"

namespace {

// The searched client fields, in the order the search adds them, and for each
// one a client that holds the searched word in that field only.
const char* const kClientFields[] = {"Societe",    "Code",    "Adresse 1", "Adresse 2", "Adresse 3",
                                     "Code postal", "Contact", "E-mail",    "Pays",      "Ville",
                                     "Telephone",  "Fax",     "Imm. TVA",  "Portable"};
constexpr int kClientFieldCount = 14;

// A clients table of one client per searched field, named "C" + the field's
// rank in its "Echeance" (not searched), plus a client
// whose e-mail holds the word in capitals, which the e-mail search must miss,
// and one holding the word in a field that is not searched.
std::unique_ptr<TMyDatabase> ClientsWithDupontEverywhere() {
  std::string text;
  for (int f = 0; f < kClientFieldCount; ++f) text += std::string(f ? ";" : "") + kClientFields[f];
  text += ";Societe livraison;Echeance\r\n";
  auto row = [](int rank, int dupontField, const std::string& email, const std::string& livraison) {
    std::string line;
    for (int f = 0; f < kClientFieldCount; ++f) {
      std::string value;
      if (f == 0) value = "SOC" + std::to_string(rank);
      if (f == 1) value = std::to_string(rank);
      if (f == 7) value = email;
      if (f == dupontField) value = f == 7 ? "m.dupont@mail.fr" : "AU DUPONTEL " + std::to_string(rank);
      line += (f ? ";" : "") + value;
    }
    return line + ";" + livraison + ";C" + std::to_string(rank) + "\r\n";
  };
  // Listed from the last field to the first, so that the field order, not the
  // file order, decides the order of the answers.
  for (int f = kClientFieldCount - 1; f >= 0; --f) text += row(f + 10, f, "", "");
  text += row(40, -1, "M.DUPONT@MAIL.FR", "");
  text += row(41, -1, "", "DUPONT LIVRAISON");
  return TableOf(text);
}

std::vector<std::string> Results(TMyDatabase& table, const std::string& field) {
  std::vector<std::string> out;
  for (int i = 0; i < table.QueryResultCount(); ++i) out.push_back(table.GetQueryResultString(field, i));
  return out;
}

// The results grid as the main window has it: one title row, no fixed
// column, no row numbers.
struct TResultsGrid {
  TResultsGrid() : Surface(2, 2, 0, 1) {
    Grid = std::make_unique<TMyStringGrid>(&Surface);
    Grid->SetFixedCols(0);
    Grid->fNumberingOn = false;
  }
  std::vector<std::string> Column(const std::string& name) const {
    std::vector<std::string> out;
    for (int row = 1; row < Grid->GetRowCount(); ++row) out.push_back(Grid->GetCellByName(name, row));
    return out;
  }
  TMemoryGridSurface Surface;
  std::unique_ptr<TMyStringGrid> Grid;
};

}  // namespace

TEST(Search, ClientsFoundThroughEveryListedFieldInTheFieldsOrder) {
  TTraceCapture capture;
  auto clients = ClientsWithDupontEverywhere();
  std::vector<std::string> expected;
  for (int f = 0; f < kClientFieldCount; ++f) expected.push_back("C" + std::to_string(f + 10));

  struct Row {
    const char* name;
    const char* typed;
  };
  const Row rows[] = {
      {"lower case", "dupont"},
      {"capitals", "DUPONT"},
      {"spaces around", "   dupont  "},
      {"two words use the first", "dupont martin"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    // The e-mail is matched as typed: "dupont" misses the capitalised
    // address, "DUPONT" finds it instead of the lower-case one. "Societe
    // livraison" is not searched.
    std::vector<std::string> want = expected;
    if (std::string(row.typed) == "DUPONT") want[7] = "C40";
    ASSERT_TRUE(QuerySearch(*clients, SearchLists::Clients, row.typed));
    EXPECT_EQ(Results(*clients, "Echeance"), want);
  }
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(Search, WordsThatFindNothingOrAreNoPattern) {
  TTraceCapture capture;
  auto clients = ClientsWithDupontEverywhere();
  struct Row {
    const char* name;
    const char* typed;
    bool ran;
    int found;
    const char* box;
  };
  const Row rows[] = {
      {"no match", "martin", true, 0, nullptr},
      {"a pattern character acts as one", "d.pont", true, kClientFieldCount, nullptr},
      {"unbalanced parenthesis", "dup(ont", false, 0, "TPerlRegEx.Compile() - Error in regex at offset"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    capture.Clear();
    EXPECT_EQ(QuerySearch(*clients, SearchLists::Clients, row.typed), row.ran);
    if (row.ran) {
      EXPECT_EQ(clients->QueryResultCount(), row.found);
    }
    if (row.box == nullptr) {
      EXPECT_TRUE(capture.Boxes().empty());
    } else {
      ASSERT_EQ(capture.Boxes().size(), 1u);
      EXPECT_EQ(capture.Boxes()[0].rfind(row.box, 0), 0u) << capture.Boxes()[0];
    }
  }
}

// Accented words are searched in capitals; a box scanned into the edit is
// searched as the code an order line would read from it.
TEST(Search, ArticleWordsAsTypedOrScanned) {
  TTraceCapture capture;
  auto articles = TableOf(
      "Code;Designation;Prix Achat;Prix Vente\r\n"
      "3400001;CR\xC8ME \xC9PAISSE 50ML;1,00;2,00\r\n"
      "3400002;CREME FLUIDE;1,00;2,00\r\n"
      "3408919;DOLIPRANE 1000MG;1,00;2,00\r\n");
  struct Row {
    const char* name;
    const char* typed;
    std::vector<std::string> codes;
  };
  const Row rows[] = {
      {"accented word", "cr\xE8me", {"3400001"}},
      {"box's CIP13", "3400934089190", {"3408919"}},
      {"Data Matrix string with its symbology", "]d2010340093408919017270131", {"3408919"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(QuerySearch(*articles, SearchLists::Articles, row.typed));
    EXPECT_EQ(Results(*articles, "Code"), row.codes);
  }
}

// In the results grid's own direction: descending as the grid is created,
// ascending once a title click turned it.
TEST(Search, PieceResultsAreOrderedByDateOrNumberInTheGridsDirection) {
  TTraceCapture capture;
  struct Row {
    const char* name;
    const TSearchList& list;
    const char* table;
    const char* column;
    std::vector<std::string> descending;
  };
  const Row rows[] = {
      {"invoices by date, not by the text of the date",
       SearchLists::Factures,
       "Num Facture;Date;Code client;Societe;Total TTC\r\n"
       "FA31690;05/01/2026;0101;PHARMACIE CENTRALE;10\r\n"
       "FA31691;20/12/2025;0101;PHARMACIE CENTRALE;10\r\n"
       "FA31692;15/02/2025;0102;PHARMACIE DU PLATEAU;10\r\n"
       "FA31693;01/01/2026;0103;GRANDE GARE;10\r\n",
       "Date",
       {"05/01/2026", "20/12/2025", "15/02/2025"}},
      {"quotes by number, not by the text of the number",
       SearchLists::Devis,
       "Num Devis;Date;Code client;Societe;Total TTC\r\n"
       "DE1240;05/01/2026;0101;PHARMACIE CENTRALE;10\r\n"
       "DE12345;05/01/2026;0101;PHARMACIE CENTRALE;10\r\n"
       "DE1250;05/01/2026;0102;PHARMACIE DU PLATEAU;10\r\n",
       "Num Devis",
       {"DE12345", "DE1250", "DE1240"}},
  };
  for (const Row& row : rows) {
    for (const bool turned : {false, true}) {
      SCOPED_TRACE(std::string(row.name) + (turned ? ", turned by a title click" : ", as created"));
      auto table = TableOf(row.table);
      TResultsGrid results;
      if (turned) results.Grid->fSortAscending = true;
      ASSERT_TRUE(QuerySearch(*table, row.list, "pharmacie"));
      SetupSearchColumns(*results.Grid, &row.list);
      ASSERT_TRUE(FillSearchResults(*results.Grid, *table, row.list));
      std::vector<std::string> expected = row.descending;
      if (turned) std::reverse(expected.begin(), expected.end());
      EXPECT_EQ(results.Column(row.column), expected);
      EXPECT_EQ(results.Grid->fSortAscending, turned) << "the search leaves the direction as it was";
      EXPECT_EQ(results.Grid->GetColCount(), StringManager().CountTokens(row.list.Columns, ';'));
      EXPECT_EQ(results.Grid->GetColName(0),
                std::string(row.list.Columns).substr(0, results.Grid->GetColName(0).size()));
    }
  }
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(Search, EmptyResultLeavesTheGridAsItWas) {
  TTraceCapture capture;
  auto table = TableOf("Num Avoir;Date;Code client;Societe;Total TTC\r\nAV123;05/01/2026;0101;PHARMACIE;10\r\n");
  TResultsGrid results;
  ASSERT_TRUE(QuerySearch(*table, SearchLists::Avoirs, "pharmacie"));
  ASSERT_TRUE(FillSearchResults(*results.Grid, *table, SearchLists::Avoirs));
  ASSERT_TRUE(QuerySearch(*table, SearchLists::Avoirs, "zzz"));
  EXPECT_FALSE(FillSearchResults(*results.Grid, *table, SearchLists::Avoirs));
  EXPECT_EQ(results.Column("Num Avoir"), std::vector<std::string>{"AV123"});
}

TEST(Search, ClientSearchOfTheEditor) {
  TTraceCapture capture;
  auto clients = TableOf(
      "Code;Societe;E-mail\r\n"
      "0103;PHARMACIE DU PLATEAU;a@b.fr\r\n"
      "0101;GRANDE PHARMACIE;c@d.fr\r\n"
      "0102;DROGUERIE;pharmacie@d.fr\r\n");
  struct Row {
    const char* name;
    const char* typed;
    std::vector<std::string> lines;
  };
  const Row rows[] = {
      {"no match", "zzz", {"Recherche Client", "Pas de reponses"}},
      {"company names only, ascending", "pharmacie du",
       {"Recherche Client", "0101   GRANDE PHARMACIE", "0103   PHARMACIE DU PLATEAU"}},
      {"no pattern: nothing written", "[", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ClientSearchLines(*clients, row.typed), row.lines);
  }
  EXPECT_EQ(capture.Boxes().size(), 1u) << "the pattern error only";
}
