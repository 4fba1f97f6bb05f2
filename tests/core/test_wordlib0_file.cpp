// The library file: what SaveWordLib writes, what OpenWordLib reads, and
// the files it refuses.

#include <gtest/gtest.h>

#include "core/libraryformat.h"
#include "core/tagtext.h"
#include "support/wordlib_fixture.h"

namespace {

TEST(LibraryFile, SaveWritesTheHeaderAndOneLinePerWordExactly) {
    LibraryFixture f;
    ASSERT_TRUE(f.Open("lib.lx", HeaderLine(0, 2, 1) + "\n" + WordLines({0, 0, 0})));
    f.lib.Editor = Gbk("澜悦");
    f.lib.GradeWordLastWord[3] = "x";
    f.lib.BaseGrade = 2;
    f.lib.LoopTimes = 3;
    f.lib.TotalTime = 1234;
    f.lib.ThisLoopTime = 56;
    f.lib.Words[2].StudyTimes = -7;
    f.lib.Words[2].Meaning = Gbk("吃");
    f.list.CurrentIndex = 1;  // lw, groupcount and groupindex come from the study list
    ASSERT_TRUE(f.lib.SaveWordLib());
    std::string expected = Gbk("<editor>澜悦</editor>") +
                           "<date>2026-12-10</date><version>1.0</version><lw>1</lw><groupcount>2</groupcount>"
                           "<groupindex>1</groupindex><lt>3</lt><tlt>56</tlt><tt>1234</tt><basegrade>2</basegrade>"
                           "<GradeWordLastWord0>0</GradeWordLastWord0><GradeWordLastWord1>0</GradeWordLastWord1>"
                           "<GradeWordLastWord2>0</GradeWordLastWord2><GradeWordLastWord3>x</GradeWordLastWord3>"
                           "<GradeWordLastWord4>0</GradeWordLastWord4><GradeWordLastWord5>0</GradeWordLastWord5>\n"
                           "<e>w0</e><t>0</t><c>m0</c><g>0</g>\n"
                           "<e>w1</e><t>0</t><c>m1</c><g>0</g>\n" +
                           Gbk("<e>w2</e><t>-7</t><c>吃</c><g>0</g>");
    EXPECT_EQ(PlainTextOf(f.folder / "lib.lx"), expected);
}

TEST(LibraryFile, AnEmptyLibraryIsTheHeaderLineAndOneLineFeed) {
    LibraryFixture f;
    std::string header = HeaderLine(-1, 1, 0);
    ASSERT_TRUE(f.Open("lib.lx", header + "\n"));
    EXPECT_EQ(f.lib.Count, 0);
    EXPECT_EQ(f.list.WordCount, 0);
    EXPECT_EQ(f.lib.LastWord, -1);
    f.list.CurrentIndex = -1;
    ASSERT_TRUE(f.lib.SaveWordLib());
    EXPECT_EQ(PlainTextOf(f.folder / "lib.lx"), header + "\n");
}

TEST(LibraryFile, ASavedLibraryReadsBackTheSame) {
    LibraryFixture f;
    std::string text = HeaderLine(1, 2, 1, 5, 3);
    for (int i = 0; i < 9; ++i)
        text += "\n" + WordLine(Gbk("食べる") + std::to_string(i), std::to_string(i * 11),
                                Gbk("吃；") + std::to_string(i), std::to_string(i % 6));
    ASSERT_TRUE(f.Open("a.lx", text));
    f.lib.Version = "2.5";
    f.lib.GradeWordLastWord = {"a", "b", "", "d", "e", "f"};
    f.lib.StoreGroup();
    ASSERT_TRUE(f.lib.SaveWordLib());
    std::string saved = PlainTextOf(f.folder / "a.lx");

    LibraryFixture g;
    ASSERT_TRUE(g.lib.OpenWordLib(f.lib.Path));
    EXPECT_EQ(g.lib.Count, 9);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(g.lib.Words[i], f.lib.Words[i]) << i;
    EXPECT_EQ(g.lib.Editor, f.lib.Editor);
    EXPECT_EQ(g.lib.Date, f.lib.Date);
    EXPECT_EQ(g.lib.Version, "2.5");
    EXPECT_EQ(g.lib.LoopTimes, f.lib.LoopTimes);
    EXPECT_EQ(g.lib.ThisLoopTime, f.lib.ThisLoopTime);
    EXPECT_EQ(g.lib.TotalTime, f.lib.TotalTime);
    EXPECT_EQ(g.lib.BaseGrade, 3);
    EXPECT_EQ(g.lib.GroupCount, 2);
    EXPECT_EQ(g.lib.GroupIndex, 1);
    EXPECT_EQ(g.lib.LastWord, f.list.CurrentIndex);
    EXPECT_EQ(g.lib.GradeWordLastWord, f.lib.GradeWordLastWord);
    int sum = 0;
    for (int i = 0; i < 9; ++i) sum += f.lib.Words[i].StudyTimes;
    EXPECT_EQ(g.lib.TotalDisplays, sum);

    g.list.CurrentIndex = f.list.CurrentIndex;
    ASSERT_TRUE(g.lib.SaveWordLib());
    EXPECT_EQ(PlainTextOf(f.folder / "a.lx"), saved);
}

TEST(LibraryFile, LineParseRules) {
    struct Case {
        const char* name;
        std::string text;
        int count;
        int groupcount, groupindex, basegrade;
        std::string word0, meaning0;
        int times0;
    };
    const std::string header = HeaderLine(0, 3, 2, 1, 4);
    const Case cases[] = {
        {"header only", header, 0, 3, 2, 4, "", "", 0},
        {"blank line after the header resets three values", header + "\n\n" + WordLines({0, 0, 0}), 3, 1, 0, 0, "w0",
         "m0", 0},
        {"a later header line carrying its own values",
         header + "\n<groupcount>2</groupcount><basegrade>1</basegrade>\n" + WordLines({0, 0, 0}), 3, 2, 0, 1, "w0",
         "m0", 0},
        {"empty t", header + "\n<e>a</e><t></t><c>b</c><g>0</g>", 1, 3, 2, 4, "a", "b", 0},
        {"letters in t", header + "\n<e>a</e><t>abc</t><c>b</c><g>0</g>", 1, 3, 2, 4, "a", "b", 0},
        {"no meaning marks", header + "\n<e>a</e><t>5</t><g>0</g>", 1, 3, 2, 4, "a", "", 5},
        {"opening mark without closing mark", header + "\n<e>a</e><t>5</t><c>b<g>0</g>", 1, 3, 2, 4, "a", "", 5},
        {"favourites word marks", header + "\n<word><e>a</e><t>2</t><c>b</c><g>1</g></word>", 1, 3, 2, 4, "a", "b", 2},
        {"CR LF line ends", header + "\r\n" + WordLine("a", "1", "b", "0") + "\r\n" + WordLine("c", "1", "d", "0"), 2,
         3, 2, 4, "a", "b", 1},
        {"CR line ends", header + "\r" + WordLine("a", "1", "b", "0") + "\r" + WordLine("c", "1", "d", "0"), 2, 3, 2, 4,
         "a", "b", 1},
        {"Chinese text", header + "\n" + WordLine(Gbk("学生"), "1", Gbk("<学生>"), "0"), 1, 3, 2, 4, Gbk("学生"),
         Gbk("<学生>"), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<WordList> words;
        LibraryFileValues values;
        ParseLibraryLines(SplitLibraryLines(c.text), values, words);
        EXPECT_EQ(static_cast<int>(words.size()), c.count);
        EXPECT_EQ(values.GroupCount, c.groupcount);
        EXPECT_EQ(values.GroupIndex, c.groupindex);
        EXPECT_EQ(values.BaseGrade, c.basegrade);
        EXPECT_EQ(values.TotalTime, 99);
        if (c.count > 0) {
            EXPECT_EQ(words[0].Word, c.word0);
            EXPECT_EQ(words[0].Meaning, c.meaning0);
            EXPECT_EQ(words[0].StudyTimes, c.times0);
        }
    }
}

TEST(LibraryFile, TheTotalStudyCountIsSummedWhileReading) {
    struct Case {
        std::vector<std::string> times;
        int total;
    };
    const Case cases[] = {
        {{"3", "", "x", "-2", "10"}, 11},
        {{"2147483647", "5"}, 2147483647},
        {{"-2147483648", "-1"}, -2147483647 - 1},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines;
        for (const std::string& t : c.times) lines.push_back(WordLine("w", t, "m", "0"));
        std::vector<WordList> words;
        LibraryFileValues values;
        values.TotalDisplays = 99;
        ParseLibraryLines(lines, values, words);
        EXPECT_EQ(values.TotalDisplays, c.total);
    }
}

TEST(LibraryFile, HeaderValuesMissingFromAFileKeepWhatWasThere) {
    LibraryFixture f;
    ASSERT_TRUE(f.Open("a.lx",
                       "<editor>first</editor><date>d1</date><lt>4</lt><tlt>9</tlt><tt>8</tt>"
                       "<GradeWordLastWord2>q</GradeWordLastWord2>\n" +
                           WordLines({0})));
    ASSERT_TRUE(f.Open("b.lx", "<date>d2</date>\n" + WordLines({0, 1})));
    EXPECT_EQ(f.lib.Editor, "first");
    EXPECT_EQ(f.lib.Date, "d2");
    EXPECT_EQ(f.lib.GradeWordLastWord[2], "q");
    EXPECT_EQ(f.lib.LoopTimes, 1) << "the cycle starts afresh";
    EXPECT_EQ(f.lib.ThisLoopTime, 0);
    EXPECT_EQ(f.lib.TotalTime, 0);
    EXPECT_EQ(f.display.cycleNo, "1");
    EXPECT_EQ(f.lib.Count, 2);
}

TEST(LibraryFile, TextsThatCannotStandInTheFileAreWrittenSoTheyReadBack) {
    LibraryFixture f;
    ASSERT_TRUE(f.Open("a.lx", HeaderLine() + "\n" + WordLines({0, 0})));
    f.lib.Words[0].Word = "x</e><t>9</t>y";
    f.lib.Words[0].Meaning = "line1\r\nline2</c>";
    f.lib.Words[1].Word = std::string("nul") + '\0' + "end";
    f.lib.Words[1].Meaning = Gbk("a<b <学生> <e <tt/> <lw >") + "\xB0";
    f.lib.Editor = "<e>ed";
    f.list.CurrentIndex = 0;
    ASSERT_TRUE(f.lib.SaveWordLib());
    std::string first = PlainTextOf(f.folder / "a.lx");

    LibraryFixture g;
    ASSERT_TRUE(g.lib.OpenWordLib(f.lib.Path));
    EXPECT_EQ(g.lib.Count, 2);
    EXPECT_EQ(g.lib.Words[0].Word, Gbk("x＜/e>＜t>9＜/t>y"));
    EXPECT_EQ(g.lib.Words[0].StudyTimes, 0);
    EXPECT_EQ(g.lib.Words[0].Meaning, Gbk("line1  line2＜/c>"));
    EXPECT_EQ(g.lib.Words[1].Word, "nul end");
    EXPECT_EQ(g.lib.Words[1].Meaning, Gbk("a<b <学生> <e <tt/> <lw >?")) << "a \"<\" outside a mark stays";
    EXPECT_EQ(g.lib.Editor, Gbk("＜e>ed"));
    g.list.CurrentIndex = 0;
    ASSERT_TRUE(g.lib.SaveWordLib());
    EXPECT_EQ(PlainTextOf(f.folder / "a.lx"), first) << "what the program writes reads back unchanged";
}

TEST(LibraryFile, LinesSplitAtEveryKindOfLineEnd) {
    using Lines = std::vector<std::string>;
    struct Case {
        std::string text;
        Lines lines;
    };
    const Case cases[] = {
        {"a\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"", {}},
        {"\n", {""}},
        {"x", {"x"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitLibraryLines(c.text), c.lines) << ::testing::PrintToString(c.text);
}

TEST(LibraryFile, MarksCountOnlyWhereACharacterStarts) {
    // A lead byte takes the next byte with it, so a mark right after an odd
    // run of lead bytes is part of a character and not a mark.
    const std::string lines[] = {
        "\xB0\xB0<e>y</e><c>m</c><g>0</g>",
        "\xB0\xB0\xB0<e>y</e><c>m</c><g>0</g>",
        "<e>\xB0</e>x</e><c>\xB0\xB0</c><g>0</g>",
        "<e>a</e><c>\xC4\xE3\xBA\xC3\xB0</c>m</c><g>0</g>",
        "<e>a</e><c>m<g>0</g>",
        "</e><e>a</e><g>0</g>",
    };
    for (const std::string& line : lines) {
        SCOPED_TRACE(::testing::PrintToString(line));
        for (const char* name : {"e", "c", "g"}) EXPECT_EQ(TagText(line, name), FindTagValue(line, name)) << name;
        std::vector<WordList> words;
        LibraryFileValues values;
        ParseLibraryLines({line}, values, words);
        bool wordLine = FindGbk(line, "<e>") != std::string::npos;
        ASSERT_EQ(words.size(), wordLine ? 1u : 0u);
        if (wordLine) {
            EXPECT_EQ(words[0].Word, FindTagValue(line, "e"));
            EXPECT_EQ(words[0].Meaning, FindTagValue(line, "c"));
        }
    }
}

// A library that is refused leaves the one that was open as it was.
struct RefusedFile : LibraryFixture {
    RefusedFile() {
        EXPECT_TRUE(Open("good.lx", HeaderLine(0, 1, 0) + "\n" + WordLines({0, 1, 0})));
        goodPath = lib.Path;
        messages.shown.clear();
    }
    void ExpectGoodLibraryStillOpen() {
        EXPECT_EQ(lib.Path, goodPath);
        EXPECT_EQ(lib.Count, 3);
        EXPECT_EQ(lib.Words[1].Word, "w1");
        EXPECT_EQ(lib.Words[1].Grade, 1);
        EXPECT_EQ(lib.Editor, "ed");
        EXPECT_EQ(list.WordCount, 3);
        EXPECT_EQ(StudyWords(), "w0,w1,w2");
    }
    std::string goodPath;
};

// The message for a damaged library: which file, that it was not opened,
// the line and what is wrong there, and that the open library goes on.
std::string DamagedMessage(const RefusedFile& f, const std::string& name, const std::string& reason) {
    return "词库“" + name + "”已损坏，没有打开。\r\n\r\n" + reason + "\r\n\r\n文件：" + (f.folder / name).string() +
           "\r\n\r\n正在学习的词库照常使用。";
}

TEST(LibraryFile, DamagedFilesAreRefusedNamingTheFileAndTheFault) {
    const std::string words = WordLines({0, 0});
    struct Case {
        std::string text;
        std::string reason;
    };
    const Case cases[] = {
        {"<lw>x1</lw>\n" + words, "第1行：“lw”的值“x1”不是整数"},
        {"<lt>1.5</lt>\n" + words, "第1行：“lt”的值“1.5”不是整数"},
        {"<tlt></tlt>\n" + words, "第1行：“tlt”的值“”不是整数"},
        {"<tt>9a</tt>\n" + words, "第1行：“tt”的值“9a”不是整数"},
        {"<groupcount>two</groupcount>\n" + words, "第1行：“groupcount”的值“two”不是整数"},
        {"<groupindex>-</groupindex>\n" + words, "第1行：“groupindex”的值“-”不是整数"},
        {"<basegrade>99999999999</basegrade>\n" + words, "第1行：“basegrade”的值“99999999999”不是整数"},
        {HeaderLine() + "\n" + words + "\n" + WordLine("a", "0", "b", "g1"), "第4行：单词“a”的级别“g1”不是整数"},
        {HeaderLine() + "\n" + words + "\n<e>a</e><t>0</t><c>b</c>", "第4行：单词“a”这一行不完整，缺少级别"},
        {HeaderLine() + "\n" + words + "\n<e>a</e><t>0</t><c>b</c><g>1", "第4行：单词“a”这一行不完整，缺少级别"},
        {HeaderLine() + "\n" + WordLine("a", "0", "b", "6"), "第2行：单词“a”的级别6不在0到5之间"},
        {HeaderLine() + "\n" + WordLine("a", "0", "b", "-1"), "第2行：单词“a”的级别-1不在0到5之间"},
        {HeaderLine() + "\n" + WordLine("a", "0", "b", "10000"), "第2行：单词“a”的级别10000不在0到5之间"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        RefusedFile f;
        EXPECT_FALSE(f.Open("坏词库.lx", c.text));
        EXPECT_EQ(f.messages.Texts(), (std::vector<std::string>{DamagedMessage(f, "坏词库.lx", c.reason)}));
        f.ExpectGoodLibraryStillOpen();
    }
}

// A library file cut off anywhere inside its text, as a full disk or a
// broken copy leaves it, is refused as damaged; a cut that happens to fall
// at the end of a line cannot be told from a shorter library.
TEST(LibraryFile, LibraryCutShortIsRefusedAsDamaged) {
    RefusedFile f;
    const std::string whole = f.WriteLibrary("whole.lx", HeaderLine() + "\n" + WordLines({0, 1, 2, 3}));
    const std::string bytes = TempFolder::ReadBytes(f.folder / "whole.lx");
    const std::string plain = PlainTextOf(f.folder / "whole.lx");
    for (size_t cut : {plain.size() - 3, plain.find("<g>1") + 2, plain.find("<lt>") + 5}) {
        SCOPED_TRACE(cut);
        f.messages.shown.clear();
        TempFolder::WriteBytes(f.folder / "cut.lx", bytes.substr(0, cut));
        ASSERT_EQ(PlainTextOf(f.folder / "cut.lx"), plain.substr(0, cut));
        EXPECT_FALSE(f.lib.OpenWordLib(GbkPath(f.folder / "cut.lx")));
        ASSERT_EQ(f.messages.shown.size(), 1u);
        const std::string& text = f.messages.shown[0].text;
        EXPECT_EQ(text.rfind("词库“cut.lx”已损坏，没有打开。", 0), 0u) << text;
        EXPECT_NE(text.find((f.folder / "cut.lx").string()), std::string::npos) << text;
        f.ExpectGoodLibraryStillOpen();
    }
}

TEST(LibraryFile, MoreWordsThanTheLibraryHoldsAreRefused) {
    std::string text = HeaderLine();
    for (int i = 0; i < kMaxLibraryWords; ++i) text += "\n<e>" + std::to_string(i) + "</e><g>0</g>";
    {
        LibraryFixture f;
        ASSERT_TRUE(f.Open("full.lx", text));
        EXPECT_EQ(f.lib.Count, kMaxLibraryWords);
        EXPECT_EQ(f.lib.Words[kMaxLibraryWords - 1].Word, "9999");
    }
    RefusedFile f;
    EXPECT_FALSE(f.Open("over.lx", text + "\n<e>one more</e><g>0</g>"));
    EXPECT_EQ(f.messages.Texts(),
              (std::vector<std::string>{DamagedMessage(f, "over.lx", "第10002行：单词数超过10000个")}));
    f.ExpectGoodLibraryStillOpen();
}

TEST(LibraryFile, UnreadableFilesLeaveTheOpenLibrary) {
    {
        RefusedFile f;
        EXPECT_FALSE(f.lib.OpenWordLib(GbkPath(f.folder / "missing.lx")));
        EXPECT_EQ(f.messages.Texts(), (std::vector<std::string>{"文件打不开"}));
        f.ExpectGoodLibraryStillOpen();
    }
    {
        RefusedFile f;
        TempFolder::WriteBytes(f.folder / "huge.lx", std::string(kLargestReadableFile + 1, 'a'));
        EXPECT_FALSE(f.lib.OpenWordLib(GbkPath(f.folder / "huge.lx")));
        EXPECT_EQ(f.messages.Texts(), (std::vector<std::string>{"词库过大，无法加载！请与作者联系！"}));
        f.ExpectGoodLibraryStillOpen();
    }
}

TEST(LibraryFile, PreviewingAHeaderLeavesTheOpenLibraryAlone) {
    RefusedFile f;
    std::string other =
        f.WriteLibrary("其他.lx", "<editor>marrowfen</editor><date>d9</date><version>v9</version>\n" + WordLines({0}));
    std::optional<WordLibHeader> header = f.lib.ReadWordLibHeader(other);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->Editor, "marrowfen");
    EXPECT_EQ(header->Date, "d9");
    EXPECT_EQ(header->Version, "v9");
    f.ExpectGoodLibraryStillOpen();
    EXPECT_FALSE(f.lib.ReadWordLibHeader(GbkPath(f.folder / "none.lx")));

    std::string otherBefore = PlainTextOf(f.folder / "其他.lx");
    f.list.Words[0].Grade = 3;
    f.lib.StoreGroup();
    ASSERT_TRUE(f.lib.SaveWordLib());
    EXPECT_EQ(PlainTextOf(f.folder / "其他.lx"), otherBefore);
    EXPECT_NE(PlainTextOf(f.folder / "good.lx").find("<e>w0</e><t>1</t><c>m0</c><g>3</g>"), std::string::npos);
}

TEST(LibraryFile, AFailedSaveKeepsTheOldFile) {
    LibraryFixture f;
    ASSERT_TRUE(f.Open("a.lx", HeaderLine() + "\n" + WordLines({0})));
    std::string before = PlainTextOf(f.folder / "a.lx");
    f.lib.Path = GbkPath(f.folder / "no-such-folder" / "a.lx");
    EXPECT_FALSE(f.lib.SaveWordLib());
    EXPECT_EQ(f.messages.FirstLines(), (std::vector<std::string>{"文件打不开："}));
    EXPECT_EQ(PlainTextOf(f.folder / "a.lx"), before);
}

// A library at the size limit whose study counts grow a digit would be
// saved as a file too large to open again: the old file is kept instead.
TEST(LibraryFile, ASaveThatWouldOutgrowTheReadableSizeKeepsTheOldFile) {
    LibraryFixture f;
    const std::string frame = HeaderLine() + "\n" + WordLine("w0", "9", "", "0");
    const std::string plain =
        HeaderLine() + "\n" + WordLine("w0", "9", std::string(kLargestReadableFile - frame.size(), 'm'), "0");
    ASSERT_EQ(plain.size(), kLargestReadableFile);
    ASSERT_TRUE(f.Open("full.lx", plain));
    const std::string before = TempFolder::ReadBytes(f.folder / "full.lx");

    f.list.Words[0].StudyTimes = 10;
    f.lib.StoreGroup();
    f.list.CurrentIndex = 0;
    f.messages.shown.clear();
    EXPECT_FALSE(f.lib.SaveWordLib());
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_NE(f.messages.shown[0].text.find("599999字节"), std::string::npos) << f.messages.shown[0].text;
    EXPECT_NE(f.messages.shown[0].text.find("没有保存"), std::string::npos);
    EXPECT_EQ(TempFolder::ReadBytes(f.folder / "full.lx"), before);
    EXPECT_FALSE(std::filesystem::exists(f.folder / "full.lx.lxsave~"));

    // At the limit itself the library is saved.
    f.list.Words[0].StudyTimes = 9;
    f.lib.StoreGroup();
    f.messages.shown.clear();
    EXPECT_TRUE(f.lib.SaveWordLib());
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_EQ(PlainTextOf(f.folder / "full.lx"), plain);
}

}  // namespace
