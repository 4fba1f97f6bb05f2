// The statistics page on a journal made for the test: every figure and
// chart holds the journal's numbers, the chosen words are handed on to the
// favourites, "导出" writes the journal's answers, and a damaged journal is
// named on the page.

#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/gbktext.h"
#include "core/journal.h"
#include "stats/formstats.h"
#include "stats/studycalendar.h"
#include "support/local_time.h"
#include "support/message_recorder.h"
#include "widgets/filechooser.h"

namespace fs = std::filesystem;

namespace {

constexpr std::time_t kDay = 24 * 60 * 60;

// A folder of the test's own, removed at its end.
struct Folder {
    QTemporaryDir dir;
    fs::path path() const { return fs::path(dir.path().toStdString()); }
};

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
const std::time_t kToday = LocalTime(2026, 12, 10, 20, 0);

// Two days of study of one library: the day before yesterday and today.
struct StudiedJournal {
    StudiedJournal() {
        journal.now = [] { return kToday; };
        journal.Open(folder.path() / "journal.sqlite", std::string(32, 'a'));
        const std::string lib = Gbk("日语入门");
        const std::time_t earlier = kToday - 2 * kDay;
        // Earlier: 3 answers, 2 right, 10 minutes; 山 wrong as やね.
        journal.RecordAnswer({earlier, lib, Gbk("水"), true, "", 2, 2.0});
        journal.RecordAnswer({earlier + 5, lib, Gbk("山"), false, Gbk("やね"), 2, 4.0});
        journal.RecordAnswer({earlier + 9, lib, Gbk("川"), true, "", 2, 3.0});
        journal.RecordSession({"", earlier, earlier + 700, lib, 600, 3});
        journal.RecordGradeCounts(earlier, lib, {3, 0, 0, 0, 0, 0});
        // Today: 4 answers, 1 right, 30 minutes, 2 words promoted; 山 wrong
        // twice more, last as やま, 川 once.
        journal.RecordAnswer({kToday - 100, lib, Gbk("山"), false, Gbk("さん"), 0, 5.0});
        journal.RecordAnswer({kToday - 90, lib, Gbk("川"), false, Gbk("かわ?"), 0, 5.0});
        journal.RecordAnswer({kToday - 80, lib, Gbk("山"), false, Gbk("やま"), 0, 5.0});
        journal.RecordAnswer({kToday - 70, lib, Gbk("水"), true, "", 0, 1.0});
        journal.RecordGradeChanges({{kToday - 60, lib, Gbk("水"), 0, 1, GradeCause::Key},
                                    {kToday - 50, lib, Gbk("川"), 0, 1, GradeCause::Button},
                                    {kToday - 40, lib, Gbk("山"), 1, 0, GradeCause::Button}});
        journal.RecordSession({"", kToday - 1900, kToday - 100, lib, 1800, 4});
        journal.RecordGradeCounts(kToday, lib, {1, 2, 0, 0, 0, 0});
        library = {lib, 3, 3, {1, 2, 0, 0, 0, 0}};
        page.now = [] { return kToday; };
        page.resize(800, 600);
    }

    Folder folder;
    MessageRecorder messages;
    Journal journal;
    LibraryProgress library;
    TformStats page;
};

template <typename T>
T* Series(QChartView* view, int i) {
    const QList<QAbstractSeries*> all = view->chart()->series();
    return i < all.size() ? qobject_cast<T*>(all[i]) : nullptr;
}

}  // namespace

class TestStatsPage : public QObject {
    Q_OBJECT
private slots:
    void everyChartHoldsTheJournalsNumbers();
    void theChosenWordsGoToTheFavourites();
    void exportWritesTheJournalsAnswers();
    void aDamagedJournalIsNamedOnThePage();
};

void TestStatsPage::everyChartHoldsTheJournalsNumbers() {
    StudiedJournal s;
    s.page.ShowFor(s.journal, s.library);
    QCOMPARE(s.page.LabelToday->text(), QStringLiteral("今天：答题 4 个，正确率 25%，学习 30 分钟，升级 2 个"));
    QCOMPARE(s.page.LabelStreak->text(), QStringLiteral("连续学习 1 天"));
    QVERIFY(!s.page.LabelProblem->isVisible());

    // The calendar: the two days and nothing between.
    QCOMPARE(s.page.Calendar->MinutesOn("2026-12-10"), 30);
    QCOMPARE(s.page.Calendar->MinutesOn("2026-12-09"), 0);
    QCOMPARE(s.page.Calendar->MinutesOn("2026-12-08"), 10);

    // The last 30 days: right and wrong bars, minutes, right share.
    QCOMPARE(s.page.SpanDays(), 30);
    auto* bars = Series<QStackedBarSeries>(s.page.ChartAnswers, 0);
    QVERIFY(bars);
    QCOMPARE(bars->barSets().size(), 2);
    const QBarSet* right = bars->barSets()[0];
    const QBarSet* wrong = bars->barSets()[1];
    QCOMPARE(right->count(), 30);
    QCOMPARE(right->at(29), 1.0);
    QCOMPARE(wrong->at(29), 3.0);
    QCOMPARE(right->at(27), 2.0);
    QCOMPARE(wrong->at(27), 1.0);
    QCOMPARE(right->at(28) + wrong->at(28), 0.0);
    auto* share = Series<QLineSeries>(s.page.ChartAnswers, 1);
    QVERIFY(share);
    QCOMPARE(share->count(), 2);  // only the days with answers
    QCOMPARE(share->at(0), QPointF(27, 200.0 / 3));
    QCOMPARE(share->at(1), QPointF(29, 25.0));
    auto* minutes = Series<QBarSeries>(s.page.ChartMinutes, 0);
    QVERIFY(minutes);
    QCOMPARE(minutes->barSets()[0]->at(29), 30.0);
    QCOMPARE(minutes->barSets()[0]->at(27), 10.0);

    // Another span reads the journal again.
    s.page.ComboSpan->setCurrentIndex(2);
    QCOMPARE(Series<QStackedBarSeries>(s.page.ChartAnswers, 0)->barSets()[0]->count(), 365);

    // Words per grade, stacked: the top of grade g is the words at grade g or lower.
    QCOMPARE(s.page.ChartGrades->chart()->series().size(), 6);
    auto* grade0 = Series<QAreaSeries>(s.page.ChartGrades, 0);
    auto* grade1 = Series<QAreaSeries>(s.page.ChartGrades, 1);
    QCOMPARE(grade0->upperSeries()->count(), 2);
    QCOMPARE(grade0->upperSeries()->at(0).y(), 3.0);
    QCOMPARE(grade0->upperSeries()->at(1).y(), 1.0);
    QCOMPARE(grade1->upperSeries()->at(1).y(), 3.0);
    QCOMPARE(grade1->lowerSeries(), grade0->upperSeries());

    // Every word is studied; too little history for the grade-3 date.
    QCOMPARE(
        s.page.LabelForecast->text(),
        QStringLiteral(
            "按最近14天的进度预测（日语入门）：\n全部单词都学过一遍：已经达到\n全部单词达到3级以上：需要更多学习记录"));

    // The words answered wrong most often, with the last wrong answer.
    QCOMPARE(s.page.TableWrong->rowCount(), 2);
    QCOMPARE(s.page.TableWrong->item(0, 0)->text(), QStringLiteral("山"));
    QCOMPARE(s.page.TableWrong->item(0, 1)->text(), QStringLiteral("3"));
    QCOMPARE(s.page.TableWrong->item(0, 2)->text(), QStringLiteral("やま"));
    QCOMPARE(s.page.TableWrong->item(1, 0)->text(), QStringLiteral("川"));
    QVERIFY(s.messages.Texts().empty());

    if (const char* tmp = std::getenv("LEXILARK_TEST_TMP")) {
        // For looking at: the page at the smallest screen it must fit.
        s.page.resize(640, 480);
        for (int tab = 0; tab < s.page.Tabs->count(); ++tab) {
            s.page.Tabs->setCurrentIndex(tab);
            s.page.grab().save(QString::fromStdString(std::string(tmp) + "/stats_tab" + std::to_string(tab) + ".png"));
        }
    }
}

void TestStatsPage::theChosenWordsGoToTheFavourites() {
    StudiedJournal s;
    s.page.ShowFor(s.journal, s.library);
    std::vector<std::vector<std::string>> asked;
    connect(&s.page, &TformStats::addToFavourites, this,
            [&asked](const std::vector<std::string>& words) { asked.push_back(words); });

    QTest::mouseClick(s.page.ButtonFavourites, Qt::LeftButton);
    QCOMPARE(s.messages.Texts(), std::vector<std::string>{"请先勾选要加入收藏库的单词"});
    QVERIFY(asked.empty());

    s.page.TableWrong->item(1, 0)->setCheckState(Qt::Checked);
    QTest::mouseClick(s.page.ButtonFavourites, Qt::LeftButton);
    QCOMPARE(asked.size(), size_t(1));
    QCOMPARE(asked[0], std::vector<std::string>{Gbk("川")});
}

void TestStatsPage::exportWritesTheJournalsAnswers() {
    StudiedJournal s;
    s.page.ShowFor(s.journal, s.library);
    const fs::path target = s.folder.path() / "answers.csv";
    fs::path suggested;
    const SaveFileChooser previous = SetSaveFileChooser([&](QWidget*, const fs::path& name) {
        suggested = name;
        return std::optional<fs::path>(target);
    });
    QTest::mouseClick(s.page.ButtonExport, Qt::LeftButton);
    SetSaveFileChooser(previous);
    QCOMPARE(GbkToUtf8(FromNativePath(suggested.filename())), std::string("学习记录-2026-12-10.csv"));
    const std::string csv = ReadBytes(target);
    QCOMPARE(csv, AnswersCsv(s.journal.Answers()));
    QVERIFY(csv.rfind("\xEF\xBB\xBF", 0) == 0);
    QVERIFY(csv.find("やま") != std::string::npos);
    QCOMPARE(s.messages.Texts().size(), size_t(1));
    QVERIFY(s.messages.Texts()[0].rfind("已导出 7 条答题记录", 0) == 0);
}

void TestStatsPage::aDamagedJournalIsNamedOnThePage() {
    Folder folder;
    MessageRecorder messages;
    const fs::path file = folder.path() / "journal.sqlite";
    std::ofstream(file, std::ios::binary) << std::string(8192, 'x');
    Journal journal;
    journal.now = [] { return kToday; };
    journal.Open(file, std::string(32, 'a'));
    TformStats page;
    page.now = [] { return kToday; };
    page.ShowFor(journal, {});
    QVERIFY(page.LabelProblem->isVisible());
    QVERIFY2(page.LabelProblem->text().contains(QStringLiteral("journal.sqlite.damaged-2026-12-10")),
             qPrintable(page.LabelProblem->text()));
    QCOMPARE(page.LabelToday->text(), QStringLiteral("今天：答题 0 个，正确率 —，学习 0 分钟，升级 0 个"));
    QCOMPARE(page.LabelForecast->text(), QStringLiteral("预测：请先选择词库"));
}

QTEST_MAIN(TestStatsPage)
#include "tst_formstats.moc"
