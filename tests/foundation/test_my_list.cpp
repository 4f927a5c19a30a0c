#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DebugManager.h"
#include "MyList.h"
#include "TestSupport.h"

namespace {

// An item that records its own destruction, so a test can tell which items
// the list freed.
class TCountedItem : public TObject {
public:
  explicit TCountedItem(int* destroyed) : fDestroyed(destroyed) {}
  ~TCountedItem() override { ++*fDestroyed; }

private:
  int* fDestroyed;
};

std::vector<int> Ints(const TMyList& list) {
  std::vector<int> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(static_cast<TPairSomethingInt*>(list.GetItem(i))->fInt);
  return out;
}

}  // namespace

TEST(MyList, InsertAppendsAtCountAndRefusesBeyond) {
  TTraceCapture capture;
  TMyList list;
  list.Insert(0, new TPairSomethingInt(2));
  list.Insert(0, new TPairSomethingInt(1));
  list.Insert(list.Count(), new TPairSomethingInt(4));
  list.Insert(2, new TPairSomethingInt(3));
  EXPECT_TRUE(capture.Boxes().empty());
  TPairSomethingInt* stray = new TPairSomethingInt(9);
  list.Insert(5, stray);
  list.Insert(-1, stray);
  EXPECT_EQ(capture.Boxes(), (std::vector<std::string>{"*ERROR*Utils_Unit:TMyList.Insert: bad index 5",
                                                       "*ERROR*Utils_Unit:TMyList.Insert: bad index -1"}));
  EXPECT_EQ(Ints(list), (std::vector<int>{1, 2, 3, 4}));
  delete stray;
  list.ClearAndFreeEachObject();
}

TEST(MyList, MissingItemIsReportedButInserted) {
  TTraceCapture capture;
  TMyList list;
  list.Insert(0, nullptr);
  EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*Utils_Unit:TMyList.Insert:Non Assigned Item"});
  EXPECT_EQ(list.Count(), 1);

  capture.Clear();
  EXPECT_EQ(list.GetItem(0), nullptr);
  EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*TMyList.GetItem : resultat nil"});

  // Emptying skips the empty slot with a report and still frees the others.
  int destroyed = 0;
  list.Insert(1, new TCountedItem(&destroyed));
  capture.Clear();
  list.ClearAndFreeEachObject();
  EXPECT_EQ(capture.Boxes(),
            std::vector<std::string>{"*ERROR*Utils_Unit:TMyList.ClearAndFreeEachObject : Item not assigned"});
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(list.Count(), 0);
}

TEST(MyList, GetItemOutOfRangeReportsTwiceAndGivesNothing) {
  TTraceCapture capture;
  TMyList list;
  list.Insert(0, new TPairSomethingInt(5));
  EXPECT_EQ(list.GetItem(-1), nullptr);
  EXPECT_EQ(list.GetItem(1), nullptr);
  EXPECT_EQ(capture.Boxes(), (std::vector<std::string>{
                                 "*ERROR*TMyList.GetItem[-1] : index hors limites",
                                 "*ERROR*TMyList.GetItem : resultat nil",
                                 "*ERROR*TMyList.GetItem[1] : index hors limites",
                                 "*ERROR*TMyList.GetItem : resultat nil",
                             }));
  list.ClearAndFreeEachObject();
}

TEST(MyList, DeleteRemovesTheSlotWithoutFreeingTheItem) {
  TTraceCapture capture;
  int destroyed = 0;
  TCountedItem* kept = new TCountedItem(&destroyed);
  TMyList list;
  list.Insert(0, kept);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(destroyed, 0);
  list.Delete(0);
  EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*Utils_Unit:TMyList.Delete : Bad index 0"});
  delete kept;
  EXPECT_EQ(destroyed, 1);
}

TEST(MyList, AnEmptiedListIsDestroyedWithoutReport) {
  TTraceCapture capture;
  TDebug_Manager debug;  // the hooks run when a debug manager exists
  int destroyed = 0;
  {
    TMyList list;
    for (int i = 0; i < 3; ++i) list.Insert(i, new TCountedItem(&destroyed));
    list.ClearAndFreeEachObject();
    EXPECT_EQ(destroyed, 3);
  }
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(MyList, DestroyingANonEmptyListIsReportedAndLeavesTheItems) {
  TTraceCapture capture;
  int destroyed = 0;
  TCountedItem* a = new TCountedItem(&destroyed);
  TCountedItem* b = new TCountedItem(&destroyed);
  {
    TMyList list;
    list.Insert(0, a);
    list.Insert(1, b);
  }
  EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*Utils_Unit:TMyList.Destroy:Freeing non empty List"});
  // The owner still decides when its items die.
  EXPECT_EQ(destroyed, 0);
  delete a;
  delete b;
}

TEST(NumericHelpers, RangesIncludeTheirBounds) {
  struct Row {
    const char* name;
    int x, b1, b2;
    bool inRange, inRangeOrdered;
  };
  const Row rows[] = {
      {"inside", 5, 0, 10, true, true},
      {"reversedBounds", 5, 10, 0, true, false},
      {"lowBoundIncluded", 0, 0, 10, true, true},
      {"highBoundIncluded", 10, 0, 10, true, true},
      {"below", -1, 0, 10, false, false},
      {"above", 11, 10, 0, false, false},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(InRange(r.x, r.b1, r.b2), r.inRange) << r.name;
    EXPECT_EQ(InRangeOrdered(r.x, r.b1, r.b2), r.inRangeOrdered) << r.name;
  }
  EXPECT_TRUE(InRangeReal(30, 0, 30.0));
  EXPECT_TRUE(InRangeReal(0, 30, 0.0));
  EXPECT_FALSE(InRangeReal(0, 30, 30.01));
}

TEST(NumericHelpers, RoundUpToHalfAndThirtyDays) {
  struct Row {
    double x, expected;
  };
  const Row rows[] = {{2.1, 2.5}, {2.5, 2.5}, {0, 0}, {2.51, 3.0}, {0.01, 0.5}, {3, 3}};
  for (const Row& r : rows) EXPECT_EQ(RoundUpToHalf(r.x), r.expected) << r.x;

  // Day counts keep their time-of-day fraction.
  EXPECT_EQ(AddThirtyDays(45337.75), 45367.75);
}
