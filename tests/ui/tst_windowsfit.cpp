// Every window of the program, each page of it, in sight on one screen size
// under one set of installed fonts: the learner sees the whole of it, and
// the study window fills the screen without growing past it, also with any
// face the learner picks for the word and the meaning.
//
// The program is run once per font set and screen size (ctest names
// tst_windowsfit.<font set>.<width>x<height>), given by LEXILARK_FONT_SET and
// LEXILARK_SCREEN; LEXILARK_FONT_CACHE names a folder the runs share for
// fontconfig's caches. The font set is a fontconfig configuration this test
// writes, naming only the font folders of the set, so what fontconfig picks
// for "宋体", "Times New Roman" or "Arial" does not depend on the fonts the
// machine happens to have. A window added to the program joins by a test
// function here that brings it up and passes it to EXPECT_IN_SIGHT.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QHeaderView>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <cstdio>
#include <fstream>
#include <vector>

#include "core/gbktext.h"
#include "help/formhelp.h"
#include "platform/fontregistration.h"
#include "platform/shellopen.h"
#include "select/selectwordlib.h"
#include "settings/formmakewordlib.h"
#include "shell/appwindows.h"
#include "shell/desktop.h"
#include "shell/formstart.h"
#include "shell/syncconflictdialog.h"
#include "study/formmain.h"
#include "support/find_child.h"
#include "support/fit_check.h"
#include "support/login_windows.h"
#include "widgets/screentext.h"
#include "widgets/textviewer.h"

namespace {

// A font package's folders and a family it brings, which only a set that
// holds the package offers.
struct FontPackage {
    const char* name;
    const char* package;
    QStringList folders;
    QString family;
};

const std::vector<FontPackage>& Packages() {
    static const std::vector<FontPackage> packages{
        {"dejavu", "fonts-dejavu-core", {"/usr/share/fonts/truetype/dejavu"}, "DejaVu Serif"},
        {"urw",
         "fonts-urw-base35",
         {"/usr/share/fonts/opentype/urw-base35", "/usr/share/fonts/type1/urw-base35"},
         "Nimbus Roman"},
        {"droid", "fonts-droid-fallback", {"/usr/share/fonts/truetype/droid"}, "Droid Sans Fallback"},
        {"noto", "fonts-noto-cjk", {"/usr/share/fonts/opentype/noto"}, "Noto Sans CJK SC"},
        {"wqy", "fonts-wqy-microhei", {"/usr/share/fonts/truetype/wqy"}, "WenQuanYi Micro Hei"},
    };
    return packages;
}

// The set's name lists its packages joined by "-", e.g. "dejavu-urw".
QString FontSet() { return qEnvironmentVariable("LEXILARK_FONT_SET", QStringLiteral("dejavu")); }
QStringList SetPackages() { return FontSet().split(QLatin1Char('-')); }

QSize ScreenSize() {
    const QStringList parts = qEnvironmentVariable("LEXILARK_SCREEN", QStringLiteral("800x600")).split('x');
    return parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize();
}

QRect ScreenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

// Writes a fontconfig configuration naming only the set's font folders,
// with the distribution's rules (aliases such as Times New Roman to Nimbus
// Roman) as a desktop has them, and caches the scans in `cacheFolder` so
// that later runs start at once; an empty text when a folder of the set is
// missing, with the reason in `error`.
QByteArray FontConfiguration(const QString& cacheFolder, QString& error) {
    QByteArray xml =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n<fontconfig>\n";
    for (const QString& name : SetPackages()) {
        const auto package = std::find_if(Packages().begin(), Packages().end(),
                                          [&](const FontPackage& p) { return name == QLatin1String(p.name); });
        if (package == Packages().end()) {
            error = "unknown font package " + name;
            return {};
        }
        for (const QString& folder : package->folders) {
            if (!QDir(folder).exists()) {
                error =
                    QStringLiteral("%1 is missing: install %2 (scripts/install-deps.sh)").arg(folder, package->package);
                return {};
            }
            xml += "  <dir>" + folder.toUtf8() + "</dir>\n";
        }
    }
    xml += "  <cachedir>" + cacheFolder.toUtf8() + "</cachedir>\n";
    xml += "  <cachedir>/var/cache/fontconfig</cachedir>\n";
    xml += "  <include ignore_missing=\"yes\">/etc/fonts/conf.d</include>\n</fontconfig>\n";
    return xml;
}

std::vector<FixtureWord> LongWords() {
    // A phrase too long for the word box of a 640-pixel screen at its
    // designed size, and a meaning of more than four lines.
    return {{"どうぞよろしくおねがいします",
             "[感] 请多关照；请多指教（初次见面或拜托别人时说的礼貌用语，对长辈、上级或初次见面的人都可以用）"},
            {"電子レンジ", "[名] 微波炉"},
            {"勉強", "[名][动3] 学习；用功；（商人）让价，减价"}};
}

}  // namespace

class TestWindowsFit : public QObject {
    Q_OBJECT

private slots:
    // Only the set's fonts are there, on the screen asked for.
    void fontSetIsInEffect() {
        QCOMPARE(ScreenArea().size(), ScreenSize());
        for (const FontPackage& package : Packages()) {
            const bool inSet = SetPackages().contains(QLatin1String(package.name));
            QVERIFY2(QFontDatabase::hasFamily(package.family) == inSet,
                     qPrintable(QStringLiteral("%1 %2 in font set %3")
                                    .arg(package.family, inSet ? "missing" : "present", FontSet())));
        }
        qInfo("font set %s: \"Times New Roman\" is drawn with %s, \"宋体\" with %s, \"Arial\" with %s",
              qPrintable(FontSet()), qPrintable(QFontInfo(QFont("Times New Roman")).family()),
              qPrintable(QFontInfo(QFont(QStringLiteral("宋体"))).family()),
              qPrintable(QFontInfo(QFont("Arial")).family()));
    }

    void startWindowPages() {
        LoginWindows s("fit_start", LoginWindows::Windows::WholeSet);
        s.User(0, "管理员", "secret");
        QVERIFY(QTest::qWaitForWindowExposed(s.start.get()));
        EXPECT_IN_SIGHT(s.start.get(), ScreenArea(), "start page");
        QTest::mouseClick(s.start->suiButton1, Qt::LeftButton);  // "开始背单词": asks the password
        QVERIFY(s.start->PanelLogon->isVisible());
        EXPECT_IN_SIGHT(s.start.get(), ScreenArea(), "login page");
        QTest::mouseClick(s.start->suiButton11, Qt::LeftButton);  // "返 回"
        QTest::mouseClick(s.start->suiButton2, Qt::LeftButton);   // "用户管理"
        QVERIFY(s.start->PanelManage->isVisible());
        EXPECT_IN_SIGHT(s.start.get(), ScreenArea(), "user management");
        QTest::mouseClick(s.start->suiButton24, Qt::LeftButton);  // "返回"
        s.User(0, "管理员", "");
        QTest::mouseClick(s.start->suiButton3, Qt::LeftButton);  // "进度备份"
        EXPECT_IN_SIGHT(s.start.get(), ScreenArea(), "progress backups");
    }

    void studyWindow_data() {
        QTest::addColumn<bool>("fullScreen");  // "全屏" hides the left column
        QTest::newRow((FontSet() + " with the left column").toUtf8()) << false;
        QTest::newRow((FontSet() + " full screen").toUtf8()) << true;
    }
    // The window fills the screen exactly, a word and its long meaning shown
    // and then revealed.
    void studyWindow() {
        QFETCH(bool, fullScreen);
        LoginWindows s("fit_study", LoginWindows::Windows::WholeSet);
        s.f.WriteLibrary("lib.lx", LongWords());
        s.User(0, "管理员", "", "lib.lx");
        s.StartStudying();
        QVERIFY(s.study->isVisible());
        if (fullScreen) QTest::mouseClick(Child<QPushButton>(s.study, "ButtonFullScreen"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(s.study, "ButtonPrompt"),
                          Qt::LeftButton);  // "提示" reveals the whole entry
        QCoreApplication::processEvents();
        QCOMPARE(s.study->frameGeometry(), ScreenArea());
        EXPECT_IN_SIGHT(s.study.get(), ScreenArea(), "study window");
    }

    // Whatever face of the set the learner picks for the word and for the
    // meaning in the settings, the study window stays on the screen.
    void studyWindowWithEveryFace() {
        LoginWindows s("fit_faces", LoginWindows::Windows::WholeSet);
        s.f.WriteLibrary("lib.lx", LongWords());
        s.User(0, "管理员", "", "lib.lx");
        s.StartStudying();
        TformMakeWordLib& settings = *formMakeWordLib;
        QTest::mouseClick(Child<QPushButton>(s.study, "suiButton4"), Qt::LeftButton);  // "参数设置"
        QVERIFY(settings.isVisible());
        QStringList faults;
        for (int i = 0; i < settings.FontComboBoxEN->count(); ++i) {
            const QString face = settings.FontComboBoxEN->itemText(i);
            for (QComboBox* box : {settings.FontComboBoxEN, settings.FontComboBoxCN}) {
                box->setCurrentIndex(box->findText(face));
                emit box->activated(box->currentIndex());
            }
            s.study->show();
            QTest::mouseClick(Child<QPushButton>(s.study, "ButtonPrompt"), Qt::LeftButton);
            QCoreApplication::processEvents();
            if (s.study->frameGeometry() != ScreenArea())
                faults
                    << QStringLiteral("%1: the window is %2x%3").arg(face).arg(s.study->width()).arg(s.study->height());
            for (const QString& cut : fit_check::CutOff(s.study.get(), ScreenArea())) faults << face + ": " + cut;
        }
        qInfo("%d faces tried", settings.FontComboBoxEN->count());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    void settingsPages() {
        LoginWindows s("fit_settings", LoginWindows::Windows::WholeSet);
        s.f.WriteLibrary("lib.lx", LongWords());
        s.User(0, "管理员", "", "lib.lx");
        s.StartStudying();
        QTest::mouseClick(Child<QPushButton>(s.study, "suiButton4"), Qt::LeftButton);  // "参数设置"
        TformMakeWordLib& settings = *formMakeWordLib;
        QVERIFY(settings.isVisible());
        for (QWidget* page : {settings.PanelSetup, settings.PanelImport, settings.PanelErrorReport,
                              settings.PanelModifyWordLib, settings.PanelWordsWithoutWav, settings.PanelSync}) {
            settings.BringToFront(page);
            QCoreApplication::processEvents();
            EXPECT_IN_SIGHT(&settings, ScreenArea(), page->objectName());
        }
    }

    // The import sample in the program's own viewer, on a desktop without
    // one for text files, with a line longer than any screen is wide.
    void importSampleViewer() {
        LoginWindows s("fit_sample", LoginWindows::Windows::WholeSet);
        s.f.WriteLibrary("lib.lx", LongWords());
        s.User(0, "管理员", "", "lib.lx");
        s.StartStudying();
        std::ofstream(s.f.programFolder / "example.txt", std::ios::binary) << "neko\r\n  [名] 猫\r\n"
                                                                           << std::string(400, 'x') << "\r\n";
        QTest::mouseClick(Child<QPushButton>(s.study, "suiButton4"), Qt::LeftButton);  // "参数设置"
        TformMakeWordLib& settings = *formMakeWordLib;
        settings.BringToFront(settings.PanelImport);
        ShellOpener previous = SetShellOpener([](const std::filesystem::path&) { return ShellOpenResult::NoViewer; });
        QTest::mouseClick(settings.suiButton8, Qt::LeftButton);  // "查看格式"
        SetShellOpener(previous);
        TextViewer* viewer = settings.findChild<TextViewer*>();
        QVERIFY(viewer);
        QCoreApplication::processEvents();
        EXPECT_IN_SIGHT(viewer, ScreenArea(), "import sample");
    }

    // The chooser of the import page's "浏览" on a folder with a long file
    // name: the dialog in sight, its column captions in Chinese, every
    // column as wide as its caption and (but for the name) its entries, all
    // within the view.
    void fileChooser() {
        QVERIFY(LoadChineseTranslations());
        LoginWindows s("fit_chooser", LoginWindows::Windows::WholeSet);
        s.f.WriteLibrary("lib.lx", LongWords());
        s.User(0, "管理员", "", "lib.lx");
        s.StartStudying();
        const std::filesystem::path folder = s.f.programFolder / "chooser";
        std::filesystem::create_directories(folder / "子文件夹");
        std::ofstream(folder / "日语N5词汇（第二版，含例句与录音）单词表.txt") << "neko\n  [名] 猫\n";
        QTest::mouseClick(Child<QPushButton>(s.study, "suiButton4"), Qt::LeftButton);  // "参数设置"
        TformMakeWordLib& settings = *formMakeWordLib;
        settings.BringToFront(settings.PanelImport);

        QStringList faults;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                faults << "no file chooser came up";
                return;
            }
            seen = true;
            dialog->setDirectory(QString::fromStdString(folder.string()));
            auto* view = dialog->findChild<QTreeView*>("treeView");
            auto* model = dialog->findChild<QFileSystemModel*>();
            const QModelIndex root = model->index(QString::fromStdString(folder.string()));
            if (!QTest::qWaitFor([&] { return model->rowCount(root) == 2; }, 5000))
                faults << "the folder's two entries were not listed";
            QTest::qWait(50);  // the columns are fitted once the rows are laid out
            faults << fit_check::CutOff(dialog, ScreenArea());
            QHeaderView* header = view->header();
            int total = 0;
            for (int column = 0; column < header->count(); ++column) {
                if (header->isSectionHidden(column)) continue;
                const QString caption = model->headerData(column, Qt::Horizontal).toString();
                if (caption.isEmpty() || caption.contains(QRegularExpression("[A-Za-z]")))
                    faults << "caption not in Chinese: " + caption;
                const int width = header->sectionSize(column);
                // The name takes the room the others leave; a name longer
                // than that ends in "…", as in any file manager.
                const int entries = column == 0 ? 0 : static_cast<QAbstractItemView*>(view)->sizeHintForColumn(column);
                if (width < header->sectionSizeHint(column) || width < entries)
                    faults << QStringLiteral("column %1 cut: %2 wide").arg(caption).arg(width);
                total += width;
            }
            if (total > view->viewport()->width())
                faults << QStringLiteral("columns %1 wide in a view of %2").arg(total).arg(view->viewport()->width());
            const QModelIndex sub = model->index(QString::fromStdString((folder / "子文件夹").string()));
            const QString type = model->index(sub.row(), 2, sub.parent()).data().toString();
            if (type != U("文件夹")) faults << "a folder is typed " + type;
            dialog->reject();
        });
        QTest::mouseClick(settings.suiButton7, Qt::LeftButton);  // "浏览"
        QVERIFY(seen);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        QVERIFY(settings.EditWordLibName1->text().isEmpty());
    }

    // The question of a sync about a library studied on two computers, with
    // a long library name and a long computer name.
    void syncConflictQuestion() {
        LoginWindows s("fit_conflict", LoginWindows::Windows::WholeSet);
        SyncConflict conflict;
        conflict.name = Gbk("日语N5词汇（第二版，含例句与录音）.lx");
        conflict.local.stats = {true, 3000, 1234, {1766, 300, 400, 300, 200, 34}, 98765};
        conflict.local.gbkTime = "2026-12-10 14:05";
        conflict.local.gbkComputer = Gbk("家里的台式电脑-DESKTOP-7Q2LXK9");
        conflict.remote = conflict.local;
        conflict.remote.stats.studied = 987;
        conflict.remote.gbkComputer = Gbk("办公室的笔记本-LAPTOP-OFFICE-3F");
        SyncConflictDialog dialog(conflict, s.start.get());
        dialog.show();
        QCoreApplication::processEvents();
        EXPECT_IN_SIGHT(&dialog, ScreenArea(), "sync conflict question");
    }

    void selectionDialogAndHelpGuide() {
        LoginWindows s("fit_dialogs", LoginWindows::Windows::WholeSet);
        s.f.WriteLibrary("lib.lx", LongWords());
        s.User(0, "管理员", "", "lib.lx");
        s.StartStudying();
        QTest::mouseClick(Child<QPushButton>(s.study, "ButtonSelectWordLib"), Qt::LeftButton);
        EXPECT_IN_SIGHT(SelectWordLib, ScreenArea(), "library selection");
        SelectWordLib->hide();
        QTest::mouseClick(Child<QPushButton>(s.study, "suiButton10"), Qt::LeftButton);  // "帮助向导"
        EXPECT_IN_SIGHT(formHelp, ScreenArea(), "help guide");
        formHelp->hide();
        QTest::mouseClick(Child<QPushButton>(s.study, "ButtonStats"), Qt::LeftButton);  // "学习统计"
        EXPECT_IN_SIGHT(formStats, ScreenArea(), "statistics page");
    }
};

int main(int argc, char** argv) {
    const QSize screen = ScreenSize();
    if (screen.isEmpty()) {
        std::fprintf(stderr, "LEXILARK_SCREEN must be WIDTHxHEIGHT\n");
        return 1;
    }
    QTemporaryDir dir;
    QString error;
    const QByteArray fonts =
        FontConfiguration(qEnvironmentVariable("LEXILARK_FONT_CACHE", dir.filePath("fontconfig-cache")), error);
    QFile fontsFile(dir.filePath("fonts.conf"));
    QFile screenFile(dir.filePath("screen.json"));
    if (fonts.isEmpty() || !fontsFile.open(QIODevice::WriteOnly) || fontsFile.write(fonts) != fonts.size() ||
        !screenFile.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "font set %s: %s\n", qPrintable(FontSet()), qPrintable(error));
        return 1;
    }
    fontsFile.close();
    screenFile.write(QStringLiteral(R"({"screens":[{"name":"fit","x":0,"y":0,"width":%1,"height":%2,)"
                                    R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})")
                         .arg(screen.width())
                         .arg(screen.height())
                         .toUtf8());
    screenFile.close();
    qputenv("FONTCONFIG_FILE", QFile::encodeName(fontsFile.fileName()));
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screenFile.fileName()).toLocal8Bit());
    QApplication app(argc, argv);
    // As the program does at start.
    UseJapaneseFontFile(LEXILARK_TONEFONT_SOURCE, QStringLiteral("Kingsoft Phonetic Plain"));
    TestWindowsFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowsfit.moc"
