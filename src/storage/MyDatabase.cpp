#include "MyDatabase.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>

#include "FileUtils.h"
#include "IndexSort.h"
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

// No value of a real table comes near 64 KB; one far beyond it (100 MB) is
// garbage that the screens could not even draw. A file holding one is
// refused as a whole and never saved over, like a file over the size limit.
constexpr std::size_t kMaxValueBytes = std::size_t(64) * 1024;
struct TValueTooLarge {
  std::size_t Record;
};

std::string ValueTooLargeMessage(std::size_t record) {
  return "valeur de plus de 64 Ko a l'enregistrement " + IntToStr(static_cast<long long>(record)) + " (ligne " +
         IntToStr(static_cast<long long>(record) + 2) + ")";
}

// Line ends as the reader accepts them: CR LF, a lone LF or a lone CR; a
// NUL byte ends the readable text; a final line end makes no empty line.
// Same rules as SplitLines, without copying every line first.
template <class F>
void ForEachLine(std::string_view text, F&& onLine) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  const char* p = text.data();
  const char* const end = p + text.size();
  // Lines are found by the library's searches, which look at many bytes at
  // once: the next LF, then any CR before it.
  while (p < end) {
    const auto* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* stop = lf != nullptr ? lf : end;
    bool crLf = false;
    while (const auto* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)))) {
      if (lf != nullptr && cr + 1 == lf) {
        crLf = true;
        onLine(std::string_view(p, static_cast<std::size_t>(cr - p)));
        break;
      }
      onLine(std::string_view(p, static_cast<std::size_t>(cr - p)));
      p = cr + 1;
    }
    if (crLf) {
      p = lf + 1;
    } else if (lf != nullptr) {
      onLine(std::string_view(p, static_cast<std::size_t>(lf - p)));
      p = lf + 1;
    } else if (p < end) {
      onLine(std::string_view(p, static_cast<std::size_t>(end - p)));
      p = end;
    }
  }
}

// Backslash-"n" in a stored value stands for CR LF. True when the value
// read holds one.
bool AssignUnescaped(std::string& out, std::string_view value) {
  if (std::memchr(value.data(), '\\', value.size()) == nullptr) {
    out.assign(value.data(), value.size());
    return false;
  }
  out.clear();
  out.reserve(value.size() + 4);
  bool lineBreak = false;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == 'n') {
      out += "\r\n";
      lineBreak = true;
      ++i;
    } else {
      out += value[i];
    }
  }
  return lineBreak;
}

// Copies a value into the file being made. Values are short: most are
// moved by two overlapping fixed-size copies, which the compiler makes into
// a few instructions, instead of a call per value.
inline char* CopyBytes(char* out, const char* in, std::size_t n) {
  if (n >= 8) {
    if (n > 16) {
      std::memcpy(out, in, n);
      return out + n;
    }
    std::memcpy(out, in, 8);
    std::memcpy(out + n - 8, in + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(out, in, 4);
    std::memcpy(out + n - 4, in + n - 4, 4);
  } else if (n > 0) {
    out[0] = in[0];
    out[n / 2] = in[n / 2];
    out[n - 1] = in[n - 1];
  }
  return out + n;
}

// A value the writer cannot copy as it is: it holds a separator, a line
// break or a NUL byte.
bool HoldsSpecial(std::string_view value) {
  for (const char c : value) {
    if (c == ';' || c == '\r' || c == '\n' || c == '\0') return true;
  }
  return false;
}

// Copies a value that holds special bytes: a CR LF pair is written as
// backslash-"n", which reads back as CR LF. Anything else special (";", a
// lone CR or LF, NUL) would not read back as it was: false is answered.
bool CopyEscaped(char*& out, const std::string& value) {
  const std::size_t n = value.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = value[i];
    if (c == '\r' && i + 1 < n && value[i + 1] == '\n') {
      *out++ = '\\';
      *out++ = 'n';
      ++i;
    } else if (c == ';' || c == '\r' || c == '\n' || c == '\0') {
      return false;
    } else {
      *out++ = c;
    }
  }
  return true;
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
  NoteTableChange();
  fDatas.clear();
  FieldNames.clear();
  DeletedFlags.clear();
  FieldIndexes.clear();
  IndexValid.clear();
  QueryResults.clear();
  fScratch.clear();
  fIndexSort.reset();
  fSpecialValues = 0;
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
  } catch (const TValueTooLarge& e) {
    Clear();
    fLoadFailed = true;
    fFailedFile = fileName;
    Error("TMyDatabase.LoadFromFile:" + ValueTooLargeMessage(e.Record) + " : " + fileName);
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
  } catch (const TValueTooLarge& e) {
    Clear();
    Error("TMyDatabase.LoadFromText:" + ValueTooLargeMessage(e.Record));
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
  for (auto& column : fDatas) {
    column.reserve(WithRoomToGrow(records));
    column.resize(records);
  }
  DeletedFlags.reserve(WithRoomToGrow(records));
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
        if (stop - pos > kMaxValueBytes) throw TValueTooLarge{record};
        if (AssignUnescaped(fDatas[f][record], line.substr(pos, stop - pos))) ++fSpecialValues;
        pos = stop + 1;
      }
    });
  }
  RebuildIndexes();
}

// The file is made in one pass over the values, line after line, into one
// buffer that goes to the file each time it is full: the values are copied
// as they are, except in a table that holds a value with a separator, a
// line break or NUL (counted as values are stored), where each value is
// looked at.
bool TMyDatabase::FormatText(const TPieceSink& put, TRefusedValue& refused) const {
  if (FieldNames.empty()) return true;
  constexpr std::size_t kPieceBytes = std::size_t(1) << 20;
  std::vector<char> buffer(kPieceBytes);
  char* p = buffer.data();
  // Makes room for a line of the given length: the buffer is written out
  // first when the line does not fit, and grows when a line is longer.
  auto room = [&](std::size_t length) {
    if (static_cast<std::size_t>(buffer.data() + buffer.size() - p) >= length) return true;
    if (p > buffer.data() && !put(std::string_view(buffer.data(), static_cast<std::size_t>(p - buffer.data())))) {
      return false;
    }
    if (length > buffer.size()) buffer.resize(length);
    p = buffer.data();
    return true;
  };
  const std::size_t fields = fDatas.size();
  // Separators and CR LF; an escaped line break is as long as the CR LF it
  // stands for.
  std::size_t length = fields + 1;
  for (const auto& name : FieldNames) length += name.size();
  if (!room(length)) return false;
  for (std::size_t f = 0; f < fields; ++f) {
    if (f > 0) *p++ = ';';
    p = CopyBytes(p, FieldNames[f].data(), FieldNames[f].size());
  }
  *p++ = '\r';
  *p++ = '\n';
  std::vector<const std::string*> columns(fields);
  for (std::size_t f = 0; f < fields; ++f) columns[f] = fDatas[f].data();
  const bool plain = fSpecialValues == 0;
  const std::size_t records = DeletedFlags.size();
  for (std::size_t r = 0; r < records; ++r) {
    if (DeletedFlags[r] != 0) continue;
    length = fields + 1;
    for (std::size_t f = 0; f < fields; ++f) length += columns[f][r].size();
    if (!room(length)) return false;
    for (std::size_t f = 0; f < fields; ++f) {
      if (f > 0) *p++ = ';';
      const std::string& value = columns[f][r];
      if (plain) {
        p = CopyBytes(p, value.data(), value.size());
      } else if (!CopyEscaped(p, value)) {
        refused.Field = static_cast<int>(f);
        refused.Record = static_cast<int>(r);
        return false;
      }
    }
    *p++ = '\r';
    *p++ = '\n';
  }
  return p == buffer.data() || put(std::string_view(buffer.data(), static_cast<std::size_t>(p - buffer.data())));
}

bool TMyDatabase::SaveToPieces(const TPieceSink& put) const {
  TRefusedValue refused;
  return FormatText(put, refused);
}

std::string TMyDatabase::SaveToText() const {
  std::string text;
  if (!SaveToPieces([&text](std::string_view piece) {
        text += piece;
        return true;
      })) {
    return std::string();
  }
  return text;
}

bool TMyDatabase::SaveToFile(const std::string& fileName) {
  bool ok = false;
  if (fLoadFailed && !fileName.empty() && SameFile(fileName, fFailedFile)) {
    Warning("TMyDatabase.SaveToFile:table non chargee, fichier conserve " + fileName);
  } else {
    TRefusedValue refused;
    try {
      ok = WriteFileAtomically(fileName, [&](const TPieceSink& put) { return FormatText(put, refused); });
    } catch (const std::bad_alloc&) {
      ok = false;
    }
    if (refused.Field >= 0) {
      // Written, the value would split its record (or cut the file short)
      // at the next load: the file keeps what it holds.
      Error("TMyDatabase.SaveToFile:valeur avec \";\", CR ou LF refusee, champ " + GetFieldName(refused.Field) +
            " de l'enregistrement " + IntToStr(refused.Record) + ", fichier conserve " + fileName);
      return false;
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
  NoteTableChange();
}

void TMyDatabase::NoteTableChange() {
  fRecentCount = 0;
  fRecentFrom = fChangeCount;
}

void TMyDatabase::NoteRecordChange(int record) {
  const auto r = static_cast<std::int32_t>(record);
  for (std::size_t i = 0; i < fRecentCount; ++i) {
    if (fRecent[i].Record == r) {
      fRecent[i].Change = fChangeCount;
      return;
    }
  }
  if (fRecentCount == kRecentRecords) {
    // The record changed longest ago is forgotten: what changed up to its
    // last change is no longer known.
    std::size_t oldest = 0;
    for (std::size_t i = 1; i < fRecentCount; ++i) {
      if (fRecent[i].Change < fRecent[oldest].Change) oldest = i;
    }
    fRecentFrom = std::max(fRecentFrom, fRecent[oldest].Change);
    fRecent[oldest] = fRecent[--fRecentCount];
  }
  fRecent[fRecentCount++] = TRecentChange{r, fChangeCount};
}

bool TMyDatabase::ChangedRecordsSince(std::uint64_t since, std::vector<int>& records) const {
  records.clear();
  if (since < fRecentFrom || since > fChangeCount) return false;
  for (std::size_t i = 0; i < fRecentCount; ++i) {
    if (fRecent[i].Change > since) records.push_back(fRecent[i].Record);
  }
  return true;
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
  NoteRecordChange(record);
  std::string& slot = fDatas[static_cast<std::size_t>(field)][static_cast<std::size_t>(record)];
  fSpecialValues += HoldsSpecial(value) ? 1 : 0;
  fSpecialValues -= HoldsSpecial(slot) ? 1 : 0;
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
  NoteRecordChange(record);
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
  if (count < before || count - before > kRecentRecords) {
    NoteTableChange();
  } else {
    for (std::size_t r = before; r < count; ++r) NoteRecordChange(static_cast<int>(r));
  }
  for (auto& column : fDatas) {
    for (std::size_t r = count; r < before; ++r) fSpecialValues -= HoldsSpecial(column[r]) ? 1 : 0;
    column.resize(count);
  }
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
