#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SortKey.h"
#include "TypedSort.h"

// A row on its way to its sorted place: the sort key of its text in the
// sorted column (the key every sort of the program uses), the row, and the
// text, read in place where the keys do not decide.
struct TSortEntry {
  TSortKey Key;
  int Row;
  std::string_view Text;
};

// A type of its own, so that the sort's calls are inlined.
struct TCompareEntries {
  int operator()(const TSortEntry& a, const TSortEntry& b) const { return CompareWithKeys(a.Text, a.Key, b.Text, b.Key); }
};

// A row of a column whose texts are all of one family (numbers, dates or
// piece numbers of one kind, and empty texts): the rank of its text
// decides every comparison exactly as the keys would, so the quicksort
// makes the same moves over these smaller entries.
struct TRankEntry {
  std::uint64_t Rank;
  int Row;
};

struct TCompareRanks {
  int operator()(const TRankEntry& a, const TRankEntry& b) const {
    return a.Rank < b.Rank ? -1 : (a.Rank > b.Rank ? 1 : 0);
  }
};

// How the ranks of a column are made, when its texts allow one that decides
// every comparison exactly: TypedRankOf for texts all of one family (empty
// texts apart), or for texts of seven bytes or fewer (codes) their bytes
// followed by their length, which orders them as their bytes do; or, for
// texts that all compare by their bytes, read from the places of the rows
// of a list sorted before (TMyStringGrid::SortedRows).
enum class TRanks { None, Typed, ShortTexts, Places };

// The sort of a grid's data rows by one column, kept between the steps of
// TMyStringGrid::BeginSort, SortStep and FinishSort: what was remembered of
// the selected row, the column keyed so far, and the quicksort under way.
// The entries read the texts in place, so nothing may write to the grid
// between the steps.
class TColumnSort {
public:
  TColumnSort() = default;
  TColumnSort(const TColumnSort&) = delete;
  TColumnSort& operator=(const TColumnSort&) = delete;

private:
  friend class TMyStringGrid;

  int fCol = 0;
  int fRows = 0;
  std::vector<std::string> fRemembered;
  int fOffset = 0;
  std::vector<TSortEntry> fList;
  // The next row to key; the rows are all keyed when it reaches fRows.
  int fNextRow = 0;
  bool fRanked = false;
  TRanks fByRanks = TRanks::None;
  std::vector<TRankEntry> fRanks;
  std::optional<TTypedQuickSort<TRankEntry, std::allocator<TRankEntry>, TCompareRanks>> fRankSort;
  std::optional<TTypedQuickSort<TSortEntry, std::allocator<TSortEntry>, TCompareEntries>> fEntrySort;
  bool fSorted = false;
  // The sorted entries checked so far for equal neighbours, and whether
  // none was found.
  std::size_t fChecked = 0;
  bool fStrict = true;
};
