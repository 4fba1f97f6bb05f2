// Saving the learner's progress: a few seconds after every change, at once
// when the program is asked to end, and the desktop's close of the window.

#include <QApplication>
#include <QCloseEvent>
#include <QTimer>

#include "core/appmessage.h"
#include "core/manage.h"
#include "study/formmain_ui.h"

void TformMain::NoteProgress() {
    // Armed, not restarted: steady typing must not put the save off forever.
    if (inSession_ && !ui_->TimerSave->isActive()) ui_->TimerSave->start();
}

void TformMain::TimerSaveTimer() {
    // A dialog that holds the window works on the library itself and saves
    // at its own points; the window's clock arms the save again afterwards.
    if (!inSession_ || !isEnabled()) return;
    // A save that failed has said so; the same failure every few seconds
    // would bury the learner in boxes. They are told again once a save has
    // worked in between.
    MessageSink told;
    if (autosaveFailed_) told = SetMessageSink([](const std::string&, int) { return kIdOk; });
    const bool saved = study_.SaveLibrary();
    if (told) SetMessageSink(told);
    autosaveFailed_ = !saved;
}

void TformMain::SaveEverything() {
    if (!inSession_) return;
    ui_->TimerSave->stop();
    autosaveFailed_ = !study_.SaveLibrary();
    manage_.SaveConfig();
    recorder_.RecordGradeCounts();
    recorder_.RecordStudySession();
}

void TformMain::closeEvent(QCloseEvent* event) {
    event->ignore();
    // While a dialog holds the window, the dialog is finished first.
    if (inSession_ && isEnabled()) ButtonReturnClick();
}
