#pragma once
// A StudyDisplay that remembers what is on screen and keeps a log of every
// call, for tests of the study objects. Texts are kept as GBK, as written.

#include <array>
#include <string>
#include <vector>

#include "core/studydisplay.h"

class RecordingDisplay : public StudyDisplay {
public:
    // What the learner would see now.
    std::string word, readingOf, meaning, sentencesOf;
    int wordColour = -1, readingColour = -1, meaningColour = -1;
    int sentenceColour = -1, translationColour = -1;
    std::string stepNo, wordStudyCount, cycleNo, groupNo;
    std::array<std::string, 6> gradeCounts;
    std::array<std::string, 6> gradeLabels{"10000", "", "", "", "", ""};
    int answerClears = 0;
    int nextWordClicks = 0;
    std::vector<std::string> played;  // words whose recording was asked for
    std::string recordingName;        // answered by PlayRecordingOf

    // One entry per call: "name" or "name:argument".
    std::vector<std::string> log;

    void WriteWord(const std::string& t) override {
        word = t;
        Log("WriteWord", t);
    }
    void WriteReadingOf(const std::string& t) override {
        readingOf = t;
        Log("WriteReadingOf", t);
    }
    void WriteMeaning(const std::string& t) override {
        meaning = t;
        Log("WriteMeaning", t);
    }
    void WriteSentencesOf(const std::string& t) override {
        sentencesOf = t;
        Log("WriteSentencesOf", t);
    }
    void PaintWord(int c) override {
        wordColour = c;
        Log("PaintWord", std::to_string(c));
    }
    void PaintReading(int c) override {
        readingColour = c;
        Log("PaintReading", std::to_string(c));
    }
    void PaintMeaning(int c) override {
        meaningColour = c;
        Log("PaintMeaning", std::to_string(c));
    }
    void PaintSentences(int s, int t) override {
        sentenceColour = s;
        translationColour = t;
        Log("PaintSentences", std::to_string(s) + "," + std::to_string(t));
    }
    void WriteStepNo(const std::string& t) override {
        stepNo = t;
        Log("WriteStepNo", t);
    }
    void WriteWordStudyCount(const std::string& t) override {
        wordStudyCount = t;
        Log("WriteWordStudyCount", t);
    }
    void WriteCycleNo(const std::string& t) override {
        cycleNo = t;
        Log("WriteCycleNo", t);
    }
    void WriteGroupNo(const std::string& t) override {
        groupNo = t;
        Log("WriteGroupNo", t);
    }
    void WriteGradeCount(int item, const std::string& t) override {
        gradeCounts.at(item) = t;
        Log("WriteGradeCount" + std::to_string(item), t);
    }
    void WriteGradeLabel(int row, const std::string& t) override {
        gradeLabels.at(row) = t;
        Log("WriteGradeLabel" + std::to_string(row), t);
    }
    void ClearAnswer() override {
        ++answerClears;
        Log("ClearAnswer", "");
    }
    void ClickNextWord() override {
        ++nextWordClicks;
        Log("ClickNextWord", "");
    }
    std::string PlayRecordingOf(const std::string& w) override {
        played.push_back(w);
        Log("PlayRecordingOf", w);
        return recordingName;
    }

    // The six grade counts joined with ",", item 0 (grade 5) first.
    std::string GradeCountsText() const { return Join(gradeCounts); }
    std::string GradeLabelsText() const { return Join(gradeLabels); }
    // Calls logged under `name` (the part before ':').
    int Calls(const std::string& name) const {
        int n = 0;
        for (const std::string& entry : log)
            if (entry.compare(0, entry.find(':'), name) == 0) ++n;
        return n;
    }
    void ClearLog() {
        log.clear();
        played.clear();
    }

private:
    void Log(const std::string& name, const std::string& arg) { log.push_back(arg.empty() ? name : name + ":" + arg); }
    static std::string Join(const std::array<std::string, 6>& items) {
        std::string out;
        for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
        return out;
    }
};
