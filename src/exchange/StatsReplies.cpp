#include "StatsReplies.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "MyStringGrid.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

constexpr std::string_view kReplyWords[] = {StatsProtocol::Doublons, StatsProtocol::NotesPubliques,
                                            StatsProtocol::Article};

// True when a reply word begins at position i of the text and is followed by
// ";".
bool ReplyStartsAt(std::string_view text, std::size_t i) {
  for (std::string_view word : kReplyWords) {
    const std::size_t after = i + word.size();
    if (after < text.size() && text[after] == StatsProtocol::Separator && text.compare(i, word.size(), word) == 0)
      return true;
  }
  return false;
}

// The value of an integer field by the system's integer shape, or false.
bool IntegerValue(const std::string& field, double& value) {
  if (!StringManager().IsInteger(field)) return false;
  value = std::strtod(field.c_str(), nullptr);
  return std::isfinite(value);
}

void ShadeSearchRows(const std::vector<std::string>& fields, TMyStringGrid& grid) {
  double largest = 0;
  for (std::size_t i = 1; i < fields.size(); ++i) {
    double v = 0;
    if (IntegerValue(fields[i], v) && v > largest) largest = v;
  }
  // Counts are matched to rows by position only: the first data row takes
  // field 2, the next field 3, and rows beyond the last field count as 0.
  const int firstRow = grid.GetFixedRows();
  for (int row = firstRow; row < grid.GetRowCount(); ++row) {
    const std::size_t field = static_cast<std::size_t>(row - firstRow) + 1;
    const int p = field < fields.size() ? ArticleShare(fields[field], largest) : 0;
    grid.ReplaceRowColorConstraint(row, StatsProtocol::ArticleRuleKind, ArticleShade(p));
  }
  grid.ExecuteColorconstraints();
  grid.GetGrid()->Repaint();
}

std::string WithoutFinalBreaks(const std::string& reply) {
  std::string text = reply;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

std::string FirstField(const std::string& text) { return text.substr(0, text.find(StatsProtocol::Separator)); }

// One reply: its signal lines added to lines, or the search rows shaded.
void ActOnReply(const std::string& reply, TStatsDisplay& display, std::vector<TSignalLine>& lines) {
  const std::vector<std::string> fields = SplitStatsFields(WithoutFinalBreaks(reply));
  if (fields.empty()) return;
  const std::string& word = fields[0];
  if (word == StatsProtocol::Doublons) {
    for (std::size_t i = 1; i < fields.size(); ++i) lines.push_back({fields[i], StatsProtocol::DoublonsColor});
  } else if (word == StatsProtocol::NotesPubliques) {
    lines.push_back({fields.size() > 1 ? fields[1] : std::string(), StatsProtocol::NotesColor});
  } else if (word == StatsProtocol::Article) {
    TMyStringGrid* grid = display.SearchGrid();
    if (grid == nullptr) return;
    try {
      ShadeSearchRows(fields, *grid);
    } catch (const ERegExError& e) {
      // A cell text the grid's reference lookups cannot use as a pattern.
      Error(e.Message);
    }
  }
}

void ShowLines(std::vector<TSignalLine>& lines, TStatsDisplay& display) {
  if (lines.empty()) return;
  if (lines.size() > StatsProtocol::SignalLines) {
    lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(StatsProtocol::SignalLines));
  }
  display.AfficherSignaux(lines);
}

}  // namespace

int* TStatsWaiting::Count(const std::string& word) {
  if (word == StatsProtocol::Doublons) return &fDoublons;
  if (word == StatsProtocol::NotesPubliques) return &fNotes;
  if (word == StatsProtocol::Article) return &fArticle;
  return nullptr;
}

void TStatsWaiting::Asked(const std::string& request) {
  std::string word = FirstField(request);
  // An article search sends the search grid's "Code" column, title first.
  if (word == StatsProtocol::CodeTitle) word = StatsProtocol::Article;
  if (int* count = Count(word)) *count = std::min(*count + 1, kMaxWaiting);
}

bool TStatsWaiting::Answered(const std::string& word) {
  int* count = Count(word);
  if (count == nullptr || *count == 0) return false;
  --*count;
  return true;
}

void TStatsWaiting::Clear() { fDoublons = fNotes = fArticle = 0; }

std::vector<std::string> SplitStatsFields(const std::string& text) {
  std::vector<std::string> fields;
  if (text.empty()) return fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(StatsProtocol::Separator, start);
    if (end == std::string::npos) {
      fields.push_back(text.substr(start));
      return fields;
    }
    fields.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

std::vector<std::string> SplitStatsReplies(const std::string& text) {
  std::vector<std::string> replies;
  std::size_t begin = 0;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (ReplyStartsAt(text, i)) {
      replies.push_back(text.substr(begin, i - begin));
      begin = i;
    }
  }
  if (begin < text.size()) replies.push_back(text.substr(begin));
  return replies;
}

int ArticleShare(const std::string& field, double largest) {
  double v = 0;
  if (largest <= 0 || !IntegerValue(field, v)) return 0;
  // The default rounding mode rounds half to even.
  const double p = std::nearbyint(v / largest * 100.0);
  // Only a negative count can fall outside 0 .. 100; its colour wraps as a
  // byte anyway, so an absurd one is held at a bound instead of overflowing.
  if (!(p >= -1000000.0)) return -1000000;
  return static_cast<int>(p);
}

TColor ArticleShade(int p) {
  const TColor c = static_cast<TColor>(230 - p) & 0xFF;
  return c + 255 * 256 + c * 65536;
}

void HandleStatsReply(const std::string& reply, TStatsDisplay& display) {
  std::vector<TSignalLine> lines;
  ActOnReply(reply, display, lines);
  ShowLines(lines, display);
}

void HandleStatsReplies(const std::string& text, TStatsDisplay& display, TStatsWaiting& waiting) {
  std::vector<TSignalLine> lines;
  for (const std::string& reply : SplitStatsReplies(text)) {
    if (waiting.Answered(FirstField(WithoutFinalBreaks(reply)))) ActOnReply(reply, display, lines);
  }
  ShowLines(lines, display);
}
