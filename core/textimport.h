#pragma once
// Turning a plain text word list into a library file.
//
// The text holds two lines per entry: the word, then its explanation,
// indented by two spaces (only the second, fourth, ... entries are held to
// the indentation). Both are trimmed. Lines end in CR LF, LF or CR; blank
// lines at the end are dropped, and then a word left on the last line
// without its explanation is refused. Messages count lines from 1. The
// library written has every study count and grade 0 and a fresh header: no
// word current, one group, first cycle.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/importencoding.h"
#include "core/wordlist.h"

class TWordLib;

// Most lines an import text may have (two per word, up to the word limit).
inline constexpr size_t kMaxImportLines = 2 * kMaxLibraryWords;

// Parses a GBK import text into `words` (cleared first). False after showing
// what is wrong; `words` then holds the entries read up to and including
// the faulty one.
bool ParseTextLib(std::string_view gbkText, std::vector<WordList>& words);

// The plain (unscrambled) text of the library file an import of `words`
// writes.
std::string ImportedLibraryText(const std::vector<WordList>& words, std::string_view editor, std::string_view date,
                                std::string_view version);

// Parses `gbkText` and writes the library to `target`. False after a message
// when the text is refused, when the library would be too large to open, or
// when the file cannot be written; nothing is written then. `words`, when
// given, receives the parsed entries.
bool ImportTextLibText(std::string_view gbkText, const std::filesystem::path& target, std::string_view editor,
                       std::string_view date, std::string_view version, std::vector<WordList>* words = nullptr);

// The same, reading the text from the file `source`: UTF-8 or GBK as
// `encoding` decides (ImportSourceToGbk).
bool ImportTextLibFile(const std::filesystem::path& source, const std::filesystem::path& target,
                       std::string_view editor, std::string_view date, std::string_view version,
                       std::vector<WordList>* words = nullptr, SourceEncoding encoding = SourceEncoding::Detect);

// The import as the import page calls it, with GBK file names.
bool ImportTextLib(const std::string& gbkSource, const std::string& gbkTarget, const std::string& editor,
                   const std::string& date, const std::string& version, std::vector<WordList>* words = nullptr);

// The import on a study list object of its own, as the import page holds
// one: the header texts, Path and a fresh position (no cycle time, one
// group, CurrentIndex 0) are set first; Words and WordCount receive the
// entries read (on failure, up to the faulty one) and SaveCount the number
// written.
bool ImportTextLib(TWordLib& lib, const std::string& gbkSource, const std::string& gbkTarget, const std::string& editor,
                   const std::string& date, const std::string& version);
