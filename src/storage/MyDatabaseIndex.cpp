// The sorted per-field indexes of TMyDatabase: their sort, at the first use
// of an index or a step at a time while the program is idle, and their upkeep
// through single writes.

#include <algorithm>

#include "IndexSort.h"
#include "MyDatabase.h"
#include "SortKey.h"
#include "Trace.h"

const TFieldIndex& TMyDatabase::GetFieldIndex(int field) const {
  static const TFieldIndex kNoIndex = [] {
    TFieldIndex none;
    none.Field = -1;
    return none;
  }();
  if (field < 0 || field >= static_cast<int>(FieldIndexes.size())) return kNoIndex;
  const TFieldIndex& index = FieldIndexes[static_cast<std::size_t>(field)];
  // Reading an index sorts it first when it waits for its first use; the
  // table's values and flags stay as they are.
  if (!index.InOrder) const_cast<TMyDatabase*>(this)->SortIndex(field);
  return index;
}

bool TMyDatabase::GetIndexValid(int field) const {
  if (field < 0 || field >= static_cast<int>(IndexValid.size())) return false;
  return IndexValid[static_cast<std::size_t>(field)] != 0;
}

void TMyDatabase::BuildIndex(int field) {
  if (field < 0 || field >= FieldCount()) return;
  SortIndex(field);
  IndexValid[static_cast<std::size_t>(field)] = 1;
}

void TMyDatabase::SortIndex(int field) {
  const auto f = static_cast<std::size_t>(field);
  if (fIndexSort != nullptr && fIndexSort->Field() == field) fIndexSort.reset();
  TIndexSort sort(field, fDatas[f], DeletedFlags);
  sort.Recycle(std::move(FieldIndexes[f].Entries));
  sort.Run();
  sort.MoveInto(FieldIndexes[f]);
}

bool TMyDatabase::BuildWaitingIndex(std::size_t records) {
  // A sort begun in an earlier step is only carried on over the table it
  // began with.
  if (fIndexSort != nullptr && (fIndexSortChange != fChangeCount ||
                                FieldIndexes[static_cast<std::size_t>(fIndexSort->Field())].InOrder)) {
    fIndexSort.reset();
  }
  if (fIndexSort == nullptr) {
    int waiting = -1;
    for (int f = 0; f < FieldCount() && waiting < 0; ++f) {
      if (!FieldIndexes[static_cast<std::size_t>(f)].InOrder) waiting = f;
    }
    if (waiting < 0) return false;
    fIndexSort = std::make_unique<TIndexSort>(waiting, fDatas[static_cast<std::size_t>(waiting)], DeletedFlags);
    fIndexSortChange = fChangeCount;
  }
  if (fIndexSort->Step(records)) {
    fIndexSort->MoveInto(FieldIndexes[static_cast<std::size_t>(fIndexSort->Field())]);
    fIndexSort.reset();
  }
  return true;
}

// Every index is valid after a load, but each is sorted at its first use (a
// query on its field, a read of the index): a start-up over 300 000 records
// must not wait for fifteen sorts, most of which no screen needs yet.
void TMyDatabase::RebuildIndexes() {
  RefreshTrace();
  fIndexSort.reset();
  FieldIndexes.clear();
  FieldIndexes.resize(FieldNames.size());
  for (std::size_t f = 0; f < FieldIndexes.size(); ++f) FieldIndexes[f].Field = static_cast<int>(f);
  IndexValid.assign(FieldNames.size(), 1);
}

void TMyDatabase::EnsureIndex(int field) {
  const auto f = static_cast<std::size_t>(field);
  if (!FieldIndexes[f].InOrder) SortIndex(field);
  IndexValid[f] = 1;
}

// ---------------------------------------------------------------------------
// Upkeep of single records. A write, an added record or a revived one puts
// its entry where a binary search of the index says, instead of sorting the
// whole field again; the place among equal values is free. This holds while
// the index has a total order (Bytes or Typed) and the new value keeps it;
// otherwise the index is marked out of order and the next query sorts it.

// Whether the value can join the index without changing what its order
// promises.
bool TMyDatabase::FitsOrder(TFieldIndex& index, std::string_view value, const TIndexEntry& entry) const {
  if (!index.InOrder) return false;
  if (value.empty()) return index.Order != TIndexOrder::Mixed;
  const TValueKind kind = entry.Key.Kind;
  switch (index.Order) {
    case TIndexOrder::Bytes:
      if (kind == TValueKind::Text) return true;
      if (kind == TValueKind::Facture) return value.size() == 7;
      if (kind == TValueKind::Integer) {
        if (value.front() == '-' || value.back() < '0' || value.back() > '9') return false;
        if (index.DigitsLength == 0) index.DigitsLength = value.size();
        return value.size() == index.DigitsLength;
      }
      return false;
    case TIndexOrder::Typed:
      if (index.TypedKind == TValueKind::Real) {
        if (kind == TValueKind::Real) return true;
        return kind == TValueKind::Integer && entry.Key.Int <= kExactDoubleLimit && entry.Key.Int >= -kExactDoubleLimit;
      }
      return kind == index.TypedKind;
    case TIndexOrder::Mixed:
      break;
  }
  return false;
}

// The position after every entry that is not above the value.
std::size_t TMyDatabase::PlaceOf(const TFieldIndex& index, std::string_view value, const TIndexEntry& entry) const {
  const TValueColumn& column = fDatas[static_cast<std::size_t>(index.Field)];
  std::size_t lo = 0;
  std::size_t hi = index.Entries.size();
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    const TIndexEntry& e = index.Entries[mid];
    if (CompareWithKeys(column[static_cast<std::size_t>(e.Record)], e.Key, value, entry.Key) <= 0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

// The position of the record's entry, or the entry count when it has none.
// The record's value in the column must be the one its entry was placed by.
std::size_t TMyDatabase::FindEntry(const TFieldIndex& index, std::int32_t record) const {
  const auto& entries = index.Entries;
  if (index.InOrder && index.Order != TIndexOrder::Mixed) {
    const TValueColumn& column = fDatas[static_cast<std::size_t>(index.Field)];
    const std::string& value = column[static_cast<std::size_t>(record)];
    const TIndexEntry probe = IndexEntryOf(value, record);
    std::size_t lo = 0;
    std::size_t hi = entries.size();
    while (lo < hi) {
      const std::size_t mid = lo + (hi - lo) / 2;
      const TIndexEntry& e = entries[mid];
      if (CompareWithKeys(column[static_cast<std::size_t>(e.Record)], e.Key, value, probe.Key) < 0) {
        lo = mid + 1;
      } else {
        hi = mid;
      }
    }
    for (std::size_t i = lo; i < entries.size(); ++i) {
      if (entries[i].Record == record) return i;
      const TIndexEntry& e = entries[i];
      if (CompareWithKeys(column[static_cast<std::size_t>(e.Record)], e.Key, value, probe.Key) != 0) break;
    }
    return entries.size();
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].Record == record) return i;
  }
  return entries.size();
}

// Adds the entry of a record that had none (a new slot, a revived record),
// with its value as the column holds it.
void TMyDatabase::InsertEntry(int field, std::int32_t record) {
  TFieldIndex& index = FieldIndexes[static_cast<std::size_t>(field)];
  const std::string& value = fDatas[static_cast<std::size_t>(field)][static_cast<std::size_t>(record)];
  const TIndexEntry entry = IndexEntryOf(value, record);
  if (!FitsOrder(index, value, entry)) {
    index.InOrder = false;
    return;
  }
  const std::size_t at = PlaceOf(index, value, entry);
  const bool withPrefixes = index.Prefixes.size() == index.Entries.size();
  index.Entries.insert(index.Entries.begin() + static_cast<std::ptrdiff_t>(at), entry);
  if (withPrefixes) {
    index.Prefixes.Insert(at, value, record);
  } else {
    index.Prefixes.clear();
  }
}

// Moves a live record's entry to the place of its new value; called before
// the column takes the value.
void TMyDatabase::MoveEntry(int field, std::int32_t record, const std::string& value) {
  TFieldIndex& index = FieldIndexes[static_cast<std::size_t>(field)];
  if (!index.InOrder) return;
  const TIndexEntry entry = IndexEntryOf(value, record);
  const std::size_t from = FindEntry(index, record);
  if (from == index.Entries.size() || !FitsOrder(index, value, entry)) {
    index.InOrder = false;
    return;
  }
  std::size_t to = PlaceOf(index, value, entry);
  auto& entries = index.Entries;
  auto& prefixes = index.Prefixes;
  const bool withPrefixes = prefixes.size() == entries.size();
  auto move = [&](auto& v) {
    using Diff = std::ptrdiff_t;
    if (to > from) {
      std::rotate(v.begin() + static_cast<Diff>(from), v.begin() + static_cast<Diff>(from) + 1,
                  v.begin() + static_cast<Diff>(to));
    } else if (to < from) {
      std::rotate(v.begin() + static_cast<Diff>(to), v.begin() + static_cast<Diff>(from),
                  v.begin() + static_cast<Diff>(from) + 1);
    }
  };
  move(entries);
  if (withPrefixes) {
    move(prefixes.Bytes);
    move(prefixes.Places);
  }
  if (to > from) --to;
  entries[to] = entry;
  if (withPrefixes) {
    prefixes.Set(to, value, record);
  } else {
    prefixes.clear();
  }
}

void TMyDatabase::RemoveEntry(TFieldIndex& index, std::int32_t record) {
  // An index waiting to be sorted is sorted without the deleted records.
  if (!index.InOrder) return;
  const std::size_t at = FindEntry(index, record);
  if (at == index.Entries.size()) return;
  index.Entries.erase(index.Entries.begin() + static_cast<std::ptrdiff_t>(at));
  if (index.Prefixes.size() == index.Entries.size() + 1) {
    index.Prefixes.Erase(at);
  } else {
    index.Prefixes.clear();
  }
}

