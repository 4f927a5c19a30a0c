#include "MyList.h"

#include <cmath>

#include "DebugManager.h"
#include "Trace.h"

TMyList::TMyList() : fList(new std::vector<TObject*>()) {}

TMyList::~TMyList() {
  // The items are the owner's business: a list that still holds some at this
  // point means the owner forgot to empty it, which is reported. The items are
  // left alone because the owner may still be using them.
  if (Count() != 0) Error("Utils_Unit:TMyList.Destroy:Freeing non empty List");
  delete fList;
  fList = nullptr;
}

int TMyList::Count() const { return fList == nullptr ? 0 : static_cast<int>(fList->size()); }

TObject* TMyList::GetItem(int index) const {
  TObject* result = nullptr;
  if (index < 0 || index >= Count()) {
    ErrorIntText("TMyList.GetItem[", index, "] : index hors limites");
  } else {
    result = (*fList)[static_cast<std::size_t>(index)];
  }
  if (result == nullptr) Error("TMyList.GetItem : resultat nil");
  return result;
}

void TMyList::Insert(int index, TObject* item) {
  if (item == nullptr) Error("Utils_Unit:TMyList.Insert:Non Assigned Item");
  if (fList == nullptr || index < 0 || index > Count()) {
    ErrorInt("Utils_Unit:TMyList.Insert: bad index ", index);
    return;
  }
  fList->insert(fList->begin() + index, item);
}

void TMyList::Delete(int index) {
  if (index < 0 || index >= Count()) {
    ErrorInt("Utils_Unit:TMyList.Delete : Bad index ", index);
    return;
  }
  fList->erase(fList->begin() + index);
}

void TMyList::ClearAndFreeEachObject() {
  TDebug_Manager* debug = DebugManager();
  if (debug != nullptr) debug->Enter("TMyList.ClearAndFreeEachObject");
  if (fList == nullptr) {
    Error("Utils_Unit:TMyList.ClearAndFreeEachObject : fList not assigned");
  } else {
    // Detach the items first so that a destructor that looks at this list
    // never sees a dangling slot.
    std::vector<TObject*> items;
    items.swap(*fList);
    for (TObject* item : items) {
      if (item == nullptr) {
        Error("Utils_Unit:TMyList.ClearAndFreeEachObject : Item not assigned");
      } else {
        delete item;
      }
    }
  }
  if (debug != nullptr) debug->Leave("TMyList.ClearAndFreeEachObject");
}

int Min(int a, int b) { return a < b ? a : b; }

int Max(int a, int b) { return a < b ? b : a; }

double MinReal(double a, double b) { return b >= a ? a : b; }

double MaxReal(double a, double b) { return b >= a ? b : a; }

bool InRange(int x, int b1, int b2) { return Min(b1, b2) <= x && x <= Max(b1, b2); }

bool InRangeReal(double b1, double b2, double x) { return MinReal(b1, b2) <= x && x <= MaxReal(b1, b2); }

bool InRangeOrdered(int x, int low, int high) { return low <= x && x <= high; }

double RoundUpToHalf(double x) { return std::ceil(2.0 * x) / 2.0; }

TDateTime AddThirtyDays(TDateTime x) { return x + 30.0; }
