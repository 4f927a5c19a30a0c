#include "MyDatabase.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>

#include "FileUtils.h"
#include "Trace.h"

namespace {

const std::string kEmpty;

// Every value slot costs a string even when it is empty, so a short file of
// many fields and many empty lines, or a header of nothing but ";", could
// ask for far more memory than the machine has (40 KB of ";" and line ends
// make 400 million slots). No real table comes near this many slots, header
// row included; a table beyond it is refused like a file beyond the size
// limit.
constexpr std::size_t kMaxTableCells = std::size_t(16) * 1024 * 1024;
struct TTableTooLarge {};

// Line ends as the reader accepts them: CR LF, a lone LF or a lone CR; a
// NUL byte ends the readable text; a final line end makes no empty line.
// Same rules as SplitLines, without copying every line first.
template <class F>
void ForEachLine(std::string_view text, F&& onLine) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  const char* p = text.data();
  const char* end = p + text.size();
  const char* start = p;
  while (p < end) {
    const char c = *p;
    if (c == '\r' || c == '\n') {
      onLine(std::string_view(start, static_cast<std::size_t>(p - start)));
      if (c == '\r' && p + 1 < end && p[1] == '\n') ++p;
      ++p;
      start = p;
    } else {
      ++p;
    }
  }
  if (start < end) onLine(std::string_view(start, static_cast<std::size_t>(end - start)));
}

// Backslash-"n" in a stored value stands for CR LF.
void AssignUnescaped(std::string& out, std::string_view value) {
  if (std::memchr(value.data(), '\\', value.size()) == nullptr) {
    out.assign(value.data(), value.size());
    return;
  }
  out.clear();
  out.reserve(value.size() + 4);
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == 'n') {
      out += "\r\n";
      ++i;
    } else {
      out += value[i];
    }
  }
}

// CR LF inside a value is written as backslash-"n". A lone CR or LF would
// split the record when the file is read again, so it is written the same
// way (and reads back as CR LF). Nothing else is encoded.
void AppendEscaped(std::string& out, const std::string& value) {
  if (std::memchr(value.data(), '\n', value.size()) == nullptr &&
      std::memchr(value.data(), '\r', value.size()) == nullptr) {
    out += value;
    return;
  }
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
      out += "\\n";
    } else {
      out += c;
    }
  }
}

std::vector<std::string> SplitHeader(std::string_view header) {
  std::vector<std::string> names;
  if (header.empty()) return names;
  std::size_t start = 0;
  while (true) {
    const std::size_t semi = header.find(';', start);
    if (semi == std::string_view::npos) {
      names.emplace_back(header.substr(start));
      break;
    }
    names.emplace_back(header.substr(start, semi - start));
    start = semi + 1;
  }
  return names;
}

}  // namespace

TMyDatabase::TMyDatabase() = default;

TMyDatabase::TMyDatabase(const std::string& fileName) {
  if (!FileExists(fileName)) return;
  FileName = fileName;
  if (TTableDebugWindow* window = GetTableDebugWindow()) fDebugGrid.reset(window->CreateTableGrid());
  LoadFromFile(fileName);
}

TMyDatabase::~TMyDatabase() = default;

TMyDatabase* TMyDatabase::CreateEmpty(const std::string& fileName, const std::string& header) {
  auto* table = new TMyDatabase();
  table->FileName = fileName;
  table->FieldNames = SplitHeader(header);
  const std::size_t n = table->FieldNames.size();
  table->fDatas.resize(n);
  table->FieldIndexes.resize(n);
  for (std::size_t f = 0; f < n; ++f) table->FieldIndexes[f].Field = static_cast<int>(f);
  table->IndexValid.assign(n, 0);
  return table;
}

void TMyDatabase::Clear() {
  ++fChangeCount;
  fDatas.clear();
  FieldNames.clear();
  DeletedFlags.clear();
  FieldIndexes.clear();
  IndexValid.clear();
  QueryResults.clear();
  fScratch.clear();
}

void TMyDatabase::LoadFromFile(const std::string& fileName) {
  if (!FileExists(fileName)) return;
  FileName = fileName;
  TFileBytes text;
  TReadResult read = TReadResult::Failed;
  try {
    read = ReadWholeFile(fileName, text);
  } catch (const std::bad_alloc&) {
    read = TReadResult::Failed;
  }
  if (read != TReadResult::Ok) {
    // A table that could not be read must never replace its file: saving it
    // would write an empty table over data that is still there.
    Clear();
    fLoadFailed = true;
    fFailedFile = fileName;
    if (read == TReadResult::TooLarge) {
      Error("TMyDatabase.LoadFromFile:fichier trop volumineux : " + fileName);
    } else {
      Error("TMyDatabase.LoadFromFile:echec lecture " + fileName);
    }
    return;
  }
  if (!text.empty() && (text[0] == '\0' || text[0] == '\r' || text[0] == '\n')) {
    // Bytes without field names (a blank first line, or the zeros a power
    // cut leaves at the start of a file): nothing in them can be read as a
    // table, and saving the empty table would write over whatever they hold.
    Clear();
    fLoadFailed = true;
    fFailedFile = fileName;
    Error("TMyDatabase.LoadFromFile:fichier sans noms de champs : " + fileName);
    return;
  }
  try {
    ParseText(std::string_view(text.data(), text.size()));
  } catch (const TTableTooLarge&) {
    Clear();
    fLoadFailed = true;
    fFailedFile = fileName;
    Error("TMyDatabase.LoadFromFile:fichier trop volumineux : " + fileName);
    return;
  } catch (const std::bad_alloc&) {
    Clear();
    fLoadFailed = true;
    fFailedFile = fileName;
    Error("TMyDatabase.LoadFromFile:memoire insuffisante pour " + fileName);
    return;
  }
  fLoadFailed = false;
  fFailedFile.clear();
}

void TMyDatabase::LoadFromText(const std::string& text) {
  try {
    ParseText(text);
  } catch (const TTableTooLarge&) {
    Clear();
    Error("TMyDatabase.LoadFromText:table trop volumineuse");
  } catch (const std::bad_alloc&) {
    Clear();
    Error("TMyDatabase.LoadFromText:memoire insuffisante");
  }
}

void TMyDatabase::ParseText(std::string_view text) {
  Clear();
  std::size_t lineCount = 0;
  std::string_view header;
  ForEachLine(text, [&](std::string_view line) {
    if (lineCount == 0) header = line;
    ++lineCount;
  });
  if (lineCount == 0) {
    // An existing but empty file: a table without fields.
    return;
  }
  const std::size_t headerFields =
      header.empty() ? 0 : static_cast<std::size_t>(std::count(header.begin(), header.end(), ';')) + 1;
  if (headerFields > 0 && lineCount > kMaxTableCells / headerFields) throw TTableTooLarge();
  FieldNames = SplitHeader(header);
  const std::size_t fields = FieldNames.size();
  // Without fields there is nowhere to keep records: the record count is
  // the length of the first field's array.
  const std::size_t records = fields == 0 ? 0 : lineCount - 1;
  fDatas.resize(fields);
  for (auto& column : fDatas) column.resize(records);
  DeletedFlags.assign(records, 0);
  IndexValid.assign(fields, 0);
  FieldIndexes.resize(fields);
  for (std::size_t f = 0; f < fields; ++f) FieldIndexes[f].Field = static_cast<int>(f);
  if (records > 0) {
    std::size_t lineNo = 0;
    ForEachLine(text, [&](std::string_view line) {
      const std::size_t r = lineNo++;
      if (r == 0) return;
      const std::size_t record = r - 1;
      // Field k is the text between the (k-1)-th and the k-th ";"; missing
      // trailing fields stay empty, extra values are ignored.
      std::size_t pos = 0;
      for (std::size_t f = 0; f < fields; ++f) {
        if (pos > line.size()) break;
        const char* begin = line.data() + pos;
        const void* semi = std::memchr(begin, ';', line.size() - pos);
        const std::size_t stop =
            semi == nullptr ? line.size() : static_cast<std::size_t>(static_cast<const char*>(semi) - line.data());
        AssignUnescaped(fDatas[f][record], line.substr(pos, stop - pos));
        pos = stop + 1;
      }
    });
  }
  RebuildIndexes();
}

std::string TMyDatabase::SaveToText() const {
  std::string out;
  if (FieldNames.empty()) return out;
  std::size_t estimate = 0;
  for (const auto& name : FieldNames) estimate += name.size() + 1;
  for (const auto& column : fDatas) {
    for (const auto& value : column) estimate += value.size() + 1;
  }
  out.reserve(estimate + 2 * DeletedFlags.size() + 2);
  for (std::size_t f = 0; f < FieldNames.size(); ++f) {
    if (f > 0) out += ';';
    out += FieldNames[f];
  }
  out += "\r\n";
  const std::size_t records = DeletedFlags.size();
  for (std::size_t r = 0; r < records; ++r) {
    if (DeletedFlags[r] != 0) continue;
    for (std::size_t f = 0; f < fDatas.size(); ++f) {
      if (f > 0) out += ';';
      AppendEscaped(out, fDatas[f][r]);
    }
    out += "\r\n";
  }
  return out;
}

bool TMyDatabase::SaveToFile(const std::string& fileName) {
  bool ok = false;
  if (fLoadFailed && !fileName.empty() && SameFile(fileName, fFailedFile)) {
    Warning("TMyDatabase.SaveToFile:table non chargee, fichier conserve " + fileName);
  } else {
    try {
      ok = WriteFileAtomically(fileName, SaveToText());
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  if (!ok) Warning("TMyDatabase.SaveToFile:echec écriture " + fileName);
  return ok;
}

bool TMyDatabase::Save() { return SaveToFile(FileName); }

int TMyDatabase::FieldCount() const { return static_cast<int>(FieldNames.size()); }

int TMyDatabase::GetFieldPos(const std::string& name) const {
  for (std::size_t f = 0; f < FieldNames.size(); ++f) {
    if (FieldNames[f] == name) return static_cast<int>(f);
  }
  Error("TMyDatabase.GetFieldPos:impossible de trouver le champ " + name);
  return -1;
}

bool TMyDatabase::FieldExists(const std::string& name) const {
  for (const auto& fieldName : FieldNames) {
    if (fieldName == name) return true;
  }
  return false;
}

void TMyDatabase::SetFieldName(int field, const std::string& name) {
  if (field < 0 || field >= FieldCount()) {
    ErrorInt("TMyDatabase.SetFieldName:champ hors limites ", field);
    return;
  }
  FieldNames[static_cast<std::size_t>(field)] = name;
  ++fChangeCount;
}

const std::string& TMyDatabase::GetFieldName(int field) const {
  if (field < 0 || field >= FieldCount()) return kEmpty;
  return FieldNames[static_cast<std::size_t>(field)];
}

int TMyDatabase::RecordCount() const {
  return fDatas.empty() ? 0 : static_cast<int>(fDatas[0].size());
}

std::string TMyDatabase::DBGetString(int field, int record) const {
  const int records = static_cast<int>(DeletedFlags.size());
  if (record >= 0 && record < records && DeletedFlags[static_cast<std::size_t>(record)] != 0) {
    ErrorInt("TMyDatabase.DBGetString:Trying to Get deleted Data at pos ", record);
    return std::string();
  }
  if (fDatas.empty()) {
    Error("TMyDatabase.DBGetString: fDatas not assigned");
    return std::string();
  }
  if (field < 0 || field >= FieldCount()) {
    ErrorInt("TMyDatabase.DBGetString: champ hors limites", field);
    return std::string();
  }
  const auto& column = fDatas[static_cast<std::size_t>(field)];
  if (column.empty()) {
    ErrorIntText("TMyDatabase.DBGetString: fDatas[", field, "] not assigned");
    return std::string();
  }
  if (record < 0 || record >= static_cast<int>(column.size())) {
    ErrorInt("TMyDatabase.DBGetString: index hors limites ", record);
    return std::string();
  }
  return column[static_cast<std::size_t>(record)];
}

void TMyDatabase::SetData(int field, int record, const std::string& value) {
  if (field < 0 || field >= FieldCount() || record < 0 || record >= RecordCount()) {
    ErrorIntInt("TMyDatabase.SetData: Bad Field / pos : ", field, record);
    return;
  }
  ++fChangeCount;
  std::string& slot = fDatas[static_cast<std::size_t>(field)][static_cast<std::size_t>(record)];
  auto& deleted = DeletedFlags[static_cast<std::size_t>(record)];
  if (deleted != 0) {
    // Deleting took the record out of every index; living again it must be
    // found by every field, not only by the one written.
    slot = value;
    deleted = 0;
    for (int f = 0; f < FieldCount(); ++f) InsertEntry(f, record);
    InvalidateAllIndexes();
    return;
  }
  if (slot != value) {
    MoveEntry(field, record, value);
    slot = value;
  }
  IndexValid[static_cast<std::size_t>(field)] = 0;
}

void TMyDatabase::SetData(const std::string& fieldName, int record, const std::string& value) {
  for (std::size_t f = 0; f < FieldNames.size(); ++f) {
    if (FieldNames[f] == fieldName) {
      SetData(static_cast<int>(f), record, value);
      return;
    }
  }
  Warning("TMyDatabase.SetData : le Field n'existe pas : " + fieldName);
}

bool TMyDatabase::IsDeleted(int record) const {
  if (DeletedFlags.empty()) {
    Error("TMyDatabase.IsDeleted:trying to acces a non assigned dynamic array");
    return false;
  }
  if (record < 0 || record >= static_cast<int>(DeletedFlags.size())) {
    ErrorIntText("TMyDatabase.IsDeleted:Index ", record, " en dehors des limites du dynamic array");
    return false;
  }
  return DeletedFlags[static_cast<std::size_t>(record)] != 0;
}

void TMyDatabase::Delete(int record) {
  if (DeletedFlags.empty() || record < 0 || record >= static_cast<int>(DeletedFlags.size())) {
    ErrorInt("TMyDatabase.Delete:problem deleting index ", record);
    return;
  }
  auto& flag = DeletedFlags[static_cast<std::size_t>(record)];
  if (flag != 0) return;
  flag = 1;
  ++fChangeCount;
  // A record has at most one entry per index, found by its value.
  for (auto& index : FieldIndexes) RemoveEntry(index, record);
}

int TMyDatabase::AddRecord() {
  const int record = RecordCount();
  SetRecordCount(record + 1);
  for (int f = 0; f < FieldCount(); ++f) SetData(f, record, std::string());
  return RecordCount() - 1;
}

void TMyDatabase::InvalidateAllIndexes() {
  for (auto& valid : IndexValid) valid = 0;
}

void TMyDatabase::SetRecordCount(int n) {
  if (n < 0) n = 0;
  // Without fields the table holds no record slots at all.
  if (fDatas.empty()) return;
  const auto count = static_cast<std::size_t>(n);
  const std::size_t before = DeletedFlags.size();
  if (count == before) return;
  ++fChangeCount;
  for (auto& column : fDatas) column.resize(count);
  DeletedFlags.resize(count, 0);
  // Entries of dropped slots would name records that no longer exist, and
  // new slots (live and empty) must be found: the indexes follow.
  for (auto& index : FieldIndexes) {
    if (count < before) {
      std::erase_if(index.Entries, [count](const TIndexEntry& e) { return static_cast<std::size_t>(e.Record) >= count; });
      index.Prefixes.clear();
    }
  }
  if (count > before + 64) {
    // Many slots at once: one sort at the next query costs less.
    for (auto& index : FieldIndexes) index.InOrder = false;
  } else {
    for (std::size_t r = before; r < count; ++r) {
      for (int f = 0; f < FieldCount(); ++f) InsertEntry(f, static_cast<std::int32_t>(r));
    }
  }
  InvalidateAllIndexes();
}

void TMyDatabase::CopyRecord(int source, int target) {
  if (source < 0 || source >= RecordCount() || DeletedFlags[static_cast<std::size_t>(source)] != 0) {
    // Reported once, with the reader's message, rather than once per field.
    DBGetString(0, source);
    return;
  }
  if (target < 0 || target >= RecordCount()) {
    ErrorIntInt("TMyDatabase.SetData: Bad Field / pos : ", 0, target);
    return;
  }
  for (int f = 0; f < FieldCount(); ++f) {
    // Copied first: source and target may be the same record.
    const std::string value = ValueAt(f, source);
    SetData(f, target, value);
  }
}
