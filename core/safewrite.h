#pragma once
// Writing a whole file safely. Every file the program writes (libraries,
// favourites, init.ini, the error report, what lxtool makes) goes through
// SafeWriteFile: the bytes go to a temporary file in the target's folder,
// are flushed to the disk and only then renamed over the target, and the
// folder is flushed after the rename. Whatever happens (a full disk, a
// killed program, a power cut), the target holds either its old content or
// the new one, never a mixture or a part.
//
// The function shows nothing: it says what went wrong, and the caller shows
// SaveResult::Message() in its own way (a message box in the program,
// standard error in lxtool).

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

// Who may read a file that does not exist yet. An existing file always
// keeps its own permission bits.
enum class NewFileAccess {
    Shared,     // as the user's file-creation mask allows
    OwnerOnly,  // only its owner (init.ini holds the passwords)
};

class SaveResult {
public:
    enum class Fault {
        None,
        CannotCreate,  // no temporary file beside the target, or the target is a folder
        ReadOnly,      // the target is write-protected; it is not replaced
        WriteFailed,   // writing, flushing or renaming failed (a full disk)
    };

    SaveResult() = default;
    SaveResult(Fault fault, std::filesystem::path file, std::error_code error = {})
        : fault_(fault), file_(std::move(file)), error_(error) {}

    explicit operator bool() const { return fault_ == Fault::None; }
    Fault fault() const { return fault_; }
    // The file that was to be written (for a link: the link's target).
    const std::filesystem::path& file() const { return file_; }
    const std::error_code& error() const { return error_; }
    // What the learner is told (GBK): the file's name, what went wrong, and
    // that nothing was written. Empty for a success.
    std::string Message() const;

private:
    Fault fault_ = Fault::None;
    std::filesystem::path file_;
    std::error_code error_;
};

// Writes `bytes` as the whole content of `target`. A symbolic link is
// written through: its final target receives the content and the link
// stays. Stale temporary files that earlier saves of the same file left
// behind (their program was killed) are removed first.
SaveResult SafeWriteFile(const std::filesystem::path& target, std::string_view bytes,
                         NewFileAccess access = NewFileAccess::Shared);

// What SafeWriteFile would refuse before writing anything: a target that
// is a folder, a loop of links or write-protected. A success says only
// that the save may be tried (a full disk is found by writing).
SaveResult CheckSaveTarget(const std::filesystem::path& target);

// Copies the file `source` to `target` the same way, so that a copy is
// never left half made. An unreadable source is a CannotCreate naming the
// source; the target is then not touched.
SaveResult SafeCopyFile(const std::filesystem::path& source, const std::filesystem::path& target);

// Why a file operation failed, in the learner's words (GBK, ends with a
// full stop; empty for no error).
std::string FileErrorReason(const std::error_code& error);

// Shows the message of a failed save through ShowAppMessage; true when the
// save succeeded.
bool ReportSaveResult(const SaveResult& result);

// True when `file` is a temporary file of a save of `target` (only the
// names are compared; a save puts its temporary file beside its target).
bool IsSaveTemporaryOf(const std::filesystem::path& file, const std::filesystem::path& target);
