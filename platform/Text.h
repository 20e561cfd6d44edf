// Conversions between the program's UTF-16 text and the 8-bit forms the platform uses.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Invalid UTF-16 (unpaired surrogates) becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// `text` with every unpaired surrogate replaced by U+FFFD: valid UTF-16. (Windows' own UTF-8
// conversion, and Wine's, may otherwise write such a surrogate as bytes no UTF-8 holds.)
std::u16string WithoutUnpairedSurrogates(std::u16string_view text);
// Invalid UTF-8 becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// Each byte that does not belong to valid UTF-8 becomes an unpaired surrogate (U+DC80 to
// U+DCFF), which no valid UTF-8 gives: the text shows that it cannot be converted back.
std::u16string Utf8ToUtf16KeepingBytes(std::string_view text);
// False when `text`, as the platform gave it (an argument, an environment value), stands for
// bytes that have no UTF-16 form (POSIX: kept by Utf8ToUtf16KeepingBytes): as a path or a name
// it would come out as another one. Windows hands over UTF-16 itself: always true there.
bool IsExactText(std::u16string_view text);
// The system's ANSI code page; nothing when a character has no form there.
std::optional<std::string> Utf16ToAnsi(std::u16string_view text);
std::u16string AnsiToUtf16(std::string_view text);

// The code point of the UTF-8 sequence at `text[at]`, moving `at` past it; nothing when the bytes
// there are not valid UTF-8 (overlong forms and surrogates included), `at` then somewhere past
// the first of them.
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& at);

// Length of the longest prefix of `text` of at most `limit` bytes that ends on a character boundary.
std::size_t Utf8PrefixLength(std::string_view text, std::size_t limit);

}  // namespace platform
