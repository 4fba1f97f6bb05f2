#pragma once
// Opens a file with the desktop's own viewer for its type (the help file
// lexilark.chm, the import sample example.txt).

#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <optional>

enum class ShellOpenResult {
    Opened,    // handed to the desktop's viewer
    Missing,   // the file is not there
    NoViewer,  // nothing on this desktop opens files of its type
};

ShellOpenResult ShellOpen(const std::filesystem::path& file);

// A viewer the program starts itself rather than leaving the file to the
// desktop, so that its window can be asked to fill the screen: xCHM for the
// manual (its own window is small, and the manual's pages want the room).
struct ViewerCall {
    QString program;  // the full path of the viewer
    QStringList arguments;
};
// The call for `file`, when there is one on this system.
std::optional<ViewerCall> MaximisedViewerFor(const std::filesystem::path& file);

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
