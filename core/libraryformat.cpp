#include "core/libraryformat.h"

#include "core/gbktext.h"

namespace {

// True when `pos` starts a character of the GBK `text` (the same stepping
// as FindGbk: a lead byte takes the next byte with it).
bool StartsCharacter(std::string_view text, size_t pos) {
    size_t i = 0;
    while (i < pos) i += (IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
    return i == pos;
}

// FindGbk for the marks of a line: a fast byte search, checked against the
// character boundaries only where a candidate is found.
size_t FindMark(std::string_view text, std::string_view mark, size_t from = 0) {
    for (size_t p = text.find(mark, from); p != std::string_view::npos; p = text.find(mark, p + 1))
        if (StartsCharacter(text, p)) return p;
    return std::string_view::npos;
}

// "<name>" or "</name>" in a small buffer, without allocating.
struct Mark {
    char text[40];
    size_t size = 0;
    Mark(std::string_view name, bool closing) {
        text[size++] = '<';
        if (closing) text[size++] = '/';
        for (char c : name.substr(0, sizeof(text) - 4)) text[size++] = c;
        text[size++] = '>';
    }
    std::string_view view() const { return {text, size}; }
};

int IntValue(std::string_view line, std::string_view name) { return StrToInt(TagText(line, name)); }

void ParseHeaderLine(std::string_view line, LibraryFileValues& v) {
    if (HasOpeningMark(line, "lw")) v.LastWord = IntValue(line, "lw");
    if (HasOpeningMark(line, "lt")) v.LoopTimes = IntValue(line, "lt");
    if (HasOpeningMark(line, "tlt")) v.ThisLoopTime = IntValue(line, "tlt");
    if (HasOpeningMark(line, "tt")) v.TotalTime = IntValue(line, "tt");
    if (HasOpeningMark(line, "date")) v.Date = TagText(line, "date");
    if (HasOpeningMark(line, "version")) v.Version = TagText(line, "version");
    if (HasOpeningMark(line, "editor")) v.Editor = TagText(line, "editor");
    // These three fall back to their defaults on every header line that
    // lacks them.
    v.GroupCount = HasOpeningMark(line, "groupcount") ? IntValue(line, "groupcount") : 1;
    v.GroupIndex = HasOpeningMark(line, "groupindex") ? IntValue(line, "groupindex") : 0;
    v.BaseGrade = HasOpeningMark(line, "basegrade") ? IntValue(line, "basegrade") : 0;
    for (int i = 0; i < 6; ++i) {
        std::string name = "GradeWordLastWord" + std::to_string(i);
        if (HasOpeningMark(line, name)) v.GradeWordLastWord[i] = TagText(line, name);
    }
}

}  // namespace

WordList ParseWordLine(std::string_view line) {
    WordList w;
    w.Word = TagText(line, "e");
    w.Meaning = TagText(line, "c");
    std::string_view times = TagText(line, "t");
    w.StudyTimes = times.empty() ? 0 : StrToIntDef(times, 0);
    std::string_view grade = TagText(line, "g");
    w.Grade = StrToInt(grade);
    if (w.Grade < 0 || w.Grade > 5)
        throw LibraryFormatError(Gbk("词库中单词“") + w.Word + Gbk("”的级别") + std::string(grade) +
                                 Gbk("不在0到5之间，无法加载！"));
    return w;
}

std::vector<std::string> SplitLibraryLines(std::string_view text) {
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

std::string_view TagText(std::string_view line, std::string_view name) {
    Mark open(name, false), close(name, true);
    size_t p = FindMark(line, open.view());
    if (p == std::string_view::npos) return {};
    size_t start = p + open.size;
    size_t q = FindMark(line, close.view());
    if (q == std::string_view::npos || q < start) return {};
    return line.substr(start, q - start);
}

bool HasOpeningMark(std::string_view line, std::string_view name) {
    return FindMark(line, Mark(name, false).view()) != std::string_view::npos;
}

void ParseLibraryLines(const std::vector<std::string>& lines, LibraryFileValues& values,
                       std::vector<WordList>& words) {
    values.LoopTimes = 1;
    values.ThisLoopTime = 0;
    values.TotalDisplays = 0;
    for (const std::string& line : lines) {
        if (TrimGbk(line).empty() || !HasOpeningMark(line, "e")) {
            ParseHeaderLine(line, values);
            continue;
        }
        if (words.size() >= static_cast<size_t>(kMaxLibraryWords))
            throw LibraryFormatError(Gbk("词库单词数超过") + IntToStr(kMaxLibraryWords) +
                                     Gbk("个，无法加载！"));
        words.push_back(ParseWordLine(line));
        values.TotalDisplays += words.back().StudyTimes;
    }
}

std::string LibraryTagValue(std::string_view gbkValue) {
    std::string out;
    out.reserve(gbkValue.size());
    for (char c : gbkValue) {
        if (c == '<')
            out += Gbk("＜");
        else if (c == '\r' || c == '\n' || c == '\0')
            out += ' ';
        else
            out += c;
    }
    return out;
}

void WriteWordTags(ScrambledWriter& writer, const WordList& word) {
    writer.WriteTag("e", LibraryTagValue(word.Word));
    writer.WriteTag("t", IntToStr(word.StudyTimes));
    writer.WriteTag("c", LibraryTagValue(word.Meaning));
    writer.WriteTag("g", IntToStr(word.Grade));
}
