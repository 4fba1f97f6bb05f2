#include "core/libraryformat.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "core/gbktext.h"
#include "core/numbertext.h"

namespace {

// True when `pos` starts a character of the GBK `text`, with the same
// stepping as FindGbk (a lead byte takes the next byte with it). A byte
// outside the lead range always ends a character, so only the run of
// lead-range bytes just before `pos` matters: they pair up from its start.
bool StartsCharacter(std::string_view text, size_t pos) {
    size_t run = 0;
    while (run < pos && IsGbkLeadByte(static_cast<unsigned char>(text[pos - 1 - run]))) ++run;
    return run % 2 == 0;
}

// True for a line that trims to nothing (only blanks and control bytes).
bool IsBlank(std::string_view line) {
    for (char c : line)
        if (static_cast<unsigned char>(c) > 0x20) return false;
    return true;
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

int IntValue(std::string_view line, std::string_view name) {
    const std::string_view text = TagText(line, name);
    try {
        return StrToInt(text);
    } catch (const ConvertError&) {
        throw LibraryFormatError(Gbk("“") + std::string(name) + Gbk("”的值“") + std::string(text) + Gbk("”不是整数"));
    }
}

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
    for (int i = 0; i < kGradeLevels; ++i) {
        std::string name = "GradeWordLastWord" + std::to_string(i);
        if (HasOpeningMark(line, name)) v.GradeWordLastWord[i] = TagText(line, name);
    }
}

// The first opening and closing marks of the word tags e, t, c and g on a
// line, found in one pass with the same character stepping as FindGbk.
struct WordMarks {
    static constexpr char kNames[] = "etcg";
    size_t open[4], close[4];

    explicit WordMarks(std::string_view line) {
        for (int t = 0; t < 4; ++t) open[t] = close[t] = std::string_view::npos;
        const size_t n = line.size();
        for (size_t i = line.find('<'); i != std::string_view::npos; i = line.find('<', i + 1)) {
            if (!StartsCharacter(line, i)) continue;
            const size_t k = i + 1 + (i + 1 < n && line[i + 1] == '/');
            if (k + 1 >= n || line[k + 1] != '>') continue;
            for (int t = 0; t < 4; ++t) {
                if (line[k] != kNames[t]) continue;
                size_t& slot = k == i + 1 ? open[t] : close[t];
                if (slot == std::string_view::npos) slot = i;
            }
        }
    }
    bool HasWord() const { return open[0] != std::string_view::npos; }
    // The rule of FindTagValue: empty without an opening mark or when the
    // first closing mark does not stand after it.
    std::string_view Value(std::string_view line, int t) const {
        if (open[t] == std::string_view::npos) return {};
        const size_t start = open[t] + 3;
        if (close[t] == std::string_view::npos || close[t] < start) return {};
        return line.substr(start, close[t] - start);
    }
};

WordList ReadWordLine(std::string_view line, const WordMarks& marks) {
    WordList w;
    w.Word = marks.Value(line, 0);
    w.Meaning = marks.Value(line, 2);
    std::string_view times = marks.Value(line, 1);
    w.StudyTimes = times.empty() ? 0 : StrToIntDef(times, 0);
    std::string_view grade = marks.Value(line, 3);
    // A line cut short loses its grade, the last value on it.
    if (marks.close[3] == std::string_view::npos)
        throw LibraryFormatError(Gbk("单词“") + w.Word + Gbk("”这一行不完整，缺少级别"));
    try {
        w.Grade = StrToInt(grade);
    } catch (const ConvertError&) {
        throw LibraryFormatError(Gbk("单词“") + w.Word + Gbk("”的级别“") + std::string(grade) + Gbk("”不是整数"));
    }
    if (w.Grade < 0 || w.Grade > kTopGrade)
        throw LibraryFormatError(Gbk("单词“") + w.Word + Gbk("”的级别") + std::string(grade) + Gbk("不在0到5之间"));
    return w;
}

}  // namespace

WordList ParseWordLine(std::string_view line) { return ReadWordLine(line, WordMarks(line)); }

std::vector<std::string> SplitLibraryLines(std::string_view text) {
    constexpr size_t none = std::string_view::npos;
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    // The next LF and the next CR are each searched for only once they have
    // been passed, so files with either kind of line end read in one sweep.
    size_t nextLf = text.find('\n'), nextCr = text.find('\r');
    size_t start = 0;
    while (start < text.size()) {
        if (nextLf != none && nextLf < start) nextLf = text.find('\n', start);
        if (nextCr != none && nextCr < start) nextCr = text.find('\r', start);
        const size_t end = std::min(nextLf, nextCr);
        if (end == none) {
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

void ParseLibraryLines(const std::vector<std::string>& lines, LibraryFileValues& values, std::vector<WordList>& words) {
    values.LoopTimes = 1;
    values.ThisLoopTime = 0;
    values.TotalDisplays = 0;
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        try {
            WordMarks marks(line);
            if (IsBlank(line) || !marks.HasWord()) {
                ParseHeaderLine(line, values);
                continue;
            }
            if (words.size() >= static_cast<size_t>(kMaxLibraryWords))
                throw LibraryFormatError(Gbk("单词数超过") + IntToStr(kMaxLibraryWords) + Gbk("个"));
            words.push_back(ReadWordLine(line, marks));
        } catch (const ConvertError& e) {
            throw LibraryFormatError(Gbk("第") + IntToStr(static_cast<int>(n + 1)) + Gbk("行：") + e.Message());
        }
        // Hand-edited counts may be huge; the total stops at the int range.
        long long total = static_cast<long long>(values.TotalDisplays) + words.back().StudyTimes;
        values.TotalDisplays = static_cast<int>(std::clamp<long long>(total, INT_MIN, INT_MAX));
    }
}

size_t LibraryGrowthReserve(const std::vector<WordList>& words) {
    size_t longestWord = 0;
    for (const WordList& w : words) longestWord = std::max(longestWord, LibraryTagValue(w.Word).size());
    return kHeaderGrowth + 6 * longestWord + kStudyCountGrowth * words.size();
}

void AppendNumberTag(std::string& out, std::string_view name, int value) {
    char digits[16];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    AppendTag(out, name, std::string_view(digits, static_cast<size_t>(end - digits)), kLibraryFormatTags);
}

void AppendTextTag(std::string& out, std::string_view name, std::string_view gbkValue) {
    AppendTag(out, name, gbkValue, kLibraryFormatTags);
}

std::string LibraryTagValue(std::string_view gbkValue) { return NeutralValue(gbkValue, kLibraryFormatTags); }

void AppendWordLine(std::string& out, const WordList& word) {
    AppendTextTag(out, "e", word.Word);
    AppendNumberTag(out, "t", word.StudyTimes);
    AppendTextTag(out, "c", word.Meaning);
    AppendNumberTag(out, "g", word.Grade);
}
