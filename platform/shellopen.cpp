#include "platform/shellopen.h"

#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#if defined(LEXILARK_HAVE_XCB)
#include <xcb/xcb.h>
#endif

#include "core/appmessage.h"

namespace {

ShellOpener& Opener() {
    static ShellOpener opener;
    return opener;
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
// The free desktops open a file with the application registered for its
// type; xdg-open (which Qt runs) starts it in the background and reports
// nothing, so the registration is asked for first.
bool DesktopHasViewerFor(const QString& file) {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty()) return false;  // xdg-open, from the same tools, is missing too
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    QStringList types{type.name()};
    types += type.aliases();
    for (const QString& name : types) {
        QProcess query;
        query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), name});
        // A query that does not answer says nothing either way: try to open.
        if (!query.waitForFinished(5000)) return true;
        if (!query.readAllStandardOutput().trimmed().isEmpty()) return true;
    }
    return false;
}
#else
bool DesktopHasViewerFor(const QString&) { return true; }
#endif

#if defined(LEXILARK_HAVE_XCB)
xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// The values of a 32-bit property of `window`.
std::vector<uint32_t> Property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                               xcb_atom_t type) {
    const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, window, property, type, 0, 4096);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    std::vector<uint32_t> values;
    if (reply && reply->format == 32) {
        const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        values.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
}

// Asks the window manager (through its _NET_WM_STATE message) to maximise
// the windows of process `pid` as soon as it manages them; gives up after
// ten seconds. Without a window manager that lists its windows nothing
// happens and the viewer keeps its own size.
void MaximiseWhenShown(qint64 pid) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || pid <= 0) return;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t clients = Atom(connection, "_NET_CLIENT_LIST");
    const xcb_atom_t pidAtom = Atom(connection, "_NET_WM_PID");
    const xcb_atom_t state = Atom(connection, "_NET_WM_STATE");
    const xcb_atom_t vertical = Atom(connection, "_NET_WM_STATE_MAXIMIZED_VERT");
    const xcb_atom_t horizontal = Atom(connection, "_NET_WM_STATE_MAXIMIZED_HORZ");
    auto* timer = new QTimer(qGuiApp);
    timer->setInterval(200);
    auto triesLeft = std::make_shared<int>(50);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        bool found = false;
        for (const uint32_t window : Property(connection, root, clients, XCB_ATOM_WINDOW)) {
            const std::vector<uint32_t> owner = Property(connection, window, pidAtom, XCB_ATOM_CARDINAL);
            if (owner.empty() || owner.front() != static_cast<uint32_t>(pid)) continue;
            xcb_client_message_event_t message{};
            message.response_type = XCB_CLIENT_MESSAGE;
            message.format = 32;
            message.window = window;
            message.type = state;
            message.data.data32[0] = 1;  // add
            message.data.data32[1] = vertical;
            message.data.data32[2] = horizontal;
            message.data.data32[3] = 1;  // asked for by an application
            xcb_send_event(connection, 0, root,
                           XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                           reinterpret_cast<const char*>(&message));
            found = true;
        }
        xcb_flush(connection);
        if (found || --*triesLeft <= 0) timer->deleteLater();
    });
    timer->start();
}
#else
void MaximiseWhenShown(qint64) {}
#endif

ShellOpenResult DesktopOpen(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return ShellOpenResult::Missing;
    if (const std::optional<ViewerCall> call = MaximisedViewerFor(file)) {
        qint64 pid = 0;
        if (QProcess::startDetached(call->program, call->arguments, QString(), &pid)) {
            MaximiseWhenShown(pid);
            return ShellOpenResult::Opened;
        }
    }
    const QString name = QFile::decodeName(file.string().c_str());
    if (!DesktopHasViewerFor(name)) return ShellOpenResult::NoViewer;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(name)) ? ShellOpenResult::Opened : ShellOpenResult::NoViewer;
}

}  // namespace

std::optional<ViewerCall> MaximisedViewerFor(const std::filesystem::path& file) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString name = QFile::decodeName(file.filename().string().c_str());
    if (!name.endsWith(QStringLiteral(".chm"), Qt::CaseInsensitive)) return std::nullopt;
    const QString xchm = QStandardPaths::findExecutable(QStringLiteral("xchm"));
    if (xchm.isEmpty()) return std::nullopt;
    std::error_code ec;
    const std::filesystem::path whole = std::filesystem::absolute(file, ec);
    return ViewerCall{xchm, {QFile::decodeName((ec ? file : whole).string().c_str())}};
#else
    (void)file;
    return std::nullopt;
#endif
}

ShellOpenResult ShellOpen(const std::filesystem::path& file) { return Opener() ? Opener()(file) : DesktopOpen(file); }

ShellOpenResult ShellOpenOrTell(const std::filesystem::path& file, const char* utf8Viewer) {
    return ShellOpenOrTell(file, utf8Viewer, {});
}

ShellOpenResult ShellOpenOrTell(const std::filesystem::path& file, const char* utf8Viewer,
                                const std::function<void()>& showInstead) {
    const ShellOpenResult result = ShellOpen(file);
    const std::string name = QFile::decodeName(file.filename().string().c_str()).toStdString();
    switch (result) {
        case ShellOpenResult::Opened:
            break;
        case ShellOpenResult::Missing:
            ShowAppMessageUtf8("找不到文件“" + name + "”，请重新安装本软件。");
            break;
        case ShellOpenResult::NoViewer:
            if (showInstead) {
                showInstead();
                break;
            }
            ShowAppMessageUtf8("系统中没有能打开“" + name + "”的程序。\r\n请先安装" + std::string(utf8Viewer) +
                               "，再试一次。");
            break;
    }
    return result;
}

ShellOpener SetShellOpener(ShellOpener opener) {
    ShellOpener previous = std::move(Opener());
    Opener() = std::move(opener);
    return previous;
}
