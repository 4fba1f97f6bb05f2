#include "session/studysession.h"

#include <QVariant>

#include "core/manage.h"

namespace {

constexpr int kClockIntervalMs = 1000;

}  // namespace

StudySession::StudySession(TManage& manage) : manage_(manage) {
    clock_.setObjectName("Timer");
    clock_.setInterval(kClockIntervalMs);
    SetRunSeconds(1);
    WordLib0.StudyLib = &WordLib;
}

int StudySession::RunSeconds() const { return clock_.property("Tag").toInt(); }

void StudySession::SetRunSeconds(int seconds) { clock_.setProperty("Tag", seconds); }

StudySession::Settings StudySession::StoredSettings() const {
    Settings s;
    s.autoClear = manage_.autocleareditinput;
    s.mute = manage_.mute;
    s.showSentence = manage_.showsentence;
    s.fontColor = manage_.fontcolor;
    s.backColor = manage_.backcolor;
    return s;
}

void StudySession::ApplySettings(const Settings& s) {
    manage_.autocleareditinput = s.autoClear;
    manage_.mute = s.mute;
    manage_.showsentence = s.showSentence;
    SyncStudyFlags(s.mute, s.autoClear, s.showSentence);
    SyncColours(s.fontColor, s.backColor);
}

void StudySession::SyncStudyFlags(bool mute, bool autoClear, bool showSentence) {
    WordLib.Mute = WordLib0.Mute = mute;
    WordLib.AutoClear = WordLib0.AutoClear = autoClear;
    WordLib.ShowSentence = WordLib0.ShowSentence = showSentence;
}

void StudySession::SyncColours(int fontColor, int backColor) {
    WordLib.FontColor = WordLib0.FontColor = fontColor;
    WordLib.BackColor = WordLib0.BackColor = backColor;
}

bool StudySession::SaveIfDueAfterNextWord() {
    if (WordLib.ShownCount % kSaveEveryShownWords != 0) return false;
    WordLib0.StoreGroup();
    WordLib0.SaveWordLib();
    return true;
}

bool StudySession::SaveIfShownReached(int shownBefore) {
    return WordLib.ShownCount != shownBefore && SaveIfDueAfterNextWord();
}

bool StudySession::SaveLibrary() {
    if (WordLib0.Path.empty()) return true;
    WordLib0.StoreGroup();
    return WordLib0.SaveWordLib();
}

void StudySession::BeginAnswer(AnswerStep step, const std::string& typed) {
    answer_ = {step, WordLib.CurrentIndex, wordOnScreen_, typed};
}

bool StudySession::AnswerBelongsToWordOnScreen() const {
    return answer_.step != AnswerStep::Open && answer_.index == WordLib.CurrentIndex && answer_.word == wordOnScreen_;
}

bool StudySession::RightAnswerStands(const std::optional<std::string>& typedNow) const {
    return (answer_.step == AnswerStep::Right || answer_.step == AnswerStep::RightSeen) &&
           AnswerBelongsToWordOnScreen() && typedNow == answer_.typed;
}
