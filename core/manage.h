#pragma once
// The configuration and user store: every setting that outlives a run and
// the table of up to six users, kept in "init.ini" in the program folder.

#include <array>
#include <string>
#include <vector>

inline constexpr int kUserSlots = 6;
// A user added since the table was last saved: no folder holds their files.
inline constexpr int kNewUserFolder = -1;

class TManage {
public:
    TManage();

    // Parses configText into the fields. A value that does not convert is
    // reported (key and value) and leaves its field as it was; the other
    // keys and the user table are read all the same.
    void LoadConfig();
    // Reads gbkProgramFolder + "init.ini" (if present) into configText and
    // parses it; a missing file leaves every default. So does a file that
    // is there but cannot be read, which is said (UnreadableConfigMessage)
    // and marks the configuration unreadable for the rest of the run.
    void LoadConfigFile(const std::string& gbkProgramFolder);
    // init.ini is there but could not be read: what the program holds are
    // defaults, and saving them would wipe out the learners' real users
    // and settings, so neither SaveConfig nor CommitUserTable writes it.
    bool ConfigUnreadable() const { return configUnreadable_; }
    static std::string UnreadableConfigMessage();  // GBK
    // Writes all fields to GetProgramFolder() + "init.ini". False (after a
    // message naming the file) when it cannot be written; the old file then
    // stays. False without writing while the configuration is unreadable.
    bool SaveConfig();
    // The plain text SaveConfig writes (after storing currentLibrary as the
    // current slot's last library and naming slot 0 the administrator).
    std::string ConfigFileText();

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
    std::string fontnamecn;  // "宋体" by default
    std::string fontnameen;  // "Times New Roman"
    int fontcolor = 16777215;
    int backcolor = 10045497;
    int bordercolor = 15650749;
    int sentencecountperword = 1;
    // A kanji word's reading, typed in hiragana or katakana, counts as a
    // right answer. Files written before the setting existed lack its tag,
    // which reads as off.
    bool acceptreading = false;
    std::string configText;

    std::array<std::string, kUserSlots> user;
    std::array<std::string, kUserSlots> password;
    std::array<std::string, kUserSlots> lastwordlib;

    // Edits of the user table not yet saved, for the user folders: for each
    // slot, the slot whose folder "users\userN\" held that user's files when
    // the table was last saved (kNewUserFolder for a user added since), and
    // the users deleted since, with the slot of their folder. Saving the
    // table with CommitUserTable (core/usermoves.h) moves the folders to
    // match and starts these afresh.
    struct DeletedUser {
        int folderSlot;
        std::string name;
    };
    std::array<int, kUserSlots> folderSlot{0, 1, 2, 3, 4, 5};
    std::vector<DeletedUser> deletedUsers;
    // Forgets the edits: every slot's files are in its own folder.
    void ResetFolderSlots();

private:
    bool configUnreadable_ = false;
};
