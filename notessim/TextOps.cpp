// TranslateText between UTF-16, UTF-8 and the library's character set.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "notessim/ApiEdge.h"
#include "notessim/Lmbcs.h"
#include "platform/Text.h"

using namespace notessim;

namespace {

// At most the output's WORD size.
WORD CopyOut(const void* data, std::size_t length, void* output) {
    std::memcpy(output, data, length);
    return static_cast<WORD>(length);
}

WORD ToUnicode(std::string_view input, void* output, WORD outputSize) {
    const std::u16string text = lmbcs::Decode(input);
    std::size_t units = std::min<std::size_t>(text.size(), outputSize / 2);
    // Never split a surrogate pair.
    if (units > 0 && units < text.size() && text[units - 1] >= 0xD800 && text[units - 1] <= 0xDBFF) {
        --units;
    }
    return CopyOut(text.data(), units * 2, output);
}

// The length of the leading bytes 0x20 to 0x7F: characters that read the same in the library's
// character set, in UTF-8 and in UTF-16, and that need no decoding. Eight bytes at a time.
std::size_t PlainPrefix(std::string_view input) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    std::size_t length = 0;
    for (; input.size() - length >= 8; length += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, input.data() + length, sizeof word);
        // A high bit set, or a byte below 0x20 borrowing into its own high bit.
        if (((word - kOnes * 0x20) | word) & kHighBits) break;
    }
    while (length < input.size() && static_cast<unsigned char>(input[length] - 0x20) < 0x60) ++length;
    return length;
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

WORD ToUtf8(std::string_view input, void* output, WORD outputSize) {
    const std::size_t plain = PlainPrefix(input);
    if (plain == input.size()) return CopyOut(input.data(), std::min<std::size_t>(plain, outputSize), output);
    std::string text(input.substr(0, plain));
    const std::string_view rest = input.substr(plain);
    if (std::all_of(rest.begin(), rest.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x20; })) {
        // Single-byte characters only (code page 850 above 0x7F), all in the Basic Multilingual
        // Plane: straight to UTF-8, as the way through UTF-16 would give them.
        for (std::size_t pos = 0; pos < rest.size();) {
            AppendUtf8(lmbcs::DecodeNext(rest, pos), text);
        }
    } else {
        text += platform::Utf16ToUtf8(lmbcs::Decode(rest));
    }
    return CopyOut(text.data(), platform::Utf8PrefixLength(text, outputSize), output);
}

WORD FromUnicode(const void* input, std::uint32_t inputLength, void* output, WORD outputSize) {
    std::u16string text(inputLength / 2, u'\0');
    std::memcpy(text.data(), input, text.size() * 2);
    std::string encoded;
    std::string character;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        character.clear();
        lmbcs::AppendEncoded(c, character);
        if (encoded.size() + character.size() > outputSize) break;
        encoded += character;
    }
    return CopyOut(encoded.data(), encoded.size(), output);
}

// An input length of 0xFFFF (MAXWORD) reads up to the NUL: a 16-bit one for UTF-16 input.
std::uint32_t InputUpToNul(WORD mode, const char* in) {
    std::uint32_t length = 0;
    if (mode == notesapi::OS_TRANSLATE_UNICODE_TO_LMBCS) {
        while (length < 0xFFFE && (in[length] != 0 || in[length + 1] != 0)) length += 2;
    } else {
        while (length < 0xFFFF && in[length] != 0) ++length;
    }
    return length;
}

}  // namespace

// Output that does not fit is cut at a character boundary.
WORD LNPUBLIC OSTranslate(WORD mode, const char* in, WORD inLength, char* out, WORD outLength) try {
    if (in == nullptr || out == nullptr) return 0;
    const std::uint32_t length = inLength == 0xFFFF ? InputUpToNul(mode, in) : inLength;
    const std::string_view bytes(in, length);
    switch (mode) {
        case notesapi::OS_TRANSLATE_LMBCS_TO_UNICODE: return ToUnicode(bytes, out, outLength);
        case notesapi::OS_TRANSLATE_LMBCS_TO_UTF8: return ToUtf8(bytes, out, outLength);
        case notesapi::OS_TRANSLATE_UNICODE_TO_LMBCS:
            return FromUnicode(in, length, out, outLength);
        default: return 0;
    }
} catch (...) {
    CaughtException("OSTranslate");
    return 0;
}
