// Opening, saving and previewing the library file of TWordLib0.

#include <fstream>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/libraryformat.h"
#include "core/numbertext.h"
#include "core/tagtext.h"
#include "core/wordlib0.h"

namespace {

bool CanOpen(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return false;
    std::ifstream file(path, std::ios::binary);
    return file.is_open();
}

// A library file whose text the line parse refuses: cut short, a number
// that is not one, a grade out of range, too many words. The learner learns
// which file it is and that nothing was opened.
void ShowDamagedLibrary(const std::filesystem::path& file, const std::string& gbkReason, bool libraryOpen) {
    std::string text = Gbk("词库“") + FromNativePath(file.filename()) + Gbk("”已损坏，没有打开。\r\n\r\n") + gbkReason +
                       Gbk("\r\n\r\n文件：") + FromNativePath(file);
    if (libraryOpen) text += Gbk("\r\n\r\n正在学习的词库照常使用。");
    ShowAppMessage(text);
}

}  // namespace

bool TWordLib0::OpenWordLib(const std::string& gbkPath) {
    std::filesystem::path native = ToNativePath(gbkPath);
    if (!CanOpen(native)) {
        ShowAppMessageUtf8("文件打不开");
        return false;
    }
    std::optional<std::string> text = ReadScrambledFile(native);
    if (!text) return false;

    // The file is parsed aside and taken over only when all of it was read,
    // so a refused file leaves the open library (and its Path) as it was.
    std::vector<std::string> lines = SplitLibraryLines(*text);
    LibraryFileValues values;
    values.Date = Date;
    values.Editor = Editor;
    values.Version = Version;
    values.LastWord = LastWord;
    values.TotalTime = 0;
    values.GroupCount = GroupCount;
    values.GroupIndex = GroupIndex;
    values.BaseGrade = BaseGrade;
    values.GradeWordLastWord = GradeWordLastWord;
    std::vector<WordList> words;
    words.reserve(lines.size());
    try {
        ParseLibraryLines(lines, values, words);
    } catch (const ConvertError& e) {
        ShowDamagedLibrary(native, e.Message(), !Path.empty());
        return false;
    }

    Path = gbkPath;
    Lines = std::move(lines);
    Date = std::move(values.Date);
    Editor = std::move(values.Editor);
    Version = std::move(values.Version);
    LastWord = values.LastWord;
    LoopTimes = values.LoopTimes;
    ThisLoopTime = values.ThisLoopTime;
    TotalTime = values.TotalTime;
    TotalDisplays = values.TotalDisplays;
    GroupCount = values.GroupCount;
    GroupIndex = values.GroupIndex;
    BaseGrade = values.BaseGrade;
    GradeWordLastWord = std::move(values.GradeWordLastWord);
    ++layout_;
    Count = static_cast<int>(words.size());
    words.resize(kMaxLibraryWords);
    Words = std::move(words);
    Screen().WriteCycleNo(IntToStr(LoopTimes));

    // Grouping divides by the group count, so one below 1 cannot stand;
    // one above 200 or above the word count only warns (empty groups).
    if (GroupCount < 1) {
        ShowAppMessageUtf8("分组数超过200或超过单词数！");
        GroupCount = 1;
    }
    bool groupShown = false;
    if (Count > 0) {
        SetGroupCount(GroupCount);
        // A group index outside the groups would study words that could
        // never be stored back; the first group is studied instead.
        groupShown = SetGroupIndex(GroupIndex) || SetGroupIndex(0);
        ShowBaseGrade();
    } else {
        if (GroupIndex < 0 || GroupIndex >= GroupCount) GroupIndex = 0;
        // Nothing is shown, but the labels belong to this library now.
        ShowGroupNo();
        ShowBaseGrade();
    }
    if (StudyLib) {
        StudyLib->GroupIndex = GroupIndex;
        StudyLib->GroupCount = GroupCount;
        // SetGroupIndex has loaded the group and shown its word; loading it
        // again would undo that showing's count.
        if (!groupShown) LoadGroup(GroupIndex);
        if (StudyLib->WordCount == 0) {
            StudyLib->CurrentIndex = -1;
            StudyLib->Step = 0;
        }
        StudyLib->ShownCount = 0;
        StudyLib->ActiveSeconds = 0;
    }
    return true;
}

bool TWordLib0::SaveWordLib() {
    if (Path.empty()) return false;
    // The whole text is put together first and scrambled in one piece.
    const TWordLib* list = StudyLib;
    std::string plain;
    plain.reserve(1024 + static_cast<size_t>(Count) * 64);
    AppendTextTag(plain, "editor", Editor);
    AppendTextTag(plain, "date", Date);
    AppendTextTag(plain, "version", Version);
    AppendNumberTag(plain, "lw", list ? list->CurrentIndex : LastWord);
    AppendNumberTag(plain, "groupcount", list ? list->GroupCount : GroupCount);
    AppendNumberTag(plain, "groupindex", list ? list->GroupIndex : GroupIndex);
    AppendNumberTag(plain, "lt", LoopTimes);
    AppendNumberTag(plain, "tlt", ThisLoopTime);
    AppendNumberTag(plain, "tt", TotalTime);
    AppendNumberTag(plain, "basegrade", BaseGrade);
    for (int i = 0; i < kGradeLevels; ++i)
        AppendTextTag(plain, "GradeWordLastWord" + IntToStr(i), GradeWordLastWord[i]);
    plain += '\n';
    for (int i = 0; i < Count; ++i) {
        if (i > 0) plain += '\n';
        AppendWordLine(plain, Words[i]);
    }
    // Study counts grow digits, so a library near the size limit can outgrow
    // it. Such a file could never be opened again: the old one is kept.
    if (plain.size() > kLargestReadableFile) {
        ShowAppMessage(Gbk("词库文件保存后将有") + IntToStr(static_cast<int>(plain.size())) +
                       Gbk("字节，超过了词库文件599998字节的上限，以后将无法打开，因此没有保存！"));
        return false;
    }
    Writer.Open(ToNativePath(Path));
    Writer.WritePlain(plain);
    return ReportSaveResult(Writer.Close());
}

std::optional<WordLibHeader> TWordLib0::ReadWordLibHeader(const std::string& gbkPath) const {
    std::optional<std::string> text = ReadScrambledFile(ToNativePath(gbkPath));
    if (!text) return std::nullopt;
    WordLibHeader header;
    header.Editor = FindTagValue(*text, "editor");
    header.Date = FindTagValue(*text, "date");
    header.Version = FindTagValue(*text, "version");
    return header;
}
