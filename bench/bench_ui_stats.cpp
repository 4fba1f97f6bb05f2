// Opening the statistics page on a year of daily study: about 200,000
// answers over 365 days of one 2000-word library, with sessions, grade
// changes and daily grade counts, in a real journal file.

#include <benchmark/benchmark.h>

#include <sqlite3.h>
#include <QApplication>
#include <filesystem>
#include <memory>

#include "bench/qt_bench_main.h"
#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/journal.h"
#include "stats/formstats.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDays = 365;
constexpr int kAnswersPerDay = 550;
constexpr int kWords = 2000;

struct YearOfStudy {
    fs::path folder = fs::temp_directory_path() / "lexilark_bench_ui_stats";
    std::time_t today = std::time(nullptr);
    Journal journal;
    LibraryProgress library;

    YearOfStudy() {
        fs::remove_all(folder);
        fs::create_directories(folder);
        SetMessageSink([](const std::string&, int) { return kIdOk; });
        journal.now = [this] { return today; };
        journal.Open(folder / "journal.sqlite", std::string(32, 'a'));
        const std::string lib = Gbk("日语N5词汇");
        sqlite3_exec(journal.Handle(), "BEGIN", nullptr, nullptr, nullptr);
        GradeCounts counts{kWords, 0, 0, 0, 0, 0};
        for (int day = kDays - 1; day >= 0; --day) {
            const std::time_t start = today - day * 86400 - 3600;
            for (int i = 0; i < kAnswersPerDay; ++i) {
                const int word = (day * 37 + i * 11) % kWords;
                const bool right = (i + day) % 4 != 0;
                journal.RecordAnswer({start + i * 4, lib, "word" + std::to_string(word), right,
                                      right ? std::string() : "typed" + std::to_string(i), 2, 3.5});
            }
            journal.RecordSession({"", start, start + 2400, lib, 2200, kAnswersPerDay});
            std::vector<JournalGradeChange> ups;
            for (int i = 0; i < 20; ++i)
                ups.push_back(
                    {start + i, lib, "word" + std::to_string((day * 20 + i) % kWords), 0, 1, GradeCause::Key});
            journal.RecordGradeChanges(ups);
            if (counts[0] >= 5) {
                counts[0] -= 5;
                counts[day % 5 + 1] += 5;
            }
            journal.RecordGradeCounts(start, lib, counts);
        }
        sqlite3_exec(journal.Handle(), "COMMIT", nullptr, nullptr, nullptr);
        library = {lib, kWords, kWords / 2, counts};
    }
    ~YearOfStudy() {
        journal.Close();
        fs::remove_all(folder);
    }
};

void BM_OpenStatisticsPage(benchmark::State& state) {
    YearOfStudy year;
    TformStats page;
    page.now = [&year] { return year.today; };
    page.resize(1024, 700);
    for (auto _ : state) {
        page.ShowFor(year.journal, year.library);
        QApplication::processEvents();  // laid out and drawn
    }
    state.counters["answers"] = static_cast<double>(kDays * kAnswersPerDay);
}
BENCHMARK(BM_OpenStatisticsPage)->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunOffscreenBenchmarks(argc, argv); }
