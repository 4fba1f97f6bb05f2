#include <gtest/gtest.h>

#include <filesystem>

#include "core/datalists.h"
#include "core/gbktext.h"
#include "core/scrambledfile.h"

namespace {

struct ReadingCase {
    const char* name;
    std::string text;
    std::string word;
    std::string expected;
};

TEST(DataListLookup, ReadingByExactWord) {
    const std::string list = Gbk("heading\n食べる\tたべる\r\n見る\t  みる  \nlong\t") + std::string(120, 'x') + "\n";
    const ReadingCase cases[] = {
        {"found, CR and blanks trimmed", list, Gbk("食べる"), Gbk("たべる")},
        {"second entry", list, Gbk("見る"), Gbk("みる")},
        {"first line is a heading, never an entry", list, "heading", ""},
        {"case matters", Gbk("\nAbc\tえい\n"), "abc", ""},
        {"prefix of a longer word is not a match", list, Gbk("食"), ""},
        {"line feed beyond 100 bytes gives nothing", list, "long", ""},
        {"last line without a line feed gives nothing", Gbk("\n見る\tみる"), Gbk("見る"), ""},
        {"empty list", "", Gbk("見る"), ""},
    };
    for (const ReadingCase& c : cases) EXPECT_EQ(LookupReading(c.text, c.word), c.expected) << c.name;
}

TEST(DataListLookup, AliasIgnoresLetterCaseOfTheWord) {
    const std::string aliases = LowerCaseGbk(Gbk("x\nTokyo\tTOKYO_1\r\n東京\tdup\nLast\tlast"));
    EXPECT_EQ(LookupAlias(aliases, "TOKYO"), "tokyo_1");
    EXPECT_EQ(LookupAlias(aliases, Gbk("東京")), "dup");
    EXPECT_EQ(LookupAlias(aliases, "last"), "last");  // the final line needs no line feed
    EXPECT_EQ(LookupAlias(aliases, "osaka"), "");
}

TEST(DataListLookup, LowerCasingLeavesDoubleByteCharactersAlone) {
    // 0x81 0x41 is a GBK character whose trail byte is an ASCII 'A'.
    const std::string text = std::string("AB\x81\x41Z");
    EXPECT_EQ(LowerCaseGbk(text), std::string("ab\x81\x41z"));
}

struct SentenceCase {
    const char* name;
    std::string index;
    int perWord;
    std::optional<std::vector<std::string>> expected;
};

TEST(DataListLookup, SentencesFromTheIndex) {
    const std::vector<std::string> sentences = {"s0\tt0", "s1\tt1", "s2\tt2", "no tab here", "s4\tt4"};
    using Lines = std::vector<std::string>;
    const SentenceCase cases[] = {
        {"one sentence per word", "h\r\nw\t1\t2\r\n", 1, Lines{"s1", "t1"}},
        {"limit of two out of five", "h\r\nw\t0\t1\t2\t4\t0\r\n", 2, Lines{"s0", "t0", "s1", "t1"}},
        {"trailing TAB changes nothing", "h\r\nw\t1\t2\t\r\n", 3, Lines{"s1", "t1", "s2", "t2"}},
        {"sentence without TAB: empty line, then the whole line", "h\r\nw\t3\r\n", 1, Lines{"", "no tab here"}},
        {"empty field skipped", "h\r\nw\t\t2\r\n", 1, Lines{"s2", "t2"}},
        {"non-numeric field skipped", "h\r\nw\tabc\t4\r\n", 1, Lines{"s4", "t4"}},
        {"number outside the list skipped", "h\r\nw\t99\t-1\t0\r\n", 1, Lines{"s0", "t0"}},
        {"entry without numbers shows an empty box", "h\r\nw\t\r\n", 1, Lines{}},
        {"no entry: box hidden", "h\r\nother\t1\r\n", 1, std::nullopt},
        {"the next line is not read", "h\r\nw\r\nx\t1\r\n", 1, std::nullopt},
    };
    for (const SentenceCase& c : cases)
        EXPECT_EQ(LookupSentences(c.index, sentences, "w", c.perWord), c.expected) << c.name;
}

TEST(DataListLookup, SplitLinesToleratesCarriageReturns) {
    EXPECT_EQ(SplitDataLines("a\r\nb\n\nc"), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(SplitDataLines("a\n"), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(SplitDataLines("").empty());
}

TEST(DataListFiles, LoadedThroughTheScrambledReader) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(LEXILARK_TEST_TMP) / "datalists";
    fs::remove_all(folder);
    fs::create_directories(folder);
    ASSERT_TRUE(WriteScrambledFile(folder / "lx1.en", Gbk("x\nHashi\tBRIDGE\n")));
    ASSERT_TRUE(WriteScrambledFile(folder / "lx2.en", Gbk("x\n橋\tはし\n")));
    ASSERT_TRUE(WriteScrambledFile(folder / "lx3.en", Gbk("橋を渡る。\t过桥。\n")));
    ASSERT_TRUE(WriteScrambledFile(folder / "lx4.en", Gbk("x\n橋\t0")));

    StudyDataLists lists;
    const std::string gbkFolder = FromNativePath(folder) + "/";
    lists.LoadWordLists(gbkFolder);
    lists.LoadSentenceLists(gbkFolder);
    EXPECT_EQ(LookupAlias(lists.aliasText, "hashi"), "bridge");
    EXPECT_EQ(LookupReading(lists.readingText, Gbk("橋")), Gbk("はし"));
    // The last index line gets its CR LF too, so it is found.
    EXPECT_EQ(LookupSentences(lists.sentenceIndexText, lists.sentenceLines, Gbk("橋"), 1),
              (std::vector<std::string>{Gbk("橋を渡る。"), Gbk("过桥。")}));

    StudyDataLists missing;
    EXPECT_TRUE(missing.LoadWordLists(gbkFolder + "absent/").empty());
    EXPECT_TRUE(missing.LoadSentenceLists(gbkFolder + "absent/").empty());
    EXPECT_TRUE(missing.aliasText.empty());
    EXPECT_TRUE(missing.sentenceLines.empty());
    EXPECT_TRUE(missing.sentenceIndexText.empty());
}

// A list that is there but cannot be read (here a folder in its place, which
// opens but gives a read error) leaves its list empty like a missing one, and
// is named for the learner; the readable and the missing ones are not.
TEST(DataListFiles, UnreadableListsAreNamed) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(LEXILARK_TEST_TMP) / "datalists_unreadable";
    fs::remove_all(folder);
    fs::create_directories(folder / "lx2.en");
    fs::create_directories(folder / "lx3.en");
    ASSERT_TRUE(WriteScrambledFile(folder / "lx1.en", Gbk("x\nHashi\tBRIDGE\n")));
    const std::string gbkFolder = FromNativePath(folder) + "/";

    StudyDataLists lists;
    lists.readingText = "left from before";
    EXPECT_EQ(lists.LoadWordLists(gbkFolder), std::vector<std::string>{"lx2.en"});
    EXPECT_EQ(LookupAlias(lists.aliasText, "hashi"), "bridge");
    EXPECT_TRUE(lists.readingText.empty());
    EXPECT_EQ(lists.LoadSentenceLists(gbkFolder), std::vector<std::string>{"lx3.en"});  // lx4.en is missing
    EXPECT_TRUE(lists.sentenceLines.empty());
    EXPECT_EQ(UnreadableDataListMessage("lx2.en"), Gbk("数据文件 lx2.en 无法读取，单词的读音、录音或例句将不能显示。"));
}

}  // namespace
