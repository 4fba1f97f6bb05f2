#pragma once
// The start and study windows on a program folder of their own, as the
// program has them, for the tests that log in; or the program's whole window
// set made as start-up makes it, for the tests that go through every window.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QtTest>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/gbktext.h"
#include "core/scrambledfile.h"
#include "help/formhelp.h"
#include "select/selectwordlib.h"
#include "settings/formmakewordlib.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"
#include "shell/windowset.h"
#include "shell/windowwiring.h"
#include "stats/formstats.h"
#include "support/find_child.h"
#include "support/study_fixture.h"
#include "widgets/radiogroup.h"

// The start and study windows on a program folder of their own, sharing the
// start window's configuration as the program does.
struct LoginWindows {
    // Which windows are made: the start and study windows only, or every
    // window of the program's set (CreateWindowSet), the others then found
    // through their globals as in the program.
    enum class Windows { StartAndStudy, WholeSet };

    explicit LoginWindows(const std::string& name, Windows windows = Windows::StartAndStudy) : f(name) {
        std::filesystem::create_directories(f.programFolder / "wordlib");
        for (int slot = 1; slot <= 2; ++slot) std::filesystem::create_directories(UserDir(slot));
        previousHotKey = SetHotKeyFactory([] { return std::make_unique<FakeHotKey>(true); });
        if (windows == Windows::WholeSet) {
            CreateWindowSet(f.gbkProgramFolder);
            start.reset(formStart);
            study.reset(formMain);
            wholeSet = true;
        } else {
            start = std::make_unique<TformStart>(f.gbkProgramFolder);
            formStart = start.get();
            study = std::make_unique<TformMain>(start->Manage);
            formMain = study.get();
            WireStart(*start, *study);
        }
        study->SetMediaPlayer(std::make_unique<FakePlayer>());
        start->show();
    }
    ~LoginWindows() {
        if (wholeSet) {
            // The program's own end: the windows go as DeleteWindowSet has them go.
            study.release();
            start.release();
            DeleteWindowSet();
        }
        formMain = nullptr;
        formStart = nullptr;
        study.reset();
        start.reset();
        SetHotKeyFactory(previousHotKey);
    }

    std::filesystem::path UserDir(int slot) const {
        return f.programFolder / "users" / ("user" + std::to_string(slot));
    }
    TManage& Manage() { return start->Manage; }

    // A library of `n` words in the folder of `slot`, the first `studied`
    // of them shown once and at grade 1.
    void Library(int slot, const std::string& fileUtf8, int n, int studied = 0) {
        std::vector<FixtureWord> words = NumberedWords(n);
        for (int i = 0; i < studied; ++i) words[i].grade = words[i].studyTimes = 1;
        const std::string saved = f.gbkUserFolder;
        f.gbkUserFolder = f.gbkProgramFolder + "users\\user" + std::to_string(slot) + "\\";
        f.WriteLibrary(fileUtf8, words);
        f.gbkUserFolder = saved;
    }
    // The favourites template with the given words.
    void Template(std::initializer_list<const char*> words) {
        std::string text = "<editor>x</editor><lw>0</lw>";
        for (const char* word : words)
            text += std::string("\n<word><e>") + word + "</e><t>0</t><c>m</c><g>0</g></word>";
        QVERIFY(WriteScrambledFile(f.programFolder / "wordlib" / "收藏库.lx", Gbk(text)));
    }
    void User(int slot, const char* name, const char* password, const char* library = "") {
        Manage().user[slot] = Gbk(name);
        Manage().password[slot] = Gbk(password);
        Manage().lastwordlib[slot] = Gbk(library);
    }
    void StartStudying() { QTest::mouseClick(start->suiButton1, Qt::LeftButton); }
    void LogIn(const char* password) {
        start->EditPassword->setText(QString::fromUtf8(password));
        QTest::mouseClick(start->suiButton12, Qt::LeftButton);
    }
    QStringList ComboRows() const {
        QStringList rows;
        for (int i = 0; i < start->ComboUserList->count(); ++i) rows << start->ComboUserList->itemText(i);
        return rows;
    }
    std::string UserFolderUtf8() const { return Utf8(start->UserFolder); }
    // The study window with no library open shows nothing of the library
    // or learner before: every counter and clock at its start.
    void ExpectNoLibraryShown() const {
        QCOMPARE(study->Session().WordLib0.Count, 0);
        QCOMPARE(study->Session().LibraryName(), std::string());
        for (const QLabel* clock : {Child<QLabel>(study, "LabelTotalTime"), Child<QLabel>(study, "LabelThisLoopTime"),
                                    Child<QLabel>(study, "LabelLeftTime")})
            QCOMPARE(clock->text(), QString("00:00:00"));
        QCOMPARE(Child<QLabel>(study, "LabelThisTime")->text(), QString("00:00:01"));
        QCOMPARE(Child<QLabel>(study, "LabelWordStudyCount")->text(), QString("0 / 0"));
        QCOMPARE(Child<QLabel>(study, "LabelStepNo")->text(), QString("1 / 0"));
        for (int item = 0; item < kGradeLevels; ++item)
            QCOMPARE(Child<RadioGroup>(study, "GroupGrade")->ItemText(item), QString("0"));
    }

    StudyFixture f;
    HotKeyFactory previousHotKey;
    std::unique_ptr<TformStart> start;
    std::unique_ptr<TformMain> study;
    bool wholeSet = false;
};
