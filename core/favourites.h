#pragma once
// The learner's favourites library (收藏库): words and meanings collected
// from the library under study or typed in on the favourites page, kept in
// "收藏库.lx" in the user's folder in the layout of a library file, so it
// can also be studied like any other library.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/wordlist.h"

// Most favourites that can be collected; a file may hold up to the library
// limit, which is also what a load reads at most.
inline constexpr int kMaxFavourites = 3000;

// The library name the favourites go by in the selection list and the study
// window's panel (UTF-8; the file on disk is this name + ".lx" in GBK).
inline constexpr const char* kFavouritesName = "收藏库";

// What AddFavourite did.
enum class FavouriteAdd { Added, AlreadyThere, MeaningReplaced, MeaningKept, Full };

class TMyWordLib {
public:
    // Receives the count caption ("收藏库词数：" + count, GBK) whenever the
    // number of favourites changes; the study window shows it in its panel.
    using CountDisplay = std::function<void(const std::string& gbkCaption)>;

    TMyWordLib();

    void BindCountDisplay(CountDisplay display);
    // "收藏库词数：" + Count.
    std::string CountCaption() const;

    // Reads the favourites file at the GBK path. A missing file is an empty
    // one, created by the first save. A file that cannot be read (too large,
    // no access) or is damaged is said and leaves the favourites empty and
    // without a path, so that nothing is ever saved over it.
    void LoadFavourites(const std::string& gbkPath);
    // Writes the favourites to Path; does nothing (and returns true) while
    // Path is empty. False after a message when the file cannot be written;
    // the old file then stays as it was.
    bool SaveFavourites();
    // Adds a word, or offers to replace the meaning of a word already
    // collected. Does not save. Line breaks in the texts become blanks and
    // "<" the full-width "＜", as every library file stores them.
    FavouriteAdd AddFavourite(const std::string& word, const std::string& meaning);
    // Removes the favourite at `position`; other positions change nothing.
    void RemoveFavourite(int position);
    // Sets word and meaning of the favourite at `position` (no duplicate
    // test; texts stored as AddFavourite stores them); other positions
    // change nothing.
    void ReplaceFavourite(int position, const std::string& word, const std::string& meaning);
    // Empties the favourites (Count 0, CurrentIndex -1); the path stays.
    void ClearFavourites();

    // Header texts and values, carried from the file and written back.
    std::string Date, Editor, Version;
    int LoopTimes = 1;
    int ThisLoopTime = 0;
    int TotalTime = 0;
    int TotalDisplays = 0;
    std::array<std::string, kGradeLevels> GradeWordLastWord = {"0", "0", "0", "0", "0", "0"};
    int GroupCount = 1;
    int GroupIndex = 0;

    // Full GBK path of the favourites file; empty until a load succeeds.
    std::string Path;
    // The favourites in file order; the first Count are valid.
    std::vector<WordList> Words;
    int Count = 0;
    // Written as "lw": Count after a load, -1 after ClearFavourites, left
    // alone by adding, replacing and removing.
    int CurrentIndex = -1;
    // The "lw" value read from the file.
    int LastWord = 0;

private:
    void ShowCount() const;
    void Empty();

    CountDisplay display_;
};
