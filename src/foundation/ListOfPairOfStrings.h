#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "MyList.h"

// The program's dictionary of strings: (key, data) pairs kept sorted by key
// (unsigned byte order, so "B" < "a" < "é"), searched by bisection. Keys are
// unique and never empty; data may be empty. The list owns its pairs: owners
// empty it with ClearAndFreeEachObject, and whatever is left when it is
// destroyed is freed with it.
//
// A print job's list holds five pairs per line of the piece, hundreds of
// thousands for a long invoice: a heap object per pair, with its two strings
// and a pointer to it, took many times the size of the texts. The pairs are
// therefore kept as their bytes, key then data, in one character buffer, and
// the list in order is an array of small slots into it. GetPair hands out the
// pair at a position as a TPairOfStrings made on demand.
class TListOfPairOfStrings : public TMyList {
  // One pair: its bytes start at At, the key's KeyLength bytes then the
  // data's DataLength bytes. A list's bytes are thus less than 4 GB.
  struct TSlot {
    std::uint32_t At = 0;
    std::uint32_t KeyLength = 0;
    std::uint32_t DataLength = 0;
  };

public:
  // Pairs gathered to be put at once (putMany), as their bytes, in the order
  // given.
  class TBatch {
  public:
    void Reserve(std::size_t pairs);
    void Add(std::string_view key, std::string_view data);
    std::size_t Count() const { return fSlots.size(); }

  private:
    friend class TListOfPairOfStrings;
    std::string fChars;
    std::vector<TSlot> fSlots;
  };

  TListOfPairOfStrings() = default;
  ~TListOfPairOfStrings() override;

  int Count() const override;
  // The pair at a position, made on demand (see GetPair).
  TObject* GetItem(int index) const override;
  // Takes a TPairOfStrings: its key and data are stored at the position and
  // the object is freed. Any other object is refused with a report and left
  // to the caller.
  void Insert(int index, TObject* item) override;
  void Delete(int index) override;
  void ClearAndFreeEachObject() override;

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
  void putMany(TBatch batch);
  void putMany(const std::vector<std::pair<std::string, std::string>>& pairs);
  void remove(const std::string& key);

  // The pair at a position (0 .. Count - 1), for walking the list in order:
  // a copy of the key and data that the list keeps until the next GetPair or
  // change of the list. Changing it changes nothing in the list.
  TPairOfStrings* GetPair(int index) const;
  // The key and the data at a valid position (0 .. Count - 1), read where
  // the list keeps them, for walking it without a copy: valid until the list
  // changes.
  std::string_view KeyAt(int index) const { return KeyOf(fSlots[static_cast<std::size_t>(index)]); }
  std::string_view DataAt(int index) const { return DataOf(fSlots[static_cast<std::size_t>(index)]); }

private:
  std::string_view KeyOf(const TSlot& slot) const;
  std::string_view DataOf(const TSlot& slot) const;
  // Whether the pair at pos exists and has exactly this key.
  bool KeyAtIs(int pos, std::string_view key) const;
  // Whether this many more bytes fit the buffer (after writing it again
  // without the unused ones if need be); reported when they do not.
  bool HasRoomFor(std::string_view key, std::string_view data);
  // Writes the pair's bytes at the end of the buffer (HasRoomFor first).
  TSlot Append(std::string_view key, std::string_view data);
  // Gives the pair at pos this data: in place when it fits, else written
  // again at the end of the buffer.
  void Replace(std::size_t pos, std::string_view data);
  void Forget(const TSlot& slot);
  // Writes the buffer again without the bytes no pair uses any more, once
  // they are half of it.
  void CompactWhenWasteful();
  void Compact();
  // Room for the few pairs a print puts one by one after filling the list at
  // once (the page counts, the page being drawn), which would otherwise each
  // time copy a long list.
  void MakeRoom();

  std::string fChars;
  std::vector<TSlot> fSlots;
  // Bytes of fChars that no pair uses any more.
  std::size_t fWaste = 0;
  // What GetPair last handed out.
  mutable std::unique_ptr<TPairOfStrings> fShown;
};
