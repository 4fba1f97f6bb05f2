#pragma once
// Named push buttons and the rows the windows line them up in. The object
// name is how the windows' tests and the state probe find a button.

#include <initializer_list>

class QHBoxLayout;
class QKeySequence;
class QPushButton;
class QWidget;

// A push button with a caption written in the sources (UTF-8).
QPushButton* NewButton(const char* objectName, const char* utf8Caption, QWidget* parent);
// Buttons side by side, centred.
QHBoxLayout* NewButtonRow(std::initializer_list<QPushButton*> buttons);
// The bottom row of a page: one button at the left edge, the page's way
// out at the right.
QHBoxLayout* EdgeButtonRow(QPushButton* left, QPushButton* right);
// `key` presses `button` while its window is active and the button can be
// pressed; the button's tooltip names it. Unlike the button's own shortcut,
// it stays when the caption changes.
void GiveKey(QPushButton* button, const QKeySequence& key);
// Esc leaves `window` the way its page's own way out does: it clicks the
// first of `wayOut` that is on screen and enabled.
void LeaveOnEscape(QWidget* window, std::initializer_list<QPushButton*> wayOut);
