#include "platform/syncrunner.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>

#include "widgets/screentext.h"

SyncRunner::SyncRunner(QObject* parent) : QObject(parent) {}

SyncRunner::~SyncRunner() { Cancel(); }

void SyncRunner::Cancel() {
    if (session_) session_->Cancel();
}

SyncOutcome SyncRunner::Run(QWidget* parent, const SyncJob& job) { return RunSession(parent, job, false); }

SyncOutcome SyncRunner::TestConnection(QWidget* parent, const SyncJob& job) { return RunSession(parent, job, true); }

SyncOutcome SyncRunner::RunSession(QWidget* parent, const SyncJob& job, bool testOnly) {
    if (busy_) {
        SyncOutcome busy;
        busy.gbkMessage = FromScreen(U("正在同步，请等这次同步结束。"));
        return busy;
    }
    busy_ = true;
    QPointer<QWidget> owner(parent);
    SyncSession session(
        job,
        [this, owner](const SyncConflict& conflict) {
            ConflictChoice choice = ConflictChoice::Undecided;
            QMetaObject::invokeMethod(
                this, [&] { choice = asker_ ? asker_(owner.data(), conflict) : ConflictChoice::Undecided; },
                Qt::BlockingQueuedConnection);
            return choice;
        },
        [this](const std::string& step) {
            // Waits until the window's thread has shown it, so the steps
            // are shown in order and never after the sync has ended.
            const QString text = Screen(step);
            QMetaObject::invokeMethod(
                this, [this, text] { emit progressed(text); }, Qt::BlockingQueuedConnection);
        });
    session_ = &session;

    QProgressDialog progress(parent);
    progress.setObjectName("SyncProgress");
    progress.setWindowTitle(U("同步"));
    progress.setLabelText(U("正在同步……"));
    progress.setCancelButtonText(U("取消"));
    progress.setRange(0, 0);
    progress.setMinimumDuration(0);
    progress.setWindowModality(Qt::WindowModal);
    connect(this, &SyncRunner::progressed, &progress, &QProgressDialog::setLabelText);
    connect(&progress, &QProgressDialog::canceled, this, &SyncRunner::Cancel);
    progress.show();

    SyncOutcome outcome;
    QEventLoop loop;
    QThread* worker = QThread::create([&] { outcome = testOnly ? session.TestConnection() : session.Run(); });
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    disconnect(this, &SyncRunner::progressed, &progress, nullptr);
    session_ = nullptr;
    busy_ = false;
    return outcome;
}
