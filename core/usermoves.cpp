#include "core/usermoves.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <filesystem>
#include <optional>
#include <set>
#include <system_error>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/libraryformat.h"
#include "core/libtext.h"
#include "core/localtime.h"
#include "core/numbertext.h"
#include "core/plainfile.h"
#include "core/scrambledfile.h"
#include "core/tagtext.h"

namespace fs = std::filesystem;

namespace {

const char* const kJournalName = "init.ini.moves";
const char* const kStagedConfigName = "init.ini.new";

constexpr std::string_view kJournalTags[] = {"name", "from", "to", "config"};

std::function<void(int)>& StepHook() {
    static std::function<void(int)> hook;
    return hook;
}

// Reports one more step done to the hook.
class StepCounter {
public:
    void Done() {
        ++step_;
        if (StepHook()) StepHook()(step_);
    }

private:
    int step_ = 0;
};

std::string SlotFolderName(int slot) { return "user" + IntToStr(slot); }

fs::path Native(const std::string& gbkProgramFolder, const std::string& relative) {
    return ToNativePath(gbkProgramFolder + relative);
}

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

bool IsEmptyFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec) && fs::is_empty(path, ec) && !ec;
}

// A set-aside name no root holds and this plan has not used yet.
std::string FreeAsideName(const std::string& base, const std::string& gbkProgramFolder,
                          const std::vector<std::string>& roots, std::set<std::string>& taken) {
    for (int n = 1;; ++n) {
        const std::string name = n == 1 ? base : base + "_" + IntToStr(n);
        if (taken.count(name)) continue;
        bool free = true;
        for (const std::string& root : roots)
            if (Exists(Native(gbkProgramFolder, root + name))) free = false;
        if (!free) continue;
        taken.insert(name);
        return name;
    }
}

std::string JournalText(const std::vector<FolderRename>& renames) {
    std::string text;
    AppendTag(text, "name", Gbk("澜悦单词用户文件夹移动"), kJournalTags);
    text += '\n';
    for (const FolderRename& r : renames) {
        AppendTag(text, "from", r.from, kJournalTags);
        AppendTag(text, "to", r.to, kJournalTags);
        text += '\n';
    }
    AppendTag(text, "config", kStagedConfigName, kJournalTags);
    text += '\n';
    return text;
}

std::vector<FolderRename> ParseJournal(const std::string& text) {
    std::vector<FolderRename> renames;
    for (const std::string& line : SplitLibraryLines(text)) {
        if (!HasOpeningMark(line, "from")) continue;
        renames.push_back({FindTagValue(line, "from"), FindTagValue(line, "to")});
    }
    return renames;
}

void ShowRenameFailure(const FolderRename& r) {
    ShowAppMessage(Gbk("无法把文件夹“") + r.from + Gbk("”移动为“") + r.to +
                   Gbk("”。\r\n\r\n请检查这些文件夹是否正被其他程序使用，或者是否有写入权限。"));
}

void RemoveFile(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

// Puts the staged configuration in place of init.ini through a safe save,
// so a link named init.ini is written through, a write-protected init.ini
// is refused and init.ini keeps its permissions (it holds the passwords).
// The staged file goes only once init.ini holds its content, so a stop in
// between installs it again at the next start.
bool InstallStagedConfig(const std::string& gbkProgramFolder) {
    const fs::path staged = Native(gbkProgramFolder, kStagedConfigName);
    if (!Exists(staged)) return true;
    const std::optional<std::string> bytes = ReadPlainFile(staged);
    if (!bytes) {
        ShowAppMessage(Gbk("无法读取 ") + kStagedConfigName + Gbk("，新的用户表没有保存到 init.ini。"));
        return false;
    }
    if (!ReportSaveResult(SafeWriteFile(Native(gbkProgramFolder, "init.ini"), *bytes, NewFileAccess::OwnerOnly)))
        return false;
    RemoveFile(staged);
    return true;
}

void MakeSlotFolders(const std::string& gbkProgramFolder, const std::vector<std::string>& roots) {
    std::error_code ignored;
    for (const std::string& root : roots)
        for (int n = 0; n < kUserSlots; ++n)
            fs::create_directories(Native(gbkProgramFolder, root + SlotFolderName(n)), ignored);
}

}  // namespace

// A user's progress backups are the user's as much as the user folder is.
std::vector<std::string> DefaultUserFolderRoots() { return {"users\\", "backups\\"}; }

std::string FolderNameFor(const std::string& gbkName) {
    std::string name;
    for (size_t i = 0; i < gbkName.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(gbkName[i]);
        if (IsGbkLeadByte(c) && i + 1 < gbkName.size()) {
            name += gbkName.substr(i, 2);
            ++i;
            continue;
        }
        const bool unfit = c < 0x20 || c == 0x7F ||
                           std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
        name += unfit || IsGbkLeadByte(c) ? '_' : static_cast<char>(c);
    }
    for (size_t i = 0; i < name.size() && (name[i] == '.' || name[i] == ' '); ++i) name[i] = '_';
    for (size_t i = name.size(); i > 0 && (name[i - 1] == '.' || name[i - 1] == ' '); --i) name[i - 1] = '_';
    return name.empty() ? "_" : name;
}

std::vector<SlotMove> PlanSlotMoves(const TManage& manage, const std::string& gbkProgramFolder, const std::string& date,
                                    const std::vector<std::string>& roots) {
    // Where the folder of each slot, as last saved, goes.
    std::array<int, kUserSlots> keptAt;  // new slot of the user whose folder it is, or -1
    keptAt.fill(-1);
    for (int slot = 0; slot < kUserSlots; ++slot) {
        const int folder = manage.folderSlot[slot];
        if (!manage.user[slot].empty() && folder >= 0 && folder < kUserSlots) keptAt[folder] = slot;
    }
    std::set<std::string> taken;
    std::vector<SlotMove> asides, downs;
    for (const TManage::DeletedUser& deleted : manage.deletedUsers) {
        if (deleted.folderSlot < 0 || deleted.folderSlot >= kUserSlots || keptAt[deleted.folderSlot] >= 0) continue;
        const std::string base = FolderNameFor(deleted.name) + "_" + date;
        asides.push_back({deleted.folderSlot, -1, FreeAsideName(base, gbkProgramFolder, roots, taken)});
    }
    for (int folder = 0; folder < kUserSlots; ++folder) {
        if (keptAt[folder] >= 0) {
            if (keptAt[folder] != folder) downs.push_back({folder, keptAt[folder], {}});
            continue;
        }
        bool deleted = false;
        for (const auto& d : manage.deletedUsers) deleted = deleted || d.folderSlot == folder;
        // What an earlier user left in the folder of a slot that now holds
        // someone else is no one's to inherit.
        if (!deleted && !manage.user[folder].empty()) {
            const std::string base = SlotFolderName(folder) + Gbk("_旧文件_") + date;
            asides.push_back({folder, -1, FreeAsideName(base, gbkProgramFolder, roots, taken)});
        }
    }
    // Folders only move down, so in increasing target order each target has
    // been emptied by an earlier step and is never the source of a later one.
    std::sort(downs.begin(), downs.end(), [](const SlotMove& a, const SlotMove& b) { return a.to < b.to; });
    asides.insert(asides.end(), downs.begin(), downs.end());
    return asides;
}

std::vector<FolderRename> FolderRenamesFor(const std::vector<SlotMove>& moves, const std::string& gbkProgramFolder,
                                           const std::vector<std::string>& roots) {
    std::vector<FolderRename> renames;
    for (const SlotMove& move : moves) {
        for (const std::string& root : roots) {
            const std::string from = root + SlotFolderName(move.from);
            const fs::path source = Native(gbkProgramFolder, from);
            if (!Exists(source)) continue;
            if (move.to < 0 && IsEmptyFolder(source)) {
                std::error_code ignored;
                fs::remove(source, ignored);
                continue;
            }
            renames.push_back({from, root + (move.to < 0 ? move.asideAs : SlotFolderName(move.to))});
        }
    }
    return renames;
}

bool CommitUserTable(TManage& manage, const std::string& gbkProgramFolder, const std::string& date,
                     const std::vector<std::string>& roots) {
    const fs::path journal = Native(gbkProgramFolder, kJournalName);
    const fs::path staged = Native(gbkProgramFolder, kStagedConfigName);
    if (manage.ConfigUnreadable()) {
        ShowAppMessage(TManage::UnreadableConfigMessage());
        return false;
    }
    if (Exists(journal)) {
        ShowAppMessageUtf8(
            "上次保存用户表时移动的用户文件夹还没有整理完毕，用户表没有保存。\r\n\r\n"
            "请退出并重新启动澜悦单词，然后再修改用户。");
        return false;
    }
    // A write-protected init.ini is refused before any folder moves, not
    // after, when the moves could only be finished by a later start.
    if (!ReportSaveResult(CheckSaveTarget(Native(gbkProgramFolder, "init.ini")))) return false;
    const std::vector<FolderRename> renames =
        FolderRenamesFor(PlanSlotMoves(manage, gbkProgramFolder, date, roots), gbkProgramFolder, roots);

    if (renames.empty()) {
        if (!ReportSaveResult(WriteScrambledFile(Native(gbkProgramFolder, "init.ini"), manage.ConfigFileText(),
                                                 NewFileAccess::OwnerOnly)))
            return false;
        manage.ResetFolderSlots();
        return true;
    }

    StepCounter steps;
    if (!ReportSaveResult(WriteScrambledFile(staged, manage.ConfigFileText(), NewFileAccess::OwnerOnly))) {
        RemoveFile(staged);
        return false;
    }
    steps.Done();
    if (!ReportSaveResult(WriteScrambledFile(journal, JournalText(renames)))) {
        RemoveFile(staged);
        return false;
    }
    steps.Done();
    for (size_t done = 0; done < renames.size(); ++done) {
        std::error_code ec;
        fs::rename(Native(gbkProgramFolder, renames[done].from), Native(gbkProgramFolder, renames[done].to), ec);
        if (!ec) {
            steps.Done();
            continue;
        }
        ShowRenameFailure(renames[done]);
        // Put back what was moved, newest first; the table stays unsaved.
        bool undone = true;
        for (size_t i = done; i-- > 0;) {
            fs::rename(Native(gbkProgramFolder, renames[i].to), Native(gbkProgramFolder, renames[i].from), ec);
            undone = undone && !ec;
        }
        if (!undone) {
            ShowAppMessageUtf8("用户文件夹无法恢复原样，澜悦单词下次启动时将继续完成移动。");
            return false;
        }
        RemoveFile(journal);
        RemoveFile(staged);
        ShowAppMessageUtf8("用户表没有保存，用户文件夹保持原样。");
        return false;
    }
    if (!InstallStagedConfig(gbkProgramFolder)) return false;
    steps.Done();
    RemoveFile(journal);
    steps.Done();
    MakeSlotFolders(gbkProgramFolder, roots);
    manage.ResetFolderSlots();
    return true;
}

bool FinishUserMoves(const std::string& gbkProgramFolder) {
    const fs::path journal = Native(gbkProgramFolder, kJournalName);
    if (!Exists(journal)) {
        // Stopped before the journal was written: nothing was moved.
        RemoveFile(Native(gbkProgramFolder, kStagedConfigName));
        return true;
    }
    const std::optional<std::string> text = ReadScrambledFile(journal);
    if (!text) {
        ShowAppMessage(Gbk("无法读取 ") + kJournalName + Gbk("，上次未完成的用户文件夹移动没有继续。"));
        return false;
    }
    for (const FolderRename& r : ParseJournal(*text)) {
        const fs::path from = Native(gbkProgramFolder, r.from);
        const fs::path to = Native(gbkProgramFolder, r.to);
        if (!Exists(from) || Exists(to)) continue;  // done before the stop
        std::error_code ec;
        fs::rename(from, to, ec);
        if (ec) {
            ShowRenameFailure(r);
            return false;
        }
    }
    if (!InstallStagedConfig(gbkProgramFolder)) return false;
    RemoveFile(journal);
    MakeSlotFolders(gbkProgramFolder, DefaultUserFolderRoots());
    return true;
}

void SetUserMoveStepHook(std::function<void(int step)> hook) { StepHook() = std::move(hook); }

std::string TodayText() {
    const std::time_t now = std::time(nullptr);
    const std::tm local = ToLocalTime(now);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}
