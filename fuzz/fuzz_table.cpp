// The table file reader against any bytes.
//
// For any input the reader must survive, and:
// - the table it builds is the one the file format describes (checked against
//   a small independent reading of the same bytes below);
// - every value can be read back without a report, and every sorted index
//   entry points at its record's value;
// - saving and reading the saved text gives the same field names and the same
//   records with the same values, and saving that again gives the same bytes
//   (values read from a file never hold ";", a lone CR or LF, or a NUL, so
//   the round trip of the format holds for them);
// - deleting records and saving drops exactly those records.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "MyDatabase.h"
#include "StringManager.h"

namespace {

constexpr std::size_t kMaxCells = std::size_t(16) * 1024 * 1024;

struct TExpectedTable {
  bool HasLines = false;
  // More value slots (header row included) than a table holds, or a value
  // over 64 KB.
  bool TooLarge = false;
  std::vector<std::string> Fields;
  std::vector<std::vector<std::string>> Records;  // per record, per field
};

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> parts(1);
  for (char c : line) {
    if (c == ';')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

std::string Unescape(const std::string& v) {
  std::string out;
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i] == '\\' && i + 1 < v.size() && v[i + 1] == 'n') {
      out += "\r\n";
      ++i;
    } else {
      out += v[i];
    }
  }
  return out;
}

TExpectedTable Expect(const std::string& text) {
  TExpectedTable t;
  std::vector<std::string> lines = FuzzLines(text);
  if (lines.empty()) return t;
  t.HasLines = true;
  if (!lines[0].empty()) t.Fields = Split(lines[0]);
  if (t.Fields.empty()) return t;
  if (lines.size() > kMaxCells / t.Fields.size()) {
    t.TooLarge = true;
    return t;
  }
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::vector<std::string> parts = Split(lines[i]);
    std::vector<std::string> rec(t.Fields.size());
    for (std::size_t k = 0; k < rec.size() && k < parts.size(); ++k) {
      if (parts[k].size() > 64 * 1024) {
        t.TooLarge = true;
        return t;
      }
      rec[k] = Unescape(parts[k]);
    }
    t.Records.push_back(rec);
  }
  return t;
}

void CheckTable(TMyDatabase& db, const TExpectedTable& t, TFuzzQuiet& quiet, const char* what) {
  std::string w = what;
  if (!t.HasLines) {
    FUZZ_CHECK(db.RecordCount() == 0, w + ": records in a file without lines");
    return;
  }
  FUZZ_CHECK(db.FieldCount() == static_cast<int>(t.Fields.size()),
             w + ": field count " + std::to_string(db.FieldCount()) + " expected " + std::to_string(t.Fields.size()));
  FUZZ_CHECK(db.RecordCount() == static_cast<int>(t.Records.size()),
             w + ": record count " + std::to_string(db.RecordCount()) + " expected " +
                 std::to_string(t.Records.size()));
  quiet.Dialogs.Clear();
  for (int f = 0; f < db.FieldCount(); ++f) {
    FUZZ_CHECK(db.GetFieldName(f) == t.Fields[static_cast<std::size_t>(f)],
               w + ": field " + std::to_string(f) + " is " + FuzzShow(db.GetFieldName(f)));
    // Lookups by name are linear over the fields: checked on the first ones.
    if (f < 64) {
      FUZZ_CHECK(db.FieldExists(t.Fields[static_cast<std::size_t>(f)]), w + ": FieldExists");
      int pos = db.GetFieldPos(t.Fields[static_cast<std::size_t>(f)]);
      FUZZ_CHECK(pos >= 0 && pos <= f && db.GetFieldName(pos) == db.GetFieldName(f), w + ": GetFieldPos");
    }
    for (int r = 0; r < db.RecordCount(); ++r) {
      FUZZ_CHECK(!db.IsDeleted(r), w + ": record deleted after reading");
      std::string v = db.DBGetString(f, r);
      FUZZ_CHECK(v == t.Records[static_cast<std::size_t>(r)][static_cast<std::size_t>(f)],
                 w + ": value " + std::to_string(f) + "/" + std::to_string(r) + " is " + FuzzShow(v) + " expected " +
                     FuzzShow(t.Records[static_cast<std::size_t>(r)][static_cast<std::size_t>(f)]));
    }
    // The sorted index holds every record once, each entry at its own value.
    FUZZ_CHECK(db.GetIndexValid(f), w + ": index not valid after reading");
    const auto& index = db.GetFieldIndex(f).Entries;
    FUZZ_CHECK(index.size() == static_cast<std::size_t>(db.RecordCount()), w + ": index size");
    std::vector<char> seen(index.size(), 0);
    for (const TIndexEntry& e : index) {
      FUZZ_CHECK(e.Record >= 0 && e.Record < db.RecordCount(), w + ": index entry out of range");
      FUZZ_CHECK(!seen[static_cast<std::size_t>(e.Record)], w + ": record twice in an index");
      seen[static_cast<std::size_t>(e.Record)] = 1;
      FUZZ_CHECK(e.Key.Kind == SortKeyOf(db.ValueAt(f, e.Record)).Kind, w + ": index entry of another kind");
    }
  }
  FUZZ_CHECK(quiet.Dialogs.Messages.empty(), w + ": reading values reported " + FuzzShow(quiet.Dialogs.Messages[0]));
}

// What the writer must produce for a table: CR LF after every line and no
// other CR or LF, no NUL.
void CheckWritten(const std::string& s, const char* what) {
  std::string w = what;
  FUZZ_CHECK(s.find('\0') == std::string::npos, w + ": NUL written");
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r') {
      FUZZ_CHECK(i + 1 < s.size() && s[i + 1] == '\n', w + ": lone CR written");
      ++i;
    } else {
      FUZZ_CHECK(s[i] != '\n', w + ": lone LF written");
    }
  }
  FUZZ_CHECK(s.empty() || (s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0), w + ": last line not ended");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzQuiet quiet;
  const std::string input(reinterpret_cast<const char*>(data), size);

  // At most two tables are alive at a time: a table near the size limit
  // takes a gigabyte.
  auto first = std::make_unique<TMyDatabase>("");
  first->LoadFromText(input);
  const TExpectedTable expected = Expect(input);
  if (!quiet.Dialogs.Messages.empty()) {
    // Only a table beyond the size limit, or holding a value over 64 KB, is
    // refused, and it is left empty.
    const std::string& report = quiet.Dialogs.Messages[0];
    FUZZ_CHECK((report == "*ERROR*TMyDatabase.LoadFromText:table trop volumineuse" ||
                report.rfind("*ERROR*TMyDatabase.LoadFromText:valeur de plus de 64 Ko", 0) == 0) &&
                   expected.TooLarge,
               "reading reported " + FuzzShow(quiet.Dialogs.Messages[0]));
    FUZZ_CHECK(first->FieldCount() == 0 && first->RecordCount() == 0, "refused table not empty");
    return 0;
  }
  FUZZ_CHECK(!expected.TooLarge, "a table beyond the size limit was read");
  CheckTable(*first, expected, quiet, "first reading");
  if (!expected.HasLines || expected.Fields.empty()) return 0;

  const std::string saved = first->SaveToText();
  first.reset();
  CheckWritten(saved, "first save");
  TMyDatabase second("");
  second.LoadFromText(saved);
  CheckTable(second, expected, quiet, "reading the saved text");
  const std::string savedAgain = second.SaveToText();
  FUZZ_CHECK(savedAgain == saved, "second save differs from the first");

  // A prefix search with the first value of each of the first fields answers
  // only records that match it (which ones it finds depends on the order of
  // the index, which follows byte order only for texts and codes).
  if (second.RecordCount() > 0) {
    for (int f = 0; f < second.FieldCount() && f < 4; ++f) {
      if (second.GetFieldPos(second.GetFieldName(f)) != f) continue;  // a repeated field name
      const std::string key = second.DBGetString(f, 0);
      second.Query(second.GetFieldName(f), key, Prefix);
      for (int i = 0; i < second.QueryResultCount(); ++i) {
        int r = second.QueryGetDataIndex(i);
        FUZZ_CHECK(r >= 0 && r < second.RecordCount(), "prefix search answered a record out of range");
        FUZZ_CHECK(StringManager().ComparePrefix(key, second.ValueAt(f, r)) == 0,
                   "prefix search answered " + FuzzShow(second.ValueAt(f, r)) + " for " + FuzzShow(key));
      }
    }
    quiet.Dialogs.Clear();
  }

  // Delete a spread of records; the next save and reading keep the others in
  // their order.
  TExpectedTable kept = expected;
  kept.Records.clear();
  for (int r = 0; r < second.RecordCount(); ++r) {
    if ((static_cast<std::size_t>(r) * 7 + size) % 3 == 0) {
      second.Delete(r);
      second.Delete(r);  // a second delete changes nothing
    } else {
      kept.Records.push_back(expected.Records[static_cast<std::size_t>(r)]);
    }
  }
  for (int f = 0; f < second.FieldCount(); ++f) {
    for (const TIndexEntry& e : second.GetFieldIndex(f).Entries)
      FUZZ_CHECK(!second.IsDeleted(e.Record), "deleted record left in an index");
  }
  const std::string compacted = second.SaveToText();
  CheckWritten(compacted, "save after deleting");
  TMyDatabase third("");
  third.LoadFromText(compacted);
  CheckTable(third, kept, quiet, "reading after deleting");
  return 0;
}
