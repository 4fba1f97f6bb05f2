// The start window's user-management panel: its controls, every refusal in
// its check order, deleting with the later users moving down, and "返回"
// writing the user table to init.ini.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/programfolder.h"
#include "core/scrambledfile.h"
#include "core/tagtext.h"
#include "core/usermoves.h"
#include "core/usertable.h"
#include "shell/formstart.h"
#include "support/message_recorder.h"
#include "widgets/screentext.h"

namespace {

// A start window on a program folder of its own.
struct StartWindow {
    QTemporaryDir dir;
    std::string folder = FromNativePath(std::filesystem::path(dir.path().toStdString())) + "/";
    TformStart form{folder};
    MessageRecorder messages;

    StartWindow() { SetProgramFolder(folder); }
    ~StartWindow() { SetProgramFolder(""); }

    std::filesystem::path Ini() const { return std::filesystem::path(dir.path().toStdString()) / "init.ini"; }

    void OpenManagement() {
        form.show();
        QTest::mouseClick(form.suiButton2, Qt::LeftButton);
    }
    void Type(const char* name, const char* pw1, const char* pw2) {
        form.EditUserName->setText(U(name));
        form.EditPassword1->setText(U(pw1));
        form.EditPassword2->setText(U(pw2));
    }
    void Press(QPushButton* button) {
        messages.shown.clear();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Types into the three boxes, presses `button` and gives the messages.
    QStringList Try(QPushButton* button, const char* name, const char* pw1, const char* pw2) {
        Type(name, pw1, pw2);
        Press(button);
        return Shown();
    }
    void Add(const char* name, const char* pw = "") {
        Type(name, pw, pw);
        Press(form.suiButton9);
    }
    void Select(int row) { QTest::mouseClick(form.ListUserList->viewport(), Qt::LeftButton, {}, RowCentre(row)); }
    QPoint RowCentre(int row) const { return form.ListUserList->visualItemRect(form.ListUserList->item(row)).center(); }
    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < form.ListUserList->count(); ++i) rows << form.ListUserList->item(i)->text();
        return rows;
    }
    QStringList Shown() const {
        QStringList texts;
        for (const auto& t : messages.Texts()) texts << QString::fromStdString(t);
        return texts;
    }
};

}  // namespace

class TestUserManage : public QObject {
    Q_OBJECT

private slots:
    void panelShowsItsCaptionsAndNote() {
        StartWindow w;
        w.OpenManagement();
        QCOMPARE(w.form.FrontPanel(), w.form.PanelManage);
        QStringList groups;
        for (auto* box : w.form.PanelManage->findChildren<QGroupBox*>()) groups << box->title();
        QCOMPARE(groups, (QStringList{U("用户列表"), U("用户信息")}));
        QStringList labels;
        for (auto* label : w.form.PanelManage->findChildren<QLabel*>()) labels << label->text();
        for (const char* caption : {"用户管理", "用户名", "密　码", "重复密码"})
            QVERIFY2(labels.contains(U(caption)), caption);
        QCOMPARE(w.form.Label20->text(),
                 U("澜悦单词支持多用户在同一台电脑上背单词。预设了六个用户，而相互间不干扰。你可以自己修改用户信息。"
                   "如果只有管理员一个用户，且密码为空，背单词无需身份验证"));
        QCOMPARE(w.form.suiButton9->text(), U("增加"));
        QCOMPARE(w.form.suiButton23->text(), U("修改"));
        QCOMPARE(w.form.suiButton10->text(), U("删除"));
        QCOMPARE(w.form.suiButton24->text(), U("返回"));
        QCOMPARE(w.form.EditPassword1->echoMode(), QLineEdit::Password);
        QCOMPARE(w.form.EditPassword2->echoMode(), QLineEdit::Password);
        // A first start without init.ini still lists its administrator.
        QCOMPARE(w.Rows(), QStringList{U("管理员")});
    }

    void addingChecksInOrderAndFocusesTheFieldToMend() {
        StartWindow w;
        w.OpenManagement();
        QApplication::setActiveWindow(&w.form);
        for (const char* name : {"a", "b", "c", "d", "e"}) w.Add(name);
        QCOMPARE(w.Rows().size(), 6);

        w.Add("c");
        QCOMPARE(w.Shown(), QStringList{U("用户名已存在，请换个用户名")});
        w.Add("f");
        QCOMPARE(w.Shown(), QStringList{U("对不起，澜悦单词软件最多只支持六个用户")});

        w.Select(5);
        w.messages.answers.push_back(kIdYes);
        w.Press(w.form.suiButton10);
        w.Type("", "x", "y");
        w.Press(w.form.suiButton9);
        QCOMPARE(w.Shown(), QStringList{U("用户名不能为空")});
        QCOMPARE(QApplication::focusWidget(), w.form.EditUserName);

        w.Type("f", "x", "y");
        w.Press(w.form.suiButton9);
        QCOMPARE(w.Shown(), QStringList{U("两次输入的密码不相同，请重新输入密码")});
        QVERIFY(w.form.EditPassword1->text().isEmpty());
        QVERIFY(w.form.EditPassword2->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), w.form.EditPassword1);

        w.Type("f", "x", "x");
        w.Press(w.form.suiButton9);
        QVERIFY(w.Shown().isEmpty());
        QCOMPARE(w.Rows().last(), U("f"));
        QCOMPARE(w.form.ListUserList->currentRow(), 5);
        QCOMPARE(w.form.Manage.password[5], std::string("x"));
    }

    void changingChecksInOrder() {
        StartWindow w;
        w.OpenManagement();
        w.Add("a");
        w.Add("b");

        QPushButton* change = w.form.suiButton23;
        w.form.ListUserList->clearSelection();
        QCOMPARE(w.Try(change, "z", "", ""), QStringList{U("请选择一个用户")});

        w.Select(0);
        QCOMPARE(w.form.EditUserName->text(), U("管理员"));
        QCOMPARE(w.Try(change, "boss", "", ""), QStringList{U("不能修改管理员用户名")});
        QVERIFY(w.Try(change, "管理员", "root", "root").isEmpty());
        QCOMPARE(w.form.Manage.password[0], std::string("root"));

        w.Select(1);
        QCOMPARE(w.Try(change, "b", "1", "2"), QStringList{U("两次输入的密码不相同，请重新输入密码")});
        QCOMPARE(w.Try(change, "b", "1", "1"), QStringList{U("用户名已存在，请换个用户名")});
        QVERIFY(w.Try(change, "anna", "1", "1").isEmpty());
        QCOMPARE(w.Rows(), (QStringList{U("管理员"), U("anna"), U("b")}));
    }

    void textTheTableCannotHoldIsRefused() {
        StartWindow w;
        w.OpenManagement();
        const QStringList refused{U("用户名和密码中有无法保存的字符，请换个写法")};
        QCOMPARE(w.Try(w.form.suiButton9, "笑😀", "", ""), refused);
        QCOMPARE(w.Try(w.form.suiButton9, "ok", "😀", "😀"), refused);
        QCOMPARE(w.Rows(), QStringList{U("管理员")});
        w.Select(0);
        QCOMPARE(w.Try(w.form.suiButton23, "管理员", "😀", "😀"), refused);
        QVERIFY(w.form.Manage.password[0].empty());
    }

    void namesAndPasswordsHoldingFormatMarksAreRefused() {
        StartWindow w;
        w.OpenManagement();
        QApplication::setActiveWindow(&w.form);
        const QStringList refused{U("用户名和密码中不能有“<”或“>”，请换个写法")};
        QCOMPARE(w.Try(w.form.suiButton9, "<user2>x</user2>", "", ""), refused);
        QCOMPARE(QApplication::focusWidget(), w.form.EditUserName);
        QCOMPARE(w.Try(w.form.suiButton9, "alice", "<user2>x</user2>", "<user2>x</user2>"), refused);
        QCOMPARE(QApplication::focusWidget(), w.form.EditPassword1);
        QVERIFY(w.form.EditPassword1->text().isEmpty());
        QCOMPARE(w.Rows(), QStringList{U("管理员")});
        w.Add("alice", "ok");
        w.Select(1);
        QCOMPARE(w.Try(w.form.suiButton23, "alice", "pa</password1>ss", "pa</password1>ss"), refused);
        QCOMPARE(w.form.Manage.password[1], std::string("ok"));

        w.Press(w.form.suiButton24);
        TManage reread;
        reread.LoadConfigFile(w.folder);
        QCOMPARE(reread.user[1], std::string("alice"));
        QCOMPARE(reread.password[1], std::string("ok"));
        QVERIFY(reread.user[2].empty());
    }

    void pickingARowFillsTheNameButNeverAPassword() {
        StartWindow w;
        w.OpenManagement();
        w.Add("a", "secret");
        w.Type("", "typed", "typed");
        w.form.EditOldPassword->setText("old");
        w.Select(1);
        QCOMPARE(w.form.EditUserName->text(), U("a"));
        for (QLineEdit* box : {w.form.EditOldPassword, w.form.EditPassword1, w.form.EditPassword2}) {
            QCOMPARE(box->text(), QString());
            QCOMPARE(box->echoMode(), QLineEdit::Password);
        }
    }

    // 花子's account is hers: changing or deleting it takes her password or
    // the administrator's, never just a click.
    void changingOrDeletingAUserTakesTheirOrTheAdministratorsPassword() {
        struct Case {
            const char* name;
            const char* button;
            const char* oldPassword;
            bool allowed;
        };
        const Case cases[] = {
            {"change without a password", "suiButton23", "", false},
            {"change with another user's", "suiButton23", "taro", false},
            {"change with hers", "suiButton23", "hana", true},
            {"change with the administrator's", "suiButton23", "root", true},
            {"delete without a password", "suiButton10", "", false},
            {"delete with hers", "suiButton10", "hana", true},
            {"delete with the administrator's", "suiButton10", "root", true},
        };
        const QString refused = U("原密码不正确：修改或删除用户，要先输入该用户现在的密码或管理员的密码");
        for (const Case& c : cases) {
            StartWindow w;
            w.OpenManagement();
            QApplication::setActiveWindow(&w.form);
            w.Add("花子", "hana");
            w.Add("太郎", "taro");
            w.form.Manage.password[0] = "root";
            w.Select(1);
            w.Type("花子", "mine", "mine");
            w.form.EditOldPassword->setText(U(c.oldPassword));
            w.messages.answers.push_back(kIdYes);
            w.Press(w.form.PanelManage->findChild<QPushButton*>(c.button));
            if (!c.allowed) {
                QCOMPARE(w.Shown(), QStringList{refused});
                QCOMPARE(QApplication::focusWidget(), w.form.EditOldPassword);
                QCOMPARE(w.form.Manage.password[1], std::string("hana"));
                QCOMPARE(w.Rows(), (QStringList{U("管理员"), U("花子"), U("太郎")}));
                continue;
            }
            if (c.button == std::string("suiButton23")) {
                QVERIFY2(w.Shown().isEmpty(), c.name);
                QCOMPARE(w.form.Manage.password[1], std::string("mine"));
                QCOMPARE(w.form.EditOldPassword->text(), QString());
            } else {
                QCOMPARE(w.Rows(), (QStringList{U("管理员"), U("太郎")}));
            }
        }
    }

    void blankAndOverlongNamesAreRefused() {
        StartWindow w;
        w.OpenManagement();
        QCOMPARE(w.Try(w.form.suiButton9, "   ", "", ""), QStringList{U("用户名不能为空")});
        QCOMPARE(w.Try(w.form.suiButton9, "一二三四五六七八九", "", ""),
                 QStringList{U("用户名太长：最多8个汉字或16个字母，请换个短一些的名字")});
        QCOMPARE(w.Rows(), QStringList{U("管理员")});
        QVERIFY(w.Try(w.form.suiButton9, "一二三四五六七八", "", "").isEmpty());
    }

    // alice (slot 1) studied and collected favourites; deleting her must
    // not hand them to bob, who moves into slot 1 with his own files.
    void deletingAsksAndReturnMovesEveryonesFilesWithThem() {
        StartWindow w;
        const std::filesystem::path users = std::filesystem::path(w.dir.path().toStdString()) / "users";
        const char* names[] = {"admin", "alice", "bob", "carol"};
        for (int i = 0; i < 4; ++i) {
            if (i > 0) {
                w.form.Manage.user[i] = names[i];
                w.form.Manage.password[i] = std::string("p") + names[i];
            }
            w.form.Manage.lastwordlib[i] = std::string(names[i]) + ".lx";
            std::filesystem::create_directories(users / ("user" + std::to_string(i)));
            std::ofstream(users / ("user" + std::to_string(i)) / "favourites-of.txt") << names[i];
        }
        auto ownerOf = [&](const std::string& folder) {
            std::ifstream in(users / folder / "favourites-of.txt");
            std::string owner;
            in >> owner;
            return owner;
        };
        w.OpenManagement();

        w.form.ListUserList->clearSelection();
        w.Press(w.form.suiButton10);
        QCOMPARE(w.Shown(), QStringList{U("请选择一个要删除的用户")});
        w.Select(0);
        w.Press(w.form.suiButton10);
        QCOMPARE(w.Shown(), QStringList{U("不能删除管理员用户")});

        w.Select(1);
        w.messages.answers.push_back(kIdNo);
        w.Press(w.form.suiButton10);
        QCOMPARE(w.Shown().size(), 1);
        QVERIFY(w.Shown()[0].startsWith(U("确定要删除用户“alice”吗？")));
        QCOMPARE(w.messages.shown[0].flags, kMsgYesNoDefaultNo);
        QCOMPARE(w.Rows(), (QStringList{U("管理员"), U("alice"), U("bob"), U("carol")}));

        w.Select(1);
        w.messages.answers.push_back(kIdYes);
        w.Press(w.form.suiButton10);
        QCOMPARE(w.Rows(), (QStringList{U("管理员"), U("bob"), U("carol")}));
        QVERIFY(!std::filesystem::exists(w.Ini()));  // nothing written before "返回"
        QCOMPARE(ownerOf("user1"), std::string("alice"));

        w.Press(w.form.suiButton24);
        QVERIFY(w.Shown().isEmpty());
        QCOMPARE(w.form.FrontPanel(), w.form.PanelStart);
        const auto text = ReadScrambledFile(w.Ini());
        QVERIFY(text);
        const std::pair<const char*, const char*> expected[] = {
            {"user0", "管理员"}, {"user1", "bob"},        {"password1", "pbob"},        {"lastwordlib1", "bob.lx"},
            {"user2", "carol"},  {"password2", "pcarol"}, {"lastwordlib2", "carol.lx"}, {"user3", ""},
            {"password3", ""},   {"lastwordlib3", ""},
        };
        for (const auto& [tag, value] : expected)
            QCOMPARE(QString::fromStdString(Utf8(FindTagValue(*text, tag))), U(value));
        QCOMPARE(ownerOf("user1"), std::string("bob"));
        QCOMPARE(ownerOf("user2"), std::string("carol"));
        QCOMPARE(ownerOf("user3"), std::string());
        const std::string aside = "alice_" + TodayText();
        QCOMPARE(ownerOf(aside), std::string("alice"));
    }

    // A program stopped while its "返回" moved the folders: the next start
    // window finishes the moves before it reads the table.
    void startFinishesAUserTableSaveThatWasStopped() {
        QTemporaryDir dir;
        const std::string folder = FromNativePath(std::filesystem::path(dir.path().toStdString())) + "/";
        const std::filesystem::path root(dir.path().toStdString());
        SetProgramFolder(folder);
        {
            MessageRecorder messages;
            TManage manage;
            const char* names[] = {"admin", "alice", "bob"};
            for (int i = 0; i < 3; ++i) {
                if (i > 0) manage.user[i] = names[i];
                std::filesystem::create_directories(root / "users" / ("user" + std::to_string(i)));
                std::ofstream(root / "users" / ("user" + std::to_string(i)) / "own.txt") << names[i];
            }
            QVERIFY(manage.SaveConfig());
            std::vector<std::string> rows = ManageRows(manage);
            messages.answers.push_back(kIdYes);
            QVERIFY(DeleteUser(manage, rows, 1).done);
            SetUserMoveStepHook([](int step) {
                if (step == 3) throw std::runtime_error("stopped");
            });
            QVERIFY_THROWS_EXCEPTION(std::runtime_error, CommitUserTable(manage, folder, TodayText()));
            SetUserMoveStepHook({});
        }
        QVERIFY(std::filesystem::exists(root / "init.ini.moves"));

        MessageRecorder messages;
        TformStart form{folder};
        SetProgramFolder("");
        QVERIFY(messages.Texts().empty());
        QCOMPARE(form.Manage.user[1], std::string("bob"));
        QVERIFY(form.Manage.user[2].empty());
        std::ifstream in(root / "users" / "user1" / "own.txt");
        std::string owner;
        in >> owner;
        QCOMPARE(owner, std::string("bob"));
        QVERIFY(std::filesystem::exists(root / "users" / ("alice_" + TodayText()) / "own.txt"));
        QVERIFY(!std::filesystem::exists(root / "init.ini.moves"));
        QVERIFY(!std::filesystem::exists(root / "init.ini.new"));
    }
};

QTEST_MAIN(TestUserManage)
#include "tst_formstart_manage.moc"
