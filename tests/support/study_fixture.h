#pragma once
// A study window on a small program folder of its own, with libraries and
// data lists written by the program's own writers, a recording player and a
// hot key that only record, and every message box answered by a script.

#include <QKeyEvent>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/manage.h"
#include "core/wordlist.h"
#include "platform/hotkey.h"
#include "platform/mediaplayer.h"
#include "study/formmain.h"
#include "support/message_recorder.h"
#include "widgets/plainmessage.h"

class FakePlayer : public MediaPlayer {
public:
    void SetFileName(const QString& path) override { fileName = path; }
    QString FileName() const override { return fileName; }
    void Open() override { opened = fileName; }
    void Close() override { opened.clear(); }
    void Play() override {
        played << fileName;
        playing = true;
    }
    void Stop() override { playing = false; }
    bool IsPlaying() const override { return playing; }

    QString fileName, opened;
    QStringList played;  // full paths, in order
    bool playing = false;
};

class FakeHotKey : public HotKeyAdapter {
public:
    explicit FakeHotKey(bool succeed) : succeed_(succeed) {}
    bool Register(int id, int virtualKey, std::function<void()> pressed) override {
        registeredId = id;
        registeredKey = virtualKey;
        if (succeed_) pressed_ = std::move(pressed);
        return succeed_;
    }
    void Unregister(int id) override {
        if (id == registeredId) pressed_ = nullptr;
    }
    // The key pressed anywhere on the desktop; false when it is not registered.
    bool Press() const {
        if (!pressed_) return false;
        pressed_();
        return true;
    }
    int registeredId = 0, registeredKey = 0;

private:
    bool succeed_;
    std::function<void()> pressed_;
};

// One word of a fixture library, UTF-8.
struct FixtureWord {
    std::string word;
    std::string meaning;
    int grade = 0;
    int studyTimes = 0;
};

// Words "w0", "w1", … with meanings "词0", "词1", …, all at grade 0.
inline std::vector<FixtureWord> NumberedWords(int n) {
    std::vector<FixtureWord> words;
    for (int i = 0; i < n; ++i) words.push_back({"w" + std::to_string(i), "词" + std::to_string(i)});
    return words;
}

class StudyFixture {
public:
    // `name` makes the program folder unique within the test run.
    explicit StudyFixture(const std::string& name);
    ~StudyFixture();

    // Writes library `fileUtf8` into the user folder with the program's
    // library writer.
    void WriteLibrary(const std::string& fileUtf8, const std::vector<FixtureWord>& words, int groupCount = 1,
                      int groupIndex = 0, int loopTimes = 1);
    // Writes a data list ("lx1.en" …) scrambled, from UTF-8 text.
    void WriteList(const std::string& file, const std::string& utf8Text);
    // Creates an (empty) recording file "wav/<nameUtf8>".
    void WriteRecording(const std::string& nameUtf8);

    // Creates and shows the window (after the settings in `manage` are set).
    TformMain& Create(bool hotKeyRegisters = true);
    // Opens `fileUtf8` from the user folder the way login does.
    void Open(const std::string& fileUtf8);

    TformMain& Window() { return *window_; }
    FakePlayer& Player() { return *player_; }
    FakeHotKey& HotKey() { return *hotKey_; }
    // Paths of the recordings played so far, as file names.
    QStringList PlayedNames() const;

    // Keys as the learner presses them on the answer box.
    void Type(const QString& text);
    void Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier);
    void Enter() { Press(Qt::Key_Return); }
    void Space() { Press(Qt::Key_Space); }

    // What the learner sees, UTF-8 and colour-wise.
    QString Answer() const;
    QString Comment() const;
    bool CommentVisible() const;
    bool WordShown() const;     // PanelE painted in the font colour
    bool ReadingShown() const;  // PanelT
    bool MeaningShown() const;  // MemoC
    QString WordText() const;
    bool AnswerTextVisible() const;

    std::filesystem::path programFolder;
    std::string gbkProgramFolder;
    std::string gbkUserFolder;
    TManage manage;
    MessageRecorder messages;
    std::vector<std::string> plainMessages;

private:
    std::unique_ptr<TformMain> window_;
    FakePlayer* player_ = nullptr;
    FakeHotKey* hotKey_ = nullptr;
    PlainMessageSink previousPlain_;
    HotKeyFactory previousHotKey_;
};
