// The study window's controls: every control by its form name, with the
// designed captions, sizes and fonts, and the colours of the configuration.

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "core/manage.h"
#include "platform/fontregistration.h"
#include "study/formmain_ui.h"
#include "widgets/answeredit.h"
#include "widgets/buttons.h"
#include "widgets/colourvalue.h"
#include "widgets/framedbox.h"
#include "widgets/labels.h"
#include "widgets/radiogroup.h"
#include "widgets/screentext.h"

// Sizes of the left column's rows. The designed ones suit a 600-pixel-high
// screen with a 12-pixel face; a lower screen (640 by 480), or faces whose
// lines are taller than the design's, get the tight ones. A row is never
// lower than its face's line, and the large copy of the clock takes what
// the rest leaves, so that the window never grows past the screen.
struct LeftColumnSizes {
    int row;            // a grade or read-mode item
    int button;         // a command button
    int clock;          // pixel size of the large clock, at most
    int label;          // a caption or value row; 0 leaves it to the face
    int margin;         // inside the library and time boxes
    int meaningHeight;  // the least height of the meaning box
};

namespace {

constexpr LeftColumnSizes kDesignSizes{18, 20, 28, 0, 4, 170};
constexpr LeftColumnSizes kTightSizes{16, 18, 20, 14, 2, 130};
// The clock is not drawn smaller than this; below it the window may grow.
constexpr int kSmallestClockPixels = 10;

constexpr int kDesignWidth = 790;
constexpr int kDesignHeight = 541;
constexpr int kLeftColumnWidth = 172;
constexpr int kStripButtonWidth = 48;
constexpr int kAnswerBoxWidth = 250;
constexpr int kStripSpacing = 2;
constexpr int kStripHeight = 44;
constexpr int kBottomBoxHeight = 72;
// The answer box holds a dozen characters of a Japanese answer whatever
// the screen: a bottom box too narrow for that and the designed buttons
// narrows the buttons, and where even their narrowest is too wide, the
// answer box gets a row of its own above a row of lower buttons.
constexpr int kNarrowestStripButton = 38;
constexpr int kLeastAnswerCharacters = 12;
constexpr int kAnswerBoxPadding = 8;  // the box's own margins and the caret
// In two rows the strip is no higher than in one: a lower answer box (still
// a line of its face) and lower buttons, within the bottom box's margins.
constexpr int kLowAnswerBoxHeight = 40;
constexpr int kLowStripButtonHeight = kBottomBoxHeight - 8 - kLowAnswerBoxHeight - kStripSpacing;
// The designed sizes of the word box's texts: the word's and the reading's
// pixel sizes and rows, and the meaning's starting point size. A long word
// or reading, or a wide face, is drawn smaller, down to the smallest size,
// to be seen whole.
constexpr int kWordPixels = 37;
constexpr int kWordRowHeight = 56;
constexpr int kReadingPixels = 33;
constexpr int kReadingRowHeight = 48;
constexpr int kMeaningPoints = 25;
constexpr int kSmallestWordPixels = 12;
// The word box as wide as on an 800-pixel-wide screen and as high as in
// the designed window: a larger box draws its texts larger in proportion
// to the lesser of its width and height, a smaller one keeps the designed
// sizes (the meaning and a long word still shrink to fit). Past the
// largest scale the texts would outgrow a learner's reading distance
// rather than help.
constexpr int kDesignWordBoxWidth = 616;
constexpr int kDesignWordBoxHeight = 265;
constexpr double kLargestWordBoxScale = 2.0;
// Design colour of every button caption.
constexpr int kButtonFontColour = 13583874;
// Title strip text, until the window set gives the login window's heading
// (SetHeading).
constexpr const char* kStudyWindowTitleUtf8 = "澜悦日语单词 Lexilark V1.0 ";

QFont PixelFont(const QString& family, int pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton* NewCommandButton(QWidget* parent, const char* name, const char* utf8Caption) {
    QPushButton* button = NewButton(name, utf8Caption, parent);
    // Tab reaches the commands; a click leaves the keyboard in the answer box.
    button->setFocusPolicy(Qt::TabFocus);
    button->setAutoDefault(true);  // Enter presses the command Tab reached
    SetButtonCaptionColour(button, kButtonFontColour);
    return button;
}

// The label's text at `pixels` where it fits the label's width, else as
// much smaller as it needs to be seen whole.
void FitLabelToWidth(QLabel* label, int pixels) {
    QFont font = label->font();
    const int room = label->contentsRect().width();
    for (; pixels > kSmallestWordPixels; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(label->text()) <= room) break;
    }
    font.setPixelSize(pixels);
    if (label->font().pixelSize() != pixels) label->setFont(font);
}

QGroupBox* NewBox(QWidget* parent, const char* name) { return Named(new FramedBox(QString(), parent), name); }

// One "caption: value" row of the left column.
void AddRow(QGridLayout* grid, int row, QWidget* parent, const char* utf8Caption, QLabel* value) {
    grid->addWidget(new QLabel(U(utf8Caption), parent), row, 0);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(value, row, 1);
}

// Forgets the sizes `layout` and the layouts inside it have worked out.
void InvalidateLayouts(QLayout* layout) {
    layout->invalidate();
    for (int i = 0; QLayoutItem* item = layout->itemAt(i); ++i)
        if (QLayout* inner = item->layout()) InvalidateLayouts(inner);
}

QTimer* NewTimer(QObject* parent, const char* name, int interval) {
    auto* timer = Named(new QTimer(parent), name);
    timer->setInterval(interval);
    return timer;
}

}  // namespace

void TformMain::BuildLayout() {
    setWindowFlag(Qt::FramelessWindowHint);
    setWindowTitle(U(kStudyWindowTitleUtf8));
    resize(kDesignWidth, kDesignHeight);
    setMinimumWidth(270);
    setFont(PixelFont(QStringLiteral("宋体"), 12));
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, Qt::white);
    setPalette(black);
    setAutoFillBackground(true);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    ui_->PanelMain = Named(new QFrame(this), "PanelMain");
    ui_->PanelMain->setAutoFillBackground(true);
    outer->addWidget(ui_->PanelMain);

    auto* mainLayout = new QVBoxLayout(ui_->PanelMain);
    mainLayout->setContentsMargins(4, 2, 4, 2);
    mainLayout->setSpacing(2);
    ui_->PanelMainCaption = NewLabel(ui_->PanelMain, "PanelMainCaption", kStudyWindowTitleUtf8);
    ui_->PanelMainCaption->setFont(PixelFont(QStringLiteral("宋体"), 12, true));
    mainLayout->addWidget(ui_->PanelMainCaption);

    auto* body = new QHBoxLayout;
    body->setSpacing(4);
    mainLayout->addLayout(body, 1);

    ui_->Panel11 = Named(new QFrame(ui_->PanelMain), "Panel11");
    ui_->Panel11->setFixedWidth(kLeftColumnWidth);
    ui_->BuildLeftColumn(ui_->Panel11);
    body->addWidget(ui_->Panel11);

    ui_->Panel1 = Named(new QFrame(ui_->PanelMain), "Panel1");
    ui_->BuildRightSide(ui_->Panel1);
    body->addWidget(ui_->Panel1, 1);

    ui_->Timer = Named(&study_.Clock(), "Timer");  // the session's clock, not one of the window's children
    ui_->TimerPrompt = NewTimer(this, "TimerPrompt", 800);
    ui_->TimerComment = NewTimer(this, "TimerComment", 1000);
    ui_->TimerSetFocus = NewTimer(this, "TimerSetFocus", 2000);
}

void TformMain::Ui::BuildLeftColumn(QWidget* parent) {
    auto* column = new QVBoxLayout(parent);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);

    // Library box.
    QGroupBox* libraryBox = NewBox(parent, "GroupBoxWordLib");
    auto* libraryLayout = new QVBoxLayout(libraryBox);
    libraryLayout->setContentsMargins(kDesignSizes.margin, kDesignSizes.margin, kDesignSizes.margin,
                                      kDesignSizes.margin);
    libraryLayout->setSpacing(1);
    LabelWordLibName = NewLabel(libraryBox, "LabelWordLibName", "", Qt::AlignCenter);
    libraryLayout->addWidget(LabelWordLibName);
    PanelWordlib = Named(new QFrame(libraryBox), "PanelWordlib");
    auto* grid = new QGridLayout(PanelWordlib);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(1);
    LabelGroup = NewLabel(PanelWordlib, "LabelGroup", "1/ 1");
    LabelStepNo = NewLabel(PanelWordlib, "LabelStepNo", "0 / 0");
    circleno = NewLabel(PanelWordlib, "circleno", "1");
    LabelWordStudyCount = NewLabel(PanelWordlib, "LabelWordStudyCount", "0 / 0");
    AddRow(grid, 0, PanelWordlib, "分组进度", LabelGroup);
    AddRow(grid, 1, PanelWordlib, "本组进度", LabelStepNo);
    AddRow(grid, 2, PanelWordlib, "循环次数", circleno);
    AddRow(grid, 3, PanelWordlib, "单词次数", LabelWordStudyCount);
    LabelLine = Named(new QFrame(PanelWordlib), "LabelLine");
    LabelLine->setFixedHeight(1);
    LabelLine->setAutoFillBackground(true);
    grid->addWidget(LabelLine, 4, 0, 1, 2);
    libraryLayout->addWidget(PanelWordlib);
    column->addWidget(libraryBox);

    // Grades: the count of each grade beside its label.
    PanelGrade = Named(new QFrame(parent), "PanelGrade");
    auto* gradeLayout = new QGridLayout(PanelGrade);
    gradeLayout->setContentsMargins(0, 0, 0, 0);
    gradeLayout->setSpacing(1);
    LabelGradeHeader = NewLabel(PanelGrade, "LabelGradeHeader", "各级单词数            级别");
    gradeLayout->addWidget(LabelGradeHeader, 0, 0, 1, 2);
    GroupGrade = Named(new RadioGroup(QString(), {"0", "0", "0", "0", "0", "0"}, 1, PanelGrade), "GroupGrade");
    GroupGrade->SetItemIndex(5);
    gradeLayout->addWidget(GroupGrade, 1, 0);
    ListBoxGrade = Named(new QListWidget(PanelGrade), "ListBoxGrade");
    ListBoxGrade->addItems({"10000", "4", "3", "2", "1", "0"});
    ListBoxGrade->setEnabled(false);
    ListBoxGrade->setFixedWidth(56);
    ListBoxGrade->setFocusPolicy(Qt::NoFocus);
    ListBoxGrade->setTextElideMode(Qt::ElideNone);
    ListBoxGrade->setFrameShape(QFrame::NoFrame);  // its border is the background colour
    ListBoxGrade->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBoxGrade->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBoxGrade->setSpacing(0);
    // As tall as the counts beside it; the column's stretch takes what is left.
    ListBoxGrade->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    auto* labelColumn = new QVBoxLayout;
    labelColumn->setContentsMargins(0, 0, 0, 0);
    labelColumn->setSpacing(0);
    gradeLabelsTop_ = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Fixed);
    labelColumn->addSpacerItem(gradeLabelsTop_);
    labelColumn->addWidget(ListBoxGrade);
    gradeLayout->addLayout(labelColumn, 1, 1);
    GroupGrade->installEventFilter(&window);
    column->addWidget(PanelGrade);

    // Times.
    QGroupBox* timeBox = NewBox(parent, "GroupBoxTime");
    auto* timeGrid = new QGridLayout(timeBox);
    timeGrid->setContentsMargins(kDesignSizes.margin, kDesignSizes.margin, kDesignSizes.margin, kDesignSizes.margin);
    timeGrid->setVerticalSpacing(1);
    LabelThisTime = NewLabel(timeBox, "LabelThisTime", "00:00:00");
    LabelSpeed = NewLabel(timeBox, "LabelSpeed", "0 词/分");
    LabelThisLoopTime = NewLabel(timeBox, "LabelThisLoopTime", "00:00:00");
    LabelLeftTime = NewLabel(timeBox, "LabelLeftTime", "00:00:00");
    LabelTotalTime = NewLabel(timeBox, "LabelTotalTime", "00:00:00");
    AddRow(timeGrid, 0, timeBox, "本次时间", LabelThisTime);
    AddRow(timeGrid, 1, timeBox, "学习速度", LabelSpeed);
    AddRow(timeGrid, 2, timeBox, "循环(组)时间", LabelThisLoopTime);
    AddRow(timeGrid, 3, timeBox, "预剩余时间", LabelLeftTime);
    AddRow(timeGrid, 4, timeBox, "总学习时间", LabelTotalTime);
    column->addWidget(timeBox);

    // Modes.
    Panel2 = Named(new QFrame(parent), "Panel2");
    auto* modeLayout = new QVBoxLayout(Panel2);
    modeLayout->setContentsMargins(0, 0, 0, 0);
    GroupReadMode =
        Named(new RadioGroup(QStringLiteral("显示方式"), {"日→假汉", "汉→假日", "日假→汉", " 汉假日"}, 2, Panel2),
              "GroupReadMode");
    GroupReadMode->SetItemIndex(2);
    modeLayout->addWidget(GroupReadMode);
    GroupMemoryMode =
        Named(new RadioGroup(QStringLiteral("朗读方式"), {"强 化", "回 忆"}, 2, Panel2), "GroupMemoryMode");
    GroupMemoryMode->setVisible(false);
    modeLayout->addWidget(GroupMemoryMode);
    column->addWidget(Panel2);
    for (RadioGroup* group : {GroupGrade, GroupReadMode, GroupMemoryMode}) group->layout()->setSpacing(1);

    // Commands.
    ButtonPause = NewCommandButton(parent, "ButtonPause", "暂停学习");
    column->addWidget(ButtonPause);
    PanelButtons = Named(new QFrame(parent), "PanelButtons");
    auto* buttons = new QGridLayout(PanelButtons);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(1);
    suiButton2 = NewCommandButton(PanelButtons, "suiButton2", "单词分组");
    ButtonSelectWordLib = NewCommandButton(PanelButtons, "ButtonSelectWordLib", "选择词库");
    suiButton5 = NewCommandButton(PanelButtons, "suiButton5", "软件报错");
    suiButton3 = NewCommandButton(PanelButtons, "suiButton3", "收藏管理");
    ButtonReturn = NewCommandButton(PanelButtons, "ButtonReturn", "返  回");
    suiButton4 = NewCommandButton(PanelButtons, "suiButton4", "参数设置");
    suiButton10 = NewCommandButton(PanelButtons, "suiButton10", "帮助向导");
    ButtonStats = NewCommandButton(PanelButtons, "ButtonStats", "学习统计");
    QPushButton* order[] = {suiButton2,   ButtonSelectWordLib, suiButton5,  suiButton3,
                            ButtonReturn, suiButton4,          suiButton10, ButtonStats};
    for (int i = 0; i < 8; ++i) buttons->addWidget(order[i], i / 2, i % 2);
    // Keys that the answer box leaves alone (F5, F9 and F12 have their own
    // work), named in each command's tooltip.
    const struct {
        QPushButton* button;
        Qt::Key key;
    } keys[] = {{suiButton10, Qt::Key_F1}, {ButtonSelectWordLib, Qt::Key_F2}, {suiButton2, Qt::Key_F3},
                {suiButton4, Qt::Key_F4},  {suiButton3, Qt::Key_F6},          {suiButton5, Qt::Key_F7},
                {ButtonPause, Qt::Key_F8}, {ButtonReturn, Qt::Key_F10},       {ButtonStats, Qt::Key_F11}};
    for (const auto& [button, key] : keys) GiveKey(button, QKeySequence(key));
    ButtonPause->setToolTip(U("暂停学习 / 继续学习（F8）"));
    column->addWidget(PanelButtons);

    // Bottom.
    PanelThisTime = NewLabel(parent, "PanelThisTime", "00:00:00", Qt::AlignCenter);
    PanelThisTime->setFont(PixelFont(QStringLiteral("Arial"), kDesignSizes.clock, true));
    column->addWidget(PanelThisTime);
    PanelMyWordLibWordCount = NewLabel(parent, "PanelMyWordLibWordCount", "收藏库词数：0", Qt::AlignCenter);
    column->addWidget(PanelMyWordLibWordCount);
    column->addStretch(1);
}

void TformMain::Ui::BuildRightSide(QWidget* parent) {
    auto* side = new QVBoxLayout(parent);
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(3);

    // The word box: word, reading, meaning.
    wordPixels_ = kWordPixels;
    readingPixels_ = kReadingPixels;
    meaningStartPoints_ = kMeaningPoints;
    GroupBoxTop = NewBox(parent, "GroupBoxTop");
    auto* top = new QVBoxLayout(GroupBoxTop);
    top->setContentsMargins(6, 6, 6, 6);
    top->setSpacing(2);
    PanelE = NewLabel(GroupBoxTop, "PanelE", "", Qt::AlignCenter);
    PanelE->setFont(WithJapaneseFallback(PixelFont(QStringLiteral("Times New Roman"), kWordPixels)));
    PanelE->setMinimumHeight(kWordRowHeight);
    PanelE->setTextFormat(Qt::PlainText);
    // A long word is drawn smaller rather than widening the window.
    PanelE->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    PanelE->installEventFilter(&window);
    top->addWidget(PanelE);
    PanelT = NewLabel(GroupBoxTop, "PanelT", "", Qt::AlignCenter);
    PanelT->setFont(WithJapaneseFallback(PixelFont(QStringLiteral("宋体"), kReadingPixels)));
    PanelT->setMinimumHeight(kReadingRowHeight);
    PanelT->setTextFormat(Qt::PlainText);
    PanelT->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    PanelT->installEventFilter(&window);
    top->addWidget(PanelT);
    MemoC = Named(new QTextEdit(GroupBoxTop), "MemoC");
    MemoC->setReadOnly(true);
    MemoC->setFocusPolicy(Qt::NoFocus);
    MemoC->setFrameShape(QFrame::NoFrame);
    MemoC->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MemoC->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MemoC->setLineWrapMode(QTextEdit::WidgetWidth);
    MemoC->setFont(WithChineseFallback(PixelFont(QStringLiteral("宋体"), 33)));
    MemoC->setMinimumHeight(kDesignSizes.meaningHeight);
    MemoC->installEventFilter(&window);
    top->addWidget(MemoC, 1);
    GroupBoxTop->installEventFilter(&window);
    side->addWidget(GroupBoxTop, 3);

    // The middle box: example sentences, and the floating comment panel.
    GroupBoxMiddle = NewBox(parent, "GroupBoxMiddle");
    auto* middle = new QVBoxLayout(GroupBoxMiddle);
    middle->setContentsMargins(6, 6, 6, 6);
    MemoSentence = Named(new QPlainTextEdit(GroupBoxMiddle), "MemoSentence");
    MemoSentence->setReadOnly(true);
    MemoSentence->setFocusPolicy(Qt::NoFocus);
    MemoSentence->setFrameShape(QFrame::NoFrame);
    MemoSentence->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MemoSentence->setFont(WithChineseFallback(PixelFont(QStringLiteral("宋体"), 20)));
    middle->addWidget(MemoSentence);
    PanelComment = NewLabel(GroupBoxMiddle, "PanelComment", "正 确", Qt::AlignCenter);
    PanelComment->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PanelComment->setLineWidth(2);
    PanelComment->setFont(PixelFont(QStringLiteral("宋体"), 21, true));
    PanelComment->setAutoFillBackground(true);
    PanelComment->resize(160, 40);
    PanelComment->setVisible(false);
    // Above the sentences, once an answer is judged: the answer set against
    // the word, and the hints on how to go on.
    PanelAnswerMarks = NewLabel(GroupBoxMiddle, "PanelAnswerMarks", "", Qt::AlignLeft | Qt::AlignVCenter);
    PanelAnswerMarks->setTextFormat(Qt::RichText);
    PanelAnswerMarks->setWordWrap(true);
    PanelAnswerMarks->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PanelAnswerMarks->setLineWidth(2);
    PanelAnswerMarks->setMargin(4);
    PanelAnswerMarks->setFont(WithJapaneseFallback(PixelFont(QStringLiteral("宋体"), 20)));
    PanelAnswerMarks->setAutoFillBackground(true);
    PanelAnswerMarks->setVisible(false);
    GroupBoxMiddle->installEventFilter(&window);
    side->addWidget(GroupBoxMiddle, 2);

    // The bottom box: the answer box and the strip of study buttons.
    GroupBoxBottom = NewBox(parent, "GroupBoxBottom");
    GroupBoxBottom->setFixedHeight(kBottomBoxHeight);
    pcontrol = Named(new QFrame(GroupBoxBottom), "pcontrol");
    auto* strip = new QGridLayout(pcontrol);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->setSpacing(kStripSpacing);
    EditInput = Named(new AnswerEdit(pcontrol), "EditInput");
    // Kana and kanji typed here are Japanese; Latin letters keep the
    // answer box's own face.
    EditInput->setFont(JapaneseFirst(PixelFont(QStringLiteral("Comic Sans MS"), 24)));
    EditInput->setFixedSize(kAnswerBoxWidth, kStripHeight);
    strip->addWidget(EditInput, 0, 0);
    ButtonFullScreen = NewCommandButton(pcontrol, "ButtonFullScreen", "全屏");
    ButtonDeGrade = NewCommandButton(pcontrol, "ButtonDeGrade", "降级");
    ButtonUpGrade = NewCommandButton(pcontrol, "ButtonUpGrade", "升级");
    ButtonPriorWord = NewCommandButton(pcontrol, "ButtonPriorWord", "前一个");
    ButtonNextWord = NewCommandButton(pcontrol, "ButtonNextWord", "后一个");
    ButtonPrompt = NewCommandButton(pcontrol, "ButtonPrompt", "提示");
    ButtonMyNewWord = NewCommandButton(pcontrol, "ButtonMyNewWord", "收藏");
    int column = 0;
    for (QPushButton* b : {ButtonFullScreen, ButtonDeGrade, ButtonUpGrade, ButtonPriorWord, ButtonNextWord,
                           ButtonPrompt, ButtonMyNewWord}) {
        b->setFixedSize(kStripButtonWidth, kStripHeight);
        strip->addWidget(b, 0, ++column);
    }
    pcontrol->adjustSize();
    GroupBoxBottom->installEventFilter(&window);
    side->addWidget(GroupBoxBottom);
    window.setFocusProxy(EditInput);
    // The window's first activation gives the keyboard to its focused
    // control, else to the first of its focus chain, a command a stray Space
    // would press: the answer box is the focused one from the start.
    EditInput->setFocus();
    FitToScreenHeight();
}

void TformMain::Ui::FitToScreenHeight() {
    const int height = ScreenHeight();
    if (height >= kDesignHeight) {
        ApplyLeftColumnSizes(kDesignSizes);
        if (FitClockToHeight(height, kDesignSizes.clock)) return;
    }
    ApplyLeftColumnSizes(kTightSizes);
    FitClockToHeight(height, kTightSizes.clock);
}

void TformMain::Ui::ApplyLeftColumnSizes(const LeftColumnSizes& sizes) {
    const int line = QFontMetrics(window.font()).height();
    const int row = std::max(sizes.row, line);
    for (RadioGroup* group : {GroupGrade, GroupReadMode, GroupMemoryMode})
        for (int i = 0; i < group->ItemCount(); ++i) group->Item(i)->setFixedHeight(row);
    const int button = std::max(sizes.button, line + 2);
    ButtonPause->setFixedHeight(button);
    for (QPushButton* b : PanelButtons->findChildren<QPushButton*>()) b->setFixedHeight(button);
    MemoC->setMinimumHeight(sizes.meaningHeight);
    QList<QLabel*> labels{LabelGradeHeader};
    for (const char* name : {"GroupBoxWordLib", "GroupBoxTime"}) {
        auto* box = Panel11->findChild<QGroupBox*>(QLatin1String(name));
        box->layout()->setContentsMargins(sizes.margin, sizes.margin, sizes.margin, sizes.margin);
        labels << box->findChildren<QLabel*>();
    }
    for (QLabel* label : labels) {
        const int labelHeight = sizes.label ? std::max(sizes.label, label->fontMetrics().height()) : 0;
        label->setMinimumHeight(labelHeight);
        label->setMaximumHeight(labelHeight ? labelHeight : QWIDGETSIZE_MAX);
    }
}

void TformMain::Ui::FitWordBoxToPanel() {
    const QSize box = GroupBoxTop->size();
    const double scale = std::clamp(std::min(static_cast<double>(box.width()) / kDesignWordBoxWidth,
                                             static_cast<double>(box.height()) / kDesignWordBoxHeight),
                                    1.0, kLargestWordBoxScale);
    const int word = static_cast<int>(kWordPixels * scale);
    if (word == wordPixels_) return;
    wordPixels_ = word;
    readingPixels_ = static_cast<int>(kReadingPixels * scale);
    meaningStartPoints_ = static_cast<int>(kMeaningPoints * scale);
    PanelE->setMinimumHeight(static_cast<int>(kWordRowHeight * scale));
    PanelT->setMinimumHeight(static_cast<int>(kReadingRowHeight * scale));
    FitWordToWidth();
    FitMeaning();
}

void TformMain::Ui::FitWordToWidth() {
    FitLabelToWidth(PanelE, wordPixels_);
    FitLabelToWidth(PanelT, readingPixels_);
}

// Sets the large clock to the biggest pixel size up to `pixels` with which
// the window's least height stays within `height`; false when even the
// smallest clock leaves the window too high.
bool TformMain::Ui::FitClockToHeight(int height, int pixels) {
    for (;; --pixels) {
        PanelThisTime->setFont(PixelFont(QStringLiteral("Arial"), pixels, true));
        if (!window.layout() || !Panel11->isVisibleTo(&window)) return true;
        // Layouts keep the least sizes of their widgets until told that
        // they changed, which they otherwise learn only from posted events:
        // every widget and layout of the column (its boxes' own layouts
        // too) and the layouts holding it must forget them, or the window
        // keeps an earlier, higher least size.
        for (QWidget* inner : Panel11->findChildren<QWidget*>()) inner->updateGeometry();
        for (QLayout* inner : Panel11->findChildren<QLayout*>()) inner->invalidate();
        for (QWidget* w = Panel11;; w = w->parentWidget()) {
            InvalidateLayouts(w->layout());
            if (w == &window) break;
            w->updateGeometry();
        }
        if (window.layout()->minimumSize().height() <= height) return true;
        if (pixels <= kSmallestClockPixels) return false;
    }
}

// Centres the control strip in the bottom box and the comment panel in the
// middle box. The strip keeps a dozen characters of the answer in sight:
// the buttons narrow first, and where that is not enough (a 640-pixel
// screen with the left column shown) they go to a row of their own below
// the answer box.
void TformMain::Ui::GroupBoxMiddleResize() {
    const QList<QPushButton*> buttons = pcontrol->findChildren<QPushButton*>();
    const int count = std::max(static_cast<int>(buttons.size()), 1);
    const int room = GroupBoxBottom->contentsRect().width() - 4;
    const int twelve =
        EditInput->fontMetrics().horizontalAdvance(QString(kLeastAnswerCharacters, QChar(0x3042))) + kAnswerBoxPadding;
    int answerWidth = std::max(twelve, kAnswerBoxWidth);
    int buttonWidth = std::min((room - answerWidth) / count - kStripSpacing, kStripButtonWidth);
    const bool twoRows = buttonWidth < kNarrowestStripButton;
    if (twoRows) {
        buttonWidth =
            std::clamp((room + kStripSpacing) / count - kStripSpacing, kNarrowestStripButton, kStripButtonWidth);
        answerWidth = std::max(count * (buttonWidth + kStripSpacing) - kStripSpacing, std::min(twelve, room));
    }
    const bool switched = twoRows != stripInTwoRows_;
    if (switched) {
        stripInTwoRows_ = twoRows;
        auto* grid = static_cast<QGridLayout*>(pcontrol->layout());
        grid->removeWidget(EditInput);
        for (QPushButton* button : buttons) grid->removeWidget(button);
        grid->addWidget(EditInput, 0, 0, 1, twoRows ? count : 1);
        for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
            buttons[i]->setFixedHeight(twoRows ? kLowStripButtonHeight : kStripHeight);
            grid->addWidget(buttons[i], twoRows ? 1 : 0, twoRows ? i : i + 1);
        }
        EditInput->setFixedHeight(twoRows ? kLowAnswerBoxHeight : kStripHeight);
    }
    if (switched || EditInput->width() != answerWidth || buttons.first()->width() != buttonWidth) {
        EditInput->setFixedWidth(answerWidth);
        for (QPushButton* button : buttons) button->setFixedWidth(buttonWidth);
        pcontrol->layout()->activate();
        pcontrol->adjustSize();
    }
    pcontrol->setVisible(false);
    pcontrol->move((GroupBoxBottom->width() - pcontrol->width()) / 2,
                   (GroupBoxBottom->height() - pcontrol->height()) / 2);
    pcontrol->setVisible(true);
    PlaceAnswerMarks();
}

void TformMain::ApplyColours() {
    const QColor back = ColourFromValue(manage_.backcolor);
    const QColor font = ColourFromValue(manage_.fontcolor);
    const QColor border = ColourFromValue(manage_.bordercolor);

    // Text colour of the window font, inherited by every label and group.
    QPalette main = ui_->PanelMain->palette();
    main.setColor(QPalette::Window, back);
    main.setColor(QPalette::WindowText, font);
    main.setColor(QPalette::Text, font);
    main.setColor(QPalette::Base, back);
    ui_->PanelMain->setPalette(main);

    QPalette comment = ui_->PanelComment->palette();
    comment.setColor(QPalette::Window, back);
    comment.setColor(QPalette::WindowText, font);
    ui_->PanelComment->setPalette(comment);
    ui_->PanelAnswerMarks->setPalette(comment);

    for (QWidget* w : {static_cast<QWidget*>(ui_->MemoC), static_cast<QWidget*>(ui_->MemoSentence),
                       static_cast<QWidget*>(ui_->ListBoxGrade), static_cast<QWidget*>(ui_->EditInput)}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Base, back);
        p.setColor(QPalette::Text, font);
        p.setColor(QPalette::Disabled, QPalette::Text, font);
        p.setColor(QPalette::WindowText, font);
        w->setPalette(p);
    }
    // What was painted in the old background is a hidden answer: it stays
    // hidden in the new one, everything else takes the new font colour.
    const int oldBack = ui_->windowBack_;
    ui_->windowBack_ = manage_.backcolor;
    const auto again = [&](int painted) {
        return painted >= 0 && painted == oldBack ? manage_.backcolor : manage_.fontcolor;
    };
    ui_->PaintWord(again(ui_->wordColour_));
    ui_->PaintReading(again(ui_->readingColour_));
    ui_->PaintMeaning(again(ui_->meaningColour_));
    const auto sentenceAgain = [&](int painted) { return painted >= 0 && painted == oldBack ? manage_.backcolor : -1; };
    ui_->sentenceColour_ = sentenceAgain(ui_->sentenceColour_);
    ui_->translationColour_ = sentenceAgain(ui_->translationColour_);
    ui_->ApplySentenceColours();
    QPalette line = ui_->LabelLine->palette();
    line.setColor(QPalette::Window, border);
    ui_->LabelLine->setPalette(line);

    // Frames of the boxes and radio groups and the border of the answer box.
    for (FramedBox* box : ui_->PanelMain->findChildren<FramedBox*>()) box->SetBorderColour(border);
    ui_->EditInput->SetBorderColour(border);

    // One blank row below the grade labels, kept once however often the
    // colours change.
    const QString blankRow(18, QLatin1Char(' '));
    if (ui_->ListBoxGrade->count() == 6) ui_->ListBoxGrade->addItem(blankRow);
}

// The labels are a list of their own beside the radio group, so their rows
// follow the group's items: the same pitch, starting level with the first.
void TformMain::Ui::AlignGradeLabels() {
    if (GroupGrade->ItemCount() < 2) return;
    auto centre = [this](int i) {
        const QRadioButton* item = GroupGrade->Item(i);
        return item->mapTo(PanelGrade, item->rect().center()).y();
    };
    const int pitch = centre(1) - centre(0);
    if (pitch <= 0) return;
    const int top = std::max(centre(0) - (pitch - 1) / 2 - GroupGrade->y(), 0);
    if (gradeLabelsTop_->sizeHint().height() != top) {
        gradeLabelsTop_->changeSize(0, top, QSizePolicy::Minimum, QSizePolicy::Fixed);
        PanelGrade->layout()->invalidate();
    }
    for (int row = 0; row < ListBoxGrade->count(); ++row)
        ListBoxGrade->item(row)->setSizeHint(QSize(ListBoxGrade->width(), pitch));
}

std::vector<QWidget*> TformMain::Ui::TabRound() const {
    return {EditInput,    ButtonFullScreen, ButtonDeGrade, ButtonUpGrade, ButtonPriorWord,     ButtonNextWord,
            ButtonPrompt, ButtonMyNewWord,  ButtonPause,   suiButton2,    ButtonSelectWordLib, suiButton5,
            suiButton3,   ButtonReturn,     suiButton4,    suiButton10,   ButtonStats};
}

// Tab goes round the answer box, the strip and the commands, whatever the
// window's focus proxy makes of the order the controls were made in.
bool TformMain::focusNextPrevChild(bool next) {
    const std::vector<QWidget*> round = ui_->TabRound();
    const int n = static_cast<int>(round.size());
    const auto at = std::find(round.begin(), round.end(), focusWidget());
    int i = at == round.end() ? (next ? n - 1 : 0) : static_cast<int>(at - round.begin());
    for (int step = 0; step < n; ++step) {
        i = (i + (next ? 1 : n - 1)) % n;
        QWidget* candidate = round[i];
        if (candidate->isVisible() && candidate->isEnabled()) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}
