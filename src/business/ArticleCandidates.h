#pragma once

#include <string>

class TMyDatabase;

// The word an article lookup of the piece editor searches for: the first
// space-separated word of the typed text, spaces trimmed, in capitals
// (accented letters too, as the list search raises them).
std::string LookupWord(const std::string& text);

// The candidates of a lookup on an article field ("Code" or "Designation"):
// the articles whose field begins with the word, then those that contain it
// after their first character, each once, as the table's query result. False,
// after the pattern's message, when the word makes no valid pattern; the
// query result is then not to be used.
bool QueryArticleCandidates(TMyDatabase& articles, const std::string& field, const std::string& text);
