#pragma once
// The key bytes of every file's first kKeyTableSize bytes (a whole readable
// file), worked out once at build time by keytable_make, so that no process
// spends time on them.

#include <cstddef>

#include "core/codec.h"

inline constexpr size_t kKeyTableSize = kReadBufferSize;
extern const unsigned char kKeyTable[kKeyTableSize];
