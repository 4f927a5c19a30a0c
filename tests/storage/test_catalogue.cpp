// The catalogue of files and fields, checked against the sample installation
// and against the rule that the system only ever addresses fields by name.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "Catalogue.h"
#include "MyDatabase.h"
#include "StorageTestUtil.h"
#include "StringManager.h"
#include "TestSupport.h"

namespace {

const std::string kSampleData = std::string(QUORIX_SOURCE_DIR) + "/sample/Data/";

std::string Join(const char* const* names, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += (i > 0 ? ";" : "") + std::string(names[i]);
  return out;
}

// The same table with its columns in another order.
std::string Reordered(const TMyDatabase& db, const std::vector<int>& order) {
  std::string out;
  for (std::size_t i = 0; i < order.size(); ++i) out += (i > 0 ? ";" : "") + db.GetFieldName(order[i]);
  out += "\r\n";
  for (int r = 0; r < db.RecordCount(); ++r) {
    for (std::size_t i = 0; i < order.size(); ++i) {
      std::string v = db.ValueAt(order[i], r);
      std::string escaped;
      for (std::size_t k = 0; k < v.size(); ++k) {
        if (v[k] == '\r' && k + 1 < v.size() && v[k + 1] == '\n') {
          escaped += "\\n";
          ++k;
        } else {
          escaped += v[k];
        }
      }
      out += (i > 0 ? ";" : "") + escaped;
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace

TEST(Catalogue, PathsAreTheSystemsOwnSpellings) {
  EXPECT_STREQ(Catalogue::Articles::File, "./Data/BaseDeDonneeArticles.db");
  EXPECT_STREQ(Catalogue::Clients::File, "./Data/BaseDeDonneesClients.db");
  EXPECT_STREQ(Catalogue::Barcodes::Folder, "./data/Barcodes/");
  EXPECT_STREQ(Catalogue::Importation::TodoFolder, ".\\Data\\Importation\\Todo\\");
  EXPECT_STREQ(Catalogue::Importation::TodoSearch, ".\\Data\\Importation\\Todo\\\\*.txt");
  EXPECT_STREQ(Catalogue::Importation::DoneFolder, ".\\Data\\Importation\\Done\\");
  EXPECT_STREQ(Catalogue::RemoteBarcodes::PathTail, "/C$/Quorix Server/Data/BaseDeDonneesCodeBarre.db");
  EXPECT_EQ(std::string(Catalogue::RemoteBarcodes::Folder) + Catalogue::RemoteBarcodes::FileName,
            std::string(Catalogue::RemoteBarcodes::PathTail).substr(1));
  EXPECT_EQ(std::string("/") + Catalogue::Chronopost::Folder, Catalogue::Chronopost::PathTail);
  EXPECT_STREQ(Catalogue::TraceFile, "C:\\Trace.txt");
  for (const char* path : Catalogue::Modeles::All) {
    EXPECT_EQ(std::string(path).rfind(Catalogue::Modeles::Folder, 0), 0u) << path;
  }
  EXPECT_EQ(std::string(Catalogue::Poubelle::Folder) + Catalogue::AllFiles, Catalogue::Poubelle::Files);
  EXPECT_EQ(std::string(Catalogue::ElementsImprimes::Folder) + Catalogue::AllFiles, Catalogue::ElementsImprimes::Files);
}

TEST(Catalogue, EveryTableFileIsNamedOnce) {
  std::vector<std::string> files(std::begin(Catalogue::MainTables), std::end(Catalogue::MainTables));
  for (const char* f : {Catalogue::ListePays::File, Catalogue::ListePsychotropes::File,
                        Catalogue::ListeStupefiants::File, Catalogue::Poubelle::ListingFile,
                        Catalogue::ElementsImprimes::ListingFile}) {
    files.push_back(f);
  }
  EXPECT_EQ(files.size(), 14u);
  EXPECT_EQ(std::set<std::string>(files.begin(), files.end()).size(), files.size());
  for (const std::string& f : files) {
    EXPECT_EQ(f.rfind(Catalogue::DataFolderSlash, 0), 0u) << f;
    EXPECT_EQ(f.substr(f.size() - 3), Catalogue::TableExtension) << f;
  }
}

TEST(Catalogue, LineFileHeadersNameTheLineFields) {
  using namespace Catalogue;
  const char* const factureLines[] = {FactureLines::NumFacture, PieceLines::Quantite, PieceLines::Code,
                                      PieceLines::Designation, PieceLines::PrixUniTTC, PieceLines::MontantTTC};
  const char* const devisLines[] = {DevisLines::NumDevis, PieceLines::Quantite, PieceLines::Code,
                                    PieceLines::Designation, PieceLines::PrixUniTTC, PieceLines::MontantTTC};
  const char* const avoirLines[] = {AvoirLines::NumAvoir, PieceLines::Quantite, PieceLines::Code,
                                    PieceLines::Designation, PieceLines::PrixUniTTC, PieceLines::MontantTTC};
  EXPECT_EQ(Join(factureLines, 6), FactureLines::Header);
  EXPECT_EQ(Join(devisLines, 6), DevisLines::Header);
  EXPECT_EQ(Join(avoirLines, 6), AvoirLines::Header);
  EXPECT_STREQ(FactureLines::Header, "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC");
  for (const TPieceKindFiles& kind : Pieces::Kinds) {
    EXPECT_EQ(std::string(kind.LineHeader).rfind(std::string(kind.KeyField) + ";", 0), 0u) << kind.Kind;
  }
  EXPECT_STREQ(Pieces::Kinds[0].LineFolder, "./Data/Factures/");
  EXPECT_STREQ(Pieces::Kinds[1].LineFolder, "./Data/Devis/");
  EXPECT_STREQ(Pieces::Kinds[2].LineFolder, "./Data/Avoirs/");
}

// The sample installation, written by the data generator, has every field
// the catalogue names for each of its tables.
TEST(Catalogue, SampleTablesHaveTheCataloguedFields) {
  struct TTable {
    const char* File;
    std::vector<const char*> Fields;
  };
  using namespace Catalogue;
  const std::vector<TTable> tables = {
      {Articles::File, {std::begin(Articles::Fields), std::end(Articles::Fields)}},
      {Clients::File, {std::begin(Clients::Fields), std::end(Clients::Fields)}},
      {Factures::File, {std::begin(Factures::Fields), std::end(Factures::Fields)}},
      {Devis::File, {std::begin(Devis::Fields), std::end(Devis::Fields)}},
      {Avoirs::File, {std::begin(Avoirs::Fields), std::end(Avoirs::Fields)}},
      {Dupli::File, {Dupli::Code}},
      {NoFa::File, {NoFa::Client}},
      {Ubipharm::File, {Ubipharm::Code}},
      {TarifsChronopost::File, {TarifsChronopost::Poids, TarifsChronopost::Tarif}},
      {ListePays::File, {ListePays::NomPays}},
      {ListePsychotropes::File, {ListePsychotropes::CIPPsychotrope}},
      {ListeStupefiants::File, {ListeStupefiants::CIPStupefiant}},
  };
  TTraceCapture capture;
  for (const TTable& table : tables) {
    const std::string path = kSampleData + std::string(table.File).substr(std::string(DataFolderSlash).size());
    TMyDatabase db(path);
    ASSERT_GT(db.FieldCount(), 0) << path;
    for (const char* field : table.Fields) EXPECT_TRUE(db.FieldExists(field)) << path << " lacks " << field;
    if (table.File == Clients::File) {
      EXPECT_TRUE(db.FieldExists(Clients::Contact));
    }
  }
  EXPECT_TRUE(capture.Boxes().empty());
}

// The order of the fields in a file is free: moving "Ville" before "Societe",
// or any other order, changes no value read by name and no query answer.
TEST(Catalogue, ClientFieldOrderChangesNothing) {
  TTempDir dir;
  TTraceCapture capture;
  using namespace Catalogue;
  TMyDatabase original(kSampleData + "BaseDeDonneesClients.db");
  ASSERT_GT(original.RecordCount(), 3);
  const int n = original.FieldCount();
  std::vector<int> villeFirst;
  const int ville = original.GetFieldPos(Clients::Ville);
  const int societe = original.GetFieldPos(Clients::Societe);
  for (int f = 0; f < n; ++f) {
    if (f == ville) continue;
    if (f == societe) villeFirst.push_back(ville);
    villeFirst.push_back(f);
  }
  std::vector<int> shuffled(static_cast<std::size_t>(n));
  for (int f = 0; f < n; ++f) shuffled[static_cast<std::size_t>(f)] = f;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(5));

  std::vector<const char*> names(std::begin(Clients::Fields), std::end(Clients::Fields));
  names.push_back(Clients::Contact);
  for (const auto& order : {villeFirst, shuffled}) {
    auto moved = TableFromBytes(dir, Reordered(original, order), "clients.db");
    ASSERT_EQ(moved->RecordCount(), original.RecordCount());
    for (int r = 0; r < original.RecordCount(); ++r) {
      for (const char* name : names) {
        ASSERT_EQ(moved->DBGetString(moved->GetFieldPos(name), r), original.DBGetString(original.GetFieldPos(name), r))
            << name << " record " << r;
      }
    }
    struct TQ {
      const char* Field;
      std::string Value;
      TQueryMode Mode;
    };
    const std::string someCode = original.DBGetString(original.GetFieldPos(Clients::Code), 2);
    const std::vector<TQ> queries = {{Clients::Code, someCode, Exact},
                                     {Clients::Societe, "PHARMACIE", Prefix},
                                     {Clients::Ville, "DAKAR", Exact},
                                     {Clients::Societe, "DU", Pattern},
                                     {Clients::Pays, "^S", Pattern}};
    for (const TQ& q : queries) {
      original.Query(q.Field, q.Value, q.Mode);
      moved->Query(q.Field, q.Value, q.Mode);
      EXPECT_EQ(ResultValues(*moved, Clients::Code), ResultValues(original, Clients::Code)) << q.Field << " " << q.Value;
      EXPECT_GT(original.QueryResultCount(), 0) << q.Field << " " << q.Value;
    }
    // A client saved by name lands in the right columns whatever the order.
    const int r = moved->AddRecord();
    moved->SetData(Clients::Code, r, "9999");
    moved->SetData(Clients::Ville, r, "NIAMEY");
    ASSERT_TRUE(moved->Save());
    TMyDatabase reread(dir.File("clients.db"));
    reread.Query(Clients::Code, "9999", Exact);
    EXPECT_EQ(ResultValues(reread, Clients::Ville), std::vector<std::string>{"NIAMEY"});
  }
  EXPECT_TRUE(capture.Boxes().empty());
}

// The texts between double quotes of a line of code, escapes kept as written.
static std::vector<std::string> StringLiterals(const std::string& code) {
  std::vector<std::string> texts;
  std::size_t at = code.find('"');
  while (at != std::string::npos) {
    std::string text;
    std::size_t i = at + 1;
    while (i < code.size() && code[i] != '"') {
      if (code[i] == '\\' && i + 1 < code.size()) text += code[i++];
      text += code[i++];
    }
    if (i >= code.size()) break;
    texts.push_back(text);
    at = code.find('"', i + 1);
  }
  return texts;
}

// Paths, and the field names that are no common word, are spelled in the
// catalogue only: no other source file of the program writes one as a
// literal.
TEST(Catalogue, NoOtherSourceSpellsADataPathOrAFieldName) {
  using namespace Catalogue::Field;
  const std::set<std::string> fieldNames = {
      Designation, PrixAchat, PrixVente, CodeBarre, Societe, Telephone, Adresse1, Adresse2, Adresse3, ImmTVA, Email,
      CodePostal, SocieteLivraison, Adresse1Livraison, Adresse2Livraison, Adresse3Livraison, CodePostalLivraison,
      VilleLivraison, PaysLivraison, Echeance, NumFacture, NumDevis, NumAvoir, CodeClient, TotalHT, TotalTTC,
      Quantite, PrixUniTTC, MontantTTC, NomPays, CIPPsychotrope, CIPStupefiant, Fichier};
  const std::filesystem::path root = std::filesystem::path(QUORIX_SOURCE_DIR);
  const std::string path = "Data[/\\\\]|BaseDeDonnee|Modele[A-Z][A-Za-z]*\\.ini|Barcodes|Chronopost-Tampon|Quorix Server";
  std::vector<std::string> offenders;
  for (const char* folder : {"src", "platform"}) {
    if (!std::filesystem::exists(root / folder)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".cpp" && ext != ".h") continue;
      if (entry.path().filename() == "Catalogue.h") continue;
      std::ifstream in(entry.path());
      std::string line;
      int lineNo = 0;
      while (std::getline(in, line)) {
        ++lineNo;
        const std::size_t comment = line.find("//");
        const std::string code = comment == std::string::npos ? line : line.substr(0, comment);
        for (const std::string& text : StringLiterals(code)) {
          if (StringManager().RegExMatch(path, text) || fieldNames.count(text) != 0) {
            offenders.push_back(std::filesystem::relative(entry.path(), root).string() + ":" +
                                std::to_string(lineNo) + " \"" + text + "\"");
          }
        }
      }
    }
  }
  std::ostringstream list;
  for (const std::string& o : offenders) list << "\n  " << o;
  EXPECT_TRUE(offenders.empty()) << "use the constants of src/storage/Catalogue.h:" << list.str();
}
