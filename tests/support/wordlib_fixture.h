#pragma once
// Small builders for tests of the study list and the whole library: word
// lines in the file's plain text, libraries on disk, study lists with given
// grades, all wired to a RecordingDisplay and a MessageRecorder.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/gbktext.h"
#include "core/scrambledfile.h"
#include "core/wordlib0.h"
#include "support/message_recorder.h"
#include "support/recording_display.h"
#include "support/temp_folder.h"

// "<e>word</e><t>times</t><c>meaning</c><g>grade</g>"
inline std::string WordLine(const std::string& word, const std::string& times, const std::string& meaning,
                            const std::string& grade) {
    return "<e>" + word + "</e><t>" + times + "</t><c>" + meaning + "</c><g>" + grade + "</g>";
}

// A header line with the given group values and defaults for the rest.
inline std::string HeaderLine(int lw = 0, int groupcount = 1, int groupindex = 0, int lt = 1, int basegrade = 0) {
    return "<editor>ed</editor><date>2026-12-10</date><version>1.0</version><lw>" + std::to_string(lw) +
           "</lw><groupcount>" + std::to_string(groupcount) + "</groupcount><groupindex>" + std::to_string(groupindex) +
           "</groupindex><lt>" + std::to_string(lt) + "</lt><tlt>7</tlt><tt>99</tt><basegrade>" +
           std::to_string(basegrade) +
           "</basegrade><GradeWordLastWord0>0</GradeWordLastWord0><GradeWordLastWord1>0</GradeWordLastWord1>"
           "<GradeWordLastWord2>0</GradeWordLastWord2><GradeWordLastWord3>0</GradeWordLastWord3>"
           "<GradeWordLastWord4>0</GradeWordLastWord4><GradeWordLastWord5>0</GradeWordLastWord5>";
}

// Word lines "w0".."wN-1" with meanings "m0".. and the given grades.
inline std::string WordLines(const std::vector<int>& grades) {
    std::string text;
    for (size_t i = 0; i < grades.size(); ++i) {
        if (i) text += "\n";
        text += WordLine("w" + std::to_string(i), "0", "m" + std::to_string(i), std::to_string(grades[i]));
    }
    return text;
}

inline std::string GbkPath(const std::filesystem::path& p) { return FromNativePath(p); }

// The plain text of a scrambled file.
inline std::string PlainTextOf(const std::filesystem::path& p) {
    std::optional<std::string> text = ReadScrambledFile(p);
    return text ? *text : std::string("<unreadable>");
}

// A study list holding words "w0".. with the given grades, as group
// `groupIndex` of `groupCount`.
struct StudyListFixture {
    RecordingDisplay display;
    MessageRecorder messages;
    TWordLib list;

    explicit StudyListFixture(const std::vector<int>& grades, int groupIndex = 0, int groupCount = 1) {
        list.SetDisplay(&display);
        for (size_t i = 0; i < grades.size(); ++i) {
            WordList& w = list.Words[i];
            w.Word = "w" + std::to_string(i);
            w.Meaning = "m" + std::to_string(i);
            w.Grade = grades[i];
        }
        list.WordCount = static_cast<int>(grades.size());
        list.GroupIndex = groupIndex;
        list.GroupCount = groupCount;
        list.CountGrades();
    }
};

// A whole library with its study list, both showing on one display.
struct LibraryFixture {
    TempFolder folder;
    RecordingDisplay display;
    MessageRecorder messages;
    TWordLib list;
    TWordLib0 lib;

    LibraryFixture() {
        list.SetDisplay(&display);
        lib.SetDisplay(&display);
        lib.StudyLib = &list;
    }

    // Writes `plain` as the scrambled library `name` and answers its GBK path.
    std::string WriteLibrary(const std::string& name, const std::string& plain) {
        std::filesystem::path p = folder / name;
        EXPECT_TRUE(WriteScrambledFile(p, plain));
        return GbkPath(p);
    }
    bool Open(const std::string& name, const std::string& plain) { return lib.OpenWordLib(WriteLibrary(name, plain)); }

    // The library words of the study list, as "w1,w4,w7".
    std::string StudyWords() const {
        std::string out;
        for (int i = 0; i < list.WordCount; ++i) out += (i ? "," : "") + list.Words[i].Word;
        return out;
    }
};
