#pragma once
// What the study objects put in front of the learner. The study list and the
// whole library write here; the study window draws it with its widgets, the
// tests record it. All texts are GBK. Colours are 0x00BBGGRR values.

#include <string>

class StudyDisplay {
public:
    virtual ~StudyDisplay() = default;

    // The word box. The word, its reading and its meaning are never removed
    // from the screen; they are shown or hidden by the colour they are
    // painted in (the study list's font colour or background colour).
    virtual void WriteWord(const std::string& word) = 0;        // PanelE
    virtual void WriteReadingOf(const std::string& word) = 0;   // PanelT: looked up by the word
    virtual void WriteMeaning(const std::string& meaning) = 0;  // MemoC, fitted into its box
    // MemoSentence, looked up by the word; an empty word (sentences switched
    // off) empties the box and leaves it hidden.
    virtual void WriteSentencesOf(const std::string& word) = 0;
    virtual void PaintWord(int colour) = 0;
    virtual void PaintReading(int colour) = 0;
    virtual void PaintMeaning(int colour) = 0;
    // The two halves of the example sentences: the Japanese sentences, which
    // would give the word away, and their Chinese translations, which would
    // give the meaning away. Each half is hidden with the text it reveals.
    virtual void PaintSentences(int sentenceColour, int translationColour) = 0;

    // The progress labels, already formatted ("3 / 12").
    virtual void WriteStepNo(const std::string& text) = 0;          // LabelStepNo
    virtual void WriteWordStudyCount(const std::string& text) = 0;  // LabelWordStudyCount
    virtual void WriteCycleNo(const std::string& text) = 0;         // circleno
    virtual void WriteGroupNo(const std::string& text) = 0;         // LabelGroup
    // GroupGrade item `item` (0..5, grade 5 - item) shows `text`.
    virtual void WriteGradeCount(int item, const std::string& text) = 0;
    // ListBoxGrade row `row` (0..5, grade 5 - row) shows `text`.
    virtual void WriteGradeLabel(int row, const std::string& text) = 0;

    // The answer box is emptied.
    virtual void ClearAnswer() = 0;
    // The learner's "后一个" is performed (the window's whole next-word step).
    virtual void ClickNextWord() = 0;
    // Stops what is playing, plays the recording of `word` in the background
    // and answers the recording's file name ("word.wav" or the alias's),
    // or an empty text when there is none. Never called while muted.
    virtual std::string PlayRecordingOf(const std::string& word) = 0;
};

// A display that shows nothing: for library objects used without a window
// (the import, the command-line tool).
class NoStudyDisplay final : public StudyDisplay {
public:
    void WriteWord(const std::string&) override {}
    void WriteReadingOf(const std::string&) override {}
    void WriteMeaning(const std::string&) override {}
    void WriteSentencesOf(const std::string&) override {}
    void PaintWord(int) override {}
    void PaintReading(int) override {}
    void PaintMeaning(int) override {}
    void PaintSentences(int, int) override {}
    void WriteStepNo(const std::string&) override {}
    void WriteWordStudyCount(const std::string&) override {}
    void WriteCycleNo(const std::string&) override {}
    void WriteGroupNo(const std::string&) override {}
    void WriteGradeCount(int, const std::string&) override {}
    void WriteGradeLabel(int, const std::string&) override {}
    void ClearAnswer() override {}
    void ClickNextWord() override {}
    std::string PlayRecordingOf(const std::string&) override { return {}; }

    static NoStudyDisplay& Instance() {
        static NoStudyDisplay none;
        return none;
    }
};
