// The shipped content checked against a real dictionary (edict, EUC-JP)
// and against the program's own readers: every reading in lx2.en is one of
// the dictionary's readings of its word, every library word is unique in
// its library and has its reading, every sentence index points at a
// sentence that uses its word, and every shipped file opens.

#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/codec.h"
#include "core/contentsource.h"
#include "core/datalists.h"
#include "core/favourites.h"
#include "core/gbktext.h"
#include "core/helptext.h"
#include "core/manage.h"
#include "core/plainfile.h"
#include "core/scrambledfile.h"
#include "core/tagtext.h"
#include "core/wordlib0.h"
#include "support/message_recorder.h"

namespace fs = std::filesystem;

namespace {

const fs::path kProgramDir = LEXILARK_PROGRAM_DIR;
const fs::path kContentDir = LEXILARK_CONTENT_DIR;
const fs::path kPresetConfig = LEXILARK_PRESET_CONFIG;
const fs::path kEdict = "/usr/share/edict/edict";

// word -> every reading the dictionary gives it (UTF-8).
using Dictionary = std::map<std::string, std::set<std::string>>;

std::string Utf8FromEucJp(iconv_t cd, const std::string& line) {
    std::string out(line.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(line.data());
    size_t inLeft = line.size();
    char* o = out.data();
    size_t outLeft = out.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &o, &outLeft) == static_cast<size_t>(-1)) return {};
    out.resize(out.size() - outLeft);
    return out;
}

std::string WithoutParenthesised(std::string s) {
    for (size_t open; (open = s.find('(')) != std::string::npos;) {
        size_t close = s.find(')', open);
        s.erase(open, close == std::string::npos ? std::string::npos : close - open + 1);
    }
    return s;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::stringstream in(s);
    for (std::string part; std::getline(in, part, sep);) parts.push_back(part);
    return parts;
}

// Lines "WORD[;WORD...] [READING[;READING...]] /senses/"; a word written in
// kana alone has no brackets. Markers such as "(P)" are dropped.
const Dictionary& Edict() {
    static const Dictionary dictionary = [] {
        Dictionary d;
        std::optional<std::string> raw = ReadPlainFile(kEdict);
        if (!raw) return d;
        iconv_t cd = iconv_open("UTF-8", "EUC-JP");
        if (cd == reinterpret_cast<iconv_t>(-1)) return d;
        std::stringstream in(*raw);
        for (std::string line; std::getline(in, line);) {
            std::string text = Utf8FromEucJp(cd, line);
            size_t space = text.find(' ');
            if (text.empty() || space == std::string::npos) continue;
            std::set<std::string> readings;
            if (text.compare(space, 2, " [") == 0) {
                size_t close = text.find(']', space);
                if (close == std::string::npos) continue;
                for (const std::string& r : Split(text.substr(space + 2, close - space - 2), ';'))
                    readings.insert(WithoutParenthesised(r));
            }
            for (const std::string& w : Split(text.substr(0, space), ';'))
                d[WithoutParenthesised(w)].insert(readings.begin(), readings.end());
        }
        iconv_close(cd);
        return d;
    }();
    return dictionary;
}

struct Library {
    std::string name;             // UTF-8
    std::vector<WordList> words;  // GBK texts
};

// The libraries built from the content sources, opened as the program
// opens them.
std::vector<Library> ShippedLibraries() {
    std::vector<Library> libraries;
    for (const auto& entry : fs::directory_iterator(kContentDir)) {
        if (entry.path().extension() != ".tsv") continue;
        Library lib{entry.path().stem().string(), {}};
        MessageRecorder messages;
        TWordLib0 opened;
        const fs::path file = kProgramDir / "wordlib" / (lib.name + ".lx");
        EXPECT_TRUE(opened.OpenWordLib(FromNativePath(file))) << file;
        EXPECT_TRUE(messages.shown.empty()) << file << ": " << (messages.shown.empty() ? "" : messages.shown[0].text);
        lib.words.assign(opened.Words.begin(), opened.Words.begin() + opened.Count);
        libraries.push_back(std::move(lib));
    }
    return libraries;
}

std::vector<std::string> ListLines(const char* name) {
    std::optional<std::string> text = ReadScrambledFile(kProgramDir / name);
    EXPECT_TRUE(text) << name << " does not open";
    return text ? SplitDataLines(*text) : std::vector<std::string>{};
}

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// What a sentence must hold to use `word` (UTF-8): the word itself, or for
// a verb or an i-adjective its stem, the word without its last kana (書く
// in 書きます, 高い in 高かった), and for a suru verb the inflected する.
std::vector<std::string> FormsOf(const std::string& word, const std::string& meaning) {
    std::vector<std::string> forms{word};
    const bool inflects = meaning.find("[动") != std::string::npos || meaning.find("[形1]") != std::string::npos;
    if (EndsWith(word, "する")) {
        std::string base = word.substr(0, word.size() - 6);
        for (const char* s : {"し", "さ", "す", "せ"}) forms.push_back(base + s);
    } else if (inflects && word.size() > 3) {
        forms.push_back(word.substr(0, word.size() - 3));  // a kana is three bytes in UTF-8
    }
    return forms;
}

TEST(ShippedContent, ReadingsAgreeWithTheDictionary) {
    const Dictionary& dictionary = Edict();
    ASSERT_FALSE(dictionary.empty()) << kEdict << " is missing or unreadable; scripts/install-deps.sh installs edict";
    std::vector<std::string> disagreements;
    int checked = 0;
    for (const std::string& line : ListLines("lx2.en")) {
        size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        const std::string word = GbkToUtf8(line.substr(0, tab));
        const std::string reading = GbkToUtf8(TrimGbk(line.substr(tab + 1)));
        std::string lookedUp = word, wanted = reading;
        // A suru verb stands in the dictionary as its noun.
        if (!dictionary.count(word) && EndsWith(word, "する") && EndsWith(reading, "する")) {
            lookedUp = word.substr(0, word.size() - 6);
            wanted = reading.substr(0, reading.size() - 6);
        }
        auto it = dictionary.find(lookedUp);
        if (it == dictionary.end() || it->second.empty()) continue;
        ++checked;
        if (!it->second.count(wanted)) {
            std::string known;
            for (const std::string& r : it->second) known += " " + r;
            disagreements.push_back(word + " " + reading + " (edict:" + known + ")");
        }
    }
    EXPECT_GT(checked, 0);
    std::string list;
    for (const std::string& d : disagreements) list += "\n  " + d;
    EXPECT_TRUE(disagreements.empty()) << disagreements.size() << " readings disagree with edict:" << list;
}

TEST(ShippedContent, LibraryWordsAreUniqueAndHaveTheirReadings) {
    std::optional<std::string> readings = ReadScrambledFile(kProgramDir / "lx2.en");
    ASSERT_TRUE(readings);
    std::vector<Library> libraries = ShippedLibraries();
    ASSERT_FALSE(libraries.empty());
    for (const Library& lib : libraries) {
        EXPECT_FALSE(lib.words.empty()) << lib.name;
        std::set<std::string> seen;
        for (const WordList& w : lib.words) {
            EXPECT_TRUE(seen.insert(w.Word).second) << lib.name << ": " << GbkToUtf8(w.Word) << " twice";
            if (HoldsKanji(GbkToUtf8(w.Word))) {
                EXPECT_FALSE(LookupReading(*readings, w.Word).empty())
                    << lib.name << ": " << GbkToUtf8(w.Word) << " has no reading";
            }
        }
    }
}

TEST(ShippedContent, SentenceIndexPointsAtSentencesUsingTheWord) {
    std::map<std::string, std::string> meaningOf;  // UTF-8
    std::set<std::string> firstLevel;
    for (const Library& lib : ShippedLibraries()) {
        for (const WordList& w : lib.words) {
            meaningOf.emplace(GbkToUtf8(w.Word), GbkToUtf8(w.Meaning));
            if (lib.name == "日语N5词汇") firstLevel.insert(GbkToUtf8(w.Word));
        }
    }
    ASSERT_FALSE(firstLevel.empty()) << "the first-level library is not built";
    const std::vector<std::string> sentences = ListLines("lx3.en");
    const std::vector<std::string> index = ListLines("lx4.en");
    ASSERT_FALSE(index.empty());
    for (size_t n = 1; n < index.size(); ++n) {
        std::vector<std::string> fields = Split(GbkToUtf8(index[n]), '\t');
        if (fields.empty()) continue;
        const std::string& word = fields[0];
        EXPECT_GT(fields.size(), 1u) << "lx4 line " << n << ": " << word << " lists no sentence";
        firstLevel.erase(word);
        for (size_t k = 1; k < fields.size(); ++k) {
            const int no = StrToIntDef(fields[k], -1);
            ASSERT_TRUE(no > 0 && no < static_cast<int>(sentences.size()))
                << "lx4 line " << n << ": " << word << " points at " << fields[k] << ", not a line of lx3";
            const std::string line = GbkToUtf8(sentences[no]);
            const size_t tab = line.find('\t');
            ASSERT_NE(tab, std::string::npos) << "lx3 line " << no << " has no translation";
            EXPECT_FALSE(line.substr(tab + 1).empty()) << "lx3 line " << no << " has an empty translation";
            const std::string sentence = line.substr(0, tab);
            const std::vector<std::string> forms = FormsOf(word, meaningOf[word]);
            EXPECT_TRUE(std::any_of(forms.begin(), forms.end(),
                                    [&](const std::string& f) { return sentence.find(f) != std::string::npos; }))
                << "lx4 line " << n << ": the sentence \"" << sentence << "\" does not use " << word;
        }
    }
    std::string missing;
    for (const std::string& w : firstLevel) missing += " " + w;
    EXPECT_TRUE(firstLevel.empty()) << "first-level words without a sentence:" << missing;
}

TEST(ShippedContent, EveryShippedFileOpensWithRoomToGrow) {
    MessageRecorder messages;
    // A library or list may use half of what the program reads, so that the
    // content can grow without a reorganisation.
    const size_t roomy = kLargestReadableFile / 2;
    int libraries = 0;
    for (const auto& entry : fs::directory_iterator(kProgramDir / "wordlib")) {
        if (entry.path().extension() != ".lx") continue;
        EXPECT_LE(fs::file_size(entry.path()), roomy) << entry.path();
        if (entry.path().filename() == "收藏库.lx") {
            TMyWordLib favourites;
            favourites.LoadFavourites(FromNativePath(entry.path()));
            continue;
        }
        TWordLib0 lib;
        EXPECT_TRUE(lib.OpenWordLib(FromNativePath(entry.path()))) << entry.path();
        EXPECT_GT(lib.Count, 0) << entry.path();
        ++libraries;
    }
    EXPECT_GE(libraries, 1);
    for (const char* list : {"lx1.en", "lx2.en", "lx3.en", "lx4.en"}) {
        EXPECT_LE(fs::file_size(kProgramDir / list), roomy) << list;
        EXPECT_GT(ListLines(list).size(), 1u) << list;
    }
    StudyDataLists lists;
    lists.LoadWordLists(FromNativePath(kProgramDir) + "/");
    lists.LoadSentenceLists(FromNativePath(kProgramDir) + "/");
    EXPECT_FALSE(lists.readingText.empty());
    EXPECT_FALSE(lists.sentenceLines.empty());

    std::optional<std::string> help = ReadPlainFile(kProgramDir / "start.ini");
    ASSERT_TRUE(help) << "start.ini";
    EXPECT_FALSE(HelpSection(*help, "helplist").empty());

    TManage manage;
    manage.LoadConfigFile(FromNativePath(kProgramDir) + "/");
    // The administrator of a fresh program folder starts on a shipped library.
    std::optional<std::string> presetText = ReadPlainFile(kPresetConfig);
    ASSERT_TRUE(presetText) << kPresetConfig;
    const std::string preset = FindTagValue(*presetText, "lastwordlib0");
    EXPECT_TRUE(fs::exists(kProgramDir / "wordlib" / preset)) << "the preset library " << preset << " is not shipped";
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.front().text;
}

// The manual and the help guide name the marks the build accepts.
TEST(ShippedContent, HelpTopicListsEveryPartOfSpeechMark) {
    std::optional<std::string> help = ReadPlainFile(kProgramDir / "start.ini");
    ASSERT_TRUE(help);
    const std::string topic = GbkToUtf8(HelpSection(*help, Gbk("词库与词性标记")));
    ASSERT_FALSE(topic.empty());
    for (const std::string& mark : PartOfSpeechMarks())
        EXPECT_NE(topic.find("\n" + mark + " "), std::string::npos) << mark << " is not explained";
}

}  // namespace
