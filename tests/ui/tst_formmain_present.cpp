// What the study window shows and plays for a word: the layouts of the read
// modes, the reading and the example sentences from the data lists, the
// meaning fitted into its box, and the recording (named after the word, or
// its alias), silenced by mute.

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QtTest>
#include <filesystem>

#include "support/find_child.h"
#include "support/study_fixture.h"
#include "widgets/answeredit.h"
#include "widgets/colourvalue.h"

namespace {
const std::vector<FixtureWord> kWords = {{"Neko", "猫"}, {"inu", "狗"}};
}  // namespace

class TestStudyPresent : public QObject {
    Q_OBJECT
private slots:
    void questionLayoutOfEachReadMode_data();
    void questionLayoutOfEachReadMode();
    void readingFromTheReadingList();
    void sentencesUpToTheCountPerWord_data();
    void sentencesUpToTheCountPerWord();
    void sentencesOffShowNoBox();
    void sentenceHalvesHideWithWhatTheyReveal_data();
    void sentenceHalvesHideWithWhatTheyReveal();
    void malformedListsNeverStopAWord();
    void unreadableListsAreSaidAndTheStudyGoesOn();
    void meaningIsFittedIntoFourLines();
    void recordingNamedAfterTheWordBeatsTheAlias();
    void aliasIgnoresLetterCase();
    void noRecordingPlaysNothing();
    void muteSilencesShowingPromptingAndAnswering();
};

void TestStudyPresent::questionLayoutOfEachReadMode_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("word");
    QTest::addColumn<bool>("reading");
    QTest::addColumn<bool>("meaning");
    QTest::newRow("0 日→假汉: word") << 0 << true << false << false;
    QTest::newRow("1 汉→假日: meaning") << 1 << false << false << true;
    QTest::newRow("2 日假→汉: word and reading") << 2 << true << true << false;
    QTest::newRow("3 汉假日: everything") << 3 << true << true << true;
}

void TestStudyPresent::questionLayoutOfEachReadMode() {
    QFETCH(int, mode);
    QFETCH(bool, word);
    QFETCH(bool, reading);
    QFETCH(bool, meaning);
    StudyFixture f("layout");
    f.manage.readmode = mode;
    f.WriteLibrary("words.lx", kWords);
    f.Create();
    f.Open("words.lx");
    QCOMPARE(f.WordShown(), word);
    QCOMPARE(f.ReadingShown(), reading);
    QCOMPARE(f.MeaningShown(), meaning);
    f.Press(Qt::Key_Down);  // every word shown starts in the same layout
    QCOMPARE(f.WordText(), QStringLiteral("inu"));
    QCOMPARE(f.WordShown(), word);
    QCOMPARE(f.ReadingShown(), reading);
    QCOMPARE(f.MeaningShown(), meaning);
}

void TestStudyPresent::readingFromTheReadingList() {
    StudyFixture f("reading");
    f.WriteList("lx2.en", "单词\t读音\nNeko\t ねこ \r\nneko\tちがう\n");
    f.WriteLibrary("words.lx", kWords);
    TformMain& w = f.Create();
    auto* panelT = Child<QLabel>(w, "PanelT");
    f.Open("words.lx");
    QCOMPARE(panelT->text(), QStringLiteral("ねこ"));  // exact word, trimmed
    f.Press(Qt::Key_Down);
    QCOMPARE(panelT->text(), QString());  // no entry: empty reading
    QCOMPARE(panelT->font().family(), QStringLiteral("Kingsoft Phonetic Plain"));
}

void TestStudyPresent::sentencesUpToTheCountPerWord_data() {
    QTest::addColumn<int>("perWord");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("one") << 1 << QStringList{"s0", "t0"};
    QTest::newRow("two of five") << 2 << QStringList{"s0", "t0", "s2", "t2"};
    QTest::newRow("three of five") << 3 << QStringList{"s0", "t0", "s2", "t2", "s1", "t1"};
}

void TestStudyPresent::sentencesUpToTheCountPerWord() {
    QFETCH(int, perWord);
    QFETCH(QStringList, lines);
    StudyFixture f("sentences");
    f.manage.showsentence = true;
    f.manage.sentencecountperword = perWord;
    f.WriteList("lx3.en", "s0\tt0\ns1\tt1\ns2\tt2\ns3\tt3\n");
    f.WriteList("lx4.en", "index\nNeko\t0\t2\t1\t3\t0\n");
    f.WriteLibrary("words.lx", kWords);
    TformMain& w = f.Create();
    auto* memoSentence = Child<QPlainTextEdit>(w, "MemoSentence");
    f.Open("words.lx");
    QVERIFY(memoSentence->isVisible());
    QCOMPARE(memoSentence->toPlainText().split('\n'), lines);
    f.Press(Qt::Key_Down);  // a word without an index entry: no box
    QVERIFY(!memoSentence->isVisible());
    QCOMPARE(memoSentence->toPlainText(), QString());
}

void TestStudyPresent::sentencesOffShowNoBox() {
    StudyFixture f("sentences_off");
    f.manage.showsentence = false;
    f.WriteList("lx3.en", "s0\tt0\n");
    f.WriteList("lx4.en", "index\nNeko\t0\n");
    f.WriteLibrary("words.lx", kWords);
    TformMain& w = f.Create();
    f.Open("words.lx");
    QVERIFY(!Child<QPlainTextEdit>(w, "MemoSentence")->isVisible());
    QVERIFY(w.Session().DataLists.sentenceLines.empty());  // not even loaded
}

// Each line of the sentence box as the learner sees it: "+" painted in the
// font colour, "-" in the background colour, "?" in neither.
QString SentenceLinesSeen(TformMain& w) {
    QString seen;
    const QColor shown = ColourFromValue(w.Session().WordLib.FontColor);
    const QColor hidden = ColourFromValue(w.Session().WordLib.BackColor);
    for (QTextBlock b = Child<QPlainTextEdit>(w, "MemoSentence")->document()->begin(); b.isValid(); b = b.next()) {
        const QColor c = b.begin().fragment().charFormat().foreground().color();
        seen += c == shown ? '+' : c == hidden ? '-' : '?';
    }
    return seen;
}

// Two sentences a word, each a sentence line and a translation line: the
// sentences would give the word away, the translations the meaning.
void TestStudyPresent::sentenceHalvesHideWithWhatTheyReveal_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("afterPrompt");
    QTest::addColumn<QString>("answered");
    QTest::newRow("0 日→假汉: translations hidden") << 0 << "+-+-"
                                                    << "+-+-"
                                                    << "++++";
    QTest::newRow("1 汉→假日: sentences hidden") << 1 << "-+-+"
                                                 << "-+-+"
                                                 << "++++";
    QTest::newRow("2 日假→汉: translations hidden until a prompt") << 2 << "+-+-"
                                                                   << "++++"
                                                                   << "++++";
    // This mode checks no answer: Enter leaves the typing layout.
    QTest::newRow("3 汉假日: everything") << 3 << "++++"
                                          << "++++"
                                          << "-+-+";
}

void TestStudyPresent::sentenceHalvesHideWithWhatTheyReveal() {
    QFETCH(int, mode);
    QFETCH(QString, question);
    QFETCH(QString, afterPrompt);
    QFETCH(QString, answered);
    StudyFixture f("sentence_halves");
    f.manage.readmode = mode;
    f.manage.showsentence = true;
    f.manage.sentencecountperword = 2;
    f.manage.delaytime = 40;
    f.WriteList("lx3.en", "猫がいます。\t有猫。\n猫が好きです。\t喜欢猫。\n犬です。\t是狗。\n犬が来た。\t狗来了。\n");
    f.WriteList("lx4.en", "index\nNeko\t0\t1\ninu\t2\t3\n");
    f.WriteLibrary("words.lx", kWords);
    TformMain& w = f.Create();
    f.Open("words.lx");
    QCOMPARE(Child<QPlainTextEdit>(w, "MemoSentence")->toPlainText().split('\n').size(), 4);
    QCOMPARE(SentenceLinesSeen(w), question);

    f.Type("N");  // typing: the word is asked for, its sentences hide
    QCOMPARE(SentenceLinesSeen(w), QStringLiteral("-+-+"));
    f.Press(Qt::Key_Control);  // a prompt shows everything
    QCOMPARE(SentenceLinesSeen(w), QStringLiteral("++++"));
    QTRY_VERIFY_WITH_TIMEOUT(!Child<QTimer>(w, "TimerPrompt")->isActive(), 2000);
    QCOMPARE(SentenceLinesSeen(w), afterPrompt);

    f.Type("x");
    f.Enter();  // a checked answer reveals the whole entry
    QCOMPARE(f.Comment(), QStringLiteral("错 误"));
    QCOMPARE(SentenceLinesSeen(w), answered);

    f.Press(Qt::Key_Down);  // the next word starts in the question layout again
    QCOMPARE(f.WordText(), QStringLiteral("inu"));
    QCOMPARE(Child<QPlainTextEdit>(w, "MemoSentence")->toPlainText(),
             QStringLiteral("犬です。\n是狗。\n犬が来た。\n狗来了。"));
    QCOMPARE(SentenceLinesSeen(w), question);
}

void TestStudyPresent::malformedListsNeverStopAWord() {
    StudyFixture f("malformed");
    f.manage.showsentence = true;
    f.manage.sentencecountperword = 3;
    f.WriteList("lx1.en", "x\nneko\n\tonly a tab\n");
    f.WriteList("lx2.en", "x\nNeko");
    f.WriteList("lx3.en", "only one line without a tab");
    f.WriteList("lx4.en", "x\nNeko\tabc\t\t99999999999\t-4\t7\t0\n");
    f.WriteLibrary("words.lx", kWords);
    f.WriteRecording(".wav");
    TformMain& w = f.Create();
    f.Open("words.lx");
    QCOMPARE(f.WordText(), QStringLiteral("Neko"));
    QCOMPARE(Child<QLabel>(w, "PanelT")->text(), QString());
    QCOMPARE(Child<QPlainTextEdit>(w, "MemoSentence")->toPlainText(), QStringLiteral("\nonly one line without a tab"));
    QVERIFY(f.Player().played.isEmpty());
    f.Type("Neko");
    f.Enter();
    QCOMPARE(f.Comment(), QStringLiteral("正 确"));
}

// A list that is there but cannot be read (a folder in its place) is said
// once when the window reads the lists; the words are studied without it.
void TestStudyPresent::unreadableListsAreSaidAndTheStudyGoesOn() {
    StudyFixture f("unreadable_lists");
    f.manage.showsentence = true;
    std::filesystem::create_directories(f.programFolder / "lx2.en");
    std::filesystem::create_directories(f.programFolder / "lx4.en");
    f.WriteList("lx3.en", "s0\tt0\n");
    f.WriteLibrary("words.lx", kWords);
    TformMain& w = f.Create();
    QCOMPARE(f.messages.Texts(),
             (std::vector<std::string>{"数据文件 lx2.en 无法读取，单词的读音、录音或例句将不能显示。",
                                       "数据文件 lx4.en 无法读取，单词的读音、录音或例句将不能显示。"}));
    f.messages.shown.clear();
    f.Open("words.lx");
    QCOMPARE(f.WordText(), QStringLiteral("Neko"));
    QCOMPARE(Child<QLabel>(w, "PanelT")->text(), QString());
    f.Type("Neko");
    f.Enter();
    QCOMPARE(f.Comment(), QStringLiteral("正 确"));
    QVERIFY(f.messages.Texts().empty());
}

void TestStudyPresent::meaningIsFittedIntoFourLines() {
    const std::string longMeaning(
        "这是一个很长很长的释义，用来检查释义框在二十五点的字号放不下四行时会一点一点缩小字号，"
        "直到整段释义在四行之内都能显示出来为止，不会被截掉也不会出现滚动条。再加上一些字，"
        "让它在最大的字号下确实需要比四行更多的行数。");
    StudyFixture f("meaning");
    f.manage.readmode = 3;
    f.WriteLibrary("words.lx", {{"short", "猫"}, {"long", longMeaning}, {"breaks", "一\n二"}});
    TformMain& w = f.Create();
    auto* memoC = Child<QTextEdit>(w, "MemoC");
    f.Open("words.lx");
    QCOMPARE(w.MeaningPointSize(), 25);
    QCOMPARE(memoC->toPlainText(), QStringLiteral("\n猫"));  // one line: sits one line lower
    QCOMPARE(memoC->alignment(), Qt::AlignHCenter);

    f.Press(Qt::Key_Down);
    QVERIFY(w.MeaningPointSize() < 25);
    QCOMPARE(memoC->toPlainText(), QString::fromStdString(longMeaning));
    int lines = 0;
    QTextDocument* doc = memoC->document();
    doc->documentLayout()->documentSize();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) lines += b.layout()->lineCount();
    QVERIFY2(lines <= 4, qPrintable(QString::number(lines)));
    QVERIFY(lines >= 3);  // shrunk only as far as needed

    f.Press(Qt::Key_Down);  // the next word starts at 25 points again
    QCOMPARE(f.WordText(), QStringLiteral("breaks"));
    QCOMPARE(w.MeaningPointSize(), 25);
}

void TestStudyPresent::recordingNamedAfterTheWordBeatsTheAlias() {
    StudyFixture f("recording_word");
    f.WriteList("lx1.en", "x\nNeko\tcat01\n");
    f.WriteRecording("Neko.wav");
    f.WriteRecording("cat01.wav");
    f.WriteLibrary("words.lx", kWords);
    f.Create();
    f.Open("words.lx");
    f.Type("x");
    f.Enter();
    QCOMPARE(f.PlayedNames(), QStringList{"Neko.wav"});
    QVERIFY(f.Player().fileName.endsWith("/wav/Neko.wav"));
}

void TestStudyPresent::aliasIgnoresLetterCase() {
    StudyFixture f("recording_alias");
    f.WriteList("lx1.en", "x\nNEKO\tCat01\n");
    f.WriteRecording("cat01.wav");
    f.WriteLibrary("words.lx", kWords);
    TformMain& w = f.Create();
    f.Open("words.lx");
    f.Press(Qt::Key_Control);
    QCOMPARE(f.PlayedNames(), QStringList{"cat01.wav"});
    QCOMPARE(w.Session().WordLib.Words[0].WavName, std::string("cat01.wav"));
}

void TestStudyPresent::noRecordingPlaysNothing() {
    StudyFixture f("recording_none");
    f.WriteList("lx1.en", "x\nneko\tmissing\n");
    f.WriteLibrary("words.lx", kWords);
    f.Create();
    f.Open("words.lx");
    f.Player().fileName = "old";
    f.Press(Qt::Key_Control);
    QVERIFY(f.Player().played.isEmpty());
    QCOMPARE(f.Player().fileName, QString());
}

void TestStudyPresent::muteSilencesShowingPromptingAndAnswering() {
    StudyFixture f("mute");
    f.manage.mute = true;
    f.manage.memorymode = 0;
    f.WriteRecording("Neko.wav");
    f.WriteRecording("inu.wav");
    f.WriteLibrary("words.lx", kWords);
    TformMain& w = f.Create();
    f.Open("words.lx");
    f.Press(Qt::Key_Down);  // showing
    f.Press(Qt::Key_Up);
    f.Press(Qt::Key_Control);  // prompting
    f.Type("Neko");
    f.Enter();  // answering
    QCOMPARE(f.Comment(), QStringLiteral("正 确"));
    QVERIFY(f.Player().played.isEmpty());

    w.Session().WordLib.Mute = false;  // and without mute the same steps do play
    f.Press(Qt::Key_Down);
    QCOMPARE(f.PlayedNames(), QStringList{"inu.wav"});
}

QTEST_MAIN(TestStudyPresent)
#include "tst_formmain_present.moc"
