#include "core/gbktext.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

// Length of the UTF-8 sequence a lead byte starts (1 for a stray byte).
size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

bool IsFourByteGb18030(const char* p) {
    const auto b = [p](int i) { return static_cast<unsigned char>(p[i]); };
    return b(0) >= 0x81 && b(0) <= 0xFE && b(1) >= 0x30 && b(1) <= 0x39 && b(2) >= 0x81 && b(2) <= 0xFE &&
           b(3) >= 0x30 && b(3) <= 0x39;
}

#ifndef _WIN32
std::optional<std::string> WellFormedUtf8ToGbk(std::string_view utf8);

// One conversion with iconv. Returns false at the first unconvertible or
// malformed input sequence, reporting its offset. With `skipped`, a UTF-8
// character that has no form in the target is left out instead and its
// offset recorded.
bool IconvConvert(const char* to, const char* from, std::string_view in, std::string& out, size_t* badOffset,
                  bool replaceInvalid, std::vector<size_t>* skipped = nullptr) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    out.clear();
    out.reserve(in.size() * 3 / 2 + 4);
    const char* src = in.data();
    size_t srcLeft = in.size();
    char buffer[4096];
    bool ok = true;
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t r = iconv(cd, const_cast<char**>(&src), &srcLeft, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            if (skipped && errno == EILSEQ) {
                skipped->push_back(static_cast<size_t>(src - in.data()));
                const size_t step = std::min(srcLeft, Utf8SequenceLength(static_cast<unsigned char>(*src)));
                src += step;
                srcLeft -= step;
                continue;
            }
            if (!replaceInvalid) {
                if (badOffset) *badOffset = static_cast<size_t>(src - in.data());
                ok = false;
                break;
            }
            // A GB18030 four-byte sequence is never GBK: it is how a
            // message names a character GBK cannot hold (MessageFormOf).
            if (srcLeft >= 4 && IsFourByteGb18030(src)) {
                std::string character;
                if (IconvConvert("UTF-8", "GB18030", std::string_view(src, 4), character, nullptr, false)) {
                    out += character;
                    src += 4;
                    srcLeft -= 4;
                    continue;
                }
            }
            // Invalid or incomplete GBK: one replacement character per
            // offending byte keeps the rest readable.
            out += "\xEF\xBF\xBD";
            ++src;
            --srcLeft;
        }
    }
    iconv_close(cd);
    return ok;
}
#else
bool WinConvert(UINT fromCp, UINT toCp, std::string_view in, std::string& out, size_t* badOffset, bool replaceInvalid) {
    out.clear();
    if (in.empty()) return true;
    DWORD flags = replaceInvalid ? 0 : MB_ERR_INVALID_CHARS;
    int wlen = MultiByteToWideChar(fromCp, flags, in.data(), static_cast<int>(in.size()), nullptr, 0);
    if (wlen <= 0) {
        if (badOffset) *badOffset = 0;
        return false;
    }
    std::wstring wide(wlen, L'\0');
    MultiByteToWideChar(fromCp, flags, in.data(), static_cast<int>(in.size()), wide.data(), wlen);
    BOOL usedDefault = FALSE;
    BOOL* usedPtr = toCp == CP_UTF8 ? nullptr : &usedDefault;
    int len = WideCharToMultiByte(toCp, 0, wide.data(), wlen, nullptr, 0, nullptr, usedPtr);
    out.resize(len);
    WideCharToMultiByte(toCp, 0, wide.data(), wlen, out.data(), len, nullptr, usedPtr);
    if (usedDefault && !replaceInvalid) {
        if (badOffset) *badOffset = 0;
        return false;
    }
    return true;
}
#endif

}  // namespace

std::string TrimGbk(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20) ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20) --end;
    return std::string(text.substr(begin, end - begin));
}

std::string GbkToUtf8(std::string_view gbk) {
    std::string out;
    bool ascii = true;
    for (char c : gbk) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return std::string(gbk);
#ifdef _WIN32
    WinConvert(936, CP_UTF8, gbk, out, nullptr, true);
#else
    IconvConvert("UTF-8", "GBK", gbk, out, nullptr, true);
#endif
    return out;
}

std::optional<std::string> TryUtf8ToGbk(std::string_view utf8, size_t* badOffset) {
    std::string out;
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(utf8);
#ifdef _WIN32
    if (!WinConvert(CP_UTF8, 936, utf8, out, badOffset, false)) return std::nullopt;
#else
    if (auto converted = WellFormedUtf8ToGbk(utf8)) return converted;
    if (!IconvConvert("GBK", "UTF-8", utf8, out, badOffset, false)) return std::nullopt;
#endif
    return out;
}

std::string MessageFormOf(std::string_view utf8Character) {
#ifndef _WIN32
    std::string form;
    if (IconvConvert("GB18030", "UTF-8", utf8Character, form, nullptr, false) && form.size() == 4 &&
        IsFourByteGb18030(form.data()))
        return form;
#else
    (void)utf8Character;
#endif
    return "?";
}

std::string Utf8ToGbkSkipping(std::string_view utf8, std::vector<size_t>& missing) {
    missing.clear();
    if (auto whole = TryUtf8ToGbk(utf8)) return *whole;
    std::string out;
#ifdef _WIN32
    // Character by character: the code-page API reports only that something
    // was replaced, not where.
    size_t pos = 0;
    while (pos < utf8.size()) {
        size_t len = static_cast<unsigned char>(utf8[pos]) < 0x80
                         ? 1
                         : std::min(utf8.size() - pos, Utf8SequenceLength(static_cast<unsigned char>(utf8[pos])));
        std::string one;
        if (WinConvert(CP_UTF8, 936, utf8.substr(pos, len), one, nullptr, false))
            out += one;
        else
            missing.push_back(pos);
        pos += len;
    }
#else
    IconvConvert("GBK", "UTF-8", utf8, out, nullptr, false, &missing);
#endif
    return out;
}

namespace {

// Length of the well-formed UTF-8 character that starts at `i` (a byte at
// or above 0x80), 0 when none does: no overlong forms, surrogates or values
// past U+10FFFF.
inline size_t Utf8CharacterAt(std::string_view text, size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    size_t len = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0)
            low = 0xA0;  // no overlong forms
        else if (c == 0xED)
            high = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0)
            low = 0x90;
        else if (c == 0xF4)
            high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + len > text.size()) return 0;
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (second < low || second > high) return 0;
    for (size_t k = 2; k < len; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
    return len;
}

// Length of the GBK double-byte character that starts at `i` (a byte at or
// above 0x80), 0 when none does.
size_t GbkCharacterAt(std::string_view text, size_t i) {
    if (!IsGbkLeadByte(static_cast<unsigned char>(text[i])) || i + 1 >= text.size()) return 0;
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return 0;
    return 2;
}

// Offset of the first byte that starts no character of the encoding whose
// multi-byte characters `characterAt` measures; ASCII bytes stand alone.
template <typename CharacterAt>
size_t FirstNonCharacter(std::string_view text, CharacterAt characterAt) {
    size_t i = 0;
    while (i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const size_t len = characterAt(text, i);
        if (len == 0) return i;
        i += len;
    }
    return std::string_view::npos;
}

#ifndef _WIN32
static_assert(sizeof(wchar_t) == 4, "iconv's WCHAR_T is taken to hold code points");

// UTF-8 to GBK with the decoding done here and iconv asked only for the
// GBK form of each code point, which spares it the costlier half of the
// work. Gives nothing for a text that is not well-formed or holds a
// character GBK lacks: the caller's full conversion then finds the place.
std::optional<std::string> WellFormedUtf8ToGbk(std::string_view utf8) {
    std::vector<wchar_t> wide(utf8.size());
    size_t n = 0;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            wide[n++] = static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        const size_t len = Utf8CharacterAt(utf8, i);
        if (len == 0) return std::nullopt;
        uint32_t value = lead & (0x7F >> len);
        for (size_t k = 1; k < len; ++k) value = (value << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        wide[n++] = static_cast<wchar_t>(value);
        i += len;
    }
    wide.resize(n);
    iconv_t cd = iconv_open("GBK", "WCHAR_T");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(wide.size() * 2, '\0');  // at most two bytes a character
    char* src = reinterpret_cast<char*>(wide.data());
    size_t srcLeft = wide.size() * sizeof(wchar_t);
    char* dst = out.data();
    size_t dstLeft = out.size();
    const size_t r = srcLeft ? iconv(cd, &src, &srcLeft, &dst, &dstLeft) : 0;
    iconv_close(cd);
    if (r == static_cast<size_t>(-1) || srcLeft != 0) return std::nullopt;
    out.resize(out.size() - dstLeft);
    return out;
}
#endif

}  // namespace

size_t FirstNonUtf8(std::string_view text) { return FirstNonCharacter(text, Utf8CharacterAt); }

size_t FirstNonGbk(std::string_view text) { return FirstNonCharacter(text, GbkCharacterAt); }

std::string Gbk(std::string_view utf8) {
    if (auto converted = TryUtf8ToGbk(utf8)) return *converted;
    // Convert piece by piece so that one stray character does not lose the
    // whole text.
    std::string out;
    size_t pos = 0;
    while (pos < utf8.size()) {
        size_t bad = 0;
        auto rest = TryUtf8ToGbk(utf8.substr(pos), &bad);
        if (rest) {
            out += *rest;
            break;
        }
        if (auto head = TryUtf8ToGbk(utf8.substr(pos, bad))) out += *head;
        out += '?';
        pos += bad + 1;
        while (pos < utf8.size() && (static_cast<unsigned char>(utf8[pos]) & 0xC0) == 0x80) ++pos;
    }
    return out;
}

size_t FindGbk(std::string_view text, std::string_view needle, size_t from) {
    if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
    size_t i = 0;
    while (i < text.size()) {
        // The first byte is checked before the whole needle: most places
        // differ there, and a library holds thousands of tags to find.
        if (i >= from && text[i] == needle[0] && text.compare(i, needle.size(), needle) == 0) return i;
        i += (IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
    }
    return std::string_view::npos;
}

std::string CutGbk(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return std::string(text);
    size_t i = 0;
    while (i < maxBytes) {
        size_t step = IsGbkLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + step > maxBytes) break;
        i += step;
    }
    return std::string(text.substr(0, i));
}

std::filesystem::path ToNativePath(std::string_view gbkPath) {
    std::string utf8 = GbkToUtf8(gbkPath);
#ifdef _WIN32
    std::u8string u8(utf8.begin(), utf8.end());
    return std::filesystem::path(u8);
#else
    for (char& c : utf8)
        if (c == '\\') c = '/';
    return std::filesystem::path(utf8);
#endif
}

std::string FromNativePath(const std::filesystem::path& path) {
    std::u8string u8 = path.u8string();
    std::string utf8(u8.begin(), u8.end());
    return Gbk(utf8);
}
