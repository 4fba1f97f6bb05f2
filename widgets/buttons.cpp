#include "widgets/buttons.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <vector>

#include "widgets/screentext.h"

QPushButton* NewButton(const char* objectName, const char* utf8Caption, QWidget* parent) {
    auto* button = new QPushButton(U(utf8Caption), parent);
    button->setObjectName(objectName);
    return button;
}

QHBoxLayout* NewButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons) row->addWidget(button);
    row->addStretch(1);
    return row;
}

QHBoxLayout* EdgeButtonRow(QPushButton* left, QPushButton* right) {
    auto* row = new QHBoxLayout;
    row->addWidget(left);
    row->addStretch(1);
    row->addWidget(right);
    return row;
}

void GiveKey(QPushButton* button, const QKeySequence& key) {
    auto* shortcut = new QShortcut(key, button);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isVisible() && button->isEnabled()) button->click();
    });
    button->setToolTip(QStringLiteral("%1（%2）")
                           .arg(button->text().remove(QLatin1Char(' ')), key.toString(QKeySequence::NativeText)));
}

void LeaveOnEscape(QWidget* window, std::initializer_list<QPushButton*> wayOut) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setContext(Qt::WindowShortcut);
    const std::vector<QPointer<QPushButton>> buttons(wayOut.begin(), wayOut.end());
    QObject::connect(escape, &QShortcut::activated, window, [window, buttons] {
        for (const QPointer<QPushButton>& button : buttons)
            if (button && button->isVisibleTo(window) && button->isEnabled()) {
                button->click();
                return;
            }
    });
}
