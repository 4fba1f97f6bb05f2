#include "widgets/virtualkey.h"

#include <QKeyEvent>

namespace {

struct KeyCode {
    int qtKey;
    int code;
};

// Keys of the numeric keypad that have a code of their own. Without Num Lock
// the keypad reports navigation keys, which share the codes of the main block
// and so come from the table below.
constexpr KeyCode kKeypadKeys[] = {
    {Qt::Key_0, vk::Numpad0 + 0},  {Qt::Key_1, vk::Numpad0 + 1},     {Qt::Key_2, vk::Numpad0 + 2},
    {Qt::Key_3, vk::Numpad0 + 3},  {Qt::Key_4, vk::Numpad0 + 4},     {Qt::Key_5, vk::Numpad0 + 5},
    {Qt::Key_6, vk::Numpad0 + 6},  {Qt::Key_7, vk::Numpad0 + 7},     {Qt::Key_8, vk::Numpad0 + 8},
    {Qt::Key_9, vk::Numpad0 + 9},  {Qt::Key_Asterisk, vk::Multiply}, {Qt::Key_Plus, vk::Add},
    {Qt::Key_Minus, vk::Subtract}, {Qt::Key_Period, vk::Decimal},    {Qt::Key_Comma, vk::Decimal},
    {Qt::Key_Slash, vk::Divide},
};

// Every other key, by the physical key of a US layout: shifted characters
// carry the code of the key that produces them.
constexpr KeyCode kMainKeys[] = {
    {Qt::Key_Backspace, vk::Back},
    {Qt::Key_Tab, vk::Tab},
    {Qt::Key_Backtab, vk::Tab},
    {Qt::Key_Clear, vk::Clear},
    {Qt::Key_Return, vk::Return},
    {Qt::Key_Enter, vk::Return},
    {Qt::Key_Shift, vk::Shift},
    {Qt::Key_Control, vk::Control},
    {Qt::Key_Alt, vk::Menu},
    {Qt::Key_AltGr, vk::Menu},
    {Qt::Key_Pause, vk::Pause},
    {Qt::Key_CapsLock, vk::Capital},
    {Qt::Key_Escape, vk::Escape},
    {Qt::Key_Space, vk::Space},
    {Qt::Key_PageUp, vk::Prior},
    {Qt::Key_PageDown, vk::Next},
    {Qt::Key_End, vk::End},
    {Qt::Key_Home, vk::Home},
    {Qt::Key_Left, vk::Left},
    {Qt::Key_Up, vk::Up},
    {Qt::Key_Right, vk::Right},
    {Qt::Key_Down, vk::Down},
    {Qt::Key_Print, 44},
    {Qt::Key_Insert, vk::Insert},
    {Qt::Key_Delete, vk::Delete},
    {Qt::Key_Meta, 91},
    {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, vk::NumLock},
    {Qt::Key_ScrollLock, vk::Scroll},
    {Qt::Key_ParenRight, '0'},
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_Semicolon, 186},
    {Qt::Key_Colon, 186},
    {Qt::Key_Equal, vk::OemPlus},
    {Qt::Key_Plus, vk::OemPlus},
    {Qt::Key_Comma, 188},
    {Qt::Key_Less, 188},
    {Qt::Key_Minus, vk::OemMinus},
    {Qt::Key_Underscore, vk::OemMinus},
    {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},
    {Qt::Key_Slash, 191},
    {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},
    {Qt::Key_AsciiTilde, 192},
    {Qt::Key_BracketLeft, vk::OemOpenBracket},
    {Qt::Key_BraceLeft, vk::OemOpenBracket},
    {Qt::Key_Backslash, 220},
    {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, vk::OemCloseBracket},
    {Qt::Key_BraceRight, vk::OemCloseBracket},
    {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
};

template <size_t N>
int Lookup(const KeyCode (&table)[N], int qtKey) {
    for (const KeyCode& entry : table)
        if (entry.qtKey == qtKey) return entry.code;
    return 0;
}

}  // namespace

int WindowsVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (int code = Lookup(kKeypadKeys, qtKey)) return code;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return vk::F1 + (qtKey - Qt::Key_F1);
    return Lookup(kMainKeys, qtKey);
}

int WindowsVirtualKey(const QKeyEvent& event) {
#ifdef Q_OS_WIN
    if (event.nativeVirtualKey() != 0) return static_cast<int>(event.nativeVirtualKey());
#endif
    return WindowsVirtualKey(event.key(), event.modifiers());
}
