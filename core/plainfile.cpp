#include "core/plainfile.h"

#include <fstream>

std::optional<std::string> ReadPlainFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    // Read in large blocks: a word list of thousands of lines is read at
    // once, not character by character.
    std::string bytes;
    char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0) bytes.append(block, static_cast<size_t>(in.gcount()));
    if (in.bad()) return std::nullopt;
    return bytes;
}
