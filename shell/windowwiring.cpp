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

// The statistics page reads the learner's journal while the study clock
// waits, and drills the words it is given through the favourites. It
// belongs to the study window, so that the screen-filling study window
// never covers it.
void WireStatistics() {
    QObject::connect(formMain, &TformMain::statisticsRequested, formStats, [] {
        formMain->HoldClock();
        StandAbove(formStats, formMain);
        const TManage& manage = formStart->Manage;
        formStats->SetColours(manage.fontcolor, manage.backcolor);
        formStats->ShowFor(formMain->StudyJournal(), formMain->CurrentLibraryProgress());
    });
    QObject::connect(formStats, &TformStats::addToFavourites, formMain, &TformMain::AddWordsToFavourites);
    QObject::connect(formStats, &TformStats::closed, formMain, [] {
        if (formMain->isVisible() && !formMain->IsPaused()) formMain->GiveBackClock();
    });
}

// The library selection and grouping dialog.
void WireSelection() {}

// The settings and maintenance window.
void WireSettings() {}

// The help guide.
void WireHelp() {}

}  // namespace

void WireWindows() {
    WireStatistics();
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
