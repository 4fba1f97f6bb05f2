#pragma once
// Small pieces the start window's login and management panels share: the
// panel heading, masked password boxes, named buttons and the GBK texts of
// the user table on screen.

#include <QString>
#include <initializer_list>
#include <optional>
#include <string>

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

QLabel* NewPanelHeading(const char* utf8Caption, QWidget* parent);
// A password box that shows "*" for every character typed.
QLineEdit* NewPasswordEdit(const char* objectName, QWidget* parent);
QPushButton* NewPanelButton(const char* objectName, const char* utf8Caption, QWidget* parent);
// The "用户名" drop-down and the masked "密　码" box a login asks with.
QGridLayout* NewUserPasswordForm(QWidget* parent, QComboBox*& combo, const char* comboName, QLineEdit*& password,
                                 const char* passwordName);
// Buttons side by side, centred.
QHBoxLayout* NewButtonRow(std::initializer_list<QPushButton*> buttons);

QString ScreenText(const std::string& gbk);
// What the learner typed, as the GBK text the user table holds; nothing
// when a character has no GBK form.
std::optional<std::string> TypedGbk(const QString& text);
