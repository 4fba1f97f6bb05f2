#pragma once
// Whether Ctrl has taken part in a chord since it last went down: another
// key pressed while it was held, or the keyboard taken by the desktop (a
// short cut of the window manager). An input method keeps the keys it takes
// (Ctrl+Space that switches it on or off) from the program's widgets, so on
// an X11 display the key presses are watched as the display delivers them,
// before any input method has seen them. Elsewhere nothing is watched and
// only the keys that reach the widgets can tell.

namespace ControlChord {

// Starts watching; does nothing when already watching or not on X11.
void Watch();
// True when, since the last press of Ctrl the display delivered, a key
// was pressed with Ctrl held or the program lost the keyboard.
bool Happened();

// What the display delivers, as the watcher passes it on (tests feed it
// directly): a key press with the hardware key code and whether Ctrl was
// held at that moment, and the loss of the keyboard.
void KeyPressed(unsigned keyCode, bool controlHeld);
void KeyboardLost();

}  // namespace ControlChord
