#include "ListDescriptors.h"

#include "Catalogue.h"
#include "PieceKinds.h"
#include "Search.h"

const std::array<TListDescriptor, kListCount>& ListDescriptors() {
  namespace F = Catalogue::Field;
  static const std::array<TListDescriptor, kListCount> lists = {{
      {"Liste_Clients_StringGrid", TDeskTable::Clients, ListFilters::Clients, F::Code, 1, ColumnColorRules::Clients,
       "CurrentClientListRow", "CurrentClientListTopRow", 1, true, nullptr, TListRecord::Client, 4,
       &SearchLists::Clients},
      {"Liste_Articles_StringGrid", TDeskTable::Articles, ListFilters::Articles, F::Code, 2,
       ColumnColorRules::Articles, "CurrentArticleListRow", "CurrentArticleListTopRow", 0, false, nullptr,
       TListRecord::Article, 3, &SearchLists::Articles},
      {"Liste_Factures_StringGrid", TDeskTable::Factures, ListFilters::Factures, F::NumFacture, 1,
       ColumnColorRules::Factures, "CurrentFactureListRow", "CurrentFactureListTopRow", 2, true, &PieceKinds::Facture,
       TListRecord::Piece, 0, &SearchLists::Factures},
      {"Liste_Devis_StringGrid", TDeskTable::Devis, ListFilters::Devis, F::NumDevis, 1, ColumnColorRules::Devis,
       "CurrentDevisListRow", "CurrentDevisListTopRow", 3, true, &PieceKinds::Devis, TListRecord::Piece, 1,
       &SearchLists::Devis},
      {"Liste_Avoirs_StringGrid", TDeskTable::Avoirs, ListFilters::Avoirs, F::NumAvoir, 1, ColumnColorRules::Avoirs,
       "CurrentAvoirListRow", "CurrentAvoirListTopRow", 4, true, &PieceKinds::Avoir, TListRecord::Piece, 2,
       &SearchLists::Avoirs},
  }};
  return lists;
}

const TListDescriptor& ListDescriptor(TListId id) { return ListDescriptors()[static_cast<std::size_t>(id)]; }
