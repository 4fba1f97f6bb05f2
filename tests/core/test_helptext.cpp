// Finding the help guide's topics and pages in the text of its help file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gbktext.h"
#include "core/helptext.h"

namespace {

const std::string kText =
    Gbk("heading <step>outside any topic</step>\r\n"
        "<单词分组><step>one\r\nline two</step> between <step>two</step><step>three</step></单词分组>\r\n"
        "<open><step>no closing mark for the topic</step>\r\n"
        "<caps><Step>written with a capital</Step></caps>\r\n"
        "<empty></empty>\r\n");

struct PageCase {
    const char* name;  // the case's name in the test list
    const char* topic;
    int index;
    const char* expected;  // UTF-8
};

class HelpPageTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(HelpPageTest, FindsThePageOfTheTopic) {
    const PageCase& c = GetParam();
    EXPECT_EQ(Utf8(HelpPage(HelpSection(kText, Gbk(c.topic)), "step", c.index)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, HelpPageTest,
    ::testing::Values(PageCase{"FirstPageKeepsLineBreaks", "单词分组", 0, "one\r\nline two"},
                      PageCase{"TextBetweenPagesIgnored", "单词分组", 1, "two"},
                      PageCase{"LastPage", "单词分组", 2, "three"}, PageCase{"PastTheLastPage", "单词分组", 3, ""},
                      PageCase{"FarPastTheLastPage", "单词分组", 9, ""},
                      PageCase{"SectionNeedsBothMarks", "open", 0, ""}, PageCase{"TagsMatchExactly", "caps", 0, ""},
                      PageCase{"EmptySection", "empty", 0, ""}, PageCase{"MissingSection", "missing", 0, ""},
                      PageCase{"TitleMatchedWhole", "单词", 0, ""}),
    [](const ::testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

TEST(HelpSectionTest, UsesTheFirstOccurrenceOfEachMark) {
    EXPECT_EQ(HelpSection("<a>x</a><a>y</a>", "a"), "x");
    EXPECT_EQ(HelpSection("</a><a>x</a>", "a"), "x");
    EXPECT_EQ(HelpPage("<item>a</item><item>b</item>", "item", 1), "b");
}

// The one-walk list of pages is the same as asking for each page in turn,
// stopping at the first empty one.
TEST(HelpPagesTest, GivesEveryPageAsHelpPageDoes) {
    const char* sections[] = {
        "<item>a</item><item>b</item><item>c</item>",
        "x<item>a</item> y <item>b\r\nc</item>z",
        "<item>a</item><item></item><item>after an empty one</item>",
        "<item>a</item></item><item>b</item>",  // a stray closing mark drops a page
        "<item>a</item><item>no closing mark",
        "<item>a<item>b</item><item>c</item>",
        "no pages at all",
        "",
    };
    for (const char* text : sections) {
        const std::string section = Gbk(text);
        std::vector<std::string> expected;
        for (int i = 0;; ++i) {
            std::string page = HelpPage(section, "item", i);
            if (page.empty()) break;
            expected.push_back(page);
        }
        EXPECT_EQ(HelpPages(section, "item"), expected) << text;
    }
    EXPECT_EQ(HelpPages(Gbk("<item>甲</item><item>乙</item>"), "item"),
              (std::vector<std::string>{Gbk("甲"), Gbk("乙")}));
}

TEST(JoinHelpLinesTest, EndsEveryLineWithCrLf) {
    struct Case {
        std::string file, joined;
    } cases[] = {
        {"", ""},
        {"a", "a\r\n"},
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\r\nb", "a\r\nb\r\n"},
        {"a\rb", "a\r\nb\r\n"},
        {"a\n\nb", "a\r\n\r\nb\r\n"},
        {"a\r\r\nb", "a\r\n\r\nb\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(JoinHelpLines(c.file), c.joined) << c.file;
}

}  // namespace
