// The characters a library name may not hold.

#include <gtest/gtest.h>

#include "core/appmessage.h"
#include "core/libraryname.h"
#include "support/message_recorder.h"

namespace {

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

}  // namespace
