#pragma once
// A learner's sync as the windows use it: their settings from "sync.ini"
// in their user folder, their password from the key store, one sync at a
// time with the progress window and the conflict question, and the result
// written back as the last sync's time and outcome.

#include <QString>
#include <string>

#include "core/syncsettings.h"
#include "platform/syncsession.h"

class QWidget;
class SyncRunner;

SyncSettings LoadSyncSettings(const std::string& gbkProgramFolder, int slot);
// False after a message when the file cannot be written.
bool SaveSyncSettings(const std::string& gbkProgramFolder, int slot, const SyncSettings& settings);

// What names the password in the key store: account and server address.
QString SyncPasswordKey(const SyncSettings& settings);

// This computer's name as the conflict question shows it.
std::string ThisComputerName();

// The program's one runner (one sync at a time).
SyncRunner& LearnerSyncRunner();

enum class SyncMoment {
    Login,     // before the study window opens
    Return,    // after "返  回" saved
    Exit,      // on leaving the program, after the save
    Now,       // "立即同步"
    TestOnly,  // "测试连接": nothing is synced
};

// Syncs slot `slot` (named `gbkLearnerName`) when its sync is on (always
// for Now and TestOnly), with the progress window over `parent`. The
// outcome is kept in sync.ini and a failure is shown (a success only for
// Now and TestOnly); a cancel is not reported. `password` overrides the
// stored one (the page passes what was typed). Returns the outcome; not ok
// and empty message when the sync is off.
SyncOutcome SyncLearner(QWidget* parent, const std::string& gbkProgramFolder, int slot,
                        const std::string& gbkLearnerName, SyncMoment moment, const QString* password = nullptr);
