// The statistics server's replies, as the signal panel and the search grid
// show them; no socket involved.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "StatsReplies.h"
#include "StatsTestSupport.h"
#include "TestSupport.h"

namespace {

constexpr TColor kGreen = 0x008000;
constexpr TColor kBlue = 0xFF0000;
using TLines = std::vector<std::pair<std::string, TColor>>;

// (230 - p) + 255 * 256 + (230 - p) * 65536, each component a byte.
constexpr TColor Shade(int p) {
  const TColor c = static_cast<TColor>(230 - p) & 0xFF;
  return c | 0xFF00 | (c << 16);
}

}  // namespace

TEST(StatsReplies, SignalLinesFollowTheFirstField) {
  struct Row {
    const char* name;
    std::string reply;
    TLines lines;
  };
  const Row rows[] = {
      {"duplicates one line each, green", "Doublons;0104   PHARMACIE SAINT-EXUP\xC9RY;0114   PHARMACIE DU VIEUX PORT",
       {{"0104   PHARMACIE SAINT-EXUP\xC9RY", kGreen}, {"0114   PHARMACIE DU VIEUX PORT", kGreen}}},
      {"duplicates with only field 1 add nothing", "Doublons", {}},
      {"note in blue", "Notes Publiques;R\xE8glement \xE0 30 jours", {{"R\xE8glement \xE0 30 jours", kBlue}}},
      {"note containing a semicolon shows its first part", "Notes Publiques;Paiement comptant; relancer le 5",
       {{"Paiement comptant", kBlue}}},
      {"unknown first field ignored", "Bonjour;tout le monde", {}},
      {"first field is case-sensitive", "doublons;0104", {}},
      {"a final line break is not part of the reply", "Doublons;0104\r\n", {{"0104", kGreen}}},
      {"empty reply", "", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TTraceCapture capture;
    TRecordingStatsDisplay display;
    HandleStatsReply(row.reply, display);
    EXPECT_EQ(display.Lines, row.lines);
    EXPECT_EQ(display.RowColors(), (std::vector<TColor>{0xFFFFFF, 0xFFFFFF, 0xFFFFFF})) << "rows untouched";
    EXPECT_TRUE(capture.Boxes().empty());
  }
}

TEST(StatsReplies, ArticleCountsShadeTheSearchRowsByPosition) {
  struct Row {
    const char* name;
    std::string reply;
    std::vector<TColor> colors;
  };
  const Row rows[] = {
      {"largest count strongest green", "Article;10;5;0", {Shade(100), Shade(50), Shade(0)}},
      {"fewer counts than rows: the rest lightest", "Article;7", {Shade(100), Shade(0), Shade(0)}},
      {"all zero: no division, all lightest", "Article;0;0;0", {Shade(0), Shade(0), Shade(0)}},
      {"no counts at all", "Article", {Shade(0), Shade(0), Shade(0)}},
      {"halves round to even", "Article;8;1;3", {Shade(100), Shade(12), Shade(38)}},
      {"not integers count as 0 and are not the largest", "Article;abc;4;012", {Shade(0), Shade(100), Shade(0)}},
      {"more counts than rows: the largest is over all of them", "Article;1;2;4;8;16",
       {Shade(6), Shade(12), Shade(25)}},
      {"a negative count wraps as a byte", "Article;-2;4;1", {Shade(-50), Shade(100), Shade(25)}},
      {"a count of 19 digits is not an integer", "Article;1;9999999999999999999;0", {Shade(100), Shade(0), Shade(0)}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TTraceCapture capture;
    TRecordingStatsDisplay display;
    HandleStatsReply(row.reply, display);
    EXPECT_EQ(display.RowColors(), row.colors);
    EXPECT_TRUE(display.Lines.empty());
    EXPECT_TRUE(capture.Boxes().empty());
  }
  EXPECT_EQ(Shade(0), 0xE6FFE6u) << "very light green";
  EXPECT_EQ(Shade(100), 0x82FF82u) << "(130, 255, 130)";
}

TEST(StatsReplies, ShadeIsARowRuleThatYieldsToTheColumnRules) {
  // The search grid's own column rules (a red "Prix Vente" that is not a
  // real) come first; the statistics colour the rest of the row.
  TTraceCapture capture;
  TRecordingStatsDisplay display(2);
  display.Grid->AddColColorConstraint(3, 37, 0x443EFA);
  display.Grid->SetCellForced(3, 1, "12,50");
  display.Grid->SetCellForced(3, 2, "abc");
  HandleStatsReply("Article;4;2", display);
  EXPECT_EQ(display.Grid->GetCellColor(0, 1), Shade(100));
  EXPECT_EQ(display.Grid->GetCellColor(3, 1), Shade(100));
  EXPECT_EQ(display.Grid->GetCellColor(3, 2), 0x443EFAu);
  EXPECT_EQ(display.Grid->GetCellColor(0, 2), Shade(50));
  EXPECT_EQ(display.Grid->GetCellColor(0, 0), 0xFFFFFFu) << "the title row is not shaded";
}

TEST(StatsReplies, SeveralRepliesInOneTextAreSplitAtTheirWords) {
  struct Row {
    const char* name;
    std::string text;
    std::vector<std::string> replies;
  };
  const Row rows[] = {
      {"duplicates then note", "Doublons;0104   X;0114   YNotes Publiques;Note",
       {"Doublons;0104   X;0114   Y", "Notes Publiques;Note"}},
      {"duplicates alone then note", "DoublonsNotes Publiques;Note", {"Doublons", "Notes Publiques;Note"}},
      {"a word ending the text is text", "Doublons;0104Doublons", {"Doublons;0104Doublons"}},
      {"a word ending a note is text", "Notes Publiques;livrer chaque Article",
       {"Notes Publiques;livrer chaque Article"}},
      {"garbage before a reply", "xyzArticle;1;2", {"xyz", "Article;1;2"}},
      {"a word inside a text is not a reply", "Doublons;Articles en retard", {"Doublons;Articles en retard"}},
      {"one reply", "Article;1;2", {"Article;1;2"}},
      {"nothing", "", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(SplitStatsReplies(row.text), row.replies);
  }
}

TEST(StatsReplies, RepliesReceivedTogetherAreShownWhenARequestWaitsForThem) {
  struct Row {
    const char* name;
    std::vector<std::string> asked;
    std::string received;
    TLines lines;
    std::vector<TColor> colors;
  };
  const std::vector<TColor> white = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
  const std::vector<std::string> client = {"Doublons;0101", "Notes Publiques;0101"};
  const Row rows[] = {
      {"duplicates and note of one client code", client, "Doublons;0105   LABOREXNotes Publiques;Paiement comptant",
       {{"0105   LABOREX", kGreen}, {"Paiement comptant", kBlue}}, white},
      {"a word ending a note stays in it and shades nothing", client,
       "Doublons;0105   LABOREXNotes Publiques;livrer chaque Article",
       {{"0105   LABOREX", kGreen}, {"livrer chaque Article", kBlue}}, white},
      {"a word followed by a semicolon inside a note starts a reply", client,
       "Notes Publiques;voir Doublons;0106", {{"voir ", kBlue}, {"0106", kGreen}}, white},
      {"duplicates with none, then the note", client, "DoublonsNotes Publiques;Note", {{"Note", kBlue}}, white},
      {"a reply nobody asked for", {}, "Doublons;0105   LABOREX", {}, white},
      {"counts nobody asked for", client, "Article;1;2;3", {}, white},
      {"a second reply of one request", {"Code;3408919;7968532;2661728"}, "Article;10;5;0Article;0;5;10", {},
       {Shade(100), Shade(50), Shade(0)}},
      {"two client codes in a row, both answered", {"Doublons;0101", "Doublons;0103"},
       "Doublons;0105Doublons;0104;0114", {{"0105", kGreen}, {"0104", kGreen}, {"0114", kGreen}}, white},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TTraceCapture capture;
    TRecordingStatsDisplay display;
    TStatsWaiting waiting;
    for (const std::string& request : row.asked) waiting.Asked(request);
    HandleStatsReplies(row.received, display, waiting);
    EXPECT_EQ(display.Lines, row.lines);
    EXPECT_EQ(display.RowColors(), row.colors);
    EXPECT_TRUE(capture.Boxes().empty());
  }
}

TEST(StatsReplies, AFloodOfRepliesKeepsOneShadeARowAndTheLastHundredLines) {
  // 2 000 "Article" replies, each answering a request: a row keeps one
  // shading rule, not one more per reply.
  TRecordingStatsDisplay display;
  TStatsWaiting waiting;
  for (int i = 0; i < 2000; ++i) {
    waiting.Asked("Code;3408919;7968532;2661728");
    HandleStatsReplies("Article;" + std::to_string(i % 7) + ";3;1", display, waiting);
  }
  EXPECT_EQ(display.Grid->GetColorConstraints(0, 1).size(), 1u);
  EXPECT_EQ(display.Grid->GetColorConstraints(3, 3).size(), 1u);
  EXPECT_EQ(display.RowColors(), (std::vector<TColor>{Shade(100), Shade(75), Shade(25)})) << "the last reply's";

  // One reply of 5 000 duplicates: the panel gets the last 100 in one call.
  std::string flood = "Doublons";
  for (int i = 0; i < 5000; ++i) flood += ";" + std::to_string(i);
  waiting.Asked("Doublons;0101");
  HandleStatsReplies(flood, display, waiting);
  ASSERT_EQ(display.Batches, 1);
  ASSERT_EQ(display.Lines.size(), 100u);
  EXPECT_EQ(display.Lines.front().first, "4900");
  EXPECT_EQ(display.Lines.back().first, "4999");
}

TEST(StatsReplies, WithoutASearchGridCountsAreIgnored) {
  class TNoGrid : public TStatsDisplay {
  public:
    void AfficherSignal(const std::string&, TColor) override { ++Lines; }
    TMyStringGrid* SearchGrid() override { return nullptr; }
    int Lines = 0;
  } display;
  HandleStatsReply("Article;1;2", display);
  EXPECT_EQ(display.Lines, 0);
}
