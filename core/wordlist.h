#pragma once
// One word of a library, as all library objects hold it.

#include <string>

inline constexpr int kMaxLibraryWords = 10000;

struct WordList {
    std::string Word;     // tag e
    std::string Meaning;  // tag c
    int StudyTimes = 0;   // tag t
    std::string WavName;  // worked out when pronounced; never stored
    int Grade = 0;        // tag g, 0..5

    bool operator==(const WordList&) const = default;
};
