#pragma once
// The one place where the windows are connected: each window announces
// what happened (the learner left it, asked for help on a topic, chose a
// library, changed a setting) as a signal, and what the other windows do
// about it is decided here. No window drives another window's controls.

class QWidget;

// Connects the windows of the set (shell/appwindows.h), once, after they
// have all been created.
void WireWindows();

// The help guide above `asker`, open at the topic (UTF-8), while the study
// clock and the answer box wait for the learner to come back.
void ShowHelpFor(QWidget* asker, const char* utf8Topic);
