#pragma once
// One word of a library, as all library objects hold it.

#include <string>

inline constexpr int kMaxLibraryWords = 10000;
// A word's grade runs from 0 to kTopGrade; things counted or kept per grade
// have kGradeLevels places.
inline constexpr int kTopGrade = 5;
inline constexpr int kGradeLevels = kTopGrade + 1;

struct WordList {
    std::string Word;     // tag e
    std::string Meaning;  // tag c
    int StudyTimes = 0;   // tag t
    std::string WavName;  // worked out when pronounced; never stored
    int Grade = 0;        // tag g, 0..kTopGrade

    bool operator==(const WordList&) const = default;
};
