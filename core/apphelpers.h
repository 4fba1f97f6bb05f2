#pragma once
// Helpers every window and library class uses: the program's message box,
// the rule for library names, the published program folder and the lookup
// of one tag in a tagged text.

#include <functional>
#include <string>
#include <string_view>

// Flags and results of the message box, as the platform defines them.
inline constexpr int kMsgOk = 0;       // OK button only
inline constexpr int kMsgYesNo = 4;    // Yes and No buttons
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

// False (after the message) when `name` holds one of / \ " : | < > * ?
bool CheckLibraryName(const std::string& gbkName);

// The program folder (GBK, with its trailing separator), published by the
// study window when it is created; empty before that.
void SetProgramFolder(const std::string& gbkFolder);
const std::string& GetProgramFolder();

// The text between the first "<name>" and the first "</name>" of `text`;
// empty when the opening mark is missing or the closing mark does not stand
// after it. GBK-aware, byte-exact, case-sensitive.
std::string FindTagValue(std::string_view text, std::string_view name);
