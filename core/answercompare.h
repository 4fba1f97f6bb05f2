#pragma once
// Judging a typed answer against the word, and showing where a wrong answer
// went wrong. The word and the answer arrive as GBK byte strings; the
// comparison goes by characters (code points), so a double-byte character
// is one mark, never two halves.

#include <string>
#include <string_view>
#include <vector>

// GBK -> code points; bytes that are not GBK come out as U+FFFD.
std::u32string GbkCodePoints(std::string_view gbk);

bool IsHiragana(char32_t c);
bool IsKatakana(char32_t c);
bool IsKanji(char32_t c);  // CJK ideographs and the iteration mark 々

// What a text of kana is written in. The long-vowel mark ー belongs to
// both scripts; a text with any other character is NotKana.
enum class KanaForm { NotKana, Hiragana, Katakana, Mixed };
KanaForm KanaFormOf(std::u32string_view text);
std::u32string ToHiragana(std::u32string_view text);
std::u32string ToKatakana(std::u32string_view text);

// True when `text` holds a kana or kanji character.
bool HoldsJapanese(std::u32string_view text);
// True when `text` holds Latin letters and nothing else but blanks,
// apostrophes and hyphens: what a keyboard types while the input method
// is off.
bool OnlyLatinLetters(std::u32string_view text);

// One character of the typed answer set against the word.
enum class CharMark {
    Match,    // typed as in the word
    Wrong,    // typed, but not in the word at this place (wrong or extra)
    Missing,  // in the word, but not typed
};
struct MarkedChar {
    char32_t ch;
    CharMark mark;
    bool operator==(const MarkedChar&) const = default;
};

// The typed text against the expected one, character by character, along
// the fewest edits that turn one into the other. A character typed in place
// of another is marked Wrong followed by the expected one marked Missing.
// Reading the Match and Wrong marks gives the typed text back; reading the
// Match and Missing marks gives the expected text.
std::vector<MarkedChar> AlignAnswer(std::u32string_view typed, std::u32string_view expected);

// The judgement of one answer, both texts trimmed by the caller.
struct AnswerVerdict {
    // The answer counts as right: it is the word, byte for byte, or (when
    // the reading is accepted) the word's reading in hiragana or katakana.
    bool right = false;
    // Right because the reading was typed; `form` says in which script.
    bool byReading = false;
    // Kana typed for a word holding kanji is set against the reading:
    // `againstReading` then holds, and `readingMatches` says whether the
    // kana typed is the reading (right or not).
    bool againstReading = false;
    bool readingMatches = false;
    KanaForm form = KanaForm::NotKana;
    // What the marks set the answer against: the word, or the reading in the
    // script the answer was typed in.
    std::u32string expected;
    // Empty for an answer that is the word itself.
    std::vector<MarkedChar> marks;
    // The word holds Japanese and the answer only Latin letters.
    bool latinForJapanese = false;
};

// One judged answer as the study window reports it (GBK texts).
struct JudgedAnswer {
    std::string word;   // as shown
    std::string typed;  // trimmed
    bool right = false;
    bool byReading = false;  // right as the reading in kana
};

// `reading` is the word's reading from the readings list (empty when it has
// none); `acceptReading` is the learner's setting.
AnswerVerdict JudgeAnswer(std::string_view gbkAnswer, std::string_view gbkWord, std::string_view gbkReading,
                          bool acceptReading);
