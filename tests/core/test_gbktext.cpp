#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "core/gbktext.h"

namespace {

TEST(GbkText, ConvertsBothWays) {
    std::string gbk = Gbk("收藏库词数：12 みず");
    EXPECT_EQ(gbk.substr(0, 2), "\xCA\xD5");  // 收
    EXPECT_EQ(GbkToUtf8(gbk), "收藏库词数：12 みず");
    EXPECT_EQ(Utf8(gbk), "收藏库词数：12 みず");
}

TEST(GbkText, ReportsCharactersGbkCannotHold) {
    size_t bad = 0;
    EXPECT_FALSE(TryUtf8ToGbk("ab\xF0\x9F\x98\x80", &bad));  // an emoji
    EXPECT_EQ(bad, 2u);
    EXPECT_FALSE(TryUtf8ToGbk("a\xC3", &bad));  // cut UTF-8
    EXPECT_EQ(Gbk("a😀b"), "a?b");
}

// Well-formed text takes a quicker way to GBK than text with a fault, which
// the full conversion handles; both must give the same bytes and places.
TEST(GbkText, Utf8ToGbkGivesTheSameBytesAndPlacesWhateverTheText) {
    struct Case {
        std::string utf8;
        std::optional<std::string> gbk;  // nothing: refused at `bad`
        size_t bad;
        std::vector<size_t> missing;  // characters GBK lacks, left out by Utf8ToGbkSkipping
    };
    const Case cases[] = {
        {"", std::string(), 0, {}},
        {"plain ASCII\r\n", std::string("plain ASCII\r\n"), 0, {}},
        {"水\n  [名] 水", std::string("\xCB\xAE\n  [\xC3\xFB] \xCB\xAE"), 0, {}},
        {std::string("a\0b", 3) + "み", std::string("a\0b", 3) + "\xA4\xDF", 0, {}},  // NUL is kept
        {"ab😀c", std::nullopt, 2, {2}},                                               // no GBK form
        {"水😀😀", std::nullopt, 3, {3, 7}},
        {"a\xC3", std::nullopt, 1, {}},             // cut
        {"a\xC0\x80", std::nullopt, 1, {}},         // overlong NUL
        {"x\xED\xA0\x80y", std::nullopt, 1, {}},    // surrogate
        {"\xF4\x90\x80\x80", std::nullopt, 0, {}},  // past U+10FFFF
    };
    for (const Case& c : cases) {
        size_t bad = 12345;
        const std::optional<std::string> gbk = TryUtf8ToGbk(c.utf8, &bad);
        EXPECT_EQ(gbk, c.gbk) << c.utf8;
        if (!c.gbk) EXPECT_EQ(bad, c.bad) << c.utf8;
        if (c.gbk || !c.missing.empty()) {
            std::vector<size_t> missing;
            Utf8ToGbkSkipping(c.utf8, missing);
            EXPECT_EQ(missing, c.missing) << c.utf8;
        }
    }
}

TEST(GbkText, InvalidGbkStaysReadable) { EXPECT_EQ(GbkToUtf8("a\x81"), "a\xEF\xBF\xBD"); }

TEST(GbkText, TrimRemovesBlanksAndControlsAtBothEnds) {
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {"  word \t\r\n", "word"},      {"\x01\x1F mid dle \x20", "mid dle"}, {"", ""}, {" \t ", ""},
        {Gbk("　水　"), Gbk("　水　")},  // the ideographic space is a character, not a blank
    };
    for (const Case& c : cases) EXPECT_EQ(TrimGbk(c.in), c.out) << c.in;
}

TEST(GbkText, FindNeverStartsOnATrailByte) {
    // 埃 is B0 A3; 佰 is B0 DB. In "埃佰" the bytes A3 B0 stand across the
    // two characters and must not match a search for "\xA3\xB0".
    std::string text = "\xB0\xA3\xB0\xDB";
    EXPECT_EQ(FindGbk(text, "\xA3\xB0"), std::string::npos);
    EXPECT_EQ(FindGbk(text, "\xB0\xDB"), 2u);
    // A '<' right after a lead byte belongs to the character (0x3C is not a
    // valid trail byte, but the search still steps over the pair).
    EXPECT_EQ(FindGbk("a<b>c", "<b>"), 1u);
    EXPECT_EQ(FindGbk("abcabc", "abc", 1), 3u);
}

TEST(GbkText, CutKeepsDoubleByteCharactersWhole) {
    std::string text = "a" + Gbk("水火");  // 1 + 2 + 2 bytes
    EXPECT_EQ(CutGbk(text, 5), text);
    EXPECT_EQ(CutGbk(text, 4), "a" + Gbk("水"));
    EXPECT_EQ(CutGbk(text, 2), "a");
    EXPECT_EQ(CutGbk(text, 0), "");
}

TEST(GbkText, NativePathTurnsBackslashesAndGbkNames) {
    auto path = ToNativePath("/opt/lx/" + Gbk("wordlib\\收藏库.lx"));
#ifndef _WIN32
    EXPECT_EQ(path.string(), "/opt/lx/wordlib/收藏库.lx");
#endif
    EXPECT_EQ(FromNativePath(std::filesystem::path("/opt/收藏")), "/opt/" + Gbk("收藏"));
}

}  // namespace
