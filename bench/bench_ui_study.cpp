// Time per answered word in the study window: the word typed key by key,
// Enter to check it, Space to move on, on a 10000-word library, with the
// window laid out on the offscreen platform, each answer written to the
// study journal as in use. Typing must never lag.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <filesystem>
#include <memory>

#include "bench/qt_bench_main.h"
#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/manage.h"
#include "core/programfolder.h"
#include "core/wordlib0.h"
#include "platform/hotkey.h"
#include "study/formmain.h"
#include "tests/support/find_child.h"
#include "widgets/answeredit.h"
#include "widgets/plainmessage.h"

namespace {

namespace fs = std::filesystem;

class NoHotKey : public HotKeyAdapter {
public:
    bool Register(int, int, std::function<void()>) override { return true; }
    void Unregister(int) override {}
};

void Key(QWidget* target, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// A program folder with one library of 10000 grade-0 words in one group,
// written by the library writer, and a window that has opened it.
struct StudySession {
    fs::path folder = fs::temp_directory_path() / "lexilark_bench_ui_study";
    TManage manage;
    std::unique_ptr<TformMain> window;

    StudySession() {
        fs::remove_all(folder);
        fs::create_directories(folder / "users" / "user0");
        const std::string gbkFolder = FromNativePath(folder) + "/";
        SetProgramFolder(gbkFolder);
        SetMessageSink([](const std::string&, int) { return kIdOk; });
        SetPlainMessageSink([](const std::string&) {});
        SetHotKeyFactory([] { return std::make_unique<NoHotKey>(); });

        TWordLib0 lib;
        TWordLib list;
        lib.StudyLib = &list;
        lib.Count = kMaxLibraryWords;
        for (int i = 0; i < lib.Count; ++i) {
            lib.Words[i].Word = "word" + std::to_string(i);
            lib.Words[i].Meaning = Gbk("释义") + std::to_string(i);
        }
        list.CurrentIndex = 0;
        lib.Path = gbkFolder + "users/user0/bench.lx";
        lib.SaveWordLib();

        manage.readmode = 2;
        manage.SetCurrentLibrary("bench.lx");
        window = std::make_unique<TformMain>(manage);
        // Logged in as the program does: the clock runs and progress is
        // saved a few seconds after the answers, as while a learner types.
        window->StartStudying();
        window->OpenLastWordLib(gbkFolder + "users/user0/");
        QApplication::processEvents();
    }
    ~StudySession() {
        window.reset();
        fs::remove_all(folder);
    }
};

void BM_AnsweredWord(benchmark::State& state) {
    StudySession session;
    TformMain& w = *session.window;
    QWidget* box = Child<AnswerEdit>(w, "EditInput");
    for (auto _ : state) {
        const QString word = QString::fromStdString(Utf8(w.Session().WordOnScreen()));
        for (QChar c : word) {
            const int key = c.isDigit() ? Qt::Key_0 + c.digitValue() : Qt::Key_A + (c.toLower().unicode() - 'a');
            Key(box, key, QString(c));
        }
        Key(box, Qt::Key_Return, "\r");
        Key(box, Qt::Key_Space, " ");
        QApplication::processEvents();  // the repaints the learner would see
    }
    if (w.Session().WordLib.CurrentIndex < 1) state.SkipWithError("the window did not move on");
    if (!w.Recorder().StudyJournal().Keeping()) state.SkipWithError("the study journal is not kept");
    state.counters["journal_answers"] = static_cast<double>(w.Recorder().StudyJournal().Answers().size());
    state.SetItemsProcessed(state.iterations());
    state.counters["position"] = w.Session().WordLib.CurrentIndex;
    state.counters["group_words"] = w.Session().WordLib.WordCount;
}
BENCHMARK(BM_AnsweredWord)->Iterations(1000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunOffscreenBenchmarks(argc, argv); }
