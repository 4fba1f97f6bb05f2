// Decoding speed of the scrambled-file codec against memcpy of the same
// 599998 bytes (the largest file the program reads), and a whole warm
// ReadScrambledFile of a file that size.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/codec.h"
#include "core/scrambledfile.h"

namespace {

std::string SampleText() {
    // Library-like text: tags, ASCII and GBK double-byte characters.
    const std::string line = "<e>\xC0\xBD\xD4\xC3</e><c>\xB5\xA5\xB4\xCA word</c><t>3</t><g>0</g>\n";
    std::string text;
    while (text.size() < kLargestReadableFile) text += line;
    text.resize(kLargestReadableFile);
    return text;
}

void BM_DecodeWarmKeystream(benchmark::State& state) {
    std::string buffer = ScrambleWhole(SampleText());  // also warms the keystream
    for (auto _ : state) {
        ScrambleAt(buffer.data(), buffer.size(), 0);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * buffer.size());
}
BENCHMARK(BM_DecodeWarmKeystream);

void BM_MemcpySameSize(benchmark::State& state) {
    const std::string source = ScrambleWhole(SampleText());
    std::string target(source.size(), '\0');
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * source.size());
}
BENCHMARK(BM_MemcpySameSize);

void BM_ReadLargestFile(benchmark::State& state) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "lexilark_bench_codec.lx";
    if (!WriteScrambledFile(path, SampleText())) {
        state.SkipWithError("cannot write the sample file");
        return;
    }
    for (auto _ : state) {
        auto text = ReadScrambledFile(path);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kLargestReadableFile);
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadLargestFile);

}  // namespace

BENCHMARK_MAIN();
