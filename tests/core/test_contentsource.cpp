#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/contentsource.h"

namespace {

ContentFile Parsed(const std::string& text, std::string* error = nullptr) {
    ContentFile file{"词库", "词库.tsv", {}};
    std::string message;
    const bool ok = ParseContentSource(text, file, message);
    if (error)
        *error = message;
    else
        EXPECT_TRUE(ok) << message;
    return file;
}

TEST(ContentSource, ReadsEntriesSkippingHeadingsAndBlankLines) {
    ContentFile file = Parsed(
        "\xEF\xBB\xBF# 名词\r\n"
        "\n"
        "水\tみず\t[名] 水\t水を飲みます。\t喝水。\t水が冷たい！\t水很凉！\r\n"
        "静か\tしずか\t[形2][名] 安静\t静かな部屋です。\t是安静的房间。\n"
        "テレビ\t\t[名] 电视\n");
    ASSERT_EQ(file.entries.size(), 3u);
    const ContentEntry& water = file.entries[0];
    EXPECT_EQ(water.word, "水");
    EXPECT_EQ(water.reading, "みず");
    EXPECT_EQ(water.meaning, "[名] 水");
    EXPECT_EQ(water.line, 3);
    ASSERT_EQ(water.sentences.size(), 2u);
    EXPECT_EQ(water.sentences[1], std::make_pair(std::string("水が冷たい！"), std::string("水很凉！")));
    EXPECT_EQ(file.entries[1].meaning, "[形2][名] 安静");
    EXPECT_TRUE(file.entries[2].reading.empty());
    EXPECT_TRUE(file.entries[2].sentences.empty());

    EXPECT_EQ(ContentImportText(file), "水\n  [名] 水\n静か\n  [形2][名] 安静\nテレビ\n  [名] 电视\n");
}

TEST(ContentSource, RefusesFaultsWithFileAndLine) {
    const struct {
        const char* line;
        const char* fault;
    } cases[] = {
        {"水\tみず", "expected word, reading and meaning"},
        {"水\tみず\t[名] 水\t水です。", "a sentence without its translation"},
        {"水\t\t[名] 水", "holds a kanji but has no reading"},
        {"時々\t\t[副] 有时", "holds a kanji but has no reading"},
        {"水\tmizu\t[名] 水", "is not written in kana"},
        {"水\tみず\t水", "part-of-speech mark"},
        {"水\tみず\t[名]水", "part-of-speech mark"},
        {"水\tみず\t[名词] 水", "part-of-speech mark"},
        {"水\tみず\t[名] <水>", "\"<\" or \">\""},
        {"水\tみず\t[名] 水\t水・お茶です。\t水和茶。", "the sentence holds \"・\", which GBK cannot hold"},
        {"水\tみず\t[名] 水\t水です。\t是水♪", "the translation holds \"♪\""},
        {"水〜\tみず\t[名] 水", "the word holds \"〜\""},
        {"水\tみず\t[名] 水\t水です\t是水。", "does not end with"},
        {"水\tみず\t[名] 水\t\t是水。", "is empty"},
    };
    for (const auto& c : cases) {
        std::string error;
        Parsed(std::string("# 标题\n") + c.line + "\n", &error);
        EXPECT_NE(error.find("词库.tsv line 2: "), std::string::npos) << c.line << " -> " << error;
        EXPECT_NE(error.find(c.fault), std::string::npos) << c.line << " -> " << error;
    }
}

TEST(ContentSource, RefusesAWordGivenTwiceInOneFile) {
    std::string error;
    Parsed("水\tみず\t[名] 水\n山\tやま\t[名] 山\n水\tみず\t[名] 冷水\n", &error);
    EXPECT_EQ(error, "词库.tsv line 3: \"水\" is already on line 1");
}

DataListTexts HandMade() {
    return {"\n水\tみず\n", "\n山に登りました。\t爬了山。\n水をください。\t请给我水。\n", "\n山\t1\n水\t2\t\n"};
}
const DataListTexts kNames{"lx2.txt", "lx3.txt", "lx4.txt"};

TEST(ContentSource, MergesReadingsAndSentencesOfSeveralLibraries) {
    std::vector<ContentFile> files{
        Parsed("水\tみず\t[名] 水\t水を飲みます。\t喝水。\n"
               "飲む\tのむ\t[动1] 喝\t水を飲みます。\t喝水。\n"),
        Parsed("山\tやま\t[名] 山\t高い山です。\t是高山。\n"
               "水\tみず\t[名] 水\t水が冷たいです。\t水很凉。\n"
               "パン\t\t[名] 面包\n"),
    };
    DataListTexts merged;
    std::string error;
    ASSERT_TRUE(MergeDataLists(HandMade(), kNames, files, merged, error)) << error;
    // One reading line per word, the hand-written ones first.
    EXPECT_EQ(merged.readings, "\n水\tみず\n飲む\tのむ\n山\tやま\n");
    // Hand-written sentences keep their line numbers; a sentence shared by
    // two words is stored once.
    EXPECT_EQ(merged.sentences,
              "\n山に登りました。\t爬了山。\n水をください。\t请给我水。\n水を飲みます。\t喝水。\n"
              "高い山です。\t是高山。\n水が冷たいです。\t水很凉。\n");
    EXPECT_EQ(merged.index, "\n山\t1\t4\n水\t2\t3\t5\n飲む\t3\n");
}

TEST(ContentSource, MergeWithoutHandWrittenListsStartsEachListWithAHeadingLine) {
    std::vector<ContentFile> files{Parsed("水\tみず\t[名] 水\t水です。\t是水。\n")};
    DataListTexts merged;
    std::string error;
    ASSERT_TRUE(MergeDataLists({}, kNames, files, merged, error)) << error;
    EXPECT_EQ(merged.readings, "\n水\tみず\n");
    EXPECT_EQ(merged.sentences, "\n水です。\t是水。\n");
    EXPECT_EQ(merged.index, "\n水\t1\n");
}

TEST(ContentSource, MergeRefusesConflictsAndBrokenIndexLines) {
    std::vector<ContentFile> files{Parsed("水\tすい\t[名] 水\n")};
    files[0].shownName = "N4.tsv";
    DataListTexts merged;
    std::string error;
    EXPECT_FALSE(MergeDataLists(HandMade(), kNames, files, merged, error));
    EXPECT_EQ(error, "N4.tsv line 1: the reading \"すい\" of \"水\" differs from \"みず\" on lx2.txt line 2");

    const struct {
        const char* index;
        const char* fault;
    } broken[] = {
        {"\n山\t3\n", "lx4.txt line 2: \"3\" is not a line number of lx3.txt"},
        {"\n山\t0\n", "lx4.txt line 2: \"0\" is not a line number of lx3.txt"},
        {"\n山\n", "lx4.txt line 2: expected a word and the line numbers"},
        {"\n山\t1\t\t2\n", "lx4.txt line 2: \"\" is not a line number"},
        {"\n山\tx\n", "lx4.txt line 2: \"x\" is not a line number"},
    };
    for (const auto& b : broken) {
        DataListTexts lists = HandMade();
        lists.index = b.index;
        error.clear();
        EXPECT_FALSE(MergeDataLists(lists, kNames, {}, merged, error)) << b.index;
        EXPECT_NE(error.find(b.fault), std::string::npos) << error;
    }
}

TEST(ContentSource, KanjiNeedReadingsKanaDoNot) {
    EXPECT_TRUE(HoldsKanji("お茶"));
    EXPECT_TRUE(HoldsKanji("々"));
    EXPECT_FALSE(HoldsKanji("テレビ"));
    EXPECT_FALSE(HoldsKanji("ありがとう"));
    EXPECT_FALSE(HoldsKanji(""));
}

}  // namespace
