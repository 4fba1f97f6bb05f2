#pragma once
// A message box without the program's fixed title, for the few messages the
// window system itself would show (the hot-key failure). Like every other
// box it goes through a replaceable sink so that tests never block on it.

#include <functional>
#include <string>
#include <string_view>

using PlainMessageSink = std::function<void(const std::string& gbkText)>;

// Shows `utf8Text` modally with an OK button.
void ShowPlainMessageUtf8(std::string_view utf8Text);
// Returns the sink that was installed before; an empty sink restores the
// message box.
PlainMessageSink SetPlainMessageSink(PlainMessageSink sink);
