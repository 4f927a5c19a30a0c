#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IniManager.h"
#include "TestSupport.h"

namespace {

using namespace std::string_literals;
using TBoxes = std::vector<std::string>;

// Names and pairs of every section in list order, "name:key=value" per pair.
std::vector<std::string> Dump(const TIniManager& ini) {
  std::vector<std::string> out;
  for (int i = 0; i < ini.SectionCount(); ++i) {
    const TIniSection* s = ini.GetSection(i);
    out.push_back("[" + s->fName + "]");
    for (int j = 0; j < s->fPairs->Count(); ++j) {
      out.push_back(s->fName + ":" + s->fPairs->GetPair(j)->key + "=" + s->fPairs->GetPair(j)->data);
    }
  }
  return out;
}

}  // namespace

TEST(IniManager, ReadsIndentedPairsAndFindsSectionsWithoutRegardToCase) {
  TTraceCapture capture;
  TTempDir dir;
  WriteFileBytes(dir.File("parametres.ini"),
                 "[Positions]\r\n   CurrentClientListRow = 12\r\n[  connexion  ]\r\n   InformerPort = 4000\r\n");
  TIniManager ini(dir.File("parametres.ini"));
  EXPECT_EQ(ini.GetInt("Positions", "CurrentClientListRow"), 12);
  EXPECT_EQ(ini.GetInt("positions", "CurrentClientListRow"), 12);
  EXPECT_EQ(ini.GetInt(" POSITIONS ", "CurrentClientListRow"), 12);
  EXPECT_EQ(ini.GetInt("Connexion", "InformerPort"), 4000);
  EXPECT_TRUE(ini.SectionExists("CONNEXION"));
  EXPECT_TRUE(ini.KeyExists("connexion", "InformerPort"));
  EXPECT_TRUE(capture.Lines().empty());
  // The name is kept as written, only trimmed.
  EXPECT_EQ(Dump(ini), (std::vector<std::string>{"[connexion]", "connexion:InformerPort=4000", "[Positions]",
                                                 "Positions:CurrentClientListRow=12"}));
}

TEST(IniManager, KeysAreCaseSensitive) {
  TTraceCapture capture;
  TIniManager ini;
  ini.LoadFromText("[Positions]\n   CurrentClientListRow = 12\n");
  EXPECT_EQ(ini.Get("Positions", "currentclientlistrow"), "");
  EXPECT_EQ(capture.Boxes(), TBoxes{"*ERROR*TIniManager.Get : [Positions]/currentclientlistrow n'existe pas"});
  EXPECT_TRUE(capture.Traced("Warning : TListOfPairOfStrings.getData: parametre n'existe pas : currentclientlistrow"));
  EXPECT_FALSE(ini.KeyExists("Positions", "currentclientlistrow"));
}

TEST(IniManager, GetIntAcceptsOnlyPlainIntegers) {
  TIniManager ini;
  ini.LoadFromText(
      "[Positions]\n"
      "Zero = 0\nNeg = -7\nLeadingZero = 012\nPlus = +12\nReal = 1,5\nBig = 99999999999\nText = abc\n");
  struct Row {
    const char* key;
    int value;
    bool reported;
  };
  const Row rows[] = {{"Zero", 0, false},       {"Neg", -7, false}, {"LeadingZero", 0, true}, {"Plus", 0, true},
                      {"Real", 0, true},        {"Big", 0, true},   {"Text", 0, true}};
  for (const Row& r : rows) {
    TTraceCapture capture;
    EXPECT_EQ(ini.GetInt("Positions", r.key), r.value) << r.key;
    TBoxes expected;
    if (r.reported) expected.push_back(std::string("*ERROR*Ini_Manager_Unit:TIniManager:GetInt:Can't Find Positions ") + r.key);
    EXPECT_EQ(capture.Boxes(), expected) << r.key;
  }
}

TEST(IniManager, MissingKeyShowsTwoBoxesAndGivesZero) {
  TTraceCapture capture;
  TIniManager ini;
  ini.LoadFromText("[Positions]\nOther = 1\n");
  EXPECT_EQ(ini.GetInt("Positions", "Key"), 0);
  EXPECT_EQ(capture.Boxes(), (TBoxes{"*ERROR*TIniManager.Get : [Positions]/Key n'existe pas",
                                     "*ERROR*Ini_Manager_Unit:TIniManager:GetInt:Can't Find Positions Key"}));

  capture.Clear();
  EXPECT_EQ(ini.Get("Nowhere", "Key"), "");
  EXPECT_EQ(capture.Boxes(), TBoxes{"*ERROR*TIniManager.Get : [Nowhere]/Key n'existe pas"});
}

TEST(IniManager, GetIntStrict) {
  TTraceCapture capture;
  TIniManager ini;
  ini.LoadFromText("[S]\nK = 5\nBad = x\n");
  EXPECT_EQ(ini.GetIntStrict("s", "K"), 5);
  EXPECT_TRUE(capture.Boxes().empty());
  EXPECT_EQ(ini.GetIntStrict("S", "Missing"), -1);
  EXPECT_EQ(ini.GetIntStrict("T", "K"), -1);
  EXPECT_EQ(capture.Boxes(), (TBoxes{"*ERROR*TIniManager.GetIntStrict : [section][key] inexistant : S - Missing",
                                     "*ERROR*TIniManager.GetIntStrict : [section][key] inexistant : T - K"}));
  capture.Clear();
  EXPECT_EQ(ini.GetIntStrict("S", "Bad"), 0);
  EXPECT_EQ(capture.Boxes(), TBoxes{"*ERROR*Ini_Manager_Unit:TIniManager:GetInt:Can't Find S Bad"});
}

TEST(IniManager, LoadingSkipsWhatIsNoPair) {
  TTraceCapture capture;
  TIniManager ini;
  ini.LoadFromText(
      "Orphan = before any section\n"
      ";Comment = not a pair\n"
      "[S]\n"
      " ;x\n"
      " ;y = 1\n"
      "NoValue =\n"
      "Blanks =    \n"
      "no equals sign\n"
      "\n"
      "a=b=c\n"
      "Tab\t= v\n"
      "[   ]\n"
      "Lost = 1\n");
  EXPECT_EQ(Dump(ini), (std::vector<std::string>{"[S]", "S:;y=1", "S:Tab\t=v", "S:a=b=c"}));
  EXPECT_EQ(ini.Get("S", "a=b"), "c");
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(IniManager, DuplicateKeyIsReportedAndTheLaterValueKept) {
  TTraceCapture capture;
  TIniManager ini;
  ini.LoadFromText("[S]\nK = first\nK = second\n");
  EXPECT_EQ(capture.Boxes(),
            TBoxes{"*ERROR*String_Manager_Unit:TListOfPairOfStrings.add:clé deja existante : K"});
  EXPECT_EQ(ini.Get("S", "K"), "second");
  EXPECT_EQ(ini.GetSection(0)->fPairs->Count(), 1);
}

TEST(IniManager, WritesSectionsSortedInItsOwnLayout) {
  TTraceCapture capture;
  TTempDir dir;
  WriteFileBytes(dir.File("in.ini"), "; settings\r\n[Zeta]\r\nb=2\r\n\r\na   =   1\r\n[Alpha]\r\n\tx = y\r\n");
  TIniManager ini(dir.File("in.ini"));
  ASSERT_TRUE(ini.SaveToFile(dir.File("out.ini")));
  const std::string expected = "[Alpha]\r\n   x = y\r\n[Zeta]\r\n   a = 1\r\n   b = 2\r\n";
  EXPECT_EQ(ReadFileBytes(dir.File("out.ini")), expected);
  EXPECT_EQ(ini.SaveToText(), expected);

  // What is written reads back the same.
  TIniManager again(dir.File("out.ini"));
  EXPECT_EQ(Dump(again), Dump(ini));
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(IniManager, SectionOrderIgnoresCaseButNotAccents) {
  TIniManager ini;
  ini.LoadFromText("[beta]\nk=1\n[\xC9t\xE9]\nk=2\n[Alpha]\nk=3\n[Zed]\nk=4\n");
  std::vector<std::string> names;
  for (int i = 0; i < ini.SectionCount(); ++i) names.push_back(ini.GetSection(i)->fName);
  // Only ASCII letters are folded, so the accented name sorts last by its byte.
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "Zed", "\xC9t\xE9"}));
  EXPECT_TRUE(ini.SectionExists("\xC9t\xE9"));
  EXPECT_FALSE(ini.SectionExists("\xE9t\xE9"));
}

TEST(IniManager, AccentedBytesPassThroughUnchanged) {
  TTraceCapture capture;
  TTempDir dir;
  const std::string bytes = "[Soci\xE9t\xE9]\r\n   Nom = Pharmacie de l'\xC9toile \x80 \xFF\r\n";
  WriteFileBytes(dir.File("a.ini"), bytes);
  TIniManager ini(dir.File("a.ini"));
  EXPECT_EQ(ini.Get("soci\xE9t\xE9", "Nom"), "Pharmacie de l'\xC9toile \x80 \xFF");
  ASSERT_TRUE(ini.SaveToFile(dir.File("b.ini")));
  EXPECT_EQ(ReadFileBytes(dir.File("b.ini")), bytes);
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(IniManager, AcceptsEveryLineEndAndStopsAtNul) {
  TIniManager ini;
  ini.LoadFromText("[A]\rk1 = 1\nk2 = 2\r\nk3 = 3\r\n\0k4 = 4\r\n"s);
  EXPECT_EQ(Dump(ini), (std::vector<std::string>{"[A]", "A:k1=1", "A:k2=2", "A:k3=3"}));
}

TEST(IniManager, MissingOrEmptyFileChangesNothing) {
  TTraceCapture capture;
  TTempDir dir;
  TIniManager missing(dir.File("absent.ini"));
  EXPECT_EQ(capture.Boxes(), TBoxes{"*ERROR*Ini_Manager_Unit:LoadFromFile:Bad filename : " + dir.File("absent.ini")});
  EXPECT_FALSE(missing.HasSectionList());

  capture.Clear();
  EXPECT_EQ(missing.Get("S", "K"), "");
  EXPECT_EQ(missing.GetInt("S", "K"), 0);
  EXPECT_EQ(capture.Boxes(), (TBoxes{"*ERROR*Ini_Manager_Unit:TIniManager.Get:Pas de sections",
                                     "*ERROR*Ini_Manager_Unit:TIniManager.Get:Pas de sections",
                                     "*ERROR*Ini_Manager_Unit:TIniManager:GetInt:Can't Find S K"}));
  EXPECT_FALSE(missing.SectionExists("S"));
  EXPECT_FALSE(missing.KeyExists("S", "K"));

  capture.Clear();
  WriteFileBytes(dir.File("empty.ini"), "");
  TIniManager empty(dir.File("empty.ini"));
  EXPECT_EQ(capture.Boxes(), TBoxes{"*ERROR*Ini_Manager_Unit:LoadFromFile:Fichier ini vide"});
  EXPECT_FALSE(empty.HasSectionList());

  // A loaded manager keeps its settings when a later load fails.
  TIniManager loaded;
  loaded.LoadFromText("[S]\nK = 1\n");
  capture.Clear();
  loaded.LoadFromFile(dir.File("empty.ini"));
  loaded.LoadFromFile(dir.File("absent.ini"));
  loaded.LoadFromFile(dir.Path());  // a folder is no settings file
  EXPECT_EQ(capture.Boxes().size(), 3u);
  EXPECT_EQ(loaded.Get("S", "K"), "1");

  // A file of blank lines has lines: the manager gets an empty section list.
  WriteFileBytes(dir.File("blank.ini"), "\r\n\r\n");
  capture.Clear();
  TIniManager blank(dir.File("blank.ini"));
  EXPECT_TRUE(capture.Boxes().empty());
  EXPECT_TRUE(blank.HasSectionList());
  EXPECT_EQ(blank.SectionCount(), 0);
}

TEST(IniManager, SetOnAManagerFromAMissingFileCreatesTheSection) {
  TTempDir dir;
  TTraceCapture capture;
  TIniManager ini(dir.File("parametres.ini"));
  EXPECT_FALSE(ini.HasSectionList());
  capture.Clear();
  ini.Set("Positions", "CurrentArticleListRow", "3");
  EXPECT_TRUE(ini.HasSectionList());
  EXPECT_EQ(ini.SectionCount(), 1);
  ini.Set("positions", "CurrentArticleListRow", "4");
  ini.Set("Positions", "CurrentArticleListTopRow", "1");
  ini.Set("  Connexion ", "InformerIP", "192.168.1.20");
  EXPECT_TRUE(capture.Boxes().empty());
  ASSERT_TRUE(ini.SaveToFile(dir.File("parametres.ini")));
  EXPECT_EQ(ReadFileBytes(dir.File("parametres.ini")),
            "[Connexion]\r\n"
            "   InformerIP = 192.168.1.20\r\n"
            "[Positions]\r\n"
            "   CurrentArticleListRow = 4\r\n"
            "   CurrentArticleListTopRow = 1\r\n");
}

TEST(IniManager, SetRefusesAnEmptyKeyAndWarnsOnAnEmptyValue) {
  TTraceCapture capture;
  TIniManager ini;
  ini.Set("S", "", "1");
  EXPECT_EQ(capture.Boxes(), TBoxes{"*ERROR*String_Manager_Unit:TListOfPairOfStrings.add: cle vide"});
  capture.Clear();
  ini.Set("S", "K", "");
  EXPECT_TRUE(capture.Boxes().empty());
  EXPECT_EQ(capture.Lines(), std::vector<std::string>{"Warning : String_Manager_Unit:TListOfPairOfStrings.add: data vide"});
  EXPECT_TRUE(ini.KeyExists("S", "K"));
  EXPECT_EQ(ini.SectionCount(), 1);
}

TEST(IniManager, FailedSaveIsReportedAndLeavesNoFile) {
  TTraceCapture capture;
  TTempDir dir;
  TIniManager ini;
  ini.Set("S", "K", "1");
  const std::string target = dir.File("no such folder/parametres.ini");
  EXPECT_FALSE(ini.SaveToFile(target));
  EXPECT_EQ(capture.Lines(), std::vector<std::string>{"Warning : TIniManager.SaveToFile:echec écriture " + target});
  EXPECT_TRUE(capture.Boxes().empty());
}
