#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/codec.h"
#include "core/gbktext.h"
#include "core/libraryformat.h"
#include "core/scrambledfile.h"
#include "core/textimport.h"
#include "core/wordlib0.h"
#include "support/message_recorder.h"
#include "support/temp_folder.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;  // UTF-8 word, meaning

Entries Utf8Entries(const std::vector<WordList>& words) {
    Entries out;
    for (const WordList& w : words) {
        out.emplace_back(Utf8(w.Word), Utf8(w.Meaning));
        EXPECT_EQ(w.StudyTimes, 0);
        EXPECT_EQ(w.Grade, 0);
    }
    return out;
}

std::string FormatMessage(int line, const std::string& word, const std::string& meaning) {
    return "下面的单词格式不正确，请修改后再导入！\r\n\r\n位　　置：第" + std::to_string(line) + "行\r\n单词位置：\"" +
           word + "\"\r\n解释位置：\"" + meaning + "\"\r\n";
}

// The header line every import writes, for the given editor/date/version.
std::string ImportHeader(const std::string& editor, const std::string& date, const std::string& version) {
    std::string h = "<editor>" + editor + "</editor><date>" + date + "</date><version>" + version +
                    "</version><lw>0</lw><groupcount>1</groupcount><groupindex>0</groupindex>"
                    "<lt>1</lt><tlt>0</tlt><tt>0</tt>";
    for (int i = 0; i < 6; ++i) {
        std::string n = "GradeWordLastWord" + std::to_string(i);
        h += "<" + n + "></" + n + ">";
    }
    return h + "\n";
}

std::filesystem::path ImportDataDir() {
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "tools" / "import_data";
}

TEST(ParseTextLib, ReadsEntriesAndAppliesTheIndentRule) {
    struct Case {
        const char* name;
        std::string text;
        bool ok;
        Entries entries;  // on failure: the entries read up to the faulty one
        std::string message;
    };
    const std::vector<Case> cases = {
        {"two lines, first entry needs no indent", "水\n[名] 水", true, {{"水", "[名] 水"}}, ""},
        {"a word on the last line without its explanation",
         "水\n  [名] 水\n山\n\n",
         false,
         {{"水", "[名] 水"}},
         "最后一行的单词没有解释，请在它下面补上解释（行首空两格）后再导入！\r\n\r\n位　　置：第3行\r\n"
         "单词位置：\"山\"\r\n解释位置：\"\"\r\n"},
        {"line break at the end adds no line", "水\n  [名] 水\n", true, {{"水", "[名] 水"}}, ""},
        {"CR, LF and CR LF all break lines",
         "a\r  1\r\nb\n  2\rc\r\n3\r\n",
         true,
         {{"a", "1"}, {"b", "2"}, {"c", "3"}},
         ""},
        {"third entry is exempt, blanks trimmed",
         " a \t\n1\nb\n   2  \nc\n3",
         true,
         {{"a", "1"}, {"b", "2"}, {"c", "3"}},
         ""},
        {"empty word line gives an empty word", "\n  空", true, {{"", "空"}}, ""},
        {"empty text", "", true, {}, ""},
        {"second explanation unindented",
         "a\n1\nかな\n仮名",
         false,
         {{"a", "1"}, {"かな", "仮名"}},
         FormatMessage(3, "かな", "仮名")},
        {"one space is not enough", "a\n1\nb\n 2", false, {{"a", "1"}, {"b", "2"}}, FormatMessage(3, "b", "2")},
        {"a tab is not an indent", "a\n1\nb\n\t 2", false, {{"a", "1"}, {"b", "2"}}, FormatMessage(3, "b", "2")},
        {"empty explanation on an indented entry",
         "a\n  1\nb\n\nc\n  3",
         false,
         {{"a", "1"}, {"b", ""}},
         FormatMessage(3, "b", "")},
        {"single-space explanation on an indented entry",
         "a\n1\nb\n \nc\n  3",
         false,
         {{"a", "1"}, {"b", ""}},
         FormatMessage(3, "b", "")},
        // Blank lines an editor leaves at the end add no entry and do not
        // make the last entry a faulty one.
        {"two blank lines at the end", "a\n  1\n\n\n", true, {{"a", "1"}}, ""},
        {"four blank lines at the end", "a\n1\nb\n  2\r\n\r\n\r\n\r\n\r\n", true, {{"a", "1"}, {"b", "2"}}, ""},
        {"lines of blanks at the end", "a\n  1\n  \n\t\n \n", true, {{"a", "1"}}, ""},
        {"fourth entry counts its lines from 1, as editors do",
         "a\n1\nb\n  2\nc\n3\nd\n4",
         false,
         {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}},
         FormatMessage(7, "d", "4")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageRecorder messages;
        std::vector<WordList> words;
        EXPECT_EQ(ParseTextLib(Gbk(c.text), words), c.ok);
        EXPECT_EQ(Utf8Entries(words), c.entries);
        if (c.ok) {
            EXPECT_TRUE(messages.shown.empty());
        } else {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].text, c.message);
            EXPECT_EQ(messages.shown[0].flags, kMsgOk);
        }
    }
}

TEST(ParseTextLib, RefusesTextsThatWouldNotReadBack) {
    struct Case {
        const char* name;
        std::string text;
        std::string expected;  // part of the message
    };
    const std::vector<Case> cases = {
        {"closing mark in a word", "a</e>b\n1", "位　　置：第1行"},
        {"opening mark in an explanation", "a\n1\nb\n  x<g>y", "位　　置：第4行"},
        {"word mark in an explanation", "a\n<word>", "\"<word>\""},
        {"NUL inside an explanation", std::string("a\nx\0y", 5), "空字符"},
        // A lead byte without its second byte would take the "<" of the
        // closing mark with it: the word would read back empty.
        {"cut character ending a word", "ab\x81\n1", "位　　置：第1行"},
        {"cut character ending an explanation", "a\n1\nb\n  m\xB0", "位　　置：第4行"},
        {"cut character after a whole one", "a\n\xCB\xAE\xCB", "结尾不完整的双字节字符"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageRecorder messages;
        std::vector<WordList> words;
        EXPECT_FALSE(ParseTextLib(c.text, words));
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_NE(messages.shown[0].text.find(c.expected), std::string::npos) << messages.shown[0].text;
    }
    // A "<" that is no mark of the format is ordinary text, and so is a
    // whole double-byte character whose second byte is "<"'s neighbour.
    MessageRecorder messages;
    std::vector<WordList> words;
    EXPECT_TRUE(ParseTextLib("a<b\n  x < y <e", words));
    EXPECT_TRUE(ParseTextLib("\x81\x40\n\xCB\xAE", words));
    EXPECT_TRUE(messages.shown.empty());
}

TEST(ParseTextLib, LineLimit) {
    auto text = [](size_t lines) {
        std::string t;
        for (size_t i = 0; i < lines; ++i) t += (i % 2 ? "  m\n" : "w\n");
        return t;
    };
    MessageRecorder messages;
    std::vector<WordList> words;
    EXPECT_TRUE(ParseTextLib(text(kMaxImportLines), words));
    EXPECT_EQ(words.size(), static_cast<size_t>(kMaxLibraryWords));
    EXPECT_TRUE(messages.shown.empty());

    EXPECT_FALSE(ParseTextLib(text(kMaxImportLines + 1), words));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("20001行，超过了20000行（10000个单词）的上限"), std::string::npos);
    EXPECT_TRUE(words.empty());
}

class ImportTextLibTest : public ::testing::Test {
protected:
    TempFolder dir;
    MessageRecorder messages;
};

// The shared sample: mixed line breaks, blanks, an empty word. lxtool import is checked against the same two files.
TEST_F(ImportTextLibTest, WritesExactlyTheLibraryText) {
    auto source = TempFolder::ReadBytes(ImportDataDir() / "sample.txt");
    auto expected = TempFolder::ReadBytes(ImportDataDir() / "expected.txt");
    ASSERT_FALSE(source.empty());
    ASSERT_FALSE(expected.empty());
    std::string expectedGbk = *TryUtf8ToGbk(expected);
    TempFolder::WriteBytes(dir / "sample-gbk.txt", *TryUtf8ToGbk(source));

    TempFolder::WriteBytes(dir / "sample-utf8.txt", source);
    TempFolder::WriteBytes(dir / "sample-marked.txt", "\xEF\xBB\xBF" + source);

    // The same library whether the list is GBK, UTF-8 or UTF-8 with a mark.
    for (const char* name : {"sample-gbk.txt", "sample-utf8.txt", "sample-marked.txt"}) {
        SCOPED_TRACE(name);
        const std::filesystem::path out = dir / (std::string(name) + ".lx");
        std::vector<WordList> words;
        ASSERT_TRUE(ImportTextLibFile(dir / name, out, Gbk("澜悦"), "2026-12-10", "1.0", &words));
        EXPECT_EQ(words.size(), 4u);
        EXPECT_EQ(ReadScrambledFile(out), expectedGbk);
        EXPECT_EQ(TempFolder::ReadBytes(out), ScrambleWhole(expectedGbk));
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(ImportTextLibTest, GbkFileNamesAsTheImportPageGivesThem) {
    TempFolder::WriteBytes(dir / "词表.txt", Gbk("本\n  [名] 书"));
    std::string folder = FromNativePath(dir.path()) + "/";
    ASSERT_TRUE(ImportTextLib(folder + Gbk("词表.txt"), folder + Gbk("新词库.lx"), "me", "today", ""));
    EXPECT_EQ(ReadScrambledFile(dir / "新词库.lx"),
              Gbk(ImportHeader("me", "today", "") + "<e>本</e><t>0</t><c>[名] 书</c><g>0</g>"));
}

TEST_F(ImportTextLibTest, FillsTheImportPagesStudyList) {
    TempFolder::WriteBytes(dir / "ok.txt", "a\n1\nb\n  2\n");
    TempFolder::WriteBytes(dir / "bad.txt", "a\n1\nb\n2\nc\n  3\n");
    const std::string folder = FromNativePath(dir.path()) + "/";
    TWordLib lib;
    lib.GroupCount = 5;
    lib.LoopTimes = 3;
    lib.TotalTime = 99;
    ASSERT_TRUE(ImportTextLib(lib, folder + "ok.txt", folder + "ok.lx", "ed", "da", "ve"));
    EXPECT_EQ(lib.WordCount, 2);
    EXPECT_EQ(lib.SaveCount, 2);
    EXPECT_EQ(Utf8Entries({lib.Words[0], lib.Words[1]}), (Entries{{"a", "1"}, {"b", "2"}}));
    EXPECT_EQ(lib.Editor + lib.Date + lib.Version, "eddave");
    EXPECT_EQ(lib.Path, folder + "ok.lx");
    EXPECT_EQ(lib.CurrentIndex, 0);
    EXPECT_EQ(lib.GroupCount, 1);
    EXPECT_EQ(lib.GroupIndex, 0);
    EXPECT_EQ(lib.LoopTimes, 1);
    EXPECT_EQ(lib.TotalTime, 0);

    // A refused text leaves the entries read so far, up to the faulty one.
    EXPECT_FALSE(ImportTextLib(lib, folder + "bad.txt", folder + "bad.lx", "ed", "da", "ve"));
    EXPECT_EQ(lib.WordCount, 2);
    EXPECT_EQ(lib.SaveCount, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.lx"));
}

TEST_F(ImportTextLibTest, EmptyTextWritesTheHeaderLineOnly) {
    ASSERT_TRUE(ImportTextLibText("", dir / "empty.lx", "a", "b", "c"));
    EXPECT_EQ(ReadScrambledFile(dir / "empty.lx"), ImportHeader("a", "b", "c"));
}

TEST_F(ImportTextLibTest, RefusalsWriteNothingAndKeepAnOldFile) {
    WriteScrambledFile(dir / "old.lx", "old");
    const std::string oldBytes = TempFolder::ReadBytes(dir / "old.lx");
    struct Case {
        const char* name;
        std::string text, editor;
        std::string expected;  // part of the message
    };
    const std::vector<Case> cases = {
        {"format error", "a\n1\nb\n2", "me", "格式不正确"},
        {"line break in the editor", "a\n1", "me\nyou", "制作者、制作时间和词库版本中不能含有"},
        {"format mark in the editor", "a\n1", "<e>", "制作者、制作时间和词库版本中不能含有"},
        {"cut character ending the editor", "a\n1", "me\xB0", "制作者、制作时间和词库版本中不能含有"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        EXPECT_FALSE(ImportTextLibText(c.text, dir / "new.lx", c.editor, "d", "v"));
        EXPECT_FALSE(ImportTextLibText(c.text, dir / "old.lx", c.editor, "d", "v"));
        EXPECT_FALSE(std::filesystem::exists(dir / "new.lx"));
        EXPECT_EQ(TempFolder::ReadBytes(dir / "old.lx"), oldBytes);
        ASSERT_EQ(messages.shown.size(), 2u);
        EXPECT_NE(messages.shown[0].text.find(c.expected), std::string::npos) << messages.shown[0].text;
    }
}

TEST_F(ImportTextLibTest, UnreadableSourceAndUnwritableTargetFail) {
    std::vector<WordList> words = {WordList{}};
    EXPECT_FALSE(ImportTextLibFile(dir / "missing.txt", dir / "a.lx", "e", "d", "v", &words));
    EXPECT_FALSE(ImportTextLibFile(dir.path(), dir / "b.lx", "e", "d", "v", &words));
    EXPECT_TRUE(words.empty());
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"无法读取要导入的文本文件：\r\n" + Utf8(FromNativePath(dir / "missing.txt")),
                                        "无法读取要导入的文本文件：\r\n" + Utf8(FromNativePath(dir.path()))}));
    messages.shown.clear();

    // The file cannot be created: the import reports failure, not success.
    EXPECT_FALSE(ImportTextLibText("a\n1", dir / "no" / "such" / "c.lx", "e", "d", "v"));
    EXPECT_EQ(messages.FirstLines(), std::vector<std::string>{"文件打不开："});
    EXPECT_FALSE(std::filesystem::exists(dir / "a.lx") || std::filesystem::exists(dir / "b.lx"));
}

// A library is imported only with room to grow below the largest readable
// file: study counts, progress and the bookmarks of each grade lengthen it
// at every save. One imported right at that room still saves after years
// of study; one byte more is refused, with the sizes named, and nothing is
// written.
TEST_F(ImportTextLibTest, ALibraryIsImportedOnlyWithRoomToGrow) {
    std::vector<WordList> words(4000);
    for (size_t i = 0; i < words.size(); ++i) {
        words[i].Word = "word" + std::to_string(i % 10);
        words[i].Meaning = std::string(100, 'm');
    }
    const size_t reserve = LibraryGrowthReserve(words);
    EXPECT_EQ(reserve, kHeaderGrowth + 6 * 5 + kStudyCountGrowth * 4000);
    const size_t size = ImportedLibraryText(words, "e", "d", "v").size();
    ASSERT_LT(size + reserve, kLargestReadableFile);
    words.back().Meaning.resize(100 + (kLargestReadableFile - reserve - size), 'm');
    auto textOf = [&words] {
        std::string t;
        for (const WordList& w : words) t += w.Word + "\n  " + w.Meaning + "\n";
        return t;
    };
    ASSERT_EQ(ImportedLibraryText(words, "e", "d", "v").size() + reserve, kLargestReadableFile);
    EXPECT_TRUE(ImportTextLibText(textOf(), dir / "max.lx", "e", "d", "v"));
    EXPECT_TRUE(messages.shown.empty());

    {
        // Years of study later: every value as long as the room allows.
        TWordLib list;
        TWordLib0 lib;
        lib.StudyLib = &list;
        ASSERT_TRUE(lib.OpenWordLib(FromNativePath(dir / "max.lx")));
        for (int i = 0; i < lib.Count; ++i) {
            lib.Words[i].StudyTimes = 9999;
            lib.Words[i].Grade = 5;
        }
        lib.GradeWordLastWord.fill("word9");
        lib.BaseGrade = 9999;
        lib.LoopTimes = 999999;
        lib.ThisLoopTime = lib.TotalTime = 2147483647;
        list.GroupCount = 200;
        list.GroupIndex = 199;
        list.CurrentIndex = 9999;
        EXPECT_TRUE(lib.SaveWordLib());
        EXPECT_LE(std::filesystem::file_size(dir / "max.lx"), kLargestReadableFile);
        EXPECT_TRUE(ReadScrambledFile(dir / "max.lx").has_value());
        EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].text;
    }

    words.back().Meaning += "m";
    EXPECT_FALSE(ImportTextLibText(textOf(), dir / "over.lx", "e", "d", "v"));
    EXPECT_FALSE(std::filesystem::exists(dir / "over.lx"));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{
                                    "导入后的词库文件将有" + std::to_string(kLargestReadableFile - reserve + 1) +
                                    "字节，学习中还要留出" + std::to_string(reserve) +
                                    "字节的余地（学习次数、学习进度），而词库文件最大只能有599998字节，因此没有导入！"
                                    "\r\n\r\n请把文本分成几个较小的词库再导入。"});
}

}  // namespace
