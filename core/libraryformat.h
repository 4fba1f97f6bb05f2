#pragma once
// The text inside a library file (before scrambling): one header line of
// tags, then one line per word "<e>..</e><t>..</t><c>..</c><g>..</g>",
// lines separated by a single LF.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/gbktext.h"
#include "core/libtext.h"
#include "core/numbertext.h"
#include "core/tagtext.h"
#include "core/wordlist.h"

// The values a library file's header carries, as the line parse fills them.
struct LibraryFileValues {
    std::string Date, Editor, Version;
    int LastWord = 0;
    int LoopTimes = 1;
    int ThisLoopTime = 0;
    int TotalTime = 0;
    int TotalDisplays = 0;  // sum of the words' study counts
    int GroupCount = 1;
    int GroupIndex = 0;
    int BaseGrade = 0;
    std::array<std::string, kGradeLevels> GradeWordLastWord;
};

// A file the line parse refuses: a value that is not an integer, a word
// line cut short, a grade out of range, too many words. Its GBK message
// names the line and what is wrong there ("第3行：…").
class LibraryFormatError : public ConvertError {
public:
    using ConvertError::ConvertError;
};

// Splits a text at CR, LF or CR LF. A break at the very end does not start
// another (empty) line.
std::vector<std::string> SplitLibraryLines(std::string_view text);

// The text between the first "<name>" and the first "</name>" of `line`
// (same rule as FindTagValue), without copying.
std::string_view TagText(std::string_view line, std::string_view name);
// True when "<name>" occurs in `line`.
bool HasOpeningMark(std::string_view line, std::string_view name);

// Reads one word line: Word from "<e>", Meaning from "<c>", StudyTimes
// from "<t>" (0 when empty or not a number), Grade from "<g>". Throws
// LibraryFormatError for a line without "</g>", a grade that is not an
// integer or one outside 0..5.
WordList ParseWordLine(std::string_view line);

// Runs the line parse over `lines`: header lines update `values` (which
// hold what the library had before; the parse starts the cycle values
// afresh), word lines are appended to `words`. Throws LibraryFormatError,
// naming the line, for a number that is not an integer, a word line cut
// short, a grade outside 0..5 or more than kMaxLibraryWords words.
void ParseLibraryLines(const std::vector<std::string>& lines, LibraryFileValues& values, std::vector<WordList>& words);

// NeutralValue for the tags of library and favourites files.
std::string LibraryTagValue(std::string_view gbkValue);

// Room a new library needs below the readable size to be studied for
// years: saving adds the basegrade tag and longer numbers to the header
// (kHeaderGrowth), a bookmark word per grade (six times the longest word)
// and longer study counts to every word (kStudyCountGrowth digits, counts
// up to 9999).
inline constexpr size_t kHeaderGrowth = 100;
inline constexpr size_t kStudyCountGrowth = 3;
size_t LibraryGrowthReserve(const std::vector<WordList>& words);

// Appends "<name>value</name>" for a number.
void AppendNumberTag(std::string& out, std::string_view name, int value);
// The same for a text value, neutralised as LibraryTagValue does.
void AppendTextTag(std::string& out, std::string_view name, std::string_view gbkValue);
// Appends the four tags of a word line: e, t, c, g.
void AppendWordLine(std::string& out, const WordList& word);
