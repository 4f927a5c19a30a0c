#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "DateTime.h"
#include "MyDatabase.h"
#include "PieceSave.h"
#include "PieceTestSupport.h"

namespace {

constexpr const char* kFactures = "./Data/BaseDeDonneesFactures.db";
constexpr const char* kHeader = "Num Facture;Date;Code client;Societe;Port;Poids;Total HT;Total TTC\r\n";
constexpr const char* kLinesHeader = "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n";

// A working folder with an invoice table and line files, made current.
class PieceSaveTest : public ::testing::Test {
protected:
  PieceSaveTest() : fCwd(fDir.Path()) {
    WriteFileBytes(fDir.File("Data/BaseDeDonneesFactures.db"),
                   std::string(kHeader) + "FA31690;20/02/2026;0104;PHARMACIE SAINT-EXUP\xC9RY;35;1;10,00;45\r\n" +
                       "FA31691;01/01/2026;0104;PHARMACIE SAINT-EXUP\xC9RY;0;1;10,00;10\r\n");
    WriteFileBytes(fDir.File("Data/Factures/FA31690.db"),
                   std::string(kLinesHeader) + "FA31690;4;3408919;DOLIPRANE 1000MG CPR B/8;2,50;10,00\r\n");
    WriteFileBytes(fDir.File("Data/Factures/FA31691.db"),
                   std::string(kLinesHeader) + "FA31691;4;3408919;DOLIPRANE 1000MG CPR B/8;2,50;10,00\r\n");
    fTable = std::make_unique<TMyDatabase>(kFactures);
  }

  TPieceToSave Piece(const std::string& number, const std::string& loaded = "") {
    TPieceToSave p;
    p.Kind = &PieceKinds::Facture;
    p.HeaderTable = fTable.get();
    p.LoadedNumber = loaded;
    p.Number = number;
    p.Date = "25/02/2026";
    p.PieceDate = EncodeDate(2026, 2, 25);
    p.CodeClient = "0102";
    p.Societe = "PHARMACIE DU PLATEAU";
    p.Port = "12";
    p.Poids = "2,157";
    p.TotalHT = "7,50";
    p.TotalTTC = "19,5";
    return p;
  }

  std::vector<std::string> Numbers() {
    TMyDatabase reread(kFactures);
    reread.QueryAll();
    std::vector<std::string> out;
    for (int i = 0; i < reread.QueryResultCount(); ++i) out.push_back(reread.GetQueryResultString("Num Facture", i));
    return out;
  }

  TTempDir fDir;
  TScopedCwd fCwd;
  TLinesFixture fLines;
  std::unique_ptr<TMyDatabase> fTable;
};

}  // namespace

TEST_F(PieceSaveTest, NewInvoiceWritesItsRecordAndItsWholeLineFile) {
  fLines.Fill({{"3408919", "DOLIPRANE 1000MG CPR B/8", "3", "2,50", "7,50"}, {"", "", "", "", ""}});
  EXPECT_EQ(SavePieceSequence(*fLines.Grid, Piece("FA31702")), TPieceSaveResult::Saved);
  EXPECT_TRUE(fLines.Capture.Boxes().empty());
  EXPECT_EQ(ReadFileBytes("./Data/Factures/FA31702.db"),
            std::string(kLinesHeader) + "FA31702;3;3408919;DOLIPRANE 1000MG CPR B/8;2,50;7,50\r\n");
  EXPECT_EQ(ReadFileBytes(kFactures).substr(ReadFileBytes(kFactures).rfind("FA31702")),
            "FA31702;25/02/2026;0102;PHARMACIE DU PLATEAU;12;2,157;7,50;19,5\r\n");
  EXPECT_EQ(fLines.Grid->GetRowCount(), 2) << "the empty line was dropped";
}

TEST_F(PieceSaveTest, EmptyLinesAreDroppedButNeverTheOnlyOne) {
  struct Row {
    const char* name;
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> designations;
    const char* box;  // the save stops with it; none: saved
  };
  const Row rows[] = {
      {"new-line values without designation",
       {{"", "", "1", "0", "0"}, {"3408919", "A", "2", "1", "2,00"}, {"", "", "1", "0", "0"}, {"", "", "", "", ""}},
       {"A"},
       nullptr},
      {"a code never looked up is not dropped",
       {{"3408919", "A", "2", "1", "2,00"}, {"", "", "", "", ""}, {" 7968532", "", "1", "0", "0"}},
       {"A", "", ""},
       "Ligne 3 : le code 7968532 n'a pas de designation (article non recherche), rien n'est enregistre"},
      {"a changed value keeps the line", {{"", "", "2", "", ""}, {"", "", "", "3", ""}, {"", "", "", "", "5"}},
       {"", "", ""},
       nullptr},
      {"only line kept", {{"", "", "1", "0", "0"}}, {""}, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fLines.Capture.Clear();
    fLines.Fill(row.lines);
    EXPECT_EQ(SavePieceSequence(*fLines.Grid, Piece("FA31702")),
              row.box == nullptr ? TPieceSaveResult::Saved : TPieceSaveResult::Failed);
    EXPECT_EQ(fLines.Column("Designation"), row.designations);
    EXPECT_EQ(fLines.Capture.Boxes(), row.box == nullptr ? std::vector<std::string>() : std::vector<std::string>{row.box});
    EXPECT_EQ(std::filesystem::exists("./Data/Factures/FA31702.db"), row.box == nullptr);
    std::filesystem::remove("./Data/Factures/FA31702.db");
  }
}

TEST_F(PieceSaveTest, DuplicateCodesAreListedInOneBoxAndTheSaveGoesOn) {
  struct Row {
    const char* name;
    std::vector<std::vector<std::string>> lines;
    std::string box;
  };
  const Row rows[] = {
      {"one pair", {{"3408919", "DOLIPRANE A", "1", "1", "1,00"}, {"7968532", "B", "1", "1", "1,00"},
                    {"3408919", "DOLIPRANE C", "1", "1", "1,00"}},
       "Lignes 1 et 3 identiques : DOLIPRANE C"},
      {"three lines of one code",
       {{"3408919", "DOLIPRANE A", "1", "1", "1,00"}, {"7968532", "B", "1", "1", "1,00"},
        {"3408919", "DOLIPRANE C", "1", "1", "1,00"}, {"3408919", "DOLIPRANE D", "1", "1", "1,00"}},
       "Lignes 1 et 3 identiques : DOLIPRANE C\nLignes 1 et 4 identiques : DOLIPRANE D\n"
       "Lignes 3 et 4 identiques : DOLIPRANE D\n3 paires de lignes identiques"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fLines.Capture.Clear();
    fLines.Fill(row.lines);
    EXPECT_EQ(SavePieceSequence(*fLines.Grid, Piece("FA31702")), TPieceSaveResult::Saved);
    EXPECT_EQ(fLines.Capture.Boxes(), std::vector<std::string>{row.box});
    EXPECT_TRUE(std::filesystem::exists("./Data/Factures/FA31702.db"));
  }
}

TEST_F(PieceSaveTest, AnOrderOfTwoHundredThousandLinesGivesOneBox) {
  // Every tenth line empty, every code on two lines 100 000 lines apart.
  std::vector<std::vector<std::string>> lines;
  for (int i = 0; i < 200000; ++i) {
    if (i % 10 == 9) {
      lines.push_back({"", "", "1", "0", "0"});
    } else {
      const std::string code = std::to_string(1000000 + i % 100000);
      lines.push_back({code, "D" + code, "1", "1", "1,00"});
    }
  }
  fLines.Fill(lines);
  EXPECT_EQ(SavePieceSequence(*fLines.Grid, Piece("FA31702")), TPieceSaveResult::Saved);
  EXPECT_EQ(fLines.Grid->GetRowCount(), 1 + 180000) << "the empty lines were dropped";
  ASSERT_EQ(fLines.Capture.Boxes().size(), 1u);
  const std::string& box = fLines.Capture.Boxes().front();
  EXPECT_EQ(box.substr(0, box.find('\n')), "Lignes 1 et 90001 identiques : D1000000");
  EXPECT_EQ(box.substr(box.rfind('\n') + 1), "90000 paires de lignes identiques, les 20 premieres ci-dessus");
  EXPECT_EQ(std::count(box.begin(), box.end(), '\n'), 20);
  TMyDatabase written("./Data/Factures/FA31702.db");
  EXPECT_EQ(written.RecordCount(), 180000);
}

TEST_F(PieceSaveTest, RedCellOrRedEditWritesNothing) {
  // A quantity that is not an integer is red, as on screen.
  fLines.Grid->AddColColorConstraint(3, 51, clErrorRed);
  for (bool redCell : {true, false}) {
    SCOPED_TRACE(redCell ? "red cell" : "red edit");
    fLines.Capture.Clear();
    fLines.Fill({{"3408919", "A", redCell ? "trois" : "3", "1", "3,00"}});
    TPieceToSave piece = Piece("FA31702", "FA31690");
    piece.RedEdit = !redCell;
    EXPECT_EQ(SavePieceSequence(*fLines.Grid, piece), TPieceSaveResult::RedFields);
    EXPECT_EQ(fLines.Capture.Boxes(), std::vector<std::string>{"Veuillez corriger les champs en rouge"});
    EXPECT_FALSE(std::filesystem::exists("./Data/Factures/FA31702.db"));
    EXPECT_TRUE(std::filesystem::exists("./Data/Factures/FA31690.db"));
    EXPECT_EQ(Numbers(), (std::vector<std::string>{"FA31690", "FA31691"}));
  }
}

TEST_F(PieceSaveTest, RenumberingMovesTheOldLineFileToTheTrashBesideAnOlderCopy) {
  // A deleted piece had that number before: its lines stay in the trash.
  WriteFileBytes("./Data/Poubelle Officielle/FA31690.db", "an older deleted FA31690");
  fLines.Fill({{"3408919", "DOLIPRANE 1000MG CPR B/8", "4", "2,50", "10,00"}});
  EXPECT_EQ(SavePieceSequence(*fLines.Grid, Piece("FA31800", "FA31690")), TPieceSaveResult::Saved);
  EXPECT_EQ(Numbers(), (std::vector<std::string>{"FA31691", "FA31800"}));
  EXPECT_FALSE(std::filesystem::exists("./Data/Factures/FA31690.db"));
  EXPECT_EQ(ReadFileBytes("./Data/Poubelle Officielle/FA31690.db"), "an older deleted FA31690");
  EXPECT_EQ(ReadFileBytes("./Data/Poubelle Officielle/FA31690_1.db"),
            std::string(kLinesHeader) + "FA31690;4;3408919;DOLIPRANE 1000MG CPR B/8;2,50;10,00\r\n");
  EXPECT_EQ(ReadFileBytes("./Data/Poubelle Officielle/Entetes/FA31690_1.db"),
            std::string(kHeader) + "FA31690;20/02/2026;0104;PHARMACIE SAINT-EXUP\xC9RY;35;1;10,00;45\r\n");
  EXPECT_TRUE(std::filesystem::exists("./Data/Factures/FA31800.db"));
  EXPECT_TRUE(fLines.Capture.Boxes().empty());
}

TEST_F(PieceSaveTest, RefusedRenumberingLeavesTheOldPieceAsItWas) {
  struct Row {
    const char* name;
    std::string table;
    const char* error;
  };
  const Row rows[] = {
      {"the new number has two records",
       std::string(kHeader) + "FA31690;20/02/2026;0104;X;35;1;10,00;45\r\nFA31800;;;;;;;\r\nFA31800;;;;;;;\r\n",
       "*ERROR*TQuorix_Form.FactureOK_ButtonClick:Nombre de pieces non conforme"},
      {"the header table has no key field", "Date;Code client\r\n20/02/2026;0104\r\n",
       "*ERROR*TQuorix_Form.FactureOK_ButtonClick:Probleme a la creation nouvelle piece"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fLines.Capture.Clear();
    WriteFileBytes(kFactures, row.table);
    fTable = std::make_unique<TMyDatabase>(kFactures);
    const int records = fTable->RecordCount();
    fLines.Fill({{"3408919", "DOLIPRANE 1000MG CPR B/8", "4", "2,50", "10,00"}});
    EXPECT_EQ(SavePieceSequence(*fLines.Grid, Piece("FA31800", "FA31690")), TPieceSaveResult::Failed);
    EXPECT_EQ(fLines.Capture.Boxes().back(), row.error);
    EXPECT_EQ(ReadFileBytes(kFactures), row.table) << "the table file is not written";
    fTable->QueryAll();
    EXPECT_EQ(fTable->QueryResultCount(), records) << "no record deleted or left added";
    EXPECT_TRUE(std::filesystem::exists("./Data/Factures/FA31690.db"));
    EXPECT_FALSE(std::filesystem::exists("./Data/Poubelle Officielle/FA31690.db"));
    EXPECT_FALSE(std::filesystem::exists("./Data/Factures/FA31800.db"));
  }
}

TEST_F(PieceSaveTest, SimilarPieceOfTheSameClientWithinThirtyDays) {
  struct Row {
    const char* name;
    const char* otherDate;
    const char* otherNumber;
    std::vector<std::string> lines;  // codes of this piece
    bool warned;
  };
  const Row rows[] = {
      {"same articles five days before", "20/02/2026", "FA31690", {"3408919"}, true},
      {"thirty days after counts", "27/03/2026", "FA31690", {"3408919"}, true},
      {"thirty-one days before does not", "25/01/2026", "FA31690", {"3408919"}, false},
      {"half the articles is not enough", "20/02/2026", "FA31690", {"3408919", "7968532"}, false},
      {"a special invoice number is left out", "20/02/2026", "FA031690", {"3408919"}, false},
      {"an unreadable date is passed over", "31/02/2026", "FA31690", {"3408919"}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    WriteFileBytes(kFactures, std::string(kHeader) + row.otherNumber + ";" + row.otherDate + ";0102;X;0;1;10,00;10\r\n");
    WriteFileBytes(std::string("./Data/Factures/") + row.otherNumber + ".db",
                   std::string(kLinesHeader) + row.otherNumber + ";4;3408919;DOLIPRANE;2,50;10,00\r\n");
    fTable = std::make_unique<TMyDatabase>(kFactures);
    std::vector<std::vector<std::string>> lines;
    for (const std::string& code : row.lines) lines.push_back({code, "D", "1", "1", "1,00"});
    fLines.Fill(lines);
    fLines.Capture.Clear();
    EXPECT_EQ(SavePieceSequence(*fLines.Grid, Piece("FA31702")), TPieceSaveResult::Saved);
    EXPECT_EQ(fLines.Capture.Boxes(), row.warned ? std::vector<std::string>{std::string("ATTENTION : similitude poussee avec ") + row.otherNumber}
                                                 : std::vector<std::string>{});
  }
}

TEST(PieceSimilarity, SharedCodesOverBothLineCounts) {
  TTempDir dir;
  TScopedCwd cwd(dir.Path());
  auto lines = [](const char* number, std::vector<const char*> codes) {
    std::string text = kLinesHeader;
    for (const char* c : codes) text += std::string(number) + ";1;" + c + ";D;1;1\r\n";
    WriteFileBytes(std::string("./Data/Devis/") + number + ".db", text);
  };
  lines("DE1", {"1", "2", "3"});
  lines("DE2", {"3", "2", "1"});
  lines("DE3", {"1", "9"});
  EXPECT_DOUBLE_EQ(PieceSimilarity(PieceKinds::Devis, "DE1", "DE2"), 100);
  EXPECT_DOUBLE_EQ(PieceSimilarity(PieceKinds::Devis, "DE1", "DE3"), 40);
  EXPECT_DOUBLE_EQ(PieceSimilarity(PieceKinds::Devis, "DE8", "DE9"), 0) << "no line file at all";
}
