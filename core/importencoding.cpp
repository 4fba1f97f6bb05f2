#include "core/importencoding.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/appmessage.h"
#include "core/gbktext.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr size_t kListedCharacters = 20;
constexpr size_t kContextBytes = 30;
constexpr size_t none = std::string_view::npos;

bool HoldsNonAscii(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

std::string LineLabel(std::string_view text, size_t offset) {
    return Gbk("第") + std::to_string(ImportLineAt(text, offset)) + Gbk("行");
}

std::string UnreadableMessage(const char* headlineUtf8, const char* adviceUtf8, std::string_view text, size_t offset) {
    return Gbk(headlineUtf8) + "\r\n\r\n" + Gbk("位　　置：") + LineLabel(text, offset) + "\r\n\r\n" + Gbk(adviceUtf8);
}

// The code point of the well-formed UTF-8 character at `offset`.
unsigned CodePointAt(std::string_view utf8, size_t offset) {
    const auto lead = static_cast<unsigned char>(utf8[offset]);
    const size_t len = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    unsigned value = len == 1 ? lead : lead & (0x7F >> len);
    for (size_t k = 1; k < len && offset + k < utf8.size(); ++k)
        value = (value << 6) | (static_cast<unsigned char>(utf8[offset + k]) & 0x3F);
    return value;
}

size_t Utf8Length(std::string_view utf8, size_t offset) {
    const auto lead = static_cast<unsigned char>(utf8[offset]);
    return std::min(utf8.size() - offset, size_t{lead >= 0xF0 ? 4u : lead >= 0xE0 ? 3u : lead >= 0xC0 ? 2u : 1u});
}

// The well-formed UTF-8 `utf8` as message text: GBK, with each character
// GBK cannot hold in its message form, so that the learner sees it.
std::string MessageText(std::string_view utf8) {
    std::vector<size_t> missing;
    const std::string gbk = Utf8ToGbkSkipping(utf8, missing);
    if (missing.empty()) return gbk;
    std::string text;
    size_t from = 0;
    for (size_t at : missing) {
        text += Gbk(utf8.substr(from, at - from));
        const size_t length = Utf8Length(utf8, at);
        text += MessageFormOf(utf8.substr(at, length));
        from = at + length;
    }
    return text + Gbk(utf8.substr(from));
}

// The line holding `offset`, trimmed and cut short: enough to find the
// place in an editor.
std::string LineContext(std::string_view utf8, size_t offset) {
    size_t begin = utf8.find_last_of("\r\n", offset);
    begin = begin == none ? 0 : begin + 1;
    size_t end = utf8.find_first_of("\r\n", offset);
    if (end == none) end = utf8.size();
    // A long line is cut before it is converted; four bytes a character
    // at most keep enough of it.
    end = std::min(end, begin + 8 * kContextBytes);
    while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
    const std::string line = TrimGbk(MessageText(utf8.substr(begin, end - begin)));
    std::string shown = CutGbk(line, kContextBytes);
    if (shown.size() < line.size()) shown += Gbk("…");
    return shown;
}

std::string MissingCharactersMessage(std::string_view utf8, const std::vector<size_t>& missing) {
    std::string text = Gbk("下面的字符在GBK编码中没有，无法存入词库，请修改后再导入！") + "\r\n\r\n";
    for (size_t i = 0; i < missing.size() && i < kListedCharacters; ++i) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", CodePointAt(utf8, missing[i]));
        text += LineLabel(utf8, missing[i]) + Gbk("：“") +
                MessageText(utf8.substr(missing[i], Utf8Length(utf8, missing[i]))) + Gbk("”（") + code +
                Gbk("），在“") + LineContext(utf8, missing[i]) + Gbk("”中") + "\r\n";
    }
    if (missing.size() > kListedCharacters)
        text += Gbk("……共有") + std::to_string(missing.size()) + Gbk("个这样的字符，这里只列出了前") +
                std::to_string(kListedCharacters) + Gbk("个。") + "\r\n";
    return text;
}

std::optional<std::string> Utf8SourceToGbk(std::string_view utf8) {
    if (const size_t bad = FirstNonUtf8(utf8); bad != none) {
        ShowAppMessage(UnreadableMessage("要导入的文本不是有效的UTF-8编码，无法导入！",
                                         "请把它另存为UTF-8编码后再导入。", utf8, bad));
        return std::nullopt;
    }
    std::vector<size_t> missing;
    std::string gbk = Utf8ToGbkSkipping(utf8, missing);
    if (!missing.empty()) {
        ShowAppMessage(MissingCharactersMessage(utf8, missing));
        return std::nullopt;
    }
    return gbk;
}

}  // namespace

size_t ImportLineAt(std::string_view text, size_t offset) {
    size_t line = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++line;
    }
    return line;
}

std::optional<std::string> ImportSourceToGbk(std::string_view bytes, SourceEncoding encoding) {
    const bool marked = bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark;
    if (marked) bytes.remove_prefix(kUtf8Mark.size());
    if (marked || encoding == SourceEncoding::Utf8) return Utf8SourceToGbk(bytes);

    const size_t notUtf8 = FirstNonUtf8(bytes);
    if (notUtf8 == none && HoldsNonAscii(bytes)) return Utf8SourceToGbk(bytes);
    const size_t notGbk = FirstNonGbk(bytes);
    if (notGbk == none) return std::string(bytes);
    // The encoding that reads further is most likely the text's own; the
    // place where that reading fails is the place to look at.
    ShowAppMessage(UnreadableMessage("要导入的文本既不是UTF-8编码，也不是GBK编码，无法导入！",
                                     "请把它另存为UTF-8或GBK编码后再导入。", bytes, std::max(notUtf8, notGbk)));
    return std::nullopt;
}
