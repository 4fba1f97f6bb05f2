#pragma once
// Colours are kept as the configuration stores them: 0x00BBGGRR, red in
// the low byte.

#include <QAbstractButton>
#include <QColor>
#include <QPalette>

inline QColor ColourFromValue(int value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

inline int ValueFromColour(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

// A button's caption colour while the button can be used. A disabled button
// keeps the style's own caption colour, so that it looks disabled.
inline void SetButtonCaptionColour(QAbstractButton* button, int value) {
    const QColor colour = ColourFromValue(value);
    QPalette palette = button->palette();
    palette.setColor(QPalette::Active, QPalette::ButtonText, colour);
    palette.setColor(QPalette::Inactive, QPalette::ButtonText, colour);
    button->setPalette(palette);
}
