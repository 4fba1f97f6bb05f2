#pragma once
// Finding the pages of the help guide in the text of "start.ini": plain GBK
// text where each topic is a section "<title>" … "</title>" holding its
// pages as "<step>" … "</step>", and the list of titles is the section
// "helplist" holding "<item>" … "</item>". Tags are matched exactly and
// always at their first occurrence.

#include <string>
#include <string_view>
#include <vector>

// The text of the section "<name>" … "</name>"; empty when either mark is
// missing.
std::string HelpSection(std::string_view text, std::string_view name);

// The text of page `index` (from 0) of `tag` in `section`: the pages before
// it are dropped one closing mark at a time, then the text between the
// first "<tag>" and the next "</tag>" is the page. Empty when there is none.
std::string HelpPage(std::string_view section, std::string_view tag, int index);

// Every page of `tag` in `section` in order, as HelpPage gives them for
// index 0, 1, 2 … up to the first empty one, found in one walk through the
// section (a help list of thousands of topics loads at once).
std::vector<std::string> HelpPages(std::string_view section, std::string_view tag);

// The lines of a plain text file joined by CR LF, each line ending with it,
// whatever line breaks the file itself used.
std::string JoinHelpLines(std::string_view fileText);
