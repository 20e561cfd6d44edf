// The search for the bytes that force a CSV field into quotes, done without vector instructions:
// byte by byte, and eight bytes at a time in a 64-bit word. The word search is what builds
// without SSE2 (the 32-bit Windows program) use for every value; it is here, not inside
// CsvField.cpp's #if, so that the tests of every build run it.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace logscan::csvsearch {

// A bare carriage return would end the record for many CSV readers, so it is quoted as well.
inline bool IsTrigger(char c) { return c == ',' || c == '"' || c == '\n' || c == '\r'; }

inline bool HasTriggerBytewise(std::string_view value) {
    for (const char c : value) {
        if (IsTrigger(c)) return true;
    }
    return false;
}

// Whether one of the eight bytes at `at` is a trigger.
inline bool HasTrigger8(const char* at) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    std::uint64_t word = 0;
    std::memcpy(&word, at, sizeof word);
    // Non-zero exactly when some byte equals `byte`.
    const auto has = [&](unsigned char byte) {
        const std::uint64_t x = word ^ (kOnes * byte);
        return (x - kOnes) & ~x & kHighBits;
    };
    return (has(',') | has('"') | has('\n') | has('\r')) != 0;
}

// Values of eight bytes and more word by word, the last word overlapping the one before.
inline bool NeedsQuotingByWords(std::string_view value) {
    const char* at = value.data();
    const std::size_t size = value.size();
    if (size < 8) return HasTriggerBytewise(value);
    std::size_t i = 0;
    for (; size - i >= 8; i += 8) {
        if (HasTrigger8(at + i)) return true;
    }
    return i < size && HasTrigger8(at + size - 8);
}

}  // namespace logscan::csvsearch
