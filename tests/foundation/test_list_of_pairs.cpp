#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "ListOfPairOfStrings.h"
#include "TestSupport.h"

namespace {

std::vector<std::string> Keys(const TListOfPairOfStrings& list) {
  std::vector<std::string> keys;
  for (int i = 0; i < list.Count(); ++i) keys.push_back(list.GetPair(i)->key);
  return keys;
}

}  // namespace

TEST(ListOfPairOfStrings, KeysSortAsUnsignedBytes) {
  TTraceCapture capture;
  TListOfPairOfStrings list;
  list.add("b", "2");
  list.add("a", "1");
  list.add("c", "3");
  EXPECT_EQ(Keys(list), (std::vector<std::string>{"a", "b", "c"}));
  list.add("\xE9t\xE9", "summer");  // "été" in Windows-1252
  list.add("B", "upper");
  list.add("Abc", "capital");
  list.add("abc", "lower");
  EXPECT_EQ(Keys(list), (std::vector<std::string>{"Abc", "B", "a", "abc", "b", "c", "\xE9t\xE9"}));
  EXPECT_EQ(list.getData("Abc"), "capital");
  EXPECT_EQ(list.getData("abc"), "lower");
  EXPECT_EQ(list.getData("\xE9t\xE9"), "summer");
  EXPECT_EQ(list.FindPos("ab"), 3);
  EXPECT_EQ(list.FindPos("z"), 6);
  EXPECT_EQ(list.FindPos("\xFF"), 7);
  EXPECT_TRUE(capture.Lines().empty());
  list.ClearAndFreeEachObject();
}

TEST(ListOfPairOfStrings, ManyRandomKeysStaySortedAndAreAllFound) {
  TTraceCapture capture;
  std::mt19937 random(7);
  std::vector<std::string> keys;
  TListOfPairOfStrings list;
  for (int i = 0; i < 500; ++i) {
    std::string key;
    int length = 1 + static_cast<int>(random() % 4);
    for (int c = 0; c < length; ++c) key += static_cast<char>(0x41 + random() % 0xA0);
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
    list.put(key, key + "!");
  }
  std::vector<std::string> sorted = keys;
  std::sort(sorted.begin(), sorted.end());  // std::string orders bytes as unsigned
  EXPECT_EQ(Keys(list), sorted);
  for (const std::string& k : keys) EXPECT_EQ(list.getData(k), k + "!");
  EXPECT_TRUE(capture.Lines().empty());
  list.ClearAndFreeEachObject();
}

TEST(ListOfPairOfStrings, AddRefusals) {
  TTraceCapture capture;
  TListOfPairOfStrings list;
  list.add("a", "1");

  list.add("a", "x");
  EXPECT_EQ(capture.Boxes(),
            std::vector<std::string>{"*ERROR*String_Manager_Unit:TListOfPairOfStrings.add:clé deja existante : a"});
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.getData("a"), "x");

  capture.Clear();
  list.add("", "x");
  EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*String_Manager_Unit:TListOfPairOfStrings.add: cle vide"});
  EXPECT_EQ(list.Count(), 1);

  capture.Clear();
  list.add("k", "");
  EXPECT_TRUE(capture.Boxes().empty());
  EXPECT_EQ(capture.Lines(),
            std::vector<std::string>{"Warning : String_Manager_Unit:TListOfPairOfStrings.add: data vide"});
  EXPECT_TRUE(list.exists("k"));
  EXPECT_EQ(list.getData("k"), "");
  list.ClearAndFreeEachObject();
}

TEST(ListOfPairOfStrings, MissingKeysWarnAndChangeNothing) {
  TTraceCapture capture;
  TListOfPairOfStrings list;
  EXPECT_EQ(list.getData("zz"), "");
  list.setData("zz", "1");
  EXPECT_EQ(capture.Lines(), (std::vector<std::string>{
                                 "Warning : TListOfPairOfStrings.getData: parametre n'existe pas : zz",
                                 "Warning : TListOfPairOfStrings.getData: parametre n'existe pas : zz",
                             }));
  EXPECT_TRUE(capture.Boxes().empty());
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(list.exists("zz"));

  list.add("m", "1");
  capture.Clear();
  EXPECT_EQ(list.getData("z"), "");
  EXPECT_EQ(list.getData("a"), "");
  EXPECT_EQ(list.getData("M"), "");
  EXPECT_EQ(capture.Lines().size(), 3u);
  list.ClearAndFreeEachObject();
}

TEST(ListOfPairOfStrings, PutReplacesSilentlyAndRemoveFrees) {
  TTraceCapture capture;
  TListOfPairOfStrings list;
  list.add("a", "1");
  list.put("a", "y");
  list.putInt("n", -42);
  list.setData("n", "43");
  EXPECT_TRUE(capture.Lines().empty());
  EXPECT_EQ(list.getData("a"), "y");
  EXPECT_EQ(list.getData("n"), "43");
  EXPECT_EQ(list.Count(), 2);

  list.putInt("p", 7);
  EXPECT_EQ(list.getData("p"), "7");

  list.remove("a");
  list.remove("absent");
  EXPECT_EQ(Keys(list), (std::vector<std::string>{"n", "p"}));

  // put still goes through add, so an empty value is warned about.
  list.put("n", "");
  EXPECT_EQ(capture.Lines(),
            std::vector<std::string>{"Warning : String_Manager_Unit:TListOfPairOfStrings.add: data vide"});
  EXPECT_TRUE(capture.Boxes().empty());
  list.ClearAndFreeEachObject();
}

TEST(ListOfPairOfStrings, DestroyingFreesWhatIsLeftWithoutReport) {
  TTraceCapture capture;
  {
    TListOfPairOfStrings list;
    list.add("a", "1");
    list.add("b", "2");
  }
  {
    TListOfPairOfStrings list;
    list.add("a", "1");
    list.ClearAndFreeEachObject();
  }
  // The sanitizer build checks that the two pairs left above were freed.
  EXPECT_TRUE(capture.Boxes().empty());
}

TEST(ListOfPairOfStrings, PutManyGivesTheListThatPutGivesOneByOne) {
  // Keys as a print job makes them ("10.Code" sorts before "2.Code"), some
  // already in the list, some given twice (the later one wins), one empty.
  std::vector<std::pair<std::string, std::string>> pairs;
  for (int i = 12; i >= 1; --i) pairs.emplace_back(std::to_string(i) + ".Code", "c" + std::to_string(i));
  pairs.emplace_back("3.Code", "again");
  pairs.emplace_back("Page", "");
  pairs.emplace_back("", "lost");
  pairs.emplace_back("TypePiece", "Facture");
  TListOfPairOfStrings one, many;
  TTraceCapture byOne;
  for (TListOfPairOfStrings* list : {&one, &many}) {
    list->put("TypePiece", "Devis");
    list->put("A", "first");
    list->put("zz", "last");
  }
  for (const auto& [key, data] : pairs) one.put(key, data);
  const std::vector<std::string> boxesOne = byOne.Boxes(), linesOne = byOne.Lines();
  TTraceCapture byMany;
  many.putMany(pairs);
  EXPECT_EQ(Keys(many), Keys(one));
  for (const std::string& key : Keys(one)) EXPECT_EQ(many.getData(key), one.getData(key)) << key;
  EXPECT_EQ(many.getData("3.Code"), "again");
  EXPECT_EQ(many.getData("TypePiece"), "Facture");
  EXPECT_EQ(byMany.Boxes(), boxesOne);
  EXPECT_EQ(byMany.Lines().size(), linesOne.size());
  one.ClearAndFreeEachObject();
  many.ClearAndFreeEachObject();
}

TEST(ListOfPairOfStrings, DataReplacedLongerOrShorterAndKeysRemovedLeaveTheOtherPairsIntact) {
  // The pairs share one buffer: every change of a data or removal of a key
  // must leave each other pair as it was, and the list in key order, also
  // once the buffer has been written again without the unused bytes.
  TTraceCapture capture;
  std::mt19937 random(11);
  std::map<std::string, std::string> model;
  TListOfPairOfStrings list;
  const auto value = [&random](const std::string& key) {
    return key + ":" + std::string(random() % 60, static_cast<char>('a' + random() % 26));
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string key = "k" + std::to_string(random() % 150);
    const bool present = model.count(key) != 0;
    // Pairs put at once are rarer, as the list is then written anew.
    const unsigned what = random() % 500;
    switch (what == 0 ? 3 : what % 3) {
      case 0:
        model[key] = value(key);
        list.put(key, model[key]);
        break;
      case 1:
        if (present) list.setData(key, model[key] = value(key));
        break;
      case 2:
        model.erase(key);
        list.remove(key);
        break;
      default: {
        std::vector<std::pair<std::string, std::string>> pairs;
        for (int i = 0; i < 3; ++i) {
          const std::string other = "k" + std::to_string(random() % 150);
          pairs.emplace_back(other, model[other] = value(other));
        }
        list.putMany(pairs);
      }
    }
  }
  using TPairs = std::vector<std::pair<std::string, std::string>>;
  TPairs walked;
  for (int i = 0; i < list.Count(); ++i) walked.emplace_back(list.GetPair(i)->key, list.GetPair(i)->data);
  EXPECT_EQ(walked, TPairs(model.begin(), model.end()));
  for (const auto& [key, data] : model) EXPECT_EQ(list.getData(key), data);
  EXPECT_TRUE(capture.Lines().empty());
  list.ClearAndFreeEachObject();
}
