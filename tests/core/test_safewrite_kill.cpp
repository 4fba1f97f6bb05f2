// A program killed while it saves must leave every file whole: the old
// content or the new, never a part or a mixture. A child process saves a
// 10000-word library, the favourites and init.ini over and over and is
// killed with SIGKILL at random moments; after each kill every file must
// be exactly what a complete save of some generation writes, and the next
// save removes what the killed one left behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "core/favourites.h"
#include "core/gbktext.h"
#include "core/manage.h"
#include "core/programfolder.h"
#include "core/scrambledfile.h"
#include "core/tagtext.h"
#include "core/wordlib0.h"
#include "support/message_recorder.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 3;  // library, favourites, init.ini

// The three files and the objects that write them. Only a generation
// number changes between saves, so a file's content is fixed by the
// generation it holds.
class SavedFiles {
public:
    explicit SavedFiles(const fs::path& folder) : folder_(folder) {
        SetProgramFolder(FromNativePath(folder) + "/");
        library_.Path = FromNativePath(folder / "日语一级.lx");
        library_.Editor = Gbk("编者");
        library_.Count = kMaxLibraryWords;
        for (int i = 0; i < library_.Count; ++i) {
            WordList& w = library_.Words[i];
            w.Word = "w" + std::to_string(i);
            w.Meaning = Gbk("意思") + std::to_string(i);
            w.StudyTimes = i % 10;
            w.Grade = i % 6;
        }
        favourites_.Path = FromNativePath(folder / "收藏库.lx");
        favourites_.Count = 2000;
        for (int i = 0; i < favourites_.Count; ++i) {
            favourites_.Words[i].Word = "f" + std::to_string(i);
            favourites_.Words[i].Meaning = Gbk("收藏") + std::to_string(i);
        }
        manage_.user[1] = "alice";
        manage_.password[1] = "secret";
        manage_.lastwordlib[1] = Gbk("日语一级.lx");
    }
    ~SavedFiles() { SetProgramFolder(""); }

    fs::path File(int which) const {
        static const char* const names[kFiles] = {"日语一级.lx", "收藏库.lx", "init.ini"};
        return folder_ / names[which];
    }

    // Writes file `which` as generation `generation`.
    bool Save(int which, int generation) {
        switch (which) {
            case 0:
                library_.TotalTime = generation;
                return library_.SaveWordLib();
            case 1:
                favourites_.TotalTime = generation;
                return favourites_.SaveFavourites();
            default:
                manage_.delaytime = generation;
                return manage_.SaveConfig();
        }
    }

    // The generation a file holds; -1 when it does not read as one.
    int GenerationIn(int which) const {
        std::optional<std::string> plain = ReadScrambledFile(File(which));
        if (!plain) return -1;
        const std::string value = FindTagValue(*plain, which == 2 ? "delaytime" : "tt");
        return value.empty() ? -1 : std::stoi(value);
    }

private:
    fs::path folder_;
    TWordLib0 library_;
    TMyWordLib favourites_;
    TManage manage_;
};

int TemporariesIn(const fs::path& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".lxsave~") != std::string::npos) ++count;
    return count;
}

TEST(KillDuringSave, EveryFileStaysWholeAndTheNextSaveClearsUp) {
    TempFolder dir;
    MessageRecorder messages;  // inherited by the children: nothing waits on a box
    SavedFiles files(dir.path());
    int generation[kFiles];
    for (int which = 0; which < kFiles; ++which) {
        ASSERT_TRUE(files.Save(which, 1));
        generation[which] = 1;
    }

    // Kills fall anywhere in a few rounds of saving the three files.
    const auto start = std::chrono::steady_clock::now();
    for (int which = 0; which < kFiles; ++which) ASSERT_TRUE(files.Save(which, 1));
    const auto oneRound =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    auto longest = std::min<std::chrono::microseconds>(3 * oneRound, std::chrono::milliseconds(150));

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("random seed " + std::to_string(seed));
    std::mt19937 random(seed);

    int next = 2;  // the first generation the next child writes
    int killsLeavingTemporaries = 0, kills = 0;
    // Goes on until kills have fallen both inside a save and after a whole
    // one. A child on a busy machine (or under the sanitizers) saves far
    // more slowly than this process measured: while none of its saves has
    // finished, the kills are allowed to come later and later.
    for (; kills < 300 && (kills < 30 || killsLeavingTemporaries == 0 || next == 2); ++kills) {
        if (next == 2 && kills >= 10 && kills % 10 == 0)
            longest = std::min<std::chrono::microseconds>(2 * longest, std::chrono::seconds(3));
        std::uniform_int_distribution<long> delay(0, longest.count());
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves until it is killed (or, should the test be gone, for
            // ten seconds at most).
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            for (int g = next; std::chrono::steady_clock::now() < deadline; ++g)
                for (int which = 0; which < kFiles; ++which) files.Save(which, g);
            _exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended on its own";

        if (TemporariesIn(dir.path()) > 0) ++killsLeavingTemporaries;
        const int firstNew = next;
        for (int which = 0; which < kFiles; ++which) {
            SCOPED_TRACE(files.File(which).filename().string() + " after kill " + std::to_string(kills));
            const int found = files.GenerationIn(which);
            // Old or new, nothing else.
            ASSERT_TRUE(found == generation[which] || found >= firstNew) << "generation " << found;
            const std::string bytes = TempFolder::ReadBytes(files.File(which));
            // The next save (of the same generation) writes the very same
            // bytes when the file was whole, and clears away what the
            // killed save left.
            ASSERT_TRUE(files.Save(which, found));
            ASSERT_EQ(TempFolder::ReadBytes(files.File(which)), bytes) << "the file was not whole";
            generation[which] = found;
            next = std::max(next, found + 1);
        }
        ASSERT_EQ(TemporariesIn(dir.path()), 0);
    }
    RecordProperty("kills", kills);
    RecordProperty("killsInsideASave", killsLeavingTemporaries);
    EXPECT_GT(killsLeavingTemporaries, 0) << "no kill fell inside a save in " << kills << " kills";
    EXPECT_GT(next, 2) << "the children never finished a save";
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
