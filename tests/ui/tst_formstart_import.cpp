// Importing word lists from the start window, in the program's own window
// set: "导入词库" brings the import page to the front, a UTF-8 list and a
// GBK list both become libraries, "返　回" leads back to the start window
// without waking the study window, and the libraries are then studied.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "core/gbktext.h"
#include "help/formhelp.h"
#include "platform/shellopen.h"
#include "select/selectwordlib.h"
#include "settings/formmakewordlib.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"
#include "study/formmain.h"
#include "support/find_child.h"
#include "support/login_windows.h"
#include "support/study_fixture.h"
#include "widgets/filechooser.h"
#include "widgets/screentext.h"

namespace fs = std::filesystem;

namespace {}  // namespace

class TestStartImport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        w = std::make_unique<LoginWindows>("start_import", LoginWindows::Windows::WholeSet);
        folder = w->f.programFolder;
        // A UTF-8 list with trailing blank lines, and a GBK one with CR LF.
        std::ofstream(folder / "utf8.txt", std::ios::binary) << "水\n  [名] 水\n猫\n  [名] 猫\n\n\n";
        std::ofstream(folder / "gbk.txt", std::ios::binary) << Gbk("山\r\n  [名] 山\r\n犬\r\n  [名] 狗\r\n");
        previousChooser = SetFileChooser([this](QWidget*) { return chosen; });
        QVERIFY(QTest::qWaitForWindowExposed(formStart));
    }
    void cleanupTestCase() {
        SetFileChooser(previousChooser);
        w.reset();
    }

    void startWindowOffersTheImportPage() {
        QPushButton* button = formStart->suiButton5;
        QCOMPARE(button->text(), U("导入词库"));
        QVERIFY(button->isVisible());
        QVERIFY(button->isEnabled());

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(formMakeWordLib->isVisible());
        QCOMPARE(formMakeWordLib->FrontPage(), formMakeWordLib->PanelImport);
        QVERIFY(!formStart->isVisible());

        // The page's sample button shows example.txt of the program folder.
        std::vector<fs::path> opened;
        ShellOpener previous = SetShellOpener([&](const fs::path& file) {
            opened.push_back(file);
            return ShellOpenResult::Opened;
        });
        QTest::mouseClick(formMakeWordLib->suiButton8, Qt::LeftButton);
        SetShellOpener(previous);
        QCOMPARE(opened, std::vector<fs::path>{folder / "example.txt"});

        QTest::mouseClick(formMakeWordLib->suiButton2, Qt::LeftButton);
        QVERIFY(formStart->isVisible());
        QCOMPARE(formStart->FrontPanel(), formStart->PanelStart);
        QVERIFY(!formMakeWordLib->isVisible());
        // The study window stays asleep: nobody is studying.
        QVERIFY(!formMain->isVisible());
        QVERIFY(!formMain->Session().Clock().isActive());
    }

    void aUtf8AndAGbkListAreImportedAndStudied() {
        QTest::mouseClick(formStart->suiButton5, Qt::LeftButton);
        QCOMPARE(Import("utf8.txt", "日文词库"), std::vector<std::string>{"导入成功，共导入2个单词"});
        QCOMPARE(Import("gbk.txt", "国标词库"), std::vector<std::string>{"导入成功，共导入2个单词"});
        QTest::mouseClick(formMakeWordLib->suiButton2, Qt::LeftButton);
        QVERIFY(formStart->isVisible());

        // Only the administrator, without a password: straight to study.
        QTest::mouseClick(formStart->suiButton1, Qt::LeftButton);
        QVERIFY(formMain->isVisible());
        QCOMPARE(Study("日文词库.lx"), QStringList({"水", "猫"}));
        QCOMPARE(Study("国标词库.lx"), QStringList({"山", "犬"}));
        QVERIFY(w->f.messages.shown.empty());
    }

    // Once the study window has been left for the start window, leaving the
    // import page must not restart its clock, as leaving the page does while
    // the study window waits behind it.
    void theImportPageLeavesAStudyThatWasLeftAlone() {
        QTest::mouseClick(Child<QPushButton>(formMain, "suiButton4"), Qt::LeftButton);  // "参数设置"
        QVERIFY(formMakeWordLib->isVisible());
        QTest::mouseClick(formMakeWordLib->suiButton9, Qt::LeftButton);
        QVERIFY(formMain->Session().Clock().isActive());
        QTest::mouseClick(Child<QPushButton>(formMain, "ButtonReturn"), Qt::LeftButton);
        QVERIFY(formStart->isVisible());
        QVERIFY(!formMain->Session().Clock().isActive());

        // The help guide, opened from the page and left after it, as well.
        QTest::mouseClick(formStart->suiButton5, Qt::LeftButton);
        QCOMPARE(formMakeWordLib->FrontPage(), formMakeWordLib->PanelImport);
        QTest::mouseClick(formMakeWordLib->suiButton3, Qt::LeftButton);
        QVERIFY(formHelp->isVisible());
        QTest::mouseClick(formMakeWordLib->suiButton2, Qt::LeftButton);
        QTest::mouseClick(formHelp->suiButton2, Qt::LeftButton);
        QVERIFY(formStart->isVisible());
        QVERIFY(!formMain->isVisible());
        QVERIFY(!formMain->Session().Clock().isActive());
    }

private:
    // Chooses `list` on the import page, names the library and imports it.
    std::vector<std::string> Import(const char* list, const char* name) {
        chosen = folder / list;
        QTest::mouseClick(formMakeWordLib->suiButton7, Qt::LeftButton);
        formMakeWordLib->EditWordLibName->setText(U(name));
        formMakeWordLib->EditWordLibEditor->setText(U("我"));
        formMakeWordLib->EditWordLibDate->setText("2026-12-10");
        w->f.messages.shown.clear();
        QTest::mouseClick(formMakeWordLib->suiButton1, Qt::LeftButton);
        std::vector<std::string> shown = w->f.messages.Texts();
        w->f.messages.shown.clear();
        return shown;
    }

    // Picks `file` in the selection dialog and reads back the library's
    // words, as the study window holds them (the user's shuffled copy).
    QStringList Study(const char* file) {
        QTest::mouseClick(Child<QPushButton>(formMain, "ButtonSelectWordLib"), Qt::LeftButton);
        QListWidget* list = SelectWordLib->FileListBox;
        const QList<QListWidgetItem*> items = list->findItems(U(file), Qt::MatchExactly);
        if (items.size() != 1) return {};
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
        QTest::mouseClick(SelectWordLib->suiButton1, Qt::LeftButton);
        QStringList words;
        for (int i = 0; i < formMain->Session().WordLib0.Count; ++i)
            words << QString::fromStdString(Utf8(formMain->Session().WordLib0.Words[i].Word));
        words.sort();
        // The study is on: one of them is on show.
        if (!words.contains(Child<QLabel>(formMain, "PanelE")->text())) return {};
        return words;
    }

    std::unique_ptr<LoginWindows> w;
    fs::path folder;
    std::optional<fs::path> chosen;
    FileChooser previousChooser;
};

QTEST_MAIN(TestStartImport)
#include "tst_formstart_import.moc"
