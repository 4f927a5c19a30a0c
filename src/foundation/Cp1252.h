#pragma once

#include <string>

// Texts are Windows-1252 bytes inside the program. These conversions are the
// only way text crosses to and from the toolkit (which works in Unicode).
std::string Cp1252ToUtf8(const std::string& text);
// Characters that Windows-1252 cannot hold become "?".
std::string Utf8ToCp1252(const std::string& text);
