#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "MemoryGridSurface.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
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
    // A run of exactly seven digits that is a valid CIP is the code.
    {"a valid CIP, one blank, a quantity", "3408919 12", "3408919 12", "3408919", "12", nullptr},
    {"a valid CIP, one blank, one digit", "3408919 5", "3408919 5", "3408919", "5", nullptr},
    {"a valid CIP after a quantity", "2 3408919", "2 3408919", "3408919", "2", nullptr},
    {"a valid CIP glued to letters", "CIP3408919 x 2", "CIP3408919 x 2", "3408919", "2", nullptr},
    {"eight digits are no CIP: the last seven", "34089190 2", "34089190 2", "0891902", "2", nullptr},
    {"CIP13 of the box", "3400934089190 2", "3400934089190 2", "3408919", "2", nullptr},
    {"CIP13 with a wrong check digit is no code", "3400934089191 2", "3400934089191 2", nullptr, "2", nullptr},
    {"GS1 string of the Data Matrix", "0103400934089190172612311012AB 3", "0103400934089190172612311012AB 3",
     "3408919", "3", nullptr},
    {"GS1 string after its symbology", "]d20103400946745923 4", "]d20103400946745923 4", "4674592", "4", nullptr},
    {"thirteen digits of another maker: the last seven", "3401560123451 1", "3401560123451 1", "1234511", "1",
     nullptr},
    // Otherwise the last seven digits that may be separated by single blanks.
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
    // "...", form feed and vertical tab are text inside a line.
    {"an ellipsis inside a line", "Doliprane\x85 2", "Doliprane\x85 2", nullptr, "2", "DOLIPRANE"},
    {"a form feed and a vertical tab", "SMECTA\f\v 3", "SMECTA\f\v 3", nullptr, "3", "SMECTA"},
    {"a code before an ellipsis", "3408919\x85 3", "3408919\x85 3", "3408919", "3", nullptr},
    {"a semicolon reaches no cell", "Doliprane;500 2", "Doliprane;500 2", nullptr, "2", "DOLIPRANE"},
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

TEST(OrderImport, OrdersThatCannotBeImportedWholeAreReportedAndLeftWaiting) {
  TTempDir dir;
  TScopedCwd cwd(dir.Path());
  TTraceCapture capture;
  const std::string todo = "Data/Importation/Todo/";
  std::string lines2000;
  for (int i = 0; i < 2000; ++i) lines2000 += std::string(1000, 'x') + "\r\n";
  struct Row {
    const char* name;
    std::string bytes;
    std::size_t lines;   // read when accepted
    const char* reason;  // of the box, nullptr when accepted
  };
  const Row rows[] = {
      {"windows-1252 with accents", "Cr\xE8me 2\r\n\xC9PHEDRINE 3\r\n", 2, nullptr},
      {"2000 lines of 1000 characters", lines2000, 2000, nullptr},
      {"2001 lines", std::string(2001, '\n'), 0, "plus de 2000 lignes"},
      {"a line of 1001 characters", "3408919 2\r\n" + std::string(1001, 'x'), 0,
       "une ligne de plus de 1000 caracteres"},
      {"a NUL byte", std::string("3408919 2\r\n\0\r\n7195018 1\r\n", 25), 0,
       "un octet nul, ce n'est pas un texte Windows-1252 (UTF-16 ?)"},
      {"UTF-16 with its mark", std::string("\xFF\xFE" "3\0" "4\0", 6), 0,
       "un octet nul, ce n'est pas un texte Windows-1252 (UTF-16 ?)"},
      {"UTF-16 mark, no NUL", "\xFE\xFF\x4E\x2D", 0, "texte UTF-8 ou UTF-16, a enregistrer en Windows-1252 (ANSI)"},
      {"UTF-8 mark", "\xEF\xBB\xBF" "3408919 2", 0, "texte UTF-8 ou UTF-16, a enregistrer en Windows-1252 (ANSI)"},
      {"UTF-8 accents", "Cr\xC3\xA8me 2", 0, "texte UTF-8 ou UTF-16, a enregistrer en Windows-1252 (ANSI)"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    capture.Clear();
    std::filesystem::remove_all("Data");
    WriteFileBytes(todo + "commande.txt", row.bytes);
    const TOrderFile order = ReadWaitingOrder("commande.txt");
    EXPECT_EQ(order.Lines.size(), row.lines);
    if (row.reason == nullptr) {
      EXPECT_EQ(order.Refusal, TOrderRefusal::None);
      EXPECT_TRUE(capture.Boxes().empty());
    } else {
      EXPECT_NE(order.Refusal, TOrderRefusal::None);
      EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*Importation : ./Data/Importation/Todo/commande.txt : " +
                                                          std::string(row.reason) + ", commande laissee en attente"});
    }
    EXPECT_EQ(ReadFileBytes(todo + "commande.txt"), row.bytes) << "left waiting as it was";
  }

  // An order of 100 MB is refused by its size, without being read.
  capture.Clear();
  std::filesystem::resize_file(todo + "commande.txt", std::uintmax_t(100) << 20);
  EXPECT_EQ(ReadWaitingOrder("commande.txt").Refusal, TOrderRefusal::TooLarge);
  EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*Importation : ./Data/Importation/Todo/commande.txt : plus "
                                                      "grande que 2000 lignes de 1000 caracteres, commande laissee en "
                                                      "attente"});
}

TEST(OrderImport, ALineTheExpressionsCannotReadToItsEndIsReported) {
  // Far past the line limit of an order file, the code expression's
  // backtracking stops at the pattern library's limit: said, not silent.
  TTraceCapture capture;
  TMemoryGridSurface surface(6, 2, 1, 1);
  surface.SetEditing(true);
  TMyStringGrid lines(&surface);
  lines.SetFixedRows(1);
  lines.SetFixedCols(1);
  lines.setTitles("Code;Designation;Quantite;Prix Uni. TTC;Montant TTC");
  std::unique_ptr<TMyDatabase> articles(TMyDatabase::CreateEmpty("", "x"));
  articles->LoadFromText("Code;Designation;Prix Vente\r\n7195018;SMECTA 3G POUDRE SACHETS B/30;59,88\r\n");
  FillOrderLines(lines, *articles, {"7195018 1", "3400936 12 " + std::string(std::size_t(12) << 20, 'x')});
  EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*Importation : ligne 2 trop longue pour etre reconnue en "
                                                      "entier (limite des expressions), verifiez-la"});
  EXPECT_EQ(lines.GetCellByName("Designation", 1), "SMECTA 3G POUDRE SACHETS B/30") << "the other lines are read";
}
