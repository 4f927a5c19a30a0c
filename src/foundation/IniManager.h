#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ListOfPairOfStrings.h"

// The largest settings or template file read. The desk's files are a few
// kilobytes; anything larger is no file the program wrote, and is refused
// rather than read.
inline constexpr std::size_t kMaxIniFileBytes = std::size_t(1024) * 1024;

// One section of a settings file: its name (spaces trimmed) and its pairs,
// whose keys are compared exactly.
class TIniSection {
public:
  explicit TIniSection(std::string name);
  ~TIniSection();
  TIniSection(const TIniSection&) = delete;
  TIniSection& operator=(const TIniSection&) = delete;

  std::string fName;
  TListOfPairOfStrings* fPairs;
  // The name lower-cased and trimmed, as sections are ordered and found.
  std::string fSortKey;
};

// The program's own INI reader and writer ("./Data/parametres.ini" and the
// print templates). Sections are kept sorted by their lower-cased, trimmed
// names and found without regard to case; keys are exact.
//
// A file that exists but was not read whole (larger than kMaxIniFileBytes,
// unreadable, or holding a line the reader could not classify) is reported
// once, naming the file (and the line); the manager then answers with the
// defaults (empty texts, 0, -1) without further reports, and never saves
// over that file.
class TIniManager {
public:
  // An empty manager with an empty section list.
  TIniManager();
  // LoadFromFile on a manager whose section list is absent.
  explicit TIniManager(const std::string& fileName);
  ~TIniManager();
  TIniManager(const TIniManager&) = delete;
  TIniManager& operator=(const TIniManager&) = delete;

  void LoadFromFile(const std::string& fileName);
  // Loads from text already in memory (same rules as a file's lines; an
  // empty text is reported as an empty file).
  void LoadFromText(const std::string& text);
  // True when the last file was refused (see above).
  bool Refused() const { return !fRefusedFile.empty(); }
  std::string Get(const std::string& section, const std::string& key);
  int GetInt(const std::string& section, const std::string& key);
  int GetIntStrict(const std::string& section, const std::string& key);
  void Set(const std::string& section, const std::string& key, const std::string& value);
  // Writes the whole manager through an atomic replace; false (and a
  // warning) when the file could not be written, the old file then intact.
  bool SaveToFile(const std::string& fileName) const;
  // The text SaveToFile writes.
  std::string SaveToText() const;
  bool SectionExists(const std::string& section) const;
  bool KeyExists(const std::string& section, const std::string& key) const;

  // Sections in list order (absent list: none).
  int SectionCount() const;
  TIniSection* GetSection(int index) const;
  bool HasSectionList() const { return fSections != nullptr; }

private:
  // Loads the lines; source names the file in the reports ("" for a text).
  void Load(const std::string& text, const std::string& source);
  void FreeSections();
  // Inserts at the sorted position of the section's name (before any section
  // of the same name); creates the list when it is absent.
  void InsertSorted(TIniSection* section);
  // Binary search by lower-cased, trimmed name; nullptr when there is none.
  TIniSection* FindSection(const std::string& section) const;

  std::vector<TIniSection*>* fSections;
  // A file that exists but was not read whole: saving over it would replace
  // every setting it holds, so that is refused.
  std::string fRefusedFile;
};
