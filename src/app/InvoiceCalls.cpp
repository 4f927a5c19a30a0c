#include "InvoiceCalls.h"

#include "Catalogue.h"
#include "MyStringGrid.h"
#include "PrintManager.h"
#include "QuorixForm.h"
#include "StringManager.h"
#include "Trace.h"

void SelectInvoice(TQuorix_Form& form, const std::string& number) {
  TMyStringGrid* list = form.fFacturesGrid.get();
  if (list == nullptr) return;
  const int row = list->FindCell(number, Catalogue::Field::NumFacture).second;
  if (row >= list->GetGrid()->GetFixedRows() && row < list->GetRowCount()) list->SetRow(row);
}

bool DuplicateInvoice(TQuorix_Form& form, const std::string& source, const std::string& name) {
  (void)form;
  Error("TQuorix_Form.DuplicatePiece : copie de " + source + " en " + name + " impossible");
  return false;
}

std::string SecondInvoiceNumber(const std::string& number) {
  TStringManager& sm = StringManager();
  return sm.MyStrCopy(number, 1, 2) + "0" + sm.MyStrCopy(number, 3, static_cast<int>(number.size()));
}

void PrintInvoiceAutomatically(TQuorix_Form& form, const std::string& number, int copies) {
  TPrintManager* manager = GetPrintManager();
  if (manager == nullptr) return;
  SelectInvoice(form, number);
  manager->NbCopies = copies;
  manager->AutoPrint = true;
  manager->NbCopies = 1;
  manager->AutoPrint = false;
}
