// The marks of tagged text, the lookup of one value and the one writer of
// tagged values with the neutralising it always applies.

#include "core/tagtext.h"

#include "core/gbktext.h"

std::string OpenMark(std::string_view name) {
    std::string mark;
    AppendOpenTag(mark, name);
    return mark;
}

std::string CloseMark(std::string_view name) {
    std::string mark;
    AppendCloseTag(mark, name);
    return mark;
}

std::string FindTagValue(std::string_view text, std::string_view name) {
    std::string opening = OpenMark(name);
    std::string closing = CloseMark(name);
    size_t p = FindGbk(text, opening);
    if (p == std::string_view::npos) return {};
    size_t start = p + opening.size();
    size_t q = FindGbk(text, closing);
    if (q == std::string_view::npos || q < start) return {};
    return std::string(text.substr(start, q - start));
}

void AppendOpenTag(std::string& out, std::string_view name) {
    out += '<';
    out += name;
    out += '>';
}

void AppendCloseTag(std::string& out, std::string_view name) {
    out += "</";
    out += name;
    out += '>';
}

namespace {

bool FormatMarkAt(std::string_view text, size_t pos, std::span<const std::string_view> formatTags) {
    size_t k = pos + 1;
    if (k < text.size() && text[k] == '/') ++k;
    for (std::string_view tag : formatTags) {
        if (text.compare(k, tag.size(), tag) == 0 && k + tag.size() < text.size() && text[k + tag.size()] == '>')
            return true;
    }
    return false;
}

}  // namespace

void AppendNeutralValue(std::string& out, std::string_view gbkValue, std::span<const std::string_view> formatTags) {
    const size_t n = gbkValue.size();
    size_t run = 0;  // start of the bytes not yet appended, all kept as they are
    for (size_t i = 0; i < n;) {
        const char c = gbkValue[i];
        const char* replacement = nullptr;
        if (IsGbkLeadByte(static_cast<unsigned char>(c))) {
            if (i + 1 < n) {
                i += 2;
                continue;
            }
            // A lead byte without its second byte would swallow the "<" of
            // the closing mark.
            replacement = "?";
        } else if (c == '<') {
            if (FormatMarkAt(gbkValue, i, formatTags)) replacement = "\xA3\xBC";  // full-width less-than sign
        } else if (c == '\r' || c == '\n' || c == '\0') {
            replacement = " ";
        }
        if (replacement) {
            out.append(gbkValue.data() + run, i - run);
            out += replacement;
            run = i + 1;
        }
        ++i;
    }
    out.append(gbkValue.data() + run, n - run);
}

std::string NeutralValue(std::string_view gbkValue, std::span<const std::string_view> formatTags) {
    std::string value;
    AppendNeutralValue(value, gbkValue, formatTags);
    return value;
}

void AppendTag(std::string& out, std::string_view name, std::string_view gbkValue,
               std::span<const std::string_view> formatTags) {
    AppendOpenTag(out, name);
    AppendNeutralValue(out, gbkValue, formatTags);
    AppendCloseTag(out, name);
}
