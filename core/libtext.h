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
// Appends the four tags of a word line: e, t, c, g.
void AppendWordTags(std::string& out, const WordList& word);

// The first mark of the library format ("<e>", "</c>", "<lw>", ...) that
// occurs in `text`, or an empty text. A value holding one of these would not
// read back as it was written.
std::string FindFormatMark(std::string_view text);
