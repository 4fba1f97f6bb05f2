#include "core/libtext.h"

#include "core/gbktext.h"

void AppendTag(std::string& out, std::string_view name, std::string_view value) {
    AppendOpenTag(out, name);
    out += value;
    AppendCloseTag(out, name);
}

void AppendOpenTag(std::string& out, std::string_view name) {
    out += '<';
    out += name;
    out += '>';
}

void AppendCloseTag(std::string& out, std::string_view name) {
    out += "</";
    out += name;
    out += '>';
}

std::string FindFormatMark(std::string_view text) {
    for (std::string_view name : kLibraryFormatTags) {
        for (const char* open : {"<", "</"}) {
            std::string mark = open;
            mark += name;
            mark += '>';
            if (FindGbk(text, mark) != std::string::npos) return mark;
        }
    }
    return {};
}
