#include "shell/startcontrols.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>

#include "widgets/screentext.h"

QLabel* NewPanelHeading(const char* utf8Caption, QWidget* parent) {
    auto* label = new QLabel(U(utf8Caption), parent);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    label->setFont(font);
    return label;
}

namespace {

// The platform's style masks a password with a dot of its own choosing;
// the program's password boxes show one "*" per character.
class StarPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle* PasswordStyle() {
    static QPointer<StarPasswordStyle> style;
    if (!style) {
        style = new StarPasswordStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

}  // namespace

QLineEdit* NewPasswordEdit(const char* objectName, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setStyle(PasswordStyle());
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QGridLayout* NewUserPasswordForm(QWidget* parent, QComboBox*& combo, const char* comboName, QLineEdit*& password,
                                 const char* passwordName) {
    auto* form = new QGridLayout;
    form->addWidget(new QLabel(U("用户名"), parent), 0, 0);
    combo = new QComboBox(parent);
    combo->setObjectName(comboName);
    form->addWidget(combo, 0, 1);
    form->addWidget(new QLabel(U("密　码"), parent), 1, 0);
    password = NewPasswordEdit(passwordName, parent);
    form->addWidget(password, 1, 1);
    return form;
}
