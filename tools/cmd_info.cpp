// lxtool info FILE: the header values and word counts of a library.

#include <iostream>

#include "core/gbktext.h"
#include "tools/lxtool.h"
#include "tools/openlibrary.h"

namespace {

int Info(const lxtool::Args& args) {
    if (args.size() != 1) return lxtool::Fail("usage: lxtool info FILE");
    TWordLib0 lib;
    if (!lxtool::OpenLibraryArg(args[0], lib)) return 1;
    std::array<int, kGradeLevels> grades{};
    for (int i = 0; i < lib.Count; ++i) ++grades[lib.Words[i].Grade];
    std::cout << "editor: " << Utf8(lib.Editor) << "\n"
              << "date: " << Utf8(lib.Date) << "\n"
              << "version: " << Utf8(lib.Version) << "\n"
              << "lw: " << lib.LastWord << "\n"
              << "groupcount: " << lib.GroupCount << "\n"
              << "groupindex: " << lib.GroupIndex << "\n"
              << "lt: " << lib.LoopTimes << "\n"
              << "tlt: " << lib.ThisLoopTime << "\n"
              << "tt: " << lib.TotalTime << "\n"
              << "basegrade: " << lib.BaseGrade << "\n"
              << "words: " << lib.Count << "\n";
    for (int g = 0; g < kGradeLevels; ++g) std::cout << "grade" << g << ": " << grades[g] << "\n";
    std::cout.flush();
    if (!std::cout) return lxtool::Fail("cannot write to standard output");
    return 0;
}

}  // namespace

LXTOOL_COMMAND("info", "info FILE",
               "Prints the header values of the library FILE (editor, date, version,\n"
               "lw, groupcount, groupindex, lt, tlt, tt, basegrade), its number of words\n"
               "and the number of words at each grade (grade0 .. grade5), one\n"
               "'name: value' per line. The file is read as the program reads it; its\n"
               "warnings (for example about the group count) appear on standard error.",
               Info);
