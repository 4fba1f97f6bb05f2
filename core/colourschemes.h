#pragma once
// The colour schemes the settings window offers: font, background and
// border colour, stored as 0x00BBGGRR. Scheme 0 is the configuration's
// default.

#include <array>

struct ColourScheme {
    const char* nameUtf8;
    int fontColor;
    int backColor;
    int borderColor;
};

inline constexpr std::array<ColourScheme, 7> kColourSchemes{{
    {"默认", 16777215, 10045497, 15650749},
    {"旧版默认", 16446940, 10181638, 15650749},
    {"护眼一", 16777215, 32768, 16777215},
    {"护眼二", 16777215, 3764026, 16777215},
    {"清爽", 16777215, 12880158, 16777215},
    {"温馨", 16777215, 9986713, 16777215},
    {"凝重", 16777199, 8404992, 14793392},
}};

// The index of the first scheme of exactly these three colours; -1 if none.
constexpr int FindColourScheme(int fontColor, int backColor, int borderColor) {
    for (int i = 0; i < static_cast<int>(kColourSchemes.size()); ++i) {
        const ColourScheme& s = kColourSchemes[i];
        if (s.fontColor == fontColor && s.backColor == backColor && s.borderColor == borderColor) return i;
    }
    return -1;
}
