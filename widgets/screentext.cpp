#include "widgets/screentext.h"

#include "core/gbktext.h"

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

QString Screen(const std::string& gbk) { return QString::fromStdString(Utf8(gbk)); }

QString ScreenLines(const std::string& gbk) {
    QString text = Screen(gbk);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string FromScreen(const QString& text) { return Gbk(text.toStdString()); }

std::optional<std::string> TypedGbk(const QString& text) { return TryUtf8ToGbk(text.toStdString()); }
