#pragma once

#include <cstddef>
#include <utility>
#include <vector>

// The program's quicksort over a range (left, right), used by the column sort
// of the grids and by the table indexes. The tie order it leaves is visible to
// the user, so it is kept exactly: pivot at (left + right) / 2, i from left and
// j from right; i advances while entry i is below the pivot, j moves back while
// entry j is above it; when i <= j the two are swapped and both step; then
// (left, j) is sorted when left < j and the whole repeats on (i, right) while
// i < right.
//
// The typed comparison is not transitive across kinds ("2" < "10" < "1a" <
// "2"), which std::sort does not tolerate; this partition only ever compares
// entries with the pivot and stays within its range whatever the comparison
// answers (the scans also stop at the ends of the range, which matters only
// for a comparison that does not find the pivot equal to itself). cmp(a, b)
// returns a negative, zero or positive integer.
//
// The two parts left by a partition are disjoint, so the order in which they
// are sorted does not change the result; the smaller one is sorted first by
// recursion and the larger one by the loop, which keeps the stack depth
// logarithmic whatever the data.
template <class T, class Cmp>
void TypedQuickSort(std::vector<T>& items, int left, int right, Cmp& cmp) {
  while (left < right) {
    int i = left;
    int j = right;
    const T pivot = items[static_cast<std::size_t>((left + right) / 2)];
    do {
      while (i < right && cmp(items[static_cast<std::size_t>(i)], pivot) < 0) ++i;
      while (j > left && cmp(items[static_cast<std::size_t>(j)], pivot) > 0) --j;
      if (i <= j) {
        if (i != j) std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - left < right - i) {
      if (left < j) TypedQuickSort(items, left, j, cmp);
      left = i;
    } else {
      if (i < right) TypedQuickSort(items, i, right, cmp);
      right = j;
    }
  }
}

template <class T, class Cmp>
void TypedQuickSort(std::vector<T>& items, Cmp cmp) {
  if (items.size() > 1) TypedQuickSort(items, 0, static_cast<int>(items.size()) - 1, cmp);
}
