// The keystream generator and the scrambling of texts with it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <random>

#include "core/codec.h"
#include "support/reference_scramble.h"

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
        {286331153LL * 1, 11},
        {-286331153LL * 1, -11},
        {286331153LL * 2, 23},
        {-286331153LL * 2, -23},
        {286331153LL * 4, 47},
        {-286331153LL * 4, -47},
        {286331153LL * 5, 59},
        {-286331153LL * 5, -59},
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
                ADD_FAILURE() << "n=" << n << " s=" << s << " got " << KeystreamDraw(s, n) << " want "
                              << extended(s, n);
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
    EXPECT_EQ(static_cast<uint32_t>(KeystreamState()), (615283u * 134735813u + 1u) * 134735813u + 1u);
}

// The key bytes of a file's start come from a table made at build time and
// those past it are drawn when needed; a whole text reaching past the table,
// and pieces of it at every kind of place, must match the independent
// scrambler byte for byte.
TEST(ScrambleAt, MatchesTheReferenceAcrossTheWholeKeystream) {
    const size_t size = kReadBufferSize + 70000;
    std::string plain(size, '\0');
    for (size_t j = 0; j < size; ++j) plain[j] = static_cast<char>(1 + (j * 131) % 255);
    const std::string reference = ReferenceScramble(plain);
    EXPECT_EQ(ScrambleWhole(plain), reference);
    struct Piece {
        size_t offset, len;
    };
    const Piece pieces[] = {
        {0, 1},
        {kReadBufferSize - 1, 1},
        {kReadBufferSize, 1},
        {kReadBufferSize - 37, 100},
        {kReadBufferSize + 65000, 5000},
        {12345, 0},
    };
    for (const Piece& p : pieces) {
        std::string piece = plain.substr(p.offset, p.len);
        ScrambleAt(piece.data(), piece.size(), p.offset);
        EXPECT_EQ(piece, reference.substr(p.offset, p.len)) << "offset " << p.offset;
        for (size_t j = 0; j < p.len; ++j) {
            const unsigned char x = static_cast<unsigned char>(plain[p.offset + j]);
            const unsigned char k = KeyByteAt(p.offset + j);
            ASSERT_EQ(static_cast<unsigned char>(reference[p.offset + j]), x == k ? x : x ^ k) << p.offset + j;
        }
    }
}

}  // namespace
