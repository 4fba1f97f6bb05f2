#include "shell/appwindows.h"

TformStart* formStart = nullptr;
TformMain* formMain = nullptr;
TSelectWordLib* SelectWordLib = nullptr;
TformHelp* formHelp = nullptr;
TformMakeWordLib* formMakeWordLib = nullptr;
TformStats* formStats = nullptr;
