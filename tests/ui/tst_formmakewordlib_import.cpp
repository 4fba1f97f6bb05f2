// The library import page of the settings window: checks before an import,
// the import itself, and the page's other buttons.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "core/gbktext.h"
#include "core/scrambledfile.h"
#include "help/formhelp.h"
#include "platform/shellopen.h"
#include "shell/formstart.h"
#include "shell/windowwiring.h"
#include "support/find_child.h"
#include "support/settings_fixture.h"
#include "widgets/filechooser.h"
#include "widgets/screentext.h"
#include "widgets/textviewer.h"

namespace fs = std::filesystem;

namespace {

// The settings fixture with the import page in front, a "wordlib" folder,
// a word list "list.txt" and a file chooser that answers with `chosen`.
struct ImportFixture : SettingsFixture {
    explicit ImportFixture(const std::string& name, const std::string& listUtf8 = "neko\r\n  猫\r\ninu\r\n  狗\r\n")
        : SettingsFixture(name) {
        fs::create_directories(f.programFolder / "wordlib");
        list = f.programFolder / "list.txt";
        std::ofstream(list, std::ios::binary) << Gbk(listUtf8);
        previousChooser = SetFileChooser([this](QWidget*) { return chosen; });
        settings->BringToFront(settings->PanelImport);
        settings->show();
    }
    ~ImportFixture() { SetFileChooser(previousChooser); }

    void Browse(std::optional<fs::path> file) {
        chosen = std::move(file);
        QTest::mouseClick(settings->suiButton7, Qt::LeftButton);
    }
    void Fill(const QString& name, const QString& editor, const QString& date, const QString& version = {}) {
        settings->EditWordLibName->setText(name);
        settings->EditWordLibEditor->setText(editor);
        settings->EditWordLibDate->setText(date);
        settings->EditWordLibVersion->setText(version);
    }
    std::vector<std::string> Import() {
        f.messages.shown.clear();
        QTest::mouseClick(settings->suiButton1, Qt::LeftButton);
        return f.messages.Texts();
    }
    int Libraries() const {
        int n = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(f.programFolder / "wordlib")) ++n;
        return n;
    }

    fs::path list;
    std::optional<fs::path> chosen;
    FileChooser previousChooser;
};

}  // namespace

class TestImportPage : public QObject {
    Q_OBJECT
private slots:
    void importWritesTheLibraryOnce() {
        ImportFixture s("import_ok");
        s.Browse(s.list);
        QCOMPARE(s.settings->EditWordLibName1->text(), QString("list.txt"));
        s.Fill(U("新词库"), U("作者"), "2024-01-01");  // an empty version is accepted
        QCOMPARE(s.Import(), std::vector<std::string>{"导入成功，共导入2个单词"});
        const fs::path made = s.f.programFolder / "wordlib" / fs::u8path("新词库.lx");
        const std::optional<std::string> text = ReadScrambledFile(made);
        QVERIFY(text);
        QVERIFY(FindGbk(*text, Gbk("<e>neko</e>")) != std::string::npos);
        QVERIFY(FindGbk(*text, Gbk("<c>狗</c>")) != std::string::npos);
        QVERIFY(FindGbk(*text, Gbk("作者")) != std::string::npos);

        // The fields keep their texts: the same name again is refused.
        s.settings->activateWindow();
        QCOMPARE(s.Import(), std::vector<std::string>{"已经存在指定名称的词库，请换一个词库名称"});
        QCOMPARE(s.settings->focusWidget(), s.settings->EditWordLibName);
        QCOMPARE(s.Libraries(), 1);
    }

    void checksBeforeAnyImport_data() {
        QTest::addColumn<bool>("browse");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("message");
        QTest::newRow("no file, fields filled") << false << "n"
                                                << "e"
                                                << "d" << U("请点击浏览选择要导入的文本格式词库");
        QTest::newRow("no file, fields empty") << false << ""
                                               << ""
                                               << "" << U("请点击浏览选择要导入的文本格式词库");
        QTest::newRow("name empty") << true << ""
                                    << "e"
                                    << "d" << U("词库名称、制作者及制作时间必须填写");
        QTest::newRow("editor empty") << true << "n"
                                      << ""
                                      << "d" << U("词库名称、制作者及制作时间必须填写");
        QTest::newRow("date empty") << true << "n"
                                    << "e"
                                    << "" << U("词库名称、制作者及制作时间必须填写");
        QTest::newRow("forbidden character") << true << "a:b"
                                             << "e"
                                             << "d" << U("词库名称中不能有下列字符\r\n/\\\":|<>*?");
        QTest::newRow("not GBK") << true << U("\U0001F600") << "e"
                                 << "d" << U("词库信息中有无法保存的字符，请换个写法");
    }
    void checksBeforeAnyImport() {
        QFETCH(bool, browse);
        QFETCH(QString, name);
        QFETCH(QString, editor);
        QFETCH(QString, date);
        QFETCH(QString, message);
        ImportFixture s("import_checks");
        if (browse) s.Browse(s.list);
        s.Fill(name, editor, date);
        QCOMPARE(s.Import(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(s.Libraries(), 0);
    }

    void aTextThatDoesNotParseWritesNothing() {
        ImportFixture s("import_bad", "neko\r\n  猫\r\ninu\r\n狗 without indentation\r\n");
        s.Browse(s.list);
        s.Fill("bad", "e", "d");
        const std::vector<std::string> messages = s.Import();
        QCOMPARE(messages.size(), size_t(1));
        QVERIFY(messages[0].rfind("导入成功", 0) != 0);
        QCOMPARE(s.Libraries(), 0);
    }

    void aCancelledChooserKeepsTheFileChosenBefore() {
        ImportFixture s("import_cancel");
        s.Browse(s.list);
        s.Browse(std::nullopt);
        QCOMPARE(s.settings->EditWordLibName1->text(), QString("list.txt"));
        s.Fill("kept", "e", "d");
        QCOMPARE(s.Import(), std::vector<std::string>{"导入成功，共导入2个单词"});
    }

    // A desktop with no viewer for text files: "查看格式" shows the sample in
    // a read-only window of the program's own, whatever the sample's
    // encoding, one window however often it is pressed; Esc leaves it.
    void sampleShownByTheProgramWithoutADesktopViewer_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QString sample = U("猫\r\n  [名] 猫\r\n食べる\r\n  [动] 吃\r\n");
        QTest::newRow("UTF-8") << sample.toUtf8();
        QTest::newRow("UTF-8 with its mark") << QByteArray("\xEF\xBB\xBF") + sample.toUtf8();
        QTest::newRow("GBK") << QByteArray::fromStdString(Gbk(sample.toUtf8().toStdString()));
    }
    void sampleShownByTheProgramWithoutADesktopViewer() {
        QFETCH(QByteArray, bytes);
        ImportFixture s("import_sample_inside");
        std::ofstream(s.f.programFolder / "example.txt", std::ios::binary) << bytes.toStdString();
        ShellOpener previous = SetShellOpener([](const fs::path&) { return ShellOpenResult::NoViewer; });
        QTest::mouseClick(s.settings->suiButton8, Qt::LeftButton);
        QTest::mouseClick(s.settings->suiButton8, Qt::LeftButton);
        SetShellOpener(previous);

        const QList<TextViewer*> viewers = s.settings->findChildren<TextViewer*>();
        QCOMPARE(viewers.size(), 1);
        TextViewer* viewer = viewers.first();
        QVERIFY(viewer->isVisible());
        QVERIFY(viewer->isWindow());
        QVERIFY(viewer->Memo->isReadOnly());
        QCOMPARE(viewer->Memo->toPlainText(), U("猫\n  [名] 猫\n食べる\n  [动] 吃\n"));
        QVERIFY(viewer->windowTitle().contains("example.txt"));
        QVERIFY(s.f.messages.Texts().empty());

        QPointer<TextViewer> gone(viewer);
        QTest::keyClick(viewer->Memo, Qt::Key_Escape);
        QTRY_VERIFY(!gone);
        QVERIFY(s.settings->isVisible());
    }

    // With a viewer on the desktop, or without the sample, the program
    // shows nothing of its own.
    void sampleLeftToTheDesktopOrReportedMissing_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("opened") << int(ShellOpenResult::Opened) << QStringList();
        QTest::newRow("missing") << int(ShellOpenResult::Missing)
                                 << QStringList{U("找不到文件“example.txt”，请重新安装本软件。")};
    }
    void sampleLeftToTheDesktopOrReportedMissing() {
        QFETCH(int, result);
        QFETCH(QStringList, messages);
        ImportFixture s("import_sample_desktop");
        ShellOpener previous =
            SetShellOpener([result](const fs::path&) { return static_cast<ShellOpenResult>(result); });
        QTest::mouseClick(s.settings->suiButton8, Qt::LeftButton);
        SetShellOpener(previous);
        QVERIFY(s.settings->findChildren<TextViewer*>().isEmpty());
        QStringList shown;
        for (const std::string& text : s.f.messages.Texts()) shown << QString::fromStdString(text);
        QCOMPARE(shown, messages);
    }

    void sampleHelpAndReturn() {
        ImportFixture s("import_buttons");
        std::vector<fs::path> opened;
        ShellOpener previous = SetShellOpener([&](const fs::path& file) {
            opened.push_back(file);
            return ShellOpenResult::Opened;
        });
        QTest::mouseClick(s.settings->suiButton8, Qt::LeftButton);
        SetShellOpener(previous);
        QCOMPARE(opened, std::vector<fs::path>{s.f.programFolder / "example.txt"});

        TformHelp help;
        TformStart start(s.f.gbkProgramFolder);
        WireHelp(*s.study, help, {s.settings.get()});
        WireSettingsToStart(start, *s.settings, *s.study);
        s.study->Session().Clock().start();
        Child<QTimer>(s.study, "TimerSetFocus")->start();
        QTest::mouseClick(s.settings->suiButton3, Qt::LeftButton);
        QVERIFY(help.isVisible());
        QVERIFY(!s.study->Session().Clock().isActive());
        QVERIFY(!Child<QTimer>(s.study, "TimerSetFocus")->isActive());

        QTest::mouseClick(s.settings->suiButton2, Qt::LeftButton);
        QVERIFY(start.isVisible());
        QVERIFY(!s.settings->isVisible());
    }
};

QTEST_MAIN(TestImportPage)
#include "tst_formmakewordlib_import.moc"
