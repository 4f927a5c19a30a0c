// Queries and the sorted per-field indexes of TMyDatabase.

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "MyDatabase.h"
#include "SortKey.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

const std::string kNoText;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && std::memcmp(text.data(), prefix.data(), prefix.size()) == 0;
}

// The prefix comparison of the lookups: 0 when both texts are non-empty and
// one begins with the other, otherwise the byte comparison (an empty key
// equals only an empty value).
int PrefixCompare(std::string_view key, std::string_view value) {
  if (!key.empty() && !value.empty() && (StartsWith(value, key) || StartsWith(key, value))) return 0;
  return CompareBytes(key, value);
}

// A value that the Exact pattern "^" + value + "$" matches literally: no
// pattern character, and no control character or NEL, which the newline
// convention would treat as line breaks.
bool IsLiteralValue(std::string_view value) {
  for (const char ch : value) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F || c == 0x85) return false;
    switch (c) {
      case '\\': case '^': case '$': case '.': case '[': case ']': case '|':
      case '(': case ')': case '?': case '*': case '+': case '{': case '}':
        return false;
      default:
        break;
    }
  }
  return true;
}

// True when "^" + value + "$" matches text: the text is the value, or the
// value followed by one line break ("$" also matches before a final line
// break, and any line-break sequence counts).
bool ExactMatches(std::string_view text, std::string_view value) {
  if (!StartsWith(text, value)) return false;
  const std::size_t extra = text.size() - value.size();
  if (extra == 0) return true;
  const auto c = static_cast<unsigned char>(text[value.size()]);
  if (extra == 1) return c == '\n' || c == '\r' || c == 0x0B || c == 0x0C || c == 0x85;
  return extra == 2 && c == '\r' && text[value.size() + 1] == '\n';
}

// First position of [start, end) of the ascending array whose number is not
// below key. Without branches on the numbers, which a search of random keys
// would mispredict at every level.
std::size_t LowerBoundOf(const std::uint64_t* p, std::size_t start, std::size_t end, std::uint64_t key) {
  std::size_t n = end - start;
  if (n == 0) return start;
  const std::uint64_t* base = p + start;
  while (n > 1) {
    const std::size_t half = n / 2;
    // Both places the next step may look at are fetched while this one is
    // decided.
    __builtin_prefetch(base + half / 2);
    __builtin_prefetch(base + half + half / 2);
    base = base[half] < key ? base + half : base;
    n -= half;
  }
  return static_cast<std::size_t>(base - p) + (*base < key ? 1 : 0);
}

// The same when the answer is most likely at start or just after it: the
// search gallops forward from start.
std::size_t LowerBoundNear(const std::uint64_t* p, std::size_t start, std::size_t end, std::uint64_t key) {
  if (start >= end || p[start] >= key) return start;
  std::size_t lo = start;
  std::size_t step = 1;
  while (lo + step < end && p[lo + step] < key) {
    lo += step;
    step *= 2;
  }
  return LowerBoundOf(p, lo + 1, lo + step < end ? lo + step : end, key);
}

// First position of [from, end) whose number is above key, for a key whose
// run of equal numbers starts at from: such runs are short, so the search
// gallops forward from there instead of halving the whole rest.
std::size_t UpperBoundFrom(const std::uint64_t* p, std::size_t from, std::size_t end, std::uint64_t key) {
  std::size_t lo = from;
  std::size_t step = 1;
  while (lo + step < end && p[lo + step] <= key) {
    lo += step;
    step *= 2;
  }
  std::size_t hi = lo + step < end ? lo + step : end;
  // p[lo] <= key where lo > from; the answer lies in (lo, hi].
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (p[mid] <= key) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

// Searches of an index in byte order. The first eight bytes order the
// entries as the whole texts do, only more coarsely: an entry whose eight
// bytes are below the key's is below the key, one whose eight bytes are above
// is above it. So the compact arrays narrow every search to the entries that
// share the key's first eight bytes; a value of eight bytes or fewer is read
// from them too, and only longer ones from the table.
class TByteSearch {
public:
  TByteSearch(const TFieldIndex& index, const TValueColumn& column) : fIndex(index), fColumn(column) {
    TIndexPrefixes& prefixes = index.Prefixes;
    const std::size_t n = index.Entries.size();
    if (prefixes.size() != n || prefixes.Places.size() != n) {
      prefixes.Bytes.resize(n);
      prefixes.Places.resize(n);
      for (std::size_t i = 0; i < n; ++i) {
        const std::int32_t record = index.Entries[i].Record;
        prefixes.Set(i, column[static_cast<std::size_t>(record)], record);
      }
    }
  }

  std::int32_t RecordAt(std::size_t i) const { return fIndex.Prefixes.Places[i].Record; }

  // The value at a position, from the compact arrays when they hold it
  // whole (its bytes then go into the buffer), otherwise from the table.
  std::string_view ValueAt(std::size_t i, char (&buffer)[8]) const {
    const TIndexPrefixes::TPlace& place = fIndex.Prefixes.Places[i];
    if (place.Length > 8) return fColumn[static_cast<std::size_t>(place.Record)];
    const std::uint64_t bytes = fIndex.Prefixes.Bytes[i];
    for (int k = 0; k < 8; ++k) buffer[k] = static_cast<char>(bytes >> (56 - 8 * k));
    return std::string_view(buffer, place.Length);
  }

  // First position of [start, end) whose value is not below key; near
  // when it is most likely at start or just after it.
  std::size_t LowerBound(std::string_view key, std::size_t start, std::size_t end, bool near = false) const {
    const std::uint64_t kp = BytesAt(key, 0);
    const std::uint64_t* p = fIndex.Prefixes.Bytes.data();
    std::size_t lo = near ? LowerBoundNear(p, start, end, kp) : LowerBoundOf(p, start, end, kp);
    // A value with the eight bytes of a key of eight bytes or fewer begins
    // with the key: none of them is below it.
    if (key.size() <= 8) return lo;
    std::size_t hi = UpperBoundFrom(p, lo, end, kp);
    char buffer[8];
    while (lo < hi) {
      const std::size_t mid = lo + (hi - lo) / 2;
      if (CompareBytes(ValueAt(mid, buffer), key) < 0) {
        lo = mid + 1;
      } else {
        hi = mid;
      }
    }
    return lo;
  }

  // First position of [from, end), from being the lower bound of key, whose
  // value does not begin with the non-empty key.
  std::size_t BlockEnd(std::string_view key, std::size_t from, std::size_t end) const {
    const std::uint64_t* p = fIndex.Prefixes.Bytes.data();
    const std::uint64_t kp = BytesAt(key, 0);
    if (key.size() < 8) {
      // Every value beginning with a short key has its eight bytes between
      // the key's and the key's followed by bytes 0xFF.
      const std::uint64_t highest = kp | ((std::uint64_t(1) << (8 * (8 - key.size()))) - 1);
      return UpperBoundFrom(p, from, end, highest);
    }
    std::size_t lo = from;
    std::size_t hi = UpperBoundFrom(p, from, end, kp);
    char buffer[8];
    while (lo < hi) {
      const std::size_t mid = lo + (hi - lo) / 2;
      if (StartsWith(ValueAt(mid, buffer), key)) {
        lo = mid + 1;
      } else {
        hi = mid;
      }
    }
    return lo;
  }

private:
  const TFieldIndex& fIndex;
  const TValueColumn& fColumn;
};

// The records an Exact query of the literal value v finds among the entries
// [start, end) of an index in byte order, handed in index order to found,
// which answers false to stop. The value, then the value followed by a
// break below 0x0E (LF, VT, FF, CR, CR LF), all sit right after the value in
// byte order; the value followed by NEL (0x85) sits further on. Answers the
// position where the search stopped: the lower bound of v.
template <class F>
std::size_t ExactBlock(const TByteSearch& search, std::string_view v, std::size_t start, std::size_t end, bool near,
                       F&& found) {
  char buffer[8];
  const std::size_t lower = search.LowerBound(v, start, end, near);
  std::size_t i = lower;
  for (; i < end; ++i) {
    const std::string_view text = search.ValueAt(i, buffer);
    if (!StartsWith(text, v)) break;
    if (text.size() > v.size() && static_cast<unsigned char>(text[v.size()]) > 0x0D) break;
    if (ExactMatches(text, v) && !found(search.RecordAt(i))) return lower;
  }
  // The values beginning with the value are contiguous: when the scan left
  // them, none is the value followed by NEL.
  if (i < end && StartsWith(search.ValueAt(i, buffer), v)) {
    std::string withNel(v);
    withNel += '\x85';
    for (i = search.LowerBound(withNel, i, search.BlockEnd(v, i, end)); i < end && search.ValueAt(i, buffer) == withNel;
         ++i) {
      if (!found(search.RecordAt(i))) return lower;
    }
  }
  return lower;
}

}  // namespace

void TMyDatabase::PrepareQuery() {
  // Every field is brought up to date: its entries are in order already, or
  // are sorted at the first query on the field.
  for (auto& valid : IndexValid) valid = 1;
  QueryResults.clear();
  fScratch.clear();
}

void TMyDatabase::WalkPattern(const TFieldIndex& index, const std::string& pattern) {
  TStringManager& strings = StringManager();
  // Compiled before the walk, so that a bad pattern is reported whatever the
  // table holds, an empty one included.
  strings.RegExMatch(pattern, kNoText);
  const TValueColumn& column = fDatas[static_cast<std::size_t>(index.Field)];
  // A pattern of the search's form, "^.*" + a plain word + ".*$", can only
  // match a text that holds the word: the others are answered without
  // running the pattern.
  std::string_view word;
  const std::string_view p(pattern);
  if (p.size() > 6 && p.substr(0, 3) == "^.*" && p.substr(p.size() - 3) == ".*$") {
    word = p.substr(3, p.size() - 6);
    if (!IsLiteralValue(word)) word = std::string_view();
  }
  // Equal values sit next to each other in the index: the answer for a
  // value is the answer for the same text just before it.
  const std::string* previous = nullptr;
  bool previousMatched = false;
  const auto& entries = index.Entries;
  constexpr std::size_t kAhead = 16;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    // The values lie in record order, the walk goes in value order.
    if (i + kAhead < entries.size()) __builtin_prefetch(&column[static_cast<std::size_t>(entries[i + kAhead].Record)]);
    if (i + kAhead / 2 < entries.size()) {
      __builtin_prefetch(column[static_cast<std::size_t>(entries[i + kAhead / 2].Record)].data());
    }
    const std::string& value = column[static_cast<std::size_t>(entries[i].Record)];
    if (previous == nullptr || value != *previous) {
      previousMatched = (word.empty() || std::string_view(value).find(word) != std::string_view::npos) &&
                        strings.RegExMatch(pattern, value);
      previous = &value;
    }
    if (previousMatched) fScratch.push_back(entries[i].Record);
  }
}

// Answers an Exact query from the order of the index, with the same records
// in the same order as running the pattern over every entry. False when the
// order of this index cannot answer it; the caller then walks.
bool TMyDatabase::ExactLookup(const TFieldIndex& index, const std::string& value) {
  const TValueColumn& column = fDatas[static_cast<std::size_t>(index.Field)];
  const auto& entries = index.Entries;
  auto valueAt = [&](std::size_t i) -> std::string_view {
    return column[static_cast<std::size_t>(entries[i].Record)];
  };
  const std::string_view v(value);

  if (index.Order == TIndexOrder::Bytes) {
    // The value, then the value followed by a break below 0x0E (LF, VT, FF,
    // CR, CR LF), all sit right after the value in byte order; the value
    // followed by NEL (0x85) sits further on.
    const TByteSearch search(index, column);
    ExactBlock(search, v, 0, entries.size(), false, [this](std::int32_t record) {
      fScratch.push_back(record);
      return true;
    });
    return true;
  }

  if (index.Order == TIndexOrder::Typed) {
    const TIndexEntry probe = IndexEntryOf(v, -1);
    const TValueKind kind = probe.Key.Kind;
    if (index.TypedKind == TValueKind::Real) {
      if (kind == TValueKind::Integer && (probe.Key.Int > kExactDoubleLimit || probe.Key.Int < -kExactDoubleLimit)) {
        return false;
      }
      // A text of another kind equals none of the values (a value and the
      // same value with a final break are of the same kind).
      if (kind != TValueKind::Integer && kind != TValueKind::Real) return true;
    } else if (kind != index.TypedKind) {
      return true;
    }
    auto cmp = [&](std::size_t i) { return CompareWithKeys(valueAt(i), entries[i].Key, v, probe.Key); };
    std::size_t lo = 0;
    std::size_t hi = entries.size();
    while (lo < hi) {
      const std::size_t mid = lo + (hi - lo) / 2;
      if (cmp(mid) < 0) {
        lo = mid + 1;
      } else {
        hi = mid;
      }
    }
    // Equal typed keys include other spellings ("1" and "1,0"); only the
    // texts the pattern matches are kept.
    for (std::size_t i = lo; i < entries.size() && cmp(i) == 0; ++i) {
      if (ExactMatches(valueAt(i), v)) fScratch.push_back(entries[i].Record);
    }
    return true;
  }
  return false;
}

long long TMyDatabase::FirstFreeNumber(const std::string& fieldName, const std::string& prefix, long long after) {
  long long number = after + 1;
  const int field = FieldExists(fieldName) ? GetFieldPos(fieldName) : -1;
  if (field >= 0 && IsLiteralValue(prefix)) {
    EnsureIndex(field);
    const TFieldIndex& index = FieldIndexes[static_cast<std::size_t>(field)];
    if (index.Order == TIndexOrder::Bytes) {
      // The numbers taken one after another are entries one after another:
      // each search starts where the one before stopped.
      const TByteSearch search(index, fDatas[static_cast<std::size_t>(field)]);
      const std::size_t n = index.Entries.size();
      std::size_t from = 0;
      std::string target;
      while (true) {
        target = prefix + IntToStr(number);
        bool taken = false;
        from = ExactBlock(search, target, from, n, true, [&taken](std::int32_t) {
          taken = true;
          return false;
        });
        if (!taken) return number;
        ++number;
      }
    }
  }
  // Any other index: one Exact query after another.
  while (true) {
    Query(fieldName, prefix + IntToStr(number), Exact);
    if (QueryResultCount() == 0) return number;
    ++number;
  }
}

void TMyDatabase::QueryCore(const std::string& fieldName, const std::string& value, TQueryMode mode) {
  fScratch.clear();
  const int field = GetFieldPos(fieldName);
  if (field == -1) return;
  const auto f = static_cast<std::size_t>(field);
  EnsureIndex(field);
  const TFieldIndex& index = FieldIndexes[f];
  switch (mode) {
    case Exact:
      // "^$" never matches: an empty match does not count.
      if (value.empty()) return;
      if (IsLiteralValue(value) && ExactLookup(index, value)) return;
      WalkPattern(index, "^" + value + "$");
      return;
    case Pattern:
      WalkPattern(index, value);
      return;
    case Prefix: {
      const std::pair<int, int> range =
          DichotomicFindFirst(&index, value, 0, static_cast<int>(index.Entries.size()) - 1);
      if (range.first < 0) return;
      for (int i = range.first; i <= range.second; ++i) fScratch.push_back(index.Entries[static_cast<std::size_t>(i)].Record);
      return;
    }
  }
}

void TMyDatabase::Query(const std::string& fieldName, const std::string& value, TQueryMode mode) {
  PrepareQuery();
  QueryCore(fieldName, value, mode);
  QueryResults = fScratch;
}

void TMyDatabase::QueryAdd(const std::string& fieldName, const std::string& value, TQueryMode mode) {
  QueryCore(fieldName, value, mode);
  if (QueryResults.empty()) {
    QueryResults = fScratch;
    return;
  }
  // Each record once, the earlier answers first.
  std::int32_t largest = 0;
  for (const std::int32_t r : QueryResults) largest = std::max(largest, r);
  for (const std::int32_t r : fScratch) largest = std::max(largest, r);
  std::vector<std::uint8_t> present(static_cast<std::size_t>(largest) + 1, 0);
  for (const std::int32_t r : QueryResults) present[static_cast<std::size_t>(r)] = 1;
  for (const std::int32_t r : fScratch) {
    if (present[static_cast<std::size_t>(r)] != 0) continue;
    present[static_cast<std::size_t>(r)] = 1;
    QueryResults.push_back(r);
  }
}

void TMyDatabase::QueryAll() {
  PrepareQuery();
  if (FieldCount() > 0 && RecordCount() > 0) {
    QueryResults.reserve(DeletedFlags.size());
    for (std::size_t r = 0; r < DeletedFlags.size(); ++r) {
      if (DeletedFlags[r] == 0) QueryResults.push_back(static_cast<std::int32_t>(r));
    }
  } else {
    Trace("TMyDatabase.QueryAll: Requete sur base vide");
  }
}

int TMyDatabase::QueryResultCount() const { return static_cast<int>(QueryResults.size()); }

int TMyDatabase::QueryGetDataIndex(int i) const {
  if (QueryResults.empty()) {
    Error("TMyDatabase.QueryGetDataIndex : No Query Results Assigned");
    return -1;
  }
  if (i < 0 || i >= QueryResultCount()) {
    ErrorInt("TMyDatabase.QueryGetDataIndex : Bad Pos : ", i);
    return -1;
  }
  return QueryResults[static_cast<std::size_t>(i)];
}

std::string TMyDatabase::GetQueryResultString(const std::string& fieldName, int i) const {
  if (!fieldName.empty() && !QueryResults.empty() && i >= 0 && i < QueryResultCount()) {
    const std::int32_t record = QueryResults[static_cast<std::size_t>(i)];
    for (std::size_t f = 0; f < FieldNames.size(); ++f) {
      if (FieldNames[f] != fieldName) continue;
      // Read without the deleted check: a record deleted after the query
      // still answers. A slot dropped by SetRecordCount no longer exists.
      if (record >= 0 && record < RecordCount()) return fDatas[f][static_cast<std::size_t>(record)];
      break;
    }
  }
  Warning("TMyDatabase.GetQueryResultString: impossible de trouver " + fieldName + " position " + " " + IntToStr(i));
  return std::string();
}

void TMyDatabase::DisplayQuery(TQueryGrid* grid, const std::string& columnFilter, bool withTitles) {
  if (grid == nullptr) {
    grid = fDebugGrid.get();
    if (grid == nullptr) {
      Warning("TMyDatabase.DisplayQuery: pas de grille de debug pour " + FileName);
      return;
    }
    if (TTableDebugWindow* window = GetTableDebugWindow()) window->ShowWindow();
  }
  std::string filter = columnFilter;
  if (filter.empty()) {
    for (std::size_t f = 0; f < FieldNames.size(); ++f) {
      if (f > 0) filter += ';';
      filter += FieldNames[f];
    }
  }
  TStringManager& strings = StringManager();
  const int names = strings.CountTokens(filter, ';');
  const int fixedCols = grid->GetFixedCols();
  const int fixedRows = grid->GetFixedRows();
  grid->ClearCells();
  grid->SetColCount(names + fixedCols);
  grid->SetRowCount(std::max(QueryResultCount(), 1) + fixedRows);
  if (withTitles) grid->setTitles(filter);

  // Field of each column; a name the table lacks is reported on every row,
  // as looking it up for each row would.
  std::vector<int> fields(static_cast<std::size_t>(names), -1);
  std::vector<std::string> columnNames(static_cast<std::size_t>(names));
  for (int c = 0; c < names; ++c) {
    columnNames[static_cast<std::size_t>(c)] = strings.GetToken(filter, c + 1, ';');
    if (FieldExists(columnNames[static_cast<std::size_t>(c)])) {
      fields[static_cast<std::size_t>(c)] = GetFieldPos(columnNames[static_cast<std::size_t>(c)]);
    }
  }
  const int records = RecordCount();
  const int count = QueryResultCount();
  // A result naming a slot dropped since (SetRecordCount) leaves its cells
  // unwritten: such a result is written cell by cell.
  const bool allRecords = std::all_of(QueryResults.begin(), QueryResults.end(),
                                      [records](std::int32_t r) { return r >= 0 && r < records; });
  if (allRecords && std::find(fields.begin(), fields.end(), -1) == fields.end()) {
    // Every name is a field: each column is written in one go from the
    // result, the grid taking the texts as they come. The result follows an
    // index, not the records: each value is fetched a few rows ahead, and
    // the characters of a long one a few rows later.
    constexpr int kAhead = 16;
    auto valueOf = [&](const TValueColumn& column, int j) -> const std::string* {
      if (j >= count) return nullptr;
      return &column[static_cast<std::size_t>(QueryResults[static_cast<std::size_t>(j)])];
    };
    for (int c = 0; c < names; ++c) {
      const TValueColumn& column = fDatas[static_cast<std::size_t>(fields[static_cast<std::size_t>(c)])];
      grid->SetColumnForced(c + fixedCols, fixedRows, count, [&](int j) -> const std::string& {
        if (const std::string* ahead = valueOf(column, j + kAhead)) __builtin_prefetch(ahead);
        if (const std::string* ahead = valueOf(column, j + kAhead / 2)) __builtin_prefetch(ahead->data());
        return *valueOf(column, j);
      });
    }
  } else {
    for (int j = 0; j < count; ++j) {
      const std::int32_t record = QueryResults[static_cast<std::size_t>(j)];
      for (int c = 0; c < names; ++c) {
        int p = fields[static_cast<std::size_t>(c)];
        if (p == -1) p = GetFieldPos(columnNames[static_cast<std::size_t>(c)]);
        if (p == -1 || record < 0 || record >= records) continue;
        grid->SetCellForced(c + fixedCols, fixedRows + j, fDatas[static_cast<std::size_t>(p)][static_cast<std::size_t>(record)]);
      }
    }
  }
  grid->UpdateDimensions();
}

std::pair<int, int> TMyDatabase::DichotomicFindFirst(const TFieldIndex* index, const std::string& key, int start,
                                                     int finish) const {
  // Only this table's own indexes name records of this table.
  if (index == nullptr || index->Field < 0 || index->Field >= FieldCount() ||
      index != &FieldIndexes[static_cast<std::size_t>(index->Field)]) {
    Error("TMyDatabase.DichotomicFindFirst:liste index non assignee");
    return {-1, -1};
  }
  const int count = static_cast<int>(index->Entries.size());
  if (start < 0 || start >= count || finish < 0 || finish >= count || finish < start) {
    Error("TMyDatabase.DichotomicFindFirst:Paire Start / Finish non valide : " + IntToStr(start) + "," +
          IntToStr(finish));
    return {-1, -1};
  }
  if (index->Order == TIndexOrder::Bytes) return PrefixRangeBytes(*index, key, start, finish);
  return PrefixRangeProbing(*index, key, start, finish);
}

// On an index in byte order the matching entries are found by binary search:
// the block of values beginning with the key, preceded by the values that
// are a beginning of the key and stand right before it. When nothing begins
// with the key, the longest beginning of the key found in the index answers
// (with the shorter ones right before it).
std::pair<int, int> TMyDatabase::PrefixRangeBytes(const TFieldIndex& index, std::string_view key, int start,
                                                  int finish) const {
  const TByteSearch search(index, fDatas[static_cast<std::size_t>(index.Field)]);
  char buffer[8];
  if (key.empty()) {
    // Only empty values match, and they come first.
    int last = start - 1;
    while (last + 1 <= finish && search.ValueAt(static_cast<std::size_t>(last + 1), buffer).empty()) ++last;
    if (last < start) return {-1, -1};
    return {start, last};
  }
  const auto from = static_cast<std::size_t>(start);
  const auto end = static_cast<std::size_t>(finish) + 1;
  auto extendBack = [&](int first) {
    while (first - 1 >= start && PrefixCompare(key, search.ValueAt(static_cast<std::size_t>(first - 1), buffer)) == 0) --first;
    return first;
  };
  const std::size_t blockStart = search.LowerBound(key, from, end);
  const std::size_t blockEnd = search.BlockEnd(key, blockStart, end);
  if (blockEnd > blockStart) return {extendBack(static_cast<int>(blockStart)), static_cast<int>(blockEnd) - 1};
  for (std::size_t length = key.size() - 1; length >= 1; --length) {
    const std::string_view beginning = key.substr(0, length);
    const std::size_t i = search.LowerBound(beginning, from, end);
    if (i >= end || search.ValueAt(i, buffer) != beginning) continue;
    std::size_t last = i;
    while (last + 1 < end && search.ValueAt(last + 1, buffer) == beginning) ++last;
    return {extendBack(static_cast<int>(i)), static_cast<int>(last)};
  }
  return {-1, -1};
}

// Without byte order the search probes the ends and the middle of the range,
// halves it while nothing matched, and widens around the entry that matched.
std::pair<int, int> TMyDatabase::PrefixRangeProbing(const TFieldIndex& index, const std::string& key, int start,
                                                    int finish) const {
  const TValueColumn& column = fDatas[static_cast<std::size_t>(index.Field)];
  const auto& entries = index.Entries;
  auto compareAt = [&](int i) {
    return PrefixCompare(key, column[static_cast<std::size_t>(entries[static_cast<std::size_t>(i)].Record)]);
  };
  const int low = start;
  const int high = finish;
  while (true) {
    const int cs = compareAt(start);
    const int cf = compareAt(finish);
    if (cs < 0 || cf > 0) return {-1, -1};
    int found = -1;
    if (cs == 0) found = start;
    if (cf == 0) found = finish;
    const int mid = (start + finish) / 2;
    const int cm = compareAt(mid);
    if (cm == 0) found = mid;
    if (found == -1) {
      if (finish - start <= 1) return {-1, -1};
      if (cm < 0) {
        finish = mid;
      } else {
        start = mid;
      }
      continue;
    }
    int first = found;
    while (first - 1 >= low && compareAt(first - 1) == 0) --first;
    int last = found;
    while (last + 1 <= high && compareAt(last + 1) == 0) ++last;
    return {first, last};
  }
}
