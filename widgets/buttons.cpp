#include "widgets/buttons.h"

#include <QHBoxLayout>
#include <QPushButton>

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
