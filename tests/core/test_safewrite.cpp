#include "core/safewrite.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/gbktext.h"
#include "core/manage.h"
#include "core/programfolder.h"
#include "support/file_size_limit.h"
#include "support/message_recorder.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

mode_t ModeOf(const fs::path& p) {
    struct stat info {};
    EXPECT_EQ(stat(p.c_str(), &info), 0) << p;
    return info.st_mode & 07777;
}

mode_t CurrentUmask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// The temporary files of saves lying in `folder`.
std::vector<std::string> Temporaries(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".lxsave~") != std::string::npos)
            found.push_back(entry.path().filename().string());
    return found;
}

// The id of a process that has ended (and been reaped).
pid_t EndedProcessId() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    return child;
}

struct PermissionCase {
    const char* name;
    int existingMode;  // -1: no file yet
    NewFileAccess access;
    int expectedMode;  // -1: what the creation mask gives a new file
};

// Cases are named by their name alone, so that test names stay the same
// from run to run.
void PrintTo(const PermissionCase& c, std::ostream* out) { *out << c.name; }

class SafeWritePermissions : public ::testing::TestWithParam<PermissionCase> {};

TEST_P(SafeWritePermissions, AreThoseOfTheOldFileOrOfANewOne) {
    const PermissionCase& c = GetParam();
    TempFolder dir;
    const fs::path file = dir / "init.ini";
    if (c.existingMode >= 0) {
        TempFolder::WriteBytes(file, "old");
        ASSERT_EQ(chmod(file.c_str(), static_cast<mode_t>(c.existingMode)), 0);
    }
    ASSERT_TRUE(SafeWriteFile(file, "new content", c.access));
    EXPECT_EQ(TempFolder::ReadBytes(file), "new content");
    const mode_t expected = c.expectedMode >= 0 ? static_cast<mode_t>(c.expectedMode) : (0666 & ~CurrentUmask());
    EXPECT_EQ(ModeOf(file), expected);
    EXPECT_TRUE(Temporaries(dir.path()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SafeWritePermissions,
    ::testing::Values(PermissionCase{"OwnerOnlyFileStaysOwnerOnly", 0600, NewFileAccess::Shared, 0600},
                      PermissionCase{"GroupReadableStaysSo", 0640, NewFileAccess::Shared, 0640},
                      PermissionCase{"ExecutableBitsStay", 0750, NewFileAccess::Shared, 0750},
                      PermissionCase{"ExistingFileKeepsItsBitsOverOwnerOnly", 0644, NewFileAccess::OwnerOnly, 0644},
                      PermissionCase{"NewOwnerOnlyFile", -1, NewFileAccess::OwnerOnly, 0600},
                      PermissionCase{"NewSharedFileFollowsTheMask", -1, NewFileAccess::Shared, -1}),
    [](const ::testing::TestParamInfo<PermissionCase>& info) { return std::string(info.param.name); });

// init.ini saved in a program folder of its own.
class SafeWriteOfInitIni : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolder(FromNativePath(dir.path()) + "/"); }
    void TearDown() override { SetProgramFolder(""); }

    TempFolder dir;
    MessageRecorder messages;
    TManage manage;
};

TEST_F(SafeWriteOfInitIni, ANewOneIsForItsOwnerOnly) {
    EXPECT_TRUE(manage.SaveConfig());
    EXPECT_EQ(ModeOf(dir / "init.ini"), 0600u);
    EXPECT_TRUE(messages.shown.empty());
}

TEST(SafeWrite, AReadOnlyFileIsRefusedByName) {
    TempFolder dir;
    const fs::path file = dir / "日语.lx";
    TempFolder::WriteBytes(file, "old");
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    const SaveResult result = SafeWriteFile(file, "new");
    EXPECT_EQ(result.fault(), SaveResult::Fault::ReadOnly);
    EXPECT_EQ(TempFolder::ReadBytes(file), "old");
    EXPECT_EQ(ModeOf(file), 0444u);
    const std::string message = Utf8(result.Message());
    EXPECT_NE(message.find("只读"), std::string::npos) << message;
    EXPECT_NE(message.find(file.string()), std::string::npos) << message;
    EXPECT_TRUE(Temporaries(dir.path()).empty());
}

struct LinkCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links;  // link name -> where it points
    std::string saved;                                       // the name the save is given
    std::string realFile;                                    // the file that must receive it
};

void PrintTo(const LinkCase& c, std::ostream* out) { *out << c.name; }

class SafeWriteLinks : public ::testing::TestWithParam<LinkCase> {};

TEST_P(SafeWriteLinks, WriteThroughIntoTheTarget) {
    const LinkCase& c = GetParam();
    TempFolder dir;
    fs::create_directories(dir / "elsewhere");
    TempFolder::WriteBytes(dir / "elsewhere" / "real.lx", "old");
    for (const auto& [link, to] : c.links) {
        std::string target = to;
        if (target.rfind("ABS/", 0) == 0) target = (dir.path() / target.substr(4)).string();
        fs::create_symlink(target, dir / link);
    }
    ASSERT_TRUE(SafeWriteFile(dir / c.saved, "new"));
    EXPECT_EQ(TempFolder::ReadBytes(dir / c.realFile), "new");
    for (const auto& [link, to] : c.links) EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
    EXPECT_TRUE(Temporaries(dir.path()).empty());
    EXPECT_TRUE(Temporaries(dir / "elsewhere").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SafeWriteLinks,
    ::testing::Values(
        LinkCase{"RelativeLink", {{"lib.lx", "elsewhere/real.lx"}}, "lib.lx", "elsewhere/real.lx"},
        LinkCase{"AbsoluteLink", {{"lib.lx", "ABS/elsewhere/real.lx"}}, "lib.lx", "elsewhere/real.lx"},
        LinkCase{"ChainOfLinks", {{"a.lx", "b.lx"}, {"b.lx", "elsewhere/real.lx"}}, "a.lx", "elsewhere/real.lx"},
        LinkCase{"LinkToAFileNotThereYet", {{"lib.lx", "elsewhere/new.lx"}}, "lib.lx", "elsewhere/new.lx"}),
    [](const ::testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

TEST(SafeWrite, ALoopOfLinksIsRefused) {
    TempFolder dir;
    fs::create_symlink("b.lx", dir / "a.lx");
    fs::create_symlink("a.lx", dir / "b.lx");
    const SaveResult result = SafeWriteFile(dir / "a.lx", "new");
    EXPECT_EQ(result.fault(), SaveResult::Fault::CannotCreate);
    EXPECT_TRUE(fs::is_symlink(dir / "a.lx"));
    EXPECT_TRUE(Temporaries(dir.path()).empty());
}

TEST(SafeWrite, WhatCannotBeCreatedIsNamedAndNothingChanges) {
    TempFolder dir;
    const fs::path missing = dir / "no-such-folder" / "a.lx";
    SaveResult result = SafeWriteFile(missing, "x");
    EXPECT_EQ(result.fault(), SaveResult::Fault::CannotCreate);
    EXPECT_EQ(Utf8(result.Message()).rfind("文件打不开：\r\n" + missing.string(), 0), 0u) << Utf8(result.Message());
    EXPECT_FALSE(fs::exists(dir / "no-such-folder"));

    fs::create_directories(dir / "taken");
    TempFolder::WriteBytes(dir / "taken" / "inside.txt", "keep");
    result = SafeWriteFile(dir / "taken", "x");
    EXPECT_EQ(result.fault(), SaveResult::Fault::CannotCreate);
    EXPECT_NE(Utf8(result.Message()).find("文件夹"), std::string::npos);
    EXPECT_EQ(TempFolder::ReadBytes(dir / "taken" / "inside.txt"), "keep");
    EXPECT_TRUE(Temporaries(dir.path()).empty());
}

// The disk fills up part-way through the save (the file-size limit stops
// the write just as a full disk would).
TEST(SafeWrite, AFailedWriteKeepsTheOldFileAndSaysSo) {
    TempFolder dir;
    const fs::path file = dir / "report.txt";
    const std::string old(3000, 'o');
    TempFolder::WriteBytes(file, old);
    SaveResult result;
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.Set());
        result = SafeWriteFile(file, std::string(100000, 'n'));
    }
    EXPECT_EQ(result.fault(), SaveResult::Fault::WriteFailed);
    EXPECT_EQ(result.error(), std::errc::file_too_large);
    EXPECT_EQ(TempFolder::ReadBytes(file), old);
    EXPECT_TRUE(Temporaries(dir.path()).empty());
    const std::string message = Utf8(result.Message());
    EXPECT_EQ(message.rfind("文件无法写入：\r\n" + file.string(), 0), 0u) << message;
    EXPECT_NE(message.find("原来的文件保持不变"), std::string::npos) << message;
}

// The caller shows what went wrong: a full disk at the save of init.ini
// names init.ini.
TEST_F(SafeWriteOfInitIni, TheCallerShowsTheFailure) {
    ASSERT_TRUE(manage.SaveConfig());
    const std::string before = TempFolder::ReadBytes(dir / "init.ini");
    manage.fontnameen = std::string(5000, 'F');
    bool saved = true;
    {
        FileSizeLimit limit(before.size() + 100);
        ASSERT_TRUE(limit.Set());
        saved = manage.SaveConfig();
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(TempFolder::ReadBytes(dir / "init.ini"), before);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.rfind("文件无法写入：\r\n" + (dir / "init.ini").string(), 0), 0u)
        << messages.shown[0].text;
}

TEST(SafeWrite, MessagesSayWhyTheWriteFailed) {
    const struct {
        std::errc error;
        const char* reason;
    } cases[] = {
        {std::errc::no_space_on_device, "磁盘已满"},    {std::errc::file_too_large, "文件超过了系统允许的大小"},
        {std::errc::io_error, "磁盘读写出错"},          {std::errc::read_only_file_system, "磁盘是只读的"},
        {std::errc::permission_denied, "没有写入权限"},
    };
    for (const auto& c : cases) {
        const SaveResult result(SaveResult::Fault::WriteFailed, "/data/lib.lx", std::make_error_code(c.error));
        const std::string message = Utf8(result.Message());
        EXPECT_EQ(message, std::string("文件无法写入：\r\n/data/lib.lx\r\n\r\n") + c.reason +
                               "。没有保存，原来的文件保持不变。");
    }
    EXPECT_TRUE(SaveResult().Message().empty());
}

// Every process saves through a temporary file of its own, so two
// programs saving one file at the same time never write into each other's
// temporary file: each save is whole, and the last one stays.
TEST(SafeWrite, SavesOfTwoProcessesDoNotCollide) {
    TempFolder dir;
    const fs::path file = dir / "收藏库.lx";
    const std::string contents[2] = {std::string(200000, 'a') + "end a", std::string(150000, 'b') + "end b"};
    pid_t children[2];
    for (int i = 0; i < 2; ++i) {
        children[i] = fork();
        ASSERT_GE(children[i], 0);
        if (children[i] == 0) {
            bool ok = true;
            for (int round = 0; round < 30; ++round) ok = static_cast<bool>(SafeWriteFile(file, contents[i])) && ok;
            _exit(ok ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::string last = TempFolder::ReadBytes(file);
    EXPECT_TRUE(last == contents[0] || last == contents[1]) << last.size() << " bytes";
    EXPECT_TRUE(Temporaries(dir.path()).empty());
}

TEST(SafeWrite, TemporariesOfEndedSavesAreRemovedByTheNextSave) {
    TempFolder dir;
    const fs::path file = dir / "lib.lx";
    const std::string ended = std::to_string(EndedProcessId());
    const std::string running = std::to_string(getppid());
    const std::vector<std::string> stale = {"lib.lx." + ended + "-0.lxsave~", "lib.lx." + ended + "-17.lxsave~"};
    const std::vector<std::string> kept = {"lib.lx." + running + "-3.lxsave~",  // a save in progress
                                           "other.lx." + ended + "-0.lxsave~",  // another file's
                                           "lib.lx.notes", "lib.lx." + ended + ".lxsave~"};
    for (const std::string& name : stale) TempFolder::WriteBytes(dir / name, "half a save");
    for (const std::string& name : kept) TempFolder::WriteBytes(dir / name, "something else");
    ASSERT_TRUE(SafeWriteFile(file, "whole"));
    EXPECT_EQ(TempFolder::ReadBytes(file), "whole");
    for (const std::string& name : stale) EXPECT_FALSE(fs::exists(dir / name)) << name;
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(dir / name)) << name;
}

TEST(SafeWrite, TemporaryNamesBelongToTheirTarget) {
    const struct {
        const char* file;
        bool temporary;
    } cases[] = {
        {"lib.lx.123-0.lxsave~", true},  {"lib.lx.9-41.lxsave~", true},  {"lib.lx.lxsave~", false},
        {"lib.lx.-1.lxsave~", false},    {"lib.lx.12-.lxsave~", false},  {"lib.lx.1x-2.lxsave~", false},
        {"lib.lx.1-2-3.lxsave~", false}, {"lib.lxx.1-2.lxsave~", false}, {"other.lx.1-2.lxsave~", false},
        {"lib.lx.1-2.lxsave", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsSaveTemporaryOf(c.file, "/folder/lib.lx"), c.temporary) << c.file;
}

// A copy (a user's own library, the favourites made from the template) is
// made whole the same way; a source that cannot be read touches nothing.
TEST(SafeWrite, CopiesAreWholeOrNotMade) {
    TempFolder dir;
    TempFolder::WriteBytes(dir / "template.lx", std::string(70000, 't'));
    ASSERT_TRUE(SafeCopyFile(dir / "template.lx", dir / "copy.lx"));
    EXPECT_EQ(TempFolder::ReadBytes(dir / "copy.lx"), std::string(70000, 't'));

    const SaveResult result = SafeCopyFile(dir / "missing.lx", dir / "other.lx");
    EXPECT_EQ(result.fault(), SaveResult::Fault::CannotCreate);
    EXPECT_EQ(result.file(), dir / "missing.lx");
    EXPECT_FALSE(fs::exists(dir / "other.lx"));
    EXPECT_TRUE(Temporaries(dir.path()).empty());
}

}  // namespace
