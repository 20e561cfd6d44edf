#include "notessim/ActivityLineReader.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "notessim/FloatingText.h"
#include "notessim/Lmbcs.h"
#include "notessim/TimeText.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace notessim {
namespace {

// Every reading function returns false where the line leaves the common form; the caller then
// gives the line up, whether it is valid JSON or not.
class LineCursor {
public:
    explicit LineCursor(std::string_view line) : at_(line.data()), end_(line.data() + line.size()) {}

    // Skips JSON white space, then takes `c` if it comes next.
    bool Take(char c) {
        SkipSpace();
        if (at_ == end_ || *at_ != c) return false;
        ++at_;
        return true;
    }
    bool Next(char c) {
        SkipSpace();
        return at_ != end_ && *at_ == c;
    }
    bool AtEnd() {
        SkipSpace();
        return at_ == end_;
    }

    // A string: a view into the line when it has no escape, else its decoded text in `decoded`.
    // `plain` tells whether it was all bytes 0x20 to 0x7F, with no escape.
    bool String(std::string_view& text, std::string& decoded, bool& plain);
    bool String(std::string_view& text, std::string& decoded) {
        bool plain = false;
        return String(text, decoded, plain);
    }
    bool Number(double& value);

private:
    void SkipPlainBytes();
    void SkipSpace() {
        // Lines mostly have no white space: one test for the common case.
        while (at_ != end_ && static_cast<unsigned char>(*at_) <= ' ' &&
               (*at_ == ' ' || *at_ == '\t' || *at_ == '\n' || *at_ == '\r')) {
            ++at_;
        }
    }
    bool Escape(std::string& decoded);
    bool Utf8Sequence();
    bool Digits();

    const char* at_;
    const char* end_;
};

// Steps over bytes 0x20 to 0x7F other than '"' and '\\': 16 at a time while 16 are left.
void LineCursor::SkipPlainBytes() {
#if defined(__SSE2__)
    while (end_ - at_ >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at_));
        // Compared as signed bytes, those from 0x80 are negative: below 0x20 like the controls.
        const __m128i special = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('"')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\\'))),
            _mm_cmplt_epi8(bytes, _mm_set1_epi8(0x20)));
        const auto found = static_cast<unsigned>(_mm_movemask_epi8(special));
        if (found != 0) {
            at_ += std::countr_zero(found);
            return;
        }
        at_ += 16;
    }
#endif
    while (at_ != end_) {
        const auto c = static_cast<unsigned char>(*at_);
        if (c < 0x20 || c >= 0x80 || c == '"' || c == '\\') return;
        ++at_;
    }
}

bool LineCursor::String(std::string_view& text, std::string& decoded, bool& plain) {
    if (!Take('"')) return false;
    const char* start = at_;
    bool escaped = false;
    plain = true;
    while (at_ != end_) {
        if (!escaped) SkipPlainBytes();
        if (at_ == end_) break;
        const auto c = static_cast<unsigned char>(*at_);
        if (c == '"') {
            if (!escaped) text = std::string_view(start, static_cast<std::size_t>(at_ - start));
            if (escaped) text = decoded;
            ++at_;
            return true;
        }
        if (c < 0x20) return false;  // a control character is malformed JSON
        if (c == '\\') {
            if (!escaped) decoded.assign(start, static_cast<std::size_t>(at_ - start));
            escaped = true;
            plain = false;
            if (!Escape(decoded)) return false;
            continue;
        }
        const char* character = at_;
        if (c < 0x80) {
            ++at_;
        } else if (!Utf8Sequence()) {
            return false;
        } else {
            plain = false;
        }
        if (escaped) decoded.append(character, static_cast<std::size_t>(at_ - character));
    }
    return false;
}

bool LineCursor::Escape(std::string& decoded) {
    if (end_ - at_ < 2) return false;
    const char c = at_[1];
    at_ += 2;
    switch (c) {
        case '"': decoded += '"'; return true;
        case '\\': decoded += '\\'; return true;
        case '/': decoded += '/'; return true;
        case 'b': decoded += '\b'; return true;
        case 'f': decoded += '\f'; return true;
        case 'n': decoded += '\n'; return true;
        case 'r': decoded += '\r'; return true;
        case 't': decoded += '\t'; return true;
        default: return false;  // \u (with its surrogate rules) and anything malformed
    }
}

// One well-formed UTF-8 sequence of two to four bytes (no overlong form, no surrogate, nothing
// past U+10FFFF), as a JSON text must hold.
bool LineCursor::Utf8Sequence() {
    const auto byte = [&](std::ptrdiff_t i) { return static_cast<unsigned char>(at_[i]); };
    const auto continuation = [&](std::ptrdiff_t i, unsigned char low, unsigned char high) {
        return i < end_ - at_ && byte(i) >= low && byte(i) <= high;
    };
    const unsigned char lead = byte(0);
    std::ptrdiff_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = continuation(1, 0x80, 0xBF) ? 2 : 0;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        length = continuation(1, low, high) && continuation(2, 0x80, 0xBF) ? 3 : 0;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        length = continuation(1, low, high) && continuation(2, 0x80, 0xBF) &&
                         continuation(3, 0x80, 0xBF)
                     ? 4
                     : 0;
    }
    at_ += length;
    return length != 0;
}

bool LineCursor::Digits() {
    const char* start = at_;
    while (at_ != end_ && *at_ >= '0' && *at_ <= '9') ++at_;
    return at_ != start;
}

// A JSON number. A whole number is read as an integer and then made a double, as the full JSON
// reading does (so "-0" is plus zero); one too large for 64 bits is given up.
bool LineCursor::Number(double& value) {
    SkipSpace();
    const char* start = at_;
    const bool negative = at_ != end_ && *at_ == '-';
    if (negative) ++at_;
    if (at_ != end_ && *at_ == '0') {
        ++at_;
    } else if (at_ == end_ || *at_ < '1' || *at_ > '9' || !Digits()) {
        return false;
    }
    bool whole = true;
    if (at_ != end_ && *at_ == '.') {
        ++at_;
        if (!Digits()) return false;
        whole = false;
    }
    if (at_ != end_ && (*at_ == 'e' || *at_ == 'E')) {
        ++at_;
        if (at_ != end_ && (*at_ == '+' || *at_ == '-')) ++at_;
        if (!Digits()) return false;
        whole = false;
    }
    if (whole && negative) {
        std::int64_t integer = 0;
        const auto [end, error] = std::from_chars(start, at_, integer);
        value = static_cast<double>(integer);
        return error == std::errc() && end == at_;
    }
    if (whole) {
        std::uint64_t integer = 0;
        const auto [end, error] = std::from_chars(start, at_, integer);
        value = static_cast<double>(integer);
        return error == std::errc() && end == at_;
    }
    const auto [end, error] = DoubleFromChars(start, at_, value);
    return error == std::errc() && end == at_;
}

// Well-formed UTF-8 (as String checked it) in the library's character set, character by
// character: what Utf8ToLibraryText gives, without its way through UTF-16.
void WellFormedUtf8ToLibraryText(std::string_view utf8, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        lmbcs::AppendEncoded(c, out);
        i += length;
    }
}

// Strings of the line in the library's character set, reusing the storage of `out`.
bool LibraryString(LineCursor& cursor, std::string& scratch, std::string& out) {
    std::string_view text;
    bool plain = false;
    if (!cursor.String(text, scratch, plain)) return false;
    if (plain) {
        out.assign(text);  // the same bytes in both character sets
    } else {
        WellFormedUtf8ToLibraryText(text, out);
    }
    return true;
}

bool TextList(LineCursor& cursor, std::string& scratch, SimItem& item) {
    std::vector<std::string> texts;
    if (!cursor.Take(']')) {
        do {
            if (!LibraryString(cursor, scratch, texts.emplace_back())) return false;
        } while (cursor.Take(','));
        if (!cursor.Take(']')) return false;
    }
    item.type = notesapi::TYPE_TEXT_LIST;
    item.value = BuildTextList(texts);
    return true;
}

bool ItemValue(LineCursor& cursor, std::string& scratch, SimItem& item) {
    if (cursor.Next('"')) {
        item.type = notesapi::TYPE_TEXT;
        return LibraryString(cursor, scratch, item.value);
    }
    if (cursor.Take('[')) return TextList(cursor, scratch, item);
    double number = 0;
    if (!cursor.Number(number)) return false;  // objects (times, raw bytes) and the rest
    item.type = notesapi::TYPE_NUMBER;
    item.value.assign(reinterpret_cast<const char*>(&number), sizeof number);
    return true;
}

// The items, each a [name, value] pair; the record's item list keeps its storage.
bool Items(LineCursor& cursor, std::string& scratch, std::vector<SimItem>& items) {
    std::size_t count = 0;
    if (!cursor.Take('[')) return false;
    if (!cursor.Take(']')) {
        do {
            if (count == items.size()) items.emplace_back();
            SimItem& item = items[count++];
            if (!cursor.Take('[') || !LibraryString(cursor, scratch, item.name) || !cursor.Take(',') ||
                !ItemValue(cursor, scratch, item) || !cursor.Take(']')) {
                return false;
            }
        } while (cursor.Take(','));
        if (!cursor.Take(']')) return false;
    }
    items.resize(count);
    return true;
}

enum class Key { type, time, items };

bool ReadKey(LineCursor& cursor, std::string& scratch, Key& key) {
    std::string_view name;
    if (!cursor.String(name, scratch) || !cursor.Take(':')) return false;
    if (name == "type") {
        key = Key::type;
    } else if (name == "time") {
        key = Key::time;
    } else if (name == "items") {
        key = Key::items;
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool ReadCommonActivityLine(std::string_view line, ActivityRecord& record) {
    LineCursor cursor(line);
    if (!cursor.Take('{')) return false;
    std::string scratch;
    bool seen[3] = {};
    if (!cursor.Next('}')) {
        do {
            Key key{};
            if (!ReadKey(cursor, scratch, key) || seen[static_cast<int>(key)]) return false;
            seen[static_cast<int>(key)] = true;
            if (key == Key::type) {
                if (!cursor.Next('"') || !LibraryString(cursor, scratch, record.type)) return false;
            } else if (key == Key::time) {
                std::string_view time;
                if (!cursor.String(time, scratch) || !ParseTimeText(time, record.time)) return false;
            } else if (!Items(cursor, scratch, record.items)) {
                return false;
            }
        } while (cursor.Take(','));
    }
    if (!cursor.Take('}') || !cursor.AtEnd()) return false;
    if (!seen[static_cast<int>(Key::type)] || !seen[static_cast<int>(Key::time)]) return false;
    if (!seen[static_cast<int>(Key::items)]) record.items.clear();
    return true;
}

}  // namespace notessim
