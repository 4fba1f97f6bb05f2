#include "core/answercompare.h"

#include <algorithm>

#include "core/gbktext.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kLongVowelMark = 0x30FC;  // ー
constexpr char32_t kKanaShift = 0x60;        // katakana - hiragana

bool IsBlank(char32_t c) { return c == U' ' || c == 0x3000; }

// Hiragana with a katakana twin at kKanaShift: ぁ..ゖ and ゝゞ.
bool HasKatakanaTwin(char32_t c) { return (c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E; }
bool HasHiraganaTwin(char32_t c) { return (c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE; }

}  // namespace

std::u32string GbkCodePoints(std::string_view gbk) {
    const std::string utf8 = GbkToUtf8(gbk);
    std::u32string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        size_t length = 1;
        char32_t c = lead;
        if (lead >= 0xF0) {
            length = 4;
            c = lead & 0x07;
        } else if (lead >= 0xE0) {
            length = 3;
            c = lead & 0x0F;
        } else if (lead >= 0xC0) {
            length = 2;
            c = lead & 0x1F;
        } else if (lead >= 0x80) {
            c = kReplacement;
        }
        if (i + length > utf8.size()) {
            out += kReplacement;
            break;
        }
        for (size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out += c;
        i += length;
    }
    return out;
}

bool IsHiragana(char32_t c) { return (c >= 0x3041 && c <= 0x3096) || (c >= 0x309D && c <= 0x309F); }

bool IsKatakana(char32_t c) {
    return (c >= 0x30A1 && c <= 0x30FA) || (c >= 0x30FD && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF);
}

bool IsKanji(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0x20000 && c <= 0x2FFFF) || c == 0x3005;
}

KanaForm KanaFormOf(std::u32string_view text) {
    bool hiragana = false, katakana = false, kana = false;
    for (char32_t c : text) {
        if (IsHiragana(c)) {
            hiragana = kana = true;
        } else if (IsKatakana(c)) {
            katakana = kana = true;
        } else if (c == kLongVowelMark) {
            kana = true;
        } else if (!IsBlank(c)) {
            return KanaForm::NotKana;
        }
    }
    if (!kana) return KanaForm::NotKana;
    if (hiragana && katakana) return KanaForm::Mixed;
    return katakana ? KanaForm::Katakana : KanaForm::Hiragana;
}

std::u32string ToHiragana(std::u32string_view text) {
    std::u32string out(text);
    for (char32_t& c : out)
        if (HasHiraganaTwin(c)) c -= kKanaShift;
    return out;
}

std::u32string ToKatakana(std::u32string_view text) {
    std::u32string out(text);
    for (char32_t& c : out)
        if (HasKatakanaTwin(c)) c += kKanaShift;
    return out;
}

bool HoldsJapanese(std::u32string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char32_t c) { return IsHiragana(c) || IsKatakana(c) || IsKanji(c) || c == kLongVowelMark; });
}

bool OnlyLatinLetters(std::u32string_view text) {
    bool letter = false;
    for (char32_t c : text) {
        const bool ascii = (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
        const bool fullWidth = (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A);
        if (ascii || fullWidth)
            letter = true;
        else if (!IsBlank(c) && c != U'\'' && c != U'-')
            return false;
    }
    return letter;
}

std::vector<MarkedChar> AlignAnswer(std::u32string_view typed, std::u32string_view expected) {
    const size_t n = typed.size(), m = expected.size();
    // rest[i][j]: fewest edits that turn typed[i..] into expected[j..].
    std::vector<size_t> table((n + 1) * (m + 1));
    auto rest = [&](size_t i, size_t j) -> size_t& { return table[i * (m + 1) + j]; };
    for (size_t i = 0; i <= n; ++i) rest(i, m) = n - i;
    for (size_t j = 0; j <= m; ++j) rest(n, j) = m - j;
    for (size_t i = n; i-- > 0;)
        for (size_t j = m; j-- > 0;)
            rest(i, j) = std::min(
                {rest(i + 1, j + 1) + (typed[i] == expected[j] ? 0 : 1), rest(i + 1, j) + 1, rest(i, j + 1) + 1});

    // Forward from the start, so that the earliest characters match and an
    // extra or missing one is marked where the answer goes astray. Among
    // equally short ways a match comes first, then an extra or a missing
    // character, and a wrong one last: "ab" against "ba" keeps the b as
    // typed rather than marking both wrong.
    std::vector<MarkedChar> marks, missing;
    size_t i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && typed[i] == expected[j] && rest(i, j) == rest(i + 1, j + 1)) {
            // Between two matches, what was typed comes first and what is
            // missing after it: "ねこ" against "neko" reads [ねこ](neko), not
            // pairs of characters of two scripts.
            marks.insert(marks.end(), missing.begin(), missing.end());
            missing.clear();
            marks.push_back({typed[i], CharMark::Match});
            ++i, ++j;
        } else if (i < n && rest(i, j) == rest(i + 1, j) + 1) {
            marks.push_back({typed[i++], CharMark::Wrong});
        } else if (j < m && rest(i, j) == rest(i, j + 1) + 1) {
            missing.push_back({expected[j++], CharMark::Missing});
        } else {
            marks.push_back({typed[i++], CharMark::Wrong});
            missing.push_back({expected[j++], CharMark::Missing});
        }
    }
    marks.insert(marks.end(), missing.begin(), missing.end());
    return marks;
}

AnswerVerdict JudgeAnswer(std::string_view gbkAnswer, std::string_view gbkWord, std::string_view gbkReading,
                          bool acceptReading) {
    AnswerVerdict verdict;
    if (gbkAnswer == gbkWord) {
        verdict.right = true;
        return verdict;
    }
    const std::u32string answer = GbkCodePoints(gbkAnswer);
    const std::u32string word = GbkCodePoints(gbkWord);
    const std::u32string reading = GbkCodePoints(TrimGbk(gbkReading));
    verdict.latinForJapanese = HoldsJapanese(word) && OnlyLatinLetters(answer);
    verdict.form = KanaFormOf(answer);

    const bool wordHoldsKanji = std::any_of(word.begin(), word.end(), IsKanji);
    if (wordHoldsKanji && verdict.form != KanaForm::NotKana && KanaFormOf(reading) != KanaForm::NotKana) {
        verdict.againstReading = true;
        verdict.expected = verdict.form == KanaForm::Katakana ? ToKatakana(reading) : ToHiragana(reading);
        verdict.readingMatches = verdict.form != KanaForm::Mixed && answer == verdict.expected;
        verdict.right = verdict.byReading = acceptReading && verdict.readingMatches;
        if (!verdict.readingMatches) verdict.marks = AlignAnswer(answer, verdict.expected);
        return verdict;
    }
    verdict.expected = word;
    verdict.marks = AlignAnswer(answer, word);
    return verdict;
}
