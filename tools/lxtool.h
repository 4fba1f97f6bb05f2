#pragma once
// lxtool: the command-line companion for library makers. Each command lives
// in its own file and registers itself with LXTOOL_COMMAND.

#include <string>
#include <vector>

namespace lxtool {

// Arguments after the command name, as given (UTF-8).
using Args = std::vector<std::string>;
using CommandFn = int (*)(const Args& args);

struct Command {
    const char* name;
    const char* usage;  // one line: "decode FILE"
    const char* help;   // what it does, a few lines
    CommandFn run;
};

bool RegisterCommand(const Command& command);

// Prints a UTF-8 error line "lxtool: <text>" on standard error; returns 1.
int Fail(const std::string& utf8Text);
// Installs a message sink that prints the program's messages (GBK) on
// standard error as UTF-8; lxtool calls it before any command runs.
void UseConsoleMessages();
// A command-line file name (UTF-8) as a path.
std::string PathArg(const std::string& utf8);

}  // namespace lxtool

#define LXTOOL_CONCAT2(a, b) a##b
#define LXTOOL_CONCAT(a, b) LXTOOL_CONCAT2(a, b)
#define LXTOOL_COMMAND(NAME, USAGE, HELP, FN) \
    static const bool LXTOOL_CONCAT(lxtool_registered_, __LINE__) = ::lxtool::RegisterCommand({NAME, USAGE, HELP, FN})
