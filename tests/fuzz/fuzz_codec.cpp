// The scrambled-file reader and writer. Any bytes read as a file give their
// unscrambled text up to the first NUL (or nothing, after its message, when
// the file is too large); any text written reads back the same.

#include <cstdint>
#include <string>

#include "core/codec.h"
#include "core/scrambledfile.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InstallMessageCounter();
    const std::string_view input = fuzz::AsText(data, size);
    const auto path = fuzz::Folder() / "codec.lx";

    // Whatever a file holds reads as its unscrambled text.
    fuzz::WriteBytes(path, input);
    const auto read = ReadScrambledFile(path);
    if (size > kLargestReadableFile) {
        fuzz::Check(!read && fuzz::MessagesShown() > 0, "an oversized file is refused with a message");
    } else {
        fuzz::Check(read.has_value(), "a file within the size limit is read");
        const std::string plain = ScrambleWhole(input);
        fuzz::Check(*read == fuzz::UpToNul(plain), "a read gives the unscrambled text up to its first NUL");
    }

    // Whatever text is written reads back the same.
    const std::string_view text = fuzz::UpToNul(input);
    fuzz::Check(static_cast<bool>(WriteScrambledFile(path, text)), "a text is written");
    fuzz::Check(ScrambleWhole(text) == fuzz::ReadBytes(path), "the file holds the scrambled text");
    const auto back = ReadScrambledFile(path);
    if (text.size() <= kLargestReadableFile) fuzz::Check(back && *back == text, "a written text reads back the same");
    return 0;
}
