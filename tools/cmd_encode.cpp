// lxtool encode IN OUT [--utf8]: scrambles a plain file as the program
// stores its data files.

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "core/codec.h"
#include "core/gbktext.h"
#include "core/plainfile.h"
#include "core/scrambledfile.h"
#include "tools/lxtool.h"

namespace {

size_t LineOf(const std::string& text, size_t offset) {
    return 1 + static_cast<size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
}

int Encode(const lxtool::Args& args) {
    std::vector<std::string> files;
    bool utf8 = false;
    for (const std::string& arg : args) {
        if (arg == "--utf8")
            utf8 = true;
        else if (arg.rfind("--", 0) == 0)
            return lxtool::Fail("unknown option '" + arg + "'");
        else
            files.push_back(arg);
    }
    if (files.size() != 2) return lxtool::Fail("usage: lxtool encode IN OUT [--utf8]");
    const std::string& inName = files[0];
    const std::string& outName = files[1];

    std::optional<std::string> text = ReadPlainFile(lxtool::PathArg(inName));
    if (!text) return lxtool::Fail("cannot read '" + inName + "'");
    // The program's texts end at the first NUL, so such a file would be cut.
    if (size_t nul = text->find('\0'); nul != std::string::npos) {
        return lxtool::Fail("'" + inName + "' holds a NUL byte (line " + std::to_string(LineOf(*text, nul)) +
                            "); nothing written");
    }
    if (utf8) {
        if (text->rfind("\xEF\xBB\xBF", 0) == 0) text->erase(0, 3);
        size_t bad = 0;
        std::optional<std::string> gbk = TryUtf8ToGbk(*text, &bad);
        if (!gbk) {
            return lxtool::Fail("'" + inName + "' line " + std::to_string(LineOf(*text, bad)) +
                                ": not UTF-8, or a character GBK cannot hold; nothing written");
        }
        text = std::move(gbk);
    }
    if (text->size() > kLargestReadableFile) {
        return lxtool::Fail("'" + inName + "' is too large: " + std::to_string(text->size()) +
                            " bytes, the program reads at most " + std::to_string(kLargestReadableFile) +
                            "; nothing written");
    }
    // A failed write names the file and leaves any old one.
    return ReportSaveResult(WriteScrambledFile(lxtool::PathArg(outName), *text)) ? 0 : 1;
}

}  // namespace

LXTOOL_COMMAND("encode", "encode IN OUT [--utf8]",
               "Scrambles the plain file IN into OUT as the program stores its data\n"
               "files (init.ini, *.lx, lx1.en..lx4.en). IN holds GBK text; with --utf8\n"
               "it holds UTF-8 text, which is converted to GBK first (refused with the\n"
               "line number when a character has no GBK form). A file holding a NUL\n"
               "byte, or too large for the program to read, is refused.",
               Encode);
