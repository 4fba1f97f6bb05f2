#pragma once
// Progress backups: copies of a user's folder ("users\userN\": the user's
// libraries and favourites, as they are, still scrambled) kept under
// "backups\userN\" in the program folder, one folder per backup named by
// its local date and time, "YYYYMMDD-HHMMSS" (a second backup within the
// same second gets "-2", "-3", ...). The newest seven of each user are kept.
//
// Nothing half-made ever counts:
//   - a backup is copied into a temporary folder beside the backups and
//     renamed into place only when every file is there; a temporary folder
//     left by a stopped program is removed by the next backup or listing;
//   - a restore first makes a complete copy of the chosen backup beside the
//     user folder, then backs up the current state, then swaps the two
//     folders by renames; a restore stopped between the renames is finished
//     (or, before the swap began, dropped) by the next backup operation or
//     login of that slot (FinishRestore).
// Backups hold the user folder's files only; init.ini (with the passwords)
// is never in a user folder and is never copied, even if one is put there.
//
// Every function reports failures through its result (a GBK message for
// the learner) and shows nothing itself. Names are GBK; the program folder
// carries its trailing separator.

#include <ctime>
#include <functional>
#include <string>
#include <vector>

// Backups kept per user.
inline constexpr int kBackupsKept = 7;
// An automatic backup is due when the newest one is this old.
inline constexpr std::time_t kAutomaticBackupAge = 24 * 60 * 60;

// programFolder + "backups\userN\".
std::string BackupFolderOf(const std::string& gbkProgramFolder, int slot);

// The names of slot's backups, newest first (folders whose names are not
// backup names, temporary ones among them, are left out).
std::vector<std::string> ListBackups(const std::string& gbkProgramFolder, int slot);

// The time a backup name stands for, local time; -1 when it is no backup
// name.
std::time_t BackupTime(const std::string& name);
// "2026-12-10 14:05:09" for "20261210-140509" (and "-2" etc. shown as
// "(2)"); empty for a name that is no backup name.
std::string BackupTimeText(const std::string& name);

// What one library file of a backup holds.
struct BackupLibraryStats {
    std::string file;       // file name, GBK, e.g. "日语入门词汇.lx"
    bool readable = false;  // false when the file cannot be read as a library
    int words = 0;
    int studied = 0;    // words shown at least once (StudyTimes > 0)
    int aboveZero = 0;  // words above grade 0
};
// The libraries (*.lx files) of one backup, by file name, read through the
// library line parse. A damaged or oversized file is listed unreadable;
// nothing is shown to the learner while reading.
std::vector<BackupLibraryStats> BackupLibraries(const std::string& gbkProgramFolder, int slot, const std::string& name);

struct BackupOutcome {
    bool ok = false;
    bool skipped = false;  // nothing to back up (the user folder holds no files)
    std::string name;      // the backup made (or restored)
    std::string gbkError;  // why it failed, for the learner
};

// Backs up slot's user folder now; `now` names the backup. Afterwards only
// the newest kBackupsKept backups stay, and never is `protectedName`
// removed. An empty or missing user folder is not backed up (skipped),
// so that an empty copy never pushes a real one out.
BackupOutcome MakeBackup(const std::string& gbkProgramFolder, int slot, std::time_t now,
                         const std::string& protectedName = std::string());

// The same, with `bytes` in the backup as the file `gbkFileName` in place
// of what the user folder holds under that name: how the version of a
// library that the learner did not keep stays restorable.
BackupOutcome MakeBackupWithVersion(const std::string& gbkProgramFolder, int slot, std::time_t now,
                                    const std::string& gbkFileName, const std::string& bytes,
                                    const std::string& protectedName = std::string());

// True when a login should back up: the user folder holds files and the
// newest backup is at least a day old, or dated in the future (a clock set
// back), or there is none.
bool AutomaticBackupDue(const std::string& gbkProgramFolder, int slot, std::time_t now);

// Puts backup `name` in place of slot's user folder, after backing up the
// current state (when it holds files; `now` names that backup). On failure
// the user folder is as it was.
BackupOutcome RestoreBackup(const std::string& gbkProgramFolder, int slot, const std::string& name, std::time_t now);

// Finishes or drops a restore of slot that a stopped program left half
// done; removes its leftovers. False with a message when a rename fails.
bool FinishRestore(const std::string& gbkProgramFolder, int slot, std::string* gbkError = nullptr);

// Called with a step name after each file a backup copies ("file") and at
// each step of a restore that changes the disk ("staged", "backed up",
// "set aside", "swapped"); lets tests stop the program there. Empty by
// default.
void SetBackupStepHook(std::function<void(const char* step)> hook);
