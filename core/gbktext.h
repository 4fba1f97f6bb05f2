#pragma once
// GBK text handling. Texts inside the program are GBK byte strings, exactly
// as the data files hold them; conversion to UTF-8 happens only at the
// screen and at the file system, through the functions here.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// True for a byte that starts a GBK double-byte character.
inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Removes blanks and control characters (bytes up to 0x20) at both ends.
// GBK trail bytes are never below 0x40, so this never splits a character.
std::string TrimGbk(std::string_view text);

// GBK -> UTF-8. Bytes that are not valid GBK come out as U+FFFD, except a
// GB18030 four-byte sequence (see MessageFormOf), which comes out as its
// character.
std::string GbkToUtf8(std::string_view gbk);
// UTF-8 -> GBK. Returns nothing when a character has no GBK form (or the
// UTF-8 is malformed); `badOffset` then receives the byte offset of it.
std::optional<std::string> TryUtf8ToGbk(std::string_view utf8, size_t* badOffset = nullptr);
// A character GBK cannot hold (one UTF-8 character), in the form a message
// carries it so that the learner sees the character itself: its GB18030
// four-byte sequence, which is never GBK and which GbkToUtf8 turns back
// into the character. "?" where the character has no such sequence.
std::string MessageFormOf(std::string_view utf8Character);
// UTF-8 (well formed) -> GBK, leaving out every character GBK cannot hold;
// `missing` receives the byte offset of each one left out, in order.
std::string Utf8ToGbkSkipping(std::string_view utf8, std::vector<size_t>& missing);
// Offset of the first byte that is not part of a well-formed UTF-8
// character (no overlong forms, surrogates or values past U+10FFFF);
// std::string_view::npos when the whole text is UTF-8.
size_t FirstNonUtf8(std::string_view text);
// Offset of the first byte that is not part of a GBK character: a byte
// below 0x80, or a lead byte 0x81..0xFE followed by a trail byte
// 0x40..0xFE other than 0x7F. std::string_view::npos when there is none.
size_t FirstNonGbk(std::string_view text);
// UTF-8 -> GBK for the program's own texts (captions and messages), which
// are written as UTF-8 literals in the sources. Unconvertible characters
// become '?'.
std::string Gbk(std::string_view utf8);
// Short name used at the screen boundary.
inline std::string Utf8(std::string_view gbk) { return GbkToUtf8(gbk); }

// First position at or after `from` where `needle` occurs in the GBK
// `text`, never starting on the second byte of a double-byte character;
// std::string::npos when there is none. Byte-exact and case-sensitive.
size_t FindGbk(std::string_view text, std::string_view needle, size_t from = 0);

// Cuts a GBK text to at most `maxBytes` bytes without splitting a
// double-byte character.
std::string CutGbk(std::string_view text, size_t maxBytes);

// A GBK path such as "D:\\prog\\users\\user0\\收藏库.lx" or a program folder
// joined with "wordlib\\收藏库.lx": backslashes become the native separator
// and the name becomes a native file name (UTF-8 on Linux and macOS).
std::filesystem::path ToNativePath(std::string_view gbkPath);
// The reverse, for a folder found on disk (for example the executable's):
// GBK text with '/' kept as the separator on POSIX systems.
std::string FromNativePath(const std::filesystem::path& path);
