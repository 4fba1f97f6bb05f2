// The page of words without recordings: which words of the group under
// study have no recording in wav/, and the recording name each was looked
// for under, so that a library maker knows which files to add.

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/appmessage.h"
#include "core/recordings.h"
#include "platform/fontregistration.h"
#include "session/studysession.h"
#include "settings/formmakewordlib.h"
#include "widgets/buttons.h"
#include "widgets/screentext.h"

void TformMakeWordLib::BuildWordsWithoutWavPage() {
    auto* page = static_cast<QVBoxLayout*>(PanelWordsWithoutWav->layout());
    MemoWordListWithoutWave = new QPlainTextEdit(PanelWordsWithoutWav);
    MemoWordListWithoutWave->setObjectName("MemoWordListWithoutWave");
    MemoWordListWithoutWave->setFont(JapaneseFirst(MemoWordListWithoutWave->font()));
    MemoWordListWithoutWave->setReadOnly(true);
    MemoWordListWithoutWave->setLineWrapMode(QPlainTextEdit::NoWrap);
    page->addWidget(MemoWordListWithoutWave, 1);

    ButtonMakeWordList = NewButton("ButtonMakeWordList", "生成单词列表", PanelWordsWithoutWav);
    ButtonWavReturn = NewButton("PanelWordsWithoutWavReturn", "返 回", PanelWordsWithoutWav);
    page->addLayout(EdgeButtonRow(ButtonMakeWordList, ButtonWavReturn));

    connect(ButtonMakeWordList, &QPushButton::clicked, this, [this] { ButtonMakeWordListClick(); });
    connect(ButtonWavReturn, &QPushButton::clicked, this, [this] { ButtonWavReturnClick(); });
}

void TformMakeWordLib::ButtonMakeWordListClick() {
    // Made afresh on each click: a second click must not list every word twice.
    MemoWordListWithoutWave->clear();
    if (session_->WordLib.WordCount <= 0) {
        ShowAppMessageUtf8("当前没有正在学习的单词，请先选择词库");
        return;
    }
    const TWordLib& list = session_->WordLib;
    const std::vector<std::string> lines =
        WordsWithoutRecording(list.Words, list.WordCount, list.ProgramFolder, session_->DataLists.aliasText);
    if (lines.empty()) {
        ShowAppMessageUtf8("当前单词表中的每个单词都有语音");
        return;
    }
    QStringList shown;
    for (const std::string& line : lines) shown << Screen(line);
    MemoWordListWithoutWave->setPlainText(shown.join('\n'));
}

// Hiding gives the study window back its input and its clock.
void TformMakeWordLib::ButtonWavReturnClick() { hide(); }
