// The study settings page: every change goes at once into the
// configuration store and into the study window's live copies.

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <tuple>

#include "core/appmessage.h"
#include "core/colourcontrast.h"
#include "core/colourschemes.h"
#include "core/gbktext.h"
#include "core/manage.h"
#include "core/programfolder.h"
#include "session/studysession.h"
#include "settings/formmakewordlib.h"
#include "widgets/buttons.h"
#include "widgets/colourchooser.h"
#include "widgets/colourvalue.h"
#include "widgets/eventhook.h"
#include "widgets/screentext.h"

namespace {

QGroupBox* Frame(const char* titleUtf8, QWidget* parent) { return new QGroupBox(U(titleUtf8), parent); }

QCheckBox* Check(const char* name, const char* captionUtf8, QWidget* parent) {
    auto* box = new QCheckBox(U(captionUtf8), parent);
    box->setObjectName(name);
    return box;
}

// Typed values outside the range are brought into it when the box loses
// the focus.
QSpinBox* Spin(const char* name, int minimum, int maximum, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(minimum, maximum);
    box->setSingleStep(1);
    box->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    return box;
}

}  // namespace

void TformMakeWordLib::BuildSetupPage() {
    auto* page = static_cast<QVBoxLayout*>(PanelSetup->layout());
    auto* grid = new QGridLayout;
    page->addLayout(grid, 1);

    QGroupBox* delay = Frame("提示显示时间", PanelSetup);
    auto* delayRow = new QHBoxLayout(delay);
    SpinEditDelayTime = Spin("SpinEditDelayTime", 1, 100000, delay);
    delayRow->addWidget(SpinEditDelayTime, 1);
    delayRow->addWidget(new QLabel(U("毫秒"), delay));
    grid->addWidget(delay, 0, 0);

    QGroupBox* spelling = Frame("拼写设置", PanelSetup);
    auto* spellingRow = new QVBoxLayout(spelling);
    CheckBoxAutoClearEditInput = Check("CheckBoxAutoClearEditInput", "拼写错误时自动清除", spelling);
    spellingRow->addWidget(CheckBoxAutoClearEditInput);
    CheckBoxAcceptReading = Check("CheckBoxAcceptReading", "接受读音作答", spelling);
    CheckBoxAcceptReading->setToolTip(U("汉字单词输入其读音（平假名或片假名）也算正确"));
    spellingRow->addWidget(CheckBoxAcceptReading);
    grid->addWidget(spelling, 0, 1);

    QGroupBox* other = Frame("其他设置", PanelSetup);
    auto* otherColumn = new QVBoxLayout(other);
    CheckBoxMute = Check("CheckBoxMute", "静音", other);
    otherColumn->addWidget(CheckBoxMute);
    // The count box sits in the gap of the caption, between "显示" and "个例句".
    CheckBoxShowSentence = Check("CheckBoxShowSentence", "显示　 　　个例句", other);
    CheckBoxShowSentence->setMinimumHeight(26);
    otherColumn->addWidget(CheckBoxShowSentence);
    SpinEditSentenceCountPerWord = Spin("SpinEditSentenceCountPerWord", 1, 3, CheckBoxShowSentence);
    SpinEditSentenceCountPerWord->setEnabled(false);
    {
        QStyleOptionButton option;
        option.initFrom(CheckBoxShowSentence);
        const QRect contents =
            CheckBoxShowSentence->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, CheckBoxShowSentence);
        const QFontMetrics metrics(CheckBoxShowSentence->font());
        const int left = contents.left() + metrics.horizontalAdvance(U("显示"));
        const int width = metrics.horizontalAdvance(U("　 　　"));
        SpinEditSentenceCountPerWord->setGeometry(left, 0, std::max(width, 34), 24);
    }
    grid->addWidget(other, 1, 1);

    QGroupBox* fonts = Frame("字体设置", PanelSetup);
    auto* fontGrid = new QGridLayout(fonts);
    FontComboBoxCN = new QComboBox(fonts);
    FontComboBoxCN->setObjectName("FontComboBoxCN");
    FontComboBoxEN = new QComboBox(fonts);
    FontComboBoxEN->setObjectName("FontComboBoxEN");
    // The store keeps font names in GBK: names it cannot hold are not offered.
    QStringList families;
    for (const QString& family : QFontDatabase::families())
        if (TypedGbk(family)) families << family;
    for (QComboBox* box : {FontComboBoxCN, FontComboBoxEN}) {
        box->addItems(families);
        box->setMaxVisibleItems(16);
    }
    fontGrid->addWidget(new QLabel(U("中文"), fonts), 0, 0);
    fontGrid->addWidget(FontComboBoxCN, 0, 1);
    // The face of the word panel, which shows the Japanese word.
    fontGrid->addWidget(new QLabel(U("日文"), fonts), 1, 0);
    fontGrid->addWidget(FontComboBoxEN, 1, 1);
    grid->addWidget(fonts, 1, 0);

    QGroupBox* colours = Frame("颜色设置", PanelSetup);
    auto* colourGrid = new QGridLayout(colours);
    int row = 0;
    for (auto [panel, name, caption] : {std::tuple{&PanelFontColor, "PanelFontColor", "自定义字体颜色"},
                                        std::tuple{&PanelBackColor, "PanelBackColor", "自定义背景颜色"},
                                        std::tuple{&PanelBorderColor, "PanelBorderColor", "自定义边框颜色"}}) {
        *panel = new QFrame(colours);
        (*panel)->setObjectName(name);
        (*panel)->setFrameShape(QFrame::Box);
        (*panel)->setFixedSize(48, 20);
        (*panel)->setAutoFillBackground(true);
        (*panel)->setCursor(Qt::PointingHandCursor);
        colourGrid->addWidget(new QLabel(U(caption), colours), row, 0);
        colourGrid->addWidget(*panel, row, 1);
        ++row;
    }
    SetPanelColour(PanelFontColor, kColourSchemes[0].fontColor);
    SetPanelColour(PanelBackColor, kColourSchemes[0].backColor);
    SetPanelColour(PanelBorderColor, kColourSchemes[0].borderColor);
    ComboBoxSetColor = new QComboBox(colours);
    ComboBoxSetColor->setObjectName("ComboBoxSetColor");
    for (const ColourScheme& scheme : kColourSchemes) ComboBoxSetColor->addItem(U(scheme.nameUtf8));
    ComboBoxSetColor->setPlaceholderText(U("自定义"));
    ComboBoxSetColor->setCurrentIndex(0);
    colourGrid->addWidget(new QLabel(U("配色方案"), colours), row, 0);
    colourGrid->addWidget(ComboBoxSetColor, row, 1);
    grid->addWidget(colours, 0, 2, 2, 1);

    ButtonWordsWithoutWav = NewButton("ButtonWordsWithoutWav", "无语音单词表", PanelSetup);
    suiButton9 = NewButton("suiButton9", "返 回", PanelSetup);
    ButtonSync = NewButton("ButtonSync", "同步", PanelSetup);
    auto* buttons = EdgeButtonRow(ButtonWordsWithoutWav, suiButton9);
    buttons->insertWidget(1, ButtonSync);
    page->addLayout(buttons);
}

void TformMakeWordLib::ConnectSetupPage() {
    connect(SpinEditDelayTime, &QSpinBox::valueChanged, this, [this] { SpinEditDelayTimeChange(); });
    connect(SpinEditSentenceCountPerWord, &QSpinBox::valueChanged, this,
            [this] { SpinEditSentenceCountPerWordChange(); });
    // `clicked` comes only from the learner, never from setChecked: the
    // program's own setting of the boxes writes nothing back.
    connect(CheckBoxMute, &QCheckBox::clicked, this, [this] { CheckBoxMuteClick(); });
    connect(CheckBoxAutoClearEditInput, &QCheckBox::clicked, this, [this] { CheckBoxAutoClearEditInputClick(); });
    connect(CheckBoxAcceptReading, &QCheckBox::clicked, this, [this] { CheckBoxAcceptReadingClick(); });
    connect(CheckBoxShowSentence, &QCheckBox::toggled, this, [this] { CheckBoxShowSentenceClick(); });
    connect(FontComboBoxCN, &QComboBox::activated, this, [this] { FontComboBoxCNClick(); });
    connect(FontComboBoxEN, &QComboBox::activated, this, [this] { FontComboBoxENClick(); });
    connect(ComboBoxSetColor, &QComboBox::activated, this, [this](int index) { ComboBoxSetColorClick(index); });
    EventHook::Install(PanelFontColor, QEvent::MouseButtonRelease, [this] { PanelFontColorClick(); });
    EventHook::Install(PanelBackColor, QEvent::MouseButtonRelease, [this] { PanelBackColorClick(); });
    EventHook::Install(PanelBorderColor, QEvent::MouseButtonRelease, [this] { PanelBorderColorClick(); });
    connect(suiButton9, &QPushButton::clicked, this, [this] { suiButton9Click(); });
    connect(ButtonWordsWithoutWav, &QPushButton::clicked, this, [this] { ButtonWordsWithoutWavClick(); });
    connect(ButtonSync, &QPushButton::clicked, this, [this] { TurnToSyncPage(); });
}

void TformMakeWordLib::FormCreate() {
    TManage& store = *manage_;
    StudySession& study = *session_;

    CheckBoxMute->setChecked(store.mute);
    CheckBoxAutoClearEditInput->setChecked(store.autocleareditinput);
    CheckBoxAcceptReading->setChecked(store.acceptreading);
    CheckBoxShowSentence->setChecked(store.showsentence);
    CheckBoxShowSentenceClick();
    study.SyncStudyFlags(store.mute, store.autocleareditinput, store.showsentence);

    // The boxes clamp what the store holds; the clamped value is kept.
    emit promptDelayChanged(std::max(store.delaytime, 1));
    {
        const QSignalBlocker quiet(SpinEditDelayTime);
        SpinEditDelayTime->setValue(store.delaytime);
    }
    SpinEditDelayTimeChange();
    {
        const QSignalBlocker quiet(SpinEditSentenceCountPerWord);
        SpinEditSentenceCountPerWord->setValue(store.sentencecountperword);
    }
    SpinEditSentenceCountPerWordChange();

    // The sentence box takes the Chinese font as well: a chosen font must
    // still be in place after the next start.
    emit wordFaceChanged(store.fontnameen);
    emit meaningFaceChanged(store.fontnamecn);
    SelectFont(FontComboBoxEN, store.fontnameen);
    SelectFont(FontComboBoxCN, store.fontnamecn);

    SetPanelColour(PanelFontColor, store.fontcolor);
    SetPanelColour(PanelBackColor, store.backcolor);
    SetPanelColour(PanelBorderColor, store.bordercolor);
    TakeColoursIntoStudyLists();

    // What the study window reads back whenever it becomes active: the
    // boxes and panels are the live source of these values.
    QPointer<TformMakeWordLib> self(this);
    study.activationSource = [self] {
        StudySession::Settings s;
        if (!self) return s;
        s.autoClear = self->CheckBoxAutoClearEditInput->isChecked();
        s.mute = self->CheckBoxMute->isChecked();
        s.showSentence = self->CheckBoxShowSentence->isChecked();
        s.fontColor = PanelColour(self->PanelFontColor);
        s.backColor = PanelColour(self->PanelBackColor);
        return s;
    };
}

// A font the store names but the system does not have is still offered,
// first in the list, so the box shows the setting in force.
void TformMakeWordLib::SelectFont(QComboBox* box, const std::string& gbkName) {
    const QString name = Screen(gbkName);
    if (name.isEmpty()) return;
    int index = box->findText(name);
    if (index < 0) {
        box->insertItem(0, name);
        index = 0;
    }
    box->setCurrentIndex(index);
}

// The box names the scheme the three colours make; colours picked by hand
// that make none show "自定义" instead of a scheme they no longer are.
void TformMakeWordLib::FormActivate() {
    const int scheme =
        FindColourScheme(PanelColour(PanelFontColor), PanelColour(PanelBackColor), PanelColour(PanelBorderColor));
    ComboBoxSetColor->setCurrentIndex(scheme);
}

void TformMakeWordLib::SpinEditDelayTimeChange() {
    if (!manage_) return;
    manage_->delaytime = SpinEditDelayTime->value();
    emit promptDelayChanged(SpinEditDelayTime->value());
}

void TformMakeWordLib::CheckBoxMuteClick() {
    if (!manage_) return;
    const bool on = CheckBoxMute->isChecked();
    manage_->mute = on;
    session_->WordLib.Mute = session_->WordLib0.Mute = on;
}

void TformMakeWordLib::CheckBoxAutoClearEditInputClick() {
    if (!manage_) return;
    const bool on = CheckBoxAutoClearEditInput->isChecked();
    manage_->autocleareditinput = on;
    session_->WordLib.AutoClear = session_->WordLib0.AutoClear = on;
}

// The study window reads the store's setting at each answer it judges.
void TformMakeWordLib::CheckBoxAcceptReadingClick() {
    if (manage_) manage_->acceptreading = CheckBoxAcceptReading->isChecked();
}

void TformMakeWordLib::CheckBoxShowSentenceClick() {
    SpinEditSentenceCountPerWord->setEnabled(CheckBoxShowSentence->isChecked());
}

void TformMakeWordLib::SpinEditSentenceCountPerWordChange() {
    if (!manage_) return;
    manage_->sentencecountperword = SpinEditSentenceCountPerWord->value();
    session_->WordLib.SentenceCountPerWord = SpinEditSentenceCountPerWord->value();
}

void TformMakeWordLib::FontComboBoxCNClick() {
    if (!manage_) return;
    manage_->fontnamecn = FromScreen(FontComboBoxCN->currentText());
    emit meaningFaceChanged(manage_->fontnamecn);
}

void TformMakeWordLib::FontComboBoxENClick() {
    if (!manage_) return;
    manage_->fontnameen = FromScreen(FontComboBoxEN->currentText());
    emit wordFaceChanged(manage_->fontnameen);
}

void TformMakeWordLib::PanelFontColorClick() { PickColour(PanelFontColor, &TManage::fontcolor); }

void TformMakeWordLib::PanelBackColorClick() { PickColour(PanelBackColor, &TManage::backcolor); }

void TformMakeWordLib::PanelBorderColorClick() { PickColour(PanelBorderColor, &TManage::bordercolor); }

void TformMakeWordLib::PickColour(QFrame* panel, int TManage::*key) {
    const std::optional<int> chosen = ChooseColour(this, PanelColour(panel));
    if (!chosen) return;
    // A word is hidden by painting it in the background colour: text in
    // that colour, or nearly, could never be seen again.
    const bool font = panel == PanelFontColor, back = panel == PanelBackColor;
    if ((font && !TextStandsOut(*chosen, PanelColour(PanelBackColor))) ||
        (back && !TextStandsOut(PanelColour(PanelFontColor), *chosen))) {
        ShowAppMessageUtf8(font ? "字体颜色与背景颜色太接近，单词会看不清！\r\n\r\n请另选一种字体颜色。"
                                : "背景颜色与字体颜色太接近，单词会看不清！\r\n\r\n请另选一种背景颜色。");
        return;
    }
    SetPanelColour(panel, *chosen);
    FormActivate();
    if (!manage_) return;
    manage_->*key = *chosen;
    emit coloursChanged();
}

void TformMakeWordLib::ComboBoxSetColorClick(int index) {
    if (index >= 0 && index < static_cast<int>(kColourSchemes.size())) {
        const ColourScheme& scheme = kColourSchemes[index];
        SetPanelColour(PanelFontColor, scheme.fontColor);
        SetPanelColour(PanelBackColor, scheme.backColor);
        SetPanelColour(PanelBorderColor, scheme.borderColor);
    }
    if (!manage_) return;
    manage_->backcolor = PanelColour(PanelBackColor);
    manage_->fontcolor = PanelColour(PanelFontColor);
    manage_->bordercolor = PanelColour(PanelBorderColor);
    TakeColoursIntoStudyLists();
    emit coloursChanged();
}

void TformMakeWordLib::TakeColoursIntoStudyLists() {
    session_->SyncColours(PanelColour(PanelFontColor), PanelColour(PanelBackColor));
}

void TformMakeWordLib::suiButton9Click() {
    ApplySentenceSwitch();
    // Hiding gives the study window back its input and its clock.
    hide();
}

void TformMakeWordLib::ButtonWordsWithoutWavClick() {
    // The study window reads the sentence box back when it is given back,
    // from whichever page: the sentences must be loaded by then.
    ApplySentenceSwitch();
    BringToFront(PanelWordsWithoutWav);
}

void TformMakeWordLib::ApplySentenceSwitch() {
    StudySession& study = *session_;
    TWordLib& list = study.WordLib;
    const bool wanted = CheckBoxShowSentence->isChecked();
    const bool changed = wanted != list.ShowSentence;
    if (changed) {
        manage_->showsentence = wanted;
        list.ShowSentence = study.WordLib0.ShowSentence = wanted;
        if (wanted) study.DataLists.LoadSentenceLists(GetProgramFolder());
    }
    // Sentences switched off leave the screen at once rather than with the
    // next word.
    if (list.HasCurrentWord() && (list.ShowSentence || changed))
        emit sentencesToRedraw(list.Words[list.CurrentIndex].Word);
}

int TformMakeWordLib::PanelColour(const QFrame* panel) { return panel->property("colour").toInt(); }

void TformMakeWordLib::SetPanelColour(QFrame* panel, int colour) {
    panel->setProperty("colour", colour);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, ColourFromValue(colour));
    panel->setPalette(palette);
}
