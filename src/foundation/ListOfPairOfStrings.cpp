#include "ListOfPairOfStrings.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "Trace.h"

namespace {

// Keys are ordered byte by byte as unsigned 8-bit codes, so that accented
// Windows-1252 letters sort after every ASCII letter whatever the platform's
// char signedness.
int CompareKeys(std::string_view a, std::string_view b) {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);
  if (c != 0) return c;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// The bytes a list can hold: a slot counts them in 32 bits. No settings
// file or document comes near; a pair beyond is refused rather than cut.
constexpr std::size_t kMostBytes = std::numeric_limits<std::uint32_t>::max();

void ReportTooLong(std::string_view key) {
  Error("String_Manager_Unit:TListOfPairOfStrings.add: texte trop long : " + std::string(key.substr(0, 40)));
}

void ReportEmpty(std::string_view key, std::string_view data) {
  if (key.empty()) Error("String_Manager_Unit:TListOfPairOfStrings.add: cle vide");
  else if (data.empty()) Warning("String_Manager_Unit:TListOfPairOfStrings.add: data vide");
}

// What a list filled at once keeps free for the pairs put one by one after.
constexpr std::size_t kRoomSlots = 64;
constexpr std::size_t kRoomBytes = 1024;

// Below this many unused bytes the buffer is never written again.
constexpr std::size_t kWasteKept = 4096;

}  // namespace

void TListOfPairOfStrings::TBatch::Reserve(std::size_t pairs) { fSlots.reserve(pairs + kRoomSlots); }

void TListOfPairOfStrings::TBatch::Add(std::string_view key, std::string_view data) {
  if (key.size() > kMostBytes - fChars.size() || data.size() > kMostBytes - fChars.size() - key.size()) {
    ReportTooLong(key);
    return;
  }
  fSlots.push_back(TSlot{static_cast<std::uint32_t>(fChars.size()), static_cast<std::uint32_t>(key.size()),
                         static_cast<std::uint32_t>(data.size())});
  fChars.append(key);
  fChars.append(data);
}

TListOfPairOfStrings::~TListOfPairOfStrings() = default;

std::string_view TListOfPairOfStrings::KeyOf(const TSlot& slot) const {
  return std::string_view(fChars.data() + slot.At, slot.KeyLength);
}

std::string_view TListOfPairOfStrings::DataOf(const TSlot& slot) const {
  return std::string_view(fChars.data() + slot.At + slot.KeyLength, slot.DataLength);
}

int TListOfPairOfStrings::Count() const { return static_cast<int>(fSlots.size()); }

TObject* TListOfPairOfStrings::GetItem(int index) const {
  if (index < 0 || index >= Count()) {
    ErrorIntText("TMyList.GetItem[", index, "] : index hors limites");
    Error("TMyList.GetItem : resultat nil");
    return nullptr;
  }
  const TSlot& slot = fSlots[static_cast<std::size_t>(index)];
  if (fShown == nullptr) fShown = std::make_unique<TPairOfStrings>(std::string(), std::string());
  fShown->key.assign(KeyOf(slot));
  fShown->data.assign(DataOf(slot));
  return fShown.get();
}

TPairOfStrings* TListOfPairOfStrings::GetPair(int index) const {
  return static_cast<TPairOfStrings*>(GetItem(index));
}

void TListOfPairOfStrings::Insert(int index, TObject* item) {
  TPairOfStrings* pair = dynamic_cast<TPairOfStrings*>(item);
  if (pair == nullptr) {
    Error("Utils_Unit:TMyList.Insert:Non Assigned Item");
    return;
  }
  if (index < 0 || index > Count()) {
    ErrorInt("Utils_Unit:TMyList.Insert: bad index ", index);
    return;
  }
  if (!HasRoomFor(pair->key, pair->data)) return;
  const TSlot slot = Append(pair->key, pair->data);
  fSlots.insert(fSlots.begin() + index, slot);
  delete pair;
}

void TListOfPairOfStrings::Delete(int index) {
  if (index < 0 || index >= Count()) {
    ErrorInt("Utils_Unit:TMyList.Delete : Bad index ", index);
    return;
  }
  Forget(fSlots[static_cast<std::size_t>(index)]);
  fSlots.erase(fSlots.begin() + index);
  CompactWhenWasteful();
}

void TListOfPairOfStrings::ClearAndFreeEachObject() {
  TMyList::ClearAndFreeEachObject();
  // The memory goes with the pairs: a list emptied and kept for the next
  // document does not hold on to the last one's.
  std::vector<TSlot>().swap(fSlots);
  std::string().swap(fChars);
  fWaste = 0;
  fShown.reset();
}

bool TListOfPairOfStrings::HasRoomFor(std::string_view key, std::string_view data) {
  const auto fits = [&] {
    return key.size() <= kMostBytes - fChars.size() && data.size() <= kMostBytes - fChars.size() - key.size();
  };
  if (fits()) return true;
  if (fWaste > 0) {
    Compact();
    if (fits()) return true;
  }
  ReportTooLong(key);
  return false;
}

TListOfPairOfStrings::TSlot TListOfPairOfStrings::Append(std::string_view key, std::string_view data) {
  const TSlot slot{static_cast<std::uint32_t>(fChars.size()), static_cast<std::uint32_t>(key.size()),
                   static_cast<std::uint32_t>(data.size())};
  fChars.append(key);
  fChars.append(data);
  return slot;
}

void TListOfPairOfStrings::Forget(const TSlot& slot) { fWaste += slot.KeyLength + std::size_t(slot.DataLength); }

void TListOfPairOfStrings::Replace(std::size_t pos, std::string_view data) {
  TSlot& slot = fSlots[pos];
  if (data.size() <= slot.DataLength) {
    // A shorter data leaves the end of the old one unused.
    std::copy(data.begin(), data.end(), fChars.begin() + static_cast<std::ptrdiff_t>(slot.At + slot.KeyLength));
    fWaste += slot.DataLength - data.size();
    slot.DataLength = static_cast<std::uint32_t>(data.size());
    return;
  }
  // The key is copied out first: appending may move the buffer it is in.
  const std::string key(KeyOf(slot));
  if (!HasRoomFor(key, data)) return;
  Forget(fSlots[pos]);
  fSlots[pos] = Append(key, data);
  CompactWhenWasteful();
}

void TListOfPairOfStrings::CompactWhenWasteful() {
  if (fWaste > kWasteKept && fWaste > fChars.size() / 2) Compact();
}

void TListOfPairOfStrings::Compact() {
  std::string chars;
  chars.reserve(fChars.size() - fWaste);
  for (TSlot& slot : fSlots) {
    const std::size_t at = chars.size();
    chars.append(fChars, slot.At, slot.KeyLength + std::size_t(slot.DataLength));
    slot.At = static_cast<std::uint32_t>(at);
  }
  fChars.swap(chars);
  fWaste = 0;
}

bool TListOfPairOfStrings::KeyAtIs(int pos, std::string_view key) const {
  return pos >= 0 && pos < Count() && CompareKeys(KeyOf(fSlots[static_cast<std::size_t>(pos)]), key) == 0;
}

int TListOfPairOfStrings::FindPos(const std::string& key) const {
  // The position of the key, or of the first key above it (Count when none
  // is): a plain bisection, one comparison a step, which a print job's
  // millions of lookups need.
  std::size_t lo = 0;
  std::size_t hi = fSlots.size();
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (CompareKeys(KeyOf(fSlots[mid]), key) < 0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return static_cast<int>(lo);
}

void TListOfPairOfStrings::add(const std::string& key, const std::string& data) {
  if (key.empty()) {
    Error("String_Manager_Unit:TListOfPairOfStrings.add: cle vide");
    return;
  }
  if (data.empty()) Warning("String_Manager_Unit:TListOfPairOfStrings.add: data vide");
  int pos = FindPos(key);
  if (KeyAtIs(pos, key)) {
    Error("String_Manager_Unit:TListOfPairOfStrings.add:clé deja existante : " + key);
    Replace(static_cast<std::size_t>(pos), data);
    return;
  }
  if (!HasRoomFor(key, data)) return;
  fSlots.insert(fSlots.begin() + pos, Append(key, data));
}

std::string TListOfPairOfStrings::getData(const std::string& key) const {
  int pos = FindPos(key);
  if (KeyAtIs(pos, key)) return std::string(DataOf(fSlots[static_cast<std::size_t>(pos)]));
  Warning("TListOfPairOfStrings.getData: parametre n'existe pas : " + key);
  return "";
}

void TListOfPairOfStrings::setData(const std::string& key, const std::string& data) {
  int pos = FindPos(key);
  if (KeyAtIs(pos, key)) {
    Replace(static_cast<std::size_t>(pos), data);
    return;
  }
  Warning("TListOfPairOfStrings.getData: parametre n'existe pas : " + key);
}

bool TListOfPairOfStrings::exists(const std::string& key) const { return KeyAtIs(FindPos(key), key); }

void TListOfPairOfStrings::put(const std::string& key, const std::string& data) {
  // A key already there keeps its place: replacing its data in place leaves
  // the same list as taking the pair out and adding it again.
  const int pos = FindPos(key);
  if (!KeyAtIs(pos, key)) {
    add(key, data);
    return;
  }
  if (data.empty()) Warning("String_Manager_Unit:TListOfPairOfStrings.add: data vide");
  Replace(static_cast<std::size_t>(pos), data);
}

void TListOfPairOfStrings::putMany(const std::vector<std::pair<std::string, std::string>>& pairs) {
  TBatch batch;
  batch.Reserve(pairs.size());
  for (const auto& [key, data] : pairs) batch.Add(key, data);
  putMany(std::move(batch));
}

void TListOfPairOfStrings::putMany(TBatch batch) {
  const std::string& given = batch.fChars;
  const auto keyOf = [](const std::string& chars, const TSlot& slot) {
    return std::string_view(chars.data() + slot.At, slot.KeyLength);
  };
  // The reports come in the order the pairs were given, as put would give them.
  for (const TSlot& slot : batch.fSlots)
    ReportEmpty(keyOf(given, slot), std::string_view(given.data() + slot.At + slot.KeyLength, slot.DataLength));
  std::vector<TSlot>& added = batch.fSlots;
  // Pairs of one key stay in the order given: their bytes lie in that order.
  std::sort(added.begin(), added.end(), [&](const TSlot& a, const TSlot& b) {
    const int c = CompareKeys(keyOf(given, a), keyOf(given, b));
    return c < 0 || (c == 0 && a.At < b.At);
  });
  if (fSlots.empty()) {
    // A list filled at once (a print job's) takes the batch's bytes as they
    // are: no second copy of them is made.
    fWaste = 0;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < added.size(); ++i) {
      const std::string_view key = keyOf(given, added[i]);
      // Of several pairs of one key the last one put is the one kept.
      if (key.empty() || (i + 1 < added.size() && keyOf(given, added[i + 1]) == key)) {
        Forget(added[i]);
        continue;
      }
      added[kept++] = added[i];
    }
    added.resize(kept);
    fChars.swap(batch.fChars);
    fSlots.swap(added);
    CompactWhenWasteful();
    MakeRoom();
    return;
  }
  // The list is written again in key order, the pairs given merged into it,
  // into a buffer of the size it needs and the room MakeRoom keeps.
  if (given.size() > kMostBytes - (fChars.size() - fWaste)) {
    ReportTooLong(keyOf(given, added.front()));
    return;
  }
  std::string chars;
  chars.reserve(fChars.size() - fWaste + given.size() + kRoomBytes);
  std::vector<TSlot> merged;
  merged.reserve(fSlots.size() + added.size() + kRoomSlots);
  const auto keep = [&chars, &merged](const std::string& from, const TSlot& slot) {
    merged.push_back(TSlot{static_cast<std::uint32_t>(chars.size()), slot.KeyLength, slot.DataLength});
    chars.append(from, slot.At, slot.KeyLength + std::size_t(slot.DataLength));
  };
  std::size_t old = 0;
  for (std::size_t i = 0; i < added.size(); ++i) {
    const std::string_view key = keyOf(given, added[i]);
    // Of several pairs of one key the last one put is the one kept.
    if (key.empty() || (i + 1 < added.size() && keyOf(given, added[i + 1]) == key)) continue;
    while (old < fSlots.size() && CompareKeys(KeyOf(fSlots[old]), key) < 0) keep(fChars, fSlots[old++]);
    if (old < fSlots.size() && KeyOf(fSlots[old]) == key) ++old;
    keep(given, added[i]);
  }
  while (old < fSlots.size()) keep(fChars, fSlots[old++]);
  fChars.swap(chars);
  fSlots.swap(merged);
  fWaste = 0;
}

void TListOfPairOfStrings::MakeRoom() {
  if (fChars.capacity() < fChars.size() + kRoomBytes) fChars.reserve(fChars.size() + kRoomBytes);
  if (fSlots.capacity() < fSlots.size() + kRoomSlots) fSlots.reserve(fSlots.size() + kRoomSlots);
}

void TListOfPairOfStrings::putInt(const std::string& key, long long value) { put(key, IntToStr(value)); }

void TListOfPairOfStrings::remove(const std::string& key) {
  int pos = FindPos(key);
  if (!KeyAtIs(pos, key)) return;
  Delete(pos);
}
