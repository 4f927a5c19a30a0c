#include "DeskTables.h"

#include <iterator>

#include "Catalogue.h"
#include "MyDatabase.h"
#include "PieceNumbers.h"

namespace {

static_assert(std::size(Catalogue::MainTables) == kDeskTableCount, "one desk table per main table");

// The close order, and which tables the close writes: the quote and
// credit-note headers are written by the piece save itself, the tariff and
// the list of clients without duplicate invoices are kept outside.
struct TCloseStep {
  TDeskTable Table;
  bool Saved;
};
constexpr TCloseStep kCloseOrder[] = {
    {TDeskTable::Clients, true}, {TDeskTable::Articles, true},          {TDeskTable::Factures, true},
    {TDeskTable::Dupli, true},   {TDeskTable::Ubipharm, true},          {TDeskTable::NoFa, false},
    {TDeskTable::Devis, false},  {TDeskTable::TarifsChronopost, false}, {TDeskTable::Avoirs, false},
};
static_assert(std::size(kCloseOrder) == kDeskTableCount, "every desk table is released at close");

std::size_t Index(TDeskTable table) { return static_cast<std::size_t>(table); }

}  // namespace

TDeskTables::TDeskTables() : fFactureNumberBase(kFactureNumberBase) {}

TDeskTables::~TDeskTables() = default;

void TDeskTables::Load(const std::function<void(TDeskTable)>& loaded) {
  for (int i = 0; i < kDeskTableCount; ++i) {
    fTables[static_cast<std::size_t>(i)] = std::make_unique<TMyDatabase>(Catalogue::MainTables[i]);
    if (loaded) loaded(static_cast<TDeskTable>(i));
  }
}

void TDeskTables::SaveAndRelease() {
  for (const TCloseStep& step : kCloseOrder) {
    if (step.Saved && fTables[Index(step.Table)]) fTables[Index(step.Table)]->Save();
  }
  for (const TCloseStep& step : kCloseOrder) fTables[Index(step.Table)].reset();
}

bool TDeskTables::BuildWaitingIndex() {
  for (const auto& table : fTables) {
    if (table && table->BuildWaitingIndex()) return true;
  }
  return false;
}

TMyDatabase* TDeskTables::Get(TDeskTable table) const { return fTables[Index(table)].get(); }

TPieceTables TDeskTables::Pieces() const { return TPieceTables{Articles(), Clients(), Factures(), Devis(), Avoirs()}; }
