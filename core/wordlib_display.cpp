// What the study list puts on screen for its current word, and the counters
// that a showing updates.

#include "core/gbktext.h"
#include "core/numbertext.h"
#include "core/wordlib.h"

TWordLib::TWordLib() : Words(kMaxLibraryWords), display_(&NoStudyDisplay::Instance()) {}

void TWordLib::SetDisplay(StudyDisplay* display) { display_ = display ? display : &NoStudyDisplay::Instance(); }

void TWordLib::FillWord() {
    if (!HasCurrentWord()) return;
    WordList& word = Words[CurrentIndex];
    if (CurrentIndex != lastShownIndex_) {
        ++word.StudyTimes;
        ++TotalDisplays;
        ++ShownCount;
        Screen().WriteWordStudyCount(IntToStr(word.StudyTimes) + " / " + IntToStr(TotalDisplays));
    }
    ShowStepNo();
    Screen().WriteMeaning(word.Meaning);
    Screen().WriteWord(word.Word);
    Screen().WriteReadingOf(word.Word);
    // An empty word asks for no sentences: the sentence box stays hidden.
    Screen().WriteSentencesOf(ShowSentence ? word.Word : std::string());
    GradeLastWord[kTopGrade - CurrentGrade] = word.Word;
    lastShownIndex_ = CurrentIndex;
}

void TWordLib::ShowWord() {
    if (!HasCurrentWord()) return;
    FillWord();
    if (MemoryMode == 0) Pronounce();
    ShowQuestionLayout();
}

// A sentence would give the word away and its translation the meaning, so
// each half of the sentences is hidden with the text it reveals.
void TWordLib::PaintTexts(bool word, bool reading, bool meaning) {
    word ? ShowWordText() : HideWordText();
    reading ? ShowReadingText() : HideReadingText();
    meaning ? ShowMeaningText() : HideMeaningText();
    Screen().PaintSentences(word ? FontColor : BackColor, meaning ? FontColor : BackColor);
}

void TWordLib::ShowQuestionLayout() {
    switch (ReadMode) {
        case 0:
            PaintTexts(true, false, false);
            break;
        case 1:
            PaintTexts(false, false, true);
            break;
        case 2:
            PaintTexts(true, true, false);
            break;
        default:
            PaintTexts(true, true, true);
            break;
    }
}

void TWordLib::ShowTypingLayout() { PaintTexts(false, false, true); }

void TWordLib::RevealAll() {
    if (!HasCurrentWord()) return;
    PaintTexts(true, true, true);
    Pronounce();
}

void TWordLib::RestoreAfterPrompt() {
    if (!HasCurrentWord()) return;
    FillWord();
    // Modes 2 and 3 leave the revealed meaning in place.
    if (ReadMode <= 1) ShowQuestionLayout();
}

void TWordLib::HideAll() { PaintTexts(false, false, false); }

void TWordLib::Pronounce() {
    if (Mute || !HasCurrentWord()) return;
    WordList& word = Words[CurrentIndex];
    word.WavName.clear();
    std::string trimmed = TrimGbk(word.Word);
    if (trimmed != word.Word) word.Word = trimmed;
    word.WavName = Screen().PlayRecordingOf(word.Word);
}

void TWordLib::ShowWordText() { Screen().PaintWord(FontColor); }
void TWordLib::HideWordText() { Screen().PaintWord(BackColor); }
void TWordLib::ShowReadingText() { Screen().PaintReading(FontColor); }
void TWordLib::HideReadingText() { Screen().PaintReading(BackColor); }
void TWordLib::ShowMeaningText() { Screen().PaintMeaning(FontColor); }
void TWordLib::HideMeaningText() { Screen().PaintMeaning(BackColor); }

void TWordLib::ShowStepNo() {
    int count = CurrentGrade >= 0 && CurrentGrade < kGradeLevels ? GradeCount[CurrentGrade] : 0;
    Screen().WriteStepNo(IntToStr(Step + 1) + " / " + IntToStr(count));
}

void TWordLib::ShowGradeCounts() {
    for (int item = 0; item < kGradeLevels; ++item)
        Screen().WriteGradeCount(item, IntToStr(GradeCount[kTopGrade - item]));
    ShowStepNo();
}

void TWordLib::RefreshStudyCount() {
    if (!HasCurrentWord()) return;
    Screen().WriteWordStudyCount(IntToStr(Words[CurrentIndex].StudyTimes) + " / " + IntToStr(TotalDisplays + 1));
}

void TWordLib::ShowCycleNo() { Screen().WriteCycleNo(IntToStr(LoopTimes)); }
