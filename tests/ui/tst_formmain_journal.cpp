// What studying in the window leaves in the learner's study journal: each
// judged answer, each grade change with what made it, the session and the
// library's words per grade; and a journal that cannot be kept, which is
// said once while study goes on.

#include <sqlite3.h>

#include <QAreaSeries>
#include <QBarSet>
#include <QChartView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QWindow>
#include <QtTest>
#include <filesystem>

#include "core/gbktext.h"
#include "core/journal.h"
#include "core/scrambledfile.h"
#include "shell/windowwiring.h"
#include "stats/formstats.h"
#include "stats/studycalendar.h"
#include "support/file_size_limit.h"
#include "support/find_child.h"
#include "support/local_time.h"
#include "support/login_windows.h"
#include "support/study_fixture.h"
#include "widgets/answeredit.h"

namespace fs = std::filesystem;

namespace {
// Japanese text as the input method hands it to the answer box.
void Commit(TformMain& w, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(Child<AnswerEdit>(w, "EditInput"), &event);
}

// The grade of `word` in a saved library's text (UTF-8).
std::string SavedGrade(const std::string& saved, const std::string& word) {
    const size_t line = saved.find("<e>" + word + "</e>");
    if (line == std::string::npos) return "missing";
    const size_t grade = saved.find("<g>", line);
    return grade == std::string::npos ? "missing" : saved.substr(grade + 3, 1);
}
}  // namespace

class TestStudyJournal : public QObject {
    Q_OBJECT
private slots:
    void answersGradesAndTheSessionLandInTheJournal();
    void aCycleEndRecordsEveryWordComingDown();
    void aJournalThatCannotBeKeptIsSaidOnceAndStudyGoesOn();
    void aJournalOnAFullDiskIsSaidOnceAndTheLibraryIsSavedAsEver();
    void twoDaysOfStudyShowOnTheStatisticsPage();
    void wordsChosenOnTheStatisticsPageGoToTheFavourites();
    void statisticsPageStandsAboveTheStudyWindowAndEscClosesIt();
};

void TestStudyJournal::answersGradesAndTheSessionLandInTheJournal() {
    StudyFixture f("journal_events");
    f.WriteLibrary("日语入门.lx", {{"水", "[名] 水"}, {"山", "[名] 山"}, {"川", "[名] 河"}, {"空", "[名] 天空"}});
    f.manage.readmode = 0;
    TformMain& w = f.Create();
    f.Open("日语入门.lx");
    Journal& journal = w.Recorder().StudyJournal();
    QVERIFY(journal.Keeping());
    QCOMPARE(QString::fromStdString(journal.File().filename().string()), QStringLiteral("journal.sqlite"));

    QCOMPARE(f.WordText(), QStringLiteral("水"));
    Commit(w, QStringLiteral("みず"));
    f.Enter();
    f.Press(Qt::Key_Escape);
    Commit(w, QStringLiteral("水"));
    f.Enter();
    f.Press(Qt::Key_BracketRight);                                              // up by key: 水 0 -> 1
    QTest::mouseClick(Child<QPushButton>(w, "ButtonUpGrade"), Qt::LeftButton);  // up by button: 山 0 -> 1

    const std::vector<JournalAnswer> answers = journal.Answers();
    QCOMPARE(answers.size(), size_t(2));
    QCOMPARE(GbkToUtf8(answers[0].word), std::string("水"));
    QCOMPARE(GbkToUtf8(answers[0].library), std::string("日语入门"));
    QVERIFY(!answers[0].right);
    QCOMPARE(GbkToUtf8(answers[0].typed), std::string("みず"));
    QCOMPARE(answers[0].readMode, 0);
    QVERIFY(answers[0].seconds >= 0 && answers[0].seconds < 60);
    QVERIFY(answers[1].right);
    QVERIFY(answers[1].seconds >= answers[0].seconds);  // both timed from the same showing

    const std::vector<JournalGradeChange> changes = journal.GradeChanges();
    QCOMPARE(changes.size(), size_t(2));
    QCOMPARE(GbkToUtf8(changes[0].word), std::string("水"));
    QCOMPARE(changes[0].cause, GradeCause::Key);
    QCOMPARE(GbkToUtf8(changes[1].word), std::string("山"));
    QCOMPARE(changes[1].cause, GradeCause::Button);
    for (const JournalGradeChange& c : changes) {
        QCOMPARE(c.from, 0);
        QCOMPARE(c.to, 1);
    }

    // Today's words per grade, the group's unsaved grades included.
    const std::vector<JournalGradeDay> grades = journal.GradeHistory(Gbk("日语入门"));
    QCOMPARE(grades.size(), size_t(1));
    QCOMPARE(grades[0].counts, (GradeCounts{2, 2, 0, 0, 0, 0}));

    // The session: one per library with the study clock's counts; leaving
    // writes its end and lets the journal go.
    const int shown = w.Session().WordLib.ShownCount;
    QVERIFY(shown >= 2);
    QTest::mouseClick(Child<QPushButton>(w, "ButtonReturn"), Qt::LeftButton);
    QVERIFY(!journal.IsOpen());
    Journal reread;
    reread.Open(f.programFolder / "users" / "user0" / "journal.sqlite", std::string(32, 'f'));
    const std::vector<JournalSession> sessions = reread.Sessions();
    QCOMPARE(sessions.size(), size_t(1));
    QCOMPARE(GbkToUtf8(sessions[0].library), std::string("日语入门"));
    QCOMPARE(sessions[0].wordsShown, shown);
    QVERIFY(sessions[0].end >= sessions[0].start);
    QVERIFY(f.messages.Texts().empty());
}

void TestStudyJournal::aCycleEndRecordsEveryWordComingDown() {
    StudyFixture f("journal_cycle");
    f.WriteLibrary("two.lx", {{"w0", "零", 0}, {"w1", "一", 1}}, 2);
    TformMain& w = f.Create();
    f.Open("two.lx");
    f.Press(Qt::Key_BracketRight);  // the last grade-0 word goes up
    f.Space();                      // the group ends; every grade comes down by one
    QCOMPARE(w.Session().WordLib0.BaseGrade, 1);

    std::vector<std::string> seen;
    for (const JournalGradeChange& c : w.Recorder().StudyJournal().GradeChanges())
        seen.push_back(GbkToUtf8(c.word) + " " + std::to_string(c.from) + ">" + std::to_string(c.to) + " " +
                       GradeCauseName(c.cause));
    std::sort(seen.begin() + 1, seen.end());
    QCOMPARE(seen, (std::vector<std::string>{"w0 0>1 key", "w0 1>0 cycle", "w1 1>0 cycle"}));
    const std::vector<JournalGradeDay> grades = w.Recorder().StudyJournal().GradeHistory(Gbk("two"));
    QCOMPARE(grades.size(), size_t(1));
    QCOMPARE(grades[0].counts, (GradeCounts{2, 0, 0, 0, 0, 0}));
}

void TestStudyJournal::aJournalThatCannotBeKeptIsSaidOnceAndStudyGoesOn() {
    StudyFixture f("journal_blocked");
    f.WriteLibrary("日语入门.lx", {{"水", "[名] 水"}, {"山", "[名] 山"}});
    f.manage.readmode = 0;
    // Something that is no file stands where the journal goes.
    fs::create_directories(f.programFolder / "users" / "user0" / "journal.sqlite" / "x");
    TformMain& w = f.Create();
    f.Open("日语入门.lx");
    QVERIFY(!w.Recorder().StudyJournal().Keeping());
    QCOMPARE(f.messages.shown.size(), size_t(1));
    QVERIFY2(f.messages.shown[0].text.find("journal.sqlite") != std::string::npos, f.messages.shown[0].text.c_str());

    Commit(w, QStringLiteral("水"));
    f.Enter();
    QCOMPARE(f.Comment(), QStringLiteral("正 确"));
    f.Press(Qt::Key_BracketRight);
    QCOMPARE(w.Session().WordLib.Words[0].Grade, 1);
    QTest::mouseClick(Child<QPushButton>(w, "ButtonReturn"), Qt::LeftButton);
    QCOMPARE(f.messages.shown.size(), size_t(1));  // said once only
    // The library was saved as ever.
    const std::string saved =
        GbkToUtf8(ReadScrambledFile(f.programFolder / "users" / "user0" / "日语入门.lx").value_or(""));
    QVERIFY(!saved.empty());
    QVERIFY(fs::is_directory(f.programFolder / "users" / "user0" / "journal.sqlite"));
}

// The disk fills while the learner studies: the journal's next write finds
// no room. Study goes on, the library is saved as ever, the learner is told
// once which file cannot be kept, and the journal stays whole.
void TestStudyJournal::aJournalOnAFullDiskIsSaidOnceAndTheLibraryIsSavedAsEver() {
    StudyFixture f("journal_full");
    f.WriteLibrary("日语入门.lx", {{"水", "[名] 水"}, {"山", "[名] 山"}, {"川", "[名] 河"}});
    f.manage.readmode = 0;
    TformMain& w = f.Create();
    f.Open("日语入门.lx");
    const fs::path user = f.programFolder / "users" / "user0";
    Journal& journal = w.Recorder().StudyJournal();
    QVERIFY(journal.Keeping());
    Commit(w, QStringLiteral("水"));
    f.Enter();
    QCOMPARE(journal.Answers().size(), size_t(1));

    // The log only grows until it is folded back (at a thousand pages): at
    // its present size the journal's next write finds no room, while the
    // library (a few hundred bytes) still fits.
    const fs::path wal = user / "journal.sqlite-wal";
    QVERIFY(fs::exists(wal));
    const auto room = fs::file_size(wal);
    QVERIFY(room > 4 * fs::file_size(user / "日语入门.lx"));
    {
        FileSizeLimit full(room);
        QVERIFY(full.Set());
        f.Press(Qt::Key_BracketRight);  // 水 0 -> 1, the next word comes
        QCOMPARE(w.Session().WordLib.Words[0].Grade, 1);
        QCOMPARE(f.messages.shown.size(), size_t(1));
        const std::string& told = f.messages.shown[0].text;
        QVERIFY2(told.find((user / "journal.sqlite").string()) != std::string::npos, told.c_str());
        QVERIFY2(told.find("已满") != std::string::npos, told.c_str());
        QVERIFY2(told.find("学习照常进行") != std::string::npos, told.c_str());

        QCOMPARE(f.WordText(), QStringLiteral("山"));
        Commit(w, QStringLiteral("やま"));
        f.Enter();
        QCOMPARE(f.Comment(), QStringLiteral("错 误"));
        f.Press(Qt::Key_Escape);
        Commit(w, QStringLiteral("山"));
        f.Enter();
        QCOMPARE(f.Comment(), QStringLiteral("正 确"));
        QTest::mouseClick(Child<QPushButton>(w, "ButtonUpGrade"), Qt::LeftButton);  // 山 0 -> 1
        QCOMPARE(w.Session().WordLib.Words[1].Grade, 1);
        QCOMPARE(journal.Answers().size(), size_t(1));  // nothing of it half-written
        QTest::mouseClick(Child<QPushButton>(w, "ButtonReturn"), Qt::LeftButton);
        QCOMPARE(f.messages.shown.size(), size_t(1));  // said once only
    }
    // The library was saved on the full disk as ever.
    const std::string saved = GbkToUtf8(ReadScrambledFile(user / "日语入门.lx").value_or(""));
    QCOMPARE(SavedGrade(saved, "水"), std::string("1"));
    QCOMPARE(SavedGrade(saved, "山"), std::string("1"));

    // The journal is whole, with what it took before the disk was full.
    Journal reread;
    reread.Open(user / "journal.sqlite", std::string(32, 'f'));
    QVERIFY(reread.Keeping());
    QCOMPARE(reread.Answers().size(), size_t(1));
    sqlite3_stmt* check = nullptr;
    QCOMPARE(sqlite3_prepare_v2(reread.Handle(), "PRAGMA integrity_check", -1, &check, nullptr), SQLITE_OK);
    QCOMPARE(sqlite3_step(check), SQLITE_ROW);
    QCOMPARE(std::string(reinterpret_cast<const char*>(sqlite3_column_text(check, 0))), std::string("ok"));
    sqlite3_finalize(check);
    QCOMPARE(f.messages.shown.size(), size_t(1));
    for (const fs::directory_entry& e : fs::directory_iterator(user))
        QVERIFY2(e.path().filename().string().find("damaged") == std::string::npos, e.path().c_str());
}

// A learner studies on two days (the journal's clock shifted a day) and
// opens "学习统计" from the study window: the calendar, the bars and the
// grade chart hold what they did.
void TestStudyJournal::twoDaysOfStudyShowOnTheStatisticsPage() {
    StudyFixture f("journal_two_days");
    f.WriteLibrary("日语入门.lx", {{"水", "[名] 水"},
                                   {"山", "[名] 山"},
                                   {"川", "[名] 河"},
                                   {"空", "[名] 天空"},
                                   {"海", "[名] 海"},
                                   {"森", "[名] 森林"}});
    f.manage.readmode = 0;
    TformMain& w = f.Create();
    std::time_t clock = LocalTime(2026, 12, 9, 20, 0);
    w.Recorder().StudyJournal().now = [&clock] { return clock; };
    // Right after a wrong answer, then promoted; the next word right at once.
    const auto study = [&](int activeSeconds) {
        const QString first =
            QString::fromStdString(GbkToUtf8(w.Session().WordLib.Words[w.Session().WordLib.CurrentIndex].Word));
        Commit(w, QStringLiteral("ちがう"));
        f.Enter();
        f.Press(Qt::Key_Escape);
        Commit(w, first);
        f.Enter();
        f.Press(Qt::Key_BracketRight);
        Commit(w, QString::fromStdString(GbkToUtf8(w.Session().WordLib.Words[w.Session().WordLib.CurrentIndex].Word)));
        f.Enter();
        QCOMPARE(f.Comment(), QStringLiteral("正 确"));
        f.Press(Qt::Key_BracketRight);
        w.Session().WordLib.ActiveSeconds = activeSeconds;  // the study clock's count
        QTest::mouseClick(Child<QPushButton>(w, "ButtonReturn"), Qt::LeftButton);
    };
    f.Open("日语入门.lx");
    study(5 * 60);
    clock += 24 * 60 * 60;
    f.Open("日语入门.lx");
    study(12 * 60);
    f.Open("日语入门.lx");

    TformStats page;
    page.now = [&clock] { return clock + 600; };
    WireStatistics(w, page, f.manage);
    QTest::mouseClick(Child<QPushButton>(w, "ButtonStats"), Qt::LeftButton);
    QVERIFY(page.isVisible());
    QVERIFY(!page.LabelProblem->isVisible());
    QCOMPARE(page.LabelToday->text(), QStringLiteral("今天：答题 3 个，正确率 67%，学习 12 分钟，升级 2 个"));
    QCOMPARE(page.LabelStreak->text(), QStringLiteral("连续学习 2 天"));
    QCOMPARE(page.Calendar->MinutesOn("2026-12-09"), 5);
    QCOMPARE(page.Calendar->MinutesOn("2026-12-10"), 12);
    QCOMPARE(page.Calendar->MinutesOn("2026-12-08"), 0);
    auto* bars = qobject_cast<QStackedBarSeries*>(page.ChartAnswers->chart()->series().value(0));
    QVERIFY(bars);
    for (int day : {28, 29}) {
        QCOMPARE(bars->barSets()[0]->at(day), 2.0);  // right
        QCOMPARE(bars->barSets()[1]->at(day), 1.0);  // wrong
    }
    QCOMPARE(bars->barSets()[0]->at(27) + bars->barSets()[1]->at(27), 0.0);
    // Words per grade at the end of each day, stacked.
    auto* grade0 = qobject_cast<QAreaSeries*>(page.ChartGrades->chart()->series().value(0));
    auto* grade1 = qobject_cast<QAreaSeries*>(page.ChartGrades->chart()->series().value(1));
    QVERIFY(grade0 && grade1);
    QCOMPARE(grade0->upperSeries()->count(), 2);
    QCOMPARE(grade0->upperSeries()->at(0).y(), 4.0);
    QCOMPARE(grade0->upperSeries()->at(1).y(), 2.0);
    QCOMPARE(grade1->upperSeries()->at(0).y(), 6.0);
    QCOMPARE(grade1->upperSeries()->at(1).y(), 6.0);

    // The page's texts stand out from the pane they are drawn on, whatever
    // the colour scheme: the forecast's text against the pane beside it.
    page.Tabs->setCurrentIndex(0);
    const QImage pane = page.Tabs->grab().toImage();
    const QPoint beside = page.LabelForecast->mapTo(
        page.Tabs, QPoint(page.LabelForecast->width() - 20, page.LabelForecast->height() - 2));
    const int paneLightness = pane.pixelColor(beside * pane.devicePixelRatio()).lightness();
    const int textLightness = page.LabelForecast->palette().color(QPalette::WindowText).lightness();
    QVERIFY2(std::abs(paneLightness - textLightness) > 100,
             qPrintable(QStringLiteral("pane %1, text %2").arg(paneLightness).arg(textLightness)));

    // To look at under a real display: LEXILARK_LOOK_SECONDS keeps each tab
    // of the page on the screen that long.
    if (const int look = qEnvironmentVariableIntValue("LEXILARK_LOOK_SECONDS"); look > 0) {
        page.raise();
        page.activateWindow();
        for (int tab = 0; tab < page.Tabs->count(); ++tab) {
            page.Tabs->setCurrentIndex(tab);
            QTest::qWait(look * 1000);
        }
    }
}

// The statistics page hands over words by their text; they are collected
// with their meanings from the library under study, as F12 collects them.
void TestStudyJournal::wordsChosenOnTheStatisticsPageGoToTheFavourites() {
    StudyFixture f("journal_favourites");
    f.WriteLibrary("收藏库.lx", {{"old", "旧"}});
    f.WriteLibrary("日语入门.lx", {{"水", "[名] 水"}, {"山", "[名] 山"}, {"川", "[名] 河"}});
    TformMain& w = f.Create();
    w.Session().MyWordLib.LoadFavourites(f.gbkUserFolder + Gbk("收藏库.lx"));
    f.Open("日语入门.lx");
    const LibraryProgress progress = w.Recorder().CurrentLibraryProgress();
    QCOMPARE(GbkToUtf8(progress.name), std::string("日语入门"));
    QCOMPARE(progress.words, 3);
    QCOMPARE(progress.studied, 1);  // 水 is on screen
    QCOMPARE(progress.grades, (GradeCounts{3, 0, 0, 0, 0, 0}));

    w.AddWordsToFavourites({Gbk("川"), Gbk("山"), Gbk("old")});
    QCOMPARE(w.Session().MyWordLib.Count, 3);
    QCOMPARE(GbkToUtf8(w.Session().MyWordLib.Words[1].Word), std::string("川"));
    QCOMPARE(GbkToUtf8(w.Session().MyWordLib.Words[1].Meaning), std::string("[名] 河"));
    QCOMPARE(GbkToUtf8(w.Session().MyWordLib.Words[2].Word), std::string("山"));
    QCOMPARE(f.messages.Texts(), std::vector<std::string>{"已加入收藏库：2 个单词"});
    const std::string saved =
        GbkToUtf8(ReadScrambledFile(f.programFolder / "users" / "user0" / "收藏库.lx").value_or(""));
    QVERIFY2(saved.find("<e>川</e>") != std::string::npos, saved.c_str());
}

// F11 in the answer box opens 学习统计 over the study window as the
// program's window set wires it: it belongs to the study window, so a
// screen-filling study window never covers it, the study clock waits while
// it is up, and Esc closes it as "关闭" does and gives the clock back.
void TestStudyJournal::statisticsPageStandsAboveTheStudyWindowAndEscClosesIt() {
    LoginWindows s("stats_above", LoginWindows::Windows::WholeSet);
    s.Library(0, "lib.lx", 3);
    s.User(0, "管理员", "", "lib.lx");
    s.StartStudying();
    TformMain& w = *s.study;
    auto* editInput = Child<AnswerEdit>(w, "EditInput");
    QVERIFY(w.isVisible());
    QVERIFY(w.Session().Clock().isActive());
    QVERIFY(formStats && !formStats->isVisible());

    w.activateWindow();
    QTRY_VERIFY(w.isActiveWindow());
    editInput->setFocus();
    QTest::keyClick(editInput, Qt::Key_F11);
    QTRY_VERIFY(formStats->isVisible());
    QCOMPARE(editInput->text(), QString());  // the key is not typing
    QVERIFY(formStats->windowHandle());
    QCOMPARE(formStats->windowHandle()->transientParent(), w.windowHandle());
    QVERIFY(!formStats->isModal());  // the study window may be looked at beside it
    QVERIFY(!w.Session().Clock().isActive());

    QTRY_VERIFY(formStats->isActiveWindow());
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : formStats, Qt::Key_Escape);
    QTRY_VERIFY(!formStats->isVisible());
    QVERIFY(w.isVisible() && w.isEnabled());
    QVERIFY(w.Session().Clock().isActive());
}

QTEST_MAIN(TestStudyJournal)
#include "tst_formmain_journal.moc"
