#pragma once
// What every fuzz target shares: a scratch folder of its own (in memory where
// the system has one), a message sink that counts what the code under test
// shows and answers No to every question, and small file helpers.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

#include "core/appmessage.h"
#include "core/libraryformat.h"
#include "core/wordlist.h"

namespace fuzz {

// Stops the run with a finding: libFuzzer saves the input that caused it.
[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "round-trip property broken: %s\n", what);
    std::abort();
}

inline void Check(bool holds, const char* what) {
    if (!holds) Fail(what);
}

// A folder for this process, removed when it ends.
class Scratch {
public:
    Scratch() {
        std::error_code ec;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, ec)) base = std::filesystem::temp_directory_path();
        path_ = base / ("lexilark_fuzz." + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(path_);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // The folder as the program names folders: GBK (here plain ASCII) with
    // its trailing separator.
    std::string ProgramFolder() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

inline const Scratch& Folder() {
    static const Scratch scratch;
    return scratch;
}

// Counts the messages shown since the last Reset.
inline int& MessagesShown() {
    static int shown = 0;
    return shown;
}

inline void InstallMessageCounter() {
    static const bool installed = [] {
        SetMessageSink([](const std::string&, int flags) {
            ++MessagesShown();
            return IsQuestion(flags) ? kIdNo : kIdOk;
        });
        return true;
    }();
    (void)installed;
    MessagesShown() = 0;
}

inline std::string ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& p, std::string_view bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string_view AsText(const uint8_t* data, size_t size) { return {reinterpret_cast<const char*>(data), size}; }

// The text a program file holds: everything before the first NUL.
inline std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// The words and texts of a library (the whole library or the favourites)
// read back after a save, against the one saved: texts as the writer makes
// them safe (a mark of the format inside a value cannot end it), numbers as
// they were.
template <typename Library>
void CheckSameWordsAndTexts(const Library& saved, const Library& read) {
    Check(saved.Count == read.Count, "word count");
    for (int i = 0; i < saved.Count; ++i) {
        const WordList& a = saved.Words[i];
        const WordList& b = read.Words[i];
        Check(LibraryTagValue(a.Word) == b.Word && LibraryTagValue(a.Meaning) == b.Meaning,
              "words and meanings, as the writer makes them safe");
        Check(a.Grade == b.Grade && a.StudyTimes == b.StudyTimes, "grades and study counts");
    }
    Check(LibraryTagValue(saved.Date) == read.Date && LibraryTagValue(saved.Editor) == read.Editor &&
              LibraryTagValue(saved.Version) == read.Version,
          "header texts");
    for (size_t g = 0; g < std::size(saved.GradeWordLastWord); ++g)
        Check(LibraryTagValue(saved.GradeWordLastWord[g]) == read.GradeWordLastWord[g], "last word per grade");
}

}  // namespace fuzz
