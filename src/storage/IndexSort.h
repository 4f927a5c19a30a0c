#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "LargeAllocator.h"
#include "MyDatabase.h"

// The sort of one field's index, from the values of the live records: the
// entries in ascending typed order, equal values in record order. It can be
// done at once (Run) or a step at a time (Step), so that the program can do
// it while idle without holding up the desk for longer than a step.
//
// An index whose values are all of one family (texts and codes compared by
// their bytes, numbers, dates, or piece numbers of one kind) is sorted by a
// radix sort on its entries' keys: a key of at most 28 bytes decides every
// comparison but those of long texts sharing their first 27 bytes, which
// are then compared by their bytes. Mixed families are merge
// sorted with the typed comparison.
//
// The column and flags are read at every step: the caller drops the sort
// when the table changes between two steps.
class TIndexSort {
public:
  TIndexSort(int field, const TValueColumn& column, const std::vector<std::uint8_t>& deletedFlags);

  // Does about `records` records' worth of the work; true once all is done.
  bool Step(std::size_t records);
  // The whole sort.
  void Run() {
    while (!Step(static_cast<std::size_t>(-1))) {
    }
  }
  // Puts the sorted entries into the index, which becomes in order.
  void MoveInto(TFieldIndex& index);
  // The memory of an index sorted before, for the entries sorted now: fresh
  // memory would first have to be cleared.
  void Recycle(std::vector<TIndexEntry>&& entries) {
    fEntries = std::move(entries);
    fEntries.clear();
  }

  int Field() const { return fField; }

private:
  // One entry on its way: the index order is that of (High, Low, Mid, Tail),
  // then of Position, the entry's place in record order. In byte order those
  // are the value's first 27 bytes and its length (any length from 28 up
  // counting as 28); in typed order High alone.
  struct TItem {
    std::uint64_t High;
    std::uint64_t Low;
    std::uint64_t Mid;
    std::uint32_t Tail;
    std::uint32_t Position;
  };
  // In typed order the rank alone, in half the room.
  struct TRankItem {
    std::uint64_t Rank;
    std::uint32_t Position;
    std::uint32_t Unused;
  };
  // Every array comes from the usual heap, which gives the memory of one
  // field's sort to the next one: fresh pages would each be cleared first.
  using TItems = std::vector<TItem>;
  using TRankItems = std::vector<TRankItem>;
  using TWork = std::vector<TIndexEntry>;
  using TEntries = std::vector<TIndexEntry>;
  enum class TPhase { Collect, Plan, Radix, Place, Refine, Done };

  void Collect(std::size_t records);
  void Plan();
  template <class Item>
  void PlanDigits(const std::vector<Item>& items, const Item& differing, int digits);
  template <class Item>
  void RadixPass(std::vector<Item>& items, std::vector<Item>& spare);
  void Place();
  bool Refine(std::size_t records);

  int fField;
  const TValueColumn& fColumn;
  const std::vector<std::uint8_t>& fDeleted;
  TPhase fPhase = TPhase::Collect;
  std::size_t fNextRecord = 0;

  // What the values are decides the order of the index.
  unsigned fKinds = 0;
  bool fDigitsOneLength = true;
  std::size_t fDigitsLength = 0;
  bool fPlainFacture = true;
  bool fBigInteger = false;
  TIndexOrder fOrder = TIndexOrder::Mixed;
  TValueKind fTypedKind = TValueKind::Text;

  // The entries in record order, then (once placed) in index order.
  TWork fWork;
  TEntries fEntries;
  TItems fItems;
  TItems fSpare;
  TRankItems fRanks;
  TRankItems fRankSpare;
  // The key bytes that differ between items (0 to 19, least significant
  // first), the counts of each byte value for them, and the next one to sort.
  std::vector<int> fDigits;
  std::vector<std::size_t> fCounts;
  std::size_t fNextDigit = 0;
  std::size_t fNextRun = 0;
  TIndexPrefixes fPrefixes;
};
