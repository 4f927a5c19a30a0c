#pragma once

#include <optional>
#include <string>

#include "PieceKinds.h"

class TMyDatabase;

// The trash "./Data/Poubelle Officielle/" keeps what a deletion or a
// renumbering gives up: the piece's line file, which the history window lists
// and restores, and beside it, in a folder the history does not list (it
// lists files only), the piece's header record under the same name, so that a
// restored piece gets its client and port back.

// The folder of the header records, inside the trash:
// "./Data/Poubelle Officielle/Entetes/".
std::string TrashHeadersFolder();

// Moves a file to the trash without replacing an older copy there: the file
// keeps its name when it is free, otherwise it gets a counter before ".db"
// ("FA31705_1.db"), so that it still begins with the piece number and can be
// restored from the history. The name it got in the trash, or an empty text
// when there was no file or it could not be moved.
std::string MoveToTrashKeepingOlder(const std::string& file);

// Gives a piece's line file and its header record (record of header, a
// table of kind) to the trash, the line file first. A piece without a line
// file has nothing to restore and gives nothing. When the line file cannot be
// moved, or its header record cannot be written beside it, everything stays
// where it was: false, and failedFile names the file that could not be
// written. The caller deletes the header record only after true.
bool TrashPiece(const TPieceKind& kind, TMyDatabase& header, int record, const std::string& number,
                std::string& failedFile);

// The message of a piece left in place because its files could not go to
// the trash.
std::string TrashFailureMessage(const std::string& number, const std::string& file);

// What the restore takes back from the header record kept for a file of the
// trash: the client code and the port.
struct TKeptHeader {
  std::string CodeClient;
  std::string Port;
};

// The header record kept for the file name of folder, when folder is the
// trash and the record is there; the restore of a printed copy, or of a file
// deleted before the records were kept, has none.
std::optional<TKeptHeader> KeptHeaderOf(const std::string& folder, const std::string& name);
