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
  return DuplicatePiece(form.Tables().Pieces(), source, name, true);
}

std::string SecondInvoiceNumber(const std::string& number) { return SpecialDuplicateNumber(number); }

void RecordSecondInvoiceClient(TQuorix_Form& form, const std::string& clientCode) {
  TMyDatabase* dupli = form.Tables().Dupli();
  if (dupli == nullptr || dupli->FieldCount() == 0 || HasSpecialDuplicate(*dupli, clientCode)) return;
  dupli->SetData(Catalogue::Dupli::Code, dupli->AddRecord(), clientCode);
}

void PrintInvoiceAutomatically(TQuorix_Form& form, const std::string& number, int copies) {
  form.AutoPrintFacture(number, copies);
}
