#include "shell/startcontrols.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
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

QGridLayout* NewUserPasswordForm(QWidget* parent, QComboBox*& combo, const char* comboName, QLineEdit*& password,
                                 const char* passwordName)
{
    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QString::fromUtf8("用户名"), parent), 0, 0);
    combo = new QComboBox(parent);
    combo->setObjectName(comboName);
    form->addWidget(combo, 0, 1);
    form->addWidget(new QLabel(QString::fromUtf8("密　码"), parent), 1, 0);
    password = NewPasswordEdit(passwordName, parent);
    form->addWidget(password, 1, 1);
    return form;
}

QHBoxLayout* NewButtonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons) row->addWidget(button);
    row->addStretch(1);
    return row;
}

QString ScreenText(const std::string& gbk)
{
    return QString::fromStdString(Utf8(gbk));
}

std::optional<std::string> TypedGbk(const QString& text)
{
    return TryUtf8ToGbk(text.toStdString());
}
