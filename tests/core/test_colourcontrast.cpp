#include "core/colourcontrast.h"

#include <gtest/gtest.h>

#include "core/colourschemes.h"

namespace {

struct ContrastCase {
    const char* name;
    int font;
    int back;
    bool standsOut;
};

TEST(ColourContrast, WordsStandOutUnlessTheirColourIsNearlyTheBackground) {
    const ContrastCase cases[] = {
        {"black on white", 0x000000, 0xFFFFFF, true},
        {"the same colour", 10045497, 10045497, false},
        {"one step from the default background", 10045497 + 1, 10045497, false},
        {"dark blue on black", 0x280000, 0x000000, false},
        {"light grey on white", 0xDCDCDC, 0xFFFFFF, false},
        {"mid grey on white", 0x808080, 0xFFFFFF, true},
        {"yellow on white", 0x00FFFF, 0xFFFFFF, false},
        {"white on pure green", 0xFFFFFF, 32768, true},
        // Red is the low byte: pure red and pure blue differ in luminance.
        {"blue on red", 0xFF0000, 0x0000FF, true},
    };
    for (const ContrastCase& c : cases) {
        EXPECT_EQ(TextStandsOut(c.font, c.back), c.standsOut) << c.name;
        EXPECT_EQ(TextStandsOut(c.back, c.font), c.standsOut) << c.name << ", turned round";
    }
    EXPECT_DOUBLE_EQ(ContrastRatio(0x000000, 0xFFFFFF), 21.0);
}

TEST(ColourContrast, EveryOfferedSchemeIsReadable) {
    for (const ColourScheme& scheme : kColourSchemes)
        EXPECT_TRUE(TextStandsOut(scheme.fontColor, scheme.backColor)) << scheme.nameUtf8;
}

}  // namespace
