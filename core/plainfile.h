#pragma once
// Reading a plain (not scrambled) file whole, as the import source texts
// and the command-line tool's inputs are read. Plain files are written with
// SafeWriteFile (core/safewrite.h).

#include <filesystem>
#include <optional>
#include <string>

// The whole content of the file; nothing when it cannot be read (a folder,
// a missing file, a read error).
std::optional<std::string> ReadPlainFile(const std::filesystem::path& path);
