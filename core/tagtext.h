#pragma once
// Tagged text, the form every data file has before it is scrambled: each
// value stands between the marks "<name>" and "</name>". Here are the marks,
// the lookup of one value and the one writer of tagged values, which always
// neutralises the value so that it reads back as written and disturbs no
// other value.

#include <span>
#include <string>
#include <string_view>

// "<name>" and "</name>".
std::string OpenMark(std::string_view name);
std::string CloseMark(std::string_view name);

// The text between the first "<name>" and the first "</name>" of `text`;
// empty when the opening mark is missing or the closing mark does not stand
// after it. GBK-aware, byte-exact, case-sensitive.
std::string FindTagValue(std::string_view text, std::string_view name);

// Appends "<name>" or "</name>", for values that hold other tags.
void AppendOpenTag(std::string& out, std::string_view name);
void AppendCloseTag(std::string& out, std::string_view name);

// Appends "<name>value</name>" to a text whose tags are `formatTags`, the
// value neutralised for them (NeutralValue). A value without line breaks,
// NUL, format marks or a lone lead byte at its end is written as it is.
void AppendTag(std::string& out, std::string_view name, std::string_view gbkValue,
               std::span<const std::string_view> formatTags);

// A text value as it may be written to a tagged file whose tags are
// `formatTags`, so that it reads back as written and disturbs no other
// value: line breaks (and NUL, which ends a file's text) become blanks, the
// "<" of a mark of one of those tags ("<e>", "</user2>", ...) becomes the
// full-width "＜", and a lone GBK lead byte at the end becomes "?". Anything
// else, a "<" elsewhere included, is kept. Neutralising twice changes
// nothing more.
std::string NeutralValue(std::string_view gbkValue, std::span<const std::string_view> formatTags);
void AppendNeutralValue(std::string& out, std::string_view gbkValue, std::span<const std::string_view> formatTags);
