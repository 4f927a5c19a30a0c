#include "PrintJobs.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "Catalogue.h"
#include "ListOfPairOfStrings.h"
#include "MyDatabase.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

namespace F = Catalogue::Field;

std::string First(const TMyDatabase& table, const char* field) { return table.GetQueryResultString(field, 0); }

}  // namespace

void AddArticleKeys(TListOfPairOfStrings& datas, const TMyDatabase& articles) {
  const std::pair<const char*, const char*> keys[] = {
      {"Article.CIP", F::Code},           {"Article.Designation", F::Designation}, {"Article.PrixVente", F::PrixVente},
      {"Article.PrixAchat", F::PrixAchat}, {"Article.Poids", F::Poids},             {"Article.Coef", F::Coef},
      {"Article.CodeBarre", F::CodeBarre}};
  for (const auto& [key, field] : keys) datas.put(key, First(articles, field));
}

void AddClientKeys(TListOfPairOfStrings& datas, const TMyDatabase& clients) {
  const std::pair<const char*, const char*> keys[] = {
      {"Client.Code", F::Code},
      {"Client.Contact", F::Contact},
      {"Client.E-mail", F::Email},
      {"Client.Telephone", F::Telephone},
      {"Client.Fax", F::Fax},
      {"Client.Portable", F::Portable},
      {"Client.Imm. TVA", F::ImmTVA},
      {"Client.Societe", F::Societe},
      {"Client.Adresse 1", F::Adresse1},
      {"Client.Adresse 2", F::Adresse2},
      {"Client.Adresse 3", F::Adresse3},
      {"Client.Adresse 4", F::Ville},
      {"Client.Adresse 5", F::Pays},
      {"Client.Societe livraison", F::SocieteLivraison},
      {"Client.Adresse 1 livraison", F::Adresse1Livraison},
      {"Client.Adresse 2 livraison", F::Adresse2Livraison},
      {"Client.Adresse 3 livraison", F::Adresse3Livraison},
      {"Client.Code postal livraison", F::CodePostalLivraison},
      {"Client.Ville livraison", F::VilleLivraison},
      {"Client.Pays livraison", F::PaysLivraison},
  };
  for (const auto& [key, field] : keys) datas.put(key, First(clients, field));
}

void AddPieceKeys(TListOfPairOfStrings& datas, const TPieceDocument& piece, const TMyDatabase& header,
                  const TMyDatabase& clients, const TMyDatabase& lines) {
  // Every key is gathered first and put into the list at once: put one by
  // one, the keys of a long piece each moved the half of the list after
  // them ("10.Code" sorts before "2.Code").
  // The pairs are gathered as their bytes alone, so that a long piece's
  // keys do not stand in memory twice.
  TListOfPairOfStrings::TBatch keys;
  keys.Reserve(32 + 5 * static_cast<std::size_t>(std::max(0, lines.QueryResultCount())));
  const auto put = [&keys](const std::string& key, const std::string& value) { keys.Add(key, value); };
  const std::string t = piece.Kind + ".";
  const std::string number = First(header, piece.MainKey.c_str());
  const std::string company = First(header, F::Societe);
  put("NIdCEE", piece.NIdCEE);
  put("TypePiece", piece.Kind);
  put("MainKey", piece.MainKey);
  put(t + piece.MainKey, number);
  put(t + F::Date, First(header, F::Date));
  put(t + "NumClient", First(header, F::CodeClient));
  put(t + F::Echeance, piece.DueDate);
  // A client served through the distributor is invoiced to the distributor,
  // its own name becoming the first line of the address; the preparation
  // sheet keeps the client's name, the parcel being made up for it.
  if (piece.Distributor) {
    put(t + "NomPharmacie", piece.PreparationSheet ? company : "LABOREX C.I.");
    put("Client.adr1", "VIA " + company);
    put("Client.adr2", First(clients, F::Adresse1));
    put("Client.adr3", First(clients, F::Adresse2));
    put("Client.adr4", First(clients, F::Adresse3));
    put("Client.adr5", First(clients, F::Ville));
    put("Client.adr6", First(clients, F::Pays));
  } else {
    put(t + "NomPharmacie", company);
    put("Client.adr1", First(clients, F::Adresse1));
    put("Client.adr2", First(clients, F::Adresse2));
    put("Client.adr3", First(clients, F::Adresse3));
    put("Client.adr4", First(clients, F::Ville));
    put("Client.adr5", First(clients, F::Pays));
  }
  put("Client.VIdCEE", First(clients, F::ImmTVA));
  put("LogoEnteteFilename", Catalogue::Bitmaps::LogoEntete);
  put("CodeBarreFilename", piece.BarcodePicture ? BarcodePicturePath(number) : std::string());
  put(t + F::Port, First(header, F::Port));
  put(t + F::TotalHT, First(header, F::TotalHT));
  put(t + F::TotalTTC, First(header, F::TotalTTC));
  put("LogoPiedDePageFilename", Catalogue::Bitmaps::LogoPiedDePage);
  const char* fields[] = {F::Code, F::Designation, F::Quantite, F::PrixUniTTC, F::MontantTTC};
  std::string key;
  for (int i = 0; i < lines.QueryResultCount(); ++i) {
    const std::string n = IntToStr(i + 1) + ".";
    for (const char* field : fields) {
      key.assign(n).append(field);
      put(key, lines.GetQueryResultString(field, i));
    }
  }
  datas.putMany(std::move(keys));
}

std::string PieceTemplate(const std::string& pieceKind, TPieceDocumentKind document, bool letterhead) {
  namespace M = Catalogue::Modeles;
  if (document == TPieceDocumentKind::Commande) return M::Commande;
  if (document == TPieceDocumentKind::Preparation) return M::BonDePreparation;
  struct TKindTemplates {
    const char* Kind;
    const char* Plain;
    const char* Letterhead;
  };
  static constexpr TKindTemplates kTemplates[] = {
      {"Facture", M::Facture, M::FactureAvecLogo},
      {"Devis", M::Devis, M::DevisAvecLogo},
      {"Avoir", M::Avoir, M::AvoirAvecLogo},
  };
  for (const TKindTemplates& t : kTemplates)
    if (pieceKind == t.Kind) return letterhead ? t.Letterhead : t.Plain;
  return "";
}

bool IsDistributorClient(TMyDatabase& distributors, const std::string& clientCode) {
  if (clientCode.empty() || !distributors.FieldExists(F::Code)) return false;
  try {
    distributors.Query(F::Code, clientCode, TQueryMode::Exact);
  } catch (const ERegExError& e) {
    // A code with pattern characters that do not compile is no distributor's;
    // a match stopped by the library's limits is said, it is no answer.
    if (e.LimitReached) ShowMessage(e.Message);
    return false;
  }
  return distributors.QueryResultCount() > 0;
}

std::string BarcodePicturePath(const std::string& pieceNumber) {
  TStringManager& sm = StringManager();
  const int size = static_cast<int>(pieceNumber.size());
  // Numbers too short to hold digits after their prefix count as 0, without
  // the substring's reports about positions.
  const std::string digits = size >= 3 ? sm.MyStrCopy(pieceNumber, 3, size) : "";
  const long long value = static_cast<long long>(sm.MyStrToInt(digits)) - Catalogue::Barcodes::NumberOffset;
  return std::string(Catalogue::Barcodes::Folder) + Catalogue::Barcodes::NamePrefix + IntToStr(value) +
         Catalogue::Barcodes::Extension;
}

std::string PrintedArchiveFileName(const std::string& pieceNumber, TDateTime moment) {
  return std::string(Catalogue::ElementsImprimes::Folder) + pieceNumber + StringManager().DateTimeToStrSep(moment, '-') +
         ".db";
}
