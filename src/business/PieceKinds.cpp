#include "PieceKinds.h"

namespace PieceKinds {

const TPieceKind Facture{Catalogue::Pieces::Kinds[0],
                         "Num Facture;Date;Code client;Societe;Total HT;Total TTC;Port;Poids",
                         ctFactureNumber,
                         ctNotFactureNumberNorEmpty,
                         TPieceNumbering::AfterBase,
                         &TPieceTables::Factures,
                         true,
                         "Veuillez selectionner une facture"};
const TPieceKind Devis{Catalogue::Pieces::Kinds[1],
                       "Num Devis;Date;Code client;Societe;Total HT;Total TTC;Port;Poids",
                       ctDevisNumber,
                       ctNotDevisNumberNorEmpty,
                       TPieceNumbering::AfterHighest,
                       &TPieceTables::Devis,
                       true,
                       "Veuillez selectionner un devis"};
const TPieceKind Avoir{Catalogue::Pieces::Kinds[2],
                       "Num Avoir;Date;Code client;Societe;Total TTC",
                       ctAvoirNumber,
                       ctNotAvoirNumberNorEmpty,
                       TPieceNumbering::AfterHighest,
                       &TPieceTables::Avoirs,
                       false,
                       nullptr};

const TPieceKind& At(int i) {
  static const TPieceKind* const kinds[Count] = {&Facture, &Devis, &Avoir};
  return *kinds[i < 0 || i >= Count ? 0 : i];
}

const TPieceKind* Find(const std::string& kind) {
  for (int i = 0; i < Count; ++i) {
    if (kind == At(i).Kind()) return &At(i);
  }
  return nullptr;
}

}  // namespace PieceKinds

std::string TPieceKind::LineFile(const std::string& number) const {
  return std::string(LineFolder()) + number + Catalogue::TableExtension;
}
