// The configuration loader. The input is the plain text of "init.ini". Every
// value it loads is saved and loads back the same: settings, users,
// passwords and last libraries (texts as the writer makes them safe).

#include <cstdint>
#include <string>

#include "core/manage.h"
#include "core/programfolder.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InstallMessageCounter();
    SetProgramFolder(fuzz::Folder().ProgramFolder());

    TManage first;
    first.configText = std::string(fuzz::UpToNul(fuzz::AsText(data, size)));
    first.LoadConfig();
    const std::string written = first.ConfigFileText();
    if (!first.SaveConfig()) return 0;

    TManage second;
    second.LoadConfigFile(fuzz::Folder().ProgramFolder());
    fuzz::Check(first.delaytime == second.delaytime && first.autocleareditinput == second.autocleareditinput &&
                    first.mute == second.mute && first.showsentence == second.showsentence,
                "study switches");
    fuzz::Check(first.readmode == second.readmode && first.memorymode == second.memorymode &&
                    first.sentencecountperword == second.sentencecountperword,
                "modes");
    fuzz::Check(first.fontcolor == second.fontcolor && first.backcolor == second.backcolor &&
                    first.bordercolor == second.bordercolor,
                "colours");
    fuzz::Check(first.userindex == second.userindex, "user index");
    // Texts (font names, users, passwords, last libraries) are written so
    // that a mark of the file's format inside one cannot end it early; what
    // was written reads back as written, so writing it again changes nothing.
    fuzz::Check(second.ConfigFileText() == written, "texts read back as written");
    return 0;
}
