#pragma once

#include <Qt>

#include <cstdint>

#include "GridSurface.h"

class QKeyEvent;

// The Windows virtual-key code of a Qt key event (0 when it has none) and the
// shift state of its modifiers.
std::uint16_t VirtualKeyOf(const QKeyEvent* event);
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);
