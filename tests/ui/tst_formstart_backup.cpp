// "进度备份" on the start window: the password asked before a user's backups
// are shown, the list with each library's figures, "立即备份", "恢复" with
// its question, and the backup a login makes once a day, through to
// studying on from a restored backup.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "core/appmessage.h"
#include "core/backups.h"
#include "core/gbktext.h"
#include "core/libraryformat.h"
#include "core/scrambledfile.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"
#include "support/find_child.h"
#include "support/local_time.h"
#include "support/login_windows.h"
#include "widgets/answeredit.h"
#include "widgets/screentext.h"

namespace fs = std::filesystem;

namespace {

// The start and study windows with a clock the test sets.
struct BackupWindows : LoginWindows {
    explicit BackupWindows(const std::string& name, Windows windows = Windows::StartAndStudy)
        : LoginWindows("backup_" + name, windows) {
        start->backupClock = [this] { return now; };
    }

    std::vector<std::string> Backups(int slot) const { return ListBackups(f.gbkProgramFolder, slot); }

    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // "进度备份", the user picked and the password typed with Enter.
    void OpenBackups(int row, const char* password) {
        Click(start->suiButton3);
        QCOMPARE(start->FrontPanel(), start->PanelBackupLogon);
        start->ComboBackupUser->setCurrentIndex(row);
        QTest::keyClicks(start->EditBackupPassword, U(password));
        QTest::keyClick(start->EditBackupPassword, Qt::Key_Return);
    }
    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < start->ListBackupList->count(); ++i) rows << start->ListBackupList->item(i)->text();
        return rows;
    }
    QString Info() const { return start->MemoBackupInfo->toPlainText(); }

    std::time_t now = LocalTime(2026, 12, 10, 9, 30);
};

}  // namespace

class TestBackup : public QObject {
    Q_OBJECT

private slots:
    void anotherUsersBackupsNeedTheirPassword() {
        BackupWindows w("password");
        w.User(0, "管理员", "adm");
        w.User(1, "u1", "Pw");
        w.Library(1, "日语入门词汇.lx", 4, 2);
        QVERIFY(MakeBackup(w.f.gbkProgramFolder, 1, w.now).ok);
        QVERIFY(w.start->suiButton3->isVisible());
        QVERIFY(w.start->suiButton3->isEnabled());

        w.OpenBackups(1, "pw");
        QCOMPARE(w.f.messages.Texts(), std::vector<std::string>{"密码不正确"});
        QCOMPARE(w.start->FrontPanel(), w.start->PanelBackupLogon);
        QCOMPARE(w.start->BackupSlot(), -1);
        QCOMPARE(w.start->ListBackupList->count(), 0);

        // The administrator's password opens only the administrator's.
        w.start->ComboBackupUser->setCurrentIndex(0);
        w.start->EditBackupPassword->clear();
        QTest::keyClicks(w.start->EditBackupPassword, U("adm"));
        QTest::mouseClick(w.start->ButtonBackupLogon, Qt::LeftButton);
        QCOMPARE(w.start->FrontPanel(), w.start->PanelBackup);
        QCOMPARE(w.start->LabelBackupUser->text(), U("进度备份：管理员"));
        QCOMPARE(w.start->ListBackupList->count(), 0);
        QVERIFY(w.Info().startsWith(U("还没有备份")));

        w.Click(w.start->ButtonBackupReturn);
        QCOMPARE(w.start->FrontPanel(), w.start->PanelStart);
        w.OpenBackups(1, "Pw");
        QCOMPARE(w.start->LabelBackupUser->text(), U("进度备份：u1"));
        QCOMPARE(w.Rows(), QStringList{U("2026-12-10 09:30:00")});
        QCOMPARE(w.Info(), U("日语入门词汇：学过 2 词，0级以上 2 词（共 4 词）"));
        // Nothing of the password stays on screen, and the user index is
        // only a login's to change.
        QVERIFY(w.start->EditBackupPassword->text().isEmpty());
        QCOMPARE(w.start->Manage.GetUserIndex(), 0);
        QCOMPARE(w.f.messages.Texts().size(), size_t{1});
    }

    void backupNowListsItFirstWithEachLibrary() {
        BackupWindows w("now");
        w.User(0, "管理员", "");
        w.Library(0, "a.lx", 3, 1);
        QVERIFY(MakeBackup(w.f.gbkProgramFolder, 0, w.now).ok);
        w.Library(0, "b.lx", 5, 3);
        QVERIFY(WriteScrambledFile(w.UserDir(0) / "收藏库.lx", Gbk("<editor>x</editor>\n")));

        // A lone administrator without a password is not asked.
        w.Click(w.start->suiButton3);
        QCOMPARE(w.start->FrontPanel(), w.start->PanelBackup);
        w.now += 3600;
        w.Click(w.start->ButtonBackupNow);
        QVERIFY(w.f.messages.Texts().empty());
        QCOMPARE(w.Rows(), (QStringList{U("2026-12-10 10:30:00"), U("2026-12-10 09:30:00")}));
        QCOMPARE(w.start->ListBackupList->currentRow(), 0);
        QCOMPARE(w.Info(), U("a：学过 1 词，0级以上 1 词（共 3 词）\n"
                             "b：学过 3 词，0级以上 3 词（共 5 词）\n"
                             "收藏库：学过 0 词，0级以上 0 词（共 0 词）"));
        w.start->ListBackupList->setCurrentRow(1);
        QCOMPARE(w.Info(), U("a：学过 1 词，0级以上 1 词（共 3 词）"));
        QVERIFY(!fs::exists(w.f.programFolder / "backups" / "user0" / w.Backups(0)[0] / "init.ini"));
    }

    void backupNowWithNothingToKeepSaysSo() {
        BackupWindows w("empty");
        w.User(0, "管理员", "");
        w.Click(w.start->suiButton3);
        w.Click(w.start->ButtonBackupNow);
        QCOMPARE(w.f.messages.Texts(),
                 std::vector<std::string>{"这个用户的文件夹里还没有词库和收藏库，没有可备份的进度"});
        QCOMPARE(w.start->ListBackupList->count(), 0);
    }

    void restoreAsksNamingTheBackupAndKeepsTheCurrentState() {
        BackupWindows w("restore");
        w.User(0, "管理员", "");
        w.Library(0, "a.lx", 3, 1);
        const std::string taken = TempReadBytes(w.UserDir(0) / "a.lx");
        QVERIFY(MakeBackup(w.f.gbkProgramFolder, 0, w.now).ok);
        w.Library(0, "a.lx", 3, 3);
        const std::string current = TempReadBytes(w.UserDir(0) / "a.lx");
        w.now += 60;

        w.Click(w.start->suiButton3);
        w.f.messages.answers = {kIdNo};
        w.Click(w.start->ButtonRestore);
        const std::string question =
            "确定要把用户“管理员”的词库和收藏库恢复到 2026-12-10 09:30:00 的备份吗？"
            "现在的词库、学习进度和收藏库将被备份里的代替。\r\n\r\n"
            "恢复前会先把现在的进度另做一个备份。";
        QCOMPARE(w.f.messages.Texts(), std::vector<std::string>{question});
        QCOMPARE(w.f.messages.shown[0].flags, kMsgYesNoDefaultNo);
        QCOMPARE(TempReadBytes(w.UserDir(0) / "a.lx"), current);
        QCOMPARE(w.Rows().size(), qsizetype{1});

        w.f.messages.answers = {kIdYes};
        w.Click(w.start->ButtonRestore);
        QCOMPARE(w.f.messages.Texts().size(), size_t{3});
        QCOMPARE(w.f.messages.Texts()[2],
                 std::string("已恢复到 2026-12-10 09:30:00 的进度，下次登录时从这里接着背单词。"));
        QCOMPARE(TempReadBytes(w.UserDir(0) / "a.lx"), taken);
        // The replaced state is the newest backup; the restored one stays picked.
        QCOMPARE(w.Rows(), (QStringList{U("2026-12-10 09:31:00"), U("2026-12-10 09:30:00")}));
        QCOMPARE(w.start->ListBackupList->currentRow(), 1);
        QCOMPARE(TempReadBytes(w.f.programFolder / "backups" / "user0" / w.Backups(0)[0] / "a.lx"), current);
    }

    void restoreWithoutAPickedBackupIsRefused() {
        BackupWindows w("nopick");
        w.User(0, "管理员", "");
        w.Click(w.start->suiButton3);
        w.Click(w.start->ButtonRestore);
        QCOMPARE(w.f.messages.Texts(), std::vector<std::string>{"请选择一个要恢复的备份"});
    }

    void loginBacksUpOnceADayAndStudiesOnFromARestoredBackup() {
        BackupWindows w("login");
        w.User(0, "管理员", "", "lib.lx");
        w.Library(0, "lib.lx", 4);
        w.Click(w.start->suiButton1);
        QVERIFY(w.study->isVisible());
        AnswerEdit* answer = Child<AnswerEdit>(w.study, "EditInput");
        QPushButton* leave = Child<QPushButton>(w.study, "ButtonReturn");
        QCOMPARE(w.Backups(0).size(), size_t{1});
        QTest::keyClick(answer, Qt::Key_Space);
        QTest::keyClick(answer, Qt::Key_Space);
        w.Click(leave);

        // The same day: no second backup. The next day: the studied state.
        w.now += 3600;
        w.Click(w.start->suiButton1);
        w.Click(leave);
        QCOMPARE(w.Backups(0).size(), size_t{1});
        w.now += 24 * 3600;
        w.Click(w.start->suiButton1);
        QCOMPARE(w.Backups(0).size(), size_t{2});
        const std::string backedUp = TempReadBytes(w.UserDir(0) / "lib.lx");
        QStringList shownAtBackup{Child<QLabel>(w.study, "PanelE")->text()};
        QTest::keyClick(answer, Qt::Key_Space);
        QTest::keyClick(answer, Qt::Key_Space);
        w.Click(leave);
        QVERIFY(TempReadBytes(w.UserDir(0) / "lib.lx") != backedUp);

        // The files are lost; the newest backup is restored.
        for (const auto& entry : fs::directory_iterator(w.UserDir(0))) fs::remove(entry.path());
        w.Click(w.start->suiButton3);
        QCOMPARE(w.start->ListBackupList->currentRow(), 0);
        w.f.messages.answers = {kIdYes};
        w.Click(w.start->ButtonRestore);
        QCOMPARE(TempReadBytes(w.UserDir(0) / "lib.lx"), backedUp);
        QCOMPARE(w.Backups(0).size(), size_t{2});  // nothing was left to keep
        w.Click(w.start->ButtonBackupReturn);

        // Study goes on where the backup was taken.
        w.Click(w.start->suiButton1);
        QVERIFY(w.study->isVisible());
        QCOMPARE(w.study->Session().WordLib0.Count, 4);
        QCOMPARE(Child<QLabel>(w.study, "PanelE")->text(), shownAtBackup[0]);
        LibraryFileValues values;
        std::vector<WordList> words;
        ParseLibraryLines(SplitLibraryLines(*ReadScrambledFile(w.UserDir(0) / "lib.lx")), values, words);
        for (int i = 0; i < 4; ++i) QCOMPARE(w.study->Session().WordLib0.Words[i].StudyTimes, words[i].StudyTimes);
    }

    // The backup predates the library the learner studies now: the question
    // says it goes, and the next login says it is gone and asks for a
    // library, with no counter or clock of the library before left on screen.
    void restoreThatTakesTheStudiedLibraryAwaySaysSoAndTheLoginAsksForOne() {
        BackupWindows w("takes_away", LoginWindows::Windows::WholeSet);
        w.User(0, "管理员", "", "old.lx");
        w.Library(0, "old.lx", 3, 1);
        QVERIFY(MakeBackup(w.f.gbkProgramFolder, 0, w.now).ok);
        w.Library(0, "new.lx", 6, 2);
        w.start->Manage.SetCurrentLibrary("new.lx");
        w.start->Manage.lastwordlib[0] = "new.lx";
        w.now += 60;

        // Studied a while: counters and clocks of new.lx on screen.
        w.Click(w.start->suiButton1);
        QCOMPARE(w.study->Session().LibraryName(), std::string("new"));
        for (int i = 0; i < 30; ++i) w.study->TimerTimer();
        QTest::keyClick(Child<AnswerEdit>(w.study, "EditInput"), Qt::Key_Space);
        w.Click(Child<QPushButton>(w.study, "ButtonReturn"));

        w.Click(w.start->suiButton3);
        w.f.messages.answers = {kIdYes};
        w.f.messages.shown.clear();
        w.Click(w.start->ButtonRestore);
        QVERIFY(QString::fromStdString(w.f.messages.Texts().at(0))
                    .endsWith(U("注意：这个备份里没有正在学习的词库“new”，恢复后它将不在了（恢复前做的备份里还有它），"
                                "下次登录时要重新选择词库。")));
        QVERIFY(!fs::exists(w.UserDir(0) / "new.lx"));
        w.Click(w.start->ButtonBackupReturn);

        w.f.messages.shown.clear();
        w.Click(w.start->suiButton1);
        QVERIFY(w.study->isVisible());
        QCOMPARE(w.f.messages.Texts().at(0),
                 std::string("上次学习的词库“new”已经不在了（可能是恢复了没有它的备份，或者文件被删除了）。\r\n\r\n"
                             "请选择要学习的词库。"));
        w.ExpectNoLibraryShown();
        // The choice of a library follows once the login is done.
        QTRY_VERIFY(SelectWordLib->isVisible());
        SelectWordLib->hide();
        w.Click(Child<QPushButton>(w.study, "ButtonReturn"));
    }

    void aFailedAutomaticBackupSaysSoOnceAndTheLoginGoesOn() {
        BackupWindows w("fails");
        w.User(0, "管理员", "", "lib.lx");
        w.Library(0, "lib.lx", 3);
        fs::create_directories(w.f.programFolder / "backups");
        TempWriteBytes(w.f.programFolder / "backups" / "user0", "a file where the folder belongs");

        w.Click(w.start->suiButton1);
        QCOMPARE(w.f.messages.Texts().size(), size_t{1});
        QVERIFY(QString::fromStdString(w.f.messages.Texts()[0]).startsWith(U("自动备份学习进度没有成功：")));
        QVERIFY(QString::fromStdString(w.f.messages.Texts()[0]).endsWith(U("这不影响背单词，下次登录时会再试。")));
        QVERIFY(w.study->isVisible());
        QCOMPARE(w.study->Session().WordLib0.Count, 3);
    }

private:
    static std::string TempReadBytes(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void TempWriteBytes(const fs::path& p, const std::string& bytes) {
        std::ofstream out(p, std::ios::binary);
        out << bytes;
    }
};

QTEST_MAIN(TestBackup)
#include "tst_formstart_backup.moc"
