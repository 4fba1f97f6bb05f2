#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/gbktext.h"
#include "core/importencoding.h"
#include "core/scrambledfile.h"
#include "core/textimport.h"
#include "support/message_recorder.h"
#include "support/temp_folder.h"

namespace {

const std::string kMark = "\xEF\xBB\xBF";
const std::string kEmoji = "\xF0\x9F\x98\x80";  // U+1F600, which GBK does not have

std::string NeitherMessage(int line) {
    return "要导入的文本既不是UTF-8编码，也不是GBK编码，无法导入！\r\n\r\n位　　置：第" + std::to_string(line) +
           "行\r\n\r\n请把它另存为UTF-8或GBK编码后再导入。";
}

std::string NotUtf8Message(int line) {
    return "要导入的文本不是有效的UTF-8编码，无法导入！\r\n\r\n位　　置：第" + std::to_string(line) +
           "行\r\n\r\n请把它另存为UTF-8编码后再导入。";
}

const std::string kMissingHeadline = "下面的字符在GBK编码中没有，无法存入词库，请修改后再导入！\r\n\r\n";

TEST(ImportSourceToGbk, ReadsUtf8AndGbkAndRefusesWhatIsNeither) {
    struct Case {
        const char* name;
        std::string bytes;
        SourceEncoding encoding;
        std::optional<std::string> gbk;  // nothing: refused with `message`
        std::string message;
    };
    const std::string utf8List = "水\n  [名] 水\nみず\r\n  [名] 水\r\n";
    const std::string gbkList = Gbk(utf8List);
    const auto detect = SourceEncoding::Detect;
    const auto utf8 = SourceEncoding::Utf8;
    const std::vector<Case> cases = {
        {"UTF-8 holding non-ASCII", utf8List, detect, gbkList, ""},
        {"GBK", gbkList, detect, gbkList, ""},
        {"ASCII reads the same either way", "neko\n  cat\n", detect, "neko\n  cat\n", ""},
        {"marked UTF-8 loses its mark", kMark + utf8List, detect, gbkList, ""},
        {"a mark before ASCII", kMark + "a\n  1", detect, "a\n  1", ""},
        {"forced UTF-8", utf8List, utf8, gbkList, ""},
        {"forced UTF-8 drops the mark", kMark + "a", utf8, "a", ""},
        // 水 in GBK (CB AE) happens to be a UTF-8 character; the lone
        // lead byte after it is neither.
        {"GBK that reads partly as UTF-8", Gbk("a\n  水\n山\n  ") + "\xB0", detect, std::nullopt, NeitherMessage(4)},
        // A UTF-8 list with one stray byte: the reading that gets furthest
        // (UTF-8, up to line 3) names the line, not GBK's failure on line 1.
        {"UTF-8 with a stray byte", "水\n  水\n\xFF\n", detect, std::nullopt, NeitherMessage(3)},
        {"byte 0x80 in an ASCII text", "a\r  1\rb\x80", detect, std::nullopt, NeitherMessage(3)},
        {"a cut GBK character at the end", "a\n  1\n\xCB", detect, std::nullopt, NeitherMessage(3)},
        {"forced UTF-8 on GBK", "a\n  1\n" + Gbk("名") + "\n", utf8, std::nullopt, NotUtf8Message(3)},
        {"marked, but not UTF-8", kMark + "a\n" + Gbk("名"), detect, std::nullopt, NotUtf8Message(2)},
        {"overlong UTF-8 is not UTF-8", "a\n\xC0\xAF", utf8, std::nullopt, NotUtf8Message(2)},
        {"a UTF-8 surrogate is not UTF-8", "\xED\xA0\x80", utf8, std::nullopt, NotUtf8Message(1)},
        {"characters GBK cannot hold", "a\n  1\nb" + kEmoji + "\n  2" + kEmoji + "\n", detect, std::nullopt,
         kMissingHeadline + "第3行：“😀”（U+1F600），在“b😀”中\r\n第4行：“😀”（U+1F600），在“2😀”中\r\n"},
        {"only those GBK cannot hold are named", "〜の\n  [接尾] 〜的\n", detect, std::nullopt,
         kMissingHeadline + "第1行：“〜”（U+301C），在“〜の”中\r\n第2行：“〜”（U+301C），在“[接尾] 〜的”中\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageRecorder messages;
        EXPECT_EQ(ImportSourceToGbk(c.bytes, c.encoding), c.gbk);
        if (c.gbk) {
            EXPECT_TRUE(messages.shown.empty());
        } else {
            EXPECT_EQ(messages.Texts(), std::vector<std::string>{c.message});
        }
    }
}

// However many there are, the characters GBK cannot hold come in one
// message: the first twenty by line, then how many there are in all.
TEST(ImportSourceToGbk, NamesManyMissingCharactersInOneMessage) {
    std::string text;
    for (int i = 0; i < 25; ++i) text += "w" + std::to_string(i) + kEmoji + "\n  [名] 词\n";
    MessageRecorder messages;
    EXPECT_FALSE(ImportSourceToGbk(text));
    ASSERT_EQ(messages.shown.size(), 1u);
    const std::string& shown = messages.shown[0].text;
    EXPECT_NE(shown.find("第1行：“😀”（U+1F600），在“w0😀”中\r\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("第39行：“😀”（U+1F600），在“w19😀”中\r\n"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("w20😀"), std::string::npos) << shown;
    EXPECT_NE(shown.find("……共有25个这样的字符，这里只列出了前20个。"), std::string::npos) << shown;
}

// A long line is cut in the message, never inside a character.
TEST(ImportSourceToGbk, CutsTheLineShownAroundAMissingCharacter) {
    MessageRecorder messages;
    EXPECT_FALSE(ImportSourceToGbk("水水水水水水水水水水水水水水水水水水水水" + kEmoji));
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{kMissingHeadline +
                                       "第1行：“😀”（U+1F600），在“水水水水水水水水水水水水水水水…”中\r\n"});
}

TEST(ImportSourceToGbk, LinesCountFromOneAcrossAllLineBreaks) {
    EXPECT_EQ(ImportLineAt("a\r\nb\rc\nd", 0), 1u);
    EXPECT_EQ(ImportLineAt("a\r\nb\rc\nd", 3), 2u);  // CR LF is one break
    EXPECT_EQ(ImportLineAt("a\r\nb\rc\nd", 5), 3u);
    EXPECT_EQ(ImportLineAt("a\r\nb\rc\nd", 7), 4u);
}

// The import page and lxtool read a file through the same detection; a
// refused text writes nothing.
TEST(ImportTextLibFile, DetectsTheEncodingOfTheFile) {
    TempFolder dir;
    MessageRecorder messages;
    TempFolder::WriteBytes(dir / "utf8.txt", "猫\n  [名] 猫\n犬\n  [名] 狗\n\n\n");
    TempFolder::WriteBytes(dir / "gbk.txt", Gbk("猫\n  [名] 猫\n犬\n  [名] 狗\n\n\n"));
    TempFolder::WriteBytes(dir / "emoji.txt", "猫" + kEmoji + "\n  [名] 猫\n");
    std::vector<WordList> words;
    ASSERT_TRUE(ImportTextLibFile(dir / "utf8.txt", dir / "utf8.lx", "e", "d", "v", &words));
    EXPECT_EQ(words.size(), 2u);
    ASSERT_TRUE(ImportTextLibFile(dir / "gbk.txt", dir / "gbk.lx", "e", "d", "v", &words));
    EXPECT_EQ(ReadScrambledFile(dir / "gbk.lx"), ReadScrambledFile(dir / "utf8.lx"));
    EXPECT_NE(ReadScrambledFile(dir / "gbk.lx")->find(Gbk("<e>犬</e><t>0</t><c>[名] 狗</c>")), std::string::npos);
    EXPECT_TRUE(messages.shown.empty());

    EXPECT_FALSE(ImportTextLibFile(dir / "emoji.txt", dir / "emoji.lx", "e", "d", "v", &words));
    EXPECT_TRUE(words.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "emoji.lx"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("U+1F600"), std::string::npos);
    // Forced UTF-8 refuses a GBK file.
    messages.shown.clear();
    EXPECT_FALSE(ImportTextLibFile(dir / "gbk.txt", dir / "forced.lx", "e", "d", "v", &words, SourceEncoding::Utf8));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{NotUtf8Message(2)});  // 猫 (C3 A8) reads as UTF-8
    EXPECT_FALSE(std::filesystem::exists(dir / "forced.lx"));
}

}  // namespace
