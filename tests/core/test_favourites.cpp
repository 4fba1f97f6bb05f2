#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/codec.h"
#include "core/favourites.h"
#include "core/gbktext.h"
#include "core/scrambledfile.h"
#include "core/textimport.h"
#include "support/message_recorder.h"
#include "support/temp_folder.h"
#include "support/wordlib_fixture.h"

namespace {

std::string G(const char* utf8) { return Gbk(utf8); }

std::string Header(const std::string& lw) {
    std::string h = "<editor>ed</editor><date>2026-01-02</date><version>v2</version><lw>" + lw +
                    "</lw><groupcount>3</groupcount><groupindex>2</groupindex><lt>4</lt><tlt>5</tlt><tt>6</tt>";
    for (int i = 0; i < 6; ++i) {
        std::string n = "GradeWordLastWord" + std::to_string(i);
        h += "<" + n + ">w" + std::to_string(i) + "</" + n + ">";
    }
    return h;
}

std::string FavouriteLine(const std::string& word, int times, const std::string& meaning, int grade) {
    return "<word><e>" + word + "</e><t>" + std::to_string(times) + "</t><c>" + meaning + "</c><g>" +
           std::to_string(grade) + "</g></word>";
}

class FavouritesTest : public ::testing::Test {
protected:
    FavouritesTest() {
        favourites.BindCountDisplay([this](const std::string& caption) { captions.push_back(Utf8(caption)); });
    }

    // Writes `plainUtf8` as a scrambled file and loads it.
    void LoadPlain(const std::string& plainUtf8, const std::string& name = "收藏库.lx") {
        WriteScrambledFile(dir / name, Gbk(plainUtf8));
        favourites.LoadFavourites(PathOf(name));
    }
    std::string PathOf(const std::string& name) const { return FromNativePath(dir / name); }
    std::string SavedPlain(const std::string& name = "收藏库.lx") const {
        return Utf8(ReadScrambledFile(dir / name).value_or("<unreadable>"));
    }
    // A loaded, empty favourites file, so that saves have a path.
    void LoadEmpty() { LoadPlain(Header("0") + "\n"); }
    std::vector<std::string> Words() const {
        std::vector<std::string> out;
        for (int i = 0; i < favourites.Count; ++i)
            out.push_back(Utf8(favourites.Words[i].Word) + "=" + Utf8(favourites.Words[i].Meaning));
        return out;
    }

    TempFolder dir;
    MessageRecorder messages;
    TMyWordLib favourites;
    std::vector<std::string> captions;
};

TEST_F(FavouritesTest, LoadReadsHeaderAndWordsAndShowsTheCount) {
    LoadPlain(Header("7") + "\n" + FavouriteLine("猫", 2, "ねこ 猫", 1) + "\n" + FavouriteLine("犬", 3, "いぬ", 0) +
              "\r\n" + "<e>鳥</e><t>x</t><g>5</g>");
    EXPECT_EQ(Words(), (std::vector<std::string>{"猫=ねこ 猫", "犬=いぬ", "鳥="}));
    EXPECT_EQ(favourites.Words[0].StudyTimes, 2);
    EXPECT_EQ(favourites.Words[2].StudyTimes, 0);  // not a number: no study count
    EXPECT_EQ(favourites.Words[2].Grade, 5);
    EXPECT_EQ(favourites.Count, 3);
    EXPECT_EQ(favourites.CurrentIndex, 3);
    EXPECT_EQ(favourites.LastWord, 7);
    EXPECT_EQ(favourites.TotalDisplays, 5);
    EXPECT_EQ(Utf8(favourites.Editor + "|" + favourites.Date + "|" + favourites.Version), "ed|2026-01-02|v2");
    EXPECT_EQ(favourites.GroupCount, 3);
    EXPECT_EQ(favourites.GroupIndex, 2);
    EXPECT_EQ(favourites.LoopTimes, 4);
    EXPECT_EQ(favourites.ThisLoopTime, 5);
    EXPECT_EQ(favourites.TotalTime, 6);
    EXPECT_EQ(favourites.GradeWordLastWord[5], "w5");
    EXPECT_EQ(captions, std::vector<std::string>{"收藏库词数：3"});
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FavouritesTest, LoadAndSaveKeepEverythingAndWriteTheCountAsLw) {
    const std::string words = FavouriteLine("一", 1, "いち", 2) + "\n" + FavouriteLine("二", 0, "に", 0) + "\n" +
                              FavouriteLine("三", 9, "さん", 5);
    LoadPlain(Header("0") + "\n" + words);
    ASSERT_TRUE(favourites.SaveFavourites());
    EXPECT_EQ(SavedPlain(), Header("3") + "\n" + words);

    favourites.ClearFavourites();
    EXPECT_EQ(captions.back(), "收藏库词数：0");
    ASSERT_TRUE(favourites.SaveFavourites());
    EXPECT_EQ(SavedPlain(), Header("-1") + "\n");
}

// A header value holding a mark of another tag is read as it stands when
// that tag comes first in the file; written back raw, it would stand before
// the mark and the file would never load again.
TEST_F(FavouritesTest, HeaderValuesHoldingMarksSaveAndLoadAgain) {
    LoadPlain("<groupcount>3</groupcount><lw>0</lw><editor>a</groupcount>b</editor>\n" +
              FavouriteLine("一", 1, "いち", 2));
    ASSERT_EQ(favourites.Count, 1);
    ASSERT_EQ(favourites.Editor, "a</groupcount>b");
    ASSERT_TRUE(favourites.SaveFavourites());
    const std::string firstSave = SavedPlain();

    TMyWordLib reloaded;
    reloaded.LoadFavourites(PathOf("收藏库.lx"));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(reloaded.Count, 1);
    EXPECT_EQ(Utf8(reloaded.Words[0].Word), "一");
    EXPECT_EQ(reloaded.GroupCount, 3);
    EXPECT_EQ(Utf8(reloaded.Editor), "a＜/groupcount>b");
    ASSERT_TRUE(reloaded.SaveFavourites());
    EXPECT_EQ(SavedPlain(), firstSave);
}

// Tags a file lacks keep what the favourites held before; groupcount and
// groupindex too, unlike a study library.
TEST_F(FavouritesTest, AbsentHeaderTagsKeepTheirValues) {
    LoadPlain(Header("0") + "\n");
    LoadPlain("<editor>other</editor><lt>9</lt>\n\n" + FavouriteLine("a", 0, "b", 0), "second.lx");
    EXPECT_EQ(favourites.Editor, "other");
    EXPECT_EQ(favourites.Date, "2026-01-02");
    EXPECT_EQ(favourites.GroupCount, 3);
    EXPECT_EQ(favourites.GroupIndex, 2);
    EXPECT_EQ(favourites.LoopTimes, 9);
    EXPECT_EQ(favourites.ThisLoopTime, 0);  // reset before every load
    EXPECT_EQ(favourites.TotalTime, 0);     // likewise
    EXPECT_EQ(favourites.Count, 1);
    EXPECT_EQ(favourites.Path, PathOf("second.lx"));
}

// Whatever keeps a file from being read is said and leaves the favourites
// empty and without a path, so no later save can overwrite the file.
TEST_F(FavouritesTest, UnusableFilesEmptyTheFavouritesAndAreNeverOverwritten) {
    std::string tooMany = Header("0");
    for (int i = 0; i <= kMaxLibraryWords; ++i) tooMany += "\n<e>w</e><g>0</g>";
    struct Case {
        const char* name;
        std::string plain;
        std::vector<std::string> messages;  // a part of each message shown, in order
    };
    const std::vector<Case> cases = {
        {"header number not an integer",
         Header("0") + "\n" + FavouriteLine("a", 0, "b", 0) + "\n<tt>abc</tt>",
         {"'abc' is not a valid integer value"}},
        {"grade not an integer",
         Header("0") + "\n" + FavouriteLine("a", 0, "b", 0) + "\n<e>c</e><g>x</g>",
         {"单词“c”的级别“x”不是整数"}},
        {"grade out of range", Header("0") + "\n" + FavouriteLine("a", 0, "b", 6), {"不在0到5之间"}},
        {"more than 10000 words", tooMany, {"文件中的单词超过了10000个"}},
        {"too large to read",
         std::string(kLargestReadableFile + 1, 'a'),
         {"词库过大，无法加载！请与作者联系！", "收藏库文件无法读取：\r\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadPlain(Header("0") + "\n" + FavouriteLine("old", 0, "old", 0), "good.lx");
        messages.shown.clear();
        captions.clear();
        WriteScrambledFile(dir / "bad.lx", Gbk(c.plain));
        const std::string before = TempFolder::ReadBytes(dir / "bad.lx");

        favourites.LoadFavourites(PathOf("bad.lx"));
        EXPECT_EQ(favourites.Count, 0);
        EXPECT_EQ(favourites.CurrentIndex, -1);
        EXPECT_TRUE(favourites.Path.empty());
        EXPECT_EQ(captions, std::vector<std::string>{"收藏库词数：0"});
        ASSERT_EQ(messages.shown.size(), c.messages.size());
        for (size_t i = 0; i < c.messages.size(); ++i)
            EXPECT_NE(messages.shown[i].text.find(c.messages[i]), std::string::npos) << messages.shown[i].text;
        if (c.messages.size() > 1) {
            EXPECT_NE(messages.shown[1].text.find(Utf8(PathOf("bad.lx"))), std::string::npos);
            EXPECT_NE(messages.shown[1].text.find("收藏库暂时为空，原文件不会被改写。"), std::string::npos);
        }

        EXPECT_EQ(favourites.AddFavourite(G("new"), G("new")), FavouriteAdd::Added);
        EXPECT_TRUE(favourites.SaveFavourites());
        EXPECT_EQ(TempFolder::ReadBytes(dir / "bad.lx"), before);
    }
}

// No file yet (a new learner whose file could not be prepared, or one who
// deleted it) is an empty favourites library: what is collected is saved,
// creating the file, instead of being lost when the program ends.
TEST_F(FavouritesTest, MissingFileIsAnEmptyLibraryThatTheFirstSaveCreates) {
    LoadPlain(Header("0") + "\n" + FavouriteLine("old", 0, "old", 0), "good.lx");
    messages.shown.clear();
    captions.clear();
    favourites.LoadFavourites(PathOf("new.lx"));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(favourites.Count, 0);
    EXPECT_EQ(favourites.Path, PathOf("new.lx"));
    EXPECT_EQ(captions, std::vector<std::string>{"收藏库词数：0"});
    EXPECT_FALSE(std::filesystem::exists(dir / "new.lx"));

    EXPECT_EQ(favourites.AddFavourite(G("猫"), G("ねこ")), FavouriteAdd::Added);
    EXPECT_TRUE(favourites.SaveFavourites());
    favourites.LoadFavourites(PathOf("new.lx"));
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(favourites.Count, 1);
    EXPECT_EQ(Utf8(favourites.Words[0].Word), "猫");
}

TEST_F(FavouritesTest, AddingNewAndKnownWords) {
    LoadEmpty();
    captions.clear();
    EXPECT_EQ(favourites.AddFavourite(G("猫"), G("ねこ")), FavouriteAdd::Added);
    EXPECT_EQ(favourites.AddFavourite(G("犬"), G("いぬ")), FavouriteAdd::Added);
    EXPECT_EQ(captions, (std::vector<std::string>{"收藏库词数：1", "收藏库词数：2"}));
    EXPECT_EQ(favourites.CurrentIndex, 0);  // adding leaves it where the load put it

    // Same word, same meaning: nothing changes, nothing is asked.
    EXPECT_EQ(favourites.AddFavourite(G("猫"), G("ねこ")), FavouriteAdd::AlreadyThere);
    // A word is taken without the blanks around it, then compared byte for
    // byte: "猫 " is the word 猫 already collected, "ネコ" another word.
    EXPECT_EQ(favourites.AddFavourite(G("猫 "), G("ねこ")), FavouriteAdd::AlreadyThere);
    EXPECT_EQ(favourites.AddFavourite(G(" \t猫\t"), G("ねこ")), FavouriteAdd::AlreadyThere);
    EXPECT_EQ(favourites.AddFavourite(G(" ネコ "), G("ねこ")), FavouriteAdd::Added);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Words(), (std::vector<std::string>{"猫=ねこ", "犬=いぬ", "ネコ=ねこ"}));

    // Line breaks typed into a meaning would split the file's line, and a
    // "</c>" would end the meaning early: both are stored as the library
    // files store them.
    EXPECT_EQ(favourites.AddFavourite(G("鳥"), G("とり\r\n[名]\n鳥\r")), FavouriteAdd::Added);
    EXPECT_EQ(favourites.AddFavourite(G("a</e>"), G("x</c>y<g>")), FavouriteAdd::Added);
    // A "<" that starts no mark of the format stays as it was typed.
    EXPECT_EQ(favourites.AddFavourite(G("a<"), G("b")), FavouriteAdd::Added);
    EXPECT_EQ(favourites.AddFavourite(G("a<"), G("b")), FavouriteAdd::AlreadyThere);
    const std::vector<std::string> expected = {
        "猫=ねこ", "犬=いぬ", "ネコ=ねこ", "鳥=とり  [名] 鳥 ", "a＜/e>=x＜/c>y＜g>", "a<=b"};
    EXPECT_EQ(Words(), expected);
    ASSERT_TRUE(favourites.SaveFavourites());
    favourites.LoadFavourites(PathOf("收藏库.lx"));
    EXPECT_EQ(Words(), expected);
}

TEST_F(FavouritesTest, AnotherMeaningAsksBeforeReplacing) {
    LoadEmpty();
    favourites.AddFavourite(G("猫"), G("ねこ"));
    captions.clear();

    messages.answers = {kIdNo, kIdYes};
    EXPECT_EQ(favourites.AddFavourite(G("猫"), G("cat")), FavouriteAdd::MeaningKept);
    EXPECT_EQ(Words(), std::vector<std::string>{"猫=ねこ"});
    EXPECT_EQ(favourites.AddFavourite(G("猫"), G("cat")), FavouriteAdd::MeaningReplaced);
    EXPECT_EQ(Words(), std::vector<std::string>{"猫=cat"});
    EXPECT_TRUE(captions.empty());

    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].flags, kMsgYesNoDefaultNo);
    EXPECT_EQ(messages.shown[0].text,
              "单词已经存在：\r\n\t\n英文单词:猫\r\n\r\n原释义：ねこ\r\n新释义：cat\r\n\r\n是否替换原来的释义？");
}

// Meanings over 80 bytes are shown as their first 80 bytes and "......",
// never cutting a double-byte character in half.
TEST_F(FavouritesTest, LongMeaningsAreCutInTheQuestion) {
    const std::string a80(80, 'a');
    const std::string kanji = Gbk("字");  // two bytes
    struct Case {
        const char* name;
        std::string meaning;  // GBK
        std::string shown;    // GBK
    };
    const std::vector<Case> cases = {
        {"80 bytes stand whole", a80, a80},
        {"81 bytes are cut to 80", a80 + "b", a80 + "......"},
        {"a character across byte 80 is left out", std::string(79, 'a') + kanji, std::string(79, 'a') + "......"},
        {"a character ending at byte 80 stays", std::string(78, 'a') + kanji + "b",
         std::string(78, 'a') + kanji + "......"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMyWordLib fresh;
        fresh.AddFavourite(G("w"), G("old"));
        messages.shown.clear();
        fresh.AddFavourite(G("w"), c.meaning);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_NE(messages.shown[0].text.find("新释义：" + Utf8(c.shown) + "\r\n\r\n"), std::string::npos)
            << messages.shown[0].text;
        // The old meaning is cut the same way.
        fresh.Words[0].Meaning = c.meaning;
        messages.shown.clear();
        fresh.AddFavourite(G("w"), G("x"));
        EXPECT_NE(messages.shown[0].text.find("原释义：" + Utf8(c.shown) + "\r\n新释义"), std::string::npos);
    }
}

TEST_F(FavouritesTest, ThreeThousandIsTheLimitForAddingAndReplacing) {
    for (int i = 0; i < kMaxFavourites; ++i) favourites.Words[i].Word = "w" + std::to_string(i);
    favourites.Count = kMaxFavourites;
    captions.clear();
    EXPECT_EQ(favourites.AddFavourite(G("new"), G("m")), FavouriteAdd::Full);
    messages.answers = {kIdYes};
    EXPECT_EQ(favourites.AddFavourite(G("w0"), G("another")), FavouriteAdd::Full);
    EXPECT_EQ(favourites.Count, kMaxFavourites);
    EXPECT_EQ(favourites.Words[0].Meaning, "");
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"收藏库单词不能超过3000!", "收藏库单词不能超过3000!"}));
    EXPECT_TRUE(captions.empty());

    favourites.RemoveFavourite(0);
    EXPECT_EQ(favourites.AddFavourite(G("new"), G("m")), FavouriteAdd::Added);
}

TEST_F(FavouritesTest, RemovingAndReplacingByPosition) {
    struct Case {
        int position;
        std::vector<std::string> left;
    };
    const std::vector<Case> cases = {
        {0, {"b=2", "c=3"}},        {1, {"a=1", "c=3"}},         {2, {"a=1", "b=2"}},
        {3, {"a=1", "b=2", "c=3"}}, {-1, {"a=1", "b=2", "c=3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        TMyWordLib lib;
        std::string shown;
        lib.BindCountDisplay([&shown](const std::string& caption) { shown = Utf8(caption); });
        for (const char* w : {"a", "b", "c"}) lib.AddFavourite(w, std::to_string(w[0] - 'a' + 1));
        lib.Words[1].StudyTimes = 7;
        lib.RemoveFavourite(c.position);
        std::vector<std::string> left;
        for (int i = 0; i < lib.Count; ++i) left.push_back(lib.Words[i].Word + "=" + lib.Words[i].Meaning);
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(shown, "收藏库词数：" + std::to_string(lib.Count));
        if (c.position == 0) {
            EXPECT_EQ(lib.Words[0].StudyTimes, 7);
        }
        EXPECT_EQ(lib.CurrentIndex, -1);
    }

    LoadEmpty();
    favourites.AddFavourite(G("a"), G("1"));
    favourites.AddFavourite(G("b"), G("2"));
    favourites.ReplaceFavourite(1, G("a"), G("x\ny<c>"));  // no duplicate test here
    favourites.ReplaceFavourite(2, G("c"), G("3"));
    favourites.ReplaceFavourite(-1, G("c"), G("3"));
    EXPECT_EQ(Words(), (std::vector<std::string>{"a=1", "a=x y＜c>"}));
    EXPECT_EQ(favourites.Count, 2);
}

TEST_F(FavouritesTest, SavingFailuresKeepTheOldFile) {
    // Without a path nothing is written.
    favourites.AddFavourite(G("a"), G("1"));
    EXPECT_TRUE(favourites.SaveFavourites());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    LoadEmpty();
    const std::string before = TempFolder::ReadBytes(dir / "收藏库.lx");
    // So much text that the file could never be opened again.
    for (int i = 0; i < 100; ++i) favourites.AddFavourite("w" + std::to_string(i), std::string(6000, 'm'));
    EXPECT_FALSE(favourites.SaveFavourites());
    EXPECT_EQ(TempFolder::ReadBytes(dir / "收藏库.lx"), before);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("没有保存"), std::string::npos);

    messages.shown.clear();
    favourites.Path = PathOf("no/such/folder/收藏库.lx");
    favourites.ClearFavourites();
    EXPECT_FALSE(favourites.SaveFavourites());
    EXPECT_EQ(messages.FirstLines(), std::vector<std::string>{"文件打不开："});
}

// A library written by the import is a valid favourites file too.
TEST_F(FavouritesTest, ImportedLibraryLoadsAsFavourites) {
    ASSERT_TRUE(ImportTextLibText(Gbk("水\nみず\n山\n  やま"), dir / "lib.lx", "me", "today", "1"));
    favourites.LoadFavourites(PathOf("lib.lx"));
    EXPECT_EQ(Words(), (std::vector<std::string>{"水=みず", "山=やま"}));
    EXPECT_EQ(favourites.LastWord, 0);
    EXPECT_EQ(favourites.CurrentIndex, 2);
    EXPECT_EQ(favourites.GradeWordLastWord[0], "");
}

}  // namespace

namespace {

// The favourites file and a study library share one layout: each reads
// the other's words.
TEST_F(FavouritesTest, FavouritesFileOpensAsAStudyLibrary) {
    LoadPlain(Header("0") + "\n" + FavouriteLine("猫", 4, "ねこ", 2) + "\n" + FavouriteLine("犬", 0, "いぬ", 0));
    favourites.AddFavourite(G("鳥"), G("とり"));
    ASSERT_TRUE(favourites.SaveFavourites());

    LibraryFixture study;
    ASSERT_TRUE(study.lib.OpenWordLib(PathOf("收藏库.lx")));
    ASSERT_EQ(study.lib.Count, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(study.lib.Words[i], favourites.Words[i]) << i;
    EXPECT_EQ(study.lib.Editor, favourites.Editor);
    EXPECT_TRUE(study.messages.shown.empty());
}

TEST_F(FavouritesTest, StudyLibraryLoadsAsFavourites) {
    LibraryFixture study;
    ASSERT_TRUE(study.Open("lib.lx", HeaderLine(1, 2, 1, 3, 4) + "\n" + WordLines({0, 5, 3})));
    study.lib.Words[1].StudyTimes = 8;
    study.lib.Words[2].Meaning = Gbk("意味");
    ASSERT_TRUE(study.lib.SaveWordLib());

    favourites.LoadFavourites(FromNativePath(study.folder / "lib.lx"));
    ASSERT_EQ(favourites.Count, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(favourites.Words[i], study.lib.Words[i]) << i;
    EXPECT_EQ(favourites.GroupCount, 2);
    EXPECT_EQ(favourites.LoopTimes, 3);
    EXPECT_EQ(favourites.TotalDisplays, 8);
    EXPECT_TRUE(study.messages.shown.empty());  // the recorder installed last
}

}  // namespace
