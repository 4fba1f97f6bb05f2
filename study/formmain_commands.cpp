// Commands on the study window as a whole: the study clock, pausing and
// resuming, the F9 hot key, the layout rules for small screens, going back
// to the start window and opening the other windows.

#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

#include "core/appmessage.h"
#include "core/favourites.h"
#include "core/gbktext.h"
#include "core/manage.h"
#include "core/numbertext.h"
#include "core/studyclock.h"
#include "platform/fontregistration.h"
#include "study/formmain.h"
#include "widgets/answeredit.h"
#include "widgets/colourvalue.h"
#include "widgets/eventhook.h"
#include "widgets/screentext.h"

namespace {

constexpr const char* kPause = "暂停学习";
constexpr const char* kResume = "继续学习";
constexpr int kPausedCaptionColour = 2963455;
constexpr int kButtonCaptionColour = 13583874;

}  // namespace

bool TformMain::IsPaused() const { return ButtonPause->text() != U(kPause); }

bool TformMain::IsStudying() const { return isVisible() && !IsPaused(); }

void TformMain::HoldInput() { TimerSetFocus->stop(); }

void TformMain::GiveBackInput() { TimerSetFocus->start(); }

QPoint TformMain::GuideAnchor() const {
    return {Panel1->mapTo(this, QPoint(0, 0)).x(), GroupBoxMiddle->mapTo(this, QPoint(0, 0)).y()};
}

QRect TformMain::WordBoxOnScreen() const { return {GroupBoxTop->mapToGlobal(QPoint(0, 0)), GroupBoxTop->size()}; }

QRect TformMain::SideColumnOnScreen() const { return {Panel1->mapToGlobal(QPoint(0, 0)), Panel1->size()}; }

void TformMain::SetHeading(const QString& heading) { PanelMainCaption->setText(heading); }

void TformMain::SetPromptDelay(int milliseconds) { TimerPrompt->setInterval(milliseconds); }

namespace {

void SetFace(QWidget* widget, const std::string& gbkFamily, QFont (*withFallback)(QFont)) {
    QFont font = widget->font();
    font.setFamily(Screen(gbkFamily));
    widget->setFont(withFallback(font));
}

}  // namespace

void TformMain::SetWordFace(const std::string& gbkFamily) {
    SetFace(PanelE, gbkFamily, WithJapaneseFallback);
    FitWordToWidth();
}

void TformMain::SetMeaningFace(const std::string& gbkFamily) {
    SetFace(MemoC, gbkFamily, WithChineseFallback);
    SetFace(MemoSentence, gbkFamily, WithChineseFallback);
}

void TformMain::ConnectWindowCommands() {
    connect(Timer, &QTimer::timeout, this, [this] { TimerTimer(); });
    connect(ButtonPause, &QPushButton::clicked, this, [this] { ButtonPauseClick(); });
    connect(ButtonReturn, &QPushButton::clicked, this, [this] { ButtonReturnClick(); });
    connect(ButtonSelectWordLib, &QPushButton::clicked, this, &TformMain::libraryChoiceRequested);
    connect(suiButton2, &QPushButton::clicked, this, &TformMain::groupingRequested);
    connect(suiButton4, &QPushButton::clicked, this, &TformMain::settingsRequested);
    connect(suiButton3, &QPushButton::clicked, this, [this] { suiButton3Click(); });
    connect(suiButton5, &QPushButton::clicked, this, &TformMain::errorReportRequested);
    connect(suiButton10, &QPushButton::clicked, this, [this] { suiButton10Click(); });
    onHotKey = [this] { WMHotKey(); };
    EventHook::Install(this, QEvent::Resize, [this] { FormResize(); });

    // Working the buttons is not idling. The openers stop the clock
    // themselves, and only when their window comes up: a refused opener
    // leaves the study going as it was.
    for (QPushButton* button :
         {ButtonFullScreen, ButtonDeGrade, ButtonUpGrade, ButtonPriorWord, ButtonNextWord, ButtonPrompt,
          ButtonMyNewWord, suiButton4, ButtonSelectWordLib, suiButton10, suiButton3, suiButton5})
        EventHook::Install(button, QEvent::MouseButtonRelease, [this] { WordLib.IdleSeconds = 0; });
}

int TformMain::ScreenWidth() const {
    if (screenWidth) return screenWidth();
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    return shown ? shown->geometry().width() : 1024;
}

int TformMain::ScreenHeight() const {
    if (screenHeight) return screenHeight();
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    return shown ? shown->availableGeometry().height() : 768;
}

void TformMain::TimerTimer() {
    TStudyClock clock;
    clock.RunSeconds = study_.RunSeconds();
    const StudyClockTexts texts = clock.Tick(CountersOf(WordLib), [this] { ButtonPauseClick(); });
    study_.SetRunSeconds(clock.RunSeconds);

    LabelThisTime->setText(Screen(texts.thisTime));
    LabelTotalTime->setText(Screen(texts.totalTime));
    PanelThisTime->setText(LabelThisTime->text());
    LabelThisLoopTime->setText(Screen(texts.loopTime));
    LabelSpeed->setText(Screen(texts.speed));
    if (texts.leftTime) LabelLeftTime->setText(Screen(*texts.leftTime));
    NoteProgress();
}

void TformMain::ShowClocks() {
    LabelThisTime->setText(Screen(FormatClock(study_.RunSeconds())));
    PanelThisTime->setText(LabelThisTime->text());
    LabelTotalTime->setText(Screen(FormatClock(WordLib.TotalTime)));
    LabelThisLoopTime->setText(Screen(FormatClock(WordLib.ThisLoopTime)));
    LabelSpeed->setText(Screen(IntToStr(StudySpeed(WordLib.ShownCount, WordLib.ActiveSeconds)) + Gbk(" 词/分")));
    // No estimate before the speed of this library is known.
    LabelLeftTime->setText(Screen(FormatClock(0)));
}

void TformMain::ButtonPauseClick() {
    QWidget* panels[] = {pcontrol, Panel2, PanelGrade, PanelButtons};
    if (ButtonPause->text() == U(kPause)) {
        EndAnswer();  // a right answer's display must not end over the pause
        ButtonPause->setText(U(kResume));
        SetButtonCaptionColour(ButtonPause, kPausedCaptionColour);
        SetComment(StudySession::Comment::Paused);
        PanelComment->raise();
        PanelComment->setVisible(true);
        for (QWidget* panel : panels) panel->setEnabled(false);
        // The way back has the keyboard: its key, Enter and Space resume,
        // where the disabled answer box would swallow them.
        if (isVisible()) ButtonPause->setFocus();
        TimerSetFocus->stop();
        Timer->stop();
        // Paused (or hidden with F9): the learner may walk away for good.
        if (TimerSave->isActive()) TimerSaveTimer();
        TimerSave->stop();
    } else {
        ButtonPause->setText(U(kPause));
        PanelComment->setVisible(false);
        SetButtonCaptionColour(ButtonPause, kButtonCaptionColour);
        SetComment(StudySession::Comment::Right);
        for (QWidget* panel : panels) panel->setEnabled(true);
        EditInput->setFocus();
        TimerSetFocus->start();
        Timer->start();
        WordLib.IdleSeconds = 0;
    }
}

void TformMain::WMHotKey() {
    if (isVisible()) {
        hide();
    } else {
        show();
        raise();
        activateWindow();
    }
    ButtonPauseClick();
}

void TformMain::FormResize() {
    const ScreenLayout rules = LayoutForScreenWidth(ScreenWidth());
    if (QLayout* outer = layout()) {
        const int border = rules.borderWidth;
        outer->setContentsMargins(border, border, border, border);
    }
    Panel2->setVisible(rules.showReadModes);
    FitToScreenHeight();
}

void TformMain::StartStudying() {
    // The study window fills the screen it is shown on, laid out for that
    // screen first, so that it is not held larger than the screen.
    FormResize();
    if (layout()) layout()->activate();
    if (const QScreen* target = QGuiApplication::primaryScreen()) setGeometry(target->geometry());
    show();
    raise();
    activateWindow();
    // A login starts a run of its own: its clock and speed owe nothing to
    // the learner before.
    if (!inSession_) {
        study_.SetRunSeconds(1);
        WordLib.ActiveSeconds = 1;
        WordLib.ShownCount = 0;
        WordLib.IdleSeconds = 0;
        ShowClocks();
    }
    inSession_ = true;
    Timer->start();
}

void TformMain::LoadUserFavourites(const std::string& gbkPath) { MyWordLib.LoadFavourites(gbkPath); }

void TformMain::ButtonReturnClick() {
    WordLib0.StoreGroup();
    WordLib0.SaveWordLib();
    inSession_ = false;
    TimerSave->stop();
    // The user's folder may move while nobody is logged in: the journal is
    // let go with the libraries.
    recorder_.Close();
    WordLib0.Count = 0;
    // Nothing of this library may reach the next user who logs in: with the
    // study list and the file name left behind, a user without a last
    // library would study these words and save them over this file.
    WordLib0.Path.clear();
    WordLib.WordCount = 0;
    WordLib.CurrentIndex = -1;
    WordLib.GradeCount.fill(0);
    SetLibraryName("");
    PanelT->clear();
    PanelE->clear();
    meaningOnScreen_.clear();
    MemoC->clear();
    study_.SetMeaningOnScreen({});
    hide();
    emit studyLeft();
    manage_.SaveConfig();
    Timer->stop();
    emit studySaved();
}

void TformMain::WaitForWindow() {
    Timer->stop();
    setEnabled(false);
}

void TformMain::ReturnFromWindow(bool restartFocusKeeper) {
    setEnabled(true);
    // Left for the start window meanwhile (the import page is opened from
    // there): nobody is studying, the clocks stay off.
    if (!isVisible()) return;
    // Paused meanwhile (F9): the clocks wait for "继续学习".
    if (IsPaused()) return;
    Timer->start();
    if (restartFocusKeeper) TimerSetFocus->start();
}

void TformMain::suiButton3Click() {
    const std::string favourites = Gbk(kFavouritesName);
    if (LibraryName().compare(0, favourites.size(), favourites) == 0) {
        ShowAppMessageUtf8("您正在使用收藏库，不能进行此操作！\r\n\r\n请随便选一个其他词库，再尝试");
        EditInput->setFocus();  // the caret goes back where the learner types
        return;
    }
    emit favouritesRequested();
}

void TformMain::suiButton10Click() { emit helpRequested(); }
