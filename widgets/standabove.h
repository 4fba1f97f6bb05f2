#pragma once
// Keeps a window that another one opened above its opener: the window
// manager then never lets a screen-filling window cover it.

class QWidget;

// Makes `window` (a top-level window) belong to `opener`'s window, so that
// it stands above it for as long as both are shown.
void StandAbove(QWidget* window, QWidget* opener);

// Shows `window` above `opener`'s window and gives it the keyboard.
void ShowAbove(QWidget* window, QWidget* opener);

// Gives `window` the keyboard. Unlike QWidget::activateWindow, this also
// works while the window's owner has it: Qt counts a window that belongs
// to the active one as active already and would leave the keyboard there.
void GiveKeyboardTo(QWidget* window);
