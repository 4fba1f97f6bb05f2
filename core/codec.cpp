// The keystream generator with its exact model of the original arithmetic,
// the cached keystream and the scrambling of texts with it.

#include "core/codec.h"

#include "core/keydraw.h"
#include "core/keytable.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif
#include <vector>

namespace {

using keydraw::ExactDraw;
using keydraw::KeyByteFor;
using keydraw::kIncrement;
using keydraw::kMultiplier;
using keydraw::Step;

int32_t g_state = 0;

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

// Key bytes past the table, which only writes of files larger than any
// readable one need; computed when first asked for.
struct LateKeystream {
    std::vector<unsigned char> bytes;  // key bytes kKeyTableSize, kKeyTableSize + 1, ...
    uint32_t state = StateAfterDraws(kKeyTableSize);

    const unsigned char* data() const { return bytes.data(); }

    void ExtendTo(size_t count) {
        size_t j = bytes.size();
        if (j >= count) return;
        bytes.resize(std::max(count, j * 2 + 4096));
        uint32_t st = state;
        for (; j < bytes.size(); ++j) {
            st = Step(st);
            bytes[j] = KeyByteFor(static_cast<int32_t>(st));
        }
        state = st;
    }
};

LateKeystream& SharedLateKeystream() {
    static LateKeystream keystream;
    return keystream;
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
    if (j < kKeyTableSize) return kKeyTable[j];
    LateKeystream& late = SharedLateKeystream();
    late.ExtendTo(j - kKeyTableSize + 1);
    return late.data()[j - kKeyTableSize];
}

void ScrambleAt(char* data, size_t len, size_t offset) {
    if (offset < kKeyTableSize) {
        const size_t n = std::min(len, kKeyTableSize - offset);
        ApplyKey(data, data, kKeyTable + offset, n);
        data += n;
        len -= n;
        offset += n;
    }
    if (len == 0) return;
    LateKeystream& late = SharedLateKeystream();
    late.ExtendTo(offset - kKeyTableSize + len);
    ApplyKey(data, data, late.data() + (offset - kKeyTableSize), len);
}

std::string ScrambleWhole(std::string_view plain) {
    std::string out(plain);
    ScrambleAt(out.data(), out.size(), 0);
    return out;
}

void SetKeystreamAfterDraws(uint64_t draws) { SeedKeystream(static_cast<int32_t>(StateAfterDraws(draws))); }
