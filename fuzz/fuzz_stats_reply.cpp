// The statistics server's replies against any bytes.
//
// The first byte chooses how many rows the search grid has; the rest is what
// one read of the socket delivered. It is split into replies, each handled on
// a fresh signal panel and search grid, and checked against an independent
// reading: the replies put back together give the text; each reply after the
// first begins with a reply word followed by ";"; a "Doublons" reply adds
// one green line per ";", the last 100 of them (no line holds a ";"), a
// "Notes Publiques"
// reply adds one blue line, an "Article" reply gives every data row one shade
// (230 - p, 255, 230 - p) across its cells and the lightest to the rows
// beyond its counts, and anything else shows nothing. No message box is ever
// shown.
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "MemoryGridSurface.h"
#include "MyStringGrid.h"
#include "StatsReplies.h"

namespace {

class TFuzzDisplay : public TStatsDisplay {
public:
  explicit TFuzzDisplay(int rows) : Surface(4, rows + 1, 0, 1), Grid(&Surface) {}
  void AfficherSignal(const std::string& text, TColor color) override { Lines.emplace_back(text, color); }
  TMyStringGrid* SearchGrid() override { return &Grid; }
  std::vector<std::pair<std::string, TColor>> Lines;
  TMemoryGridSurface Surface;
  TMyStringGrid Grid;
};

const char* const kWords[] = {"Doublons", "Notes Publiques", "Article"};

bool StartsWithWord(const std::string& text) {
  for (const std::string word : kWords) {
    if (text.compare(0, word.size(), word) == 0 && text.size() > word.size() && text[word.size()] == ';') return true;
  }
  return false;
}

std::string FirstField(const std::string& text) { return text.substr(0, text.find(';')); }

std::string WithoutFinalBreaks(std::string text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
  return text;
}

bool IsShade(TColor c) {
  const TColor r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  return g == 0xFF && r == b && (c >> 24) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  TFuzzQuiet quiet;
  const int rows = 1 + data[0] % 40;
  const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);

  const std::vector<std::string> replies = SplitStatsReplies(input);
  std::string joined;
  for (std::size_t i = 0; i < replies.size(); ++i) {
    FUZZ_CHECK(!replies[i].empty(), "empty reply " + std::to_string(i));
    FUZZ_CHECK(i == 0 || StartsWithWord(replies[i]), "reply " + FuzzShow(replies[i]) + " begins with no word");
    joined += replies[i];
  }
  FUZZ_CHECK(joined == input, "replies do not give back the text " + FuzzShow(input));

  for (const std::string& reply : replies) {
    TFuzzDisplay display(rows);
    HandleStatsReply(reply, display);
    const std::string text = WithoutFinalBreaks(reply);
    const std::string word = FirstField(text);
    std::size_t semicolons = 0;
    for (char c : text) semicolons += c == ';' ? 1 : 0;
    if (word == "Doublons") {
      FUZZ_CHECK(display.Lines.size() == std::min<std::size_t>(semicolons, 100), "Doublons lines of " + FuzzShow(reply));
      for (const auto& [line, color] : display.Lines) {
        FUZZ_CHECK(color == 0x008000, "Doublons colour");
        FUZZ_CHECK(line.find(';') == std::string::npos, "line holds a ';'");
      }
    } else if (word == "Notes Publiques") {
      FUZZ_CHECK(display.Lines.size() == 1 && display.Lines[0].second == 0xFF0000, "note of " + FuzzShow(reply));
      FUZZ_CHECK(display.Lines[0].first.find(';') == std::string::npos, "note holds a ';'");
    } else {
      FUZZ_CHECK(display.Lines.empty(), "lines for " + FuzzShow(reply));
    }
    for (int row = 1; row <= rows; ++row) {
      const TColor color = display.Grid.GetCellColor(0, row);
      if (word != "Article") {
        FUZZ_CHECK(color == 0xFFFFFF, "row shaded by " + FuzzShow(reply));
        continue;
      }
      FUZZ_CHECK(IsShade(color), "row " + std::to_string(row) + " colour of " + FuzzShow(reply));
      for (int col = 1; col < 4; ++col) FUZZ_CHECK(display.Grid.GetCellColor(col, row) == color, "row not even");
      // Rows beyond the counts take the lightest green.
      if (static_cast<std::size_t>(row) > semicolons) FUZZ_CHECK(color == 0xE6FFE6, "row without a count shaded");
    }
    FUZZ_CHECK(display.Grid.GetCellColor(0, 0) == 0xFFFFFF, "title row shaded");
    FUZZ_CHECK(quiet.Dialogs.Messages.empty(), "box " + FuzzShow(quiet.Dialogs.Messages[0]));
  }
  return 0;
}
