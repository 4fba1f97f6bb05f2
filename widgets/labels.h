#pragma once
// Named labels. The object name is how the windows' tests and the state
// probe find a label.

#include <Qt>

class QLabel;
class QWidget;

// A label with a caption written in the sources (UTF-8), named `objectName`
// (nullptr: left unnamed).
QLabel* NewLabel(QWidget* parent, const char* objectName, const char* utf8Caption,
                 Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
