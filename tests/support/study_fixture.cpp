// The study window fixture: its program folder, the libraries and lists it
// writes with the program's own writers, and the keys and looks it reads.

#include "support/study_fixture.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTest>
#include <QTextEdit>
#include <fstream>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/programfolder.h"
#include "core/scrambledfile.h"
#include "core/wordlib0.h"
#include "support/find_child.h"
#include "widgets/answeredit.h"
#include "widgets/colourvalue.h"

namespace fs = std::filesystem;

StudyFixture::StudyFixture(const std::string& name) {
    // The test programs run side by side and may give their fixtures the
    // same name: the program's own name keeps their folders apart.
    const char* tmp = std::getenv("LEXILARK_TEST_TMP");
    const std::string program = QCoreApplication::applicationName().toStdString();
    programFolder = fs::path(tmp ? tmp : "/tmp") / ("study_" + program + "_" + name);
    fs::remove_all(programFolder);
    fs::create_directories(programFolder / "users" / "user0");
    fs::create_directories(programFolder / "wav");
    gbkProgramFolder = FromNativePath(programFolder) + "/";
    gbkUserFolder = gbkProgramFolder + "users\\user0\\";
    SetProgramFolder(gbkProgramFolder);
    previousPlain_ = SetPlainMessageSink([this](const std::string& gbk) { plainMessages.push_back(GbkToUtf8(gbk)); });
}

StudyFixture::~StudyFixture() {
    window_.reset();
    SetPlainMessageSink(previousPlain_);
    SetHotKeyFactory(previousHotKey_);
    SetProgramFolder("");
}

void StudyFixture::WriteLibrary(const std::string& fileUtf8, const std::vector<FixtureWord>& words, int groupCount,
                                int groupIndex, int loopTimes) {
    TWordLib0 lib;
    TWordLib list;
    lib.StudyLib = &list;
    lib.Editor = "fixture";
    lib.LoopTimes = loopTimes;
    lib.GroupCount = groupCount;
    lib.GroupIndex = groupIndex;
    lib.Count = static_cast<int>(words.size());
    for (size_t i = 0; i < words.size(); ++i) {
        WordList& w = lib.Words[i];
        w.Word = Gbk(words[i].word);
        w.Meaning = Gbk(words[i].meaning);
        w.Grade = words[i].grade;
        w.StudyTimes = words[i].studyTimes;
    }
    list.GroupCount = groupCount;
    list.GroupIndex = groupIndex;
    list.CurrentIndex = 0;
    lib.Path = gbkUserFolder + Gbk(fileUtf8);
    QVERIFY(lib.SaveWordLib());
}

void StudyFixture::WriteList(const std::string& file, const std::string& utf8Text) {
    QVERIFY(WriteScrambledFile(programFolder / file, Gbk(utf8Text)));
}

void StudyFixture::WriteRecording(const std::string& nameUtf8) {
    std::ofstream(programFolder / "wav" / fs::u8path(nameUtf8)) << "RIFF";
}

TformMain& StudyFixture::Create(bool hotKeyRegisters) {
    previousHotKey_ = SetHotKeyFactory([this, hotKeyRegisters] {
        auto hotKey = std::make_unique<FakeHotKey>(hotKeyRegisters);
        hotKey_ = hotKey.get();
        return hotKey;
    });
    window_ = std::make_unique<TformMain>(manage);
    auto player = std::make_unique<FakePlayer>();
    player_ = player.get();
    window_->SetMediaPlayer(std::move(player));
    window_->show();
    window_->activateWindow();
    if (!QTest::qWaitForWindowExposed(window_.get())) qWarning("study window not exposed");
    return *window_;
}

void StudyFixture::Open(const std::string& fileUtf8) {
    manage.SetCurrentLibrary(Gbk(fileUtf8));
    window_->OpenLastWordLib(gbkUserFolder);
}

QStringList StudyFixture::PlayedNames() const {
    QStringList names;
    for (const QString& path : player_->played)
        names << QString::fromStdString(fs::path(path.toStdString()).filename().string());
    return names;
}

void StudyFixture::Type(const QString& text) { QTest::keyClicks(Child<AnswerEdit>(window_, "EditInput"), text); }

void StudyFixture::Press(Qt::Key key, Qt::KeyboardModifiers mods) {
    QTest::keyClick(Child<AnswerEdit>(window_, "EditInput"), key, mods);
}

QString StudyFixture::Answer() const { return Child<AnswerEdit>(window_, "EditInput")->text(); }

QString StudyFixture::Comment() const { return Child<QLabel>(window_, "PanelComment")->text(); }

bool StudyFixture::CommentVisible() const { return Child<QLabel>(window_, "PanelComment")->isVisible(); }

static bool PaintedIn(const QWidget* w, QPalette::ColorRole role, int colour) {
    return w->palette().color(role) == ColourFromValue(colour);
}

bool StudyFixture::WordShown() const {
    return PaintedIn(Child<QLabel>(window_, "PanelE"), QPalette::WindowText, window_->Session().WordLib.FontColor);
}

bool StudyFixture::ReadingShown() const {
    return PaintedIn(Child<QLabel>(window_, "PanelT"), QPalette::WindowText, window_->Session().WordLib.FontColor);
}

bool StudyFixture::MeaningShown() const {
    return PaintedIn(Child<QTextEdit>(window_, "MemoC"), QPalette::Text, window_->Session().WordLib.FontColor);
}

QString StudyFixture::WordText() const { return Child<QLabel>(window_, "PanelE")->text(); }

bool StudyFixture::AnswerTextVisible() const {
    return Child<AnswerEdit>(window_, "EditInput")->TextColour() ==
           ColourFromValue(window_->Session().WordLib.FontColor);
}
