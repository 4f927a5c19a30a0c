#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "MyDatabase.h"
#include "PieceOperations.h"
#include "PieceTestSupport.h"
#include "PieceTrash.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kTrash = "./Data/Poubelle Officielle/";
constexpr const char* kFacturesHeader = "Num Facture;Date;Code client;Societe;Port;Poids;Total HT;Total TTC\r\n";
constexpr const char* kFA31705 = "FA31705;02/03/2026;0102;PHARMACIE DU PLATEAU;12;1,5;10,00;22\r\n";
constexpr const char* kDevis = "Num Devis;Date;Code client;Societe;Port;Poids;Total HT;Total TTC\r\n"
                               "DE12;02/03/2026;0104;PHARMACIE SAINT-EXUPERY;7;1;5,00;12\r\n";

std::string LinesOf(const std::string& key, const std::string& number) {
  return key + ";Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n" + number +
         ";4;3408919;DOLIPRANE 1000MG CPR B/8;2,50;10,00\r\n";
}

class PieceTrashTest : public ::testing::Test {
protected:
  PieceTrashTest() : fCwd(fDir.Path()) {
    WriteFileBytes("./Data/BaseDeDonneesFactures.db", std::string(kFacturesHeader) + kFA31705);
    WriteFileBytes("./Data/BaseDeDonneesDevis.db", kDevis);
    WriteFileBytes("./Data/Factures/FA31705.db", LinesOf("Num Facture", "FA31705"));
    WriteFileBytes("./Data/Devis/DE12.db", LinesOf("Num Devis", "DE12"));
  }

  TTraceCapture fCapture;
  TTempDir fDir;
  TScopedCwd fCwd;
};

}  // namespace

TEST_F(PieceTrashTest, APieceWhoseFilesCannotGoToTheTrashIsNotDeleted) {
  struct Row {
    const char* name;
    const TPieceKind& kind;
    const char* number;
    const char* headerFile;
    const char* blocker;  // a plain file where the trash needs a folder
    const char* failedFile;
  };
  const Row rows[] = {
      {"invoice, no trash folder", PieceKinds::Facture, "FA31705", "./Data/BaseDeDonneesFactures.db",
       "./Data/Poubelle Officielle", "./Data/Factures/FA31705.db"},
      {"quote, no trash folder", PieceKinds::Devis, "DE12", "./Data/BaseDeDonneesDevis.db",
       "./Data/Poubelle Officielle", "./Data/Devis/DE12.db"},
      {"invoice, no folder for its header", PieceKinds::Facture, "FA31705", "./Data/BaseDeDonneesFactures.db",
       "./Data/Poubelle Officielle/Entetes", "./Data/Poubelle Officielle/Entetes/FA31705.db"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fs::remove_all("./Data/Poubelle Officielle");
    WriteFileBytes(row.blocker, "not a folder");
    fCapture.Clear();
    const std::string headerBytes = ReadFileBytes(row.headerFile);
    const std::string lineFile = row.kind.LineFile(row.number);
    const std::string lines = ReadFileBytes(lineFile);
    TMyDatabase header(row.headerFile);

    EXPECT_FALSE(DeletePiece(row.kind, header, row.number));
    EXPECT_EQ(fCapture.Boxes(),
              std::vector<std::string>{std::string("La piece ") + row.number +
                                       " n'est pas supprimee : impossible de mettre " + row.failedFile +
                                       " dans ./Data/Poubelle Officielle/"});
    EXPECT_EQ(ReadFileBytes(row.headerFile), headerBytes);
    header.Query(row.kind.KeyField(), row.number, Exact);
    EXPECT_EQ(header.QueryResultCount(), 1) << "the record stays in memory too";
    EXPECT_EQ(ReadFileBytes(lineFile), lines);
  }
}

TEST_F(PieceTrashTest, ADeletedPieceKeepsItsHeaderBesideItsLinesForTheRestore) {
  WriteFileBytes(std::string(kTrash) + "FA31705.db", "an older deleted FA31705");
  WriteFileBytes(std::string(kTrash) + "Entetes/FA31705.db", "its header");
  // A header kept for a file purged since: the next file of that name replaces it.
  WriteFileBytes(std::string(kTrash) + "Entetes/FA31705_1.db", "purged long ago");
  TMyDatabase factures("./Data/BaseDeDonneesFactures.db");

  EXPECT_TRUE(DeleteFacture(factures, "FA31705"));
  EXPECT_EQ(ReadFileBytes("./Data/BaseDeDonneesFactures.db"), kFacturesHeader);
  EXPECT_FALSE(fs::exists("./Data/Factures/FA31705.db"));
  EXPECT_EQ(ReadFileBytes(std::string(kTrash) + "FA31705_1.db"), LinesOf("Num Facture", "FA31705"));
  EXPECT_EQ(ReadFileBytes(std::string(kTrash) + "Entetes/FA31705_1.db"), std::string(kFacturesHeader) + kFA31705);
  EXPECT_EQ(ReadFileBytes(std::string(kTrash) + "FA31705.db"), "an older deleted FA31705");
  EXPECT_EQ(ReadFileBytes(std::string(kTrash) + "Entetes/FA31705.db"), "its header");

  const auto kept = KeptHeaderOf(kTrash, "FA31705_1.db");
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(kept->CodeClient, "0102");
  EXPECT_EQ(kept->Port, "12");
  // The history hands the folder with its final "/".
  EXPECT_TRUE(KeptHeaderOf("./Data/Poubelle Officielle", "FA31705_1.db").has_value());
  // No header for a printed copy, nor for a file deleted before headers were kept.
  WriteFileBytes("./Data/Elements imprimes/Entetes/FA31705_1.db", std::string(kFacturesHeader) + kFA31705);
  EXPECT_FALSE(KeptHeaderOf("./Data/Elements imprimes/", "FA31705_1.db").has_value());
  EXPECT_FALSE(KeptHeaderOf(kTrash, "FA31650.db").has_value());
  EXPECT_TRUE(fCapture.Boxes().empty()) << fCapture.Boxes().front();
}

// A stray file's number is searched as a pattern: one whose search stops on
// the pattern library's limit may still be an invoice's, and is kept.
TEST_F(PieceTrashTest, AStrayFileWhoseSearchStoppedOnALimitIsKeptAndSaid) {
  WriteFileBytes("./Data/BaseDeDonneesFactures.db",
                 std::string(kFacturesHeader) + kFA31705 + std::string(40, 'a') + "!;02/03/2026;0102;X;0;0;0;0\r\n");
  WriteFileBytes("./Data/Factures/(a+)+.db", LinesOf("Num Facture", "x"));
  WriteFileBytes("./Data/Factures/FA99999.db", LinesOf("Num Facture", "FA99999"));
  TMyDatabase factures("./Data/BaseDeDonneesFactures.db");
  EXPECT_EQ(RemoveOrphanLineFiles(factures), std::vector<std::string>{"FA99999.db"});
  EXPECT_TRUE(fs::exists("./Data/Factures/(a+)+.db"));
  EXPECT_TRUE(fs::exists("./Data/Factures/FA31705.db"));
  int limits = 0;
  for (const std::string& box : fCapture.Boxes()) limits += box.rfind("TPerlRegEx.Match() - match limit", 0) == 0;
  EXPECT_EQ(limits, 1);
}
