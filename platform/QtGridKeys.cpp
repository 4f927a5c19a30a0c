// Key mapping: the Windows virtual-key codes and shift states that every key
// handler of the program receives, from Qt's key and mouse events.

#include "QtGridKeys.h"

#include <QKeyEvent>

std::uint16_t VirtualKeyOf(const QKeyEvent* event) {
  const int k = event->key();
  if ((event->modifiers() & Qt::KeypadModifier) != 0) {
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return static_cast<std::uint16_t>(vk::Numpad0 + (k - Qt::Key_0));
    switch (k) {
      case Qt::Key_Asterisk: return vk::Multiply;
      case Qt::Key_Plus: return vk::Add;
      case Qt::Key_Minus: return vk::Subtract;
      case Qt::Key_Period:
      case Qt::Key_Comma: return vk::Decimal;
      case Qt::Key_Slash: return vk::Divide;
      case Qt::Key_Enter: return vk::Return;
      default: break;
    }
  }
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return static_cast<std::uint16_t>(0x30 + (k - Qt::Key_0));
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return static_cast<std::uint16_t>(0x41 + (k - Qt::Key_A));
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return static_cast<std::uint16_t>(vk::F1 + (k - Qt::Key_F1));
  switch (k) {
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vk::Tab;
    case Qt::Key_Backspace: return vk::Back;
    case Qt::Key_Delete: return vk::Delete;
    case Qt::Key_Insert: return vk::Insert;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_PageUp: return vk::Prior;
    case Qt::Key_PageDown: return vk::Next;
    case Qt::Key_Home: return vk::Home;
    case Qt::Key_End: return vk::End;
    case Qt::Key_Shift: return vk::Shift;
    case Qt::Key_Control: return vk::Control;
    case Qt::Key_Alt: return vk::Menu;
    case Qt::Key_Semicolon: return 0xBA;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return 0xBB;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    case Qt::Key_Slash: return 0xBF;
    default: return 0;
  }
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState s = 0;
  if ((modifiers & Qt::ShiftModifier) != 0) s |= ssShift;
  if ((modifiers & Qt::AltModifier) != 0) s |= ssAlt;
  if ((modifiers & Qt::ControlModifier) != 0) s |= ssCtrl;
  if ((buttons & Qt::LeftButton) != 0) s |= ssLeft;
  if ((buttons & Qt::RightButton) != 0) s |= ssRight;
  if ((buttons & Qt::MiddleButton) != 0) s |= ssMiddle;
  return s;
}
