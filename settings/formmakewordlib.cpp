#include "settings/formmakewordlib.h"

TformMakeWordLib::TformMakeWordLib(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("formMakeWordLib");
}
