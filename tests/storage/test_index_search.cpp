// The searches that use the order of an index must answer exactly what
// walking the whole index answers. Random tables of every kind of value are
// checked against the walk.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "MyDatabase.h"
#include "StorageTestUtil.h"
#include "StringManager.h"
#include "TestSupport.h"

namespace {

int SignOf(int x) { return x < 0 ? -1 : (x > 0 ? 1 : 0); }

const std::vector<std::string> kBreaks = {"\r\n", "\n", "\r", "\x0b", "\x0c", "\x85"};

// Values chosen to sit on the borders of the typed comparison and of the
// line-break rule of "$".
const std::vector<std::string> kAtoms = {
    "", "C001", "C0011", "C01", "C001\r\n", "C001\n", "C001\x85", "C001\r", "C001\x0b", "C001\x0c", "C001\r\n\r\n",
    "C001\x01", "C001 ", "C00", "A", "AB", "ABC", "1", "2", "9", "10", "100", "-5", "-10", "0", "00", "1,5", "1.5",
    "1,50", "-0,5", "01/02/2024", "15/01/2024", "31/12/2023", "FA31702", "FA31710", "FA00001", "FA31702\r\n",
    "AV999", "AV1000", "AV0999", "DE1234", "DE12345", "DOLI", "DOLIPRANE", "DOLIPRANE 1000", "3400001", "3400010",
    "0340001", "3400001\r\n", "\xC9" "CHO", "\x85", "\r\n", "x\r\ny", "9007199254740993", "123456789012345678",
    "1234567890123456789"};

std::string Digits(std::mt19937& rng, int n, bool leadingZero) {
  std::string s;
  for (int i = 0; i < n; ++i) {
    int d = static_cast<int>(rng() % 10);
    if (i == 0 && !leadingZero && d == 0) d = 1;
    s += static_cast<char>('0' + d);
  }
  return s;
}

std::string Pick(std::mt19937& rng, const std::vector<std::string>& from) { return from[rng() % from.size()]; }

// One family of field values.
struct TFamily {
  const char* Name;
  std::string (*Make)(std::mt19937&);
  TIndexOrder Expected;
};

std::string CipCode(std::mt19937& rng) {
  if (rng() % 40 == 0) return "";
  return Digits(rng, 7, false);
}

std::string ClientCode(std::mt19937& rng) {
  std::string s = "C" + Digits(rng, 1 + static_cast<int>(rng() % 4), true);
  if (rng() % 8 == 0) s += Pick(rng, kBreaks);
  if (rng() % 30 == 0) s = "";
  return s;
}

std::string Designation(std::mt19937& rng) {
  static const std::vector<std::string> words = {"DOLI", "DOLIPRANE", "DOLIPRANE 1000", "DOLIPRANE 1000MG", "DAFALGAN",
                                                 "EFFERALGAN", "\xC9" "CHO", "ZYRTEC", "D", "DO"};
  std::string s = Pick(rng, words);
  if (rng() % 2 == 0) s += " " + Digits(rng, 1 + static_cast<int>(rng() % 3), true);
  if (rng() % 10 == 0) s += Pick(rng, kBreaks);
  return s;
}

// Company names sharing long beginnings, the same names many times over:
// runs of texts alike in their first nineteen bytes.
std::string Company(std::mt19937& rng) {
  static const std::vector<std::string> names = {"PHARMACIE CENTRALE DE ", "PHARMACIE CENTRALE DES ", "PHARMACIE DU MARCHE",
                                                 "PHARMACIE DU MARCHE ", "PHARMACIE CENTRALE DE"};
  std::string s = Pick(rng, names);
  if (rng() % 2 == 0) s += Pick(rng, {"DAKAR", "DAKAR-PLATEAU", "ABIDJAN", "BAMAKO", "", std::string(1, '\0')});
  if (rng() % 20 == 0) s = "";
  return s;
}

std::string Invoice(std::mt19937& rng) {
  if (rng() % 10 == 0) return "TEXTE " + Digits(rng, 2, true);
  return "FA" + Digits(rng, 5, true);
}

std::string Number(std::mt19937& rng) {
  std::string s = Digits(rng, 1 + static_cast<int>(rng() % 4), false);
  if (rng() % 3 == 0) s = "-" + s;
  if (rng() % 3 == 0) s += (rng() % 2 == 0 ? "," : ".") + Digits(rng, 1 + static_cast<int>(rng() % 2), true);
  if (rng() % 10 == 0) s += Pick(rng, kBreaks);
  if (rng() % 30 == 0) s = "";
  return s;
}

std::string DateValue(std::mt19937& rng) {
  std::string s = Digits(rng, 2, true) + "/" + Digits(rng, 2, true) + "/" + Digits(rng, 4, true);
  if (rng() % 10 == 0) s += Pick(rng, kBreaks);
  return s;
}

std::string AvoirNumber(std::mt19937& rng) {
  std::string s = "AV" + Digits(rng, 3 + static_cast<int>(rng() % 2), true);
  if (rng() % 10 == 0) s += "\r\n";
  return s;
}

std::string Anything(std::mt19937& rng) { return Pick(rng, kAtoms); }

void PrintTo(const TFamily& family, std::ostream* os) { *os << family.Name; }

const TFamily kFamilies[] = {
    {"CipCodes", CipCode, TIndexOrder::Bytes},     {"ClientCodes", ClientCode, TIndexOrder::Bytes},
    {"Designations", Designation, TIndexOrder::Bytes}, {"Companies", Company, TIndexOrder::Bytes},
    {"Invoices", Invoice, TIndexOrder::Bytes},
    {"Numbers", Number, TIndexOrder::Typed},       {"Dates", DateValue, TIndexOrder::Typed},
    {"Avoirs", AvoirNumber, TIndexOrder::Typed},   {"Mixed", Anything, TIndexOrder::Mixed},
};

std::unique_ptr<TMyDatabase> RandomTable(std::mt19937& rng, const TFamily& family, int records) {
  std::unique_ptr<TMyDatabase> db(TMyDatabase::CreateEmpty("", "V"));
  for (int r = 0; r < records; ++r) db->SetData(0, db->AddRecord(), family.Make(rng));
  for (int r = 0; r < records; ++r) {
    if (rng() % 10 == 0) db->Delete(r);
  }
  db->BuildIndex(0);
  return db;
}

// The values a query is tried with: every value of the field, its
// beginnings, the same with and without a final break, and the atoms.
std::vector<std::string> Probes(const TMyDatabase& db, std::mt19937& rng, const TFamily& family) {
  std::set<std::string> probes(kAtoms.begin(), kAtoms.end());
  for (int r = 0; r < db.RecordCount(); ++r) {
    const std::string& v = db.ValueAt(0, r);
    probes.insert(v);
    for (std::size_t n = 0; n < v.size(); ++n) probes.insert(v.substr(0, n));
  }
  for (int i = 0; i < 50; ++i) probes.insert(family.Make(rng));
  return std::vector<std::string>(probes.begin(), probes.end());
}

bool HasPatternCharacter(const std::string& v) { return v.find_first_of("\\^$.[]|()?*+{}") != std::string::npos; }

class IndexSearch : public ::testing::TestWithParam<TFamily> {};

}  // namespace

TEST_P(IndexSearch, ExactAnswersLikeThePatternWalk) {
  TTraceCapture capture;
  const TFamily& family = GetParam();
  std::mt19937 rng(20240117);
  int fastChecks = 0;
  for (int round = 0; round < 12; ++round) {
    auto db = RandomTable(rng, family, 20 + static_cast<int>(rng() % 300));
    EXPECT_EQ(db->GetFieldIndex(0).Order, family.Expected) << family.Name;
    const std::vector<std::string> probes = Probes(*db, rng, family);
    // Twice: on the index as built, then after deletions have taken entries
    // out of it.
    for (int pass = 0; pass < 2; ++pass) {
      for (const std::string& v : probes) {
        if (HasPatternCharacter(v)) continue;
        db->Query("V", v, Exact);
        const std::vector<int> fast = ResultRecords(*db);
        db->Query("V", "^" + v + "$", Pattern);
        const std::vector<int> walked = ResultRecords(*db);
        ASSERT_EQ(fast, walked) << family.Name << " value [" << v << "] pass " << pass;
        ++fastChecks;
      }
      for (int r = 0; r < db->RecordCount(); ++r) {
        if (rng() % 4 == 0) db->Delete(r);
      }
    }
  }
  EXPECT_GT(fastChecks, 200);
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST_P(IndexSearch, IndexIsSortedAsItsOrderSays) {
  const TFamily& family = GetParam();
  std::mt19937 rng(77);
  TStringManager& strings = StringManager();
  for (int round = 0; round < 12; ++round) {
    auto db = RandomTable(rng, family, 300);
    const std::vector<std::string> values = IndexValues(*db, 0);
    const auto& entries = db->GetFieldIndex(0).Entries;
    for (std::size_t i = 1; i < values.size(); ++i) {
      if (db->GetFieldIndex(0).Order == TIndexOrder::Bytes) {
        ASSERT_LE(CompareBytes(values[i - 1], values[i]), 0) << values[i - 1] << " / " << values[i];
      }
      if (db->GetFieldIndex(0).Order != TIndexOrder::Mixed) {
        ASSERT_LE(strings.Compare(values[i - 1], values[i]), 0) << values[i - 1] << " / " << values[i];
        // Queries answer equal values in the order of their records.
        if (strings.Compare(values[i - 1], values[i]) == 0) {
          ASSERT_LT(entries[i - 1].Record, entries[i].Record);
        }
      }
    }
  }
}

// Sorted a few records at a time while idle, with writes between the steps,
// an index ends as the sort at its first use would have made it.
TEST_P(IndexSearch, IndexPreparedStepByStepIsTheIndexSortedAtOnce) {
  const TFamily& family = GetParam();
  std::mt19937 rng(91);
  for (int round = 0; round < 4; ++round) {
    std::mt19937 same(rng());
    auto atOnce = RandomTable(same, family, 300);
    std::unique_ptr<TMyDatabase> stepped(TMyDatabase::CreateEmpty("", "V;W"));
    for (int r = 0; r < atOnce->RecordCount(); ++r) {
      stepped->SetData(0, stepped->AddRecord(), atOnce->ValueAt(0, r));
      if (atOnce->IsDeleted(r)) stepped->Delete(r);
    }
    int steps = 0;
    while (stepped->BuildWaitingIndex(7)) {
      if (++steps == 20 + 10 * round) {
        // A write between two steps: what was sorted so far is dropped.
        const std::string value = family.Make(rng);
        stepped->SetData(0, 3, value);
        atOnce->SetData(0, 3, value);
        atOnce->BuildIndex(0);
      }
    }
    EXPECT_GT(steps, 20 + 10 * round);
    std::vector<int> expected, got;
    for (const TIndexEntry& e : atOnce->GetFieldIndex(0).Entries) expected.push_back(e.Record);
    for (const TIndexEntry& e : stepped->GetFieldIndex(0).Entries) got.push_back(e.Record);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(stepped->GetFieldIndex(0).Order, atOnce->GetFieldIndex(0).Order);
    EXPECT_FALSE(stepped->BuildWaitingIndex(7)) << "both fields prepared";
  }
}

TEST_P(IndexSearch, PrefixAnswersOnlyMatchesAndEveryValueBeginningWithTheKey) {
  TTraceCapture capture;
  const TFamily& family = GetParam();
  std::mt19937 rng(4242);
  TStringManager& strings = StringManager();
  for (int round = 0; round < 8; ++round) {
    auto db = RandomTable(rng, family, 20 + static_cast<int>(rng() % 200));
    const TFieldIndex& index = db->GetFieldIndex(0);
    const std::vector<std::string> probes = Probes(*db, rng, family);
    if (round % 2 == 1) {
      // Searched once, then thinned by deletions.
      db->Query("V", "C", Prefix);
      for (int r = 0; r < db->RecordCount(); ++r) {
        if (rng() % 3 == 0) db->Delete(r);
      }
    }
    if (index.Entries.empty()) continue;
    for (const std::string& key : probes) {
      db->Query("V", key, Prefix);
      const std::vector<int> found = ResultRecords(*db);
      for (const int r : found) ASSERT_EQ(strings.ComparePrefix(key, db->ValueAt(0, r)), 0) << key;
      if (index.Order != TIndexOrder::Bytes || key.empty()) continue;
      const std::set<int> got(found.begin(), found.end());
      bool anyBlock = false;
      for (const TIndexEntry& e : index.Entries) {
        const std::string& v = db->ValueAt(0, e.Record);
        if (v.size() >= key.size() && v.compare(0, key.size(), key) == 0) {
          anyBlock = true;
          ASSERT_TRUE(got.count(e.Record)) << "key [" << key << "] misses [" << v << "]";
        }
      }
      // Nothing begins with the key: the answer is the longest beginning of
      // the key found in the index, if any.
      if (!anyBlock && !found.empty()) {
        std::size_t longest = 0;
        for (const TIndexEntry& e : index.Entries) {
          const std::string& v = db->ValueAt(0, e.Record);
          if (!v.empty() && v.size() < key.size() && key.compare(0, v.size(), v) == 0) longest = std::max(longest, v.size());
        }
        bool hasLongest = false;
        for (const int r : found) hasLongest = hasLongest || db->ValueAt(0, r).size() == longest;
        EXPECT_TRUE(hasLongest) << key;
      }
    }
  }
  EXPECT_TRUE(capture.Boxes().empty());
}

// Writes, added records, deletions and revivals keep the index in place; it
// must answer as an index sorted afresh from the same values.
TEST_P(IndexSearch, EditsKeepTheIndexAsAFreshSortWould) {
  TTraceCapture capture;
  const TFamily& family = GetParam();
  std::mt19937 rng(515);
  TStringManager& strings = StringManager();
  for (int round = 0; round < 6; ++round) {
    auto db = RandomTable(rng, family, 50 + static_cast<int>(rng() % 200));
    for (int step = 0; step < 150; ++step) {
      const int r = static_cast<int>(rng() % static_cast<unsigned>(db->RecordCount()));
      switch (rng() % 8) {
        case 0: db->SetData(0, db->AddRecord(), family.Make(rng)); break;
        case 1: db->Delete(r); break;
        // Now and then a value of another kind, which the order may not take.
        case 2: db->SetData(0, r, rng() % 4 == 0 ? Anything(rng) : family.Make(rng)); break;
        default: db->SetData(0, r, family.Make(rng)); break;
      }
      if (step % 25 != 24) continue;
      std::unique_ptr<TMyDatabase> fresh(TMyDatabase::CreateEmpty("", "V"));
      fresh->SetRecordCount(db->RecordCount());
      for (int k = 0; k < db->RecordCount(); ++k) fresh->SetData(0, k, db->ValueAt(0, k));
      for (int k = 0; k < db->RecordCount(); ++k) {
        if (db->IsDeleted(k)) fresh->Delete(k);
      }
      fresh->BuildIndex(0);
      db->QueryAll();
      const TFieldIndex& index = db->GetFieldIndex(0);
      ASSERT_EQ(index.Entries.size(), fresh->GetFieldIndex(0).Entries.size());
      if (index.Order != TIndexOrder::Mixed) {
        const std::vector<std::string> values = IndexValues(*db, 0);
        for (std::size_t i = 1; i < values.size(); ++i)
          ASSERT_LE(strings.Compare(values[i - 1], values[i]), 0) << values[i - 1] << " / " << values[i];
      }
      for (const std::string& v : Probes(*db, rng, family)) {
        for (const TQueryMode mode : {Exact, Prefix}) {
          if ((mode == Exact && (HasPatternCharacter(v) || v.empty())) || index.Entries.empty()) continue;
          db->Query("V", v, mode);
          fresh->Query("V", v, mode);
          std::vector<int> got = ResultRecords(*db);
          std::vector<int> expected = ResultRecords(*fresh);
          if (mode == Prefix && index.Order != TIndexOrder::Bytes) continue;
          // Ties are in no particular order.
          std::sort(got.begin(), got.end());
          std::sort(expected.begin(), expected.end());
          ASSERT_EQ(got, expected) << family.Name << " [" << v << "] mode " << mode;
        }
      }
    }
  }
  EXPECT_TRUE(capture.Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Families, IndexSearch, ::testing::ValuesIn(kFamilies),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(IndexCompare, EntryComparisonIsTheTypedComparison) {
  std::mt19937 rng(9);
  std::vector<std::string> values = kAtoms;
  // Texts sharing their first sixteen bytes, around the nineteen bytes an
  // entry carries, with and without NUL bytes.
  for (const std::string& tail : std::vector<std::string>{"", " ", " 2", " 20", " 202", " 2021", " 203", "\xC9", std::string(1, '\0'),
                                 std::string(" 20\0", 4), std::string(" 202\0", 5), std::string(" 20\0\0", 5)}) {
    values.push_back("PHARMACIE TRAORE" + tail);
  }
  for (const TFamily& family : kFamilies) {
    for (int i = 0; i < 60; ++i) values.push_back(family.Make(rng));
  }
  TStringManager& strings = StringManager();
  for (const std::string& a : values) {
    for (const std::string& b : values) {
      const TSortKey ka = SortKeyOf(a);
      const TSortKey kb = SortKeyOf(b);
      ASSERT_EQ(SignOf(CompareWithKeys(a, ka, b, kb)), SignOf(strings.Compare(a, b))) << "[" << a << "] [" << b << "]";
    }
  }
}

// The line-break rule the fast search follows, checked against the pattern
// library itself.
TEST(IndexCompare, DollarAcceptsOneFinalLineBreak) {
  TStringManager& strings = StringManager();
  for (const std::string& br : kBreaks) EXPECT_TRUE(strings.RegExMatch("^C001$", "C001" + br)) << int(br[0]);
  EXPECT_FALSE(strings.RegExMatch("^C001$", "C001\r\n\r\n"));
  EXPECT_FALSE(strings.RegExMatch("^C001$", "C001\n\n"));
  EXPECT_FALSE(strings.RegExMatch("^C001$", "C001\x01"));
  EXPECT_FALSE(strings.RegExMatch("^C001$", "\nC001"));
}
