#include "platform/datahome.h"

#include <QFile>
#include <QStandardPaths>
#include <QtGlobal>

std::filesystem::path UserDataHome() {
#if !defined(_WIN32) && !defined(__APPLE__)
    // Without HOME, Qt falls back to the root folder.
    if (qEnvironmentVariableIsEmpty("XDG_DATA_HOME") && qEnvironmentVariableIsEmpty("HOME")) return {};
#endif
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty()) return {};
    return std::filesystem::path(QFile::encodeName(folder).toStdString());
}
