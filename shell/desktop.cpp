#include "shell/desktop.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "core/gbktext.h"
#include "platform/fontregistration.h"

bool LoadChineseTranslations() {
    static QTranslator* installed = nullptr;
    if (installed) return true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

void UseProgramJapaneseFont(const std::string& gbkProgramFolder) {
    UseJapaneseFontFile(ToNativePath(gbkProgramFolder + "tonefont.ttf"), QString::fromLatin1(kPhoneticFace));
}

void PrepareDesktop(const std::string& gbkProgramFolder) {
    LoadChineseTranslations();
    UseProgramJapaneseFont(gbkProgramFolder);
}
