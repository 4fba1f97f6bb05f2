#include "core/colourcontrast.h"

#include <algorithm>
#include <cmath>

namespace {

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(int colour) {
    const int red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    return 0.2126 * Linear(red) + 0.7152 * Linear(green) + 0.0722 * Linear(blue);
}

}  // namespace

double ContrastRatio(int colourA, int colourB) {
    const double a = Luminance(colourA) + 0.05, b = Luminance(colourB) + 0.05;
    return std::max(a, b) / std::min(a, b);
}

bool TextStandsOut(int fontColour, int backColour) {
    return ContrastRatio(fontColour, backColour) >= kLeastReadableContrast;
}
