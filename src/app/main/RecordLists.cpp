#include "RecordLists.h"

#include <algorithm>
#include <vector>

#include "Catalogue.h"
#include "IniManager.h"
#include "MyStringGrid.h"
#include "StringManager.h"

namespace {

constexpr const char* kPositions = "Positions";

// The lists in the order of their position keys.
std::vector<TRecordList*> ByPositionRank(const std::array<std::unique_ptr<TRecordList>, kListCount>& all) {
  std::vector<TRecordList*> lists;
  for (const auto& list : all) lists.push_back(list.get());
  std::sort(lists.begin(), lists.end(), [](const TRecordList* a, const TRecordList* b) {
    return a->Descriptor().PositionRank < b->Descriptor().PositionRank;
  });
  return lists;
}

}  // namespace

TRecordLists::TRecordLists(TDeskTables& tables, QWidget* parent) {
  for (int id = 0; id < kListCount; ++id) {
    fLists[static_cast<std::size_t>(id)] = std::make_unique<TRecordList>(static_cast<TListId>(id), tables, parent);
  }
}

TRecordLists::~TRecordLists() = default;

TRecordList& TRecordLists::Of(const TPieceKind& kind) const {
  for (const auto& list : fLists) {
    if (list->Kind() == &kind) return *list;
  }
  return Of(kFacturesList);
}

// Only one list is on screen at a time: showing a list hides the others, and
// opening a record hides them all.
TRecordList* TRecordLists::Visible() const {
  for (const auto& list : fLists) {
    if (list->Visible()) return list.get();
  }
  return nullptr;
}

void TRecordLists::CreateGrids() {
  for (const auto& list : fLists) list->CreateGrid();
}

void TRecordLists::ReleaseGrids() {
  for (const auto& list : fLists) list->ReleaseGrid();
}

void TRecordLists::Init() {
  for (const auto& list : fLists) list->Init();
}

void TRecordLists::ReadPositions() {
  TIniManager ini;
  ini.LoadFromFile(Catalogue::Settings::File);
  for (TRecordList* list : ByPositionRank(fLists)) {
    list->Position().Row = ini.GetInt(kPositions, list->Descriptor().RowKey);
    list->Position().TopRow = ini.GetInt(kPositions, list->Descriptor().TopRowKey);
  }
}

void TRecordLists::SavePositions() const {
  TIniManager ini(Catalogue::Settings::File);
  const std::vector<TRecordList*> lists = ByPositionRank(fLists);
  for (TRecordList* list : lists) ini.Set(kPositions, list->Descriptor().RowKey, IntToStr(list->Position().Row));
  for (TRecordList* list : lists) {
    ini.Set(kPositions, list->Descriptor().TopRowKey, IntToStr(list->Position().TopRow));
  }
  ini.SaveToFile(Catalogue::Settings::File);
}

void TRecordLists::StoreAllPositions() {
  for (const auto& list : fLists) list->StorePosition(true);
}

void TRecordLists::HideAll() {
  for (const auto& list : fLists) list->StorePosition(list->Descriptor().RowTakenOnHide);
  for (const auto& list : fLists) list->Hide();
}

bool TRecordLists::PrepareNextList() {
  for (const auto& list : fLists) {
    if (list->Filled() || list->Visible()) continue;
    list->PrepareSlice();
    return true;
  }
  return false;
}
