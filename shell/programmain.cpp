#include "shell/programmain.h"

#include <exception>

#include "platform/endrequests.h"
#include "platform/programcall.h"
#include "shell/appwindows.h"
#include "shell/desktop.h"
#include "shell/formstart.h"
#include "shell/lexilarkapplication.h"
#include "shell/programfolder.h"
#include "shell/programlock.h"
#include "shell/windowset.h"
#include "study/formmain.h"
#include "widgets/messagebox.h"

int RunLexilark(int argc, char** argv, const std::function<void()>& afterStart) {
    LexilarkApplication app(argc, argv);
    // Only the start window ends the program; hiding it to study must not.
    app.setQuitOnLastWindowClosed(false);
    InstallMessageBoxSink();
    try {
        const ProgramFolders folders = FindProgramFolder();
        // The window system's Chinese texts first: a refused start below
        // already shows a message box.
        LoadChineseTranslations();
        if (!MakeProgramFolder(folders)) return 0;
        const std::string& programFolder = folders.program;
        // Taken before any file of the folder is read, so that a second
        // start neither reads half-saved files nor finishes a first
        // program's user moves under its feet.
        ProgramFolderLock folderLock(programFolder);
        if (!folderLock.Take()) return 0;
        if (!LayOutProgramFolder(folders)) return 0;
        // The windows go when the program ends, also by an exception, while
        // the folder is still ours: the study window's last words to the
        // journal are written under the lock.
        struct WindowSetEnd {
            ~WindowSetEnd() { DeleteWindowSet(); }
        } windowSetEnd;
        // The start window goes up first; the Japanese font (shipped with
        // the program's files) and the other windows, which it does not
        // need, follow once it is drawn.
        CreateStartWindow(programFolder);
        // A second start on this folder brings this program forward.
        ProgramCallListener calls(programFolder);
        QObject::connect(&calls, &ProgramCallListener::called, &app, BringWindowSetForward);
        QObject::connect(formStart, &TformStart::closed, &app, &QApplication::quit);
        // Whatever ends the program, the learner's progress is on the disk
        // first: a logout or shutdown (a signal, or the session manager's
        // request), the end of the event loop, the last window closed.
        auto saveEverything = [] {
            if (formMain) formMain->SaveEverything();
        };
        EndRequests endRequests;
        // exit(), not quit(): quit() first asks every window to close, and
        // the study window answers that by going back to the start window.
        // A request can come while the start window is still being drawn,
        // before the main event loop runs; exit() then ends only that wait,
        // so the flag keeps the main loop from starting at all.
        bool endRequested = false;
        QObject::connect(&endRequests, &EndRequests::received, &app, [saveEverything, &endRequested] {
            endRequested = true;
            saveEverything();
            QCoreApplication::exit(0);
        });
#ifndef QT_NO_SESSIONMANAGER
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &app, saveEverything);
#endif
        QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, saveEverything);
        QObject::connect(&app, &QGuiApplication::lastWindowClosed, &app, saveEverything);
        formStart->show();
        CompleteWindowSetAfterFirstPaint([&folders] { UseProgramJapaneseFont(folders.shipped); });
        if (afterStart) afterStart();
        if (!endRequested) app.exec();
    } catch (const std::exception& error) {
        ShowExceptionMessage(error);
    }
    return 0;
}
