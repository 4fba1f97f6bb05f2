// Judging an answer: the input is answer TAB word TAB reading (GBK). The
// marks always give back both the typed text and the text they set it
// against, an answer is right only as the word itself or, with the setting
// on, as the reading, and the marks come back the same for the same texts.

#include <cstdint>
#include <string>

#include "core/answercompare.h"
#include "core/gbktext.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::string_view Field(std::string_view& rest) {
    const size_t tab = rest.find('\t');
    const std::string_view field = rest.substr(0, tab);
    rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
    return field;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4000) return 0;  // an answer box line and a word, not a book
    std::string_view rest = fuzz::AsText(data, size);
    const std::string answer = TrimGbk(Field(rest));
    const std::string word = TrimGbk(Field(rest));
    const std::string reading(Field(rest));

    for (bool accept : {false, true}) {
        const AnswerVerdict v = JudgeAnswer(answer, word, reading, accept);
        fuzz::Check(v.right == (answer == word || v.byReading), "right only as the word or the reading");
        fuzz::Check(!v.byReading || (accept && v.readingMatches), "the reading counts only when accepted");
        if (answer == word) {
            fuzz::Check(v.marks.empty(), "the word itself has no marks");
            continue;
        }
        if (v.readingMatches) continue;
        std::u32string typed, expected;
        for (const MarkedChar& m : v.marks) {
            if (m.mark != CharMark::Missing) typed += m.ch;
            if (m.mark != CharMark::Wrong) expected += m.ch;
        }
        fuzz::Check(typed == GbkCodePoints(answer), "the marks give the answer back");
        fuzz::Check(expected == v.expected, "the marks give the word or reading back");
        fuzz::Check(AlignAnswer(typed, expected) == v.marks, "the same texts give the same marks");
    }
    return 0;
}
