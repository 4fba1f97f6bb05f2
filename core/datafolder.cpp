#include "core/datafolder.h"

#include <algorithm>
#include <map>
#include <sstream>

#include "core/gbktext.h"
#include "core/plainfile.h"
#include "core/sha256.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// Relative names are kept in the record as UTF-8 with forward slashes,
// whatever the platform.
std::string RecordName(const fs::path& relative) {
    const std::u8string name = relative.generic_u8string();
    return std::string(name.begin(), name.end());
}

fs::path FromRecordName(const std::string& name) { return fs::path(std::u8string(name.begin(), name.end())); }

// The learner's start: copied only into a fresh folder, and never again.
bool IsLearnersStart(const std::string& name) { return name == "init.ini" || name.rfind("users/", 0) == 0; }

struct ShippedFile {
    std::string name;
    fs::path source;
};

struct ShippedTree {
    std::vector<ShippedFile> files;    // sorted by name
    std::vector<std::string> folders;  // sorted, parents first
    std::string stamp;                 // changes whenever a shipped file does
};

ShippedTree ReadShippedTree(const fs::path& shipped, std::error_code& ec) {
    ShippedTree tree;
    std::ostringstream stampText;
    fs::recursive_directory_iterator it(shipped, fs::directory_options::follow_directory_symlink, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::path relative = it->path().lexically_relative(shipped);
        const std::string name = RecordName(relative);
        if (it->is_directory(ec)) {
            tree.folders.push_back(name);
        } else if (it->is_regular_file(ec)) {
            tree.files.push_back({name, it->path()});
        }
    }
    if (ec) return tree;
    std::sort(tree.files.begin(), tree.files.end(),
              [](const ShippedFile& a, const ShippedFile& b) { return a.name < b.name; });
    std::sort(tree.folders.begin(), tree.folders.end());
    for (const ShippedFile& file : tree.files) {
        std::error_code ignored;
        const auto size = fs::file_size(file.source, ignored);
        const auto time = fs::last_write_time(file.source, ignored).time_since_epoch().count();
        stampText << file.name << '\t' << size << '\t' << time << '\n';
    }
    tree.stamp = Sha256Hex(stampText.str());
    return tree;
}

struct Record {
    bool present = false;
    std::string stamp;
    std::map<std::string, std::string> digests;  // name -> SHA-256 of the laid-out file
};

constexpr std::string_view kStampLine = "# shipped ";

Record ReadRecord(const fs::path& file) {
    Record record;
    const std::optional<std::string> text = ReadPlainFile(file);
    if (!text) return record;
    record.present = true;
    std::istringstream lines(*text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(kStampLine, 0) == 0) {
            record.stamp = line.substr(kStampLine.size());
        } else if (line.size() > 66 && line.compare(64, 2, "  ") == 0) {
            record.digests[line.substr(66)] = line.substr(0, 64);
        }
    }
    return record;
}

std::string RecordText(const Record& record) {
    std::string text = std::string(kStampLine) + record.stamp + "\n";
    for (const auto& [name, digest] : record.digests) text += digest + "  " + name + "\n";
    return text;
}

std::string Fatal(const fs::path& dataFolder, const std::string& what) {
    return Gbk("澜悦单词无法准备它的数据文件夹：\r\n") + FromNativePath(dataFolder) + "\r\n\r\n" + what +
           Gbk("\r\n\r\n请检查磁盘空间和这个文件夹的权限，然后再启动澜悦单词。");
}

fs::path WithoutTrailingSeparator(const fs::path& folder) {
    const fs::path normal = folder.lexically_normal();
    return normal.has_filename() || !normal.has_parent_path() ? normal : normal.parent_path();
}

}  // namespace

bool HoldsShippedFiles(const fs::path& folder) {
    std::error_code ec;
    return fs::is_regular_file(folder / "lx1.en", ec) && fs::is_directory(folder / "wordlib", ec);
}

bool IsWritableFolder(const fs::path& folder) {
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (ec || !fs::is_directory(status)) return false;
    const fs::perms anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & anyWrite) == fs::perms::none) return false;
#ifdef _WIN32
    return _waccess(folder.c_str(), 2) == 0;
#else
    return access(folder.c_str(), W_OK) == 0;
#endif
}

ProgramFolderChoice ChooseProgramFolder(const fs::path& executableFolder, const fs::path& dataHome) {
    ProgramFolderChoice choice;
    const bool holds = HoldsShippedFiles(executableFolder);
    if (holds && IsWritableFolder(executableFolder)) {
        choice.programFolder = choice.shippedFolder = executableFolder;
        return choice;
    }
    const fs::path shipped =
        holds ? executableFolder : (executableFolder / ".." / "share" / "lexilark").lexically_normal();
    if (!HoldsShippedFiles(shipped)) {
        choice.programFolder = choice.shippedFolder = executableFolder;
        return choice;
    }
    choice.installed = true;
    choice.shippedFolder = shipped;
    if (!dataHome.empty() && dataHome.is_absolute()) choice.programFolder = dataHome / "Lexilark";
    return choice;
}

std::string CreateDataFolder(const fs::path& dataFolder) {
    std::error_code ec;
    fs::create_directories(dataFolder, ec);
    if (!ec && !fs::is_directory(dataFolder, ec)) ec = std::make_error_code(std::errc::not_a_directory);
    if (!ec) return {};
    std::string reason = FileErrorReason(ec);
    if (ec.default_error_condition() == std::errc::not_a_directory ||
        ec.default_error_condition() == std::errc::file_exists)
        reason = Gbk("路径中有一个同名的文件挡住了它。");
    return Fatal(dataFolder, Gbk("无法建立这个文件夹。") + reason);
}

DataFolderLayout LayOutDataFolder(const fs::path& shippedGiven, const fs::path& dataGiven) {
    // Without a trailing separator, so that names relative to it come out
    // plain.
    const fs::path shippedFolder = WithoutTrailingSeparator(shippedGiven);
    const fs::path dataFolder = WithoutTrailingSeparator(dataGiven);
    DataFolderLayout layout;
    std::error_code ec;
    const ShippedTree tree = ReadShippedTree(shippedFolder, ec);
    if (ec) {
        layout.fatal = Fatal(dataFolder, Gbk("安装的文件读不出来：\r\n") + FromNativePath(shippedFolder) + "\r\n" +
                                             FileErrorReason(ec) + Gbk("请重新安装本软件。"));
        return layout;
    }
    const fs::path recordFile = dataFolder / kShippedRecordName;
    Record record = ReadRecord(recordFile);
    const bool fresh = !record.present;
    // A learner who brought their own init.ini (moved from a portable
    // folder) brought their users too. init.ini is laid out last, so a
    // start killed half way still counts as fresh.
    const bool layStart = fresh && !fs::exists(dataFolder / "init.ini", ec);

    auto copy = [&](const ShippedFile& file, const std::string& bytes) -> bool {
        const fs::path target = dataFolder / FromRecordName(file.name);
        std::error_code made;
        fs::create_directories(target.parent_path(), made);
        const SaveResult saved =
            SafeWriteFile(target, bytes, file.name == "init.ini" ? NewFileAccess::OwnerOnly : NewFileAccess::Shared);
        if (!saved) {
            if (saved.fault() == SaveResult::Fault::ReadOnly && fs::exists(target)) {
                layout.notUpdated.push_back(saved);
                return true;
            }
            layout.fatal = Fatal(dataFolder, saved.Message());
            return false;
        }
        layout.written.push_back(file.name);
        return true;
    };

    for (const std::string& folder : tree.folders) {
        if (IsLearnersStart(folder + "/") && !layStart) continue;
        std::error_code made;
        fs::create_directories(dataFolder / FromRecordName(folder), made);
    }
    if (layStart) {
        // users/ first, init.ini last.
        std::vector<const ShippedFile*> start;
        for (const ShippedFile& file : tree.files)
            if (IsLearnersStart(file.name)) start.push_back(&file);
        std::stable_partition(start.begin(), start.end(), [](const ShippedFile* f) { return f->name != "init.ini"; });
        for (const ShippedFile* file : start) {
            if (fs::exists(dataFolder / FromRecordName(file->name), ec)) continue;
            const std::optional<std::string> bytes = ReadPlainFile(file->source);
            if (!bytes) {
                layout.fatal = Fatal(dataFolder, SaveResult(SaveResult::Fault::CannotCreate, file->source).Message());
                return layout;
            }
            if (!copy(*file, *bytes)) return layout;
        }
    }

    const bool shippedUnchanged = record.present && record.stamp == tree.stamp;
    bool recordChanged = !shippedUnchanged;
    for (const ShippedFile& file : tree.files) {
        if (IsLearnersStart(file.name)) continue;
        const fs::path target = dataFolder / FromRecordName(file.name);
        std::error_code missing;
        const bool exists = fs::exists(target, missing);
        // Unchanged shipped files: only a missing one needs anything done.
        if (shippedUnchanged && exists) continue;
        const std::optional<std::string> bytes = ReadPlainFile(file.source);
        if (!bytes) {
            layout.fatal = Fatal(dataFolder, SaveResult(SaveResult::Fault::CannotCreate, file.source).Message());
            return layout;
        }
        const std::string digest = Sha256Hex(*bytes);
        if (!exists) {
            if (!copy(file, *bytes)) return layout;
            record.digests[file.name] = digest;
            recordChanged = true;
            continue;
        }
        const std::optional<std::string> current = ReadPlainFile(target);
        if (!current) continue;  // a folder or unreadable: not ours to replace
        if (*current == *bytes) {
            record.digests[file.name] = digest;
            continue;
        }
        const auto laid = record.digests.find(file.name);
        const bool learnersOwn = laid == record.digests.end() || laid->second != Sha256Hex(*current);
        if (learnersOwn) continue;
        const size_t notUpdatedBefore = layout.notUpdated.size();
        if (!copy(file, *bytes)) return layout;
        if (layout.notUpdated.size() == notUpdatedBefore) record.digests[file.name] = digest;
    }

    if (recordChanged || !record.present) {
        record.stamp = layout.notUpdated.empty() ? tree.stamp : std::string();
        const SaveResult saved = SafeWriteFile(recordFile, RecordText(record));
        if (!saved) layout.fatal = Fatal(dataFolder, saved.Message());
    }
    return layout;
}
