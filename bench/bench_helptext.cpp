// Loading the help guide's topic list: the titles of a help file with many
// topics are found in one walk through the list section, so the time per
// topic stays flat as the list grows.

#include <benchmark/benchmark.h>

#include <string>

#include "core/gbktext.h"
#include "core/helptext.h"

namespace {

std::string HelpList(int topics) {
    std::string text = "<helplist>\r\n";
    for (int i = 0; i < topics; ++i) text += "<item>" + Gbk("帮助主题") + std::to_string(i) + "</item>\r\n";
    return text + "</helplist>\r\n";
}

void BM_HelpTopicList(benchmark::State& state) {
    const std::string text = HelpList(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto titles = HelpPages(HelpSection(text, "helplist"), "item");
        benchmark::DoNotOptimize(titles);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_HelpTopicList)->RangeMultiplier(4)->Range(250, 16000)->Complexity();

}  // namespace

BENCHMARK_MAIN();
