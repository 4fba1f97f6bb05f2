// The program at home on the desktop: the window system's own dialogs speak
// Chinese after start-up, and the Japanese texts of the study window are
// drawn with the Japanese font shipped as tonefont.ttf while the Chinese
// texts keep a Chinese face, also after the font boxes change the faces.

#include <QColorDialog>
#include <QFileDialog>
#include <QGlyphRun>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRawFont>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "core/gbktext.h"
#include "platform/fontregistration.h"
#include "shell/desktop.h"
#include "support/find_child.h"
#include "support/settings_fixture.h"
#include "widgets/answeredit.h"
#include "widgets/screentext.h"

namespace fs = std::filesystem;

namespace {

fs::path TestFolder(const char* name) {
    const fs::path folder = fs::path(qEnvironmentVariable("LEXILARK_TEST_TMP").toStdString()) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// The faces that actually draw the characters of `runs`, lower-cased.
QStringList Faces(const QList<QGlyphRun>& runs) {
    QStringList faces;
    for (const QGlyphRun& run : runs) faces << run.rawFont().familyName().toLower();
    faces.removeDuplicates();
    return faces;
}

QStringList FacesDrawing(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return Faces(layout.glyphRuns());
}

// The faces drawing line `n` of a text box, with the formats of that line.
QStringList FacesOfLine(const QTextDocument* document, int n) {
    const QTextBlock block = document->findBlockByNumber(n);
    if (!block.isValid()) return {};
    QTextLayout layout(block.text(), document->defaultFont());
    layout.setFormats(block.textFormats());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return Faces(layout.glyphRuns());
}

const QString kKanji = U("直骨海写");

}  // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void standardDialogsSpeakChinese();
    void fontFileIsRegisteredAndUnusableOnesAreIgnored();
    void japaneseTextsUseJapaneseGlyphsAndTheMeaningChinese_data();
    void japaneseTextsUseJapaneseGlyphsAndTheMeaningChinese();
    void boxesOfTypedAndListedWordsUseJapaneseGlyphs();

private:
    QString japanese_, chinese_;
};

void TestDesktop::initTestCase() {
    const fs::path folder = TestFolder("desktop_start");
    fs::copy_file(LEXILARK_TONEFONT_SOURCE, folder / "tonefont.ttf");
    PrepareDesktop(Gbk(folder.string() + "/"));
    japanese_ = JapaneseFamily().toLower();
    chinese_ = ChineseFamily().toLower();
    QVERIFY(!japanese_.isEmpty());
    QVERIFY(!chinese_.isEmpty());
    QVERIFY(japanese_ != chinese_);
}

void TestDesktop::standardDialogsSpeakChinese() {
    QMessageBox box(QMessageBox::NoIcon, U("澜悦"), U("要删除所选择单词吗？"),
                    QMessageBox::Ok | QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), U("确定"));
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove('&'), U("是(Y)"));
    QCOMPARE(box.button(QMessageBox::No)->text().remove('&'), U("否(N)"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), U("取消"));

    QColorDialog colours;
    colours.setOption(QColorDialog::DontUseNativeDialog);
    QStringList captions;
    for (const QPushButton* button : colours.findChildren<QPushButton*>()) captions << button->text();
    QVERIFY2(captions.contains(U("确定")) && captions.contains(U("取消")), qPrintable(captions.join('|')));

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    captions.clear();
    for (const QPushButton* button : files.findChildren<QPushButton*>()) captions << button->text().remove('&');
    QVERIFY2(captions.contains(U("打开(O)")) && captions.contains(U("取消")), qPrintable(captions.join('|')));
}

void TestDesktop::fontFileIsRegisteredAndUnusableOnesAreIgnored() {
    QVERIFY(RegisterFontFile(LEXILARK_TONEFONT_SOURCE).contains(QStringLiteral("IPAexGothic")));
    const fs::path folder = TestFolder("desktop_badfont");
    QVERIFY(RegisterFontFile(folder / "tonefont.ttf").isEmpty());  // missing
    { std::ofstream(folder / "tonefont.ttf") << "not a font"; }
    QVERIFY(RegisterFontFile(folder / "tonefont.ttf").isEmpty());

    // The reading panel asks for its face by name; the Japanese font stands in.
    QCOMPARE(QFont::substitutes(QString::fromLatin1(kPhoneticFace)).value(0).toLower(), japanese_);
}

void TestDesktop::japaneseTextsUseJapaneseGlyphsAndTheMeaningChinese_data() {
    QTest::addColumn<QString>("wordFace");     // the "英文" font box, empty: as configured
    QTest::addColumn<QString>("meaningFace");  // the "中文" font box
    QTest::newRow("configured faces not installed") << QString() << QString();
    QTest::newRow("a face without Japanese chosen") << QStringLiteral("DejaVu Sans") << QStringLiteral("DejaVu Sans");
}

void TestDesktop::japaneseTextsUseJapaneseGlyphsAndTheMeaningChinese() {
    QFETCH(QString, wordFace);
    QFETCH(QString, meaningFace);
    SettingsFixture s("desktop_glyphs", [](TManage& m) {
        m.showsentence = true;
        m.sentencecountperword = 1;
        m.readmode = 3;  // everything shown
    });
    s.f.WriteList("lx2.en", "\n写真\tしゃしん\n");
    s.f.WriteList("lx3.en", "\n海の写真を撮る。\t拍大海的照片。\n");
    s.f.WriteList("lx4.en", "\n写真\t1\n");
    s.f.WriteLibrary("photo.lx", {{"写真", "[名] 照片；写真骨海直"}});
    TformMain& w = *s.study;
    auto* panelE = Child<QLabel>(w, "PanelE");
    auto* memoSentence = Child<QPlainTextEdit>(w, "MemoSentence");
    w.Session().DataLists.LoadWordLists(s.f.gbkProgramFolder);
    w.Session().DataLists.LoadSentenceLists(s.f.gbkProgramFolder);
    s.f.Open("photo.lx");

    if (!wordFace.isEmpty()) {
        s.Pick(s.settings->FontComboBoxEN, s.settings->FontComboBoxEN->findText(wordFace));
        s.Pick(s.settings->FontComboBoxCN, s.settings->FontComboBoxCN->findText(meaningFace));
        QCOMPARE(panelE->font().family(), wordFace);
        QCOMPARE(Child<QTextEdit>(w, "MemoC")->font().family(), meaningFace);
        w.Session().WordLib.ShowWord();
    }
    QCOMPARE(panelE->text(), U("写真"));
    QCOMPARE(Child<QLabel>(w, "PanelT")->text(), U("しゃしん"));
    QCOMPARE(memoSentence->toPlainText(), U("海の写真を撮る。\n拍大海的照片。"));

    const QStringList japanese{japanese_};
    const QStringList chinese{chinese_};
    QCOMPARE(FacesDrawing(panelE->font(), kKanji), japanese);
    QCOMPARE(FacesDrawing(Child<QLabel>(w, "PanelT")->font(), U("しゃしん") + kKanji), japanese);
    QCOMPARE(FacesDrawing(Child<QTextEdit>(w, "MemoC")->font(), kKanji), chinese);
    QCOMPARE(FacesOfLine(memoSentence->document(), 0), japanese);
    QCOMPARE(FacesOfLine(memoSentence->document(), 1), chinese);
}

// The answer box, the favourites list and word box, the error report and
// the list of words without recordings show the learner's Japanese: kanji
// in their Japanese forms, and a character only Chinese has (这) still
// drawn, by the Chinese face.
void TestDesktop::boxesOfTypedAndListedWordsUseJapaneseGlyphs() {
    SettingsFixture s("desktop_boxes");
    const QList<QWidget*> boxes{Child<AnswerEdit>(s.study, "EditInput"), s.settings->ListBoxMyWordLib,
                                s.settings->EditWord, s.settings->MemoErrorReport, s.settings->MemoWordListWithoutWave};
    for (QWidget* box : boxes) {
        QCOMPARE(FacesDrawing(box->font(), kKanji), QStringList{japanese_});
        QCOMPARE(FacesDrawing(box->font(), U("这")), QStringList{chinese_});
    }
    // The settings name the word's face for the language it draws.
    QStringList captions;
    for (const QLabel* label : s.settings->PanelSetup->findChildren<QLabel*>()) captions << label->text();
    QVERIFY2(captions.contains(U("日文")) && !captions.contains(U("英文")), qPrintable(captions.join('|')));
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
