#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

// The two sorts of the program. Both take a comparison cmp(a, b) returning a
// negative, zero or positive integer, and both tolerate the typed comparison,
// which is not transitive across kinds ("2" < "10" < "1a" < "2"), where
// std::sort would read outside the range: whatever the comparison answers,
// they only ever move entries within their range.

// A merge sort: O(n log n) whatever the order of the input, linear on input
// that is already in order, stable. The indexes of the tables use it, and the
// column sort falls back on it.
template <class T, class A, class Cmp>
void TypedMergeSort(std::vector<T, A>& items, std::size_t first, std::size_t last, Cmp& cmp,
                    std::vector<T, A>& buffer) {
  const std::size_t n = last - first;
  if (n < 2) return;
  if (n <= 16) {
    // Insertion: each entry moves left while it is below the one before it;
    // the scan stops at the start of the range.
    for (std::size_t i = first + 1; i < last; ++i) {
      if (cmp(items[i], items[i - 1]) >= 0) continue;
      T moving = std::move(items[i]);
      std::size_t j = i;
      do {
        items[j] = std::move(items[j - 1]);
        --j;
      } while (j > first && cmp(moving, items[j - 1]) < 0);
      items[j] = std::move(moving);
    }
    return;
  }
  const std::size_t middle = first + n / 2;
  TypedMergeSort(items, first, middle, cmp, buffer);
  TypedMergeSort(items, middle, last, cmp, buffer);
  // Two halves already in order need no merge.
  if (cmp(items[middle - 1], items[middle]) <= 0) return;
  // The first half goes aside and is merged back with the second, which is
  // read ahead of where the merge writes.
  buffer.clear();
  for (std::size_t k = first; k < middle; ++k) buffer.push_back(std::move(items[k]));
  std::size_t a = 0;
  const std::size_t aEnd = buffer.size();
  std::size_t b = middle;
  std::size_t out = first;
  while (a < aEnd && b < last) {
    if (cmp(items[b], buffer[a]) < 0) {
      items[out++] = std::move(items[b++]);
    } else {
      items[out++] = std::move(buffer[a++]);
    }
  }
  // What is left of the second half is already in place.
  while (a < aEnd) items[out++] = std::move(buffer[a++]);
}

template <class T, class A, class Cmp>
void TypedMergeSort(std::vector<T, A>& items, Cmp cmp) {
  std::vector<T, A> buffer;
  buffer.reserve(items.size());
  TypedMergeSort(items, 0, items.size(), cmp, buffer);
}

// The program's quicksort, used by the column sort of the grids. The tie
// order it leaves is visible to the user, so it is kept exactly: over a range
// (left, right), first (0, n - 1), the pivot is at (left + right) / 2, i runs
// from left and j from right; i advances while entry i is below the pivot, j
// moves back while entry j is above it; when i <= j the two are swapped and
// both step; then (left, j) is sorted when left < j and (i, right) when
// i < right.
//
// This partition only ever compares entries with the pivot and its scans stop
// at the ends of the range (which matters only for a comparison that does not
// find the pivot equal to itself), so it stays within its range whatever the
// comparison answers.
//
// The two parts left by a partition are disjoint, so the order in which they
// are sorted does not change the result. The ranges waiting to be sorted are
// kept on a stack, the smaller part on top, which keeps it logarithmic
// whatever the data; and the sort can stop between two ranges and go on
// later: a list prepared while the program is idle is sorted a slice at a
// time, with exactly the order of a sort done at once.
//
// Some orders (a sorted run followed by the same run again, organ pipes) make
// every partition split off only a few entries, which is quadratic: a column
// of 200 000 such values took most of a minute. Each range therefore has a
// budget of about 2 log2(n) lopsided splits (the smaller part under an eighth
// of the range), which its parts inherit; a range that exhausts it is
// finished by the merge sort. On ordinary data lopsided splits are rare and
// scattered, the budget is never spent, and the order, ties included, is the
// quicksort's.
template <class T, class A, class Cmp>
class TTypedQuickSort {
public:
  TTypedQuickSort(std::vector<T, A>& items, Cmp cmp) : fItems(items), fCmp(std::move(cmp)) {
    if (items.size() < 2) return;
    int log2 = 0;
    while ((std::size_t(2) << log2) <= items.size()) ++log2;
    fRanges.push_back(TRange{0, static_cast<int>(items.size()) - 1, 2 * log2 + 2});
  }

  bool Done() const { return fRanges.empty(); }

  // Sorts ranges until about `work` comparisons were made (a range is
  // partitioned whole, so a step may go over by one partition); true when
  // every range is sorted.
  bool Step(std::size_t work) {
    std::size_t spent = 0;
    while (!fRanges.empty() && spent < work) {
      const TRange range = fRanges.back();
      fRanges.pop_back();
      spent += Partition(range);
    }
    return fRanges.empty();
  }

  void Run() { Step(static_cast<std::size_t>(-1)); }

private:
  struct TRange {
    int Left;
    int Right;
    int Budget;
  };

  // Partitions one range and puts its parts on the stack; answers about the
  // comparisons it made.
  std::size_t Partition(TRange range) {
    const int left = range.Left;
    const int right = range.Right;
    int i = left;
    int j = right;
    const T pivot = fItems[static_cast<std::size_t>((left + right) / 2)];
    do {
      while (i < right && fCmp(fItems[static_cast<std::size_t>(i)], pivot) < 0) ++i;
      while (j > left && fCmp(fItems[static_cast<std::size_t>(j)], pivot) > 0) --j;
      if (i <= j) {
        if (i != j) std::swap(fItems[static_cast<std::size_t>(i)], fItems[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    const int size = right - left + 1;
    const int smaller = std::max(0, std::min(j - left + 1, right - i + 1));
    if (size >= 16 && smaller < size / 8 && --range.Budget < 0) {
      TypedMergeSort(fItems, static_cast<std::size_t>(left), static_cast<std::size_t>(right) + 1, fCmp, fBuffer);
      std::size_t log2 = 1;
      while ((std::size_t(1) << log2) < static_cast<std::size_t>(size)) ++log2;
      return static_cast<std::size_t>(size) * (1 + log2);
    }
    const TRange low{left, j, range.Budget};
    const TRange high{i, right, range.Budget};
    const bool lowSmaller = j - left < right - i;
    const TRange& first = lowSmaller ? high : low;
    const TRange& second = lowSmaller ? low : high;
    if (first.Left < first.Right) fRanges.push_back(first);
    if (second.Left < second.Right) fRanges.push_back(second);
    return static_cast<std::size_t>(size);
  }

  std::vector<T, A>& fItems;
  Cmp fCmp;
  std::vector<TRange> fRanges;
  std::vector<T, A> fBuffer;
};

template <class T, class A, class Cmp>
void TypedQuickSort(std::vector<T, A>& items, Cmp cmp) {
  TTypedQuickSort<T, A, Cmp>(items, std::move(cmp)).Run();
}
