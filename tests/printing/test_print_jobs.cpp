// The data a print job gives the templates: the distributor rule, the line
// keys, the barcode picture path and the archive file name.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ListOfPairOfStrings.h"
#include "MyDatabase.h"
#include "PrintJobs.h"
#include "TestSupport.h"

namespace {

std::unique_ptr<TMyDatabase> Table(const std::string& text) {
  auto table = std::unique_ptr<TMyDatabase>(TMyDatabase::CreateEmpty("mem.db", ""));
  table->LoadFromText(text);
  return table;
}

struct TPieceFixture {
  TPieceFixture() {
    header = Table(
        "Num Facture;Date;Code client;Societe;Port;Poids;Total HT;Total TTC\r\n"
        "FA31690;20/07/2025;0105;PHARMACIE SAINT-EXUPÉRY;35;28,7;1914,03;1949,03\r\n");
    clients = Table(
        "Code;Societe;Adresse 1;Adresse 2;Adresse 3;Ville;Pays;Imm. TVA\r\n"
        "0105;PHARMACIE SAINT-EXUPÉRY;RUE 12;BP 4;QUARTIER AKWA;DOUALA;CAMEROUN;CM123\r\n");
    lines = Table(
        "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n"
        "FA31690;11;6670227;KARDÉGIC 75MG POUDRE SACHETS B/30;25,38;279,18\r\n"
        "FA31690;4;7677125;NIVAQUINE 100MG CPR B/20;44,28;177,12\r\n");
    header->Query("Num Facture", "FA31690", Exact);
    clients->Query("Code", "0105", Exact);
    lines->QueryAll();
  }
  ~TPieceFixture() { datas.ClearAndFreeEachObject(); }

  TTraceCapture capture;
  std::unique_ptr<TMyDatabase> header, clients, lines;
  TListOfPairOfStrings datas;
};

TEST(PrintJobs, DistributorRuleOnInvoicesAndPreparationSheets) {
  struct Row {
    const char* name;
    bool distributor, preparation;
    const char* nom;
    std::vector<const char*> adr;  // adr1 .. adr6, nullptr = key absent
  };
  const std::vector<Row> rows = {
      {"distributor_invoice", true, false, "LABOREX C.I.",
       {"VIA PHARMACIE SAINT-EXUPÉRY", "RUE 12", "BP 4", "QUARTIER AKWA", "DOUALA", "CAMEROUN"}},
      {"distributor_preparation", true, true, "PHARMACIE SAINT-EXUPÉRY",
       {"VIA PHARMACIE SAINT-EXUPÉRY", "RUE 12", "BP 4", "QUARTIER AKWA", "DOUALA", "CAMEROUN"}},
      {"other_client", false, false, "PHARMACIE SAINT-EXUPÉRY",
       {"RUE 12", "BP 4", "QUARTIER AKWA", "DOUALA", "CAMEROUN", nullptr}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TPieceFixture f;
    TPieceDocument piece{"Facture", "Num Facture", "FR12812345678", "19/08/2025", row.distributor, row.preparation};
    AddPieceKeys(f.datas, piece, *f.header, *f.clients, *f.lines);
    EXPECT_EQ(f.datas.getData("Facture.NomPharmacie"), row.nom);
    for (int i = 0; i < 6; ++i) {
      const std::string key = "Client.adr" + std::to_string(i + 1);
      EXPECT_EQ(f.datas.exists(key), row.adr[i] != nullptr) << key;
      if (row.adr[i] != nullptr) {
        EXPECT_EQ(f.datas.getData(key), row.adr[i]) << key;
      }
    }
    EXPECT_EQ(f.datas.getData("Facture.Num Facture"), "FA31690");
    EXPECT_EQ(f.datas.getData("Facture.NumClient"), "0105");
    EXPECT_EQ(f.datas.getData("Facture.Echeance"), "19/08/2025");
    EXPECT_EQ(f.datas.getData("Facture.Total TTC"), "1949,03");
    EXPECT_EQ(f.datas.getData("Client.VIdCEE"), "CM123");
    EXPECT_EQ(f.datas.getData("CodeBarreFilename"), "./data/Barcodes/Code Barre 2690.jpg");
    EXPECT_EQ(f.datas.getData("LogoEnteteFilename"), "./Data/Bitmaps/LogoEntete.bmp");
    EXPECT_EQ(f.datas.getData("2.Designation"), "NIVAQUINE 100MG CPR B/20");
    EXPECT_EQ(f.datas.getData("1.Prix Uni. TTC"), "25,38");
    EXPECT_FALSE(f.datas.exists("3.Code"));
  }
}

TEST(PrintJobs, DistributorTableLookup) {
  TTraceCapture capture;
  auto ubipharm = Table("Code\r\n0101\r\n0105\r\n");
  EXPECT_TRUE(IsDistributorClient(*ubipharm, "0105"));
  EXPECT_FALSE(IsDistributorClient(*ubipharm, "0102"));
  EXPECT_FALSE(IsDistributorClient(*ubipharm, ""));
}

TEST(PrintJobs, BarcodePicturePath) {
  TTraceCapture capture;
  const std::pair<const char*, const char*> rows[] = {
      {"FA29123", "./data/Barcodes/Code Barre 123.jpg"},
      {"FA31690", "./data/Barcodes/Code Barre 2690.jpg"},
      {"DE1234", "./data/Barcodes/Code Barre -27766.jpg"},
      // The digits of the courier's second invoice start with a zero: no integer.
      {"FA031701", "./data/Barcodes/Code Barre -29000.jpg"},
      {"FA", "./data/Barcodes/Code Barre -29000.jpg"},
  };
  for (const auto& [number, path] : rows) EXPECT_EQ(BarcodePicturePath(number), path) << number;
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(PrintJobs, TemplateOfEachPieceDocument) {
  using K = TPieceDocumentKind;
  struct Row {
    const char* kind;
    K document;
    bool letterhead;
    const char* modele;
  };
  const Row rows[] = {
      {"Facture", K::Piece, false, "./Data/Modeles/ModeleFacture.ini"},
      {"Facture", K::Piece, true, "./Data/Modeles/ModeleFactureAvecLogo.ini"},
      {"Devis", K::Piece, true, "./Data/Modeles/ModeleDevisAvecLogo.ini"},
      {"Avoir", K::Piece, false, "./Data/Modeles/ModeleAvoir.ini"},
      // The letterhead only matters for the piece itself.
      {"Devis", K::Commande, true, "./Data/Modeles/ModeleCommande.ini"},
      {"Avoir", K::Preparation, false, "./Data/Modeles/ModeleBonDePreparation.ini"},
      {"Inconnu", K::Piece, false, ""},
  };
  for (const Row& row : rows) EXPECT_EQ(PieceTemplate(row.kind, row.document, row.letterhead), row.modele) << row.kind;
}

TEST(PrintJobs, ArchiveFileNameJoinsNumberAndMoment) {
  const TDateTime moment = EncodeDate(2026, 12, 8) + EncodeTime(14, 5, 9);
  EXPECT_EQ(PrintedArchiveFileName("FA31690", moment), "./Data/Elements imprimes/FA3169008-12-2026-14-05-09.db");
}

}  // namespace
