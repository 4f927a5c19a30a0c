#pragma once

#include <string>

#include "GridSurface.h"

// The colour notation of the templates: a name of the platform's colour table
// ("clBlack", "clRed", "clNavy", "clBtnFace" ..., any letter case), or a
// number, decimal or hexadecimal after "$" (or "0x"), read as 0x00BBGGRR.
// False for any other text, and for a number outside 0 .. $FFFFFF.
bool StringToColor(const std::string& text, TColor& color);

// The plain 0x00BBGGRR value of a colour: system colours (top bit set) are
// given the usual values of the desktop they stand for.
TColor ColorToRGB(TColor color);
