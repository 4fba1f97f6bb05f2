// The library selection and grouping dialog, worked through its controls
// from the study window's buttons.

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/backups.h"
#include "core/gbktext.h"
#include "core/scrambledfile.h"
#include "help/formhelp.h"
#include "select/selectwordlib.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"
#include "shell/windowwiring.h"
#include "support/find_child.h"
#include "support/study_fixture.h"
#include "widgets/screentext.h"
#include "widgets/titlebar.h"

namespace fs = std::filesystem;

namespace {

// Words "<prefix>0", "<prefix>1", … at `grade`.
std::vector<FixtureWord> Words(const std::string& prefix, int n, int grade = 0) {
    std::vector<FixtureWord> words = NumberedWords(n);
    for (size_t i = 0; i < words.size(); ++i) {
        words[i].word = prefix + std::to_string(i);
        words[i].grade = grade;
    }
    return words;
}

// A study window beside the other windows, with a library folder
// "wordlib" in its program folder and a logged-in user "user0".
struct SelectSetup {
    explicit SelectSetup(const std::string& name) : f("select_" + name) {
        fs::create_directories(f.programFolder / "wordlib");
        w = &f.Create();
        start = std::make_unique<TformStart>(f.gbkProgramFolder);
        start->UserFolder = f.gbkUserFolder;
        dialog = std::make_unique<TSelectWordLib>();
        std::ofstream(f.programFolder / "start.ini", std::ios::binary)
            << Gbk("<helplist><item>关于帮助向导</item><item>单词分组</item></helplist>\r\n"
                   "<关于帮助向导><step>about</step></关于帮助向导>\r\n<单词分组><step>groups</step></单词分组>\r\n");
        help = std::make_unique<TformHelp>();
        formStart = start.get();
        formMain = w;
        SelectWordLib = dialog.get();
        formHelp = help.get();
        WireHelp(*w, *help, {dialog.get()});
        WireSelection(*w, *dialog, *start);
    }
    ~SelectSetup() {
        formStart = nullptr;
        formMain = nullptr;
        SelectWordLib = nullptr;
        formHelp = nullptr;
    }

    fs::path Source(const std::string& file) const { return f.programFolder / "wordlib" / fs::u8path(file); }
    fs::path UserCopy(const std::string& file) const { return f.programFolder / "users" / "user0" / fs::u8path(file); }

    // A library in the library folder, with the header values given.
    void Library(const std::string& file, const std::vector<FixtureWord>& words, const std::string& editor = "fixture",
                 const std::string& date = "", const std::string& version = "") {
        f.WriteLibrary(file, words);
        fs::rename(UserCopy(file), Source(file));
        std::string text = ReadScrambledFile(Source(file)).value_or("");
        for (auto [tag, value] : {std::pair{"editor", "<editor>" + editor}, std::pair{"date", "<date>" + date},
                                  std::pair{"version", "<version>" + version}}) {
            const std::string old = "<" + std::string(tag) + ">" + (std::string(tag) == "editor" ? "fixture" : "");
            const size_t at = text.find(old);
            QVERIFY(at != std::string::npos);
            text.replace(at, old.size(), Gbk(value));
        }
        QVERIFY(WriteScrambledFile(Source(file), text));
    }

    void OpenChoicePage() {
        w->Session().Clock().start();
        QTest::mouseClick(Child<QPushButton>(w, "ButtonSelectWordLib"), Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->Pages->currentWidget(), dialog->PageChoice);
    }
    void OpenGroupingPage() {
        w->Session().Clock().start();
        QTest::mouseClick(Child<QPushButton>(w, "suiButton2"), Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->Pages->currentWidget(), dialog->PageGroup);
    }
    void Highlight(const std::string& file) {
        const QList<QListWidgetItem*> items = dialog->FileListBox->findItems(U(file.c_str()), Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        const QRect place = dialog->FileListBox->visualItemRect(items.first());
        QTest::mouseClick(dialog->FileListBox->viewport(), Qt::LeftButton, {}, place.center());
        QCOMPARE(dialog->FileListBox->currentItem(), items.first());
    }
    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // The study window is given back: enabled with its clock running.
    bool StudyGivenBack() const { return !dialog->isVisible() && w->isEnabled() && w->Session().Clock().isActive(); }

    std::vector<std::string> LibraryOrder() const {
        std::vector<std::string> order;
        for (int i = 0; i < w->Session().WordLib0.Count; ++i)
            order.push_back(Utf8(w->Session().WordLib0.Words[i].Word));
        return order;
    }
    std::vector<std::string> Texts() const { return f.messages.Texts(); }

    StudyFixture f;
    TformMain* w = nullptr;
    std::unique_ptr<TformStart> start;
    std::unique_ptr<TSelectWordLib> dialog;
    std::unique_ptr<TformHelp> help;
};

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
}

}  // namespace

class TestSelectWordLib : public QObject {
    Q_OBJECT

private slots:
    void choicePageListsTheLibrariesAndHighlightsTheOneUnderStudy() {
        SelectSetup s("list");
        s.Library("b.lx", Words("b", 3), "marrowfen", "2026-01-02", "1.5");
        s.Library("a.lx", Words("a", 3));
        s.Library("收藏库.lx", Words("f", 1));
        std::ofstream(s.f.programFolder / "wordlib" / "notes.txt") << "x";
        fs::create_directories(s.f.programFolder / "wordlib" / "folder.lx");
        s.f.WriteLibrary("b.lx", Words("b", 3));
        s.f.Open("b.lx");
        s.w->SetLibraryName("b");

        s.OpenChoicePage();
        QVERIFY(!s.w->isEnabled());
        QVERIFY(!s.w->Session().Clock().isActive());
        QCOMPARE(Items(s.dialog->FileListBox), (QStringList{"a.lx", "b.lx", "收藏库.lx"}));
        QCOMPARE(s.dialog->FileListBox->currentItem()->text(), QString("b.lx"));
        QCOMPARE(s.dialog->LabelWordLibName->text(), QString("b"));
        QCOMPARE(s.dialog->LabelEditor->text(), U("制作者：lexilark"));
        QCOMPARE(s.dialog->LabelDate->text(), U("制作日期：2026-01-02"));
        QCOMPARE(s.dialog->LabelVersion->text(), U("版本：1.5"));

        // A library the folder does not hold highlights nothing.
        s.Click(s.dialog->suiButton2);
        s.w->SetLibraryName(Gbk("其他"));
        s.OpenChoicePage();
        QVERIFY(s.dialog->FileListBox->selectedItems().isEmpty());
        QCOMPARE(s.dialog->LabelWordLibName->text(), U("词　库："));
    }

    void headerShowsTheAuthor_data() {
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("shown");
        QTest::newRow("program's own") << "marrowfen"
                                       << "制作者：lexilark";
        QTest::newRow("other author") << "山田"
                                      << "制作者：山田";
        QTest::newRow("none") << ""
                              << "制作者：";
        QTest::newRow("near miss") << "Marrowfen"
                                   << "制作者：Marrowfen";
    }
    void headerShowsTheAuthor() {
        QFETCH(QString, editor);
        QFETCH(QString, shown);
        SelectSetup s("author");
        s.Library("lib.lx", Words("w", 2), editor.toStdString(), "d", "v");
        s.OpenChoicePage();
        s.Highlight("lib.lx");
        QCOMPARE(s.dialog->LabelWordLibName->text(), QString("lib"));
        QCOMPARE(s.dialog->LabelEditor->text(), shown);
        QCOMPARE(s.dialog->LabelDate->text(), U("制作日期：d"));
    }

    void previewAndCancelLeaveTheStudyAsItWas() {
        SelectSetup s("cancel");
        s.Library("other.lx", Words("o", 4), "someone");
        s.f.WriteLibrary("lib.lx", Words("w", 4));
        s.f.Open("lib.lx");
        s.w->SetLibraryName("lib");
        const std::string path = s.w->Session().WordLib0.Path;
        const QString word = s.f.WordText();

        s.OpenChoicePage();
        s.Highlight("other.lx");
        QCOMPARE(s.dialog->LabelEditor->text(), U("制作者：someone"));
        s.Click(s.dialog->suiButton2);
        QVERIFY(s.StudyGivenBack());
        QCOMPARE(s.w->Session().WordLib0.Path, path);
        QCOMPARE(s.w->Session().LibraryName(), std::string("lib"));
        QCOMPARE(s.f.WordText(), word);
        QCOMPARE(s.w->Session().WordLib0.Words[0].Word, std::string("w0"));
        QVERIFY(!fs::exists(s.UserCopy("other.lx")));
        QVERIFY(s.Texts().empty());
    }

    void firstOpeningMakesAShuffledCopyThatKeepsItsOrder() {
        SelectSetup s("first");
        s.Library("new.lx", Words("n", 30));
        s.OpenChoicePage();
        s.Highlight("new.lx");
        s.Click(s.dialog->suiButton1);

        QVERIFY(s.StudyGivenBack());
        QVERIFY(fs::exists(s.UserCopy("new.lx")));
        QCOMPARE(s.start->Manage.GetCurrentLibrary(), Gbk("new.lx"));
        QCOMPARE(s.w->Session().LibraryName(), std::string("new"));
        QCOMPARE(s.w->Session().WordLib0.Path, s.f.gbkUserFolder + "new.lx");
        std::vector<std::string> order = s.LibraryOrder();
        std::vector<std::string> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        std::vector<std::string> expected;
        for (const FixtureWord& w : Words("n", 30)) expected.push_back(w.word);
        std::sort(expected.begin(), expected.end());
        QCOMPARE(sorted, expected);
        std::vector<std::string> original;
        for (const FixtureWord& w : Words("n", 30)) original.push_back(w.word);
        QVERIFY(order != original);
        QVERIFY(!s.f.WordText().isEmpty());

        // Opened again: the user's copy as it is, no new order.
        s.OpenChoicePage();
        QCOMPARE(s.dialog->FileListBox->currentItem()->text(), QString("new.lx"));
        s.Click(s.dialog->suiButton1);
        QVERIFY(s.StudyGivenBack());
        QCOMPARE(s.LibraryOrder(), order);
        QVERIFY(s.Texts().empty());
    }

    // The dialog opens the library in the session; the study window, told
    // through the wiring, shows its name and the start window keeps it as
    // the learner's last library, also when the library under study is
    // initialised and so opened afresh.
    void theStudyWindowAndTheLoginKnowTheLibraryOpened_data() {
        QTest::addColumn<bool>("initialise");
        QTest::newRow("chosen") << false;
        QTest::newRow("initialised") << true;
    }
    void theStudyWindowAndTheLoginKnowTheLibraryOpened() {
        QFETCH(bool, initialise);
        SelectSetup s("told");
        s.Library("lib.lx", Words("w", 4));
        s.Library("new.lx", Words("n", 4));
        s.f.WriteLibrary("lib.lx", Words("w", 4, 2));
        s.f.Open("lib.lx");
        s.w->SetLibraryName("lib");
        s.start->Manage.SetCurrentLibrary("");
        QCOMPARE(Child<QLabel>(s.w, "LabelWordLibName")->text(), QString("lib"));

        s.OpenChoicePage();
        if (initialise) {
            s.f.messages.answers.push_back(kIdYes);
            s.Click(s.dialog->suiButton4);
            s.Click(s.dialog->suiButton2);
        } else {
            s.Highlight("new.lx");
            s.Click(s.dialog->suiButton1);
        }
        QVERIFY(s.StudyGivenBack());
        const QString shown = initialise ? "lib" : "new";
        QCOMPARE(Child<QLabel>(s.w, "LabelWordLibName")->text(), shown);
        QCOMPARE(s.start->Manage.GetCurrentLibrary(), (shown + ".lx").toStdString());
    }

    void openingAgainTakesTheUsersCopyWithItsProgress() {
        SelectSetup s("again");
        s.Library("lib.lx", Words("src", 4));
        s.f.WriteLibrary("lib.lx", Words("mine", 4, 2), 2, 1);
        s.OpenChoicePage();
        s.Highlight("lib.lx");
        s.Click(s.dialog->suiButton1);
        QVERIFY(s.StudyGivenBack());
        QCOMPARE(s.LibraryOrder(), (std::vector<std::string>{"mine0", "mine1", "mine2", "mine3"}));
        QCOMPARE(s.w->Session().WordLib0.Words[0].Grade, 2);
        QCOMPARE(s.w->Session().WordLib0.GroupCount, 2);
        QCOMPARE(s.w->Session().WordLib0.GroupIndex, 1);
    }

    // The estimate of the time left is worked out from the speed on the
    // library open; the one before leaves nothing of its own on screen,
    // whether the next is opened for the first time or again.
    void theTimeLeftStartsAfreshWithEachLibrary_data() {
        QTest::addColumn<bool>("opened");
        QTest::newRow("first opening") << false;
        QTest::newRow("the learner's copy") << true;
    }
    void theTimeLeftStartsAfreshWithEachLibrary() {
        QFETCH(bool, opened);
        SelectSetup s("left_time");
        s.Library("other.lx", Words("o", 40));
        if (opened) s.f.WriteLibrary("other.lx", Words("o", 40));
        s.f.WriteLibrary("lib.lx", Words("w", 8));
        s.f.Open("lib.lx");
        s.w->SetLibraryName("lib");
        for (int i = 0; i < 2; ++i) QTest::mouseClick(Child<QPushButton>(s.w, "ButtonNextWord"), Qt::LeftButton);
        for (int i = 0; i < 10; ++i) s.w->TimerTimer();
        const QLabel* leftTime = Child<QLabel>(s.w, "LabelLeftTime");
        QVERIFY(leftTime->text() != "00:00:00");
        const QString before = leftTime->text();

        s.OpenChoicePage();
        s.Highlight("other.lx");
        s.Click(s.dialog->suiButton1);
        QVERIFY(s.StudyGivenBack());
        QCOMPARE(s.w->Session().LibraryName(), std::string("other"));
        QCOMPARE(leftTime->text(), QString("00:00:00"));
        QCOMPARE(Child<QLabel>(s.w, "LabelSpeed")->text(), U("0 词/分"));
        QCOMPARE(Child<QLabel>(s.w, "LabelTotalTime")->text(), QString("00:00:00"));

        // Its first timed words give an estimate of its own: 40 words at
        // the grade, the first on show.
        s.w->Session().WordLib.ShownCount = 1;
        s.w->Session().WordLib.ActiveSeconds = 59;  // 60 after the tick: 1 word a minute
        s.w->TimerTimer();
        QCOMPARE(Child<QLabel>(s.w, "LabelSpeed")->text(), U("1 词/分"));
        QCOMPARE(leftTime->text(), QString("00:40:00"));
        QVERIFY(leftTime->text() != before);
    }

    void aCopyThatCannotBeMadeLeavesEverything() {
        SelectSetup s("nocopy");
        s.Library("new.lx", Words("n", 3));
        s.f.WriteLibrary("lib.lx", Words("w", 3));
        s.f.Open("lib.lx");
        s.w->SetLibraryName("lib");
        s.start->Manage.SetCurrentLibrary("lib.lx");
        s.start->UserFolder = s.f.gbkProgramFolder + "users\\missing\\";

        s.OpenChoicePage();
        s.Highlight("new.lx");
        s.Click(s.dialog->suiButton1);
        QCOMPARE(s.Texts(), std::vector<std::string>{"无法创建词库,请与作者联系"});
        QVERIFY(s.dialog->isVisible());
        QVERIFY(!s.w->isEnabled());
        QCOMPARE(s.w->Session().LibraryName(), std::string("lib"));
        QCOMPARE(s.start->Manage.GetCurrentLibrary(), std::string("lib.lx"));
        QCOMPARE(s.w->Session().WordLib0.Path, s.f.gbkUserFolder + "lib.lx");
    }

    void anUnreadableLibraryIsNotTakenOn_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");  // its beginning
        QTest::newRow("too large") << "big.lx"
                                   << "词库过大，无法加载！";
        QTest::newRow("cut short") << "cut.lx"
                                   << "词库“cut.lx”已损坏，没有打开。";
    }
    void anUnreadableLibraryIsNotTakenOn() {
        QFETCH(QString, file);
        QFETCH(QString, message);
        SelectSetup s("unreadable");
        std::ofstream(s.Source("big.lx"), std::ios::binary) << std::string(600000, 'x');
        QVERIFY(
            WriteScrambledFile(s.Source("cut.lx"), Gbk("<lw>0</lw>\n<e>a</e><t>0</t><c>b</c><g>0</g>\n<e>c</e><t")));
        s.f.WriteLibrary("lib.lx", Words("w", 3));
        s.f.Open("lib.lx");
        s.w->SetLibraryName("lib");
        s.start->Manage.SetCurrentLibrary("lib.lx");

        s.OpenChoicePage();
        s.Highlight(file.toStdString());
        s.f.messages.shown.clear();
        s.Click(s.dialog->suiButton1);
        QCOMPARE(s.Texts().size(), size_t(1));
        QVERIFY2(QString::fromStdString(s.Texts()[0]).startsWith(message), s.Texts()[0].c_str());
        QVERIFY(s.dialog->isVisible());
        QVERIFY(!fs::exists(s.UserCopy(file.toStdString())));
        QCOMPARE(s.w->Session().LibraryName(), std::string("lib"));
        QCOMPARE(s.start->Manage.GetCurrentLibrary(), std::string("lib.lx"));
        QCOMPARE(s.w->Session().WordLib0.Path, s.f.gbkUserFolder + "lib.lx");
        QCOMPARE(s.w->Session().WordLib.Words[0].Word, std::string("w0"));
    }

    void nothingHighlightedIsRefused_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("确 定") << "suiButton1";
        QTest::newRow("初始化") << "suiButton4";
    }
    void nothingHighlightedIsRefused() {
        QFETCH(QString, button);
        SelectSetup s("none");
        s.Library("lib.lx", Words("w", 3));
        s.OpenChoicePage();
        s.Click(s.dialog->findChild<QPushButton*>(button));
        QCOMPARE(s.Texts(), std::vector<std::string>{"请选择一个词库"});
        QVERIFY(s.dialog->isVisible());
        QVERIFY(!fs::exists(s.UserCopy("lib.lx")));
    }

    void initialiseWipesTheUsersCopy_data() {
        QTest::addColumn<bool>("hasCopy");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("wiped");
        QTest::newRow("copy, yes") << true << int(kIdYes) << true;
        QTest::newRow("copy, no") << true << int(kIdNo) << false;
        QTest::newRow("no copy, yes") << false << int(kIdYes) << true;
    }
    void initialiseWipesTheUsersCopy() {
        QFETCH(bool, hasCopy);
        QFETCH(int, answer);
        QFETCH(bool, wiped);
        SelectSetup s("init");
        s.Library("lib.lx", Words("src", 4));
        s.f.WriteLibrary("other.lx", Words("o", 6), 3, 2);
        s.f.Open("other.lx");
        if (hasCopy) s.f.WriteLibrary("lib.lx", Words("mine", 4, 3), 2, 1);

        s.OpenChoicePage();
        s.Highlight("lib.lx");
        s.f.messages.answers.push_back(answer);
        s.Click(s.dialog->suiButton4);
        std::vector<std::string> expected{
            "初始化词库会将词库“lib”的进度取消：您的这份词库连同所有等级和学习时间将被删除，下次打开时从头开始。"
            "\r\n\r\n是否进行此操作？"};
        if (wiped) expected.push_back("初始化成功！");
        QCOMPARE(s.Texts(), expected);
        QCOMPARE(s.f.messages.shown.front().flags, int(kMsgYesNoDefaultNo));
        QVERIFY(s.dialog->isVisible());
        QCOMPARE(fs::exists(s.UserCopy("lib.lx")), hasCopy && !wiped);
        QCOMPARE(s.w->Session().WordLib0.GroupCount, wiped ? 1 : 3);
        QCOMPARE(s.w->Session().WordLib0.GroupIndex, wiped ? 0 : 2);

        // Choosing the library now starts from the library folder's file.
        s.Click(s.dialog->suiButton1);
        QVERIFY(s.StudyGivenBack());
        QCOMPARE(s.w->Session().WordLib0.Words[0].Grade, wiped || !hasCopy ? 0 : 3);
        QCOMPARE(s.w->Session().WordLib0.Words[0].Word.substr(0, 3), std::string(wiped || !hasCopy ? "src" : "min"));
    }

    void initialisingTheLibraryUnderStudyStartsItAfresh() {
        SelectSetup s("init_open");
        s.Library("lib.lx", Words("src", 4));
        s.f.WriteLibrary("lib.lx", Words("mine", 4, 3), 2, 1);
        s.f.Open("lib.lx");
        s.w->SetLibraryName("lib");

        s.OpenChoicePage();
        QCOMPARE(s.dialog->FileListBox->selectedItems().size(), 1);
        s.f.messages.answers.push_back(kIdYes);
        s.Click(s.dialog->suiButton4);
        QCOMPARE(s.Texts(), (std::vector<std::string>{
                                "初始化词库会将词库“lib”的进度取消：您的这份词库连同所有等级和学习时间将被删除，"
                                "下次打开时从头开始。\r\n\r\n是否进行此操作？",
                                "初始化成功！"}));
        QVERIFY(s.dialog->isVisible());
        s.Click(s.dialog->suiButton2);
        QVERIFY(s.StudyGivenBack());

        // The next save keeps the fresh start: none of the old progress comes back.
        s.w->Session().WordLib0.StoreGroup();
        QVERIFY(s.w->Session().WordLib0.SaveWordLib());
        const std::string saved = ReadScrambledFile(s.UserCopy("lib.lx")).value_or("");
        QVERIFY(FindGbk(saved, "<e>src0</e>") != std::string::npos);
        QCOMPARE(FindGbk(saved, "mine"), std::string::npos);
        QCOMPARE(s.w->Session().WordLib0.CountGradeZeroWords(), 4);
        QCOMPARE(s.w->Session().WordLib0.GroupCount, 1);
        QCOMPARE(Child<QLabel>(s.w, "LabelGroup")->text(), QString("1 / 1"));
    }

    void initialiseRefusesTheFavouritesLibrary() {
        SelectSetup s("init_fav");
        s.Library("收藏库.lx", Words("f", 2));
        s.f.WriteLibrary("收藏库.lx", Words("f", 2, 1));
        s.OpenChoicePage();
        s.Highlight("收藏库.lx");
        s.Click(s.dialog->suiButton4);
        QCOMPARE(s.Texts(), std::vector<std::string>{"请到收藏管理中初始化收藏库！"});
        QVERIFY(fs::exists(s.UserCopy("收藏库.lx")));

        // It opens like any other library.
        s.Click(s.dialog->suiButton1);
        QVERIFY(s.StudyGivenBack());
        QCOMPARE(s.w->Session().LibraryName(), Gbk("收藏库"));
    }

    // A library of the learner's own leaves the library folder after a
    // question that names it and says No to a bare Enter; the learner's
    // copy goes with it, backed up first with the rest of their progress.
    void deletingALibraryOfOnesOwn_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(kIdYes);
        QTest::newRow("no") << int(kIdNo);
    }
    void deletingALibraryOfOnesOwn() {
        QFETCH(int, answer);
        SelectSetup s("delete");
        s.Library("mine.lx", Words("m", 4));
        s.Library("other.lx", Words("o", 3));
        s.f.WriteLibrary("mine.lx", Words("m", 4, 2));
        s.f.WriteLibrary("other.lx", Words("o", 3));
        s.f.Open("other.lx");
        s.w->SetLibraryName("other");
        s.start->backupClock = [] { return std::time_t(1765400000); };

        s.OpenChoicePage();
        s.Highlight("mine.lx");
        s.f.messages.answers.push_back(answer);
        s.Click(s.dialog->ButtonDeleteWordLib);
        const bool deleted = answer == kIdYes;
        std::vector<std::string> expected{
            "确定要删除词库“mine”吗？\r\n\r\n词库文件和您在其中的学习进度都将被删除。"
            "删除前会先备份您的学习进度，需要时可在“进度备份”中恢复。"};
        if (deleted) expected.push_back("词库“mine”已删除。");
        QCOMPARE(s.Texts(), expected);
        QCOMPARE(s.f.messages.shown.front().flags, int(kMsgYesNoDefaultNo));
        QCOMPARE(fs::exists(s.Source("mine.lx")), !deleted);
        QCOMPARE(fs::exists(s.UserCopy("mine.lx")), !deleted);
        const std::vector<std::string> backups = ListBackups(s.f.gbkProgramFolder, 0);
        QCOMPARE(backups.size(), size_t(deleted ? 1 : 0));
        QVERIFY(s.dialog->isVisible());
        QCOMPARE(s.w->Session().LibraryName(), Gbk("other"));
        if (!deleted) return;

        const std::vector<BackupLibraryStats> kept = BackupLibraries(s.f.gbkProgramFolder, 0, backups.front());
        const auto mine = std::find_if(kept.begin(), kept.end(), [](const auto& l) { return l.file == "mine.lx"; });
        QVERIFY(mine != kept.end());
        QCOMPARE(mine->aboveZero, 4);
        QCOMPARE(Items(s.dialog->FileListBox), QStringList{"other.lx"});
        QCOMPARE(s.dialog->LabelWordLibName->text(), QString("other"));
        QVERIFY(fs::exists(s.Source("other.lx")));
    }

    // The shipped libraries are everyone's templates, and the library under
    // study would be written back by its next save: neither is deleted.
    void deletingIsRefusedWhereItWouldLoseOrBreakSomething_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("favourites template")
            << "收藏库.lx"
            << "词库“收藏库”是随软件提供的词库，不能删除。\r\n\r\n不想再学它时，选择其他词库即可。";
        QTest::newRow("shipped library")
            << "日语N5词汇.lx"
            << "词库“日语N5词汇”是随软件提供的词库，不能删除。\r\n\r\n不想再学它时，选择其他词库即可。";
        QTest::newRow("under study") << "other.lx"
                                     << "词库“other”正在学习中，不能删除。\r\n\r\n请先选择并打开其他词库，再删除它。";
        QTest::newRow("nothing highlighted") << ""
                                             << "请选择一个词库";
    }
    void deletingIsRefusedWhereItWouldLoseOrBreakSomething() {
        QFETCH(QString, file);
        QFETCH(QString, message);
        SelectSetup s("delete_refused");
        for (const char* name : {"收藏库.lx", "日语N5词汇.lx", "other.lx"}) {
            s.Library(name, Words("w", 2));
            s.f.WriteLibrary(name, Words("w", 2, 1));
        }
        s.f.Open("other.lx");
        s.w->SetLibraryName("other");
        s.OpenChoicePage();
        if (file.isEmpty()) {
            s.dialog->FileListBox->clearSelection();
        } else {
            s.Highlight(file.toStdString());
        }
        s.Click(s.dialog->ButtonDeleteWordLib);
        QCOMPARE(s.Texts(), std::vector<std::string>{message.toStdString()});
        for (const char* name : {"收藏库.lx", "日语N5词汇.lx", "other.lx"}) {
            QVERIFY(fs::exists(s.Source(name)));
            QVERIFY(fs::exists(s.UserCopy(name)));
        }
        QVERIFY(ListBackups(s.f.gbkProgramFolder, 0).empty());
        QCOMPARE(s.dialog->FileListBox->count(), 3);
    }

    void groupingPageShowsTheCountsOfTheLibraryUnderStudy() {
        SelectSetup s("group_counts");
        std::vector<FixtureWord> words = Words("w", 10);
        for (int i : {0, 3, 7}) words[i].grade = 2;
        s.f.WriteLibrary("lib.lx", words, 3, 1);
        s.f.Open("lib.lx");
        s.w->SetLibraryName("lib");

        s.OpenGroupingPage();
        QVERIFY(!s.w->isEnabled());
        QVERIFY(!s.w->Session().Clock().isActive());
        QCOMPARE(s.dialog->SpinEditGroupCount->value(), 3);
        QCOMPARE(s.dialog->LabelGroupIndex->text(), QString("1"));
        QVERIFY(!s.dialog->LabelGroupIndex->isVisible());
        QCOMPARE(s.dialog->LabelWordLibName1->text(), U("词库名称：lib"));
        QCOMPARE(s.dialog->LabelWordCount->text(), U("总单词数：10"));
        QCOMPARE(s.dialog->LabeWordCountGrade0->text(), QString("7"));
        QCOMPARE(s.dialog->LabelGroupWordCount->text(), U("每组单词数约：2"));

        s.dialog->SpinEditGroupCount->setValue(2);
        QCOMPARE(s.dialog->LabelGroupWordCount->text(), U("每组单词数约：3"));
        s.Click(s.dialog->suiButton6);
        QVERIFY(s.StudyGivenBack());
        QCOMPARE(s.w->Session().WordLib0.GroupCount, 3);
        QCOMPARE(s.w->Session().WordLib0.GroupIndex, 1);
        QVERIFY(s.Texts().empty());
    }

    void upToTwoHundredGroupsAndNeverMoreThanTheWords_data() {
        QTest::addColumn<int>("words");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("groups");
        QTest::addColumn<int>("messages");  // "分组数过大！"
        QTest::newRow("200 of 300 words") << 300 << "200" << 200 << 0;
        QTest::newRow("no more than 200") << 300 << "999" << 99 << 0;  // the box takes no fourth digit
        QTest::newRow("more than the words") << 150 << "200" << 150 << 1;
        QTest::newRow("far more than the words") << 3 << "200" << 3 << 1;
    }

    // The words per group follow the count as it is typed, before Enter.
    void wordsPerGroupFollowTheTypedCount() {
        SelectSetup s("group_typing");
        s.f.WriteLibrary("lib.lx", Words("w", 120), 1, 0);
        s.f.Open("lib.lx");
        s.OpenGroupingPage();
        QSpinBox* box = s.dialog->SpinEditGroupCount;
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_4);
        QCOMPARE(s.dialog->LabelGroupWordCount->text(), U("每组单词数约：30"));
        QTest::keyClick(box, Qt::Key_0);
        QCOMPARE(s.dialog->LabelGroupWordCount->text(), U("每组单词数约：3"));
        QCOMPARE(box->value(), 1);  // not taken yet
        QVERIFY(s.Texts().empty());
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->value(), 40);
        QCOMPARE(s.dialog->LabelGroupWordCount->text(), U("每组单词数约：3"));
    }

    void upToTwoHundredGroupsAndNeverMoreThanTheWords() {
        QFETCH(int, words);
        QFETCH(QString, typed);
        QFETCH(int, groups);
        QFETCH(int, messages);
        SelectSetup s("group_most");
        s.f.WriteLibrary("lib.lx", Words("w", words), 1, 0);
        s.f.Open("lib.lx");
        s.OpenGroupingPage();
        QSpinBox* box = s.dialog->SpinEditGroupCount;
        QCOMPARE(box->maximum(), 200);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->value(), groups);
        QCOMPARE(s.Texts(), (std::vector<std::string>(messages, "分组数过大！")));
        s.Click(s.dialog->suiButton7);
        QVERIFY(s.StudyGivenBack());
        QCOMPARE(s.w->Session().WordLib0.GroupCount, groups);
        QCOMPARE(Child<QLabel>(s.w, "LabelGroup")->text(), QString("1 / %1").arg(groups));
    }

    void aCountAboveTheWordsGoesDownToTheWordsWithOneMessage() {
        SelectSetup s("group_step");
        s.f.WriteLibrary("lib.lx", Words("w", 5), 1, 0);
        s.f.Open("lib.lx");
        s.OpenGroupingPage();

        QSpinBox* box = s.dialog->SpinEditGroupCount;
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "8");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->value(), 5);
        QCOMPARE(s.Texts(), (std::vector<std::string>(1, "分组数过大！")));

        s.Click(s.dialog->suiButton7);
        QVERIFY(s.StudyGivenBack());
        QCOMPARE(s.w->Session().WordLib0.GroupCount, 5);
        QCOMPARE(s.w->Session().WordLib0.GroupIndex, 0);
        QCOMPARE(s.w->Session().WordLib.WordCount, 1);
        QCOMPARE(s.w->Session().WordLib.Words[0].Word, std::string("w0"));
        QCOMPARE(Child<QLabel>(s.w, "LabelGroup")->text(), QString("1 / 5"));
        QCOMPARE(s.f.WordText(), QString("w0"));
    }

    void applyingAGroupingRestartsAtTheFirstGroupKeepingTheGrades() {
        SelectSetup s("group_apply");
        s.f.WriteLibrary("lib.lx", Words("w", 10), 2, 1);
        s.f.Open("lib.lx");
        // The learner promotes the current word of group 2 (w1).
        QCOMPARE(s.f.WordText(), QString("w1"));
        QTest::mouseClick(Child<QPushButton>(s.w, "ButtonUpGrade"), Qt::LeftButton);

        s.OpenGroupingPage();
        QCOMPARE(s.dialog->LabeWordCountGrade0->text(), QString("9"));
        // A number typed and not yet confirmed counts when "确 定" is pressed.
        QSpinBox* box = s.dialog->SpinEditGroupCount;
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "4");
        s.Click(s.dialog->suiButton7);

        QVERIFY(s.StudyGivenBack());
        QCOMPARE(s.w->Session().WordLib0.GroupCount, 4);
        QCOMPARE(s.w->Session().WordLib0.GroupIndex, 0);
        QCOMPARE(s.w->Session().WordLib.GroupCount, 4);
        QCOMPARE(s.w->Session().WordLib.GroupIndex, 0);
        QCOMPARE(s.w->Session().WordLib.WordCount, 3);  // w0, w4, w8
        QCOMPARE(s.w->Session().WordLib.Words[1].Word, std::string("w4"));
        QCOMPARE(Child<QLabel>(s.w, "LabelGroup")->text(), QString("1 / 4"));
        QCOMPARE(s.w->Session().WordLib0.Words[1].Grade, 1);

        // Saved, the grouping and the grade are in the file.
        s.w->Session().WordLib0.StoreGroup();
        QVERIFY(s.w->Session().WordLib0.SaveWordLib());
        const std::string saved = ReadScrambledFile(s.UserCopy("lib.lx")).value_or("");
        QVERIFY(FindGbk(saved, "<groupcount>4</groupcount>") != std::string::npos);
        QVERIFY(FindGbk(saved, "<e>w1</e>") != std::string::npos);
        QCOMPARE(s.w->Session().WordLib0.CountGradeZeroWords(), 9);
    }

    void groupingIsRefusedWhereItCannotApply_data() {
        QTest::addColumn<int>("words");
        QTest::addColumn<QString>("groupIndex");
        QTest::addColumn<QString>("message");
        QTest::newRow("group number above the count") << 6 << "3"
                                                      << "当前分组序号不能大于分组总数，请改正！";
        QTest::newRow("no library") << 0 << ""
                                    << "分组数过大！";
    }
    void groupingIsRefusedWhereItCannotApply() {
        QFETCH(int, words);
        QFETCH(QString, groupIndex);
        QFETCH(QString, message);
        SelectSetup s("group_refused");
        if (words > 0) {
            s.f.WriteLibrary("lib.lx", Words("w", words), 2, 0);
            s.f.Open("lib.lx");
        }
        s.OpenGroupingPage();
        if (!groupIndex.isEmpty()) s.dialog->LabelGroupIndex->setText(groupIndex);
        s.f.messages.shown.clear();
        const int groupCount = s.w->Session().WordLib0.GroupCount;
        s.Click(s.dialog->suiButton7);
        QCOMPARE(s.Texts(), std::vector<std::string>{message.toStdString()});
        QVERIFY(s.dialog->isVisible());
        QVERIFY(!s.w->isEnabled());
        QCOMPARE(s.w->Session().WordLib0.GroupCount, groupCount);
    }

    void helpLeavesTheDialogOpen() {
        SelectSetup s("help");
        s.f.WriteLibrary("lib.lx", Words("w", 4));
        s.f.Open("lib.lx");
        s.OpenGroupingPage();
        Child<QTimer>(s.w, "TimerSetFocus")->start();
        s.Click(s.dialog->suiButton5);
        QVERIFY(s.help->isVisible());
        QCOMPARE(s.help->memoHelp->toPlainText(), QString("groups"));
        QVERIFY(s.dialog->isVisible());
        QVERIFY(!s.w->Session().Clock().isActive());
        QVERIFY(!Child<QTimer>(s.w, "TimerSetFocus")->isActive());

        // The dialog outlasts the guide and still gives the study window back.
        s.help->close();
        QVERIFY(s.dialog->isVisible());
        QVERIFY(!s.w->isEnabled());
        s.Click(s.dialog->suiButton6);
        QVERIFY(s.StudyGivenBack());
    }

    void dialogStandsCentredOnTopAndRefusesItsTitleBar() {
        SelectSetup s("close");
        s.OpenChoicePage();
        QVERIFY(s.dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(s.dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(s.dialog->titleBar->caption(), U(" 澜悦系列软件>>澜悦单词 "));
        const QPoint off = s.dialog->frameGeometry().center() - s.dialog->screen()->geometry().center();
        QVERIFY2(off.manhattanLength() <= 2, "not centred on the screen");
        QTest::mouseClick(s.dialog->titleBar->closeButton(), Qt::LeftButton);
        QVERIFY(s.dialog->isVisible());
        QVERIFY(!s.dialog->close());
        QVERIFY(s.dialog->isVisible());
        QVERIFY(!s.w->isEnabled());
    }
};

QTEST_MAIN(TestSelectWordLib)
#include "tst_selectwordlib.moc"
