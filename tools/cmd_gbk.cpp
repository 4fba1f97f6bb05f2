// lxtool gbk IN OUT: turns a UTF-8 text into the plain GBK text with CR LF
// line breaks that the program reads unscrambled (the help topics).

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/gbktext.h"
#include "core/plainfile.h"
#include "core/safewrite.h"
#include "tools/lxtool.h"

namespace {

size_t LineOf(const std::string& text, size_t offset) {
    return 1 + static_cast<size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

int ToGbk(const lxtool::Args& args) {
    std::vector<std::string> files;
    for (const std::string& arg : args) {
        if (arg.rfind("--", 0) == 0) return lxtool::Fail("unknown option '" + arg + "'");
        files.push_back(arg);
    }
    if (files.size() != 2) return lxtool::Fail("usage: lxtool gbk IN OUT");
    const std::string& inName = files[0];
    const std::string& outName = files[1];

    std::optional<std::string> text = ReadPlainFile(lxtool::PathArg(inName));
    if (!text) return lxtool::Fail("cannot read '" + inName + "'");
    if (text->rfind("\xEF\xBB\xBF", 0) == 0) text->erase(0, 3);
    // The program's texts end at the first NUL, so such a file would be cut.
    if (size_t nul = text->find('\0'); nul != std::string::npos) {
        return lxtool::Fail("'" + inName + "' holds a NUL byte (line " + std::to_string(LineOf(*text, nul)) +
                            "); nothing written");
    }
    size_t bad = 0;
    std::optional<std::string> gbk = TryUtf8ToGbk(*text, &bad);
    if (!gbk) {
        return lxtool::Fail("'" + inName + "' line " + std::to_string(LineOf(*text, bad)) +
                            ": not UTF-8, or a character GBK cannot hold; nothing written");
    }
    // A failed write names the file and leaves any old one.
    return ReportSaveResult(SafeWriteFile(lxtool::PathArg(outName), WithCrLf(*gbk))) ? 0 : 1;
}

}  // namespace

LXTOOL_COMMAND("gbk", "gbk IN OUT",
               "Converts the UTF-8 text IN into the plain GBK text OUT with CR LF line\n"
               "breaks, as the program reads its help topics (start.ini). A character\n"
               "GBK cannot hold or a NUL byte is refused with its line number, and\n"
               "nothing is written.",
               ToGbk);
