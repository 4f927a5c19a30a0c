#include "InvoiceCalls.h"

#include "Catalogue.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PieceOperations.h"
#include "QuorixForm.h"

void SelectInvoice(TQuorix_Form& form, const std::string& number) {
  TRecordList& list = form.Lists().Of(kFacturesList);
  if (list.Grid() == nullptr) return;
  list.Select(number);
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
