#include "widgets/filechooser.h"

#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <utility>

#include "widgets/eventhook.h"
#include "widgets/screentext.h"

namespace {
FileChooser& Chooser() {
    static FileChooser chooser;
    return chooser;
}
SaveFileChooser& SaveChooser() {
    static SaveFileChooser chooser;
    return chooser;
}

// Qt's Chinese translation leaves the type of a folder or drive in
// English; files are typed by the desktop's own (translated) names.
class ChineseTypes : public QFileIconProvider {
public:
    QString type(const QFileInfo& info) const override {
        if (info.isRoot()) return U("驱动器");
        if (info.isDir()) return U("文件夹");
        return QFileIconProvider::type(info);
    }
};

// Every column of the detail view as wide as its caption and the entries
// in sight need; the name takes the room left, never less than its caption.
void FitColumns(QTreeView* view) {
    QHeaderView* header = view->header();
    if (header->count() == 0) return;
    int others = 0;
    for (int column = 1; column < header->count(); ++column) {
        if (header->isSectionHidden(column)) continue;
        const int width =
            std::max(header->sectionSizeHint(column), static_cast<QAbstractItemView*>(view)->sizeHintForColumn(column));
        header->resizeSection(column, width);
        others += width;
    }
    header->resizeSection(0, std::max(header->sectionSizeHint(0), view->viewport()->width() - others));
}

void Prepare(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setViewMode(QFileDialog::Detail);
    auto* types = new ChineseTypes;
    dialog.setIconProvider(types);
    // The dialog does not own its icon provider.
    QObject::connect(&dialog, &QObject::destroyed, [types] { delete types; });
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view) return;
    view->header()->setStretchLastSection(false);
    auto fit = [view] { FitColumns(view); };
    if (auto* model = dialog.findChild<QFileSystemModel*>())
        QObject::connect(model, &QFileSystemModel::directoryLoaded, view, [view] {
            // The rows of a folder just read are laid out after this signal.
            QTimer::singleShot(0, view, [view] { FitColumns(view); });
        });
    EventHook::Install(view->viewport(), QEvent::Resize, fit);
    EventHook::Install(&dialog, QEvent::Show, [view] { QTimer::singleShot(0, view, [view] { FitColumns(view); }); });
}

std::optional<std::filesystem::path> Run(QFileDialog& dialog) {
    Prepare(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QString chosen = dialog.selectedFiles().value(0);
    if (chosen.isEmpty()) return std::nullopt;
    return std::filesystem::path(QFile::encodeName(chosen).toStdString());
}
}  // namespace

std::optional<std::filesystem::path> ChooseFileToOpen(QWidget* parent) {
    if (Chooser()) return Chooser()(parent);
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return Run(dialog);
}

FileChooser SetFileChooser(FileChooser chooser) { return std::exchange(Chooser(), std::move(chooser)); }

std::optional<std::filesystem::path> ChooseFileToSave(QWidget* parent, const std::filesystem::path& suggested) {
    if (SaveChooser()) return SaveChooser()(parent, suggested);
    QFileDialog dialog(parent, QString(), QFile::decodeName(suggested.c_str()));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    return Run(dialog);
}

SaveFileChooser SetSaveFileChooser(SaveFileChooser chooser) { return std::exchange(SaveChooser(), std::move(chooser)); }
