#pragma once
// The program folder: the folder that holds the executable, whatever the
// working folder. Every data file is found by joining a relative name to it.

#include <string>

// GBK text with a trailing separator. Needs the application object.
std::string ExecutableFolder();
