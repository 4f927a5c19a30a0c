// The table file format and the table object: reading, writing, values,
// records, deleted flags and the reports of each misuse.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "FileUtils.h"
#include "MyDatabase.h"
#include "StorageTestUtil.h"
#include "TestSupport.h"

namespace {

std::vector<std::string> Row(const TMyDatabase& db, int record) {
  std::vector<std::string> values;
  for (int f = 0; f < db.FieldCount(); ++f) values.push_back(db.DBGetString(f, record));
  return values;
}

std::vector<std::string> FieldNamesOf(const TMyDatabase& db) {
  std::vector<std::string> names;
  for (int f = 0; f < db.FieldCount(); ++f) names.push_back(db.GetFieldName(f));
  return names;
}

}  // namespace

// ---------------------------------------------------------------------------
// Reading

TEST(TableRead, HeaderAndRecordsOfTheExampleFile) {
  TTempDir dir;
  TTraceCapture capture;
  auto db = TableFromBytes(dir, "Code;Designation;Prix Vente\r\nA1;BOITE 10;12,50\r\nA2;;\r\n");
  EXPECT_EQ(db->FieldCount(), 3);
  EXPECT_EQ(db->RecordCount(), 2);
  EXPECT_EQ(FieldNamesOf(*db), (std::vector<std::string>{"Code", "Designation", "Prix Vente"}));
  EXPECT_EQ(Row(*db, 0), (std::vector<std::string>{"A1", "BOITE 10", "12,50"}));
  EXPECT_EQ(Row(*db, 1), (std::vector<std::string>{"A2", "", ""}));
  EXPECT_EQ(db->GetFileName(), dir.File("table.db"));
  EXPECT_TRUE(capture.Boxes().empty());
}

struct TLineEndCase {
  const char* Name;
  std::string Bytes;
  int Records;
  std::vector<std::string> FirstFields;
};

class TableLineEnds : public ::testing::TestWithParam<TLineEndCase> {};

TEST_P(TableLineEnds, EveryLineEndIsAccepted) {
  TTempDir dir;
  const TLineEndCase& c = GetParam();
  auto db = TableFromBytes(dir, c.Bytes);
  ASSERT_EQ(db->FieldCount(), 2);
  ASSERT_EQ(db->RecordCount(), c.Records);
  for (int r = 0; r < c.Records; ++r) EXPECT_EQ(db->DBGetString(0, r), c.FirstFields[static_cast<std::size_t>(r)]);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TableLineEnds,
    ::testing::Values(
        TLineEndCase{"CrLf", "A;B\r\n1;x\r\n2;y\r\n", 2, {"1", "2"}},
        TLineEndCase{"Lf", "A;B\n1;x\n2;y\n", 2, {"1", "2"}},
        TLineEndCase{"Cr", "A;B\r1;x\r2;y\r", 2, {"1", "2"}},
        TLineEndCase{"Mixed", "A;B\r\n1;x\n2;y\r3;z", 3, {"1", "2", "3"}},
        TLineEndCase{"NoFinalLineEnd", "A;B\r\n1;x\r\n2;y", 2, {"1", "2"}},
        TLineEndCase{"NulEndsTheText", std::string("A;B\r\n1;x\r\n2;y\0\r\n3;z\r\n", 20), 2, {"1", "2"}},
        TLineEndCase{"EmptyLineIsARecord", "A;B\r\n1;x\r\n\r\n3;z\r\n", 3, {"1", "", "3"}},
        TLineEndCase{"FinalEmptyLineIsARecord", "A;B\r\n1;x\r\n\r\n", 2, {"1", ""}},
        TLineEndCase{"CrCrIsTwoLines", "A;B\r1;x\r\r3;z\r", 3, {"1", "", "3"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TableRead, MissingValuesAreEmptyAndExtraValuesIgnored) {
  TTempDir dir;
  auto db = TableFromBytes(dir, "A;B;C\r\nshort\r\n1;2;3;4;5\r\nx;;\r\n");
  ASSERT_EQ(db->RecordCount(), 3);
  EXPECT_EQ(Row(*db, 0), (std::vector<std::string>{"short", "", ""}));
  EXPECT_EQ(Row(*db, 1), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(Row(*db, 2), (std::vector<std::string>{"x", "", ""}));
}

TEST(TableRead, ValuesAreNotTrimmedAndHeaderNamesKeepTheirSpaces) {
  TTempDir dir;
  auto db = TableFromBytes(dir, " Code ;Prix Uni. TTC\r\n  a ; b\r\n");
  EXPECT_EQ(FieldNamesOf(*db), (std::vector<std::string>{" Code ", "Prix Uni. TTC"}));
  EXPECT_EQ(Row(*db, 0), (std::vector<std::string>{"  a ", " b"}));
}

TEST(TableRead, BackslashNBecomesCrLfAndNothingElseIsDecoded) {
  TTempDir dir;
  auto db = TableFromBytes(dir, "A;B\r\nligne 1\\nligne 2;c:\\temp\\x\\\\n\r\n");
  EXPECT_EQ(db->DBGetString(0, 0), "ligne 1\r\nligne 2");
  // Backslashes not followed by "n" stay; "\\n" keeps its first backslash.
  EXPECT_EQ(db->DBGetString(1, 0), "c:\\temp\\x\\\r\n");
}

TEST(TableRead, HeaderOnlyGivesFieldsWithoutRecords) {
  TTempDir dir;
  auto db = TableFromBytes(dir, "Code;Societe\r\n");
  EXPECT_EQ(db->FieldCount(), 2);
  EXPECT_EQ(db->RecordCount(), 0);
  ASSERT_TRUE(db->Save());
  EXPECT_EQ(ReadFileBytes(dir.File("table.db")), "Code;Societe\r\n");
}

TEST(TableRead, MissingFileGivesAnEmptyTableSilently) {
  TTempDir dir;
  TTraceCapture capture;
  TMyDatabase db(dir.File("absent.db"));
  EXPECT_EQ(db.FieldCount(), 0);
  EXPECT_EQ(db.RecordCount(), 0);
  EXPECT_EQ(db.GetFileName(), "");
  EXPECT_TRUE(capture.Lines().empty());
  EXPECT_TRUE(capture.Boxes().empty());
  // Saving it has nowhere to go: only the warning, no box.
  EXPECT_FALSE(db.Save());
  EXPECT_TRUE(capture.Traced("Warning : TMyDatabase.SaveToFile:echec écriture "));
  EXPECT_TRUE(capture.Boxes().empty());
  EXPECT_FALSE(std::filesystem::exists(dir.File("absent.db")));
}

TEST(TableRead, EmptyFileIsATableWithoutFieldsAndStaysEmpty) {
  TTempDir dir;
  TTraceCapture capture;
  auto db = TableFromBytes(dir, "");
  EXPECT_EQ(db->FieldCount(), 0);
  EXPECT_EQ(db->RecordCount(), 0);
  EXPECT_EQ(db->GetFileName(), dir.File("table.db"));
  EXPECT_TRUE(capture.Boxes().empty());
  EXPECT_TRUE(db->Save());
  EXPECT_EQ(ReadFileBytes(dir.File("table.db")), "");
}

// A file that holds bytes but no field names is not a table: it is reported
// once, read as a table without fields, and never saved over.
TEST(TableRead, FileWithoutFieldNamesIsRefusedAndNeverOverwritten) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"blank first line", "\r\nA;B\r\nC;D\r\n"},
      {"zeros of a power cut before the table", std::string(512, '\0') + "Code;Societe\r\n0101;PHARMACIE\r\n"},
      {"nothing but zeros", std::string(4096, '\0')},
      {"a lone line feed", "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTempDir dir;
    TTraceCapture capture;
    const std::string name = dir.File("BaseDeDonneesClients.db");
    WriteFileBytes(name, c.bytes);
    TMyDatabase db(name);
    EXPECT_EQ(capture.Boxes(),
              std::vector<std::string>{"*ERROR*TMyDatabase.LoadFromFile:fichier sans noms de champs : " + name});
    EXPECT_TRUE(db.LoadFailed());
    EXPECT_EQ(db.FieldCount(), 0);
    EXPECT_EQ(db.RecordCount(), 0);
    EXPECT_EQ(db.AddRecord(), -1);
    EXPECT_FALSE(db.Save());
    EXPECT_TRUE(capture.Traced("Warning : TMyDatabase.SaveToFile:echec écriture " + name));
    EXPECT_EQ(capture.Boxes().size(), 1u) << "reported once";
    EXPECT_EQ(ReadFileBytes(name), c.bytes);
  }
}

TEST(TableRead, FileOverTheSizeLimitIsRefusedAndNeverOverwritten) {
  TTempDir dir;
  TTraceCapture capture;
  const std::string name = dir.File("huge.db");
  WriteFileBytes(name, "Code;Designation\r\nA;B\r\n");
  // A sparse file larger than the limit: no disk space is used.
  std::filesystem::resize_file(name, kMaxDataFileBytes + 1);
  TMyDatabase db(name);
  ASSERT_EQ(capture.Boxes().size(), 1u);
  EXPECT_EQ(capture.Boxes()[0], "*ERROR*TMyDatabase.LoadFromFile:fichier trop volumineux : " + name);
  EXPECT_TRUE(db.LoadFailed());
  EXPECT_EQ(db.FieldCount(), 0);
  capture.Clear();
  EXPECT_FALSE(db.Save());
  EXPECT_FALSE(db.SaveToFile(dir.Path() + "/./huge.db"));
  EXPECT_TRUE(capture.Traced("Warning : TMyDatabase.SaveToFile:echec écriture " + name));
  EXPECT_TRUE(capture.Boxes().empty());
  EXPECT_EQ(std::filesystem::file_size(name), kMaxDataFileBytes + 1);
  std::ifstream in(name, std::ios::binary);
  std::string head(23, '\0');
  in.read(head.data(), 23);
  EXPECT_EQ(head, "Code;Designation\r\nA;B\r\n");
  // Another file may still receive what the table holds.
  EXPECT_TRUE(db.SaveToFile(dir.File("other.db")));
}

// ---------------------------------------------------------------------------
// Writing

TEST(TableWrite, UnchangedCrLfTableIsWrittenBackByteForByte) {
  TTempDir dir;
  const std::string bytes =
      "Code;Societe;Adresse 1;Ville\r\n"
      "C001;PHARMACIE DU MARCH\xC9;1 rue \\nBP 12;ABIDJAN\r\n"
      "C002;;;\r\n"
      "C003;SOCI\xC9T\xC9 \xAB X \xBB;;DAKAR\r\n";
  auto db = TableFromBytes(dir, bytes);
  ASSERT_EQ(db->DBGetString(2, 0), "1 rue \r\nBP 12");
  ASSERT_TRUE(db->Save());
  EXPECT_EQ(ReadFileBytes(dir.File("table.db")), bytes);
}

TEST(TableWrite, LineBreakInAValueIsWrittenAsBackslashN) {
  TTempDir dir;
  auto db = TableFromBytes(dir, "A;B\r\nx;y\r\n");
  db->SetData(1, 0, "first\r\nsecond");
  ASSERT_TRUE(db->Save());
  EXPECT_EQ(ReadFileBytes(dir.File("table.db")), "A;B\r\nx;first\\nsecond\r\n");
  TMyDatabase again(dir.File("table.db"));
  EXPECT_EQ(again.DBGetString(1, 0), "first\r\nsecond");
}

// A ";", a lone CR or LF, or a NUL in a value would split its record (or cut
// the file short) at the next load: the writer refuses the whole save, names
// the field, and the file keeps what it holds. A CR LF pair is the one line
// break the format carries.
TEST(TableWrite, ValueThatWouldNotReadBackIsRefusedAndTheFileKept) {
  const std::pair<const char*, std::string> cases[] = {
      {"separator", "DOLIPRANE 1000MG; BTE 8"},
      {"lone line feed", "un\ndeux"},
      {"lone carriage return", "un\rdeux"},
      {"carriage return after a pair", "un\r\n\rdeux"},
      {"NUL", std::string("un\0deux", 7)},
  };
  for (const auto& [name, value] : cases) {
    SCOPED_TRACE(name);
    TTempDir dir;
    TTraceCapture capture;
    const std::string before = "Code;Designation\r\nA;x\\ny\r\nB;y\r\n";
    auto db = TableFromBytes(dir, before);
    db->SetData(1, 1, value);
    EXPECT_FALSE(db->Save());
    EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*TMyDatabase.SaveToFile:valeur avec \";\", CR ou LF "
                                                        "refusee, champ Designation de l'enregistrement 1, fichier "
                                                        "conserve " + dir.File("table.db")});
    EXPECT_EQ(ReadFileBytes(dir.File("table.db")), before);
    // Put right, the value is written.
    db->SetData(1, 1, "BTE 8");
    EXPECT_TRUE(db->Save());
    EXPECT_EQ(ReadFileBytes(dir.File("table.db")), "Code;Designation\r\nA;x\\ny\r\nB;BTE 8\r\n");
  }
}

TEST(TableWrite, EmptyRecordIsWrittenAsSeparatorsOnly) {
  TTempDir dir;
  auto db = TableFromBytes(dir, "A;B;C\nx;y;z\n\nu;v;w\n");
  ASSERT_TRUE(db->Save());
  EXPECT_EQ(ReadFileBytes(dir.File("table.db")), "A;B;C\r\nx;y;z\r\n;;\r\nu;v;w\r\n");
}

TEST(TableWrite, DeletedRecordIsDroppedAndTheNextOneMovesUp) {
  TTempDir dir;
  auto db = TableFromBytes(dir, "N;V\r\n0;a\r\n1;b\r\n2;c\r\n3;d\r\n4;e\r\n5;f\r\n");
  db->Delete(3);
  ASSERT_TRUE(db->Save());
  EXPECT_EQ(ReadFileBytes(dir.File("table.db")), "N;V\r\n0;a\r\n1;b\r\n2;c\r\n4;e\r\n5;f\r\n");
  TMyDatabase again(dir.File("table.db"));
  EXPECT_EQ(again.RecordCount(), 5);
  EXPECT_EQ(again.DBGetString(0, 3), "4");
}

TEST(TableWrite, SetDataRevivesADeletedRecord) {
  TTempDir dir;
  TTraceCapture capture;
  auto db = TableFromBytes(dir, "N;V\r\n0;a\r\n1;b\r\n");
  db->Delete(1);
  EXPECT_TRUE(db->IsDeleted(1));
  db->SetData(1, 1, "B");
  EXPECT_FALSE(db->IsDeleted(1));
  ASSERT_TRUE(db->Save());
  EXPECT_EQ(ReadFileBytes(dir.File("table.db")), "N;V\r\n0;a\r\n1;B\r\n");
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(TableWrite, AddRecordAppendsAnEmptyLiveRecord) {
  TTempDir dir;
  std::string bytes = "A;B;C;D;E;F\r\n";
  for (int i = 0; i < 10; ++i) bytes += std::to_string(i) + ";b;c;d;e;f\r\n";
  auto db = TableFromBytes(dir, bytes);
  EXPECT_EQ(db->AddRecord(), 10);
  EXPECT_EQ(db->RecordCount(), 11);
  EXPECT_FALSE(db->IsDeleted(10));
  for (int f = 0; f < 6; ++f) EXPECT_FALSE(db->GetIndexValid(f));
  ASSERT_TRUE(db->Save());
  EXPECT_EQ(ReadFileBytes(dir.File("table.db")), bytes + ";;;;;\r\n");
}

TEST(TableWrite, CreateEmptyThenFillAndSave) {
  TTempDir dir;
  std::unique_ptr<TMyDatabase> db(
      TMyDatabase::CreateEmpty(dir.File("FA31702.db"), "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC"));
  EXPECT_EQ(db->FieldCount(), 6);
  EXPECT_EQ(db->RecordCount(), 0);
  EXPECT_FALSE(std::filesystem::exists(dir.File("FA31702.db")));
  for (int f = 0; f < 6; ++f) EXPECT_FALSE(db->GetIndexValid(f));
  const int r = db->AddRecord();
  db->SetData("Num Facture", r, "FA31702");
  db->SetData("Quantite", r, "2");
  db->SetData("Code", r, "3400930");
  db->SetData("Designation", r, "DOLIPRANE 1000MG CPR B/8");
  db->SetData("Prix Uni. TTC", r, "2,18");
  db->SetData("Montant TTC", r, "4,36");
  ASSERT_TRUE(db->Save());
  EXPECT_EQ(ReadFileBytes(dir.File("FA31702.db")),
            "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n"
            "FA31702;2;3400930;DOLIPRANE 1000MG CPR B/8;2,18;4,36\r\n");
}

TEST(TableWrite, CopyRecordDuplicatesIntoAFreshRecord) {
  TTempDir dir;
  auto db = TableFromBytes(dir, "A;B\r\nx;y\r\n");
  const int r = db->AddRecord();
  db->CopyRecord(0, r);
  EXPECT_EQ(Row(*db, r), (std::vector<std::string>{"x", "y"}));
}

TEST(TableWrite, SetFieldNameChangesTheWrittenHeader) {
  TTempDir dir;
  auto db = TableFromBytes(dir, "A;B\r\nx;y\r\n");
  db->SetFieldName(1, "Societe");
  ASSERT_TRUE(db->Save());
  EXPECT_EQ(ReadFileBytes(dir.File("table.db")), "A;Societe\r\nx;y\r\n");
}

// A table kept on another disk through a link: the save replaces the file
// the link names, in that file's folder, and the link stays a link.
TEST(TableWrite, SaveWritesThroughALinkToTheFileItNames) {
  TTempDir dir;
  TTraceCapture capture;
  std::filesystem::create_directories(dir.File("Data"));
  std::filesystem::create_directories(dir.File("share/Data"));
  const std::string shared = dir.File("share/Data/BaseDeDonneesClients.db");
  WriteFileBytes(shared, "Code;Societe\r\n0101;PHARMACIE\r\n");
  struct Case {
    const char* name;
    std::string link;
    std::string target;
  };
  const Case cases[] = {
      {"absolute link", dir.File("Data/BaseDeDonneesClients.db"), shared},
      {"relative link", dir.File("Data/Clients.db"), "../share/Data/BaseDeDonneesClients.db"},
      {"link to a link", dir.File("Data/Again.db"), "Clients.db"},
  };
  int round = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::create_symlink(c.target, c.link);
    TMyDatabase db(c.link);
    const std::string societe = "SOCIETE " + std::to_string(++round);
    db.SetData("Societe", 0, societe);
    ASSERT_TRUE(db.Save());
    EXPECT_TRUE(std::filesystem::is_symlink(c.link));
    EXPECT_EQ(ReadFileBytes(shared), "Code;Societe\r\n0101;" + societe + "\r\n");
    EXPECT_EQ(ListFiles(dir.File("share/Data"), "*"), std::vector<std::string>{"BaseDeDonneesClients.db"})
        << "no temporary file left";
  }
  EXPECT_TRUE(capture.Boxes().empty());
}

// A file the desk made read-only stays as it is: the save says so with its
// warning and answers false. The permission bits decide, so that this holds
// for the administrator too.
TEST(TableWrite, ReadOnlyFileIsLeftAsItIs) {
  TTempDir dir;
  TTraceCapture capture;
  const std::string name = dir.File("BaseDeDonneesFactures.db");
  const std::string bytes = "Num Facture;Date\r\nFA31690;02/01/2026\r\n";
  WriteFileBytes(name, bytes);
  ASSERT_EQ(::chmod(name.c_str(), 0444), 0);
  TMyDatabase db(name);
  db.SetData("Date", 0, "03/01/2026");
  EXPECT_FALSE(db.Save());
  EXPECT_TRUE(capture.Traced("Warning : TMyDatabase.SaveToFile:echec écriture " + name));
  EXPECT_TRUE(capture.Boxes().empty());
  EXPECT_EQ(ReadFileBytes(name), bytes);
  EXPECT_EQ(std::filesystem::status(name).permissions(), std::filesystem::perms(0444));
  EXPECT_EQ(ListFiles(dir.Path(), "*"), std::vector<std::string>{"BaseDeDonneesFactures.db"});
  // Made writable again, it is saved as usual.
  ASSERT_EQ(::chmod(name.c_str(), 0644), 0);
  EXPECT_TRUE(db.Save());
  EXPECT_EQ(ReadFileBytes(name), "Num Facture;Date\r\nFA31690;03/01/2026\r\n");
}

// A write that fails part-way must leave the previous file as it was. A file
// size limit makes the write fail even for root, who ignores permissions.
TEST(TableWrite, FailedSaveKeepsThePreviousFileAndTheTable) {
  TTempDir dir;
  TTraceCapture capture;
  const std::string old = "Code;Designation\r\nA;petit\r\n";
  auto db = TableFromBytes(dir, old);
  for (int i = 0; i < 200; ++i) db->SetData(1, db->AddRecord(), "une designation assez longue pour depasser");
  const std::string inMemory = db->SaveToText();

  struct rlimit previous;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
  void (*previousHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = previous;
  small.rlim_cur = 256;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = db->Save();
  ::setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(saved);
  EXPECT_TRUE(capture.Traced("Warning : TMyDatabase.SaveToFile:echec écriture " + dir.File("table.db")));
  EXPECT_TRUE(capture.Boxes().empty());
  EXPECT_EQ(ReadFileBytes(dir.File("table.db")), old);
  EXPECT_EQ(db->SaveToText(), inMemory);
  EXPECT_EQ(ListFiles(dir.Path(), "*"), std::vector<std::string>{"table.db"});
}

TEST(TableWrite, SaveIntoAMissingFolderFailsWithTheWarning) {
  TTempDir dir;
  TTraceCapture capture;
  auto db = TableFromBytes(dir, "A\r\nx\r\n");
  WriteFileBytes(dir.File("notafolder"), "x");
  const std::string target = dir.File("notafolder/t.db");
  EXPECT_FALSE(db->SaveToFile(target));
  EXPECT_EQ(capture.Lines(), std::vector<std::string>{"Warning : TMyDatabase.SaveToFile:echec écriture " + target});
  EXPECT_EQ(ReadFileBytes(dir.File("notafolder")), "x");
}

// ---------------------------------------------------------------------------
// Values, records and their reports

TEST(TableValues, FieldNamesAreCaseSensitive) {
  TTempDir dir;
  TTraceCapture capture;
  auto db = TableFromBytes(dir, "Code;Societe\r\nC001;X\r\n");
  EXPECT_EQ(db->GetFieldPos("Societe"), 1);
  EXPECT_EQ(db->GetFieldPos("code"), -1);
  EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*TMyDatabase.GetFieldPos:impossible de trouver le champ code"});
  capture.Clear();
  EXPECT_FALSE(db->FieldExists("code"));
  EXPECT_TRUE(db->FieldExists("Code"));
  EXPECT_TRUE(capture.Lines().empty());
}

TEST(TableValues, DuplicateFieldNamesAnswerTheFirst) {
  TTempDir dir;
  auto db = TableFromBytes(dir, "A;B;A\r\n1;2;3\r\n");
  EXPECT_EQ(db->GetFieldPos("A"), 0);
}

struct TGetCase {
  const char* Name;
  std::string Bytes;
  int DeleteFirst;
  int Field;
  int Record;
  std::string Box;
};

class TableDBGetString : public ::testing::TestWithParam<TGetCase> {};

TEST_P(TableDBGetString, ReportsTheFirstFailingCheck) {
  TTempDir dir;
  const TGetCase& c = GetParam();
  auto db = TableFromBytes(dir, c.Bytes);
  if (c.DeleteFirst >= 0) db->Delete(c.DeleteFirst);
  TTraceCapture capture;
  EXPECT_EQ(db->DBGetString(c.Field, c.Record), "");
  EXPECT_EQ(capture.Boxes(), std::vector<std::string>{c.Box});
}

INSTANTIATE_TEST_SUITE_P(
    Checks, TableDBGetString,
    ::testing::Values(
        TGetCase{"DeletedRecord", "A;B\r\n0;a\r\n1;b\r\n2;c\r\n3;d\r\n", 3, 0, 3,
                 "*ERROR*TMyDatabase.DBGetString:Trying to Get deleted Data at pos 3"},
        // The deleted check comes first, even with a bad field.
        TGetCase{"DeletedBeforeBadField", "A;B\r\n0;a\r\n1;b\r\n", 1, 9, 1,
                 "*ERROR*TMyDatabase.DBGetString:Trying to Get deleted Data at pos 1"},
        TGetCase{"NoFields", "", -1, 0, 0, "*ERROR*TMyDatabase.DBGetString: fDatas not assigned"},
        TGetCase{"FieldTooLarge", "A;B\r\n0;a\r\n", -1, 2, 0, "*ERROR*TMyDatabase.DBGetString: champ hors limites2"},
        TGetCase{"FieldNegative", "A;B\r\n0;a\r\n", -1, -1, 0, "*ERROR*TMyDatabase.DBGetString: champ hors limites-1"},
        TGetCase{"NoRecordSlots", "A;B\r\n", -1, 1, 0, "*ERROR*TMyDatabase.DBGetString: fDatas[1] not assigned"},
        TGetCase{"RecordTooLarge", "A;B\r\n0;a\r\n", -1, 0, 1, "*ERROR*TMyDatabase.DBGetString: index hors limites 1"},
        TGetCase{"RecordNegative", "A;B\r\n0;a\r\n", -1, 0, -4,
                 "*ERROR*TMyDatabase.DBGetString: index hors limites -4"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TableValues, SetDataRefusesBadPositions) {
  TTempDir dir;
  TTraceCapture capture;
  auto db = TableFromBytes(dir, "A;B;C\r\nx;y;z\r\n");
  db->SetData(3, 0, "v");
  db->SetData(0, 1, "v");
  db->SetData(-1, -1, "v");
  EXPECT_EQ(capture.Boxes(), (std::vector<std::string>{"*ERROR*TMyDatabase.SetData: Bad Field / pos : 3 0",
                                                       "*ERROR*TMyDatabase.SetData: Bad Field / pos : 0 1",
                                                       "*ERROR*TMyDatabase.SetData: Bad Field / pos : -1 -1"}));
  EXPECT_EQ(db->SaveToText(), "A;B;C\r\nx;y;z\r\n");
}

TEST(TableValues, SetDataByUnknownNameOnlyTracesAWarning) {
  TTempDir dir;
  TTraceCapture capture;
  auto db = TableFromBytes(dir, "Num Avoir;Total TTC\r\nAV001;10\r\n");
  db->SetData("Total HT", 0, "8");
  EXPECT_TRUE(capture.Boxes().empty());
  EXPECT_EQ(capture.Lines(), std::vector<std::string>{"Warning : TMyDatabase.SetData : le Field n'existe pas : Total HT"});
  EXPECT_EQ(db->SaveToText(), "Num Avoir;Total TTC\r\nAV001;10\r\n");
  EXPECT_TRUE(db->GetIndexValid(0));
  EXPECT_TRUE(db->GetIndexValid(1));
}

TEST(TableValues, SetDataMarksOnlyItsFieldIndexStale) {
  TTempDir dir;
  auto db = TableFromBytes(dir, "A;B\r\nx;y\r\n");
  db->SetData("B", 0, "z");
  EXPECT_TRUE(db->GetIndexValid(0));
  EXPECT_FALSE(db->GetIndexValid(1));
}

TEST(TableValues, IsDeletedReports) {
  TTempDir dir;
  TTraceCapture capture;
  auto empty = TableFromBytes(dir, "A\r\n", "empty.db");
  EXPECT_FALSE(empty->IsDeleted(0));
  auto db = TableFromBytes(dir, "A\r\nx\r\ny\r\n");
  EXPECT_FALSE(db->IsDeleted(2));
  EXPECT_FALSE(db->IsDeleted(-1));
  EXPECT_EQ(capture.Boxes(),
            (std::vector<std::string>{"*ERROR*TMyDatabase.IsDeleted:trying to acces a non assigned dynamic array",
                                      "*ERROR*TMyDatabase.IsDeleted:Index 2 en dehors des limites du dynamic array",
                                      "*ERROR*TMyDatabase.IsDeleted:Index -1 en dehors des limites du dynamic array"}));
}

TEST(TableValues, DeleteReportsBadIndexesAndIgnoresRepeats) {
  TTempDir dir;
  TTraceCapture capture;
  auto db = TableFromBytes(dir, "A\r\nx\r\ny\r\n");
  db->Delete(2);
  db->Delete(-1);
  db->Delete(1);
  db->Delete(1);
  EXPECT_EQ(capture.Boxes(), (std::vector<std::string>{"*ERROR*TMyDatabase.Delete:problem deleting index 2",
                                                       "*ERROR*TMyDatabase.Delete:problem deleting index -1"}));
  EXPECT_TRUE(db->IsDeleted(1));
  EXPECT_EQ(db->RecordCount(), 2);
  auto none = TableFromBytes(dir, "A\r\n", "none.db");
  capture.Clear();
  none->Delete(0);
  EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*TMyDatabase.Delete:problem deleting index 0"});
}

TEST(TableValues, DeleteRemovesTheRecordFromEveryIndexAndKeepsTheFlags) {
  TTempDir dir;
  auto db = TableFromBytes(dir, "A;B\r\n1;x\r\n2;y\r\n3;z\r\n");
  db->SetData(1, 0, "w");
  db->Delete(1);
  EXPECT_EQ(IndexValues(*db, 0), (std::vector<std::string>{"1", "3"}));
  EXPECT_EQ(db->GetFieldIndex(1).Entries.size(), 2u);
  EXPECT_TRUE(db->GetIndexValid(0));
  EXPECT_FALSE(db->GetIndexValid(1));
}

TEST(TableValues, SetRecordCountResizesWithLiveEmptySlots) {
  TTempDir dir;
  TTraceCapture capture;
  auto db = TableFromBytes(dir, "A;B\r\n1;x\r\n2;y\r\n3;z\r\n");
  db->Delete(2);
  db->SetRecordCount(5);
  EXPECT_EQ(db->RecordCount(), 5);
  EXPECT_FALSE(db->IsDeleted(4));
  EXPECT_EQ(db->DBGetString(1, 4), "");
  db->SetRecordCount(2);
  EXPECT_EQ(db->RecordCount(), 2);
  EXPECT_EQ(db->SaveToText(), "A;B\r\n1;x\r\n2;y\r\n");
  EXPECT_TRUE(capture.Boxes().empty());
}

// Shrinking the table must not leave index entries naming dropped slots: a
// later query would hand out records that no longer exist.
TEST(TableValues, QueriesAfterShrinkingNeverNameDroppedRecords) {
  TTempDir dir;
  TTraceCapture capture;
  auto db = TableFromBytes(dir, "Code\r\nA1\r\nA2\r\nA3\r\nA4\r\n");
  db->SetRecordCount(2);
  db->Query("Code", "A", Prefix);
  EXPECT_EQ(ResultRecords(*db), (std::vector<int>{0, 1}));
  db->Query("Code", "A4", Exact);
  EXPECT_EQ(db->QueryResultCount(), 0);
  db->QueryAll();
  EXPECT_EQ(ResultRecords(*db), (std::vector<int>{0, 1}));
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(TableValues, ResultOfADroppedSlotAnswersWithTheWarning) {
  TTempDir dir;
  TTraceCapture capture;
  auto db = TableFromBytes(dir, "Code\r\nA1\r\nA2\r\nA3\r\n");
  db->Query("Code", "A3", Exact);
  ASSERT_EQ(db->QueryResultCount(), 1);
  db->SetRecordCount(1);
  EXPECT_EQ(db->GetQueryResultString("Code", 0), "");
  EXPECT_TRUE(capture.Traced("Warning : TMyDatabase.GetQueryResultString: impossible de trouver Code position  0"));
  TFakeQueryGrid grid(0, 0);
  db->DisplayQuery(&grid, "Code", false);
  EXPECT_EQ(grid.Cell(0, 0), "<none>");
}

// Every table of the sample installation, read and written back unchanged,
// gives back its bytes.
TEST(TableWrite, SampleInstallationTablesRoundTripByteForByte) {
  TTraceCapture capture;
  int tables = 0;
  const std::string root = std::string(QUORIX_SOURCE_DIR) + "/sample/Data";
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file() || entry.path().extension() != ".db") continue;
    ++tables;
    TMyDatabase db(entry.path().string());
    EXPECT_EQ(db.SaveToText(), ReadFileBytes(entry.path().string())) << entry.path();
  }
  EXPECT_GT(tables, 12);
  EXPECT_TRUE(capture.Boxes().empty());
}
