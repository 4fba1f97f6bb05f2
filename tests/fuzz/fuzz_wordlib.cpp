// Opening a library, studying a few steps, saving and reopening. The input's
// first byte chooses the steps; the rest is the plain text of the library
// file. A refused file is refused with a message and left as it was; an
// opened one, once studied and saved, reopens with the same words, grades,
// study counts and header values.

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/libraryformat.h"
#include "core/scrambledfile.h"
#include "core/wordlib0.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// The study window's two library objects, wired as it wires them.
struct Library {
    TWordLib list;
    TWordLib0 lib;
    Library() {
        list.SetDisplay(nullptr);
        lib.SetDisplay(nullptr);
        lib.StudyLib = &list;
    }
};

// No grade-0 word left: the grades come down and study goes on at grade 0,
// as the study window does it.
void RestartAtGradeZero(Library& l) {
    l.lib.LowerAllGrades();
    l.list.CurrentGrade = l.list.SearchGrade = 0;
    l.lib.GroupIndex = -1;
    l.lib.NextGroup();
}

// The end of a cycle as the study window goes through it: counted, the
// words reshuffled, the first group of the new cycle loaded.
void CycleEnd(Library& l, bool storeGroupFirst, unsigned seed) {
    l.lib.LoopTimes += 1;
    l.list.LoopTimes += 1;
    l.list.ThisLoopTime = 0;
    l.lib.ThisLoopTime = 0;
    if (storeGroupFirst) l.lib.StoreGroup();
    l.lib.ShuffleWords(seed);
    l.lib.GroupIndex = -1;
    if (l.lib.NextGroup() == kGroupNoGradeZero) RestartAtGradeZero(l);
}

// A few steps as a learner takes them (promote, demote, straight to the
// top, pick a grade, next word), with the group and cycle ends the study
// window goes through.
void Study(Library& l, uint8_t steps) {
    for (int i = 0; i < 8; ++i) {
        switch ((steps >> i) & 1 ? i % 4 : 4) {
            case 0:
                l.list.UpGrade(1);
                break;
            case 1:
                l.list.DeGrade(1);
                break;
            case 2:
                l.list.UpGrade(kStraightToTop);
                break;
            case 3:
                l.list.PickGrade(i % kGradeLevels);
                break;
            default:
                break;
        }
        switch (l.list.NextWord(true)) {
            case kNextGroupEnd:
                l.lib.StoreGroup();
                switch (l.lib.NextGroup()) {
                    case kGroupNoGradeZero:
                        RestartAtGradeZero(l);
                        break;
                    case kGroupCycleEnd:
                        CycleEnd(l, false, steps);
                        break;
                    default:
                        break;
                }
                l.list.ShowFirstWordOfGrade();
                break;
            case kNextCycleEnd:
                CycleEnd(l, true, steps);
                break;
            default:
                break;
        }
    }
}

void CheckSame(const TWordLib0& a, const TWordLib0& b) {
    fuzz::CheckSameWordsAndTexts(a, b);
    if (a.GroupCount != b.GroupCount || a.GroupIndex != b.GroupIndex || a.BaseGrade != b.BaseGrade) {
        std::fprintf(stderr, "groups %d/%d index %d/%d base grade %d/%d\n", a.GroupCount, b.GroupCount, a.GroupIndex,
                     b.GroupIndex, a.BaseGrade, b.BaseGrade);
        fuzz::Fail("groups and base grade");
    }
    // The number of displays is not kept in the file: it is the sum of the
    // words' study counts, compared above.
    fuzz::Check(a.LoopTimes == b.LoopTimes && a.ThisLoopTime == b.ThisLoopTime, "cycle counters");
    fuzz::Check(a.TotalTime == b.TotalTime, "study time");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    fuzz::InstallMessageCounter();
    const std::string plain(fuzz::UpToNul(fuzz::AsText(data + 1, size - 1)));
    const auto path = fuzz::Folder() / "studied.lx";
    const auto copy = fuzz::Folder() / "reopened.lx";
    std::filesystem::remove(copy);
    fuzz::Check(static_cast<bool>(WriteScrambledFile(path, plain)), "the fixture is written");
    const std::string before = fuzz::ReadBytes(path);

    Library first;
    if (!first.lib.OpenWordLib(path.string())) {
        fuzz::Check(fuzz::MessagesShown() > 0, "a refused library says why");
        fuzz::Check(fuzz::ReadBytes(path) == before, "a refused library is left as it was");
        fuzz::Check(first.lib.Path.empty() && first.lib.Count == 0, "a refused library is not taken over");
        return 0;
    }
    Study(first, data[0]);
    first.lib.StoreGroup();
    if (!first.lib.SaveWordLib()) return 0;  // too large to save: refused with its message

    std::filesystem::copy_file(path, copy);
    Library second;
    fuzz::Check(second.lib.OpenWordLib(copy.string()), "a saved library opens");
    CheckSame(first.lib, second.lib);

    return 0;
}
