#pragma once
// The arithmetic of one keystream draw, shared by the codec and by the
// build step that fixes the keystream of every file's first bytes in a
// table (keystream_table).

#include <cstdint>

namespace keydraw {

inline constexpr uint32_t kMultiplier = 134735813u;  // 0x0807E7C5
inline constexpr uint32_t kIncrement = 1u;

inline uint32_t Step(uint32_t state) { return state * kMultiplier + kIncrement; }

// The draw of n values for an already stepped state, by the exact model of
// the extended-precision arithmetic of the original format.
int ExactDraw(int32_t s, int n);

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

}  // namespace keydraw
