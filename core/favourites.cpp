#include "core/favourites.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "core/appmessage.h"
#include "core/codec.h"
#include "core/gbktext.h"
#include "core/libraryformat.h"
#include "core/libtext.h"
#include "core/numbertext.h"
#include "core/scrambledfile.h"
#include "core/tagtext.h"

namespace {

// Meanings longer than this are shortened in the replace question.
constexpr size_t kShownMeaningBytes = 80;

std::string ShownMeaning(const std::string& meaning) {
    if (meaning.size() <= kShownMeaningBytes) return meaning;
    return CutGbk(meaning, kShownMeaningBytes) + "......";
}

}  // namespace

TMyWordLib::TMyWordLib() : Words(kMaxLibraryWords) {}

void TMyWordLib::BindCountDisplay(CountDisplay display) { display_ = std::move(display); }

std::string TMyWordLib::CountCaption() const { return Gbk("收藏库词数：") + IntToStr(Count); }

void TMyWordLib::ShowCount() const {
    if (display_) display_(CountCaption());
}

void TMyWordLib::Empty() {
    Count = 0;
    CurrentIndex = -1;
    Path.clear();
}

void TMyWordLib::LoadFavourites(const std::string& gbkPath) {
    const std::filesystem::path native = ToNativePath(gbkPath);
    std::error_code ec;
    const bool missing = !std::filesystem::exists(native, ec) && !ec;
    // No file yet is an empty one, which the first favourite collected
    // creates: without a path the favourites would be collected and lost.
    std::optional<std::string> text = missing ? std::optional<std::string>(std::string()) : ReadScrambledFile(native);
    if (!text) {
        ShowAppMessage(Gbk("收藏库文件无法读取：\r\n") + gbkPath + Gbk("\r\n\r\n收藏库暂时为空，原文件不会被改写。"));
        Empty();
        ShowCount();
        return;
    }
    // Read into a copy, so that a damaged file leaves nothing half-taken.
    TMyWordLib next(*this);
    next.Path = gbkPath;
    next.TotalTime = 0;
    next.CurrentIndex = 0;
    next.LoopTimes = 1;
    next.ThisLoopTime = 0;
    next.TotalDisplays = 0;
    try {
        for (const std::string& line : SplitLibraryLines(*text)) {
            if (TrimGbk(line).empty() || !HasOpeningMark(line, "e")) {
                auto intTag = [&line](const char* name, int& field) {
                    if (HasOpeningMark(line, name)) field = StrToInt(FindTagValue(line, name));
                };
                auto textTag = [&line](const std::string& name, std::string& field) {
                    if (HasOpeningMark(line, name)) field = FindTagValue(line, name);
                };
                intTag("lw", next.LastWord);
                intTag("lt", next.LoopTimes);
                intTag("tlt", next.ThisLoopTime);
                intTag("tt", next.TotalTime);
                textTag("date", next.Date);
                textTag("version", next.Version);
                textTag("editor", next.Editor);
                intTag("groupcount", next.GroupCount);
                intTag("groupindex", next.GroupIndex);
                for (int i = 0; i < kGradeLevels; ++i)
                    textTag("GradeWordLastWord" + std::to_string(i), next.GradeWordLastWord[i]);
                continue;
            }
            if (next.CurrentIndex >= kMaxLibraryWords) throw LibraryFormatError(Gbk("文件中的单词超过了10000个。"));
            WordList& word = next.Words[next.CurrentIndex];
            word = ParseWordLine(line);
            next.TotalDisplays += word.StudyTimes;
            ++next.CurrentIndex;
        }
    } catch (const ConvertError& e) {
        // Words read before the fault are not kept: saving them would
        // overwrite the rest of the file.
        ShowAppMessage(Gbk("收藏库文件有误，无法载入：\r\n") + gbkPath + "\r\n\r\n" + e.Message() +
                       Gbk("\r\n\r\n收藏库暂时为空，原文件不会被改写。"));
        Empty();
        ShowCount();
        return;
    }
    next.Count = next.CurrentIndex;
    next.display_ = std::move(display_);
    *this = std::move(next);
    ShowCount();
}

bool TMyWordLib::SaveFavourites() {
    if (Path.empty()) return true;
    std::string text;
    AppendTextTag(text, "editor", Editor);
    AppendTextTag(text, "date", Date);
    AppendTextTag(text, "version", Version);
    AppendNumberTag(text, "lw", CurrentIndex);
    AppendNumberTag(text, "groupcount", GroupCount);
    AppendNumberTag(text, "groupindex", GroupIndex);
    AppendNumberTag(text, "lt", LoopTimes);
    AppendNumberTag(text, "tlt", ThisLoopTime);
    AppendNumberTag(text, "tt", TotalTime);
    for (int i = 0; i < kGradeLevels; ++i)
        AppendTextTag(text, "GradeWordLastWord" + std::to_string(i), GradeWordLastWord[i]);
    text += '\n';
    for (int i = 0; i < Count; ++i) {
        if (i > 0) text += '\n';
        AppendOpenTag(text, "word");
        AppendWordLine(text, Words[i]);
        AppendCloseTag(text, "word");
    }
    if (text.size() > kLargestReadableFile) {
        // Such a file could never be opened again: keep the old one.
        ShowAppMessageUtf8(
            "收藏库的内容太多，保存后的文件将无法打开，因此没有保存！\r\n\r\n请删除一些单词或缩短释义后再保存。");
        return false;
    }
    return ReportSaveResult(WriteScrambledFile(ToNativePath(Path), text));
}

FavouriteAdd TMyWordLib::AddFavourite(const std::string& word, const std::string& meaning) {
    if (Count >= kMaxFavourites) {
        ShowAppMessageUtf8("收藏库单词不能超过3000!");
        return FavouriteAdd::Full;
    }
    // Texts are kept as the file can hold them (one line, no "<"), so what
    // is compared and shown is what will be saved; blanks around a word
    // would only make a second entry of a word already collected.
    const std::string newWord = LibraryTagValue(TrimGbk(word));
    const std::string newMeaning = LibraryTagValue(meaning);
    for (int i = 0; i < Count; ++i) {
        WordList& found = Words[i];
        if (found.Word != newWord) continue;
        if (found.Meaning == newMeaning) return FavouriteAdd::AlreadyThere;
        std::string question = Gbk("单词已经存在：\r\n\t\n英文单词:");
        question += newWord;
        question += "\r\n\r\n";
        question += Gbk("原释义：");
        question += ShownMeaning(found.Meaning);
        question += "\r\n";
        question += Gbk("新释义：");
        question += ShownMeaning(newMeaning);
        question += Gbk("\r\n\r\n是否替换原来的释义？");
        if (ShowAppMessage(question, kMsgYesNoDefaultNo) != kIdYes) return FavouriteAdd::MeaningKept;
        found.Meaning = newMeaning;
        return FavouriteAdd::MeaningReplaced;
    }
    WordList& added = Words[Count];
    added = WordList{};
    added.Word = newWord;
    added.Meaning = newMeaning;
    ++Count;
    ShowCount();
    return FavouriteAdd::Added;
}

void TMyWordLib::RemoveFavourite(int position) {
    if (position < 0 || position >= Count) return;
    for (int i = position; i + 1 < Count; ++i) Words[i] = std::move(Words[i + 1]);
    Words[Count - 1] = WordList{};
    --Count;
    ShowCount();
}

void TMyWordLib::ReplaceFavourite(int position, const std::string& word, const std::string& meaning) {
    if (position < 0 || position >= Count) return;
    Words[position].Word = LibraryTagValue(word);
    Words[position].Meaning = LibraryTagValue(meaning);
}

void TMyWordLib::ClearFavourites() {
    Count = 0;
    CurrentIndex = -1;
    ShowCount();
}
