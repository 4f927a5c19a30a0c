#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PieceAmounts.h"
#include "PieceTestSupport.h"
#include "PriceTools.h"

using Lines = std::vector<std::vector<std::string>>;

TEST(LineAmount, QuantityTimesPriceWithTwoDecimals) {
  struct Row {
    const char* name;
    const char* quantite;
    const char* prix;
    const char* amount;
    std::size_t boxes;
  };
  const Row rows[] = {
      {"typed with a point", "3", "2.5", "7,50", 0},
      {"typed with a comma", "3", "2,50", "7,50", 0},
      {"rounded from the fifteen-digit text", "3", "0,335", "1,00", 0},
      {"a half cent rounds as its nearest double", "7", "1,115", "7,80", 0},
      {"negative quantity", "-2", "10", "-20,00", 0},
      {"quantity not an integer counts 0", "1,5", "10", "0,00", 0},
      {"price not a number counts 0 and is reported", "3", "abc", "0,00", 1},
      {"no price yet is no amount yet", "3", "", "", 0},
      {"no quantity yet is no amount yet", "", "2,50", "", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TTraceCapture capture;
    EXPECT_EQ(LineAmount(row.quantite, row.prix), row.amount);
    EXPECT_EQ(capture.Boxes().size(), row.boxes);
  }
}

TEST(ComputeTotals, SumsTheAmountsThatAreNumbersAndAddsThePort) {
  struct Row {
    const char* name;
    Lines lines;
    const char* port;
    const char* ht;
    const char* ttc;
  };
  const Row rows[] = {
      {"3 x 2,50 with a port of 12", {{"", "", "3", "2,50", "7,50"}}, "12", "7,50", "19,5"},
      {"amounts that are not numbers left out", {{"", "", "", "", "7,50"}, {"", "", "", "", "x"}, {"", "", "", "", ""}},
       "0", "7,50", "7,5"},
      {"port that is not a number counts 0", {{"", "", "", "", "10,25"}}, "abc", "10,25", "10,25"},
      {"nothing at all", {}, "", "0,00", "0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TLinesFixture f;
    f.Fill(row.lines);
    const TPieceTotals totals = ComputeTotals(*f.Grid, row.port);
    EXPECT_EQ(totals.TotalHT, row.ht);
    EXPECT_EQ(totals.TotalTTC, row.ttc);
  }
}

TEST(TotalTTCForPort, FollowsThePortAsItIsTyped) {
  struct Row {
    const char* port;
    bool red;
    std::optional<std::string> ttc;
  };
  const Row rows[] = {
      {"", false, "7,50"}, {"12", false, "19,5"}, {"12.25", false, "19,75"}, {"-2", false, "5,5"}, {"abc", true, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.port);
    EXPECT_EQ(TotalTTCForPort("7,50", row.port, row.red), row.ttc);
  }
  EXPECT_EQ(TotalTTCForPort("", "12", false), std::nullopt) << "no Total H.T to add to";
}

TEST(ComputeWeight, ArticlesOfValidCodesTimesTheirQuantity) {
  TLinesFixture f;
  auto articles = TableOf(
      "Code;Designation;Poids\r\n3408919;DOLIPRANE;0,7189\r\n7968532;DOLIPRANE 500;0,3797\r\n"
      "2661728;EFFERALGAN;poids?\r\n4674592;DAFALGAN;1\r\n4674592;DAFALGAN BIS;1\r\n");
  f.Fill({{"3408919", "DOLIPRANE", "2", "1", "1"},
          {"7968532", "DOLIPRANE 500", "3", "1", "1"},
          {"7968533", "bad check digit", "3", "1", "1"},
          {"2661728", "EFFERALGAN", "1", "1", "1"},
          {"4674592", "two articles have this code", "5", "1", "1"},
          {"3408919", "quantity not an integer", "1,5", "1", "1"},
          {"", "", "", "", ""}});
  EXPECT_EQ(ComputeWeight(*f.Grid, *articles, f.Signal()), "2,5769");
  ASSERT_EQ(f.Signals.size(), 1u);
  EXPECT_EQ(f.Signals[0].first, "Poids non valide pour l'article 2661728 : \"poids?\", compte pour 0");
  EXPECT_TRUE(f.Capture.Boxes().empty());
}

TEST(GetClientPays, OnlyWhenExactlyOneClientHasTheCode) {
  auto clients = TableOf("Code;Societe;Pays\r\n0101;A;GUINEE\r\n0102;B;MALI\r\n0102;C;MALI\r\n");
  EXPECT_EQ(GetClientPays(*clients, "0101"), "GUINEE");
  EXPECT_EQ(GetClientPays(*clients, "0102"), "");
  EXPECT_EQ(GetClientPays(*clients, "0103"), "");
  auto factures = TableOf("Num Facture;Code client\r\nFA1;0101\r\n");
  EXPECT_FALSE(IsFirstOrder(*factures, "0101"));
  EXPECT_TRUE(IsFirstOrder(*factures, "0102"));
}

TEST(PriceTools, HalfPriceAndTheIntegerPortOnly) {
  struct Row {
    const char* port;
    const char* after;
  };
  const Row rows[] = {{"15", "7"}, {"15,50", "15,50"}, {"-7", "-3"}, {"0", "0"}, {"", ""}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.port);
    TLinesFixture f;
    f.Fill({{"3408919", "A", "3", "2,50", "7,50"}, {"7968532", "B", "2", "0,10", "0,20"}, {"", "", "", "", ""}});
    std::string port = row.port;
    HalvePrices(*f.Grid, port, f.Signal());
    EXPECT_EQ(port, row.after);
    EXPECT_EQ(f.Column("Prix Uni. TTC"), (std::vector<std::string>{"1,25", "0,05", ""}));
    EXPECT_EQ(f.Column("Montant TTC"), (std::vector<std::string>{"3,75", "0,10", ""}));
    EXPECT_TRUE(f.Signals.empty()) << "an empty line is nothing to report";
  }
}

TEST(PriceTools, EachArrowClickAppliesItsFactorOnceMore) {
  TLinesFixture f;
  f.Fill({{"3408919", "A", "2", "100,00", "200,00"}});
  MultiplyPrices(*f.Grid, kPriceDownFactor, f.Signal());
  EXPECT_EQ(f.Column("Prix Uni. TTC"), std::vector<std::string>{"99,00"});
  MultiplyPrices(*f.Grid, kPriceDownFactor, f.Signal());
  EXPECT_EQ(f.Column("Prix Uni. TTC"), std::vector<std::string>{"98,01"});
  EXPECT_EQ(f.Column("Montant TTC"), std::vector<std::string>{"196,02"});
  MultiplyPrices(*f.Grid, kPriceUpFactor, f.Signal());
  EXPECT_EQ(f.Column("Prix Uni. TTC"), std::vector<std::string>{"99,00"});
}

TEST(PriceTools, APriceThatIsNotANumberIsReportedAndTheOthersGoOn) {
  TLinesFixture f;
  f.Fill({{"3408919", "A", "1", "gratuit", "0"}, {"7968532", "B", "abc", "10", "5"}});
  MultiplyPrices(*f.Grid, kPriceDownFactor, f.Signal());
  EXPECT_EQ(f.Column("Prix Uni. TTC"), (std::vector<std::string>{"gratuit", "9,90"}));
  EXPECT_EQ(f.Column("Montant TTC"), (std::vector<std::string>{"0", "5"})) << "no amount without an integer quantity";
  ASSERT_EQ(f.Signals.size(), 1u);
  EXPECT_EQ(f.Signals[0].first, "Ligne 1 : prix \"gratuit\" non numerique, ligne laissee telle quelle");
  EXPECT_TRUE(f.Capture.Boxes().empty());
}

TEST(PriceTools, ParapharmacyLinesGoAndTheLastOneIsEmptied) {
  // 2661728 and 4674592 are valid CIP codes not beginning with 3; 3408919 is
  // a medicine; 1234563 has a wrong check digit.
  struct Row {
    const char* name;
    Lines lines;
    std::vector<std::string> codes;
    std::size_t signals;
  };
  const Row rows[] = {
      {"neighbours both removed",
       {{"3408919", "A", "1", "1", "1"}, {"2661728", "B", "1", "1", "1"}, {"4674592", "C", "1", "1", "1"},
        {"1234563", "D", "1", "1", "1"}},
       {"3408919", "1234563"},
       0},
      {"only line left is emptied", {{"2661728", "B", "1", "1", "1"}, {"4674592", "C", "1", "1", "1"}}, {""}, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TLinesFixture f;
    f.Fill(row.lines);
    RemoveParapharmacy(*f.Grid, f.Signal());
    EXPECT_EQ(f.Column("Code"), row.codes);
    EXPECT_EQ(f.Signals.size(), row.signals);
    EXPECT_TRUE(f.Capture.Boxes().empty()) << "the grid is never asked to lose its last line";
    EXPECT_EQ(f.Grid->GetCell(0, f.Grid->GetRowCount() - 1), std::to_string(f.Grid->GetRowCount() - 1));
  }
}
