#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "StringManager.h"
#include "TestSupport.h"

namespace {

const std::string kCopy = "*ERROR*String_Manager_Unit:TStringManager.MyStrCopy:";

}  // namespace

TEST(StringManagerInstance, TheLastCreatedIsTheProcessWideOne) {
  TStringManager& before = StringManager();
  {
    TStringManager mine;
    EXPECT_EQ(&StringManager(), &mine);
  }
  // Once it is gone, callers still get a working instance.
  TStringManager& after = StringManager();
  EXPECT_EQ(after.GetToken("a;b", 2, ';'), "b");
  (void)before;
}

TEST(StringManagerTokens, FieldsAndCounts) {
  TStringManager& s = StringManager();
  EXPECT_EQ(s.GetToken("a;;c", 2, ';'), "");
  EXPECT_EQ(s.GetToken("a;;c", 3, ';'), "c");
  EXPECT_EQ(s.GetToken("a;b", 5, ';'), "");
  EXPECT_EQ(s.GetToken("a;b", 0, ';'), "");
  EXPECT_EQ(s.GetToken("a;b;", 3, ';'), "");
  EXPECT_EQ(s.GetToken("Crème;été", 2, ';'), "été");
  EXPECT_EQ(s.CountTokens("", ';'), 0);
  EXPECT_EQ(s.CountTokens("a;b;", ';'), 3);
  EXPECT_EQ(s.CountTokens("abc", ';'), 1);
  EXPECT_EQ(s.CountTokens(";", ';'), 2);
}

struct TCopyRow {
  const char* Name;
  const char* Text;
  int From;
  int To;
  const char* Result;
  std::vector<std::string> Boxes;
};

TEST(StringManagerCopy, ReportsInOrderAndClamps) {
  const std::vector<TCopyRow> rows = {
      {"inside", "abcdef", 2, 4, "bcd", {}},
      {"toPastEnd", "abc", 2, 10, "bc", {kCopy + "Bad ToPos : 10 in abc"}},
      {"reversed", "abc", 3, 1, "abc", {kCopy + "FromPos 3 > ToPos : 1 in abc"}},
      {"bothPastEnd", "abc", 5, 7, "", {kCopy + "Bad FromPos : 5 in abc", kCopy + "Bad ToPos : 7 in abc"}},
      {"zeroFrom", "abc", 0, 2, "ab", {kCopy + "null or negative param in abc"}},
      {"threeReports",
       "abc",
       5,
       0,
       "abc",
       {kCopy + "Bad FromPos : 5 in abc", kCopy + "FromPos 5 > ToPos : 0 in abc", kCopy + "null or negative param in abc"}},
      {"negative", "abc", -2, -1, "", {kCopy + "null or negative param in abc"}},
      {"emptyText", "", 1, 1, "", {kCopy + "Bad FromPos : 1 in ", kCopy + "Bad ToPos : 1 in "}},
  };
  for (const TCopyRow& row : rows) {
    TTraceCapture capture;
    EXPECT_EQ(StringManager().MyStrCopy(row.Text, row.From, row.To), row.Result) << row.Name;
    EXPECT_EQ(capture.Boxes(), row.Boxes) << row.Name;
  }
}

TEST(StringManagerTexts, SearchReplaceTrimJoin) {
  TStringManager& s = StringManager();
  EXPECT_EQ(s.FindSubString("cd", "abcdcd"), 3);
  EXPECT_EQ(s.FindSubString("x", "abc"), 0);
  EXPECT_EQ(s.FindSubString("", "abc"), 0);
  EXPECT_EQ(s.ReplaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(s.ReplaceAll("a.b.c", ".", ","), "a,b,c");
  EXPECT_EQ(s.ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(s.ReplaceAll("xax", "x", "xx"), "xxaxx");
  EXPECT_TRUE(s.BeginsWith("ABC", "AB"));
  EXPECT_FALSE(s.BeginsWith("AB", "ABC"));
  EXPECT_FALSE(s.BeginsWith("ABC", ""));
  EXPECT_FALSE(s.BeginsWith("", ""));
  EXPECT_FALSE(s.BeginsWith("abc", "AB"));
  EXPECT_EQ(s.TrimChar("  a b  ", ' '), "a b");
  EXPECT_EQ(s.TrimChar("\t a \t", ' '), "\t a \t");
  EXPECT_EQ(s.TrimChar(",,12,5,", ','), "12,5");
  EXPECT_EQ(s.TrimChar("   ", ' '), "");
  EXPECT_EQ(s.TrimChar("", ' '), "");
  EXPECT_EQ(s.TrimChar(" éà ", ' '), "éà");
  EXPECT_EQ(s.JoinStrings({"a", "", "c"}, ";"), "a;;c");
  EXPECT_EQ(s.JoinStrings({}, ";"), "");
  EXPECT_EQ(s.JoinStrings({"x"}, ", "), "x");
}

TEST(StringManagerTexts, LineBreaksEscapedForOneLineStorage) {
  TStringManager& s = StringManager();
  EXPECT_EQ(s.EscapeNewLines("a\r\nb"), "a\\nb");
  EXPECT_EQ(s.UnescapeNewLines("a\\nb"), "a\r\nb");
  // A lone line feed or carriage return would break the one-line storage:
  // it is stored as a line break too, and reads back as CR LF.
  EXPECT_EQ(s.EscapeNewLines("a\nb\rc"), "a\\nb\\nc");
  EXPECT_EQ(s.EscapeNewLines("a\n\r\nb\r\r"), "a\\n\\nb\\n\\n");
  EXPECT_EQ(s.UnescapeNewLines(s.EscapeNewLines("a\nb")), "a\r\nb");
  EXPECT_EQ(s.EscapeNewLines("Crème;été"), "Crème;été");
  EXPECT_EQ(s.UnescapeNewLines(s.EscapeNewLines("l1\r\nl2\r\n")), "l1\r\nl2\r\n");
}

TEST(StringManagerTexts, DateTimeForFileNames) {
  const TDateTime t = EncodeDate(2026, 12, 8) + EncodeTime(14, 5, 9);
  EXPECT_EQ(StringManager().DateTimeToStrSep(t, '-'), "08-12-2026-14-05-09");
  EXPECT_EQ(StringManager().DateTimeToStrSep(t, '_'), "08_12_2026_14_05_09");
}

struct TShapeRow {
  const char* Text;
  bool Integer;
  bool Real;
};

TEST(StringManagerShapes, IntegersAndReals) {
  const std::vector<TShapeRow> rows = {
      {"0", true, true},          {"12", true, true},          {"-12", true, true},
      {"0,5", false, true},       {"-0.5", false, true},       {"12,50", false, true},
      {"012", false, false},      {"1.", false, false},        {",5", false, false},
      {"-0", false, false},       {"1e5", false, false},       {"", false, false},
      {" 12", false, false},      {"12 ", false, false},       {"1,2,3", false, false},
      {"+1", false, false},       {"00,5", false, false},      {"-", false, false},
      // "$" also matches before one final line break.
      {"12\n", true, true},       {"12\r\n", true, true},      {"12\r", true, true},
      {"0,5\n", false, true},     {"12\n\n", false, false},    {"12\n3", false, false},
      {"\n", false, false},       {"123456789012345678", true, true},
      {"1234567890123456789", false, true},                   {"-12345678901234567", true, true},
      {"-123456789012345678", false, true},                   {"12345678901234567\n", true, true},
      {"123456789012345678\n", false, true},
  };
  for (const TShapeRow& row : rows) {
    EXPECT_EQ(StringManager().IsInteger(row.Text), row.Integer) << '"' << row.Text << '"';
    EXPECT_EQ(StringManager().IsReal(row.Text), row.Real) << '"' << row.Text << '"';
  }
}

struct TPatternRow {
  const char* Name;
  bool (TStringManager::*Test)(const std::string&);
  const char* Text;
  bool Expected;
};

TEST(StringManagerShapes, OtherShapes) {
  const std::vector<TPatternRow> rows = {
      {"digits", &TStringManager::IsDigits, "0012", true},
      {"digitsSigned", &TStringManager::IsDigits, "-1", false},
      {"digitsEmpty", &TStringManager::IsDigits, "", false},
      {"date", &TStringManager::IsDate, "08/12/2026", true},
      {"dateShapeOnly", &TStringManager::IsDate, "99/99/2024", true},
      {"dateShortYear", &TStringManager::IsDate, "08/12/26", false},
      {"dateDashes", &TStringManager::IsDate, "08-12-2026", false},
      {"email", &TStringManager::IsEmail, "desk@pharma.fr", true},
      {"emailNoDot", &TStringManager::IsEmail, "desk@pharma", false},
      {"emailTwoLines", &TStringManager::IsEmail, "a@b\r\n.c", false},
      {"phone", &TStringManager::IsPhone, "+33 1.23.45.67.89", true},
      {"phoneShort", &TStringManager::IsPhone, "12 34", false},
      {"phoneLetters", &TStringManager::IsPhone, "01 23 45 67 8x", false},
      {"booleanTrue", &TStringManager::IsBoolean, "true", true},
      {"booleanCase", &TStringManager::IsBoolean, "True", false},
      {"facture", &TStringManager::IsFactureNumber, "FA31702", true},
      {"factureSix", &TStringManager::IsFactureNumber, "FA317021", false},
      {"factureLower", &TStringManager::IsFactureNumber, "fa31702", false},
      {"devisFour", &TStringManager::IsDevisNumber, "DE1234", true},
      {"devisFive", &TStringManager::IsDevisNumber, "DE12345", true},
      {"devisThree", &TStringManager::IsDevisNumber, "DE123", false},
      {"avoirThree", &TStringManager::IsAvoirNumber, "AV999", true},
      {"avoirFour", &TStringManager::IsAvoirNumber, "AV1000", true},
      {"avoirFive", &TStringManager::IsAvoirNumber, "AV10000", false},
      {"avoirLineBreak", &TStringManager::IsAvoirNumber, "AV123\r\n", true},
  };
  for (const TPatternRow& row : rows) {
    EXPECT_EQ((StringManager().*row.Test)(row.Text), row.Expected) << row.Name;
  }
}

TEST(StringManagerShapes, CipCheckDigit) {
  TStringManager& s = StringManager();
  EXPECT_TRUE(s.IsCIP("1234562"));
  EXPECT_FALSE(s.IsCIP("1234563"));
  EXPECT_TRUE(s.IsCIP(" 1234562\r\n"));
  EXPECT_TRUE(s.IsCIP("\t1234562 "));
  EXPECT_FALSE(s.IsCIP("123456"));
  EXPECT_FALSE(s.IsCIP("12345620"));
  EXPECT_FALSE(s.IsCIP("12a4562"));
  EXPECT_FALSE(s.IsCIP("123 562"));
  // sum 2+6+12+20+30+42+... : a remainder of 10 gives the check digit 0.
  // 0000010: d6=1 -> sum 7, 7 mod 11 = 7.
  EXPECT_TRUE(s.IsCIP("0000017"));
  // d1=5: sum 10 -> 10 mod 11 = 10 -> 10 mod 10 = 0.
  EXPECT_TRUE(s.IsCIP("5000000"));
  EXPECT_FALSE(s.IsCIP("5000001"));
}

TEST(StringManagerRegEx, SearchesWithNonEmptyMatches) {
  TStringManager& s = StringManager();
  EXPECT_TRUE(s.RegExMatch("^AB", "ABC"));
  EXPECT_FALSE(s.RegExMatch("^ab", "ABC"));
  EXPECT_TRUE(s.RegExMatch("B", "ABC"));
  EXPECT_FALSE(s.RegExMatch("^$", ""));
  EXPECT_FALSE(s.RegExMatch("x*", "abc"));
  EXPECT_TRUE(s.RegExMatch("a*", "baa"));
  EXPECT_TRUE(s.RegExMatch("^$|a", "xa"));
  EXPECT_TRUE(s.RegExMatch("^Crème$", "Crème"));
  EXPECT_TRUE(s.RegExMatch("^.$", "é"));
  // "$" before a final line break, any of the usual ones.
  EXPECT_TRUE(s.RegExMatch("^abc$", "abc\r\n"));
  EXPECT_TRUE(s.RegExMatch("^abc$", "abc\r"));
  EXPECT_FALSE(s.RegExMatch("^abc$", "abc\r\nx"));
  EXPECT_FALSE(s.RegExMatch("^a.c$", "a\rc"));
  // The value of an exact query is inserted without escaping.
  EXPECT_TRUE(s.RegExMatch("^12.5$", "12,5"));
}

TEST(StringManagerRegEx, BadPatternsRaiseTheirMessage) {
  TStringManager& s = StringManager();
  try {
    s.RegExMatch("ab(c", "abc");
    FAIL() << "no exception";
  } catch (const ERegExError& e) {
    EXPECT_EQ(e.Message, "TPerlRegEx.Compile() - Error in regex at offset 4: missing closing parenthesis");
  }
  try {
    s.RegExMatch("", "abc");
    FAIL() << "no exception";
  } catch (const ERegExError& e) {
    EXPECT_EQ(e.Message, "TPerlRegEx.Compile() - Please specify a regular expression in RegEx first");
  }
  // A failed pattern is not kept: asking again reports again, and a good
  // pattern afterwards works.
  EXPECT_THROW(s.RegExMatch("[", "abc"), ERegExError);
  EXPECT_THROW(s.RegExMatch("[", "abc"), ERegExError);
  EXPECT_TRUE(s.RegExMatch("b", "abc"));
}

TEST(StringManagerRegEx, CompiledPatternGroups) {
  TCompiledPattern p("^([a-z]+)=(x)?([0-9]+)$");
  EXPECT_EQ(p.GroupCount(), 3);
  ASSERT_TRUE(p.Match(std::string("key=42")));
  EXPECT_EQ(p.Group(0), "key=42");
  EXPECT_EQ(p.Group(1), "key");
  EXPECT_EQ(p.Group(2), "");
  EXPECT_EQ(p.Group(3), "42");
  EXPECT_EQ(p.Group(4), "");
  EXPECT_FALSE(p.Match(std::string("KEY=42")));
  EXPECT_EQ(p.Group(1), "");
}

TEST(StringManagerNumbers, SeparatorsAndParsing) {
  TStringManager& s = StringManager();
  EXPECT_EQ(s.PointToComma("1.2.3"), "1,2,3");
  EXPECT_EQ(s.CommaToPoint("1,2,3"), "1.2.3");
  EXPECT_EQ(s.DecimalSeparator(), ',');
  TTraceCapture capture;
  EXPECT_DOUBLE_EQ(s.MyStrToFloat("12,5"), 12.5);
  EXPECT_DOUBLE_EQ(s.MyStrToFloat("12.5"), 12.5);
  EXPECT_DOUBLE_EQ(s.MyStrToFloat("-0,25"), -0.25);
  EXPECT_EQ(s.MyStrToFloat("0,1"), 0.1);
  // The final line break that the shape allows is no part of the number.
  EXPECT_EQ(s.MyStrToFloat("12\n"), 12.0);
  EXPECT_EQ(s.MyStrToFloat("3,5\r\n"), 3.5);
  EXPECT_EQ(s.MyStrToInt("42"), 42);
  EXPECT_EQ(s.MyStrToInt("-42\n"), -42);
  EXPECT_TRUE(capture.Boxes().empty());
  EXPECT_TRUE(capture.Lines().empty());
}

TEST(StringManagerNumbers, BadNumbersReport) {
  TStringManager& s = StringManager();
  {
    TTraceCapture capture;
    EXPECT_EQ(s.MyStrToFloat("abc"), 0.0);
    EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*TStringManager.MyStrToFloat : abc is not a real"});
  }
  {
    TTraceCapture capture;
    EXPECT_EQ(s.MyStrToInt("12,5"), 0);
    EXPECT_TRUE(capture.Boxes().empty());
    EXPECT_EQ(capture.Lines(), std::vector<std::string>{"Warning : TStringManager.MyStrToInt : 12,5 is not an integer"});
  }
  {
    // Integers of up to 18 digits are held at the ends of the 32-bit range.
    TTraceCapture capture;
    EXPECT_EQ(s.MyStrToInt("99999999999"), 2147483647);
    EXPECT_EQ(s.MyStrToInt("-99999999999"), -2147483647 - 1);
    EXPECT_TRUE(capture.Lines().empty());
  }
}

struct TFormatRow {
  const char* Text;
  char Sep;
  int Decimals;
  const char* Result;
};

TEST(StringManagerNumbers, StrictFormatRoundsTheNearestDouble) {
  const std::vector<TFormatRow> rows = {
      {"0,125", ',', 2, "0,12"},   {"0,135", ',', 2, "0,14"},   {"2,675", ',', 2, "2,67"},
      {"1,005", ',', 2, "1,00"},   {"12,345", ',', 2, "12,35"}, {"1,999", ',', 2, "2,00"},
      {"12", ',', 2, "12,00"},     {"12.5", ',', 2, "12,50"},   {"-3", ',', 2, "-3,00"},
      {"12,5", ',', 0, "12"},      {"13,5", ',', 0, "14"},      {"0", ',', 2, "0,00"},
      {"12,30", ',', 2, "12,30"},  {"-1,005", ',', 2, "-1,00"}, {"-2,5", ',', 0, "-2"},
      {"-0,001", ',', 2, "0,00"},  {"1,23456", ',', 4, "1,2346"}, {"0,5", ',', 4, "0,5000"},
      {"12,5", '.', 2, "12.50"},   {"2,675", '.', 2, "2.67"},   {"12,5\r\n", ',', 2, "12,50"},
      {"123456,789", ',', 2, "123456,79"},
  };
  for (const TFormatRow& row : rows) {
    TTraceCapture capture;
    EXPECT_EQ(StringManager().FormatRealStringStrict(row.Text, row.Sep, row.Decimals), row.Result)
        << '"' << row.Text << "\" " << row.Decimals;
    EXPECT_TRUE(capture.Boxes().empty()) << row.Text;
  }
}

TEST(StringManagerNumbers, StrictFormatRefusesNonNumbers) {
  TTraceCapture capture;
  EXPECT_EQ(StringManager().FormatRealStringStrict("abc", ',', 2), "");
  EXPECT_EQ(StringManager().FormatRealStringStrict("1,2,3", ',', 2), "");
  EXPECT_EQ(capture.Boxes(),
            (std::vector<std::string>{"*ERROR*TStringManager.FormatRealStringStrict:Parametre n'est pas un reel : abc",
                                      "*ERROR*TStringManager.FormatRealStringStrict:Parametre n'est pas un reel : 1,2,3"}));
}

TEST(StringManagerNumbers, LooseFormatOnlyShortensLongFractions) {
  const std::vector<TFormatRow> rows = {
      {"12,3456", ',', 2, "12,35"}, {"12,5", ',', 2, "12,5"},   {"abc", ',', 2, "abc"},
      {"12.3456", ',', 2, "12,35"}, {"12.5", ',', 2, "12,5"},   {"1,999", ',', 2, "2"},
      {"0,125", ',', 2, "0,12"},    {"2,675", ',', 2, "2,67"},  {"1,2,3", ',', 2, "1,2,3"},
      {"12", ',', 2, "12"},         {"12,", ',', 2, "12,"},     {"1,00001", ',', 4, "1"},
      {"0,123456", ',', 3, "0,123"}, {"", ',', 2, ""},
  };
  TTraceCapture capture;
  for (const TFormatRow& row : rows) {
    EXPECT_EQ(StringManager().FormatRealString(row.Text, row.Sep, row.Decimals), row.Result) << '"' << row.Text << '"';
  }
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(StringManagerNumbers, GeneralFormOfLargeAndSmallValues) {
  TStringManager& s = StringManager();
  // Fifteen significant digits, then the exponent form.
  EXPECT_EQ(s.FormatRealString("123456789012,345678", ',', 2), "123456789012,35");
  EXPECT_EQ(s.FormatRealString("1234567890123456789,123", ',', 2), "1,23456789012346E18");
  EXPECT_EQ(s.FormatRealString("0,0000001234", ',', 9), "1,23E-7");
  // The strict form still writes such a value as digits.
  TTraceCapture capture;
  EXPECT_EQ(s.FormatRealStringStrict("0,0000001234", ',', 9), "0,000000123");
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(StringManagerRegEx, AMatchStoppedByALimitIsAnErrorNotANo) {
  // Nested repeats over 40 letters without the final one: far more than the
  // library's ten million steps. A settings line of ten million characters
  // hits the same limit with the key/value pattern.
  const std::string text = std::string(40, 'a') + "!";
  try {
    StringManager().RegExMatch("^(a+)+$", text);
    FAIL() << "no exception";
  } catch (const ERegExError& e) {
    EXPECT_TRUE(e.LimitReached);
    EXPECT_EQ(e.Message, "TPerlRegEx.Match() - match limit exceeded : motif ^(a+)+$ sur un texte de 41 caracteres");
  }
  EXPECT_THROW(StringManager().GetIniLineType("k = " + std::string(10 * 1024 * 1024, 'v')), ERegExError);
  // The same patterns still answer where they can.
  EXPECT_EQ(StringManager().GetIniLineType("k = v"), "keyvalue");
  EXPECT_FALSE(StringManager().RegExMatch("^(a+)+$", "aab"));
}

TEST(StringManagerShapes, MailPhoneAndBooleanAnswerAsTheirPatterns) {
  // Written by hand so that no text makes them backtrack (an e-mail cell of
  // 64 KB took seconds); they must give the patterns' answers, line breaks
  // included.
  TStringManager& s = StringManager();
  const char alphabet[] = {'a', '@', '.', '+', ' ', '1', 't', 'r', 'u', 'e', '\r', '\n', '\x85', '\x0b'};
  std::uint32_t seed = 12345;
  auto next = [&seed](std::uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % n;
  };
  std::vector<std::string> texts = {"true", "false\r\n", "true\n\n", "a@b.c", "@b.c", "a@.c", "a@b.", "+123456",
                                    "+12345", "++123456", std::string(4000, '@') + ".\nx"};
  for (int n = 0; n < 200000; ++n) {
    std::string t;
    for (std::uint32_t k = next(12); k > 0; --k) t += alphabet[next(sizeof alphabet)];
    texts.push_back(t);
  }
  int failures = 0;
  for (const std::string& t : texts) {
    const bool ok = s.IsEmail(t) == s.MatchShapePattern(TShape::Email, t) &&
                    s.IsPhone(t) == s.MatchShapePattern(TShape::Phone, t) &&
                    s.IsBoolean(t) == s.MatchShapePattern(TShape::Boolean, t);
    if (!ok && ++failures < 10) ADD_FAILURE() << "shapes differ for \"" << t.substr(0, 40) << "\"";
  }
  EXPECT_EQ(failures, 0);
}

TEST(StringManagerRegEx, HeavyBacktrackingOnALongValue) {
  // Needs more than the JIT's default stack on a long line.
  const std::string text = std::string(20000, 'a') + "b";
  EXPECT_TRUE(StringManager().RegExMatch("^(a|aa)+b$", text));
  EXPECT_FALSE(StringManager().RegExMatch("^(a|aa)+c$", std::string(30, 'a')));
}
