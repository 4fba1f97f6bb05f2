#pragma once
// The one place where the windows are connected: each window announces
// what happened (the learner left it, asked for help on a topic, chose a
// library, changed a setting) as a signal, and what the other windows do
// about it is decided here. No window drives another window's controls.

class QWidget;
class TManage;
class TformMain;
class TformStats;

// Connects the windows of the set (shell/appwindows.h), once, after they
// have all been created, through the functions below.
void WireWindows();

// Each connects one window with the windows it works with; the tests that
// build a few windows by hand wire them through the same functions.
// The statistics page over the study window; `manage` gives its colours.
void WireStatistics(TformMain& study, TformStats& stats, const TManage& manage);

// The help guide above `asker`, open at the topic (UTF-8), while the study
// clock and the answer box wait for the learner to come back.
void ShowHelpFor(QWidget* asker, const char* utf8Topic);
