#include "PieceTrash.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "Catalogue.h"
#include "FileUtils.h"
#include "MyDatabase.h"
#include "Trace.h"

namespace F = Catalogue::Field;
namespace fs = std::filesystem;

namespace {

// The header record of a piece, alone in a table file of the header table's
// fields: the same format as the tables, so that it can be read back as one.
bool WriteHeaderCopy(TMyDatabase& header, int record, const std::string& file) {
  std::string fields;
  for (int f = 0; f < header.FieldCount(); ++f) {
    if (f > 0) fields += ';';
    fields += header.GetFieldName(f);
  }
  std::unique_ptr<TMyDatabase> copy(TMyDatabase::CreateEmpty(file, fields));
  copy->SetRecordCount(1);
  for (int f = 0; f < header.FieldCount(); ++f) copy->SetData(f, 0, header.DBGetString(f, record));
  std::error_code ec;
  fs::create_directories(TrashHeadersFolder(), ec);
  return copy->Save();
}

}  // namespace

std::string TrashHeadersFolder() { return Catalogue::Poubelle::HeadersFolder; }

std::string MoveToTrashKeepingOlder(const std::string& file) {
  std::error_code ec;
  if (!fs::exists(file, ec)) return std::string();
  const std::string trash = Catalogue::Poubelle::Folder;
  fs::create_directories(trash, ec);
  const std::string name = fs::path(file).filename().string();
  // A name taken meanwhile is tried again with the next counter.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string target = FreeFileName(trash, name);
    if (MoveFileNoReplace(file, trash + target)) return target;
    if (!FileExists(trash + target)) break;
  }
  Warning("MoveToTrashKeepingOlder : deplacement impossible de " + file);
  return std::string();
}

bool TrashPiece(const TPieceKind& kind, TMyDatabase& header, int record, const std::string& number,
                std::string& failedFile) {
  failedFile.clear();
  const std::string lineFile = kind.LineFile(number);
  std::error_code ec;
  if (!fs::exists(lineFile, ec)) return true;
  const std::string name = MoveToTrashKeepingOlder(lineFile);
  if (name.empty()) {
    failedFile = lineFile;
    return false;
  }
  // Written under the name the lines got, replacing the record of a file of
  // that name purged from the trash earlier.
  const std::string headerFile = TrashHeadersFolder() + name;
  if (record >= 0 && record < header.RecordCount() && !WriteHeaderCopy(header, record, headerFile)) {
    // Without its header the piece is not deleted: its lines come back.
    MoveFileNoReplace(Catalogue::Poubelle::Folder + name, lineFile);
    failedFile = headerFile;
    return false;
  }
  return true;
}

std::string TrashFailureMessage(const std::string& number, const std::string& file) {
  return "La piece " + number + " n'est pas supprimee : impossible de mettre " + file + " dans " +
         Catalogue::Poubelle::Folder;
}

std::optional<TKeptHeader> KeptHeaderOf(const std::string& folder, const std::string& name) {
  std::error_code ec;
  if (name.empty() || !fs::equivalent(folder, Catalogue::Poubelle::Folder, ec)) return std::nullopt;
  const std::string file = TrashHeadersFolder() + name;
  if (!fs::is_regular_file(file, ec)) return std::nullopt;
  TMyDatabase kept(file);
  kept.QueryAll();
  if (kept.QueryResultCount() != 1 || !kept.FieldExists(F::CodeClient)) return std::nullopt;
  TKeptHeader result;
  result.CodeClient = kept.GetQueryResultString(F::CodeClient, 0);
  if (kept.FieldExists(F::Port)) result.Port = kept.GetQueryResultString(F::Port, 0);
  return result;
}
