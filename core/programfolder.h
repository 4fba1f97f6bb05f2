#pragma once
// The program folder as the library classes see it: the study window
// publishes it (shell/programfolder.h finds it) and the core reads it
// without knowing about windows.

#include <string>

// The program folder (GBK, with its trailing separator), published by the
// study window when it is created; empty before that.
void SetProgramFolder(const std::string& gbkFolder);
const std::string& GetProgramFolder();
