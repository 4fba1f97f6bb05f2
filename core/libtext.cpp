// The search for a mark of the library format inside a value.

#include "core/libtext.h"

#include <algorithm>
#include <iterator>

#include "core/gbktext.h"
#include "core/tagtext.h"

std::string FindFormatMark(std::string_view text) {
    // One pass over the characters (a lead byte takes the next byte with
    // it, so a "<" inside a double-byte character is no mark). Of the marks
    // found, the one reported is the first in the order of the tags, an
    // opening mark before its closing one.
    constexpr size_t kNone = 2 * std::size(kLibraryFormatTags);
    size_t first = kNone;  // 2 * tag index + 1 for a closing mark
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '<') {
            const bool closing = i + 1 < n && text[i + 1] == '/';
            const size_t k = i + 1 + closing;
            for (size_t t = 0; 2 * t + closing < first; ++t) {
                const std::string_view tag = kLibraryFormatTags[t];
                if (k + tag.size() < n && text[k + tag.size()] == '>' && text.compare(k, tag.size(), tag) == 0) {
                    first = 2 * t + closing;
                    break;
                }
            }
        }
        i += (IsGbkLeadByte(c) && i + 1 < n) ? 2 : 1;
    }
    if (first == kNone) return {};
    const std::string_view tag = kLibraryFormatTags[first / 2];
    return first % 2 ? CloseMark(tag) : OpenMark(tag);
}
