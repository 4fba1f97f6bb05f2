#pragma once
// The tags of the library format (library and favourites files), which a
// value written to such a file must not hold as marks. Tagged text itself is
// read and written through core/tagtext.h.

#include <string>
#include <string_view>

// The tags of library and favourites files. A value holding a mark of one
// of these ("<e>", "</c>", ...) would be taken for a tag when read back.
inline constexpr std::string_view kLibraryFormatTags[] = {"e",
                                                          "t",
                                                          "c",
                                                          "g",
                                                          "word",
                                                          "editor",
                                                          "date",
                                                          "version",
                                                          "lw",
                                                          "groupcount",
                                                          "groupindex",
                                                          "lt",
                                                          "tlt",
                                                          "tt",
                                                          "basegrade",
                                                          "GradeWordLastWord0",
                                                          "GradeWordLastWord1",
                                                          "GradeWordLastWord2",
                                                          "GradeWordLastWord3",
                                                          "GradeWordLastWord4",
                                                          "GradeWordLastWord5"};

// The first mark of the library format ("<e>", "</c>", "<lw>", ...) that
// occurs in `text`, or an empty text. A value holding one of these would not
// read back as it was written.
std::string FindFormatMark(std::string_view text);
