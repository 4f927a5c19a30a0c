#pragma once

#include <bit>
#include <cstdint>
#include <string_view>

#include "TypedCompare.h"

// The key every sort of values carries, the indexes of the tables and the
// column sort of the grids alike: made once per value, it decides most
// comparisons of the typed comparison without reading the values again.
//
// Kind is the value's kind for the typed comparison. An integer, a date or a
// piece number keeps its whole-number key in Int, a number its double in
// Real (as ClassifyValue makes them). A text, which compares by its bytes,
// keeps its first sixteen bytes instead, big-endian and zero-padded (bytes 0
// to 7 in Int, bytes 8 to 15 in the bits of Real), and in Tail its bytes 16
// to 18 and its length (255 for 255 and more).
//
// The key fills 24 bytes, so that a sort entry with a 32-bit position beside
// it fits in 32.
struct TSortKey {
  TValueKind Kind = TValueKind::Text;
  std::uint32_t Tail = 0;
  std::int64_t Int = 0;
  double Real = 0;
};
static_assert(sizeof(TSortKey) == 24, "a sort key fills 24 bytes");

TSortKey SortKeyOf(std::string_view value);
// The key of any value as a text, by its bytes, whatever its kind.
TSortKey BytesKeyOf(std::string_view value);

// The first eight bytes of a text from the given offset, big-endian and
// zero-padded: comparing two of them as integers compares those bytes as the
// texts do.
std::uint64_t BytesAt(std::string_view text, std::size_t offset);

// Integers beyond 2^53 lose digits as doubles, so comparing them with reals
// is no longer consistent with comparing them with each other.
inline constexpr std::int64_t kExactDoubleLimit = std::int64_t(1) << 53;

// Among values of one family (the numbers, integers beyond 2^53 apart; the
// dates; the credit note, quote or invoice numbers), each kept with the
// empty text, which is below them all: a whole number that orders the
// values as the typed comparison does, equal for values it finds equal.
// A sort of such values compares these numbers instead of the keys.
std::uint64_t TypedRankOf(const TSortKey& key);
// The family of a kind for TypedRankOf: integers count as numbers.
inline TValueKind FamilyOf(TValueKind kind) { return kind == TValueKind::Integer ? TValueKind::Real : kind; }

// Whether the typed comparison of the value with any other value for which
// this holds compares their bytes: texts, and invoice numbers, whose five
// digits order them as their bytes do.
inline bool ComparesAsBytes(const TSortKey& key, std::string_view value) {
  return key.Kind == TValueKind::Text || (key.Kind == TValueKind::Facture && value.size() == 7);
}

// CompareSortKeys answers this when the keys leave the comparison to the
// values themselves.
inline constexpr int kKeysUndecided = 2;

// The typed comparison (identical texts equal, then integers, numbers,
// dates and piece numbers of one kind by value, everything else by bytes)
// from the keys alone: -1, 0, 1, or kKeysUndecided. Inline, as the next one:
// every sort calls them for each comparison.
inline int CompareSortKeys(const TSortKey& ka, const TSortKey& kb) {
  const TValueKind x = ka.Kind;
  const TValueKind y = kb.Kind;
  if (x == TValueKind::Text && y == TValueKind::Text) {
    const auto pa = static_cast<std::uint64_t>(ka.Int);
    const auto pb = static_cast<std::uint64_t>(kb.Int);
    if (pa != pb) return pa < pb ? -1 : 1;
    const auto qa = std::bit_cast<std::uint64_t>(ka.Real);
    const auto qb = std::bit_cast<std::uint64_t>(kb.Real);
    if (qa != qb) return qa < qb ? -1 : 1;
    const std::uint32_t ta = ka.Tail >> 8;
    const std::uint32_t tb = kb.Tail >> 8;
    if (ta != tb) return ta < tb ? -1 : 1;
    // Nineteen bytes equal (a shorter text padded with zeros): two texts no
    // longer than that differ only by their lengths.
    const std::uint32_t la = ka.Tail & 0xFF;
    const std::uint32_t lb = kb.Tail & 0xFF;
    if (la <= 19 && lb <= 19) return la < lb ? -1 : (la > lb ? 1 : 0);
    return kKeysUndecided;
  }
  // A text against any other kind compares bytes.
  if (x == TValueKind::Text || y == TValueKind::Text) return kKeysUndecided;
  if (x == TValueKind::Integer && y == TValueKind::Integer) return ka.Int < kb.Int ? -1 : (ka.Int > kb.Int ? 1 : 0);
  const bool xNumber = x == TValueKind::Integer || x == TValueKind::Real;
  const bool yNumber = y == TValueKind::Integer || y == TValueKind::Real;
  if (xNumber && yNumber) return ka.Real < kb.Real ? -1 : (ka.Real > kb.Real ? 1 : 0);
  if (x == y) return ka.Int < kb.Int ? -1 : (ka.Int > kb.Int ? 1 : 0);
  return kKeysUndecided;
}

// The typed comparison of two values whose keys are given: Compare of the
// string manager, with the values read only where the keys do not decide.
inline int CompareWithKeys(std::string_view a, const TSortKey& ka, std::string_view b, const TSortKey& kb) {
  const int c = CompareSortKeys(ka, kb);
  if (c != kKeysUndecided) return c;
  // Two texts whose first sixteen bytes are equal compare from there on.
  if (ka.Kind == TValueKind::Text && kb.Kind == TValueKind::Text && a.size() >= 16 && b.size() >= 16) {
    return CompareBytes(a.substr(16), b.substr(16));
  }
  return CompareBytes(a, b);
}
