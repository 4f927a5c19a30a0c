#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DateTime.h"
#include "PaymentTerms.h"
#include "PieceNumbers.h"
#include "PieceTestSupport.h"

namespace {

std::string Invoices(std::initializer_list<int> numbers) {
  std::string text = "Num Facture;Date;Code client\r\n";
  for (int n : numbers) text += "FA" + std::to_string(n) + ";01/02/2026;0101\r\n";
  return text;
}

}  // namespace

TEST(NextFactureNumber, ProbesUpFromTheBaseAndStartsAgainTenBelow) {
  TTraceCapture capture;
  // Numbers below the base are never reused; the highest one does not count.
  auto table = TableOf(Invoices({31650, 31640}));
  int base = kFactureNumberBase;
  EXPECT_EQ(NextFactureNumber(*table, base), "FA31701");
  EXPECT_EQ(base, 31691);

  auto full = TableOf(Invoices({31701, 31702, 31703, 31704, 31705, 31706, 31707, 31708, 31709, 31710}));
  base = kFactureNumberBase;
  EXPECT_EQ(NextFactureNumber(*full, base), "FA31711");
  // Not saved (the piece was cancelled): the same number comes again.
  EXPECT_EQ(NextFactureNumber(*full, base), "FA31711");
  // Deleting FA31705 resets the base; the freed number is given again.
  full->Query("Num Facture", "FA31705", Exact);
  full->Delete(full->QueryGetDataIndex(0));
  base = kFactureNumberBase;
  EXPECT_EQ(NextFactureNumber(*full, base), "FA31705");
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(NextPieceNumber, QuotesAndCreditNotesFollowTheirHighestWellFormedNumber) {
  struct Row {
    const char* name;
    const char* kind;
    std::string table;
    const char* expected;
    std::size_t boxes;  // reports of numbers too short to read
  };
  const Row rows[] = {
      {"empty quote table", "Devis", "Num Devis;Date\r\n", "DE1", 0},
      {"leading zero and letters ignored", "Devis", "Num Devis\r\nDE1234\r\nDE0125\r\nDE12A\r\nDE99\r\n", "DE1235", 0},
      {"too short to read", "Devis", "Num Devis\r\nDE\r\nDE3\r\n", "DE4", 2},
      {"credit notes", "Avoir", "Num Avoir;Date\r\nAV123\r\nAV125\r\nAV124\r\n", "AV126", 0},
      {"unknown kind", "Bon", "Num Devis\r\nDE5\r\n", "", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TTraceCapture capture;
    auto table = TableOf(row.table);
    TPieceTables tables;
    tables.Devis = table.get();
    tables.Avoirs = table.get();
    int base = kFactureNumberBase;
    EXPECT_EQ(NextPieceNumber(row.kind, tables, base), row.expected);
    EXPECT_EQ(capture.Boxes().size(), row.boxes);
    EXPECT_EQ(base, kFactureNumberBase) << "only invoices move the base";
  }
}

TEST(DueDate, TermsAndTheMessageForAnUnknownOne) {
  struct Row {
    const char* term;
    int days;
    bool message;
    TEcheance button;
  };
  const Row rows[] = {
      {"Comptant", 7, false, TEcheance::Comptant},   {"Quinzaine", 15, false, TEcheance::Quinzaine},
      {"30Jours", 30, false, TEcheance::TrenteJours}, {"", 30, false, TEcheance::TrenteJours},
      {"45Jours", 30, true, TEcheance::TrenteJours},  {"comptant", 30, true, TEcheance::TrenteJours},
  };
  const TDateTime date = EncodeDate(2026, 2, 20);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.term);
    TTraceCapture capture;
    EXPECT_EQ(DueDate(row.term, date), date + row.days);
    EXPECT_EQ(capture.Boxes(), row.message ? std::vector<std::string>{"Echeance non valide, Parametrage \xE0 30 jours"}
                                           : std::vector<std::string>{});
    EXPECT_EQ(EcheanceOf(row.term), row.button);
  }
  EXPECT_EQ(DateToStr(DueDate("30Jours", EncodeDate(2026, 2, 20))), "22/03/2026");
}
