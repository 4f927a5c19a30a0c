#pragma once

#include <string>

// The two folders of old pieces the history lists: the trash
// "./Data/Poubelle Officielle/" (deleted pieces) and the printed archive
// "./Data/Elements imprimes/" (a copy of the lines of every piece printed).

// Deletes every file (not the folders) of one folder, without asking; a file
// that cannot be deleted is left in place. The number of files deleted.
int DeleteFilesOf(const std::string& folder);

// Empties the trash, then the printed archive. Used by the clean-up
// "Nettoyer" and by the history window.
void ViderHistorique();
