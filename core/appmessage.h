#pragma once
// The program's message box: every message the program or its libraries
// show goes through ShowAppMessage to one replaceable sink, so the window
// program shows a box, the command-line tool prints and the tests record.

#include <functional>
#include <string>
#include <string_view>

// Flags and results of the message box, as the platform defines them.
inline constexpr int kMsgOk = 0;     // OK button only
inline constexpr int kMsgYesNo = 4;  // Yes and No buttons
// With kMsgYesNo: No, the second button, is the default, so that a bare
// Enter never deletes or replaces a learner's data.
inline constexpr int kMsgDefButton2 = 0x100;
inline constexpr int kMsgYesNoDefaultNo = kMsgYesNo | kMsgDefButton2;
// The flags ask a question (Yes and No), whichever button is the default.
inline constexpr bool IsQuestion(int flags) { return (flags & 0xF) == kMsgYesNo; }
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// The fixed title of every message box (UTF-8).
inline constexpr const char* kAppMessageTitleUtf8 = "澜悦系列软件>>澜悦单词 Lexilark";

// Shows `gbkText` modally and returns the button pressed (1, 6 or 7).
int ShowAppMessage(const std::string& gbkText, int flags = kMsgOk);
// Convenience for the program's own texts written as UTF-8 literals.
int ShowAppMessageUtf8(std::string_view utf8Text, int flags = kMsgOk);

// Where the messages go: the program installs a message-box sink, the
// command-line tool one that prints, tests one that records and answers
// from a script. Returns the sink that was installed before.
using MessageSink = std::function<int(const std::string& gbkText, int flags)>;
MessageSink SetMessageSink(MessageSink sink);
