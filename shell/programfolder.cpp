#include "shell/programfolder.h"

#include <QCoreApplication>
#include <QFile>
#include <filesystem>

#include "core/appmessage.h"
#include "core/datafolder.h"
#include "core/gbktext.h"
#include "platform/datahome.h"

namespace fs = std::filesystem;

namespace {

fs::path NativePath(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

}  // namespace

std::string ExecutableFolder() { return FromNativePath(NativePath(QCoreApplication::applicationDirPath())) + "/"; }

ProgramFolders FindProgramFolder() {
    const ProgramFolderChoice choice =
        ChooseProgramFolder(NativePath(QCoreApplication::applicationDirPath()), UserDataHome());
    ProgramFolders folders;
    folders.installed = choice.installed;
    if (!choice.programFolder.empty()) folders.program = FromNativePath(choice.programFolder) + "/";
    folders.shipped = FromNativePath(choice.shippedFolder) + "/";
    return folders;
}

bool MakeProgramFolder(const ProgramFolders& folders) {
    if (!folders.installed) return true;
    if (folders.program.empty()) {
        ShowAppMessageUtf8(
            "找不到保存学习进度的文件夹：系统没有为当前用户设置主文件夹（HOME）。\r\n\r\n"
            "澜悦单词现在退出。");
        return false;
    }
    const std::string failure = CreateDataFolder(ToNativePath(folders.program));
    if (failure.empty()) return true;
    ShowAppMessage(failure);
    return false;
}

bool LayOutProgramFolder(const ProgramFolders& folders) {
    if (!folders.installed) return true;
    const DataFolderLayout layout = LayOutDataFolder(ToNativePath(folders.shipped), ToNativePath(folders.program));
    if (!layout.fatal.empty()) {
        ShowAppMessage(layout.fatal);
        return false;
    }
    for (const SaveResult& kept : layout.notUpdated)
        ShowAppMessage(kept.Message() + Gbk("\r\n\r\n新版本的这个文件没有放进来，澜悦单词继续使用原来的文件。"));
    return true;
}
