#include "notessim/Lmbcs.h"

#include <algorithm>
#include <array>
#include <utility>

#include "notessim/LmbcsTables.h"

namespace notessim::lmbcs {
namespace {

using tables::Half;

constexpr char32_t kReplacement = 0xFFFD;
constexpr unsigned char kGroupControl = 0x0F;
constexpr unsigned char kGroupUnicode = 0x14;
// The Unicode group never carries a zero low byte: a unit xx00 is written 14 F6 xx. As U+0000
// is always a bare byte, 14 F6 00 never occurs otherwise, and we write it followed by the low
// byte for the units F601-F6FF, which in the plain form would read as xx00. (ICU puts those
// private-use characters in a DBCS group, which this codec does not use.)
constexpr unsigned char kZeroLowByte = 0xF6;

struct GroupTables {
    const Half* low;   // second bytes 0x00-0x7F
    const Half* high;  // second bytes 0x80-0xFF
};

// The single-byte groups, indexed by group byte; entries without a high half are no such group.
constexpr std::array<GroupTables, 0x0C> kSingleByteGroups = {{
    {nullptr, nullptr},
    {&tables::kGroup01Low, &tables::kCp850},
    {&tables::kGroup02Low, &tables::kGroup02High},
    {nullptr, &tables::kGroup03High},
    {nullptr, &tables::kGroup04High},
    {nullptr, &tables::kGroup05High},
    {&tables::kGroup06Low, &tables::kGroup06High},
    {nullptr, nullptr},
    {nullptr, &tables::kGroup08High},
    {nullptr, nullptr},
    {nullptr, nullptr},
    {nullptr, &tables::kGroup0BHigh},
}};

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The C0 controls that are written as themselves; the others go in the control group.
bool IsBareControl(char32_t c) { return c == 0x00 || c == 0x09 || c == 0x0A || c == 0x0D || c == 0x19; }

unsigned char ByteAt(std::string_view bytes, std::size_t pos) {
    return static_cast<unsigned char>(bytes[pos]);
}

// The cp850 byte (0x80-0xFF) for `c`, or 0 when cp850 lacks it.
unsigned char Cp850Byte(char32_t c) {
    using Entry = std::pair<char16_t, unsigned char>;
    static const auto reverse = [] {
        std::array<Entry, 128> r{};
        for (std::size_t i = 0; i < r.size(); ++i)
            r[i] = {tables::kCp850[i], static_cast<unsigned char>(0x80 + i)};
        std::sort(r.begin(), r.end());
        return r;
    }();
    if (c > 0xFFFF) return 0;
    const Entry key{static_cast<char16_t>(c), 0};
    const auto it = std::lower_bound(reverse.begin(), reverse.end(), key);
    return it != reverse.end() && it->first == key.first ? it->second : 0;
}

void AppendUnicodeUnit(char16_t unit, std::string& out) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    out += static_cast<char>(kGroupUnicode);
    if (low == 0) {
        out += static_cast<char>(kZeroLowByte);
        out += high;
    } else if (static_cast<unsigned char>(high) == kZeroLowByte) {
        out += static_cast<char>(kZeroLowByte);
        out += '\0';
        out += low;
    } else {
        out += high;
        out += low;
    }
}

// Reads the Unicode-group unit whose group byte is at `pos`, advancing `pos` past it; false
// (and `pos` unchanged) when the input ends inside it.
bool ReadUnicodeUnit(std::string_view bytes, std::size_t& pos, char16_t& unit) {
    std::size_t p = pos + 1;
    if (bytes.size() - p < 2) return false;
    const unsigned char high = ByteAt(bytes, p);
    const unsigned char low = ByteAt(bytes, p + 1);
    p += 2;
    if (high != kZeroLowByte) {
        unit = static_cast<char16_t>(high << 8 | low);
    } else if (low != 0) {
        unit = static_cast<char16_t>(low << 8);
    } else {
        if (p == bytes.size()) return false;
        unit = static_cast<char16_t>(kZeroLowByte << 8 | ByteAt(bytes, p++));
    }
    pos = p;
    return true;
}

char32_t DecodeUnicodeGroup(std::string_view bytes, std::size_t& pos) {
    char16_t unit = 0;
    if (!ReadUnicodeUnit(bytes, pos, unit)) {
        pos = bytes.size();
        return kReplacement;
    }
    if (IsLowSurrogate(unit)) return kReplacement;
    if (!IsHighSurrogate(unit)) return unit;
    std::size_t next = pos;
    char16_t low = 0;
    if (next < bytes.size() && ByteAt(bytes, next) == kGroupUnicode &&
        ReadUnicodeUnit(bytes, next, low) && IsLowSurrogate(low)) {
        pos = next;
        return 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{low} - 0xDC00);
    }
    return kReplacement;
}

}  // namespace

void AppendEncoded(char32_t c, std::string& out) {
    if (c < 0x20) {
        if (!IsBareControl(c)) {
            out += static_cast<char>(kGroupControl);
            c += 0x20;
        }
        out += static_cast<char>(c);
        return;
    }
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    if (c < 0xA0) {
        out += static_cast<char>(kGroupControl);
        out += static_cast<char>(c);
        return;
    }
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
    if (const unsigned char b = Cp850Byte(c)) {
        out += static_cast<char>(b);
    } else if (c <= 0xFFFF) {
        AppendUnicodeUnit(static_cast<char16_t>(c), out);
    } else {
        c -= 0x10000;
        AppendUnicodeUnit(static_cast<char16_t>(0xD800 + (c >> 10)), out);
        AppendUnicodeUnit(static_cast<char16_t>(0xDC00 + (c & 0x3FF)), out);
    }
}

char32_t DecodeNext(std::string_view bytes, std::size_t& pos) {
    if (pos >= bytes.size()) {
        ++pos;
        return kReplacement;
    }
    const unsigned char b = ByteAt(bytes, pos);
    const bool hasSecond = bytes.size() - pos >= 2;
    if (b >= 0x80) {
        ++pos;
        return tables::kCp850[b - 0x80];
    }
    if (b >= 0x20 || IsBareControl(b)) {
        ++pos;
        return b;
    }
    if (b < kSingleByteGroups.size() && kSingleByteGroups[b].high) {
        if (!hasSecond) {
            pos = bytes.size();
            return kReplacement;
        }
        const unsigned char second = ByteAt(bytes, pos + 1);
        pos += 2;
        const GroupTables& group = kSingleByteGroups[b];
        const Half* half = second >= 0x80 ? group.high : group.low;
        return half ? (*half)[second & 0x7F] : kReplacement;
    }
    if (b == kGroupControl) {
        if (!hasSecond) {
            pos = bytes.size();
            return kReplacement;
        }
        const unsigned char second = ByteAt(bytes, pos + 1);
        pos += 2;
        if (second >= 0x80) return second;
        return second >= 0x20 ? second - 0x20 : kReplacement;
    }
    if (b >= 0x10 && b <= 0x13) {  // CJK double-byte groups: skipped, not decoded
        pos = std::min(pos + 3, bytes.size());
        return kReplacement;
    }
    if (b == kGroupUnicode) return DecodeUnicodeGroup(bytes, pos);
    ++pos;
    return kReplacement;
}

std::string Encode(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (IsHighSurrogate(c) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (char32_t{utf16[++i]} - 0xDC00);
        }
        AppendEncoded(c, out);  // a lone surrogate becomes U+FFFD there
    }
    return out;
}

std::u16string Decode(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        const char32_t c = DecodeNext(bytes, pos);
        if (c <= 0xFFFF) {
            out += static_cast<char16_t>(c);
        } else {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

}  // namespace notessim::lmbcs
