#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "DateTime.h"

// Root of the objects that the owning lists hold.
class TObject {
public:
  virtual ~TObject() = default;
};

// A guarded list of objects. It does not destroy its items by itself: the
// owner empties it with ClearAndFreeEachObject before destroying it, and
// misuse is reported rather than silently tolerated.
class TMyList : public TObject {
public:
  TMyList();
  ~TMyList() override;
  TMyList(const TMyList&) = delete;
  TMyList& operator=(const TMyList&) = delete;

  // A list that keeps its items another way (the list of pairs) answers
  // these itself.
  virtual int Count() const;
  virtual TObject* GetItem(int index) const;
  virtual void Insert(int index, TObject* item);
  virtual void Delete(int index);
  virtual void ClearAndFreeEachObject();

protected:
  std::vector<TObject*>* fList;
};

class TPairSomethingInt : public TObject {
public:
  explicit TPairSomethingInt(std::int32_t value = 0) : fInt(value) {}
  std::int32_t fInt;
};

class TPairOfStringInt : public TPairSomethingInt {
public:
  TPairOfStringInt(std::string text, std::int32_t value) : TPairSomethingInt(value), fString(std::move(text)) {}
  std::string fString;
};

class TPairOfRealInt : public TPairSomethingInt {
public:
  TPairOfRealInt(double real, std::int32_t value) : TPairSomethingInt(value), fReal(real) {}
  double fReal;
};

class TPairOfStrings : public TObject {
public:
  TPairOfStrings(std::string key, std::string data) : key(std::move(key)), data(std::move(data)) {}
  std::string key;
  std::string data;
};

int Min(int a, int b);
int Max(int a, int b);
double MinReal(double a, double b);
double MaxReal(double a, double b);
bool InRange(int x, int b1, int b2);
bool InRangeReal(double b1, double b2, double x);
bool InRangeOrdered(int x, int low, int high);
double RoundUpToHalf(double x);
TDateTime AddThirtyDays(TDateTime x);
// FileExists is in FileUtils.h.
