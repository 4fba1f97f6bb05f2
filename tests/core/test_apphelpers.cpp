#include <gtest/gtest.h>

#include "core/apphelpers.h"
#include "message_recorder.h"

namespace {

TEST(FindTagValue, TakesTheFirstValueBetweenItsMarks) {
    struct Case {
        std::string text, name, value;
    };
    const Case cases[] = {
        {"<mute>0</mute>", "mute", "0"},
        {"<mute>0</mute>", "mut", ""},
        {"<mute>0", "mute", ""},                        // no closing mark
        {"</mute><mute>1</mute>", "mute", ""},          // stray closing mark first
        {"<a>1</a><a>2</a>", "a", "1"},                 // first occurrence counts
        {"<Mute>1</Mute>", "mute", ""},                 // case counts
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

TEST(CheckLibraryName, RefusesReservedCharactersWithOneMessage) {
    const std::string expected = "词库名称中不能有下列字符\r\n/\\\":|<>*?";
    for (std::string name : {"a/b", "a|b", "why?", "x\\y", "q\"", "c:", "<", ">", "*"}) {
        MessageRecorder messages;
        EXPECT_FALSE(CheckLibraryName(Gbk(name))) << name;
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{expected}) << name;
        EXPECT_EQ(messages.shown[0].flags, kMsgOk);
    }
    MessageRecorder messages;
    EXPECT_TRUE(CheckLibraryName(Gbk("日语 N1 词汇 2024")));
    EXPECT_TRUE(CheckLibraryName(""));
    EXPECT_TRUE(CheckLibraryName("a.b c"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST(ShowAppMessage, ReturnsTheAnswerOfTheSink) {
    MessageRecorder messages;
    messages.answers = {kIdYes, kIdNo};
    EXPECT_EQ(ShowAppMessage(Gbk("替换吗？"), kMsgYesNo), kIdYes);
    EXPECT_EQ(ShowAppMessageUtf8("再问", kMsgYesNo), kIdNo);
    EXPECT_EQ(ShowAppMessage("", kMsgOk), kIdOk);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"替换吗？", "再问", ""}));
}

TEST(ProgramFolder, IsPublishedOnce) {
    SetProgramFolder("/opt/lx/");
    EXPECT_EQ(GetProgramFolder(), "/opt/lx/");
    SetProgramFolder("");
}

}  // namespace
