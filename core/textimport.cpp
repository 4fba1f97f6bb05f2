#include "core/textimport.h"

#include "core/appmessage.h"
#include "core/codec.h"
#include "core/gbktext.h"
#include "core/importencoding.h"
#include "core/libraryformat.h"
#include "core/libtext.h"
#include "core/plainfile.h"
#include "core/scrambledfile.h"
#include "core/wordlib.h"

namespace {

// A message about one entry: what is wrong, where (`index` counts the
// lines from zero; the message counts from 1, as editors show them), and
// the entry's texts.
std::string EntryMessage(std::string_view headlineUtf8, size_t index, const WordList& entry) {
    std::string text = Gbk(headlineUtf8);
    text += "\r\n\r\n";
    text += Gbk("位　　置：第");
    text += std::to_string(index + 1);
    text += Gbk("行\r\n");
    text += Gbk("单词位置：\"");
    text += entry.Word;
    text += "\"\r\n";
    text += Gbk("解释位置：\"");
    text += entry.Meaning;
    text += "\"\r\n";
    return text;
}

bool HasTwoSpaceIndent(std::string_view line) { return line.size() >= 2 && line[0] == ' ' && line[1] == ' '; }

// True when the last byte of `text` is the first half of a double-byte
// character. Written as it is, it would pair with the "<" of the closing mark,
// and the value would read back empty.
bool EndsInsideCharacter(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) i += IsGbkLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    return i > text.size();
}

// A NUL would end the text when the library is read back, a format mark
// would be taken for the end of the value, and so would a cut character.
std::string UnstorablePart(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) return Gbk("空字符（NUL）");
    if (EndsInsideCharacter(text)) return Gbk("结尾不完整的双字节字符（文本可能不是GBK编码）");
    std::string mark = FindFormatMark(text);
    if (!mark.empty()) return "\"" + mark + "\"";
    return {};
}

bool HeaderTextsStorable(std::string_view editor, std::string_view date, std::string_view version) {
    for (std::string_view text : {editor, date, version}) {
        if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos ||
            !FindFormatMark(text).empty() || EndsInsideCharacter(text)) {
            ShowAppMessageUtf8(
                "制作者、制作时间和词库版本中不能含有换行符、空字符、不完整的双字节字符或“<e>"
                "”这样的词库标记，请修改后再导入！");
            return false;
        }
    }
    return true;
}

}  // namespace

bool ParseTextLib(std::string_view gbkText, std::vector<WordList>& words) {
    words.clear();
    std::vector<std::string> lines = SplitLibraryLines(gbkText);
    // Blank lines at the end are what editors leave behind, not entries.
    while (!lines.empty() && TrimGbk(lines.back()).empty()) lines.pop_back();
    if (lines.size() > kMaxImportLines) {
        ShowAppMessage(
            Gbk("文本共有") + std::to_string(lines.size()) +
            Gbk("行，超过了20000行（10000个单词）的上限，无法导入！\r\n\r\n请把它分成几个较小的词库再导入。"));
        return false;
    }
    for (size_t k = 0; k < lines.size() / 2; ++k) {
        const std::string& wordLine = lines[2 * k];
        const std::string& meaningLine = lines[2 * k + 1];
        WordList entry;
        entry.Word = TrimGbk(wordLine);
        entry.Meaning = TrimGbk(meaningLine);
        words.push_back(entry);
        if (k % 2 == 1 && !HasTwoSpaceIndent(meaningLine)) {
            ShowAppMessage(EntryMessage("下面的单词格式不正确，请修改后再导入！", 2 * k, entry));
            return false;
        }
        for (size_t part = 0; part < 2; ++part) {
            std::string bad = UnstorablePart(part == 0 ? entry.Word : entry.Meaning);
            if (!bad.empty()) {
                ShowAppMessage(EntryMessage("下面的单词含有词库文件不能保存的内容：" + Utf8(bad) + "，请修改后再导入！",
                                            2 * k + part, entry));
                return false;
            }
        }
    }
    // A word on the last line without its explanation is a fault like any
    // other, not something to leave out unsaid.
    if (lines.size() % 2 == 1) {
        WordList last;
        last.Word = TrimGbk(lines.back());
        ShowAppMessage(
            EntryMessage("最后一行的单词没有解释，请在它下面补上解释（行首空两格）后再导入！", lines.size() - 1, last));
        return false;
    }
    return true;
}

std::string ImportedLibraryText(const std::vector<WordList>& words, std::string_view editor, std::string_view date,
                                std::string_view version) {
    std::string text;
    text.reserve(256 + words.size() * 64);
    AppendTextTag(text, "editor", editor);
    AppendTextTag(text, "date", date);
    AppendTextTag(text, "version", version);
    AppendNumberTag(text, "lw", 0);
    AppendNumberTag(text, "groupcount", 1);
    AppendNumberTag(text, "groupindex", 0);
    AppendNumberTag(text, "lt", 1);
    AppendNumberTag(text, "tlt", 0);
    AppendNumberTag(text, "tt", 0);
    for (int i = 0; i < kGradeLevels; ++i) AppendTextTag(text, "GradeWordLastWord" + std::to_string(i), "");
    text += '\n';
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0) text += '\n';
        WordList fresh = words[i];
        fresh.StudyTimes = 0;
        fresh.Grade = 0;
        AppendWordLine(text, fresh);
    }
    return text;
}

bool ImportTextLibText(std::string_view gbkText, const std::filesystem::path& target, std::string_view editor,
                       std::string_view date, std::string_view version, std::vector<WordList>* words) {
    std::vector<WordList> parsed;
    bool ok = HeaderTextsStorable(editor, date, version) && ParseTextLib(gbkText, parsed);
    if (ok) {
        std::string plain = ImportedLibraryText(parsed, editor, date, version);
        // A library filled to the limit could never save the learner's
        // progress, which makes it grow.
        const size_t reserve = LibraryGrowthReserve(parsed);
        if (plain.size() + reserve > kLargestReadableFile) {
            ShowAppMessage(
                Gbk("导入后的词库文件将有") + std::to_string(plain.size()) + Gbk("字节，学习中还要留出") +
                std::to_string(reserve) +
                Gbk("字节的余地（学习次数、学习进度），而词库文件最大只能有599998字节，因此没有导入！\r\n\r\n"
                    "请把文本分成几个较小的词库再导入。"));
            ok = false;
        } else {
            ok = ReportSaveResult(WriteScrambledFile(target, plain));
        }
    }
    if (words) *words = std::move(parsed);
    return ok;
}

bool ImportTextLibFile(const std::filesystem::path& source, const std::filesystem::path& target,
                       std::string_view editor, std::string_view date, std::string_view version,
                       std::vector<WordList>* words, SourceEncoding encoding) {
    if (words) words->clear();
    std::optional<std::string> text = ReadPlainFile(source);
    if (!text) {
        ShowAppMessage(Gbk("无法读取要导入的文本文件：\r\n") + FromNativePath(source));
        return false;
    }
    std::optional<std::string> gbk = ImportSourceToGbk(*text, encoding);
    if (!gbk) return false;
    return ImportTextLibText(*gbk, target, editor, date, version, words);
}

bool ImportTextLib(const std::string& gbkSource, const std::string& gbkTarget, const std::string& editor,
                   const std::string& date, const std::string& version, std::vector<WordList>* words) {
    return ImportTextLibFile(ToNativePath(gbkSource), ToNativePath(gbkTarget), editor, date, version, words);
}

bool ImportTextLib(TWordLib& lib, const std::string& gbkSource, const std::string& gbkTarget, const std::string& editor,
                   const std::string& date, const std::string& version) {
    lib.WordCount = 0;
    lib.Editor = editor;
    lib.Date = date;
    lib.Version = version;
    lib.Path = gbkTarget;
    lib.CurrentIndex = 0;
    lib.LoopTimes = 1;
    lib.ThisLoopTime = 0;
    lib.TotalTime = 0;
    lib.GroupIndex = 0;
    lib.GroupCount = 1;
    std::vector<WordList> words;
    bool ok = ImportTextLib(gbkSource, gbkTarget, editor, date, version, &words);
    std::move(words.begin(), words.end(), lib.Words.begin());
    lib.WordCount = static_cast<int>(words.size());
    if (ok) lib.SaveCount = lib.WordCount;
    return ok;
}
