#include "widgets/fontregistration.h"

#include <QFile>
#include <QFontDatabase>

void RegisterFontFile(const std::filesystem::path& fontFile) {
    QFontDatabase::addApplicationFont(QFile::decodeName(fontFile.string().c_str()));
}
