#include <gtest/gtest.h>

#include "core/answercompare.h"
#include "core/gbktext.h"

namespace {

// Marks written out: matching characters as they are, a run of wrong or
// extra ones in [], a run of missing ones in ().
std::u32string Written(const std::vector<MarkedChar>& marks) {
    std::u32string out;
    for (size_t i = 0; i < marks.size(); ++i) {
        const CharMark mark = marks[i].mark;
        const bool opens = i == 0 || marks[i - 1].mark != mark;
        const bool closes = i + 1 == marks.size() || marks[i + 1].mark != mark;
        if (opens && mark != CharMark::Match) out += mark == CharMark::Wrong ? U'[' : U'(';
        out += marks[i].ch;
        if (closes && mark != CharMark::Match) out += mark == CharMark::Wrong ? U']' : U')';
    }
    return out;
}

std::u32string Cp(const char* utf8) { return GbkCodePoints(Gbk(utf8)); }

struct AlignCase {
    const char* name;
    std::u32string typed;
    std::u32string expected;
    std::u32string written;
};

TEST(AlignAnswer, MarksEachCharacter) {
    const AlignCase cases[] = {
        {"same", U"たべる", U"たべる", U"たべる"},
        {"one wrong character", U"たべろ", U"たべる", U"たべ[ろ](る)"},
        {"one missing in the middle", U"たる", U"たべる", U"た(べ)る"},
        {"one missing at the end", U"たべ", U"たべる", U"たべ(る)"},
        {"one extra", U"たべるる", U"たべる", U"たべる[る]"},
        {"extra at the start", U"xneko", U"neko", U"[x]neko"},
        {"nothing typed", U"", U"猫", U"(猫)"},
        {"nothing expected", U"ab", U"", U"[ab]"},
        {"swapped pair keeps one as typed", U"ab", U"ba", U"[a]b(a)"},
        {"kanji for kanji", U"食べる", U"飲べる", U"[食](飲)べる"},
        {"all different: typed first, then what is missing", U"xy", U"ab", U"[xy](ab)"},
        {"two scripts", U"ねこ", U"neko", U"[ねこ](neko)"},
        {"wrong stretch between matches", U"axyb", U"acb", U"a[xy](c)b"},
    };
    for (const AlignCase& c : cases) EXPECT_EQ(Written(AlignAnswer(c.typed, c.expected)), c.written) << c.name;
}

TEST(AlignAnswer, MarksGiveBothTextsBack) {
    const std::u32string typed = U"しんかんせんん", expected = U"しんかせん";
    std::u32string back, word;
    for (const MarkedChar& m : AlignAnswer(typed, expected)) {
        if (m.mark != CharMark::Missing) back += m.ch;
        if (m.mark != CharMark::Wrong) word += m.ch;
    }
    EXPECT_EQ(back, typed);
    EXPECT_EQ(word, expected);
}

TEST(GbkCodePoints, DoubleByteCharactersAreOneCodePoint) {
    EXPECT_EQ(GbkCodePoints(Gbk("a食べるカ")), U"a食べるカ");
    EXPECT_EQ(GbkCodePoints(""), U"");
    // A lone lead byte at the end is no character.
    EXPECT_EQ(GbkCodePoints(std::string("a\x81")), U"a\uFFFD");
}

TEST(Kana, FormsAndConversions) {
    EXPECT_EQ(KanaFormOf(U"たべる"), KanaForm::Hiragana);
    EXPECT_EQ(KanaFormOf(U"タベル"), KanaForm::Katakana);
    EXPECT_EQ(KanaFormOf(U"ラーメン"), KanaForm::Katakana);
    EXPECT_EQ(KanaFormOf(U"らーめん"), KanaForm::Hiragana);
    EXPECT_EQ(KanaFormOf(U"たベる"), KanaForm::Mixed);
    EXPECT_EQ(KanaFormOf(U"食べる"), KanaForm::NotKana);
    EXPECT_EQ(KanaFormOf(U"taberu"), KanaForm::NotKana);
    EXPECT_EQ(KanaFormOf(U"ー"), KanaForm::Hiragana);
    EXPECT_EQ(KanaFormOf(U""), KanaForm::NotKana);
    EXPECT_EQ(ToKatakana(U"ゔぁゝちょっと食"), U"ヴァヽチョット食");
    EXPECT_EQ(ToHiragana(U"ヴァヽチョット食ー"), U"ゔぁゝちょっと食ー");
}

TEST(Kana, LatinLettersAndJapanese) {
    EXPECT_TRUE(OnlyLatinLetters(U"taberu"));
    EXPECT_TRUE(OnlyLatinLetters(U"ohayou gozaimasu"));
    EXPECT_TRUE(OnlyLatinLetters(U"Ｔａｂｅ"));
    EXPECT_FALSE(OnlyLatinLetters(U"tabe1"));
    EXPECT_FALSE(OnlyLatinLetters(U"たべ"));
    EXPECT_FALSE(OnlyLatinLetters(U" - "));
    EXPECT_TRUE(HoldsJapanese(U"食"));
    EXPECT_TRUE(HoldsJapanese(U"abcか"));
    EXPECT_FALSE(HoldsJapanese(U"neko"));
}

struct JudgeCase {
    const char* name;
    const char* answer;
    const char* word;
    const char* reading;
    bool acceptReading;
    bool right, byReading, againstReading, readingMatches, latin;
    KanaForm form;
    const char* expected;  // what the marks compare against
    const char* written;   // the marks; "" when there are none
};

TEST(JudgeAnswer, WordReadingAndScript) {
    using K = KanaForm;
    const JudgeCase cases[] = {
        {"the word itself", "食べる", "食べる", "たべる", false, true, false, false, false, false, K::NotKana, "", ""},
        {"letter case matters", "Neko", "neko", "", false, false, false, false, false, false, K::NotKana, "neko",
         "[N](n)eko"},
        {"kana for kanji, reading off", "たべる", "食べる", "たべる", false, false, false, true, true, false,
         K::Hiragana, "たべる", ""},
        {"kana for kanji, reading on", "たべる", "食べる", "たべる", true, true, true, true, true, false, K::Hiragana,
         "たべる", ""},
        {"katakana reading, on", "タベル", "食べる", "たべる", true, true, true, true, true, false, K::Katakana,
         "タベル", ""},
        {"mixed scripts are no reading", "たベる", "食べる", "たべる", true, false, false, true, false, false, K::Mixed,
         "たべる", "た[ベ](べ)る"},
        {"a wrong reading is set against the reading", "たべろ", "食べる", "たべる", true, false, false, true, false,
         false, K::Hiragana, "たべる", "たべ[ろ](る)"},
        {"kana word: no reading involved", "かわ", "かわ", "かわ", true, true, false, false, false, false, K::NotKana,
         "", ""},
        {"kana word typed wrong", "かは", "かわ", "", true, false, false, false, false, false, K::Hiragana, "かわ",
         "か[は](わ)"},
        {"kanji word without a reading", "みず", "水", "", true, false, false, false, false, false, K::Hiragana, "水",
         "[みず](水)"},
        {"romaji for a Japanese word", "mizu", "水", "みず", true, false, false, false, false, true, K::NotKana, "水",
         "[mizu](水)"},
        {"romaji for a romaji word is no hint", "nek", "neko", "", false, false, false, false, false, false, K::NotKana,
         "neko", "nek(o)"},
    };
    for (const JudgeCase& c : cases) {
        const AnswerVerdict v = JudgeAnswer(Gbk(c.answer), Gbk(c.word), Gbk(c.reading), c.acceptReading);
        EXPECT_EQ(v.right, c.right) << c.name;
        EXPECT_EQ(v.byReading, c.byReading) << c.name;
        EXPECT_EQ(v.againstReading, c.againstReading) << c.name;
        EXPECT_EQ(v.readingMatches, c.readingMatches) << c.name;
        EXPECT_EQ(v.latinForJapanese, c.latin) << c.name;
        if (!(c.right && !c.byReading)) {
            EXPECT_EQ(v.form, c.form) << c.name;
            EXPECT_EQ(v.expected, Cp(c.expected)) << c.name;
        }
        EXPECT_EQ(Written(v.marks), Cp(c.written)) << c.name;
    }
}

}  // namespace
