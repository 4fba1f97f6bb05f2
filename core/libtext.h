#pragma once
// Pieces of the tagged plain text that library files hold before they are
// scrambled: one header line of tags, then one line per word.

#include <string>
#include <string_view>

#include "core/wordlist.h"

// Appends "<name>value</name>".
void AppendTag(std::string& out, std::string_view name, std::string_view value);
// Appends "<name>".
void AppendOpenTag(std::string& out, std::string_view name);
// Appends "</name>".
void AppendCloseTag(std::string& out, std::string_view name);

// The tags of library and favourites files. A value holding a mark of one
// of these ("<e>", "</c>", ...) would be taken for a tag when read back.
inline constexpr std::string_view kLibraryFormatTags[] = {
    "e", "t", "c", "g", "word", "editor", "date", "version", "lw", "groupcount", "groupindex", "lt",
    "tlt", "tt", "basegrade", "GradeWordLastWord0", "GradeWordLastWord1", "GradeWordLastWord2",
    "GradeWordLastWord3", "GradeWordLastWord4", "GradeWordLastWord5"};

// The first mark of the library format ("<e>", "</c>", "<lw>", ...) that
// occurs in `text`, or an empty text. A value holding one of these would not
// read back as it was written.
std::string FindFormatMark(std::string_view text);
