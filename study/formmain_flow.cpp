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
#include "study/formmain.h"
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
    : QWidget(parent), study_(manage), manage_(manage), mpl(CreateSystemMediaPlayer()) {
    BuildLayout();
    TimerSave = new QTimer(this);
    TimerSave->setObjectName("TimerSave");
    TimerSave->setSingleShot(true);
    TimerSave->setInterval(kSaveDelayMs);
    ConnectControls();
    ConnectWindowCommands();
    connect(this, &TformMain::answerJudged, this, [this](const JudgedAnswer& a) { recorder_.RecordJudgedAnswer(a); });
    FormCreate();
}

TformMain::~TformMain() {
    RecordStudySession();
    if (hotKey_) hotKey_->Unregister(kHotKeyId);
    WordLib.SetDisplay(nullptr);
    WordLib0.SetDisplay(nullptr);
}

void TformMain::SetMediaPlayer(std::unique_ptr<MediaPlayer> player) {
    if (player) mpl = std::move(player);
}

void TformMain::ConnectControls() {
    connect(ButtonNextWord, &QPushButton::clicked, this, [this] { ButtonNextWordClick(); });
    connect(ButtonPriorWord, &QPushButton::clicked, this, [this] { ButtonPriorWordClick(); });
    connect(ButtonStats, &QPushButton::clicked, this, [this] {
        RecordStudySession();
        emit statisticsRequested();
    });
    connect(ButtonUpGrade, &QPushButton::clicked, this, [this] { ButtonUpGradeClick(); });
    connect(ButtonDeGrade, &QPushButton::clicked, this, [this] { ButtonDeGradeClick(); });
    connect(ButtonPrompt, &QPushButton::clicked, this, [this] { ButtonPromptClick(); });
    connect(ButtonMyNewWord, &QPushButton::clicked, this, [this] { ButtonMyNewWordClick(); });
    connect(ButtonFullScreen, &QPushButton::clicked, this, [this] { ButtonFullScreenClick(); });
    connect(GroupGrade, &RadioGroup::itemClicked, this, [this](int item) { GroupGradeClick(item); });
    connect(GroupReadMode, &RadioGroup::itemClicked, this, [this](int item) { GroupReadModeClick(item); });
    connect(GroupMemoryMode, &RadioGroup::itemClicked, this, [this](int item) { GroupMemoryModeClick(item); });
    connect(TimerPrompt, &QTimer::timeout, this, [this] { TimerPromptTimer(); });
    connect(TimerComment, &QTimer::timeout, this, [this] { TimerCommentTimer(); });
    connect(TimerSetFocus, &QTimer::timeout, this, [this] { TimerSetFocusTimer(); });
    connect(TimerSave, &QTimer::timeout, this, [this] { TimerSaveTimer(); });
    EditInput->onKeyDown = [this](int key) {
        const bool composition = key == AnswerEdit::kInputMethodKey;
        EditInputKeyDown(key);
        // Typed text shows again when its key is released; a composition
        // has no release until it is committed, and must be seen meanwhile.
        if (composition) SetAnswerColour(WordLib.FontColor);
        return key == 0;
    };
    EditInput->onKeyUp = [this](int key) { EditInputKeyUp(key); };
}

void TformMain::FormCreate() {
    hotKey_ = CreateHotKeyAdapter();
    const bool registered = hotKey_->Register(kHotKeyId, vk::F9, [this] {
        if (onHotKey) onHotKey();
    });
    if (!registered) ShowPlainMessageUtf8("F9热键注册失败");

    std::string folder = GetProgramFolder();
    if (folder.empty()) folder = FromNativePath(QCoreApplication::applicationDirPath().toStdString()) + "/";
    SetProgramFolder(folder);
    WordLib.ProgramFolder = folder;

    ApplyColours();

    WordLib.ReadMode = manage_.readmode;
    WordLib.MemoryMode = manage_.memorymode;
    GroupReadMode->SetItemIndex(manage_.readmode);
    GroupMemoryMode->SetItemIndex(manage_.memorymode);
    study_.SyncStudyFlags(manage_.mute, manage_.autocleareditinput, manage_.showsentence);
    WordLib.SentenceCountPerWord = manage_.sentencecountperword;

    WordLib.SetDisplay(this);
    study_.SyncColours(manage_.fontcolor, manage_.backcolor);

    QFont phonetic = PanelT->font();
    phonetic.setFamily(QString::fromLatin1(kPhoneticFace));
    PanelT->setFont(WithJapaneseFallback(phonetic));

    std::vector<std::string> unreadable = DataLists.LoadWordLists(folder);
    if (manage_.showsentence)
        for (const std::string& name : DataLists.LoadSentenceLists(folder)) unreadable.push_back(name);
    for (const std::string& name : unreadable) ShowAppMessage(UnreadableDataListMessage(name));

    WordLib0.StudyLib = &WordLib;
    WordLib0.SetDisplay(this);
    MyWordLib.BindCountDisplay(
        [this](const std::string& caption) { PanelMyWordLibWordCount->setText(Screen(caption)); });

    // The window fills the screen; 790 by 541 is only its design size.
    if (QScreen* screen = this->screen()) setGeometry(screen->availableGeometry());
    meaningOnScreen_.clear();
    MemoC->clear();
    study_.SetMeaningOnScreen({});
    TimerPrompt->setInterval(std::max(manage_.delaytime, 1));
    TimerSetFocus->start();
}

bool TformMain::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return QWidget::event(e);
}

void TformMain::FormActivate() { study_.ApplySettings(study_.ActivationSettings()); }

void TformMain::SetLibraryName(const std::string& gbkName) {
    study_.SetLibraryName(gbkName);
    ShowLibraryUnderStudy();
}

void TformMain::ShowLibraryUnderStudy() {
    LabelWordLibName->setText(Screen(LibraryName()));
    if (LibraryName().empty()) return;
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
    if (there && WordLib0.OpenWordLib(path)) {
        SetLibraryName(file.size() >= 3 ? file.substr(0, file.size() - 3) : std::string());
        ShowCountersOfLibrary();
        return;
    }
    // Whatever the learner before left open is theirs, not this one's.
    WordLib0.CloseWordLib();
    WordLib.Step = 0;
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
    WordLib.ShowGradeCounts();
    WordLib0.ShowGroupNo();
    WordLib.ShowCycleNo();
    if (WordLib.HasCurrentWord())
        WordLib.RefreshStudyCount();
    else
        LabelWordStudyCount->setText(QStringLiteral("0 / 0"));
    ShowClocks();
}

void TformMain::SaveForSync() { study_.SaveLibrary(); }

void TformMain::ButtonNextWordClick() {
    // Space after the last word's right answer, and the grade commands, can
    // leave grade 0 at the end of the group with no word to show. From there
    // the next-word step would claim every word is upgraded, or count the
    // new cycle twice; the group is finished as Space on the empty box
    // finishes it.
    const bool pastTheGroup =
        WordLib.WordCount > 0 && WordLib.CurrentGrade == 0 && WordLib.CurrentIndex >= WordLib.WordCount;
    switch (pastTheGroup ? kNextGroupEnd : WordLib.NextWord(true)) {
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
    RecordStudySession();
    MemoSentence->clear();
    MemoSentence->appendPlainText(QStringLiteral("<editor>marrowfen</editor>"));
}

// Words also come on screen without "后一个": Space after a right answer and
// the grade commands move on by themselves. Progress is saved when one of
// them shows the 500th, 1000th, ... word, as "后一个" would.
void TformMain::SaveProgressIfShownReached(int shownBefore) {
    if (study_.SaveIfShownReached(shownBefore)) ShowProgressSaved();
}

void TformMain::GroupEndSequence() {
    NoteProgress();
    WordLib0.StoreGroup();
    ShowAppMessage(Gbk("祝贺你!完成第") + Num(WordLib0.LoopTimes) + Gbk("循环第") + Num(WordLib0.GroupIndex + 1) +
                   Gbk("分组"));
    switch (WordLib0.NextGroup()) {
        case kGroupNoGradeZero:
            RestartAtGradeZero();
            break;
        case kGroupCycleEnd:
            CycleEndSequence(false);
            break;
        default:
            break;
    }
    WordLib.ShowFirstWordOfGrade();
}

void TformMain::CycleEndSequence(bool storeGroupFirst) {
    WordLib0.LoopTimes += 1;
    WordLib.LoopTimes += 1;
    ShowAppMessage(Gbk("祝贺你!完成本次循环！现在进入第") + Num(WordLib0.LoopTimes) + Gbk("循环"));
    // Both copies: the next group load copies the whole library's value into
    // the study list, which would bring the old cycle time back.
    WordLib.ThisLoopTime = 0;
    WordLib0.ThisLoopTime = 0;
    if (storeGroupFirst) WordLib0.StoreGroup();
    WordLib0.ShuffleWords();
    WriteCycleNo(Num(WordLib0.LoopTimes));
    WordLib0.GroupIndex = -1;
    if (WordLib0.NextGroup() == kGroupNoGradeZero) RestartAtGradeZero();
    // Saved once the new cycle's first group is loaded, so the file names a
    // group that exists rather than the one past the last.
    WordLib0.SaveWordLib();
}

// No grade-0 word is left in the whole library. The grades come down until
// grade 0 holds words again and study goes on there in the same step: a
// search that found no group would leave the study list on a group the
// library has left, whose grade changes could never be stored.
void TformMain::RestartAtGradeZero() {
    if (WordLib0.Count == 0) return;
    WordLib.HideAll();
    // The number is the label "级别" shows beside grade 0, the level every
    // word has now left; it is no count of words.
    ShowAppMessage(Gbk("祝贺你！所有") + Num(WordLib0.BaseGrade) + Gbk("级单词已经升级完毕！"));
    recorder_.RecordCycleEndGrades(WordLib0.LowerAllGrades());
    WordLib.CurrentGrade = WordLib.SearchGrade = 0;
    GroupGrade->SetItemIndex(kTopGrade - 0);  // the item of grade 0
    WordLib0.GroupIndex = -1;
    WordLib0.NextGroup();
}

void TformMain::ResetAnswerBox() {
    EndAnswer();
    SetAnswerColour(EditInput->OwnBackground());
    EditInput->clear();
}

void TformMain::ButtonPriorWordClick() {
    WordLib.PriorWord();
    ResetAnswerBox();
    NoteProgress();
}

void TformMain::ButtonDeGradeClick() { GradeOne(GradeCause::Button, false); }

void TformMain::ButtonUpGradeClick() { GradeOne(GradeCause::Button, true); }

void TformMain::GradeOne(GradeCause cause, bool up) {
    // Up from past the end of the group finishes the group first, as Space
    // on the empty box would.
    if (up && WordLib.CurrentIndex >= WordLib.WordCount && EditInput->text().isEmpty()) GroupEndSequence();
    const int shown = WordLib.ShownCount;
    recorder_.StepGrade(cause, [this, up] { up ? WordLib.UpGrade(1) : WordLib.DeGrade(1); });
    ResetAnswerBox();
    NoteProgress();
    SaveProgressIfShownReached(shown);
}

void TformMain::GroupGradeClick(int item) {
    if (item < 0 || item >= kGradeLevels) return;
    WordLib.PickGrade(item);
    NoteProgress();
    EditInput->setFocus();
}

void TformMain::GroupReadModeClick(int item) {
    if (!isVisible()) return;
    try {
        manage_.readmode = item;
        WordLib.ReadMode = item;
        WordLib.ShowWord();
        EditInput->setFocus();
        EditInput->setCursorPosition(100);
    } catch (...) {
    }
}

void TformMain::GroupMemoryModeClick(int item) {
    if (!isVisible()) return;
    try {
        manage_.memorymode = item;
        WordLib.MemoryMode = item;
        EditInput->setFocus();
        EditInput->setCursorPosition(100);
    } catch (...) {
    }
}

void TformMain::ButtonMyNewWordClick() {
    if (RefusedInFavourites(LibraryName()) || !WordLib.HasCurrentWord()) return;
    const WordList& current = WordLib.Words[static_cast<size_t>(WordLib.CurrentIndex)];
    const int position = MyWordLib.CurrentIndex;
    MyWordLib.AddFavourite(current.Word, current.Meaning);
    MyWordLib.CurrentIndex = position;
    MyWordLib.SaveFavourites();
}

void TformMain::AddWordsToFavourites(const std::vector<std::string>& gbkWords) {
    if (RefusedInFavourites(LibraryName())) return;
    int added = 0;
    const int position = MyWordLib.CurrentIndex;
    for (const std::string& text : gbkWords) {
        for (int i = 0; i < WordLib0.Count; ++i) {
            if (WordLib0.Words[i].Word != text) continue;
            if (MyWordLib.AddFavourite(text, WordLib0.Words[i].Meaning) == FavouriteAdd::Added) ++added;
            break;
        }
    }
    MyWordLib.CurrentIndex = position;
    if (!MyWordLib.SaveFavourites()) return;
    ShowAppMessage(Gbk("已加入收藏库：") + IntToStr(added) + Gbk(" 个单词"));
}

void TformMain::ButtonFullScreenClick() {
    Panel11->setVisible(!Panel11->isVisible());
    MemoSentence->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MemoSentence->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void TformMain::TimerSetFocusTimer() {
    // A command the learner reached with Tab keeps the keyboard.
    const auto* command = qobject_cast<const QPushButton*>(focusWidget());
    if (command && command->hasFocus()) return;
    if (EditInput->isVisible() && EditInput->isEnabled() && isVisible() && isEnabled()) EditInput->setFocus();
}

bool TformMain::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Resize && (watched == GroupBoxMiddle || watched == GroupBoxBottom)) GroupBoxMiddleResize();
    if (watched == GroupGrade && (e->type() == QEvent::Resize || e->type() == QEvent::Move)) AlignGradeLabels();
    if (e->type() == QEvent::Resize) {
        if (watched == GroupBoxTop) FitWordBoxToPanel();
        if (watched == PanelE || watched == PanelT) FitWordToWidth();
        if (watched == MemoC && !MemoC->toPlainText().isEmpty()) FitMeaning();
    }
    return QWidget::eventFilter(watched, e);
}
