// The exact model of one keystream draw.

#include "core/keydraw.h"

namespace {

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

}  // namespace

namespace keydraw {

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

}  // namespace keydraw
