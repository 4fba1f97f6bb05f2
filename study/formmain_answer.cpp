// The answer box: every key of the study run arrives here, as a Windows
// virtual-key code. Keys are commands or typing; Enter and Space check the
// answer or move on; release tidies the typed text. The comment panel shows
// the state of the answer ("错 误", "正 确", "Next"); the state itself is
// kept with the word it belongs to, so that nothing left over from one word
// (the end of a right answer's display above all) acts on the next.

#include <QLabel>
#include <QTimer>

#include "core/datalists.h"
#include "core/gbktext.h"
#include "core/manage.h"
#include "study/formmain_ui.h"
#include "widgets/answeredit.h"
#include "widgets/colourvalue.h"
#include "widgets/screentext.h"
#include "widgets/virtualkey.h"

namespace {

using Comment = StudySession::Comment;
using Step = StudySession::AnswerStep;

constexpr int kKeypad1 = vk::Numpad0 + 1, kKeypad2 = vk::Numpad0 + 2, kKeypad3 = vk::Numpad0 + 3,
              kKeypad4 = vk::Numpad0 + 4, kKeypad5 = vk::Numpad0 + 5, kKeypad6 = vk::Numpad0 + 6,
              kKeypad7 = vk::Numpad0 + 7, kKeypad8 = vk::Numpad0 + 8, kKeypad9 = vk::Numpad0 + 9;

// Characters that stand outside the answer at both ends: blanks and control
// characters, as the GBK trimming treats them, and the full-width space an
// input method types for Space.
bool OutsideTheAnswer(QChar c) { return c.unicode() <= 0x20 || c.unicode() == 0x3000; }

QString TrimmedAnswer(const QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && OutsideTheAnswer(text[begin])) ++begin;
    while (end > begin && OutsideTheAnswer(text[end - 1])) --end;
    return text.mid(begin, end - begin);
}

// What the comment panel says (UTF-8).
const char* CommentCaption(Comment comment) {
    switch (comment) {
        case Comment::Right:
            return "正 确";
        case Comment::Wrong:
            return "错 误";
        case Comment::Next:
            return "Next";
        case Comment::Paused:
            break;
    }
    return "暂停学习";
}

}  // namespace

std::string TformMain::Ui::AnswerText() const { return FromScreen(EditInput->text()); }

// Nothing when the answer holds a character GBK cannot hold: such a
// character can never be part of a word.
std::optional<std::string> TformMain::Ui::TrimmedAnswerGbk() const {
    return TypedGbk(TrimmedAnswer(EditInput->text()));
}

void TformMain::SetComment(Comment comment) {
    study_.SetComment(comment);
    ui_->PanelComment->setText(U(CommentCaption(comment)));
}

bool TformMain::RightAnswerStands() const { return study_.RightAnswerStands(ui_->TrimmedAnswerGbk()); }

void TformMain::EndAnswer() {
    study_.EndAnswer();
    ui_->TimerComment->stop();
    if (ui_->PanelComment->isVisible() && study_.CommentIsVerdict()) ui_->PanelComment->setVisible(false);
    ui_->HideAnswerMarks();
}

void TformMain::Ui::SetAnswerColour(int colour) { EditInput->SetTextColour(ColourFromValue(colour)); }

void TformMain::Ui::SetAnswerColour(const QColor& colour) { EditInput->SetTextColour(colour); }

void TformMain::EditInputKeyDown(int& key) {
    study_.WordLib.IdleSeconds = 0;
    if (study_.WordLib.WordCount < 1) return;

    switch (key) {
        // Keys that keep their own editing; their character, if any, stays
        // invisible until release.
        case vk::End:
        case vk::Home:
        case kKeypad1:
        case kKeypad7:
        case vk::Multiply:
        case vk::Add:
        case vk::Divide:
        case vk::NumLock:
            ui_->SetAnswerColour(study_.WordLib.BackColor);
            return;
        case vk::Clear:
        case vk::Down:
        case kKeypad2:
        case kKeypad5:
            ButtonNextWordClick();
            break;
        case vk::Return:
        case vk::Space:
            HandleAnswerKey(key);
            if (key != vk::Return && key != vk::Space) return;  // a space inside the word
            break;
        case vk::Control:
        case vk::Next:
        case kKeypad3:
            ButtonPromptClick();
            break;
        case vk::Escape:
            EndAnswer();
            ui_->EditInput->clear();
            break;
        case vk::Prior:
        case vk::Delete:
        case kKeypad9:
        case vk::OemPlus: {
            const int shown = study_.WordLib.ShownCount;
            recorder_.StepGrade(GradeCause::Key, [this] { study_.WordLib.UpGrade(kStraightToTop); });
            ui_->SetAnswerColour(study_.WordLib.BackColor);
            ui_->EditInput->clear();
            SaveProgressIfShownReached(shown);
            break;
        }
        case vk::Left:
        case kKeypad4:
        case vk::OemOpenBracket:
            GradeOne(GradeCause::Key, false);
            break;
        case vk::Up:
        case kKeypad8:
            ButtonPriorWordClick();
            break;
        case vk::Right:
        case kKeypad6:
        case vk::OemCloseBracket:
            GradeOne(GradeCause::Key, true);
            break;
        case vk::F5:
            ui_->ButtonFullScreenClick();
            break;
        case vk::F12:
            ButtonMyNewWordClick();
            break;
        default:  // typing (an input method's composition too): only the meaning stays visible
            // A prompt ends with typing: its end would bring the question
            // layout back (the word itself in mode 0) over the answer.
            ui_->TimerPrompt->stop();
            EndAnswer();
            study_.WordLib.ShowTypingLayout();
            break;
    }
    if (key != vk::Return && key != vk::Space) ui_->PanelComment->setVisible(false);
    if (!RightAnswerStands() && ui_->TrimmedAnswerGbk() != study_.WordOnScreen()) {
        if (study_.Step() != Step::Open) EndAnswer();
        SetComment(Comment::Wrong);
    }
    key = 0;
    NoteProgress();
}

// Enter or Space; the first case that applies wins. Leaves `key` as it is
// except for a space that belongs inside the word, which sets it to -1 so
// that the press is not consumed and the space is typed.
void TformMain::HandleAnswerKey(int& key) {
    const std::string answer = ui_->AnswerText();
    const bool atEndOfGroup = study_.WordLib.CurrentIndex >= study_.WordLib.WordCount;
    if (atEndOfGroup && answer.empty()) {
        GroupEndSequence();
    } else if (study_.Step() == Step::RightSeen && key == vk::Space && RightAnswerStands()) {
        AdvanceAfterAnswer();
    } else if (study_.Step() == Step::Right && study_.AnswerBelongsToWordOnScreen() && ui_->PanelComment->isVisible()) {
        if (key == vk::Space) {
            ui_->EditInput->clear();
            ui_->EditInput->selectAll();
            ui_->PanelComment->setVisible(false);
            AdvanceAfterAnswer();
        }
    } else if (study_.WordOnScreen().size() > answer.size() && study_.WordOnScreen()[answer.size()] == ' ') {
        EndAnswer();
        study_.BeginAnswer(Step::SpaceInWord);
        SetComment(Comment::Right);
        key = -1;
    } else {
        CheckAnswer();
    }
}

// Its result is not looked at: a finished group is taken up by the next
// Enter or Space on the empty box.
void TformMain::AdvanceAfterAnswer() {
    if (study_.WordLib.CurrentIndex > study_.WordLib.WordCount) return;
    const int shown = study_.WordLib.ShownCount;
    study_.WordLib.NextWord(true);
    SaveProgressIfShownReached(shown);
}

// The one place where an answer is judged.
void TformMain::CheckAnswer() {
    if (study_.WordLib.ReadMode == 3) return;  // everything is shown already
    const std::optional<std::string> exact = ui_->TrimmedAnswerGbk();
    const std::string typed = exact ? *exact : FromScreen(TrimmedAnswer(ui_->EditInput->text()));
    const std::string word = TrimGbk(study_.WordOnScreen());
    AnswerVerdict verdict = JudgeAnswer(typed, word, LookupReading(study_.DataLists.readingText, study_.WordOnScreen()),
                                        manage_.acceptreading);
    if (!exact && verdict.right) {  // a character GBK cannot hold is in no word
        verdict.right = verdict.byReading = false;
        verdict.expected = GbkCodePoints(word);
        verdict.marks = AlignAnswer(GbkCodePoints(typed), verdict.expected);
    }

    EndAnswer();
    ui_->TimerPrompt->stop();  // the judgement's display replaces the prompt's
    if (verdict.right) {
        study_.BeginAnswer(Step::Right, typed);
        SetComment(Comment::Right);
        ui_->PanelComment->raise();
        ui_->PanelComment->setVisible(true);
        ui_->TimerComment->start();
        study_.WordLib.RevealAll();
        if (verdict.byReading) ui_->ShowAnswerMarks(verdict, true);
    } else {
        // Said plainly, where the learner looks; typing again takes it away.
        SetComment(Comment::Wrong);
        ui_->PanelComment->raise();
        ui_->PanelComment->setVisible(true);
        study_.WordLib.RevealAll();
        ui_->ShowAnswerMarks(verdict, false);
        if (study_.WordLib.AutoClear) ui_->EditInput->clear();
    }
    emit answerJudged({study_.WordOnScreen(), typed, verdict.right, verdict.byReading});
}

void TformMain::EditInputKeyUp(int& key) {
    const QString text = ui_->EditInput->text();
    if (text == QStringLiteral(" ")) {
        ui_->EditInput->clear();
        return;
    }
    ui_->SetAnswerColour(study_.WordLib.FontColor);
    const std::string& word = study_.WordOnScreen();
    if (study_.Step() == Step::Open) {
        QString tidy = TrimmedAnswer(text);
        const size_t length = FromScreen(tidy).size();
        // A space survives only where the word has one, right after the
        // text typed so far.
        if (key == vk::Space && length + 1 < word.size() && word[length] == ' ') tidy += QLatin1Char(' ');
        if (tidy != text) ui_->EditInput->setText(tidy);
        ui_->EditInput->setCursorPosition(static_cast<int>(ui_->EditInput->text().size()));
    } else if ((study_.Step() == Step::Right || study_.Step() == Step::SpaceInWord) && key == vk::Space &&
               ui_->AnswerText().size() > word.size()) {
        ui_->EditInput->setText(TrimmedAnswer(text));
        ui_->EditInput->setCursorPosition(static_cast<int>(ui_->EditInput->text().size()));
    }
    const bool commandCharacter = (key >= vk::Numpad0 && key <= kKeypad9) || key == vk::OemPlus ||
                                  key == vk::OemOpenBracket || key == vk::OemCloseBracket;
    if (commandCharacter) ui_->EditInput->clear();
    key = 0;
}

void TformMain::ButtonPromptClick() {
    EndAnswer();
    if (study_.WordLib.HasCurrentWord()) study_.WordLib.RevealAll();
    ui_->TimerPrompt->stop();
    ui_->TimerPrompt->start();
    ui_->SetAnswerColour(ui_->EditInput->OwnBackground());
    ui_->EditInput->clear();
}

void TformMain::TimerPromptTimer() {
    study_.WordLib.RestoreAfterPrompt();
    ui_->PanelComment->setVisible(false);
    ui_->TimerPrompt->stop();
}

// Only the right answer it was started for ends here: once the learner has
// moved on or typed again, the display is over already.
void TformMain::TimerCommentTimer() {
    ui_->TimerComment->stop();
    if (study_.Step() != Step::Right || !study_.AnswerBelongsToWordOnScreen()) return;
    ui_->PanelComment->setVisible(false);
    SetComment(Comment::Next);
    study_.MarkRightSeen();
}
