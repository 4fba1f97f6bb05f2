#include "session/studyrecorder.h"

#include <algorithm>
#include <vector>

#include "core/gbktext.h"
#include "core/programfolder.h"
#include "session/studysession.h"

void StudyRecorder::Open(const std::string& gbkUserFolder) {
    const std::filesystem::path file = ToNativePath(gbkUserFolder + kJournalFileName);
    if (journal_.IsOpen() && journal_.File() == file) return;
    RecordStudySession();
    row_ = {};
    journal_.Open(file, ComputerIdIn(ToNativePath(GetProgramFolder())));
}

void StudyRecorder::Close() {
    RecordGradeCounts();
    RecordStudySession();
    journal_.Close();
    row_ = {};
}

void StudyRecorder::BeginStudySession() {
    row_ = {Journal::NewSessionId(), journal_.now(), session_.WordLib0.Path, session_.LibraryName(), 0, 0};
}

void StudyRecorder::RecordStudySession() {
    const TWordLib0& library = session_.WordLib0;
    const TWordLib& list = session_.WordLib;
    if (!journal_.Keeping() || library.Path.empty()) return;
    // The study counters start again whenever a library is opened.
    if (row_.id.empty() || row_.path != library.Path || list.ActiveSeconds < row_.active ||
        list.ShownCount < row_.shown)
        BeginStudySession();
    const int active = std::max(list.ActiveSeconds, 0);
    const int shown = std::max(list.ShownCount, 0);
    if (active == 0 && shown == 0) return;
    row_.active = active;
    row_.shown = shown;
    journal_.RecordSession({row_.id, row_.start, journal_.now(), row_.library, active, shown});
}

void StudyRecorder::RecordGradeCounts() {
    if (!journal_.Keeping() || session_.WordLib0.Path.empty()) return;
    journal_.RecordGradeCounts(0, session_.LibraryName(), session_.WordLib0.CountGradesNow());
}

void StudyRecorder::NoteWordDrawn() {
    if (stampedShown_ == session_.WordLib.ShownCount) return;
    stampedShown_ = session_.WordLib.ShownCount;
    wordShownAt_ = steadyNow();
}

void StudyRecorder::RecordJudgedAnswer(const JudgedAnswer& answer) {
    if (!journal_.Keeping()) return;
    const std::chrono::duration<double> taken =
        stampedShown_ < 0 ? std::chrono::duration<double>(0) : steadyNow() - wordShownAt_;
    journal_.RecordAnswer({0, session_.LibraryName(), TrimGbk(answer.word), answer.right, answer.typed,
                           session_.WordLib.ReadMode, taken.count()});
    RecordStudySession();
}

void StudyRecorder::StepGrade(GradeCause cause, const std::function<void()>& step) {
    const TWordLib& list = session_.WordLib;
    const int index = list.CurrentIndex;
    const bool had = list.HasCurrentWord();
    const std::string word = had ? list.Words[index].Word : std::string();
    const int from = had ? list.Words[index].Grade : 0;
    step();
    if (!had || !journal_.Keeping() || index >= list.WordCount || list.Words[index].Word != word) return;
    const int to = list.Words[index].Grade;
    if (to == from) return;
    journal_.RecordGradeChange({0, session_.LibraryName(), word, from, to, cause});
    RecordGradeCounts();
    RecordStudySession();
}

void StudyRecorder::RecordCycleEndGrades(int loweredBy) {
    if (!journal_.Keeping() || loweredBy <= 0) return;
    const TWordLib0& library = session_.WordLib0;
    std::vector<JournalGradeChange> changes;
    changes.reserve(static_cast<size_t>(library.Count));
    for (int i = 0; i < library.Count; ++i) {
        const WordList& word = library.Words[i];
        changes.push_back(
            {0, session_.LibraryName(), word.Word, word.Grade + loweredBy, word.Grade, GradeCause::CycleEnd});
    }
    journal_.RecordGradeChanges(changes);
    RecordGradeCounts();
}

LibraryProgress StudyRecorder::CurrentLibraryProgress() {
    TWordLib0& library = session_.WordLib0;
    LibraryProgress progress;
    if (library.Path.empty()) return progress;
    library.StoreGroup();  // the group's showings and grades as they are now
    progress.name = session_.LibraryName();
    progress.words = library.Count;
    for (int i = 0; i < library.Count; ++i) progress.studied += library.Words[i].StudyTimes > 0;
    progress.grades = library.CountGradesNow();
    return progress;
}
