#include "InvoiceCalls.h"

#include "Catalogue.h"
#include "MyDatabase.h"
#include "PieceOperations.h"

bool DuplicateInvoice(const TPieceTables& tables, const std::string& source, const std::string& name) {
  return DuplicatePiece(tables, source, name, true);
}

std::string SecondInvoiceNumber(const std::string& number) { return SpecialDuplicateNumber(number); }

void RecordSecondInvoiceClient(TMyDatabase* dupli, const std::string& clientCode) {
  if (dupli == nullptr || dupli->FieldCount() == 0 || HasSpecialDuplicate(*dupli, clientCode)) return;
  dupli->SetData(Catalogue::Dupli::Code, dupli->AddRecord(), clientCode);
}
