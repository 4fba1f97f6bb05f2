// Finding and preparing the program folder at start: what the learner is
// told when an installed program's data folder cannot be made, and that a
// shipped file the learner made read-only is named while the start goes
// on.

#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/gbktext.h"
#include "platform/datahome.h"
#include "shell/programfolder.h"
#include "support/message_recorder.h"

namespace fs = std::filesystem;

namespace {

fs::path Native(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

void Write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

class TestProgramFolder : public QObject {
    Q_OBJECT
private slots:
    void aTestProgramsFolderIsPortable();
    void theDataHomeFollowsTheDesktopsVariables();
    void aDataFolderThatCannotBeMadeIsNamed();
    void aReadOnlyShippedFileIsNamedAndTheStartGoesOn();
};

void TestProgramFolder::aTestProgramsFolderIsPortable() {
    // Beside the test program are neither the shipped files nor
    // ../share/lexilark: the executable's folder, as before.
    const ProgramFolders folders = FindProgramFolder();
    QVERIFY(!folders.installed);
    QCOMPARE(folders.program, ExecutableFolder());
    QCOMPARE(folders.shipped, ExecutableFolder());
    MessageRecorder messages;
    QVERIFY(MakeProgramFolder(folders));
    QVERIFY(LayOutProgramFolder(folders));
    QVERIFY(messages.shown.empty());
}

void TestProgramFolder::theDataHomeFollowsTheDesktopsVariables() {
    const QByteArray home = qgetenv("HOME"), dataHome = qgetenv("XDG_DATA_HOME");
    struct Case {
        const char* home;
        const char* dataHome;
        const char* expected;  // empty: no folder to keep data in
    } cases[] = {
        {"/home/learner", "", "/home/learner/.local/share"},
        {"/home/learner", "/srv/data", "/srv/data"},
        {"", "/srv/data", "/srv/data"},
        // Not the root folder's .local/share.
        {"", "", ""},
    };
    for (const Case& c : cases) {
        qputenv("HOME", c.home);
        qputenv("XDG_DATA_HOME", c.dataHome);
        QCOMPARE(UserDataHome().string(), std::string(c.expected));
    }
    qputenv("HOME", home);
    qputenv("XDG_DATA_HOME", dataHome);
}

void TestProgramFolder::aDataFolderThatCannotBeMadeIsNamed() {
    QTemporaryDir dir;
    const fs::path root = Native(dir.path());
    Write(root / "home", "a file where the home folder should be");
    const std::string data = FromNativePath(root / "home/.local/share/Lexilark") + "/";
    struct Case {
        const char* name;
        std::string program;
        const char* says;
    } cases[] = {
        {"home blocked", data, "无法建立这个文件夹"},
        {"no home at all", "", "没有为当前用户设置主文件夹"},
    };
    for (const Case& c : cases) {
        MessageRecorder messages;
        QVERIFY2(!MakeProgramFolder({true, c.program, FromNativePath(root) + "/"}), c.name);
        QCOMPARE(messages.shown.size(), size_t(1));
        QVERIFY2(messages.shown[0].text.find(c.says) != std::string::npos, messages.shown[0].text.c_str());
        QVERIFY2(messages.shown[0].text.find(Utf8(c.program.substr(0, c.program.size() ? c.program.size() - 1 : 0))) !=
                     std::string::npos,
                 messages.shown[0].text.c_str());
    }
    QVERIFY(fs::is_regular_file(root / "home"));
}

void TestProgramFolder::aReadOnlyShippedFileIsNamedAndTheStartGoesOn() {
    QTemporaryDir dir;
    const fs::path shipped = Native(dir.path()) / "share/lexilark";
    const fs::path data = Native(dir.path()) / "data/Lexilark";
    Write(shipped / "lx1.en", "aliases");
    Write(shipped / "start.ini", "help v1");
    Write(shipped / "wordlib/收藏库.lx", "favourites");
    fs::create_directories(data);
    const ProgramFolders folders{true, FromNativePath(data) + "/", FromNativePath(shipped) + "/"};
    MessageRecorder messages;
    QVERIFY(MakeProgramFolder(folders));
    QVERIFY(LayOutProgramFolder(folders));
    QVERIFY(messages.shown.empty());

    fs::permissions(data / "start.ini", fs::perms::owner_read);
    Write(shipped / "start.ini", "help v2");
    QVERIFY(LayOutProgramFolder(folders));
    QCOMPARE(messages.shown.size(), size_t(1));
    const std::string& text = messages.shown[0].text;
    QVERIFY2(text.find("只读") != std::string::npos && text.find((data / "start.ini").string()) != std::string::npos,
             text.c_str());
    QCOMPARE(Read(data / "start.ini"), std::string("help v1"));
    fs::permissions(data / "start.ini", fs::perms::owner_all);
}

QTEST_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
