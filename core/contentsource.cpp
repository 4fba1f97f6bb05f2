#include "core/contentsource.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "core/gbktext.h"
#include "core/numbertext.h"

namespace {

// The code point starting at `i` (advancing `i`); U+FFFD for a malformed
// sequence, which the GBK check refuses later.
char32_t NextCodePoint(std::string_view s, size_t& i) {
    const auto c = static_cast<unsigned char>(s[i++]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (extra < 0) return 0xFFFD;
    char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) >> 6) != 2) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

bool IsKanji(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) || c == 0x3005;
}

bool IsKana(char32_t c) { return (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30FA) || c == 0x30FC; }

template <typename Pred>
bool AllOf(std::string_view s, Pred pred) {
    for (size_t i = 0; i < s.size();)
        if (!pred(NextCodePoint(s, i))) return false;
    return true;
}

std::vector<std::string> SplitAt(std::string_view s, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = s.find(sep, start);
        parts.emplace_back(s.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

std::string TrimBlanks(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\r')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\r')) --e;
    return std::string(s.substr(b, e - b));
}

// The first character of `field` that GBK cannot hold, quoted; nothing when
// all of it converts.
std::optional<std::string> NonGbkCharacter(std::string_view field) {
    size_t bad = 0;
    if (TryUtf8ToGbk(field, &bad)) return std::nullopt;
    size_t end = bad;
    if (end < field.size()) NextCodePoint(field, end);
    return "\"" + std::string(field.substr(bad, end - bad)) + "\"";
}

bool EndsWithAny(std::string_view s, std::initializer_list<std::string_view> ends) {
    return std::any_of(ends.begin(), ends.end(), [&](std::string_view e) {
        return s.size() >= e.size() && s.compare(s.size() - e.size(), e.size(), e) == 0;
    });
}

// "[名] 水", "[名][形2] 安静": one or more known marks, a blank, the senses.
bool HasPartOfSpeech(std::string_view meaning) {
    const auto& marks = PartOfSpeechMarks();
    size_t pos = 0;
    int found = 0;
    while (pos < meaning.size() && meaning[pos] == '[') {
        auto it = std::find_if(marks.begin(), marks.end(),
                               [&](const std::string& m) { return meaning.compare(pos, m.size(), m) == 0; });
        if (it == marks.end()) return false;
        pos += it->size();
        ++found;
    }
    return found > 0 && pos + 1 < meaning.size() && meaning[pos] == ' ';
}

std::string CheckEntry(const ContentEntry& e) {
    if (e.word.empty()) return "the word is empty";
    if (e.meaning.empty()) return "the meaning is empty";
    const std::pair<const char*, const std::string*> named[] = {
        {"the word", &e.word}, {"the reading", &e.reading}, {"the meaning", &e.meaning}};
    for (const auto& [what, text] : named) {
        if (auto bad = NonGbkCharacter(*text)) return std::string(what) + " holds " + *bad + ", which GBK cannot hold";
        if (text->find_first_of("<>") != std::string::npos)
            return std::string(what) + " holds \"<\" or \">\", which the library file cannot hold";
    }
    if (HoldsKanji(e.word) && e.reading.empty()) return "the word holds a kanji but has no reading";
    if (!AllOf(e.reading, IsKana)) return "the reading \"" + e.reading + "\" is not written in kana";
    if (!HasPartOfSpeech(e.meaning))
        return "the meaning \"" + e.meaning + "\" does not start with a part-of-speech mark such as \"[名] \"";
    for (const auto& [sentence, translation] : e.sentences) {
        if (sentence.empty() || translation.empty()) return "a sentence or its translation is empty";
        if (auto bad = NonGbkCharacter(sentence)) return "the sentence holds " + *bad + ", which GBK cannot hold";
        if (auto bad = NonGbkCharacter(translation)) return "the translation holds " + *bad + ", which GBK cannot hold";
        if (!EndsWithAny(sentence, {"。", "？", "！"}))
            return "the sentence \"" + sentence + "\" does not end with \"。\", \"？\" or \"！\"";
    }
    return {};
}

struct ListLine {
    std::string key, value;
};

}  // namespace

const std::vector<std::string>& PartOfSpeechMarks() {
    static const std::vector<std::string> marks = {"[名]",  "[代]",   "[数]",   "[量]",   "[动1]",  "[动2]",
                                                   "[动3]", "[形1]",  "[形2]",  "[副]",   "[连体]", "[接]",
                                                   "[感]",  "[寒暄]", "[接头]", "[接尾]", "[助]"};
    return marks;
}

bool HoldsKanji(std::string_view utf8) {
    return !AllOf(utf8, [](char32_t c) { return !IsKanji(c); });
}

bool ParseContentSource(std::string_view text, ContentFile& file, std::string& error) {
    file.entries.clear();
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.remove_prefix(3);
    std::map<std::string, int> seen;
    std::vector<std::string> lines = SplitAt(text, '\n');
    for (size_t n = 0; n < lines.size(); ++n) {
        const int lineNo = static_cast<int>(n) + 1;
        auto fault = [&](const std::string& what) {
            error = file.shownName + " line " + std::to_string(lineNo) + ": " + what;
            return false;
        };
        std::string line = TrimBlanks(lines[n]);
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields = SplitAt(line, '\t');
        for (std::string& f : fields) f = TrimBlanks(f);
        if (fields.size() < 3) return fault("expected word, reading and meaning separated by TABs");
        if ((fields.size() - 3) % 2 != 0) return fault("a sentence without its translation");
        ContentEntry entry{fields[0], fields[1], fields[2], {}, lineNo};
        for (size_t k = 3; k + 1 < fields.size(); k += 2) entry.sentences.emplace_back(fields[k], fields[k + 1]);
        if (std::string why = CheckEntry(entry); !why.empty()) return fault(why);
        if (auto [it, fresh] = seen.emplace(entry.word, lineNo); !fresh)
            return fault("\"" + entry.word + "\" is already on line " + std::to_string(it->second));
        file.entries.push_back(std::move(entry));
    }
    return true;
}

std::string ContentImportText(const ContentFile& file) {
    std::string out;
    for (const ContentEntry& e : file.entries) out += e.word + "\n  " + e.meaning + "\n";
    return out;
}

bool MergeDataLists(const DataListTexts& handMade, const DataListTexts& names, const std::vector<ContentFile>& files,
                    DataListTexts& merged, std::string& error) {
    auto linesOf = [](const std::string& text) {
        std::vector<std::string> lines = SplitAt(text, '\n');
        for (std::string& l : lines)
            if (!l.empty() && l.back() == '\r') l.pop_back();
        if (lines.size() > 1 && lines.back().empty()) lines.pop_back();  // the final line feed
        return lines;
    };

    // lx2: the hand-written lines as they are, then one line per new word.
    std::vector<std::string> readingLines = linesOf(handMade.readings);
    std::map<std::string, std::pair<std::string, std::string>> readingOf;  // word -> reading, where
    for (size_t n = 1; n < readingLines.size(); ++n) {
        size_t tab = readingLines[n].find('\t');
        if (tab == std::string::npos) continue;
        readingOf.emplace(readingLines[n].substr(0, tab), std::pair{TrimBlanks(readingLines[n].substr(tab + 1)),
                                                                    names.readings + " line " + std::to_string(n + 1)});
    }
    // lx3: the hand-written lines keep their numbers; new sentences follow.
    std::vector<std::string> sentenceLines = linesOf(handMade.sentences);
    std::map<std::string, int> sentenceNo;
    for (size_t n = 1; n < sentenceLines.size(); ++n) sentenceNo.emplace(sentenceLines[n], static_cast<int>(n));
    // lx4: every word once, in the order it is first met.
    std::vector<std::string> indexLines = linesOf(handMade.index);
    std::vector<std::string> indexOrder;
    std::map<std::string, std::vector<int>> indexOf;
    auto addIndex = [&](const std::string& word, int no) {
        auto [it, fresh] = indexOf.try_emplace(word);
        if (fresh) indexOrder.push_back(word);
        if (std::find(it->second.begin(), it->second.end(), no) == it->second.end()) it->second.push_back(no);
    };
    for (size_t n = 1; n < indexLines.size(); ++n) {
        std::vector<std::string> fields = SplitAt(indexLines[n], '\t');
        if (fields[0].empty() && fields.size() == 1) continue;
        const std::string where = names.index + " line " + std::to_string(n + 1);
        if (fields.size() < 2) {
            error = where + ": expected a word and the line numbers of its sentences";
            return false;
        }
        for (size_t k = 1; k < fields.size(); ++k) {
            int no = StrToIntDef(fields[k], -1);
            if (TrimBlanks(fields[k]).empty() && k + 1 == fields.size()) continue;  // a trailing TAB
            if (no < 1 || no >= static_cast<int>(sentenceLines.size())) {
                error = where + ": \"" + fields[k] + "\" is not a line number of " + names.sentences;
                return false;
            }
            addIndex(fields[0], no);
        }
    }

    for (const ContentFile& file : files) {
        for (const ContentEntry& e : file.entries) {
            const std::string where = file.shownName + " line " + std::to_string(e.line);
            if (!e.reading.empty()) {
                auto [it, fresh] = readingOf.emplace(e.word, std::pair{e.reading, where});
                if (fresh) {
                    readingLines.push_back(e.word + "\t" + e.reading);
                } else if (it->second.first != e.reading) {
                    error = where + ": the reading \"" + e.reading + "\" of \"" + e.word + "\" differs from \"" +
                            it->second.first + "\" on " + it->second.second;
                    return false;
                }
            }
            for (const auto& [sentence, translation] : e.sentences) {
                const std::string line = sentence + "\t" + translation;
                auto [it, fresh] = sentenceNo.emplace(line, static_cast<int>(sentenceLines.size()));
                if (fresh) sentenceLines.push_back(line);
                addIndex(e.word, it->second);
            }
        }
    }

    auto joined = [](const std::vector<std::string>& lines) {
        std::string out;
        for (const std::string& l : lines) out += l + "\n";
        return out;
    };
    if (readingLines.empty()) readingLines.emplace_back();
    if (sentenceLines.empty()) sentenceLines.emplace_back();
    std::vector<std::string> index{indexLines.empty() ? std::string() : indexLines[0]};
    for (const std::string& word : indexOrder) {
        std::string line = word;
        for (int no : indexOf[word]) line += "\t" + std::to_string(no);
        index.push_back(std::move(line));
    }
    merged = {joined(readingLines), joined(sentenceLines), joined(index)};
    return true;
}
