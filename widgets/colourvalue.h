#pragma once
// Colours are kept as the configuration stores them: 0x00BBGGRR, red in
// the low byte.

#include <QColor>

inline QColor ColourFromValue(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

inline int ValueFromColour(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}
