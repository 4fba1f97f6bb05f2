// Keys that reach the answer box other than as plainly typed: what an input
// method commits, Ctrl and its chords, and command keys whose release is
// taken by a message box they open. Driven through the real study window
// with key events and input-method events.

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "core/appmessage.h"
#include "platform/controlchord.h"
#include "support/find_child.h"
#include "support/study_fixture.h"
#include "widgets/answeredit.h"

namespace {
const QString kWrong = QStringLiteral("错 误");
const QString kRight = QStringLiteral("正 确");
const QString kIdeographicSpace = QString(QChar(0x3000));

const std::vector<FixtureWord> kWater = {{"水", "水"}, {"山", "山"}, {"川", "河"}};

// Hardware key codes as an X11 display numbers them, for the chord watcher.
constexpr unsigned kCtrlCode = 37, kSpaceCode = 65;

void Commit(QWidget* box, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
}

void Compose(QWidget* box, const QString& preedit) {
    QInputMethodEvent event(preedit, {});
    QApplication::sendEvent(box, &event);
}

// A study window in read mode 0 on 水, 山, 川 (one group).
TformMain& StartOnWater(StudyFixture& f, int groupCount = 1) {
    f.manage.readmode = 0;
    f.WriteLibrary("water.lx", kWater, groupCount);
    TformMain& w = f.Create();
    f.Open("water.lx");
    return w;
}

// The learner converts and commits a word through the input method.
void CommitWord(QWidget* box, const QString& word) {
    Compose(box, word);
    Commit(box, word);
}
}  // namespace

class TestAnswerKeys : public QObject {
    Q_OBJECT
private slots:
    void blankCommitAfterARightAnswerMovesOn_data();
    void blankCommitAfterARightAnswerMovesOn();
    void blankCommitInsideATwoPartWordTypesOnePlainSpace();
    void blankCommitOnTheEmptyBoxEndsTheGroup();
    void blankCommitIsNotCheckedAsAnAnswer();
    void promptKeysPromptOnPressOrRelease_data();
    void promptKeysPromptOnPressOrRelease();
    void ctrlChordNeverPrompts_data();
    void ctrlChordNeverPrompts();
    void clipboardKeysWorkOnTheAnswer();
    void commandKeyReleasedOnAMessageBoxLeavesNothing_data();
    void commandKeyReleasedOnAMessageBoxLeavesNothing();
};

void TestAnswerKeys::blankCommitAfterARightAnswerMovesOn_data() {
    QTest::addColumn<QString>("blank");
    QTest::addColumn<bool>("afterDisplay");
    QTest::newRow("full-width space during 正 确") << kIdeographicSpace << false;
    QTest::newRow("full-width space after the display") << kIdeographicSpace << true;
    QTest::newRow("plain space after the display") << QStringLiteral(" ") << true;
    QTest::newRow("two full-width spaces") << kIdeographicSpace + kIdeographicSpace << true;
}

// Japanese input methods commit a full-width space for Space when nothing
// is composed: it is the learner's Space, which moves on.
void TestAnswerKeys::blankCommitAfterARightAnswerMovesOn() {
    QFETCH(QString, blank);
    QFETCH(bool, afterDisplay);
    StudyFixture f("blank_commit");
    TformMain& w = StartOnWater(f);
    auto* editInput = Child<AnswerEdit>(w, "EditInput");

    CommitWord(editInput, QStringLiteral("水"));
    f.Enter();
    QCOMPARE(f.Comment(), kRight);
    if (afterDisplay) w.TimerCommentTimer();

    Commit(editInput, blank);
    QCOMPARE(f.WordText(), QStringLiteral("山"));
    QCOMPARE(f.Answer(), QString());
    QVERIFY(!f.CommentVisible());
    QVERIFY(f.AnswerTextVisible());  // its release came with it
    // The key's own release, which the input method passes on afterwards,
    // is no second Space.
    QTest::keyRelease(editInput, Qt::Key_Space);
    QCOMPARE(f.WordText(), QStringLiteral("山"));

    CommitWord(editInput, QStringLiteral("山"));
    f.Enter();
    QCOMPARE(f.Comment(), kRight);
    QVERIFY(f.CommentVisible());
}

void TestAnswerKeys::blankCommitInsideATwoPartWordTypesOnePlainSpace() {
    StudyFixture f("blank_commit_two_part");
    f.WriteLibrary("greetings.lx", {{"おはよう ございます", "早上好"}, {"こんにちは", "你好"}});
    TformMain& w = f.Create();
    auto* editInput = Child<AnswerEdit>(w, "EditInput");
    f.Open("greetings.lx");

    Commit(editInput, QStringLiteral("おはよう"));
    Commit(editInput, kIdeographicSpace);
    QCOMPARE(f.Answer(), QStringLiteral("おはよう "));
    QCOMPARE(f.Comment(), kRight);  // the word goes on here: not checked
    QVERIFY(!f.CommentVisible());
    QVERIFY(!f.WordShown());
    Commit(editInput, QStringLiteral("ございます"));
    f.Enter();
    QCOMPARE(f.Comment(), kRight);
    QVERIFY(f.CommentVisible());
    QCOMPARE(f.WordText(), QStringLiteral("おはよう ございます"));
}

void TestAnswerKeys::blankCommitOnTheEmptyBoxEndsTheGroup() {
    StudyFixture f("blank_commit_group_end");
    TformMain& w = StartOnWater(f, 2);  // group 1: 水 and 川
    auto* editInput = Child<AnswerEdit>(w, "EditInput");
    f.Press(Qt::Key_Down);
    QCOMPARE(f.WordText(), QStringLiteral("川"));
    CommitWord(editInput, QStringLiteral("川"));
    f.Enter();
    Commit(editInput, kIdeographicSpace);  // past the last word
    QVERIFY(f.messages.Texts().empty());
    Commit(editInput, kIdeographicSpace);  // on the empty box: the group is done
    QCOMPARE(f.messages.Texts(), std::vector<std::string>{"祝贺你!完成第1循环第1分组"});
    QCOMPARE(f.WordText(), QStringLiteral("山"));
    QCOMPARE(f.Answer(), QString());
}

// A blank commit is Space, so it checks a wrong answer like Space does,
// and is never part of the text.
void TestAnswerKeys::blankCommitIsNotCheckedAsAnAnswer() {
    StudyFixture f("blank_commit_wrong");
    TformMain& w = StartOnWater(f);
    CommitWord(Child<AnswerEdit>(w, "EditInput"), QStringLiteral("氷"));
    Commit(Child<AnswerEdit>(w, "EditInput"), kIdeographicSpace);
    QCOMPARE(f.Comment(), kWrong);
    QVERIFY(f.WordShown() && f.MeaningShown());  // checked and revealed
    QCOMPARE(f.Answer(), QStringLiteral("氷"));
    QCOMPARE(f.WordText(), QStringLiteral("水"));
}

void TestAnswerKeys::promptKeysPromptOnPressOrRelease_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("onPress");
    QTest::newRow("Ctrl, when released alone") << int(Qt::Key_Control) << false;
    QTest::newRow("Page Down, at once") << int(Qt::Key_PageDown) << true;
}

void TestAnswerKeys::promptKeysPromptOnPressOrRelease() {
    QFETCH(int, key);
    QFETCH(bool, onPress);
    StudyFixture f("prompt_keys");
    TformMain& w = StartOnWater(f);
    f.Type("mi");
    QTest::keyPress(Child<AnswerEdit>(w, "EditInput"), Qt::Key(key));
    QCOMPARE(Child<QTimer>(w, "TimerPrompt")->isActive(), onPress);  // Ctrl may yet be a chord
    QCOMPARE(f.WordShown(), onPress);
    QCOMPARE(f.Answer(), onPress ? QString() : QStringLiteral("mi"));
    QTest::keyRelease(Child<AnswerEdit>(w, "EditInput"), Qt::Key(key));
    QVERIFY(Child<QTimer>(w, "TimerPrompt")->isActive());
    QVERIFY(f.WordShown() && f.ReadingShown() && f.MeaningShown());
    QCOMPARE(f.Answer(), QString());
    QVERIFY(f.AnswerTextVisible());
}

void TestAnswerKeys::ctrlChordNeverPrompts_data() {
    QTest::addColumn<QString>("between");
    QTest::newRow("another key reaches the box") << "key";
    QTest::newRow("the input method takes Space and reports an empty change") << "input method";
    QTest::newRow("the input method takes Space silently") << "display only";
    QTest::newRow("the desktop takes the keyboard") << "keyboard lost";
}

// Ctrl+Space switches an input method on or off: the answer stays and
// nothing is revealed, however little of the chord reaches the box.
void TestAnswerKeys::ctrlChordNeverPrompts() {
    QFETCH(QString, between);
    StudyFixture f("ctrl_chord");
    TformMain& w = StartOnWater(f);
    auto* editInput = Child<AnswerEdit>(w, "EditInput");
    CommitWord(editInput, QStringLiteral("水"));

    ControlChord::KeyPressed(kCtrlCode, false);
    QTest::keyPress(editInput, Qt::Key_Control);
    if (between == "key") {
        QTest::keyClick(editInput, Qt::Key_Shift, Qt::ControlModifier);
    } else if (between == "input method") {
        QInputMethodEvent nothing;
        QApplication::sendEvent(editInput, &nothing);
    } else if (between == "display only") {
        ControlChord::KeyPressed(kCtrlCode, true);  // Ctrl held long: its repeats are no chord
        ControlChord::KeyPressed(kSpaceCode, true);
    } else {
        ControlChord::KeyboardLost();
    }
    QTest::keyRelease(editInput, Qt::Key_Control);
    QTest::keyRelease(editInput, Qt::Key_Space);  // passed on by the input method

    QCOMPARE(f.Answer(), QStringLiteral("水"));
    QVERIFY(!f.WordShown());
    QVERIFY(!Child<QTimer>(w, "TimerPrompt")->isActive());

    // The next Ctrl on its own prompts again.
    ControlChord::KeyPressed(kCtrlCode, false);
    QTest::keyClick(editInput, Qt::Key_Control);
    QCOMPARE(f.Answer(), QString());
    QVERIFY(f.WordShown());
}

void TestAnswerKeys::clipboardKeysWorkOnTheAnswer() {
    StudyFixture f("ctrl_clipboard");
    TformMain& w = StartOnWater(f);
    auto* editInput = Child<AnswerEdit>(w, "EditInput");
    auto chord = [&](Qt::Key key) {
        QTest::keyPress(editInput, Qt::Key_Control);
        QTest::keyClick(editInput, key, Qt::ControlModifier);
        QTest::keyRelease(editInput, Qt::Key_Control, Qt::ControlModifier);
    };
    QApplication::clipboard()->setText(QStringLiteral("水"));
    chord(Qt::Key_V);
    QCOMPARE(f.Answer(), QStringLiteral("水"));
    editInput->selectAll();
    chord(Qt::Key_C);
    editInput->selectAll();
    chord(Qt::Key_X);
    QCOMPARE(f.Answer(), QString());
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("水"));
    chord(Qt::Key_Z);
    QCOMPARE(f.Answer(), QStringLiteral("水"));
    QVERIFY(!Child<QTimer>(w, "TimerPrompt")->isActive());  // none of them prompted
    f.Enter();
    QCOMPARE(f.Comment(), kRight);
}

void TestAnswerKeys::commandKeyReleasedOnAMessageBoxLeavesNothing_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<int>("pressesToTheEnd");  // of the same key, from the last word
    QTest::addColumn<bool>("wordToAnswer");    // "]" raises the next group's first word too
    QTest::newRow("keypad 2") << int(Qt::Key_2) << true << 0 << true;
    QTest::newRow("keypad 5") << int(Qt::Key_5) << true << 0 << true;
    QTest::newRow("Space after the last answer") << int(Qt::Key_Space) << false << 1 << true;
    QTest::newRow("]") << int(Qt::Key_BracketRight) << false << 1 << false;
    QTest::newRow("keypad 6") << int(Qt::Key_6) << true << 1 << false;
    QTest::newRow("= on both words") << int(Qt::Key_Equal) << false << 1 << true;
}

// At the end of a group the key opens the group's message, a window of its
// own that takes the key's release, as the learner lets go while it is up.
// The key's character must not wait in the box for the next answer, which
// would then be judged wrong.
void TestAnswerKeys::commandKeyReleasedOnAMessageBoxLeavesNothing() {
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(int, pressesToTheEnd);
    QFETCH(bool, wordToAnswer);
    const Qt::KeyboardModifiers mods = keypad ? Qt::KeypadModifier : Qt::NoModifier;
    StudyFixture f("command_key_message");
    // Two groups: neko and tori, then inu.
    f.WriteLibrary("three.lx", {{"neko", "猫"}, {"inu", "狗"}, {"tori", "鸟"}}, 2);
    TformMain& w = f.Create();
    f.Open("three.lx");
    if (key == Qt::Key_Equal)
        f.Press(Qt::Key_Equal);  // neko straight to grade 5: tori is the group's last grade-0 word
    else
        f.Press(Qt::Key_Down);
    QCOMPARE(f.WordText(), QStringLiteral("tori"));
    if (key == Qt::Key_Space) {
        f.Type("tori");
        f.Enter();
    }
    for (int i = 0; i < pressesToTheEnd; ++i) f.Press(Qt::Key(key), mods);
    QVERIFY(f.messages.Texts().empty());

    std::vector<std::string> shown;
    const MessageSink recorder = SetMessageSink([&](const std::string& gbk, int) {
        shown.push_back(Utf8(gbk));
        QWidget box;
        auto* ok = new QPushButton(QStringLiteral("OK"), &box);
        box.show();
        box.activateWindow();
        if (!QTest::qWaitForWindowActive(&box)) qWarning("message window not active");
        ok->setFocus();
        QTest::keyRelease(&box, Qt::Key(key), mods);
        return kIdOk;
    });
    QTest::keyPress(Child<AnswerEdit>(w, "EditInput"), Qt::Key(key), mods);
    SetMessageSink(recorder);
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    QCOMPARE(shown, std::vector<std::string>{"祝贺你!完成第1循环第1分组"});
    QCOMPARE(f.Answer(), QString());
    QVERIFY(f.AnswerTextVisible());
    QCOMPARE(QApplication::focusWidget(), Child<AnswerEdit>(w, "EditInput"));
    if (!wordToAnswer) return;
    QCOMPARE(f.WordText(), QStringLiteral("inu"));
    f.Type("inu");
    f.Enter();
    QCOMPARE(f.Comment(), kRight);
}

QTEST_MAIN(TestAnswerKeys)
#include "tst_answeredit.moc"
