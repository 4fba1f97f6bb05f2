#include "shell/programfolder.h"

#include <QCoreApplication>
#include <QFile>
#include <filesystem>

#include "core/gbktext.h"

std::string ExecutableFolder() {
    const QByteArray native = QFile::encodeName(QCoreApplication::applicationDirPath());
    return FromNativePath(std::filesystem::path(native.toStdString())) + "/";
}
