#include "ListDescriptors.h"

#include "MyStringGrid.h"

const std::array<TListDescriptor, kListCount>& ListDescriptors() {
  using F = TQuorix_Form;
  static const std::array<TListDescriptor, kListCount> lists = {{
      {"Liste_Clients_StringGrid", &F::Liste_Clients_StringGrid, &F::fClientsGrid, &F::Client_BitBtn, TDeskTable::Clients,
       ListFilters::Clients, 1, ColumnColorRules::Clients, &TListPositions::ClientRow, &TListPositions::ClientTopRow,
       "CurrentClientListRow", "CurrentClientListTopRow", 1, true, nullptr, TListRecord::Client,
       &F::Liste_Clients_StringGridDblClick, &F::Liste_Clients_StringGridKeyPress, 4},
      {"Liste_Articles_StringGrid", &F::Liste_Articles_StringGrid, &F::fArticlesGrid, &F::Articles_BitBtn,
       TDeskTable::Articles, ListFilters::Articles, 2, ColumnColorRules::Articles, &TListPositions::ArticleRow,
       &TListPositions::ArticleTopRow, "CurrentArticleListRow", "CurrentArticleListTopRow", 0, false, nullptr,
       TListRecord::Article, &F::Liste_Articles_StringGridDblClick, &F::Liste_Articles_StringGridKeyPress, 3},
      {"Liste_Factures_StringGrid", &F::Liste_Factures_StringGrid, &F::fFacturesGrid, &F::Factures_BitBtn,
       TDeskTable::Factures, ListFilters::Factures, 1, ColumnColorRules::Factures, &TListPositions::FactureRow,
       &TListPositions::FactureTopRow, "CurrentFactureListRow", "CurrentFactureListTopRow", 2, true, "Facture",
       TListRecord::Piece, &F::Liste_Factures_StringGridDblClick, &F::Liste_Factures_StringGridKeyPress, 0},
      {"Liste_Devis_StringGrid", &F::Liste_Devis_StringGrid, &F::fDevisGrid, &F::Devis_BitBtn, TDeskTable::Devis,
       ListFilters::Devis, 1, ColumnColorRules::Devis, &TListPositions::DevisRow, &TListPositions::DevisTopRow,
       "CurrentDevisListRow", "CurrentDevisListTopRow", 3, true, "Devis", TListRecord::Piece,
       &F::Liste_Devis_StringGridDblClick, &F::Liste_Devis_StringGridKeyPress, 1},
      {"Liste_Avoirs_StringGrid", &F::Liste_Avoirs_StringGrid, &F::fAvoirsGrid, &F::Avoir_BitBtn, TDeskTable::Avoirs,
       ListFilters::Avoirs, 1, ColumnColorRules::Avoirs, &TListPositions::AvoirRow, &TListPositions::AvoirTopRow,
       "CurrentAvoirListRow", "CurrentAvoirListTopRow", 4, true, "Avoir", TListRecord::Piece,
       &F::Liste_Avoirs_StringGridDblClick, &F::Liste_Avoirs_StringGridKeyPress, 2},
  }};
  return lists;
}

const TListDescriptor& ListDescriptor(TListId id) { return ListDescriptors()[static_cast<std::size_t>(id)]; }
