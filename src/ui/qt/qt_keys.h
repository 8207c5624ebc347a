#pragma once
// Qt's key codes and modifiers in the form the form's key handler takes: Windows
// virtual-key codes and the toolkit-neutral shift state.
#include <cstdint>

#include <QtCore/qnamespace.h>

#include "ui/handlers.h"

namespace ui::qt {

// The virtual-key code of a Qt key, or 0 for keys without an obvious one. Letters and
// digits are their upper-case ASCII codes, whatever the Shift state; keypad digits are
// VK_NUMPAD0..9.
std::uint16_t VirtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers);

ShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers);

}  // namespace ui::qt
