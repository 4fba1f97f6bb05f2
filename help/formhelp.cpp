#include "help/formhelp.h"

TformHelp::TformHelp(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("formHelp");
}
