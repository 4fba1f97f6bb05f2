// What the study window draws and plays for a word: the texts of the word
// box, the reading and sentences from the data lists, the meaning fitted
// into its box, the colours that show or hide them, the counters, and the
// recording.

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <filesystem>

#include "core/gbktext.h"
#include "core/recordings.h"
#include "platform/fontregistration.h"
#include "platform/mediaplayer.h"
#include "study/formmain_ui.h"
#include "widgets/answeredit.h"
#include "widgets/colourvalue.h"
#include "widgets/radiogroup.h"
#include "widgets/screentext.h"

namespace {

// A meaning that still needs more than four lines here (hard line breaks,
// say) stays at this size rather than shrinking into illegibility.
constexpr int kMeaningSmallestPoints = 9;
constexpr int kMeaningMaxLines = 4;

void SetTextColour(QWidget* widget, QPalette::ColorRole role, int colour) {
    const QColor c = ColourFromValue(colour);
    QPalette p = widget->palette();
    if (p.color(role) == c) return;
    p.setColor(role, c);
    widget->setPalette(p);
}

// Lines `text` needs at `points` in a box `width` pixels wide, centred and
// wrapped as MemoC wraps it.
int LinesNeeded(QTextDocument& doc, const QFont& font, int points) {
    QFont f = font;
    f.setPointSize(points);
    doc.setDefaultFont(f);
    doc.documentLayout()->documentSize();  // lays the whole text out
    int lines = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        lines += block.layout() ? block.layout()->lineCount() : 1;
    return lines;
}

}  // namespace

StudyDisplay& TformMain::Display() { return *ui_; }

MediaPlayer& TformMain::Player() const { return *ui_->mpl; }

int TformMain::MeaningPointSize() const { return ui_->meaningPointSize_; }

void TformMain::Ui::WriteWord(const std::string& word) {
    window.study_.SetWordOnScreen(word);
    window.recorder_.NoteWordDrawn();
    if (window.study_.Step() != StudySession::AnswerStep::Open && !window.study_.AnswerBelongsToWordOnScreen())
        window.EndAnswer();
    PanelE->setText(Screen(word));
    FitWordToWidth();
}

void TformMain::Ui::WriteReadingOf(const std::string& word) {
    PanelT->setText(Screen(LookupReading(window.study_.DataLists.readingText, word)));
    FitWordToWidth();
}

// The box's starting size (25 points in the designed window); a meaning of
// one or two lines moves one line down so that it sits lower in the box; a
// longer one shrinks a point at a time until it fits four lines, and any
// meaning shrinks until it fits the box's height, so none is cut.
void TformMain::Ui::WriteMeaning(const std::string& meaning) {
    meaningOnScreen_ = meaning;
    if (window.layout()) window.layout()->activate();  // the box must have its real size first
    FitMeaning();
}

void TformMain::Ui::FitMeaning() {
    QString text = Screen(meaningOnScreen_);
    QTextDocument doc;
    doc.setDocumentMargin(MemoC->document()->documentMargin());
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    doc.setDefaultTextOption(option);
    doc.setTextWidth(MemoC->viewport()->width());
    doc.setPlainText(text);

    int points = meaningStartPoints_;
    int lines = LinesNeeded(doc, MemoC->font(), points);
    if (lines <= 2) {
        text.prepend(QLatin1Char('\n'));
        doc.setPlainText(text);
        lines = LinesNeeded(doc, MemoC->font(), points);
    }
    // A box not laid out yet has no height to go by; it is fitted again
    // when it gets one.
    const int room = MemoC->isVisible() ? MemoC->viewport()->height() : 0;
    const auto tooHigh = [&] { return room > 0 && doc.size().height() > room; };
    while ((lines > kMeaningMaxLines || tooHigh()) && points > kMeaningSmallestPoints)
        lines = LinesNeeded(doc, MemoC->font(), --points);
    meaningPointSize_ = points;
    QFont f = MemoC->font();
    f.setPointSize(points);
    if (MemoC->font() != f) MemoC->setFont(f);
    if (MemoC->toPlainText() != text) MemoC->setPlainText(text);
    window.study_.SetMeaningOnScreen(FromScreen(MemoC->toPlainText()));
    QTextCursor all(MemoC->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    all.mergeBlockFormat(centred);
}

void TformMain::Ui::WriteSentencesOf(const std::string& word) {
    MemoSentence->clear();
    MemoSentence->setVisible(false);
    if (!window.study_.WordLib.ShowSentence) return;
    std::optional<std::vector<std::string>> lines =
        LookupSentences(window.study_.DataLists.sentenceIndexText, window.study_.DataLists.sentenceLines, word,
                        window.study_.WordLib.SentenceCountPerWord);
    if (!lines) return;
    QStringList shown;
    for (const std::string& line : *lines) shown << Screen(line);
    MemoSentence->setPlainText(shown.join(QLatin1Char('\n')));
    ApplySentenceColours();
    MemoSentence->setVisible(true);
}

void TformMain::Ui::PaintSentences(int sentenceColour, int translationColour) {
    if (sentenceColour == sentenceColour_ && translationColour == translationColour_) return;
    sentenceColour_ = sentenceColour;
    translationColour_ = translationColour;
    ApplySentenceColours();
}

// The box holds each sentence on one line and its translation on the next.
// A sentence is Japanese and is drawn in the Japanese face; its translation
// keeps the box's Chinese face.
void TformMain::Ui::ApplySentenceColours() {
    QTextDocument* doc = MemoSentence->document();
    const QString japaneseFace = JapaneseFamily();
    int lineNo = 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next(), ++lineNo) {
        const int colour = lineNo % 2 == 0 ? sentenceColour_ : translationColour_;
        QTextCharFormat format;
        if (lineNo % 2 == 0 && !japaneseFace.isEmpty()) format.setFontFamilies(QStringList{japaneseFace});
        if (colour < 0)
            format.clearForeground();
        else
            format.setForeground(ColourFromValue(colour));
        QTextCursor line(block);
        line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        line.setCharFormat(format);
        line.setBlockCharFormat(format);
    }
}

void TformMain::Ui::PaintWord(int colour) {
    wordColour_ = colour;
    SetTextColour(PanelE, QPalette::WindowText, colour);
}

void TformMain::Ui::PaintReading(int colour) {
    readingColour_ = colour;
    SetTextColour(PanelT, QPalette::WindowText, colour);
}

void TformMain::Ui::PaintMeaning(int colour) {
    meaningColour_ = colour;
    SetTextColour(MemoC, QPalette::Text, colour);
}

void TformMain::Ui::WriteStepNo(const std::string& text) { LabelStepNo->setText(Screen(text)); }

void TformMain::Ui::WriteWordStudyCount(const std::string& text) { LabelWordStudyCount->setText(Screen(text)); }

void TformMain::Ui::WriteCycleNo(const std::string& text) { circleno->setText(Screen(text)); }

void TformMain::Ui::WriteGroupNo(const std::string& text) { LabelGroup->setText(Screen(text)); }

void TformMain::Ui::WriteGradeCount(int item, const std::string& text) { GroupGrade->SetItemText(item, Screen(text)); }

void TformMain::Ui::WriteGradeLabel(int row, const std::string& text) {
    if (QListWidgetItem* item = ListBoxGrade->item(row)) item->setText(Screen(text));
}

void TformMain::Ui::ClearAnswer() {
    window.EndAnswer();
    EditInput->clear();
}

void TformMain::Ui::ClickNextWord() { window.ButtonNextWordClick(); }

// The recording named after the word is preferred; else the alias of the
// word in "lx1.en", whatever its letter case.
std::string TformMain::Ui::PlayRecordingOf(const std::string& word) {
    const RecordingLookup recording =
        FindRecording(window.study_.WordLib.ProgramFolder, window.study_.DataLists.aliasText, word);
    if (mpl->IsPlaying()) mpl->Stop();
    if (recording.found) {
        mpl->Close();
        mpl->SetFileName(QString::fromStdString(
            ToNativePath(RecordingPath(window.study_.WordLib.ProgramFolder, recording.name)).string()));
        mpl->Open();
        mpl->Play();
    } else {
        mpl->SetFileName(QString());
    }
    return recording.name;
}
