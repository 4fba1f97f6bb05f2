#pragma once
// The system-wide hot key on an X11 display: a passive key grab on the root
// window, whose key presses arrive through the xcb event stream.

#include <memory>

class HotKeyAdapter;

// The X11 adapter when the application runs on an X11 display; nothing
// otherwise (another platform plugin, or a build without X11 support).
std::unique_ptr<HotKeyAdapter> CreateX11HotKeyAdapter();

// The X11 key symbol for a Windows virtual-key code that can serve as a hot
// key (F1..F24); 0 for any other key.
unsigned long X11KeySymForVirtualKey(int virtualKey);
