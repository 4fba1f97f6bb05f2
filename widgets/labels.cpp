#include "widgets/labels.h"

#include <QLabel>

#include "widgets/screentext.h"

QLabel* NewLabel(QWidget* parent, const char* objectName, const char* utf8Caption, Qt::Alignment align) {
    auto* label = new QLabel(U(utf8Caption), parent);
    if (objectName) label->setObjectName(QString::fromLatin1(objectName));
    label->setAlignment(align);
    return label;
}
