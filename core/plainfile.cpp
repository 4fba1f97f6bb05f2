#include "core/plainfile.h"

#include <fstream>
#include <iterator>

std::optional<std::string> ReadPlainFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool WritePlainFile(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path temp = path;
    temp += ".tmp";
    bool ok = false;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.flush();
            ok = static_cast<bool>(out);
        }
    }
    std::error_code ec;
    if (ok) {
        std::filesystem::rename(temp, path, ec);
        ok = !ec;
    }
    if (!ok) std::filesystem::remove(temp, ec);
    return ok;
}
