#pragma once
// Runs a sync (or a connection test) on a worker thread while the window's
// thread goes on: a progress window with a cancel button stays up, and the
// conflict question is asked on the window's thread. The call returns when
// the sync has ended, the event loop running meanwhile.

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "platform/syncsession.h"

class QProgressDialog;
class QWidget;

class SyncRunner : public QObject {
    Q_OBJECT
public:
    // Asked on the window's thread.
    using ConflictAsker = std::function<ConflictChoice(QWidget* parent, const SyncConflict&)>;

    explicit SyncRunner(QObject* parent = nullptr);
    ~SyncRunner() override;

    void SetConflictAsker(ConflictAsker asker) { asker_ = std::move(asker); }

    // Syncs, with the progress window (object name "SyncProgress") over
    // `parent`.
    SyncOutcome Run(QWidget* parent, const SyncJob& job);
    SyncOutcome TestConnection(QWidget* parent, const SyncJob& job);
    bool Busy() const { return busy_; }
    // Ends the sync under way (the progress window's cancel button).
    void Cancel();

signals:
    void progressed(const QString& step);

private:
    SyncOutcome RunSession(QWidget* parent, const SyncJob& job, bool testOnly);

    ConflictAsker asker_;
    SyncSession* session_ = nullptr;
    bool busy_ = false;
};
