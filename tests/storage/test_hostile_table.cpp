// Table files that no real installation holds but that a damaged disk, a
// wrong file or a hostile share can put in the data folder. Each input kept
// under tests/data/hostile/table broke the reader once; the table must refuse
// what it cannot hold, never write over a file it refused, and read back
// whatever it accepted the same after a save.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "MyDatabase.h"
#include "TestSupport.h"

namespace {

const std::string kHostile = std::string(QUORIX_TEST_DATA_DIR) + "/hostile/table/";

struct TTableContents {
  std::vector<std::string> Fields;
  std::vector<std::vector<std::string>> Records;
  bool operator==(const TTableContents&) const = default;
};

TTableContents Contents(const TMyDatabase& db) {
  TTableContents c;
  for (int f = 0; f < db.FieldCount(); ++f) c.Fields.push_back(db.GetFieldName(f));
  for (int r = 0; r < db.RecordCount(); ++r) {
    if (db.IsDeleted(r)) continue;
    std::vector<std::string> values;
    for (int f = 0; f < db.FieldCount(); ++f) values.push_back(db.DBGetString(f, r));
    c.Records.push_back(values);
  }
  return c;
}

// What a refused table must look like: reported once, empty, and its file
// left as it was by a save.
void ExpectRefusedAndKept(const std::string& name, const std::string& bytes) {
  TTraceCapture capture;
  TMyDatabase db(name);
  ASSERT_EQ(capture.Boxes().size(), 1u);
  EXPECT_EQ(capture.Boxes()[0], "*ERROR*TMyDatabase.LoadFromFile:fichier trop volumineux : " + name);
  EXPECT_TRUE(db.LoadFailed());
  EXPECT_EQ(db.FieldCount(), 0);
  EXPECT_EQ(db.RecordCount(), 0);
  capture.Clear();
  EXPECT_FALSE(db.Save());
  EXPECT_TRUE(capture.Boxes().empty());
  EXPECT_TRUE(ReadFileBytes(name) == bytes) << "the refused file was changed";
}

TEST(HostileTable, ShortFileOfManyFieldsAndEmptyLinesIsRefused) {
  // 40 KB: a header of 20 000 ";" and 20 000 empty lines, which as a table
  // would be 400 million empty values.
  TTempDir dir;
  const std::string bytes = ReadFileBytes(kHostile + "refused_many_empty_slots.db");
  ASSERT_EQ(bytes.size(), 40002u);
  WriteFileBytes(dir.File("t.db"), bytes);
  ExpectRefusedAndKept(dir.File("t.db"), bytes);
}

TEST(HostileTable, HeaderOfNothingButSeparatorsIsRefused) {
  TTempDir dir;
  const std::string bytes = std::string(20 * 1024 * 1024, ';') + "\r\n";
  WriteFileBytes(dir.File("t.db"), bytes);
  ExpectRefusedAndKept(dir.File("t.db"), bytes);
}

TEST(HostileTable, TooLargeTextInMemoryIsRefusedToo) {
  TTraceCapture capture;
  TMyDatabase db("");
  db.LoadFromText(ReadFileBytes(kHostile + "refused_many_empty_slots.db"));
  ASSERT_EQ(capture.Boxes().size(), 1u);
  EXPECT_EQ(capture.Boxes()[0], "*ERROR*TMyDatabase.LoadFromText:table trop volumineuse");
  EXPECT_EQ(db.FieldCount(), 0);
  EXPECT_EQ(db.RecordCount(), 0);
}

TEST(HostileTable, FileOf300MegabytesIsRefusedAndKept) {
  // A sparse file: 300 MB long, no disk space used.
  TTempDir dir;
  const std::string name = dir.File("big.db");
  WriteFileBytes(name, "Code;Designation\r\nA1;BOITE\r\n");
  std::filesystem::resize_file(name, std::uintmax_t(300) * 1024 * 1024);
  const auto before = std::filesystem::last_write_time(name);
  {
    TTraceCapture capture;
    TMyDatabase db(name);
    ASSERT_EQ(capture.Boxes().size(), 1u);
    EXPECT_EQ(capture.Boxes()[0], "*ERROR*TMyDatabase.LoadFromFile:fichier trop volumineux : " + name);
    EXPECT_FALSE(db.Save());
  }
  EXPECT_EQ(std::filesystem::file_size(name), std::uintmax_t(300) * 1024 * 1024);
  EXPECT_EQ(std::filesystem::last_write_time(name), before);
}

// A value of 64 KB on a line without end is read in one pass, kept whole and
// written back with its line end. One beyond 64 KB (here 50 MB) is garbage no
// screen could draw: the file is refused as a whole, the report names it and
// the record, and it is never saved over.
TEST(HostileTable, ValueOverSixtyFourKilobytesIsRefusedAndTheFileKept) {
  TTempDir dir;
  const std::string name = dir.File("t.db");
  {
    const std::string value(64 * 1024, 'x');
    WriteFileBytes(name, "Code;Notes\r\nA1;" + value);
    TTraceCapture capture;
    TMyDatabase db(name);
    EXPECT_TRUE(capture.Boxes().empty());
    ASSERT_EQ(db.RecordCount(), 1);
    EXPECT_EQ(db.DBGetString(0, 0), "A1");
    EXPECT_TRUE(db.DBGetString(1, 0) == value);
    ASSERT_TRUE(db.Save());
    EXPECT_TRUE(ReadFileBytes(name) == "Code;Notes\r\nA1;" + value + "\r\n");
  }
  const std::string bytes = "Code;Notes\r\nA1;x\r\nA2;" + std::string(50 * 1024 * 1024, 'x') + "\r\nA3;y\r\n";
  WriteFileBytes(name, bytes);
  TTraceCapture capture;
  TMyDatabase db(name);
  EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*TMyDatabase.LoadFromFile:valeur de plus de 64 Ko a "
                                                      "l'enregistrement 1 (ligne 3) : " + name});
  EXPECT_TRUE(db.LoadFailed());
  EXPECT_EQ(db.RecordCount(), 0);
  EXPECT_FALSE(db.Save());
  EXPECT_TRUE(ReadFileBytes(name) == bytes);
}

TEST(HostileTable, EveryAcceptedInputReadsBackTheSameAfterASave) {
  int inputs = 0;
  for (const auto& e : std::filesystem::directory_iterator(kHostile)) {
    const std::string file = e.path().filename().string();
    if (!e.is_regular_file() || file.rfind("refused_", 0) == 0) continue;
    SCOPED_TRACE(file);
    ++inputs;
    TTraceCapture capture;
    TMyDatabase first("");
    first.LoadFromText(ReadFileBytes(e.path().string()));
    const std::string saved = first.SaveToText();
    TMyDatabase second("");
    second.LoadFromText(saved);
    EXPECT_TRUE(Contents(second) == Contents(first));
    EXPECT_TRUE(second.SaveToText() == saved);
    EXPECT_TRUE(capture.Boxes().empty());
  }
  EXPECT_GE(inputs, 2);
}

}  // namespace
