#pragma once

#include <functional>
#include <string>

#include "GridSurface.h"

// A line for the piece editor's message panel (AfficherSignal): the rules
// that meet something they cannot use (a weight or a price that is not a
// number) say so there and go on.
using TSignalProc = std::function<void(const std::string& text, TColor color)>;

// Colours of the message lines, 0x00BBGGRR.
inline constexpr TColor clSignalGreen = 0x008000;
inline constexpr TColor clSignalBlue = 0xFF0000;
inline constexpr TColor clSignalRed = 0x0000FF;
