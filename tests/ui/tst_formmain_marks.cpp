// What the study window shows of a judged answer: the answer set against
// the word character by character (matching, wrong or extra, missing), kana
// set against the reading, the reading accepted on request, and the hints
// given once a run.

#include <QGroupBox>
#include <QLabel>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include "core/gbktext.h"
#include "support/find_child.h"
#include "support/study_fixture.h"
#include "widgets/answeredit.h"
#include "widgets/colourvalue.h"

namespace {

const QString kWrong = QStringLiteral("错 误");
const QString kRight = QStringLiteral("正 确");
const QString kGoOnHint = QStringLiteral("改正后按回车或空格再检查，按 ↓ 跳到下一个词");
const QString kInputMethodHint = QStringLiteral("输入法未开启？按 Ctrl+空格 切换到日语输入法");

// The marks panel as text, one line a line: a struck-through run in [],
// an underlined one in (), the rest as it stands. Each run's colour is
// checked against the scheme on the way.
QStringList MarkedLines(const QLabel* panel, int fontColour, int backColour, int borderColour) {
    QTextDocument doc;
    doc.setHtml(panel->text());
    QStringList lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QString line;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            QString text = fragment.text();
            text.replace(QChar(QChar::Nbsp), QLatin1Char(' '));
            if (format.fontStrikeOut()) {
                if (format.foreground().color() != ColourFromValue(borderColour)) return {"wrong colour"};
                line += '[' + text + ']';
            } else if (format.fontUnderline()) {
                if (format.foreground().color() != ColourFromValue(backColour) ||
                    format.background().color() != ColourFromValue(borderColour))
                    return {"missing colour"};
                line += '(' + text + ')';
            } else {
                if (format.foreground().style() != Qt::NoBrush &&
                    format.foreground().color() != ColourFromValue(fontColour))
                    return {"match colour"};
                line += text;
            }
        }
        // The label breaks lines with <br>, which the document keeps as
        // line separators inside one block.
        lines << line.split(QChar(QChar::LineSeparator));
    }
    return lines;
}

struct MarksWindow {
    explicit MarksWindow(const char* name, bool acceptReading = false, int scheme = 0) : f(name) {
        f.manage.readmode = 2;
        f.manage.acceptreading = acceptReading;
        if (scheme == 2) {  // 护眼一: the border is the text colour
            f.manage.fontcolor = 16777215;
            f.manage.backcolor = 32768;
            f.manage.bordercolor = 16777215;
        }
        f.WriteList("lx2.en", "\n食べる\tたべる\n水\tみず\n");
        f.WriteLibrary("words.lx", {{"食べる", "吃"}, {"水", "水"}, {"neko", "猫"}});
        w = &f.Create();
        f.Open("words.lx");
    }
    void Answer(const QString& text) {
        Child<AnswerEdit>(w, "EditInput")->setText(text);
        f.Enter();
    }
    QStringList Lines() const {
        return MarkedLines(Child<QLabel>(w, "PanelAnswerMarks"), f.manage.fontcolor, f.manage.backcolor,
                           f.manage.bordercolor);
    }
    bool MarksShown() const { return Child<QLabel>(w, "PanelAnswerMarks")->isVisible(); }
    StudyFixture f;
    TformMain* w = nullptr;
};

}  // namespace

class TestStudyMarks : public QObject {
    Q_OBJECT
private slots:
    void wrongAnswerIsMarkedAgainstTheWord_data();
    void wrongAnswerIsMarkedAgainstTheWord();
    void hintsComeOncePerRun();
    void marksGoWhenTheLearnerGoesOn();
    void readingSetting_data();
    void readingSetting();
    void rightByReadingMovesOnWithSpace();
    void judgedAnswersAreAnnounced();
};

void TestStudyMarks::wrongAnswerIsMarkedAgainstTheWord_data() {
    QTest::addColumn<bool>("acceptReading");
    QTest::addColumn<int>("scheme");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("lines");  // without the hint of the first wrong answer
    const QStringList wrongChar{QStringLiteral("你的答案：食べ[ろ](る)")};
    QTest::newRow("wrong character") << false << 0 << "食べろ" << wrongChar;
    QTest::newRow("wrong character, border in the text colour") << false << 2 << "食べろ" << wrongChar;
    QTest::newRow("missing character") << false << 0 << "食る" << QStringList{"你的答案：食(べ)る"};
    QTest::newRow("extra character") << false << 0 << "食べるる" << QStringList{"你的答案：食べる[る]"};
    QTest::newRow("nothing typed") << false << 0 << "" << QStringList{"你的答案：(食べる)"};
    QTest::newRow("kana for kanji, the reading") << false << 0 << "たべる" << QStringList{"读音正确，写法是 食べる"};
    QTest::newRow("katakana for kanji, the reading")
        << false << 0 << "タベル" << QStringList{"读音正确，写法是 食べる"};
    QTest::newRow("kana for kanji, a wrong reading")
        << false << 0 << "たべろ" << QStringList{"读音对照：たべ[ろ](る)", "写法是 食べる"};
    QTest::newRow("kana for kanji, a wrong reading, setting on")
        << true << 0 << "たべろ" << QStringList{"读音对照：たべ[ろ](る)", "写法是 食べる"};
    QTest::newRow("katakana set against the reading in katakana")
        << false << 0 << "タベ" << QStringList{"读音对照：タベ(ル)", "写法是 食べる"};
}

void TestStudyMarks::wrongAnswerIsMarkedAgainstTheWord() {
    QFETCH(bool, acceptReading);
    QFETCH(int, scheme);
    QFETCH(QString, answer);
    QFETCH(QStringList, lines);
    MarksWindow m("marks", acceptReading, scheme);
    QCOMPARE(m.f.WordText(), QStringLiteral("食べる"));
    m.Answer(answer);
    QCOMPARE(m.f.Comment(), kWrong);
    QVERIFY(m.f.CommentVisible());
    QVERIFY(m.MarksShown());
    QCOMPARE(m.Lines(), lines + QStringList{kGoOnHint});
    // The comment stays clear of the marks.
    const QLabel* marks = Child<QLabel>(m.w, "PanelAnswerMarks");
    const QLabel* comment = Child<QLabel>(m.w, "PanelComment");
    QVERIFY(!marks->geometry().intersects(comment->geometry()) ||
            Child<QGroupBox>(m.w, "GroupBoxMiddle")->height() < marks->height() + comment->height());
}

void TestStudyMarks::hintsComeOncePerRun() {
    MarksWindow m("hints");
    m.Answer("taberu");
    QCOMPARE(m.Lines(), (QStringList{"你的答案：[taberu](食べる)", kInputMethodHint, kGoOnHint}));
    m.Answer("tabe");
    QCOMPARE(m.Lines(), (QStringList{"你的答案：[tabe](食べる)"}));
    m.Answer("食べろ");
    QCOMPARE(m.Lines(), (QStringList{"你的答案：食べ[ろ](る)"}));
    QCOMPARE(m.f.Comment(), kWrong);
}

void TestStudyMarks::marksGoWhenTheLearnerGoesOn() {
    struct Step {
        const char* name;
        std::function<void(StudyFixture&)> act;
    };
    const Step steps[] = {
        {"typing", [](StudyFixture& f) { f.Type("x"); }},
        {"Esc", [](StudyFixture& f) { f.Press(Qt::Key_Escape); }},
        {"down to the next word", [](StudyFixture& f) { f.Press(Qt::Key_Down); }},
        {"prompt", [](StudyFixture& f) { f.Press(Qt::Key_PageDown); }},
    };
    for (const Step& step : steps) {
        MarksWindow m("marks_go");
        m.Answer("食べろ");
        QVERIFY(m.MarksShown());
        step.act(m.f);
        QVERIFY2(!m.MarksShown(), step.name);
        QVERIFY2(!m.f.CommentVisible(), step.name);
    }
    // Checking again keeps them, up to date.
    MarksWindow m("marks_again");
    m.Answer("食べろ");
    Child<AnswerEdit>(m.w, "EditInput")->setText(QStringLiteral("食る"));
    m.f.Space();
    QVERIFY(m.MarksShown());
    QCOMPARE(m.Lines(), QStringList{"你的答案：食(べ)る"});
}

void TestStudyMarks::readingSetting_data() {
    QTest::addColumn<bool>("acceptReading");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("said");  // the marks panel's text, empty when hidden
    QTest::newRow("off, hiragana") << false << "たべる" << false << "读音正确，写法是 食べる\n" + kGoOnHint;
    QTest::newRow("on, hiragana") << true << "たべる" << true << "按读音作答（平假名），写法是 食べる";
    QTest::newRow("on, katakana") << true << "タベル" << true << "按读音作答（片假名），写法是 食べる";
    QTest::newRow("on, scripts mixed") << true << "たベる" << false
                                       << "读音对照：た[ベ](べ)る\n写法是 食べる\n" + kGoOnHint;
    QTest::newRow("on, the word itself") << true << "食べる" << true << "";
    QTest::newRow("off, the word itself") << false << "食べる" << true << "";
}

void TestStudyMarks::readingSetting() {
    QFETCH(bool, acceptReading);
    QFETCH(QString, answer);
    QFETCH(bool, right);
    QFETCH(QString, said);
    MarksWindow m("reading", acceptReading);
    m.Answer(answer);
    QCOMPARE(m.f.Comment(), right ? kRight : kWrong);
    QVERIFY(m.f.CommentVisible());
    QCOMPARE(Child<QTimer>(m.w, "TimerComment")->isActive(), right);
    QCOMPARE(m.MarksShown() ? m.Lines().join('\n') : QString(), said);
}

void TestStudyMarks::rightByReadingMovesOnWithSpace() {
    MarksWindow m("reading_next", true);
    m.Answer(QStringLiteral("たべる"));
    m.w->TimerCommentTimer();
    QCOMPARE(m.f.Comment(), QStringLiteral("Next"));
    m.f.Space();
    QCOMPARE(m.f.WordText(), QStringLiteral("水"));
    QVERIFY(!m.MarksShown());

    m.Answer(QStringLiteral("ミズ"));
    QCOMPARE(m.f.Comment(), kRight);
    m.f.Space();
    // A word without kanji is no reading's: its kana is set against the word.
    QCOMPARE(m.f.WordText(), QStringLiteral("neko"));
    m.Answer(QStringLiteral("ねこ"));
    QCOMPARE(m.f.Comment(), kWrong);
    QCOMPARE(m.Lines(), (QStringList{"你的答案：[ねこ](neko)", kGoOnHint}));
}

void TestStudyMarks::judgedAnswersAreAnnounced() {
    MarksWindow m("announced", true);
    std::vector<JudgedAnswer> judged;
    QObject::connect(m.w, &TformMain::answerJudged, [&](const JudgedAnswer& a) { judged.push_back(a); });
    m.Answer(QStringLiteral(" 食べろ "));
    m.Answer(QStringLiteral("たべる"));
    m.f.Enter();  // during "正 确": nothing judged
    m.f.Space();
    m.Answer(QStringLiteral("水"));
    QCOMPARE(judged.size(), size_t(3));
    const struct {
        const char* word;
        const char* typed;
        bool right, byReading;
    } expected[] = {{"食べる", "食べろ", false, false}, {"食べる", "たべる", true, true}, {"水", "水", true, false}};
    for (size_t i = 0; i < judged.size(); ++i) {
        QCOMPARE(Utf8(judged[i].word), std::string(expected[i].word));
        QCOMPARE(Utf8(judged[i].typed), std::string(expected[i].typed));
        QCOMPARE(judged[i].right, expected[i].right);
        QCOMPARE(judged[i].byReading, expected[i].byReading);
    }
}

QTEST_MAIN(TestStudyMarks)
#include "tst_formmain_marks.moc"
