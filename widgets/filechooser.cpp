#include "widgets/filechooser.h"

#include <QFile>
#include <QFileDialog>
#include <utility>

namespace {
FileChooser& Chooser() {
    static FileChooser chooser;
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
