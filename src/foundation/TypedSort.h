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

// The program's quicksort over a range (left, right), used by the column sort
// of the grids. The tie order it leaves is visible to the user, so it is kept
// exactly: pivot at (left + right) / 2, i from left and j from right; i
// advances while entry i is below the pivot, j moves back while entry j is
// above it; when i <= j the two are swapped and both step; then (left, j) is
// sorted when left < j and the whole repeats on (i, right) while i < right.
//
// This partition only ever compares entries with the pivot and its scans stop
// at the ends of the range (which matters only for a comparison that does not
// find the pivot equal to itself), so it stays within its range whatever the
// comparison answers.
//
// The two parts left by a partition are disjoint, so the order in which they
// are sorted does not change the result; the smaller one is sorted first by
// recursion and the larger one by the loop, which keeps the stack depth
// logarithmic whatever the data.
//
// Some orders (a sorted run followed by the same run again, organ pipes) make
// every partition split off only a few entries, which is quadratic: a column
// of 200 000 such values took most of a minute. Each range therefore has a
// budget of about 2 log2(n) lopsided splits (the smaller part under an eighth
// of the range); a range that exhausts it is finished by the merge sort. On
// ordinary data lopsided splits are rare and scattered, the budget is never
// spent, and the order, ties included, is the quicksort's.
template <class T, class A, class Cmp>
void TypedQuickSort(std::vector<T, A>& items, int left, int right, Cmp& cmp, int budget, std::vector<T, A>& buffer) {
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
    const int size = right - left + 1;
    const int smaller = std::max(0, std::min(j - left + 1, right - i + 1));
    if (size >= 16 && smaller < size / 8 && --budget < 0) {
      TypedMergeSort(items, static_cast<std::size_t>(left), static_cast<std::size_t>(right) + 1, cmp, buffer);
      return;
    }
    if (j - left < right - i) {
      if (left < j) TypedQuickSort(items, left, j, cmp, budget, buffer);
      left = i;
    } else {
      if (i < right) TypedQuickSort(items, i, right, cmp, budget, buffer);
      right = j;
    }
  }
}

template <class T, class A, class Cmp>
void TypedQuickSort(std::vector<T, A>& items, Cmp cmp) {
  if (items.size() < 2) return;
  int log2 = 0;
  while ((std::size_t(2) << log2) <= items.size()) ++log2;
  std::vector<T, A> buffer;
  TypedQuickSort(items, 0, static_cast<int>(items.size()) - 1, cmp, 2 * log2 + 2, buffer);
}
