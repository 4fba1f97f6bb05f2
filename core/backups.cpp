#include "core/backups.h"
#include "core/numbertext.h"
#include "core/systemerror.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/codec.h"
#include "core/gbktext.h"
#include "core/journal.h"
#include "core/libraryformat.h"
#include "core/localtime.h"
#include "core/scrambledfile.h"
#include "core/usertable.h"

namespace fs = std::filesystem;

namespace {

std::function<void(const char*)>& StepHook() {
    static std::function<void(const char*)> hook;
    return hook;
}

void Step(const char* step) {
    if (StepHook()) StepHook()(step);
}

// A folder path without its trailing separator, so that renames and
// comparisons see the folder itself.
fs::path FolderPath(const std::string& gbkFolder) {
    fs::path path = ToNativePath(gbkFolder);
    if (!path.has_filename()) path = path.parent_path();
    return path;
}

fs::path UserDir(const std::string& programFolder, int slot) { return FolderPath(UserFolderOf(programFolder, slot)); }

fs::path BackupRoot(const std::string& programFolder, int slot) {
    return FolderPath(BackupFolderOf(programFolder, slot));
}

// Beside the user folder, so that the swap is a rename on one disk.
fs::path StagedDir(const std::string& programFolder, int slot) {
    return UserDir(programFolder, slot).parent_path() / (".restore-user" + IntToStr(slot));
}
fs::path StagingDir(const std::string& programFolder, int slot) {
    return UserDir(programFolder, slot).parent_path() / (".restore-user" + IntToStr(slot) + ".tmp");
}
fs::path ReplacedDir(const std::string& programFolder, int slot) {
    return UserDir(programFolder, slot).parent_path() / (".replaced-user" + IntToStr(slot));
}

constexpr const char* kMakingPrefix = ".making-";

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Files a backup leaves out: the configuration with the passwords, should
// one ever be put in a user folder, the temporary files of a save that is
// under way or was stopped, and the study journal's log and index beside it
// (the journal's copy holds what they hold).
bool LeftOutOfBackups(const fs::path& file) {
    const std::string name = Lower(file.filename().string());
    return name == "init.ini" || EndsWith(name, ".tmp") || EndsWith(name, "~") ||
           name.find(".lxsave") != std::string::npos || name == std::string(kJournalFileName) + "-wal" ||
           name == std::string(kJournalFileName) + "-shm" || EndsWith(name, ".sqlite.partial");
}

// A study journal is copied through SQLite, so the copy is one whole state
// of it even while it is being written; one SQLite cannot read is copied
// as it is, so that the libraries' backup still goes ahead.
void CopyUserFile(const fs::path& from, const fs::path& to, std::error_code& ec) {
    if (from.filename() == kJournalFileName && CopyJournalFile(from, to)) return;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
}

bool HoldsFiles(const fs::path& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return false;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (fs::is_regular_file(it->status(ec)) && !LeftOutOfBackups(it->path())) return true;
    }
    return false;
}

std::string Quoted(const fs::path& path) { return Gbk("“") + FromNativePath(path) + Gbk("”"); }

std::string Failure(const char* utf8What, const fs::path& path, const std::error_code& ec) {
    return Gbk(utf8What) + Quoted(path) + Gbk("：") + SystemErrorText(ec);
}

// Copies the files of `from` into the new folder `to` (made here). On
// failure `to` may hold part of the files; the caller removes it.
bool CopyFolder(const fs::path& from, const fs::path& to, std::string& error) {
    std::error_code ec;
    fs::create_directories(to, ec);
    if (ec) {
        error = Failure("无法建立文件夹", to, ec);
        return false;
    }
    if (!fs::is_directory(from, ec)) return true;
    for (fs::recursive_directory_iterator it(from, ec), end; it != end; it.increment(ec)) {
        if (ec) break;
        const fs::path target = to / fs::relative(it->path(), from, ec);
        if (ec) break;
        const fs::file_status status = it->status(ec);
        if (fs::is_directory(status)) {
            if (it->is_symlink(ec)) {
                it.disable_recursion_pending();
                continue;
            }
            fs::create_directories(target, ec);
            if (ec) {
                error = Failure("无法建立文件夹", target, ec);
                return false;
            }
        } else if (fs::is_regular_file(status) && !LeftOutOfBackups(it->path())) {
            CopyUserFile(it->path(), target, ec);
            if (ec) {
                error = Failure("无法复制文件", it->path(), ec);
                return false;
            }
            Step("file");
        }
    }
    if (ec) {
        error = Failure("无法读取文件夹", from, ec);
        return false;
    }
    return true;
}

// Name parts of a backup: the stamp "YYYYMMDD-HHMMSS" and the number of a
// second backup within the same second (1 for none).
struct BackupName {
    std::string stamp;
    int sequence = 1;
    std::tm time{};
};

bool AllDigits(const std::string& text, size_t from, size_t count) {
    if (from + count > text.size()) return false;
    for (size_t i = from; i < from + count; ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

bool ParseBackupName(const std::string& name, BackupName& parsed) {
    if (name.size() < 15 || !AllDigits(name, 0, 8) || name[8] != '-' || !AllDigits(name, 9, 6)) return false;
    parsed.stamp = name.substr(0, 15);
    parsed.sequence = 1;
    if (name.size() > 15) {
        if (name[15] != '-' || name.size() > 19 || !AllDigits(name, 16, name.size() - 16)) return false;
        parsed.sequence = std::stoi(name.substr(16));
        if (parsed.sequence < 2) return false;
    }
    auto number = [&](size_t from, size_t count) { return std::stoi(name.substr(from, count)); };
    std::tm& t = parsed.time;
    t = std::tm{};
    t.tm_year = number(0, 4) - 1900;
    t.tm_mon = number(4, 2) - 1;
    t.tm_mday = number(6, 2);
    t.tm_hour = number(9, 2);
    t.tm_min = number(11, 2);
    t.tm_sec = number(13, 2);
    t.tm_isdst = -1;
    return t.tm_mon >= 0 && t.tm_mon < 12 && t.tm_mday >= 1 && t.tm_mday <= 31 && t.tm_hour < 24 && t.tm_min < 60 &&
           t.tm_sec < 61;
}

bool Newer(const BackupName& a, const BackupName& b) {
    if (a.stamp != b.stamp) return a.stamp > b.stamp;
    return a.sequence > b.sequence;
}

std::string StampOf(std::time_t now) {
    const std::tm local = ToLocalTime(now);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

// Temporary folders of backups that a stopped program never finished.
void RemoveUnfinishedBackups(const fs::path& root) {
    std::error_code ec;
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().filename().string().rfind(kMakingPrefix, 0) == 0) stale.push_back(it->path());
    }
    for (const auto& folder : stale) fs::remove_all(folder, ec);
}

// Removes all but the newest kBackupsKept backups, never `keep`.
void Rotate(const std::string& programFolder, int slot, const std::string& keep) {
    const auto names = ListBackups(programFolder, slot);
    const fs::path root = BackupRoot(programFolder, slot);
    // The protected backup counts among those kept.
    const bool keepListed = std::find(names.begin(), names.end(), keep) != names.end();
    int kept = 0;
    for (const auto& name : names) {
        if (name == keep) continue;
        if (kept < kBackupsKept - (keepListed ? 1 : 0)) {
            ++kept;
            continue;
        }
        std::error_code ec;
        fs::remove_all(root / name, ec);
    }
}

}  // namespace

void SetBackupStepHook(std::function<void(const char* step)> hook) { StepHook() = std::move(hook); }

std::string BackupFolderOf(const std::string& gbkProgramFolder, int slot) {
    return gbkProgramFolder + "backups\\user" + IntToStr(slot) + "\\";
}

std::vector<std::string> ListBackups(const std::string& gbkProgramFolder, int slot) {
    const fs::path root = BackupRoot(gbkProgramFolder, slot);
    std::vector<std::pair<BackupName, std::string>> found;
    std::error_code ec;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code dirEc;
        if (!it->is_directory(dirEc)) continue;
        const std::string name = it->path().filename().string();
        BackupName parsed;
        if (ParseBackupName(name, parsed)) found.emplace_back(parsed, name);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return Newer(a.first, b.first); });
    std::vector<std::string> names;
    for (auto& entry : found) names.push_back(std::move(entry.second));
    return names;
}

std::time_t BackupTime(const std::string& name) {
    BackupName parsed;
    if (!ParseBackupName(name, parsed)) return -1;
    return std::mktime(&parsed.time);
}

std::string BackupTimeText(const std::string& name) {
    BackupName parsed;
    if (!ParseBackupName(name, parsed)) return {};
    const std::string& s = parsed.stamp;
    std::string text = s.substr(0, 4) + "-" + s.substr(4, 2) + "-" + s.substr(6, 2) + " " + s.substr(9, 2) + ":" +
                       s.substr(11, 2) + ":" + s.substr(13, 2);
    if (parsed.sequence > 1) text += " (" + IntToStr(parsed.sequence) + ")";
    return text;
}

std::vector<BackupLibraryStats> BackupLibraries(const std::string& gbkProgramFolder, int slot,
                                                const std::string& name) {
    std::vector<BackupLibraryStats> libraries;
    const fs::path folder = BackupRoot(gbkProgramFolder, slot) / name;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (!it->is_regular_file(fileEc) || Lower(it->path().extension().string()) != ".lx") continue;
        BackupLibraryStats stats;
        stats.file = FromNativePath(it->path().filename());
        // Checked first: the reader would tell the learner about a file
        // that is too large.
        const auto size = fs::file_size(it->path(), fileEc);
        if (!fileEc && size <= kLargestReadableFile) {
            if (const auto text = ReadScrambledFile(it->path())) {
                try {
                    LibraryFileValues values;
                    std::vector<WordList> words;
                    ParseLibraryLines(SplitLibraryLines(*text), values, words);
                    stats.readable = true;
                    stats.words = static_cast<int>(words.size());
                    for (const WordList& word : words) {
                        if (word.StudyTimes > 0) ++stats.studied;
                        if (word.Grade > 0) ++stats.aboveZero;
                    }
                } catch (const ConvertError&) {
                    stats.readable = false;
                }
            }
        }
        libraries.push_back(std::move(stats));
    }
    std::sort(libraries.begin(), libraries.end(),
              [](const BackupLibraryStats& a, const BackupLibraryStats& b) { return a.file < b.file; });
    return libraries;
}

BackupOutcome MakeBackup(const std::string& gbkProgramFolder, int slot, std::time_t now,
                         const std::string& protectedName) {
    return MakeBackupWithVersion(gbkProgramFolder, slot, now, std::string(), std::string(), protectedName);
}

BackupOutcome MakeBackupWithVersion(const std::string& gbkProgramFolder, int slot, std::time_t now,
                                    const std::string& gbkFileName, const std::string& bytes,
                                    const std::string& protectedName) {
    BackupOutcome outcome;
    const fs::path root = BackupRoot(gbkProgramFolder, slot);
    const fs::path source = UserDir(gbkProgramFolder, slot);
    std::error_code ec;
    if (fs::exists(root, ec)) RemoveUnfinishedBackups(root);
    if (gbkFileName.empty() && !HoldsFiles(source)) {
        outcome.skipped = true;
        return outcome;
    }

    std::string name = StampOf(now);
    for (int sequence = 2; fs::exists(root / name, ec); ++sequence) name = StampOf(now) + "-" + IntToStr(sequence);

    const fs::path making = root / (kMakingPrefix + name);
    if (!CopyFolder(source, making, outcome.gbkError)) {
        fs::remove_all(making, ec);
        return outcome;
    }
    if (!gbkFileName.empty()) {
        const SaveResult saved = SafeWriteFile(making / ToNativePath(gbkFileName), bytes);
        if (!saved) {
            outcome.gbkError = saved.Message();
            fs::remove_all(making, ec);
            return outcome;
        }
    }
    fs::rename(making, root / name, ec);
    if (ec) {
        outcome.gbkError = Failure("无法完成备份", root / name, ec);
        fs::remove_all(making, ec);
        return outcome;
    }
    Rotate(gbkProgramFolder, slot, protectedName);
    outcome.ok = true;
    outcome.name = name;
    return outcome;
}

bool AutomaticBackupDue(const std::string& gbkProgramFolder, int slot, std::time_t now) {
    if (!HoldsFiles(UserDir(gbkProgramFolder, slot))) return false;
    const auto names = ListBackups(gbkProgramFolder, slot);
    if (names.empty()) return true;
    const std::time_t newest = BackupTime(names.front());
    return newest > now || now - newest >= kAutomaticBackupAge;
}

bool FinishRestore(const std::string& gbkProgramFolder, int slot, std::string* gbkError) {
    const fs::path user = UserDir(gbkProgramFolder, slot);
    const fs::path staged = StagedDir(gbkProgramFolder, slot);
    const fs::path replaced = ReplacedDir(gbkProgramFolder, slot);
    std::error_code ec;
    fs::remove_all(StagingDir(gbkProgramFolder, slot), ec);

    const bool hasUser = fs::exists(user, ec);
    const bool hasStaged = fs::exists(staged, ec);
    const bool hasReplaced = fs::exists(replaced, ec);
    if (!hasUser && hasReplaced) {
        // Stopped between the two renames of the swap: finish it, or put
        // the old folder back when the restored copy is gone.
        fs::rename(hasStaged ? staged : replaced, user, ec);
        if (ec) {
            if (gbkError) *gbkError = Failure("无法完成上次的恢复：", user, ec);
            return false;
        }
    }
    // The swap is done (the old folder is no longer needed), or it never
    // began (the learner was not told the restore was done; the copy goes).
    fs::remove_all(replaced, ec);
    fs::remove_all(staged, ec);
    return true;
}

BackupOutcome RestoreBackup(const std::string& gbkProgramFolder, int slot, const std::string& name, std::time_t now) {
    BackupOutcome outcome;
    std::string error;
    if (!FinishRestore(gbkProgramFolder, slot, &error)) {
        outcome.gbkError = error;
        return outcome;
    }
    const fs::path chosen = BackupRoot(gbkProgramFolder, slot) / name;
    const fs::path user = UserDir(gbkProgramFolder, slot);
    const fs::path staging = StagingDir(gbkProgramFolder, slot);
    const fs::path staged = StagedDir(gbkProgramFolder, slot);
    const fs::path replaced = ReplacedDir(gbkProgramFolder, slot);
    std::error_code ec;
    BackupName parsed;
    if (!ParseBackupName(name, parsed) || !fs::is_directory(chosen, ec)) {
        outcome.gbkError = Gbk("找不到这个备份：") + Quoted(chosen);
        return outcome;
    }

    // Gives up with `error`, removing the copy of the backup made so far.
    auto giveUp = [&outcome](std::string error, const fs::path& copy) {
        std::error_code ignored;
        fs::remove_all(copy, ignored);
        outcome.gbkError = std::move(error);
        return outcome;
    };

    // 1. A whole copy of the backup beside the user folder.
    fs::create_directories(user.parent_path(), ec);
    if (!CopyFolder(chosen, staging, error)) return giveUp(error, staging);
    fs::rename(staging, staged, ec);
    if (ec) return giveUp(Failure("无法准备恢复", staged, ec), staging);
    Step("staged");

    // 2. The current state is kept before anything is replaced.
    const BackupOutcome current = MakeBackup(gbkProgramFolder, slot, now, name);
    if (!current.ok && !current.skipped)
        return giveUp(Gbk("恢复前备份当前进度没有成功，没有恢复：") + current.gbkError, staged);
    Step("backed up");

    // 3. The swap.
    const bool hadUser = fs::exists(user, ec);
    if (hadUser) {
        fs::rename(user, replaced, ec);
        if (ec) return giveUp(Failure("无法替换用户文件夹", user, ec), staged);
        Step("set aside");
    }
    fs::rename(staged, user, ec);
    if (ec) {
        const std::string failed = Failure("无法替换用户文件夹", user, ec);
        std::error_code back;
        if (hadUser) fs::rename(replaced, user, back);
        return giveUp(failed, staged);
    }
    Step("swapped");
    fs::remove_all(replaced, ec);
    outcome.ok = true;
    outcome.name = name;
    return outcome;
}
