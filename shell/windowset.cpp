#include "shell/windowset.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>

#include "core/programfolder.h"
#include "help/formhelp.h"
#include "select/selectwordlib.h"
#include "settings/formmakewordlib.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"
#include "shell/windowwiring.h"
#include "stats/formstats.h"
#include "study/formmain.h"
#include "widgets/standabove.h"

namespace {

void CreateOtherWindows() {
    formStart->BuildOtherPanels();
    // The study window publishes the start window's folder as the program's.
    SetProgramFolder(formStart->ProgramFolder);
    formMain = new TformMain(formStart->Manage);
    SelectWordLib = new TSelectWordLib;
    formHelp = new TformHelp;
    formMakeWordLib = new TformMakeWordLib(formStart->Manage, formMain->Session());
    formStats = new TformStats;

    WireWindows();
}

// Ends `loop` once the watched window has handled its first expose event
// (the event itself is let through, so the window paints before the loop
// returns).
class FirstExposeWatch : public QObject {
public:
    explicit FirstExposeWatch(QEventLoop& loop) : loop_(loop) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose) loop_.quit();
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& loop_;
};

}  // namespace

void CreateWindowSet(const std::string& gbkProgramFolder) {
    formStart = new TformStart(gbkProgramFolder);
    CreateOtherWindows();
}

void CreateStartWindow(const std::string& gbkProgramFolder) {
    formStart = new TformStart(gbkProgramFolder, TformStart::StartPanelFirst{});
}

void CompleteWindowSetAfterFirstPaint(const std::function<void()>& beforeOthers) {
    QWindow* window = formStart->windowHandle();
    if (window && !window->isExposed()) {
        QEventLoop loop;
        FirstExposeWatch watch(loop);
        window->installEventFilter(&watch);
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        window->removeEventFilter(&watch);
    }
    formStart->BuildOtherPanels();
    if (beforeOthers) beforeOthers();
    CreateOtherWindows();
}

void DeleteWindowSet() {
    delete formStats;
    formStats = nullptr;
    delete formMakeWordLib;
    formMakeWordLib = nullptr;
    delete formHelp;
    formHelp = nullptr;
    delete SelectWordLib;
    SelectWordLib = nullptr;
    delete formMain;
    formMain = nullptr;
    delete formStart;
    formStart = nullptr;
}

void BringWindowSetForward() {
    QWidget* const stack[] = {formStart, formMain, formHelp, SelectWordLib, formMakeWordLib};
    QWidget* top = nullptr;
    for (QWidget* window : stack) {
        if (!window || !window->isVisible()) continue;
        if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->raise();
        if (window->isEnabled()) top = window;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        top = modal;
    }
    if (top) {
        GiveKeyboardTo(top);
    } else if (formMain && formStart && !formStart->isVisible()) {
        formMain->WMHotKey();
    }
}
