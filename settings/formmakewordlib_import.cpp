// The library import page: a plain-text word list becomes a new library in
// the program's library folder, where every user's selection dialog lists
// it.

#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <optional>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/libraryname.h"
#include "core/programfolder.h"
#include "core/textimport.h"
#include "platform/shellopen.h"
#include "settings/formmakewordlib.h"
#include "widgets/buttons.h"
#include "widgets/filechooser.h"
#include "widgets/screentext.h"
#include "widgets/textviewer.h"

namespace {

QLineEdit* Edit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

}  // namespace

void TformMakeWordLib::BuildImportPage() {
    auto* page = static_cast<QVBoxLayout*>(PanelImport->layout());
    auto* form = new QFormLayout;
    EditWordLibName = Edit("EditWordLibName", PanelImport);
    EditWordLibEditor = Edit("EditWordLibEditor", PanelImport);
    EditWordLibDate = Edit("EditWordLibDate", PanelImport);
    EditWordLibVersion = Edit("EditWordLibVersion", PanelImport);
    form->addRow(U("词库名称："), EditWordLibName);
    form->addRow(U("制 作 者："), EditWordLibEditor);
    form->addRow(U("制作时间："), EditWordLibDate);
    form->addRow(U("词库版本："), EditWordLibVersion);
    page->addLayout(form);

    LabelWordLibName = new QLabel(U("点击浏览，指定要导入的文本格式词库"), PanelImport);
    LabelWordLibName->setObjectName("LabelWordLibName");
    page->addWidget(LabelWordLibName);
    auto* fileRow = new QHBoxLayout;
    EditWordLibName1 = Edit("EditWordLibName1", PanelImport);
    EditWordLibName1->setReadOnly(true);
    suiButton7 = NewButton("suiButton7", "浏览…", PanelImport);
    fileRow->addWidget(EditWordLibName1, 1);
    fileRow->addWidget(suiButton7);
    page->addLayout(fileRow);
    page->addStretch(1);

    auto* buttons = new QHBoxLayout;
    suiButton3 = NewButton("suiButton3", "帮助向导", PanelImport);
    suiButton8 = NewButton("suiButton8", "查看格式", PanelImport);
    suiButton1 = NewButton("suiButton1", "导　入", PanelImport);
    suiButton2 = NewButton("suiButton2", "返　回", PanelImport);
    for (QPushButton* b : {suiButton3, suiButton8, suiButton1, suiButton2}) buttons->addWidget(b);
    page->addLayout(buttons);
    page->addWidget(new QLabel(U("具体使用方法，请参看帮助向导"), PanelImport));

    connect(suiButton7, &QPushButton::clicked, this, [this] { suiButton7Click(); });
    connect(suiButton8, &QPushButton::clicked, this, [this] { suiButton8Click(); });
    connect(suiButton3, &QPushButton::clicked, this, [this] { suiButton3Click(); });
    connect(suiButton1, &QPushButton::clicked, this, [this] { suiButton1Click(); });
    connect(suiButton2, &QPushButton::clicked, this, [this] { suiButton2Click(); });
}

void TformMakeWordLib::OpenImportPage() {
    BringToFront(PanelImport);
    show();
    raise();
    activateWindow();
}

void TformMakeWordLib::suiButton7Click() {
    const std::optional<std::filesystem::path> chosen = ChooseFileToOpen(this);
    if (!chosen) return;
    importSource_ = *chosen;
    EditWordLibName1->setText(QFile::decodeName(chosen->filename().string().c_str()));
}

void TformMakeWordLib::suiButton8Click() {
    const std::filesystem::path sample = ToNativePath(GetProgramFolder() + "example.txt");
    // A desktop without a text viewer still shows the sample: in a window
    // of the program's own, one at a time.
    ShellOpenOrTell(sample, "一个文本编辑器", [this, sample] {
        if (sampleViewer_) {
            sampleViewer_->raise();
            sampleViewer_->activateWindow();
            return;
        }
        const std::optional<QString> text = ReadTextForShowing(sample);
        if (!text) {
            ShowAppMessageUtf8("文件打不开");
            return;
        }
        sampleViewer_ = new TextViewer(U("导入格式示例（example.txt）"), *text, this);
        sampleViewer_->setObjectName("SampleViewer");
        sampleViewer_->setAttribute(Qt::WA_DeleteOnClose);
        sampleViewer_->setWindowModality(Qt::WindowModal);
        sampleViewer_->show();
    });
}

void TformMakeWordLib::suiButton3Click() { emit helpWanted(U("导入词库")); }

void TformMakeWordLib::suiButton1Click() {
    if (importSource_.empty()) {
        ShowAppMessageUtf8("请点击浏览选择要导入的文本格式词库");
        return;
    }
    // The header texts are stored in GBK: text it cannot hold is refused
    // rather than written as something else.
    const std::optional<std::string> name = TypedGbk(EditWordLibName->text());
    const std::optional<std::string> editor = TypedGbk(EditWordLibEditor->text());
    const std::optional<std::string> date = TypedGbk(EditWordLibDate->text());
    const std::optional<std::string> version = TypedGbk(EditWordLibVersion->text());
    if (!name || !editor || !date || !version) {
        ShowAppMessageUtf8("词库信息中有无法保存的字符，请换个写法");
        return;
    }
    const std::filesystem::path target = ToNativePath(GetProgramFolder() + "wordlib\\" + *name + ".lx");
    std::error_code ec;
    if (std::filesystem::exists(target, ec)) {
        ShowAppMessageUtf8("已经存在指定名称的词库，请换一个词库名称");
        EditWordLibName->setFocus();
        return;
    }
    if (name->empty() || editor->empty() || date->empty()) {
        ShowAppMessageUtf8("词库名称、制作者及制作时间必须填写");
        return;
    }
    if (!CheckLibraryName(*name)) return;
    std::vector<WordList> words;
    if (!ImportTextLibFile(importSource_, target, *editor, *date, *version, &words)) return;
    ShowAppMessage(Gbk("导入成功，共导入") + std::to_string(words.size()) + Gbk("个单词"));
}

void TformMakeWordLib::suiButton2Click() {
    emit importLeft();
    hide();
}
