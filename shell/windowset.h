#pragma once
// Creates the program's five windows once, in their fixed order, and sets
// the global reference of each (shell/appwindows.h). The order matters: the
// start window loads the configuration before any other window exists, and
// the study window reads its settings from it.

#include <functional>
#include <string>

// gbkProgramFolder: the executable's folder, GBK, with its trailing
// separator. Every window is created hidden. An exception escaping a
// window's construction propagates; the windows made so far stay.
void CreateWindowSet(const std::string& gbkProgramFolder);

// The same in two steps, so that the start window is on the screen sooner:
// CreateStartWindow makes the start window with its start panel only.
// After it is shown, CompleteWindowSetAfterFirstPaint waits (at most a
// second) until it has been drawn, holding back every key and click
// meanwhile, then adds the start window's other panels, runs
// `beforeOthers` and creates the other windows, so that no input reaches
// the start window before the whole set exists.
void CreateStartWindow(const std::string& gbkProgramFolder);
void CompleteWindowSetAfterFirstPaint(const std::function<void()>& beforeOthers);

// Deletes the windows of the set that exist, in the reverse of their
// creation, and clears their global references: the windows made later may
// use the earlier ones until they are gone, and each window's destructor
// runs (the study window's releases the F9 key and closes the study run).
// Called once the event loop has ended.
void DeleteWindowSet();

// Brings the program's shown windows to the front, the window that has the
// keyboard (a dialog above the study window) on top and active; a study
// window hidden by F9 comes back as F9 brings it back.
void BringWindowSetForward();
