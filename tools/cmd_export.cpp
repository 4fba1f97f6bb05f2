// lxtool export FILE: the words of a library as tab-separated UTF-8 lines.

#include <iostream>

#include "core/gbktext.h"
#include "tools/lxtool.h"
#include "tools/openlibrary.h"

namespace {

// A TAB inside a text would start another column.
std::string Column(const std::string& gbk) {
    std::string text = Utf8(gbk);
    for (char& c : text)
        if (c == '\t') c = ' ';
    return text;
}

int Export(const lxtool::Args& args) {
    if (args.size() != 1) return lxtool::Fail("usage: lxtool export FILE");
    TWordLib0 lib;
    if (!lxtool::OpenLibraryArg(args[0], lib)) return 1;
    for (int i = 0; i < lib.Count; ++i) {
        const WordList& w = lib.Words[i];
        std::cout << Column(w.Word) << '\t' << Column(w.Meaning) << '\t' << w.Grade << '\t' << w.StudyTimes << '\n';
    }
    std::cout.flush();
    if (!std::cout) return lxtool::Fail("cannot write to standard output");
    return 0;
}

}  // namespace

LXTOOL_COMMAND("export", "export FILE",
               "Writes the words of the library FILE to standard output, one per line in\n"
               "library order: word TAB meaning TAB grade TAB study count, in UTF-8.\n"
               "A TAB inside a word or meaning is written as a space.",
               Export);
