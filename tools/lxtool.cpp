#include "tools/lxtool.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "core/appmessage.h"
#include "core/gbktext.h"

namespace lxtool {
namespace {

std::vector<Command>& Commands() {
    static std::vector<Command> commands;
    return commands;
}

void PrintHelp(std::ostream& out) {
    out << "lxtool: make and inspect Lexilark data files (word libraries *.lx,\n"
           "init.ini, the data lists lx1.en..lx4.en).\n\n"
           "Usage: lxtool COMMAND [ARGUMENTS]\n\n"
           "Texts given on the command line and printed are UTF-8; the files hold\n"
           "GBK text, scrambled.\n\nCommands:\n";
    auto commands = Commands();
    std::sort(commands.begin(), commands.end(),
              [](const Command& a, const Command& b) { return std::string(a.name) < b.name; });
    for (const Command& c : commands) {
        out << "  lxtool " << c.usage << "\n";
        std::string help = c.help;
        size_t start = 0;
        while (start < help.size()) {
            size_t end = help.find('\n', start);
            if (end == std::string::npos) end = help.size();
            out << "      " << help.substr(start, end - start) << "\n";
            start = end + 1;
        }
        out << "\n";
    }
    out << "Errors are reported on standard error with a non-zero exit status.\n";
}

}  // namespace

bool RegisterCommand(const Command& command) {
    Commands().push_back(command);
    return true;
}

int Fail(const std::string& utf8Text) {
    std::cerr << "lxtool: " << utf8Text << "\n";
    return 1;
}

void UseConsoleMessages() {
    SetMessageSink([](const std::string& gbkText, int flags) {
        std::cerr << "lxtool: " << GbkToUtf8(gbkText) << "\n";
        return IsQuestion(flags) ? kIdNo : kIdOk;
    });
}

std::string PathArg(const std::string& utf8) { return utf8; }

}  // namespace lxtool

int main(int argc, char** argv) {
    using namespace lxtool;
    UseConsoleMessages();
    if (argc < 2) {
        PrintHelp(std::cerr);
        return 2;
    }
    std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(std::cout);
        return 0;
    }
    Args args(argv + 2, argv + argc);
    for (const Command& c : Commands()) {
        if (name == c.name) {
            if (std::find(args.begin(), args.end(), "--help") != args.end()) {
                std::cout << "Usage: lxtool " << c.usage << "\n" << c.help << "\n";
                return 0;
            }
            return c.run(args);
        }
    }
    return Fail("unknown command '" + name + "' (see lxtool --help)");
}
