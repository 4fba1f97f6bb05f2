// The error report page of the settings window: the notebook file beside
// the program, the templates filled from the study window, and leaving.

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/gbktext.h"
#include "support/find_child.h"
#include "support/settings_fixture.h"
#include "widgets/screentext.h"

namespace {

// The settings fixture with the report file holding `report` (UTF-8; no
// file when nothing is given), the page opened from the study window.
struct ReportFixture : SettingsFixture {
    explicit ReportFixture(const std::string& name, std::optional<std::string> report = std::nullopt)
        : SettingsFixture(name) {
        file = f.programFolder / std::filesystem::u8path("软件报错.txt");
        if (report) std::ofstream(file, std::ios::binary) << Gbk(*report);
        Open();
    }
    void Open() {
        study->Session().Clock().start();
        QTest::mouseClick(Child<QPushButton>(study, "suiButton5"), Qt::LeftButton);
    }
    void PickType(int index) { Pick(settings->ComboBoxErrorType, index); }
    void Leave() { QTest::mouseClick(settings->suiButton10, Qt::LeftButton); }
    // The report file as UTF-8; "<none>" when there is no file.
    std::string Saved() const {
        std::ifstream in(file, std::ios::binary);
        if (!in) return "<none>";
        return Utf8(std::string(std::istreambuf_iterator<char>(in), {}));
    }
    std::string Word() const { return Utf8(study->Session().WordOnScreen()); }
    std::string Meaning() const { return TrimGbk(Child<QTextEdit>(study, "MemoC")->toPlainText().toStdString()); }
    std::string Library() const { return Utf8(study->Session().LibraryName()); }

    std::filesystem::path file;
};

}  // namespace

class TestErrorReportPage : public QObject {
    Q_OBJECT
private slots:
    void firstUseStartsEmptyAndSavesTheTemplate() {
        ReportFixture s("report_first");
        TformMakeWordLib& w = *s.settings;
        QVERIFY(w.isVisible());
        QCOMPARE(w.FrontPage(), w.PanelErrorReport);
        QCOMPARE(w.MemoErrorReport->toPlainText(), QString());
        QCOMPARE(w.ComboBoxErrorType->currentText(), U("请选择错误类型"));
        QCOMPARE(w.focusWidget(), w.MemoErrorReport);
        QVERIFY(!s.study->isEnabled());
        QVERIFY(!s.study->Session().Clock().isActive());

        s.PickType(5);
        s.Leave();
        QCOMPARE(s.Saved(), "\r\n错误描述：其他错误(如运行出错、功能设置不正确、运行出问题等等)\r\n简要描述：\r\n");
        QVERIFY(!w.isVisible());
        QVERIFY(s.study->isEnabled());
        QVERIFY(s.study->Session().Clock().isActive());
    }

    void templatesCarryWhatTheStudyWindowShows_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("lines");  // after the report's "old\r\n"; %L library, %W word, %M meaning
        QTest::newRow("单词拼写错误") << 0 << U("\r\n错误描述：单词拼写错误\r\n单词库：%L\r\n单　词：%W\r\n");
        QTest::newRow("单词词意错误")
            << 1 << U("\r\n错误描述：单词词意错误\r\n单词库：%L\r\n单　词：%W\r\n词　意：%M\r\n正确应为：\r\n");
        QTest::newRow("语音发音错误") << 2 << U("错误描述：单词发音错误\r\n单词库：%L\r\n单　词：%W\r\n");
        QTest::newRow("音标错误") << 3 << U("\r\n错误描述：单词音标错误\r\n单词库：%L\r\n单　词：%W\r\n");
        QTest::newRow("例句错误") << 4 << U("\r\n错误描述：单词音标错误\r\n单词库：%L\r\n单　词：%W\r\n正确应为：\r\n");
    }
    void templatesCarryWhatTheStudyWindowShows() {
        QFETCH(int, index);
        QFETCH(QString, lines);
        ReportFixture s("report_templates", "old\r\n");
        QCOMPARE(s.settings->MemoErrorReport->toPlainText(), QString("old\n"));
        QCOMPARE(s.Library(), std::string("words"));
        QVERIFY(!s.Word().empty());
        QVERIFY(!s.Meaning().empty());
        s.PickType(index);
        s.Leave();
        lines.replace("%L", QString::fromStdString(s.Library()))
            .replace("%W", QString::fromStdString(s.Word()))
            .replace("%M", QString::fromStdString(s.Meaning()));
        QCOMPARE(QString::fromStdString(s.Saved()), "old\r\n" + lines);
    }

    void aLineIsAppendedAfterAnUnfinishedLastLine() {
        ReportFixture s("report_unfinished", "no break at the end");
        s.PickType(2);
        // The first line of the template starts a line of its own; the last
        // one has no break until the file is written.
        QCOMPARE(s.settings->MemoErrorReport->toPlainText(),
                 QString::fromStdString("no break at the end\n错误描述：单词发音错误\n单词库：" + s.Library() +
                                        "\n单　词：" + s.Word()));
        // The caret waits at the end of the last template line.
        const QTextCursor caret = s.settings->MemoErrorReport->textCursor();
        QCOMPARE(caret.block().text(), QString::fromStdString("单　词：" + s.Word()));
        QVERIFY(caret.atBlockEnd());
    }

    void firstPickOnAnEmptyReportAndPickingTwice() {
        ReportFixture s("report_twice");
        s.PickType(2);
        s.PickType(2);
        s.Leave();
        const std::string one = "错误描述：单词发音错误\r\n单词库：" + s.Library() + "\r\n单　词：" + s.Word() + "\r\n";
        QCOMPARE(s.Saved(), one + one);
    }

    void whatIsTypedIsSavedAsTyped() {
        ReportFixture s("report_typed", "first\r\n");
        QTest::keyClicks(s.settings->MemoErrorReport, "second");
        s.Leave();
        QCOMPARE(s.Saved(), std::string("first\r\nsecond\r\n"));
    }

    void theMemoKeepsItsTextWhenTheFileIsGone() {
        ReportFixture s("report_deleted", "kept\r\n");
        s.Leave();
        std::filesystem::remove(s.file);
        s.Open();
        QCOMPARE(s.settings->MemoErrorReport->toPlainText(), QString("kept\n"));
        QCOMPARE(s.settings->ComboBoxErrorType->currentText(), U("请选择错误类型"));
        s.Leave();
        QCOMPARE(s.Saved(), std::string("kept\r\n"));
    }

    void aReportThatCannotBeWrittenIsReportedAndTheStudyWindowComesBack() {
        ReportFixture s("report_unwritable");
        s.Leave();
        std::filesystem::remove(s.file);
        std::filesystem::create_directories(s.file);  // a folder in the file's place
        s.Open();
        s.f.messages.shown.clear();
        s.Leave();
        QCOMPARE(s.f.messages.FirstLines(), std::vector<std::string>{"文件打不开："});
        QVERIFY(!s.settings->isVisible());
        QVERIFY(s.study->isEnabled());
        QVERIFY(s.study->Session().Clock().isActive());
    }

    void textGbkCannotHoldKeepsThePageOpen() {
        ReportFixture s("report_unsavable", "old\r\n");
        s.settings->MemoErrorReport->setPlainText(U("old\n\U0001F600"));
        s.Leave();
        QCOMPARE(s.f.messages.Texts(), std::vector<std::string>{"报错内容中有无法保存的字符，请换个写法"});
        QVERIFY(s.settings->isVisible());
        QCOMPARE(s.Saved(), std::string("old\r\n"));
    }
};

QTEST_MAIN(TestErrorReportPage)
#include "tst_formmakewordlib_errorreport.moc"
