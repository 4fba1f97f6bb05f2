#include "select/selectwordlib.h"

TSelectWordLib::TSelectWordLib(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("SelectWordLib");
}
