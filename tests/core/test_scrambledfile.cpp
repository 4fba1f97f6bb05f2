// Scrambled files: reading them whole, and saving them so that a failed
// save leaves the old file.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "core/codec.h"
#include "core/gbktext.h"
#include "core/scrambledfile.h"
#include "core/tagtext.h"
#include "support/message_recorder.h"
#include "support/reference_scramble.h"
#include "support/temp_folder.h"

namespace {

class ReadScrambledFileTest : public ::testing::Test {
protected:
    TempFolder dir;
    MessageRecorder messages;
};

TEST_F(ReadScrambledFileTest, EmptyFileReadsAsEmptyText) {
    TempFolder::WriteBytes(dir / "empty.lx", "");
    auto text = ReadScrambledFile(dir / "empty.lx");
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ReadScrambledFileTest, MissingFileGivesNothingAndNoMessage) {
    EXPECT_FALSE(ReadScrambledFile(dir / "absent.lx"));
    EXPECT_FALSE(ReadScrambledFile(dir.path()));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ReadScrambledFileTest, SizeLimitIs599998Bytes) {
    std::string plain(599999, 'a');
    TempFolder::WriteBytes(dir / "big.lx", ScrambleWhole(plain));
    EXPECT_FALSE(ReadScrambledFile(dir / "big.lx"));
    ASSERT_EQ(messages.Texts(), std::vector<std::string>{"词库过大，无法加载！请与作者联系！"});
    EXPECT_EQ(messages.shown[0].flags, kMsgOk);

    plain.pop_back();
    TempFolder::WriteBytes(dir / "largest.lx", ScrambleWhole(plain));
    auto text = ReadScrambledFile(dir / "largest.lx");
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, plain);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(ReadScrambledFileTest, ReadsFilesOfAnIndependentScrambler) {
    std::string plain = Gbk("<editor>某人</editor><lw>0</lw>\n<e>水</e><t>3</t><c>みず 水</c><g>0</g>");
    TempFolder::WriteBytes(dir / "lib.lx", ReferenceScramble(plain));
    auto text = ReadScrambledFile(dir / "lib.lx");
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, plain);
    // The generator stands where a byte-by-byte read would leave it: one
    // draw per byte plus the end-of-file read.
    uint32_t state = 615283;
    for (size_t i = 0; i < plain.size() + 1; ++i) state = state * 134735813u + 1u;
    EXPECT_EQ(static_cast<uint32_t>(KeystreamState()), state);
}

TEST_F(ReadScrambledFileTest, TextEndsAtANulByte) {
    // A NUL comes out only where the file holds a NUL against a zero key
    // byte; the text ends there, as it always has for the program.
    size_t zeroKey = 0;
    while (KeyByteAt(zeroKey) != 0) ++zeroKey;
    std::string file = ReferenceScramble(std::string(zeroKey, 'a') + "bc");
    file[zeroKey] = '\0';
    TempFolder::WriteBytes(dir / "nul.lx", file);
    auto text = ReadScrambledFile(dir / "nul.lx");
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, std::string(zeroKey, 'a'));
}

class ScrambledWriterTest : public ReadScrambledFileTest {
protected:
    // Names of everything in the folder, sorted.
    static std::vector<std::string> FilesIn(const TempFolder& folder) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ScrambledWriterTest, FileIsTheScrambledConcatenationOfItsPieces) {
    constexpr std::string_view kTags[] = {"name", "word", "e"};
    ScrambledWriter writer;
    writer.Open(dir / "out.lx");
    std::string piece;
    AppendTag(piece, "name", Gbk("澜悦单词配置文件"), kTags);
    writer.WritePlain(piece);
    writer.WriteLineBreak();
    writer.WriteLineBreak();
    piece.clear();
    AppendOpenTag(piece, "word");
    AppendTag(piece, "e", "", kTags);
    AppendCloseTag(piece, "word");
    writer.WritePlain(piece);
    ASSERT_TRUE(writer.Close());
    std::string plain = "<name>" + Gbk("澜悦单词配置文件") + "</name>\n\n<word><e></e></word>";
    EXPECT_EQ(TempFolder::ReadBytes(dir / "out.lx"), ReferenceScramble(plain));
    EXPECT_EQ(*ReadScrambledFile(dir / "out.lx"), plain);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"out.lx"});
}

// The writer shows nothing: it tells its caller, who reports the failure.
TEST_F(ScrambledWriterTest, FailuresAreReturnedNotShown) {
    ScrambledWriter writer;
    writer.Open(dir / "no-such-folder" / "out.lx");
    writer.WritePlain("<a>b</a>");
    SaveResult result = writer.Close();
    EXPECT_EQ(result.fault(), SaveResult::Fault::CannotCreate);
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));

    ASSERT_TRUE(WriteScrambledFile(dir / "lib.lx", "old contents"));
    const std::string before = TempFolder::ReadBytes(dir / "lib.lx");
    std::filesystem::permissions(dir / "lib.lx", std::filesystem::perms::owner_read);
    writer.Open(dir / "lib.lx");
    writer.WritePlain("<e>new</e>");
    result = writer.Close();
    EXPECT_EQ(result.fault(), SaveResult::Fault::ReadOnly);
    EXPECT_EQ(TempFolder::ReadBytes(dir / "lib.lx"), before);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"lib.lx"});
}

TEST_F(ScrambledWriterTest, AbandonedSaveReplacesNothing) {
    ASSERT_TRUE(WriteScrambledFile(dir / "lib.lx", "old"));
    {
        ScrambledWriter writer;
        writer.Open(dir / "lib.lx");
        writer.WritePlain("<e>new</e>");
    }
    EXPECT_EQ(*ReadScrambledFile(dir / "lib.lx"), "old");
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"lib.lx"});
}

}  // namespace
