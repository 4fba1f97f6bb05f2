#pragma once
// Scrambled file codec. Every data file is its plain GBK text XOR-ed with a
// keystream from a small linear congruential generator that is reseeded
// with the same constant for every file; the same operation scrambles and
// unscrambles. A byte equal to its key byte is left as it is, so for
// NUL-free text no scrambled byte is ever NUL.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/safewrite.h"

inline constexpr int32_t kKeystreamSeed = 615283;
// Largest buffer a read may fill; the end-of-file read counts too, so the
// largest file accepted is two bytes shorter.
inline constexpr size_t kReadBufferSize = 600000;
inline constexpr size_t kLargestReadableFile = kReadBufferSize - 2;  // 599998

// The process-wide generator (state starts at 0).
void SeedKeystream(int32_t value);
int32_t KeystreamState();
// One generator step mapped onto about n values centred on 0, reproducing
// the extended-precision arithmetic of the original format bit for bit.
int KeystreamRandom(int n);
// The same mapping for a given (already stepped) state, without touching
// the generator: exposed for tests and for the cached keystream.
int KeystreamDraw(int32_t steppedState, int n);
// Draws one key byte; returns x when x equals it, otherwise x XOR it.
unsigned char ScrambleByte(unsigned char x);
// Applies ScrambleByte to every byte of `text`, first to last.
void ScrambleText(std::string& text);

// Key byte j of every file (the (j+1)-th draw after the seed). The first
// 600000 are computed once per process and then served from a table.
unsigned char KeyByteAt(size_t j);
// Scrambles (or unscrambles) `len` bytes that stand at file position
// `offset`, using the cached keystream. Does not touch the generator.
void ScrambleAt(char* data, size_t len, size_t offset);

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
    void WriteTag(std::string_view name, std::string_view value);  // <name>value</name>
    void WriteOpenTag(std::string_view name);                       // <name>
    void WriteCloseTag(std::string_view name);                      // </name>
    void WriteLineBreak();                                          // a single LF
    // Any other plain text (up to its first NUL), for whole-file writers.
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

// Scrambles a whole plain text as a file would hold it (fresh keystream).
std::string ScrambleWhole(std::string_view plain);
// Writes `plain` scrambled to `path`, through a ScrambledWriter.
SaveResult WriteScrambledFile(const std::filesystem::path& path, std::string_view plain,
                              NewFileAccess access = NewFileAccess::Shared);
