#pragma once
// The configuration and user store: every setting that outlives a run and
// the table of up to six users, kept in "init.ini" in the program folder.

#include <array>
#include <string>

inline constexpr int kUserSlots = 6;

class TManage {
public:
    TManage();

    // Parses configText into the fields. A value that does not convert is
    // reported (key and value) and leaves its field as it was; the other
    // keys and the user table are read all the same.
    void LoadConfig();
    // Reads gbkProgramFolder + "init.ini" (if present) into configText and
    // parses it; a missing or unreadable file leaves every default.
    void LoadConfigFile(const std::string& gbkProgramFolder);
    // Writes all fields to GetProgramFolder() + "init.ini". False (after
    // "文件打不开") when the file cannot be written; the old file then stays.
    bool SaveConfig();

    void SetUserIndex(int slot) { userindex = slot; }
    int GetUserIndex() const { return userindex; }
    void SetCurrentLibrary(const std::string& name) { currentLibrary = name; }
    const std::string& GetCurrentLibrary() const { return currentLibrary; }

    // Settings, all texts GBK.
    int userindex = 0;
    std::string currentLibrary;
    int delaytime = 800;
    bool autocleareditinput = false;
    bool mute = false;
    bool showsentence = false;
    int readmode = 0;
    int memorymode = 0;
    std::string fontnamecn;   // "宋体" by default
    std::string fontnameen;   // "Times New Roman"
    int fontcolor = 16777215;
    int backcolor = 10045497;
    int bordercolor = 15650749;
    int sentencecountperword = 1;
    std::string configText;

    std::array<std::string, kUserSlots> user;
    std::array<std::string, kUserSlots> password;
    std::array<std::string, kUserSlots> lastwordlib;
};
