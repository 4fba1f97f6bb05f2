#pragma once
// The question a sync asks when a library was studied on this computer and
// on another since the last sync: both versions side by side (words
// studied, words per grade, last change, which computer), and which one to
// keep. The other one goes to the progress backups.

#include <QDialog>

#include "platform/syncsession.h"

class QPushButton;

class SyncConflictDialog : public QDialog {
    Q_OBJECT
public:
    SyncConflictDialog(const SyncConflict& conflict, QWidget* parent = nullptr);

    ConflictChoice Choice() const { return choice_; }

    QPushButton* ButtonKeepLocal = nullptr;   // "保留本机的版本"
    QPushButton* ButtonKeepRemote = nullptr;  // "保留服务器上的版本"
    QPushButton* ButtonStopSync = nullptr;    // "停止同步"

private:
    ConflictChoice choice_ = ConflictChoice::Undecided;
};

// Shows the dialog modally and returns the choice (Undecided: stop).
ConflictChoice AskSyncConflict(QWidget* parent, const SyncConflict& conflict);
