#include "platform/fontregistration.h"

#include <QFile>
#include <QFontDatabase>

namespace {

QString& RegisteredJapaneseFamily() {
    static QString family;
    return family;
}

QString FirstInstalled(std::initializer_list<const char*> families) {
    const QStringList installed = QFontDatabase::families();
    for (const char* family : families)
        if (installed.contains(QLatin1String(family), Qt::CaseInsensitive)) return QLatin1String(family);
    return {};
}

QFont WithFallback(QFont font, const QString& fallback) {
    if (fallback.isEmpty()) return font;
    QStringList families = font.families();
    if (families.isEmpty()) families << font.family();
    families.removeAll(fallback);
    families << fallback;
    font.setFamilies(families);
    return font;
}

}  // namespace

QStringList RegisterFontFile(const std::filesystem::path& fontFile) {
    const int id = QFontDatabase::addApplicationFont(QFile::decodeName(fontFile.string().c_str()));
    return id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
}

void UseJapaneseFontFile(const std::filesystem::path& fontFile, const QString& namedFace) {
    const QStringList families = RegisterFontFile(fontFile);
    if (!families.isEmpty()) RegisteredJapaneseFamily() = families.first();
    const QString japanese = JapaneseFamily();
    if (!japanese.isEmpty() && !namedFace.isEmpty()) QFont::insertSubstitution(namedFace, japanese);
}

// The installed faces are looked up once; fonts are not installed while the
// program runs.
QString JapaneseFamily() {
    if (!RegisteredJapaneseFamily().isEmpty()) return RegisteredJapaneseFamily();
    static const QString installed = FirstInstalled(
        {"IPAexGothic", "IPAGothic", "Noto Sans CJK JP", "Noto Sans JP", "TakaoGothic", "VL Gothic", "IPAexMincho"});
    return installed;
}

QString ChineseFamily() {
    static const QString installed =
        FirstInstalled({"WenQuanYi Micro Hei", "WenQuanYi Zen Hei", "Noto Sans CJK SC", "Noto Sans SC",
                        "Source Han Sans SC", "AR PL UMing CN", "AR PL UKai CN", "Droid Sans Fallback"});
    return installed;
}

QFont WithJapaneseFallback(QFont font) { return WithFallback(std::move(font), JapaneseFamily()); }

QFont WithChineseFallback(QFont font) { return WithFallback(std::move(font), ChineseFamily()); }

QFont JapaneseFirst(QFont font) {
    font = WithChineseFallback(std::move(font));
    const QString japanese = JapaneseFamily();
    if (japanese.isEmpty()) return font;
    QStringList families = font.families();
    families.removeAll(japanese);
    families.prepend(japanese);
    font.setFamilies(families);
    return font;
}
