// The favourites loader. The input is the plain text of a favourites file.
// A refused file is left as it was and never saved over; a loaded one saves
// and loads back with the same favourites and header values.

#include <cstdint>
#include <string>

#include "core/favourites.h"
#include "core/libraryformat.h"
#include "core/scrambledfile.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InstallMessageCounter();
    const std::string plain(fuzz::UpToNul(fuzz::AsText(data, size)));
    const auto path = fuzz::Folder() / "favourites.lx";
    const auto saved = fuzz::Folder() / "favourites_saved.lx";
    fuzz::Check(static_cast<bool>(WriteScrambledFile(path, plain)), "the fixture is written");
    const std::string before = fuzz::ReadBytes(path);

    TMyWordLib first;
    first.LoadFavourites(path.string());
    if (first.Path.empty()) {
        fuzz::Check(first.Count == 0, "a refused file leaves no favourites");
        fuzz::Check(first.SaveFavourites() && fuzz::ReadBytes(path) == before, "a refused file is never saved over");
        return 0;
    }
    first.Path = saved.string();
    if (!first.SaveFavourites()) return 0;  // too large: refused with its message

    TMyWordLib second;
    second.LoadFavourites(saved.string());
    fuzz::Check(!second.Path.empty(), "saved favourites load");
    fuzz::CheckSameWordsAndTexts(first, second);
    fuzz::Check(first.LoopTimes == second.LoopTimes && first.ThisLoopTime == second.ThisLoopTime &&
                    first.TotalTime == second.TotalTime && first.TotalDisplays == second.TotalDisplays,
                "cycle and time counters");
    fuzz::Check(first.GroupCount == second.GroupCount && first.GroupIndex == second.GroupIndex, "groups");
    return 0;
}
