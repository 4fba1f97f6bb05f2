#pragma once
// Where the recording of a word lies: "wav\" + word + ".wav" in the program
// folder when that file exists, else "wav\" + its alias from "lx1.en" +
// ".wav". Finding a recording never plays it.

#include <string>
#include <string_view>
#include <vector>

#include "core/wordlist.h"

struct RecordingLookup {
    std::string name;    // "word.wav", "alias.wav", or empty when the word has no alias
    bool found = false;  // the file "wav\" + name exists
};

// `gbkProgramFolder` ends in its separator; `aliasText` is the lower-cased
// alias list; `word` is looked up as it is (callers trim it).
RecordingLookup FindRecording(const std::string& gbkProgramFolder, std::string_view aliasText, const std::string& word);

// The full GBK path of a recording name found by FindRecording.
std::string RecordingPath(const std::string& gbkProgramFolder, const std::string& name);

// One line per word of `words` whose recording is not found: the trimmed
// word, a TAB and the name that was looked for (empty when there is none),
// in list order.
std::vector<std::string> WordsWithoutRecording(const std::vector<WordList>& words, int count,
                                               const std::string& gbkProgramFolder, std::string_view aliasText);
