#pragma once

#include <string>
#include <vector>

#include "CellTypes.h"
#include "GridSurface.h"

class TMyStringGrid;

// What the statistics server's answers act on: the piece editor's signal
// panel and the search results grid. The answers are hints only; a display
// that has neither simply shows nothing.
class TStatsDisplay {
public:
  virtual ~TStatsDisplay() = default;
  // Appends one coloured line to the signal panel.
  virtual void AfficherSignal(const std::string& text, TColor color) = 0;
  // The search results grid whose rows the article counts shade, or nullptr.
  virtual TMyStringGrid* SearchGrid() = 0;
};

// The words and colours of the statistics server's plain-text exchange.
// Requests and replies are fields separated by ";", with no terminator.
namespace StatsProtocol {
inline constexpr char Separator = ';';
// Requests: "Doublons;" + client code, "Notes Publiques;" + client code, and
// the search grid's "Code" column joined with ";" (beginning with "Code;").
// Replies begin with one of the first three words.
inline constexpr const char* Doublons = "Doublons";
inline constexpr const char* NotesPubliques = "Notes Publiques";
inline constexpr const char* Article = "Article";
inline constexpr const char* CodeTitle = "Code";
// 0x00BBGGRR: duplicates in green (0, 128, 0), the public note in blue.
inline constexpr TColor DoublonsColor = 0x008000;
inline constexpr TColor NotesColor = 0xFF0000;
// The row colour rule kind that always holds.
inline constexpr TCellType ArticleRuleKind = ctShadedRow;
}  // namespace StatsProtocol

// The fields of a text separated by ";", numbered from 1 as GetToken numbers
// them: an empty text has none, otherwise there is one more field than ";".
std::vector<std::string> SplitStatsFields(const std::string& text);

// Where several replies arrived together, the texts of each, in order. The
// replies carry no terminator, so a reply is taken to begin wherever one of
// the three reply words followed by ";" appears, or where one of them ends
// the text (a reply of its word alone). Text before the first such place is
// a reply of its own (which is ignored when handled, having no known word).
std::vector<std::string> SplitStatsReplies(const std::string& text);

// The share p of a count (0 to 100, rounded half to even) of the largest
// count; 0 for a field that is not an integer and for every field when the
// largest count is 0.
int ArticleShare(const std::string& field, double largest);
// The row colour for a share p: red and blue 230 - p, green 255, each taken
// as a byte (very light green for 0, (130, 255, 130) for 100).
TColor ArticleShade(int p);

// Acts on one reply as its first field says: "Doublons" adds each further
// field as a green line, "Notes Publiques" adds field 2 as a blue line,
// "Article" shades the search grid's data rows by their counts, in row order;
// anything else is ignored. A final line break is not part of the reply.
void HandleStatsReply(const std::string& reply, TStatsDisplay& display);
