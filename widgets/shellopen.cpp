#include "widgets/shellopen.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace {

ShellOpener& Opener() {
    static ShellOpener opener;
    return opener;
}

}  // namespace

void ShellOpen(const std::filesystem::path& file) {
    if (Opener()) {
        Opener()(file);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(file.string().c_str())));
}

ShellOpener SetShellOpener(ShellOpener opener) {
    ShellOpener previous = std::move(Opener());
    Opener() = std::move(opener);
    return previous;
}
