// The shipped content checked against a real dictionary (edict, EUC-JP)
// and against the program's own readers: every reading in lx2.en is one of
// the dictionary's readings of its word, every library word is unique in
// its library and has its reading, every sentence index points at a
// sentence that uses its word, and every shipped file opens. The content
// sources are checked as a teacher would: one level per word, one meaning
// per entry of a library, one style of punctuation and readings, sentences
// of each entry's own, and no word in a sentence the learner was not
// taught.

#include <gtest/gtest.h>
#include <iconv.h>
#include <mecab.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
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
#include "core/numbertext.h"
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
const fs::path kSentenceWordsAllowed = LEXILARK_SENTENCE_WORDS_ALLOWED;
// MeCab's IPA dictionary as Debian installs it (mecab-ipadic-utf8).
const char* const kMecabArguments = "-d /var/lib/mecab/dic/ipadic-utf8";

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

bool StartsWith(const std::string& s, const std::string& start) { return s.compare(0, start.size(), start) == 0; }

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

// One line of a content source, as its author wrote it (UTF-8).
struct SourceEntry {
    std::string word, reading, meaning;
    std::vector<std::string> sentences;
    int line = 0;
};

std::vector<SourceEntry> SourceEntries(const fs::path& file) {
    std::vector<SourceEntry> entries;
    std::optional<std::string> text = ReadPlainFile(file);
    EXPECT_TRUE(text) << file;
    if (!text) return entries;
    std::stringstream in(*text);
    int no = 0;
    for (std::string line; std::getline(in, line);) {
        ++no;
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> f = Split(line, '\t');
        if (f.size() < 3) continue;
        SourceEntry e{f[0], f[1], f[2], {}, no};
        for (size_t k = 3; k < f.size(); k += 2) e.sentences.push_back(f[k]);
        entries.push_back(std::move(e));
    }
    return entries;
}

// The two levels, easier first; a level's sentences may use the words of
// the levels before it.
const std::vector<std::string> kLevels = {"日语N5词汇", "日语N4词汇"};

std::map<std::string, std::vector<SourceEntry>> LevelSources() {
    std::map<std::string, std::vector<SourceEntry>> sources;
    for (const std::string& level : kLevels) sources[level] = SourceEntries(kContentDir / (level + ".tsv"));
    return sources;
}

std::string Where(const std::string& level, const SourceEntry& e) {
    return level + ".tsv:" + std::to_string(e.line) + " " + e.word;
}

// The learner types the word for the meaning shown, so a meaning shown
// twice in one library has two right answers and the learner cannot know
// which one is asked.
TEST(ShippedContent, NoTwoEntriesOfALibraryShowTheSameMeaning) {
    for (const auto& [level, entries] : LevelSources()) {
        ASSERT_FALSE(entries.empty()) << level;
        std::map<std::string, std::string> shownBy;
        for (const SourceEntry& e : entries) {
            auto [it, fresh] = shownBy.emplace(e.meaning, e.word);
            EXPECT_TRUE(fresh) << Where(level, e) << " shows \"" << e.meaning << "\" as " << it->second << " does";
        }
    }
}

// A word is taught at one level: not twice under the same spelling, and
// not again under the same reading with the same meaning.
TEST(ShippedContent, NoWordStandsAtTwoLevels) {
    std::map<std::string, std::string> levelOfWord, levelOfSound;
    for (const auto& [level, entries] : LevelSources()) {
        for (const SourceEntry& e : entries) {
            auto [w, freshWord] = levelOfWord.emplace(e.word, level);
            EXPECT_TRUE(freshWord || w->second == level) << Where(level, e) << " is taught in " << w->second << " too";
            const std::string sound = (e.reading.empty() ? e.word : e.reading) + "\t" + e.meaning;
            auto [s, freshSound] = levelOfSound.emplace(sound, level);
            EXPECT_TRUE(freshSound || s->second == level)
                << Where(level, e) << " repeats a word of " << s->second << " (same reading and meaning)";
        }
    }
}

// UTF-8 code points of a text.
std::vector<char32_t> CodePoints(const std::string& s) {
    std::vector<char32_t> out;
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = n == 1 ? c : c & (0x7F >> n);
        for (int k = 1; k < n && i + k < s.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += n;
    }
    return out;
}

std::string Utf8(char32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

bool IsKatakana(char32_t cp) { return (cp >= 0x30A1 && cp <= 0x30FA) || cp == 0x30FC; }
bool IsHiragana(char32_t cp) { return (cp >= 0x3041 && cp <= 0x3096) || cp == 0x30FC; }

// The runs of katakana in a text (ー counts with them).
std::vector<std::string> KatakanaRuns(const std::string& text) {
    std::vector<std::string> runs;
    std::string run;
    for (char32_t cp : CodePoints(text)) {
        if (IsKatakana(cp)) {
            run += Utf8(cp);
        } else if (!run.empty()) {
            runs.push_back(run);
            run.clear();
        }
    }
    if (!run.empty()) runs.push_back(run);
    return runs;
}

// What is wrong with a meaning's punctuation: senses are separated by
// "；", notes stand in full-width brackets, an ellipsis is "……".
std::string MeaningStyleFault(const std::string& meaning) {
    int depth = 0;
    const std::vector<char32_t> cps = CodePoints(meaning);
    for (size_t i = 0; i < cps.size(); ++i) {
        const char32_t cp = cps[i];
        if (cp == U'(' || cp == U')') return "a half-width bracket";
        if (cp == U'（') ++depth;
        if (cp == U'）' && --depth < 0) return "an unopened bracket";
        if (cp == U'，' && depth == 0) return "\"，\" between senses (\"；\" separates them)";
        if (cp == U'.' && i + 1 < cps.size() && cps[i + 1] == U'.') return "\"..\" (an ellipsis is \"……\")";
        if (cp == U'…') {
            size_t n = 0;
            while (i < cps.size() && cps[i] == U'…') ++n, ++i;
            if (n != 2) return "a lone \"…\" (an ellipsis is \"……\")";
            --i;
        }
    }
    return depth == 0 ? "" : "an unclosed bracket";
}

TEST(ShippedContent, MeaningsAndReadingsFollowOneStyle) {
    struct Case {
        std::string meaning, fault;
    };
    // The rule itself, on a few meanings written both ways.
    for (const Case& c : std::vector<Case>{{"[名] 楼；层", ""},
                                           {"[名] 楼，层", "，"},
                                           {"[代] 那边（远处，口语）", ""},
                                           {"[名] 自来水(管道)", "half-width"},
                                           {"[副] 一直；…得多", "lone"},
                                           {"[副] 该……了", ""},
                                           {"[名] 第...号", ".."},
                                           {"[名] （钟表快", "unclosed"}}) {
        const std::string fault = MeaningStyleFault(c.meaning);
        if (c.fault.empty())
            EXPECT_EQ(fault, "") << c.meaning;
        else
            EXPECT_NE(fault.find(c.fault), std::string::npos) << c.meaning << ": " << fault;
    }
    for (const auto& [level, entries] : LevelSources()) {
        for (const SourceEntry& e : entries) {
            const std::string fault = MeaningStyleFault(e.meaning);
            EXPECT_EQ(fault, "") << Where(level, e) << ": \"" << e.meaning << "\" has " << fault;
            // A reading is hiragana; only the katakana part of a loanword
            // stays as the word writes it (けしゴム for 消しゴム).
            for (char32_t cp : CodePoints(e.reading))
                EXPECT_TRUE(IsHiragana(cp) || IsKatakana(cp)) << Where(level, e) << ": reading " << e.reading;
            for (const std::string& run : KatakanaRuns(e.reading))
                EXPECT_NE(e.word.find(run), std::string::npos)
                    << Where(level, e) << ": the reading " << e.reading << " writes " << run << " in katakana";
        }
    }
}

TEST(ShippedContent, EveryEntryHasSentencesOfItsOwn) {
    std::map<std::string, std::string> usedBy;
    for (const auto& [level, entries] : LevelSources()) {
        for (const SourceEntry& e : entries) {
            EXPECT_FALSE(e.sentences.empty()) << Where(level, e) << " has no sentence";
            for (const std::string& s : e.sentences) {
                auto [it, fresh] = usedBy.emplace(s, e.word);
                EXPECT_TRUE(fresh) << Where(level, e) << " shares \"" << s << "\" with " << it->second;
            }
        }
    }
}

// The katakana words of a sentence, those the library and the levels before
// it teach taken out first, longest first (消しゴム before ゴム).
std::vector<std::string> UntaughtKatakana(std::string sentence, const std::vector<std::string>& taughtLongestFirst) {
    for (const std::string& word : taughtLongestFirst)
        for (size_t at; (at = sentence.find(word)) != std::string::npos;) sentence.replace(at, word.size(), " ");
    return KatakanaRuns(sentence);
}

TEST(ShippedContent, SentencesUseOnlyKatakanaWordsTheLearnerWasTaught) {
    const std::vector<std::string> taught = {"スープ", "消しゴム", "ゴム"};
    struct Case {
        std::string sentence;
        std::vector<std::string> untaught;
    };
    for (const Case& c : std::vector<Case>{{"スープを飲みます。", {}},
                                           {"消しゴムを貸してください。", {}},
                                           {"サッカーの後でスープを飲みました。", {"サッカー"}},
                                           {"スープとスーパー。", {"スーパー"}}}) {
        EXPECT_EQ(UntaughtKatakana(c.sentence, taught), c.untaught) << c.sentence;
    }

    const auto sources = LevelSources();
    std::vector<std::string> known;
    for (const std::string& level : kLevels) {
        for (const SourceEntry& e : sources.at(level))
            if (!KatakanaRuns(e.word).empty()) known.push_back(e.word);
        std::sort(known.begin(), known.end(),
                  [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
        for (const SourceEntry& e : sources.at(level))
            for (const std::string& s : e.sentences)
                for (const std::string& run : UntaughtKatakana(s, known))
                    ADD_FAILURE() << Where(level, e) << ": \"" << s << "\" uses " << run
                                  << ", which neither this level nor an easier one teaches";
    }
}

// One word of a sentence as MeCab splits it (UTF-8).
struct SentenceWord {
    std::string surface, partOfSpeech, detail, lemma, reading;  // reading in hiragana
    size_t begin = 0, end = 0;                                  // bytes of the sentence
};

std::string Hiragana(const std::string& text) {
    std::string out;
    for (char32_t cp : CodePoints(text)) out += Utf8(cp >= 0x30A1 && cp <= 0x30F6 ? cp - 0x60 : cp);
    return out;
}

// Splits sentences with MeCab; its IPA dictionary's features are
// "part of speech,detail,detail,detail,conjugation,form,lemma,reading,sound".
class SentenceSplitter {
public:
    SentenceSplitter() : tagger_(MeCab::createTagger(kMecabArguments)) {}
    bool Ready() const { return tagger_ != nullptr; }

    std::vector<SentenceWord> Split(const std::string& sentence) const {
        std::vector<SentenceWord> words;
        for (const MeCab::Node* node = tagger_->parseToNode(sentence.c_str()); node; node = node->next) {
            if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) continue;
            SentenceWord w;
            w.surface.assign(node->surface, node->length);
            // The surface points into the sentence MeCab was given.
            w.begin = static_cast<size_t>(node->surface - sentence.c_str());
            w.end = w.begin + w.surface.size();
            const std::vector<std::string> f = ::Split(node->feature, ',');
            w.partOfSpeech = f.size() > 0 ? f[0] : "";
            w.detail = f.size() > 1 ? f[1] : "";
            w.lemma = f.size() > 6 && f[6] != "*" ? f[6] : w.surface;
            w.reading = f.size() > 7 ? Hiragana(f[7]) : "";
            words.push_back(std::move(w));
        }
        return words;
    }

private:
    std::unique_ptr<MeCab::Tagger> tagger_;
};

// What the learner has been taught up to a level.
struct Taught {
    std::set<std::string> words;            // as written, and a suru verb's noun too
    std::set<std::string> readings;         // for words a sentence writes in kana
    std::vector<std::string> longestFirst;  // the forms a sentence writes them in

    void Add(const SourceEntry& e) {
        AddWithNoun(words, e.word);
        AddWithNoun(readings, e.reading.empty() ? e.word : e.reading);
        readings.insert(Hiragana(e.word));
        for (const std::string& form : FormsOf(e.word, e.meaning)) longestFirst.push_back(form);
    }
    static void AddWithNoun(std::set<std::string>& into, const std::string& w) {
        into.insert(w);
        if (EndsWith(w, "する") && w.size() > 6) into.insert(w.substr(0, w.size() - 6));
    }
    void Sort() {
        std::sort(longestFirst.begin(), longestFirst.end(),
                  [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    }
};

// Particles, endings, numbers, counters and words that only lean on others
// (こと, いる after a て-form, the passive れる) are grammar, not vocabulary.
bool IsContentWord(const SentenceWord& w) {
    static const std::set<std::string> content = {"名詞", "動詞", "形容詞", "副詞", "連体詞", "接続詞", "感動詞"};
    static const std::set<std::string> leaning = {"数", "接尾", "非自立"};
    return content.count(w.partOfSpeech) && !leaning.count(w.detail);
}

// A verb's potential form (飲める, 書ける) stands in MeCab's dictionary as a
// verb of its own; the learner knows it as the verb (飲む, 書く).
std::string VerbOfPotential(const std::string& lemma) {
    static const std::map<std::string, std::string> eToU = {{"え", "う"}, {"け", "く"}, {"げ", "ぐ"},
                                                            {"せ", "す"}, {"て", "つ"}, {"ね", "ぬ"},
                                                            {"べ", "ぶ"}, {"め", "む"}, {"れ", "る"}};
    if (!EndsWith(lemma, "る") || lemma.size() < 9) return "";
    auto it = eToU.find(lemma.substr(lemma.size() - 6, 3));
    return it == eToU.end() ? "" : lemma.substr(0, lemma.size() - 6) + it->second;
}

// A number and its counter (三月, 一杯, 二十分) as MeCab sometimes keeps
// them together: the counter without the numerals before it.
std::string CounterOf(const std::string& word) {
    static const std::u32string numerals = U"〇一二三四五六七八九十百千万何0123456789０１２３４５６７８９";
    const std::vector<char32_t> cps = CodePoints(word);
    size_t n = 0;
    while (n < cps.size() && numerals.find(cps[n]) != std::u32string::npos) ++n;
    std::string rest;
    for (size_t k = n; k < cps.size(); ++k) rest += Utf8(cps[k]);
    return n == 0 ? "" : rest;
}

bool WritesKanjiOrKatakana(const std::string& s) {
    const std::vector<char32_t> cps = CodePoints(s);
    return std::any_of(cps.begin(), cps.end(), [](char32_t cp) { return !IsHiragana(cp); });
}

// The content words of a sentence (their dictionary forms) that neither
// `taught` nor `allowed` accounts for. A word counts as taught when it is a
// taught word, a taught word written in kana, the potential form of a
// taught verb, or part of a taught word the sentence writes whole (昼 and
// ご飯 in 昼ご飯).
std::vector<std::string> UntaughtWords(const std::string& sentence, const Taught& taught,
                                       const std::set<std::string>& allowed, const SentenceSplitter& splitter) {
    std::vector<std::pair<size_t, size_t>> wholes;
    for (const std::string& word : taught.longestFirst)
        for (size_t at = sentence.find(word); at != std::string::npos; at = sentence.find(word, at + 1))
            wholes.emplace_back(at, at + word.size());
    std::vector<std::string> untaught;
    for (const SentenceWord& w : splitter.Split(sentence)) {
        if (!IsContentWord(w)) continue;
        const bool known =
            taught.words.count(w.lemma) || taught.words.count(w.surface) || allowed.count(w.lemma) ||
            (w.partOfSpeech == "動詞" && taught.words.count(VerbOfPotential(w.lemma))) ||
            taught.words.count(CounterOf(w.surface)) ||
            // お年, ご家族: a taught noun with the polite prefix; 本当に: a
            // taught noun or na-adjective made an adverb.
            ((StartsWith(w.lemma, "お") || StartsWith(w.lemma, "ご")) && taught.words.count(w.lemma.substr(3))) ||
            (w.partOfSpeech == "副詞" && EndsWith(w.lemma, "に") &&
             taught.words.count(w.lemma.substr(0, w.lemma.size() - 3))) ||
            (!WritesKanjiOrKatakana(w.surface) &&
             (taught.readings.count(w.surface) || taught.readings.count(w.lemma))) ||
            std::any_of(wholes.begin(), wholes.end(),
                        [&](const auto& span) { return span.first <= w.begin && w.end <= span.second; });
        if (!known) untaught.push_back(w.lemma);
    }
    return untaught;
}

// The words an example sentence may use untaught: first fields of the
// lines that are not comments.
std::set<std::string> AllowedSentenceWords() {
    std::set<std::string> allowed;
    std::optional<std::string> text = ReadPlainFile(kSentenceWordsAllowed);
    EXPECT_TRUE(text) << kSentenceWordsAllowed;
    std::stringstream in(text ? *text : "");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        allowed.insert(line.substr(0, line.find_first_of(" \t")));
    }
    return allowed;
}

TEST(ShippedContent, SentencesUseOnlyWordsTheLearnerWasTaught) {
    const SentenceSplitter splitter;
    ASSERT_TRUE(splitter.Ready()) << "MeCab does not start (" << kMecabArguments
                                  << "); scripts/install-deps.sh installs mecab and mecab-ipadic-utf8";
    {
        Taught taught;
        for (const char* w : {"昼ご飯", "食べる", "飲む", "子ども", "水", "勉強する", "する", "毎朝", "杯"})
            taught.Add(SourceEntry{w, w == std::string("子ども") ? "こども" : "", "", {}, 0});
        taught.Sort();
        struct Case {
            std::string sentence;
            std::vector<std::string> untaught;
        };
        for (const Case& c : std::vector<Case>{{"昼ご飯を食べました。", {}},
                                               {"水が飲めません。", {}},
                                               {"毎朝勉強します。", {}},
                                               {"水を一杯飲みました。", {}},
                                               {"こどもが水を飲みます。", {}},
                                               {"毎朝、味噌汁を飲みます。", {"味噌汁"}},
                                               {"田中さんは水を飲みました。", {}},
                                               {"子どもにお水をあげました。", {"あげる"}},
                                               {"すしを食べて、お茶を飲みました。", {"すし", "お茶"}}}) {
            EXPECT_EQ(UntaughtWords(c.sentence, taught, {"田中"}, splitter), c.untaught) << c.sentence;
        }
    }

    const std::set<std::string> allowed = AllowedSentenceWords();
    const auto sources = LevelSources();
    Taught taught;
    for (const std::string& level : kLevels) {
        for (const SourceEntry& e : sources.at(level)) taught.Add(e);
        taught.Sort();
        for (const SourceEntry& e : sources.at(level))
            for (const std::string& s : e.sentences)
                for (const std::string& word : UntaughtWords(s, taught, allowed, splitter))
                    ADD_FAILURE() << Where(level, e) << ": \"" << s << "\" uses " << word
                                  << ", which neither this level nor an easier one teaches";
    }
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

// xCHM breaks a line only at a space. The pages that go into the manual
// give it a place to break at least every few words, so no paragraph runs
// past the edge of its window on a 640 × 480 screen (the page pane of the
// maximised window holds some 30 characters of the manual's type).
TEST(ShippedContent, ManualTextBreaksWithinThirtyCharacters) {
    const fs::path manual = LEXILARK_MANUAL_DIR;
    if (!fs::exists(manual / "index.html")) GTEST_SKIP() << "the manual is not built (chmcmd missing)";
    int pages = 0;
    for (const auto& entry : fs::directory_iterator(manual)) {
        if (entry.path().extension() != ".html") continue;
        ++pages;
        std::optional<std::string> gbk = ReadPlainFile(entry.path());
        ASSERT_TRUE(gbk);
        std::string text = GbkToUtf8(*gbk);
        // Preformatted blocks and the tags themselves are no running text.
        for (size_t at; (at = text.find("<pre>")) != std::string::npos;) {
            const size_t end = text.find("</pre>", at);
            ASSERT_NE(end, std::string::npos) << entry.path();
            text.replace(at, end + 6 - at, " ");
        }
        for (size_t at; (at = text.find('<')) != std::string::npos;) {
            const size_t end = text.find('>', at);
            ASSERT_NE(end, std::string::npos) << entry.path();
            text.replace(at, end + 1 - at, " ");
        }
        std::istringstream words(text);
        for (std::string word; words >> word;) {
            const auto characters = std::count_if(word.begin(), word.end(), [](char c) {
                return (static_cast<unsigned char>(c) & 0xC0) != 0x80;  // not a continuation byte
            });
            EXPECT_LE(characters, 30) << entry.path().filename() << ": " << word;
        }
    }
    EXPECT_GT(pages, 0);
}

}  // namespace
