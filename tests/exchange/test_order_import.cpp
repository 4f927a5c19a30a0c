#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "OrderImport.h"
#include "TestSupport.h"

namespace {

// One order line through the normalisation and the five expressions: what
// the reader makes of it.
struct LineRow {
  const char* name;
  const char* line;
  const char* normalised;
  const char* code;      // nullptr: no code recognised
  const char* quantite;  // nullptr: no quantity
  const char* nom;       // nullptr: no name
};

const LineRow kLines[] = {
    {"the last seven digits separated by single blanks", "3400936 12", "3400936 12", "0093612", "12", nullptr},
    {"three blanks leave two, which end the code", "3400936   12", "3400936  12", "3400936", "12", nullptr},
    {"four blanks leave two", "3400936    12", "3400936  12", "3400936", "12", nullptr},
    {"points inside the code", "3.400.936 x 5", "3.400.936 x 5", "3400936", "5", nullptr},
    {"tabs are blanks, ends trimmed", "\t3408919\tx\t2 ", "3408919 x 2", "3408919", "2", nullptr},
    {"quantity at the start wins, name after the numbers", "12 DOLIPRANE 500", "12 DOLIPRANE 500", nullptr, "12",
     "DOLIPRANE"},
    {"leading zeros dropped", "smecta 007", "smecta 007", nullptr, "7", "SMECTA"},
    {"zero stays zero", "SMECTA 000", "SMECTA 000", nullptr, "0", "SMECTA"},
    {"letters only, upper-cased", "Doliprane", "Doliprane", nullptr, nullptr, "DOLIPRANE"},
    {"a code hides the name", "Doliprane 3408919", "Doliprane 3408919", "3408919", nullptr, nullptr},
    {"four digits are no quantity", "DOLIPRANE 1000", "DOLIPRANE 1000", nullptr, nullptr, "DOLIPRANE"},
    {"a word with an accent stops at it", "\xC9PHEDRINE 2", "\xC9PHEDRINE 2", nullptr, "2", nullptr},
    {"nothing", "-- merci --", "-- merci --", nullptr, nullptr, nullptr},
    {"empty", "   ", "", nullptr, nullptr, nullptr},
};

}  // namespace

TEST(OrderImport, LinesNormalisedAndRecognisedAsWritten) {
  TTraceCapture capture;
  TOrderLineReader reader;
  for (const LineRow& row : kLines) {
    SCOPED_TRACE(row.name);
    const std::string normalised = NormaliseOrderLine(row.line);
    EXPECT_EQ(normalised, row.normalised);
    const TOrderLineMatch match = reader.Read(normalised);
    EXPECT_EQ(match.HasCode ? match.Code : "-", row.code != nullptr ? row.code : "-");
    EXPECT_EQ(match.HasQuantity ? match.Quantite : "-", row.quantite != nullptr ? row.quantite : "-");
    EXPECT_EQ(match.HasName ? match.Name : "-", row.nom != nullptr ? row.nom : "-");
  }
  EXPECT_EQ(OrderFileLines("a\r\nb\rc\n\r\nd\r\n"), (std::vector<std::string>{"a", "b", "c", "", "d"}));
  EXPECT_EQ(OrderLineAmount("55,90", "3"), "167,70");
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(OrderImport, WaitingOrdersAndTheirMoveToDoneUnderAFreeName) {
  TTempDir dir;
  TScopedCwd cwd(dir.Path());
  TTraceCapture capture;
  EXPECT_EQ(FirstWaitingOrder(), "") << "no waiting folder";

  WriteFileBytes("Data/Importation/Todo/b.txt", "order b");
  WriteFileBytes("Data/Importation/Todo/A.TXT", "order A");
  WriteFileBytes("Data/Importation/Todo/notes.csv", "not an order");
  std::filesystem::create_directories("Data/Importation/Todo/dossier.txt");
  EXPECT_EQ(WaitingOrders(), (std::vector<std::string>{"A.TXT", "b.txt"}));

  struct Row {
    const char* name;
    std::vector<std::string> alreadyDone;
    const char* expected;
  };
  const Row rows[] = {
      {"A.TXT", {}, "A.TXT"},  // the done folder is made
      {"b.txt", {"b.txt", "b_1.txt"}, "b_2.txt"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    for (const std::string& done : row.alreadyDone) WriteFileBytes("Data/Importation/Done/" + done, "older");
    EXPECT_EQ(MoveOrderToDone(row.name), row.expected);
    EXPECT_FALSE(std::filesystem::exists(std::string("Data/Importation/Todo/") + row.name));
    EXPECT_EQ(ReadFileBytes(std::string("Data/Importation/Done/") + row.expected),
              std::string("order ") + row.name[0]);
    for (const std::string& done : row.alreadyDone) EXPECT_EQ(ReadFileBytes("Data/Importation/Done/" + done), "older");
  }
  EXPECT_EQ(FirstWaitingOrder(), "");
  EXPECT_EQ(MoveOrderToDone("gone.txt"), "");
  ASSERT_EQ(capture.Boxes().size(), 1u);
  EXPECT_EQ(capture.Boxes()[0].rfind("*ERROR*Importation : impossible de deplacer", 0), 0u);
}
