#include "HistoryFolders.h"

#include <filesystem>
#include <system_error>

#include "Catalogue.h"
#include "FileUtils.h"
#include "HistoryListing.h"

int DeleteFilesOf(const std::string& folder) {
  int deleted = 0;
  const std::string base = !folder.empty() && folder.back() != '/' ? folder + "/" : folder;
  for (const std::string& name : ListFiles(folder, Catalogue::AllFiles)) {
    std::error_code ec;
    if (std::filesystem::remove(base + name, ec)) ++deleted;
  }
  return deleted;
}

void ViderHistorique() {
  PurgeHistoryFolder(HistoryFolders::Supprimes);
  PurgeHistoryFolder(HistoryFolders::Imprimes);
}
