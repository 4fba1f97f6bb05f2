// Holds the published program folder.

#include "core/programfolder.h"

namespace {

std::string& ProgramFolderText() {
    static std::string folder;
    return folder;
}

}  // namespace

void SetProgramFolder(const std::string& gbkFolder) { ProgramFolderText() = gbkFolder; }

const std::string& GetProgramFolder() { return ProgramFolderText(); }
