// Details of the study window a learner notices along the way: the counters
// a showing writes, a cycle that leaves no grade-0 word, the smallest size
// of a meaning, an empty answer, an answer given with Space, a composition
// of the input method, the characters of the keypad's operator keys, a
// recording cut short by the next one, the save every 500 words whatever
// step shows them, and the grade labels lined up with the grade counts.

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QtTest>

#include "core/gbktext.h"
#include "core/scrambledfile.h"
#include "support/find_child.h"
#include "support/fit_check.h"
#include "support/study_fixture.h"
#include "widgets/answeredit.h"
#include "widgets/radiogroup.h"

namespace {
const std::vector<FixtureWord> kAnimals = {{"neko", "猫", 0, 4}, {"inu", "狗", 0, 0}, {"tori", "鸟", 0, 1}};
}  // namespace

class TestStudyDetails : public QObject {
    Q_OBJECT
private slots:
    void showingWritesTheCountersOnce();
    void cycleEndWithoutGradeZeroWordsStudiesOnAtGradeZero();
    void endlessMeaningStopsAtTheSmallestSize();
    void enterOnAnEmptyBoxChecksWithoutPrompt();
    void answeringWithSpaceDropsItsSpace();
    void compositionIsVisibleWhileComposed();
    void keypadOperatorsKeepTheirCharacter_data();
    void keypadOperatorsKeepTheirCharacter();
    void nextAfterTheLastAnsweredWordEndsTheGroup_data();
    void nextAfterTheLastAnsweredWordEndsTheGroup();
    void newRecordingStopsThePlayingOne();
    void progressSavedWhenAnyStepShowsThe500thWord_data();
    void progressSavedWhenAnyStepShowsThe500thWord();
    void gradeLabelsLineUpWithTheGradeCounts();
    void everythingFitsOnTheSmallScreens_data();
    void everythingFitsOnTheSmallScreens();
    void longWordsAreDrawnSmallerToBeSeenWhole();
    void wordBoxGrowsWithTheScreenAndKeepsItsTextsWhole();
};

// The study count is written only when another word comes; step and grade
// count on every showing.
void TestStudyDetails::showingWritesTheCountersOnce() {
    StudyFixture f("counters");
    f.manage.readmode = 0;
    f.manage.delaytime = 30;
    f.WriteLibrary("animals.lx", kAnimals);
    TformMain& w = f.Create();
    auto* labelWordStudyCount = Child<QLabel>(w, "LabelWordStudyCount");
    auto* labelStepNo = Child<QLabel>(w, "LabelStepNo");
    f.Open("animals.lx");
    // The word brought back at opening counts for the word; the total is
    // shown one ahead.
    QCOMPARE(labelWordStudyCount->text(), QStringLiteral("5 / 6"));
    QCOMPARE(labelStepNo->text(), QStringLiteral("1 / 3"));

    f.Press(Qt::Key_Down);
    QCOMPARE(labelWordStudyCount->text(), QStringLiteral("1 / 6"));
    QCOMPARE(labelStepNo->text(), QStringLiteral("2 / 3"));
    QCOMPARE(w.Session().WordLib.ShownCount, 1);

    // A prompt shows the same word again when it ends: nothing is counted.
    f.Press(Qt::Key_Control);
    QTRY_VERIFY_WITH_TIMEOUT(!Child<QTimer>(w, "TimerPrompt")->isActive(), 2000);
    QCOMPARE(w.Session().WordLib.Words[1].StudyTimes, 1);
    QCOMPARE(w.Session().WordLib.ShownCount, 1);
    QCOMPARE(labelWordStudyCount->text(), QStringLiteral("1 / 6"));
    QCOMPARE(labelStepNo->text(), QStringLiteral("2 / 3"));

    f.Press(Qt::Key_Down);
    QCOMPARE(labelWordStudyCount->text(), QStringLiteral("2 / 7"));
    QCOMPARE(labelStepNo->text(), QStringLiteral("3 / 3"));
}

// With every grade-0 word gone, studying grade 0 past the end of the last
// group ends the cycle; the grades come down until grade 0 holds words and
// study goes on there, in a group the whole library agrees on, so a grade
// change made now reaches the file at the next save.
void TestStudyDetails::cycleEndWithoutGradeZeroWordsStudiesOnAtGradeZero() {
    StudyFixture f("cycle_nothing_left");
    // The last of two groups is studied, two words at grade 3; no word of
    // the library is at grade 0.
    f.WriteLibrary("four.lx", {{"w0", "零", 3}, {"w1", "一", 3}, {"w2", "二", 4}, {"w3", "三", 3}}, 2, 1);
    TformMain& w = f.Create();
    f.Open("four.lx");
    Child<RadioGroup>(w, "GroupGrade")->Item(2)->click();  // grade 3
    QCOMPARE(f.WordText(), QStringLiteral("w1"));
    f.Press(Qt::Key_Down);
    QCOMPARE(f.WordText(), QStringLiteral("w3"));
    Child<RadioGroup>(w, "GroupGrade")->Item(5)->click();  // grade 0, which is empty
    QVERIFY(f.messages.Texts().empty());

    f.Press(Qt::Key_Down);
    QCOMPARE(f.messages.Texts(),
             (std::vector<std::string>{"祝贺你!完成本次循环！现在进入第2循环", "祝贺你！所有0级单词已经升级完毕！"}));
    QCOMPARE(Child<QLabel>(w, "circleno")->text(), QStringLiteral("2"));
    QCOMPARE(w.Session().WordLib0.LoopTimes, 2);
    QCOMPARE(w.Session().WordLib0.BaseGrade, 3);
    QCOMPARE(Child<QListWidget>(w, "ListBoxGrade")->item(5)->text(), QStringLiteral("3"));
    QCOMPARE(w.Session().WordLib0.CountGradeZeroWords(), 3);
    QCOMPARE(w.Session().WordLib.CurrentGrade, 0);
    QCOMPARE(w.Session().WordLib.GroupIndex, w.Session().WordLib0.GroupIndex);
    QVERIFY(w.Session().WordLib.HasCurrentWord());
    QVERIFY(f.WordShown());

    const std::string promoted = w.Session().WordLib.Words[static_cast<size_t>(w.Session().WordLib.CurrentIndex)].Word;
    QCOMPARE(Gbk(f.WordText().toStdString()), promoted);
    QTest::mouseClick(Child<QPushButton>(w, "ButtonUpGrade"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(w, "ButtonReturn"), Qt::LeftButton);  // a save point
    QCOMPARE(f.messages.Texts().size(), size_t{2});
    const std::string saved =
        GbkToUtf8(ReadScrambledFile(f.programFolder / "users" / "user0" / "four.lx").value_or(""));
    const size_t line = saved.find("<e>" + GbkToUtf8(promoted) + "</e>");
    QVERIFY2(line != std::string::npos, saved.c_str());
    QCOMPARE(saved.substr(saved.find("<g>", line), 8), std::string("<g>1</g>"));
    QVERIFY(saved.find("<basegrade>3</basegrade>") != std::string::npos);
}

void TestStudyDetails::endlessMeaningStopsAtTheSmallestSize() {
    StudyFixture f("meaning_floor");
    f.manage.readmode = 3;
    std::string endless;
    for (int i = 0; i < 60; ++i) endless += "一个非常长的释义";
    f.WriteLibrary("lines.lx", {{"endless", endless}, {"short", "猫"}});
    TformMain& w = f.Create();
    auto* memoC = Child<QTextEdit>(w, "MemoC");
    f.Open("lines.lx");
    QCOMPARE(w.MeaningPointSize(), 9);  // more than four lines at any size: the shrinking ends
    QCOMPARE(memoC->font().pointSize(), 9);
    QCOMPARE(memoC->toPlainText(), QString::fromStdString(endless));
    f.Press(Qt::Key_Down);
    QCOMPARE(w.MeaningPointSize(), 25);
    QCOMPARE(memoC->font().pointSize(), 25);
}

// Enter on an empty box before the end of the group is an ordinary wrong
// answer: everything revealed and the recording played, but no prompt.
void TestStudyDetails::enterOnAnEmptyBoxChecksWithoutPrompt() {
    StudyFixture f("empty_enter");
    f.manage.readmode = 0;
    f.manage.memorymode = 1;
    f.WriteLibrary("animals.lx", kAnimals);
    f.WriteRecording("neko.wav");
    TformMain& w = f.Create();
    f.Open("animals.lx");
    f.Enter();
    QCOMPARE(f.Comment(), QStringLiteral("错 误"));
    QVERIFY(f.CommentVisible());  // a wrong answer says so plainly
    QVERIFY(f.WordShown() && f.ReadingShown() && f.MeaningShown());
    QCOMPARE(f.PlayedNames(), QStringList{"neko.wav"});
    QVERIFY(!Child<QTimer>(w, "TimerPrompt")->isActive());
    QCOMPARE(f.WordText(), QStringLiteral("neko"));
}

// Space checks like Enter; the space it typed behind a right answer is
// trimmed away on release, and the next Space moves on.
void TestStudyDetails::answeringWithSpaceDropsItsSpace() {
    StudyFixture f("space_answer");
    f.manage.readmode = 2;
    f.WriteLibrary("animals.lx", kAnimals);
    TformMain& w = f.Create();
    f.Open("animals.lx");
    f.Type("neko");
    f.Space();
    QCOMPARE(f.Comment(), QStringLiteral("正 确"));
    QVERIFY(f.CommentVisible());
    QVERIFY(f.WordShown() && f.ReadingShown() && f.MeaningShown());
    QCOMPARE(f.Answer(), QStringLiteral("neko"));
    QCOMPARE(Child<AnswerEdit>(w, "EditInput")->cursorPosition(), 4);
    QCOMPARE(f.WordText(), QStringLiteral("neko"));

    f.Space();
    QCOMPARE(f.WordText(), QStringLiteral("inu"));
    QCOMPARE(f.Answer(), QString());
}

// The box is painted invisible whenever a word comes; typed keys show again
// on release, but an input method's keys have no release until the text is
// committed, and the learner must see what is being composed.
void TestStudyDetails::compositionIsVisibleWhileComposed() {
    StudyFixture f("compose_visible");
    f.WriteLibrary("kanji.lx", {{"猫", "猫"}, {"犬", "狗"}});
    TformMain& w = f.Create();
    auto* editInput = Child<AnswerEdit>(w, "EditInput");
    f.Open("kanji.lx");
    QTest::mouseClick(Child<QPushButton>(w, "ButtonNextWord"), Qt::LeftButton);  // a new word: the box is invisible
    QCOMPARE(f.WordText(), QStringLiteral("犬"));
    QVERIFY(!f.AnswerTextVisible());

    QInputMethodEvent preedit(QStringLiteral("いぬ"), {});
    QApplication::sendEvent(editInput, &preedit);
    QVERIFY(editInput->IsComposing());
    QVERIFY(f.AnswerTextVisible());
    QInputMethodEvent converted(QStringLiteral("犬"), {});
    QApplication::sendEvent(editInput, &converted);
    QVERIFY(f.AnswerTextVisible());

    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("犬"));
    QApplication::sendEvent(editInput, &commit);
    QCOMPARE(f.Answer(), QStringLiteral("犬"));
    QVERIFY(f.AnswerTextVisible());
}

void TestStudyDetails::keypadOperatorsKeepTheirCharacter_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("answer");
    QTest::newRow("keypad *") << int(Qt::Key_Asterisk) << QStringLiteral("ne*");
    QTest::newRow("keypad +") << int(Qt::Key_Plus) << QStringLiteral("ne+");
    QTest::newRow("keypad /") << int(Qt::Key_Slash) << QStringLiteral("ne/");
}

// They are no commands and no typing: the layout stays as the typing left
// it, and the character stays in the box, visible again on release.
void TestStudyDetails::keypadOperatorsKeepTheirCharacter() {
    QFETCH(int, key);
    QFETCH(QString, answer);
    StudyFixture f("keypad_operators");
    f.manage.readmode = 0;
    f.WriteLibrary("animals.lx", kAnimals);
    TformMain& w = f.Create();
    f.Open("animals.lx");
    f.Type("ne");
    QTest::keyPress(Child<AnswerEdit>(w, "EditInput"), Qt::Key(key), Qt::KeypadModifier);
    QVERIFY(!f.AnswerTextVisible());
    QTest::keyRelease(Child<AnswerEdit>(w, "EditInput"), Qt::Key(key), Qt::KeypadModifier);
    QCOMPARE(f.Answer(), answer);
    QVERIFY(f.AnswerTextVisible());
    QCOMPARE(f.WordText(), QStringLiteral("neko"));
    QCOMPARE(w.Session().WordLib.Words[0].Grade, 0);
}

void TestStudyDetails::nextAfterTheLastAnsweredWordEndsTheGroup_data() {
    QTest::addColumn<int>("groups");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("cycle");
    QTest::addColumn<QString>("groupLabel");
    QTest::newRow("a group before the last") << 2 << QStringList{"祝贺你!完成第1循环第1分组"} << 1 << "2 / 2";
    QTest::newRow("the last group") << 1
                                    << QStringList{"祝贺你!完成第1循环第1分组", "祝贺你!完成本次循环！现在进入第2循环"}
                                    << 2 << "1 / 1";
}

// Space after the last word's right answer leaves the position at the end
// of the group without a word to show. "后一个" (or Down) there finishes the
// group as Space on the empty box would: it never claims every word is
// upgraded, and never counts the new cycle twice.
void TestStudyDetails::nextAfterTheLastAnsweredWordEndsTheGroup() {
    QFETCH(int, groups);
    QFETCH(QStringList, messages);
    QFETCH(int, cycle);
    QFETCH(QString, groupLabel);
    StudyFixture f("next_at_group_end");
    f.WriteLibrary("four.lx", {{"w0", "零"}, {"w1", "一"}, {"w2", "二"}, {"w3", "三"}}, groups);
    TformMain& w = f.Create();
    f.Open("four.lx");
    for (int i = 0; i < w.Session().WordLib.WordCount; ++i) {
        f.Type(f.WordText());
        f.Enter();
        f.Space();
    }
    QCOMPARE(w.Session().WordLib.CurrentIndex, w.Session().WordLib.WordCount);
    QVERIFY(f.messages.Texts().empty());

    f.Press(Qt::Key_Down);
    QStringList shown;
    for (const std::string& text : f.messages.Texts()) shown << QString::fromStdString(text);
    QCOMPARE(shown, messages);
    QCOMPARE(w.Session().WordLib0.LoopTimes, cycle);
    QCOMPARE(w.Session().WordLib.LoopTimes, cycle);
    QCOMPARE(Child<QLabel>(w, "circleno")->text(), QString::number(cycle));
    QCOMPARE(Child<QLabel>(w, "LabelGroup")->text(), groupLabel);
    QVERIFY(w.Session().WordLib.HasCurrentWord());
    QVERIFY(f.WordShown());
}

void TestStudyDetails::newRecordingStopsThePlayingOne() {
    StudyFixture f("recording_stop");
    f.manage.memorymode = 0;
    f.WriteLibrary("animals.lx", kAnimals);
    f.WriteRecording("inu.wav");
    f.Create();
    f.Open("animals.lx");
    f.Player().playing = true;  // a long recording still running
    f.Press(Qt::Key_Down);
    QCOMPARE(f.PlayedNames(), QStringList{"inu.wav"});
    QVERIFY(f.Player().opened.endsWith("/wav/inu.wav"));

    // A word without a recording silences the one before it too.
    f.Player().playing = true;
    f.Press(Qt::Key_Down);
    QVERIFY(!f.Player().IsPlaying());
    QCOMPARE(f.Player().fileName, QString());
}

void TestStudyDetails::progressSavedWhenAnyStepShowsThe500thWord_data() {
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("shownBefore");
    QTest::addColumn<bool>("saved");
    for (const char* step :
         {"Space after a right answer", "= (straight to the top)", "] (up a grade)", "[ (down a grade)"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1, 500th word").arg(step))) << QString(step) << 499 << true;
        QTest::newRow(qPrintable(QStringLiteral("%1, 501st word").arg(step))) << QString(step) << 500 << false;
    }
}

// Learners who answer with Enter and Space never press "后一个"; their
// progress reaches the file every 500 words all the same.
void TestStudyDetails::progressSavedWhenAnyStepShowsThe500thWord() {
    QFETCH(QString, step);
    QFETCH(int, shownBefore);
    QFETCH(bool, saved);
    StudyFixture f("save_on_step");
    f.WriteLibrary("animals.lx", {{"neko", "猫", 1}, {"inu", "狗", 1}, {"tori", "鸟", 0}});
    TformMain& w = f.Create();
    f.Open("animals.lx");
    Child<RadioGroup>(w, "GroupGrade")->Item(4)->click();  // grade 1
    QCOMPARE(f.WordText(), QStringLiteral("neko"));
    w.Session().WordLib.ShownCount = shownBefore;

    if (step.startsWith("Space")) {
        f.Type("neko");
        f.Enter();
        f.Space();
    } else {
        f.Press(step.startsWith('=')   ? Qt::Key_Equal
                : step.startsWith(']') ? Qt::Key_BracketRight
                                       : Qt::Key_BracketLeft);
    }
    QCOMPARE(f.WordText(), QStringLiteral("inu"));
    QCOMPARE(w.Session().WordLib.ShownCount, shownBefore + 1);
    const std::string file =
        GbkToUtf8(ReadScrambledFile(f.programFolder / "users" / "user0" / "animals.lx").value_or(""));
    QCOMPARE(file.find("<lw>1</lw>") != std::string::npos, saved);
    QCOMPARE(Child<QPlainTextEdit>(w, "MemoSentence")->toPlainText() == QStringLiteral("<editor>marrowfen</editor>"),
             saved);
}

// Each grade label sits on the row of the count it names, on every width
// the window is laid out at.
void TestStudyDetails::gradeLabelsLineUpWithTheGradeCounts() {
    StudyFixture f("grade_rows");
    TformMain& w = f.Create();
    auto* listBoxGrade = Child<QListWidget>(w, "ListBoxGrade");
    for (const QSize size : {QSize(640, 480), QSize(1024, 768)}) {
        w.resize(size);
        QCoreApplication::processEvents();
        QTest::qWait(10);
        for (int i = 0; i < 6; ++i) {
            const QRadioButton* item = Child<RadioGroup>(w, "GroupGrade")->Item(i);
            const int itemCentre = item->mapTo(&w, item->rect().center()).y();
            const QRect row = listBoxGrade->visualItemRect(listBoxGrade->item(i));
            const int rowCentre = listBoxGrade->viewport()->mapTo(&w, row.center()).y();
            QVERIFY2(
                std::abs(itemCentre - rowCentre) <= 2,
                qPrintable(QStringLiteral("row %1: count at %2, label at %3").arg(i).arg(itemCentre).arg(rowCentre)));
        }
    }
}

void TestStudyDetails::everythingFitsOnTheSmallScreens_data() {
    QTest::addColumn<QSize>("screen");
    QTest::newRow("800 x 600") << QSize(800, 600);
    QTest::newRow("1024 x 768") << QSize(1024, 768);
}

// The window fills the screen; on the screens the program is made for no
// control may fall off its bottom.
void TestStudyDetails::everythingFitsOnTheSmallScreens() {
    QFETCH(QSize, screen);
    StudyFixture f("small_screen");
    f.WriteLibrary("animals.lx", kAnimals);
    TformMain& w = f.Create();
    w.screenWidth = [&] { return screen.width(); };
    w.screenHeight = [&] { return screen.height(); };
    w.FormResize();  // laid out for the screen before it is shown, as the login does
    f.Open("animals.lx");
    w.setGeometry(QRect(QPoint(0, 0), screen));
    QCoreApplication::processEvents();
    QCOMPARE(w.size(), screen);
    for (QWidget* control : {Child<QWidget>(w, "EditInput"), Child<QWidget>(w, "ButtonMyNewWord"),
                             Child<QWidget>(w, "MemoSentence"), Child<QWidget>(w, "suiButton10"),
                             Child<QWidget>(w, "PanelThisTime"), Child<QWidget>(w, "PanelMyWordLibWordCount")}) {
        const QRect where(control->mapTo(&w, QPoint(0, 0)), control->size());
        QVERIFY2(w.rect().contains(where), qPrintable(QStringLiteral("%1 at %2,%3 %4x%5")
                                                          .arg(control->objectName())
                                                          .arg(where.x())
                                                          .arg(where.y())
                                                          .arg(where.width())
                                                          .arg(where.height())));
    }
}

// A word keeps its designed 37 pixels where it fits the word box; a word
// too long for the box at that size is drawn as much smaller as it needs,
// and the next short word is drawn at 37 pixels again.
void TestStudyDetails::longWordsAreDrawnSmallerToBeSeenWhole() {
    StudyFixture f("long_word");
    TformMain& w = f.Create();
    auto* panelE = Child<QLabel>(w, "PanelE");
    w.screenWidth = [] { return 640; };
    w.screenHeight = [] { return 480; };
    w.FormResize();
    w.setGeometry(0, 0, 640, 480);
    QCoreApplication::processEvents();
    const struct {
        const char* word;
        bool designed;
    } cases[] = {{"猫", true}, {"アルバイトアルバイトアルバイト", false}, {"ありがとう", true}};
    for (const auto& c : cases) {
        w.Display().WriteWord(Gbk(c.word));
        QCoreApplication::processEvents();
        const int pixels = panelE->font().pixelSize();
        QVERIFY2((pixels == 37) == c.designed, c.word);
        QVERIFY2(panelE->fontMetrics().horizontalAdvance(panelE->text()) <= panelE->contentsRect().width(), c.word);
    }
}

// On a larger screen the word, the reading and the meaning are drawn
// larger, and on a small one no smaller than designed; at every size a long
// word, a long reading and a long meaning are seen whole.
void TestStudyDetails::wordBoxGrowsWithTheScreenAndKeepsItsTextsWhole() {
    const char* longWord = "申し訳ありません申し訳ありません";
    const char* longReading = "もうしわけありませんもうしわけありません";
    const std::string longMeaning =
        "[寒暄] 非常抱歉；实在对不起（比“すみません”郑重的道歉，用于向长辈、上司或客人赔礼）。"
        "再加上一句说明，让它在大字号下需要好几行";
    StudyFixture f("word_box");
    f.WriteList("lx2.en", std::string("\n猫\tねこ\n") + longWord + "\t" + longReading + "\n");
    TformMain& w = f.Create();
    auto* panelT = Child<QLabel>(w, "PanelT");

    struct Sizes {
        int word, reading, meaning;
    };
    // The designed sizes; then the sizes a short entry gets on each screen.
    const Sizes designed{37, 33, 25};
    const QSize screens[] = {{640, 480}, {800, 600}, {1280, 800}};
    std::vector<Sizes> shortEntry;
    for (const QSize& screen : screens) {
        const QString where = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
        w.screenWidth = [screen] { return screen.width(); };
        w.screenHeight = [screen] { return screen.height(); };
        w.FormResize();
        for (int i = 0; i < 4 && w.size() != screen; ++i) {
            w.setGeometry(QRect(QPoint(0, 0), screen));
            QCoreApplication::processEvents();
        }
        QCOMPARE(w.size(), screen);

        const struct {
            const char* word;
            std::string meaning;
        } entries[] = {{"猫", "猫"}, {longWord, longMeaning}};
        for (const auto& entry : entries) {
            const QString what = where + QLatin1Char(' ') + QString::fromUtf8(entry.word);
            w.Display().WriteWord(Gbk(entry.word));
            w.Display().WriteReadingOf(Gbk(entry.word));
            w.Display().WriteMeaning(Gbk(entry.meaning));
            QCoreApplication::processEvents();
            QVERIFY2(!panelT->text().isEmpty(), qPrintable(what));
            for (QLabel* label : {Child<QLabel>(w, "PanelE"), panelT}) {
                const QFontMetrics metrics = label->fontMetrics();
                QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width() &&
                             metrics.height() <= label->contentsRect().height(),
                         qPrintable(what + QLatin1Char(' ') + label->objectName()));
            }
            QTextDocument* meaning = Child<QTextEdit>(w, "MemoC")->document();
            QVERIFY2(meaning->size().height() <= Child<QTextEdit>(w, "MemoC")->viewport()->height(),
                     qPrintable(what + " meaning"));
            int lines = 0;
            for (QTextBlock b = meaning->begin(); b.isValid(); b = b.next()) lines += b.layout()->lineCount();
            QVERIFY2(lines <= 4, qPrintable(what + " meaning lines " + QString::number(lines)));
            const QStringList cut = fit_check::CutOff(&w, QRect(QPoint(0, 0), screen));
            QVERIFY2(cut.isEmpty(), qPrintable(what + ": " + cut.join(QLatin1String("; "))));
            if (entry.meaning == "猫")
                shortEntry.push_back(
                    {Child<QLabel>(w, "PanelE")->font().pixelSize(), panelT->font().pixelSize(), w.MeaningPointSize()});
        }
    }
    const Sizes& small = shortEntry.front();
    const Sizes& large = shortEntry.back();
    QCOMPARE(small.word, designed.word);
    QCOMPARE(small.reading, designed.reading);
    QCOMPARE(small.meaning, designed.meaning);
    QVERIFY2(large.word > small.word && large.reading > small.reading && large.meaning > small.meaning,
             qPrintable(QStringLiteral("at 1280x800: word %1 px, reading %2 px, meaning %3 pt")
                            .arg(large.word)
                            .arg(large.reading)
                            .arg(large.meaning)));
}

QTEST_MAIN(TestStudyDetails)
#include "tst_formmain.moc"
