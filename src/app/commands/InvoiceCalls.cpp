#include "InvoiceCalls.h"

#include "Catalogue.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PieceOperations.h"
#include "QuorixForm.h"

void SelectInvoice(TQuorix_Form& form, const std::string& number) {
  TMyStringGrid* list = form.fFacturesGrid.get();
  if (list == nullptr) return;
  const int row = list->FindCell(number, Catalogue::Field::NumFacture).second;
  if (row >= list->GetGrid()->GetFixedRows() && row < list->GetRowCount()) list->SetRow(row);
}

bool DuplicateInvoice(TQuorix_Form& form, const std::string& source, const std::string& name) {
  TPieceTables tables;
  tables.Articles = form.ArticlesDB();
  tables.Clients = form.ClientsDB();
  tables.Factures = form.FacturesDB();
  tables.Devis = form.DevisDB();
  tables.Avoirs = form.AvoirsDB();
  return DuplicatePiece(tables, source, name, true);
}

std::string SecondInvoiceNumber(const std::string& number) { return SpecialDuplicateNumber(number); }

void RecordSecondInvoiceClient(TQuorix_Form& form, const std::string& clientCode) {
  TMyDatabase* dupli = form.DupliDB();
  if (dupli == nullptr || dupli->FieldCount() == 0 || HasSpecialDuplicate(*dupli, clientCode)) return;
  dupli->SetData(Catalogue::Dupli::Code, dupli->AddRecord(), clientCode);
}

void PrintInvoiceAutomatically(TQuorix_Form& form, const std::string& number, int copies) {
  form.AutoPrintFacture(number, copies);
}
