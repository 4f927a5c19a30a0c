#pragma once

#include <string>
#include <utility>
#include <vector>

#include "MyList.h"

// The program's dictionary of strings: (key, data) pairs kept sorted by key
// (unsigned byte order, so "B" < "a" < "é"), searched by bisection. Keys are
// unique and never empty; data may be empty. The list owns its pairs: owners
// empty it with ClearAndFreeEachObject, and whatever is left when it is
// destroyed is freed with it.
class TListOfPairOfStrings : public TMyList {
public:
  TListOfPairOfStrings() = default;
  ~TListOfPairOfStrings() override;

  int FindPos(const std::string& key) const;
  void add(const std::string& key, const std::string& data);
  std::string getData(const std::string& key) const;
  void setData(const std::string& key, const std::string& data);
  bool exists(const std::string& key) const;
  // Sets the key's data, adding the key when it is missing.
  void put(const std::string& key, const std::string& data);
  void putInt(const std::string& key, long long value);
  // The same as put for each pair in order (a later pair of the same key
  // wins), sorted once and merged into the list in one pass: a print job's
  // millions of keys would otherwise each move the half of the list that
  // follows it.
  void putMany(std::vector<std::pair<std::string, std::string>> pairs);
  void remove(const std::string& key);

  // The pair at a position (0 .. Count - 1), for walking the list in order.
  TPairOfStrings* GetPair(int index) const;

private:
  // The pair at a valid position without any report (nullptr for a slot that
  // is not a pair).
  TPairOfStrings* PairAt(int index) const;
  // Whether the pair at pos exists and has exactly this key.
  bool KeyAtIs(int pos, const std::string& key) const;
};
