#include "core/datalists.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "core/gbktext.h"
#include "core/numbertext.h"
#include "core/scrambledfile.h"

namespace {

constexpr size_t kLookupWindow = 100;   // bytes taken after a found word
constexpr size_t kSentencePart = 1000;  // longest sentence field or translation

// A list that is not there has no entries. One that is there but cannot be
// read (a damaged disk, a folder in its place) has none either, but it is
// named in `unreadable`; one too large to read has been reported already.
std::string ReadList(const std::string& folder, const char* name, std::vector<std::string>& unreadable) {
    const std::filesystem::path path = ToNativePath(folder + name);
    std::optional<std::string> text = ReadScrambledFile(path);
    if (text) return std::move(*text);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) return {};
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size <= kLargestReadableFile) unreadable.push_back(name);
    return {};
}

// Position of the first byte of `word` in an entry "LF word TAB", or npos.
size_t FindEntry(std::string_view text, std::string_view word) {
    std::string needle;
    needle.reserve(word.size() + 2);
    needle += '\n';
    needle += word;
    needle += '\t';
    // A line feed is never the second byte of a GBK character, so a plain
    // search cannot start inside one.
    size_t pos = text.find(needle);
    return pos == std::string_view::npos ? pos : pos + 1;
}

std::optional<int> ParseSentenceNumber(std::string_view field) {
    try {
        return StrToInt(field);
    } catch (const ConvertError&) {
        return std::nullopt;
    }
}

}  // namespace

std::vector<std::string> StudyDataLists::LoadWordLists(const std::string& gbkProgramFolder) {
    std::vector<std::string> unreadable;
    aliasText = LowerCaseGbk(ReadList(gbkProgramFolder, "lx1.en", unreadable));
    readingText = ReadList(gbkProgramFolder, "lx2.en", unreadable);
    return unreadable;
}

std::vector<std::string> StudyDataLists::LoadSentenceLists(const std::string& gbkProgramFolder) {
    std::vector<std::string> unreadable;
    sentenceLines = SplitDataLines(ReadList(gbkProgramFolder, "lx3.en", unreadable));
    sentenceIndexText.clear();
    for (const std::string& line : SplitDataLines(ReadList(gbkProgramFolder, "lx4.en", unreadable))) {
        sentenceIndexText += line;
        sentenceIndexText += "\r\n";
    }
    return unreadable;
}

std::string UnreadableDataListMessage(const std::string& name) {
    return Gbk("数据文件 ") + name + Gbk(" 无法读取，单词的读音、录音或例句将不能显示。");
}

std::string LowerCaseGbk(std::string_view gbk) {
    std::string out(gbk);
    for (size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (IsGbkLeadByte(c)) {
            ++i;  // the trail byte may look like a capital letter
        } else if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::vector<std::string> SplitDataLines(std::string_view text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (end == text.size() && line.empty()) break;  // no empty entry after a final LF
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

std::string LookupReading(std::string_view readingText, std::string_view word) {
    size_t at = FindEntry(readingText, word);
    if (at == std::string_view::npos) return {};
    std::string_view window = readingText.substr(at, kLookupWindow);
    size_t lineEnd = window.find('\n');
    if (lineEnd == std::string_view::npos) return {};
    size_t tab = window.find('\t');
    return TrimGbk(window.substr(tab, lineEnd - tab));
}

std::string LookupAlias(std::string_view aliasText, std::string_view word) {
    std::string lowered = LowerCaseGbk(word);
    size_t at = FindEntry(aliasText, lowered);
    if (at == std::string_view::npos) return {};
    std::string_view rest = aliasText.substr(at + lowered.size() + 1);
    size_t lineEnd = rest.find('\n');
    if (lineEnd != std::string_view::npos && lineEnd < kLookupWindow) return TrimGbk(rest.substr(0, lineEnd));
    return TrimGbk(CutGbk(rest, kLookupWindow));
}

std::optional<std::vector<std::string>> LookupSentences(std::string_view indexText,
                                                        const std::vector<std::string>& sentenceLines,
                                                        std::string_view word, int sentenceCountPerWord) {
    size_t at = FindEntry(indexText, word);
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view line = indexText.substr(at);
    line = line.substr(0, line.find_first_of("\r\n"));

    std::vector<std::string> shown;
    const size_t limit = 2 * static_cast<size_t>(std::max(sentenceCountPerWord, 0));
    for (;;) {
        size_t tab = line.find('\t');
        if (tab == std::string_view::npos || shown.size() >= limit) break;
        line = line.substr(tab + 1, kSentencePart);
        std::string field = TrimGbk(line.substr(0, line.find('\t')));
        if (field.empty()) continue;
        std::optional<int> number = ParseSentenceNumber(field);
        if (!number || *number < 0 || static_cast<size_t>(*number) >= sentenceLines.size()) continue;
        const std::string& sentence = sentenceLines[static_cast<size_t>(*number)];
        size_t split = sentence.find('\t');
        if (split == std::string::npos) {
            shown.emplace_back();
            shown.push_back(CutGbk(sentence, kSentencePart));
        } else {
            shown.push_back(sentence.substr(0, split));
            shown.push_back(CutGbk(std::string_view(sentence).substr(split + 1), kSentencePart));
        }
    }
    return shown;
}
