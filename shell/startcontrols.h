#pragma once
// Small pieces the start window's login and management panels share: the
// panel heading, masked password boxes, named buttons and the GBK texts of
// the user table on screen.

#include <QString>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

QLabel* NewPanelHeading(const char* utf8Caption, QWidget* parent);
// A password box that shows "*" for every character typed.
QLineEdit* NewPasswordEdit(const char* objectName, QWidget* parent);
QPushButton* NewPanelButton(const char* objectName, const char* utf8Caption, QWidget* parent);

QString ScreenText(const std::string& gbk);
// What the learner typed, as the GBK text the user table holds; nothing
// when a character has no GBK form.
std::optional<std::string> TypedGbk(const QString& text);
