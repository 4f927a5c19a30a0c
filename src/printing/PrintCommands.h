#pragma once

#include <string>

#include "DateTime.h"
#include "PieceKinds.h"
#include "PieceSignals.h"
#include "PrintJobs.h"

class TMyDatabase;
class TMyStringGrid;
class TPrintManager;

// Where the installation keeps its own facts in "./Data/parametres.ini".
namespace CompanySettings {
inline constexpr const char* Section = "Entreprise";
// The company's own intra-community VAT number, printed on every piece.
inline constexpr const char* NIdCEE = "NIdCEE";
}  // namespace CompanySettings

// The company's VAT number from the settings file; empty, with a warning that
// is not shown, when the file, the section or the key is missing (a piece
// then prints with the place left blank rather than being refused).
std::string ReadNIdCEE(const std::string& settingsFile);

// What the main window shows, as the print commands see it. The piece lists
// are in the order of the piece kinds (invoices, quotes, credit notes).
struct TPrintScreen {
  TMyStringGrid* Recherche = nullptr;
  TMyStringGrid* Articles = nullptr;
  TMyStringGrid* Clients = nullptr;
  TMyStringGrid* Pieces[PieceKinds::Count] = {};
  // The piece editor's message panel, for what a print leaves out (a
  // preparation sheet without its barcode picture).
  TSignalProc Signal;
};

// The tables a print reads: the main window's, borrowed.
struct TPrintTables {
  TPieceTables Pieces;
  // The clients served through the distributor.
  TMyDatabase* Ubipharm = nullptr;
};

// Prints or previews what the user has in front of him: the search results
// (printed as a grid, then hidden), else the sheet of the selected article
// or client, else the selected piece of the visible piece list as the piece
// itself (plain or on the letterhead), its order form or its preparation
// sheet; with no list visible nothing happens. A piece print first leaves a
// copy of the piece's lines in the printed archive, named after the moment.
// A record that cannot be found is reported and the document still produced.
// A print to a PDF file is named after what is printed: the piece number
// ("FA31690", "FA31690 Commande", "FA31690 Preparation"), the record's code,
// "Recherche".
void ImprimerOuApercu(TPrintManager& manager, const TPrintScreen& screen, const TPrintTables& tables, bool preview,
                      bool letterhead, TPieceDocumentKind document, TDateTime moment = Now());
