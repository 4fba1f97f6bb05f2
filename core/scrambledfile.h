#pragma once
// Scrambled files: reading one whole, and saving one so that a failed save
// leaves the old file as it was. The scrambling itself is core/codec.h.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/codec.h"
#include "core/safewrite.h"

// Reads and unscrambles a whole file. Nothing (no message) when the file
// cannot be opened; nothing after "词库过大，无法加载！请与作者联系！" when it
// holds 599999 bytes or more. The text ends at the first NUL, as the
// program's texts always have.
std::optional<std::string> ReadScrambledFile(const std::filesystem::path& path);

// Writes a scrambled file piece by piece. The pieces are gathered in memory
// and Close() writes them through SafeWriteFile, so a failed save leaves the
// old file exactly as it was. Nothing is shown: Close() says what went wrong
// and the caller reports it.
class ScrambledWriter {
public:
    ScrambledWriter() = default;
    ScrambledWriter(const ScrambledWriter&) = delete;
    ScrambledWriter& operator=(const ScrambledWriter&) = delete;

    // Starts the file `path` (seeding the keystream); nothing is written yet.
    void Open(const std::filesystem::path& path, NewFileAccess access = NewFileAccess::Shared);
    bool IsOpen() const { return open_; }
    void WriteLineBreak();  // a single LF
    // Plain text (up to its first NUL); tagged text is made with
    // core/tagtext.h.
    void WritePlain(std::string_view plain);
    // Writes the content and puts it in place.
    SaveResult Close();
    // Abandons the save: nothing is written.
    void Discard();

private:
    void Append(std::string_view plain);

    bool open_ = false;
    NewFileAccess access_ = NewFileAccess::Shared;
    std::filesystem::path target_;
    std::string scrambled_;
};

// Writes `plain` scrambled to `path`, through a ScrambledWriter.
SaveResult WriteScrambledFile(const std::filesystem::path& path, std::string_view plain,
                              NewFileAccess access = NewFileAccess::Shared);
