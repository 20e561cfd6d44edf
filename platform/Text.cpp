#include "platform/Text.h"

#include <cstdint>

namespace platform {
namespace {

// The UTF-16 units of the character at `text[at]`: 2 for a surrogate pair, 1 for any other
// character, 0 for a surrogate without its other half.
std::size_t CharacterUnits(std::u16string_view text, std::size_t at) {
    const char16_t c = text[at];
    if (c < 0xD800 || c > 0xDFFF) return 1;
    const bool paired = c <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
                        text[at + 1] <= 0xDFFF;
    return paired ? 2 : 0;
}

}  // namespace

#ifndef _WIN32
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 | (c >> 10));
        out += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
    }
}

// Decodes one UTF-8 sequence at `i`, advancing it; malformed input yields the replacement.
char32_t NextUtf8(std::string_view text, std::size_t& i) {
    return DecodeUtf8(text, i).value_or(kReplacement);
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        switch (CharacterUnits(text, i)) {
            case 0: c = kReplacement; break;
            case 2: c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00); break;
            default: break;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) AppendUtf16(out, NextUtf8(text, i));
    return out;
}

std::u16string Utf8ToUtf16KeepingBytes(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t next = i;
        if (const std::optional<char32_t> c = DecodeUtf8(text, next)) {
            AppendUtf16(out, *c);
            i = next;
        } else {
            out += static_cast<char16_t>(0xDC00 | static_cast<std::uint8_t>(text[i++]));
        }
    }
    return out;
}

bool IsExactText(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t units = CharacterUnits(text, i);
        if (units == 0) return false;
        i += units;
    }
    return true;
}

// The ANSI code page of a POSIX system is its locale's, which is UTF-8 here.
std::optional<std::string> Utf16ToAnsi(std::u16string_view text) { return Utf16ToUtf8(text); }
std::u16string AnsiToUtf16(std::string_view text) { return Utf8ToUtf16(text); }
#endif

std::u16string WithoutUnpairedSurrogates(std::u16string_view text) {
    std::u16string out(text);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t units = CharacterUnits(out, i);
        if (units == 0) out[i] = 0xFFFD;
        i += units == 0 ? 1 : units;
    }
    return out;
}

std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<std::uint8_t>(text[at++]);
    if (lead < 0x80) return lead;
    int extra;
    char32_t c;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    for (int k = 0; k < extra; ++k) {
        if (at >= text.size()) return std::nullopt;
        const auto b = static_cast<std::uint8_t>(text[at]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (b & 0x3F);
        ++at;
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    return c;
}

std::size_t Utf8PrefixLength(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return text.size();
    std::size_t end = limit;
    while (end > 0 && (static_cast<std::uint8_t>(text[end]) & 0xC0) == 0x80) --end;
    return end;
}

}  // namespace platform
