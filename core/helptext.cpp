#include "core/helptext.h"

#include "core/gbktext.h"
#include "core/tagtext.h"

namespace {

// The text between the first opening mark and the closing mark after it.
std::string Between(std::string_view text, std::string_view name) {
    const std::string open = OpenMark(name);
    const size_t start = FindGbk(text, open);
    if (start == std::string_view::npos) return {};
    const size_t from = start + open.size();
    const size_t end = FindGbk(text, CloseMark(name), from);
    if (end == std::string_view::npos) return {};
    return std::string(text.substr(from, end - from));
}

}  // namespace

std::string HelpSection(std::string_view text, std::string_view name) { return Between(text, name); }

std::string HelpPage(std::string_view section, std::string_view tag, int index) {
    const std::string close = CloseMark(tag);
    for (int skipped = 0; skipped < index; ++skipped) {
        const size_t end = FindGbk(section, close);
        if (end == std::string_view::npos) return {};
        section.remove_prefix(end + close.size());
    }
    return Between(section, tag);
}

std::vector<std::string> HelpPages(std::string_view section, std::string_view tag) {
    const std::string close = CloseMark(tag);
    std::vector<std::string> pages;
    for (;;) {
        std::string page = Between(section, tag);
        if (page.empty()) break;
        pages.push_back(std::move(page));
        const size_t end = FindGbk(section, close);
        if (end == std::string_view::npos) break;
        section.remove_prefix(end + close.size());
    }
    return pages;
}

std::string JoinHelpLines(std::string_view fileText) {
    std::string joined;
    joined.reserve(fileText.size() + fileText.size() / 16);
    size_t start = 0;
    while (start < fileText.size()) {
        size_t end = fileText.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = fileText.size();
        joined.append(fileText.substr(start, end - start));
        joined.append("\r\n");
        // A line ends at CR LF, LF or a lone CR.
        start = end;
        if (start < fileText.size() && fileText[start] == '\r') ++start;
        if (start < fileText.size() && fileText[start] == '\n') ++start;
    }
    return joined;
}
