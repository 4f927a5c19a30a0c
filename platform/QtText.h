#pragma once

#include <QString>

#include <string>

// The only crossing between the program's Windows-1252 texts and the toolkit's
// Unicode strings. Never build a QString from a std::string directly: bytes
// above 0x7F would be read as UTF-8 and come out garbled.
QString ToQString(const std::string& cp1252);
// Characters that Windows-1252 cannot hold become "?".
std::string FromQString(const QString& text);
