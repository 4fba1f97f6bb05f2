#pragma once
// The settings and maintenance window: one window of pages lying on top of
// each other (study settings, library import, error report, favourites,
// words without recordings). Created hidden at start-up; whoever opens it
// brings the wanted page to the front, and each page's "返 回" hides it
// again, which gives the study window back. Each page's code is in
// formmakewordlib_<page>.cpp (setup, import, errorreport, favourites,
// wavlist, sync).
//
// The window works on the study session and the configuration store; what
// the study window and the start window are to do about a change it
// announces as a signal, which shell/windowwiring.cpp connects.

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <string>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QStackedLayout;
class StudySession;
struct SyncSettings;
class TManage;
class TextViewer;
class TitleBar;

class TformMakeWordLib : public QWidget {
    Q_OBJECT
public:
    // Works with the start window's store and the session the study window
    // shows. The boxes are filled from the store by FormCreate, which the
    // wiring runs once the window is connected.
    TformMakeWordLib(TManage& manage, StudySession& study, QWidget* parent = nullptr);
    ~TformMakeWordLib() override;

    // The program's folder (GBK, with its trailing separator), where each
    // learner's sync settings are kept; without it (no start window) the
    // sync page asks the learner to log in first.
    void SetProgramFolder(const std::string& gbkFolder) { programFolder_ = gbkFolder; }

    void BringToFront(QWidget* page);
    QWidget* FrontPage() const;
    // What the study window opens this window on: the page brought to the
    // front and made ready, before the study window shows the window.
    void TurnToSetupPage();
    void TurnToFavouritesPage();   // the list filled from the favourites
    void TurnToErrorReportPage();  // the report read, the type box prompting

    // Study settings page.
    void FormCreate();    // the settings from the store into the page, the session and the study window
    void FormActivate();  // selects the colour scheme the three colours make
    void SpinEditDelayTimeChange();
    void CheckBoxMuteClick();
    void CheckBoxAutoClearEditInputClick();
    void CheckBoxAcceptReadingClick();
    void CheckBoxShowSentenceClick();
    void SpinEditSentenceCountPerWordChange();
    void FontComboBoxCNClick();
    void FontComboBoxENClick();
    void PanelFontColorClick();
    void PanelBackColorClick();
    void PanelBorderColorClick();
    void ComboBoxSetColorClick(int index);
    void suiButton9Click();  // "返 回" of the settings page
    // "无语音单词表": the settings take effect as on "返 回", then the page
    // of words without recordings comes to the front.
    void ButtonWordsWithoutWavClick();

    // Favourites page. The study window's "收藏管理" turns to it, which
    // fills the list with FillFavouritesList.
    void FillFavouritesList();
    void ListBoxMyWordLibClick();
    void EditWordKeyDown(int virtualKey);  // Enter adds or looks up, as "增加"
    void ButtonAddClick();
    void suiButton6Click();   // "修改"
    void suiButton5Click();   // "删除"
    void suiButton13Click();  // "初始化收藏库"
    void suiButton4Click();   // "返 回" of the favourites page

    // Error report page. The study window's "软件报错" turns to it, which
    // calls PrepareErrorReport: the report file into the
    // memo, the caret at its end, the prompt in the type box.
    void PrepareErrorReport();
    void ComboBoxErrorTypeClick(int index);
    void suiButton10Click();  // "返 回" of the error report page: writes the report

    // Words without recordings, opened from the settings page.
    void ButtonMakeWordListClick();  // "生成单词列表"
    void ButtonWavReturnClick();     // "返 回": back to the study window

    // Sync page, opened by "同步" on the settings page: the logged-in
    // learner's server, account and password, "测试连接", "立即同步".
    void TurnToSyncPage();
    void ButtonSyncTestClick();
    void ButtonSyncNowClick();
    void ButtonSyncReturnClick();  // "返 回": the settings kept, back to the settings page

    // Library import page, opened by the start window's "导入词库"; its
    // "返　回" leads back to the start window.
    void OpenImportPage();
    void suiButton7Click();  // "浏览…"
    void suiButton8Click();  // "查看格式": example.txt in the desktop's viewer
    void suiButton3Click();  // "帮助向导"
    void suiButton1Click();  // "导　入"
    void suiButton2Click();  // "返　回"

    // The colour a colour panel shows (0x00BBGGRR).
    static int PanelColour(const QFrame* panel);

signals:
    // For the study window: how long its answer box waits before it
    // prompts (milliseconds); the faces of the word and of the meaning and
    // sentences (GBK family names); the colours in the store to be applied.
    void promptDelayChanged(int milliseconds);
    void wordFaceChanged(const std::string& gbkFamily);
    void meaningFaceChanged(const std::string& gbkFamily);
    void coloursChanged();
    // The sentences of the word on screen (GBK) are to be drawn again: they
    // were switched on or off, or loaded.
    void sentencesToRedraw(const std::string& gbkWord);
    // A sync is about to start: what is being studied must be on the disk.
    void syncStarting();
    // A sync replaced the learner's files here: the study window opens the
    // last library again and the favourites are made ready again.
    void learnerFilesReplaced();
    // The learner asks for the help guide at a topic.
    void helpWanted(const QString& topic);
    // The import page was left: the start window takes the learner back.
    void importLeft();
    // The window was put away, whatever page it showed.
    void left();

public:
    TitleBar* titleBar = nullptr;

    // Pages.
    QFrame* PanelSetup = nullptr;
    QFrame* PanelImport = nullptr;
    QFrame* PanelErrorReport = nullptr;
    QFrame* PanelModifyWordLib = nullptr;
    QFrame* PanelWordsWithoutWav = nullptr;
    QFrame* PanelSync = nullptr;

    // Controls of the settings page, by their form names.
    QSpinBox* SpinEditDelayTime = nullptr;
    QCheckBox* CheckBoxAutoClearEditInput = nullptr;
    QCheckBox* CheckBoxAcceptReading = nullptr;  // "接受读音作答"
    QCheckBox* CheckBoxMute = nullptr;
    QCheckBox* CheckBoxShowSentence = nullptr;
    QSpinBox* SpinEditSentenceCountPerWord = nullptr;
    QComboBox* FontComboBoxCN = nullptr;
    QComboBox* FontComboBoxEN = nullptr;
    QFrame* PanelFontColor = nullptr;
    QFrame* PanelBackColor = nullptr;
    QFrame* PanelBorderColor = nullptr;
    QComboBox* ComboBoxSetColor = nullptr;
    QPushButton* ButtonWordsWithoutWav = nullptr;  // "无语音单词表"
    QPushButton* suiButton9 = nullptr;
    QPushButton* ButtonSync = nullptr;  // "同步"

    // Controls of the sync page.
    QLineEdit* EditSyncAddress = nullptr;
    QLineEdit* EditSyncAccount = nullptr;
    QLineEdit* EditSyncPassword = nullptr;  // masked, empty unless a new password is typed
    QCheckBox* CheckBoxSyncEnabled = nullptr;
    QLabel* LabelSyncPasswordPlace = nullptr;  // where the password is kept
    QLabel* LabelSyncLast = nullptr;           // time and result of the last sync
    QPushButton* ButtonSyncTest = nullptr;
    QPushButton* ButtonSyncNow = nullptr;
    QPushButton* ButtonSyncReturn = nullptr;

    // Controls of the page of words without recordings.
    QPlainTextEdit* MemoWordListWithoutWave = nullptr;
    QPushButton* ButtonMakeWordList = nullptr;  // "生成单词列表"
    QPushButton* ButtonWavReturn = nullptr;     // "返 回"

    // Controls of the error report page.
    QPlainTextEdit* MemoErrorReport = nullptr;
    QComboBox* ComboBoxErrorType = nullptr;
    QPushButton* suiButton10 = nullptr;

    // Controls of the import page.
    QLineEdit* EditWordLibName = nullptr;
    QLineEdit* EditWordLibEditor = nullptr;
    QLineEdit* EditWordLibDate = nullptr;
    QLineEdit* EditWordLibVersion = nullptr;
    QLabel* LabelWordLibName = nullptr;
    QLineEdit* EditWordLibName1 = nullptr;
    QPushButton* suiButton7 = nullptr;
    QPushButton* suiButton3 = nullptr;
    QPushButton* suiButton8 = nullptr;
    QPushButton* suiButton1 = nullptr;
    QPushButton* suiButton2 = nullptr;

    // Controls of the favourites page.
    QListWidget* ListBoxMyWordLib = nullptr;
    QLineEdit* EditWord = nullptr;
    QPlainTextEdit* MemoC = nullptr;
    QPushButton* ButtonAdd = nullptr;
    QPushButton* suiButton6 = nullptr;
    QPushButton* suiButton5 = nullptr;
    QPushButton* suiButton13 = nullptr;
    QPushButton* suiButton4 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

private:
    QPointer<TextViewer> sampleViewer_;  // "查看格式" shown by the program itself

    void Build();
    QFrame* AddPage(const char* name, const char* titleUtf8);
    void BuildSetupPage();
    void BuildWordsWithoutWavPage();
    void ApplySentenceSwitch();
    void BuildFavouritesPage();
    void BuildErrorReportPage();
    void BuildImportPage();
    void BuildSyncPage();
    int SyncSlot() const;
    std::string SyncProgramFolder() const;
    // The page's fields into the learner's sync.ini (and the password into
    // the key store); false after a message when they cannot be kept.
    bool TakeSyncSettings(QString* password);
    void ShowSyncState(const SyncSettings& settings, const SyncSettings* stored);
    void AppendReportLine(const QString& line);
    void ShowFavourite(int position);
    void ConnectSetupPage();
    void SetPanelColour(QFrame* panel, int colour);
    void PickColour(QFrame* panel, int TManage::*key);
    void TakeColoursIntoStudyLists();
    void SelectFont(QComboBox* box, const std::string& gbkName);

    TManage* manage_ = nullptr;
    StudySession* session_ = nullptr;
    std::string programFolder_;
    QStackedLayout* pages_ = nullptr;
    std::filesystem::path importSource_;  // the text file last confirmed in the chooser
};
