#pragma once

#include <string>

// Texts are Windows-1252 bytes inside the program. These conversions are the
// only way text crosses to and from the toolkit (which works in Unicode).
std::string Cp1252ToUtf8(const std::string& text);
// Characters that Windows-1252 cannot hold become "?".
std::string Utf8ToCp1252(const std::string& text);

// Capitals as the reference lists and the order lines are written: the
// letters a to z only, every other byte as it is ("crème" gives "CRèME").
std::string UpperCaseAToZ(std::string text);
// Every Windows-1252 letter in capitals, accented ones included ("crème"
// gives "CRÈME"); the division sign, ß and µ have no capital and stay.
std::string UpperCase1252(std::string text);
