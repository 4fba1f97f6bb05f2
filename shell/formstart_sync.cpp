// The start window's part in keeping a learner's progress in step with
// their WebDAV server (shell/learnersync.h does the work).

#include "core/usertable.h"
#include "shell/formstart.h"
#include "shell/learnersync.h"

void TformStart::SyncAtLogin(int slot) {
    if (slot < 0 || slot >= kUserSlots) return;
    // Before anything of the learner's is opened, so what comes from the
    // server is what the study window opens.
    SyncLearner(this, ProgramFolder, slot, Manage.user[static_cast<size_t>(slot)], SyncMoment::Login);
    syncDue_ = true;
}

void TformStart::SyncAfterStudy() {
    const int slot = Manage.GetUserIndex();
    if (!syncDue_ || slot < 0 || slot >= kUserSlots) return;
    const SyncOutcome outcome =
        SyncLearner(this, ProgramFolder, slot, Manage.user[static_cast<size_t>(slot)], SyncMoment::Return);
    syncDue_ = !outcome.ok;
}

void TformStart::SyncBeforeExit() {
    const int slot = Manage.GetUserIndex();
    if (!syncDue_ || slot < 0 || slot >= kUserSlots) return;
    const SyncOutcome outcome =
        SyncLearner(this, ProgramFolder, slot, Manage.user[static_cast<size_t>(slot)], SyncMoment::Exit);
    syncDue_ = !outcome.ok;
}
