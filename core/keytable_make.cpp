// keytable_make OUTPUT: writes the C++ source of kKeyTable, the key bytes
// of every file's first kKeyTableSize bytes, drawn one by one from the seed
// exactly as the codec would draw them.

#include <cstdio>

#include "core/keydraw.h"
#include "core/keytable.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: keytable_make OUTPUT.cpp\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out,
                 "// Made by keytable_make at build time.\n"
                 "#include \"core/keytable.h\"\n\n"
                 "alignas(64) const unsigned char kKeyTable[kKeyTableSize] = {\n");
    uint32_t state = static_cast<uint32_t>(kKeystreamSeed);
    for (size_t j = 0; j < kKeyTableSize; ++j) {
        state = keydraw::Step(state);
        std::fprintf(out, "%u,%s", static_cast<unsigned>(keydraw::KeyByteFor(static_cast<int32_t>(state))),
                     j % 32 == 31 ? "\n" : "");
    }
    std::fprintf(out, "};\n");
    if (std::ferror(out) || std::fclose(out) != 0) {
        std::perror(argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
