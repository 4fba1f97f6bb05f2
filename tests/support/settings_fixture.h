#pragma once
// A study window on "words.lx" (Neko, Inu) with the settings window beside
// it, wired to it as the program wires them and reached through the study
// window's openers, and a colour chooser that answers from a script.

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/formmakewordlib.h"
#include "shell/appwindows.h"
#include "shell/windowwiring.h"
#include "support/find_child.h"
#include "support/study_fixture.h"
#include "widgets/colourchooser.h"

inline const std::vector<FixtureWord> kWords{{"Neko", "猫"}, {"Inu", "狗"}};

// The colour chooser answers with `chosenColour` (nothing = cancelled).
struct SettingsFixture {
    explicit SettingsFixture(const std::string& name, const std::function<void(TManage&)>& configure = {}) : f(name) {
        if (configure) configure(f.manage);
        f.WriteLibrary("words.lx", kWords);
        study = &f.Create();
        f.Open("words.lx");
        settings = std::make_unique<TformMakeWordLib>(f.manage, study->Session());
        WireSettings(*study, *settings);
        formMakeWordLib = settings.get();
        previousChooser = SetColourChooser([this](QWidget*, int initial) {
            asked.push_back(initial);
            return chosenColour;
        });
    }
    ~SettingsFixture() {
        SetColourChooser(previousChooser);
        formMakeWordLib = nullptr;
        settings.reset();
    }

    void OpenSetup() {
        study->Session().Clock().start();
        QTest::mouseClick(Child<QPushButton>(study, "suiButton4"), Qt::LeftButton);
    }
    void Return() { QTest::mouseClick(settings->suiButton9, Qt::LeftButton); }
    // The "返 回" of the page in front.
    QPushButton* PageReturn() const {
        QWidget* page = settings->FrontPage();
        if (page == settings->PanelSetup) return settings->suiButton9;
        if (page == settings->PanelModifyWordLib) return settings->suiButton4;
        if (page == settings->PanelErrorReport) return settings->suiButton10;
        return page->findChild<QPushButton*>(page->objectName() + "Return");
    }
    void Click(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }
    void Pick(QComboBox* box, int index) {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    StudyFixture f;
    TformMain* study = nullptr;
    std::unique_ptr<TformMakeWordLib> settings;
    std::optional<int> chosenColour;
    std::vector<int> asked;
    ColourChooser previousChooser;
};
