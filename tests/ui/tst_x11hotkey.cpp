// The X11 hot key: grabbing F9 on the root window, refusing a key another
// program holds, releasing it again and delivering its presses. Runs on a
// private Xvfb server when one can be started; otherwise the X11 cases are
// skipped.

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QtTest>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>

#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include "platform/hotkey.h"
#include "platform/x11hotkey.h"

#if defined(LEXILARK_HAVE_X11) && defined(LEXILARK_HAVE_XCB)
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>
#define HAVE_X11_TESTS 1
#endif

namespace {

constexpr int kVkF9 = 0x78;
constexpr int kHotKeyId = 2000;

pid_t g_xvfb = 0;

// Starts Xvfb on a free display and points DISPLAY at it.
bool StartXvfb() {
    int fds[2];
    if (pipe(fds) != 0) return false;
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        close(fds[0]);
#ifdef __linux__
        // A test run that crashes or is killed takes its server with it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "800x600x24",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return false;
    }
    g_xvfb = pid;
    setenv("DISPLAY", (":" + number).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    return true;
}

void StopXvfb() {
    if (g_xvfb <= 0) return;
    kill(g_xvfb, SIGTERM);
    waitpid(g_xvfb, nullptr, 0);
}

}  // namespace

class TestX11HotKey : public QObject {
    Q_OBJECT

private slots:
    void functionKeysMapToTheirKeySymbols_data() {
        QTest::addColumn<int>("virtualKey");
        QTest::addColumn<qulonglong>("keySym");
        QTest::newRow("F1") << 0x70 << qulonglong(0xffbe);
        QTest::newRow("F9") << kVkF9 << qulonglong(0xffc6);
        QTest::newRow("F24") << 0x87 << qulonglong(0xffd5);
        QTest::newRow("letter A") << 0x41 << qulonglong(0);
        QTest::newRow("after F24") << 0x88 << qulonglong(0);
        QTest::newRow("before F1") << 0x6f << qulonglong(0);
    }
    void functionKeysMapToTheirKeySymbols() {
        QFETCH(int, virtualKey);
        QFETCH(qulonglong, keySym);
        QCOMPARE(qulonglong(X11KeySymForVirtualKey(virtualKey)), keySym);
    }

#ifdef HAVE_X11_TESTS
    void init() {
        if (QByteArray(QTest::currentTestFunction()).startsWith("functionKeys")) return;
        if (QGuiApplication::platformName() != "xcb") QSKIP("no X11 display could be started");
        other_ = xcb_connect(nullptr, nullptr);
        QVERIFY(other_ && !xcb_connection_has_error(other_));
        root_ = xcb_setup_roots_iterator(xcb_get_setup(other_)).data->root;
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        QVERIFY(x11);
        f9_ = XKeysymToKeycode(x11->display(), XK_F9);
        QVERIFY(f9_ != 0);
    }
    void cleanup() {
        if (other_) Disconnect(other_);
        other_ = nullptr;
    }

    void grabsF9SoNoOtherProgramGetsItUntilReleased() {
        auto adapter = CreateX11HotKeyAdapter();
        QVERIFY(adapter);
        QVERIFY(adapter->Register(kHotKeyId, kVkF9, [] {}));
        QVERIFY(!OtherGrabs(0));
        QVERIFY(!OtherGrabs(XCB_MOD_MASK_2));  // Num Lock on

        adapter->Unregister(kHotKeyId);
        QVERIFY(OtherGrabs(0));
        xcb_ungrab_key(other_, f9_, root_, 0);
        free(xcb_get_input_focus_reply(other_, xcb_get_input_focus(other_), nullptr));

        QVERIFY(adapter->Register(kHotKeyId, kVkF9, [] {}));
        adapter.reset();  // closing the window releases the key as well
        QVERIFY(OtherGrabs(0));
    }

    void keyHeldElsewhereIsRefusedAndNothingStaysGrabbed() {
        // The other program holds only the Num Lock variant, so the adapter
        // gets some variants before it fails and must give them back.
        QVERIFY(OtherGrabs(XCB_MOD_MASK_2));
        auto adapter = CreateX11HotKeyAdapter();
        QVERIFY(adapter);
        QVERIFY(!adapter->Register(kHotKeyId, kVkF9, [] {}));

        xcb_connection_t* third = xcb_connect(nullptr, nullptr);
        auto cookie = xcb_grab_key_checked(third, 1, root_, 0, f9_, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t* error = xcb_request_check(third, cookie);
        const bool thirdGotIt = error == nullptr;
        free(error);
        Disconnect(third);
        QVERIFY(thirdGotIt);
    }

    void keysOtherThanFunctionKeysAreRefused() {
        auto adapter = CreateX11HotKeyAdapter();
        QVERIFY(adapter);
        QVERIFY(!adapter->Register(1, 0x41, [] {}));
    }

    void pressOfTheGrabbedKeyReachesTheHandlerAfterTheEvent() {
        auto adapter = CreateX11HotKeyAdapter();
        QVERIFY(adapter);
        int presses = 0;
        QVERIFY(adapter->Register(kHotKeyId, kVkF9, [&] { ++presses; }));

        xcb_key_press_event_t press{};
        press.response_type = XCB_KEY_PRESS;
        press.detail = f9_;
        press.root = root_;
        press.event = root_;
        qintptr result = 0;
        auto* dispatcher = QAbstractEventDispatcher::instance();
        QVERIFY(dispatcher->filterNativeEvent("xcb_generic_event_t", &press, &result));
        QCOMPARE(presses, 0);
        QCoreApplication::processEvents();
        QCOMPARE(presses, 1);

        press.detail = static_cast<xcb_keycode_t>(f9_ + 1);
        QVERIFY(!dispatcher->filterNativeEvent("xcb_generic_event_t", &press, &result));
        adapter->Unregister(kHotKeyId);
        press.detail = f9_;
        QVERIFY(!dispatcher->filterNativeEvent("xcb_generic_event_t", &press, &result));
        QCoreApplication::processEvents();
        QCOMPARE(presses, 1);

        // A press still waiting when the window (and its adapter) goes
        // must not reach the window's handler afterwards.
        QVERIFY(adapter->Register(kHotKeyId, kVkF9, [&] { ++presses; }));
        QVERIFY(dispatcher->filterNativeEvent("xcb_generic_event_t", &press, &result));
        adapter.reset();
        QCoreApplication::processEvents();
        QCOMPARE(presses, 1);
    }

private:
    // The server notices a closed connection only when it gets round to it,
    // possibly after the next test's grab: give the key back explicitly and
    // wait until that is done.
    void Disconnect(xcb_connection_t* connection) {
        xcb_ungrab_key(connection, f9_, root_, XCB_MOD_MASK_ANY);
        free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
        xcb_disconnect(connection);
    }

    bool OtherGrabs(uint16_t mods) {
        auto cookie = xcb_grab_key_checked(other_, 1, root_, mods, f9_, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t* error = xcb_request_check(other_, cookie);
        const bool granted = error == nullptr;
        free(error);
        return granted;
    }

    xcb_connection_t* other_ = nullptr;
    xcb_window_t root_ = 0;
    xcb_keycode_t f9_ = 0;
#endif
};

int main(int argc, char** argv) {
    const bool haveX = StartXvfb();
    if (!haveX) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int status;
    {
        QApplication app(argc, argv);
        if (!haveX) qWarning("Xvfb could not be started; the X11 cases are skipped");
        TestX11HotKey test;
        status = QTest::qExec(&test, argc, argv);
    }
    StopXvfb();
    return status;
}

#include "tst_x11hotkey.moc"
