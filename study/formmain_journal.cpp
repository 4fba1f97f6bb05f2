// What the study window writes into the learner's study journal: each
// judged answer, each grade change with what made it, the study session as
// it goes on, and the library's words per grade. The journal never holds up
// study; when it cannot be kept it says so once and records nothing.

#include <algorithm>

#include "core/appmessage.h"
#include "core/favourites.h"
#include "core/gbktext.h"
#include "core/numbertext.h"
#include "core/programfolder.h"
#include "study/formmain.h"
#include "widgets/answeredit.h"

void TformMain::OpenJournal(const std::string& gbkUserFolder) {
    const std::filesystem::path file = ToNativePath(gbkUserFolder + kJournalFileName);
    if (journal_.IsOpen() && journal_.File() == file) return;
    RecordStudySession();
    session_ = {};
    journal_.Open(file, ComputerIdIn(ToNativePath(GetProgramFolder())));
}

void TformMain::BeginStudySession() {
    session_ = {Journal::NewSessionId(), journal_.now(), WordLib0.Path, LibraryName(), 0, 0};
}

void TformMain::RecordStudySession() {
    if (!journal_.Keeping() || WordLib0.Path.empty()) return;
    // The study counters start again whenever a library is opened.
    if (session_.id.empty() || session_.path != WordLib0.Path || WordLib.ActiveSeconds < session_.active ||
        WordLib.ShownCount < session_.shown)
        BeginStudySession();
    const int active = std::max(WordLib.ActiveSeconds, 0);
    const int shown = std::max(WordLib.ShownCount, 0);
    if (active == 0 && shown == 0) return;
    session_.active = active;
    session_.shown = shown;
    journal_.RecordSession({session_.id, session_.start, journal_.now(), session_.library, active, shown});
}

void TformMain::RecordJudgedAnswer(const JudgedAnswer& answer) {
    if (!journal_.Keeping()) return;
    const std::chrono::duration<double> taken =
        stampedShown_ < 0 ? std::chrono::duration<double>(0) : std::chrono::steady_clock::now() - wordShownAt_;
    journal_.RecordAnswer(
        {0, LibraryName(), TrimGbk(answer.word), answer.right, answer.typed, WordLib.ReadMode, taken.count()});
    RecordStudySession();
}

void TformMain::StepGrade(GradeCause cause, const std::function<void()>& step) {
    const int index = WordLib.CurrentIndex;
    const bool had = WordLib.HasCurrentWord();
    const std::string word = had ? WordLib.Words[index].Word : std::string();
    const int from = had ? WordLib.Words[index].Grade : 0;
    step();
    if (!had || !journal_.Keeping() || index >= WordLib.WordCount || WordLib.Words[index].Word != word) return;
    const int to = WordLib.Words[index].Grade;
    if (to == from) return;
    journal_.RecordGradeChange({0, LibraryName(), word, from, to, cause});
    RecordGradeCounts();
    RecordStudySession();
}

void TformMain::RecordGradeCounts() {
    if (!journal_.Keeping() || WordLib0.Path.empty()) return;
    journal_.RecordGradeCounts(0, LibraryName(), WordLib0.CountGradesNow());
}

void TformMain::UpGradeOne(GradeCause cause) {
    if (WordLib.CurrentIndex >= WordLib.WordCount && EditInput->text().isEmpty()) GroupEndSequence();
    const int shown = WordLib.ShownCount;
    StepGrade(cause, [this] { WordLib.UpGrade(1); });
    ResetAnswerBox();
    NoteProgress();
    SaveProgressIfShownReached(shown);
}

void TformMain::DeGradeOne(GradeCause cause) {
    const int shown = WordLib.ShownCount;
    StepGrade(cause, [this] { WordLib.DeGrade(1); });
    ResetAnswerBox();
    NoteProgress();
    SaveProgressIfShownReached(shown);
}

void TformMain::RecordCycleEndGrades(int loweredBy) {
    if (!journal_.Keeping() || loweredBy <= 0) return;
    std::vector<JournalGradeChange> changes;
    changes.reserve(static_cast<size_t>(WordLib0.Count));
    for (int i = 0; i < WordLib0.Count; ++i) {
        const WordList& word = WordLib0.Words[i];
        changes.push_back({0, LibraryName(), word.Word, word.Grade + loweredBy, word.Grade, GradeCause::CycleEnd});
    }
    journal_.RecordGradeChanges(changes);
    RecordGradeCounts();
}

LibraryProgress TformMain::CurrentLibraryProgress() {
    LibraryProgress progress;
    if (WordLib0.Path.empty()) return progress;
    WordLib0.StoreGroup();  // the group's showings and grades as they are now
    progress.name = LibraryName();
    progress.words = WordLib0.Count;
    for (int i = 0; i < WordLib0.Count; ++i) progress.studied += WordLib0.Words[i].StudyTimes > 0;
    progress.grades = WordLib0.CountGradesNow();
    return progress;
}

void TformMain::AddWordsToFavourites(const std::vector<std::string>& gbkWords) {
    if (LibraryName() == Gbk(kFavouritesName)) {
        ShowAppMessageUtf8("您现在使用的是收藏库！还让我往哪收藏？");
        return;
    }
    int added = 0;
    const int position = MyWordLib.CurrentIndex;
    for (const std::string& text : gbkWords) {
        for (int i = 0; i < WordLib0.Count; ++i) {
            if (WordLib0.Words[i].Word != text) continue;
            if (MyWordLib.AddFavourite(text, WordLib0.Words[i].Meaning) == FavouriteAdd::Added) ++added;
            break;
        }
    }
    MyWordLib.CurrentIndex = position;
    if (!MyWordLib.SaveFavourites()) return;
    ShowAppMessage(Gbk("已加入收藏库：") + IntToStr(added) + Gbk(" 个单词"));
}
