// The configuration store: reading init.ini, converting its values, and
// writing it back with every value neutralised.

#include "core/manage.h"
#include "core/numbertext.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/codec.h"
#include "core/gbktext.h"
#include "core/programfolder.h"
#include "core/scrambledfile.h"
#include "core/usermoves.h"
#include "support/message_recorder.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// A program folder of its own for each test; messages are recorded.
class ManageTest : public ::testing::Test {
protected:
    void SetUp() override {
        gbkFolder_ = FromNativePath(folder_.path()) + "/";
        SetProgramFolder(gbkFolder_);
    }
    void TearDown() override { SetProgramFolder(""); }

    fs::path IniPath() const { return folder_ / "init.ini"; }
    // The plain text of the saved init.ini, as UTF-8.
    std::string SavedText() {
        std::optional<std::string> plain = ReadScrambledFile(IniPath());
        EXPECT_TRUE(plain.has_value());
        return plain ? Utf8(*plain) : std::string();
    }
    TManage Loaded(const std::string& utf8Plain) {
        TManage manage;
        manage.configText = Gbk(utf8Plain);
        manage.LoadConfig();
        return manage;
    }
    std::vector<std::string> Messages() const { return recorder_.Texts(); }

    TempFolder folder_;
    MessageRecorder recorder_;
    std::string gbkFolder_;
};

void ExpectDefaultSettings(const TManage& m) {
    EXPECT_EQ(m.delaytime, 800);
    EXPECT_FALSE(m.autocleareditinput);
    EXPECT_FALSE(m.mute);
    EXPECT_FALSE(m.showsentence);
    EXPECT_EQ(m.readmode, 0);
    EXPECT_EQ(m.memorymode, 0);
    EXPECT_EQ(Utf8(m.fontnamecn), "宋体");
    EXPECT_EQ(m.fontnameen, "Times New Roman");
    EXPECT_EQ(m.fontcolor, 16777215);
    EXPECT_EQ(m.backcolor, 10045497);
    EXPECT_EQ(m.bordercolor, 15650749);
    EXPECT_EQ(m.sentencecountperword, 1);
    EXPECT_FALSE(m.acceptreading);
}

void ExpectNoUsers(const TManage& m) {
    for (int n = 0; n < kUserSlots; ++n) {
        EXPECT_EQ(m.user[n], "") << "slot " << n;
        EXPECT_EQ(m.password[n], "") << "slot " << n;
        EXPECT_EQ(m.lastwordlib[n], "") << "slot " << n;
    }
}

const char* const kDefaultConfig =
    "<name>澜悦单词配置文件</name>\n"
    "\n"
    "<delaytime>800</delaytime>\n"
    "<autocleareditinput>0</autocleareditinput>\n"
    "<mute>0</mute>\n"
    "<showsentence>0</showsentence>\n"
    "<fontnamecn>宋体</fontnamecn>\n"
    "<fontnameen>Times New Roman</fontnameen>\n"
    "<fontcolor>16777215</fontcolor>\n"
    "<backcolor>10045497</backcolor>\n"
    "<bordercolor>15650749</bordercolor>\n"
    "<sentencecountperword>1</sentencecountperword>\n"
    "<readmode>0</readmode>\n"
    "<memorymode>0</memorymode>\n"
    "<acceptreading>0</acceptreading>\n"
    "<userindex>0</userindex>\n"
    "<user0>管理员</user0>\n<password0></password0>\n<lastwordlib0></lastwordlib0>\n\n"
    "<user1></user1>\n<password1></password1>\n<lastwordlib1></lastwordlib1>\n\n"
    "<user2></user2>\n<password2></password2>\n<lastwordlib2></lastwordlib2>\n\n"
    "<user3></user3>\n<password3></password3>\n<lastwordlib3></lastwordlib3>\n\n"
    "<user4></user4>\n<password4></password4>\n<lastwordlib4></lastwordlib4>\n\n"
    "<user5></user5>\n<password5></password5>\n<lastwordlib5></lastwordlib5>\n\n";

TEST_F(ManageTest, NewStoreHoldsTheDefaultsAndNoUsers) {
    TManage m;
    ExpectDefaultSettings(m);
    ExpectNoUsers(m);
    EXPECT_EQ(m.GetUserIndex(), 0);
    EXPECT_EQ(m.GetCurrentLibrary(), "");
}

TEST_F(ManageTest, SavedDefaultsDecodeToTheExactLayout) {
    TManage m;
    ASSERT_TRUE(m.SaveConfig());
    EXPECT_EQ(SavedText(), kDefaultConfig);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ManageTest, SaveForcesTheAdministratorNameAndStoresTheCurrentLibrary) {
    TManage m;
    m.user[0] = Gbk("老师");
    m.user[1] = Gbk("小王");
    m.SetUserIndex(1);
    m.SetCurrentLibrary(Gbk("日语N5.lx"));
    ASSERT_TRUE(m.SaveConfig());
    const std::string text = SavedText();
    EXPECT_NE(text.find("<user0>管理员</user0>\n"), std::string::npos);
    EXPECT_NE(text.find("<user1>小王</user1>\n"), std::string::npos);
    EXPECT_NE(text.find("<userindex>1</userindex>\n"), std::string::npos);
    EXPECT_NE(text.find("<lastwordlib1>日语N5.lx</lastwordlib1>\n"), std::string::npos);
    EXPECT_NE(text.find("<lastwordlib0></lastwordlib0>\n"), std::string::npos);
}

TEST_F(ManageTest, SaveThenLoadGivesBackEveryFieldAndAllSlots) {
    TManage saved;
    saved.delaytime = 1500;
    saved.autocleareditinput = true;
    saved.mute = true;
    saved.showsentence = true;
    saved.readmode = 3;
    saved.memorymode = 1;
    saved.fontnamecn = Gbk("黑体");
    saved.fontnameen = "Arial";
    saved.fontcolor = 255;
    saved.backcolor = -16777201;  // a system colour value: negative
    saved.bordercolor = 0;
    saved.sentencecountperword = 3;
    saved.acceptreading = true;
    for (int n = 0; n < kUserSlots; ++n) {
        saved.user[n] = Gbk("用户") + IntToStr(n);
        saved.password[n] = n % 2 ? Gbk("密码") + IntToStr(n) : "";
        saved.lastwordlib[n] = Gbk("词库") + IntToStr(n) + ".lx";
    }
    saved.SetUserIndex(4);
    saved.SetCurrentLibrary(Gbk("新词库.lx"));
    ASSERT_TRUE(saved.SaveConfig());

    TManage loaded;
    loaded.LoadConfigFile(gbkFolder_);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(loaded.delaytime, 1500);
    EXPECT_TRUE(loaded.autocleareditinput);
    EXPECT_TRUE(loaded.mute);
    EXPECT_TRUE(loaded.showsentence);
    EXPECT_EQ(loaded.readmode, 3);
    EXPECT_EQ(loaded.memorymode, 1);
    EXPECT_EQ(loaded.fontnamecn, saved.fontnamecn);
    EXPECT_EQ(loaded.fontnameen, "Arial");
    EXPECT_EQ(loaded.fontcolor, 255);
    EXPECT_EQ(loaded.backcolor, -16777201);
    EXPECT_EQ(loaded.bordercolor, 0);
    EXPECT_EQ(loaded.sentencecountperword, 3);
    EXPECT_TRUE(loaded.acceptreading);
    EXPECT_EQ(loaded.GetUserIndex(), 4);
    EXPECT_EQ(Utf8(loaded.GetCurrentLibrary()), "新词库.lx");
    EXPECT_EQ(Utf8(loaded.user[0]), "管理员");
    for (int n = 1; n < kUserSlots; ++n) EXPECT_EQ(loaded.user[n], saved.user[n]);
    EXPECT_EQ(loaded.password, saved.password);
    EXPECT_EQ(loaded.lastwordlib, saved.lastwordlib);
    EXPECT_EQ(Utf8(loaded.configText).rfind("<name>澜悦单词配置文件</name>\n", 0), 0u);
}

// Files written before the reading setting existed have no tag for it: it
// reads as off, and everything else of such a file is read as before.
TEST_F(ManageTest, ReadingSettingMissingInOlderFilesReadsAsOff) {
    struct Case {
        const char* name;
        const char* text;
        bool expected;
    };
    const Case cases[] = {
        {"older file without the tag", "<mute>-1</mute><readmode>2</readmode><user0>管理员</user0>", false},
        {"switched on", "<mute>-1</mute><readmode>2</readmode><acceptreading>-1</acceptreading>", true},
        {"switched off", "<mute>-1</mute><readmode>2</readmode><acceptreading>0</acceptreading>", false},
        {"empty tag keeps the default", "<mute>-1</mute><readmode>2</readmode><acceptreading></acceptreading>", false},
    };
    for (const Case& c : cases) {
        const TManage m = Loaded(c.text);
        EXPECT_EQ(m.acceptreading, c.expected) << c.name;
        EXPECT_TRUE(m.mute) << c.name;
        EXPECT_EQ(m.readmode, 2) << c.name;
    }
    EXPECT_TRUE(Messages().empty());
}

// A value that holds marks of init.ini's own tags, line breaks or a cut
// GBK character must neither make nor reshape another value: every other
// field reads back exactly, the value itself reads back as it was written,
// and saving what was read writes the same file again.
TEST_F(ManageTest, NastyValuesReadBackAndLeaveTheOtherValuesAlone) {
    struct Case {
        const char* name;
        std::string value;
        std::string readBack;  // empty: the value itself
    };
    const std::string fullWidthLt = Gbk("＜");
    const Case cases[] = {
        {"a password that makes a user", "<user2>x</user2>", fullWidthLt + "user2>x" + fullWidthLt + "/user2>"},
        {"a value cut by its own closing mark", "pa</password1>ss", "pa" + fullWidthLt + "/password1>ss"},
        {"a last library outside the folder", "<lastwordlib1>../../etc</lastwordlib1>",
         fullWidthLt + "lastwordlib1>../../etc" + fullWidthLt + "/lastwordlib1>"},
        {"a closing mark of an earlier key", "</delaytime></userindex>",
         fullWidthLt + "/delaytime>" + fullWidthLt + "/userindex>"},
        {"line breaks", "a\r\nb\nc", "a  b c"},
        {"a cut double-byte character", Gbk("词").substr(0, 1), "?"},
        {"angle brackets that are no marks", "<b>x</b> a<b c>d <user9> <<user1>",
         "<b>x</b> a<b c>d <user9> <" + fullWidthLt + "user1>"},
        {"plain Chinese", Gbk("日语 N5 词库.lx"), ""},
    };
    for (const Case& c : cases) {
        TManage saved;
        saved.delaytime = 1234;
        for (int n = 0; n < kUserSlots; ++n) {
            saved.user[n] = n < 4 ? Gbk("用户") + IntToStr(n) : "";
            saved.password[n] = c.value;
            saved.lastwordlib[n] = c.value;
        }
        saved.user[1] = c.value;
        saved.fontnamecn = c.value;
        saved.fontnameen = c.value;
        saved.SetUserIndex(2);
        saved.SetCurrentLibrary(c.value);
        ASSERT_TRUE(saved.SaveConfig()) << c.name;
        const std::string firstFile = TempFolder::ReadBytes(IniPath());

        TManage loaded;
        loaded.LoadConfigFile(gbkFolder_);
        const std::string expected = c.readBack.empty() ? c.value : c.readBack;
        EXPECT_EQ(loaded.delaytime, 1234) << c.name;
        EXPECT_EQ(loaded.GetUserIndex(), 2) << c.name;
        EXPECT_EQ(loaded.user[1], expected) << c.name;
        EXPECT_EQ(loaded.fontnamecn, expected) << c.name;
        EXPECT_EQ(loaded.fontnameen, expected) << c.name;
        EXPECT_EQ(loaded.GetCurrentLibrary(), expected) << c.name;
        for (int n = 0; n < kUserSlots; ++n) {
            if (n != 1) {
                EXPECT_EQ(loaded.user[n], n == 0 ? Gbk("管理员") : saved.user[n]) << c.name << n;
            }
            EXPECT_EQ(loaded.password[n], expected) << c.name << n;
            EXPECT_EQ(loaded.lastwordlib[n], expected) << c.name << n;
        }

        ASSERT_TRUE(loaded.SaveConfig()) << c.name;
        EXPECT_EQ(TempFolder::ReadBytes(IniPath()), firstFile) << c.name;
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ManageTest, FileWithOnlyADelayKeepsEveryOtherDefault) {
    TManage m = Loaded("<delaytime>1500</delaytime>");
    EXPECT_EQ(m.delaytime, 1500);
    m.delaytime = 800;
    ExpectDefaultSettings(m);
    ExpectNoUsers(m);
    EXPECT_EQ(m.GetUserIndex(), 0);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ManageTest, TruthValuesAcceptNumbersAndWordsInAnyCase) {
    struct Case {
        const char* text;
        bool mute;
    };
    const Case cases[] = {
        {"<mute>-1</mute>", true},   {"<mute>7</mute>", true},
        {"<mute>TRUE</mute>", true}, {"<mute>tRuE</mute>", true},
        {"<mute>0</mute>", false},   {"<mute>False</mute>", false},
        {"<mute></mute>", false},    {"<mute>-1</mute><mute>0</mute>", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Loaded(c.text).mute, c.mute) << c.text;
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ManageTest, UserIndexOutsideTheSlotsCountsAsZero) {
    struct Case {
        const char* text;
        int index;
        const char* library;
    };
    const Case cases[] = {
        {"<userindex>3</userindex><lastwordlib3>c.lx</lastwordlib3>", 3, "c.lx"},
        {"<userindex>9</userindex><lastwordlib0>a.lx</lastwordlib0>", 0, "a.lx"},
        {"<userindex>-1</userindex><lastwordlib0>a.lx</lastwordlib0>", 0, "a.lx"},
        {"<userindex>6</userindex>", 0, ""},
        {"<userindex></userindex><lastwordlib0>a.lx</lastwordlib0>", 0, "a.lx"},
    };
    for (const Case& c : cases) {
        TManage m = Loaded(c.text);
        EXPECT_EQ(m.GetUserIndex(), c.index) << c.text;
        EXPECT_EQ(m.GetCurrentLibrary(), c.library) << c.text;
    }
}

TEST_F(ManageTest, ValuesAreTakenRawUpToTheFirstClosingMark) {
    TManage m = Loaded(
        "<junk>1</junk><fontnameen>Courier New</fontnameen>\n"
        "<user0>管理员</user0><user1>小</user1>李</user1>\n"
        "<password1> 空 格 </password1>");
    EXPECT_EQ(m.fontnameen, "Courier New");
    EXPECT_EQ(Utf8(m.user[1]), "小");
    EXPECT_EQ(Utf8(m.password[1]), " 空 格 ");
}

TEST_F(ManageTest, ValueThatDoesNotConvertIsReportedAndTheRestIsStillRead) {
    TManage m = Loaded(
        "<delaytime>abc</delaytime><mute>yes</mute><showsentence>-1</showsentence>"
        "<memorymode>1</memorymode><userindex>x</userindex>"
        "<user0>管理员</user0><password0>pw</password0><lastwordlib0>a.lx</lastwordlib0>"
        "<user1>小王</user1><lastwordlib1>b.lx</lastwordlib1>");
    ASSERT_EQ(Messages().size(), 1u);
    const std::string message = Messages()[0];
    for (const char* part : {"delaytime", "'abc'", "mute", "'yes'", "userindex", "'x'"}) {
        EXPECT_NE(message.find(part), std::string::npos) << part << " in " << message;
    }
    EXPECT_EQ(m.delaytime, 800);
    EXPECT_FALSE(m.mute);
    EXPECT_TRUE(m.showsentence);
    EXPECT_EQ(m.memorymode, 1);
    EXPECT_EQ(m.GetUserIndex(), 0);
    EXPECT_EQ(Utf8(m.user[1]), "小王");
    EXPECT_EQ(m.password[0], "pw");
    EXPECT_EQ(m.GetCurrentLibrary(), "a.lx");

    // The users survive a save after the faulty load.
    ASSERT_TRUE(m.SaveConfig());
    TManage reloaded;
    reloaded.LoadConfigFile(gbkFolder_);
    EXPECT_EQ(Utf8(reloaded.user[1]), "小王");
    EXPECT_EQ(reloaded.lastwordlib[1], "b.lx");
    EXPECT_EQ(reloaded.delaytime, 800);
}

TEST_F(ManageTest, MissingOrUnreadableFileLeavesTheDefaults) {
    TManage missing;
    missing.LoadConfigFile(gbkFolder_);
    ExpectDefaultSettings(missing);
    ExpectNoUsers(missing);
    EXPECT_TRUE(Messages().empty());

    TempFolder::WriteBytes(IniPath(), std::string(kLargestReadableFile + 1, 'a'));
    TManage tooLarge;
    tooLarge.LoadConfigFile(gbkFolder_);
    ExpectDefaultSettings(tooLarge);
    ExpectNoUsers(tooLarge);
    EXPECT_EQ(tooLarge.configText, "");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"词库过大，无法加载！请与作者联系！",
                                                    Utf8(TManage::UnreadableConfigMessage())}));
}

// A file that is there but cannot be read holds the learners' users and
// settings: the defaults in its place are never written over it, neither
// by a save of the settings nor by a save of the user table.
TEST_F(ManageTest, UnreadableFileIsSaidAndNeverSavedOver) {
    const std::string unreadable(kLargestReadableFile + 1, 'a');
    TempFolder::WriteBytes(IniPath(), unreadable);
    TManage m;
    m.LoadConfigFile(gbkFolder_);
    EXPECT_TRUE(m.ConfigUnreadable());
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1],
              "配置文件 init.ini 无法读取，用户和设置暂用默认值。为保护原文件，本次运行不保存设置和用户表；"
              "请检查该文件的权限后重新启动澜悦单词。");

    m.user[1] = Gbk("新用户");
    EXPECT_FALSE(m.SaveConfig());
    EXPECT_FALSE(CommitUserTable(m, gbkFolder_, "2026-12-11"));
    EXPECT_EQ(Messages().back(), Utf8(TManage::UnreadableConfigMessage()));
    EXPECT_EQ(TempFolder::ReadBytes(IniPath()), unreadable);
    EXPECT_FALSE(fs::exists(folder_ / "users"));

    // A readable file, or none, leaves saving as it always was.
    for (bool present : {true, false}) {
        if (present)
            ASSERT_TRUE(WriteScrambledFile(IniPath(), Gbk("<delaytime>900</delaytime>")));
        else
            fs::remove(IniPath());
        TManage readable;
        readable.LoadConfigFile(gbkFolder_);
        EXPECT_FALSE(readable.ConfigUnreadable()) << present;
        EXPECT_TRUE(readable.SaveConfig()) << present;
    }
}

TEST_F(ManageTest, LoadsFromAFolderWithSpacesAndChineseInItsName) {
    const fs::path sub = folder_ / "a b 程序";
    fs::create_directories(sub);
    ASSERT_TRUE(WriteScrambledFile(sub / "init.ini", Gbk("<delaytime>1200</delaytime>")));
    TManage m;
    m.LoadConfigFile(FromNativePath(sub) + "/");
    EXPECT_EQ(m.delaytime, 1200);
}

TEST_F(ManageTest, SaveThatCannotBeWrittenIsReported) {
    TManage m;
    SetProgramFolder(gbkFolder_ + "no such folder/");
    EXPECT_FALSE(m.SaveConfig());
    EXPECT_EQ(recorder_.FirstLines(), std::vector<std::string>{"文件打不开："});
    EXPECT_FALSE(fs::exists(folder_ / "no such folder"));

    // Something that is not a file standing in the way is left alone.
    fs::create_directory(IniPath());
    SetProgramFolder(gbkFolder_);
    EXPECT_FALSE(m.SaveConfig());
    EXPECT_EQ(recorder_.FirstLines(), (std::vector<std::string>{"文件打不开：", "文件打不开："}));
    EXPECT_TRUE(fs::is_directory(IniPath()));
}

}  // namespace
