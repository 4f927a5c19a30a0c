// Sorting a large mixed column with the typed comparison: the regular
// expressions on every comparison, the hand-written comparison on every
// comparison, and the values classified once before the sort.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "StringManager.h"
#include "TypedCompare.h"
#include "TypedSort.h"

namespace {

std::vector<std::string> MixedValues(std::size_t n) {
  std::mt19937_64 engine(200000);
  auto below = [&engine](std::uint64_t k) { return engine() % k; };
  static const char* const words[] = {"Doliprane", "Efferalgan", "Pharmacie du Centre", "Crème hydratante",
                                      "Sérum physiologique", "Gélules", "abc", "Zyrtec", "été", "Ibuprofène"};
  std::vector<std::string> values;
  values.reserve(n);
  char buf[64];
  for (std::size_t k = 0; k < n; ++k) {
    switch (below(9)) {
      case 0: values.push_back(std::to_string(static_cast<long long>(below(2000000)) - 1000000)); break;
      case 1:
        std::snprintf(buf, sizeof buf, "%llu,%02llu", static_cast<unsigned long long>(below(10000)),
                      static_cast<unsigned long long>(below(100)));
        values.push_back(buf);
        break;
      case 2:
        std::snprintf(buf, sizeof buf, "%llu.%03llu", static_cast<unsigned long long>(below(1000)),
                      static_cast<unsigned long long>(below(1000)));
        values.push_back(buf);
        break;
      case 3:
        std::snprintf(buf, sizeof buf, "%02llu/%02llu/%04llu", static_cast<unsigned long long>(1 + below(28)),
                      static_cast<unsigned long long>(1 + below(12)), static_cast<unsigned long long>(2000 + below(30)));
        values.push_back(buf);
        break;
      case 4:
        std::snprintf(buf, sizeof buf, "FA%05llu", static_cast<unsigned long long>(below(100000)));
        values.push_back(buf);
        break;
      case 5:
        std::snprintf(buf, sizeof buf, "DE%04llu", static_cast<unsigned long long>(below(10000)));
        values.push_back(buf);
        break;
      case 6:
        std::snprintf(buf, sizeof buf, "AV%03llu", static_cast<unsigned long long>(below(1000)));
        values.push_back(buf);
        break;
      default:
        values.push_back(std::string(words[below(sizeof words / sizeof words[0])]) + " " +
                         std::to_string(below(1000)));
        break;
    }
  }
  return values;
}

double Milliseconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

}  // namespace

int main() {
  const std::size_t n = 200000;
  const std::vector<std::string> values = MixedValues(n);
  TStringManager& s = StringManager();
  long long comparisons = 0;

  std::vector<std::string> byPatterns = values;
  auto start = std::chrono::steady_clock::now();
  auto patterns = [&s, &comparisons](const std::string& a, const std::string& b) {
    ++comparisons;
    return s.CompareByPatterns(a, b);
  };
  TypedQuickSort(byPatterns, patterns);
  const double patternMs = Milliseconds(start);
  const long long patternComparisons = comparisons;

  std::vector<std::string> byCompare = values;
  start = std::chrono::steady_clock::now();
  TypedQuickSort(byCompare, [&s](const std::string& a, const std::string& b) { return s.Compare(a, b); });
  const double compareMs = Milliseconds(start);

  start = std::chrono::steady_clock::now();
  std::vector<std::pair<std::string, TTypedKey>> keyed;
  keyed.reserve(n);
  for (const std::string& v : values) keyed.emplace_back(v, ClassifyValue(v));
  auto byKey = [](const std::pair<std::string, TTypedKey>& a, const std::pair<std::string, TTypedKey>& b) {
    return CompareClassified(a.first, a.second, b.first, b.second);
  };
  TypedQuickSort(keyed, byKey);
  const double keyedMs = Milliseconds(start);

  // What the sort costs with the cheapest comparison: the floor of the others.
  std::vector<std::string> byBytes = values;
  start = std::chrono::steady_clock::now();
  TypedQuickSort(byBytes, [](const std::string& a, const std::string& b) { return CompareBytes(a, b); });
  const double bytesMs = Milliseconds(start);

  bool same = byPatterns == byCompare;
  for (std::size_t k = 0; same && k < n; ++k) same = keyed[k].first == byPatterns[k];

  std::printf("typed sort of %zu mixed values (%lld comparisons)\n", n, patternComparisons);
  std::printf("  regular expressions per comparison : %10.1f ms\n", patternMs);
  std::printf("  hand-written Compare per comparison: %10.1f ms  (%.1f x faster)\n", compareMs, patternMs / compareMs);
  std::printf("  classified once, then compared     : %10.1f ms  (%.1f x faster)\n", keyedMs, patternMs / keyedMs);
  std::printf("  bytes only, for reference           : %10.1f ms\n", bytesMs);
  std::printf("  same order: %s\n", same ? "yes" : "NO");
  return same ? 0 : 1;
}
