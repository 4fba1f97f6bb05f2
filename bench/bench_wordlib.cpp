// The word library's heavy operations on a full library: opening (read,
// unscramble, parse, load and show the group) and saving 10000 words in a
// file of close to 599998 bytes, one next-word step with the word shown on
// the recording display, and the reshuffle at a cycle end.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "core/codec.h"
#include "core/scrambledfile.h"
#include "core/wordlib0.h"
#include "tests/support/recording_display.h"

namespace {

// A folder of this run's own, removed with everything in it when the
// program ends, so no benchmark run leaves its libraries behind.
class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("lexilark_bench_wordlib." + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

const std::filesystem::path& Scratch() {
    static const ScratchFolder folder;
    return folder.path();
}

const std::filesystem::path& LibraryPath() {
    static const std::filesystem::path path = Scratch() / "full.lx";
    return path;
}

// 10000 word lines of GBK text, padded so the whole file comes close to the
// largest size the program reads.
std::string FullLibraryText() {
    std::string text =
        "<editor>bench</editor><date>2026-12-10</date><version>1.0</version><lw>0</lw>"
        "<groupcount>1</groupcount><groupindex>0</groupindex><lt>1</lt><tlt>0</tlt><tt>0</tt>"
        "<basegrade>0</basegrade><GradeWordLastWord0>0</GradeWordLastWord0><GradeWordLastWord1>0"
        "</GradeWordLastWord1><GradeWordLastWord2>0</GradeWordLastWord2><GradeWordLastWord3>0"
        "</GradeWordLastWord3><GradeWordLastWord4>0</GradeWordLastWord4><GradeWordLastWord5>0</GradeWordLastWord5>";
    const size_t perLine = (kLargestReadableFile - text.size()) / kMaxLibraryWords;
    for (int i = 0; i < kMaxLibraryWords; ++i) {
        std::string line = "\n<e>\xCA\xB3\xA4\xD9\xA4\xEB" + std::to_string(i) + "</e><t>" + std::to_string(i % 97) +
                           "</t><c>\xB3\xD4\xA3\xBB";
        const std::string tail = "</c><g>" + std::to_string(i % 6) + "</g>";
        while (line.size() + tail.size() < perLine) line += 'm';
        text += line + tail;
    }
    return text;
}

bool WriteLibrary() {
    static const bool written = static_cast<bool>(WriteScrambledFile(LibraryPath(), FullLibraryText()));
    return written;
}

// The study window's three objects, wired as it wires them.
struct StudyObjects {
    RecordingDisplay display;
    TWordLib list;
    TWordLib0 lib;
    StudyObjects() {
        list.SetDisplay(&display);
        lib.SetDisplay(&display);
        lib.StudyLib = &list;
    }
};

void BM_OpenFullLibrary(benchmark::State& state) {
    if (!WriteLibrary()) return state.SkipWithError("cannot write the library");
    StudyObjects s;
    const std::string path = LibraryPath().string();
    for (auto _ : state) {
        bool opened = s.lib.OpenWordLib(path);
        benchmark::DoNotOptimize(opened);
        s.display.ClearLog();
    }
    state.counters["words"] = s.lib.Count;
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(LibraryPath()));
}
BENCHMARK(BM_OpenFullLibrary)->Unit(benchmark::kMillisecond);

void BM_SaveFullLibrary(benchmark::State& state) {
    if (!WriteLibrary()) return state.SkipWithError("cannot write the library");
    StudyObjects s;
    s.lib.OpenWordLib(LibraryPath().string());
    s.lib.Path = (Scratch() / "saved.lx").string();
    for (auto _ : state) {
        s.lib.StoreGroup();
        if (!s.lib.SaveWordLib()) return state.SkipWithError("the library was not saved");
    }
    std::filesystem::remove(s.lib.Path);
}
BENCHMARK(BM_SaveFullLibrary)->Unit(benchmark::kMillisecond);

void BM_NextWordShown(benchmark::State& state) {
    if (!WriteLibrary()) return state.SkipWithError("cannot write the library");
    StudyObjects s;
    s.lib.OpenWordLib(LibraryPath().string());
    s.list.CurrentGrade = 0;
    s.list.ShowFirstWordOfGrade();
    for (auto _ : state) {
        if (s.list.NextWord(true) != kNextDone) s.list.ShowFirstWordOfGrade();
        if (s.display.log.size() > 100000) s.display.ClearLog();
    }
}
BENCHMARK(BM_NextWordShown)->Unit(benchmark::kMicrosecond);

void BM_ShuffleFullLibrary(benchmark::State& state) {
    if (!WriteLibrary()) return state.SkipWithError("cannot write the library");
    TWordLib0 lib;
    lib.OpenWordLib(LibraryPath().string());
    unsigned seed = 1;
    for (auto _ : state) {
        lib.ShuffleWords(seed++);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ShuffleFullLibrary)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
