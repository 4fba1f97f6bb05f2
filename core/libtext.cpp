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

void AppendWordTags(std::string& out, const WordList& word) {
    AppendTag(out, "e", word.Word);
    AppendTag(out, "t", IntToStr(word.StudyTimes));
    AppendTag(out, "c", word.Meaning);
    AppendTag(out, "g", IntToStr(word.Grade));
}

std::string FindFormatMark(std::string_view text) {
    static const char* const kNames[] = {
        "e", "t", "c", "g", "word", "editor", "date", "version", "lw", "groupcount",
        "groupindex", "lt", "tlt", "tt", "basegrade", "GradeWordLastWord0",
        "GradeWordLastWord1", "GradeWordLastWord2", "GradeWordLastWord3",
        "GradeWordLastWord4", "GradeWordLastWord5"};
    for (const char* name : kNames) {
        for (const char* open : {"<", "</"}) {
            std::string mark = open;
            mark += name;
            mark += '>';
            if (FindGbk(text, mark) != std::string::npos) return mark;
        }
    }
    return {};
}
