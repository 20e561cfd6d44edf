#include "directory/XmlCharacters.h"

#include <cstdint>

namespace directory {
namespace {

// The length of the UTF-8 sequence at `text`, and its code point; 0 when it is not UTF-8.
std::size_t DecodeUtf8(const unsigned char* text, std::size_t available, char32_t& c) {
    const unsigned char lead = text[0];
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        c = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (length > available) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((text[i] & 0xC0) != 0x80) return 0;
        c = (c << 6) | (text[i] & 0x3F);
    }
    return c < minimum || c > 0x10FFFF ? 0 : length;
}

bool XmlAllows(char32_t c) {
    if (c < 0x20) return c == 0x09 || c == 0x0A || c == 0x0D;
    return !(c >= 0xD800 && c <= 0xDFFF) && c != 0xFFFE && c != 0xFFFF;
}

}  // namespace

std::size_t RemoveCharactersXmlForbids(char* text, std::size_t length) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < length;) {
        char32_t c = 0;
        const std::size_t sequence = DecodeUtf8(bytes + i, length - i, c);
        if (sequence == 0) {
            ++i;  // a byte that is not UTF-8: dropped alone
            continue;
        }
        if (XmlAllows(c)) {
            for (std::size_t k = 0; k < sequence; ++k) text[kept++] = text[i + k];
        }
        i += sequence;
    }
    return kept;
}

}  // namespace directory
