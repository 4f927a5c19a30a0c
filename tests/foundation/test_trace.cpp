#include <gtest/gtest.h>

#include "Cp1252.h"
#include "FileUtils.h"
#include "TestSupport.h"
#include "Trace.h"

TEST(Trace, ErrorShowsBoxAndTracesItsFrame) {
  TTraceCapture capture;
  Error("TMyDatabase.GetFieldPos:impossible de trouver le champ code");
  ASSERT_EQ(capture.Boxes().size(), 1u);
  EXPECT_EQ(capture.Boxes()[0], "*ERROR*TMyDatabase.GetFieldPos:impossible de trouver le champ code");
  std::vector<std::string> expected = {"*******ERROR*******",
                                       "TMyDatabase.GetFieldPos:impossible de trouver le champ code",
                                       "*******************", "rien"};
  EXPECT_EQ(capture.Lines(), expected);
}

TEST(Trace, NumberCompositionKeepsTheSpacingOfEachVariant) {
  TTraceCapture capture;
  ErrorInt("TMyDatabase.Delete:problem deleting index ", 7);
  ErrorIntInt("TMyDatabase.SetData: Bad Field / pos : ", 9, 3);
  ErrorIntText("TMyDatabase.IsDeleted:Index ", -2, " en dehors des limites du dynamic array");
  WarningInt("TMyDatabase.GetQueryResultString: impossible de trouver Code position ", 4);
  TraceIntInt("TMyStringGrid.GetCell: bad col row : ", -1, 3);
  ASSERT_EQ(capture.Boxes().size(), 3u);
  EXPECT_EQ(capture.Boxes()[0], "*ERROR*TMyDatabase.Delete:problem deleting index 7");
  EXPECT_EQ(capture.Boxes()[1], "*ERROR*TMyDatabase.SetData: Bad Field / pos : 9 3");
  EXPECT_EQ(capture.Boxes()[2], "*ERROR*TMyDatabase.IsDeleted:Index -2 en dehors des limites du dynamic array");
  EXPECT_TRUE(capture.Traced("Warning : TMyDatabase.GetQueryResultString: impossible de trouver Code position  4"));
  EXPECT_TRUE(capture.Traced("TMyStringGrid.GetCell: bad col row : -1 3"));
}

TEST(Trace, WarningsAndSaveTraceShowNothingAndWriteNoFile) {
  TTraceCapture capture;
  Warning("x");
  SaveTrace();
  RefreshTrace();
  EXPECT_TRUE(capture.Boxes().empty());
  EXPECT_EQ(capture.Lines(), std::vector<std::string>{"Warning : x"});
  EXPECT_FALSE(FileExists(kTraceFileName));
}

TEST(Cp1252, AccentedLiteralsAreSingleBytes) {
  // The build turns the UTF-8 source literals into Windows-1252.
  EXPECT_EQ(std::string("Créer"), std::string("Cr\xE9" "er"));
  EXPECT_EQ(std::string("€"), std::string("\x80"));
}

TEST(Cp1252, RoundTripsEveryByteThroughUtf8) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
  EXPECT_EQ(Cp1252ToUtf8("Parametrage \xE0 30 jours"), "Parametrage \xC3\xA0 30 jours");
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
}

// Capitals a to z only, as the reference lists are written, and every
// letter, as the searches and lookups raise what is typed.
TEST(Cp1252, TheTwoUpperCasings) {
  EXPECT_EQ(UpperCaseAToZ("cr\xE8me abc"), "CR\xE8ME ABC");
  EXPECT_EQ(UpperCase1252("\xE0\xE7\xE9\xF7\xFF\x9C abc"), "\xC0\xC7\xC9\xF7\x9F\x8C ABC");
}

TEST(Cp1252, UnmappableAndBrokenUtf8BecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");  // a CJK character
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");      // cut in the middle
  EXPECT_EQ(Utf8ToCp1252("\xFF" "b"), "?b");
}

TEST(FileUtils, SplitLinesAcceptsEveryLineEndAndStopsAtNul) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), std::vector<std::string>{"a"});
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitLines(std::string("a\nb\0c\nd", 7)), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(FileUtils, AtomicWriteReplacesAndFailedWriteKeepsTheOldBytes) {
  TTempDir dir;
  std::string f = dir.File("t.db");
  ASSERT_TRUE(WriteFileAtomically(f, "old\r\n"));
  ASSERT_TRUE(WriteFileAtomically(f, "new\r\n"));
  EXPECT_EQ(ReadFileBytes(f), "new\r\n");
  EXPECT_FALSE(WriteFileAtomically(dir.File("missing/t.db"), "x"));
  EXPECT_EQ(ListFiles(dir.Path(), "*"), std::vector<std::string>{"t.db"});  // no temporary left behind
}

// Large arrays (table values, grid texts, files read whole) live in mappings
// of their own: they must behave as any array does, through growth and
// shrinking, and a file read into one must be read whole.
TEST(FileUtils, LargeArraysKeepTheirContents) {
  std::vector<std::string, TLargeAllocator<std::string>> texts;
  for (int i = 0; i < 200000; ++i) texts.push_back(i % 3 == 0 ? "PHARMACIE CENTRALE DE DAKAR " + std::to_string(i) : std::to_string(i));
  texts.resize(300000);
  texts.resize(10);
  texts.shrink_to_fit();
  EXPECT_EQ(texts[8], "8");
  EXPECT_EQ(texts[3], "PHARMACIE CENTRALE DE DAKAR 3");

  TTempDir dir;
  std::string bytes;
  for (int i = 0; i < 300000; ++i) bytes += "Code;Designation\r\n";
  WriteFileBytes(dir.File("big.db"), bytes);
  TFileBytes read;
  ASSERT_EQ(ReadWholeFile(dir.File("big.db"), read), TReadResult::Ok);
  EXPECT_EQ(std::string(read.data(), read.size()), bytes);
  EXPECT_EQ(ReadWholeFile(dir.File("big.db"), read, 100), TReadResult::TooLarge);
  EXPECT_TRUE(read.empty());
}

TEST(FileUtils, ReadWholeFileRefusesFilesOverTheLimit) {
  TTempDir dir;
  std::string f = dir.File("big.db");
  WriteFileBytes(f, std::string(100, 'x'));
  std::string contents;
  EXPECT_EQ(ReadWholeFile(f, contents, 99), TReadResult::TooLarge);
  EXPECT_TRUE(contents.empty());
  EXPECT_EQ(ReadWholeFile(f, contents, 100), TReadResult::Ok);
  EXPECT_EQ(contents.size(), 100u);
  EXPECT_EQ(ReadWholeFile(dir.File("none"), contents), TReadResult::Missing);
}
