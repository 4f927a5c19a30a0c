#pragma once

#include <memory>
#include <string>

class TMyDatabase;
class TMyStringGrid;

// One of the two folders of old pieces the history window lists, and the
// table file its listing is written to.
struct THistoryFolder {
  const char* Folder;       // with its final "/"
  const char* ListingFile;  // single field "Fichier"
  // Records kept beside the files (the headers of deleted pieces), purged
  // with them; nullptr when none.
  const char* KeptBeside;
};

namespace HistoryFolders {
// Deleted pieces: "./Data/Poubelle Officielle/".
extern const THistoryFolder Supprimes;
// Copies of the lines of every printed piece: "./Data/Elements imprimes/".
extern const THistoryFolder Imprimes;
}  // namespace HistoryFolders

// The listing of a folder as table text: the line "Fichier", then the name
// of every file of the folder (folders left out), one per line.
std::string HistoryListingText(const THistoryFolder& folder);

// Rewrites the folder's listing table file from the folder's contents and
// shows every record in the grid with its title; answers the listing table,
// which the window holds while it is shown. The grid is filled from the
// folder even when the file cannot be written (a warning is traced).
std::unique_ptr<TMyDatabase> RefreshHistoryListing(const THistoryFolder& folder, TMyStringGrid& grid,
                                                   std::string* listingText = nullptr);

// The file named in the grid's selected row, "" when that row names none or
// the file is no longer in the folder.
std::string SelectedHistoryFile(const THistoryFolder& folder, TMyStringGrid& grid);

// Deletes every file (not the folders) of the folder and of what is kept
// beside it, without asking; a file that cannot be deleted is left in place.
// The number of files of the folder deleted.
int PurgeHistoryFolder(const THistoryFolder& folder);
