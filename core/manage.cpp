#include "core/manage.h"

#include <filesystem>
#include <system_error>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/libraryformat.h"
#include "core/numbertext.h"
#include "core/programfolder.h"
#include "core/scrambledfile.h"
#include "core/tagtext.h"

namespace {

// Every tag of init.ini. A value holding a mark of one of these would be
// found in place of the real one when the file is read back (a password
// "<user2>x</user2>" would make a user), so values are neutralised.
constexpr std::string_view kConfigTags[] = {"name",
                                            "delaytime",
                                            "autocleareditinput",
                                            "mute",
                                            "showsentence",
                                            "fontnamecn",
                                            "fontnameen",
                                            "fontcolor",
                                            "backcolor",
                                            "bordercolor",
                                            "sentencecountperword",
                                            "readmode",
                                            "memorymode",
                                            "acceptreading",
                                            "userindex",
                                            "user0",
                                            "user1",
                                            "user2",
                                            "user3",
                                            "user4",
                                            "user5",
                                            "password0",
                                            "password1",
                                            "password2",
                                            "password3",
                                            "password4",
                                            "password5",
                                            "lastwordlib0",
                                            "lastwordlib1",
                                            "lastwordlib2",
                                            "lastwordlib3",
                                            "lastwordlib4",
                                            "lastwordlib5"};

bool IsSlot(int index) { return index >= 0 && index < kUserSlots; }

std::string SlotKey(const char* prefix, int slot) { return prefix + IntToStr(slot); }

}  // namespace

TManage::TManage() : fontnamecn(Gbk("宋体")), fontnameen("Times New Roman") {}

void TManage::LoadConfig() {
    // A value that does not convert leaves its field as it was; the other
    // keys and, above all, the user table are still read, so a later save
    // cannot wipe the users out. The faulty keys are reported together.
    std::string problems;
    auto convert = [&](const char* key, auto&& apply) {
        const std::string value = FindTagValue(configText, key);
        if (value.empty()) return;
        try {
            apply(value);
        } catch (const ConvertError& e) {
            problems += Gbk("\r\n") + key + Gbk("：") + e.Message();
        }
    };
    auto number = [&](const char* key, int& field) {
        convert(key, [&](const std::string& v) { field = StrToInt(v); });
    };
    auto truth = [&](const char* key, bool& field) {
        convert(key, [&](const std::string& v) { field = StrToBool(v); });
    };
    auto text = [&](const char* key, std::string& field) { convert(key, [&](const std::string& v) { field = v; }); };

    number("delaytime", delaytime);
    truth("autocleareditinput", autocleareditinput);
    truth("mute", mute);
    truth("showsentence", showsentence);
    text("fontnamecn", fontnamecn);
    text("fontnameen", fontnameen);
    number("fontcolor", fontcolor);
    number("backcolor", backcolor);
    number("bordercolor", bordercolor);
    number("sentencecountperword", sentencecountperword);
    number("readmode", readmode);
    number("memorymode", memorymode);
    truth("acceptreading", acceptreading);

    if (FindTagValue(configText, "userindex").empty())
        userindex = 0;
    else
        number("userindex", userindex);
    if (!IsSlot(userindex)) userindex = 0;

    for (int n = 0; n < kUserSlots; ++n) {
        user[n] = FindTagValue(configText, SlotKey("user", n));
        password[n] = FindTagValue(configText, SlotKey("password", n));
        lastwordlib[n] = FindTagValue(configText, SlotKey("lastwordlib", n));
    }
    currentLibrary = lastwordlib[userindex];
    ResetFolderSlots();

    if (!problems.empty()) {
        ShowAppMessage(Gbk("配置文件 init.ini 中有无法读取的设置，这些设置保持原来的值：") + problems);
    }
}

void TManage::LoadConfigFile(const std::string& gbkProgramFolder) {
    const std::filesystem::path path = ToNativePath(gbkProgramFolder + "init.ini");
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return;
    std::optional<std::string> text = ReadScrambledFile(path);
    if (!text) {
        configUnreadable_ = true;
        ShowAppMessage(UnreadableConfigMessage());
        return;
    }
    configText = std::move(*text);
    LoadConfig();
}

void TManage::ResetFolderSlots() {
    for (int n = 0; n < kUserSlots; ++n) folderSlot[n] = n;
    deletedUsers.clear();
}

std::string TManage::UnreadableConfigMessage() {
    return Gbk(
        "配置文件 init.ini 无法读取，用户和设置暂用默认值。为保护原文件，本次运行不保存设置和用户表；"
        "请检查该文件的权限后重新启动澜悦单词。");
}

bool TManage::SaveConfig() {
    if (configUnreadable_) return false;
    // The file holds the passwords: a new one is for its owner's eyes only.
    return ReportSaveResult(
        WriteScrambledFile(ToNativePath(GetProgramFolder() + "init.ini"), ConfigFileText(), NewFileAccess::OwnerOnly));
}

std::string TManage::ConfigFileText() {
    if (IsSlot(userindex)) lastwordlib[userindex] = currentLibrary;

    std::string text;
    AppendTag(text, "name", Gbk("澜悦单词配置文件"), kConfigTags);
    text += "\n\n";

    auto line = [&](const std::string& key, const std::string& value) {
        AppendTag(text, key, value, kConfigTags);
        text += '\n';
    };
    line("delaytime", IntToStr(delaytime));
    line("autocleareditinput", BoolToStr(autocleareditinput));
    line("mute", BoolToStr(mute));
    line("showsentence", BoolToStr(showsentence));
    line("fontnamecn", fontnamecn);
    line("fontnameen", fontnameen);
    line("fontcolor", IntToStr(fontcolor));
    line("backcolor", IntToStr(backcolor));
    line("bordercolor", IntToStr(bordercolor));
    line("sentencecountperword", IntToStr(sentencecountperword));
    line("readmode", IntToStr(readmode));
    line("memorymode", IntToStr(memorymode));
    line("acceptreading", BoolToStr(acceptreading));
    line("userindex", IntToStr(userindex));

    user[0] = Gbk("管理员");
    for (int n = 0; n < kUserSlots; ++n) {
        line(SlotKey("user", n), user[n]);
        line(SlotKey("password", n), password[n]);
        line(SlotKey("lastwordlib", n), lastwordlib[n]);
        text += '\n';
    }
    return text;
}
