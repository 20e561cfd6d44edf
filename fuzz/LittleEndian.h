// The two-byte little-endian words of the library's buffers, read and written in place.
#pragma once

#include <cstddef>

namespace fuzz {

inline std::size_t Word(const unsigned char* at) { return at[0] | (at[1] << 8); }

inline void PutWord(unsigned char* at, std::size_t value) {
    at[0] = static_cast<unsigned char>(value & 0xFF);
    at[1] = static_cast<unsigned char>(value >> 8);
}

}  // namespace fuzz
