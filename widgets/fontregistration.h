#pragma once
// Makes a font file available to the program's windows (the pronunciation
// font tonefont.ttf). A missing or unusable file is ignored: the windows
// then get whatever face the platform substitutes.

#include <filesystem>

// Needs the application object to exist.
void RegisterFontFile(const std::filesystem::path& fontFile);
