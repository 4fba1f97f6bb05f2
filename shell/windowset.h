#pragma once
// Creates the program's five windows once, in their fixed order, and sets
// the global reference of each (shell/appwindows.h). The order matters: the
// start window loads the configuration before any other window exists, and
// the study window reads its settings from it.

#include <string>

// gbkProgramFolder: the executable's folder, GBK, with its trailing
// separator. Every window is created hidden. An exception escaping a
// window's construction propagates; the windows made so far stay.
void CreateWindowSet(const std::string& gbkProgramFolder);
