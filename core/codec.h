#pragma once
// Scrambled file codec. Every data file is its plain GBK text XOR-ed with a
// keystream from a small linear congruential generator that is reseeded
// with the same constant for every file; the same operation scrambles and
// unscrambles. A byte equal to its key byte is left as it is, so for
// NUL-free text no scrambled byte is ever NUL. Reading and saving whole
// files is core/scrambledfile.h.

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr int32_t kKeystreamSeed = 615283;
// Largest buffer a read may fill; the end-of-file read counts too, so the
// largest file accepted is two bytes shorter.
inline constexpr size_t kReadBufferSize = 600000;
inline constexpr size_t kLargestReadableFile = kReadBufferSize - 2;  // 599998

// The process-wide generator (state starts at 0).
void SeedKeystream(int32_t value);
int32_t KeystreamState();
// One generator step mapped onto about n values centred on 0, reproducing
// the extended-precision arithmetic of the original format bit for bit.
int KeystreamRandom(int n);
// The same mapping for a given (already stepped) state, without touching
// the generator: exposed for tests and for the cached keystream.
int KeystreamDraw(int32_t steppedState, int n);
// Draws one key byte; returns x when x equals it, otherwise x XOR it.
unsigned char ScrambleByte(unsigned char x);
// Applies ScrambleByte to every byte of `text`, first to last.
void ScrambleText(std::string& text);

// Key byte j of every file (the (j+1)-th draw after the seed). The first
// 600000 are computed once per process and then served from a table.
unsigned char KeyByteAt(size_t j);
// Scrambles (or unscrambles) `len` bytes that stand at file position
// `offset`, using the cached keystream. Does not touch the generator.
void ScrambleAt(char* data, size_t len, size_t offset);

// Scrambles a whole plain text as a file would hold it (fresh keystream).
std::string ScrambleWhole(std::string_view plain);
// Puts the generator where `draws` draws from the seed leave it, as reading
// or writing a file of that many bytes byte by byte would.
void SetKeystreamAfterDraws(uint64_t draws);
