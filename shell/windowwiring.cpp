#include "shell/windowwiring.h"

#include "help/formhelp.h"
#include "select/selectwordlib.h"
#include "settings/formmakewordlib.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"
#include "stats/formstats.h"
#include "study/formmain.h"
#include "widgets/standabove.h"

namespace {

// The library selection and grouping dialog.
void WireSelection() {}

// The settings and maintenance window.
void WireSettings() {}

// The help guide.
void WireHelp() {}

}  // namespace

void WireWindows() {
    WireStatistics(*formMain, *formStats, formStart->Manage);
    WireSelection();
    WireSettings();
    WireHelp();
}

void ShowHelpFor(QWidget* asker, const char* utf8Topic) {
    if (formMain) {
        formMain->HoldClock();
        formMain->HoldInput();
    }
    if (!formHelp) return;
    ShowAbove(formHelp, asker);
    formHelp->ShowHelpTopicUtf8(utf8Topic);
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
        s->HoldClock();
        StandAbove(page, s);
        page->SetColours(colours->fontcolor, colours->backcolor);
        page->ShowFor(s->StudyJournal(), s->CurrentLibraryProgress());
    });
    QObject::connect(page, &TformStats::addToFavourites, s, &TformMain::AddWordsToFavourites);
    QObject::connect(page, &TformStats::closed, s, [s] {
        if (s->isVisible() && !s->IsPaused()) s->GiveBackClock();
    });
}
