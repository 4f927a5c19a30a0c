#pragma once

#include <string>

#include "MyList.h"

// The program's dictionary of strings: (key, data) pairs kept sorted by key
// (unsigned byte order, so "B" < "a" < "é"), searched by bisection. Keys are
// unique and never empty; data may be empty. The list owns its pairs.
class TListOfPairOfStrings : public TMyList {
public:
  int FindPos(const std::string& key) const;
  void add(const std::string& key, const std::string& data);
  std::string getData(const std::string& key) const;
  void setData(const std::string& key, const std::string& data);
  bool exists(const std::string& key) const;
  void put(const std::string& key, const std::string& data);
  void putInt(const std::string& key, long long value);
  void remove(const std::string& key);

  // The pair at a position (0 .. Count - 1), for walking the list in order.
  TPairOfStrings* GetPair(int index) const;
};
