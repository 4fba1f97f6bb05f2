#include "select/selectwordlib.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "core/gbktext.h"
#include "core/programfolder.h"
#include "widgets/buttons.h"
#include "widgets/labels.h"
#include "widgets/screentext.h"
#include "widgets/titlebar.h"

namespace {

QLabel* PageTitle(QWidget* parent, const char* utf8Text) {
    QLabel* title = NewLabel(parent, nullptr, utf8Text);
    QFont font = title->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 3);
    title->setFont(font);
    title->setAlignment(Qt::AlignCenter);
    return title;
}

}  // namespace

TSelectWordLib::TSelectWordLib(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("SelectWordLib");
    const QString caption = U(" 澜悦系列软件>>澜悦单词 ");
    setWindowTitle(caption);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(1, 1, 1, 1);
    outer->setSpacing(0);
    titleBar = new TitleBar(caption, this);
    outer->addWidget(titleBar);
    Pages = new QStackedWidget(this);
    Pages->setObjectName("Pages");
    outer->addWidget(Pages);

    BuildChoicePage();
    BuildGroupingPage();
    ConnectControls();
    FormCreate();
}

void TSelectWordLib::BuildChoicePage() {
    PageChoice = new QWidget(Pages);
    PageChoice->setObjectName("PageChoice");
    Pages->addWidget(PageChoice);

    auto* page = new QVBoxLayout(PageChoice);
    page->addWidget(PageTitle(PageChoice, "选择词库"));
    auto* body = new QHBoxLayout;
    page->addLayout(body);

    FileListBox = new QListWidget(PageChoice);
    FileListBox->setObjectName("FileListBox");
    FileListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    FileListBox->setMinimumSize(180, 200);
    body->addWidget(FileListBox);

    auto* side = new QVBoxLayout;
    body->addLayout(side);
    LabelWordLibName = NewLabel(PageChoice, "LabelWordLibName", "词　库：");
    LabelEditor = NewLabel(PageChoice, "LabelEditor", "制作者：");
    LabelDate = NewLabel(PageChoice, "LabelDate", "制作时间：");
    LabelVersion = NewLabel(PageChoice, "LabelVersion", "版本：");
    for (QLabel* label : {LabelWordLibName, LabelEditor, LabelDate, LabelVersion}) {
        label->setMinimumWidth(200);
        side->addWidget(label);
    }
    side->addStretch();
    suiButton4 = NewButton("suiButton4", "初始化", PageChoice);
    ButtonDeleteWordLib = NewButton("ButtonDeleteWordLib", "删除词库", PageChoice);
    ButtonDeleteWordLib->setToolTip(U("删除自己导入或复制来的词库（随软件提供的词库不能删除）"));
    suiButton1 = NewButton("suiButton1", "确 定", PageChoice);
    suiButton2 = NewButton("suiButton2", "取 消", PageChoice);
    for (QPushButton* button : {suiButton4, ButtonDeleteWordLib, suiButton1, suiButton2}) side->addWidget(button);
}

void TSelectWordLib::BuildGroupingPage() {
    PageGroup = new QWidget(Pages);
    PageGroup->setObjectName("PageGroup");
    Pages->addWidget(PageGroup);

    auto* page = new QVBoxLayout(PageGroup);
    page->addWidget(PageTitle(PageGroup, "单词分组"));

    auto* counts = new QGroupBox(U("当前信息统计"), PageGroup);
    auto* countRows = new QVBoxLayout(counts);
    LabelWordLibName1 = NewLabel(counts, "LabelWordLibName1", "词句名称：");
    LabelWordCount = NewLabel(counts, "LabelWordCount", "总单词数：");
    countRows->addWidget(LabelWordLibName1);
    countRows->addWidget(LabelWordCount);
    auto* gradeZeroRow = new QHBoxLayout;
    gradeZeroRow->addWidget(NewLabel(counts, nullptr, "主级总单词数："));
    LabeWordCountGrade0 = NewLabel(counts, "LabeWordCountGrade0", "0");
    gradeZeroRow->addWidget(LabeWordCountGrade0);
    gradeZeroRow->addStretch();
    countRows->addLayout(gradeZeroRow);
    LabelGroupWordCount = NewLabel(counts, "LabelGroupWordCount", "每组单词数：");
    countRows->addWidget(LabelGroupWordCount);
    page->addWidget(counts);

    auto* setting = new QGroupBox(U("分组设置"), PageGroup);
    auto* settingRow = new QHBoxLayout(setting);
    settingRow->addWidget(NewLabel(setting, nullptr, " 分组数："));
    SpinEditGroupCount = new QSpinBox(setting);
    SpinEditGroupCount->setObjectName("SpinEditGroupCount");
    SpinEditGroupCount->setRange(1, kMaxGroupBoxValue);
    SpinEditGroupCount->setSingleStep(1);
    SpinEditGroupCount->setValue(1);
    // A typed number counts once it is finished (Enter or leaving the box),
    // not at every digit on the way to it.
    SpinEditGroupCount->setKeyboardTracking(false);
    settingRow->addWidget(SpinEditGroupCount);
    LabelGroupIndex = NewLabel(setting, "LabelGroupIndex", "");
    LabelGroupIndex->setVisible(false);
    settingRow->addWidget(LabelGroupIndex);
    settingRow->addStretch();
    page->addWidget(setting);

    page->addWidget(NewLabel(PageGroup, nullptr, "建议每组单词数在100至300间"));
    auto* buttons = new QHBoxLayout;
    suiButton5 = NewButton("suiButton5", "帮助向导", PageGroup);
    suiButton7 = NewButton("suiButton7", "确 定", PageGroup);
    suiButton6 = NewButton("suiButton6", "取 消", PageGroup);
    for (QPushButton* button : {suiButton5, suiButton7, suiButton6}) buttons->addWidget(button);
    page->addLayout(buttons);
}

void TSelectWordLib::ConnectControls() {
    connect(FileListBox, &QListWidget::itemSelectionChanged, this, [this] { FileListBoxChange(); });
    connect(suiButton1, &QPushButton::clicked, this, [this] { suiButton1Click(); });
    connect(suiButton2, &QPushButton::clicked, this, [this] { suiButton2Click(); });
    LeaveOnEscape(this, {suiButton2, suiButton6});
    connect(suiButton4, &QPushButton::clicked, this, [this] { suiButton4Click(); });
    connect(ButtonDeleteWordLib, &QPushButton::clicked, this, [this] { ButtonDeleteWordLibClick(); });
    connect(SpinEditGroupCount, &QSpinBox::valueChanged, this, [this] { SpinEditGroupCountChange(); });
    // The box itself says nothing while a count is typed (it takes the
    // count when it is finished); its editor does.
    if (auto* editor = SpinEditGroupCount->findChild<QLineEdit*>())
        connect(editor, &QLineEdit::textEdited, this, [this] { SpinEditGroupCountTyping(); });
    connect(suiButton7, &QPushButton::clicked, this, [this] { suiButton7Click(); });
    connect(suiButton6, &QPushButton::clicked, this, [this] { suiButton2Click(); });
    connect(suiButton5, &QPushButton::clicked, this, &TSelectWordLib::suiButton5Click);
}

void TSelectWordLib::FormCreate() {
    // Libraries sit in "wordlib" beside the program, wherever it is started
    // from; without a known program folder the working folder stands in.
    const std::string& programFolder = GetProgramFolder();
    libraryFolder_ =
        programFolder.empty() ? std::filesystem::current_path() / "wordlib" : ToNativePath(programFolder + "wordlib");
}

void TSelectWordLib::closeEvent(QCloseEvent* event) {
    // Only the dialog's own buttons put it away.
    if (!FormCloseQuery()) event->ignore();
}

void TSelectWordLib::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit left();
}

void TSelectWordLib::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    adjustSize();
    const QScreen* target = screen() ? screen() : QGuiApplication::primaryScreen();
    if (target) {
        QRect frame = geometry();
        frame.moveCenter(target->geometry().center());
        move(frame.topLeft());
    }
}
