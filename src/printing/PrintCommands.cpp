#include "PrintCommands.h"

#include <filesystem>
#include <system_error>

#include "Catalogue.h"
#include "FileUtils.h"
#include "IniManager.h"
#include "ListOfPairOfStrings.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PaymentTerms.h"
#include "PrintManager.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

namespace F = Catalogue::Field;

// The record sheets: which list shows the records, which table holds them,
// what the report calls them, their keys and their template.
struct TRecordSheet {
  TMyStringGrid* TPrintScreen::*List;
  TMyDatabase* TPieceTables::*Table;
  const char* What;
  void (*AddKeys)(TListOfPairOfStrings&, const TMyDatabase&);
  const char* Modele;
};

constexpr TRecordSheet kSheets[] = {
    {&TPrintScreen::Articles, &TPieceTables::Articles, "Article", AddArticleKeys, Catalogue::Modeles::Article},
    {&TPrintScreen::Clients, &TPieceTables::Clients, "Client", AddClientKeys, Catalogue::Modeles::Client},
};

bool Visible(const TMyStringGrid* grid) { return grid != nullptr && grid->GetVisible(); }

std::string SelectedCell(const TMyStringGrid& list, const char* field) {
  return list.GetCellByName(field, list.GetRow());
}

// The records whose field holds exactly the value. A value with pattern
// characters that do not compile designates no record.
void QueryExact(TMyDatabase& table, const char* field, const std::string& value) {
  try {
    table.Query(field, value, Exact);
  } catch (const ERegExError& e) {
    // The query left an empty result; a match stopped by the library's
    // limits is said, it is no answer.
    if (e.LimitReached) ShowMessage(e.Message);
  }
}

// The document of one record: the first record of the query, or empty
// values when the query found none.
void PrintRecordSheet(TPrintManager& manager, const TRecordSheet& sheet, const TMyStringGrid& list,
                      TMyDatabase& table, bool preview) {
  const std::string code = SelectedCell(list, F::Code);
  QueryExact(table, F::Code, code);
  if (table.QueryResultCount() != 1)
    Error(std::string("TQuorix_Form.ImprimerOuApercu : Impossible de trouver ") + sheet.What + " : " + code);
  TListOfPairOfStrings datas;
  sheet.AddKeys(datas, table);
  manager.PrintDoc(sheet.Modele, &datas, preview, code);
  datas.ClearAndFreeEachObject();
}

// The due date of a piece of that date for a client of that term, in the
// short date format; empty when the piece's date is no date.
std::string DueDateText(const std::string& term, const std::string& date) {
  TDateTime value = 0;
  const bool dated = TryStrToDate(date, value);
  // The term is judged (and a wrong one reported) whatever the date.
  const TDateTime due = DueDate(term, value);
  if (!dated) {
    Warning("TQuorix_Form.ImprimerOuApercu : date de piece illisible : " + date);
    return "";
  }
  return DateToStr(due);
}

// A copy of the piece's lines as they were read, kept in the printed archive.
void SaveArchiveCopy(TMyDatabase& lines, const std::string& number, TDateTime moment) {
  if (lines.GetFileName().empty() || lines.LoadFailed()) {
    // There were no lines to read: an empty copy would only be a file the
    // history could not restore.
    Warning("TQuorix_Form.ImprimerOuApercu : pas de lignes a archiver pour " + number);
    return;
  }
  std::error_code ec;
  std::filesystem::create_directories(Catalogue::ElementsImprimes::Folder, ec);
  lines.SaveToFile(PrintedArchiveFileName(number, moment));
}

// The preparation sheet shows the piece's barcode picture, which is made for
// some pieces only (never for the invoices of a split): without it the sheet
// is printed all the same, and the message panel says so.
bool BarcodePictureExists(const std::string& number, const TSignalProc& signal) {
  const std::string picture = BarcodePicturePath(number);
  if (!FindFileIgnoringCase(picture).empty()) return true;
  if (signal) signal("Bon de preparation " + number + " imprime sans code barre : image absente " + picture, clSignalRed);
  return false;
}

std::string PdfName(const std::string& number, TPieceDocumentKind document) {
  switch (document) {
    case TPieceDocumentKind::Commande: return number + " Commande";
    case TPieceDocumentKind::Preparation: return number + " Preparation";
    case TPieceDocumentKind::Piece: break;
  }
  return number;
}

void PrintPiece(TPrintManager& manager, const TPieceKind& kind, const TMyStringGrid& list, const TPrintTables& tables,
                bool preview, bool letterhead, TPieceDocumentKind document, TDateTime moment,
                const TSignalProc& signal) {
  TMyDatabase* header = kind.HeaderTableOf(tables.Pieces);
  TMyDatabase* clients = tables.Pieces.Clients;
  if (header == nullptr || clients == nullptr) return;
  const std::string modele = PieceTemplate(kind.Kind(), document, letterhead);

  const std::string number = SelectedCell(list, kind.KeyField());
  QueryExact(*header, kind.KeyField(), number);
  const std::string code = header->GetQueryResultString(F::CodeClient, 0);
  QueryExact(*clients, F::Code, code);
  if (clients->QueryResultCount() != 1)
    Error("TQuorix_Form.ImprimerOuApercu / Piece : Impossible de trouver Client : " + code);

  TPieceDocument piece;
  piece.Kind = kind.Kind();
  piece.MainKey = kind.KeyField();
  piece.NIdCEE = ReadNIdCEE(Catalogue::Settings::File);
  piece.DueDate = DueDateText(clients->GetQueryResultString(F::Echeance, 0), header->GetQueryResultString(F::Date, 0));
  piece.Distributor = tables.Ubipharm != nullptr && IsDistributorClient(*tables.Ubipharm, code);
  piece.PreparationSheet = document == TPieceDocumentKind::Preparation;
  piece.BarcodePicture = !piece.PreparationSheet || BarcodePictureExists(number, signal);

  TMyDatabase lines(kind.LineFile(number));
  lines.QueryAll();
  TListOfPairOfStrings datas;
  AddPieceKeys(datas, piece, *header, *clients, lines);
  // The archive is written before the document, whatever then becomes of it.
  SaveArchiveCopy(lines, number, moment);
  manager.PrintDoc(modele, &datas, preview, PdfName(number, document));
  datas.ClearAndFreeEachObject();
}

}  // namespace

std::string ReadNIdCEE(const std::string& settingsFile) {
  std::string text;
  if (ReadWholeFile(settingsFile, text, kMaxIniFileBytes) == TReadResult::Ok && !SplitLines(text).empty()) {
    TIniManager ini;
    ini.LoadFromText(text);
    if (ini.KeyExists(CompanySettings::Section, CompanySettings::NIdCEE))
      return ini.Get(CompanySettings::Section, CompanySettings::NIdCEE);
  }
  Warning(std::string("ReadNIdCEE : [") + CompanySettings::Section + "]/" + CompanySettings::NIdCEE +
          " absent de " + settingsFile);
  return "";
}

void ImprimerOuApercu(TPrintManager& manager, const TPrintScreen& screen, const TPrintTables& tables, bool preview,
                      bool letterhead, TPieceDocumentKind document, TDateTime moment) {
  // The search results float above the lists: they are what is in view.
  if (Visible(screen.Recherche)) {
    manager.PrintGrid(screen.Recherche, "Recherche");
    screen.Recherche->SetVisible(false);
    return;
  }
  for (const TRecordSheet& sheet : kSheets) {
    const TMyStringGrid* list = screen.*sheet.List;
    if (!Visible(list)) continue;
    if (TMyDatabase* table = tables.Pieces.*sheet.Table) PrintRecordSheet(manager, sheet, *list, *table, preview);
    return;
  }
  for (int i = 0; i < PieceKinds::Count; ++i) {
    const TMyStringGrid* list = screen.Pieces[i];
    if (!Visible(list)) continue;
    PrintPiece(manager, PieceKinds::At(i), *list, tables, preview, letterhead, document, moment, screen.Signal);
    return;
  }
}
