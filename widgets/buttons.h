#pragma once
// Named push buttons and the rows the windows line them up in. The object
// name is how the windows' tests and the state probe find a button.

#include <initializer_list>

class QHBoxLayout;
class QPushButton;
class QWidget;

// A push button with a caption written in the sources (UTF-8).
QPushButton* NewButton(const char* objectName, const char* utf8Caption, QWidget* parent);
// Buttons side by side, centred.
QHBoxLayout* NewButtonRow(std::initializer_list<QPushButton*> buttons);
// The bottom row of a page: one button at the left edge, the page's way
// out at the right.
QHBoxLayout* EdgeButtonRow(QPushButton* left, QPushButton* right);
