#pragma once
// The modal chooser of a file to open, without a file-type filter. Nothing
// comes back when the learner cancels. Both choosers are Qt's own dialog on
// every system, in its detail view, with columns as wide as their captions
// and entries need and folders typed in Chinese.

#include <filesystem>
#include <functional>
#include <optional>

class QWidget;

std::optional<std::filesystem::path> ChooseFileToOpen(QWidget* parent);

// The modal chooser of a file to write, starting at `suggested`.
std::optional<std::filesystem::path> ChooseFileToSave(QWidget* parent, const std::filesystem::path& suggested);

// Tests replace the chooser with a script; returns the previous chooser (an
// empty one means the platform's dialog).
using FileChooser = std::function<std::optional<std::filesystem::path>(QWidget* parent)>;
FileChooser SetFileChooser(FileChooser chooser);
using SaveFileChooser =
    std::function<std::optional<std::filesystem::path>(QWidget* parent, const std::filesystem::path& suggested)>;
SaveFileChooser SetSaveFileChooser(SaveFileChooser chooser);
