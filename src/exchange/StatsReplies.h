#pragma once

#include <string>
#include <vector>

#include "GridSurface.h"

class TMyStringGrid;

// One coloured line of the signal panel.
struct TSignalLine {
  std::string Text;
  TColor Color = 0;
  bool operator==(const TSignalLine&) const = default;
};

// What the statistics server's answers act on: the piece editor's signal
// panel and the search results grid. The answers are hints only; a display
// that has neither simply shows nothing.
class TStatsDisplay {
public:
  virtual ~TStatsDisplay() = default;
  // Appends one coloured line to the signal panel.
  virtual void AfficherSignal(const std::string& text, TColor color) = 0;
  // Appends the lines of all the replies handled together, oldest first, in
  // one call (at most StatsProtocol::SignalLines of them): a display that
  // can write its panel once for them overrides this; by default the lines
  // go one by one to AfficherSignal.
  virtual void AfficherSignaux(const std::vector<TSignalLine>& lines) {
    for (const TSignalLine& line : lines) AfficherSignal(line.Text, line.Color);
  }
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
inline constexpr int ArticleRuleKind = 7;
// The signal panel keeps its last 100 lines: more lines handled together
// would only push each other out of it.
inline constexpr std::size_t SignalLines = 100;
}  // namespace StatsProtocol

// The fields of a text separated by ";", numbered from 1 as GetToken numbers
// them: an empty text has none, otherwise there is one more field than ";".
std::vector<std::string> SplitStatsFields(const std::string& text);

// Where several replies arrived together, the texts of each, in order. The
// replies carry no terminator, so a reply is taken to begin wherever one of
// the three reply words followed by ";" appears; elsewhere a word is text
// ("... livrer chaque Article" at the end of a note stays in the note). Text
// before the first such place is a reply of its own (which is ignored when
// handled, having no known word).
std::vector<std::string> SplitStatsReplies(const std::string& text);

// The requests still waiting for their reply, counted per reply word: a
// "Doublons;" request waits for a "Doublons" reply, "Notes Publiques;" for
// "Notes Publiques", an article search ("Code;...") for "Article". The
// server sends no note for a client without one, so each count is held to
// a few requests in flight.
class TStatsWaiting {
public:
  static constexpr int kMaxWaiting = 4;
  // A request was sent.
  void Asked(const std::string& request);
  // True, and one request fewer waits, when a request waits for a reply of
  // that first field; false for a reply nobody waits for.
  bool Answered(const std::string& word);
  // The connection was lost or closed: its replies will never come.
  void Clear();

private:
  int* Count(const std::string& word);
  int fDoublons = 0;
  int fNotes = 0;
  int fArticle = 0;
};

// The share p of a count (0 to 100, rounded half to even) of the largest
// count; 0 for a field that is not an integer and for every field when the
// largest count is 0.
int ArticleShare(const std::string& field, double largest);
// The row colour for a share p: red and blue 230 - p, green 255, each taken
// as a byte (very light green for 0, (130, 255, 130) for 100).
TColor ArticleShade(int p);

// Acts on one reply as its first field says: "Doublons" adds each further
// field as a green line, "Notes Publiques" adds field 2 as a blue line,
// "Article" shades the search grid's data rows by their counts, in row order
// (each row's shade replacing the one an earlier reply gave it); anything
// else is ignored. A final line break is not part of the reply. The lines go
// to the display in one call, the last StatsProtocol::SignalLines of them.
void HandleStatsReply(const std::string& reply, TStatsDisplay& display);

// Acts on the replies of a text received together, in order, each only when
// a request waits for it (the others are ignored); their signal lines go to
// the display in one call, the last StatsProtocol::SignalLines of them.
void HandleStatsReplies(const std::string& text, TStatsDisplay& display, TStatsWaiting& waiting);
