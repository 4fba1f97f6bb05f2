#include "help/formhelp.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/helptext.h"
#include "core/plainfile.h"
#include "core/programfolder.h"
#include "widgets/buttons.h"
#include "widgets/eventhook.h"
#include "widgets/screentext.h"
#include "widgets/titlebar.h"

namespace {

constexpr int kGuideHeight = 360;

constexpr const char* kHelpFile = "start.ini";
constexpr const char* kFirstTopic = "关于帮助向导";
// While this topic is on show the learner watches, so the study window
// takes no keys.
constexpr const char* kDemoTopic = "背单词过程演示";

}  // namespace

TformHelp::TformHelp(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("formHelp");
    const QString caption = U("帮助向导");
    setWindowTitle(caption);
    resize(520, kGuideHeight);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet("#formHelp { background: #eef3fb; border: 1px solid #395a99; }");

    LabelCurrent = new QLabel(U("当前向导："), this);
    LabelCurrent->setObjectName("LabelCurrent");
    LabelCurrent->setCursor(Qt::PointingHandCursor);
    LabelCurrent->setToolTip(U("单击重新读入帮助文件"));
    comboHelpList = new QComboBox(this);
    comboHelpList->setObjectName("comboHelpList");
    comboHelpList->setEditable(false);
    for (const char* item : {kFirstTopic, "制作文本", "制作语音", "听力练习"}) comboHelpList->addItem(U(item));
    memoHelp = new QPlainTextEdit(this);
    memoHelp->setObjectName("memoHelp");
    memoHelp->setReadOnly(true);
    memoHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    suiButton1 = new QPushButton(U("上一页"), this);
    suiButton1->setObjectName("suiButton1");
    suiButton3 = new QPushButton(U("下一页"), this);
    suiButton3->setObjectName("suiButton3");
    suiButton2 = new QPushButton(U("返 回"), this);
    suiButton2->setObjectName("suiButton2");
    LabelPage = new QLabel(this);
    LabelPage->setObjectName("LabelPage");

    auto* top = new QHBoxLayout;
    top->addWidget(LabelCurrent);
    top->addWidget(comboHelpList, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(LabelPage);
    buttons->addStretch(1);
    buttons->addWidget(suiButton1);
    buttons->addWidget(suiButton3);
    buttons->addWidget(suiButton2);
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(1, 1, 1, 1);
    frame->setSpacing(0);
    titleBar = new TitleBar(caption, this);
    frame->addWidget(titleBar);
    auto* outer = new QVBoxLayout;
    outer->setContentsMargins(9, 9, 9, 9);
    frame->addLayout(outer, 1);
    outer->addLayout(top);
    outer->addWidget(memoHelp, 1);
    outer->addLayout(buttons);

    connect(comboHelpList, &QComboBox::activated, this, [this] { comboHelpListClick(); });
    connect(suiButton1, &QPushButton::clicked, this, [this] { suiButton1Click(); });
    connect(suiButton3, &QPushButton::clicked, this, [this] { suiButton3Click(); });
    connect(suiButton2, &QPushButton::clicked, this, [this] { suiButton2Click(); });
    LeaveOnEscape(this, {suiButton2});
    EventHook::Install(LabelCurrent, QEvent::MouseButtonRelease, [this] { LoadHelpFile(); });

    LoadHelpFile();
}

void TformHelp::SetPlaceSource(std::function<GuidePlace()> source) {
    placeSource_ = std::move(source);
    PlaceBesideStudyWindow();
}

void TformHelp::PlaceBesideStudyWindow() {
    if (!placeSource_) return;
    const GuidePlace place = placeSource_();
    const QScreen* shown = place.screen ? place.screen : QGuiApplication::primaryScreen();
    if (!shown) return;
    const QRect screen = shown->availableGeometry();
    if (!place.besideShown) {
        move((screen.width() - width()) / 2 + place.anchor.x() / 2, place.anchor.y() + 60);
        return;
    }
    // Below the word box, over the sentences and the answer strip, as
    // high as the room there allows: the guide never covers the word, its
    // reading or its meaning, whatever the window's size.
    const QRect& word = place.keepClear;
    const QRect& side = place.column;
    const int frame = std::max(0, frameGeometry().height() - height());
    const int top = std::max(screen.top(), word.bottom() + 1);
    const int room = screen.bottom() + 1 - top - frame;
    resize(std::min(width(), screen.width()), std::clamp(room, minimumSizeHint().height(), kGuideHeight));
    const int x = std::clamp(side.center().x() - width() / 2, screen.left(), screen.right() + 1 - width());
    move(x, std::min(top, screen.bottom() + 1 - frame - height()));
}

bool TformHelp::ShowPage(const std::string& gbkTopic, const char* tag, int direction) {
    // Paging stays within the topic: past its last page there is nothing
    // to show, and before its first there is nothing either.
    const std::vector<std::string> pages = HelpPages(HelpSection(helpText_, gbkTopic), tag);
    const int count = static_cast<int>(pages.size());
    if (direction > 0 && pageNumber_ + 1 < count)
        ++pageNumber_;
    else if (direction < 0 && pageNumber_ > 0)
        --pageNumber_;
    if (pageNumber_ >= count) pageNumber_ = 0;
    const bool found = pageNumber_ < count;
    memoHelp->setPlainText(found ? ScreenLines(pages[static_cast<size_t>(pageNumber_)]) : QString());
    LabelPage->setText(found ? U("第 %1 / %2 页").arg(pageNumber_ + 1).arg(count) : QString());
    suiButton1->setEnabled(pageNumber_ > 0);
    suiButton3->setEnabled(pageNumber_ + 1 < count);
    return found;
}

void TformHelp::LoadHelpFile() {
    const std::string gbkPath = GetProgramFolder() + kHelpFile;
    const std::filesystem::path path = ToNativePath(gbkPath);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        ShowAppMessageUtf8("帮助文件不存在");
        return;
    }
    const std::optional<std::string> text = ReadPlainFile(path);
    if (!text) {
        ShowAppMessageUtf8("文件打不开");
        return;
    }
    helpText_ = JoinHelpLines(*text);

    comboHelpList->clear();
    QStringList titles;
    for (const std::string& item : HelpPages(HelpSection(helpText_, "helplist"), "item")) titles << ScreenLines(item);
    comboHelpList->addItems(titles);
    pageNumber_ = 0;

    // The guide opens on its own topic. A file that does not list it opens
    // on the first topic it lists, so the box and the page always agree.
    const int first = comboHelpList->findText(U(kFirstTopic), Qt::MatchExactly | Qt::MatchCaseSensitive);
    comboHelpList->setCurrentIndex(first >= 0 ? first : 0);
    ShowPage(SelectedTopic(), "step", 0);
    pageNumber_ = 0;
}

std::string TformHelp::SelectedTopic() const {
    if (comboHelpList->currentIndex() < 0) return {};
    return FromScreen(comboHelpList->currentText());
}

bool TformHelp::OnDemonstration() const { return SelectedTopic() == Gbk(kDemoTopic); }

void TformHelp::comboHelpListClick() {
    pageNumber_ = 0;
    ShowPage(SelectedTopic(), "step", 0);
    emit topicPicked(OnDemonstration());
}

void TformHelp::ShowHelpTopic(const std::string& gbkTitle) {
    const int index = comboHelpList->findText(Screen(gbkTitle), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) return;
    comboHelpList->setCurrentIndex(index);
    comboHelpListClick();
}

void TformHelp::ShowHelpTopicUtf8(const char* utf8Title) { ShowHelpTopic(Gbk(utf8Title)); }

void TformHelp::suiButton3Click() { ShowPage(SelectedTopic(), "step", +1); }

void TformHelp::suiButton1Click() { ShowPage(SelectedTopic(), "step", -1); }

void TformHelp::suiButton2Click() {
    hide();
    emit left();
}

void TformHelp::closeEvent(QCloseEvent* event) {
    event->accept();
    QWidget::closeEvent(event);
    emit left();
}

void TformHelp::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) PlaceBesideStudyWindow();
    QWidget::showEvent(event);
    if (OnDemonstration()) emit shownOnDemonstration();
}
