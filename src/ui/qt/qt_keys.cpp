#include "ui/qt/qt_keys.h"

namespace ui::qt {

std::uint16_t VirtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    const int digit = key - Qt::Key_0;
    return static_cast<std::uint16_t>((modifiers & Qt::KeypadModifier) ? 96 + digit : key);
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z)
    return static_cast<std::uint16_t>(key);  // same codes as ASCII upper case
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
    return static_cast<std::uint16_t>(112 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Pause:
      return 19;
    case Qt::Key_CapsLock:
      return 20;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Print:
      return 44;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    case Qt::Key_Meta:
      return 91;
    case Qt::Key_Menu:
      return 93;
    case Qt::Key_NumLock:
      return 144;
    case Qt::Key_ScrollLock:
      return 145;
    default:
      return 0;
  }
}

ShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers) {
  unsigned shift = kShiftNone;
  if (modifiers & Qt::ShiftModifier)
    shift |= kShift;
  if (modifiers & Qt::AltModifier)
    shift |= kAlt;
  if (modifiers & Qt::ControlModifier)
    shift |= kCtrl;
  return static_cast<ShiftState>(shift);
}

}  // namespace ui::qt
