#include "core/safewrite.h"
#include "core/systemerror.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <optional>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/plainfile.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTempSuffix = ".lxsave~";

// ---------------------------------------------------------------------------
// Names of temporary files: target name, ".", the saving process's id, "-",
// a number counting the saves of that process, ".lxsave~". The process id
// tells a later save whether the file is still being written.

#ifdef _WIN32
using ProcessId = unsigned long;
ProcessId OwnProcessId() { return GetCurrentProcessId(); }
bool ProcessIsRunning(ProcessId pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}
#else
using ProcessId = pid_t;
ProcessId OwnProcessId() { return getpid(); }
bool ProcessIsRunning(ProcessId pid) { return kill(pid, 0) == 0 || errno != ESRCH; }
#endif

using NativeString = fs::path::string_type;
using NativeChar = NativeString::value_type;

fs::path TemporaryFor(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    fs::path temp = target;
    temp += "." + std::to_string(OwnProcessId()) + "-" + std::to_string(counter++) + std::string(kTempSuffix);
    return temp;
}

bool IsDigit(NativeChar c) { return c >= NativeChar('0') && c <= NativeChar('9'); }

// The process id in a temporary file's name, when it is one of a save of
// the file named `target` (both names without their folder).
std::optional<unsigned long> TemporaryOwner(const NativeString& name, const NativeString& target) {
    const NativeString suffix = fs::path(std::string(kTempSuffix)).native();
    if (name.size() <= target.size() + 1 + suffix.size()) return std::nullopt;
    if (name.compare(0, target.size(), target) != 0 || name[target.size()] != NativeChar('.')) return std::nullopt;
    if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return std::nullopt;
    // What stands between: digits, "-", digits.
    const size_t begin = target.size() + 1, end = name.size() - suffix.size();
    size_t i = begin;
    unsigned long pid = 0;
    for (; i < end && IsDigit(name[i]) && i - begin < 10; ++i)
        pid = pid * 10 + static_cast<unsigned long>(name[i] - NativeChar('0'));
    if (i == begin || i >= end || name[i] != NativeChar('-') || i + 1 == end) return std::nullopt;
    for (++i; i < end; ++i)
        if (!IsDigit(name[i])) return std::nullopt;
    return pid;
}

// Removes what killed saves of `target` left behind. A temporary file of
// another process that still runs is its save in progress and stays; this
// process saves one file at a time, so its own are left from a save that
// could not clear up.
void RemoveStaleTemporaries(const fs::path& target) {
    const NativeString targetName = target.filename().native();
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::optional<unsigned long> owner = TemporaryOwner(it->path().filename().native(), targetName);
        if (!owner) continue;
        if (*owner == static_cast<unsigned long>(OwnProcessId()) || !ProcessIsRunning(static_cast<ProcessId>(*owner))) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

// The file a save of `target` really writes: a symbolic link is followed
// to its final target (which need not exist yet).
std::optional<fs::path> FollowLinks(fs::path target) {
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
        fs::path next = fs::read_symlink(target, ec);
        if (ec) return std::nullopt;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return std::nullopt;  // a loop of links
}

std::error_code LastError() {
#ifdef _WIN32
    return std::error_code(static_cast<int>(GetLastError()), std::system_category());
#else
    return std::error_code(errno, std::generic_category());
#endif
}

// ---------------------------------------------------------------------------
// The platform's part: what the target is, and the temporary file.

struct TargetState {
    bool exists = false;
    bool regular = true;
    bool directory = false;
    bool readOnly = false;
#ifndef _WIN32
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
#endif
};

#ifdef _WIN32

TargetState InspectTarget(const fs::path& target) {
    TargetState state;
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return state;
    state.exists = true;
    state.directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    state.regular = !state.directory;
    state.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    return state;
}

SaveResult WriteTemporary(const fs::path& temp, const fs::path& target, std::string_view bytes, const TargetState&,
                          NewFileAccess) {
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {SaveResult::Fault::CannotCreate, target, LastError()};
    std::error_code error;
    size_t done = 0;
    while (!error && done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) error = LastError();
        done += written;
    }
    if (!error && !FlushFileBuffers(file)) error = LastError();
    if (!CloseHandle(file) && !error) error = LastError();
    if (error) return {SaveResult::Fault::WriteFailed, target, error};
    return {};
}

std::error_code PutInPlace(const fs::path& temp, const fs::path& target) {
    if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return LastError();
    return {};
}

#else

TargetState InspectTarget(const fs::path& target) {
    TargetState state;
    struct stat info {};
    if (stat(target.c_str(), &info) != 0) return state;
    state.exists = true;
    state.regular = S_ISREG(info.st_mode);
    state.directory = S_ISDIR(info.st_mode);
    state.mode = info.st_mode & 07777;
    state.owner = info.st_uid;
    state.group = info.st_gid;
    // No write permission for anybody is a read-only file even for the
    // superuser, who could otherwise write anything.
    state.readOnly = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
                     (access(target.c_str(), W_OK) != 0 && (errno == EACCES || errno == EPERM));
    return state;
}

SaveResult WriteTemporary(const fs::path& temp, const fs::path& target, std::string_view bytes,
                          const TargetState& state, NewFileAccess access) {
    // Created for its owner only until it is complete; it then gets the
    // old file's permissions (or those of a new file).
    const mode_t createMode = state.exists || access == NewFileAccess::OwnerOnly ? 0600 : 0666;
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
    if (fd < 0) return {SaveResult::Fault::CannotCreate, target, LastError()};
    std::error_code error;
    size_t done = 0;
    while (!error && done < bytes.size()) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno != EINTR) error = LastError();
        } else {
            done += static_cast<size_t>(written);
        }
    }
    if (!error && state.exists) {
        // Keeping the owner needs privileges the program usually lacks;
        // the file is then the saver's, as any new file would be.
        if (fchown(fd, state.owner, state.group) != 0) { /* kept as the saver's */
        }
        if (fchmod(fd, state.mode) != 0) error = LastError();
    }
    if (!error && fsync(fd) != 0) error = LastError();
    if (close(fd) != 0 && !error) error = LastError();
    if (error) return {SaveResult::Fault::WriteFailed, target, error};
    return {};
}

std::error_code PutInPlace(const fs::path& temp, const fs::path& target) {
    if (rename(temp.c_str(), target.c_str()) != 0) return LastError();
    // The rename itself reaches the disk only with the folder.
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return {};
}

#endif

// Why a write failed, in the learner's words (GBK; empty when there is
// nothing more to say than the error itself).
std::string Reason(const std::error_code& error) {
    if (!error) return {};
    const std::error_condition condition = error.default_error_condition();
    if (condition == std::errc::no_space_on_device) return Gbk("磁盘已满。");
#ifdef EDQUOT
    if (error.category() == std::generic_category() && error.value() == EDQUOT) return Gbk("磁盘空间配额已用完。");
#endif
    if (condition == std::errc::file_too_large) return Gbk("文件超过了系统允许的大小。");
    if (condition == std::errc::io_error) return Gbk("磁盘读写出错。");
    if (condition == std::errc::read_only_file_system) return Gbk("磁盘是只读的。");
    if (condition == std::errc::permission_denied || condition == std::errc::operation_not_permitted)
        return Gbk("没有写入权限。");
    if (condition == std::errc::no_such_file_or_directory) return Gbk("文件夹不存在。");
    if (condition == std::errc::is_a_directory) return Gbk("这是一个文件夹。");
    if (condition == std::errc::not_supported) return Gbk("这不是一个普通文件。");
    return SystemErrorText(error) + Gbk("。");
}

}  // namespace

std::string FileErrorReason(const std::error_code& error) { return Reason(error); }

std::string SaveResult::Message() const {
    const std::string name = FromNativePath(file_);
    switch (fault_) {
        case Fault::None:
            return {};
        case Fault::CannotCreate:
            return Gbk("文件打不开：\r\n") + name + "\r\n\r\n" + Reason(error_) + Gbk("没有保存。");
        case Fault::ReadOnly:
            return Gbk("文件是只读的，不能覆盖：\r\n") + name +
                   Gbk("\r\n\r\n没有保存，原来的文件保持不变。去掉它的只读属性后才能保存。");
        case Fault::WriteFailed:
            return Gbk("文件无法写入：\r\n") + name + "\r\n\r\n" + Reason(error_) +
                   Gbk("没有保存，原来的文件保持不变。");
    }
    return {};
}

bool IsSaveTemporaryOf(const fs::path& file, const fs::path& target) {
    return TemporaryOwner(file.filename().native(), target.filename().native()).has_value();
}

namespace {

// The file a save of `requested` writes and what it is now, or why the
// save is refused before anything is written.
SaveResult InspectSave(const fs::path& requested, fs::path& target, TargetState& state) {
    std::optional<fs::path> followed = FollowLinks(requested);
    if (!followed)
        return {SaveResult::Fault::CannotCreate, requested,
                std::make_error_code(std::errc::too_many_symbolic_link_levels)};
    target = *followed;
    state = InspectTarget(target);
    if (state.exists && !state.regular)
        return {SaveResult::Fault::CannotCreate, target,
                std::make_error_code(state.directory ? std::errc::is_a_directory : std::errc::not_supported)};
    if (state.exists && state.readOnly) return {SaveResult::Fault::ReadOnly, target};
    return {};
}

}  // namespace

SaveResult CheckSaveTarget(const fs::path& requested) {
    fs::path target;
    TargetState state;
    return InspectSave(requested, target, state);
}

SaveResult SafeWriteFile(const fs::path& requested, std::string_view bytes, NewFileAccess access) {
    fs::path target;
    TargetState state;
    if (SaveResult refused = InspectSave(requested, target, state); !refused) return refused;

    RemoveStaleTemporaries(target);
    const fs::path temp = TemporaryFor(target);
    SaveResult result = WriteTemporary(temp, target, bytes, state, access);
    if (result) {
        if (std::error_code error = PutInPlace(temp, target)) result = {SaveResult::Fault::WriteFailed, target, error};
    }
    if (!result) {
        std::error_code ignored;
        fs::remove(temp, ignored);
    }
    return result;
}

SaveResult SafeCopyFile(const fs::path& source, const fs::path& target) {
    const std::optional<std::string> bytes = ReadPlainFile(source);
    if (!bytes) {
        std::error_code ec;
        const bool there = fs::exists(source, ec);
        return {SaveResult::Fault::CannotCreate, source,
                std::make_error_code(there ? std::errc::io_error : std::errc::no_such_file_or_directory)};
    }
    return SafeWriteFile(target, *bytes);
}

bool ReportSaveResult(const SaveResult& result) {
    if (!result) ShowAppMessage(result.Message(), kMsgOk);
    return static_cast<bool>(result);
}
