// The choice page: the libraries of the library folder, the header of the
// highlighted one, opening it (the user's own copy is made and shuffled on
// first use) and wiping the user's progress in it.

#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>
#include <algorithm>
#include <system_error>
#include <vector>

#include "core/appmessage.h"
#include "core/backups.h"
#include "core/favourites.h"
#include "core/gbktext.h"
#include "core/manage.h"
#include "core/safewrite.h"
#include "core/shippedlibraries.h"
#include "core/systemerror.h"
#include "select/selectwordlib.h"
#include "session/studysession.h"
#include "widgets/screentext.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kLibraryExtension = ".lx";
constexpr size_t kExtensionLength = 3;
constexpr const char* kChooseOne = "请选择一个词库";

std::string WithoutExtension(const std::string& file) {
    return file.size() >= kExtensionLength ? file.substr(0, file.size() - kExtensionLength) : std::string();
}

bool HasLibraryExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext == kLibraryExtension;
}

}  // namespace

std::string TSelectWordLib::UserFolder() const { return learner_.userFolder ? learner_.userFolder() : std::string(); }

std::string TSelectWordLib::HighlightedFile() const {
    const QList<QListWidgetItem*> selected = FileListBox->selectedItems();
    if (selected.isEmpty()) return {};
    return selected.first()->data(Qt::UserRole).toByteArray().toStdString();
}

void TSelectWordLib::RefreshFileList() {
    std::vector<std::pair<QString, std::string>> files;  // shown name, GBK name
    std::error_code error;
    for (fs::directory_iterator it(libraryFolder_, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || !HasLibraryExtension(it->path())) continue;
        const std::string gbk = FromNativePath(it->path().filename());
        files.emplace_back(Screen(gbk), gbk);
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

    const QSignalBlocker quiet(FileListBox);
    FileListBox->clear();
    for (const auto& [shown, gbk] : files) {
        auto* item = new QListWidgetItem(shown, FileListBox);
        item->setData(Qt::UserRole, QByteArray::fromStdString(gbk));
    }
    FileListBox->setCurrentRow(-1);
    FileListBox->clearSelection();
    // Nothing is highlighted yet, so no header is shown.
    LabelWordLibName->setText(U("词　库："));
    LabelEditor->setText(U("制作者："));
    LabelDate->setText(U("制作时间："));
    LabelVersion->setText(U("版本："));
}

void TSelectWordLib::OpenChoicePage(StudySession& study) {
    study_ = &study;
    RefreshFileList();
    Highlight(study.LibraryName() + kLibraryExtension);
    Pages->setCurrentWidget(PageChoice);
}

void TSelectWordLib::Highlight(const std::string& file) {
    for (int row = 0; row < FileListBox->count(); ++row) {
        if (FileListBox->item(row)->data(Qt::UserRole).toByteArray().toStdString() != file) continue;
        {
            const QSignalBlocker quiet(FileListBox);
            FileListBox->setCurrentRow(row);
        }
        FileListBoxChange();
        break;
    }
}

void TSelectWordLib::FileListBoxChange() {
    const std::string file = HighlightedFile();
    if (file.empty()) return;
    LabelWordLibName->setText(Screen(WithoutExtension(file)));

    // Only the header is read; the library under study stays as it is.
    const TWordLib0 reader;
    const WordLibHeader header =
        reader.ReadWordLibHeader(FromNativePath(libraryFolder_ / ToNativePath(file))).value_or(WordLibHeader{});
    const std::string editor = header.Editor == "marrowfen" ? std::string("lexilark") : header.Editor;
    LabelEditor->setText(U("制作者：") + Screen(editor));
    LabelDate->setText(U("制作日期：") + Screen(header.Date));
    LabelVersion->setText(U("版本：") + Screen(header.Version));
}

void TSelectWordLib::suiButton1Click() {
    const std::string file = HighlightedFile();
    if (file.empty()) {
        ShowAppMessageUtf8(kChooseOne);
        return;
    }
    if (OpenForStudy(file)) hide();
}

bool TSelectWordLib::OpenForStudy(const std::string& file) {
    const std::string copy = UserFolder() + file;
    const fs::path nativeCopy = ToNativePath(copy);
    std::error_code error;
    const bool firstOpening = !fs::exists(nativeCopy, error);
    if (firstOpening) {
        if (!SafeCopyFile(libraryFolder_ / ToNativePath(file), nativeCopy)) {
            ShowAppMessageUtf8("无法创建词库,请与作者联系");
            return false;
        }
    }

    StudySession* study = Study();
    if (!study) return true;
    TWordLib0& whole = study->WordLib0;
    // A copy that cannot be read leaves the study on the library it was on
    // and the dialog open, and a copy made just now is taken away again.
    if (!whole.OpenWordLib(copy)) {
        if (firstOpening) fs::remove(nativeCopy, error);
        return false;
    }
    if (firstOpening) {
        // The user's copy gets one word order of its own and keeps it.
        whole.ShuffleWords();
        whole.SaveWordLib();
        whole.OpenWordLib(copy);
    }
    study->WordLib.FillWord();
    study->SetLibraryName(WithoutExtension(file));
    emit libraryOpened(file);
    return true;
}

void TSelectWordLib::suiButton2Click() { hide(); }

void TSelectWordLib::suiButton4Click() {
    if (LabelWordLibName->text() == U(kFavouritesName)) {
        ShowAppMessageUtf8("请到收藏管理中初始化收藏库！");
        return;
    }
    const std::string file = HighlightedFile();
    if (file.empty()) {
        ShowAppMessageUtf8(kChooseOne);
        return;
    }
    // Named, and No by default: Yes deletes the learner's copy with its
    // whole progress.
    if (ShowAppMessage(Gbk("初始化词库会将词库“") + WithoutExtension(file) +
                           Gbk("”的进度取消：您的这份词库连同所有等级和学习时间将被删除，"
                               "下次打开时从头开始。\r\n\r\n是否进行此操作？"),
                       kMsgYesNoDefaultNo) != kIdYes)
        return;

    const std::string copy = UserFolder() + file;
    const fs::path nativeCopy = ToNativePath(copy);
    std::error_code error;
    const bool wiped = !fs::exists(nativeCopy, error) || fs::remove(nativeCopy, error);
    if (wiped) ShowAppMessageUtf8("初始化成功！");
    StudySession* study = Study();
    if (!study) return;
    study->WordLib0.GroupCount = 1;
    study->WordLib0.GroupIndex = 0;
    // The library under study would write its old progress back with its
    // next save; it starts afresh instead, as a first opening.
    if (wiped && study->WordLib0.Path == copy) OpenForStudy(file);
}

void TSelectWordLib::ButtonDeleteWordLibClick() {
    const std::string file = HighlightedFile();
    if (file.empty()) {
        ShowAppMessageUtf8(kChooseOne);
        return;
    }
    const std::string quoted = Gbk("“") + WithoutExtension(file) + Gbk("”");
    if (IsShippedLibrary(file)) {
        ShowAppMessage(Gbk("词库") + quoted +
                       Gbk("是随软件提供的词库，不能删除。\r\n\r\n不想再学它时，选择其他词库即可。"));
        return;
    }
    const StudySession* study = Study();
    const std::string underStudy = study ? study->LibraryName() + kLibraryExtension : std::string();
    if (file == underStudy) {
        ShowAppMessage(Gbk("词库") + quoted + Gbk("正在学习中，不能删除。\r\n\r\n请先选择并打开其他词库，再删除它。"));
        return;
    }
    if (ShowAppMessage(Gbk("确定要删除词库") + quoted +
                           Gbk("吗？\r\n\r\n词库文件和您在其中的学习进度都将被删除。"
                               "删除前会先备份您的学习进度，需要时可在“进度备份”中恢复。"),
                       kMsgYesNoDefaultNo) != kIdYes)
        return;

    // The learner's progress in it goes into a backup before anything is
    // deleted; without that backup nothing is.
    if (learner_.backUp) {
        const BackupOutcome made = learner_.backUp();
        if (!made.ok && !made.skipped) {
            ShowAppMessage(Gbk("备份学习进度没有成功，词库没有删除：") + made.gbkError);
            return;
        }
    }
    std::error_code error;
    if (!fs::remove(libraryFolder_ / ToNativePath(file), error) && error) {
        ShowAppMessage(Gbk("无法删除词库") + quoted + Gbk("：") + SystemErrorText(error));
        return;
    }
    // The learner's copy is backed up; one that cannot be removed is only
    // a file no list shows.
    fs::remove(ToNativePath(UserFolder() + file), error);
    RefreshFileList();
    Highlight(underStudy);
    ShowAppMessage(Gbk("词库") + quoted + Gbk("已删除。"));
}
