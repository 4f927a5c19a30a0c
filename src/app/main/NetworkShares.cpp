#include "NetworkShares.h"

#include "Catalogue.h"
#include "FileUtils.h"
#include "IniManager.h"

namespace NetworkShares {

std::string ShareFolder(const std::string& settingsFile, const std::string& key) {
  std::string text;
  if (ReadWholeFile(settingsFile, text) != TReadResult::Ok || SplitLines(text).empty()) return {};
  TIniManager ini;
  ini.LoadFromText(text);
  if (!ini.KeyExists(Section, key)) return {};
  std::string folder = ini.Get(Section, key);
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

std::string RemoteBarcodeTable(const std::string& settingsFile) {
  const std::string folder = ShareFolder(settingsFile, ServerKey);
  if (folder.empty()) return {};
  const std::string file = folder + "/" + Catalogue::RemoteBarcodes::Folder + Catalogue::RemoteBarcodes::FileName;
  return FileExists(file) ? file : std::string();
}

std::string ChronopostFolder(const std::string& settingsFile) {
  const std::string folder = ShareFolder(settingsFile, ChronopostKey);
  if (folder.empty()) return {};
  return folder + "/" + Catalogue::Chronopost::Folder;
}

}  // namespace NetworkShares
