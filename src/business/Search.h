#pragma once

#include <string>
#include <vector>

#include "PieceKinds.h"

class TMyDatabase;
class TMyStringGrid;

// One searched field of a list and whether the word is matched as typed
// (e-mail addresses are stored in lower case) or in upper case, as every
// other stored text is.
struct TSearchField {
  const char* Name;
  bool AsTyped;
};

// Everything the search does differently from one list to another: the table
// searched and its fields, the columns of the results grid with their colour
// rules (the cell types that make a cell light yellow, then red), and the
// column the results are sorted by (nullptr: left in query order), and
// whether a typed or scanned article code is read as an order line's code is
// (a box's CIP13 or Data Matrix string searched as its article's seven
// digits). The piece editor's article candidates use the articles' columns.
struct TSearchList {
  const char* Name;
  TMyDatabase* TPieceTables::*Table;
  const TSearchField* Fields;
  int FieldCount;
  const char* Columns;
  int Yellow[5];
  int Red[5];
  const char* SortedBy;
  bool ReadsArticleCode;
};

namespace SearchLists {
extern const TSearchList Factures;
extern const TSearchList Devis;
extern const TSearchList Avoirs;
extern const TSearchList Articles;
extern const TSearchList Clients;
}  // namespace SearchLists

// The first space-separated word of a typed text, spaces around it removed,
// as typed.
std::string SearchWord(const std::string& text);
// The pattern a word is searched with: "^.*" + word + ".*$". The word is not
// escaped: characters of the pattern language typed in it keep their meaning.
std::string SearchPattern(const std::string& word);

// Runs the list's queries on its table for the first word of the text (for
// the articles, the code the text carries when it carries one): the
// first field's query replaces the table's query result, the others add to
// it, each record once. False, after the pattern's message, when the word
// makes a pattern that does not compile; the query result is then not to be
// used.
bool QuerySearch(TMyDatabase& table, const TSearchList& list, const std::string& text);

// The results grid's columns and colour rules for a list (all constraints
// cleared first); with no list only the constraints are cleared.
void SetupSearchColumns(TMyStringGrid& grid, const TSearchList* list);

// Shows the table's query result in the results grid with the list's
// columns and titles, sorted by the list's sort column in the grid's own
// direction (fSortAscending, which only a title click on the grid changes).
// False, and the grid left as it was, when the result is empty.
bool FillSearchResults(TMyStringGrid& grid, TMyDatabase& table, const TSearchList& list);

// The client search of the piece editor: the lines it writes in the message
// panel for a typed text, the clients whose "Societe" contains the first
// word in upper case, in ascending "Societe": "Recherche Client", then each
// client's "Code" + "   " + "Societe", or "Pas de reponses". No line after
// a pattern error (its message is shown instead).
std::vector<std::string> ClientSearchLines(TMyDatabase& clients, const std::string& text);
