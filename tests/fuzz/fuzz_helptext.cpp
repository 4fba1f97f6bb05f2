// The help guide's text: sections and pages are found without running off
// the text, the one-walk topic list equals asking for each page in turn,
// and joining lines is stable (a joined text joins to itself).

#include <cstdint>
#include <string>
#include <vector>

#include "core/helptext.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input = fuzz::AsText(data, size);
    const std::string joined = JoinHelpLines(input);
    fuzz::Check(JoinHelpLines(joined) == joined, "joined lines join to themselves");

    for (const char* name : {"helplist", "a"}) {
        const std::string section = HelpSection(joined, name);
        const std::vector<std::string> pages = HelpPages(section, "item");
        for (size_t i = 0; i < pages.size() && i < 64; ++i)
            fuzz::Check(HelpPage(section, "item", static_cast<int>(i)) == pages[i], "the list gives each page");
        if (pages.size() < 64)
            fuzz::Check(HelpPage(section, "item", static_cast<int>(pages.size())).empty(),
                        "the list ends where the pages end");
    }
    return 0;
}
