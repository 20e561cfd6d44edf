#include "logscan/CsvField.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "logscan/CsvFieldSearch.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace logscan {
namespace {

using csvsearch::HasTriggerBytewise;

// Most values are plain and short, so the search for a comma, double quote, line feed or carriage
// return goes 16 bytes at a time (8 without SSE2); the last block overlaps the one before. Quoted
// values are built block by block on the stack and copied into their string at once.

std::size_t CountDoubleQuotesBytewise(std::string_view value) {
    std::size_t count = 0;
    for (const char c : value) count += c == '"';
    return count;
}

#if defined(__SSE2__)
__m128i Load16(const char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

void Store16(char* at, __m128i bytes) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), bytes); }

// Bit i set when byte i is `byte`.
unsigned Matches16(__m128i bytes, char byte) {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(byte))));
}

// Lanes set where `bytes` holds a trigger byte.
__m128i Triggers(__m128i bytes) {
    return _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(',')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('"'))),
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')),
                     _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r'))));
}

bool HasTrigger(__m128i bytes) { return _mm_movemask_epi8(Triggers(bytes)) != 0; }

bool HasTrigger16(const char* at) { return HasTrigger(Load16(at)); }

// Short values are read as two overlapping halves in one register (the rest zeros).
[[gnu::always_inline]] inline bool NeedsQuoting(std::string_view value) {
    const char* at = value.data();
    const std::size_t size = value.size();
    if (size < 16) {
        if (size >= 8) {
            const __m128i first = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at));
            const __m128i last = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at + size - 8));
            return HasTrigger(_mm_unpacklo_epi64(first, last));
        }
        if (size >= 4) {
            std::int32_t first = 0;
            std::int32_t last = 0;
            std::memcpy(&first, at, 4);
            std::memcpy(&last, at + size - 4, 4);
            return HasTrigger(_mm_unpacklo_epi32(_mm_cvtsi32_si128(first), _mm_cvtsi32_si128(last)));
        }
        return HasTriggerBytewise(value);
    }
    std::size_t i = 0;
    for (; size - i >= 32; i += 32) {  // two blocks to a test
        if (_mm_movemask_epi8(_mm_or_si128(Triggers(Load16(at + i)), Triggers(Load16(at + i + 16)))) != 0) {
            return true;
        }
    }
    if (size - i >= 16) {
        if (HasTrigger16(at + i)) return true;
        i += 16;
    }
    return i < size && HasTrigger16(at + size - 16);
}

// Double quotes are few, and a population count instruction is not to be had everywhere.
std::size_t CountDoubleQuotes(std::string_view value) {
    std::size_t count = 0;
    std::size_t i = 0;
    for (; value.size() - i >= 16; i += 16) {
        for (unsigned quotes = Matches16(Load16(value.data() + i), '"'); quotes != 0; quotes &= quotes - 1) {
            ++count;
        }
    }
    return count + CountDoubleQuotesBytewise(value.substr(i));
}

// Copies 16 bytes, each double quote followed by its double, and returns the new end of `out`.
// Reads up to 32 bytes from `block` and writes up to 16 bytes past the new end.
char* CopyDoublingQuotes16(const char* block, char* out) {
    const char* from = block;
    for (unsigned quotes = Matches16(Load16(block), '"'); quotes != 0; quotes &= quotes - 1) {
        const char* quote = block + std::countr_zero(quotes);
        Store16(out, Load16(from));
        out += quote - from + 1;
        *out++ = '"';
        from = quote + 1;
    }
    Store16(out, Load16(from));
    return out + (block + 16 - from);
}

// Reads up to 32 bytes past the last 16-byte block, which must be zeros, and writes up to 16
// bytes past the returned end.
char* CopyDoublingQuotes(const char* at, std::size_t size, char* out) {
    const char* end = at + size;
    for (; at < end; at += 16) out = CopyDoublingQuotes16(at, out);
    return out - (at - end);  // the zeros copied from past the end do not count
}
#else
char* CopyDoublingQuotesBytewise(std::string_view value, char* out) {
    for (const char c : value) {
        *out++ = c;
        if (c == '"') *out++ = '"';
    }
    return out;
}

[[gnu::always_inline]] inline bool NeedsQuoting(std::string_view value) {
    return csvsearch::NeedsQuotingByWords(value);
}

std::size_t CountDoubleQuotes(std::string_view value) { return CountDoubleQuotesBytewise(value); }

char* CopyDoublingQuotes(const char* at, std::size_t size, char* out) {
    return CopyDoublingQuotesBytewise({at, size}, out);
}
#endif

// Copies the value in place up to its last 16 to 31 bytes, which go through a copy padded with
// zeros, so that the block copy never reads past the value. Writes up to 16 bytes past the end.
[[gnu::always_inline]] inline char* WriteQuotedField(std::string_view value, char* out) {
    *out++ = '"';
    const std::size_t inPlace = value.size() >= 32 ? (value.size() - 16) & ~std::size_t{15} : 0;
    out = CopyDoublingQuotes(value.data(), inPlace, out);
    char tail[64] = {};
    std::memcpy(tail, value.data() + inPlace, value.size() - inPlace);
    out = CopyDoublingQuotes(tail, value.size() - inPlace, out);
    *out++ = '"';
    return out;
}

// Values up to this length are quoted on the stack and copied into their string at once.
constexpr std::size_t kShortValue = 128;

}  // namespace

char* WriteCsvField(std::string_view value, char* out) {
    if (NeedsQuoting(value)) return WriteQuotedField(value, out);
    std::memcpy(out, value.data(), value.size());
    return out + value.size();
}

namespace {

// Kept out of QuoteCsvField, whose common way (a plain value) then needs no stack frame for it.
[[gnu::noinline]] std::string QuotedField(std::string_view value) {
    if (value.size() <= kShortValue) {
        char field[CsvFieldRoom(kShortValue)];
        const char* end = WriteQuotedField(value, field);
        return std::string(field, static_cast<std::size_t>(end - field));
    }
    const std::size_t length = value.size() + CountDoubleQuotes(value) + 2;
    std::string field(length + 16, '"');
    field.resize(static_cast<std::size_t>(WriteQuotedField(value, field.data()) - field.data()));
    return field;
}

}  // namespace

std::string QuoteCsvField(std::string_view value) {
    if (!NeedsQuoting(value)) return std::string(value);
    return QuotedField(value);
}

}  // namespace logscan
