#include "core/libtext.h"

#include "core/apphelpers.h"
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

bool HasTag(std::string_view text, std::string_view name) {
    std::string mark = "<";
    mark += name;
    mark += '>';
    return FindGbk(text, mark) != std::string::npos;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

WordList ParseWordLine(std::string_view line) {
    WordList word;
    word.Word = FindTagValue(line, "e");
    word.Meaning = FindTagValue(line, "c");
    std::string times = FindTagValue(line, "t");
    word.StudyTimes = times.empty() ? 0 : StrToIntDef(times, 0);
    word.Grade = StrToInt(FindTagValue(line, "g"));
    return word;
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
