#include "platform/endrequests.h"

#include <QSocketNotifier>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int pairEnds[2] = {-1, -1};  // [0] written by the handler, [1] read by the loop

void OnSignal(int signalNumber) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // A full socket already holds a request the loop has yet to read.
    [[maybe_unused]] const ssize_t written = ::write(pairEnds[0], &byte, 1);
    errno = saved;
}

}  // namespace

EndRequests::EndRequests(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pairEnds) != 0) return;
    for (int end : pairEnds) {
        ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
    }
    notifier_ = new QSocketNotifier(pairEnds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { ReadPending(); });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals) ::sigaction(s, &action, nullptr);
}

EndRequests::~EndRequests() {
    if (!notifier_) return;
    for (int s : kSignals) ::signal(s, SIG_DFL);
    delete notifier_;
    for (int& end : pairEnds) {
        ::close(end);
        end = -1;
    }
}

void EndRequests::ReadPending() {
    unsigned char bytes[16];
    const ssize_t n = ::read(pairEnds[1], bytes, sizeof bytes);
    // Several requests in a row are one request to end.
    if (n > 0) emit received(bytes[n - 1]);
}

#else

EndRequests::EndRequests(QObject* parent) : QObject(parent) {}
EndRequests::~EndRequests() = default;
void EndRequests::ReadPending() {}

#endif
