#include "shell/startcontrols.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/gbktext.h"

QLabel* NewPanelHeading(const char* utf8Caption, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(utf8Caption), parent);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    label->setFont(font);
    return label;
}

QLineEdit* NewPasswordEdit(const char* objectName, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet("lineedit-password-character: 42;");  // '*'
    return edit;
}

QPushButton* NewPanelButton(const char* objectName, const char* utf8Caption, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromUtf8(utf8Caption), parent);
    button->setObjectName(objectName);
    return button;
}

QString ScreenText(const std::string& gbk)
{
    return QString::fromStdString(Utf8(gbk));
}

std::optional<std::string> TypedGbk(const QString& text)
{
    return TryUtf8ToGbk(text.toStdString());
}
