#include "IniManager.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "FileUtils.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

// Section names are compared after trimming spaces and lower-casing. The text
// is Windows-1252, so only the ASCII letters change case: a locale-dependent
// tolower could turn accented bytes into something else.
std::string SectionSortKey(const std::string& name) {
  std::string key = StringManager().TrimChar(name, ' ');
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

// The first position whose name is not below key, in byte order, over a list
// kept sorted by the sections' sort keys.
std::size_t LowerBound(const std::vector<TIniSection*>& sections, const std::string& key) {
  std::size_t lo = 0;
  std::size_t hi = sections.size();
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (sections[mid]->fSortKey.compare(key) < 0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

}  // namespace

TIniSection::TIniSection(std::string name)
    : fName(std::move(name)), fPairs(new TListOfPairOfStrings()), fSortKey(SectionSortKey(fName)) {}

TIniSection::~TIniSection() {
  fPairs->ClearAndFreeEachObject();
  delete fPairs;
}

TIniManager::TIniManager() : fSections(new std::vector<TIniSection*>()) {}

TIniManager::TIniManager(const std::string& fileName) : fSections(nullptr) { LoadFromFile(fileName); }

TIniManager::~TIniManager() { FreeSections(); }

void TIniManager::FreeSections() {
  if (fSections == nullptr) return;
  for (TIniSection* section : *fSections) delete section;
  delete fSections;
  fSections = nullptr;
}

void TIniManager::InsertSorted(TIniSection* section) {
  if (fSections == nullptr) fSections = new std::vector<TIniSection*>();
  const std::size_t pos = LowerBound(*fSections, section->fSortKey);
  fSections->insert(fSections->begin() + static_cast<std::ptrdiff_t>(pos), section);
}

TIniSection* TIniManager::FindSection(const std::string& section) const {
  if (fSections == nullptr) return nullptr;
  const std::string key = SectionSortKey(section);
  const std::size_t pos = LowerBound(*fSections, key);
  if (pos < fSections->size() && (*fSections)[pos]->fSortKey == key) return (*fSections)[pos];
  return nullptr;
}

void TIniManager::LoadFromFile(const std::string& fileName) {
  std::string contents;
  const TReadResult read =
      FileExists(fileName) ? ReadWholeFile(fileName, contents, kMaxIniFileBytes) : TReadResult::Missing;
  if (read == TReadResult::TooLarge) {
    fRefusedFile = fileName;
    Error("Ini_Manager_Unit:LoadFromFile:fichier trop volumineux : " + fileName);
    return;
  }
  if (read != TReadResult::Ok) {
    // A file that exists but cannot be read is treated as a bad name too:
    // the settings in memory stay as they are.
    if (read != TReadResult::Missing) fRefusedFile = fileName;
    Error("Ini_Manager_Unit:LoadFromFile:Bad filename : " + fileName);
    return;
  }
  fRefusedFile.clear();
  Load(contents, fileName);
}

void TIniManager::LoadFromText(const std::string& text) { Load(text, ""); }

void TIniManager::Load(const std::string& text, const std::string& source) {
  std::vector<std::string> lines = SplitLines(text);
  if (lines.empty()) {
    Error("Ini_Manager_Unit:LoadFromFile:Fichier ini vide");
    return;
  }
  FreeSections();
  fSections = new std::vector<TIniSection*>();
  TStringManager& strings = StringManager();
  // The sections are gathered in file order and sorted once at the end:
  // inserting each at its place made a file of many sections in descending
  // order take minutes. A later section of a name goes before an earlier one
  // of the same name, as the insertion one by one placed it.
  std::vector<TIniSection*>& sections = *fSections;
  TIniSection* current = nullptr;
  auto closeCurrent = [&]() {
    if (current == nullptr) return;
    if (current->fName.empty()) {
      // A header with only blanks between its brackets names nothing; its
      // pairs cannot be looked up and are dropped with it.
      delete current;
    } else {
      sections.push_back(current);
    }
    current = nullptr;
  };
  std::size_t unreadable = 0;
  std::string firstUnreadable;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    try {
      const std::string type = strings.GetIniLineType(line);
      if (type == "section") {
        closeCurrent();
        current = new TIniSection(strings.GetIniSection(line));
      } else if (type == "keyvalue" && current != nullptr) {
        std::string key = strings.GetIniKey(line);
        std::string value = strings.GetIniValue(line);
        // A key of blanks only (a lone tab once the spaces are trimmed) would
        // be written back as "   \t = value" and read as no key at all: the
        // pair would vanish at the next save, so it is not kept.
        if (key.find_first_not_of(" \t") != std::string::npos && !value.empty()) current->fPairs->add(key, value);
      }
    } catch (const ERegExError& e) {
      // A line the patterns could not answer for is not a line without a
      // setting: it is reported, and the file it came from is kept as it is.
      if (unreadable++ == 0) firstUnreadable = IntToStr(static_cast<long long>(n + 1)) + " (" + e.Message + ")";
    }
  }
  closeCurrent();
  std::reverse(sections.begin(), sections.end());
  std::stable_sort(sections.begin(), sections.end(),
                   [](const TIniSection* a, const TIniSection* b) { return a->fSortKey < b->fSortKey; });
  if (unreadable > 0) {
    if (!source.empty()) fRefusedFile = source;
    Error("Ini_Manager_Unit:LoadFromFile:ligne illisible " + firstUnreadable +
          (unreadable > 1 ? " et " + IntToStr(static_cast<long long>(unreadable - 1)) + " autre(s)" : "") +
          (source.empty() ? "" : " dans " + source + ", fichier conserve tel quel"));
  }
}

std::string TIniManager::Get(const std::string& section, const std::string& key) {
  // A refused file was reported once when it was read: its settings are the
  // defaults, without a report for each of them.
  if (fSections == nullptr) {
    if (!Refused()) Error("Ini_Manager_Unit:TIniManager.Get:Pas de sections");
    return "";
  }
  std::string result;
  TIniSection* found = FindSection(section);
  if (found != nullptr) result = found->fPairs->getData(key);
  if (result.empty() && !Refused()) Error("TIniManager.Get : [" + section + "]/" + key + " n'existe pas");
  return result;
}

int TIniManager::GetInt(const std::string& section, const std::string& key) {
  std::string value = Get(section, key);
  if (StringManager().IsInteger(value)) {
    // The integer shape allows up to 18 digits; a value that does not fit the
    // result is no usable setting and is handled like any other bad value.
    long long n = 0;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec == std::errc() && end == value.data() + value.size() && n >= INT_MIN && n <= INT_MAX) {
      return static_cast<int>(n);
    }
  }
  if (!Refused() || !value.empty()) Error("Ini_Manager_Unit:TIniManager:GetInt:Can't Find " + section + " " + key);
  return 0;
}

int TIniManager::GetIntStrict(const std::string& section, const std::string& key) {
  if (KeyExists(section, key)) return GetInt(section, key);
  if (!Refused()) Error("TIniManager.GetIntStrict : [section][key] inexistant : " + section + " - " + key);
  return -1;
}

void TIniManager::Set(const std::string& section, const std::string& key, const std::string& value) {
  if (fSections == nullptr) fSections = new std::vector<TIniSection*>();
  TIniSection* found = FindSection(section);
  if (found != nullptr && found->fPairs->exists(key)) {
    found->fPairs->setData(key, value);
  } else if (found != nullptr) {
    found->fPairs->add(key, value);
  } else {
    // Names are kept trimmed, as a file's headers are when read.
    TIniSection* created = new TIniSection(StringManager().TrimChar(section, ' '));
    created->fPairs->add(key, value);
    InsertSorted(created);
  }
}

std::string TIniManager::SaveToText() const {
  std::string text;
  if (fSections == nullptr) return text;
  for (const TIniSection* section : *fSections) {
    text += "[" + section->fName + "]\r\n";
    const TListOfPairOfStrings& pairs = *section->fPairs;
    for (int i = 0; i < pairs.Count(); ++i) {
      text += "   ";
      text += pairs.KeyAt(i);
      text += " = ";
      text += pairs.DataAt(i);
      text += "\r\n";
    }
  }
  return text;
}

bool TIniManager::SaveToFile(const std::string& fileName) const {
  if (!fRefusedFile.empty() && SameFile(fileName, fRefusedFile)) {
    Warning("TIniManager.SaveToFile:fichier non lu, conserve " + fileName);
    return false;
  }
  if (WriteFileAtomically(fileName, SaveToText())) return true;
  Warning("TIniManager.SaveToFile:echec écriture " + fileName);
  return false;
}

bool TIniManager::SectionExists(const std::string& section) const { return FindSection(section) != nullptr; }

bool TIniManager::KeyExists(const std::string& section, const std::string& key) const {
  const TIniSection* found = FindSection(section);
  return found != nullptr && found->fPairs->exists(key);
}

int TIniManager::SectionCount() const { return fSections == nullptr ? 0 : static_cast<int>(fSections->size()); }

TIniSection* TIniManager::GetSection(int index) const {
  if (index < 0 || index >= SectionCount()) return nullptr;
  return (*fSections)[static_cast<std::size_t>(index)];
}
