// Tagged text: the lookup of one value and the one writer of tagged values,
// which neutralises every value it writes.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "core/gbktext.h"
#include "core/libtext.h"
#include "core/tagtext.h"

namespace {

TEST(FindTagValue, TakesTheFirstValueBetweenItsMarks) {
    struct Case {
        std::string text, name, value;
    };
    const Case cases[] = {
        {"<mute>0</mute>", "mute", "0"},
        {"<mute>0</mute>", "mut", ""},
        {"<mute>0", "mute", ""},                // no closing mark
        {"</mute><mute>1</mute>", "mute", ""},  // stray closing mark first
        {"<a>1</a><a>2</a>", "a", "1"},         // first occurrence counts
        {"<Mute>1</Mute>", "mute", ""},         // case counts
        {"<e></e>", "e", ""},
        {"<lw>-1</lw><lt>3</lt>", "lt", "3"},
        {"<c>" + Gbk("水") + "</c>", "c", Gbk("水")},
    };
    for (const Case& c : cases) EXPECT_EQ(FindTagValue(c.text, c.name), c.value) << c.text;
}

TEST(FindTagValue, IgnoresMarksThatStartInsideADoubleByteCharacter) {
    // 0x81 is a lead byte, so "\x81<" is one character and its '<' opens
    // no tag: the value comes from the next opening mark.
    EXPECT_EQ(FindTagValue("\x81<e><e>z</e>", "e"), "z");
    // There the first closing mark stands before that opening mark.
    EXPECT_EQ(FindTagValue("\x81<e>x</e><e>y</e>", "e"), "");
}

// The tags of a small file format for the writer's cases.
constexpr std::string_view kTags[] = {"name", "e", "user2"};

TEST(AppendTag, WritesPlainValuesAsTheyAreAndNeutralisesTheRest) {
    struct Case {
        std::string name, value, written;
    };
    const Case cases[] = {
        {"name", "", "<name></name>"},
        {"name", "-12", "<name>-12</name>"},
        {"e", Gbk("水 みず"), "<e>" + Gbk("水 みず") + "</e>"},
        {"e", "a<b> c</d>", "<e>a<b> c</d></e>"},          // marks of other tags stay
        {"e", "x</e>y", "<e>x" + Gbk("＜") + "/e>y</e>"},  // its own closing mark
        {"name", "<user2>u</user2>", "<name>" + Gbk("＜") + "user2>u" + Gbk("＜") + "/user2></name>"},
        {"e", "a\r\nb\n", "<e>a  b </e>"},
        {"e", std::string("a\0b", 3), "<e>a b</e>"},
        {"e", "ab\x81", "<e>ab?</e>"},       // lone lead byte at the end
        {"e", "\x81<e>", "<e>\x81<e></e>"},  // "<" inside a character
    };
    for (const Case& c : cases) {
        std::string out = "#";
        AppendTag(out, c.name, c.value, kTags);
        EXPECT_EQ(out, "#" + c.written) << c.value;
        // What is written reads back as the neutral value, and neutralising
        // that once more changes nothing.
        const std::string back = FindTagValue(out, c.name);
        EXPECT_EQ(back, NeutralValue(c.value, kTags)) << c.value;
        EXPECT_EQ(NeutralValue(back, kTags), back) << c.value;
    }
}

TEST(AppendTag, MarksAreTheNameBetweenAngleBrackets) {
    EXPECT_EQ(OpenMark("lw"), "<lw>");
    EXPECT_EQ(CloseMark("lw"), "</lw>");
    std::string out;
    AppendOpenTag(out, "word");
    AppendTag(out, "e", "", kTags);
    AppendCloseTag(out, "word");
    EXPECT_EQ(out, "<word><e></e></word>");
}

TEST(FindFormatMark, ReportsTheFirstMarkInTagOrder) {
    struct Case {
        std::string text, mark;
    };
    const Case cases[] = {
        {"", ""},
        {"plain text", ""},
        {"a<e>b", "<e>"},
        {"a</c>", "</c>"},
        {"x</c>y<e>", "<e>"},      // the order of the tags decides, not the place
        {"</e><e>", "<e>"},        // an opening mark before its closing one
        {"<editor>", "<editor>"},  // not taken for "<e>"
        {"<e", ""},                // cut at the end
        {"<E>", ""},               // case counts
        {"<x><tt>", "<tt>"},
        {"</GradeWordLastWord5>", "</GradeWordLastWord5>"},
        {"\x81<e>", ""},         // the "<" is the second byte of a character
        {"\x81\x81<e>", "<e>"},  // two lead bytes make one character
        {Gbk("水") + "<g>", "<g>"},
        {"<\x81", ""},  // a lead byte cut at the end
    };
    for (const Case& c : cases) EXPECT_EQ(FindFormatMark(c.text), c.mark) << c.text;
}

// The straightforward search, mark by mark in tag order, against which the
// one-pass search is checked on random texts made of the marks' letters.
std::string FindFormatMarkOneByOne(std::string_view text) {
    for (std::string_view name : kLibraryFormatTags) {
        for (const std::string& mark : {OpenMark(name), CloseMark(name)}) {
            if (FindGbk(text, mark) != std::string::npos) return mark;
        }
    }
    return {};
}

TEST(FindFormatMark, AgreesWithTheSearchMarkByMark) {
    const std::string pieces[] = {"<",  "</", ">",    "e",      "t", "c",    "g",
                                  "lw", "tt", "word", "editor", "x", "\x81", "\xB0\xA1"};
    std::mt19937 rng(7);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const int length = static_cast<int>(rng() % 12);
        for (int i = 0; i < length; ++i) text += pieces[rng() % std::size(pieces)];
        ASSERT_EQ(FindFormatMark(text), FindFormatMarkOneByOne(text)) << text;
    }
}

}  // namespace
