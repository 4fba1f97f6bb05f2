#pragma once
// Opens a file with the desktop's own viewer for its type (the help file
// lexilark.chm, the import sample example.txt).

#include <filesystem>
#include <functional>

enum class ShellOpenResult {
    Opened,    // handed to the desktop's viewer
    Missing,   // the file is not there
    NoViewer,  // nothing on this desktop opens files of its type
};

ShellOpenResult ShellOpen(const std::filesystem::path& file);

// Opens the file; when it cannot be shown, tells the learner why in a
// message (`utf8Viewer` names the kind of program that shows such files,
// for the learner to install).
ShellOpenResult ShellOpenOrTell(const std::filesystem::path& file, const char* utf8Viewer);
// As above, but where the desktop has no viewer for the file
// `showInstead` shows it (the program's own viewer) in place of the message.
ShellOpenResult ShellOpenOrTell(const std::filesystem::path& file, const char* utf8Viewer,
                                const std::function<void()>& showInstead);

// Tests replace the desktop with a recorder that answers for it; returns
// the previous opener (an empty one means the desktop's).
using ShellOpener = std::function<ShellOpenResult(const std::filesystem::path& file)>;
ShellOpener SetShellOpener(ShellOpener opener);
