// The page of words without recordings: offered on the settings page,
// listing each word of the study list whose recording is not in wav/ with
// the name looked for, never playing anything, and giving the study window
// back on "返 回".

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "core/gbktext.h"
#include "support/find_child.h"
#include "support/settings_fixture.h"
#include "widgets/screentext.h"

namespace {

// wav/ holds 水.wav and neko.wav; the alias list sends 猫 and Cat to neko,
// 山 to yama (no such recording).
struct WavFixture : SettingsFixture {
    explicit WavFixture(const std::string& name) : SettingsFixture(name) {
        f.WriteRecording("水.wav");
        f.WriteRecording("neko.wav");
        f.WriteList("lx1.en", "\n猫\tneko\nCat\tneko\n山\tyama\n");
        study->Session().DataLists.LoadWordLists(f.gbkProgramFolder);
        f.WriteLibrary("wav.lx",
                       {{"水", "[名] 水"}, {"山", "[名] 山"}, {"猫", "[名] 猫"}, {"空", "[名] 天空"}, {"Cat", "猫"}});
        f.Open("wav.lx");
    }
    void OpenPage() {
        OpenSetup();
        QTest::mouseClick(settings->ButtonWordsWithoutWav, Qt::LeftButton);
    }
    void MakeList() {
        f.messages.shown.clear();
        QTest::mouseClick(settings->ButtonMakeWordList, Qt::LeftButton);
    }
    QString Memo() const { return settings->MemoWordListWithoutWave->toPlainText(); }
};

}  // namespace

class TestWordsWithoutWav : public QObject {
    Q_OBJECT
private slots:
    void settingsPageOffersThePage() {
        WavFixture s("wav_page");
        TformMakeWordLib& w = *s.settings;
        QCOMPARE(w.ButtonWordsWithoutWav->text(), U("无语音单词表"));
        s.OpenPage();
        QCOMPARE(w.FrontPage(), w.PanelWordsWithoutWav);
        QCOMPARE(w.PanelWordsWithoutWav->findChild<QWidget*>("PanelWordsWithoutWavTitle")->property("text").toString(),
                 U("无语音单词表"));
        QVERIFY(w.MemoWordListWithoutWave->isVisible());
        QCOMPARE(w.ButtonMakeWordList->text(), U("生成单词列表"));
        QCOMPARE(w.ButtonWavReturn->text(), U("返 回"));
        QVERIFY(!s.study->isEnabled());
        QVERIFY(!s.study->Session().Clock().isActive());

        // "返 回" gives the study window back its clock and its input.
        QTest::mouseClick(w.ButtonWavReturn, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QVERIFY(s.study->isEnabled());
        QVERIFY(s.study->Session().Clock().isActive());
        s.study->activateWindow();
        s.f.Type("x");
        QCOMPARE(s.f.Answer(), QString("x"));
    }

    void listsTheWordsWhoseRecordingIsNotFoundWithoutPlaying() {
        WavFixture s("wav_list");
        s.OpenPage();
        s.f.Player().played.clear();
        const QString fileBefore = s.f.Player().FileName();
        s.MakeList();
        // 水 has its own file, 猫 and Cat their alias's; 山's alias has no
        // file, 空 has neither.
        QCOMPARE(s.Memo(), U("山\tyama.wav\n空\t"));
        QVERIFY(s.f.messages.shown.empty());
        QVERIFY(s.f.Player().played.isEmpty());
        QCOMPARE(s.f.Player().FileName(), fileBefore);

        // Made again, not added to: a second click shows the same list.
        s.MakeList();
        QCOMPARE(s.Memo(), U("山\tyama.wav\n空\t"));

        // A recording added meanwhile is found the next time.
        s.f.WriteRecording("yama.wav");
        s.MakeList();
        QCOMPARE(s.Memo(), U("空\t"));
        QVERIFY(s.f.Player().played.isEmpty());
    }

    void saysSoWhenThereIsNothingToList() {
        WavFixture s("wav_nothing");
        s.f.WriteRecording("yama.wav");
        s.f.WriteRecording("空.wav");
        s.OpenPage();
        s.MakeList();
        QCOMPARE(s.Memo(), QString());
        QCOMPARE(s.f.messages.Texts(), std::vector<std::string>{"当前单词表中的每个单词都有语音"});

        // No library under study.
        s.study->Session().WordLib.WordCount = 0;
        s.MakeList();
        QCOMPARE(s.f.messages.Texts(), std::vector<std::string>{"当前没有正在学习的单词，请先选择词库"});
    }

    // Leaving through this page takes the example-sentence switch as the
    // settings page's own "返 回" does: the sentences are loaded and shown.
    void theSentenceSwitchTakesEffectOnTheWayToThePage() {
        WavFixture s("wav_sentences");
        s.f.WriteList("lx3.en", "s0\tt0\n");
        s.f.WriteList("lx4.en", "index\n水\t0\n山\t0\n猫\t0\n空\t0\nCat\t0\n");
        s.OpenSetup();
        s.Click(s.settings->CheckBoxShowSentence);
        QTest::mouseClick(s.settings->ButtonWordsWithoutWav, Qt::LeftButton);
        QTest::mouseClick(s.settings->ButtonWavReturn, Qt::LeftButton);
        QVERIFY(s.f.manage.showsentence);
        QVERIFY(s.study->Session().WordLib.ShowSentence);
        QCOMPARE(s.study->Session().DataLists.sentenceLines, std::vector<std::string>({"s0\tt0"}));
        QCOMPARE(Child<QPlainTextEdit>(s.study, "MemoSentence")->toPlainText(), QString("s0\nt0"));
    }
};

QTEST_MAIN(TestWordsWithoutWav)
#include "tst_formmakewordlib_wavlist.moc"
