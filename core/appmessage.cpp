// The message sink behind ShowAppMessage and its default, which prints.

#include "core/appmessage.h"

#include <cstdio>

#include "core/gbktext.h"

namespace {

MessageSink& CurrentSink() {
    // Without a window system the messages go to standard error, and a
    // question is answered No so that nothing is replaced unasked.
    static MessageSink sink = [](const std::string& gbkText, int flags) {
        std::fprintf(stderr, "%s\n", GbkToUtf8(gbkText).c_str());
        return IsQuestion(flags) ? kIdNo : kIdOk;
    };
    return sink;
}

}  // namespace

int ShowAppMessage(const std::string& gbkText, int flags) { return CurrentSink()(gbkText, flags); }

int ShowAppMessageUtf8(std::string_view utf8Text, int flags) { return ShowAppMessage(Gbk(utf8Text), flags); }

MessageSink SetMessageSink(MessageSink sink) {
    MessageSink previous = CurrentSink();
    CurrentSink() = std::move(sink);
    return previous;
}
