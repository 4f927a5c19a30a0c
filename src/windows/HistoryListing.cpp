#include "HistoryListing.h"

#include "Catalogue.h"
#include "FileUtils.h"
#include "HistoryFolders.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "Trace.h"

namespace HistoryFolders {
const THistoryFolder Supprimes{Catalogue::Poubelle::Folder, Catalogue::Poubelle::ListingFile,
                               Catalogue::Poubelle::HeadersFolder};
const THistoryFolder Imprimes{Catalogue::ElementsImprimes::Folder, Catalogue::ElementsImprimes::ListingFile, nullptr};
}  // namespace HistoryFolders

std::string HistoryListingText(const THistoryFolder& folder) {
  std::string text = std::string(Catalogue::Field::Fichier) + "\r\n";
  for (const std::string& name : ListFiles(folder.Folder, Catalogue::AllFiles)) text += name + "\r\n";
  return text;
}

std::unique_ptr<TMyDatabase> RefreshHistoryListing(const THistoryFolder& folder, TMyStringGrid& grid,
                                                   std::string* listingText) {
  const std::string text = HistoryListingText(folder);
  if (listingText != nullptr) *listingText = text;
  if (!WriteFileAtomically(folder.ListingFile, text)) {
    Warning(std::string("THistorique_Form.Actualiser : impossible d'ecrire ") + folder.ListingFile);
  }
  // Read from the text just written: a listing that could not be written
  // still shows what the folder holds, never an older listing.
  auto table = std::make_unique<TMyDatabase>("");
  table->LoadFromText(text);
  table->QueryAll();
  table->DisplayQuery(&grid, "", true);
  return table;
}

std::string SelectedHistoryFile(const THistoryFolder& folder, TMyStringGrid& grid) {
  const int row = grid.GetRow();
  if (row < grid.GetFixedRows() || row >= grid.GetRowCount() || grid.GetColCount() <= grid.GetFixedCols()) return {};
  if (grid.GetColName(grid.GetFixedCols()) != Catalogue::Field::Fichier) return {};
  const std::string name = grid.GetCell(grid.GetFixedCols(), row);
  if (name.empty() || !FileExists(folder.Folder + name)) return {};
  return name;
}

int PurgeHistoryFolder(const THistoryFolder& folder) {
  const int deleted = DeleteFilesOf(folder.Folder);
  // A header left behind would hold a purged piece's client for nobody.
  if (folder.KeptBeside != nullptr) DeleteFilesOf(folder.KeptBeside);
  return deleted;
}
