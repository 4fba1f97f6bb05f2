#pragma once
// Reading a plain (not scrambled) file whole, as the import source texts
// and the command-line tool's inputs are read.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The whole content of the file; nothing when it cannot be read (a folder,
// a missing file, a read error).
std::optional<std::string> ReadPlainFile(const std::filesystem::path& path);

// Writes `bytes` as the whole file: first to a temporary file beside it,
// which then replaces the old one, so a failed write leaves the old file as
// it was. False when the file cannot be written; no message.
bool WritePlainFile(const std::filesystem::path& path, std::string_view bytes);
