// Answer entry in the study window, driven with real key events on the
// answer box: checking, the comment panel, tidying on release, commands on
// the keypad and the main block, the prompt, and input-method composition.

#include <QInputMethodEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "core/gbktext.h"
#include "support/find_child.h"
#include "support/study_fixture.h"
#include "widgets/answeredit.h"

namespace {
const QString kWrong = QStringLiteral("错 误");
const QString kRight = QStringLiteral("正 确");

const std::vector<FixtureWord> kAnimals = {{"neko", "猫"}, {"inu", "狗"}, {"tori", "鸟"}};
}  // namespace

class TestStudyAnswer : public QObject {
    Q_OBJECT
private slots:
    void correctAnswerFromFirstKeyToNextWord();
    void spaceDuringTheCorrectDisplayMovesOn();
    void enterAfterNextChecksAgain();
    void wrongAnswerRevealsAndOptionallyClears_data();
    void wrongAnswerRevealsAndOptionallyClears();
    void comparisonRules_data();
    void comparisonRules();
    void twoPartWordKeepsItsSpace();
    void keypadAndMainBlockCommands_data();
    void keypadAndMainBlockCommands();
    void homeAndEndKeepTheirEditing();
    void escapeClearsTheBox();
    void promptRevealsUntilItsTimerEnds_data();
    void promptRevealsUntilItsTimerEnds();
    void readModeThreeNeverChecks();
    void keysWithoutLibraryOnlyResetIdleTime();
    void compositionKeysNeitherCheckNorAdvance();
    void staleRightAnswerNeverSkipsTheNext_data();
    void staleRightAnswerNeverSkipsTheNext();
    void quickLearnerHasEveryRightAnswerJudged();
    void pauseWithinTheRightDisplayKeepsThePause();
    void promptEndsWhenTheLearnerTypes();
};

namespace {

// An input method's composition of `preedit`, then its commit of `commit`.
void Compose(AnswerEdit* box, const QString& preedit) {
    QInputMethodEvent event(preedit, {});
    QApplication::sendEvent(box, &event);
}
void Commit(AnswerEdit* box, const QString& commit) {
    QInputMethodEvent event;
    event.setCommitString(commit);
    QApplication::sendEvent(box, &event);
}

}  // namespace

void TestStudyAnswer::correctAnswerFromFirstKeyToNextWord() {
    StudyFixture f("correct");
    f.manage.readmode = 2;
    f.WriteLibrary("animals.lx", kAnimals);
    f.WriteRecording("neko.wav");
    TformMain& w = f.Create();
    auto* timerComment = Child<QTimer>(w, "TimerComment");
    f.Open("animals.lx");
    QCOMPARE(f.WordText(), QStringLiteral("neko"));
    QVERIFY(f.WordShown() && f.ReadingShown() && !f.MeaningShown());

    f.Type("n");  // the first key: typing layout, wrong until proven right
    QVERIFY(!f.WordShown() && !f.ReadingShown() && f.MeaningShown());
    QCOMPARE(f.Comment(), kWrong);
    QVERIFY(!f.CommentVisible());

    f.Type("eko");
    f.Enter();
    QCOMPARE(f.Comment(), kRight);
    QVERIFY(f.CommentVisible());
    QVERIFY(timerComment->isActive());
    QCOMPARE(timerComment->interval(), 1000);
    QVERIFY(f.WordShown() && f.ReadingShown() && f.MeaningShown());
    QCOMPARE(f.PlayedNames(), QStringList{"neko.wav"});

    w.TimerCommentTimer();
    QCOMPARE(f.Comment(), QStringLiteral("Next"));
    QVERIFY(!f.CommentVisible());
    QVERIFY(!timerComment->isActive());

    f.Space();
    QCOMPARE(f.WordText(), QStringLiteral("inu"));
    QCOMPARE(f.Answer(), QString());  // its space is removed on release
    QVERIFY(f.WordShown() && f.ReadingShown() && !f.MeaningShown());
}

void TestStudyAnswer::spaceDuringTheCorrectDisplayMovesOn() {
    StudyFixture f("space_during_right");
    f.WriteLibrary("animals.lx", kAnimals);
    f.Create();
    f.Open("animals.lx");
    f.Type("neko");
    f.Enter();
    QVERIFY(f.CommentVisible());
    f.Enter();  // Enter during the display does nothing
    QCOMPARE(f.WordText(), QStringLiteral("neko"));
    QVERIFY(f.CommentVisible());
    f.Space();
    QCOMPARE(f.WordText(), QStringLiteral("inu"));
    QVERIFY(!f.CommentVisible());
    QCOMPARE(f.Answer(), QString());
}

void TestStudyAnswer::enterAfterNextChecksAgain() {
    StudyFixture f("enter_after_next");
    f.WriteLibrary("animals.lx", kAnimals);
    f.WriteRecording("neko.wav");
    TformMain& w = f.Create();
    f.Open("animals.lx");
    f.Type("neko");
    f.Enter();
    w.TimerCommentTimer();
    f.Enter();
    QCOMPARE(f.Comment(), kRight);
    QVERIFY(f.CommentVisible());
    QCOMPARE(f.PlayedNames(), (QStringList{"neko.wav", "neko.wav"}));
    QCOMPARE(f.WordText(), QStringLiteral("neko"));
}

void TestStudyAnswer::wrongAnswerRevealsAndOptionallyClears_data() {
    QTest::addColumn<bool>("autoClear");
    QTest::addColumn<QString>("boxAfter");
    QTest::newRow("auto-clear off keeps the text") << false << QStringLiteral("nekp");
    QTest::newRow("auto-clear on empties the box") << true << QString();
}

void TestStudyAnswer::wrongAnswerRevealsAndOptionallyClears() {
    QFETCH(bool, autoClear);
    QFETCH(QString, boxAfter);
    StudyFixture f(autoClear ? "wrong_clear" : "wrong_keep");
    f.manage.autocleareditinput = autoClear;
    f.manage.readmode = 0;
    f.WriteLibrary("animals.lx", kAnimals);
    f.WriteRecording("neko.wav");
    f.Create();
    f.Open("animals.lx");
    f.Type("nekp");
    f.Enter();
    QCOMPARE(f.Comment(), kWrong);
    QVERIFY(f.CommentVisible());  // said plainly, until the learner types again
    QVERIFY(f.WordShown() && f.ReadingShown() && f.MeaningShown());
    QCOMPARE(f.PlayedNames(), QStringList{"neko.wav"});
    QCOMPARE(f.Answer(), boxAfter);
    QCOMPARE(f.WordText(), QStringLiteral("neko"));
    f.Type("x");
    QVERIFY(!f.CommentVisible());
}

void TestStudyAnswer::comparisonRules_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("right");
    QTest::newRow("exact") << "Tokyo"
                           << "Tokyo" << true;
    QTest::newRow("letter case differs") << "Tokyo"
                                         << "tokyo" << false;
    QTest::newRow("surrounding blanks ignored") << "Tokyo"
                                                << "  Tokyo\t " << true;
    QTest::newRow("inner blank matters") << "Tokyo"
                                         << "To kyo" << false;
    QTest::newRow("full-width letters differ") << "Tokyo"
                                               << "Ｔｏｋｙｏ" << false;
    QTest::newRow("kanji exact") << "東京"
                                 << "東京" << true;
    QTest::newRow("character outside GBK") << "東京"
                                           << "東京😀" << false;
    QTest::newRow("empty box is wrong") << "Tokyo"
                                        << "" << false;
    // An input method types the full-width space U+3000 for Space.
    const QString wide = QString(QChar(0x3000));
    QTest::newRow("full-width blanks at both ends ignored") << "水" << wide + " 水" + wide + wide << true;
    QTest::newRow("inner blank of a two-part word kept")
        << "おはよう ございます" << wide + "おはよう ございます" + wide << true;
    QTest::newRow("inner full-width blank differs") << "おはよう ございます"
                                                    << "おはよう" + wide + "ございます" << false;
    QTest::newRow("only blanks is wrong") << "水" << wide + " " << false;
}

void TestStudyAnswer::comparisonRules() {
    QFETCH(QString, word);
    QFETCH(QString, answer);
    QFETCH(bool, right);
    StudyFixture f("compare");
    f.WriteLibrary("one.lx", {{word.toStdString(), "东京"}, {"other", "别的"}});
    TformMain& w = f.Create();
    f.Open("one.lx");
    Child<AnswerEdit>(w, "EditInput")->setText(answer);
    f.Enter();
    QCOMPARE(f.Comment(), right ? kRight : kWrong);
    QVERIFY(f.CommentVisible());
}

void TestStudyAnswer::twoPartWordKeepsItsSpace() {
    StudyFixture f("two_part");
    f.manage.readmode = 2;
    f.WriteLibrary("phrases.lx", {{"good night", "晚安"}, {"thank you", "谢谢"}});
    f.Create();
    f.Open("phrases.lx");

    f.Type("good");
    f.Space();  // the word goes on with a space: typed, not checked
    QCOMPARE(f.Answer(), QStringLiteral("good "));
    QCOMPARE(f.Comment(), kRight);
    QVERIFY(!f.CommentVisible());
    QVERIFY(!f.WordShown());  // nothing revealed
    f.Type("night");
    f.Enter();
    QCOMPARE(f.Comment(), kRight);
    QVERIFY(f.CommentVisible());

    // Part of the first part, then Space: checked, wrong, and the space is
    // trimmed away again on release.
    f.Space();
    QCOMPARE(f.WordText(), QStringLiteral("thank you"));
    f.Type("th");
    f.Space();
    QCOMPARE(f.Comment(), kWrong);
    QVERIFY(f.WordShown() && f.MeaningShown());
    QCOMPARE(f.Answer(), QStringLiteral("th"));
}

void TestStudyAnswer::keypadAndMainBlockCommands_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<bool>("fromSecond");
    QTest::addColumn<QString>("wordAfter");
    QTest::addColumn<int>("firstWordGrade");
    QTest::addColumn<bool>("revealed");

    const QString neko = "neko", inu = "inu";
    struct Row {
        const char* name;
        Qt::Key key;
        bool keypad;
        bool fromSecond;
        QString wordAfter;
        int grade;
        bool revealed;
    };
    const Row rows[] = {
        {"keypad 2, Num Lock on: next", Qt::Key_2, true, false, inu, 0, false},
        {"keypad 2, Num Lock off: next", Qt::Key_Down, true, false, inu, 0, false},
        {"keypad 5, Num Lock on: next", Qt::Key_5, true, false, inu, 0, false},
        {"keypad 5, Num Lock off: next", Qt::Key_Clear, true, false, inu, 0, false},
        {"Down: next", Qt::Key_Down, false, false, inu, 0, false},
        {"keypad 8, Num Lock on: previous", Qt::Key_8, true, true, neko, 0, false},
        {"keypad 8, Num Lock off: previous", Qt::Key_Up, true, true, neko, 0, false},
        {"keypad 6, Num Lock on: up one grade", Qt::Key_6, true, false, inu, 1, false},
        {"keypad 6, Num Lock off: up one grade", Qt::Key_Right, true, false, inu, 1, false},
        {"]: up one grade", Qt::Key_BracketRight, false, false, inu, 1, false},
        {"keypad 9, Num Lock on: straight to grade 5", Qt::Key_9, true, false, inu, 5, false},
        {"keypad 9, Num Lock off: straight to grade 5", Qt::Key_PageUp, true, false, inu, 5, false},
        {"keypad point, Num Lock off: straight to grade 5", Qt::Key_Delete, true, false, inu, 5, false},
        {"=: straight to grade 5", Qt::Key_Equal, false, false, inu, 5, false},
        {"keypad 4, Num Lock on: down a grade (none below 0)", Qt::Key_4, true, false, neko, 0, false},
        {"[: down a grade (none below 0)", Qt::Key_BracketLeft, false, false, neko, 0, false},
        {"keypad 3, Num Lock on: prompt", Qt::Key_3, true, false, neko, 0, true},
        {"keypad 3, Num Lock off: prompt", Qt::Key_PageDown, true, false, neko, 0, true},
        {"Ctrl: prompt", Qt::Key_Control, false, false, neko, 0, true},
        {"keypad 1, Num Lock on: no command", Qt::Key_1, true, false, neko, 0, false},
        {"keypad 7, Num Lock on: no command", Qt::Key_7, true, false, neko, 0, false},
    };
    for (const Row& r : rows)
        QTest::newRow(r.name) << int(r.key) << r.keypad << r.fromSecond << r.wordAfter << r.grade << r.revealed;
}

void TestStudyAnswer::keypadAndMainBlockCommands() {
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(bool, fromSecond);
    QFETCH(QString, wordAfter);
    QFETCH(int, firstWordGrade);
    QFETCH(bool, revealed);
    StudyFixture f("keys");
    f.manage.readmode = 0;
    f.WriteLibrary("animals.lx", kAnimals);
    TformMain& w = f.Create();
    f.Open("animals.lx");
    if (fromSecond) f.Press(Qt::Key_Down);

    f.Press(Qt::Key(key), keypad ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(f.WordText(), wordAfter);
    QCOMPARE(w.Session().WordLib.Words[0].Grade, firstWordGrade);
    QCOMPARE(f.MeaningShown(), revealed);
    QCOMPARE(f.Answer(), QString());  // the key's character never stays
    QVERIFY(f.AnswerTextVisible());   // and release makes typing visible again
}

void TestStudyAnswer::homeAndEndKeepTheirEditing() {
    StudyFixture f("home_end");
    f.WriteLibrary("animals.lx", kAnimals);
    TformMain& w = f.Create();
    auto* editInput = Child<AnswerEdit>(w, "EditInput");
    f.Open("animals.lx");
    f.Type("nek");
    QTest::keyPress(editInput, Qt::Key_Home);
    QCOMPARE(editInput->cursorPosition(), 0);  // the press keeps its caret move
    QVERIFY(!f.AnswerTextVisible());
    QTest::keyRelease(editInput, Qt::Key_Home);
    QCOMPARE(editInput->cursorPosition(), 3);  // release tidies and goes to the end
    QVERIFY(f.AnswerTextVisible());
    QTest::keyPress(editInput, Qt::Key_Home, Qt::KeypadModifier);  // keypad 7 without Num Lock
    QCOMPARE(editInput->cursorPosition(), 0);
    QTest::keyRelease(editInput, Qt::Key_Home, Qt::KeypadModifier);
    f.Press(Qt::Key_Asterisk, Qt::KeypadModifier);  // keypad * keeps its character
    QCOMPARE(f.Answer(), QStringLiteral("nek*"));
    QTest::keyPress(editInput, Qt::Key_Left);  // an arrow loses its caret move and acts
    QCOMPARE(f.Answer(), QString());
    QCOMPARE(f.WordText(), QStringLiteral("neko"));
}

void TestStudyAnswer::escapeClearsTheBox() {
    StudyFixture f("escape");
    f.WriteLibrary("animals.lx", kAnimals);
    f.Create();
    f.Open("animals.lx");
    f.Type("nek");
    f.Press(Qt::Key_Escape);
    QCOMPARE(f.Answer(), QString());
    QCOMPARE(f.WordText(), QStringLiteral("neko"));
}

void TestStudyAnswer::promptRevealsUntilItsTimerEnds_data() {
    QTest::addColumn<int>("readMode");
    QTest::addColumn<bool>("meaningAfter");
    QTest::addColumn<bool>("wordAfter");
    QTest::newRow("mode 0 hides again") << 0 << false << true;
    QTest::newRow("mode 1 hides again") << 1 << true << false;
    QTest::newRow("mode 2 keeps everything") << 2 << true << true;
    QTest::newRow("mode 3 keeps everything") << 3 << true << true;
}

void TestStudyAnswer::promptRevealsUntilItsTimerEnds() {
    QFETCH(int, readMode);
    QFETCH(bool, meaningAfter);
    QFETCH(bool, wordAfter);
    StudyFixture f("prompt");
    f.manage.readmode = readMode;
    f.manage.memorymode = 1;  // pronounce only on prompt and answer
    f.manage.delaytime = 40;
    f.WriteLibrary("animals.lx", kAnimals);
    f.WriteRecording("neko.wav");
    TformMain& w = f.Create();
    auto* timerPrompt = Child<QTimer>(w, "TimerPrompt");
    f.Open("animals.lx");
    QVERIFY(f.PlayedNames().isEmpty());
    f.Type("ne");
    f.Press(Qt::Key_Control);
    QVERIFY(f.WordShown() && f.ReadingShown() && f.MeaningShown());
    QCOMPARE(f.PlayedNames(), QStringList{"neko.wav"});
    QCOMPARE(f.Answer(), QString());
    QVERIFY(timerPrompt->isActive());
    QCOMPARE(timerPrompt->interval(), 40);
    QTRY_VERIFY_WITH_TIMEOUT(!timerPrompt->isActive(), 2000);
    QCOMPARE(f.MeaningShown(), meaningAfter);
    QCOMPARE(f.WordShown(), wordAfter);
    QVERIFY(!f.CommentVisible());
}

void TestStudyAnswer::readModeThreeNeverChecks() {
    StudyFixture f("mode3");
    f.manage.readmode = 3;
    f.WriteLibrary("animals.lx", kAnimals);
    f.Create();
    f.Open("animals.lx");
    f.Type("neko");
    QVERIFY(!f.WordShown() && f.MeaningShown());  // typing still hides the word
    f.Enter();
    QVERIFY(!f.CommentVisible());
    QVERIFY(f.Player().played.isEmpty());
    QVERIFY(!f.WordShown());
    QCOMPARE(f.Answer(), QStringLiteral("neko"));
}

void TestStudyAnswer::keysWithoutLibraryOnlyResetIdleTime() {
    StudyFixture f("no_library");
    TformMain& w = f.Create();
    w.Session().WordLib.IdleSeconds = 120;
    f.Press(Qt::Key_Down);
    f.Enter();
    QCOMPARE(w.Session().WordLib.IdleSeconds, 0);
    QVERIFY(f.messages.Texts().empty());
}

void TestStudyAnswer::compositionKeysNeitherCheckNorAdvance() {
    StudyFixture f("compose");
    f.manage.readmode = 2;
    f.WriteLibrary("kanji.lx", {{"猫", "猫"}, {"犬", "狗"}});
    TformMain& w = f.Create();
    auto* editInput = Child<AnswerEdit>(w, "EditInput");
    f.Open("kanji.lx");

    QInputMethodEvent preedit(QStringLiteral("ねこ"), {});
    QApplication::sendEvent(editInput, &preedit);
    QVERIFY(editInput->IsComposing());
    QVERIFY(f.MeaningShown() && !f.WordShown());  // composing is typing
    QTest::keyClick(editInput, Qt::Key_Space);    // converts: the input method's key
    QTest::keyClick(editInput, Qt::Key_Return);   // commits: the input method's key
    QVERIFY(!f.CommentVisible());
    QCOMPARE(f.WordText(), QStringLiteral("猫"));

    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("猫"));
    QApplication::sendEvent(editInput, &commit);
    QVERIFY(!editInput->IsComposing());
    QCOMPARE(f.Answer(), QStringLiteral("猫"));
    QVERIFY(!f.CommentVisible());
    QVERIFY(f.AnswerTextVisible());

    f.Enter();  // now the learner's own Enter checks
    QCOMPARE(f.Comment(), kRight);
    QVERIFY(f.CommentVisible());
}

// The end of the previous word's "正 确" display (its one-second timer) can
// arrive at any point while the learner already answers the next word. It
// must never turn the next answer into one that Space skips unjudged.
void TestStudyAnswer::staleRightAnswerNeverSkipsTheNext_data() {
    QTest::addColumn<bool>("throughInputMethod");
    QTest::addColumn<QString>("staleTimerAt");  // before, composing, committed
    QTest::addColumn<bool>("previousWithEnterThenSpace");
    for (bool ime : {true, false})
        for (const char* at : {"before", "composing", "committed"})
            for (bool enterThenSpace : {true, false}) {
                if (!ime && QByteArray(at) == "composing") continue;
                QTest::addRow("%s, timer %s, previous judged with %s", ime ? "input method" : "keys", at,
                              enterThenSpace ? "Enter then Space" : "Space")
                    << ime << QString::fromLatin1(at) << enterThenSpace;
            }
}

void TestStudyAnswer::staleRightAnswerNeverSkipsTheNext() {
    QFETCH(bool, throughInputMethod);
    QFETCH(QString, staleTimerAt);
    QFETCH(bool, previousWithEnterThenSpace);
    StudyFixture f("stale_right");
    f.manage.readmode = 2;
    f.WriteLibrary("kanji.lx", {{"万", "万"}, {"半", "半"}, {"本", "书"}});
    TformMain& w = f.Create();
    auto* editInput = Child<AnswerEdit>(w, "EditInput");
    f.Open("kanji.lx");

    Commit(editInput, QStringLiteral("万"));
    if (previousWithEnterThenSpace) f.Enter();
    f.Space();  // with Enter before: moves on during "正 确"; alone: judges
    if (!previousWithEnterThenSpace) {
        QCOMPARE(f.Comment(), kRight);
        f.Space();
    }
    QCOMPARE(f.WordText(), QStringLiteral("半"));
    // The display of 万 is over: whatever timer is left must do nothing.
    QVERIFY(!Child<QTimer>(w, "TimerComment")->isActive());

    auto staleTimer = [&](const char* at) {
        if (staleTimerAt == QLatin1String(at)) w.TimerCommentTimer();
    };
    staleTimer("before");
    if (throughInputMethod) {
        Compose(editInput, QStringLiteral("はん"));
        staleTimer("composing");
        Commit(editInput, QStringLiteral("半"));
    } else {
        // A keyboard that types the character itself.
        QTest::sendKeyEvent(QTest::Click, editInput, Qt::Key_unknown, QStringLiteral("半"), Qt::NoModifier);
    }
    staleTimer("committed");
    const QString current = f.WordText();
    QCOMPARE(f.Answer(), current);

    f.Space();
    QCOMPARE(f.WordText(), current);  // judged, not skipped
    QCOMPARE(f.Comment(), kRight);
    QVERIFY(f.CommentVisible());
    QVERIFY(Child<QTimer>(w, "TimerComment")->isActive());
    w.TimerCommentTimer();  // its own display ends as ever
    QCOMPARE(f.Comment(), QStringLiteral("Next"));
    f.Space();
    QVERIFY(f.WordText() != current);
}

// Ten answers in a row, each typed through the input method right after the
// previous one moved on and judged with Space, or with Enter then Space,
// while the display timers of earlier answers fire late.
void TestStudyAnswer::quickLearnerHasEveryRightAnswerJudged() {
    StudyFixture f("quick_learner");
    std::vector<FixtureWord> words;
    const QStringList kanji = QStringLiteral("一 二 三 四 五 六 七 八 九 十").split(' ');
    for (const QString& k : kanji) words.push_back({k.toStdString(), k.toStdString()});
    f.WriteLibrary("numbers.lx", words);
    TformMain& w = f.Create();
    f.Open("numbers.lx");
    std::vector<JudgedAnswer> judged;
    QObject::connect(&w, &TformMain::answerJudged, [&](const JudgedAnswer& a) { judged.push_back(a); });

    QStringList seen;
    for (int i = 0; i < kanji.size(); ++i) {
        const QString word = f.WordText();
        seen << word;
        Compose(Child<AnswerEdit>(w, "EditInput"), QStringLiteral("かな"));
        w.TimerCommentTimer();  // the previous answer's display ends meanwhile
        Commit(Child<AnswerEdit>(w, "EditInput"), word);
        if (i % 2) {
            f.Enter();
            f.Space();
        } else {
            f.Space();
            w.TimerCommentTimer();
            f.Space();
        }
    }
    QCOMPARE(judged.size(), size_t(kanji.size()));
    for (size_t i = 0; i < judged.size(); ++i) {
        QVERIFY2(judged[i].right, qPrintable(seen[int(i)]));
        QCOMPARE(QString::fromStdString(Utf8(judged[i].word)), seen[int(i)]);
        QCOMPARE(QString::fromStdString(Utf8(judged[i].typed)), seen[int(i)]);
    }
    seen.sort();
    QStringList all = kanji;
    all.sort();
    QCOMPARE(seen, all);  // no word passed over
}

void TestStudyAnswer::pauseWithinTheRightDisplayKeepsThePause() {
    StudyFixture f("pause_right");
    f.WriteLibrary("animals.lx", kAnimals);
    TformMain& w = f.Create();
    f.Open("animals.lx");
    f.Type("neko");
    f.Enter();
    Child<QPushButton>(w, "ButtonPause")->click();
    w.TimerCommentTimer();
    QCOMPARE(f.Comment(), QStringLiteral("暂停学习"));
    QVERIFY(f.CommentVisible());
}

// Answering right after a prompt: the prompt's end must not hide the word
// again over the judged answer, nor the word itself reappear while typing.
void TestStudyAnswer::promptEndsWhenTheLearnerTypes() {
    StudyFixture f("prompt_then_answer");
    f.manage.readmode = 1;  // the meaning asked; the word hidden
    f.WriteLibrary("animals.lx", kAnimals);
    TformMain& w = f.Create();
    auto* timerPrompt = Child<QTimer>(w, "TimerPrompt");
    f.Open("animals.lx");
    f.Press(Qt::Key_PageDown);
    QVERIFY(timerPrompt->isActive());
    Compose(Child<AnswerEdit>(w, "EditInput"), QStringLiteral("ね"));
    QVERIFY(!timerPrompt->isActive());
    QVERIFY(!f.WordShown());
    Commit(Child<AnswerEdit>(w, "EditInput"), QStringLiteral("neko"));
    f.Enter();
    QCOMPARE(f.Comment(), kRight);
    QVERIFY(f.CommentVisible() && f.WordShown());

    f.Space();
    f.Press(Qt::Key_PageDown);  // and Enter on the empty box straight after
    f.Enter();
    QVERIFY(!timerPrompt->isActive());
    QCOMPARE(f.Comment(), kWrong);
    QVERIFY(f.CommentVisible() && f.WordShown());
}

QTEST_MAIN(TestStudyAnswer)
#include "tst_formmain_answer.moc"
