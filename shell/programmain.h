#pragma once
#include <functional>

// The whole program: works out the program folder, makes the window system
// speak Chinese, shows the start window, then makes the pronunciation font
// available and creates the other windows, and runs until "退出系统".
// afterStart, when given, runs once the start window is up and before the
// event loop (a build that drives the program from outside hooks in here).
int RunLexilark(int argc, char** argv, const std::function<void()>& afterStart = {});
