// The message sink: every message reaches the installed sink, which answers.

#include <gtest/gtest.h>

#include "core/appmessage.h"
#include "support/message_recorder.h"

namespace {

TEST(ShowAppMessage, ReturnsTheAnswerOfTheSink) {
    MessageRecorder messages;
    messages.answers = {kIdYes, kIdNo};
    EXPECT_EQ(ShowAppMessage(Gbk("替换吗？"), kMsgYesNo), kIdYes);
    EXPECT_EQ(ShowAppMessageUtf8("再问", kMsgYesNo), kIdNo);
    EXPECT_EQ(ShowAppMessage("", kMsgOk), kIdOk);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"替换吗？", "再问", ""}));
}

}  // namespace
