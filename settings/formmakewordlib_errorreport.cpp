// The error report page: a notebook kept in "软件报错.txt" beside the
// program (plain GBK, CR LF), read when the page opens and written whole
// when it is left. Picking an error type appends a template filled from
// what the study window shows.

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>
#include <iterator>
#include <optional>
#include <vector>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/plainfile.h"
#include "core/programfolder.h"
#include "core/safewrite.h"
#include "platform/fontregistration.h"
#include "session/studysession.h"
#include "settings/formmakewordlib.h"
#include "widgets/buttons.h"
#include "widgets/screentext.h"

namespace {

constexpr const char* kReportFile = "软件报错.txt";

std::filesystem::path ReportPath() { return ToNativePath(GetProgramFolder() + Gbk(kReportFile)); }

// The memo holds the file's lines separated by "\n"; a line break at the
// end of the text ends the last line rather than starting another.
std::string FileTextOf(const std::string& gbkMemo) {
    std::string file;
    size_t start = 0;
    while (start < gbkMemo.size()) {
        size_t end = gbkMemo.find('\n', start);
        if (end == std::string::npos) end = gbkMemo.size();
        file.append(gbkMemo, start, end - start);
        file += "\r\n";
        start = end + 1;
    }
    return file;
}

// What each error type appends: an empty line first (or not), the
// description, then the library and word lines, the meaning and a line for
// the correction where they apply; "其他错误" asks for a short description.
struct ErrorTemplate {
    const char* item;
    const char* description;
    bool blankLineFirst;
    bool withMeaning;
    bool withCorrection;
};

constexpr ErrorTemplate kTemplates[] = {
    {"单词拼写错误", "错误描述：单词拼写错误", true, false, false},
    {"单词词意错误", "错误描述：单词词意错误", true, true, true},
    {"语音发音错误", "错误描述：单词发音错误", false, false, false},
    {"音标错误", "错误描述：单词音标错误", true, false, false},
    {"例句错误", "错误描述：单词音标错误", true, false, true},
    {"其他错误", "错误描述：其他错误(如运行出错、功能设置不正确、运行出问题等等)", true, false, false},
};
constexpr int kOtherError = 5;

}  // namespace

void TformMakeWordLib::BuildErrorReportPage() {
    auto* page = static_cast<QVBoxLayout*>(PanelErrorReport->layout());
    auto* hint = new QLabel(U("请将您发现的错误简单描述一下。积累到一定数量时发给作者，以便今后升级时进一步完善软件"),
                            PanelErrorReport);
    hint->setWordWrap(true);
    page->addWidget(hint);
    MemoErrorReport = new QPlainTextEdit(PanelErrorReport);
    MemoErrorReport->setObjectName("MemoErrorReport");
    // Reports quote the library's Japanese words among Chinese sentences.
    MemoErrorReport->setFont(JapaneseFirst(MemoErrorReport->font()));
    MemoErrorReport->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    page->addWidget(MemoErrorReport, 1);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(U("错误类型："), PanelErrorReport));
    ComboBoxErrorType = new QComboBox(PanelErrorReport);
    ComboBoxErrorType->setObjectName("ComboBoxErrorType");
    ComboBoxErrorType->setEditable(true);
    ComboBoxErrorType->setInsertPolicy(QComboBox::NoInsert);
    for (const ErrorTemplate& t : kTemplates) ComboBoxErrorType->addItem(U(t.item));
    row->addWidget(ComboBoxErrorType, 1);
    row->addStretch(1);
    suiButton10 = NewButton("suiButton10", "返 回", PanelErrorReport);
    row->addWidget(suiButton10);
    page->addLayout(row);

    connect(ComboBoxErrorType, &QComboBox::activated, this, [this](int index) { ComboBoxErrorTypeClick(index); });
    connect(suiButton10, &QPushButton::clicked, this, [this] { suiButton10Click(); });
}

void TformMakeWordLib::PrepareErrorReport() {
    const std::filesystem::path path = ReportPath();
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        if (std::optional<std::string> text = ReadPlainFile(path))
            MemoErrorReport->setPlainText(ScreenLines(*text));
        else
            ShowAppMessageUtf8("文件打不开");  // the memo keeps what it held
    }
    MemoErrorReport->setFocus();
    MemoErrorReport->moveCursor(QTextCursor::End);
    MemoErrorReport->ensureCursorVisible();
    ComboBoxErrorType->setCurrentIndex(-1);
    ComboBoxErrorType->setEditText(U("请选择错误类型"));
}

// A line is added after a text that ends with a line break, or else
// starts a line of its own after the last one.
void TformMakeWordLib::AppendReportLine(const QString& line) {
    QString text = MemoErrorReport->toPlainText();
    if (text.isEmpty() || text.endsWith('\n'))
        text += line + '\n';
    else
        text += '\n' + line;
    MemoErrorReport->setPlainText(text);
}

void TformMakeWordLib::ComboBoxErrorTypeClick(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kTemplates))) return;
    const ErrorTemplate& t = kTemplates[index];
    const QString library = Screen(session_->LibraryName());
    const QString word = Screen(session_->WordOnScreen());
    const QString meaning = Screen(TrimGbk(session_->MeaningOnScreen()));
    if (t.blankLineFirst) AppendReportLine(QString());
    AppendReportLine(U(t.description));
    if (index == kOtherError) {
        AppendReportLine(U("简要描述："));
    } else {
        AppendReportLine(U("单词库：") + library);
        AppendReportLine(U("单　词：") + word);
        if (t.withMeaning) AppendReportLine(U("词　意：") + meaning);
        if (t.withCorrection) AppendReportLine(U("正确应为："));
    }
    // The caret goes to the end of the last template line, ready for typing.
    MemoErrorReport->setFocus();
    QTextCursor caret = MemoErrorReport->textCursor();
    caret.movePosition(QTextCursor::End);
    if (MemoErrorReport->toPlainText().endsWith('\n')) caret.movePosition(QTextCursor::PreviousCharacter);
    MemoErrorReport->setTextCursor(caret);
}

void TformMakeWordLib::suiButton10Click() {
    // A character GBK cannot hold would be written as something else: the
    // learner is told and stays on the page.
    const std::optional<std::string> text = TypedGbk(MemoErrorReport->toPlainText());
    if (!text) {
        ShowAppMessageUtf8("报错内容中有无法保存的字符，请换个写法");
        return;
    }
    // Hiding gives the study window back, also when the file cannot be
    // written.
    hide();
    ReportSaveResult(SafeWriteFile(ReportPath(), FileTextOf(*text)));
}
