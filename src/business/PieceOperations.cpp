#include "PieceOperations.h"

#include <filesystem>
#include <system_error>

#include "Catalogue.h"
#include "DateTime.h"
#include "FileUtils.h"
#include "MyDatabase.h"
#include "StringManager.h"
#include "Trace.h"

namespace F = Catalogue::Field;
namespace fs = std::filesystem;

namespace {

// The fields a conversion carries from one kind's header to the other's, in
// the order they are written.
constexpr const char* kConvertedFields[] = {F::CodeClient, F::Societe, F::TotalHT, F::TotalTTC, F::Port, F::Poids};

// The record of a piece number, or -1 after the query reading's report.
int RecordOf(const TPieceKind& kind, TMyDatabase& header, const std::string& number) {
  header.Query(kind.KeyField(), number, Exact);
  return header.QueryGetDataIndex(0);
}

// Copies a line file over the target; a missing source is no error (the
// piece simply has no lines on disk).
bool CopyLineFile(const std::string& source, const std::string& target) {
  std::error_code ec;
  if (!fs::exists(source, ec)) return false;
  fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    Warning("Copie impossible de " + source + " vers " + target);
    return false;
  }
  return true;
}

// The record of the invoice table the line file of name belongs to, if any.
// A name that makes no valid pattern belongs to no invoice: invoice numbers
// are always searchable. A name whose search stopped on a limit may belong
// to one: it is said, and the file kept.
bool BelongsToAnInvoice(TMyDatabase& factures, const std::string& name) {
  const std::string number = name.size() >= 3 ? name.substr(0, name.size() - 3) : std::string();
  try {
    factures.Query(F::NumFacture, number, Exact);
  } catch (const ERegExError& e) {
    return ShowIfLimitReached(e);
  }
  return factures.QueryResultCount() > 0;
}

}  // namespace

bool DeletePiece(const TPieceKind& kind, TMyDatabase& header, const std::string& number) {
  const int record = RecordOf(kind, header, number);
  if (record < 0) return false;
  std::string failed;
  if (!TrashPiece(kind, header, record, number, failed)) {
    ShowMessage(TrashFailureMessage(number, failed));
    return false;
  }
  header.Delete(record);
  return header.Save();
}

bool DeleteFacture(TMyDatabase& factures, const std::string& number) {
  return DeletePiece(PieceKinds::Facture, factures, number);
}

bool DuplicatePiece(const TPieceKind& kind, TMyDatabase& header, const std::string& source,
                    const std::string& newNumber) {
  const int from = RecordOf(kind, header, source);
  if (from < 0) return false;
  const int copy = header.AddRecord();
  header.CopyRecord(from, copy);
  header.SetData(kind.KeyField(), copy, newNumber);
  header.SetData(F::Date, copy, DateToStr(Date()));
  const bool saved = header.Save();
  CopyLineFile(kind.LineFile(source), kind.LineFile(newNumber));
  return saved;
}

bool DuplicatePiece(const TPieceTables& tables, const std::string& source, const std::string& newNumber,
                    bool isInvoice) {
  const TPieceKind& kind = isInvoice ? PieceKinds::Facture : PieceKinds::Devis;
  TMyDatabase* header = kind.HeaderTableOf(tables);
  if (header == nullptr) return false;
  return DuplicatePiece(kind, *header, source, newNumber);
}

std::string SpecialDuplicateNumber(const std::string& source) {
  if (source.size() < 2) return source + "0";
  return source.substr(0, 2) + "0" + source.substr(2);
}

TSpecialDuplicate SpecialDuplicate(const TPieceKind& kind, TMyDatabase& header, TMyDatabase& noFa,
                                   TMyDatabase& dupli, const std::string& source, const std::string& client,
                                   std::string& newNumber) {
  noFa.Query(Catalogue::NoFa::Client, client, Exact);
  if (noFa.QueryResultCount() > 0) return TSpecialDuplicate::Refused;
  newNumber = SpecialDuplicateNumber(source);
  header.Query(kind.KeyField(), newNumber, Exact);
  TSpecialDuplicate result = TSpecialDuplicate::AlreadyThere;
  if (header.QueryResultCount() == 0) {
    if (!DuplicatePiece(kind, header, source, newNumber)) return TSpecialDuplicate::Failed;
    result = TSpecialDuplicate::Created;
  }
  if (!HasSpecialDuplicate(dupli, client)) {
    const int record = dupli.AddRecord();
    dupli.SetData(Catalogue::Dupli::Code, record, client);
  }
  return result;
}

bool HasSpecialDuplicate(TMyDatabase& dupli, const std::string& client) {
  dupli.Query(Catalogue::Dupli::Code, client, Exact);
  return dupli.QueryResultCount() > 0;
}

bool ConvertPiece(const TPieceKind& from, const TPieceKind& to, const TPieceTables& tables, const std::string& number,
                  const std::string& newNumber) {
  TMyDatabase* source = from.HeaderTableOf(tables);
  TMyDatabase* target = to.HeaderTableOf(tables);
  if (source == nullptr || target == nullptr) return false;
  const int record = RecordOf(from, *source, number);
  if (record < 0) return false;

  const int made = target->AddRecord();
  for (const char* field : kConvertedFields) {
    target->SetData(field, made, source->GetQueryResultString(field, 0));
  }
  target->SetData(to.KeyField(), made, newNumber);
  target->SetData(F::Date, made, DateToStr(Date()));
  const bool saved = target->Save();

  const std::string lineFile = to.LineFile(newNumber);
  if (!CopyLineFile(from.LineFile(number), lineFile)) return saved;
  TMyDatabase lines(lineFile);
  const int key = lines.GetFieldPos(from.KeyField());
  if (key >= 0) lines.SetFieldName(key, to.KeyField());
  for (int slot = 0; slot < lines.RecordCount(); ++slot) lines.SetData(to.KeyField(), slot, newNumber);
  return lines.Save() && saved;
}

std::vector<std::string> RemoveOrphanLineFiles(TMyDatabase& factures) {
  std::vector<std::string> removed;
  const std::string folder = PieceKinds::Facture.LineFolder();
  for (const std::string& name : ListFiles(folder, Catalogue::AllFiles)) {
    if (BelongsToAnInvoice(factures, name)) continue;
    Error(name + " en trop");
    std::error_code ec;
    fs::remove(folder + name, ec);
    removed.push_back(name);
  }
  return removed;
}

int DeleteSpecialDuplicates(TMyDatabase& factures) {
  factures.Query(F::NumFacture, Catalogue::Factures::CleanUpPattern, Pattern);
  std::vector<std::pair<int, std::string>> found;
  for (int i = 0; i < factures.QueryResultCount(); ++i) {
    found.emplace_back(factures.QueryGetDataIndex(i), factures.GetQueryResultString(F::NumFacture, i));
  }
  if (found.empty()) return 0;
  // The files go to the trash first; an invoice whose files cannot is kept.
  std::vector<int> trashed;
  std::string failures;
  for (const auto& [record, number] : found) {
    std::string failed;
    if (TrashPiece(PieceKinds::Facture, factures, record, number, failed)) {
      trashed.push_back(record);
    } else {
      failures += (failures.empty() ? "" : "\n") + TrashFailureMessage(number, failed);
    }
  }
  if (!failures.empty()) ShowMessage(failures);
  if (trashed.empty()) return 0;
  // One save for all of them: the table of a large installation takes tens of
  // milliseconds to write.
  for (const int record : trashed) factures.Delete(record);
  factures.Save();
  return static_cast<int>(trashed.size());
}
