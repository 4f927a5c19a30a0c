// The sample installation the first start opens: its records must be what
// the screens accept, and its pieces must agree with their line files.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>

#include "FileUtils.h"
#include "MyDatabase.h"
#include "TestSupport.h"

namespace {

const std::string kData = std::string(QUORIX_SOURCE_DIR) + "/sample/Data/";

bool ValidCip(const std::string& code) {
  if (code.size() != 7) return false;
  int sum = 0;
  for (int i = 0; i < 6; ++i) {
    if (code[i] < '0' || code[i] > '9') return false;
    sum += (code[i] - '0') * (i + 2);
  }
  return code[6] - '0' == (sum % 11) % 10;
}

double Number(const std::string& text) {
  std::string t = text;
  for (char& c : t) {
    if (c == ',') c = '.';
  }
  return t.empty() ? 0.0 : std::stod(t);
}

std::string Column(TMyDatabase& table, const char* field, int record) {
  return table.DBGetString(table.GetFieldPos(field), record);
}

}  // namespace

TEST(SampleInstallation, EveryFileIsWindows1252WithCrLf) {
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kData)) {
    if (!entry.is_regular_file()) continue;
    // The logos and barcode pictures are images, not text.
    const std::string extension = entry.path().extension().string();
    if (extension == ".bmp" || extension == ".jpg") continue;
    const std::string bytes = ReadFileBytes(entry.path().string());
    SCOPED_TRACE(entry.path().string());
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\n') {
        ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "lone LF at " << i;
      }
      if (bytes[i] == '\r') {
        ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "lone CR at " << i;
      }
    }
    // No UTF-8 sequence for an accented capital (Ã followed by a
    // continuation byte) may have slipped in.
    EXPECT_EQ(bytes.find("\xC3\x89"), std::string::npos);
    EXPECT_EQ(bytes.find("\xC3\x88"), std::string::npos);
  }
  EXPECT_NE(ReadFileBytes(kData + "BaseDeDonneeArticles.db").find("B\xC9PANTH\xC8NE"), std::string::npos);
}

TEST(SampleInstallation, ArticlesHaveValidCipCodesAndNumberFormats) {
  TTraceCapture capture;
  TMyDatabase articles(kData + "BaseDeDonneeArticles.db");
  ASSERT_EQ(articles.RecordCount(), 40);
  std::set<std::string> codes;
  for (int r = 0; r < articles.RecordCount(); ++r) {
    const std::string code = Column(articles, "Code", r);
    EXPECT_TRUE(ValidCip(code)) << code;
    EXPECT_TRUE(codes.insert(code).second) << "duplicate " << code;
    for (auto [field, decimals] : {std::pair{"Prix Achat", 2}, {"Prix Vente", 2}, {"Coef", 4}, {"Poids", 4}}) {
      const std::string v = Column(articles, field, r);
      const auto comma = v.find(',');
      ASSERT_NE(comma, std::string::npos) << field << " " << v;
      EXPECT_EQ(v.size() - comma - 1, static_cast<std::size_t>(decimals)) << field << " " << v;
    }
    EXPECT_NEAR(Number(Column(articles, "Coef", r)),
                Number(Column(articles, "Prix Vente", r)) / Number(Column(articles, "Prix Achat", r)), 0.00006);
  }
  for (auto [file, field] : {std::pair{"ListePsychotropes.db", "CIP Psychotrope"}, {"ListeStupefiants.db", "CIP Stupefiant"}}) {
    TMyDatabase list(kData + file);
    ASSERT_GT(list.RecordCount(), 0) << file;
    for (int r = 0; r < list.RecordCount(); ++r) {
      EXPECT_TRUE(codes.count(Column(list, field, r))) << file << " lists an article of the catalogue";
    }
  }
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(SampleInstallation, ClientsHaveFourDigitCodesListedCountriesAndTermWords) {
  TTraceCapture capture;
  TMyDatabase clients(kData + "BaseDeDonneesClients.db");
  TMyDatabase pays(kData + "ListePays.db");
  std::set<std::string> countries;
  for (int r = 0; r < pays.RecordCount(); ++r) countries.insert(Column(pays, "Nom Pays", r));
  ASSERT_EQ(clients.RecordCount(), 15);
  for (int r = 0; r < clients.RecordCount(); ++r) {
    const std::string code = Column(clients, "Code", r);
    EXPECT_EQ(code.size(), 4u);
    EXPECT_EQ(code.find_first_not_of("0123456789"), std::string::npos) << code;
    EXPECT_TRUE(countries.count(Column(clients, "Pays", r))) << Column(clients, "Pays", r);
    EXPECT_TRUE(countries.count(Column(clients, "Pays livraison", r)));
    const std::string term = Column(clients, "Echeance", r);
    EXPECT_TRUE(term.empty() || term == "30Jours" || term == "Comptant" || term == "Quinzaine") << term;
    EXPECT_FALSE(Column(clients, "Contact", r).empty());
  }
  EXPECT_TRUE(countries.count("COTE D'IVOIRE"));
  EXPECT_TRUE(countries.count("C\xD4TE D'IVOIRE"));
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(SampleInstallation, PieceTotalsAgreeWithTheirLineFiles) {
  TTraceCapture capture;
  struct Kind {
    const char* table;
    const char* key;
    const char* folder;
    const char* prefix;
  };
  const Kind kinds[] = {
      {"BaseDeDonneesFactures.db", "Num Facture", "Factures/", "FA"},
      {"BaseDeDonneesDevis.db", "Num Devis", "Devis/", "DE"},
      {"BaseDeDonneesAvoirs.db", "Num Avoir", "Avoirs/", "AV"},
  };
  for (const Kind& kind : kinds) {
    TMyDatabase headers(kData + kind.table);
    ASSERT_GT(headers.RecordCount(), 0) << kind.table;
    for (int r = 0; r < headers.RecordCount(); ++r) {
      const std::string number = Column(headers, kind.key, r);
      SCOPED_TRACE(number);
      EXPECT_EQ(number.rfind(kind.prefix, 0), 0u);
      const std::string date = Column(headers, "Date", r);
      EXPECT_TRUE(date.size() == 10 && date[2] == '/' && date[5] == '/') << date;
      const std::string lineFile = kData + kind.folder + number + ".db";
      ASSERT_TRUE(FileExists(lineFile));
      EXPECT_EQ(ReadFileBytes(lineFile).substr(0, ReadFileBytes(lineFile).find('\r')),
                std::string(kind.key) + ";Quantite;Code;Designation;Prix Uni. TTC;Montant TTC");
      TMyDatabase lines(lineFile);
      double total = 0;
      for (int l = 0; l < lines.RecordCount(); ++l) {
        EXPECT_EQ(Column(lines, kind.key, l), number);
        const double amount = Number(Column(lines, "Montant TTC", l));
        EXPECT_NEAR(amount, Number(Column(lines, "Quantite", l)) * Number(Column(lines, "Prix Uni. TTC", l)), 0.005);
        total += amount;
      }
      const double port = headers.FieldExists("Port") ? Number(Column(headers, "Port", r)) : 0.0;
      if (headers.FieldExists("Total HT")) {
        EXPECT_NEAR(Number(Column(headers, "Total HT", r)), total, 0.005);
      }
      EXPECT_NEAR(Number(Column(headers, "Total TTC", r)), total + port, 0.005);
    }
  }
  // The next invoice number the desk gets is free: the sample stays below it.
  TMyDatabase factures(kData + "BaseDeDonneesFactures.db");
  factures.Query("Num Facture", "FA31702", Exact);
  EXPECT_EQ(factures.QueryResultCount(), 0);
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(SampleInstallation, TariffStepsRunByHalfKilogramsUpToThirty) {
  TMyDatabase tarifs(kData + "BaseDeDonneesTarifsChronopost.db");
  ASSERT_EQ(tarifs.RecordCount(), 60);
  EXPECT_EQ(Column(tarifs, "Poids", 0), "0,5");
  EXPECT_EQ(Column(tarifs, "Poids", 1), "1");
  EXPECT_EQ(Column(tarifs, "Poids", 2), "1,5");
  EXPECT_EQ(Column(tarifs, "Poids", 59), "30");
  for (int r = 0; r < tarifs.RecordCount(); ++r) {
    const std::string t = Column(tarifs, "Tarif", r);
    EXPECT_EQ(t.find_first_not_of("0123456789"), std::string::npos) << t;
  }
}
