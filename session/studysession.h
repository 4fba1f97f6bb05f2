#pragma once
// The study session without its window: the library objects the learner
// studies (the whole library, the study list of the current group, the
// favourites) with the data lists, the configuration they are studied with,
// the study clock that other windows hold while they have the learner, the
// rule that saves progress every 500 words shown, and how far the answer to
// the word on screen has come. The study window owns one and draws it; the
// session itself needs no screen.

#include <QTimer>
#include <functional>
#include <optional>
#include <string>

#include "core/datalists.h"
#include "core/favourites.h"
#include "core/wordlib0.h"

class TManage;

class StudySession {
public:
    explicit StudySession(TManage& manage);
    StudySession(const StudySession&) = delete;
    StudySession& operator=(const StudySession&) = delete;

    TWordLib0 WordLib0;    // the whole library
    TWordLib WordLib;      // the study list of the current group
    TMyWordLib MyWordLib;  // the favourites library
    StudyDataLists DataLists;

    // The configuration store the session studies with.
    TManage& Config() const { return manage_; }

    // What the settings window holds while it is open; applied to the store
    // and both library objects when the study window becomes active.
    struct Settings {
        bool autoClear = false;
        bool mute = false;
        bool showSentence = false;
        int fontColor = kDefaultFontColor;
        int backColor = kDefaultBackColor;
    };
    // The store's own values.
    Settings StoredSettings() const;
    void ApplySettings(const Settings& settings);
    // Where the settings applied on activation come from while the settings
    // window exists (its boxes hold them); without a source the store's own
    // values are used.
    std::function<Settings()> activationSource;
    Settings ActivationSettings() const { return activationSource ? activationSource() : StoredSettings(); }
    // The study settings live in both library objects: loading a group
    // copies them from the whole library into the study list, so both must
    // agree or a library opened later would bring back the defaults.
    void SyncStudyFlags(bool mute, bool autoClear, bool showSentence);
    void SyncColours(int fontColor, int backColor);

    // The study clock: ticks once a second while the learner studies; its
    // run seconds start at 1 (the timer's "Tag" property, as the window
    // reads them).
    QTimer& Clock() { return clock_; }
    int RunSeconds() const;
    void SetRunSeconds(int seconds);
    // Another window holds the clock while it has the learner, and gives it
    // back when the learner returns.
    bool ClockRunning() const { return clock_.isActive(); }
    void HoldClock() { clock_.stop(); }
    void GiveBackClock() { clock_.start(); }

    // Progress is saved every 500 words shown: after "后一个" whenever the
    // count is on a multiple of 500 (also with nothing shown at all); after
    // Space or a grade command moved on, only when the move reached one.
    // Each stores the group under study and writes the library when the
    // rule says so, and answers whether it did.
    static constexpr int kSaveEveryShownWords = 500;
    bool SaveIfDueAfterNextWord();
    bool SaveIfShownReached(int shownBefore);
    // Stores the group under study and writes the library; true when it was
    // written or no library is open.
    bool SaveLibrary();

    // The name of the library under study (GBK, without its extension);
    // empty while none is open. The study window draws it.
    const std::string& LibraryName() const { return libraryName_; }
    void SetLibraryName(const std::string& gbkName) { libraryName_ = gbkName; }

    // The word as the window shows it (GBK).
    const std::string& WordOnScreen() const { return wordOnScreen_; }
    void SetWordOnScreen(const std::string& gbkWord) { wordOnScreen_ = gbkWord; }
    // The meaning as the window shows it (GBK): its box's text, with the
    // line the box may put above a short meaning.
    const std::string& MeaningOnScreen() const { return meaningOnScreen_; }
    void SetMeaningOnScreen(const std::string& gbkMeaning) { meaningOnScreen_ = gbkMeaning; }

    // How far Enter and Space have taken the answer to one showing of a
    // word: judged right and shown, judged right and its display over
    // ("Next"), or a space typed inside a word of two parts. It belongs to
    // that word and that typed text, never to the next word.
    enum class AnswerStep { Open, Right, RightSeen, SpaceInWord };
    AnswerStep Step() const { return answer_.step; }
    // The answer to the word on screen reached `step`; `typed` is the
    // trimmed GBK answer judged right.
    void BeginAnswer(AnswerStep step, const std::string& typed = {});
    void MarkRightSeen() { answer_.step = AnswerStep::RightSeen; }
    void EndAnswer() { answer_ = {}; }
    bool AnswerBelongsToWordOnScreen() const;
    // Judged right, and the box (`typedNow`, trimmed GBK) still holds that
    // answer.
    bool RightAnswerStands(const std::optional<std::string>& typedNow) const;

    // What the comment over the sentence box says.
    enum class Comment { Right, Wrong, Next, Paused };
    Comment CommentShown() const { return comment_; }
    void SetComment(Comment comment) { comment_ = comment; }
    // The comment is the judgement of an answer.
    bool CommentIsVerdict() const { return comment_ == Comment::Right || comment_ == Comment::Wrong; }

private:
    TManage& manage_;
    QTimer clock_;
    std::string libraryName_;
    std::string wordOnScreen_;
    std::string meaningOnScreen_;
    struct AnswerState {
        AnswerStep step = AnswerStep::Open;
        int index = -1;
        std::string word;   // GBK, as shown
        std::string typed;  // GBK, trimmed; the answer judged right
    };
    AnswerState answer_;
    Comment comment_ = Comment::Right;
};
