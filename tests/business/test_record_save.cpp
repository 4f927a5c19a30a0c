#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MyDatabase.h"
#include "RecordSave.h"
#include "TestSupport.h"

namespace {

constexpr const char* kClients = "./Data/BaseDeDonneesClients.db";
constexpr const char* kUbipharm = "./Data/BaseDeDonneesUbipharm.db";
constexpr const char* kFactures = "./Data/BaseDeDonneesFactures.db";
constexpr const char* kArticles = "./Data/BaseDeDonneeArticles.db";
constexpr const char* kRedFields = "Veuillez corriger les champs en rouge";

// The client fields, in the order the panel writes them.
const std::vector<std::string> kClientFields = {
    "Code",       "Societe",           "Telephone",           "Fax",
    "Portable",   "Adresse 1",         "Adresse 2",           "Adresse 3",
    "Ville",      "Pays",              "Imm. TVA",            "E-mail",
    "Code postal", "Societe livraison", "Adresse 1 livraison", "Adresse 2 livraison",
    "Adresse 3 livraison", "Code postal livraison", "Ville livraison", "Pays livraison",
    "Echeance"};

// A working folder with small client, distributor, invoice and article
// tables, made current.
class RecordSaveTest : public ::testing::Test {
protected:
  RecordSaveTest() : fCwd(fDir.Path()) {
    std::string header;
    for (const std::string& f : kClientFields) header += f + ";";
    header += "Contact\r\n";
    WriteFileBytes(fDir.File("Data/BaseDeDonneesClients.db"),
                   header + "0101;PHARMACIE CENTRALE;;;;;;;DAKAR;SENEGAL;;;;;;;;;;;30Jours;MAMADOU DIOP\r\n" +
                       "0102;PHARMACIE DU PLATEAU;;;;;;;ABIDJAN;;;;;;;;;;;;Comptant;KOUASSI\r\n" +
                       "0103;GRANDE PHARMACIE;;;;;;;PARIS;FRANCE;;;;;;;;;;;30Jours;C\xC9LINE MARTIN\r\n" +
                       "0104;PHARMACIE SAINT-EXUP\xC9RY;;;;;;;LYON;FRANCE;;;;;;;;;;;;\r\n" +
                       "0104;PHARMACIE SAINT-EXUP\xC9RY BIS;;;;;;;LYON;FRANCE;;;;;;;;;;;;\r\n");
    WriteFileBytes(fDir.File("Data/BaseDeDonneesUbipharm.db"), "Code\r\n0101\r\n");
    WriteFileBytes(fDir.File("Data/BaseDeDonneesFactures.db"),
                   "Num Facture;Date;Code client;Societe;Port;Poids;Total HT;Total TTC\r\n"
                   "FA31690;20/02/2026;0102;PHARMACIE DU PLATEAU;0;1;10,00;10\r\n"
                   "FA31691;21/02/2026;0101;PHARMACIE CENTRALE;0;1;10,00;10\r\n"
                   "FA31692;22/02/2026;0101;PHARMACIE CENTRALE;0;1;10,00;10\r\n");
    WriteFileBytes(fDir.File("Data/BaseDeDonneeArticles.db"),
                   "Code;Designation;Prix Achat;Prix Vente;Coef;Poids;Code Barre\r\n"
                   "3408919;DOLIPRANE 1000MG CPR B/8;43,62;55,90;1,2815;0,7189;\r\n"
                   "7968532;DOLIPRANE 500MG GELULES B/16;19,49;26,96;1,3833;0,3797;3400979685326\r\n");
    fClientsTable = std::make_unique<TMyDatabase>(kClients);
    fUbipharmTable = std::make_unique<TMyDatabase>(kUbipharm);
  }

  // A client as the panel hands it over: the code and company name typed,
  // every other field with a recognisable value.
  TRecordToSave Client(const std::string& loaded, const std::string& code, const std::string& societe = "NOUVELLE") {
    TRecordToSave c;
    c.Kind = &RecordKinds::Client;
    c.Table = fClientsTable.get();
    c.LoadedKey = loaded;
    for (const std::string& f : kClientFields) {
      c.Values.emplace_back(f, f == "Code" ? code : f == "Societe" ? societe : f == "Echeance" ? "Quinzaine" : "x");
    }
    return c;
  }

  // Field values of the records of a code in the file as saved.
  static std::vector<std::string> Stored(const char* file, const std::string& code, const std::string& field) {
    TMyDatabase reread(file);
    reread.Query("Code", code, Exact);
    std::vector<std::string> out;
    for (int i = 0; i < reread.QueryResultCount(); ++i) out.push_back(reread.GetQueryResultString(field, i));
    return out;
  }
  static std::vector<std::string> Codes(const char* file) {
    TMyDatabase reread(file);
    reread.QueryAll();
    std::vector<std::string> out;
    for (int i = 0; i < reread.QueryResultCount(); ++i) out.push_back(reread.GetQueryResultString("Code", i));
    return out;
  }

  TTempDir fDir;
  TScopedCwd fCwd;
  TTraceCapture fCapture;
  std::unique_ptr<TMyDatabase> fClientsTable;
  std::unique_ptr<TMyDatabase> fUbipharmTable;
};

using Strings = std::vector<std::string>;

TEST_F(RecordSaveTest, ClientSaveKeepsOneRecordPerCodeAndItsContact) {
  struct Row {
    const char* name;
    const char* loaded;
    const char* code;
    Strings codes;
    const char* contact;  // the contact of the saved code afterwards
  };
  const Row rows[] = {
      {"new client added at the end", "", "0116", {"0101", "0102", "0103", "0104", "0104", "0116"}, ""},
      {"saved under its own code", "0102", "0102", {"0101", "0102", "0103", "0104", "0104"}, "KOUASSI"},
      {"renamed: the old record goes, the contact follows",
       "0103", "0120", {"0101", "0102", "0104", "0104", "0120"}, "C\xC9LINE MARTIN"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fClientsTable = std::make_unique<TMyDatabase>(kClients);
    const std::string original = ReadFileBytes(kClients);
    fCapture.Clear();
    EXPECT_EQ(SaveRecordSequence(Client(row.loaded, row.code)), TRecordSaveResult::Saved);
    EXPECT_TRUE(fCapture.Boxes().empty());
    EXPECT_EQ(Codes(kClients), row.codes);
    EXPECT_EQ(Stored(kClients, row.code, "Societe"), Strings{"NOUVELLE"});
    EXPECT_EQ(Stored(kClients, row.code, "Echeance"), Strings{"Quinzaine"});
    EXPECT_EQ(Stored(kClients, row.code, "Contact"), Strings{row.contact});
    WriteFileBytes(kClients, original);
  }
}

TEST_F(RecordSaveTest, RefusedSaveLeavesTheRecordOfTheOldCode) {
  struct Row {
    const char* name;
    TRecordSaveResult result;
    const char* box;
    std::function<void(TRecordToSave&)> change;
  };
  const Row rows[] = {
      {"red edit", TRecordSaveResult::RedFields, kRedFields, [](TRecordToSave& c) { c.RedEdit = true; }},
      {"renamed to a code with two records", TRecordSaveResult::Failed,
       "*ERROR*TQuorix_Form.ClientEnregistrer_ButtonClick:Nombre de clients non conforme", nullptr},
      {"renamed to a code with pattern characters", TRecordSaveResult::Failed, nullptr,
       [](TRecordToSave& c) { c.Values[0].second = "01(3"; }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fClientsTable = std::make_unique<TMyDatabase>(kClients);
    fCapture.Clear();
    TRecordToSave c = Client("0103", "0104");
    if (row.change) row.change(c);
    EXPECT_EQ(SaveClientSequence(c, *fUbipharmTable, true), row.result);
    ASSERT_FALSE(fCapture.Boxes().empty());
    if (row.box != nullptr) {
      EXPECT_EQ(fCapture.Boxes().front(), row.box);
    }
    // What the close would write: the table as it stands in memory.
    ASSERT_TRUE(fClientsTable->Save());
    EXPECT_EQ(Stored(kClients, "0103", "Societe"), Strings{"GRANDE PHARMACIE"});
    EXPECT_EQ(Codes(kUbipharm), Strings{"0101"}) << "the distributor list is left alone";
  }
}

TEST_F(RecordSaveTest, DistributorBoxListsTheCodeOnce) {
  struct Row {
    const char* name;
    const char* ubipharm;
    bool checked;
    Strings codes;
  };
  const Row rows[] = {
      {"checked adds the code", "Code\r\n0101\r\n", true, {"0101", "0102"}},
      {"checked and listed stays once", "Code\r\n0102\r\n", true, {"0102"}},
      {"unchecked removes the code", "Code\r\n0101\r\n0102\r\n", false, {"0101"}},
      {"unchecked removes every copy", "Code\r\n0102\r\n0101\r\n0102\r\n", false, {"0101"}},
      {"unchecked and not listed", "Code\r\n0101\r\n", false, {"0101"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    WriteFileBytes(kUbipharm, row.ubipharm);
    TMyDatabase ubipharm(kUbipharm);
    EXPECT_EQ(SaveClientSequence(Client("0102", "0102"), ubipharm, row.checked), TRecordSaveResult::Saved);
    EXPECT_EQ(Codes(kUbipharm), row.codes);
    EXPECT_EQ(IsParUbipharm(ubipharm, "0102"), row.checked);
  }
}

TEST_F(RecordSaveTest, ADistributorSearchStoppedOnALimitIsSaid) {
  WriteFileBytes(kUbipharm, "Code\r\n" + std::string(40, 'a') + "!\r\n");
  TMyDatabase ubipharm(kUbipharm);
  TTraceCapture capture;
  EXPECT_FALSE(IsParUbipharm(ubipharm, "(a+)+"));
  ASSERT_EQ(capture.Boxes().size(), 1u);
  EXPECT_EQ(capture.Boxes()[0].rfind("TPerlRegEx.Match() - match limit", 0), 0u) << capture.Boxes()[0];
  capture.Clear();
  EXPECT_FALSE(IsParUbipharm(ubipharm, "(a")) << "a text that is no pattern is no distributor's";
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST_F(RecordSaveTest, NextClientCode) {
  struct Row {
    const char* name;
    const char* codes;
    const char* next;
  };
  const Row rows[] = {
      {"after the highest", "Code\r\n0101\r\n0123\r\n0107\r\n", "0124"},
      {"past 0999 the code grows", "Code\r\n0999\r\n0101\r\n", "01000"},
      {"codes that carry no number are passed over", "Code\r\n0110\r\nX\r\n\r\nABCD\r\n0-20\r\n", "0111"},
      {"leading zeros of the number", "Code\r\n0012\r\n0009\r\n", "0013"},
      {"empty table", "Code\r\n", "0001"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::unique_ptr<TMyDatabase> t(TMyDatabase::CreateEmpty("", "Code"));
    t->LoadFromText(row.codes);
    fCapture.Clear();
    EXPECT_EQ(NextClientCode(*t), row.next);
    EXPECT_TRUE(fCapture.Boxes().empty());
  }
}

TEST_F(RecordSaveTest, ClientWithInvoicesIsNotDeleted) {
  struct Row {
    const char* name;
    const char* code;
    TRecordDeleteResult result;
    Strings boxes;
    Strings codes;
  };
  const Row rows[] = {
      {"one invoice",
       "0102",
       TRecordDeleteResult::Refused,
       {"La suppression de ce client est impossible, il est present dans 1 Factures"},
       {"0101", "0102", "0103", "0104", "0104"}},
      {"two invoices",
       "0101",
       TRecordDeleteResult::Refused,
       {"La suppression de ce client est impossible, il est present dans 2 Factures"},
       {"0101", "0102", "0103", "0104", "0104"}},
      {"no invoice", "0103", TRecordDeleteResult::Deleted, {}, {"0101", "0102", "0104", "0104"}},
      {"no record",
       "0199",
       TRecordDeleteResult::Failed,
       {"*ERROR*TMyDatabase.QueryGetDataIndex : No Query Results Assigned",
        "*ERROR*TMyDatabase.Delete:problem deleting index -1"},
       {"0101", "0102", "0103", "0104", "0104"}},
  };
  const std::string original = ReadFileBytes(kClients);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    WriteFileBytes(kClients, original);
    TMyDatabase clients(kClients);
    TMyDatabase factures(kFactures);
    fCapture.Clear();
    EXPECT_EQ(DeleteClientSequence(clients, factures, row.code), row.result);
    EXPECT_EQ(fCapture.Boxes(), row.boxes);
    EXPECT_EQ(Codes(kClients), row.codes);
  }
}

TEST_F(RecordSaveTest, ArticleRenamedAndDeleted) {
  TMyDatabase articles(kArticles);
  TRecordToSave a;
  a.Kind = &RecordKinds::Article;
  a.Table = &articles;
  a.LoadedKey = "3408919";
  a.Values = {{"Code", "3408920"},   {"Designation", "DOLIPRANE"}, {"Prix Achat", "10,00"}, {"Prix Vente", "15,00"},
              {"Coef", "1,5000"},    {"Poids", "0,1230"},          {"Code Barre", ""}};
  EXPECT_EQ(SaveRecordSequence(a), TRecordSaveResult::Saved);
  EXPECT_EQ(ReadFileBytes(kArticles),
            "Code;Designation;Prix Achat;Prix Vente;Coef;Poids;Code Barre\r\n"
            "7968532;DOLIPRANE 500MG GELULES B/16;19,49;26,96;1,3833;0,3797;3400979685326\r\n"
            "3408920;DOLIPRANE;10,00;15,00;1,5000;0,1230;\r\n");

  EXPECT_EQ(DeleteArticleSequence(articles, "7968532"), TRecordDeleteResult::Deleted);
  EXPECT_EQ(Codes(kArticles), Strings{"3408920"});
  EXPECT_TRUE(fCapture.Boxes().empty());
}

}  // namespace
