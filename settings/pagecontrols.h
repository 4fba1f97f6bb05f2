#pragma once
// Small helpers the settings window's pages share: program texts to the
// screen and named buttons.

#include <QHBoxLayout>
#include <QPushButton>
#include <QString>
#include <string>

#include "core/gbktext.h"

namespace settingspage {

inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

inline QString Screen(const std::string& gbk) { return QString::fromStdString(Utf8(gbk)); }

inline QPushButton* Button(const char* name, const char* captionUtf8, QWidget* parent) {
    auto* button = new QPushButton(U(captionUtf8), parent);
    button->setObjectName(name);
    return button;
}

// The bottom row of a page: one button at the left edge, the page's way
// out at the right.
inline QHBoxLayout* EdgeButtonRow(QPushButton* left, QPushButton* right) {
    auto* row = new QHBoxLayout;
    row->addWidget(left);
    row->addStretch(1);
    row->addWidget(right);
    return row;
}

}  // namespace settingspage
