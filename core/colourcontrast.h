#pragma once
// Whether text of one colour can be read on another. The study window
// hides a word by painting it in the background colour, so a font colour
// that is the background colour, or nearly, hides every word for good.
// Colours are 0x00BBGGRR values.

// The contrast of two colours as the ratio of their relative luminances
// (each plus 0.05), from 1 (equal) to 21 (black and white).
double ContrastRatio(int colourA, int colourB);

// The least contrast at which a word stands out from its background.
inline constexpr double kLeastReadableContrast = 1.5;

bool TextStandsOut(int fontColour, int backColour);
