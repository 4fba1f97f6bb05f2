#pragma once
// A second start of the program on a program folder that is in use calls
// the program already running there, which then comes to the front: the
// learner who started it again wants to see it. The call goes through a
// local socket named after the program folder, open to this user only.

#include <QObject>
#include <string>

class QLocalServer;

// Held by the running program, which holds the folder's lock: `called`
// is announced each time another start on the same folder calls it.
class ProgramCallListener : public QObject {
    Q_OBJECT
public:
    explicit ProgramCallListener(const std::string& gbkProgramFolder, QObject* parent = nullptr);
    // False where the socket could not be opened; the program runs on
    // without being found by a second start.
    bool IsListening() const;

signals:
    void called();

private:
    QLocalServer* server_ = nullptr;
};

// Calls the program listening on the folder; true when it took the call.
// Waits at most a few seconds for a program that does not answer.
bool CallRunningProgram(const std::string& gbkProgramFolder);
