// Choosing the program folder (portable or installed), and laying out,
// completing and updating an installed program's data folder from the
// shipped files without touching what is the learner's.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "core/datafolder.h"
#include "core/gbktext.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    TempFolder::WriteBytes(file, bytes);
}

mode_t ModeOf(const fs::path& p) {
    struct stat info {};
    EXPECT_EQ(stat(p.c_str(), &info), 0) << p;
    return info.st_mode & 07777;
}

// Shipped files as an installation holds them: the data lists, libraries,
// help, and the learner's start (preset init.ini, the administrator's
// library copy, the empty user folders).
void WriteShipped(const fs::path& shipped) {
    Write(shipped / "lx1.en", "aliases v1");
    Write(shipped / "start.ini", "help v1");
    Write(shipped / "wordlib" / "日语N5词汇.lx", "N5 v1");
    Write(shipped / "wordlib" / "收藏库.lx", "favourites v1");
    Write(shipped / "init.ini", "preset");
    Write(shipped / "users" / "user0" / "日语N5词汇.lx", "N5 v1");
    fs::create_directories(shipped / "users" / "user5");
    fs::create_directories(shipped / "wav");
}

struct ChoiceCase {
    const char* name;
    bool filesBesideExecutable;
    bool executableFolderWritable;
    bool filesInShare;
    const char* dataHome;  // relative to the test folder; "" none, "rel" a relative path
    bool installed;
    const char* programFolder;  // relative to the test folder
    const char* shippedFolder;
};

TEST(ChooseProgramFolder, PortableWhenTheExecutablesFolderIsWritableWithTheFiles) {
    const ChoiceCase cases[] = {
        {"portable build folder", true, true, false, "home/.local/share", false, "prefix/bin", "prefix/bin"},
        {"installed under a prefix", false, true, true, "home/.local/share", true, "home/.local/share/Lexilark",
         "prefix/share/lexilark"},
        {"read-only portable folder", true, false, false, "home/.local/share", true, "home/.local/share/Lexilark",
         "prefix/bin"},
        {"no shipped files anywhere", false, true, false, "home/.local/share", false, "prefix/bin", "prefix/bin"},
        {"installed without a data home", false, true, true, "", true, "", "prefix/share/lexilark"},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const fs::path bin = dir / "prefix/bin";
        fs::create_directories(bin);
        if (c.filesBesideExecutable) WriteShipped(bin);
        if (c.filesInShare) WriteShipped(dir / "prefix/share/lexilark");
        if (!c.executableFolderWritable) fs::permissions(bin, fs::perms::owner_read | fs::perms::owner_exec);
        const fs::path dataHome = *c.dataHome ? dir / c.dataHome : fs::path();

        const ProgramFolderChoice choice = ChooseProgramFolder(bin, dataHome);
        fs::permissions(bin, fs::perms::owner_all);

        EXPECT_EQ(choice.installed, c.installed);
        EXPECT_EQ(choice.programFolder, *c.programFolder ? dir / c.programFolder : fs::path());
        EXPECT_EQ(choice.shippedFolder.lexically_normal(), (dir / c.shippedFolder).lexically_normal());
    }
}

TEST(ChooseProgramFolder, ARelativeDataHomeIsNotUsed) {
    TempFolder dir;
    fs::create_directories(dir / "bin");
    WriteShipped(dir / "share/lexilark");
    const ProgramFolderChoice choice = ChooseProgramFolder(dir / "bin", "relative/share");
    EXPECT_TRUE(choice.installed);
    EXPECT_TRUE(choice.programFolder.empty());
}

TEST(CreateDataFolder, ABlockedPathIsRefusedNamingTheFolder) {
    TempFolder dir;
    Write(dir / "home", "a file where the home folder should be");
    const fs::path data = dir / "home/.local/share/Lexilark";
    const std::string message = Utf8(CreateDataFolder(data));
    EXPECT_NE(message.find(data.string()), std::string::npos) << message;
    EXPECT_NE(message.find("无法建立"), std::string::npos) << message;
    EXPECT_TRUE(fs::is_regular_file(dir / "home"));
    EXPECT_TRUE(CreateDataFolder(dir / "fine/Lexilark").empty());
    EXPECT_TRUE(fs::is_directory(dir / "fine/Lexilark"));
}

class LayOutDataFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteShipped(shipped);
        fs::create_directories(data);
    }
    // As the program gives them: with trailing separators.
    DataFolderLayout LayOut() { return LayOutDataFolder(shipped / "", data / ""); }
    std::string Read(const std::string& name) { return TempFolder::ReadBytes(data / name); }

    TempFolder dir;
    fs::path shipped = dir / "usr/share/lexilark";
    fs::path data = dir / "home/.local/share/Lexilark";
};

TEST_F(LayOutDataFolderTest, AFreshFolderGetsTheShippedFilesAndTheLearnersStart) {
    const DataFolderLayout layout = LayOut();
    EXPECT_TRUE(layout.fatal.empty()) << Utf8(layout.fatal);
    EXPECT_EQ(Read("lx1.en"), "aliases v1");
    EXPECT_EQ(Read("wordlib/日语N5词汇.lx"), "N5 v1");
    EXPECT_EQ(Read("users/user0/日语N5词汇.lx"), "N5 v1");
    EXPECT_EQ(Read("init.ini"), "preset");
    // init.ini holds the passwords.
    EXPECT_EQ(ModeOf(data / "init.ini"), 0600u);
    EXPECT_TRUE(fs::is_directory(data / "users/user5"));
    EXPECT_TRUE(fs::is_directory(data / "wav"));
    EXPECT_TRUE(fs::is_regular_file(data / kShippedRecordName));

    // A start with nothing new writes nothing.
    const DataFolderLayout again = LayOut();
    EXPECT_TRUE(again.fatal.empty());
    EXPECT_TRUE(again.written.empty());
}

TEST_F(LayOutDataFolderTest, AnUpgradeBringsNewShippedFilesAndKeepsTheLearners) {
    ASSERT_TRUE(LayOut().fatal.empty());
    // The learner studies, changes a shipped list, makes their own library
    // and backs up; one shipped file went missing.
    Write(data / "init.ini", "learner's settings");
    Write(data / "users/user0/日语N5词汇.lx", "N5 with progress");
    Write(data / "start.ini", "help the learner edited");
    Write(data / "wordlib/我的词库.lx", "own library");
    Write(data / "backups/user0/20261210-101010/日语N5词汇.lx", "backup");
    fs::remove(data / "wordlib/收藏库.lx");
    fs::remove_all(data / "users/user5");

    // The package is upgraded.
    Write(shipped / "wordlib/日语N5词汇.lx", "N5 v2");
    Write(shipped / "start.ini", "help v2");
    Write(shipped / "wordlib/日语N4词汇.lx", "N4 v2");
    Write(shipped / "init.ini", "preset v2");
    Write(shipped / "users/user0/日语N5词汇.lx", "N5 v2");

    const DataFolderLayout layout = LayOut();
    EXPECT_TRUE(layout.fatal.empty()) << Utf8(layout.fatal);
    EXPECT_EQ(Read("wordlib/日语N5词汇.lx"), "N5 v2");      // left alone: replaced
    EXPECT_EQ(Read("wordlib/日语N4词汇.lx"), "N4 v2");      // new
    EXPECT_EQ(Read("wordlib/收藏库.lx"), "favourites v1");  // missing: back
    EXPECT_EQ(Read("start.ini"), "help the learner edited");
    EXPECT_EQ(Read("init.ini"), "learner's settings");
    EXPECT_EQ(Read("users/user0/日语N5词汇.lx"), "N5 with progress");
    EXPECT_EQ(Read("wordlib/我的词库.lx"), "own library");
    EXPECT_EQ(Read("backups/user0/20261210-101010/日语N5词汇.lx"), "backup");
    EXPECT_FALSE(fs::exists(data / "users/user5"));

    // The learner's edit stays theirs at the next upgrade too.
    Write(shipped / "start.ini", "help v3");
    ASSERT_TRUE(LayOut().fatal.empty());
    EXPECT_EQ(Read("start.ini"), "help the learner edited");
    EXPECT_EQ(TempFolder::ReadBytes(shipped / "start.ini"), "help v3");
}

TEST_F(LayOutDataFolderTest, AStartKilledHalfWayIsCompleted) {
    // The first start got as far as the administrator's library.
    Write(data / "users/user0/日语N5词汇.lx", "N5 v1");
    Write(data / "lx1.en", "aliases v1");
    const DataFolderLayout layout = LayOut();
    EXPECT_TRUE(layout.fatal.empty()) << Utf8(layout.fatal);
    EXPECT_EQ(Read("init.ini"), "preset");
    EXPECT_EQ(Read("wordlib/收藏库.lx"), "favourites v1");
    EXPECT_TRUE(fs::is_directory(data / "users/user5"));
}

TEST_F(LayOutDataFolderTest, ProgressMovedInFromAPortableFolderIsKept) {
    Write(data / "init.ini", "moved settings");
    Write(data / "users/user0/其他词库.lx", "moved library");
    ASSERT_TRUE(LayOut().fatal.empty());
    EXPECT_EQ(Read("init.ini"), "moved settings");
    EXPECT_FALSE(fs::exists(data / "users/user0/日语N5词汇.lx"));
    EXPECT_FALSE(fs::exists(data / "users/user5"));
    EXPECT_EQ(Read("wordlib/日语N5词汇.lx"), "N5 v1");
}

TEST_F(LayOutDataFolderTest, AReadOnlyOrLinkedShippedFileIsTreatedAsTheSafeWriteDoes) {
    ASSERT_TRUE(LayOut().fatal.empty());
    fs::permissions(data / "start.ini", fs::perms::owner_read);
    Write(dir / "elsewhere/lists/lx1.en", "aliases v1");
    fs::remove(data / "lx1.en");
    fs::create_symlink(dir / "elsewhere/lists/lx1.en", data / "lx1.en");
    Write(shipped / "start.ini", "help v2");
    Write(shipped / "lx1.en", "aliases v2");

    const DataFolderLayout layout = LayOut();
    EXPECT_TRUE(layout.fatal.empty()) << Utf8(layout.fatal);
    ASSERT_EQ(layout.notUpdated.size(), 1u);
    EXPECT_EQ(layout.notUpdated[0].fault(), SaveResult::Fault::ReadOnly);
    EXPECT_EQ(layout.notUpdated[0].file(), data / "start.ini");
    EXPECT_EQ(Read("start.ini"), "help v1");
    // A link is written through and stays a link.
    EXPECT_TRUE(fs::is_symlink(data / "lx1.en"));
    EXPECT_EQ(TempFolder::ReadBytes(dir / "elsewhere/lists/lx1.en"), "aliases v2");
    fs::permissions(data / "start.ini", fs::perms::owner_all);
}

TEST_F(LayOutDataFolderTest, AFolderThatCannotTakeTheFilesStopsTheStartNamingIt) {
    Write(data / "wordlib", "a file where the library folder should be");
    const DataFolderLayout layout = LayOut();
    const std::string message = Utf8(layout.fatal);
    EXPECT_NE(message.find(data.string()), std::string::npos) << message;
    EXPECT_NE(message.find("wordlib"), std::string::npos) << message;
    // Nothing is recorded as laid out, so the next start tries again.
    EXPECT_FALSE(fs::exists(data / kShippedRecordName));
    EXPECT_EQ(TempFolder::ReadBytes(shipped / "wordlib/日语N5词汇.lx"), "N5 v1");
}

}  // namespace
