#pragma once
// The requests to end the program that come from outside its windows: the
// signals a logout, a shutdown or a terminal send (SIGTERM, SIGINT,
// SIGHUP). A signal handler may do next to nothing, so the handler only
// writes the signal's number into a socket pair; the event loop reads it
// there and announces it as `received`, where the windows may save.
// Where the platform has no such signals nothing is announced.

#include <QObject>

class QSocketNotifier;

class EndRequests : public QObject {
    Q_OBJECT
public:
    // One object a process: it takes over the handlers of the three signals
    // until it is destroyed.
    explicit EndRequests(QObject* parent = nullptr);
    ~EndRequests() override;

signals:
    void received(int signalNumber);

private:
    void ReadPending();
    QSocketNotifier* notifier_ = nullptr;
};
