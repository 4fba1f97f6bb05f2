#include "shell/windowwiring.h"

#include <QList>
#include <QPointer>

#include "core/backups.h"
#include "help/formhelp.h"
#include "select/selectwordlib.h"
#include "settings/formmakewordlib.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"
#include "stats/formstats.h"
#include "study/formmain.h"
#include "widgets/standabove.h"

void WireWindows() {
    WireStatistics(*formMain, *formStats, formStart->Manage);
    WireSelection(*formMain, *SelectWordLib, *formStart);
    WireSettings(*formMain, *formMakeWordLib);
    WireSettingsToStart(*formStart, *formMakeWordLib, *formMain);
    WireHelp(*formMain, *formHelp, {SelectWordLib, formMakeWordLib});
    // Last: the help guide goes before the start window comes up on "返  回".
    WireStart(*formStart, *formMain);
}

void WireStart(TformStart& start, TformMain& study) {
    TformStart* login = &start;
    TformMain* s = &study;
    if (const QString heading = login->Heading(); !heading.isNull()) s->SetHeading(heading);
    s->onHotKey = [login, s] {
        if (login->isVisible()) return;
        s->WMHotKey();
    };
    QObject::connect(s, &TformMain::studyLeft, login, [login] {
        login->show();
        login->raise();
        login->activateWindow();
        login->TurnToStartPanel();
    });
    QObject::connect(s, &TformMain::studySaved, login, &TformStart::SyncAfterStudy);
}

// The statistics page reads the learner's journal while the study clock
// waits, and drills the words it is given through the favourites. It
// belongs to the study window, so that the screen-filling study window
// never covers it.
void WireStatistics(TformMain& study, TformStats& stats, const TManage& manage) {
    TformMain* s = &study;
    TformStats* page = &stats;
    const TManage* colours = &manage;
    QObject::connect(s, &TformMain::statisticsRequested, page, [s, page, colours] {
        s->Session().HoldClock();
        StandAbove(page, s);
        page->SetColours(colours->fontcolor, colours->backcolor);
        page->ShowFor(s->Recorder().StudyJournal(), s->Recorder().CurrentLibraryProgress());
    });
    QObject::connect(page, &TformStats::addToFavourites, s, &TformMain::AddWordsToFavourites);
    QObject::connect(page, &TformStats::closed, s, [s] {
        if (s->isVisible() && !s->IsPaused()) s->Session().GiveBackClock();
    });
}

void WireHelp(TformMain& study, TformHelp& help, const std::vector<QWidget*>& dialogs) {
    TformMain* s = &study;
    TformHelp* guide = &help;
    const QList<QPointer<QWidget>> holders(dialogs.begin(), dialogs.end());
    const auto dialogOpen = [holders] {
        for (const QPointer<QWidget>& window : holders)
            if (window && window->isVisible()) return true;
        return false;
    };

    guide->SetPlaceSource([s] {
        GuidePlace place;
        place.screen = s->screen();
        place.besideShown = s->isVisible();
        place.keepClear = s->WordBoxOnScreen();
        place.column = s->SideColumnOnScreen();
        place.anchor = s->GuideAnchor();
        return place;
    });
    // The guide stands beside the study window, which stays enabled; the
    // guide gives the clocks back when it is left. A dialog in front of
    // the study window opens it at a topic of its own.
    const auto open = [s, guide](QWidget* asker, const QString& topic) {
        s->Session().HoldClock();
        s->HoldInput();
        ShowAbove(guide, asker);
        if (!topic.isNull()) guide->ShowHelpTopicUtf8(topic.toUtf8().constData());
    };
    QObject::connect(s, &TformMain::helpRequested, guide, [s, open] { open(s, QString()); });
    for (QWidget* dialog : dialogs) {
        const auto ask = [open, dialog](const QString& topic) { open(dialog, topic); };
        if (auto* select = qobject_cast<TSelectWordLib*>(dialog))
            QObject::connect(select, &TSelectWordLib::helpWanted, guide, ask);
        else if (auto* settings = qobject_cast<TformMakeWordLib*>(dialog))
            QObject::connect(settings, &TformMakeWordLib::helpWanted, guide, ask);
    }
    QObject::connect(s, &TformMain::studyLeft, guide, &QWidget::hide);

    // While the demonstration is on show the learner watches, so the study
    // window takes no keys; another topic gives it back, unless a dialog
    // opened the guide and holds the study window itself. A running clock
    // goes on.
    QObject::connect(guide, &TformHelp::topicPicked, s, [s, dialogOpen](bool demonstration) {
        const bool running = s->Session().ClockRunning();
        s->Session().HoldClock();
        if (demonstration)
            s->setEnabled(false);
        else if (!dialogOpen())
            s->setEnabled(true);
        if (running) s->Session().GiveBackClock();
    });
    QObject::connect(guide, &TformHelp::shownOnDemonstration, s, [s] { s->setEnabled(false); });

    QObject::connect(guide, &TformHelp::left, s, [s, dialogOpen] {
        // Paused meanwhile (F9, or before the guide was opened): the clocks
        // wait for "继续学习", or the idle limit would resume the study.
        // Without a study on screen (the guide opened from the import page
        // of the start window) they stay off as well.
        const bool studying = s->IsStudying();
        // A selection dialog or settings window still open keeps the study
        // window and its clock, and gives them back when it is left; it
        // restarts only the clock, so the focus keeper (idle while the
        // window is disabled) is restarted here.
        if (dialogOpen()) {
            if (studying) s->GiveBackInput();
            return;
        }
        s->setEnabled(true);
        if (!studying) return;
        s->Session().GiveBackClock();
        s->GiveBackInput();
    });
}

// The dialog takes the learner from the study window, which waits for it
// until it is put away, and opens the libraries in the learner's folder.
void WireSelection(TformMain& study, TSelectWordLib& select, TformStart& start) {
    TformMain* s = &study;
    TSelectWordLib* dialog = &select;
    TformStart* learner = &start;
    dialog->SetLearner({[learner] { return learner->UserFolder; },
                        [learner] {
                            return MakeBackup(learner->ProgramFolder, learner->Manage.GetUserIndex(),
                                              learner->backupClock());
                        }});
    QObject::connect(s, &TformMain::libraryChoiceRequested, dialog, [s, dialog] {
        s->WaitForWindow();
        // What was studied so far is saved before another library may be
        // opened in its place.
        s->Session().SaveLibrary();
        s->Recorder().RecordStudySession();
        dialog->OpenChoicePage(s->Session());
        ShowAbove(dialog, s);
    });
    QObject::connect(s, &TformMain::groupingRequested, dialog, [s, dialog] {
        s->WaitForWindow();
        dialog->OpenGroupingPage(s->Session());
        ShowAbove(dialog, s);
    });
    QObject::connect(dialog, &TSelectWordLib::libraryOpened, s, [s, learner](const std::string& gbkFile) {
        learner->Manage.SetCurrentLibrary(gbkFile);
        s->ShowLibraryUnderStudy();
        // The clocks, the speed and the estimate of the time left are this
        // library's from now on: the estimate of the one before would stand
        // until the first word here is timed.
        s->ShowClocks();
    });
    QObject::connect(dialog, &TSelectWordLib::left, s, [s] { s->ReturnFromWindow(false); });
    // The session goes with the study window; the dialog must not work on
    // it afterwards.
    QObject::connect(s, &QObject::destroyed, dialog, [dialog] { dialog->LetGoOfSession(); });
}

void WireSettings(TformMain& study, TformMakeWordLib& settings) {
    TformMain* s = &study;
    TformMakeWordLib* page = &settings;
    const auto open = [s, page] { ShowAbove(page, s); };
    QObject::connect(s, &TformMain::settingsRequested, page, [s, page, open] {
        s->WaitForWindow();
        page->TurnToSetupPage();
        open();
    });
    QObject::connect(s, &TformMain::favouritesRequested, page, [s, page, open] {
        s->WaitForWindow();
        page->TurnToFavouritesPage();
        open();
    });
    QObject::connect(s, &TformMain::errorReportRequested, page, [s, page, open] {
        page->TurnToErrorReportPage();
        open();
        s->WaitForWindow();
    });
    // However the window is put away, the study window takes the learner
    // back (ReturnFromWindow leaves it alone while it is not on screen).
    QObject::connect(page, &TformMakeWordLib::left, s, [s] { s->ReturnFromWindow(false); });

    QObject::connect(page, &TformMakeWordLib::promptDelayChanged, s, &TformMain::SetPromptDelay);
    QObject::connect(page, &TformMakeWordLib::wordFaceChanged, s, &TformMain::SetWordFace);
    QObject::connect(page, &TformMakeWordLib::meaningFaceChanged, s, &TformMain::SetMeaningFace);
    QObject::connect(page, &TformMakeWordLib::coloursChanged, s, &TformMain::ApplyColours);
    QObject::connect(page, &TformMakeWordLib::sentencesToRedraw, s,
                     [s](const std::string& gbkWord) { s->Display().WriteSentencesOf(gbkWord); });
    QObject::connect(page, &TformMakeWordLib::syncStarting, s, &TformMain::SaveForSync);

    settings.FormCreate();
}

void WireSettingsToStart(TformStart& start, TformMakeWordLib& settings, TformMain& study) {
    TformStart* back = &start;
    TformMakeWordLib* page = &settings;
    TformMain* s = &study;
    settings.SetProgramFolder(start.ProgramFolder);
    QObject::connect(page, &TformMakeWordLib::importLeft, back, [back] {
        back->show();
        back->raise();
    });
    QObject::connect(page, &TformMakeWordLib::learnerFilesReplaced, back, [back, s] {
        s->OpenLastWordLib(back->UserFolder);
        back->PrepareFavourites();
    });
}
