#pragma once
// Small pieces the start window's login and management panels share: the
// panel heading and masked password boxes. Buttons come from
// widgets/buttons.h, screen text from widgets/screentext.h.

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

QLabel* NewPanelHeading(const char* utf8Caption, QWidget* parent);
// A password box that shows "*" for every character typed.
QLineEdit* NewPasswordEdit(const char* objectName, QWidget* parent);
// The "用户名" drop-down and the masked "密　码" box a login asks with.
QGridLayout* NewUserPasswordForm(QWidget* parent, QComboBox*& combo, const char* comboName, QLineEdit*& password,
                                 const char* passwordName);
