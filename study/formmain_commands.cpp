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
#include "study/formmain_ui.h"
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

bool TformMain::IsPaused() const { return ui_->ButtonPause->text() != U(kPause); }

bool TformMain::IsStudying() const { return isVisible() && !IsPaused(); }

void TformMain::HoldInput() { ui_->TimerSetFocus->stop(); }

void TformMain::GiveBackInput() { ui_->TimerSetFocus->start(); }

QPoint TformMain::GuideAnchor() const {
    return {ui_->Panel1->mapTo(this, QPoint(0, 0)).x(), ui_->GroupBoxMiddle->mapTo(this, QPoint(0, 0)).y()};
}

QRect TformMain::WordBoxOnScreen() const {
    return {ui_->GroupBoxTop->mapToGlobal(QPoint(0, 0)), ui_->GroupBoxTop->size()};
}

QRect TformMain::SideColumnOnScreen() const { return {ui_->Panel1->mapToGlobal(QPoint(0, 0)), ui_->Panel1->size()}; }

void TformMain::SetHeading(const QString& heading) { ui_->PanelMainCaption->setText(heading); }

void TformMain::SetPromptDelay(int milliseconds) { ui_->TimerPrompt->setInterval(milliseconds); }

namespace {

void SetFace(QWidget* widget, const std::string& gbkFamily, QFont (*withFallback)(QFont)) {
    QFont font = widget->font();
    font.setFamily(Screen(gbkFamily));
    widget->setFont(withFallback(font));
}

}  // namespace

void TformMain::SetWordFace(const std::string& gbkFamily) {
    SetFace(ui_->PanelE, gbkFamily, WithJapaneseFallback);
    ui_->FitWordToWidth();
}

void TformMain::SetMeaningFace(const std::string& gbkFamily) {
    SetFace(ui_->MemoC, gbkFamily, WithChineseFallback);
    SetFace(ui_->MemoSentence, gbkFamily, WithChineseFallback);
}

void TformMain::ConnectWindowCommands() {
    connect(ui_->Timer, &QTimer::timeout, this, [this] { TimerTimer(); });
    connect(ui_->ButtonPause, &QPushButton::clicked, this, [this] { ButtonPauseClick(); });
    connect(ui_->ButtonReturn, &QPushButton::clicked, this, [this] { ButtonReturnClick(); });
    connect(ui_->ButtonSelectWordLib, &QPushButton::clicked, this, &TformMain::libraryChoiceRequested);
    connect(ui_->suiButton2, &QPushButton::clicked, this, &TformMain::groupingRequested);
    connect(ui_->suiButton4, &QPushButton::clicked, this, &TformMain::settingsRequested);
    connect(ui_->suiButton3, &QPushButton::clicked, this, [this] { suiButton3Click(); });
    connect(ui_->suiButton5, &QPushButton::clicked, this, &TformMain::errorReportRequested);
    connect(ui_->suiButton10, &QPushButton::clicked, this, &TformMain::helpRequested);
    onHotKey = [this] { WMHotKey(); };
    EventHook::Install(this, QEvent::Resize, [this] { FormResize(); });

    // Working the buttons is not idling. The openers stop the clock
    // themselves, and only when their window comes up: a refused opener
    // leaves the study going as it was.
    for (QPushButton* button : {ui_->ButtonFullScreen, ui_->ButtonDeGrade, ui_->ButtonUpGrade, ui_->ButtonPriorWord,
                                ui_->ButtonNextWord, ui_->ButtonPrompt, ui_->ButtonMyNewWord, ui_->suiButton4,
                                ui_->ButtonSelectWordLib, ui_->suiButton10, ui_->suiButton3, ui_->suiButton5})
        EventHook::Install(button, QEvent::MouseButtonRelease, [this] { study_.WordLib.IdleSeconds = 0; });
}

int TformMain::Ui::ScreenWidth() const {
    if (window.screenWidth) return window.screenWidth();
    const QScreen* shown = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return shown ? shown->geometry().width() : 1024;
}

int TformMain::Ui::ScreenHeight() const {
    if (window.screenHeight) return window.screenHeight();
    const QScreen* shown = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return shown ? shown->availableGeometry().height() : 768;
}

void TformMain::TimerTimer() {
    TStudyClock clock;
    clock.RunSeconds = study_.RunSeconds();
    const StudyClockTexts texts = clock.Tick(CountersOf(study_.WordLib), [this] { ButtonPauseClick(); });
    study_.SetRunSeconds(clock.RunSeconds);

    ui_->LabelThisTime->setText(Screen(texts.thisTime));
    ui_->LabelTotalTime->setText(Screen(texts.totalTime));
    ui_->PanelThisTime->setText(ui_->LabelThisTime->text());
    ui_->LabelThisLoopTime->setText(Screen(texts.loopTime));
    ui_->LabelSpeed->setText(Screen(texts.speed));
    if (texts.leftTime) ui_->LabelLeftTime->setText(Screen(*texts.leftTime));
    NoteProgress();
}

void TformMain::ShowClocks() {
    ui_->LabelThisTime->setText(Screen(FormatClock(study_.RunSeconds())));
    ui_->PanelThisTime->setText(ui_->LabelThisTime->text());
    ui_->LabelTotalTime->setText(Screen(FormatClock(study_.WordLib.TotalTime)));
    ui_->LabelThisLoopTime->setText(Screen(FormatClock(study_.WordLib.ThisLoopTime)));
    ui_->LabelSpeed->setText(
        Screen(IntToStr(StudySpeed(study_.WordLib.ShownCount, study_.WordLib.ActiveSeconds)) + Gbk(" 词/分")));
    // No estimate before the speed of this library is known.
    ui_->LabelLeftTime->setText(Screen(FormatClock(0)));
}

void TformMain::ButtonPauseClick() {
    QWidget* panels[] = {ui_->pcontrol, ui_->Panel2, ui_->PanelGrade, ui_->PanelButtons};
    if (ui_->ButtonPause->text() == U(kPause)) {
        EndAnswer();  // a right answer's display must not end over the pause
        ui_->ButtonPause->setText(U(kResume));
        SetButtonCaptionColour(ui_->ButtonPause, kPausedCaptionColour);
        SetComment(StudySession::Comment::Paused);
        ui_->PanelComment->raise();
        ui_->PanelComment->setVisible(true);
        for (QWidget* panel : panels) panel->setEnabled(false);
        // The way back has the keyboard: its key, Enter and Space resume,
        // where the disabled answer box would swallow them.
        if (isVisible()) ui_->ButtonPause->setFocus();
        ui_->TimerSetFocus->stop();
        ui_->Timer->stop();
        // Paused (or hidden with F9): the learner may walk away for good.
        if (ui_->TimerSave->isActive()) TimerSaveTimer();
        ui_->TimerSave->stop();
    } else {
        ui_->ButtonPause->setText(U(kPause));
        ui_->PanelComment->setVisible(false);
        SetButtonCaptionColour(ui_->ButtonPause, kButtonCaptionColour);
        SetComment(StudySession::Comment::Right);
        for (QWidget* panel : panels) panel->setEnabled(true);
        ui_->EditInput->setFocus();
        ui_->TimerSetFocus->start();
        ui_->Timer->start();
        study_.WordLib.IdleSeconds = 0;
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
    const ScreenLayout rules = LayoutForScreenWidth(ui_->ScreenWidth());
    if (QLayout* outer = layout()) {
        const int border = rules.borderWidth;
        outer->setContentsMargins(border, border, border, border);
    }
    ui_->Panel2->setVisible(rules.showReadModes);
    ui_->FitToScreenHeight();
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
        study_.WordLib.ActiveSeconds = 1;
        study_.WordLib.ShownCount = 0;
        study_.WordLib.IdleSeconds = 0;
        ShowClocks();
    }
    inSession_ = true;
    ui_->Timer->start();
}

void TformMain::LoadUserFavourites(const std::string& gbkPath) { study_.MyWordLib.LoadFavourites(gbkPath); }

void TformMain::ButtonReturnClick() {
    study_.WordLib0.StoreGroup();
    study_.WordLib0.SaveWordLib();
    inSession_ = false;
    ui_->TimerSave->stop();
    // The user's folder may move while nobody is logged in: the journal is
    // let go with the libraries.
    recorder_.Close();
    study_.WordLib0.Count = 0;
    // Nothing of this library may reach the next user who logs in: with the
    // study list and the file name left behind, a user without a last
    // library would study these words and save them over this file.
    study_.WordLib0.Path.clear();
    study_.WordLib.WordCount = 0;
    study_.WordLib.CurrentIndex = -1;
    study_.WordLib.GradeCount.fill(0);
    SetLibraryName("");
    ui_->PanelT->clear();
    ui_->PanelE->clear();
    ui_->meaningOnScreen_.clear();
    ui_->MemoC->clear();
    study_.SetMeaningOnScreen({});
    hide();
    emit studyLeft();
    manage_.SaveConfig();
    ui_->Timer->stop();
    emit studySaved();
}

void TformMain::WaitForWindow() {
    ui_->Timer->stop();
    setEnabled(false);
}

void TformMain::ReturnFromWindow(bool restartFocusKeeper) {
    setEnabled(true);
    // Left for the start window meanwhile (the import page is opened from
    // there): nobody is studying, the clocks stay off.
    if (!isVisible()) return;
    // Paused meanwhile (F9): the clocks wait for "继续学习".
    if (IsPaused()) return;
    ui_->Timer->start();
    if (restartFocusKeeper) ui_->TimerSetFocus->start();
}

void TformMain::suiButton3Click() {
    const std::string favourites = Gbk(kFavouritesName);
    if (study_.LibraryName().compare(0, favourites.size(), favourites) == 0) {
        ShowAppMessageUtf8("您正在使用收藏库，不能进行此操作！\r\n\r\n请随便选一个其他词库，再尝试");
        ui_->EditInput->setFocus();  // the caret goes back where the learner types
        return;
    }
    emit favouritesRequested();
}
