#include "core/apphelpers.h"

#include <cstdio>

#include "core/gbktext.h"

namespace {

MessageSink& CurrentSink() {
    // Without a window system the messages go to standard error, and a
    // question is answered No so that nothing is replaced unasked.
    static MessageSink sink = [](const std::string& gbkText, int flags) {
        std::fprintf(stderr, "%s\n", GbkToUtf8(gbkText).c_str());
        return flags == kMsgYesNo ? kIdNo : kIdOk;
    };
    return sink;
}

std::string& ProgramFolderText() {
    static std::string folder;
    return folder;
}

}  // namespace

int ShowAppMessage(const std::string& gbkText, int flags) { return CurrentSink()(gbkText, flags); }

int ShowAppMessageUtf8(std::string_view utf8Text, int flags) { return ShowAppMessage(Gbk(utf8Text), flags); }

MessageSink SetMessageSink(MessageSink sink) {
    MessageSink previous = CurrentSink();
    CurrentSink() = std::move(sink);
    return previous;
}

bool CheckLibraryName(const std::string& gbkName) {
    static const std::string kForbidden = "/\\\":|<>*?";
    // The forbidden characters are all ASCII; searching GBK-aware keeps a
    // trail byte that happens to equal one of them from counting.
    for (char c : kForbidden) {
        if (FindGbk(gbkName, std::string(1, c)) != std::string::npos) {
            ShowAppMessage(Gbk("词库名称中不能有下列字符\r\n") + kForbidden, kMsgOk);
            return false;
        }
    }
    return true;
}

void SetProgramFolder(const std::string& gbkFolder) { ProgramFolderText() = gbkFolder; }

const std::string& GetProgramFolder() { return ProgramFolderText(); }

std::string FindTagValue(std::string_view text, std::string_view name) {
    std::string opening = "<" + std::string(name) + ">";
    std::string closing = "</" + std::string(name) + ">";
    size_t p = FindGbk(text, opening);
    if (p == std::string_view::npos) return {};
    size_t start = p + opening.size();
    size_t q = FindGbk(text, closing);
    if (q == std::string_view::npos || q < start) return {};
    return std::string(text.substr(start, q - start));
}
