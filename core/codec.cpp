// The keystream generator with its exact model of the original arithmetic,
// the cached keystream and the scrambling of texts with it.

#include "core/codec.h"

#include <algorithm>
#include <cstring>
#include <memory>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif
#include <vector>

namespace {

constexpr uint32_t kMultiplier = 134735813u;  // 0x0807E7C5
constexpr uint32_t kIncrement = 1u;

int32_t g_state = 0;

inline uint32_t Step(uint32_t state) { return state * kMultiplier + kIncrement; }

// --- Exact model of the extended-precision arithmetic -------------------
// The format was defined by code that multiplied the signed state by
// 1/4294967295 held in an 80-bit extended value (significand
// 0x8000000080000001, so the constant is 0x8000000080000001 * 2^-95),
// rounded the product first to 64 and then to 53 significant bits, and
// multiplied by n with a 64-bit significand before truncating. The
// functions below redo that in integers so the result is the same on every
// compiler, whatever its long double is.

struct U128 {
    uint64_t hi = 0;
    uint64_t lo = 0;
};

U128 Mul64(uint64_t a, uint64_t b) {
    uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32;
    uint64_t b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
    uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    uint64_t mid = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
    U128 r;
    r.lo = (mid << 32) | (p00 & 0xFFFFFFFFu);
    r.hi = p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32);
    return r;
}

int BitLength(const U128& x) {
    int n = 0;
    if (x.hi) {
        uint64_t h = x.hi;
        while (h) {
            ++n;
            h >>= 1;
        }
        return n + 64;
    }
    uint64_t l = x.lo;
    while (l) {
        ++n;
        l >>= 1;
    }
    return n;
}

U128 ShiftRight(const U128& x, int s) {
    if (s <= 0) return x;
    if (s >= 128) return {};
    if (s >= 64) return {0, x.hi >> (s - 64)};
    return {x.hi >> s, (x.lo >> s) | (x.hi << (64 - s))};
}

// Bits of x below position s, compared with 2^(s-1): -1 below half,
// 0 exactly half, 1 above half.
int CompareRemainderWithHalf(const U128& x, int s) {
    U128 rem;
    if (s >= 128)
        rem = x;
    else if (s >= 64)
        rem = {x.hi & ((s == 64) ? 0 : ((uint64_t{1} << (s - 64)) - 1)), x.lo};
    else
        rem = {0, x.lo & ((uint64_t{1} << s) - 1)};
    U128 half;
    if (s - 1 >= 64)
        half = {uint64_t{1} << (s - 1 - 64), 0};
    else
        half = {0, uint64_t{1} << (s - 1)};
    if (rem.hi != half.hi) return rem.hi < half.hi ? -1 : 1;
    if (rem.lo != half.lo) return rem.lo < half.lo ? -1 : 1;
    return 0;
}

// Rounds x to `bits` significant bits, to nearest, ties to even. The
// result is mantissa * 2^shift.
void RoundToBits(const U128& x, int bits, uint64_t& mantissa, int& shift) {
    int len = BitLength(x);
    if (len <= bits) {
        mantissa = x.lo;
        shift = 0;
        return;
    }
    shift = len - bits;
    mantissa = ShiftRight(x, shift).lo;
    int cmp = CompareRemainderWithHalf(x, shift);
    if (cmp > 0 || (cmp == 0 && (mantissa & 1))) {
        ++mantissa;
        // Rounding up can carry into bit `bits` (with 64 bits the carry
        // wraps the mantissa to 0).
        bool carried = bits == 64 ? mantissa == 0 : mantissa == (uint64_t{1} << bits);
        if (carried) {
            mantissa = uint64_t{1} << (bits - 1);
            ++shift;
        }
    }
}

int ExactDraw(int32_t s, int n) {
    if (s == 0 || n == 0) return 0;
    constexpr uint64_t kReciprocal = 0x8000000080000001ull;  // * 2^-95
    uint64_t a = s < 0 ? uint64_t{0} - static_cast<uint64_t>(static_cast<int64_t>(s)) : static_cast<uint64_t>(s);
    uint64_t m64, m53, m;
    int e1, e2, e3;
    RoundToBits(Mul64(a, kReciprocal), 64, m64, e1);
    RoundToBits(U128{0, m64}, 53, m53, e2);
    uint64_t absN = n < 0 ? uint64_t{0} - static_cast<uint64_t>(static_cast<int64_t>(n)) : static_cast<uint64_t>(n);
    RoundToBits(Mul64(absN, m53), 64, m, e3);
    int exponent = e1 + e2 + e3 - 95;  // value = m * 2^exponent
    uint64_t magnitude;
    if (exponent >= 0)
        magnitude = exponent >= 64 ? 0 : (m << exponent);
    else
        magnitude = -exponent >= 64 ? 0 : (m >> -exponent);
    bool negative = (s < 0) != (n < 0);
    return negative ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
}

// --- The cached keystream -------------------------------------------------

// The key byte for one stepped state, without a division. With
// y = 180 * s (|y| < 2^39) and M = 2^32 - 1, write y = q * M + r with
// 0 <= r < M; then sum = y + (y >> 32) + 1 has q = floor(y / M) in its high
// half, and its low half is r + 1 for q <= 0 and r (or r + 1 when r >= q)
// for q > 0, so M divides a non-zero y exactly when the low half is 1 for
// negative y and 0 for positive y. Away from those points the draw, which
// truncates toward zero, is the floor plus one for negative y; at them
// (s = k * M / 15) the extended-precision rounding decides, so the exact
// model is asked.
inline unsigned char KeyByteFor(int32_t s) {
    int64_t y = static_cast<int64_t>(s) * 180;
    int64_t sum = y + (y >> 32) + 1;
    uint32_t negative = static_cast<uint32_t>(static_cast<uint64_t>(y) >> 63);
    if (static_cast<uint32_t>(sum) == negative) [[unlikely]]
        return static_cast<unsigned char>(ExactDraw(s, 180) + 9);
    return static_cast<unsigned char>((sum >> 32) + negative + 9);
}

struct Keystream {
    // Room for a whole readable file from the start (left uninitialised:
    // every byte is computed before it is read); writes of larger files
    // grow it.
    std::unique_ptr<unsigned char[]> bytes{new unsigned char[kReadBufferSize]};
    size_t capacity = kReadBufferSize;
    size_t filled = 0;
    uint32_t state = static_cast<uint32_t>(kKeystreamSeed);

    const unsigned char* data() const { return bytes.get(); }

    void ExtendTo(size_t count) {
        if (filled >= count) return;
        if (count > capacity) {
            size_t grown = std::max(count, capacity * 2);
            std::unique_ptr<unsigned char[]> larger(new unsigned char[grown]);
            std::memcpy(larger.get(), bytes.get(), filled);
            bytes = std::move(larger);
            capacity = grown;
        }
        // Small reads (init.ini, the data lists) need only the start.
        size_t target = std::min(capacity, std::max(count, filled * 2 + 4096));
        unsigned char* out = bytes.get();
        uint32_t st = state;
        size_t j = filled;
        for (; j + 4 <= target; j += 4) {
            uint32_t s1 = Step(st), s2 = Step(s1), s3 = Step(s2);
            st = Step(s3);
            out[j] = KeyByteFor(static_cast<int32_t>(s1));
            out[j + 1] = KeyByteFor(static_cast<int32_t>(s2));
            out[j + 2] = KeyByteFor(static_cast<int32_t>(s3));
            out[j + 3] = KeyByteFor(static_cast<int32_t>(st));
        }
        for (; j < target; ++j) {
            st = Step(st);
            out[j] = KeyByteFor(static_cast<int32_t>(st));
        }
        state = st;
        filled = target;
    }
};

Keystream& SharedKeystream() {
    static Keystream keystream;
    return keystream;
}

// The generator state after `draws` steps from the seed, found by doubling
// so that reads and writes leave the global generator where the
// byte-by-byte process would have left it.
uint32_t StateAfterDraws(uint64_t draws) {
    uint32_t mul = 1, add = 0;  // accumulated affine map
    uint32_t curMul = kMultiplier, curAdd = kIncrement;
    while (draws) {
        if (draws & 1) {
            mul = mul * curMul;
            add = add * curMul + curAdd;
        }
        curAdd = curAdd * curMul + curAdd;
        curMul = curMul * curMul;
        draws >>= 1;
    }
    return static_cast<uint32_t>(kKeystreamSeed) * mul + add;
}

// Applies key bytes to 8 bytes at a time: a byte equal to its key byte
// stays, any other byte is XOR-ed with it. `out` may be `in`.
void ApplyKey(const char* in, char* out, const unsigned char* key, size_t len) {
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    constexpr uint64_t kHigh = 0x8080808080808080ull;
    size_t i = 0;
#if defined(__SSE2__) || defined(_M_X64)
    for (; i + 32 <= len; i += 32) {
        for (size_t h = 0; h < 32; h += 16) {
            __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + h));
            __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(key + i + h));
            __m128i same = _mm_cmpeq_epi8(x, k);
            // Where x equals k the XOR is zero and k itself is the result.
            __m128i r = _mm_or_si128(_mm_xor_si128(x, k), _mm_and_si128(same, k));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + h), r);
        }
    }
#endif
    for (; i + 8 <= len; i += 8) {
        uint64_t x, k;
        std::memcpy(&x, in + i, 8);
        std::memcpy(&k, key + i, 8);
        uint64_t d = x ^ k;
        uint64_t nonzero = (((d & kLow7) + kLow7) | d) & kHigh;  // high bit set where d != 0
        uint64_t keepMask = ~((nonzero >> 7) * 0xFF);            // 0xFF where x == k
        uint64_t r = d | (x & keepMask);
        std::memcpy(out + i, &r, 8);
    }
    for (; i < len; ++i) {
        unsigned char x = static_cast<unsigned char>(in[i]);
        out[i] = static_cast<char>(x == key[i] ? x : x ^ key[i]);
    }
}

}  // namespace

void SeedKeystream(int32_t value) { g_state = value; }
int32_t KeystreamState() { return g_state; }

int KeystreamDraw(int32_t steppedState, int n) {
    if (n == 180) return static_cast<signed char>(KeyByteFor(steppedState) - 9);
    // For small ranges exact rational arithmetic gives the same result
    // except where n*s/4294967295 is an integer (the extended-precision
    // rounding can land one step nearer zero there); any other value lies
    // at least 2^-32 from an integer, far beyond the rounding error.
    if (n != 0 && n <= 65536 && n >= -65536) {
        int64_t num = static_cast<int64_t>(n) * steppedState;
        constexpr int64_t kDen = 4294967295LL;
        int64_t quotient = num / kDen;
        if (num - quotient * kDen != 0) return static_cast<int>(quotient);
    }
    return ExactDraw(steppedState, n);
}

int KeystreamRandom(int n) {
    g_state = static_cast<int32_t>(Step(static_cast<uint32_t>(g_state)));
    return KeystreamDraw(g_state, n);
}

unsigned char ScrambleByte(unsigned char x) {
    unsigned char k = static_cast<unsigned char>(KeystreamRandom(180) + 9);
    return x == k ? x : static_cast<unsigned char>(x ^ k);
}

void ScrambleText(std::string& text) {
    for (char& c : text) {
        if (c == '\0') break;
        c = static_cast<char>(ScrambleByte(static_cast<unsigned char>(c)));
    }
}

unsigned char KeyByteAt(size_t j) {
    Keystream& ks = SharedKeystream();
    ks.ExtendTo(j + 1);
    return ks.data()[j];
}

void ScrambleAt(char* data, size_t len, size_t offset) {
    if (len == 0) return;
    Keystream& ks = SharedKeystream();
    ks.ExtendTo(offset + len);
    ApplyKey(data, data, ks.data() + offset, len);
}

std::string ScrambleWhole(std::string_view plain) {
    std::string out(plain);
    ScrambleAt(out.data(), out.size(), 0);
    return out;
}

void SetKeystreamAfterDraws(uint64_t draws) { SeedKeystream(static_cast<int32_t>(StateAfterDraws(draws))); }
