#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <random>

#include "core/codec.h"
#include "message_recorder.h"
#include "temp_folder.h"

namespace {

// The draw for a given stepped state, through the public generator API.
int DrawAfterStepTo(int32_t stepped) {
    // Find the state whose step gives `stepped`: x*M + 1 = stepped, M odd,
    // so x = (stepped - 1) * M^-1 mod 2^32.
    uint32_t inverse = 1;
    for (int i = 0; i < 5; ++i) inverse *= 2u - 134735813u * inverse;
    uint32_t previous = (static_cast<uint32_t>(stepped) - 1u) * inverse;
    SeedKeystream(static_cast<int32_t>(previous));
    return KeystreamRandom(180);
}

// An independent keystream for cross-checks: the generator stepped here
// and each draw taken with the platform's 80-bit long double where there
// is one, otherwise from the codec's draw function.
std::string ReferenceScramble(const std::string& plain) {
    uint32_t state = 615283;
    std::string out = plain;
    for (char& c : out) {
        state = state * 134735813u + 1u;
        int draw;
#if LDBL_MANT_DIG == 64
        volatile long double w = 1.0L / 4294967295.0L;
        long double product = static_cast<long double>(static_cast<int32_t>(state)) * w;
        volatile double q = static_cast<double>(product);
        draw = static_cast<int>(180.0L * static_cast<long double>(q));
#else
        draw = KeystreamDraw(static_cast<int32_t>(state), 180);
#endif
        auto k = static_cast<unsigned char>(draw + 9);
        auto x = static_cast<unsigned char>(c);
        c = static_cast<char>(x == k ? x : x ^ k);
    }
    return out;
}

TEST(KeystreamDraw, SpecialStates) {
    struct Case {
        int64_t state;
        int expected;
    };
    const Case cases[] = {
        {0, 0},
        {-2147483648LL, -90},
        {2147483647LL, 89},
        // n*s/4294967295 is exactly +-12k here; the extended-precision
        // rounding lands one step nearer zero.
        {286331153LL * 1, 11},   {-286331153LL * 1, -11},
        {286331153LL * 2, 23},   {-286331153LL * 2, -23},
        {286331153LL * 4, 47},   {-286331153LL * 4, -47},
        {286331153LL * 5, 59},   {-286331153LL * 5, -59},
        {1, 0},
        {-1, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeystreamDraw(static_cast<int32_t>(c.state), 180), c.expected) << "state " << c.state;
        EXPECT_EQ(DrawAfterStepTo(static_cast<int32_t>(c.state)), c.expected) << "state " << c.state;
    }
    // So the key byte of a zero state is 9.
    EXPECT_EQ(static_cast<unsigned char>(DrawAfterStepTo(0) + 9), 9);
}

TEST(KeystreamDraw, StepUsesTheFormatsMultiplier) {
    SeedKeystream(1);
    KeystreamRandom(180);
    EXPECT_EQ(static_cast<uint32_t>(KeystreamState()), 134735814u);
}

#if LDBL_MANT_DIG == 64
// Where the compiler has the x87 extended type, the integer model must
// agree with it everywhere: the special states, their neighbours, the
// multiples of 4294967295/15 and a spread of random states and ranges.
TEST(KeystreamDraw, MatchesExtendedPrecisionArithmetic) {
    auto extended = [](int32_t s, int n) {
        volatile long double w = 1.0L / 4294967295.0L;
        long double product = static_cast<long double>(s) * w;
        volatile double q = static_cast<double>(product);
        return static_cast<int>(static_cast<long double>(n) * static_cast<long double>(q));
    };
    std::vector<int32_t> states = {0, 1, -1, INT32_MAX, INT32_MIN, INT32_MIN + 1};
    for (int64_t k = -15; k <= 15; ++k) {
        int64_t base = k * 4294967295LL / 15;
        for (int64_t d = -2; d <= 2; ++d) {
            int64_t s = base + d;
            if (s >= INT32_MIN && s <= INT32_MAX) states.push_back(static_cast<int32_t>(s));
        }
    }
    std::mt19937 rng(12345);
    for (int i = 0; i < 200000; ++i) states.push_back(static_cast<int32_t>(rng()));
    const int ranges[] = {180, 1, 2, 3, 100, 255, 1000, 65536, 1 << 20, 1000003, INT32_MAX, -180};
    for (int n : ranges) {
        int mismatches = 0;
        for (int32_t s : states) {
            if (KeystreamDraw(s, n) != extended(s, n) && ++mismatches < 5)
                ADD_FAILURE() << "n=" << n << " s=" << s << " got " << KeystreamDraw(s, n)
                              << " want " << extended(s, n);
        }
        EXPECT_EQ(mismatches, 0) << "n=" << n;
    }
}
#endif

TEST(ScrambleText, RoundTripIncludingBytesEqualToTheirKey) {
    std::string plain;
    for (size_t j = 0; j < 2000; ++j) {
        unsigned char k = KeyByteAt(j);
        // Every third byte equals its own key byte (when that is not NUL).
        plain += static_cast<char>(j % 3 == 0 && k != 0 ? k : 1 + (j * 7) % 255);
    }
    std::string scrambled = plain;
    SeedKeystream(kKeystreamSeed);
    ScrambleText(scrambled);
    EXPECT_NE(scrambled, plain);
    EXPECT_EQ(scrambled, ReferenceScramble(plain));
    EXPECT_EQ(scrambled, ScrambleWhole(plain));
    SeedKeystream(kKeystreamSeed);
    ScrambleText(scrambled);
    EXPECT_EQ(scrambled, plain);
}

TEST(ScrambleText, OutputNeverHoldsNul) {
    std::string plain;
    for (int round = 0; round < 40; ++round)
        for (int b = 1; b < 256; ++b) plain += static_cast<char>(b);
    std::string scrambled = ScrambleWhole(plain);
    EXPECT_EQ(scrambled.find('\0'), std::string::npos);
}

TEST(ScrambleText, StopsAtTheTerminator) {
    std::string text("ab\0cd", 5);
    SeedKeystream(kKeystreamSeed);
    ScrambleText(text);
    EXPECT_EQ(text.substr(2), std::string("\0cd", 3));
    EXPECT_EQ(static_cast<uint32_t>(KeystreamState()),
              (615283u * 134735813u + 1u) * 134735813u + 1u);
}

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
    ScrambledWriter writer;
    writer.Open(dir / "out.lx");
    writer.WriteTag("name", Gbk("澜悦单词配置文件"));
    writer.WriteLineBreak();
    writer.WriteLineBreak();
    writer.WriteOpenTag("word");
    writer.WriteTag("e", "");
    writer.WriteCloseTag("word");
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
    writer.WriteTag("a", "b");
    SaveResult result = writer.Close();
    EXPECT_EQ(result.fault(), SaveResult::Fault::CannotCreate);
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));

    ASSERT_TRUE(WriteScrambledFile(dir / "lib.lx", "old contents"));
    const std::string before = TempFolder::ReadBytes(dir / "lib.lx");
    std::filesystem::permissions(dir / "lib.lx", std::filesystem::perms::owner_read);
    writer.Open(dir / "lib.lx");
    writer.WriteTag("e", "new");
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
        writer.WriteTag("e", "new");
    }
    EXPECT_EQ(*ReadScrambledFile(dir / "lib.lx"), "old");
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"lib.lx"});
}

}  // namespace
