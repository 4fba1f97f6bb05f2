#pragma once
// The one place where the windows are connected: each window announces
// what happened (the learner left it, asked for help on a topic, chose a
// library, changed a setting) as a signal, and what the other windows do
// about it is decided here. No window drives another window's controls.

#include <vector>

class QWidget;
class TManage;
class TformHelp;
class TSelectWordLib;
class TformMain;
class TformMakeWordLib;
class TformStart;
class TformStats;

// Connects the windows of the set (shell/appwindows.h), once, after they
// have all been created, through the functions below.
void WireWindows();

// Each connects one window with the windows it works with; the tests that
// build a few windows by hand wire them through the same functions.
// The start window and the study window: the login window's heading on the
// study window, F9 only while the login window is away, and "返  回" back
// to the start page and on to a sync of what was studied.
void WireStart(TformStart& start, TformMain& study);
// The statistics page over the study window; `manage` gives its colours.
void WireStatistics(TformMain& study, TformStats& stats, const TManage& manage);
// The help guide beside the study window, which it holds while the
// demonstration is on show and gives back when it is left. `dialogs` are
// the windows (the selection dialog, the settings window) that hold the
// study window themselves while they are open and give it back when they
// are left: the guide then leaves it to them. Their "帮助向导" opens the
// guide above them at a topic of their own, while the study clock and the
// answer box wait.
void WireHelp(TformMain& study, TformHelp& help, const std::vector<QWidget*>& dialogs);
// The settings and maintenance window beside the study window: "参数设置",
// "收藏管理" and "软件报错" open its pages, what is changed there is drawn
// in the study window. Once connected, the window takes the settings from
// the store (FormCreate).
void WireSettings(TformMain& study, TformMakeWordLib& settings);
// What the settings window needs of the start window: the program folder,
// the way back from the import page, and after a sync that replaced the
// learner's files, the last library opened again in `study` and the
// favourites made ready again.
void WireSettingsToStart(TformStart& start, TformMakeWordLib& settings, TformMain& study);

// The library selection and grouping dialog over the study window, for the
// learner `start` logged in.
void WireSelection(TformMain& study, TSelectWordLib& select, TformStart& start);
