#include "widgets/filechooser.h"

#include <QFile>
#include <QFileDialog>
#include <utility>

namespace {
FileChooser& Chooser() {
    static FileChooser chooser;
    return chooser;
}
SaveFileChooser& SaveChooser() {
    static SaveFileChooser chooser;
    return chooser;
}
}  // namespace

std::optional<std::filesystem::path> ChooseFileToOpen(QWidget* parent) {
    if (Chooser()) return Chooser()(parent);
    const QString chosen = QFileDialog::getOpenFileName(parent);
    if (chosen.isEmpty()) return std::nullopt;
    return std::filesystem::path(QFile::encodeName(chosen).toStdString());
}

FileChooser SetFileChooser(FileChooser chooser) { return std::exchange(Chooser(), std::move(chooser)); }

std::optional<std::filesystem::path> ChooseFileToSave(QWidget* parent, const std::filesystem::path& suggested) {
    if (SaveChooser()) return SaveChooser()(parent, suggested);
    const QString chosen = QFileDialog::getSaveFileName(parent, QString(), QFile::decodeName(suggested.c_str()));
    if (chosen.isEmpty()) return std::nullopt;
    return std::filesystem::path(QFile::encodeName(chosen).toStdString());
}

SaveFileChooser SetSaveFileChooser(SaveFileChooser chooser) { return std::exchange(SaveChooser(), std::move(chooser)); }
