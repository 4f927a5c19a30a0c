#pragma once

#include <string>

class TMyDatabase;

// The word an article lookup of the piece editor searches for: the first
// space-separated word of the typed text, spaces trimmed, in capitals
// (accented letters too, as the list search raises them).
std::string LookupWord(const std::string& text);

// What a lookup did: nothing (the query result is not to be used), found
// the candidates (the table's query result, possibly empty), or stopped on
// a word that makes no valid pattern (after its message).
enum class TArticleLookup { Nothing, Queried, Failed };

// The candidates of a lookup on an article field ("Code" or "Designation"):
// the articles whose field begins with the word, then those that contain it
// after their first character, each once, as the table's query result. In
// "Code" a code carried by the text is read as an order line's code is read,
// so that a box scanned into the cell (its CIP13 or Data Matrix string)
// looks its article up; a box code with a wrong check digit names no
// article. An empty cell looks nothing up.
TArticleLookup QueryArticleCandidates(TMyDatabase& articles, const std::string& field, const std::string& text);
