#pragma once

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
// answers. cmp(a, b) returns a negative, zero or positive integer.
template <class T, class Cmp>
void TypedQuickSort(std::vector<T>& items, int left, int right, Cmp& cmp) {
  while (left < right) {
    int i = left;
    int j = right;
    const T pivot = items[static_cast<std::size_t>((left + right) / 2)];
    do {
      while (cmp(items[static_cast<std::size_t>(i)], pivot) < 0) ++i;
      while (cmp(items[static_cast<std::size_t>(j)], pivot) > 0) --j;
      if (i <= j) {
        if (i != j) std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (left < j) TypedQuickSort(items, left, j, cmp);
    left = i;
  }
}

template <class T, class Cmp>
void TypedQuickSort(std::vector<T>& items, Cmp cmp) {
  if (items.size() > 1) TypedQuickSort(items, 0, static_cast<int>(items.size()) - 1, cmp);
}
