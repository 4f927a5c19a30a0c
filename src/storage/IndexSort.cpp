#include "IndexSort.h"

#include <algorithm>
#include <bit>
#include <type_traits>

#include "TypedSort.h"

namespace {

// Digit d (0 least significant) of an item's key: a byte of Tail, then of
// Mid, of Low, of High.
template <class Item>
inline unsigned DigitOf(const Item& item, int d) {
  if (d < 4) return (item.Tail >> (8 * d)) & 0xFF;
  if (d < 12) return static_cast<unsigned>((item.Mid >> (8 * (d - 4))) & 0xFF);
  if (d < 20) return static_cast<unsigned>((item.Low >> (8 * (d - 12))) & 0xFF);
  return static_cast<unsigned>((item.High >> (8 * (d - 20))) & 0xFF);
}

template <class Item>
inline unsigned RankDigitOf(const Item& item, int d) {
  return static_cast<unsigned>((item.Rank >> (8 * d)) & 0xFF);
}

constexpr int kDigits = 28;
// In byte order the length stops at this: texts of that length or longer
// that share their first 27 bytes are compared by their bytes.
constexpr std::uint32_t kLongText = 28;

}  // namespace

TIndexSort::TIndexSort(int field, const TValueColumn& column, const std::vector<std::uint8_t>& deletedFlags)
    : fField(field), fColumn(column), fDeleted(deletedFlags) {}

template <class Item>
void TIndexSort::RadixPass(std::vector<Item>& items, std::vector<Item>& spare) {
  const int d = fDigits[fNextDigit];
  std::size_t* counts = &fCounts[fNextDigit * 256];
  std::size_t offset = 0;
  for (int b = 0; b < 256; ++b) {
    const std::size_t c = counts[b];
    counts[b] = offset;
    offset += c;
  }
  spare.resize(items.size());
  for (const Item& item : items) {
    if constexpr (std::is_same_v<Item, TRankItem>) {
      spare[counts[RankDigitOf(item, d)]++] = item;
    } else {
      spare[counts[DigitOf(item, d)]++] = item;
    }
  }
  items.swap(spare);
}

template <class Item>
void TIndexSort::PlanDigits(const std::vector<Item>& items, const Item& differing, int digits) {
  auto digitOf = [](const Item& item, int d) {
    if constexpr (std::is_same_v<Item, TRankItem>) {
      return RankDigitOf(item, d);
    } else {
      return DigitOf(item, d);
    }
  };
  fDigits.clear();
  for (int d = 0; d < digits; ++d) {
    if (digitOf(differing, d) != 0) fDigits.push_back(d);
  }
  fCounts.assign(fDigits.size() * 256, 0);
  for (const Item& item : items) {
    for (std::size_t k = 0; k < fDigits.size(); ++k) ++fCounts[k * 256 + digitOf(item, fDigits[k])];
  }
  fNextDigit = 0;
  fPhase = fDigits.empty() ? TPhase::Place : TPhase::Radix;
}

bool TIndexSort::Step(std::size_t records) {
  switch (fPhase) {
    case TPhase::Collect:
      Collect(records);
      return false;
    case TPhase::Plan:
      Plan();
      return fPhase == TPhase::Done;
    case TPhase::Radix:
      // One byte of the keys per step: a pass over every item.
      if (fOrder == TIndexOrder::Bytes) {
        RadixPass(fItems, fSpare);
      } else {
        RadixPass(fRanks, fRankSpare);
      }
      if (++fNextDigit == fDigits.size()) fPhase = TPhase::Place;
      return false;
    case TPhase::Place:
      Place();
      return fPhase == TPhase::Done;
    case TPhase::Refine:
      return Refine(records);
    case TPhase::Done:
      return true;
  }
  return true;
}

void TIndexSort::Collect(std::size_t records) {
  const std::size_t n = fColumn.size();
  if (fNextRecord == 0) fWork.reserve(n);
  const std::size_t end = records >= n - fNextRecord ? n : fNextRecord + records;
  for (std::size_t r = fNextRecord; r < end; ++r) {
    if (fDeleted[r] != 0) continue;
    const std::string& value = fColumn[r];
    const TIndexEntry entry = IndexEntryOf(value, static_cast<std::int32_t>(r));
    fWork.push_back(entry);
    if (value.empty()) continue;
    fKinds |= 1u << static_cast<unsigned>(entry.Key.Kind);
    if (entry.Key.Kind == TValueKind::Integer) {
      const bool digits = value.front() != '-' && value.back() >= '0' && value.back() <= '9';
      if (!digits || (fDigitsLength != 0 && value.size() != fDigitsLength)) fDigitsOneLength = false;
      fDigitsLength = value.size();
      if (entry.Key.Int > kExactDoubleLimit || entry.Key.Int < -kExactDoubleLimit) fBigInteger = true;
    } else if (entry.Key.Kind == TValueKind::Facture) {
      if (value.size() != 7) fPlainFacture = false;
    }
  }
  fNextRecord = end;
  if (fNextRecord == n) fPhase = TPhase::Plan;
}

void TIndexSort::Plan() {
  auto bit = [](TValueKind k) { return 1u << static_cast<unsigned>(k); };
  const unsigned byteKinds = bit(TValueKind::Text) | bit(TValueKind::Integer) | bit(TValueKind::Facture);
  const unsigned numberKinds = bit(TValueKind::Integer) | bit(TValueKind::Real);
  const unsigned kinds = fKinds;
  if ((kinds & ~byteKinds) == 0 && ((kinds & bit(TValueKind::Integer)) == 0 || fDigitsOneLength) &&
      ((kinds & bit(TValueKind::Facture)) == 0 || fPlainFacture)) {
    fOrder = TIndexOrder::Bytes;
  } else if ((kinds & ~numberKinds) == 0 && !fBigInteger) {
    fOrder = TIndexOrder::Typed;
    fTypedKind = TValueKind::Real;
  } else if (kinds == bit(TValueKind::Date) || kinds == bit(TValueKind::Avoir) || kinds == bit(TValueKind::Devis)) {
    fOrder = TIndexOrder::Typed;
    fTypedKind = kinds == bit(TValueKind::Date)    ? TValueKind::Date
                 : kinds == bit(TValueKind::Avoir) ? TValueKind::Avoir
                                                   : TValueKind::Devis;
  } else {
    fOrder = TIndexOrder::Mixed;
  }

  if (fOrder == TIndexOrder::Mixed) {
    // The typed comparison is not transitive across these kinds: the merge
    // sort, which stays within its range whatever the comparison answers,
    // and keeps equal values in record order.
    TypedMergeSort(fWork, [this](const TIndexEntry& a, const TIndexEntry& b) {
      return CompareWithKeys(fColumn[static_cast<std::size_t>(a.Record)], a.Key,
                             fColumn[static_cast<std::size_t>(b.Record)], b.Key);
    });
    fEntries.assign(fWork.begin(), fWork.end());
    fWork = TWork();
    fPhase = TPhase::Done;
    return;
  }

  // The keys, in an order that is the order of the index: in byte order the
  // first 27 bytes and the length (all lengths from 28 up alike), read in
  // record order; in typed order the number, date or piece number, with the
  // empty values first. Only the key bytes that differ between items need a
  // pass.
  const std::size_t n = fWork.size();
  if (fOrder != TIndexOrder::Bytes) {
    fRanks.resize(n);
    std::uint64_t rankOr = 0, rankAnd = ~std::uint64_t(0);
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint64_t rank = TypedRankOf(fWork[i].Key);
      fRanks[i] = TRankItem{rank, static_cast<std::uint32_t>(i), 0};
      rankOr |= rank;
      rankAnd &= rank;
    }
    PlanDigits(fRanks, TRankItem{rankOr ^ rankAnd, 0, 0}, 8);
    return;
  }
  fItems.resize(n);
  std::uint64_t highOr = 0, highAnd = ~std::uint64_t(0), lowOr = 0, lowAnd = ~std::uint64_t(0);
  std::uint64_t midOr = 0, midAnd = ~std::uint64_t(0);
  std::uint32_t tailOr = 0, tailAnd = ~std::uint32_t(0);
  for (std::size_t i = 0; i < n; ++i) {
    const std::string& value = fColumn[static_cast<std::size_t>(fWork[i].Record)];
    TItem& item = fItems[i];
    item.Position = static_cast<std::uint32_t>(i);
    item.High = BytesAt(value, 0);
    item.Low = value.size() > 8 ? BytesAt(value, 8) : 0;
    item.Mid = value.size() > 16 ? BytesAt(value, 16) : 0;
    const std::uint32_t last = value.size() > 24 ? static_cast<std::uint32_t>(BytesAt(value, 24) >> 40) : 0;
    item.Tail = (last << 8) | std::min<std::uint32_t>(static_cast<std::uint32_t>(value.size()), kLongText);
    highOr |= item.High;
    highAnd &= item.High;
    lowOr |= item.Low;
    lowAnd &= item.Low;
    midOr |= item.Mid;
    midAnd &= item.Mid;
    tailOr |= item.Tail;
    tailAnd &= item.Tail;
  }
  PlanDigits(fItems, TItem{highOr ^ highAnd, lowOr ^ lowAnd, midOr ^ midAnd, tailOr ^ tailAnd, 0}, kDigits);
}

void TIndexSort::Place() {
  if (fOrder != TIndexOrder::Bytes) {
    const std::size_t n = fRanks.size();
    fEntries.reserve(WithRoomToGrow(n));
    fEntries.resize(n);
    for (std::size_t i = 0; i < n; ++i) fEntries[i] = fWork[fRanks[i].Position];
    fWork = TWork();
    fRanks = TRankItems();
    fRankSpare = TRankItems();
    fPhase = TPhase::Done;
    return;
  }
  const std::size_t n = fItems.size();
  fEntries.reserve(WithRoomToGrow(n));
  fEntries.resize(n);
  for (std::size_t i = 0; i < n; ++i) fEntries[i] = fWork[fItems[i].Position];
  fWork = TWork();
  {
    fPrefixes.Bytes.reserve(WithRoomToGrow(n));
    fPrefixes.Places.reserve(WithRoomToGrow(n));
    fPrefixes.Bytes.resize(n);
    fPrefixes.Places.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      // The length counted in the key, which the place's stops at 20; the
      // records are set once the runs of long texts are in order.
      fPrefixes.Bytes[i] = fItems[i].High;
      fPrefixes.Places[i] = {0, std::min<std::uint32_t>(fItems[i].Tail & 0xFF, 20)};
    }
    fNextRun = 0;
    fPhase = TPhase::Refine;
  }
}

// Texts whose first 27 bytes are the same and that are 28 bytes or longer
// have the same key: each such run is put in order by the rest of their
// bytes, equal texts staying in record order.
bool TIndexSort::Refine(std::size_t records) {
  const std::size_t n = fItems.size();
  auto cmp = [this](const TIndexEntry& a, const TIndexEntry& b) {
    return CompareWithKeys(fColumn[static_cast<std::size_t>(a.Record)], a.Key, fColumn[static_cast<std::size_t>(b.Record)],
                           b.Key);
  };
  TEntries buffer;
  std::size_t done = 0;
  std::size_t i = fNextRun;
  while (i < n && done < records) {
    const TItem& first = fItems[i];
    std::size_t j = i + 1;
    while (j < n && fItems[j].High == first.High && fItems[j].Low == first.Low && fItems[j].Mid == first.Mid &&
           fItems[j].Tail == first.Tail) {
      ++j;
    }
    if (j - i > 1 && (first.Tail & 0xFF) == kLongText) TypedMergeSort(fEntries, i, j, cmp, buffer);
    done += j - i;
    i = j;
  }
  fNextRun = i;
  if (i < n) return false;
  for (std::size_t k = 0; k < n; ++k) fPrefixes.Places[k].Record = fEntries[k].Record;
  fItems = TItems();
  fSpare = TItems();
  fPhase = TPhase::Done;
  return true;
}

void TIndexSort::MoveInto(TFieldIndex& index) {
  index.Field = fField;
  index.Entries = std::move(fEntries);
  index.Order = fOrder;
  index.TypedKind = fTypedKind;
  index.DigitsLength = fDigitsLength;
  index.Prefixes = std::move(fPrefixes);
  if (index.Prefixes.size() != index.Entries.size()) index.Prefixes.clear();
  index.InOrder = true;
}
