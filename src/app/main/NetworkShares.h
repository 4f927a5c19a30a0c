#pragma once

#include <string>

// The two network shares of the installation. The system addresses them as
// "//" + host + "/C$/..."; on this platform each host is a local folder named
// in the settings file, under which the host's "C$" share is mounted (for
// example mount -t cifs //SERVEUR/C$ "/mnt/serveur-quorix/C$"):
//
//   [Partages]
//      ServeurQuorix = /mnt/serveur-quorix
//      StationChronopost = /mnt/station-chronopost
//
// Reading these keys never shows a message: a missing file, section or key
// means the share is not there.
namespace NetworkShares {

inline constexpr const char* Section = "Partages";
inline constexpr const char* ServerKey = "ServeurQuorix";
inline constexpr const char* ChronopostKey = "StationChronopost";

// The folder standing for the host named by the key, without a trailing "/", or empty.
std::string ShareFolder(const std::string& settingsFile, const std::string& key);
// The shared barcode table's path when that file exists, else empty.
std::string RemoteBarcodeTable(const std::string& settingsFile);
// The courier station's hand-off folder (ending in "/") when the share is
// configured, else empty.
std::string ChronopostFolder(const std::string& settingsFile);

}  // namespace NetworkShares
