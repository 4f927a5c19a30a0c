#pragma once

#include <string>

#include "DateTime.h"

class TMyDatabase;
class TMyStringGrid;

// What the wholesaler order window does with its four grids, without any
// widget: the invoices in progress since a date (an invoice is in progress
// while its "Port" is exactly "0"), the invoices chosen from them, the
// quantities of their lines added up per CIP code, and the printed layout of
// three blocks of 44 articles side by side.
class TAllianceOrder {
public:
  // Rows of one printed block, and articles per band of three blocks.
  static constexpr int kBlockRows = 44;
  static constexpr int kBandRows = 3 * kBlockRows;

  // The grids are the window's managed grids (not owned); each has a fixed
  // title row and a fixed row-number column.
  TAllianceOrder(TMyStringGrid& invoices, TMyStringGrid& chosen, TMyStringGrid& articles, TMyStringGrid& buffer);

  // Stores the invoice header table and the folder of the invoice line files
  // (both kept by the caller), lists the invoices in progress dated after
  // `since` (a date and a time of day: an invoice dated on that day is
  // dropped when the time is after midnight) and empties the chosen ones.
  void Charger(TMyDatabase* factures, const std::string& lineFolder, TDateTime since);
  // The same with the table and folder stored by the last Charger.
  void Recharger(TDateTime since);
  // Forgets the table (it is about to be released).
  void Release();

  // The invoice of the selected row of the invoice list joins the chosen
  // ones, once.
  void Choisir();
  // The selected chosen invoice leaves the chosen ones.
  void Enlever();
  // Builds the article list from the chosen invoices' line files and
  // answers the text of the label under it: articles " / " invoice lines.
  std::string Go();
  // Sorts the article list by designation and lays it out in the buffer,
  // three blocks of 44 rows across per band of 132 articles, ready to print.
  void MettreEnPage();

private:
  void ResetArticles();

  TMyStringGrid& fInvoices;
  TMyStringGrid& fChosen;
  TMyStringGrid& fArticles;
  TMyStringGrid& fBuffer;
  TMyDatabase* fFactures = nullptr;
  std::string fLineFolder;
};

// Columns of the two invoice grids and of the article list.
inline constexpr const char* kAllianceInvoiceColumns = "Num Facture;Date;Societe;Total TTC";
inline constexpr const char* kAllianceArticleColumns = "Qte;CIP;Designation";
