#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

// The only crossing between the program's Windows-1252 texts and the toolkit's
// Unicode strings. Never build a QString from a std::string directly: bytes
// above 0x7F would be read as UTF-8 and come out garbled.
QString ToQString(const std::string& cp1252);
// Characters that Windows-1252 cannot hold become "?".
std::string FromQString(const QString& text);

// The most characters of one value the toolkit is given to draw or measure:
// more than any cell, label or page shows, and few enough that laying a text
// out stays quick and inside the toolkit's coordinates (an article value of
// 100 MB made the list's text drawing crash). Only drawing is cut; the value
// itself stays whole.
inline constexpr std::size_t kMaxDrawnChars = 4096;
// The first kMaxDrawnChars characters of the text, for drawing and measuring.
std::string_view DrawnPart(const std::string& cp1252);
// ToQString of DrawnPart.
QString ToQDrawnString(const std::string& cp1252);
