#include <gtest/gtest.h>

#include <string>

#include "StringManager.h"
#include "TestSupport.h"

namespace {

struct TLineRow {
  const char* name;
  std::string line;
  const char* type;
  const char* section;
  const char* key;
  const char* value;
};

}  // namespace

TEST(IniLines, ClassifiesAndSplitsLines) {
  TTraceCapture capture;
  const TLineRow rows[] = {
      {"section", "[Positions]", "section", "Positions", "", ""},
      {"sectionWithBlanks", " \t[  Positions ]\t ", "section", "Positions", "", ""},
      {"sectionKeepsTabsInside", "[\tA\t]", "section", "\tA\t", "", ""},
      {"sectionOfBlanksOnly", "[   ]", "section", "", "", ""},
      {"emptyBrackets", "[]", "error", "", "", ""},
      {"comment", ";x", "comment", "", "", ""},
      {"commentWithEquals", ";a=b", "comment", "", ";a", "b"},
      {"blankThenSemicolon", " ;x", "error", "", "", ""},
      {"blankThenSemicolonKeyValue", " ;x=1", "keyvalue", "", ";x", "1"},
      {"keyValue", "a = b", "keyvalue", "", "a", "b"},
      {"indented", "   CurrentClientListRow = 12", "keyvalue", "", "CurrentClientListRow", "12"},
      {"greedyKey", "a=b=c", "keyvalue", "", "a=b", "c"},
      {"tabBeforeEqualsStaysInKey", "a\t= b", "keyvalue", "", "a\t", "b"},
      {"trailingTabStaysInValue", "a = b\t", "keyvalue", "", "a", "b\t"},
      {"innerBlanksKept", "Prix Uni. TTC = 12 , 5", "keyvalue", "", "Prix Uni. TTC", "12 , 5"},
      {"onlyBlanksAfterEquals", "k =   ", "keyvalue", "", "k", ""},
      {"nothingAfterEquals", "k=", "error", "", "", ""},
      {"nothingBeforeEquals", "=v", "error", "", "", ""},
      {"noEquals", "just text", "error", "", "", ""},
      {"empty", "", "error", "", "", ""},
      {"blanks", "  \t ", "error", "", "", ""},
      {"sectionWinsOverKeyValue", "[a=b]", "section", "a=b", "[a", "b]"},
      {"textAfterBracket", "[a] x", "error", "", "", ""},
      {"accentedBytes", "Soci\xE9t\xE9 = Pharmacie \xC9toile \x80", "keyvalue", "", "Soci\xE9t\xE9",
       "Pharmacie \xC9toile \x80"},
      {"accentedSection", "[Mod\xE8le]", "section", "Mod\xE8le", "", ""},
  };
  TStringManager& sm = StringManager();
  for (const TLineRow& r : rows) {
    EXPECT_EQ(sm.GetIniLineType(r.line), r.type) << r.name;
    EXPECT_EQ(sm.GetIniSection(r.line), r.section) << r.name;
    EXPECT_EQ(sm.GetIniKey(r.line), r.key) << r.name;
    EXPECT_EQ(sm.GetIniValue(r.line), r.value) << r.name;
  }
  EXPECT_TRUE(capture.Lines().empty());
}

TEST(IniLines, LineBreaksInsideALine) {
  TStringManager& sm = StringManager();
  // "$" may stand before a final line break of any kind.
  EXPECT_EQ(sm.GetIniLineType("[S]\r\n"), "section");
  EXPECT_EQ(sm.GetIniSection("[S]\r\n"), "S");
  EXPECT_EQ(sm.GetIniValue("k = v\r"), "v");
  // Text after a line break is no part of the line's match.
  EXPECT_EQ(sm.GetIniLineType("k = v\nw"), "error");
  EXPECT_EQ(sm.GetIniLineType("[S]\n[T]"), "error");
}
