#pragma once
// A disk that fills up, for tests: while a FileSizeLimit lives, no file of
// this process may grow beyond the given size, and a write past that point
// fails (EFBIG) as one on a full disk does, instead of ending the process
// with SIGXFSZ. Files that stay smaller are written as ever.

#include <sys/resource.h>

#include <csignal>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &before_);
        signalBefore_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = before_;
        limit.rlim_cur = bytes;
        set_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, signalBefore_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    // False when the limit could not be set (the test cannot go on).
    bool Set() const { return set_; }

private:
    rlimit before_{};
    void (*signalBefore_)(int) = nullptr;
    bool set_ = false;
};
