// Settings files that no one would write by hand but that a damaged or
// foreign file can hold. Each input kept under tests/data/hostile/ini broke
// the reader once; every one of them must read back the same after a save.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "IniManager.h"
#include "StringManager.h"
#include "TestSupport.h"

namespace {

const std::string kHostile = std::string(QUORIX_TEST_DATA_DIR) + "/hostile/ini/";

using TSections = std::vector<std::pair<std::string, std::map<std::string, std::string>>>;

// Sections with their pairs; same-named sections may come back in another
// order, so the list is compared sorted.
TSections Contents(const TIniManager& m) {
  TSections out;
  for (int i = 0; i < m.SectionCount(); ++i) {
    TIniSection* s = m.GetSection(i);
    std::map<std::string, std::string> pairs;
    for (int k = 0; k < s->fPairs->Count(); ++k) pairs[s->fPairs->GetPair(k)->key] = s->fPairs->GetPair(k)->data;
    out.emplace_back(s->fName, pairs);
  }
  std::sort(out.begin(), out.end());
  return out;
}

TEST(HostileIni, KeyMadeOfATabIsNotKept) {
  // "\t\t= v" leaves a tab as the key; written back as "   \t = v" it would
  // read as a key of blanks, so the pair would silently vanish at the next
  // save. It is not kept in the first place.
  TTraceCapture capture;
  TIniManager m(kHostile + "tab_key.ini");
  EXPECT_TRUE(m.SectionExists("s"));
  EXPECT_FALSE(m.KeyExists("s", "\t"));
  EXPECT_TRUE(m.KeyExists("s", "k"));
  EXPECT_EQ(m.SaveToText(), "[s]\r\n   k = w\r\n");
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(HostileIni, EveryKeptInputReadsBackTheSameAfterASave) {
  int inputs = 0;
  for (const auto& e : std::filesystem::directory_iterator(kHostile)) {
    if (!e.is_regular_file()) continue;
    SCOPED_TRACE(e.path().filename().string());
    ++inputs;
    TTraceCapture capture;
    TIniManager first;
    first.LoadFromText(ReadFileBytes(e.path().string()));
    const std::string saved = first.SaveToText();
    TIniManager second;
    if (!saved.empty()) second.LoadFromText(saved);
    EXPECT_EQ(Contents(second), Contents(first));
  }
  EXPECT_GE(inputs, 2);
}

TEST(HostileIni, FileOverTheSizeLimitIsRefusedAndNeverOverwritten) {
  // The close of the main window reads the settings, sets the list positions
  // and saves; a save after a refused read would replace every setting by
  // the positions alone. A settings file is a few kilobytes: one over 1 MB
  // is refused once, its settings are the defaults without more boxes.
  struct Row {
    const char* name;
    std::string text;
    std::uintmax_t size;  // made sparse up to that size when larger than the text
  };
  const std::string value(10 * 1024 * 1024, 'v');
  const Row rows[] = {
      {"sparse file of 300 MB", "[Connexion]\r\n   InformerPort = 4590\r\n", std::uintmax_t(300) * 1024 * 1024},
      {"a line of 10 MiB", "[Connexion]\r\n   InformerPort = 4590\r\n   Note = " + value + "\r\n", 0},
      {"many sections just over 1 MB", std::string(), 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TTempDir dir;
    const std::string name = dir.File("parametres.ini");
    std::string text = row.text;
    for (int s = 60000; row.text.empty() && text.size() <= kMaxIniFileBytes; --s)
      text += "[Section" + std::to_string(s) + "]\r\n   Cle = v\r\n";
    WriteFileBytes(name, text);
    if (row.size > text.size()) std::filesystem::resize_file(name, row.size);
    const auto size = std::filesystem::file_size(name);
    const auto before = std::filesystem::last_write_time(name);
    TTraceCapture capture;
    TIniManager m(name);
    EXPECT_EQ(capture.Boxes(),
              std::vector<std::string>{"*ERROR*Ini_Manager_Unit:LoadFromFile:fichier trop volumineux : " + name});
    EXPECT_FALSE(m.HasSectionList());
    EXPECT_EQ(m.GetInt("Connexion", "InformerPort"), 0);
    EXPECT_EQ(m.Get("Connexion", "InformerIP"), "");
    EXPECT_EQ(m.GetIntStrict("Connexion", "InformerPort"), -1);
    EXPECT_EQ(capture.Boxes().size(), 1u);
    m.Set("Positions", "CurrentClientListRow", "3");
    capture.Clear();
    EXPECT_FALSE(m.SaveToFile(name));
    EXPECT_FALSE(m.SaveToFile(dir.Path() + "/./parametres.ini"));
    EXPECT_TRUE(capture.Traced("Warning : TIniManager.SaveToFile:fichier non lu, conserve " + name));
    EXPECT_TRUE(capture.Boxes().empty());
    EXPECT_EQ(std::filesystem::file_size(name), size);
    EXPECT_EQ(std::filesystem::last_write_time(name), before);
    // Another file may still receive the settings in memory.
    EXPECT_TRUE(m.SaveToFile(dir.File("other.ini")));
    EXPECT_EQ(ReadFileBytes(dir.File("other.ini")), "[Positions]\r\n   CurrentClientListRow = 3\r\n");
  }
}

TEST(HostileIni, ALineThePatternsCannotAnswerForIsReportedNotDropped) {
  // Past ten million characters the key/value pattern stops on the library's
  // match limit: the line is not "no pair", it is a line the reader could
  // not read, named in one report.
  const std::string text = "[s]\r\nk = 1\r\nbig = " + std::string(10 * 1024 * 1024, 'v') + "\r\nz = 2\r\n";
  TTraceCapture capture;
  TIniManager m;
  m.LoadFromText(text);
  ASSERT_EQ(capture.Boxes().size(), 1u);
  EXPECT_EQ(capture.Boxes()[0].rfind("*ERROR*Ini_Manager_Unit:LoadFromFile:ligne illisible 3 (", 0), 0u)
      << capture.Boxes()[0];
  EXPECT_NE(capture.Boxes()[0].find("match limit"), std::string::npos) << capture.Boxes()[0];
  // The lines around it are read.
  EXPECT_EQ(m.Get("s", "k"), "1");
  EXPECT_EQ(m.Get("s", "z"), "2");
}

TEST(HostileIni, LongLinesAreReadInOnePass) {
  // Lines of several megabytes, with and without "=", of blanks only, and a
  // last one without line end: each is classified once, without trying every
  // way of splitting it.
  const std::size_t n = 4 * 1024 * 1024;
  const std::string text = "[s]\r\n" + std::string(n, '\t') + "\r\n" + std::string(n, '=') + "\r\n" + "k" +
                           std::string(n, ' ') + "= " + std::string(n, 'v') + "\r\n" + std::string(n, 'x');
  TTraceCapture capture;
  TIniManager m;
  m.LoadFromText(text);
  EXPECT_TRUE(capture.Boxes().empty());
  ASSERT_EQ(m.SectionCount(), 1);
  EXPECT_TRUE(m.KeyExists("s", "k"));
  EXPECT_EQ(m.Get("s", "k").size(), n);
}

TEST(HostileIni, LinesWithLongRunsOfBlanksAreClassifiedLikeShortOnes) {
  // Runs of a million blanks after the last "=", before a final "=", or on
  // their own: once made the classifier try every split of the run.
  const std::string tabs(1024 * 1024, '\t');
  struct {
    const char* Name;
    std::string Line;
    const char* Type;
    std::string Key, Value;
  } const rows[] = {
      {"blanks after the value", "k=v" + tabs, "keyvalue", "k", "v" + tabs},
      {"blanks then a final equals", "k" + tabs + "=", "error", "", ""},
      {"blanks only", tabs, "error", "", ""},
      {"blanks then equals and a line break", tabs + "=\x0b", "error", "", ""},
      {"key of blanks", tabs + "=v", "keyvalue", "\t", "v"},
      {"section followed by blanks", "[a]" + tabs, "section", "", ""},
  };
  TStringManager& sm = StringManager();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(sm.GetIniLineType(row.Line), row.Type);
    EXPECT_TRUE(sm.GetIniKey(row.Line) == row.Key);
    EXPECT_TRUE(sm.GetIniValue(row.Line) == row.Value);
  }
}

}  // namespace
