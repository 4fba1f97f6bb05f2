#include "shell/programlock.h"

#include <QByteArray>
#include <QFile>
#include <filesystem>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "platform/programcall.h"

ProgramFolderLock::ProgramFolderLock(const std::string& gbkProgramFolder) : gbkProgramFolder_(gbkProgramFolder) {
    const std::filesystem::path file = ToNativePath(gbkProgramFolder + "lexilark.lock");
    lock_ = std::make_unique<QLockFile>(QFile::decodeName(QByteArray::fromStdString(file.string())));
    // Only a lock whose process has ended is stale, however long the
    // program that holds it has been running.
    lock_->setStaleLockTime(0);
}

bool ProgramFolderLock::Take() {
    if (lock_->tryLock(0)) return true;
    if (lock_->error() != QLockFile::LockFailedError) return true;
    // The message then stands above the window it tells the learner to use.
    CallRunningProgram(gbkProgramFolder_);
    ShowAppMessageUtf8(
        "澜悦单词已经在运行！\r\n\r\n同一个程序文件夹中只能运行一个澜悦单词，请使用已经打开的澜悦单词。");
    return false;
}
