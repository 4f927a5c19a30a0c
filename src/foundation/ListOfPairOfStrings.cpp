#include "ListOfPairOfStrings.h"

#include <algorithm>
#include <cstring>

#include "Trace.h"

namespace {

// Keys are ordered byte by byte as unsigned 8-bit codes, so that accented
// Windows-1252 letters sort after every ASCII letter whatever the platform's
// char signedness.
int CompareKeys(const std::string& a, const std::string& b) {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);
  if (c != 0) return c;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

const std::string kNoKey;

}  // namespace

TListOfPairOfStrings::~TListOfPairOfStrings() {
  // The pairs belong to the list, so they die with it even when the owner did
  // not empty it first; the list is then empty and the base class has nothing
  // to report.
  if (fList == nullptr) return;
  std::vector<TObject*> items;
  items.swap(*fList);
  for (TObject* item : items) delete item;
}

TPairOfStrings* TListOfPairOfStrings::PairAt(int index) const {
  if (fList == nullptr || index < 0 || index >= Count()) return nullptr;
  return dynamic_cast<TPairOfStrings*>((*fList)[static_cast<std::size_t>(index)]);
}

bool TListOfPairOfStrings::KeyAtIs(int pos, const std::string& key) const {
  TPairOfStrings* pair = PairAt(pos);
  return pair != nullptr && CompareKeys(pair->key, key) == 0;
}

TPairOfStrings* TListOfPairOfStrings::GetPair(int index) const {
  return dynamic_cast<TPairOfStrings*>(GetItem(index));
}

int TListOfPairOfStrings::FindPos(const std::string& key) const {
  // The position of the key, or of the first key above it (Count when none
  // is): a plain bisection, one comparison a step, which a print job's
  // millions of lookups need.
  int lo = 0;
  int hi = Count();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    TPairOfStrings* pair = PairAt(mid);
    if (CompareKeys(pair != nullptr ? pair->key : kNoKey, key) < 0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
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
    PairAt(pos)->data = data;
    return;
  }
  Insert(pos, new TPairOfStrings(key, data));
}

std::string TListOfPairOfStrings::getData(const std::string& key) const {
  int pos = FindPos(key);
  if (KeyAtIs(pos, key)) return PairAt(pos)->data;
  Warning("TListOfPairOfStrings.getData: parametre n'existe pas : " + key);
  return "";
}

void TListOfPairOfStrings::setData(const std::string& key, const std::string& data) {
  int pos = FindPos(key);
  if (KeyAtIs(pos, key)) {
    PairAt(pos)->data = data;
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
  PairAt(pos)->data = data;
}

void TListOfPairOfStrings::putMany(std::vector<std::pair<std::string, std::string>> pairs) {
  if (fList == nullptr) return;
  for (const auto& [key, data] : pairs) {
    if (key.empty()) Error("String_Manager_Unit:TListOfPairOfStrings.add: cle vide");
    else if (data.empty()) Warning("String_Manager_Unit:TListOfPairOfStrings.add: data vide");
  }
  std::stable_sort(pairs.begin(), pairs.end(),
                   [](const auto& a, const auto& b) { return CompareKeys(a.first, b.first) < 0; });
  std::vector<TObject*> merged;
  merged.reserve(fList->size() + pairs.size());
  std::size_t old = 0;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    std::string& key = pairs[i].first;
    // Of several pairs of one key the last one put is the one kept.
    if (key.empty() || (i + 1 < pairs.size() && pairs[i + 1].first == key)) continue;
    while (old < fList->size()) {
      TPairOfStrings* pair = PairAt(static_cast<int>(old));
      if (pair != nullptr && CompareKeys(pair->key, key) >= 0) break;
      merged.push_back((*fList)[old++]);
    }
    TPairOfStrings* same = old < fList->size() ? PairAt(static_cast<int>(old)) : nullptr;
    if (same != nullptr && same->key == key) {
      same->data = std::move(pairs[i].second);
      merged.push_back((*fList)[old++]);
    } else {
      merged.push_back(new TPairOfStrings(std::move(key), std::move(pairs[i].second)));
    }
  }
  while (old < fList->size()) merged.push_back((*fList)[old++]);
  fList->swap(merged);
}

void TListOfPairOfStrings::putInt(const std::string& key, long long value) { put(key, IntToStr(value)); }

void TListOfPairOfStrings::remove(const std::string& key) {
  int pos = FindPos(key);
  if (!KeyAtIs(pos, key)) return;
  TObject* pair = (*fList)[static_cast<std::size_t>(pos)];
  Delete(pos);
  delete pair;
}
