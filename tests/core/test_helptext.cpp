// Finding the help guide's topics and pages in the text of its help file.

#include <gtest/gtest.h>

#include <string>

#include "core/gbktext.h"
#include "core/helptext.h"

namespace {

const std::string kText = Gbk(
    "heading <step>outside any topic</step>\r\n"
    "<单词分组><step>one\r\nline two</step> between <step>two</step><step>three</step></单词分组>\r\n"
    "<open><step>no closing mark for the topic</step>\r\n"
    "<caps><Step>written with a capital</Step></caps>\r\n"
    "<empty></empty>\r\n");

struct PageCase {
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
    ::testing::Values(PageCase{"单词分组", 0, "one\r\nline two"},  // line breaks kept
                      PageCase{"单词分组", 1, "two"},             // text between pages ignored
                      PageCase{"单词分组", 2, "three"},
                      PageCase{"单词分组", 3, ""},                // past the last page
                      PageCase{"单词分组", 9, ""},
                      PageCase{"open", 0, ""},                    // a section needs both marks
                      PageCase{"caps", 0, ""},                    // tags match exactly
                      PageCase{"empty", 0, ""},
                      PageCase{"missing", 0, ""},
                      PageCase{"单词", 0, ""}));  // a title is matched whole, with its marks

TEST(HelpSectionTest, UsesTheFirstOccurrenceOfEachMark) {
    EXPECT_EQ(HelpSection("<a>x</a><a>y</a>", "a"), "x");
    EXPECT_EQ(HelpSection("</a><a>x</a>", "a"), "x");
    EXPECT_EQ(HelpPage("<item>a</item><item>b</item>", "item", 1), "b");
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
