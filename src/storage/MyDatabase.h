#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FileUtils.h"
#include "LargeAllocator.h"
#include "QueryGrid.h"
#include "SortKey.h"
#include "TypedCompare.h"

enum TQueryMode { Exact = 0, Prefix = 1, Pattern = 2 };

// The room an array of one entry per record gets when it is made for n
// records: the records added afterwards (a new piece, a copy) then take
// their place without the whole array being moved to a larger one, which for
// 200 000 records costs tens of milliseconds at the first addition.
inline std::size_t WithRoomToGrow(std::size_t n) { return n + n / 8 + 64; }

// The values of one field, one per record slot.
using TValueColumn = std::vector<std::string, TLargeAllocator<std::string>>;

// One entry of a field's sorted index: a live record and the sort key of its
// value in that field, made once when the entry is made. The value text
// itself stays in the table (the entry names its record), so growing or
// shrinking the table never leaves an entry pointing at freed memory.
struct TIndexEntry {
  TSortKey Key;
  std::int32_t Record = 0;
};
static_assert(sizeof(TIndexEntry) == 32, "an index entry fills 32 bytes");

inline TIndexEntry IndexEntryOf(std::string_view value, std::int32_t record) {
  return TIndexEntry{SortKeyOf(value), record};
}

// How the order of a built index relates to byte order; decides which fast
// searches are exact on it.
enum class TIndexOrder : std::uint8_t {
  // Every pair of values compares as their bytes do (texts, invoice numbers,
  // codes of digits of one length): the index is in byte order.
  Bytes,
  // All values (empty ones apart) are numbers, or all dates, or all credit
  // note numbers, or all quote numbers: the typed order is a total order on
  // them and the index is sorted by it.
  Typed,
  // Mixed kinds: the typed comparison is not transitive on these values, so
  // nothing can be assumed about the order beyond what the sort produced.
  Mixed
};

// Beside the entries of an index in byte order, and in their order: the
// first eight bytes of each value (big-endian), and the value's record and
// length. A search runs over these compact arrays, and reads a value only
// where it is longer than eight bytes and its first eight do not decide.
struct TIndexPrefixes {
  struct TPlace {
    std::int32_t Record;
    // The value's length; any length from 20 up counts as 20.
    std::uint32_t Length;
  };
  static std::uint32_t LengthOf(std::string_view value) {
    return static_cast<std::uint32_t>(value.size() < 20 ? value.size() : 20);
  }
  std::vector<std::uint64_t> Bytes;
  std::vector<TPlace> Places;

  std::size_t size() const { return Bytes.size(); }
  void clear() {
    Bytes.clear();
    Places.clear();
  }
  void Set(std::size_t at, std::string_view value, std::int32_t record) {
    Bytes[at] = BytesAt(value, 0);
    Places[at] = TPlace{record, LengthOf(value)};
  }
  void Insert(std::size_t at, std::string_view value, std::int32_t record) {
    Bytes.insert(Bytes.begin() + static_cast<std::ptrdiff_t>(at), 0);
    Places.insert(Places.begin() + static_cast<std::ptrdiff_t>(at), TPlace{});
    Set(at, value, record);
  }
  void Erase(std::size_t at) {
    Bytes.erase(Bytes.begin() + static_cast<std::ptrdiff_t>(at));
    Places.erase(Places.begin() + static_cast<std::ptrdiff_t>(at));
  }
};

// The sorted index of one field.
struct TFieldIndex {
  int Field = 0;
  // From the usual heap, unlike the values: each sort of an index is given
  // the memory the previous one let go, where fresh memory would first have
  // to be cleared.
  std::vector<TIndexEntry> Entries;
  TIndexOrder Order = TIndexOrder::Mixed;
  // With Order == Typed: the kind shared by the values (Integer and Real both
  // count as Real).
  TValueKind TypedKind = TValueKind::Text;
  // With Order == Bytes: the length shared by the integers of the field (0
  // while it holds none).
  std::size_t DigitsLength = 0;
  // The entries follow the field's values: every write moves its record's
  // entry to its place, so bringing the index up to date costs nothing.
  // False until the index is first used after a load, and after a write
  // whose value does not fit the order of the index; the next use then
  // sorts the field again.
  bool InOrder = false;
  // With Order == Bytes: made with the sorted entries, kept through single
  // writes, and made again by the first search that needs them when they
  // were dropped.
  mutable TIndexPrefixes Prefixes;
};

// A flat text table (".db"): ordered named fields and record slots of string
// values, one deleted flag per slot. The whole file is read at creation and
// written back whole on Save. Record indexes are stable while the table is in
// memory; deleted slots disappear at the next save.
class TIndexSort;

class TMyDatabase {
public:
  // Reads the file when it exists; otherwise a table without fields, records
  // or file name, and nothing is reported.
  explicit TMyDatabase(const std::string& fileName);
  ~TMyDatabase();
  TMyDatabase(const TMyDatabase&) = delete;
  TMyDatabase& operator=(const TMyDatabase&) = delete;

  // A table with that file name and the fields of the header ("a;b;c"), no
  // records; no file is read. Meant to be filled and saved.
  static TMyDatabase* CreateEmpty(const std::string& fileName, const std::string& header);

  void LoadFromFile(const std::string& fileName);
  // Loads from bytes already in memory, exactly as LoadFromFile reads a file.
  void LoadFromText(const std::string& text);
  // False when the file could not be written (the warning is traced and the
  // previous file is left intact). A value holding ";", NUL, or a CR or LF
  // that is not part of a CR LF pair would not read back as it is: the save
  // is then refused with an error naming the field, the record and the file,
  // and the file keeps what it holds.
  bool SaveToFile(const std::string& fileName);
  bool Save();
  // The bytes SaveToFile writes; empty when it would refuse them.
  std::string SaveToText() const;
  // The same as SaveToFile makes them: handed to put in pieces of whole
  // lines, as they are made. False (and nothing reported) when put fails or
  // when a value would be refused.
  bool SaveToPieces(const TPieceSink& put) const;

  const std::string& GetFileName() const { return FileName; }
  // A number that grows with every change of the table's fields, values,
  // records or deleted flags: what was worked out from the table (a list on
  // screen) still holds while it is the same.
  std::uint64_t ChangeCount() const { return fChangeCount; }
  // The records whose values or deleted flag changed, or that were added,
  // after the change count was `since` (each once, in no particular order),
  // when the table still knows them: it keeps the last few records changed
  // one by one, and forgets them at a change of the whole table (a load, a
  // field renamed, slots dropped or many added). False when it does not know.
  static constexpr std::size_t kRecentRecords = 8;
  bool ChangedRecordsSince(std::uint64_t since, std::vector<int>& records) const;
  // True when the last LoadFromFile found the file but could not read it
  // (too large, unreadable). Such a table is never saved over that file.
  bool LoadFailed() const { return fLoadFailed; }

  // Fields.
  int FieldCount() const;
  int GetFieldPos(const std::string& name) const;
  bool FieldExists(const std::string& name) const;
  void SetFieldName(int field, const std::string& name);
  // Empty for a field index out of range.
  const std::string& GetFieldName(int field) const;

  // Records and values.
  int RecordCount() const;
  std::string DBGetString(int field, int record) const;
  void SetData(int field, int record, const std::string& value);
  void SetData(const std::string& fieldName, int record, const std::string& value);
  bool IsDeleted(int record) const;
  void Delete(int record);
  int AddRecord();
  void SetRecordCount(int n);
  void CopyRecord(int source, int target);

  // Queries and indexes.
  // Query and QueryAdd let ERegExError through when the pattern (Pattern
  // mode, or the value of an Exact query) does not compile or is empty; the
  // screen that asked catches it.
  void Query(const std::string& fieldName, const std::string& value, TQueryMode mode);
  void QueryAdd(const std::string& fieldName, const std::string& value, TQueryMode mode);
  void QueryAll();
  // The first whole number above `after` that an Exact query of prefix +
  // the number (written without leading zeros) on the field finds in no
  // record, as querying each number in turn finds it, but found in one pass
  // over the field's sorted index from there. The query result is left to
  // the caller. A field the table lacks reports as a query does.
  long long FirstFreeNumber(const std::string& fieldName, const std::string& prefix, long long after);
  int QueryResultCount() const;
  int QueryGetDataIndex(int i) const;
  std::string GetQueryResultString(const std::string& fieldName, int i) const;
  // With grid == nullptr the table's own grid of the debug window is used
  // and the window shown.
  void DisplayQuery(TQueryGrid* grid, const std::string& columnFilter, bool withTitles);
  void BuildIndex(int field);
  void RebuildIndexes();
  // Does one step of what the first use of the table would otherwise do at
  // once: the sort of an index that waits for its first use, about `records`
  // records' worth at a time (the default takes a few milliseconds), and
  // answers false when no index waits. Called while the program is idle, so
  // that neither a query nor a waiting event waits long for it; the table
  // may be read and changed between two steps as usual.
  static constexpr std::size_t kPrepareStepRecords = 32768;
  bool BuildWaitingIndex(std::size_t records = kPrepareStepRecords);
  // (first, last) positions in the index of the entries matching the key by
  // ComparePrefix, or (-1, -1).
  std::pair<int, int> DichotomicFindFirst(const TFieldIndex* index, const std::string& key, int start,
                                          int finish) const;

  // Read access for tests, tools and the grids.
  // An empty index (no entries, naming no field of this table) and false for
  // a field index out of range.
  const TFieldIndex& GetFieldIndex(int field) const;
  bool GetIndexValid(int field) const;
  const std::vector<std::int32_t>& GetQueryResults() const { return QueryResults; }
  // The value without any check; the caller guarantees both indexes.
  const std::string& ValueAt(int field, int record) const {
    return fDatas[static_cast<std::size_t>(field)][static_cast<std::size_t>(record)];
  }

private:
  std::vector<TValueColumn> fDatas;
  std::vector<std::string> FieldNames;
  std::vector<std::uint8_t> DeletedFlags;
  std::vector<TFieldIndex> FieldIndexes;
  std::string FileName;
  std::vector<std::int32_t> QueryResults;
  std::vector<std::int32_t> fScratch;
  std::unique_ptr<TQueryGrid> fDebugGrid;
  std::vector<std::uint8_t> IndexValid;
  bool fLoadFailed = false;
  std::uint64_t fChangeCount = 0;
  // The last records changed one by one, each with the change count of its
  // last change; complete for the changes after fRecentFrom.
  struct TRecentChange {
    std::int32_t Record = 0;
    std::uint64_t Change = 0;
  };
  TRecentChange fRecent[kRecentRecords];
  std::size_t fRecentCount = 0;
  std::uint64_t fRecentFrom = 0;
  // After ++fChangeCount: the change was the record's, or the whole table's.
  void NoteRecordChange(int record);
  void NoteTableChange();
  // The file whose load failed: saving over it is refused.
  std::string fFailedFile;
  // The sort of an index that BuildWaitingIndex is doing, and the table's change
  // count when it began.
  std::unique_ptr<TIndexSort> fIndexSort;
  std::uint64_t fIndexSortChange = 0;
  // Record slots whose value holds ";", CR, LF or NUL. While there is none,
  // the writer copies every value as it is.
  std::size_t fSpecialValues = 0;

  struct TRefusedValue {
    int Field = -1;
    int Record = -1;
  };
  // The bytes of the file, piece by piece; false when put fails, or, with
  // the first value that would not read back as it is, when there is one.
  bool FormatText(const TPieceSink& put, TRefusedValue& refused) const;

  TMyDatabase();
  void Clear();
  void ParseText(std::string_view text);
  void InvalidateAllIndexes();
  // Brings a field's index up to date: nothing to do when its entries are in
  // order, a build otherwise.
  void EnsureIndex(int field);
  // Sorts a field's entries from its values; the flags stay as they are.
  void SortIndex(int field);
  // Index upkeep of single records; see MyDatabaseQuery.cpp.
  bool FitsOrder(TFieldIndex& index, std::string_view value, const TIndexEntry& entry) const;
  std::size_t PlaceOf(const TFieldIndex& index, std::string_view value, const TIndexEntry& entry) const;
  std::size_t FindEntry(const TFieldIndex& index, std::int32_t record) const;
  void InsertEntry(int field, std::int32_t record);
  void MoveEntry(int field, std::int32_t record, const std::string& value);
  void RemoveEntry(TFieldIndex& index, std::int32_t record);
  void PrepareQuery();
  void QueryCore(const std::string& fieldName, const std::string& value, TQueryMode mode);
  void WalkPattern(const TFieldIndex& index, const std::string& pattern);
  bool ExactLookup(const TFieldIndex& index, const std::string& value);
  std::pair<int, int> PrefixRangeBytes(const TFieldIndex& index, std::string_view key, int start, int finish) const;
  std::pair<int, int> PrefixRangeProbing(const TFieldIndex& index, const std::string& key, int start,
                                         int finish) const;
};
