#pragma once
// How the text of a word list to import is read. Word lists come as UTF-8
// (most editors today) or GBK (the program's own encoding); the program
// keeps GBK, so a UTF-8 text is converted, and whatever GBK cannot hold is
// named to the learner rather than lost.

#include <optional>
#include <string>
#include <string_view>

enum class SourceEncoding {
    Detect,  // a UTF-8 byte order mark, or well-formed UTF-8 holding non-ASCII: UTF-8; else GBK
    Utf8,    // UTF-8 whatever the text holds
};

// Line numbers in the import's messages count from 1, as editors show
// them; lines end in CR LF, LF or CR.
size_t ImportLineAt(std::string_view text, size_t offset);

// The import source `bytes` as GBK text, without a UTF-8 byte order mark.
// Nothing, after one message, when the text is neither UTF-8 nor GBK (the
// message names the line where reading it fails), or when it is UTF-8 and
// holds characters GBK cannot hold (one message names each of them with its
// line, the first twenty of them when there are more).
std::optional<std::string> ImportSourceToGbk(std::string_view bytes, SourceEncoding encoding = SourceEncoding::Detect);
