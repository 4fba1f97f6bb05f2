#pragma once
// Pieces of the tagged plain text that library files hold before they are
// scrambled: one header line of tags, then one line per word.

#include <string>
#include <string_view>
#include <vector>

#include "core/wordlist.h"

// Appends "<name>value</name>".
void AppendTag(std::string& out, std::string_view name, std::string_view value);
// Appends "<name>".
void AppendOpenTag(std::string& out, std::string_view name);
// Appends "</name>".
void AppendCloseTag(std::string& out, std::string_view name);
// Appends the four tags of a word line: e, t, c, g.
void AppendWordTags(std::string& out, const WordList& word);

// True when the opening mark "<name>" occurs in the GBK `text`.
bool HasTag(std::string_view text, std::string_view name);

// Splits a text into lines at CR LF, LF or CR. A line break at the very end
// closes the last line instead of opening an empty one, so "a\nb\n" is two
// lines, as a text editor shows it; an empty text has no lines.
std::vector<std::string> SplitTextLines(std::string_view text);

// Reads one word line: Word from "<e>", Meaning from "<c>", StudyTimes from
// "<t>" (0 when empty or not a number) and Grade from "<g>". A grade that is
// not an integer throws ConvertError, so a damaged file is never taken for
// a good one.
WordList ParseWordLine(std::string_view line);

// The first mark of the library format ("<e>", "</c>", "<lw>", ...) that
// occurs in `text`, or an empty text. A value holding one of these would not
// read back as it was written.
std::string FindFormatMark(std::string_view text);
