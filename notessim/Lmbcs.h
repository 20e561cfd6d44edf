// The runtime's LMBCS codec (the Lotus Multi-Byte Character Set, optimised for group 1,
// code page 850), small and portable.
#pragma once

#include <string>
#include <string_view>

namespace notessim::lmbcs {

// Appends the LMBCS form of one Unicode scalar value (U+0000..U+10FFFF) to `out`.
void AppendEncoded(char32_t c, std::string& out);

// Decodes the character starting at `pos` and advances `pos` past it (always by at least one
// byte). Malformed or truncated input yields U+FFFD.
char32_t DecodeNext(std::string_view bytes, std::size_t& pos);

std::string Encode(std::u16string_view utf16);
std::u16string Decode(std::string_view bytes);

}  // namespace notessim::lmbcs
