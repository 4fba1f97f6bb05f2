#pragma once
// The four data lists shipped beside the program and the lookups the study
// window makes in them for the word on screen: the recording alias
// ("lx1.en"), the kana reading ("lx2.en"), the example sentences ("lx3.en")
// and the word-to-sentence index ("lx4.en"). All texts are GBK.
//
// A lookup searches for a line feed, the word and a TAB, so an entry on the
// very first line of a list is never found; the lists are shipped with a
// heading line for that reason.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct StudyDataLists {
    std::string aliasText;                   // "lx1.en", lower-cased
    std::string readingText;                 // "lx2.en"
    std::vector<std::string> sentenceLines;  // "lx3.en", one entry per line
    std::string sentenceIndexText;           // "lx4.en", every line followed by CR LF

    // Reads "lx1.en" and "lx2.en" from `gbkProgramFolder` (with its trailing
    // separator). A missing list leaves that list empty. So does a list that
    // is there but cannot be read; the names of those are returned, for the
    // window to tell the learner.
    std::vector<std::string> LoadWordLists(const std::string& gbkProgramFolder);
    // Reads "lx3.en" and "lx4.en", replacing what the two lists held; the
    // same way.
    std::vector<std::string> LoadSentenceLists(const std::string& gbkProgramFolder);
};

// What the learner is told of a data list that is there but cannot be read
// (GBK): the words are studied without what that list gives.
std::string UnreadableDataListMessage(const std::string& name);

// Lower-cases the ASCII letters of a GBK text, leaving both bytes of every
// double-byte character as they are.
std::string LowerCaseGbk(std::string_view gbk);

// The reading of `word` (trimmed); empty when the word has no entry or its
// line is longer than 100 bytes from the word on.
std::string LookupReading(std::string_view readingText, std::string_view word);

// The recording name of `word` in the lower-cased alias text (without
// ".wav"), trimmed; empty when there is none. The word is lower-cased here.
std::string LookupAlias(std::string_view aliasText, std::string_view word);

// The lines the sentence box shows for `word`: each sentence as one line and
// its translation as the next, at most `sentenceCountPerWord` sentences.
// Nothing (the box stays hidden) when the index has no entry for the word.
// Index fields that are empty, not a number, or outside the sentence list
// are data errors of the index and are skipped.
std::optional<std::vector<std::string>> LookupSentences(std::string_view indexText,
                                                        const std::vector<std::string>& sentenceLines,
                                                        std::string_view word, int sentenceCountPerWord);

// Splits a list text at line feeds, dropping a carriage return before each.
std::vector<std::string> SplitDataLines(std::string_view text);
