#include <gtest/gtest.h>

#include <random>
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

// The number found from the sorted index is the one the probe of one Exact
// query per number finds, on invoices with gaps, numbers given twice,
// deleted ones, look-alikes that are not numbers, and a number carrying a
// line break (whose index is no longer in byte order).
TEST(NextFactureNumber, TheIndexGivesTheNumberTheProbeGives) {
  TTraceCapture capture;
  auto probe = [](TMyDatabase& table, int base) {
    int n = base;
    do {
      ++n;
      table.Query("Num Facture", "FA" + std::to_string(n), Exact);
    } while (table.QueryResultCount() > 0);
    return n;
  };
  std::mt19937 rng(24);
  for (const bool lineBreak : {false, true}) {
    SCOPED_TRACE(lineBreak ? "a number with a line break" : "byte order");
    std::string text = "Num Facture;Date\r\n";
    for (int n = 31690; n < 33000; ++n) {
      const unsigned roll = rng() % 100;
      if (roll < 4) continue;  // a gap
      text += "FA" + std::to_string(n) + ";01/02/2026\r\n";
      if (roll < 6) text += "FA" + std::to_string(n) + ";02/02/2026\r\n";
      if (roll == 7) text += "FA0" + std::to_string(n) + ";\r\n";
      if (roll == 8) text += "FA" + std::to_string(n + 1) + " ;\r\n";
      if (roll == 9) text += "FA" + std::to_string(n / 10) + ";\r\n";
    }
    text += "FA100000;\r\nTEXTE;\r\n";
    if (lineBreak) text += "FA31999\\n;\r\n";
    auto table = TableOf(text);
    for (int r = 0; r < table->RecordCount(); r += 37) table->Delete(r);
    for (int base = 31680; base < 33010; base += 7) {
      int given = base;
      const std::string number = NextFactureNumber(*table, given);
      const int expected = probe(*table, base);
      ASSERT_EQ(number, "FA" + std::to_string(expected)) << base;
      EXPECT_EQ(given, expected - 10);
      EXPECT_EQ(table->QueryResultCount(), 0);
    }
  }
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
