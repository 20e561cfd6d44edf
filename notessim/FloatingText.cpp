#include "notessim/FloatingText.h"

#ifndef _WIN32
#include <locale.h>
#include <strings.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#endif

namespace notessim {

std::from_chars_result DoubleFromChars(const char* first, const char* last, double& value) {
#if defined(__cpp_lib_to_chars)
    return std::from_chars(first, last, value);
#else
    return c_library::DoubleFromChars(first, last, value);
#endif
}

std::to_chars_result DoubleToChars(char* first, char* last, double value, int precision) {
#if defined(__cpp_lib_to_chars)
    return std::to_chars(first, last, value, std::chars_format::general, precision);
#else
    return c_library::DoubleToChars(first, last, value, precision);
#endif
}

#ifndef _WIN32
namespace c_library {
namespace {

locale_t CLocale() {
    static const locale_t c = ::newlocale(LC_ALL_MASK, "C", nullptr);
    return c;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool StartsWithWord(const char* at, const char* last, const char* word) {
    const std::size_t length = std::strlen(word);
    return static_cast<std::size_t>(last - at) >= length && ::strncasecmp(at, word, length) == 0;
}

// The length of the text std::from_chars reads in the general format (0: none), and whether that
// text names infinity or NaN. strtod, given exactly that text, reads the same number: it would
// otherwise also take leading blanks, '+' and hexadecimal digits.
std::size_t NumberTextLength(const char* first, const char* last, bool& special) {
    const char* at = first;
    if (at != last && *at == '-') ++at;
    special = true;
    if (StartsWithWord(at, last, "infinity")) return static_cast<std::size_t>(at + 8 - first);
    if (StartsWithWord(at, last, "inf")) return static_cast<std::size_t>(at + 3 - first);
    if (StartsWithWord(at, last, "nan")) {
        at += 3;
        if (at != last && *at == '(') {
            const char* close = at + 1;
            while (close != last && (IsDigit(*close) || *close == '_' ||
                                     ((*close | 0x20) >= 'a' && (*close | 0x20) <= 'z'))) {
                ++close;
            }
            if (close != last && *close == ')') at = close + 1;
        }
        return static_cast<std::size_t>(at - first);
    }
    special = false;
    const char* digits = at;
    while (at != last && IsDigit(*at)) ++at;
    bool anyDigit = at != digits;
    if (at != last && *at == '.') {
        digits = ++at;
        while (at != last && IsDigit(*at)) ++at;
        anyDigit = anyDigit || at != digits;
    }
    if (!anyDigit) return 0;
    if (at != last && (*at == 'e' || *at == 'E')) {
        const char* exponent = at + 1;
        if (exponent != last && (*exponent == '+' || *exponent == '-')) ++exponent;
        digits = exponent;
        while (exponent != last && IsDigit(*exponent)) ++exponent;
        if (exponent != digits) at = exponent;
    }
    return static_cast<std::size_t>(at - first);
}

}  // namespace

std::from_chars_result DoubleFromChars(const char* first, const char* last, double& value) {
    bool special = false;
    const std::size_t length = NumberTextLength(first, last, special);
    if (length == 0) return {first, std::errc::invalid_argument};
    const std::string text(first, length);
    errno = 0;
    const double parsed = ::strtod_l(text.c_str(), nullptr, CLocale());
    // strtod also reports ERANGE for a result below the normal range that is not zero.
    if (!special && (std::isinf(parsed) || (parsed == 0 && errno == ERANGE))) {
        return {first + length, std::errc::result_out_of_range};
    }
    value = parsed;
    return {first + length, std::errc()};
}

std::to_chars_result DoubleToChars(char* first, char* last, double value, int precision) {
    const locale_t previous = ::uselocale(CLocale());
    const int length = std::snprintf(nullptr, 0, "%.*g", precision, value);
    std::string text(length < 0 ? 0 : static_cast<std::size_t>(length) + 1, '\0');
    if (length >= 0) std::snprintf(text.data(), text.size(), "%.*g", precision, value);
    ::uselocale(previous);
    if (length < 0 || length > last - first) return {last, std::errc::value_too_large};
    std::memcpy(first, text.data(), static_cast<std::size_t>(length));
    return {first + length, std::errc()};
}

}  // namespace c_library
#endif

}  // namespace notessim
