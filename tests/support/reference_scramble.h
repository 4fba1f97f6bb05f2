#pragma once
// A scrambler written apart from the codec, to check the codec and the
// files it writes against.

#include <cfloat>
#include <cstdint>
#include <string>

#include "core/codec.h"

// An independent keystream for cross-checks: the generator stepped here
// and each draw taken with the platform's 80-bit long double where there
// is one, otherwise from the codec's draw function.
inline std::string ReferenceScramble(const std::string& plain) {
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
