// lxtool decode FILE: the plain bytes of a scrambled file on standard output.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "core/codec.h"
#include "core/scrambledfile.h"
#include "tools/lxtool.h"

namespace {

int Decode(const lxtool::Args& args) {
    if (args.size() != 1) return lxtool::Fail("usage: lxtool decode FILE");
    const std::filesystem::path path = lxtool::PathArg(args[0]);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return lxtool::Fail("'" + args[0] + "' is a folder, not a file");
    }
    std::optional<std::string> plain = ReadScrambledFile(path);
    if (!plain) {
        // A file that is too large has already been reported by the reader.
        const auto size = std::filesystem::file_size(path, ec);
        if (!ec && size > kLargestReadableFile) return 1;
        return lxtool::Fail("cannot open '" + args[0] + "'");
    }
    if (!plain->empty() && std::fwrite(plain->data(), 1, plain->size(), stdout) != plain->size()) {
        return lxtool::Fail("cannot write to standard output");
    }
    if (std::fflush(stdout) != 0) return lxtool::Fail("cannot write to standard output");
    return 0;
}

}  // namespace

LXTOOL_COMMAND("decode", "decode FILE",
               "Writes the plain (GBK) bytes of the scrambled FILE to standard output,\n"
               "exactly as the program reads them. Files of 599999 bytes and more are\n"
               "refused, as the program refuses them.",
               Decode);
