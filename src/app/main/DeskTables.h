#pragma once

#include <array>
#include <functional>
#include <memory>

#include "PieceKinds.h"

class TMyDatabase;

// The nine main tables of the desk, in the order the catalogue lists and the
// start-up loads them.
enum class TDeskTable { Articles, Clients, Factures, Devis, Avoirs, Dupli, NoFa, Ubipharm, TarifsChronopost };
inline constexpr int kDeskTableCount = 9;

// Owns the nine main tables from the loading to the close: the only place
// that lists them. It also keeps the base the next invoice number is
// counted from.
class TDeskTables {
public:
  TDeskTables();
  ~TDeskTables();
  TDeskTables(const TDeskTables&) = delete;
  TDeskTables& operator=(const TDeskTables&) = delete;

  // Reads every table of Catalogue::MainTables in its order; `loaded` hears
  // of each table as soon as it is in memory.
  void Load(const std::function<void(TDeskTable)>& loaded = nullptr);
  // Saves the tables the close writes, then releases all of them, both in
  // the close order. A table that cannot be written reports its own warning;
  // the others are still saved.
  void SaveAndRelease();
  // Sorts the next index that waits to be sorted; false when none waits.
  bool BuildWaitingIndex();

  // Null before the loading and after the close.
  TMyDatabase* Get(TDeskTable table) const;
  TMyDatabase* Articles() const { return Get(TDeskTable::Articles); }
  TMyDatabase* Clients() const { return Get(TDeskTable::Clients); }
  TMyDatabase* Factures() const { return Get(TDeskTable::Factures); }
  TMyDatabase* Devis() const { return Get(TDeskTable::Devis); }
  TMyDatabase* Avoirs() const { return Get(TDeskTable::Avoirs); }
  TMyDatabase* Dupli() const { return Get(TDeskTable::Dupli); }
  TMyDatabase* NoFa() const { return Get(TDeskTable::NoFa); }
  TMyDatabase* Ubipharm() const { return Get(TDeskTable::Ubipharm); }
  TMyDatabase* TarifsChronopost() const { return Get(TDeskTable::TarifsChronopost); }
  // The five tables a piece is read from and written to.
  TPieceTables Pieces() const;

  // Where the search for the next free invoice number starts; deleting an
  // invoice sets it back so that its number can be given again.
  int& FactureNumberBase() { return fFactureNumberBase; }

private:
  std::array<std::unique_ptr<TMyDatabase>, kDeskTableCount> fTables;
  int fFactureNumberBase;
};
