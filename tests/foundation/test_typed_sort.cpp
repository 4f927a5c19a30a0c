#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "StringManager.h"
#include "TypedSort.h"

namespace {

using TEntry = std::pair<std::string, char>;

int CompareEntries(const TEntry& a, const TEntry& b) { return StringManager().Compare(a.first, b.first); }

std::string Tags(const std::vector<TEntry>& items) {
  std::string tags;
  for (const TEntry& e : items) tags += e.second;
  return tags;
}

std::vector<TEntry> Entries(const std::vector<std::string>& texts) {
  std::vector<TEntry> items;
  for (std::size_t k = 0; k < texts.size(); ++k) items.emplace_back(texts[k], static_cast<char>('a' + k));
  return items;
}

// The partition of the column sort written plainly: no bounds on the scans,
// the left part always sorted by recursion, the right part by the loop.
template <class T, class Cmp>
void PlainQuickSort(std::vector<T>& items, int left, int right, Cmp& cmp) {
  while (left < right) {
    int i = left;
    int j = right;
    const T pivot = items[static_cast<std::size_t>((left + right) / 2)];
    do {
      while (cmp(items[static_cast<std::size_t>(i)], pivot) < 0) ++i;
      while (cmp(items[static_cast<std::size_t>(j)], pivot) > 0) --j;
      if (i <= j) {
        std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (left < j) PlainQuickSort(items, left, j, cmp);
    left = i;
  }
}

std::vector<std::string> MixedTexts(std::mt19937_64& engine, std::size_t n) {
  static const char* const pool[] = {"2",   "10",   "1a",         "9",          "2,5",   "-1",  "abc",
                                     "B",   "a",    "\xE9t\xE9",  "01/02/2024", "15/01/2024", "AV999",
                                     "AV1000", "FA00001", "DE1234", "", "10\n", "0", "0,0"};
  std::vector<std::string> texts;
  for (std::size_t k = 0; k < n; ++k) texts.push_back(pool[engine() % (sizeof pool / sizeof pool[0])]);
  return texts;
}

}  // namespace

TEST(TypedSort, TieOrderOfASmallExample) {
  // Worked by hand: pivot "10" (c) swaps a and e, then c and d; the left part
  // e b d gets pivot b and swaps e and d; the right part c a swaps.
  std::vector<TEntry> items = Entries({"10", "9", "10", "9", "10"});
  TypedQuickSort(items, CompareEntries);
  EXPECT_EQ(Tags(items), "dbeac");
}

TEST(TypedSort, SortsEachKindInItsOrder) {
  std::vector<TEntry> items = Entries({"FA00010", "AV1000", "AV999", "FA00009"});
  TypedQuickSort(items, CompareEntries);
  EXPECT_EQ(Tags(items), "cbda");
  std::vector<TEntry> numbers = Entries({"10", "2,5", "-3", "9", "0,5", "100"});
  TypedQuickSort(numbers, CompareEntries);
  EXPECT_EQ(Tags(numbers), "cebdaf");
  std::vector<TEntry> dates = Entries({"01/02/2024", "15/01/2024", "31/12/2023"});
  TypedQuickSort(dates, CompareEntries);
  EXPECT_EQ(Tags(dates), "cba");
  std::vector<TEntry> words = Entries({"\xE9t\xE9", "a", "B", "Ab"});
  TypedQuickSort(words, CompareEntries);
  EXPECT_EQ(Tags(words), "dcba");
}

TEST(TypedSort, EmptyAndSingleRanges) {
  std::vector<TEntry> none;
  TypedQuickSort(none, CompareEntries);
  EXPECT_TRUE(none.empty());
  std::vector<TEntry> one = Entries({"x"});
  TypedQuickSort(one, CompareEntries);
  EXPECT_EQ(Tags(one), "a");
}

TEST(TypedSort, SameOrderAsThePlainPartition) {
  // The bounded scans and the smaller-part-first recursion must leave exactly
  // the order of the plain algorithm, ties and intransitive kinds included.
  std::mt19937_64 engine(7);
  for (int round = 0; round < 300; ++round) {
    const std::vector<std::string> texts = MixedTexts(engine, 1 + engine() % 300);
    std::vector<std::pair<std::string, int>> a;
    for (std::size_t k = 0; k < texts.size(); ++k) a.emplace_back(texts[k], static_cast<int>(k));
    std::vector<std::pair<std::string, int>> b = a;
    auto cmp = [](const std::pair<std::string, int>& x, const std::pair<std::string, int>& y) {
      return StringManager().Compare(x.first, y.first);
    };
    TypedQuickSort(a, cmp);
    PlainQuickSort(b, 0, static_cast<int>(b.size()) - 1, cmp);
    ASSERT_EQ(a, b) << "round " << round;
  }
}

TEST(TypedSort, IntransitiveComparisonsStayInRange) {
  // Rock, paper, scissors: every value beats one and loses to another.
  std::mt19937_64 engine(11);
  auto cycle = [](int x, int y) {
    if (x == y) return 0;
    return (x + 1) % 3 == y ? -1 : 1;
  };
  for (int round = 0; round < 200; ++round) {
    std::vector<int> items;
    const std::size_t n = 1 + engine() % 2000;
    for (std::size_t k = 0; k < n; ++k) items.push_back(static_cast<int>(engine() % 3));
    std::vector<int> sorted = items;
    TypedQuickSort(sorted, cycle);
    std::sort(items.begin(), items.end());
    std::vector<int> again = sorted;
    std::sort(again.begin(), again.end());
    ASSERT_EQ(again, items) << "the sort must only move entries";
  }
}

TEST(TypedSort, ArbitraryAnswersNeverLeaveTheRange) {
  // A comparison that answers at random, even for the pivot against itself.
  std::mt19937_64 engine(13);
  std::mt19937_64 answers(17);
  auto random = [&answers](int, int) { return static_cast<int>(answers() % 3) - 1; };
  for (int round = 0; round < 200; ++round) {
    std::vector<int> items;
    const std::size_t n = 1 + engine() % 500;
    for (std::size_t k = 0; k < n; ++k) items.push_back(static_cast<int>(k));
    TypedQuickSort(items, random);
    std::vector<int> check = items;
    std::sort(check.begin(), check.end());
    for (std::size_t k = 0; k < n; ++k) ASSERT_EQ(check[k], static_cast<int>(k));
  }
}

TEST(TypedSort, LargeMixedTablesAndAdversarialOrders) {
  std::mt19937_64 engine(19);
  std::vector<std::string> texts = MixedTexts(engine, 50000);
  std::vector<TEntry> items;
  for (const std::string& t : texts) items.emplace_back(t, 'x');
  TypedQuickSort(items, CompareEntries);
  EXPECT_EQ(items.size(), 50000u);
  // Integers alone are totally ordered: the result is ascending.
  std::vector<std::string> numbers;
  for (int k = 0; k < 20000; ++k) numbers.push_back(std::to_string((k * 7919) % 20000));
  auto byText = [](const std::string& a, const std::string& b) { return StringManager().Compare(a, b); };
  TypedQuickSort(numbers, byText);
  for (int k = 0; k < 20000; ++k) ASSERT_EQ(numbers[static_cast<std::size_t>(k)], std::to_string(k));
  // Many equal keys and sorted or reversed input.
  std::vector<std::string> same(30000, "FA00001");
  TypedQuickSort(same, byText);
  std::vector<std::string> reversed;
  for (int k = 30000; k > 0; --k) reversed.push_back(std::to_string(k));
  TypedQuickSort(reversed, byText);
  EXPECT_EQ(reversed.front(), "1");
  EXPECT_EQ(reversed.back(), "30000");
}

namespace {

// Orders that make a middle-pivot quicksort split off a few entries at a
// time, and ordinary ones, as integers 0 .. n-1 (or fewer distinct values).
std::vector<int> Order(const std::string& name, int n) {
  std::vector<int> v(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    const int half = k % (n / 2);
    int x = k;
    if (name == "sorted run, then the same run again") x = half;
    if (name == "two ascending runs of repeated values") x = half / 2;
    if (name == "organ pipe") x = k < n / 2 ? k : n - k;
    if (name == "reversed") x = n - k;
    if (name == "all equal") x = 7;
    if (name == "eight ascending runs") x = k % (n / 8);
    v[static_cast<std::size_t>(k)] = x;
  }
  if (name == "shuffled") std::shuffle(v.begin(), v.end(), std::mt19937(5));
  return v;
}

long long Comparisons(const std::string& name, int n, bool merge) {
  std::vector<int> v = Order(name, n);
  long long count = 0;
  auto cmp = [&count](int a, int b) {
    ++count;
    return a < b ? -1 : (a > b ? 1 : 0);
  };
  if (merge) {
    TypedMergeSort(v, cmp);
  } else {
    TypedQuickSort(v, cmp);
  }
  EXPECT_TRUE(std::is_sorted(v.begin(), v.end())) << name;
  return count;
}

}  // namespace

// Counted comparisons, not time: an adversarial order may cost a few times
// what a sorted column costs, never the square of its length.
TEST(TypedSort, NoOrderIsQuadratic) {
  const int n = 20000;
  const double nLog2n = n * std::log2(static_cast<double>(n));
  const long long sortedQuick = Comparisons("sorted", n, false);
  for (const char* name : {"sorted run, then the same run again", "two ascending runs of repeated values", "organ pipe",
                           "reversed", "all equal", "eight ascending runs", "shuffled"}) {
    SCOPED_TRACE(name);
    EXPECT_LE(Comparisons(name, n, false), 4 * sortedQuick) << "column sort";
    EXPECT_LE(Comparisons(name, n, true), static_cast<long long>(nLog2n)) << "index sort";
  }
}

TEST(TypedSort, ColumnSortKeepsTheQuicksortOrderOnOrdinaryData) {
  // Large random columns with many ties never spend the budget: the order,
  // ties included, is the one of the plain partition, whether sorted at
  // once or a few comparisons at a time.
  std::mt19937_64 engine(23);
  auto cmp = [](const std::pair<int, int>& x, const std::pair<int, int>& y) {
    return x.first < y.first ? -1 : (x.first > y.first ? 1 : 0);
  };
  for (int round = 0; round < 4; ++round) {
    std::vector<std::pair<int, int>> a;
    for (int k = 0; k < 50000; ++k) a.emplace_back(static_cast<int>(engine() % (round % 2 == 0 ? 40 : 50000)), k);
    std::vector<std::pair<int, int>> b = a;
    std::vector<std::pair<int, int>> c = a;
    TypedQuickSort(a, cmp);
    PlainQuickSort(b, 0, static_cast<int>(b.size()) - 1, cmp);
    ASSERT_EQ(a, b) << "round " << round;
    TTypedQuickSort<std::pair<int, int>, std::allocator<std::pair<int, int>>, decltype(cmp)> steps(c, cmp);
    int slices = 0;
    while (!steps.Step(round + 1)) ++slices;
    EXPECT_GT(slices, 1000);
    ASSERT_EQ(c, b) << "in steps, round " << round;
  }
  // Orders that spend the budget: each range that does is finished by the
  // merge sort, in steps as at once.
  for (const char* name : {"sorted run, then the same run again", "organ pipe"}) {
    std::vector<std::pair<int, int>> a;
    for (const int x : Order(name, 20000)) a.emplace_back(x / 3, static_cast<int>(a.size()));
    std::vector<std::pair<int, int>> c = a;
    TypedQuickSort(a, cmp);
    TTypedQuickSort<std::pair<int, int>, std::allocator<std::pair<int, int>>, decltype(cmp)> steps(c, cmp);
    while (!steps.Step(1)) {
    }
    ASSERT_EQ(c, a) << name;
  }
}

TEST(TypedSort, MergeSortIsStableAndStaysInRange) {
  std::vector<TEntry> items = Entries({"10", "9", "10", "9", "10"});
  TypedMergeSort(items, CompareEntries);
  EXPECT_EQ(Tags(items), "bdace");
  std::mt19937_64 answers(29);
  auto random = [&answers](int, int) { return static_cast<int>(answers() % 3) - 1; };
  for (int round = 0; round < 100; ++round) {
    std::vector<int> v;
    for (int k = 0; k < 1 + round * 37; ++k) v.push_back(k);
    TypedMergeSort(v, random);
    std::sort(v.begin(), v.end());
    for (int k = 0; k < static_cast<int>(v.size()); ++k) ASSERT_EQ(v[static_cast<std::size_t>(k)], k);
  }
}
