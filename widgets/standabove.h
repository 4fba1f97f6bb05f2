#pragma once
// Keeps a window that another one opened above its opener: the window
// manager then never lets a screen-filling window cover it.

class QWidget;

// Makes `window` (a top-level window) belong to `opener`'s window, so that
// it stands above it for as long as both are shown.
void StandAbove(QWidget* window, QWidget* opener);
