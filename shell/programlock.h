#pragma once
// One program per program folder: two programs on one folder would
// overwrite each other's progress and configuration. The lock is a file in
// the program folder holding the owner's process id; a lock left by a
// program that was killed is taken over, since its process no longer runs.

#include <QLockFile>
#include <memory>
#include <string>

class ProgramFolderLock {
public:
    // Locks gbkProgramFolder (GBK, trailing separator) + "lexilark.lock".
    explicit ProgramFolderLock(const std::string& gbkProgramFolder);
    ProgramFolderLock(const ProgramFolderLock&) = delete;
    ProgramFolderLock& operator=(const ProgramFolderLock&) = delete;

    // False after the message saying that the program already runs on this
    // folder; the running program is first called to the front. A folder where no lock file can be made (read-only)
    // does not keep the program from starting.
    bool Take();
    bool IsHeld() const { return lock_->isLocked(); }

private:
    std::string gbkProgramFolder_;
    std::unique_ptr<QLockFile> lock_;
};
