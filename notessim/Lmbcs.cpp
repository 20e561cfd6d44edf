// Interim codec: ASCII as itself, everything else through the Unicode group.
#include "notessim/Lmbcs.h"

namespace notessim::lmbcs {

void AppendEncoded(char32_t c, std::string& out) {
    if (c >= 0x20 && c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    auto unit = [&out](char16_t u) {
        out += '\x14';
        out += static_cast<char>(u >> 8);
        out += static_cast<char>(u & 0xFF);
    };
    if (c >= 0x10000) {
        c -= 0x10000;
        unit(static_cast<char16_t>(0xD800 | (c >> 10)));
        unit(static_cast<char16_t>(0xDC00 | (c & 0x3FF)));
    } else {
        unit(static_cast<char16_t>(c));
    }
}

char32_t DecodeNext(std::string_view bytes, std::size_t& pos) {
    const auto b = static_cast<unsigned char>(bytes[pos++]);
    if (b != 0x14) return b < 0x80 ? b : 0xFFFD;
    if (pos + 2 > bytes.size()) {
        pos = bytes.size();
        return 0xFFFD;
    }
    const char32_t unit = (static_cast<unsigned char>(bytes[pos]) << 8) |
                          static_cast<unsigned char>(bytes[pos + 1]);
    pos += 2;
    if (unit >= 0xD800 && unit <= 0xDBFF && pos + 3 <= bytes.size() && bytes[pos] == '\x14') {
        const char32_t low = (static_cast<unsigned char>(bytes[pos + 1]) << 8) |
                             static_cast<unsigned char>(bytes[pos + 2]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            pos += 3;
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return unit;
}

std::string Encode(std::u16string_view utf16) {
    std::string out;
    for (std::size_t i = 0; i < utf16.size(); ++i) AppendEncoded(utf16[i], out);
    return out;
}

std::u16string Decode(std::string_view bytes) {
    std::u16string out;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const char32_t c = DecodeNext(bytes, pos);
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 | ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 | ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

}  // namespace notessim::lmbcs
