#pragma once
// Text between the program and the screen. The program's own captions are
// written in UTF-8 in the sources; the learner's files, user table and word
// libraries hold GBK. These turn either into what a control shows, and what
// the learner typed back into GBK.

#include <QString>
#include <optional>
#include <string>

// A caption written in the sources (UTF-8).
QString U(const char* utf8);
// GBK text as the screen shows it.
QString Screen(const std::string& gbk);
// GBK text whose lines end in CR LF, with the plain line breaks a text box
// or message box wants.
QString ScreenLines(const std::string& gbk);
// What a control holds, as GBK; a character without a GBK form becomes "?".
std::string FromScreen(const QString& text);
// What the learner typed, as GBK; nothing when a character has no GBK form.
std::optional<std::string> TypedGbk(const QString& text);
