// The courier hand-off's rules on a temporary share folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CourierHandOff.h"
#include "FileUtils.h"
#include "MyDatabase.h"
#include "TestSupport.h"

namespace {

std::unique_ptr<TMyDatabase> TableOf(const std::string& text) {
  std::unique_ptr<TMyDatabase> table(TMyDatabase::CreateEmpty("", "x"));
  table->LoadFromText(text);
  return table;
}

// The sample's steps up to 3 kg, with 2,5 left out.
constexpr const char* kTarifs = "Poids;Tarif\r\n0,5;20\r\n1;22\r\n1,5;24\r\n2;27\r\n3;31\r\n30;150\r\n";

class CourierTest : public ::testing::Test {
protected:
  CourierTest() {
    fShare = fDir.File("station/C$/Chronopost-Tampon/");
    std::filesystem::create_directories(fShare);
    fTarifs = TableOf(kTarifs);
    fDupli = TableOf("Code\r\n0102\r\n0103\r\n0110\r\n");
    fNoFa = TableOf("Client\r\n0103\r\n");
    fClients = TableOf(
        "Code;Societe;Ville\r\n0102;PHARMACIE DU PLATEAU;Abidjan\r\n0103;PHARMACIE CENTRALE;Dakar\r\n"
        "0104;GRANDE PHARMACIE;douala\r\n0110;PHARMACIE DE LA POSTE;Yaounde\r\n");
  }

  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(fShare)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  TParcelResult Parcel(TCourierState& state, const std::string& weight, int random = 42,
                       const std::string& code = "0102") {
    return RegisterParcel(state, code, weight, fShare, *fTarifs, [random] { return random; });
  }

  TTraceCapture fCapture;
  TTempDir fDir;
  std::string fShare;
  std::unique_ptr<TMyDatabase> fTarifs, fDupli, fNoFa, fClients;
};

}  // namespace

TEST_F(CourierTest, OpeningDecidesTheSecondInvoiceAndTheCopies) {
  struct Row {
    const char* name;
    const char* code;
    const char* total;
    bool second;
    int nbFa, nbFa0;
    const char* city;
  };
  const Row rows[] = {
      {"duplicate list, 499,99", "0102", "499,99", false, 2, 0, "ABIDJAN"},
      {"duplicate list, 500", "0102", "500,00", true, 4, 1, "ABIDJAN"},
      {"duplicate list, 500, in YAOUNDE", "0110", "500,00", true, 2, 1, "YAOUNDE"},
      {"also in the no-duplicate list", "0103", "900,00", false, 2, 0, "DAKAR"},
      {"not in the duplicate list", "0104", "900,00", false, 2, 0, "DOUALA"},
      {"unknown client", "0199", "900,00", false, 2, 0, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const TCourierState s = OpenCourierState(*fDupli, *fNoFa, *fClients, row.code, row.total);
    EXPECT_EQ(s.SecondInvoice, row.second);
    EXPECT_EQ(s.NbFa, row.nbFa);
    EXPECT_EQ(s.NbFa0, row.nbFa0);
    EXPECT_EQ(s.City, row.city);
  }
}

TEST_F(CourierTest, WeightsAreRegisteredFromAboveZeroToThirtyAtTheirHalfKiloStep) {
  // A weight of zero however written weighs nothing: no file, no parcel.
  struct Row {
    const char* weight;
    bool registered;
    int total;  // the tariff added
  };
  const Row rows[] = {
      {"30", true, 150}, {"30,1", false, 0}, {"0,2", true, 20}, {"0.2", true, 20}, {"1,2", true, 24},
      {"2", true, 27},   {"1,5", true, 24},  {"0", false, 0},   {"-1", false, 0},  {"abc", false, 0},
      {"", false, 0},    {"2 ", false, 0},   {"0,0", false, 0}, {"0.00", false, 0}, {"-0,0", false, 0},
      {"0,01", true, 20},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.weight);
    TCourierState s = OpenCourierState(*fDupli, *fNoFa, *fClients, "0102", "100,00");
    EXPECT_EQ(Parcel(s, row.weight), row.registered ? TParcelResult::Registered : TParcelResult::Ignored);
    EXPECT_EQ(s.Parcels, row.registered ? 1 : 0);
    EXPECT_EQ(s.Total, row.total);
    EXPECT_EQ(s.NbFa, row.registered ? 5 : 2);
  }
  EXPECT_EQ(WeightStep("0,2"), "0,5");
  EXPECT_EQ(WeightStep("2"), "2");
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(CourierTest, EachParcelLeavesItsFileAndItsCopies) {
  TCourierState s = OpenCourierState(*fDupli, *fNoFa, *fClients, "0102", "500,00");
  EXPECT_EQ(Parcel(s, "1,2", 1234567), TParcelResult::Registered);
  EXPECT_EQ(Parcel(s, "0.2", 0), TParcelResult::Registered);
  EXPECT_EQ(Files(), (std::vector<std::string>{"0102-0.txt", "0102-1234567.txt"}));
  EXPECT_EQ(ReadFileBytes(fShare + "0102-1234567.txt"), "0102\r\n1,2\r\n");
  EXPECT_EQ(ReadFileBytes(fShare + "0102-0.txt"), "0102\r\n0.2\r\n") << "the weight as typed";
  EXPECT_EQ(s.Total, 44);
  // The copies of a parcel go to the second invoice when it was decided at
  // the opening.
  EXPECT_EQ(s.NbFa, 4);
  EXPECT_EQ(s.NbFa0, 7);
  // The same number again replaces the earlier file.
  EXPECT_EQ(Parcel(s, "3", 0), TParcelResult::Registered);
  EXPECT_EQ(ReadFileBytes(fShare + "0102-0.txt"), "0102\r\n3\r\n");
  EXPECT_EQ(Files().size(), 2u);
  EXPECT_FALSE(s.Scission);
}

TEST_F(CourierTest, InDoualaTheSecondParcelOffersTheSplit) {
  TCourierState s = OpenCourierState(*fDupli, *fNoFa, *fClients, "0104", "100,00");
  ASSERT_EQ(s.City, "DOUALA");
  const std::vector<std::pair<bool, std::string>> expected = {
      {false, "Scission"}, {true, "scission en 2"}, {true, "scission en 3"}};
  for (int i = 0; i < 3; ++i) {
    Parcel(s, "1", i, "0104");
    EXPECT_EQ(s.Scission, expected[static_cast<std::size_t>(i)].first);
    EXPECT_EQ(s.ScissionCaption, expected[static_cast<std::size_t>(i)].second);
  }
}

TEST_F(CourierTest, AParcelThatCannotBeHandedOffIsNeitherCountedNorPriced) {
  struct Row {
    const char* name;
    std::string folder;
    std::string box;
  };
  const std::string missing = fDir.File("absent/C$/Chronopost-Tampon/");
  const Row rows[] = {
      {"no station configured", "",
       "Station Chronopost non configur\xE9" "e : indiquez son dossier (cl\xE9 StationChronopost de la section "
       "[Partages] de ./Data/parametres.ini). Colis non enregistr\xE9."},
      {"share not mounted", missing,
       "Impossible de cr\xE9" "er le fichier " + std::string(missing) + "0102-7.txt sur la station Chronopost. Colis non enregistr\xE9."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fCapture.Clear();
    TCourierState s = OpenCourierState(*fDupli, *fNoFa, *fClients, "0102", "100,00");
    EXPECT_EQ(RegisterParcel(s, "0102", "1", row.folder, *fTarifs, [] { return 7; }), TParcelResult::NotWritten);
    EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{row.box});
    EXPECT_EQ(s.Parcels, 0);
    EXPECT_EQ(s.Total, 0);
    EXPECT_EQ(s.NbFa, 2);
  }
  EXPECT_FALSE(std::filesystem::exists(missing)) << "the share's folder is never made";
}

TEST_F(CourierTest, AStepWithoutTariffIsReportedAndTheTotalKept) {
  TCourierState s = OpenCourierState(*fDupli, *fNoFa, *fClients, "0102", "100,00");
  Parcel(s, "1", 1);
  EXPECT_EQ(Parcel(s, "2,3", 2), TParcelResult::NoTariff);
  EXPECT_EQ(fCapture.Boxes(), std::vector<std::string>{"Pas de tarif Chronopost pour 2,5 kg : le total n'a pas chang\xE9."});
  EXPECT_EQ(s.Total, 22);
  EXPECT_EQ(s.Parcels, 2) << "the file is written, the parcel counted";
  EXPECT_EQ(s.NbFa, 8);
  EXPECT_EQ(Files().size(), 2u);
}
