#pragma once

#include <string>

#include "DateTime.h"

class TListOfPairOfStrings;
class TMyDatabase;

// What a print job puts in the data list of a document: the keys the
// templates of "./Data/Modeles/" name in their DataCode and filename entries.
// Records are read from the first result of the table's last query (empty
// values, each with the query's warning, when there is none).

// "Article.CIP", "Article.Designation" ... of the article sheet.
void AddArticleKeys(TListOfPairOfStrings& datas, const TMyDatabase& articles);
// "Client.Code", "Client.Societe" ... of the client sheet.
void AddClientKeys(TListOfPairOfStrings& datas, const TMyDatabase& clients);

// A piece document: the piece's kind and what the job worked out for it.
struct TPieceDocument {
  std::string Kind;       // "Facture", "Devis" or "Avoir"
  std::string MainKey;    // "Num Facture", "Num Devis" or "Num Avoir"
  std::string NIdCEE;     // the company's own intra-community VAT number
  std::string DueDate;    // the due date, already written as a date
  bool Distributor = false;       // the client is served through the distributor
  bool PreparationSheet = false;  // the document is the preparation sheet
  // False when the piece's barcode picture was never made: the document is
  // printed without it ("CodeBarreFilename" empty).
  bool BarcodePicture = true;
};

// Every key of a piece document, the distributor rule applied: the header
// record, the client record, and one group of keys per record of the line
// table's query result (all its records after QueryAll), in that order.
void AddPieceKeys(TListOfPairOfStrings& datas, const TPieceDocument& piece, const TMyDatabase& header,
                  const TMyDatabase& clients, const TMyDatabase& lines);

// What a piece print job prints: the piece itself, its order form or its
// preparation sheet.
enum class TPieceDocumentKind { Piece = 0, Commande = 1, Preparation = 2 };

// The template of a piece document: the order form and the preparation
// sheet have their own whatever the piece; the piece itself has its kind's
// template, plain or drawing the letterhead. "" for an unknown piece kind.
std::string PieceTemplate(const std::string& pieceKind, TPieceDocumentKind document, bool letterhead);

// True when the client's code is in the distributor table (field "Code").
bool IsDistributorClient(TMyDatabase& distributors, const std::string& clientCode);

// "./data/Barcodes/Code Barre " + (the number after its two letters, 0 when
// that is not an integer text, less 29000) + ".jpg".
std::string BarcodePicturePath(const std::string& pieceNumber);

// "./Data/Elements imprimes/" + number + the moment (short date, blank, long
// time, with "/", blanks and ":" made "-") + ".db".
std::string PrintedArchiveFileName(const std::string& pieceNumber, TDateTime moment);
