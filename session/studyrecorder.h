#pragma once
// What a study session leaves in the learner's study journal: each judged
// answer with the seconds it took, each grade change with what made it, the
// study session as it goes on (its active seconds and words shown) and the
// library's words per grade. It reads the session it records and needs no
// screen. The journal never holds up study; when it cannot be kept it says
// so once and records nothing.

#include <chrono>
#include <ctime>
#include <functional>
#include <string>

#include "core/answercompare.h"
#include "core/journal.h"

class StudySession;

class StudyRecorder {
public:
    explicit StudyRecorder(StudySession& session) : session_(session) {}
    StudyRecorder(const StudyRecorder&) = delete;
    StudyRecorder& operator=(const StudyRecorder&) = delete;

    Journal& StudyJournal() { return journal_; }

    // Opens the journal of the user's folder (GBK, ending in a separator);
    // the journal open already stays open, another one is let go after the
    // study session so far is written into it.
    void Open(const std::string& gbkUserFolder);
    // Writes the words per grade and the study session so far, and lets the
    // journal go: the user's folder may move while nobody is logged in.
    void Close();

    // A library was opened: its study counters start from nought.
    void BeginStudySession();
    // Writes what the study session has done so far; a session whose
    // counters went back (another library, a new login) starts again.
    void RecordStudySession();
    // The library's words per grade today, the group's unsaved grades
    // included.
    void RecordGradeCounts();

    // The word on screen was drawn: a new showing (the words shown went on)
    // starts the time its answer takes; the same word drawn again does not.
    void NoteWordDrawn();
    void RecordJudgedAnswer(const JudgedAnswer& answer);
    // Runs a grade command on the current word of the study list and records
    // the change it made, if any.
    void StepGrade(GradeCause cause, const std::function<void()>& step);
    // Every word of the library came down by `loweredBy` grades at the end of
    // a cycle.
    void RecordCycleEndGrades(int loweredBy);

    // The library under study as the statistics page needs it.
    LibraryProgress CurrentLibraryProgress();

    // The clock an answer is timed by; tests set it.
    std::function<std::chrono::steady_clock::time_point()> steadyNow = [] { return std::chrono::steady_clock::now(); };

private:
    StudySession& session_;
    Journal journal_;
    struct SessionRow {
        std::string id;
        std::time_t start = 0;
        std::string path;           // the library file, GBK
        std::string library;        // its name
        int active = 0, shown = 0;  // as last written
    };
    SessionRow row_;
    // When the word on screen came, and the words-shown count it came at.
    std::chrono::steady_clock::time_point wordShownAt_{};
    int stampedShown_ = -1;
};
