#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "MyList.h"
#include "QueryGrid.h"
#include "TypedCompare.h"

enum TQueryMode { Exact = 0, Prefix = 1, Pattern = 2 };

// One entry of a field's sorted index: the value and its record index, with
// the value's typed key computed once when the index is built.
struct TIndexEntry {
  const std::string* Value;  // points into fDatas
  std::int32_t Record;
  TTypedKey Key;
};

// A flat text table (".db"): ordered named fields and record slots of string
// values, one deleted flag per slot. The whole file is read at creation and
// written back whole on Save. Record indexes are stable while the table is in
// memory; deleted slots disappear at the next save.
class TMyDatabase {
public:
  // Reads the file when it exists; otherwise a table without fields, records
  // or file name, and nothing is reported.
  explicit TMyDatabase(const std::string& fileName);
  ~TMyDatabase();
  TMyDatabase(const TMyDatabase&) = delete;
  TMyDatabase& operator=(const TMyDatabase&) = delete;

  // A table with that file name and the fields of the header ("a;b;c"), no
  // records; no file is read. Meant to be filled and saved.
  static TMyDatabase* CreateEmpty(const std::string& fileName, const std::string& header);

  void LoadFromFile(const std::string& fileName);
  // Loads from bytes already in memory, exactly as LoadFromFile reads a file.
  void LoadFromText(const std::string& text);
  // False when the file could not be written (the warning is traced and the
  // previous file is left intact).
  bool SaveToFile(const std::string& fileName);
  bool Save();
  // The bytes SaveToFile writes.
  std::string SaveToText() const;

  const std::string& GetFileName() const { return FileName; }

  // Fields.
  int FieldCount() const;
  int GetFieldPos(const std::string& name) const;
  bool FieldExists(const std::string& name) const;
  void SetFieldName(int field, const std::string& name);
  const std::string& GetFieldName(int field) const;

  // Records and values.
  int RecordCount() const;
  std::string DBGetString(int field, int record) const;
  void SetData(int field, int record, const std::string& value);
  void SetData(const std::string& fieldName, int record, const std::string& value);
  bool IsDeleted(int record) const;
  void Delete(int record);
  int AddRecord();
  void SetRecordCount(int n);
  void CopyRecord(int source, int target);

  // Queries and indexes.
  void Query(const std::string& fieldName, const std::string& value, TQueryMode mode);
  void QueryAdd(const std::string& fieldName, const std::string& value, TQueryMode mode);
  void QueryAll();
  int QueryResultCount() const;
  int QueryGetDataIndex(int i) const;
  std::string GetQueryResultString(const std::string& fieldName, int i) const;
  void DisplayQuery(TQueryGrid* grid, const std::string& columnFilter, bool withTitles);
  void BuildIndex(int field);
  void RebuildIndexes();
  // (first, last) positions in the index of the entries matching the key by
  // ComparePrefix, or (-1, -1).
  std::pair<int, int> DichotomicFindFirst(const std::vector<TIndexEntry>* index, const std::string& key, int start,
                                          int finish) const;

  // Read access for tests and tools.
  const std::vector<TIndexEntry>& GetFieldIndex(int field) const { return FieldIndexes[static_cast<std::size_t>(field)]; }
  bool GetIndexValid(int field) const { return IndexValid[static_cast<std::size_t>(field)] != 0; }
  const std::vector<std::int32_t>& GetQueryResults() const { return QueryResults; }

private:
  std::vector<std::vector<std::string>> fDatas;
  std::vector<std::string> FieldNames;
  std::vector<std::uint8_t> DeletedFlags;
  std::vector<std::vector<TIndexEntry>> FieldIndexes;
  std::string FileName;
  std::vector<std::int32_t> QueryResults;
  std::vector<std::int32_t> fScratch;
  std::unique_ptr<TQueryGrid> fDebugGrid;
  std::vector<std::uint8_t> IndexValid;

  TMyDatabase();
};
