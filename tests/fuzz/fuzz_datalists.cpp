// The data lists: lookups in any list text stay inside it, and an entry
// written into a list is found again. The input is a word line, then the
// list text.

#include <cstdint>
#include <string>
#include <vector>

#include "core/datalists.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Printable ASCII without blanks at its ends: a text the lists hold as it is.
bool PlainEntry(std::string_view text) {
    if (text.empty() || text.size() > 40 || text.front() == ' ' || text.back() == ' ') return false;
    for (char c : text)
        if (c < 0x20 || c > 0x7e) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input = fuzz::AsText(data, size);
    const size_t cut = input.find('\n');
    const std::string_view word = input.substr(0, cut);
    const std::string_view list = cut == std::string_view::npos ? std::string_view{} : input.substr(cut + 1);

    const std::vector<std::string> lines = SplitDataLines(list);
    (void)LookupReading(list, word);
    (void)LookupAlias(LowerCaseGbk(list), word);
    for (int count : {0, 1, 3}) (void)LookupSentences(list, lines, word, count);

    // The list's own last line as a reading: written as an entry at the head
    // of a list, it is found for the word.
    const std::string_view reading = lines.empty() ? std::string_view{} : std::string_view(lines.back());
    if (PlainEntry(word) && PlainEntry(reading) && word.find('\t') == std::string_view::npos) {
        const std::string text = "\r\n" + std::string(word) + "\t" + std::string(reading) + "\r\n" + std::string(list);
        fuzz::Check(LookupReading(text, word) == reading, "a reading written into the list is found");
        const std::string index = "\r\n" + std::string(word) + "\t0\r\n";
        const std::vector<std::string> sentences = {std::string(reading) + "\t" + std::string(word)};
        const auto shown = LookupSentences(index, sentences, word, 1);
        fuzz::Check(shown && shown->size() == 2 && (*shown)[0] == reading && (*shown)[1] == word,
                    "an indexed sentence is found with its translation");
    }
    return 0;
}
