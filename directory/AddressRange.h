// Whether bytes the library points to lie inside memory it handed over. Compared as addresses:
// the library may hand back a pointer into anything.
#pragma once

#include <cstddef>
#include <cstdint>

namespace directory {

// True when `length` bytes at `at` lie wholly inside the `size` bytes at `begin`.
inline bool LiesWithin(const void* begin, std::size_t size, const void* at, std::size_t length) {
    const auto first = reinterpret_cast<std::uintptr_t>(begin);
    const auto byte = reinterpret_cast<std::uintptr_t>(at);
    return byte >= first && byte - first <= size && length <= size - (byte - first);
}

}  // namespace directory
