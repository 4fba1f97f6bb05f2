#pragma once
// Opens a file with the desktop's own viewer for its type (the help file
// lexilark.chm, the import sample example.txt). Failures are not reported.

#include <filesystem>
#include <functional>

void ShellOpen(const std::filesystem::path& file);

// Tests replace the desktop with a recorder; returns the previous opener
// (an empty one means the desktop's).
using ShellOpener = std::function<void(const std::filesystem::path& file)>;
ShellOpener SetShellOpener(ShellOpener opener);
