// Creation of the study window and the flow of studying: next and previous
// word, grades, the ends of groups and cycles, the periodic save, the modes
// and collecting a word.

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <filesystem>

#include "core/appmessage.h"
#include "core/favourites.h"
#include "core/gbktext.h"
#include "core/manage.h"
#include "core/numbertext.h"
#include "core/programfolder.h"
#include "platform/fontregistration.h"
#include "platform/hotkey.h"
#include "platform/mediaplayer.h"
#include "study/formmain_ui.h"
#include "widgets/answeredit.h"
#include "widgets/colourvalue.h"
#include "widgets/plainmessage.h"
#include "widgets/radiogroup.h"
#include "widgets/screentext.h"
#include "widgets/virtualkey.h"

namespace {

constexpr int kHotKeyId = 2000;

std::string Num(int value) { return IntToStr(value); }

// Words are not collected into the favourites from the favourites: says so,
// and answers whether `gbkLibraryName` is the favourites.
bool RefusedInFavourites(const std::string& gbkLibraryName) {
    if (gbkLibraryName != Gbk(kFavouritesName)) return false;
    ShowAppMessageUtf8("您现在使用的是收藏库！还让我往哪收藏？");
    return true;
}

}  // namespace

TformMain::TformMain(TManage& manage, QWidget* parent)
    : QWidget(parent), study_(manage), ui_(std::make_unique<Ui>(*this)), manage_(manage) {
    ui_->mpl = CreateSystemMediaPlayer();
    BuildLayout();
    ui_->TimerSave = new QTimer(this);
    ui_->TimerSave->setObjectName("TimerSave");
    ui_->TimerSave->setSingleShot(true);
    ui_->TimerSave->setInterval(kSaveDelayMs);
    ConnectControls();
    ConnectWindowCommands();
    connect(this, &TformMain::answerJudged, this, [this](const JudgedAnswer& a) { recorder_.RecordJudgedAnswer(a); });
    FormCreate();
}

TformMain::Ui::Ui(TformMain& window) : window(window) {}

TformMain::Ui::~Ui() = default;

TformMain::~TformMain() {
    recorder_.RecordStudySession();
    if (ui_->hotKey_) ui_->hotKey_->Unregister(kHotKeyId);
    study_.WordLib.SetDisplay(nullptr);
    study_.WordLib0.SetDisplay(nullptr);
}

void TformMain::SetMediaPlayer(std::unique_ptr<MediaPlayer> player) {
    if (player) ui_->mpl = std::move(player);
}

void TformMain::ConnectControls() {
    connect(ui_->ButtonNextWord, &QPushButton::clicked, this, [this] { ButtonNextWordClick(); });
    connect(ui_->ButtonPriorWord, &QPushButton::clicked, this, [this] { ButtonPriorWordClick(); });
    connect(ui_->ButtonStats, &QPushButton::clicked, this, [this] {
        recorder_.RecordStudySession();
        emit statisticsRequested();
    });
    connect(ui_->ButtonUpGrade, &QPushButton::clicked, this, [this] { GradeOne(GradeCause::Button, true); });
    connect(ui_->ButtonDeGrade, &QPushButton::clicked, this, [this] { GradeOne(GradeCause::Button, false); });
    connect(ui_->ButtonPrompt, &QPushButton::clicked, this, [this] { ButtonPromptClick(); });
    connect(ui_->ButtonMyNewWord, &QPushButton::clicked, this, [this] { ButtonMyNewWordClick(); });
    connect(ui_->ButtonFullScreen, &QPushButton::clicked, this, [this] { ui_->ButtonFullScreenClick(); });
    connect(ui_->GroupGrade, &RadioGroup::itemClicked, this, [this](int item) { GroupGradeClick(item); });
    connect(ui_->GroupReadMode, &RadioGroup::itemClicked, this, [this](int item) { GroupReadModeClick(item); });
    connect(ui_->GroupMemoryMode, &RadioGroup::itemClicked, this, [this](int item) { GroupMemoryModeClick(item); });
    connect(ui_->TimerPrompt, &QTimer::timeout, this, [this] { TimerPromptTimer(); });
    connect(ui_->TimerComment, &QTimer::timeout, this, [this] { TimerCommentTimer(); });
    connect(ui_->TimerSetFocus, &QTimer::timeout, this, [this] { TimerSetFocusTimer(); });
    connect(ui_->TimerSave, &QTimer::timeout, this, [this] { TimerSaveTimer(); });
    ui_->EditInput->onKeyDown = [this](int key) {
        const bool composition = key == AnswerEdit::kInputMethodKey;
        EditInputKeyDown(key);
        // Typed text shows again when its key is released; a composition
        // has no release until it is committed, and must be seen meanwhile.
        if (composition) ui_->SetAnswerColour(study_.WordLib.FontColor);
        return key == 0;
    };
    ui_->EditInput->onKeyUp = [this](int key) { EditInputKeyUp(key); };
}

void TformMain::FormCreate() {
    ui_->hotKey_ = CreateHotKeyAdapter();
    const bool registered = ui_->hotKey_->Register(kHotKeyId, vk::F9, [this] {
        if (onHotKey) onHotKey();
    });
    if (!registered) ShowPlainMessageUtf8("F9热键注册失败");

    std::string folder = GetProgramFolder();
    if (folder.empty()) folder = FromNativePath(QCoreApplication::applicationDirPath().toStdString()) + "/";
    SetProgramFolder(folder);
    study_.WordLib.ProgramFolder = folder;

    ApplyColours();

    study_.WordLib.ReadMode = manage_.readmode;
    study_.WordLib.MemoryMode = manage_.memorymode;
    ui_->GroupReadMode->SetItemIndex(manage_.readmode);
    ui_->GroupMemoryMode->SetItemIndex(manage_.memorymode);
    study_.SyncStudyFlags(manage_.mute, manage_.autocleareditinput, manage_.showsentence);
    study_.WordLib.SentenceCountPerWord = manage_.sentencecountperword;

    study_.WordLib.SetDisplay(ui_.get());
    study_.SyncColours(manage_.fontcolor, manage_.backcolor);

    QFont phonetic = ui_->PanelT->font();
    phonetic.setFamily(QString::fromLatin1(kPhoneticFace));
    ui_->PanelT->setFont(WithJapaneseFallback(phonetic));

    std::vector<std::string> unreadable = study_.DataLists.LoadWordLists(folder);
    if (manage_.showsentence)
        for (const std::string& name : study_.DataLists.LoadSentenceLists(folder)) unreadable.push_back(name);
    for (const std::string& name : unreadable) ShowAppMessage(UnreadableDataListMessage(name));

    study_.WordLib0.StudyLib = &study_.WordLib;
    study_.WordLib0.SetDisplay(ui_.get());
    study_.MyWordLib.BindCountDisplay(
        [this](const std::string& caption) { ui_->PanelMyWordLibWordCount->setText(Screen(caption)); });

    // The window fills the screen; 790 by 541 is only its design size.
    if (QScreen* screen = this->screen()) setGeometry(screen->availableGeometry());
    ui_->meaningOnScreen_.clear();
    ui_->MemoC->clear();
    study_.SetMeaningOnScreen({});
    ui_->TimerPrompt->setInterval(std::max(manage_.delaytime, 1));
    ui_->TimerSetFocus->start();
}

bool TformMain::event(QEvent* e) {
    // The settings window may have changed what the session studies with.
    if (e->type() == QEvent::WindowActivate) study_.ApplySettings(study_.ActivationSettings());
    return QWidget::event(e);
}

void TformMain::SetLibraryName(const std::string& gbkName) {
    study_.SetLibraryName(gbkName);
    ShowLibraryUnderStudy();
}

void TformMain::ShowLibraryUnderStudy() {
    ui_->LabelWordLibName->setText(Screen(study_.LibraryName()));
    if (study_.LibraryName().empty()) return;
    recorder_.BeginStudySession();
    recorder_.RecordGradeCounts();
}

void TformMain::OpenLastWordLib(const std::string& gbkUserFolder) {
    recorder_.Open(gbkUserFolder);
    const std::string file = manage_.GetCurrentLibrary();
    const std::string path = gbkUserFolder + file;
    std::error_code ec;
    const bool there = !file.empty() && std::filesystem::is_regular_file(ToNativePath(path), ec);
    // A library that cannot be opened has said why; the one still open
    // is the learner's before, not this one's.
    if (there && study_.WordLib0.OpenWordLib(path)) {
        SetLibraryName(file.size() >= 3 ? file.substr(0, file.size() - 3) : std::string());
        ShowCountersOfLibrary();
        return;
    }
    // Whatever the learner before left open is theirs, not this one's.
    study_.WordLib0.CloseWordLib();
    study_.WordLib.Step = 0;
    SetLibraryName({});
    ShowCountersOfLibrary();
    if (file.empty()) return;
    if (!there)
        ShowAppMessage(Gbk("上次学习的词库“") + (file.size() >= 3 ? file.substr(0, file.size() - 3) : file) +
                       Gbk("”已经不在了（可能是恢复了没有它的备份，或者文件被删除了）。\r\n\r\n请选择要学习的词库。"));
    // Once the login has finished, the learner chooses a library.
    QTimer::singleShot(0, this, [this] {
        if (inSession_ && isVisible() && isEnabled()) emit libraryChoiceRequested();
    });
}

// Every counter and clock on screen belongs to the library now open (or to
// none): nothing of the library or learner before stays.
void TformMain::ShowCountersOfLibrary() {
    study_.WordLib.ShowGradeCounts();
    study_.WordLib0.ShowGroupNo();
    study_.WordLib.ShowCycleNo();
    if (study_.WordLib.HasCurrentWord())
        study_.WordLib.RefreshStudyCount();
    else
        ui_->LabelWordStudyCount->setText(QStringLiteral("0 / 0"));
    ShowClocks();
}

void TformMain::SaveForSync() { study_.SaveLibrary(); }

void TformMain::ButtonNextWordClick() {
    // Space after the last word's right answer, and the grade commands, can
    // leave grade 0 at the end of the group with no word to show. From there
    // the next-word step would claim every word is upgraded, or count the
    // new cycle twice; the group is finished as Space on the empty box
    // finishes it.
    const bool pastTheGroup = study_.WordLib.WordCount > 0 && study_.WordLib.CurrentGrade == 0 &&
                              study_.WordLib.CurrentIndex >= study_.WordLib.WordCount;
    switch (pastTheGroup ? kNextGroupEnd : study_.WordLib.NextWord(true)) {
        case kNextNoWords:
            ShowAppMessageUtf8("请先选择词库");
            break;
        case kNextGroupEnd:
            GroupEndSequence();
            break;
        case kNextCycleEnd:
            CycleEndSequence(true);
            break;
        case kNextNoneLeft:
            ShowAppMessageUtf8("祝贺你!所有单词已经升级完成");
            break;
        default:
            break;
    }
    ResetAnswerBox();
    NoteProgress();
    if (study_.SaveIfDueAfterNextWord()) ShowProgressSaved();
}

// The library was saved on the way: the journal follows, and the sentence
// box says so.
void TformMain::ShowProgressSaved() {
    recorder_.RecordGradeCounts();
    recorder_.RecordStudySession();
    ui_->MemoSentence->clear();
    ui_->MemoSentence->appendPlainText(QStringLiteral("<editor>marrowfen</editor>"));
}

// Words also come on screen without "后一个": Space after a right answer and
// the grade commands move on by themselves. Progress is saved when one of
// them shows the 500th, 1000th, ... word, as "后一个" would.
void TformMain::SaveProgressIfShownReached(int shownBefore) {
    if (study_.SaveIfShownReached(shownBefore)) ShowProgressSaved();
}

void TformMain::GroupEndSequence() {
    NoteProgress();
    study_.WordLib0.StoreGroup();
    ShowAppMessage(Gbk("祝贺你!完成第") + Num(study_.WordLib0.LoopTimes) + Gbk("循环第") +
                   Num(study_.WordLib0.GroupIndex + 1) + Gbk("分组"));
    switch (study_.WordLib0.NextGroup()) {
        case kGroupNoGradeZero:
            RestartAtGradeZero();
            break;
        case kGroupCycleEnd:
            CycleEndSequence(false);
            break;
        default:
            break;
    }
    study_.WordLib.ShowFirstWordOfGrade();
}

void TformMain::CycleEndSequence(bool storeGroupFirst) {
    study_.WordLib0.LoopTimes += 1;
    study_.WordLib.LoopTimes += 1;
    ShowAppMessage(Gbk("祝贺你!完成本次循环！现在进入第") + Num(study_.WordLib0.LoopTimes) + Gbk("循环"));
    // Both copies: the next group load copies the whole library's value into
    // the study list, which would bring the old cycle time back.
    study_.WordLib.ThisLoopTime = 0;
    study_.WordLib0.ThisLoopTime = 0;
    if (storeGroupFirst) study_.WordLib0.StoreGroup();
    study_.WordLib0.ShuffleWords();
    ui_->WriteCycleNo(Num(study_.WordLib0.LoopTimes));
    study_.WordLib0.GroupIndex = -1;
    if (study_.WordLib0.NextGroup() == kGroupNoGradeZero) RestartAtGradeZero();
    // Saved once the new cycle's first group is loaded, so the file names a
    // group that exists rather than the one past the last.
    study_.WordLib0.SaveWordLib();
}

// No grade-0 word is left in the whole library. The grades come down until
// grade 0 holds words again and study goes on there in the same step: a
// search that found no group would leave the study list on a group the
// library has left, whose grade changes could never be stored.
void TformMain::RestartAtGradeZero() {
    if (study_.WordLib0.Count == 0) return;
    study_.WordLib.HideAll();
    // The number is the label "级别" shows beside grade 0, the level every
    // word has now left; it is no count of words.
    ShowAppMessage(Gbk("祝贺你！所有") + Num(study_.WordLib0.BaseGrade) + Gbk("级单词已经升级完毕！"));
    recorder_.RecordCycleEndGrades(study_.WordLib0.LowerAllGrades());
    study_.WordLib.CurrentGrade = study_.WordLib.SearchGrade = 0;
    ui_->GroupGrade->SetItemIndex(kTopGrade - 0);  // the item of grade 0
    study_.WordLib0.GroupIndex = -1;
    study_.WordLib0.NextGroup();
}

void TformMain::ResetAnswerBox() {
    EndAnswer();
    ui_->SetAnswerColour(ui_->EditInput->OwnBackground());
    ui_->EditInput->clear();
}

void TformMain::ButtonPriorWordClick() {
    study_.WordLib.PriorWord();
    ResetAnswerBox();
    NoteProgress();
}

void TformMain::GradeOne(GradeCause cause, bool up) {
    // Up from past the end of the group finishes the group first, as Space
    // on the empty box would.
    if (up && study_.WordLib.CurrentIndex >= study_.WordLib.WordCount && ui_->EditInput->text().isEmpty())
        GroupEndSequence();
    const int shown = study_.WordLib.ShownCount;
    recorder_.StepGrade(cause, [this, up] { up ? study_.WordLib.UpGrade(1) : study_.WordLib.DeGrade(1); });
    ResetAnswerBox();
    NoteProgress();
    SaveProgressIfShownReached(shown);
}

void TformMain::GroupGradeClick(int item) {
    if (item < 0 || item >= kGradeLevels) return;
    study_.WordLib.PickGrade(item);
    NoteProgress();
    ui_->EditInput->setFocus();
}

void TformMain::GroupReadModeClick(int item) {
    if (!isVisible()) return;
    try {
        manage_.readmode = item;
        study_.WordLib.ReadMode = item;
        study_.WordLib.ShowWord();
        ui_->EditInput->setFocus();
        ui_->EditInput->setCursorPosition(100);
    } catch (...) {
    }
}

void TformMain::GroupMemoryModeClick(int item) {
    if (!isVisible()) return;
    try {
        manage_.memorymode = item;
        study_.WordLib.MemoryMode = item;
        ui_->EditInput->setFocus();
        ui_->EditInput->setCursorPosition(100);
    } catch (...) {
    }
}

void TformMain::ButtonMyNewWordClick() {
    if (RefusedInFavourites(study_.LibraryName()) || !study_.WordLib.HasCurrentWord()) return;
    const WordList& current = study_.WordLib.Words[static_cast<size_t>(study_.WordLib.CurrentIndex)];
    const int position = study_.MyWordLib.CurrentIndex;
    study_.MyWordLib.AddFavourite(current.Word, current.Meaning);
    study_.MyWordLib.CurrentIndex = position;
    study_.MyWordLib.SaveFavourites();
}

void TformMain::AddWordsToFavourites(const std::vector<std::string>& gbkWords) {
    if (RefusedInFavourites(study_.LibraryName())) return;
    int added = 0;
    const int position = study_.MyWordLib.CurrentIndex;
    for (const std::string& text : gbkWords) {
        for (int i = 0; i < study_.WordLib0.Count; ++i) {
            if (study_.WordLib0.Words[i].Word != text) continue;
            if (study_.MyWordLib.AddFavourite(text, study_.WordLib0.Words[i].Meaning) == FavouriteAdd::Added) ++added;
            break;
        }
    }
    study_.MyWordLib.CurrentIndex = position;
    if (!study_.MyWordLib.SaveFavourites()) return;
    ShowAppMessage(Gbk("已加入收藏库：") + IntToStr(added) + Gbk(" 个单词"));
}

void TformMain::Ui::ButtonFullScreenClick() {
    Panel11->setVisible(!Panel11->isVisible());
    MemoSentence->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MemoSentence->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void TformMain::TimerSetFocusTimer() {
    // A command the learner reached with Tab keeps the keyboard.
    const auto* command = qobject_cast<const QPushButton*>(focusWidget());
    if (command && command->hasFocus()) return;
    if (ui_->EditInput->isVisible() && ui_->EditInput->isEnabled() && isVisible() && isEnabled())
        ui_->EditInput->setFocus();
}

bool TformMain::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Resize && (watched == ui_->GroupBoxMiddle || watched == ui_->GroupBoxBottom))
        ui_->GroupBoxMiddleResize();
    if (watched == ui_->GroupGrade && (e->type() == QEvent::Resize || e->type() == QEvent::Move))
        ui_->AlignGradeLabels();
    if (e->type() == QEvent::Resize) {
        if (watched == ui_->GroupBoxTop) ui_->FitWordBoxToPanel();
        if (watched == ui_->PanelE || watched == ui_->PanelT) ui_->FitWordToWidth();
        if (watched == ui_->MemoC && !ui_->MemoC->toPlainText().isEmpty()) ui_->FitMeaning();
    }
    return QWidget::eventFilter(watched, e);
}
