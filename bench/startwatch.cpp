// startwatch RUNS PROGRAM [ARGS...]: starts PROGRAM RUNS times on the X
// display of $DISPLAY and prints, for each start, the milliseconds from the
// start until its first top-level window is mapped and the milliseconds its
// main thread had run on a processor by then (the rest is waiting for a
// processor on a busy machine, or for the disk or the X server), then the
// median of the first. The
// program is ended (SIGTERM) after each start. Made for a private X server
// without a window manager, where a window is mapped as soon as the program
// asks for it.

#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

double NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void EndChild(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Milliseconds the main thread of `pid` has run so far (the first field of
// /proc/PID/schedstat, in nanoseconds); negative when it cannot be read.
double RunMs(pid_t pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/schedstat", static_cast<int>(pid));
    FILE* file = std::fopen(path, "r");
    if (!file) return -1;
    unsigned long long ns = 0;
    const bool read = std::fscanf(file, "%llu", &ns) == 1;
    std::fclose(file);
    return read ? ns / 1e6 : -1;
}

struct Start {
    double ms = -1;     // until the first window was mapped; negative: none
    double runMs = -1;  // of those, on a processor
};

// The child's start until it maps a top-level window; none when it ends or
// takes longer than ten seconds.
Start TimeOneStart(Display* display, char** argv) {
    XSync(display, False);
    while (XPending(display)) {
        XEvent stale;
        XNextEvent(display, &stale);
    }
    const double start = NowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        std::perror(argv[0]);
        _exit(127);
    }
    if (pid < 0) {
        std::perror("fork");
        return {};
    }
    pollfd watch{ConnectionNumber(display), POLLIN, 0};
    while (NowMs() - start < 10000) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                const Start mapped{NowMs() - start, RunMs(pid)};
                EndChild(pid);
                return mapped;
            }
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid) return {};
        poll(&watch, 1, 5);
    }
    EndChild(pid);
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startwatch RUNS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startwatch: cannot open the display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const Start one = TimeOneStart(display, argv + 2);
        if (one.ms < 0) {
            std::fprintf(stderr, "startwatch: %s showed no window\n", argv[2]);
            return 1;
        }
        times.push_back(one.ms);
        std::printf("%.1f %.1f\n", one.ms, one.runMs);
    }
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    std::printf("median %.1f ms\n", median);
    XCloseDisplay(display);
    return 0;
}
