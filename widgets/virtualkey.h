#pragma once
// The study window's keyboard commands are defined in Windows virtual-key
// codes. This maps a Qt key event onto that code: one table for the keys
// whose code does not depend on the keypad, and the numeric keypad by its
// Num Lock state (digits with Num Lock on, the navigation codes without).

#include <Qt>

class QKeyEvent;

// Windows virtual-key codes the program switches on.
namespace vk {
inline constexpr int Back = 8, Tab = 9, Clear = 12, Return = 13, Shift = 16, Control = 17, Menu = 18, Pause = 19,
                     Capital = 20, Escape = 27, Space = 32, Prior = 33, Next = 34, End = 35, Home = 36, Left = 37,
                     Up = 38, Right = 39, Down = 40, Insert = 45, Delete = 46, Numpad0 = 96, Multiply = 106, Add = 107,
                     Subtract = 109, Decimal = 110, Divide = 111, F1 = 112, F5 = 116, F9 = 120, F12 = 123,
                     NumLock = 144, Scroll = 145, OemPlus = 187, OemMinus = 189, OemOpenBracket = 219,
                     OemCloseBracket = 221;
}

// The virtual-key code of `qtKey` (a Qt::Key), where the keypad modifier
// tells a keypad key from the main block. 0 for keys without a code.
int WindowsVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);
// The same for a key event; on Windows the event's native code is used
// as it is.
int WindowsVirtualKey(const QKeyEvent& event);
