// The study flow through the window's buttons and keys: next word without a
// library, group and cycle ends, the periodic save, grades, modes, collecting
// a word and the hot key at creation.

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "core/gbktext.h"
#include "core/scrambledfile.h"
#include "support/find_child.h"
#include "support/study_fixture.h"
#include "widgets/answeredit.h"
#include "widgets/radiogroup.h"

namespace {
std::vector<FixtureWord> Words(int n, int grade = 0) {
    std::vector<FixtureWord> words;
    for (int i = 0; i < n; ++i) words.push_back({"w" + std::to_string(i), "词" + std::to_string(i), grade});
    return words;
}

// The plain text of a library file as saved.
std::string SavedText(const StudyFixture& f, const std::string& file) {
    return GbkToUtf8(ReadScrambledFile(f.programFolder / "users" / "user0" / file).value_or(""));
}
}  // namespace

class TestStudyFlow : public QObject {
    Q_OBJECT
private slots:
    void nextWithoutLibrary();
    void missingLastLibraryOpensNothingAndIsSaid();
    void openingShowsTheNameAndSavedPosition();
    void groupEndBySpaceOnEmptyBox();
    void cycleEndSavesAndStartsTheNextCycle();
    void groupEndWithNoLaterGroupEndsTheCycle();
    void groupEndWithEveryWordUpgradedLowersAllGrades_data();
    void groupEndWithEveryWordUpgradedLowersAllGrades();
    void everyWordAtTheTopStudiesOnAtGradeZero_data();
    void everyWordAtTheTopStudiesOnAtGradeZero();
    void everyFiveHundredShownWordsSaves();
    void upGradeAtTheEndOfTheGroupEndsItFirst();
    void choosingAGrade();
    void readModeChangeIsStoredAndShown();
    void memoryModeDecidesAutomaticPronunciation();
    void collectingRefusedInTheFavouritesLibrary_data();
    void collectingRefusedInTheFavouritesLibrary();
    void collectingAddsToTheFavouritesAndSaves();
    void hotKeyRegistration();
    void fullScreenTogglesTheLeftColumn();
};

void TestStudyFlow::nextWithoutLibrary() {
    StudyFixture f("next_empty");
    TformMain& w = f.Create();
    QTest::mouseClick(Child<QPushButton>(w, "ButtonNextWord"), Qt::LeftButton);
    QCOMPARE(f.messages.Texts(), std::vector<std::string>{"请先选择词库"});
    QCOMPARE(Child<QPlainTextEdit>(w, "MemoSentence")->toPlainText(), QStringLiteral("<editor>marrowfen</editor>"));
}

void TestStudyFlow::missingLastLibraryOpensNothingAndIsSaid() {
    StudyFixture f("missing_last");
    TformMain& w = f.Create();
    // A last library that is gone is said; none at all says nothing (the
    // user folder itself is no library).
    f.Open("gone.lx");
    QCOMPARE(f.messages.Texts(),
             std::vector<std::string>{"上次学习的词库“gone”已经不在了（可能是恢复了没有它的备份，或者文件被删除了）。"
                                      "\r\n\r\n请选择要学习的词库。"});
    f.messages.shown.clear();
    f.Open("");
    QVERIFY(f.messages.Texts().empty());
    QCOMPARE(w.Session().WordLib.WordCount, 0);
    QCOMPARE(Child<QLabel>(w, "LabelWordLibName")->text(), QString());
}

void TestStudyFlow::openingShowsTheNameAndSavedPosition() {
    StudyFixture f("open");
    f.WriteLibrary("日语入门.lx", Words(10), 3, 1);
    TformMain& w = f.Create();
    f.Open("日语入门.lx");
    QCOMPARE(Child<QLabel>(w, "LabelWordLibName")->text(), QStringLiteral("日语入门"));
    QCOMPARE(f.WordText(), QStringLiteral("w1"));  // group 1 holds w1, w4, w7
    QCOMPARE(Child<QLabel>(w, "LabelGroup")->text(), QStringLiteral("2 / 3"));
    QCOMPARE(Child<QLabel>(w, "LabelStepNo")->text(), QStringLiteral("1 / 3"));
    QVERIFY(f.Player().played.isEmpty());  // the first word is shown without sound
}

void TestStudyFlow::groupEndBySpaceOnEmptyBox() {
    StudyFixture f("group_end");
    f.WriteLibrary("four.lx", Words(4), 2);  // group 0: w0, w2; group 1: w1, w3
    TformMain& w = f.Create();
    f.Open("four.lx");
    QCOMPARE(f.WordText(), QStringLiteral("w0"));
    f.Press(Qt::Key_Down);
    QCOMPARE(f.WordText(), QStringLiteral("w2"));
    f.Type("w2");
    f.Enter();
    f.Space();  // past the last word: the pass is over, nothing announced yet
    QVERIFY(f.messages.Texts().empty());
    QCOMPARE(f.Answer(), QString());

    f.Space();  // on the empty box: the group ends
    QCOMPARE(f.messages.Texts(), std::vector<std::string>{"祝贺你!完成第1循环第1分组"});
    QCOMPARE(Child<QLabel>(w, "LabelGroup")->text(), QStringLiteral("2 / 2"));
    QCOMPARE(f.WordText(), QStringLiteral("w1"));
    QCOMPARE(f.Answer(), QString());
}

void TestStudyFlow::cycleEndSavesAndStartsTheNextCycle() {
    StudyFixture f("cycle_end");
    f.WriteLibrary("two.lx", Words(2));
    TformMain& w = f.Create();
    f.Open("two.lx");
    QTest::mouseClick(Child<QPushButton>(w, "ButtonNextWord"), Qt::LeftButton);
    QCOMPARE(f.WordText(), QStringLiteral("w1"));
    w.Session().WordLib.ThisLoopTime = 77;
    QTest::mouseClick(Child<QPushButton>(w, "ButtonNextWord"), Qt::LeftButton);
    QCOMPARE(f.messages.Texts(), std::vector<std::string>{"祝贺你!完成本次循环！现在进入第2循环"});
    QCOMPARE(Child<QLabel>(w, "circleno")->text(), QStringLiteral("2"));
    QCOMPARE(w.Session().WordLib.LoopTimes, 2);
    QCOMPARE(w.Session().WordLib.ThisLoopTime, 0);
    const std::string saved = SavedText(f, "two.lx");
    QVERIFY2(saved.find("<lt>2</lt>") != std::string::npos, saved.c_str());
    QVERIFY(saved.find("<tlt>0</tlt>") != std::string::npos);
    QVERIFY(f.WordText() == "w0" || f.WordText() == "w1");  // the reshuffled first group
    QCOMPARE(Child<QLabel>(w, "LabelGroup")->text(), QStringLiteral("1 / 1"));
}

void TestStudyFlow::groupEndWithNoLaterGroupEndsTheCycle() {
    StudyFixture f("group_end_cycle");
    // Group 0: w0, w2 at grade 0; group 1: w1, w3, both already at grade 1.
    f.WriteLibrary("four.lx", {{"w0", "零", 0}, {"w1", "一", 1}, {"w2", "二", 0}, {"w3", "三", 1}}, 2);
    TformMain& w = f.Create();
    f.Open("four.lx");
    w.Session().WordLib.ThisLoopTime = 50;
    f.Press(Qt::Key_Down);
    f.Type("w2");
    f.Enter();
    f.Space();
    f.Space();
    QCOMPARE(f.messages.Texts(),
             (std::vector<std::string>{"祝贺你!完成第1循环第1分组", "祝贺你!完成本次循环！现在进入第2循环"}));
    QCOMPARE(Child<QLabel>(w, "circleno")->text(), QStringLiteral("2"));
    QCOMPARE(w.Session().WordLib.ThisLoopTime, 0);  // the new cycle's clock starts at zero
    const std::string saved = SavedText(f, "four.lx");
    QVERIFY(saved.find("<tlt>0</tlt>") != std::string::npos);
    // The file names the group the new cycle studies, not the one past the
    // last, so it reopens where study goes on.
    QVERIFY(w.Session().WordLib0.GroupIndex == 0 || w.Session().WordLib0.GroupIndex == 1);
    const std::string loaded = "<groupindex>" + std::to_string(w.Session().WordLib0.GroupIndex) + "</groupindex>";
    QVERIFY2(saved.find(loaded) != std::string::npos, saved.c_str());
    QVERIFY(f.WordText() == "w0" || f.WordText() == "w2");
    QCOMPARE(w.Session().WordLib.Words[static_cast<size_t>(w.Session().WordLib.CurrentIndex)].Grade, 0);
}

void TestStudyFlow::groupEndWithEveryWordUpgradedLowersAllGrades_data() {
    QTest::addColumn<int>("baseGrade");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("first time") << 0 << QString::fromUtf8("祝贺你！所有0级单词已经升级完毕！")
                                << QStringList{"10000", "5", "4", "3", "2", "1"};
    QTest::newRow("grades lowered before")
        << 3 << QString::fromUtf8("祝贺你！所有3级单词已经升级完毕！") << QStringList{"10000", "8", "7", "6", "5", "4"};
}

// The message names the level every word has left by the label "级别"
// shows for it; after the grades come down each word keeps the label it had
// and the counts are those of the words now at each grade.
void TestStudyFlow::groupEndWithEveryWordUpgradedLowersAllGrades() {
    QFETCH(int, baseGrade);
    QFETCH(QString, message);
    QFETCH(QStringList, labels);
    StudyFixture f("all_upgraded");
    f.WriteLibrary("two.lx", {{"w0", "零", 0}, {"w1", "一", 5}}, 2);
    TformMain& w = f.Create();
    auto* listBoxGrade = Child<QListWidget>(w, "ListBoxGrade");
    f.Open("two.lx");
    w.Session().WordLib0.BaseGrade = baseGrade;
    w.Session().WordLib0.ShowBaseGrade();
    const QString labelOfGradeOne = listBoxGrade->item(4)->text();
    f.Press(Qt::Key_BracketRight);  // the last grade-0 word goes up
    f.Space();                      // on the empty box at the end of the group
    QCOMPARE(f.messages.Texts(), (std::vector<std::string>{"祝贺你!完成第1循环第1分组", message.toStdString()}));
    QCOMPARE(w.Session().WordLib0.BaseGrade, baseGrade + 1);
    QStringList shown;
    for (int i = 0; i < 6; ++i) shown << listBoxGrade->item(i)->text();
    QCOMPARE(shown, labels);
    QCOMPARE(listBoxGrade->item(5)->text(), labelOfGradeOne);
    QCOMPARE(f.WordText(), QStringLiteral("w0"));
    QVERIFY(f.WordShown());
    // The group holds w0 alone, now at grade 0; w1 of the other group
    // came down from the top grade.
    QStringList counts;
    for (int item = 0; item < 6; ++item) counts << Child<RadioGroup>(w, "GroupGrade")->ItemText(item);
    QCOMPARE(counts, (QStringList{"0", "0", "0", "0", "0", "1"}));
    QCOMPARE(w.Session().WordLib0.Words[1].Grade, 4);
}

void TestStudyFlow::everyWordAtTheTopStudiesOnAtGradeZero_data() {
    QTest::addColumn<int>("groups");
    QTest::addColumn<QStringList>("groupEnds");
    QTest::newRow("one group") << 1 << QStringList{"祝贺你!完成第1循环第1分组"};
    QTest::newRow("two groups") << 2 << QStringList{"祝贺你!完成第1循环第1分组", "祝贺你!完成第1循环第2分组"};
}

// "=" sends every word of the library straight to grade 5. The grades come
// down to grade 0 at once and study goes on there, with one message; no
// step shows a bare number, and the grades reach the file.
void TestStudyFlow::everyWordAtTheTopStudiesOnAtGradeZero() {
    QFETCH(int, groups);
    QFETCH(QStringList, groupEnds);
    StudyFixture f("all_to_top");
    const int count = 3 * groups - (groups - 1);  // 3 words in one group, 4 in two
    f.WriteLibrary("top.lx", Words(count), groups);
    TformMain& w = f.Create();
    f.Open("top.lx");
    // The last "=" of a group ends it unannounced; the "=" after that on an
    // emptied grade 0 moves to the next group.
    for (int press = 0; press < count + groups - 1; ++press) f.Press(Qt::Key_Equal);
    QTest::mouseClick(Child<QPushButton>(w, "ButtonNextWord"), Qt::LeftButton);

    std::vector<std::string> expected;
    for (const QString& end : groupEnds) expected.push_back(end.toStdString());
    expected.push_back("祝贺你！所有0级单词已经升级完毕！");
    QCOMPARE(f.messages.Texts(), expected);
    QCOMPARE(w.Session().WordLib0.BaseGrade, 5);
    QStringList labels;
    for (int i = 0; i < 6; ++i) labels << Child<QListWidget>(w, "ListBoxGrade")->item(i)->text();
    QCOMPARE(labels, (QStringList{"10000", "9", "8", "7", "6", "5"}));
    QCOMPARE(w.Session().WordLib0.CountGradeZeroWords(), count);
    QCOMPARE(w.Session().WordLib.CurrentGrade, 0);
    QVERIFY(w.Session().WordLib.HasCurrentWord());
    QVERIFY(f.WordShown());
    QCOMPARE(w.Session().WordLib0.GroupIndex, 0);
    QCOMPARE(w.Session().WordLib.GroupIndex, 0);
    QCOMPARE(Child<QLabel>(w, "LabelGroup")->text(), QStringLiteral("1 / %1").arg(groups));

    // Studying goes on quietly, and the next save point writes it all.
    const QString first = f.WordText();
    w.Session().WordLib.ShownCount = 499;
    QTest::mouseClick(Child<QPushButton>(w, "ButtonNextWord"), Qt::LeftButton);  // the 500th showing saves
    QVERIFY(f.WordText() != first);
    const std::string saved = SavedText(f, "top.lx");
    QVERIFY2(saved.find("<basegrade>5</basegrade>") != std::string::npos, saved.c_str());
    QVERIFY(saved.find("<g>5</g>") == std::string::npos);
    QCOMPARE(f.messages.Texts().size(), expected.size());
}

void TestStudyFlow::everyFiveHundredShownWordsSaves() {
    StudyFixture f("save500");
    f.WriteLibrary("five.lx", Words(5));
    TformMain& w = f.Create();
    f.Open("five.lx");
    w.Session().WordLib.ShownCount = 498;
    QTest::mouseClick(Child<QPushButton>(w, "ButtonNextWord"), Qt::LeftButton);  // the 499th showing
    QVERIFY(SavedText(f, "five.lx").find("<lw>0</lw>") != std::string::npos);
    QVERIFY(Child<QPlainTextEdit>(w, "MemoSentence")->toPlainText().isEmpty());

    QTest::mouseClick(Child<QPushButton>(w, "ButtonNextWord"), Qt::LeftButton);  // the 500th
    QCOMPARE(w.Session().WordLib.ShownCount, 500);
    const std::string saved = SavedText(f, "five.lx");
    QVERIFY2(saved.find("<lw>2</lw>") != std::string::npos, saved.c_str());
    QVERIFY(saved.find("<e>w1</e><t>1</t>") != std::string::npos);
    QCOMPARE(Child<QPlainTextEdit>(w, "MemoSentence")->toPlainText(), QStringLiteral("<editor>marrowfen</editor>"));
}

void TestStudyFlow::upGradeAtTheEndOfTheGroupEndsItFirst() {
    StudyFixture f("upgrade_end");
    f.WriteLibrary("four.lx", Words(4), 2);
    TformMain& w = f.Create();
    f.Open("four.lx");
    f.Press(Qt::Key_Down);
    f.Type("w2");
    f.Enter();
    f.Space();  // at the end of group 0 now, box empty
    QTest::mouseClick(Child<QPushButton>(w, "ButtonUpGrade"), Qt::LeftButton);
    QCOMPARE(f.messages.Texts(), std::vector<std::string>{"祝贺你!完成第1循环第1分组"});
    // The first word of the new group went up and the next one is shown.
    QCOMPARE(w.Session().WordLib.Words[0].Word, std::string("w1"));
    QCOMPARE(w.Session().WordLib.Words[0].Grade, 1);
    QCOMPARE(f.WordText(), QStringLiteral("w3"));
}

void TestStudyFlow::choosingAGrade() {
    StudyFixture f("grade_pick");
    f.manage.readmode = 0;
    f.WriteLibrary("mixed.lx", {{"a", "甲", 0}, {"b", "乙", 1}, {"c", "丙", 0}, {"d", "丁", 1}});
    TformMain& w = f.Create();
    auto* groupGrade = Child<RadioGroup>(w, "GroupGrade");
    f.Open("mixed.lx");
    QCOMPARE(groupGrade->ItemText(5), QStringLiteral("2"));  // grade 0
    QCOMPARE(groupGrade->ItemText(4), QStringLiteral("2"));  // grade 1

    groupGrade->Item(4)->click();  // grade 1
    QCOMPARE(w.Session().WordLib.CurrentGrade, 1);
    QCOMPARE(f.WordText(), QStringLiteral("b"));
    QVERIFY(f.WordShown());
    f.Press(Qt::Key_Down);
    QCOMPARE(f.WordText(), QStringLiteral("d"));

    groupGrade->Item(0)->click();  // grade 5 has no words: all hidden
    QVERIFY(!f.WordShown() && !f.ReadingShown() && !f.MeaningShown());
    QCOMPARE(w.Session().WordLib.CurrentIndex, 3);

    groupGrade->Item(4)->click();  // back to the word last shown at grade 1
    QCOMPARE(f.WordText(), QStringLiteral("d"));
    QVERIFY(Child<AnswerEdit>(w, "EditInput")->hasFocus());
}

void TestStudyFlow::readModeChangeIsStoredAndShown() {
    StudyFixture f("read_mode");
    f.manage.readmode = 2;
    f.WriteLibrary("two.lx", Words(2));
    TformMain& w = f.Create();
    f.Open("two.lx");
    QVERIFY(f.WordShown() && !f.MeaningShown());
    Child<RadioGroup>(w, "GroupReadMode")->Item(1)->click();
    QCOMPARE(f.manage.readmode, 1);
    QCOMPARE(w.Session().WordLib.ReadMode, 1);
    QVERIFY(!f.WordShown() && !f.ReadingShown() && f.MeaningShown());
    QCOMPARE(Child<AnswerEdit>(w, "EditInput")->cursorPosition(), Child<AnswerEdit>(w, "EditInput")->text().size());

    w.hide();  // a hidden window ignores the groups: that is how creation sets them
    Child<RadioGroup>(w, "GroupReadMode")->Item(3)->click();
    QCOMPARE(f.manage.readmode, 1);
    QCOMPARE(w.Session().WordLib.ReadMode, 1);
}

void TestStudyFlow::memoryModeDecidesAutomaticPronunciation() {
    StudyFixture f("memory_mode");
    f.manage.memorymode = 1;
    f.WriteLibrary("two.lx", Words(2));
    f.WriteRecording("w1.wav");
    f.WriteRecording("w0.wav");
    TformMain& w = f.Create();
    QCOMPARE(Child<RadioGroup>(w, "GroupMemoryMode")->ItemIndex(), 1);
    QVERIFY(!Child<RadioGroup>(w, "GroupMemoryMode")->isVisible());
    f.Open("two.lx");
    f.Press(Qt::Key_Down);
    QVERIFY(f.Player().played.isEmpty());  // recall: silent until asked
    Child<RadioGroup>(w, "GroupMemoryMode")->Item(0)->click();
    QCOMPARE(f.manage.memorymode, 0);
    f.Press(Qt::Key_Up);
    QCOMPARE(f.PlayedNames(), QStringList{"w0.wav"});
}

void TestStudyFlow::collectingRefusedInTheFavouritesLibrary_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("refused");
    QTest::newRow("the favourites library") << "收藏库.lx" << true;
    QTest::newRow("a name that only begins like it") << "收藏库二.lx" << false;
}

void TestStudyFlow::collectingRefusedInTheFavouritesLibrary() {
    QFETCH(QString, file);
    QFETCH(bool, refused);
    StudyFixture f("collect");
    f.WriteLibrary(file.toStdString(), Words(2));
    f.Create();
    f.Open(file.toStdString());
    f.Press(Qt::Key_F12);
    const std::vector<std::string> refusal{"您现在使用的是收藏库！还让我往哪收藏？"};
    QCOMPARE(f.messages.Texts() == refusal, refused);
}

void TestStudyFlow::collectingAddsToTheFavouritesAndSaves() {
    StudyFixture f("collect_add");
    f.WriteLibrary("收藏库.lx", {{"old", "旧"}});
    f.WriteLibrary("two.lx", Words(2));
    TformMain& w = f.Create();
    w.Session().MyWordLib.LoadFavourites(f.gbkUserFolder + Gbk("收藏库.lx"));
    const int position = w.Session().MyWordLib.CurrentIndex;
    f.Open("two.lx");
    f.Press(Qt::Key_Down);
    f.Press(Qt::Key_F12);
    QVERIFY(f.messages.Texts().empty());
    QCOMPARE(w.Session().MyWordLib.Count, 2);
    QCOMPARE(w.Session().MyWordLib.Words[1].Word, std::string("w1"));
    QCOMPARE(w.Session().MyWordLib.CurrentIndex, position);
    QCOMPARE(Child<QLabel>(w, "PanelMyWordLibWordCount")->text(), QStringLiteral("收藏库词数：2"));
    const std::string saved = SavedText(f, "收藏库.lx");
    QVERIFY2(saved.find("<e>w1</e>") != std::string::npos, saved.c_str());
    QVERIFY(saved.find("<c>词1</c>") != std::string::npos);
    QTest::mouseClick(Child<QPushButton>(w, "ButtonMyNewWord"), Qt::LeftButton);  // already there: nothing added
    QCOMPARE(w.Session().MyWordLib.Count, 2);
}

void TestStudyFlow::hotKeyRegistration() {
    {
        StudyFixture f("hotkey_ok");
        f.Create(true);
        QVERIFY(f.plainMessages.empty());
    }
    StudyFixture f("hotkey_taken");
    f.Create(false);
    QCOMPARE(f.plainMessages, std::vector<std::string>{"F9热键注册失败"});
    QVERIFY(f.messages.Texts().empty());  // a plain box, not the program's
}

void TestStudyFlow::fullScreenTogglesTheLeftColumn() {
    StudyFixture f("full_screen");
    f.WriteLibrary("two.lx", Words(2));
    TformMain& w = f.Create();
    auto* panel11 = Child<QFrame>(w, "Panel11");
    f.Open("two.lx");
    QVERIFY(panel11->isVisible());
    f.Press(Qt::Key_F5);
    QVERIFY(!panel11->isVisible());
    QTest::mouseClick(Child<QPushButton>(w, "ButtonFullScreen"), Qt::LeftButton);
    QVERIFY(panel11->isVisible());
}

QTEST_MAIN(TestStudyFlow)
#include "tst_formmain_flow.moc"
