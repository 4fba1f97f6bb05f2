#include "platform/shellopen.h"

#include <QDesktopServices>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <string>

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

ShellOpenResult DesktopOpen(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return ShellOpenResult::Missing;
    const QString name = QFile::decodeName(file.string().c_str());
    if (!DesktopHasViewerFor(name)) return ShellOpenResult::NoViewer;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(name)) ? ShellOpenResult::Opened : ShellOpenResult::NoViewer;
}

}  // namespace

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
