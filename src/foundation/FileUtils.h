#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "LargeAllocator.h"

// Whole-file access used by every reader and writer of the program.

bool FileExists(const std::string& fileName);
bool DirectoryExists(const std::string& path);
// True when both names designate the same file (same text, or same file on disk).
bool SameFile(const std::string& a, const std::string& b);

// Files larger than any real table, settings or template file are refused
// instead of exhausting the memory of the desk's machine.
inline constexpr std::size_t kMaxDataFileBytes = std::size_t(256) * 1024 * 1024;

enum class TReadResult { Ok, Missing, TooLarge, Failed };

// Reads the whole file as bytes.
TReadResult ReadWholeFile(const std::string& fileName, std::string& contents,
                          std::size_t maxBytes = kMaxDataFileBytes);

// The bytes of a large file, read without being zeroed first.
using TFileBytes = std::vector<char, TLargeAllocator<char>>;
TReadResult ReadWholeFile(const std::string& fileName, TFileBytes& contents,
                          std::size_t maxBytes = kMaxDataFileBytes);

// False when the existing file may not be written: it has no write permission
// bit at all (which binds the administrator too) or this process may not
// write it. True for a file that does not exist.
bool MayBeWritten(const std::string& fileName);

// Replaces the file with the bytes, never leaving a truncated file behind:
// the bytes go to a temporary file of the same folder, which is flushed to
// disk and then renamed over the old one. A symbolic link is followed: the
// file it names is replaced, in its own folder, and the link stays. False
// when anything failed or the file may not be written; the old file is then
// untouched.
bool WriteFileAtomically(const std::string& fileName, std::string_view contents);

// Takes one piece of a file's bytes; false when it could not be written.
using TPieceSink = std::function<bool(std::string_view piece)>;
// The same with the bytes made piece by piece as they are written, so that a
// large file is never held whole in memory: fill hands every piece, in
// order, to the sink it is given. When fill answers false (it gave up, or
// the sink failed), the old file is left untouched.
bool WriteFileAtomically(const std::string& fileName, const std::function<bool(const TPieceSink&)>& fill);

// Splits text into lines at CR LF, a lone LF or a lone CR; a final line end
// does not make an empty last line; a NUL byte ends the text.
std::vector<std::string> SplitLines(const std::string& text);

// The file a name designates on a file system that ignores the letter case
// of names, as the desk's original one does: the name itself when the file
// exists, else the existing file whose folders and name match it without
// regard to the case of A to Z ("./data/Barcodes/x.jpg" finds
// "./Data/Barcodes/x.jpg"); "" when there is none.
std::string FindFileIgnoringCase(const std::string& fileName);

// Files (not folders) of a folder whose names match a pattern with "*" and "?"
// (letter case ignored), sorted by name. "*.*" means every file, a name
// without a dot included, as on the system's original platform.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& wildcard);

// A name under which a file can be put into folder without replacing one:
// name itself when the folder has no such file, else name with "_1", "_2" ...
// before its extension ("FA31705.db" gives "FA31705_1.db").
std::string FreeFileName(const std::string& folder, const std::string& name);

// Moves a file without ever replacing one: false when target already exists
// or the move failed. Across file systems the file is copied, then removed.
bool MoveFileNoReplace(const std::string& source, const std::string& target);
