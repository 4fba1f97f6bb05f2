#pragma once
// The content sources of the shipped libraries: one UTF-8 file per library,
// one word per line, TAB-separated:
//
//   word<TAB>reading<TAB>meaning<TAB>sentence<TAB>translation[<TAB>sentence<TAB>translation ...]
//
// Empty lines and lines starting with "#" are skipped. From them the build
// makes each library's import text and merges the readings and sentences
// of every library into the data lists lx2, lx3 and lx4 beside the lists
// written by hand. Everything here works on UTF-8; the GBK check is made on
// each field so that the build refuses a text the program could not show.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct ContentEntry {
    std::string word, reading, meaning;
    std::vector<std::pair<std::string, std::string>> sentences;  // sentence, translation
    int line = 0;                                                // counted from 1
};

struct ContentFile {
    std::string name;       // the library name: the file name without ".tsv"
    std::string shownName;  // for messages: the file name
    std::vector<ContentEntry> entries;
};

// The part-of-speech marks a meaning starts with ("[名]", "[动1]", ...), as
// the help topics list them.
const std::vector<std::string>& PartOfSpeechMarks();

// True when the UTF-8 text holds a kanji (or the repetition mark "々"),
// that is, when the word needs a reading.
bool HoldsKanji(std::string_view utf8);

// Parses one content source. On a fault returns false with `error` naming
// the file and line ("日语N5词汇.tsv line 12: ..."); `file.entries` is then
// incomplete.
bool ParseContentSource(std::string_view utf8Text, ContentFile& file, std::string& error);

// The import text of a library (UTF-8): the word, then its meaning indented
// by two spaces, one pair of lines per entry.
std::string ContentImportText(const ContentFile& file);

// The data lists as UTF-8 texts, one entry per line, the first line a
// heading that lookups never find.
struct DataListTexts {
    std::string readings;   // lx2: word TAB reading
    std::string sentences;  // lx3: sentence TAB translation
    std::string index;      // lx4: word TAB line number TAB line number ...
};

// Merges the readings and sentences of `files` into the hand-written lists
// `handMade` (their lines and line numbers stay as they are; `handMadeNames`
// names them in messages). A word found in several places gets one reading
// line, which must be the same everywhere, and one index line holding the
// sentences of every place; a sentence given twice with the same translation
// is stored once. False with `error` on a conflicting reading or a
// hand-written index that is not a list of line numbers of lx3.
bool MergeDataLists(const DataListTexts& handMade, const DataListTexts& handMadeNames,
                    const std::vector<ContentFile>& files, DataListTexts& merged, std::string& error);
